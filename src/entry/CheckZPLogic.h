#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace slipcraft {

class AppContext;
class Database;

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
    bool figuresWithCode = true;  // cfgJEXXWithMoneyCode
    bool wordsWithName = true;    // cfgJEDXWithMoneyName
    bool wordsKeepRmb = true;     // cfgJEDXRMBChecked
};

// The amount in figures ("￥1,234.50"); empty for 0.
QString amountFigures(qint64 fen, const AmountWording& wording);
// The amount in words, with the currency name in front as the options say; empty for 0.
QString amountWords(qint64 fen, const AmountWording& wording);

// ---- Date ---------------------------------------------------------------------------

// The date boxes of the cheque: the face (in words or digits) and the counterfoil.
struct ChequeDateParts {
    QString year, month, day;        // zdNian, zdYue, zdRi
    QString cgYear, cgMonth, cgDay;  // always digits
    QString iso;                     // zdNianYueRi
};
ChequeDateParts chequeDateParts(const QDate& date, bool inWords);

// ---- History --------------------------------------------------------------------------

inline const QString kStatusUnused = QStringLiteral("未用");
inline const QString kStatusUsed = QStringLiteral("已用");
inline const QString kStatusVoid = QStringLiteral("作废");

// One row of DataZPTable as the form writes it.
struct ChequeRecord {
    QString templateName;  // 模板种类
    QString options;       // 其他选项
    QString number;        // 票据编号
    QString status;        // 票据状态 (read only: saving writes 已用)
    QString remark;        // 备注
    QString currency;      // 币种
    QString amount;        // 金额
    QDate date;            // 出票日期
    QString payee;         // 收款人全称
    QString drawer;        // 出票人全称
    QString drawerAccount; // 出票人账号
    QString bank;          // 付款行名称
    QString password;      // 支付密码
    QString purpose;       // 用途
    // 自定义1 … 自定义5; a field without a value is not written (its box is hidden).
    std::array<std::optional<QString>, 5> custom;
};

// A number entered in advance ("未用") and what its row already holds.
struct PreEnteredNumber {
    int serial = -1;
    QString bank;
    QString account;
    QString templateName;
};

// DataZPTable through bound statements. Every call throws DatabaseError on failure.
class ChequeStore {
public:
    explicit ChequeStore(Database& db);

    std::optional<ChequeRecord> load(int serial);
    // The row's status; nullopt when there is no such row.
    std::optional<QString> status(int serial);
    // Adds a row, status 已用; returns its 流水号.
    int insert(const ChequeRecord& record);
    // Rewrites the row, status 已用.
    void update(int serial, const ChequeRecord& record);
    // Distinct numbers entered in advance and not used yet, ascending.
    QStringList unusedNumbers();
    // The first row of that number whose status is still "未用"; used and voided rows
    // of the same number are never picked.
    std::optional<PreEnteredNumber> findUnusedNumber(const QString& number);

private:
    Database& db_;
};

// ---- State machine ------------------------------------------------------------------

// The state of the cheque on the form and the rules of saving, new, copy and loading.
// Messages go through the context's UserMessages.
class ChequeSession {
public:
    explicit ChequeSession(AppContext& context);

    int recordNumber = -1;
    bool saved = false;
    bool history = false;
    bool loading = false;
    bool announce = true;
    // The note of the window title: "新建", "新", "历史", "已复制保存过的单据为一张新单".
    QString titleNote;

    // "支票(" + template name + ")-ID=" + record number [+ "[" + note + "]"].
    QString title(const QString& templateName) const;

    // Any edit of the cheque.
    void edited() { saved = false; }

    // The save button. True when a row was written.
    bool saveCommand(ChequeRecord& record, const QDate& today);
    enum class SaveOutcome { Written, Declined, Failed };
    // Saving proper; on closing it may also turn a history cheque into a new one,
    // changing record.date to today when the user agrees. Declined: the user said No
    // to saving a history cheque as a new one; Failed: told to the user.
    SaveOutcome save(ChequeRecord& record, const QDate& today);
    // "新建(&N)".
    void newCheque();
    // "复制(&C)": false, with nothing changed, for a cheque never stored.
    bool copy();
    // Loading a stored cheque: nullopt (after "调出历史数据失败！") when it cannot be read.
    std::optional<ChequeRecord> beginLoad(int serial);
    // After the boxes were filled from a row with that status.
    void finishLoad(const QString& status);
    // Picking a pre-entered number; its row becomes the one the next save fills.
    std::optional<PreEnteredNumber> pickNumber(const QString& number);
    // Whether closing should ask to save: changed, with a payee and words.
    bool shouldAskOnClose(const QString& payeeText, const QString& wordsText) const;

private:
    AppContext& context_;
};

} // namespace slipcraft
