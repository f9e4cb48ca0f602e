#pragma once

#include <QDialog>
#include <QString>

#include <memory>

class QComboBox;
class QLabel;
class QPushButton;

namespace slipcraft {

class UserMessages;

// Asks the user for one value: a whole number, a decimal number or a text.
class TfrmInputValue : public QDialog {
    Q_OBJECT

public:
    static inline const QString kInteger = QStringLiteral("INTEGER");
    static inline const QString kDouble = QStringLiteral("DOUBLE");
    static inline const QString kString = QStringLiteral("STRING");

    // Without messages, the refusal of an empty value shows a message box.
    explicit TfrmInputValue(QWidget* parent = nullptr, UserMessages* messages = nullptr);
    ~TfrmInputValue() override;

    void setTitle(const QString& prompt);
    void setDefaultValue(const QString& text);
    // "INT"/"INTEGER" and "FLOAT"/"REAL"/"DOUBLE" in any case, with or without
    // surrounding blanks; anything else asks for a text.
    void setTypeReturn(const QString& typeName);
    const QString& valueType() const { return valueType_; }

    // Empty after the user cancelled or closed the dialog.
    QString value() const;
    bool cancelled() const { return cancelled_; }

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void btOKClick();
    void btCancelClick();
    // True when the typed character is refused.
    bool refusesKey(const QString& typed);

    QLabel* Label1;
    QComboBox* edtValue;
    QLabel* lbMessage;
    QPushButton* btOK;
    QPushButton* btCancel;
    UserMessages* messages_;
    std::unique_ptr<UserMessages> ownMessages_;
    QString valueType_ = kString;
    bool cancelled_ = true;
};

// Runs a fresh input dialog modally; the value typed, or empty when the user cancelled.
QString giveMeAnValue(QWidget* parent, const QString& prompt, const QString& defaultValue, const QString& typeName);

} // namespace slipcraft
