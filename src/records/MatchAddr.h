#pragma once

#include <QDialog>
#include <QList>
#include <QPointer>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;

namespace slipcraft {

class AppContext;
class TfmBillForm;
class TfrmMutiPrint;
struct ParsedAddress;

// Splits a pasted address text into the boxes of a waybill party, lets the user correct
// them, and hands the result to the waybill form as its sender or receiver. Every
// showing pastes the clipboard and recognises it first.
class TfrmMatchAddr : public QDialog {
    Q_OBJECT

public:
    TfrmMatchAddr(AppContext& context, QWidget* parent = nullptr);

    // Single mode: the party goes to this waybill form (none: nothing is handed over).
    void setWaybill(TfmBillForm* waybill);
    // Batch mode while batch is set: every paste adds a receiver to its list, and
    // "2.0 粘贴不关闭" keeps the window open for the next one.
    void setBatch(TfrmMutiPrint* batch);

    // "1.1 粘贴剪切板并识别".
    void pasteClipboard();
    // "1.2 只识别以上内容>>": recognises what the input box holds.
    void recognise();
    // "2.1 粘贴为发件人" / "2.2 粘贴为收件人" / "2.0 粘贴不关闭": false (after the message)
    // without a contact, and when there is no window to take the party.
    bool pasteAsSender();
    bool pasteAsReceiver();
    bool pasteAndStay();

    // The text of a result box ("edtName", "edtProvince" …).
    QString resultText(const QString& box) const;
    void setInput(const QString& text);

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    QComboBox* resultBox(const QString& name);
    void fill(QComboBox* box, const QStringList& candidates);
    void completeAddressBox();
    void chooseFormat(int format);
    void showSample();
    void saveRemarkClick();
    void loadRemarkTab(int index);
    enum class Paste { Sender, Receiver, Stay };
    bool paste(Paste how);

    AppContext& context_;
    TfmBillForm* waybill_ = nullptr;
    QPointer<TfrmMutiPrint> batch_;
    QList<bool> remarkTabLoaded_;

    QPlainTextEdit* memoFrom = nullptr;
    QButtonGroup* formats_ = nullptr;
    QLabel* lbNote = nullptr;
    QCheckBox *ckContainProviceCity = nullptr, *ckWPNR = nullptr, *ckRemark = nullptr, *ckClearCompany = nullptr;
    QComboBox *edtCompany = nullptr, *edtName = nullptr, *edtPhone = nullptr, *edtHandset = nullptr,
              *cbCountry = nullptr, *edtProvince = nullptr, *edtCity = nullptr, *edtTown = nullptr,
              *edtAddress = nullptr, *edtZipcode = nullptr;
    QLineEdit* edtRemark = nullptr;
    QTabWidget* remarkTabs_ = nullptr;
    QList<QListWidget*> remarkLists_;
    QPushButton* btPasteNoClose = nullptr;
    QPushButton* btSender = nullptr;
};

} // namespace slipcraft
