#include "WindowProbe.h"
#include "RecordingMessages.h"
#include "TempHome.h"
#include "WhenShown.h"

#include "data/Database.h"
#include "platform/RegistryStore.h"
#include "shell/AppContext.h"
#include "shell/MainMDI.h"
#include "shell/ModifyPassword.h"
#include "shell/UserAccounts.h"
#include "shell/UserLogin.h"
#include "shell/UserManage.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQueryModel>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

using namespace slipcraft;

namespace {

QString field(const QWidget& window, const char* box)
{
    return child<QLineEdit>(window, box)->text();
}

void type(const QWidget& window, const char* box, const char* text)
{
    auto* edit = child<QLineEdit>(window, box);
    edit->clear();
    const QString typed = QString::fromUtf8(text);
    // Key events exist for ASCII only; other characters arrive as an input method commits them.
    bool ascii = true;
    for (QChar ch : typed)
        ascii = ascii && ch.unicode() < 0x80;
    if (ascii)
        QTest::keyClicks(edit, typed);
    else
        edit->insert(typed);
}

// One digest for the whole run: Argon2 is slow on purpose.
const QString& secretDigest()
{
    static const QString digest = users::passwordDigest(QStringLiteral("secret"));
    return digest;
}

class UserWindowsTest : public ::testing::Test {
protected:
    void SetUp() override { home.createDatabase(); }

    int addAccount(const char* name, const QString& passwd, const char* role, const char* remark = "")
    {
        SqlQuery insert = context.db().query(
            QStringLiteral("insert into UserTable (UserName, Passwd, RoleName, Remark) values (:n, :p, :r, :m)"),
            {{QStringLiteral("n"), QString::fromUtf8(name)},
             {QStringLiteral("p"), passwd},
             {QStringLiteral("r"), QString::fromUtf8(role)},
             {QStringLiteral("m"), QString::fromUtf8(remark)}});
        return int(insert.lastInsertId());
    }
    QVariant column(int id, const char* name)
    {
        return context.db().scalar(QStringLiteral("select ") + QString::fromLatin1(name)
                                       + QStringLiteral(" from UserTable where ID=:id"),
                                   {{QStringLiteral("id"), id}});
    }
    int accountCount() { return context.db().scalar(QStringLiteral("select count(*) from UserTable")).toInt(); }
    void requireSignIn(bool on)
    {
        context.settings().setConfigByname(Settings::kNeedLogin, on ? QStringLiteral("yes") : QStringLiteral("no"));
        context.LoadSysParam();
    }
    QString lastText() const { return messages.messages.isEmpty() ? QString() : messages.messages.last().text; }
    QString lastCaption() const { return messages.messages.isEmpty() ? QString() : messages.messages.last().caption; }

    TempHome home;
    RecordingMessages messages;
    AppContext context{home.runPath(), messages};
};

} // namespace

TEST_F(UserWindowsTest, SignInDialogOffersTheNamesAndMasksThePassword)
{
    addAccount("张三", secretDigest(), "管理员");
    addAccount("李四", QString(), "录单员");
    TfrmUserLogin dialog(context);
    dialog.show();

    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("操作员切换及登录"));
    auto* names = child<QComboBox>(dialog, "cbUserName");
    EXPECT_EQ(names->count(), 2);
    EXPECT_EQ(names->currentIndex(), 0);
    EXPECT_EQ(names->lineEdit()->maxLength(), 30);
    auto* password = child<QLineEdit>(dialog, "edtPasswd");
    EXPECT_EQ(password->echoMode(), QLineEdit::Password);
    EXPECT_EQ(password->maxLength(), 30);
    EXPECT_EQ(child<QLabel>(dialog, "lbHint")->text(), QStringLiteral("(*初始密码为空)"));
}

TEST_F(UserWindowsTest, SignInStaysOpenAfterAWrongPasswordAndSetsTheUserWhenRight)
{
    addAccount("张三", secretDigest(), "管理员");
    context.currentUserName = QStringLiteral("上一位");
    context.currentRoleName = QStringLiteral("录单员");
    TfrmUserLogin dialog(context);
    dialog.show();
    child<QComboBox>(dialog, "cbUserName")->setCurrentText(QStringLiteral("张三"));

    type(dialog, "edtPasswd", "wrong");
    QTest::keyClick(child<QLineEdit>(dialog, "edtPasswd"), Qt::Key_Return);
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("用户名或密码输入错误~")});
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(context.currentUserName.isEmpty());
    EXPECT_TRUE(context.currentRoleName.isEmpty());

    type(dialog, "edtPasswd", "secret");
    click(dialog, "btLogin");
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(context.currentUserName, QStringLiteral("张三"));
    EXPECT_EQ(context.currentRoleName, QStringLiteral("管理员"));
    EXPECT_TRUE(child<QLineEdit>(dialog, "edtPasswd")->text().isEmpty());
}

TEST_F(UserWindowsTest, SignInWithoutANameOrWithoutTheTableSaysSo)
{
    {
        TfrmUserLogin dialog(context);
        dialog.show();
        click(dialog, "btLogin");
        EXPECT_EQ(lastText(), QStringLiteral("请选择正确的用户名~"));
        EXPECT_TRUE(dialog.isVisible());
    }
    messages.messages.clear();
    context.db().execute(QStringLiteral("drop table UserTable"));
    TfrmUserLogin dialog(context);
    dialog.show();
    child<QComboBox>(dialog, "cbUserName")->setCurrentText(QStringLiteral("张三"));
    click(dialog, "btLogin");
    EXPECT_EQ(messages.texts(), (QStringList{QStringLiteral("数据库访问出错，请确认系统的完整性未被破坏~"),
                                             QStringLiteral("密码或用户名输入错误~")}));
}

namespace {

constexpr int kWentOn = 42;

struct StartCase {
    const char* label;
    bool needLogin;
    bool tickBeforeTheLoop; // the first second passed while the start was still busy
    const char* name;       // null: the user cancels
    const char* password;
    bool asked;
    int status;
    const char* role;
};

std::string startCaseName(const ::testing::TestParamInfo<StartCase>& info)
{
    return info.param.label;
}

class StartSignIn : public UserWindowsTest, public ::testing::WithParamInterface<StartCase> {};

} // namespace

// The event loop as the program runs it after its start: ended by a refused sign-in, or
// still running a moment after the sign-in (kWentOn).
TEST_P(StartSignIn, EndsTheProgramUnlessSomebodyWithARoleSignsIn)
{
    const StartCase& c = GetParam();
    addAccount("张三", secretDigest(), "管理员");
    addAccount("无角色", QString(), "");
    requireSignIn(c.needLogin);
    QTemporaryDir config;
    RegistryStore registry(config.filePath(QStringLiteral("record.conf")));
    Tfm_Main window(context, registry);
    window.show();
    if (c.tickBeforeTheLoop)
        context.timerTickCount = 1;

    QTimer wentOn;
    wentOn.setSingleShot(true);
    QObject::connect(&wentOn, &QTimer::timeout, [] { QCoreApplication::exit(kWentOn); });
    QTimer stuck;
    QObject::connect(&stuck, &QTimer::timeout, [] { QCoreApplication::exit(-1); });
    stuck.start(10000);
    WhenShown<TfrmUserLogin> dialog([&](TfrmUserLogin& shown) {
        if (c.name) {
            child<QComboBox>(shown, "cbUserName")->setCurrentText(QString::fromUtf8(c.name));
            type(shown, "edtPasswd", c.password);
            click(shown, "btLogin");
        } else {
            click(shown, "btCancel");
        }
        wentOn.start(50);
    });
    if (!c.needLogin)
        wentOn.start(50);
    requireSignInAtStart(window);

    EXPECT_EQ(QCoreApplication::exec(), c.status);
    EXPECT_EQ(dialog.shown, c.asked);
    EXPECT_EQ(context.currentRoleName, QString::fromUtf8(c.role));
}

INSTANTIATE_TEST_SUITE_P(
    Switch, StartSignIn,
    ::testing::Values(
        StartCase{"OffAsksNobody", false, true, nullptr, nullptr, false, kWentOn, ""},
        StartCase{"OnAndCancelledAtTheFirstTick", true, false, nullptr, nullptr, true, kSignInRefusedExitStatus, ""},
        StartCase{"OnAndSignedInAfterABusyStart", true, true, "张三", "secret", true, kWentOn, "管理员"},
        StartCase{"OnAndSignedInWithoutARole", true, true, "无角色", "", true, kSignInRefusedExitStatus, ""}),
    startCaseName);

TEST_F(UserWindowsTest, MainWindowOpensTheUserManagerAndKeepsSignInFromLockingEverybodyOut)
{
    QTemporaryDir config;
    RegistryStore registry(config.filePath(QStringLiteral("record.conf")));
    Tfm_Main window(context, registry);

    QAction* manage = window.command(QStringLiteral("N23"));
    ASSERT_NE(manage, nullptr);
    EXPECT_TRUE(manage->isEnabled());
    WhenShown<TfrmUserManage> manager([](TfrmUserManage& shown) {
        EXPECT_EQ(shown.windowTitle(), QStringLiteral("用户及权限管理"));
    });
    manage->trigger();
    EXPECT_TRUE(manager.shown);

    // Nobody could sign in at the next start: the switch stays off.
    QAction* needLogin = window.command(QStringLiteral("mNeedLogin"));
    addAccount("无角色", QString(), "");
    needLogin->trigger();
    EXPECT_TRUE(lastText().startsWith(QStringLiteral("还没有可以登录的用户")));
    EXPECT_FALSE(needLogin->isChecked());
    EXPECT_FALSE(context.switches().needLogin);
    EXPECT_NE(context.settings().getConfigByname(Settings::kNeedLogin), QStringLiteral("yes"));

    messages.messages.clear();
    addAccount("张三", QString(), "录单员");
    needLogin->trigger();
    EXPECT_TRUE(messages.messages.isEmpty());
    EXPECT_TRUE(needLogin->isChecked());
    EXPECT_EQ(context.settings().getConfigByname(Settings::kNeedLogin), QStringLiteral("yes"));
}

namespace {

class UserManageTest : public UserWindowsTest {
protected:
    void SetUp() override
    {
        UserWindowsTest::SetUp();
        zhang = addAccount("张三", secretDigest(), "管理员", "老板");
        li = addAccount("李四", QString(), "录单员");
        wang = addAccount("王五", QString(), "订单处理员");
    }

    static QTableView* grid(const TfrmUserManage& manager) { return child<QTableView>(manager, "DBGrid1"); }
    static void makeCurrent(const TfrmUserManage& manager, int row)
    {
        grid(manager)->setCurrentIndex(grid(manager)->model()->index(row, 1));
        grid(manager)->clearSelection();
    }
    static void select(const TfrmUserManage& manager, const QList<int>& rows)
    {
        for (int row : rows)
            grid(manager)->selectionModel()->select(grid(manager)->model()->index(row, 1),
                                                   QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }

    int zhang = 0;
    int li = 0;
    int wang = 0;
};

} // namespace

TEST_F(UserManageTest, ListsTheAccountsWithTheirRolesAndShowsTheCurrentOne)
{
    TfrmUserManage manager(context);
    EXPECT_EQ(manager.windowTitle(), QStringLiteral("用户及权限管理"));
    EXPECT_EQ(manager.listedRows(), 3);
    QStringList shown;
    for (int column = 0; column < grid(manager)->model()->columnCount(); ++column) {
        if (!grid(manager)->isColumnHidden(column))
            shown << grid(manager)->model()->headerData(column, Qt::Horizontal).toString();
    }
    EXPECT_EQ(shown, (QStringList{QStringLiteral("用户名"), QStringLiteral("操作角色"), QStringLiteral("最后登录时间"),
                                  QStringLiteral("备注")}));
    EXPECT_EQ(grid(manager)->selectionMode(), QAbstractItemView::ExtendedSelection);

    auto* roles = child<QComboBox>(manager, "cbRoleName");
    QStringList offered;
    for (int index = 0; index < roles->count(); ++index)
        offered << roles->itemText(index);
    EXPECT_EQ(offered, (QStringList{QStringLiteral("管理员"), QStringLiteral("订单处理员"), QStringLiteral("录单员")}));

    auto* password = child<QLineEdit>(manager, "edtPasswd");
    EXPECT_EQ(password->echoMode(), QLineEdit::Password);
    EXPECT_FALSE(password->isEnabled());
    EXPECT_EQ(field(manager, "edtUserName"), QStringLiteral("张三"));
    EXPECT_EQ(roles->currentText(), QStringLiteral("管理员"));
    EXPECT_EQ(field(manager, "edtRemark"), QStringLiteral("老板"));
    EXPECT_FALSE(password->text().isEmpty()); // 张三 has a password; what it is stays off screen
    EXPECT_NE(password->text(), secretDigest());
    EXPECT_TRUE(child<QLineEdit>(manager, "edtUserName")->isReadOnly());

    makeCurrent(manager, 1);
    EXPECT_EQ(field(manager, "edtUserName"), QStringLiteral("李四"));
    EXPECT_TRUE(password->text().isEmpty());
}

TEST_F(UserManageTest, AddingRefusesATakenNameAndStoresTheNewAccountWithoutPassword)
{
    TfrmUserManage manager(context);
    click(manager, "btAdd");
    EXPECT_FALSE(child<QLineEdit>(manager, "edtUserName")->isReadOnly());
    EXPECT_FALSE(grid(manager)->isEnabled());
    EXPECT_EQ(child<QComboBox>(manager, "cbRoleName")->currentText(), QStringLiteral("录单员"));

    type(manager, "edtUserName", "张三 ");
    click(manager, "btPost");
    EXPECT_EQ(lastText(), QStringLiteral("用户名“张三”已经有了，请换一个用户名~"));
    EXPECT_EQ(lastCaption(), QStringLiteral("提示"));
    EXPECT_FALSE(grid(manager)->isEnabled());
    EXPECT_EQ(accountCount(), 3);

    type(manager, "edtUserName", "赵六");
    child<QComboBox>(manager, "cbRoleName")->setCurrentText(QStringLiteral("订单处理员"));
    type(manager, "edtRemark", "新来的");
    click(manager, "btPost");
    EXPECT_TRUE(grid(manager)->isEnabled());
    EXPECT_EQ(manager.listedRows(), 4);
    EXPECT_EQ(field(manager, "edtUserName"), QStringLiteral("赵六"));
    const QVariant stored = context.db().scalar(QStringLiteral("select Passwd from UserTable where UserName='赵六'"));
    EXPECT_FALSE(stored.isNull());
    EXPECT_EQ(stored.toString(), QString());
    EXPECT_EQ(context.db().scalar(QStringLiteral("select RoleName||Remark from UserTable where UserName='赵六'")).toString(),
              QStringLiteral("订单处理员新来的"));
}

TEST_F(UserManageTest, EditingSavesTheCurrentAccountByItsId)
{
    const int twin = addAccount("张三", QString(), "录单员"); // as an older file may hold
    TfrmUserManage manager(context);
    int row = -1;
    for (int candidate = 0; candidate < manager.listedRows(); ++candidate) {
        if (grid(manager)->model()->index(candidate, 0).data().toInt() == twin)
            row = candidate;
    }
    ASSERT_GE(row, 0);
    makeCurrent(manager, row);
    click(manager, "btEdit");
    type(manager, "edtUserName", "张三丰");
    click(manager, "btPost");
    EXPECT_EQ(column(twin, "UserName").toString(), QStringLiteral("张三丰"));
    EXPECT_EQ(column(zhang, "UserName").toString(), QStringLiteral("张三"));
    EXPECT_EQ(column(zhang, "Remark").toString(), QStringLiteral("老板"));
    EXPECT_EQ(field(manager, "edtUserName"), QStringLiteral("张三丰"));
}

TEST_F(UserManageTest, DeleteSelectedAsksFirstAndClearsTheSelection)
{
    TfrmUserManage manager(context);
    click(manager, "btDeleteSelected");
    ASSERT_EQ(messages.messages.size(), 1);
    EXPECT_EQ(lastText(), QStringLiteral("没有选中任何要删除的用户"));
    EXPECT_EQ(lastCaption(), QStringLiteral("提示"));
    EXPECT_FALSE(messages.messages.last().question);

    messages.messages.clear();
    select(manager, {1, 2});
    messages.answer = false;
    click(manager, "btDeleteSelected");
    EXPECT_EQ(accountCount(), 3);
    EXPECT_FALSE(grid(manager)->selectionModel()->hasSelection());

    select(manager, {1, 2});
    messages.answer = true;
    click(manager, "btDeleteSelected");
    ASSERT_EQ(messages.messages.size(), 3);
    EXPECT_TRUE(messages.messages[1].question);
    EXPECT_EQ(messages.messages[1].text, QStringLiteral("用户删除将无法找回，用户处理的订单等数据并不会删除，确认删除这些用户吗？"));
    EXPECT_EQ(messages.messages[1].caption, QStringLiteral("删除确认"));
    EXPECT_EQ(lastText(), QStringLiteral("2个用户删除成功！"));
    EXPECT_EQ(manager.listedRows(), 1);
    EXPECT_EQ(accountCount(), 1);
    EXPECT_FALSE(column(zhang, "UserName").isNull());
}

TEST_F(UserManageTest, TheLastAccountsThatCanSignInStayWhileSignInIsRequired)
{
    requireSignIn(true);
    TfrmUserManage manager(context);
    select(manager, {0, 1, 2});
    messages.answer = true;
    click(manager, "btDeleteSelected");
    EXPECT_TRUE(lastText().contains(QStringLiteral("至少要保留一个"))) << lastText().toStdString();
    EXPECT_EQ(lastCaption(), QStringLiteral("提示"));
    EXPECT_EQ(accountCount(), 3);
    EXPECT_EQ(manager.listedRows(), 3);
}

TEST_F(UserManageTest, ResetPasswordsEmptiesTheSelectedOnes)
{
    TfrmUserManage manager(context);
    click(manager, "btResetPasswd");
    EXPECT_EQ(lastText(), QStringLiteral("没有选中任何重置的用户"));

    messages.messages.clear();
    select(manager, {0});
    messages.answer = true;
    click(manager, "btResetPasswd");
    ASSERT_EQ(messages.messages.size(), 2);
    EXPECT_EQ(messages.messages[0].text, QStringLiteral("确定要重置选中用户的密码为空吗？"));
    EXPECT_EQ(messages.messages[0].caption, QStringLiteral("确认"));
    EXPECT_EQ(lastText(), QStringLiteral("1个用户密码重置成功！"));
    EXPECT_EQ(column(zhang, "Passwd").toString(), QString());
    EXPECT_TRUE(field(manager, "edtPasswd").isEmpty());
}

TEST_F(UserManageTest, ChangePasswordOpensForTheCurrentAccount)
{
    TfrmUserManage manager(context);
    makeCurrent(manager, 1);
    WhenShown<TfrmModifyPassword> dialog([](TfrmModifyPassword& shown) {
        EXPECT_EQ(child<QComboBox>(shown, "cbUserName")->currentText(), QStringLiteral("李四"));
        type(shown, "edtNewPasswd", "li's");
        type(shown, "edtNewPasswd2", "li's");
        click(shown, "btModify");
    });
    click(manager, "btModifyPasswd");
    ASSERT_TRUE(dialog.shown);
    EXPECT_TRUE(users::passwordMatches(column(li, "Passwd").toString(), QStringLiteral("li's")));
    // The list is read again and stays on the same account.
    EXPECT_EQ(field(manager, "edtUserName"), QStringLiteral("李四"));
    EXPECT_FALSE(field(manager, "edtPasswd").isEmpty());
}

TEST_F(UserWindowsTest, PasswordDialogChecksTheOldPasswordAndRefusesASecondPress)
{
    const int id = addAccount("张三", secretDigest(), "管理员");
    addAccount("李四", QString(), "录单员");
    TfrmModifyPassword dialog(context);
    dialog.presetUserName(QStringLiteral("张三"));
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("更改系统登录密码"));
    EXPECT_EQ(child<QComboBox>(dialog, "cbUserName")->currentText(), QStringLiteral("张三"));
    EXPECT_EQ(dialog.focusWidget(), child<QLineEdit>(dialog, "edtOldPasswd"));
    for (const char* box : {"edtOldPasswd", "edtNewPasswd", "edtNewPasswd2"}) {
        EXPECT_EQ(child<QLineEdit>(dialog, box)->echoMode(), QLineEdit::Password) << box;
        EXPECT_EQ(child<QLineEdit>(dialog, box)->maxLength(), 30) << box;
    }

    type(dialog, "edtOldPasswd", "secret");
    type(dialog, "edtNewPasswd", "a");
    type(dialog, "edtNewPasswd2", "b");
    click(dialog, "btModify");
    EXPECT_EQ(lastText(), QStringLiteral("密码两次输入不一致！"));

    type(dialog, "edtOldPasswd", "wrong");
    type(dialog, "edtNewPasswd2", "a");
    click(dialog, "btModify");
    EXPECT_EQ(lastText(), QStringLiteral("用户名或密码输入有错误，请重新输入."));
    EXPECT_EQ(lastCaption(), QStringLiteral("密码错误"));
    EXPECT_TRUE(child<QLineEdit>(dialog, "edtOldPasswd")->text().isEmpty());
    EXPECT_EQ(column(id, "Passwd").toString(), secretDigest());

    type(dialog, "edtOldPasswd", "secret");
    type(dialog, "edtNewPasswd", "n'1");
    type(dialog, "edtNewPasswd2", "n'1");
    click(dialog, "btModify");
    EXPECT_EQ(lastText(), QStringLiteral("密码修改成功,请牢记新密码。"));
    EXPECT_EQ(lastCaption(), QStringLiteral("消息"));
    EXPECT_TRUE(users::passwordMatches(column(id, "Passwd").toString(), QStringLiteral("n'1")));
    const QString first = field(dialog, "edtNewPasswd");
    const QString second = field(dialog, "edtNewPasswd2");
    EXPECT_EQ(first.size(), 15);
    EXPECT_EQ(second.size(), 15);
    EXPECT_NE(first, second);

    messages.messages.clear();
    click(dialog, "btModify");
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("密码两次输入不一致！")});
}
