#include "records/SearchLogic.h"

#include "entry/BillKind.h"
#include "templates/Catalogue.h"
#include "wording/Functions.h"

#include <QRegularExpression>

namespace slipcraft {

namespace {

SearchKind searchKind(const BillKind& bill, const QString& member, const QString& caption, const QString& noun)
{
    SearchKind kind;
    kind.formName = QStringLiteral("fmSearch_") + member;
    kind.caption = caption;
    kind.bill = &bill;
    kind.table = bill.historyTable;
    kind.numberLabel = QStringLiteral("票据编号：");
    kind.numberColumn = QStringLiteral("票据编号");
    kind.payeeLabel = QStringLiteral("收款单位：");
    kind.payeeColumns = {QStringLiteral("收款人全称")};
    kind.dateColumn = bill.dateColumn;
    kind.amountColumn = QStringLiteral("金额");
    kind.openSetting = member + QStringLiteral("View_DBLOPEN");
    kind.exportTitle = noun + QStringLiteral("历史开票");
    kind.noun = noun;
    kind.payeePickKind = TPerson::kCounterpartUnit;
    kind.payeePickCaption = QStringLiteral("选择收款单位");
    kind.drawerPickKind = TPerson::kOwnUnit;
    return kind;
}

// The drawer box and its picker of the bank forms.
void withDrawer(SearchKind& kind, const QString& label, const QString& column, const QString& pickCaption)
{
    kind.drawerLabel = label;
    kind.drawerColumns = {column};
    kind.drawerPickCaption = pickCaption;
}

QList<SearchKind> makeSearchKinds()
{
    SearchKind cheque = searchKind(chequeKind(), QStringLiteral("ZP"), QStringLiteral("支票查询"), QStringLiteral("支票"));
    withDrawer(cheque, QStringLiteral("出票帐号："), QStringLiteral("出票人账号"), QStringLiteral("选择支票账户"));
    cheque.drawerTakesAccount = true;
    cheque.storedOrderFirst = true;
    cheque.canVoid = cheque.canChangeNumber = cheque.recordsNumbers = true;
    cheque.recordPickCaption = QStringLiteral("选取支票账户");
    cheque.recordBankColumn = QStringLiteral("付款行名称");
    cheque.colours = SearchKind::Colours::Standard;

    SearchKind slip = searchKind(depositSlipKind(), QStringLiteral("JZD"), QStringLiteral("进账单查询"),
                                 QStringLiteral("进账单"));
    withDrawer(slip, QStringLiteral("出票单位："), QStringLiteral("出票人全称"), QStringLiteral("选择出票单位"));

    SearchKind transfer = searchKind(wireTransferKind(), QStringLiteral("DHD"), QStringLiteral("电汇单查询"),
                                     QStringLiteral("电汇单"));
    withDrawer(transfer, QStringLiteral("汇款/申请单位："), QStringLiteral("出票人全称"),
               QStringLiteral("选择汇款或申请单位"));
    transfer.canVoid = transfer.canChangeNumber = transfer.recordsNumbers = true;
    transfer.recordPickCaption = QStringLiteral("选取单位账户");
    transfer.recordBankColumn = QStringLiteral("出票人开户行");
    transfer.colours = SearchKind::Colours::Standard;

    SearchKind payment = searchKind(paymentSlipKind(), QStringLiteral("JKD"), QStringLiteral("现金缴款单查询"),
                                    QStringLiteral("缴款单"));

    SearchKind remittance = searchKind(remittanceKind(), QStringLiteral("JWH"), QStringLiteral("境外汇款申请书查询"),
                                       QStringLiteral("境外汇款申请书"));
    withDrawer(remittance, QStringLiteral("汇款/申请单位："), QStringLiteral("汇款人名称"),
               QStringLiteral("选择汇款或申请单位"));
    remittance.payeeColumns = {QStringLiteral("收款人名称")};
    remittance.canVoid = true;
    remittance.colours = SearchKind::Colours::Standard;

    SearchKind draft = searchKind(acceptanceDraftKind(), QStringLiteral("CDHP"), QStringLiteral("承兑汇票查询"),
                                  QStringLiteral("承兑汇票"));
    withDrawer(draft, QStringLiteral("出票单位："), QStringLiteral("出票人全称"), QStringLiteral("选择付款单位"));
    draft.canVoid = true;
    draft.draftViews = true;
    draft.colours = SearchKind::Colours::Draft;

    SearchKind waybill = searchKind(waybillKind(), QStringLiteral("KDD"), QStringLiteral("快递单查询"),
                                    QStringLiteral("快递单"));
    waybill.numberLabel = QStringLiteral("快递单号：");
    waybill.numberColumn = QStringLiteral("快递单号");
    withDrawer(waybill, QStringLiteral("寄件人或单位："), QStringLiteral("寄件单位"), QStringLiteral("选择寄件单位"));
    waybill.drawerColumns << QStringLiteral("寄件联系人");
    waybill.payeeLabel = QStringLiteral("收件人或单位：");
    waybill.payeeColumns = {QStringLiteral("收件单位"), QStringLiteral("收件联系人")};
    waybill.payeePickCaption = QStringLiteral("选择收件单位");
    waybill.amountColumn = QStringLiteral("总费用");
    waybill.amountRange = false;
    waybill.totalCaption = QStringLiteral("总费用汇总:￥");
    waybill.waybillExtras = true;

    return {cheque, slip, transfer, payment, remittance, draft, waybill};
}

// A LIKE pattern that finds the text itself: its "%", "_" and "\" are no wildcards.
QString containing(const QString& text)
{
    QString escaped = text;
    escaped.replace(QLatin1Char('\\'), QStringLiteral("\\\\"))
        .replace(QLatin1Char('%'), QStringLiteral("\\%"))
        .replace(QLatin1Char('_'), QStringLiteral("\\_"));
    return QLatin1Char('%') + escaped + QLatin1Char('%');
}

// One filter box over one or more columns, exact or containing; empty when not used.
QString boxCondition(const QStringList& columns, const QString& key, bool exact)
{
    QStringList alternatives;
    for (const QString& column : columns)
        alternatives << (exact ? column + QStringLiteral("=:") + key
                               : column + QStringLiteral(" like :") + key + QStringLiteral(" escape '\\'"));
    return QLatin1Char('(') + alternatives.join(QStringLiteral(" or ")) + QLatin1Char(')');
}

// An amount bound: one decimal number of digits and ".", as whole fen.
std::optional<qint64> amountBound(const QString& text)
{
    static const QRegularExpression digitsAndPoints(QStringLiteral("^[0-9.]+$"));
    if (!digitsAndPoints.match(text).hasMatch() || !isDecimalNumber(text))
        return std::nullopt;
    return amountToFen(text);
}

// Adds an increment to a run of decimal digits, keeping its width (it grows only on carry
// beyond it): "0099" + 1 → "0100".
QString addToDigits(const QString& digits, qint64 add)
{
    QString result = digits;
    qint64 carry = add;
    for (qsizetype i = result.size() - 1; i >= 0 && carry > 0; --i) {
        const qint64 sum = (result[i].unicode() - u'0') + carry;
        result[i] = QChar(char16_t(u'0' + sum % 10));
        carry = sum / 10;
    }
    return carry > 0 ? QString::number(carry) + result : result;
}

} // namespace

const QList<const SearchKind*>& searchKinds()
{
    static const QList<SearchKind> kinds = makeSearchKinds();
    static const QList<const SearchKind*> pointers = [] {
        QList<const SearchKind*> list;
        for (const SearchKind& kind : kinds)
            list << &kind;
        return list;
    }();
    return pointers;
}

const SearchKind* searchKindOf(const BillKind& bill)
{
    for (const SearchKind* kind : searchKinds())
        if (kind->bill == &bill)
            return kind;
    return nullptr;
}

SearchStatement buildSearchStatement(const SearchKind& kind, const SearchFilter& filter, const QString& sortColumn,
                                     bool descending)
{
    SearchStatement statement;
    QStringList conditions;
    const auto textBox = [&](const QString& text, const QStringList& columns, const QString& key, bool& used) {
        const QString value = trimText(text);
        if (value.isEmpty() || columns.isEmpty())
            return;
        used = true;
        conditions << boxCondition(columns, key, filter.exact);
        statement.params.insert(key, filter.exact ? value : containing(value));
    };
    textBox(filter.number, {kind.numberColumn}, QStringLiteral("number"), statement.numberUsed);
    textBox(filter.drawer, kind.drawerColumns, QStringLiteral("drawer"), statement.drawerUsed);
    textBox(filter.payee, kind.payeeColumns, QStringLiteral("payee"), statement.payeeUsed);
    if (!filter.anyDate) {
        statement.datesUsed = true;
        statement.datesReversed = filter.to < filter.from;
        conditions << kind.dateColumn + QStringLiteral(">=:dateFrom") << kind.dateColumn + QStringLiteral("<=:dateTo");
        statement.params.insert(QStringLiteral("dateFrom"), filter.from.toString(QStringLiteral("yyyy-MM-dd")));
        statement.params.insert(QStringLiteral("dateTo"),
                                filter.to.toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral(" 23:59:59"));
    }
    if (kind.waybillExtras)
        textBox(filter.templateName, {QStringLiteral("模板种类")}, QStringLiteral("template"), statement.templateUsed);
    if (kind.amountRange) {
        const auto amountBox = [&](const QString& text, const char* comparison, const QString& key, bool& used,
                                   bool& invalid) {
            const QString value = trimText(text);
            if (value.isEmpty())
                return;
            const std::optional<qint64> fen = amountBound(value);
            if (!fen) {
                invalid = true;
                return;
            }
            used = true;
            conditions << QStringLiteral("amount_fen(%1)%2:%3").arg(kind.amountColumn, QLatin1String(comparison), key);
            statement.params.insert(key, *fen);
        };
        amountBox(filter.amountFrom, ">=", QStringLiteral("amountFrom"), statement.amountFromUsed,
                  statement.amountFromInvalid);
        amountBox(filter.amountTo, "<=", QStringLiteral("amountTo"), statement.amountToUsed, statement.amountToInvalid);
    }
    const QString where = conditions.isEmpty() ? QString() : QStringLiteral(" where ") + conditions.join(QStringLiteral(" and "));
    statement.listSql = QStringLiteral("select * from ") + kind.table + where;
    QString column = sortColumn;
    if (column.isEmpty() && !kind.storedOrderFirst)
        column = QStringLiteral("流水号");
    if (!column.isEmpty()) {
        QString quoted = column;
        quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
        statement.listSql += QStringLiteral(" order by \"%1\" %2").arg(quoted, descending ? QStringLiteral("desc")
                                                                                          : QStringLiteral("asc"));
    }
    statement.totalSql =
        QStringLiteral("select count(*), coalesce(sum(amount_fen(%1)), 0) from %2").arg(kind.amountColumn, kind.table)
        + where;
    return statement;
}

SearchTotal searchTotal(Database& db, const SearchStatement& statement)
{
    SqlQuery row = db.query(statement.totalSql, statement.params);
    SearchTotal total;
    if (row.next()) {
        total.rows = row.value(0).toInt();
        total.fen = row.value(1).toLongLong();
    }
    return total;
}

SearchStatement listStatement(const SearchKind& kind, const QString& sql, const SqlParams& params)
{
    SearchStatement statement;
    statement.listSql = sql;
    statement.params = params;
    statement.totalSql = QStringLiteral("select count(*), coalesce(sum(amount_fen(%1)), 0) from (%2)").arg(kind.amountColumn, sql);
    return statement;
}

QString groupedYuan(qint64 fen)
{
    const QString sign = fen < 0 ? QStringLiteral("-") : QString();
    const qint64 magnitude = fen < 0 ? -fen : fen;
    QString yuan = QString::number(magnitude / 100);
    for (qsizetype at = yuan.size() - 3; at > 0; at -= 3)
        yuan.insert(at, QLatin1Char(','));
    return sign + yuan + QStringLiteral(".%1").arg(magnitude % 100, 2, 10, QLatin1Char('0'));
}

namespace {

// "流水号 in (:s0, :s1, …)" with the serials bound.
QString serialList(const QList<int>& serials, SqlParams& params)
{
    QStringList keys;
    for (qsizetype i = 0; i < serials.size(); ++i) {
        const QString key = QStringLiteral("s%1").arg(i);
        keys << QLatin1Char(':') + key;
        params.insert(key, serials[i]);
    }
    return QStringLiteral("流水号 in (") + keys.join(QStringLiteral(", ")) + QLatin1Char(')');
}

} // namespace

int voidBills(Database& db, const SearchKind& kind, const QList<int>& serials)
{
    if (serials.isEmpty())
        return 0;
    SqlParams params{{QStringLiteral("void"), QStringLiteral("作废")}};
    const QString in = serialList(serials, params);
    return db.execute(QStringLiteral("update %1 set 票据状态=:void where %2").arg(kind.table, in), params);
}

bool changeBillNumber(Database& db, const SearchKind& kind, int serial, const QString& number)
{
    return db.execute(QStringLiteral("update %1 set %2=:number where 流水号=:serial").arg(kind.table, kind.numberColumn),
                      {{QStringLiteral("number"), number}, {QStringLiteral("serial"), serial}})
           > 0;
}

bool changeWaybillColumn(Database& db, int serial, const QString& column, const QString& value)
{
    return db.execute(QStringLiteral("update DataKDDTable set %1=:value where 流水号=:serial").arg(column),
                      {{QStringLiteral("value"), value}, {QStringLiteral("serial"), serial}})
           > 0;
}

int clearHistory(Database& db, const SearchKind& kind)
{
    return db.execute(QStringLiteral("delete from ") + kind.table);
}

RangeNumbers rangeNumbers(const NumberRange& range)
{
    RangeNumbers result;
    bool firstOk = false;
    bool lastOk = false;
    const qint64 first = trimText(range.first).toLongLong(&firstOk);
    const qint64 last = trimText(range.last).toLongLong(&lastOk);
    if (!firstOk || !lastOk || first < 0 || last < 0) {
        result.refusal = QStringLiteral("请输入合法的编号范围，只能是数字！");
        return result;
    }
    if (last - first + 1 > 100) {
        result.refusal = QStringLiteral("一次不能导入超过100张！");
        return result;
    }
    if (last < first) {
        result.refusal = QStringLiteral("编号范围输入错误！");
        return result;
    }
    const int length = std::clamp(range.length, 4, 20);
    // A number cut to the length would repeat an earlier one: such a range is refused whole.
    if (QString::number(last).size() > length) {
        result.refusal = QStringLiteral("编号“%1”超过%2位，请加大编号位数！").arg(last).arg(length);
        return result;
    }
    for (qint64 n = first; n <= last; ++n)
        result.numbers << range.prefix + QStringLiteral("%1").arg(n, length, 10, QLatin1Char('0'));
    return result;
}

QStringList recordNumbers(Database& db, const SearchKind& kind, const NumberRange& range, const QStringList& numbers)
{
    QStringList failures;
    const QString sql = QStringLiteral("insert into %1 (票据编号, 票据状态, 模板种类, 出票人全称, 出票人账号, %2, 金额) "
                                       "values (:number, :unused, :template, :drawer, :account, :bank, '0')")
                            .arg(kind.table, kind.recordBankColumn);
    // One transaction for the range; a number that fails leaves the others in it.
    db.inTransaction([&] {
        for (const QString& number : numbers) {
            try {
                db.execute(sql, {{QStringLiteral("number"), number},
                                 {QStringLiteral("unused"), QStringLiteral("未用")},
                                 {QStringLiteral("template"), range.templateName},
                                 {QStringLiteral("drawer"), range.drawer},
                                 {QStringLiteral("account"), range.account},
                                 {QStringLiteral("bank"), range.bank}});
            } catch (const DatabaseError& error) {
                failures << QStringLiteral("登记票据“") + number + QStringLiteral("”失败！可能该票据号码已经登记过了！")
                                + error.text();
            }
        }
    });
    return failures;
}

QStringList draftNumbers(const QString& first, int count)
{
    static const QRegularExpression lastDigits(QStringLiteral("(\\d+)(?!.*\\d)"));
    const QString text = amountToHalfWidth(first);
    const QRegularExpressionMatch match = lastDigits.match(text);
    QStringList numbers;
    for (int i = 0; i < count; ++i) {
        if (!match.hasMatch())
            numbers << (i == 0 ? QString() : QString::number(i)) + text;
        else
            numbers << text.left(match.capturedStart(1)) + addToDigits(match.captured(1), i)
                           + text.mid(match.capturedEnd(1));
    }
    return numbers;
}

std::optional<DueStatement> dueReminderStatement(Catalogue& catalogue, const QDate& today)
{
    const QString switchName = QStringLiteral("承兑是否提醒到期");
    const QString daysName = QStringLiteral("承兑到期提醒天数");
    const QString on = catalogue.getDMValueByName(switchName, 0);
    if (on.isEmpty()) {
        catalogue.setCheckConfigByName(0, switchName, QStringLiteral("否"));
        catalogue.setCheckConfigByName(0, daysName, QStringLiteral("7"));
        return std::nullopt;
    }
    if (on != QLatin1String("1") && on != QStringLiteral("是") && on != QLatin1String("yes"))
        return std::nullopt;
    bool ok = false;
    const int days = trimText(catalogue.getDMValueByName(daysName, 0)).toInt(&ok);
    if (!ok)
        return std::nullopt;
    return DueStatement{QStringLiteral("select * from DataCDHPTable where 票据状态=:used and 到期日期>=:today and "
                                       "到期日期<=:limit order by 到期日期"),
                        {{QStringLiteral("used"), QStringLiteral("已用")},
                         {QStringLiteral("today"), today.toString(QStringLiteral("yyyy-MM-dd"))},
                         {QStringLiteral("limit"), today.addDays(days).toString(QStringLiteral("yyyy-MM-dd"))}}};
}

DueStatement overdueStatement(const QDate& today)
{
    return {QStringLiteral("select * from DataCDHPTable where 到期日期<:today order by 到期日期 desc"),
            {{QStringLiteral("today"), today.toString(QStringLiteral("yyyy-MM-dd"))}}};
}

int dueDraftCount(Database& db, const DueStatement& statement, bool& repaired)
{
    repaired = false;
    try {
        return db.scalar(QStringLiteral("select count(*) from (") + statement.sql + QLatin1Char(')'), statement.params)
            .toInt();
    } catch (const DatabaseError&) {
        const QStringList columns = db.textColumn(QStringLiteral("select name from pragma_table_info('DataCDHPTable')"));
        if (columns.isEmpty() || columns.contains(QStringLiteral("到期日期")))
            throw;
        db.execute(QStringLiteral("alter table DataCDHPTable add column 到期日期 TEXT"));
        repaired = true;
        return 0;
    }
}

bool addDraftToBatch(Database& db, int serial, const QString& group)
{
    const QString columns = QStringLiteral("模板种类, 票据编号, 出票日期, 承兑协议号, 币种, 金额, 汇票到期日, 收款人全称, "
                                           "收款人账号, 收款人开户行, 出票人全称, 出票人账号, 付款行名称, 付款行地址, "
                                           "付款行行号, 自定义1, 自定义2, 自定义3, 其他选项");
    try {
        return db.execute(QStringLiteral("insert into MultiPrintCDHP (%1, 批打分组) select %1, :group from DataCDHPTable "
                                         "where 流水号=:serial")
                              .arg(columns),
                          {{QStringLiteral("group"), group}, {QStringLiteral("serial"), serial}})
               > 0;
    } catch (const DatabaseError&) {
        return false;
    }
}

} // namespace slipcraft
