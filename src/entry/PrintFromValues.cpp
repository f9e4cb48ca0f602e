#include "entry/PrintFromValues.h"

#include "entry/BillForm.h"
#include "entry/bills/BillForms.h"
#include "entry/FormControls.h"
#include "platform/printing/PrintService.h"
#include "platform/printing/Printer.h"
#include "shell/AppContext.h"
#include "shell/UserMessages.h"
#include "templates/Catalogue.h"
#include "wording/Functions.h"

#include <QCheckBox>
#include <QJsonValue>

#include <memory>

namespace slipcraft {

namespace {


class ServiceSwap {
public:
    ServiceSwap(AppContext& context, PrintService* service)
        : context_(context)
        , previous_(context.printService())
    {
        context.setPrintService(service);
    }
    ~ServiceSwap() { context_.setPrintService(previous_); }

private:
    AppContext& context_;
    PrintService* previous_;
};

// What the form would tell the user while the given values go in: any of it refuses them.
class Refusals final : public UserMessages {
public:
    void show(const QString& text, const QString&, Icon) override
    {
        if (first.isEmpty())
            first = text;
    }
    bool ask(const QString& text, const QString& caption, Icon icon) override
    {
        show(text, caption, icon);
        return false;
    }
    QString first;
};

class MessageRedirect {
public:
    MessageRedirect(AppContext& context, UserMessages* messages)
        : context_(context)
    {
        context.redirectMessages(messages);
    }
    ~MessageRedirect() { context_.redirectMessages(nullptr); }

private:
    AppContext& context_;
};

struct Assignment {
    QString control; // upper case, or DATE / CURRENCY / AMOUNT
    QString value;
};

QString valueText(const QJsonValue& value)
{
    if (value.isDouble())
        return QString::number(value.toDouble(), 'f', -1);
    if (value.isBool())
        return value.toBool() ? QStringLiteral("1") : QString();
    return value.toString();
}

} // namespace

PrintFromValuesResult printBillFromValues(AppContext& context, const QString& billType, const QString& templateName,
                                          const QJsonObject& values, Printer& printer, bool save)
{
    PrintFromValuesResult result;
    result.badInput = true;
    const BillKind* kind = findBillKind(billType);
    if (!kind) {
        result.error = QStringLiteral("不支持的单据类型：") + billType;
        return result;
    }
    Catalogue& catalogue = context.catalogue();
    QString name = templateName;
    try {
        if (!name.isEmpty() && catalogue.loadCheckTypeIDByFirstAndLastName(billType, name) <= 0) {
            result.error = QStringLiteral("模板(") + name + QStringLiteral(")不存在！");
            return result;
        }
    } catch (const DatabaseError& error) {
        result.badInput = false;
        result.error = error.text();
        return result;
    }

    // Item names and labels of the bill type, to know every key before anything happens.
    QHash<QString, QString> controlByKey;
    try {
        SqlQuery rows = context.db().query(
            QStringLiteral("select CtlName, CtlLabel, CtlType from NameDict where CheckTypeName=:type"),
            {{QStringLiteral("type"), billType}});
        while (rows.next()) {
            const QString control = rows.value(0).toString().toUpper();
            if (rows.value(2).toString().toUpper() == QLatin1String("SHAPE"))
                continue;
            controlByKey.insert(control, control);
            if (!rows.value(1).toString().isEmpty())
                controlByKey.insert(rows.value(1).toString().toUpper(), control);
        }
    } catch (const DatabaseError& error) {
        result.badInput = false;
        result.error = error.text();
        return result;
    }
    // The history columns name their boxes too, where no item is labelled so.
    for (const ColumnSpec& column : kind->columns)
        if (!column.source.startsWith(QLatin1Char('@')) && !controlByKey.contains(column.column.toUpper()))
            controlByKey.insert(column.column.toUpper(), column.source.toUpper());
    for (const QString& key : {QStringLiteral("SELDATE"), kind->dateColumn, QStringLiteral("ZDNIANYUERI")})
        controlByKey.insert(key, QStringLiteral("DATE"));
    for (const char* key : {"CFGMONEYTYPE", "币种"})
        controlByKey.insert(QString::fromUtf8(key), QStringLiteral("CURRENCY"));
    // A kind that adds its amounts up itself takes no amount of its own.
    if (kind->hasBox(QStringLiteral("zdJEXX")))
        for (const char* key : {"ZDJEXX", "ZDJEDX", "INPUTJEXX", "金额"})
            controlByKey.insert(QString::fromUtf8(key), QStringLiteral("AMOUNT"));
    for (auto it = controlByKey.begin(); it != controlByKey.end(); ++it)
        if (it.value() == QLatin1String("ZDJEXX") || it.value() == QLatin1String("ZDJEDX"))
            it.value() = QStringLiteral("AMOUNT");

    QList<Assignment> assignments;
    QString amount;
    QDate date;
    for (auto it = values.begin(); it != values.end(); ++it) {
        const QString control = controlByKey.value(it.key().toUpper());
        if (control.isEmpty()) {
            result.error = QStringLiteral("未知的项目：") + it.key();
            return result;
        }
        if (kind->isDerived(control)) {
            result.error = QStringLiteral("项目“") + it.key() + QStringLiteral("”由其他项目生成，不能直接填写");
            return result;
        }
        const QString text = valueText(it.value());
        if (control == QLatin1String("AMOUNT")) {
            // Other software gets no clean-up of stray letters: only a number passes,
            // in ASCII or full-width digits, with or without thousands separators.
            const QString plain = trimText(amountToHalfWidth(text));
            if (!plain.isEmpty() && !isDecimalNumber(plain)) {
                AmountEntry refused;
                refused.status = AmountEntry::Status::NotANumber;
                result.error = refused.message();
                return result;
            }
            const AmountEntry entry = readAmountEntry(text);
            if (entry.status != AmountEntry::Status::Ok) {
                result.error = entry.message();
                return result;
            }
            amount = text;
        } else if (control == QLatin1String("DATE")) {
            date = QDate::fromString(text, QStringLiteral("yyyy-MM-dd"));
            if (!date.isValid()) {
                result.error = QStringLiteral("出票日期应为yyyy-MM-dd格式：") + text;
                return result;
            }
        } else {
            assignments.append({control, text});
        }
    }

    std::unique_ptr<TfmBillForm> form(newBillForm(context, *kind));
    form->setAttribute(Qt::WA_DeleteOnClose, false);
    if (!form->hasTemplate()) {
        result.error = QStringLiteral("没有找到任何启用的【") + billType + QStringLiteral("】模板！");
        return result;
    }
    if (!name.isEmpty() && name != form->templateName() && !form->setCurrentCheckType(name)) {
        result.error = QStringLiteral("模板(") + name + QStringLiteral(")不存在！");
        return result;
    }

    // The values given win over what the form would look up for them; whatever the form
    // has to say about them refuses them before anything is printed.
    Refusals refusals;
    {
        MessageRedirect redirect(context, &refusals);
        form->session().loading = true;
        for (const Assignment& a : std::as_const(assignments)) {
            if (a.control == QLatin1String("CURRENCY")) {
                form->setMoneyName(a.value);
                continue;
            }
            if (auto* box = qobject_cast<QCheckBox*>(findNamedControl(form.get(), a.control)))
                box->setChecked(!a.value.isEmpty() && a.value != QLatin1String("0"));
            else
                form->setBoxText(a.control, a.value);
        }
        form->session().loading = false;
        if (date.isValid())
            form->setDate(date);
        form->setJEXX(amount);
        form->finishEditing();
        form->valuesToSave();
    }
    if (!refusals.first.isEmpty()) {
        result.error = refusals.first;
        return result;
    }

    SinglePrinterService service(printer);
    ServiceSwap swap(context, &service);
    if (!form->printBill(1)) {
        result.badInput = false;
        return result;
    }
    if (save) {
        form->session().announce = false;
        if (!form->saveBill()) {
            result.badInput = false;
            return result;
        }
        result.serial = form->session().recordNumber;
    }
    result.ok = true;
    result.badInput = false;
    return result;
}

} // namespace slipcraft
