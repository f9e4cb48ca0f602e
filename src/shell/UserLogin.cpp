#include "shell/UserLogin.h"

#include "data/Database.h"
#include "shell/AppContext.h"
#include "shell/MainMDI.h"
#include "shell/UserAccounts.h"
#include "shell/UserMessages.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTimer>
#include <QVBoxLayout>

namespace slipcraft {

TfrmUserLogin::TfrmUserLogin(AppContext& context, QWidget* parent)
    : QDialog(parent)
    , context_(context)
    , cbUserName(new QComboBox(this))
    , edtPasswd(new QLineEdit(this))
    , lbHint(new QLabel(QStringLiteral("(*初始密码为空)"), this))
    , btLogin(new QPushButton(QStringLiteral("登录"), this))
    , btCancel(new QPushButton(QStringLiteral("取消"), this))
{
    setObjectName(QStringLiteral("frmUserLogin"));
    setWindowTitle(kCaption);
    cbUserName->setObjectName(QStringLiteral("cbUserName"));
    edtPasswd->setObjectName(QStringLiteral("edtPasswd"));
    lbHint->setObjectName(QStringLiteral("lbHint"));
    btLogin->setObjectName(QStringLiteral("btLogin"));
    btCancel->setObjectName(QStringLiteral("btCancel"));

    cbUserName->setEditable(true);
    cbUserName->setInsertPolicy(QComboBox::NoInsert);
    cbUserName->lineEdit()->setMaxLength(users::kMaxTyped);
    cbUserName->setMinimumWidth(180);
    edtPasswd->setEchoMode(QLineEdit::Password);
    edtPasswd->setMaxLength(users::kMaxTyped);
    lbHint->setStyleSheet(QStringLiteral("color: gray;"));
    // Enter belongs to the boxes: in the name it moves on, in the password it signs in.
    for (QPushButton* command : {btLogin, btCancel})
        command->setAutoDefault(false);

    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("用户名："), cbUserName);
    fields->addRow(QStringLiteral("密  码："), edtPasswd);
    fields->addRow(QString(), lbHint);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btLogin);
    buttons->addWidget(btCancel);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 20, 24, 16);
    layout->addLayout(fields);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    setFixedSize(sizeHint());

    connect(cbUserName->lineEdit(), &QLineEdit::returnPressed, this, [this] { edtPasswd->setFocus(); });
    connect(edtPasswd, &QLineEdit::returnPressed, this, &TfrmUserLogin::btLoginClick);
    connect(btLogin, &QPushButton::clicked, this, &TfrmUserLogin::btLoginClick);
    connect(btCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmUserLogin::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    fillUserNames();
    (cbUserName->count() > 0 ? static_cast<QWidget*>(edtPasswd) : cbUserName)->setFocus();
}

void TfrmUserLogin::fillUserNames()
{
    cbUserName->clear();
    try {
        cbUserName->addItems(users::userNames(context_.db()));
    } catch (const DatabaseError&) {
        context_.messages().show(QStringLiteral("数据库访问出错，请确认系统的完整性未被破坏~"));
    }
    if (cbUserName->count() > 0)
        cbUserName->setCurrentIndex(0);
}

void TfrmUserLogin::btLoginClick()
{
    users::SignInResult result;
    try {
        result = users::signIn(context_.db(), cbUserName->currentText(), edtPasswd->text());
    } catch (const std::runtime_error&) { // the database, or no memory for the digest
        refuse(QStringLiteral("密码或用户名输入错误~"));
        return;
    }
    switch (result.outcome) {
    case users::SignInResult::NoUserName:
        context_.messages().show(QStringLiteral("请选择正确的用户名~"));
        cbUserName->setFocus();
        return;
    case users::SignInResult::Refused:
        refuse(QStringLiteral("用户名或密码输入错误~"));
        return;
    case users::SignInResult::SignedIn:
        break;
    }
    if (!result.renewalError.isEmpty())
        context_.DebugOutN(QStringLiteral("UserLogin"), result.renewalError);
    context_.currentUserName = result.userName;
    context_.currentRoleName = result.roleName;
    edtPasswd->clear();
    accept();
}

void TfrmUserLogin::refuse(const QString& text)
{
    context_.currentUserName.clear();
    context_.currentRoleName.clear();
    context_.messages().show(text);
    // Ready for another try.
    edtPasswd->selectAll();
    edtPasswd->setFocus();
}

bool signInAtStart(AppContext& context, QWidget* parent)
{
    if (!context.switches().needLogin)
        return true;
    TfrmUserLogin dialog(context, parent);
    dialog.exec();
    return !context.currentRoleName.isEmpty();
}

void requireSignInAtStart(Tfm_Main& window)
{
    const auto ask = [&window] {
        if (!signInAtStart(window.context(), &window))
            QCoreApplication::exit(kSignInRefusedExitStatus);
    };
    // Ending the program works only from inside the event loop, so a tick that came while
    // the start was still busy is answered once the loop runs.
    if (window.context().timerTickCount >= 1)
        QTimer::singleShot(0, &window, ask);
    else
        QObject::connect(&window, &Tfm_Main::firstClockTick, &window, ask);
}

} // namespace slipcraft
