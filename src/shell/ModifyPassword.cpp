#include "shell/ModifyPassword.h"

#include "data/Database.h"
#include "shell/AppContext.h"
#include "shell/UserAccounts.h"
#include "shell/UserMessages.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace slipcraft {

namespace {

QLineEdit* passwordBox(QWidget* parent, const char* name)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setEchoMode(QLineEdit::Password);
    // Longer than the sign-in takes, a password could never be typed there.
    box->setMaxLength(users::kMaxTyped);
    return box;
}

} // namespace

TfrmModifyPassword::TfrmModifyPassword(AppContext& context, QWidget* parent)
    : QDialog(parent)
    , context_(context)
    , cbUserName(new QComboBox(this))
    , edtOldPasswd(passwordBox(this, "edtOldPasswd"))
    , edtNewPasswd(passwordBox(this, "edtNewPasswd"))
    , edtNewPasswd2(passwordBox(this, "edtNewPasswd2"))
    , btModify(new QPushButton(QStringLiteral("修改"), this))
    , btClose(new QPushButton(QStringLiteral("关闭"), this))
{
    setObjectName(QStringLiteral("frmModifyPassword"));
    setWindowTitle(kCaption);
    cbUserName->setObjectName(QStringLiteral("cbUserName"));
    btModify->setObjectName(QStringLiteral("btModify"));
    btClose->setObjectName(QStringLiteral("btClose"));
    btModify->setDefault(true);
    cbUserName->setMinimumWidth(180);

    try {
        cbUserName->addItems(users::userNames(context_.db()));
    } catch (const DatabaseError& error) {
        context_.messages().show(QStringLiteral("密码修改失败，错误=") + error.text());
    }

    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("用户名："), cbUserName);
    fields->addRow(QStringLiteral("输入旧密码："), edtOldPasswd);
    fields->addRow(QStringLiteral("输入新密码："), edtNewPasswd);
    fields->addRow(QStringLiteral("确认新密码："), edtNewPasswd2);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btModify);
    buttons->addWidget(btClose);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 20, 24, 16);
    layout->addLayout(fields);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    setFixedSize(sizeHint());

    connect(btModify, &QPushButton::clicked, this, &TfrmModifyPassword::btModifyClick);
    connect(btClose, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmModifyPassword::presetUserName(const QString& userName)
{
    for (int index = 0; index < cbUserName->count(); ++index) {
        if (users::sameUserName(cbUserName->itemText(index), userName)) {
            cbUserName->setCurrentIndex(index);
            return;
        }
    }
}

void TfrmModifyPassword::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        edtOldPasswd->setFocus();
}

void TfrmModifyPassword::btModifyClick()
{
    users::PasswordChange outcome;
    try {
        outcome = users::changePassword(context_.db(), cbUserName->currentText(), edtOldPasswd->text(),
                                        edtNewPasswd->text(), edtNewPasswd2->text());
    } catch (const std::runtime_error& error) {
        context_.messages().show(QStringLiteral("密码修改失败，错误=") + QString::fromStdString(error.what()));
        return;
    }
    switch (outcome) {
    case users::PasswordChange::EntriesDiffer:
        context_.messages().show(QStringLiteral("密码两次输入不一致！"));
        break;
    case users::PasswordChange::WrongOldPassword:
        context_.alert(QStringLiteral("用户名或密码输入有错误，请重新输入."), QStringLiteral("密码错误"), false);
        edtOldPasswd->clear();
        edtOldPasswd->setFocus();
        break;
    case users::PasswordChange::Changed:
        context_.alert(QStringLiteral("密码修改成功,请牢记新密码。"), QStringLiteral("消息"), false);
        // Two different texts: pressing "修改" again says the entries differ instead of
        // changing the password once more.
        edtNewPasswd->setText(QString(15, QLatin1Char('*')));
        edtNewPasswd2->setText(QString(15, QLatin1Char('#')));
        break;
    }
}

} // namespace slipcraft
