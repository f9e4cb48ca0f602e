#pragma once

#include "parties/DAOPerson.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace slipcraft {

// What a box on a bill form is.
enum class BoxType {
    Edit,
    ReadOnly, // filled by the form itself (digit boxes, counterfoil dates …)
    DropDown,
    MultiLine,
    TickBox, // its caption is what a history column stores
};

// Where a drop-down takes its list from, loaded when the user first enters it.
enum class BoxList {
    None,
    OwnUnits,         // full names of own units
    CounterpartUnits, // full names of counterpart units
    SharedDictionary, // listName, shared by every template
    Dictionary,       // listName of the template, else the shared one
    Provinces,
    Cities,           // of the province in the box named listName
    Fixed,            // fixedItems
    UnusedNumbers,    // numbers entered in advance and not used yet
};

struct BoxSpec {
    QString name;
    BoxType type = BoxType::Edit;
    int maxLength = 0;
    BoxList list = BoxList::None;
    QString listName;
    QStringList fixedItems;
    QString hint;
    QString caption;
    // Typing into it marks the bill changed.
    bool marksChanged = true;
};

// Where a history column's value comes from: a box of the form, or one of these.
namespace ColumnSource {
inline const QString kTemplate = QStringLiteral("@template");     // the template drop-down's text
inline const QString kTickItems = QStringLiteral("@tickitems");   // titles of the ticked free tick items
inline const QString kCurrency = QStringLiteral("@currency");     // the currency name
inline const QString kDate = QStringLiteral("@date");             // the date of the picker, as a date
inline const QString kAmountEntry = QStringLiteral("@amount");    // the amount entry box, normalised
inline const QString kOwn = QStringLiteral("@own");               // written and read by the kind's own form
} // namespace ColumnSource

struct ColumnSpec {
    QString column;
    QString source; // a box name or a ColumnSource
    // Written only while its box is shown (the custom fields).
    bool onlyWhenShown = false;
};

// A tick box of the option strip. Stored options are written by 【记住选项】 and read back
// from the template; a stored option is ticked exactly when its value is "1", or, when
// tickedUnlessZero, unless it is "0".
struct OptionSpec {
    QString name;
    QString caption;
    bool stored = false;
    bool tickedUnlessZero = false;
    // A choice among these texts (a drop-down after its caption) instead of a tick box;
    // stored as the chosen text, defaultChoice when none was stored.
    QStringList choices;
    QString defaultChoice;
    // The strip's first row holds the stored options and the currency.
    bool firstRow() const { return stored; }
};

// Which box shows which field of a counterparty record.
using PartyBoxes = QList<std::pair<TPerson::Field, QString>>;

// How the amount becomes figures and words.
enum class AmountStyle {
    // The currency abbreviation before the figures and the currency name before the words
    // only as the options cfgJEXXWithMoneyCode and cfgJEDXWithMoneyName say; an amount of
    // 0 leaves the figures empty.
    CurrencyOptions,
    // Always the abbreviation and the name; an amount of 0 shows "0.00" in the figures.
    CurrencyAlways,
};

// How the window title reads.
enum class TitleStyle {
    // bill type + "(" + template + ")-ID=" + record number, with a note in brackets.
    Noted,
    // A title of its own for each event (template change, save, new, load, copy).
    PerEvent,
};

struct TitleNotes {
    QString saved;
    QString renewed; // "新建(&N)"
    QString loadedNew;
    QString loadedHistory = QStringLiteral("历史");
    QString copied = QStringLiteral("已复制保存过的单据为一张新单");
};

// One bill type's entry form described as data: its boxes, its history table and where
// each column comes from, its options and its texts. The form engine does the rest.
struct BillKind {
    QString billType;     // "进账单": the key of its items and templates
    QString formName;     // "fmCheckJZD": the window's component name and settings section
    QString historyTable; // "DataJZDTable"

    QList<BoxSpec> boxes;
    QList<ColumnSpec> columns;
    QList<OptionSpec> options;

    // Every save writes 票据状态 "已用"; otherwise only a row entered in advance ("未用")
    // becomes "已用" when it is saved.
    bool writesUsedStatus = false;
    // Without a status column a stored bill always reopens as history.
    bool hasStatus = true;
    // The column of the date picker.
    QString dateColumn = QStringLiteral("出票日期");
    // The number box lists numbers entered in advance; picking one fills these boxes
    // from these columns of its row, and the next save fills that row.
    bool picksPreEnteredNumbers = false;
    QList<std::pair<QString, QString>> preEnteredFill; // column, box

    // A bank bill: an amount in figures and words with its currency, digit boxes.
    bool bankBill = true;
    AmountStyle amountStyle = AmountStyle::CurrencyAlways;
    // The history column of the amount.
    QString amountColumn = QStringLiteral("金额");
    // Fill cgYY … cgF with the digit boxes.
    bool counterfoilDigits = false;
    // The digit-box pitch when the template lacks the boxes to measure it (0.1 mm).
    int digitBoxPitch = 36;
    // The counterfoil date boxes repeat the face (words included); otherwise digits.
    bool counterfoilDateRepeatsFace = false;

    TitleStyle titleStyle = TitleStyle::PerEvent;
    TitleNotes notes;
    // The title of a stored bill that reopens as history (PerEvent); %1 is its number.
    QString historyTitle = QStringLiteral("历史票据查看（流水号为：%1)");

    // Messages; the standard ones follow from the bill type (see standardBillKind).
    QString insertedMessage;
    QString editedMessage;
    QString voidedMessage;
    QString copyUnsavedMessage; // empty: copying an unsaved bill says nothing
    QString closeQuestion;
    QString closeCaption = QStringLiteral("关闭票据");
    // Closing asks only while this box, like the payee box, is not empty.
    QString closeAlsoNeeds = QStringLiteral("zdJEDX");
    QString historySaveMessage = QStringLiteral("历史单据不能保存，请点击[复制]后,再保存为新单据！");

    // The red rectangles that open the counterparty picker, and the picker's captions;
    // an empty caption: no rectangle.
    QString drawerShape = QStringLiteral("shpHKR");
    QString payeeShape = QStringLiteral("shpskr");
    QString drawerPickerCaption;
    QString payeePickerCaption;
    // Where the drawer's and the payee's fields go; the full name's box is the party's
    // name box. Boxes the kind lacks are passed over.
    PartyBoxes drawerBoxes;
    PartyBoxes payeeBoxes;
    // What the payee box shows until filled; empty: nothing.
    QString payeePrompt = QStringLiteral("单击我或红圈选择收款人...:)");
    // Closing the picker without a choice empties that party's boxes.
    bool pickerCancelEmpties = false;
    // Enter in the payee box tries the full name before the mnemonic.
    bool payeeEnterTriesName = false;
    // Enter in the drawer box finds by full name, else by mnemonic (and, when asked,
    // else moves on to the account); picking from its list finds by full name.
    bool drawerEnterFinds = false;
    bool drawerEnterElseAccount = false;
    // Boxes whose entry moves the amount entry box over them; when it writes back, the
    // entry starts from the box's text and its normalised text returns to the box.
    QStringList amountEntryBoxes = {QStringLiteral("zdJEDX"), QStringLiteral("zdJEXX")};
    bool amountEntryWritesBack = false;

    // Boxes "新建(&N)" empties besides the remark; and whether it clears the amount.
    QStringList newClears;
    bool newClearsAmount = false;

    // Counterparty look-ups of the name and account boxes.
    bool drawerLeaveFillsBank = false;     // leaving the drawer box: bank and account of that name
    bool drawerChangeFillsBank = false;    // every change of the drawer box: the same
    bool drawerChangeAppliesSender = false; // every change: its accounts listed, its record applied
    bool payeeChangeFillsBank = false;     // every change of the payee box: bank and account
    bool payeeLeaveListsAccounts = false;  // leaving the payee box: its accounts listed
    // Account boxes whose change looks up the bank: account box, bank box.
    QList<std::pair<QString, QString>> accountBanks;

    bool repeatPrint = true;
    bool convertsToDepositSlip = false;
    // Most copies one job may ask for; 0: no limit.
    int copyLimit = 0;

    // The tool bar and the option strip.
    QString upDownButton = QStringLiteral("btUpOrDown");
    QString savePayeeCaption = QStringLiteral("存收款人");
    QString savePayeeHint;
    QString rememberCaption = QStringLiteral("【记住选项】");
    // Clicking the picture focuses the save button instead of the date.
    bool pictureClickFocusesSave = false;

    const BoxSpec* box(const QString& name) const;
    QString drawerNameBox() const;
    QString payeeNameBox() const;
    const OptionSpec* option(const QString& name) const;
    bool hasBox(const QString& name) const { return box(name) != nullptr; }
    // Boxes the form fills itself: read-only boxes and the counterfoil copies.
    bool isDerived(const QString& boxName) const;
};

// The bill kinds the program has forms for, in menu order.
const QList<const BillKind*>& billKinds();
// Null for a bill type without a form.
const BillKind* findBillKind(const QString& billType);

const BillKind& chequeKind();
const BillKind& depositSlipKind();
const BillKind& wireTransferKind();
const BillKind& paymentSlipKind();
const BillKind& customFormKind();
const BillKind& acceptanceDraftKind();
const BillKind& remittanceKind();
const BillKind& waybillKind();

// The counterfoil twin of a face box ("zdInComp" → "cgInComp"); empty for other names.
QString counterfoilTwin(const QString& boxName);

} // namespace slipcraft
