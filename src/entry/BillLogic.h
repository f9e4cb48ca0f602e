#pragma once

#include <QDate>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <optional>

namespace slipcraft {

class AppContext;
class Database;
struct BillKind;

// ---- Amount -------------------------------------------------------------------------

// An amount typed into the entry box, read once and rounded to whole fen.
struct AmountEntry {
    enum class Status { Ok, NotANumber, OutOfRange };
    Status status = Status::Ok;
    qint64 fen = 0;
    // What the entry box keeps: the normalised text, or the rounded amount when the
    // typed one had more than two decimals.
    QString text;
    // Empty unless status is not Ok.
    QString message() const;
};

// Normalises the typed text (full-width digits, thousands separators) and reads it;
// an empty text is 0. Amounts below 0 or of 1,000,000,000 yuan or more are out of range.
AmountEntry readAmountEntry(const QString& typed);

// Whole fen as a yuan amount with two decimals: 123450 → "1234.50".
QString fenToYuanText(qint64 fen);

// What the currency options make of the figures and the words.
struct AmountWording {
    QString currencyName = QStringLiteral("人民币");
    QString abbreviation = QStringLiteral("￥");
    bool figuresWithCode = true; // cfgJEXXWithMoneyCode
    bool wordsWithName = true;   // cfgJEDXWithMoneyName
    bool wordsKeepRmb = true;    // cfgJEDXRMBChecked
    QString zeroFigures;         // what the figures show for 0
};

// The amount in figures ("￥1,234.50"); zeroFigures for 0.
QString amountFigures(qint64 fen, const AmountWording& wording);
// The amount in words, with the currency name in front as the options say; empty for 0.
QString amountWords(qint64 fen, const AmountWording& wording);

// ---- Date ---------------------------------------------------------------------------

// The date boxes of a bill: the face (in words or digits) and the counterfoil.
struct BillDateParts {
    QString year, month, day;       // zdNian, zdYue, zdRi
    QString cgYear, cgMonth, cgDay; // digits, or the face's when the counterfoil repeats it
    QString iso;                    // zdNianYueRi, cgNianYueRi
};
// twoDigitYear keeps the last two digits of a year in digits.
BillDateParts billDateParts(const QDate& date, bool inWords, bool twoDigitYear = false,
                            bool counterfoilRepeatsFace = false);

// ---- History --------------------------------------------------------------------------

inline const QString kStatusUnused = QStringLiteral("未用");
inline const QString kStatusUsed = QStringLiteral("已用");
inline const QString kStatusVoid = QStringLiteral("作废");
inline const QString kStatusColumn = QStringLiteral("票据状态");
inline const QString kSerialColumn = QStringLiteral("流水号");

// One row of a history table as a form writes it: column → value (text, or a date for
// the date column). A column that is absent is not written.
using BillValues = QMap<QString, QVariant>;

// A number entered in advance ("未用") and what its row already holds.
struct PreEnteredNumber {
    int serial = -1;
    QString templateName;
    QMap<QString, QString> fill; // box → value, as the bill kind says
};

// A bill kind's history table through bound statements. Every call throws
// DatabaseError on failure.
class BillStore {
public:
    BillStore(Database& db, const BillKind& kind);

    // The kind's columns and 票据状态; nullopt when there is no such row.
    std::optional<BillValues> load(int serial);
    // The row's status ("" when none); nullopt when there is no such row.
    std::optional<QString> status(int serial);
    // Adds a row, with the status unless it is empty; returns its 流水号.
    int insert(const BillValues& values, const QString& status);
    // Rewrites the row's columns, and its status unless it is empty.
    void update(int serial, const BillValues& values, const QString& status);
    // Distinct numbers entered in advance and not used yet, ascending.
    QStringList unusedNumbers();
    // The first row of that number whose status is still "未用"; used and voided rows
    // of the same number are never picked.
    std::optional<PreEnteredNumber> findUnusedNumber(const QString& number);

private:
    Database& db_;
    const BillKind& kind_;
};

// ---- State machine ------------------------------------------------------------------

// The state of the bill on a form and the rules of saving, new, copy and loading.
// Messages go through the context's UserMessages.
class BillSession {
public:
    BillSession(AppContext& context, const BillKind& kind);

    const BillKind& kind() const { return kind_; }

    int recordNumber = -1;
    bool saved = false;
    bool history = false;
    bool loading = false;
    bool announce = true;
    // Another form is filling this one: its own look-ups stay quiet.
    bool transfer = false;

    // What last happened to the bill, which the title tells.
    enum class Event { TemplateChanged, Saved, Renewed, LoadedNew, LoadedHistory, Copied };
    Event event = Event::TemplateChanged;
    QString title(const QString& templateName) const;
    void templateChanged();

    // Any edit of the bill.
    void edited() { saved = false; }

    // The save button. True when a row was written.
    bool saveCommand(BillValues& values, const QDate& today);
    enum class SaveOutcome { Written, Declined, Failed };
    // Saving proper; on closing it may also turn a history bill into a new one,
    // changing the date to today when the user agrees. Declined: the user said No to
    // saving a history bill as a new one; Failed: told to the user.
    SaveOutcome save(BillValues& values, const QDate& today);
    // "新建(&N)".
    void renew();
    // "复制(&C)": false, with nothing changed, for a bill never stored.
    bool copy();
    // Loading a stored bill: nullopt (after "调出历史数据失败！" when it cannot be read).
    std::optional<BillValues> beginLoad(int serial);
    // After the boxes were filled from a row with that status.
    void finishLoad(const QString& status);
    // Picking a pre-entered number; its row becomes the one the next save fills.
    std::optional<PreEnteredNumber> pickNumber(const QString& number);
    // Whether closing should ask to save: changed, with a payee and words.
    bool shouldAskOnClose(const QString& payeeText, const QString& wordsText) const;

private:
    AppContext& context_;
    const BillKind& kind_;
};

} // namespace slipcraft
