#include "entry/BillLogic.h"

#include "entry/BillKind.h"

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

// Column names with the names their values bind to: the columns come from the program's
// own kinds, the values are always bound.
std::pair<QStringList, SqlParams> boundColumns(const BillValues& values, const QString& status)
{
    QStringList columns;
    SqlParams params;
    int i = 0;
    auto add = [&](const QString& column, const QVariant& value) {
        const QString key = QStringLiteral("v%1").arg(i++);
        columns << column;
        params.insert(key, value);
    };
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        add(it.key(), it.value());
    if (!status.isEmpty())
        add(kStatusColumn, status);
    return {columns, params};
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
        return wording.zeroFigures;
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

BillDateParts billDateParts(const QDate& date, bool inWords, bool twoDigitYear, bool counterfoilRepeatsFace)
{
    BillDateParts parts;
    const QString year = date.toString(QStringLiteral("yyyy"));
    const QString month = date.toString(QStringLiteral("MM"));
    const QString day = date.toString(QStringLiteral("dd"));
    parts.iso = date.toString(QStringLiteral("yyyy-MM-dd"));
    if (inWords) {
        parts.year = datePartToWords(year);
        parts.month = datePartToWords(month);
        parts.day = datePartToWords(day);
    } else {
        parts.year = twoDigitYear ? year.right(2) : year;
        parts.month = month;
        parts.day = day;
    }
    if (counterfoilRepeatsFace) {
        parts.cgYear = parts.year;
        parts.cgMonth = parts.month;
        parts.cgDay = parts.day;
    } else {
        parts.cgYear = year;
        parts.cgMonth = month;
        parts.cgDay = day;
    }
    return parts;
}


BillStore::BillStore(Database& db, const BillKind& kind)
    : db_(db)
    , kind_(kind)
{
}

std::optional<BillValues> BillStore::load(int serial)
{
    SqlQuery row = db_.query(QStringLiteral("select * from %1 where 流水号=:id").arg(kind_.historyTable),
                             {{QStringLiteral("id"), serial}});
    if (!row.next())
        return std::nullopt;
    BillValues values;
    for (const ColumnSpec& described : kind_.columns) {
        const QString text = row.value(described.column).toString();
        if (described.source == ColumnSource::kDate)
            values.insert(described.column, QDate::fromString(text.left(10), Qt::ISODate));
        else
            values.insert(described.column, text);
    }
    // Without a status column every stored bill is history.
    values.insert(kStatusColumn, kind_.hasStatus ? row.value(kStatusColumn).toString() : kStatusUsed);
    return values;
}

std::optional<QString> BillStore::status(int serial)
{
    const QString status = kind_.hasStatus ? QStringLiteral("coalesce(票据状态, '')") : QStringLiteral("''");
    const QVariant value = db_.scalar(QStringLiteral("select %1 from %2 where 流水号=:id").arg(status, kind_.historyTable),
                                      {{QStringLiteral("id"), serial}});
    if (value.isNull())
        return std::nullopt;
    return value.toString();
}

int BillStore::insert(const BillValues& values, const QString& status)
{
    const auto [columns, params] = boundColumns(values, status);
    QStringList placeholders;
    for (qsizetype i = 0; i < columns.size(); ++i)
        placeholders << QStringLiteral(":v%1").arg(i);
    SqlQuery query = db_.query(QStringLiteral("insert into %1 (%2) values (%3)")
                                   .arg(kind_.historyTable, columns.join(QStringLiteral(", ")),
                                        placeholders.join(QStringLiteral(", "))),
                               params);
    return int(query.lastInsertId());
}

void BillStore::update(int serial, const BillValues& values, const QString& status)
{
    auto [columns, params] = boundColumns(values, status);
    if (columns.isEmpty())
        return;
    QStringList assignments;
    int i = 0;
    for (const QString& column : std::as_const(columns))
        assignments << column + QStringLiteral("=:v%1").arg(i++);
    params.insert(QStringLiteral("serial"), serial);
    db_.execute(QStringLiteral("update %1 set %2 where 流水号=:serial")
                    .arg(kind_.historyTable, assignments.join(QStringLiteral(", "))),
                params);
}

QStringList BillStore::unusedNumbers()
{
    return db_.textColumn(QStringLiteral("select distinct 票据编号 from %1 where 票据状态=:st and "
                                         "coalesce(票据编号, '') <> '' order by 票据编号")
                              .arg(kind_.historyTable),
                          {{QStringLiteral("st"), kStatusUnused}});
}

std::optional<PreEnteredNumber> BillStore::findUnusedNumber(const QString& number)
{
    SqlQuery row = db_.query(QStringLiteral("select * from %1 where 票据编号=:num and 票据状态=:st "
                                            "order by 流水号 limit 1")
                                 .arg(kind_.historyTable),
                             {{QStringLiteral("num"), number}, {QStringLiteral("st"), kStatusUnused}});
    if (!row.next())
        return std::nullopt;
    PreEnteredNumber found;
    found.serial = row.value(kSerialColumn).toInt();
    found.templateName = row.value(QStringLiteral("模板种类")).toString();
    for (const auto& [column, box] : kind_.preEnteredFill)
        found.fill.insert(box, row.value(column).toString());
    return found;
}

BillSession::BillSession(AppContext& context, const BillKind& kind)
    : context_(context)
    , kind_(kind)
{
}

QString BillSession::title(const QString& templateName) const
{
    const QString number = QString::number(recordNumber);
    const QString& type = kind_.billType;
    if (kind_.titleStyle == TitleStyle::Noted) {
        QString note;
        switch (event) {
        case Event::TemplateChanged:
            break;
        case Event::Saved:
            note = kind_.notes.saved;
            break;
        case Event::Renewed:
            note = kind_.notes.renewed;
            break;
        case Event::LoadedNew:
            note = kind_.notes.loadedNew;
            break;
        case Event::LoadedHistory:
            note = kind_.notes.loadedHistory;
            break;
        case Event::Copied:
            note = kind_.notes.copied;
            break;
        }
        QString text = type + QLatin1Char('(') + templateName + QStringLiteral(")-ID=") + number;
        if (!note.isEmpty())
            text += QLatin1Char('[') + note + QLatin1Char(']');
        return text;
    }
    switch (event) {
    case Event::TemplateChanged:
        break;
    case Event::Saved:
        return type + QLatin1Char('(') + templateName + QStringLiteral(")-ID=") + number;
    case Event::Renewed:
        return QStringLiteral("新") + type + QStringLiteral("-ID=-1");
    case Event::LoadedNew:
        return type + QStringLiteral("（流水号为：") + number + QLatin1Char(')');
    case Event::LoadedHistory:
        return kind_.historyTitle.arg(number);
    case Event::Copied:
        return QStringLiteral("已复制保存过的单据为一张新单~");
    }
    return type + QStringLiteral("（") + templateName + QStringLiteral("）-ID=") + number;
}

void BillSession::templateChanged()
{
    saved = false;
    event = Event::TemplateChanged;
}

bool BillSession::saveCommand(BillValues& values, const QDate& today)
{
    bool written = false;
    if (history)
        context_.messages().show(kind_.historySaveMessage);
    else if (saved)
        context_.messages().show(QStringLiteral("没有改动,无需保存~"));
    else
        written = save(values, today) == SaveOutcome::Written;
    announce = true;
    return written;
}

BillSession::SaveOutcome BillSession::save(BillValues& values, const QDate& today)
{
    UserMessages& messages = context_.messages();
    if (history) {
        if (!messages.ask(QStringLiteral("该单据来自历史单据，历史单据不能修改！\r另存为新单据吗？"), kCaptionSave))
            return SaveOutcome::Declined;
        recordNumber = -1;
        if (values.value(kind_.dateColumn).toDate() != today
            && messages.ask(QStringLiteral("票据的日期与当前日期不符！\r修正为当前日期吗？(修正后日期：")
                                + today.toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral(")"),
                            kCaptionSave))
            values.insert(kind_.dateColumn, today);
        saved = false;
    }
    if (saved) {
        messages.show(QStringLiteral("已经保存过了！"));
        return SaveOutcome::Failed;
    }
    bool inserted = false;
    try {
        BillStore store(context_.db(), kind_);
        const std::optional<QString> status = recordNumber > 0 ? store.status(recordNumber) : std::nullopt;
        if (status && *status == kStatusVoid) {
            messages.show(kind_.voidedMessage, kCaptionHint);
            return SaveOutcome::Failed;
        }
        // A number entered in advance is used once its bill is saved.
        const QString newStatus = kind_.hasStatus && (kind_.writesUsedStatus || (status && *status == kStatusUnused))
                                      ? kStatusUsed
                                      : QString();
        if (!status) {
            recordNumber = store.insert(values, newStatus);
            inserted = true;
        } else {
            store.update(recordNumber, values, newStatus);
        }
    } catch (const DatabaseError& error) {
        messages.show(error.text(), QStringLiteral("错误"), UserMessages::Icon::Error);
        return SaveOutcome::Failed;
    }
    if (announce)
        messages.show(inserted ? kind_.insertedMessage : kind_.editedMessage, kCaptionHint);
    history = false;
    saved = true;
    event = Event::Saved;
    return SaveOutcome::Written;
}

void BillSession::renew()
{
    recordNumber = -1;
    saved = false;
    history = false;
    event = Event::Renewed;
}

bool BillSession::copy()
{
    if (recordNumber == -1) {
        if (!kind_.copyUnsavedMessage.isEmpty())
            context_.messages().show(kind_.copyUnsavedMessage);
        return false;
    }
    history = false;
    recordNumber = -1;
    saved = false;
    event = Event::Copied;
    return true;
}

std::optional<BillValues> BillSession::beginLoad(int serial)
{
    recordNumber = serial;
    if (serial <= 0)
        return std::nullopt;
    try {
        return BillStore(context_.db(), kind_).load(serial);
    } catch (const DatabaseError&) {
        context_.messages().show(QStringLiteral("调出历史数据失败！"));
        return std::nullopt;
    }
}

void BillSession::finishLoad(const QString& status)
{
    loading = false;
    const bool stored = !status.isEmpty() && status != kStatusUnused;
    saved = stored;
    history = stored;
    event = stored ? Event::LoadedHistory : Event::LoadedNew;
}

std::optional<PreEnteredNumber> BillSession::pickNumber(const QString& number)
{
    if (loading)
        return std::nullopt;
    saved = false;
    std::optional<PreEnteredNumber> found;
    try {
        found = BillStore(context_.db(), kind_).findUnusedNumber(trimText(number));
    } catch (const DatabaseError&) {
        return std::nullopt;
    }
    if (found)
        recordNumber = found->serial;
    return found;
}

bool BillSession::shouldAskOnClose(const QString& payeeText, const QString& wordsText) const
{
    return !saved && !payeeText.isEmpty() && !wordsText.isEmpty();
}

} // namespace slipcraft
