#pragma once

#include "entry/CheckZPLogic.h"

#include <QDate>
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
class QPlainTextEdit;
class QTabBar;
class QToolBar;
class QToolButton;
class QVBoxLayout;

namespace slipcraft {

class AppContext;
class IniFile;
class TPerson;

// Commands of the main window that the cheque form runs; a button whose command is not
// given stays disabled.
struct CheckZPCommands {
    std::function<void()> wholeFormOffset;    // "mTemplateProperty", on the current template id
    std::function<void()> designMode;         // fill-form layout adjustment
    std::function<void()> templateManagement; // with the current template id
    std::function<void()> openHistory;        // cheque history search
};

// The cheque entry form: the form picture with input boxes over it, the option strip and
// the tool bar. When the bill type has no usable template it closes itself right after
// construction (hasTemplate() is false); it deletes itself when closed.
class TfmCheckZP : public QWidget {
    Q_OBJECT

public:
    static inline const QString kBillType = QStringLiteral("支票");
    static inline const QString kPayeePrompt = QStringLiteral("单击我或红圈选择收款人...:)");

    TfmCheckZP(AppContext& context, QWidget* parent = nullptr);
    ~TfmCheckZP() override;

    bool hasTemplate() const { return templateId_ > 0; }
    int templateId() const { return templateId_; }
    QString templateName() const;
    void setCommands(CheckZPCommands commands);

    ChequeSession& session() { return session_; }

    // Loads a stored cheque (history search).
    void BrowseOldCheck(const QString& templateName, const QString& recordNumberText);
    // Reloads the current template when its id changed (after the layout adjustment).
    void initFormType();
    // Picks a template by its name; false when the drop-down has no such name.
    bool setCurrentCheckType(const QString& templateName);
    // Applies an amount text; false (after the message) when it is refused.
    bool setJEXX(const QString& text);
    void setMoneyName(const QString& name);
    void setDate(const QDate& date);
    void setSender(const TPerson* person);
    void setReceiver(const TPerson* person);
    void setInComp(const QString& name);

    // One print job of the bill on the form with the copy count; true when it reached
    // the printer.
    bool printBill(int copies);
    // The save button; true when a row was written.
    bool saveBill();
    // The cheque as the save would write it.
    ChequeRecord currentRecord() const;

    // The currency abbreviation of the current currency, looked up once per currency.
    QString getMoneyCode();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class PrintSourceImpl;
    friend class PrintSourceImpl;

    void buildControls();
    void buildOptionStrip();
    void buildToolBar();
    QToolButton* addToolButton(const QString& name, const QString& caption, const QString& hint, int icon);
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
    void hideOrPlace(const QStringList& names, bool hide);
    void currencyChange(const QString& text);
    void rememberOptions();

    void drawerLeft();
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
    void pictureClick();
    void applyRecord(const ChequeRecord& record);
    void afterSave(const ChequeRecord& record);
    QWidget* frameWidget();

    AppContext& context_;
    ChequeSession session_;
    CheckZPCommands commands_;
    std::unique_ptr<IniFile> cache_;
    int templateId_ = -1;
    int loadedId_ = -1;
    QString currencyName_ = QStringLiteral("人民币");
    std::optional<QString> abbreviation_;
    std::unique_ptr<TPerson> drawer_;
    std::unique_ptr<TPerson> payee_;
    QList<QCheckBox*> tickItems_;
    bool finishing_ = false;
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

    QLineEdit *zdNian, *zdYue, *zdRi, *cgNian, *cgYue, *cgRi, *zdNianYueRi;
    QDateEdit* SelDate;
    QComboBox *zdOutComp, *zdOutBankAcct, *zdInComp, *zdYT, *zdPJBH, *zdDef1, *zdDef2;
    QLineEdit *zdOutBank, *cgInComp, *zdJEDX, *zdJEXX, *cgJEXX, *inputJEXX, *cgYT, *zdZFMM, *zdDef3, *zdDef4,
        *zdDef5;
    QPlainTextEdit* zdRemark;
    QWidget *shpHKR, *shpskr;

    QCheckBox *cfgPrintOutBankAcct, *cfgPrintOutBank, *cfgDateChinese, *cfgJEDXRMBChecked, *cfgJEDXWithMoneyName,
        *cfgJEXXWithMoneyCode, *cfgNoPrtDate, *cfgNoPrtOutter, *cfgNoPrtSheep, *cfgNoPrtJEXX, *cfgNoPrtJEDX;
    QComboBox* cfgMoneyType;

    QToolButton *btUpOrDown, *btMoveXY, *btDesign, *btSaveSKRen, *bt2CheckJZD, *btOpenCheck, *btNewCheck, *btSaveAs,
        *btSaveCheck, *btPrint1, *btPrintAndSave, *btMultiPrintF, *btClose;
};

} // namespace slipcraft
