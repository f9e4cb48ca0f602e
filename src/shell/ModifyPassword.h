#pragma once

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace slipcraft {

class AppContext;

// Changes one account's password after checking the old one; caption "更改系统登录密码".
class TfrmModifyPassword : public QDialog {
    Q_OBJECT

public:
    static inline const QString kCaption = QStringLiteral("更改系统登录密码");

    explicit TfrmModifyPassword(AppContext& context, QWidget* parent = nullptr);

    // Chooses the account in the name drop-down.
    void presetUserName(const QString& userName);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void btModifyClick();

    AppContext& context_;
    QComboBox* cbUserName;
    QLineEdit* edtOldPasswd;
    QLineEdit* edtNewPasswd;
    QLineEdit* edtNewPasswd2;
    QPushButton* btModify;
    QPushButton* btClose;
};

} // namespace slipcraft
