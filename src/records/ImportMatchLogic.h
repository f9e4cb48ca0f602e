#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <optional>

namespace slipcraft {

class Database;
class IniFile;
class UserMessages;
class Worksheet;

// Receivers and units from a spreadsheet: each heading of row 1 is matched to an item by
// the rules of MatchColumn, and each data row becomes a row of the address book or of the
// waybill batch list.
namespace importing {

// The rules of this import in MatchColumn.
inline const QString kMatchType = QStringLiteral("收件信息导入");
inline const QString kLogFileName = QStringLiteral("ImportLog.txt");
// At most this many data rows per import.
constexpr int kRowLimit = 6000;
// Headings are read from column 1 up to this column.
constexpr int kLastHeadingColumn = 61;

// The key of a spreadsheet row in the sections LOG and ERR of the log: "N" + row number.
QString logRowKey(int row);

enum class Scene { AddressBook, Batch };
inline const QString kAddressBookScene = QStringLiteral("收发件人批量到地址薄");
inline const QString kBatchScene = QStringLiteral("导入Excel导入到批量打印收件人列表");

// The items a column can fill, in the order the matching tries them.
enum Item {
    FullName, Contact, Phone, Mobile, Province, Bank, BankAccount, BankAddress, BankNumber, City, Town, Address,
    Postcode, Country, Remark, Group, UnitType, InputCode, Goods, Destination, Pieces, Weight, Charge, InsuranceFee,
    InsuredValue, UrgentFee, Freight, DeliveryFee, Volume, PackingFee, CollectAmount, HandlingFee, OtherFee, Custom3,
    Custom4, Custom5, AmountWords, OrderNumber, MemberId,
};
constexpr int kItemCount = MemberId + 1;

// The item's name in MatchColumn.
QString ruleName(Item item);
// The label of the item's column box in the scene; empty for an item without a box.
QString boxLabel(Item item, Scene scene);
// The column the item's value is stored in for the scene; empty when it is not stored.
QString storedColumn(Item item, Scene scene);
// The items the automatic matching tries in the scene, in order.
QList<Item> matchOrder(Scene scene);

// The patterns of a rule's heading list: its entries between commas, surrounding white
// space (tabs too) ignored, empty entries skipped.
QStringList headingPatterns(const QString& sourceName);
// A pattern without "*" equals the heading; one with "*" anywhere matches every heading
// that contains it with the "*" removed; "*" alone matches nothing. Latin letters match
// in either case, surrounding white space is ignored.
bool headingMatches(const QString& pattern, const QString& heading);
// The first of the patterns that matches the heading; empty when none does.
QString firstMatchingPattern(const QStringList& patterns, const QString& heading);

// The patterns of every item: its rule's, or its own name when its rule is missing,
// empty or cannot be read.
using Rules = std::array<QStringList, kItemCount>;
Rules loadRules(Database& db);

// A heading of row 1.
struct SheetColumn {
    int number = 0; // from 1
    QString heading;
    // "列" + number + ":" + heading, as the column boxes offer it.
    QString entry() const;
};
// The non-empty headings of row 1, trimmed; an empty heading is skipped.
QList<SheetColumn> sheetColumns(const Worksheet& sheet);
// The column number of a box's entry (the digits between "列" and ":"); 0 for none.
int columnOfEntry(const QString& entry);

// The spreadsheet column of each item; 0 for none.
using Columns = std::array<int, kItemCount>;
// Each column goes to the first item, in the scene's order, that has no column yet and
// one of whose patterns matches its heading.
Columns autoMatch(const QList<SheetColumn>& columns, const Rules& rules, Scene scene);

struct Options {
    Scene scene = Scene::AddressBook;
    // "判断重复" and its bases.
    bool checkDuplicates = true;
    bool byName = true;
    bool byContact = true;
    bool byPhone = true;
    // "发现重复记录弹出提示确认": ask before skipping a duplicate.
    bool askOnDuplicate = false;
    // "订单号", "会员名": the order number and the member ID go into the remark.
    bool orderNumberToRemark = false;
    bool memberIdToRemark = false;
    // "固定": every unit gets unitType; else a unit whose unit-type column reads
    // "我方单位" is an own unit, any other a counterpart unit.
    bool fixedUnitType = true;
    QString unitType = QStringLiteral("往来单位");
    // Every row into this group, whatever a group column says.
    std::optional<QString> group;
};

struct Counts {
    int rows = 0;     // data rows of the sheet
    int read = 0;     // data rows read
    int saved = 0;
    int invalid = 0;  // without full name, contact and telephone
    int duplicates = 0;
    int failed = 0;   // refused by the database
    bool limitReached = false;
    bool stopped = false;
    // The groups the saved rows went into, in order met; empty text for no group.
    QStringList groups;
    int skipped() const { return invalid + duplicates + failed; }
};

// What became of one data row.
enum class RowOutcome { Saved, Invalid, Duplicate };

// Rows 2 to the last of the sheet, at most kRowLimit of them, in one transaction: save(r)
// reads and saves row r. A DatabaseError it throws counts the row as failed, after
// refused(r) logged it, unless the engine ended the transaction: then the import fails as
// a whole, the error is thrown on and nothing of it stays. After each row keepGoing(rows
// read) may stop the import: the rows saved before stay. The log reaches the disk once.
Counts importRows(Database& db, const Worksheet& sheet, IniFile& log, const std::function<RowOutcome(int r)>& save,
                  const std::function<void(int r)>& refused, const std::function<bool(int read)>& keepGoing);

// One import of a worksheet's data rows, all in one transaction.
class ImportRun {
public:
    ImportRun(Database& db, const Worksheet& sheet, const Columns& columns, const Options& options, IniFile& log,
              UserMessages& messages);

    // Empties the log's sections and names the file and its row count there.
    void startLog(const QString& file);
    // Reads and saves rows 2 to the last, at most kRowLimit of them. After each row,
    // keepGoing(rows read) may stop the import: the rows saved before stay. Throws
    // DatabaseError when the import as a whole fails; the table is then as it was.
    Counts run(const std::function<bool(int read)>& keepGoing);
    // What the import says at its end, also written to the log.
    QString finish(const Counts& counts);

private:
    struct Row {
        std::array<QString, kItemCount> values;
        QString unitType;
    };
    Row readRow(int row) const;
    bool isDuplicate(const Row& row);
    void insert(const Row& row);

    Database& db_;
    const Worksheet& sheet_;
    Columns columns_;
    Options options_;
    IniFile& log_;
    UserMessages& messages_;
};

// "导入结束，共有 " … : the final text of an import.
QString finishText(const Counts& counts);

} // namespace importing

} // namespace slipcraft
