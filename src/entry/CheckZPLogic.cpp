#include "entry/CheckZPLogic.h"

#include "data/Database.h"
#include "shell/AppContext.h"
#include "shell/UserMessages.h"
#include "wording/Functions.h"

#include <QRegularExpression>

namespace slipcraft {

namespace {

// 1,000,000,000 yuan: the first amount the form refuses.
constexpr qint64 kFenLimit = 100000000000LL;

const QString kCaptionSave = QStringLiteral("单据保存");
const QString kCaptionHint = QStringLiteral("提示");

// The columns every save writes, with the name each value binds to.
const QList<std::pair<QString, QString>> kColumns = {
    {QStringLiteral("模板种类"), QStringLiteral("tpl")},  {QStringLiteral("其他选项"), QStringLiteral("opts")},
    {QStringLiteral("票据编号"), QStringLiteral("num")},  {QStringLiteral("票据状态"), QStringLiteral("st")},
    {QStringLiteral("备注"), QStringLiteral("remark")},   {QStringLiteral("币种"), QStringLiteral("cur")},
    {QStringLiteral("金额"), QStringLiteral("amount")},   {QStringLiteral("出票日期"), QStringLiteral("date")},
    {QStringLiteral("收款人全称"), QStringLiteral("payee")}, {QStringLiteral("出票人全称"), QStringLiteral("drawer")},
    {QStringLiteral("出票人账号"), QStringLiteral("acct")}, {QStringLiteral("付款行名称"), QStringLiteral("bank")},
    {QStringLiteral("支付密码"), QStringLiteral("pwd")},  {QStringLiteral("用途"), QStringLiteral("purpose")},
};

QString customColumn(int i)
{
    return QStringLiteral("自定义%1").arg(i + 1);
}

// Column names and their bound values for one save.
QList<std::pair<QString, QString>> writtenColumns(const ChequeRecord& record, SqlParams& params)
{
    const QVariant date = record.date.isValid() ? QVariant(record.date) : QVariant();
    const QVariant values[] = {record.templateName, record.options, record.number,  kStatusUsed,
                               record.remark,       record.currency, record.amount, date,
                               record.payee,        record.drawer,  record.drawerAccount, record.bank,
                               record.password,     record.purpose};
    QList<std::pair<QString, QString>> columns = kColumns;
    for (qsizetype i = 0; i < kColumns.size(); ++i)
        params.insert(kColumns[i].second, values[i]);
    for (int i = 0; i < 5; ++i) {
        if (record.custom[i]) {
            const QString key = QStringLiteral("c%1").arg(i + 1);
            columns.append({customColumn(i), key});
            params.insert(key, *record.custom[i]);
        }
    }
    return columns;
}

} // namespace

QString AmountEntry::message() const
{
    switch (status) {
    case Status::Ok:
        return {};
    case Status::NotANumber:
        return QStringLiteral("金额只能为数值，例如：123.50");
    case Status::OutOfRange:
        return QStringLiteral("金额值必须介于0~1,000,000,000之间！");
    }
    return {};
}

AmountEntry readAmountEntry(const QString& typed)
{
    AmountEntry entry;
    const QString text = trimText(normalizeAmount(typed));
    if (text.isEmpty())
        return entry;
    if (!isDecimalNumber(text)) {
        entry.status = AmountEntry::Status::NotANumber;
        return entry;
    }
    const bool negative = text.startsWith(QLatin1Char('-')) && text.contains(QRegularExpression(QStringLiteral("[1-9]")));
    const std::optional<qint64> fen = amountToFen(text);
    if (negative || !fen || *fen < 0 || *fen >= kFenLimit) {
        entry.status = AmountEntry::Status::OutOfRange;
        return entry;
    }
    entry.fen = *fen;
    if (entry.fen == 0)
        return entry;
    const qsizetype point = text.indexOf(QLatin1Char('.'));
    entry.text = point >= 0 && text.size() - point - 1 > 2 ? fenToYuanText(entry.fen) : text;
    return entry;
}

QString fenToYuanText(qint64 fen)
{
    const QString sign = fen < 0 ? QStringLiteral("-") : QString();
    const qint64 magnitude = fen < 0 ? -fen : fen;
    return sign + QString::number(magnitude / 100) + QLatin1Char('.')
           + QStringLiteral("%1").arg(magnitude % 100, 2, 10, QLatin1Char('0'));
}

QString amountFigures(qint64 fen, const AmountWording& wording)
{
    if (fen == 0)
        return {};
    const QString figures = twoDecimalText(fenToYuanText(fen), true);
    return wording.figuresWithCode ? wording.abbreviation + figures : figures;
}

QString amountWords(qint64 fen, const AmountWording& wording)
{
    if (fen == 0)
        return {};
    QString words = fenToWords(fen);
    if (wording.wordsWithName) {
        words.prepend(wording.currencyName);
        if (wording.currencyName == QStringLiteral("人民币") && !wording.wordsKeepRmb)
            words.remove(words.indexOf(wording.currencyName), wording.currencyName.size());
    }
    return words;
}

ChequeDateParts chequeDateParts(const QDate& date, bool inWords)
{
    ChequeDateParts parts;
    parts.cgYear = date.toString(QStringLiteral("yyyy"));
    parts.cgMonth = date.toString(QStringLiteral("MM"));
    parts.cgDay = date.toString(QStringLiteral("dd"));
    parts.iso = date.toString(QStringLiteral("yyyy-MM-dd"));
    if (inWords) {
        parts.year = datePartToWords(parts.cgYear);
        parts.month = datePartToWords(parts.cgMonth);
        parts.day = datePartToWords(parts.cgDay);
    } else {
        parts.year = parts.cgYear;
        parts.month = parts.cgMonth;
        parts.day = parts.cgDay;
    }
    return parts;
}

ChequeStore::ChequeStore(Database& db)
    : db_(db)
{
}

std::optional<ChequeRecord> ChequeStore::load(int serial)
{
    SqlQuery row = db_.query(QStringLiteral("select * from DataZPTable where 流水号=:id"), {{QStringLiteral("id"), serial}});
    if (!row.next())
        return std::nullopt;
    auto text = [&](const QString& column) { return row.value(column).toString(); };
    ChequeRecord record;
    record.templateName = text(QStringLiteral("模板种类"));
    record.options = text(QStringLiteral("其他选项"));
    record.number = text(QStringLiteral("票据编号"));
    record.status = text(QStringLiteral("票据状态"));
    record.remark = text(QStringLiteral("备注"));
    record.currency = text(QStringLiteral("币种"));
    record.amount = text(QStringLiteral("金额"));
    record.date = QDate::fromString(text(QStringLiteral("出票日期")).left(10), Qt::ISODate);
    record.payee = text(QStringLiteral("收款人全称"));
    record.drawer = text(QStringLiteral("出票人全称"));
    record.drawerAccount = text(QStringLiteral("出票人账号"));
    record.bank = text(QStringLiteral("付款行名称"));
    record.password = text(QStringLiteral("支付密码"));
    record.purpose = text(QStringLiteral("用途"));
    for (int i = 0; i < 5; ++i)
        record.custom[i] = text(customColumn(i));
    return record;
}

std::optional<QString> ChequeStore::status(int serial)
{
    const QVariant value = db_.scalar(QStringLiteral("select coalesce(票据状态, '') from DataZPTable where 流水号=:id"),
                                      {{QStringLiteral("id"), serial}});
    if (value.isNull())
        return std::nullopt;
    return value.toString();
}

int ChequeStore::insert(const ChequeRecord& record)
{
    SqlParams params;
    QStringList names;
    QStringList placeholders;
    for (const auto& [column, key] : writtenColumns(record, params)) {
        names << column;
        placeholders << QLatin1Char(':') + key;
    }
    SqlQuery query = db_.query(QStringLiteral("insert into DataZPTable (%1) values (%2)")
                                   .arg(names.join(QStringLiteral(", ")), placeholders.join(QStringLiteral(", "))),
                               params);
    return int(query.lastInsertId());
}

void ChequeStore::update(int serial, const ChequeRecord& record)
{
    SqlParams params;
    QStringList assignments;
    for (const auto& [column, key] : writtenColumns(record, params))
        assignments << column + QStringLiteral("=:") + key;
    params.insert(QStringLiteral("serial"), serial);
    db_.execute(QStringLiteral("update DataZPTable set %1 where 流水号=:serial").arg(assignments.join(QStringLiteral(", "))),
                params);
}

QStringList ChequeStore::unusedNumbers()
{
    return db_.textColumn(QStringLiteral("select distinct 票据编号 from DataZPTable where 票据状态=:st and "
                                         "coalesce(票据编号, '') <> '' order by 票据编号"),
                          {{QStringLiteral("st"), kStatusUnused}});
}

std::optional<PreEnteredNumber> ChequeStore::findUnusedNumber(const QString& number)
{
    SqlQuery row = db_.query(QStringLiteral("select 流水号, 付款行名称, 出票人账号, 模板种类 from DataZPTable "
                                            "where 票据编号=:num and 票据状态=:st order by 流水号 limit 1"),
                             {{QStringLiteral("num"), number}, {QStringLiteral("st"), kStatusUnused}});
    if (!row.next())
        return std::nullopt;
    return PreEnteredNumber{row.value(0).toInt(), row.value(1).toString(), row.value(2).toString(),
                            row.value(3).toString()};
}

ChequeSession::ChequeSession(AppContext& context)
    : context_(context)
{
}

QString ChequeSession::title(const QString& templateName) const
{
    QString text = QStringLiteral("支票(") + templateName + QStringLiteral(")-ID=") + QString::number(recordNumber);
    if (!titleNote.isEmpty())
        text += QLatin1Char('[') + titleNote + QLatin1Char(']');
    return text;
}

bool ChequeSession::saveCommand(ChequeRecord& record, const QDate& today)
{
    bool written = false;
    if (history)
        context_.messages().show(QStringLiteral("历史单据不能保存，请点击[复制]后,再保存为新单据！"));
    else if (saved)
        context_.messages().show(QStringLiteral("没有改动,无需保存~"));
    else
        written = save(record, today) == SaveOutcome::Written;
    announce = true;
    return written;
}

ChequeSession::SaveOutcome ChequeSession::save(ChequeRecord& record, const QDate& today)
{
    UserMessages& messages = context_.messages();
    if (history) {
        if (!messages.ask(QStringLiteral("该单据来自历史单据，历史单据不能修改！\r另存为新单据吗？"), kCaptionSave))
            return SaveOutcome::Declined;
        recordNumber = -1;
        if (record.date != today
            && messages.ask(QStringLiteral("票据的日期与当前日期不符！\r修正为当前日期吗？(修正后日期：")
                                + today.toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral(")"),
                            kCaptionSave))
            record.date = today;
        saved = false;
    }
    if (saved) {
        messages.show(QStringLiteral("已经保存过了！"));
        return SaveOutcome::Failed;
    }
    bool inserted = false;
    try {
        ChequeStore store(context_.db());
        const std::optional<QString> status = recordNumber > 0 ? store.status(recordNumber) : std::nullopt;
        if (!status) {
            recordNumber = store.insert(record);
            inserted = true;
        } else if (*status == kStatusVoid) {
            messages.show(QStringLiteral("支票已经作废,保存失败！"), kCaptionHint);
            return SaveOutcome::Failed;
        } else {
            store.update(recordNumber, record);
        }
    } catch (const DatabaseError& error) {
        messages.show(error.text(), QStringLiteral("错误"), UserMessages::Icon::Error);
        return SaveOutcome::Failed;
    }
    if (announce)
        messages.show(inserted ? QStringLiteral("新支票保存成功！ ")
                               : QStringLiteral("支票修改保存成功（要修改成新支票请先点击【复制】按钮）！ "),
                      kCaptionHint);
    history = false;
    saved = true;
    titleNote.clear();
    return SaveOutcome::Written;
}

void ChequeSession::newCheque()
{
    recordNumber = -1;
    saved = false;
    history = false;
    titleNote = QStringLiteral("新建");
}

bool ChequeSession::copy()
{
    if (recordNumber == -1)
        return false;
    history = false;
    recordNumber = -1;
    saved = false;
    titleNote = QStringLiteral("已复制保存过的单据为一张新单");
    return true;
}

std::optional<ChequeRecord> ChequeSession::beginLoad(int serial)
{
    recordNumber = serial;
    if (serial <= 0)
        return std::nullopt;
    try {
        return ChequeStore(context_.db()).load(serial);
    } catch (const DatabaseError&) {
        context_.messages().show(QStringLiteral("调出历史数据失败！"));
        return std::nullopt;
    }
}

void ChequeSession::finishLoad(const QString& status)
{
    loading = false;
    const bool stored = !status.isEmpty() && status != kStatusUnused;
    saved = stored;
    history = stored;
    titleNote = stored ? QStringLiteral("历史") : QStringLiteral("新");
}

std::optional<PreEnteredNumber> ChequeSession::pickNumber(const QString& number)
{
    if (loading)
        return std::nullopt;
    saved = false;
    std::optional<PreEnteredNumber> found;
    try {
        found = ChequeStore(context_.db()).findUnusedNumber(trimText(number));
    } catch (const DatabaseError&) {
        return std::nullopt;
    }
    if (found)
        recordNumber = found->serial;
    return found;
}

bool ChequeSession::shouldAskOnClose(const QString& payeeText, const QString& wordsText) const
{
    return !saved && !payeeText.isEmpty() && !wordsText.isEmpty();
}

} // namespace slipcraft
