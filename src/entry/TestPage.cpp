#include "entry/TestPage.h"

#include "data/Database.h"
#include "entry/PrintRenderer.h"
#include "platform/printing/Printer.h"
#include "shell/AppContext.h"
#include "wording/Functions.h"

#include <QList>

namespace slipcraft {

namespace {

struct SampleItem {
    QString name;
    QString kind;
    QString value;
};

// Never empty: an empty text would read as success.
QString failureText(const Printer& printer)
{
    return printer.errorText().isEmpty() ? QStringLiteral("打印出错，请检查打印机是否可用！") : printer.errorText();
}

} // namespace

QString printTestPage(AppContext& context, int templateId, Printer& printer)
{
    int xMove = 0;
    int yMove = 0;
    PageSetup setup;
    QList<SampleItem> items;
    try {
        SqlQuery row = context.db().query(
            QStringLiteral("select TypeFirstName, XMove, YMove, PWidth, PHeight, HVPrint from CKTypeTable "
                           "where CheckTypeID=:id"),
            {{QStringLiteral("id"), templateId}});
        if (!row.next())
            return QStringLiteral("没有编号为 %1 的模板。").arg(templateId);
        xMove = row.value(1).toInt();
        yMove = row.value(2).toInt();
        setup = templatePageSetup(row.value(3).toInt(), row.value(4).toInt(), row.value(5).toString() == QLatin1String("1"));

        SqlQuery rows = context.db().query(
            QStringLiteral("select c.CtlName, coalesce(n.CtlType, c.CtlType), n.CtlData, n.CtlLabel, c.CtlCName "
                           "from CKControl c left join NameDict n on n.CtlName = c.CtlName and n.CheckTypeName = :billType "
                           "where c.CheckTypeId = :id and c.NeedPrint = 1 order by c.ShowOrd, c.ID"),
            {{QStringLiteral("billType"), row.value(0).toString()}, {QStringLiteral("id"), templateId}});
        while (rows.next()) {
            SampleItem item{rows.value(0).toString(), trimText(rows.value(1).toString()).toUpper(), QString()};
            for (int column : {2, 3, 4}) {
                item.value = trimText(rows.value(column).toString());
                if (!item.value.isEmpty())
                    break;
            }
            items.append(item);
        }
    } catch (const DatabaseError& error) {
        return QStringLiteral("无法读取模板：") + error.text();
    }

    printer.setPageSetup(setup);
    printer.setCopyCount(1);
    if (!printer.beginDocument(QStringLiteral("测试页")))
        return failureText(printer);
    ItemPrinter itemPrinter(context, printer);
    for (SampleItem& item : items) {
        if (item.kind == QLatin1String("CHECKBOX")) {
            itemPrinter.printItem(templateId, xMove, QString(), QStringLiteral("√"), item.name, yMove);
        } else if (item.kind.isEmpty() || item.kind == QLatin1String("TEXT")) {
            item.value.replace(QLatin1Char('\n'), QStringLiteral("##")).remove(QLatin1Char('\r'));
            itemPrinter.printItem(templateId, xMove, QStringLiteral("##"), item.value, item.name, yMove);
        }
    }
    if (!printer.endDocument())
        return failureText(printer);
    return {};
}

} // namespace slipcraft
