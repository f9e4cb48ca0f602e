#pragma once

#include "records/ImportMatchLogic.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <optional>

namespace slipcraft {

class Database;
class IniFile;
class Worksheet;

// Acceptance drafts from a spreadsheet into the draft batch, MultiPrintCDHP: each heading
// of row 1 is matched to an item by fixed heading lists.
namespace draftimport {

// The items a column can fill, in the order the matching tries them.
enum Item {
    Number, IssueDate, DueDate, Currency, Amount, PayeeName, PayeeAccount, PayeeBank, Custom3, Custom2, Custom1,
    DrawerName, BankNumber, BankName, BankAddress, DrawerAccount, Agreement, Group,
};
constexpr int kItemCount = Group + 1;

// "票据编号:" …: the label of the item's column box.
QString boxLabel(Item item);
// The headings that name the item.
QStringList headings(Item item);
// The column of MultiPrintCDHP the item fills.
QString storedColumn(Item item);

// A heading as the matching compares it: lower case, trimmed, two spaces made one.
QString headingKey(const QString& heading);
// The item whose headings list the heading (letter case aside); nullopt for none.
std::optional<Item> itemOfHeading(const QString& heading);

// The spreadsheet column of each item; 0 for none.
using Columns = std::array<int, kItemCount>;
// Each column goes to the first item that lists its heading; a later column with a
// listed heading replaces an earlier one.
Columns autoMatch(const QList<importing::SheetColumn>& columns);

struct Options {
    // Every row into this group, whatever a group column says.
    std::optional<QString> group;
};

// One import of a worksheet's data rows into the batch, all in one transaction. A row
// whose cells are all empty, or whose amount, date of issue or due date cannot be read,
// is skipped and logged; amounts are stored as plain figures, dates of issue as
// yyyy-MM-dd; every stored draft has 票据状态 "0".
class DraftImportRun {
public:
    DraftImportRun(Database& db, const Worksheet& sheet, const Columns& columns, const Options& options, IniFile& log);

    // Empties the log's sections LOG, ERR and INFO.
    void startLog();
    // Reads and saves rows 2 to the last, at most importing::kRowLimit of them. After each
    // row, keepGoing(rows read) may stop the import: the rows saved before stay. Throws
    // DatabaseError when the import as a whole fails; the batch is then as it was.
    importing::Counts run(const std::function<bool(int read)>& keepGoing);
    // What the import says at its end, also written to the log.
    QString finish(const importing::Counts& counts);

private:
    using Row = std::array<QString, kItemCount>;
    Row readRow(int row) const;

    Database& db_;
    const Worksheet& sheet_;
    Columns columns_;
    Options options_;
    IniFile& log_;
};

// "导入完成，共有 " …: the final text of an import.
QString finishText(const importing::Counts& counts);

} // namespace draftimport

} // namespace slipcraft
