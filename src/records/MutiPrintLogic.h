#pragma once

#include "data/Database.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <utility>

class QSqlQueryModel;

namespace slipcraft {

class TPersonKDD;

// The waybill batch list, ReceiverList: one row per receiver.
namespace batchlist {

inline const QString kTable = QStringLiteral("ReceiverList");
inline const QString kKey = QStringLiteral("ID");
inline const QString kGroupColumn = QStringLiteral("批打分组");
// The group choice that lists every row, whatever its group.
inline const QString kAllLists = QStringLiteral("全部列表");
inline const QString kContains = QStringLiteral("包含");
inline const QString kEquals = QStringLiteral("等于");

// The columns of a batch table, in its order. Only these names reach a statement.
QStringList tableColumns(Database& db, const QString& table = kTable);

struct Filter {
    // Empty: the rows without a group; kAllLists: every row; else the rows of that group.
    QString group;
    // Column names separated by "|"; the keyword is looked for in any of them.
    QString fields = QStringLiteral("联系人|全称|电话");
    QString mode = kContains;
    QString keyword;
    // Empty: ID.
    QString sortColumn;
    bool descending = false;
};

// A list statement on a batch table: its condition (" where …", values bound) and order.
struct Query {
    QString table = kTable;
    QString condition;
    SqlParams params;
    QString order;

    QString statement() const;
    QString countStatement() const;
};
// Names that are not columns of the table play no part.
Query build(const Filter& filter, const QStringList& columns);

// The keyword in any of the fields (column names separated by "|"), or equal to one
// with kEquals, bound as :key into params; empty for an empty keyword. Names that are
// not columns play no part; a keyword in none of them finds nothing.
QString keywordCondition(const QString& fields, const QString& mode, const QString& keyword,
                         const QStringList& columns, SqlParams& params);
// " order by" the column (ID when it is none of the columns) and the direction.
QString orderBy(const QString& sortColumn, bool descending, const QStringList& columns);

// What the filter-field box offers: three combinations, then each column from the second.
QStringList filterFieldChoices(const QStringList& columns);
// The groups rows are in, in order, without blanks.
QStringList groups(Database& db);

// Runs the statement into the model, which fetches rows as the view needs them; returns
// the number of rows the whole list holds. Throws DatabaseError.
int load(Database& db, QSqlQueryModel& model, const Query& query);

// The columns the batch sends to the waybill form only while they are shown in its grid,
// with the form's box each fills.
QList<std::pair<QString, QString>> parcelColumns();

} // namespace batchlist

// Adds the receiver, with its goods and destination, to the batch list without a group.
// False when there is no receiver or its contact, full name and address are all empty.
// Throws DatabaseError.
bool addReceiverAndGoods(Database& db, const TPersonKDD* person);

// Empties the batch list; the next receiver gets ID 1. Throws DatabaseError.
void clearReceivers(Database& db);

// Rewrites one column of the listed rows of a batch table as the join of three parts: a part holding "@"
// names a column ("@" removed), another part is its own text, an empty part is empty;
// an empty column value counts as empty text. Returns the rows changed. Throws
// DatabaseError, also for a target or part that names no column of the table.
int rewriteColumn(Database& db, const batchlist::Query& listed, const QString& target, const QStringList& parts);

// A row of a batch table by ID, column → text (NULL as empty); empty when there is no
// such row. Throws DatabaseError.
QHash<QString, QString> batchRow(Database& db, const QString& table, qint64 id);
inline QHash<QString, QString> receiverRow(Database& db, qint64 id)
{
    return batchRow(db, batchlist::kTable, id);
}

} // namespace slipcraft
