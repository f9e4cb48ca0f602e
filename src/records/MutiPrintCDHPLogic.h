#pragma once

#include "records/MutiPrintLogic.h"

#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QPair>
#include <QSqlQueryModel>
#include <QString>
#include <QStringList>

#include <optional>

namespace slipcraft {

// The acceptance draft batch, MultiPrintCDHP: one row per draft, printed one a page on
// the acceptance draft form.
namespace draftbatch {

inline const QString kTable = QStringLiteral("MultiPrintCDHP");
inline const QString kKey = QStringLiteral("ID");

// The columns the filter-column box offers.
QStringList filterColumns();

struct Filter {
    // Column names separated by "|"; empty: every filter column.
    QString fields;
    QString mode = batchlist::kContains;
    QString keyword;
    // Empty: ID.
    QString sortColumn;
    bool descending = false;
};
// Names that are not columns of the table play no part.
batchlist::Query build(const Filter& filter, const QStringList& columns);

// A date written yyyy-M-d with "-", "/" or "." between the parts, or yyyy年M月d日; a time
// after it is ignored. Nullopt for anything else.
std::optional<QDate> readDraftDate(const QString& text);

// A value of the batch as it is stored, or why it cannot be: the amount as plain figures,
// the date of issue as yyyy-MM-dd, the due date in words (a "+N" counted from the date
// of issue when there is one). An empty text stays empty.
struct Checked {
    QString value;
    QString problem; // empty when the value can be printed
};
Checked checkAmount(const QString& text);
Checked checkIssueDate(const QString& text);
Checked checkDueDate(const QString& text, const std::optional<QDate>& issued);

// Why a stored draft would not print as it stands (amount, date of issue, due date as the
// form reads them); empty when it would.
QString draftProblem(const QHash<QString, QString>& row);

// A draft by ID, column → text (NULL as empty); empty when there is none. Throws DatabaseError.
QHash<QString, QString> draftRow(Database& db, qint64 id);

// "登记票据编号": one draft gets the answer as it stands; several are numbered from it
// (the last run of digits counts up, keeping its width), in the order given, all or
// none. Returns the numbers given. Throws DatabaseError.
QStringList numberDrafts(Database& db, const QList<qint64>& ids, const QString& answer);

// "输入一条": a new draft of the template issued now with amount 0; returns its ID.
// Throws DatabaseError.
qint64 addTypedDraft(Database& db, const QString& templateName, const QDateTime& now);

// Stores one value typed into the grid; false when the column is not one of the table's
// (or is the key) or the draft is gone. Throws DatabaseError.
bool setDraftValue(Database& db, qint64 id, const QString& column, const QVariant& value);

// Empties the batch. Throws DatabaseError.
void clearDrafts(Database& db);

// The listed drafts; every value but the key can be typed over, and is stored at once.
class DraftListModel : public QSqlQueryModel {
    Q_OBJECT

public:
    explicit DraftListModel(Database& db, QObject* parent = nullptr);

    // Runs the statement; returns the number of rows the whole list holds. Throws DatabaseError.
    int load(const batchlist::Query& query);
    // The row of a draft, fetching on as far as needed; -1 when it is not listed.
    int rowOf(qint64 id);
    qint64 idAt(int row) const;

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

signals:
    // A typed value could not be stored.
    void refused(const QString& error);

private:
    Database& db_;
    // Values stored since the list was loaded, shown until the next load.
    QHash<QPair<int, int>, QVariant> stored_;
};

} // namespace draftbatch

} // namespace slipcraft
