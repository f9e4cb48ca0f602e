#pragma once

#include "data/Database.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace slipcraft {

struct BillKind;
class Catalogue;

// One bill type's history search described as data; the search window does the rest.
struct SearchKind {
    QString formName;      // "fmSearch_ZP": the window's component name and settings section
    QString caption;       // "支票查询"
    const BillKind* bill = nullptr;
    QString table;         // "DataZPTable"
    QString numberLabel;   // "票据编号："
    QString numberColumn;  // "票据编号"
    QString drawerLabel;   // empty: no drawer box
    QStringList drawerColumns;
    QString payeeLabel;
    QStringList payeeColumns;
    QString dateColumn;    // "出票日期"
    QString amountColumn;  // "金额"
    bool amountRange = true;
    QString totalCaption = QStringLiteral("金额汇总:￥");
    // The cheque lists in stored order until a title is clicked, then that column's order,
    // reversed by a second click on the same title; the others list newest first.
    bool storedOrderFirst = false;
    QString openSetting;   // "ZPView_DBLOPEN"
    QString exportTitle;   // "支票历史开票"
    QString noun;          // "支票"
    // The counterparty pickers beside the drawer and payee boxes: unit kind and caption,
    // and whether the drawer box takes the unit's account rather than its name.
    QString drawerPickKind, drawerPickCaption, payeePickKind, payeePickCaption;
    bool drawerTakesAccount = false;
    bool canVoid = false;
    bool canChangeNumber = false;
    // Numbers entered in advance: the caption of the unit picker and the bank column.
    bool recordsNumbers = false;
    QString recordPickCaption;
    QString recordBankColumn;
    bool draftViews = false;    // due views, numbering, batch mode
    bool waybillExtras = false; // template filter, entering number and remark, tracking
    enum class Colours { None, Standard, Draft } colours = Colours::None;
};

const QList<const SearchKind*>& searchKinds();
// Null for a bill kind without a history search.
const SearchKind* searchKindOf(const BillKind& bill);

// What the filter boxes hold.
struct SearchFilter {
    QString number;
    bool exact = false; // "精确查询"; else "模糊查询"
    QString drawer;
    QString payee;
    bool anyDate = true; // "不限日期"
    QDate from;
    QDate to;
    QString amountFrom;
    QString amountTo;
    QString templateName; // waybills
};

// The list statement and its count and total, every filter value bound.
struct SearchStatement {
    QString listSql;
    QString totalSql; // count(*) and the amount's total in fen
    SqlParams params;
    // The boxes that took part, and the amount boxes that were refused ("非法数字").
    bool numberUsed = false, drawerUsed = false, payeeUsed = false, datesUsed = false, templateUsed = false;
    bool amountFromUsed = false, amountToUsed = false;
    bool amountFromInvalid = false, amountToInvalid = false;
    // The end date lies before the start date: nothing may run.
    bool datesReversed = false;
};

// sortColumn must be one of the table's columns (empty: the kind's default order);
// descending otherwise ascending.
SearchStatement buildSearchStatement(const SearchKind& kind, const SearchFilter& filter, const QString& sortColumn,
                                     bool descending);

// The count of listed rows and their amount in whole fen (rows without a readable amount
// count as none). Throws DatabaseError.
struct SearchTotal {
    int rows = 0;
    qint64 fen = 0;
};
SearchTotal searchTotal(Database& db, const SearchStatement& statement);

// A fixed list (a due view) with its count and total, in the form of a search statement.
SearchStatement listStatement(const SearchKind& kind, const QString& sql, const SqlParams& params);

// Whole fen as yuan with thousands separators: 123456789 → "1,234,567.89".
QString groupedYuan(qint64 fen);

// Bill operations on selected rows (by 流水号). Each throws DatabaseError.
int voidBills(Database& db, const SearchKind& kind, const QList<int>& serials);
bool changeBillNumber(Database& db, const SearchKind& kind, int serial, const QString& number);
bool changeWaybillColumn(Database& db, int serial, const QString& column, const QString& value);
// Deletes every stored bill of the kind; returns how many.
int clearHistory(Database& db, const SearchKind& kind);

// ---- Numbers entered in advance ------------------------------------------------------

struct NumberRange {
    QString templateName;
    QString drawer;
    QString bank;
    QString account;
    QString first;
    QString last;
    int length = 8;
    QString prefix;
};

// The numbers of a range, or why it is refused ("请输入合法的编号范围，只能是数字！",
// "一次不能导入超过100张！", "编号范围输入错误！", or numbers longer than the length).
struct RangeNumbers {
    QString refusal;
    QStringList numbers;
};
RangeNumbers rangeNumbers(const NumberRange& range);

// Records every number of the range as "未用" (amount "0"); a number whose row cannot be
// written is reported and the others go on. Returns the messages of the numbers that failed.
QStringList recordNumbers(Database& db, const SearchKind& kind, const NumberRange& range, const QStringList& numbers);

// The numbers of several drafts numbered from a first one: its last run of digits
// counts up, keeping its width, between the text before and after it ("A1B0099" →
// A1B0099, A1B0100, A1B0101). A first number without digits gives the count (none for
// the first) before it.
QStringList draftNumbers(const QString& first, int count);

// ---- The acceptance draft ------------------------------------------------------------

// The drafts in use that fall due from today to today + the reminder days, when the
// reminder is on; nullopt when it is off. Missing reminder values are written with their
// defaults (off, 7 days). Throws DatabaseError.
struct DueStatement {
    QString sql;
    SqlParams params;
};
std::optional<DueStatement> dueReminderStatement(Catalogue& catalogue, const QDate& today);
// The drafts whose due date lies before today.
DueStatement overdueStatement(const QDate& today);
// The number of rows of a due statement. When the table lacks its 到期日期 column it is
// added and repaired is set. Throws DatabaseError for other failures.
int dueDraftCount(Database& db, const DueStatement& statement, bool& repaired);

// Copies a stored draft into the draft batch under the group; false when nothing was added.
bool addDraftToBatch(Database& db, int serial, const QString& group);

} // namespace slipcraft
