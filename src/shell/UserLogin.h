#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace slipcraft {

class AppContext;
class Tfm_Main;

// The sign-in dialog, caption "操作员切换及登录". A successful sign-in sets the current
// user and role of the application context and closes the dialog.
class TfrmUserLogin : public QDialog {
    Q_OBJECT

public:
    static inline const QString kCaption = QStringLiteral("操作员切换及登录");

    explicit TfrmUserLogin(AppContext& context, QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void fillUserNames();
    void btLoginClick();
    void refuse(const QString& text);

    AppContext& context_;
    QComboBox* cbUserName;
    QLineEdit* edtPasswd;
    QLabel* lbHint;
    QPushButton* btLogin;
    QPushButton* btCancel;
};

// The exit status of a start that ended because nobody signed in.
inline constexpr int kSignInRefusedExitStatus = 3;

// When the switch "进入系统需验证" is on, shows the sign-in dialog modally. False when the
// program must end: the dialog closed and nobody with a role signed in.
bool signInAtStart(AppContext& context, QWidget* parent);

// signInAtStart at the main window's first clock tick, or as soon as the event loop runs
// when that tick has passed already; a refusal ends the event loop with
// kSignInRefusedExitStatus. Call it right before the event loop starts.
void requireSignInAtStart(Tfm_Main& window);

} // namespace slipcraft
