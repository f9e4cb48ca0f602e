#include "records/MutiPrintCDHPLogic.h"

#include "data/DBTable.h"
#include "entry/bills/CheckCDHPLogic.h"
#include "records/SearchLogic.h"
#include "wording/Functions.h"

#include <QRegularExpression>
#include <QSqlRecord>

namespace slipcraft::draftbatch {

namespace {

QString columnText(const QHash<QString, QString>& row, const char* column)
{
    return row.value(QString::fromUtf8(column));
}

} // namespace

QStringList filterColumns()
{
    return {QStringLiteral("票据编号"),   QStringLiteral("收款人全称"), QStringLiteral("收款人账号"),
            QStringLiteral("收款人开户行"), QStringLiteral("出票人全称"), QStringLiteral("出票人账号"),
            QStringLiteral("付款行名称"), QStringLiteral("付款行行号"), QStringLiteral("批打分组"),
            QStringLiteral("模板种类")};
}

batchlist::Query build(const Filter& filter, const QStringList& columns)
{
    batchlist::Query query;
    query.table = kTable;
    const QString fields = trimText(filter.fields).isEmpty() ? filterColumns().join(QLatin1Char('|')) : filter.fields;
    const QString keyword = batchlist::keywordCondition(fields, filter.mode, filter.keyword, columns, query.params);
    if (!keyword.isEmpty())
        query.condition = QStringLiteral(" where ") + keyword;
    query.order = batchlist::orderBy(filter.sortColumn, filter.descending, columns);
    return query;
}

std::optional<QDate> readDraftDate(const QString& text)
{
    static const QRegularExpression date(
        QStringLiteral("^(\\d{4})\\s*(?:[-/.]|年)\\s*(\\d{1,2})\\s*(?:[-/.]|月)\\s*(\\d{1,2})\\s*日?(?:[ T].*)?$"));
    const QRegularExpressionMatch match = date.match(trimText(amountToHalfWidth(text)));
    if (!match.hasMatch())
        return std::nullopt;
    const QDate read(match.captured(1).toInt(), match.captured(2).toInt(), match.captured(3).toInt());
    if (!read.isValid())
        return std::nullopt;
    return read;
}

Checked checkAmount(const QString& text)
{
    const QString typed = trimText(text);
    if (typed.isEmpty())
        return {};
    const QString figures = normalizeAmount(typed);
    // Text without a digit is no amount, though nothing of it survives normalising.
    if (figures.isEmpty())
        return {typed, QStringLiteral("金额“%1”：金额只能为数值，例如：123.50  ！").arg(typed)};
    const DraftAmount amount = draftAmount(typed, QStringLiteral("人民币"), false, false);
    if (!amount.ok)
        return {typed, QStringLiteral("金额“%1”：").arg(typed) + amount.message};
    return {figures, {}};
}

Checked checkIssueDate(const QString& text)
{
    const QString typed = trimText(text);
    if (typed.isEmpty())
        return {};
    if (const std::optional<QDate> date = readDraftDate(typed))
        return {date->toString(QStringLiteral("yyyy-MM-dd")), {}};
    return {typed, QStringLiteral("出票日期“%1”不是日期").arg(typed)};
}

Checked checkDueDate(const QString& text, const std::optional<QDate>& issued)
{
    const QString typed = trimText(text);
    if (typed.isEmpty() || dueDateFromWords(typed))
        return {typed, {}};
    if (typed.contains(QLatin1Char('+'))) {
        // Without a date of issue the form counts from the date it shows.
        if (const std::optional<QDate> due = readDueDateEntry(typed, issued.value_or(QDate(2000, 1, 1))))
            return {issued ? dueDateWords(*due) : typed, {}};
    } else if (const std::optional<QDate> due = readDraftDate(typed)) {
        return {dueDateWords(*due), {}};
    }
    return {typed, QStringLiteral("汇票到期日“%1”不是日期").arg(typed)};
}

QString draftProblem(const QHash<QString, QString>& row)
{
    if (const Checked amount = checkAmount(columnText(row, "金额")); !amount.problem.isEmpty())
        return amount.problem;
    const Checked issued = checkIssueDate(columnText(row, "出票日期"));
    if (!issued.problem.isEmpty())
        return issued.problem;
    // The form takes a due date with 年 as it stands and reads any other.
    const QString due = trimText(columnText(row, "汇票到期日"));
    if (due.isEmpty() || due.contains(QStringLiteral("年")))
        return {};
    const QDate from = issued.value.isEmpty() ? QDate(2000, 1, 1) : *readDraftDate(issued.value);
    if (!readDueDateEntry(due, from))
        return QStringLiteral("汇票到期日“%1”不是日期").arg(due);
    return {};
}

QHash<QString, QString> draftRow(Database& db, qint64 id)
{
    return batchRow(db, kTable, id);
}

QStringList numberDrafts(Database& db, const QList<qint64>& ids, const QString& answer)
{
    if (ids.isEmpty())
        return {};
    const QStringList numbers = ids.size() == 1 ? QStringList{answer} : draftNumbers(answer, int(ids.size()));
    db.inTransaction([&] {
        for (qsizetype i = 0; i < ids.size(); ++i)
            db.execute(QStringLiteral("update MultiPrintCDHP set 票据编号=:number where ID=:id"),
                       {{QStringLiteral("number"), numbers[i]}, {QStringLiteral("id"), ids[i]}});
    });
    return numbers;
}

qint64 addTypedDraft(Database& db, const QString& templateName, const QDateTime& now)
{
    qint64 id = 0;
    db.inTransaction([&] {
        db.execute(QStringLiteral("insert into MultiPrintCDHP (模板种类, 出票日期, 金额) values (:template, :issued, '0')"),
                   {{QStringLiteral("template"), templateName},
                    {QStringLiteral("issued"), now.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))}});
        id = db.scalar(QStringLiteral("select last_insert_rowid()")).toLongLong();
    });
    return id;
}

bool setDraftValue(Database& db, qint64 id, const QString& column, const QVariant& value)
{
    QString written;
    for (const QString& known : batchlist::tableColumns(db, kTable)) {
        if (known.compare(column, Qt::CaseInsensitive) == 0)
            written = known;
    }
    if (written.isEmpty() || written.compare(kKey, Qt::CaseInsensitive) == 0)
        return false;
    return db.execute(QStringLiteral("update MultiPrintCDHP set %1=:value where ID=:id").arg(TDBTable::quoted(written)),
                      {{QStringLiteral("value"), value}, {QStringLiteral("id"), id}})
           > 0;
}

void clearDrafts(Database& db)
{
    db.execute(QStringLiteral("delete from MultiPrintCDHP"));
}

DraftListModel::DraftListModel(Database& db, QObject* parent)
    : QSqlQueryModel(parent)
    , db_(db)
{
}

int DraftListModel::load(const batchlist::Query& query)
{
    stored_.clear();
    return batchlist::load(db_, *this, query);
}

int DraftListModel::rowOf(qint64 id)
{
    for (int row = 0;; ++row) {
        if (row >= rowCount()) {
            if (!canFetchMore())
                return -1;
            fetchMore();
        }
        if (row < rowCount() && idAt(row) == id)
            return row;
    }
}

qint64 DraftListModel::idAt(int row) const
{
    return record(row).value(kKey).toLongLong();
}

QVariant DraftListModel::data(const QModelIndex& index, int role) const
{
    if (role == Qt::DisplayRole || role == Qt::EditRole) {
        const auto stored = stored_.constFind({index.row(), index.column()});
        if (stored != stored_.cend())
            return *stored;
    }
    return QSqlQueryModel::data(index, role);
}

Qt::ItemFlags DraftListModel::flags(const QModelIndex& index) const
{
    const Qt::ItemFlags base = QSqlQueryModel::flags(index);
    if (!index.isValid() || record().fieldName(index.column()).compare(kKey, Qt::CaseInsensitive) == 0)
        return base;
    return base | Qt::ItemIsEditable;
}

bool DraftListModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable))
        return false;
    if (data(index, Qt::EditRole) == value)
        return true;
    try {
        if (!setDraftValue(db_, idAt(index.row()), record().fieldName(index.column()), value))
            return false;
    } catch (const DatabaseError& error) {
        emit refused(error.text());
        return false;
    }
    stored_.insert({index.row(), index.column()}, value);
    emit dataChanged(index, index);
    return true;
}

} // namespace slipcraft::draftbatch
