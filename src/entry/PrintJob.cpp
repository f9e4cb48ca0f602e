#include "entry/PrintJob.h"

#include "data/Database.h"
#include "entry/PrintRenderer.h"
#include "platform/printing/PrintService.h"
#include "platform/printing/Printer.h"
#include "shell/AppContext.h"
#include "shell/UserMessages.h"
#include "wording/Functions.h"

#include <QList>

#include <algorithm>
#include <utility>

namespace slipcraft {

namespace {

const QString kHint = QStringLiteral("提示");
const QString kPrinterUnusable = QStringLiteral("打印出错，请检查打印机是否可用！");

} // namespace

QString PrintSource::noTemplateMessage() const
{
    return QStringLiteral("请选择") + billType() + QStringLiteral("模板的类型!");
}

PrintJob::PrintJob(AppContext& context, PrintSource& source)
    : context_(context)
    , source_(source)
{
}

Printer& PrintJob::printer()
{
    return context_.printService()->printer();
}

void PrintJob::failJob()
{
    context_.printReady = false;
    context_.messages().show(kPrinterUnusable, kHint);
    printer().abort();
}

bool PrintJob::PrintPrepare()
{
    context_.printReady = false;
    UserMessages& messages = context_.messages();
    const int templateId = source_.templateId();
    if (templateId <= 0) {
        source_.showTemplateChooser();
        messages.show(source_.noTemplateMessage());
        return false;
    }
    if (context_.printerList().isEmpty()) {
        messages.show(QStringLiteral("你需要安装打印机才能打印！"), QStringLiteral("错误"), UserMessages::Icon::Error);
        return false;
    }

    int paperWidth = 0;
    int paperHeight = 0;
    try {
        SqlQuery row = context_.db().query(QStringLiteral("select * from CKTypeTable where CheckTypeID=:id"),
                                           {{QStringLiteral("id"), templateId}});
        if (!row.next()) {
            // The name between the quotes is the missing row's: always empty.
            messages.show(QStringLiteral("Err:\"\"没有进行初始化，无法取得整体打印偏移量！"), kHint);
            return false;
        }
        xMove_ = row.value(QStringLiteral("Xmove")).toInt();
        yMove_ = row.value(QStringLiteral("Ymove")).toInt();
        paperWidth = row.value(QStringLiteral("PWidth")).toInt();
        paperHeight = row.value(QStringLiteral("PHeight")).toInt();
    } catch (const DatabaseError&) {
        messages.show(QStringLiteral("Err:数据库连接错误，无法取得整体打印偏移量！"), kHint);
        return false;
    }

    try {
        const bool landscape = getHXPaperIn(context_.db(), templateId) == QLatin1String("1");
        printer().setPageSetup(templatePageSetup(paperWidth, paperHeight, landscape));
    } catch (const DatabaseError&) {
        failJob();
        return false;
    }
    context_.printReady = true;

    if (context_.switches().popPrinterSetup) {
        switch (context_.printService()->showSetupDialog(nullptr)) {
        case PrintService::SetupResult::Confirmed:
            break;
        case PrintService::SetupResult::Cancelled:
            context_.printReady = false;
            break;
        case PrintService::SetupResult::Failed:
            messages.show(QStringLiteral("打开打印机设置对话框出错，请确认打印机是否可用！"), kHint);
            break;
        }
    }
    return context_.printReady;
}

bool PrintJob::PrinterTransBegin(int copies)
{
    if (!context_.printReady)
        return false;
    int count = copies < 2 ? 1 : copies;
    if (source_.copyLimit() > 0)
        count = std::min(count, source_.copyLimit());
    printer().setCopyCount(count);
    // A job that never started must not go on to print nothing and report success.
    if (!printer().beginDocument(source_.billType())) {
        failJob();
        return false;
    }
    return true;
}

bool PrintJob::SendCheckToPrinter()
{
    source_.beforePrintPass();
    if (!context_.printReady)
        return false;
    const int templateId = source_.templateId();
    if (source_.isBankBill()) {
        context_.currentCurrencyAbbreviation = source_.currencyAbbreviation();
        context_.currentDigitBoxPitch = getCellsWidth(context_.db(), templateId, QStringLiteral("zdQY"),
                                                      source_.defaultDigitBoxPitch(), QStringLiteral("zdBY"));
    }

    QList<std::pair<QString, QString>> items; // name, kind
    try {
        SqlQuery rows = context_.db().query(
            QStringLiteral("select CtlName, CtlType from namedict where CheckTypeName=:type and PrintItem=1 order by showord"),
            {{QStringLiteral("type"), source_.billType()}});
        while (rows.next()) {
            const QString kind = trimText(rows.value(1).toString()).toUpper();
            items.append({rows.value(0).toString(), kind.isEmpty() ? QStringLiteral("TEXT") : kind});
        }
    } catch (const DatabaseError& error) {
        context_.messages().show(error.text(), QStringLiteral("错误"), UserMessages::Icon::Error);
        return false;
    }

    ItemPrinter itemPrinter(context_, printer());
    for (const auto& [name, kind] : items) {
        if (!source_.includeItem(name))
            continue;
        QString value = source_.controlValue(name);
        if (kind == QLatin1String("TEXT")) {
            value.replace(QLatin1Char('\n'), QStringLiteral("##")).remove(QLatin1Char('\r'));
            itemPrinter.printItem(templateId, xMove_, QStringLiteral("##"), value, name, yMove_);
        } else if (kind == QLatin1String("CHECKBOX")) {
            itemPrinter.printItem(templateId, xMove_, QString(), value, name, yMove_);
        }
    }
    return true;
}

bool PrintJob::NewCheckPage()
{
    return context_.printReady && printer().newPage();
}

bool PrintJob::PrinterTransEnd()
{
    if (!context_.printReady)
        return false;
    if (!printer().endDocument()) {
        failJob();
        return false;
    }
    context_.printReady = false;
    return true;
}

void PrintJob::AbortPrint()
{
    if (PrintService* service = context_.printService())
        service->printer().abort();
}

} // namespace slipcraft
