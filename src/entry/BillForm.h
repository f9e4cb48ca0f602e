#pragma once

#include "entry/BillKind.h"
#include "entry/BillLogic.h"

#include <QDate>
#include <QHash>
#include <QList>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QTabBar;
class QToolBar;
class QToolButton;
class QVBoxLayout;

namespace slipcraft {

class AppContext;
class IniFile;
class PrintJob;
class TPerson;
class TfmCheckJZD;

// Commands of the main window that a bill form runs; a button whose command is not
// given stays disabled.
struct BillFormCommands {
    std::function<void()> wholeFormOffset;    // on the current template id
    std::function<void()> designMode;         // fill-form layout adjustment
    std::function<void()> templateManagement; // with the current template id
    std::function<void()> openHistory;        // the bill type's history search
    // The deposit slip form, opened when it is not: where "转进账单(&T)" copies to.
    std::function<TfmCheckJZD*()> depositSlip;
};

// The entry form of a bank bill, built from its bill kind: the form picture with the
// kind's boxes over it, the option strip and the tool bar, and every rule the bank forms
// share (templates, tick items, options, the amount entry, the date, counterparties,
// saving, loading, printing). A bill kind's own class adds only what is its own.
//
// When the bill type has no usable template the form closes itself right after
// construction (hasTemplate() is false); it deletes itself when closed.
class TfmBillForm : public QWidget {
    Q_OBJECT

public:
    static inline const QString kPayeePrompt = QStringLiteral("单击我或红圈选择收款人...:)");

    ~TfmBillForm() override;

    const BillKind& kind() const { return kind_; }
    bool hasTemplate() const { return templateId_ > 0; }
    int templateId() const { return templateId_; }
    QString templateName() const;
    void setCommands(BillFormCommands commands);

    BillSession& session() { return session_; }

    // Loads a stored bill (history search).
    void BrowseOldCheck(const QString& templateName, const QString& recordNumberText);
    // Reloads the current template when its id changed (after the layout adjustment).
    void initFormType();
    // Shows the template's picture, tick items and screen boxes as they are stored now.
    void refreshLayout();
    // Picks a template by its name; false when the drop-down has no such name.
    bool setCurrentCheckType(const QString& templateName);
    // Fills the template drop-down again (after templates were imported) and picks the
    // current template's name in it.
    void reloadTemplateList();
    // Applies an amount text; false (after the message) when it is refused.
    virtual bool setJEXX(const QString& text);
    void setMoneyName(const QString& name);
    QString moneyName() const { return currencyName_; }
    void setDate(const QDate& date);
    QDate date() const;
    void setSender(const TPerson* person);
    void setReceiver(const TPerson* person);
    void setInComp(const QString& name);
    const TPerson* sender() const { return drawer_.get(); }
    const TPerson* receiver() const { return payee_.get(); }

    // The text of a box of the kind (empty when the form has no such box); the payee's
    // prompt reads as empty.
    QString boxText(const QString& name) const;
    // Sets a box's text as if typed (its counterfoil copy follows).
    void setBoxText(const QString& name, const QString& text);
    // The text of the amount entry box: the amount as the user typed it.
    QString amountEntryText() const;
    // Finishes the amount entry and what the kind's own boxes hold, as before a print.
    void finishEditing();

    // One print job of the bill on the form with the copy count; true when it reached
    // the printer.
    bool printBill(int copies);

    // The print job, step by step, for windows that print many bills on one job (one
    // page each): prepare, begin, then a pass per bill with a new page between bills,
    // end. Each is false when the job is not ready or the printer refused.
    bool PrintPrepare();
    bool PrinterTransBegin(int copies);
    bool SendCheckToPrinter();
    bool NewCheckPage();
    bool PrinterTransEnd();
    void AbortPrint();
    // The save button; true when a row was written.
    bool saveBill();
    // The bill as the save would write it, with the kind's own columns.
    BillValues valuesToSave();

    // The currency abbreviation of the current currency, looked up once per currency.
    QString getMoneyCode();

protected:
    TfmBillForm(AppContext& context, const BillKind& kind, QWidget* parent);
    // Opens the form on the default template; the kind's constructor calls it last.
    void start();

    // After an amount was applied (0 for none).
    virtual void amountApplied(qint64 fen) { Q_UNUSED(fen); }
    // Shows the date of the picker in the date boxes.
    virtual void drawDate(const QDate& date);
    // Finishes what the kind's own boxes hold before the bill is printed or saved.
    virtual void finishEntries() {}
    // Before the counterparty picker opens.
    virtual void beforePicking() {}
    // After a template was loaded and every box placed from it.
    virtual void templateLoaded() {}
    // The columns the kind writes itself (ColumnSource::kOwn), added before a save.
    virtual void completeValues(BillValues& values) { Q_UNUSED(values); }
    // The kind's own columns of a stored bill, after the boxes were filled.
    virtual void applyOwnValues(const BillValues& values) { Q_UNUSED(values); }
    // False for an item the kind's options keep off the paper (upper-case name).
    virtual bool printsItem(const QString& itemName) const
    {
        Q_UNUSED(itemName);
        return true;
    }
    // "转进账单(&T)" into the slip, which is in transfer mode meanwhile.
    virtual void copyIntoDepositSlip(TfmCheckJZD& slip) { Q_UNUSED(slip); }

    QCheckBox* option(const QString& name) const;
    // The text chosen in an option with choices; empty when the kind has no such option.
    QString optionChoice(const QString& name) const;
    // Hides the boxes, or places them again from the layout cache.
    void hideOrPlace(const QStringList& names, bool hide);
    // Fills the digit boxes from an amount text (an amount not above 0 clears them).
    void fillDigitBoxes(const QString& amount);
    // Empties the amount entry, figures, words and digit boxes.
    void clearAmount();
    QLineEdit* amountEntryBox() const { return inputJEXX; }
    QDateEdit* datePicker() const { return SelDate; }
    QWidget* boxWidget(const QString& name) const { return boxes_.value(name.toLower()); }
    AppContext& context() { return context_; }
    QToolBar* toolBar() const { return toolBarCheck; }
    QToolButton* addToolButton(const QString& name, const QString& caption, const QString& hint, int icon);

    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class PrintSourceImpl;
    friend class PrintSourceImpl;

    void buildControls();
    QWidget* buildBox(const BoxSpec& described);
    void connectBox(const BoxSpec& described, QWidget* box);
    void buildOptionStrip();
    void connectOption(QCheckBox* box);
    void buildToolBar();
    void placeToolBar(bool bottom);

    void openForm();
    void templateChange();
    void tabClick(int index);
    void loadParam();
    void loadCheckBox(const QString& titles);
    void loadCheckBoxsConfig();
    QString getItemCheckTitle() const;
    void setItemCheckTitle(const QString& titles);
    void buildCommonBlocks();
    void updateTitle();

    void beginAmountEntry(QLineEdit* over);
    void finishAmountEntry();
    bool amountKey(QKeyEvent* event);
    void SelDateCloseUp();
    void currencyChange(const QString& text);
    void rememberOptions();

    bool lookupsQuiet() const;
    void fillBankFromName(const QString& side);
    void drawerChanged();
    void accountChanged(const QString& accountBox, const QString& bankBox);
    void listAccounts(const QString& nameBox, const QString& accountBox);
    void payeeEntered();
    void drawerEntered();
    void drawerPicked(const QString& text);
    void payeePicked(const QString& text);
    void swapParties();
    void fillListOnEntry(QComboBox* box);
    void numberPicked(const QString& number);
    void pickDrawer();
    void pickPayee();
    void savePayeeClick();

    void newClick();
    void copyClick();
    void saveClick();
    void printClick();
    void printAndSaveClick();
    void repeatPrintClick();
    void convertClick();
    void pictureClick();
    BillValues currentValues() const;
    void applyValues(const BillValues& values);
    void afterSave(const BillValues& values);
    QDate today() const;
    QWidget* frameWidget();

    AppContext& context_;
    const BillKind& kind_;
    BillSession session_;
    std::unique_ptr<PrintSourceImpl> printSource_;
    std::unique_ptr<PrintJob> printJob_;
    BillFormCommands commands_;
    std::unique_ptr<IniFile> cache_;
    int templateId_ = -1;
    int loadedId_ = -1;
    QString currencyName_ = QStringLiteral("人民币");
    std::optional<QString> abbreviation_;
    std::unique_ptr<TPerson> drawer_;
    std::unique_ptr<TPerson> payee_;
    QHash<QString, QWidget*> boxes_; // by lower-case name
    QList<QCheckBox*> tickItems_;
    QHash<QString, QCheckBox*> options_; // by lower-case name
    QHash<QString, QComboBox*> choices_; // by lower-case name
    QLineEdit* entryTarget_ = nullptr;    // the box the amount entry writes back to
    bool finishing_ = false;
    int lookingUp_ = 0;
    bool barAtBottom_ = false;
    bool positioned_ = false;

    QVBoxLayout* layout_ = nullptr;
    QWidget* tabPanel = nullptr;
    QTabBar* tbcCheckTypeName = nullptr;
    QComboBox* cbFirstTypeName = nullptr;
    QWidget* panelImgBg = nullptr;
    QLabel* bgImage = nullptr;
    QWidget* shortbar = nullptr;
    QToolBar* toolBarCheck = nullptr;
    QLineEdit* inputJEXX = nullptr;
    QComboBox* cfgMoneyType = nullptr;
    QDateEdit* SelDate = nullptr;

    QToolButton *btUpOrDown = nullptr, *btMoveXY = nullptr, *btDesign = nullptr, *btSaveSKRen = nullptr,
                *bt2CheckJZD = nullptr, *btOpenCheck = nullptr, *btNewCheck = nullptr, *btSaveAs = nullptr,
                *btSaveCheck = nullptr, *btPrint1 = nullptr, *btPrintAndSave = nullptr, *btMultiPrintF = nullptr,
                *btClose = nullptr;
};

} // namespace slipcraft
