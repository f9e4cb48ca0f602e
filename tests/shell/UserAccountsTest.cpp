#include "TempHome.h"

#include "data/Database.h"
#include "shell/UserAccounts.h"

#include <gtest/gtest.h>

using namespace slipcraft;
using namespace slipcraft::users;

namespace {

// MD5 of the GBK bytes, as older releases stored them.
const QString kLegacyOldPassword = QStringLiteral("c8778b2d817f81a6664ea5beaa6c360f"); // 旧密码
const QString kLegacyQuoted = QStringLiteral("706dc2ee585fb5dcb18e3ac08da7ce0c");      // it's

// Argon2 is slow on purpose: each digest the tests need is made once.
QString digestOf(const char* password)
{
    static QHash<QString, QString> made;
    const QString text = QString::fromUtf8(password);
    if (!made.contains(text))
        made.insert(text, passwordDigest(text));
    return made.value(text);
}

class UserAccountsTest : public ::testing::Test {
protected:
    void SetUp() override { home.createDatabase(); }

    // A null passwd stores NULL, as older files may hold.
    int addAccount(const char* name, const QVariant& passwd, const char* role)
    {
        SqlQuery insert = db.query(QStringLiteral("insert into UserTable (UserName, Passwd, RoleName) values (:n, :p, :r)"),
                                   {{QStringLiteral("n"), QString::fromUtf8(name)},
                                    {QStringLiteral("p"), passwd},
                                    {QStringLiteral("r"), QString::fromUtf8(role)}});
        return int(insert.lastInsertId());
    }
    QVariant column(int id, const char* name)
    {
        return db.scalar(QStringLiteral("select ") + QString::fromLatin1(name) + QStringLiteral(" from UserTable where ID=:id"),
                         {{QStringLiteral("id"), id}});
    }
    int accountCount() { return db.scalar(QStringLiteral("select count(*) from UserTable")).toInt(); }
    bool signsIn(const char* name, const char* password)
    {
        return signIn(db, QString::fromUtf8(name), QString::fromUtf8(password)).outcome == SignInResult::SignedIn;
    }

    TempHome home;
    Database db{home.databasePath(), QStringLiteral("user-accounts-test")};
};

} // namespace

TEST(PasswordDigest, SaltedArgon2idWithTheEmptyPasswordKeptEmpty)
{
    EXPECT_EQ(passwordDigest(QString()), QString());
    const QString first = digestOf("秘密'1");
    const QString second = passwordDigest(QStringLiteral("秘密'1"));
    EXPECT_TRUE(first.startsWith(QStringLiteral("$argon2id$"))) << first.toStdString();
    EXPECT_NE(first, second); // salted: equal passwords leave no trace in the file
    EXPECT_TRUE(passwordMatches(first, QStringLiteral("秘密'1")));
    EXPECT_TRUE(passwordMatches(second, QStringLiteral("秘密'1")));
    EXPECT_FALSE(passwordMatches(first, QStringLiteral("秘密1")));
    EXPECT_FALSE(passwordMatches(first, QString()));
    EXPECT_FALSE(digestNeedsRenewal(first));

    EXPECT_TRUE(passwordMatches(QString(), QString()));
    EXPECT_FALSE(passwordMatches(QString(), QStringLiteral("x")));
    // An empty password is stored as the empty text, never as the digest of it.
    EXPECT_FALSE(passwordMatches(QStringLiteral("d41d8cd98f00b204e9800998ecf8427e"), QString()));
    EXPECT_FALSE(passwordMatches(QStringLiteral("not a digest"), QStringLiteral("not a digest")));
}

TEST(PasswordDigest, OlderFilesMd5OfTheGbkBytesIsAcceptedAndMarkedForRenewal)
{
    EXPECT_TRUE(passwordMatches(kLegacyOldPassword, QStringLiteral("旧密码")));
    EXPECT_TRUE(passwordMatches(kLegacyOldPassword.toUpper(), QStringLiteral("旧密码")));
    EXPECT_FALSE(passwordMatches(kLegacyOldPassword, QStringLiteral("旧密")));
    EXPECT_TRUE(passwordMatches(kLegacyQuoted, QStringLiteral("it's")));
    EXPECT_TRUE(digestNeedsRenewal(kLegacyOldPassword));
    EXPECT_FALSE(digestNeedsRenewal(QString()));
}

namespace {

struct SignInCase {
    const char* label;
    const char* name;
    const char* password;
    SignInResult::Outcome outcome;
    const char* role = "";
    const char* signedInAs = "";
};

std::string signInCaseName(const ::testing::TestParamInfo<SignInCase>& info)
{
    return info.param.label;
}

class SignInTable : public UserAccountsTest, public ::testing::WithParamInterface<SignInCase> {
protected:
    void SetUp() override
    {
        UserAccountsTest::SetUp();
        db.inTransaction([this] {
            addAccount("张三", digestOf("secret"), "管理员");
            addAccount("李四", QString(), "录单员");
            addAccount("王五", digestOf("it's"), "订单处理员");
            addAccount("Admin", QString(), "管理员");
            addAccount("赵六  ", QString(), "录单员");
            addAccount("重名", digestOf("same"), "录单员");
            addAccount("重名", digestOf("same"), "管理员");
            addAccount("空值", QVariant(), "录单员");
            addAccount("无角色", QString(), "");
        });
    }
};

} // namespace

TEST_P(SignInTable, SignsInOrRefuses)
{
    const SignInCase& c = GetParam();
    const SignInResult result = signIn(db, QString::fromUtf8(c.name), QString::fromUtf8(c.password));
    EXPECT_EQ(result.outcome, c.outcome);
    EXPECT_EQ(result.roleName, QString::fromUtf8(c.role));
    EXPECT_EQ(result.userName, QString::fromUtf8(c.signedInAs));
}

INSTANTIATE_TEST_SUITE_P(
    Accounts, SignInTable,
    ::testing::Values(
        SignInCase{"RightPassword", "张三", "secret", SignInResult::SignedIn, "管理员", "张三"},
        SignInCase{"WrongPassword", "张三", "Secret", SignInResult::Refused},
        SignInCase{"EmptyBoxForAUserWithAPassword", "张三", "", SignInResult::Refused},
        SignInCase{"BlanksAroundThePasswordDoNotCount", "张三", " secret\t", SignInResult::SignedIn, "管理员", "张三"},
        SignInCase{"EmptyBoxForAUserWithoutPassword", "李四", "", SignInResult::SignedIn, "录单员", "李四"},
        SignInCase{"OnlySpacesCountAsEmpty", "李四", "   ", SignInResult::SignedIn, "录单员", "李四"},
        SignInCase{"SomethingTypedForAUserWithoutPassword", "李四", "x", SignInResult::Refused},
        SignInCase{"QuoteInThePasswordIsKept", "王五", "it's", SignInResult::SignedIn, "订单处理员", "王五"},
        SignInCase{"QuoteIsNotRemoved", "王五", "its", SignInResult::Refused},
        SignInCase{"TypedNameWithTrailingSpaces", "张三  ", "secret", SignInResult::SignedIn, "管理员", "张三"},
        SignInCase{"StoredNameWithTrailingSpaces", "赵六", "", SignInResult::SignedIn, "录单员", "赵六"},
        SignInCase{"LetterCaseOfTheNameIgnored", "admin", "", SignInResult::SignedIn, "管理员", "admin"},
        SignInCase{"UnknownUser", "钱七", "", SignInResult::Refused},
        SignInCase{"StatementTextInTheName", "张三' or '1'='1", "", SignInResult::Refused},
        SignInCase{"BlankName", "  ", "secret", SignInResult::NoUserName},
        SignInCase{"TwoUsersOfOneNameAndPassword", "重名", "same", SignInResult::Refused},
        SignInCase{"NullPasswordIsNoPassword", "空值", "", SignInResult::SignedIn, "录单员", "空值"},
        SignInCase{"UserWithoutRoleGetsNoRole", "无角色", "", SignInResult::SignedIn, "", "无角色"}),
    signInCaseName);

TEST_F(UserAccountsTest, OlderFilesDigestIsAcceptedOnceAndReplaced)
{
    const int id = addAccount("老用户", kLegacyOldPassword, "管理员");
    EXPECT_FALSE(signsIn("老用户", "旧密"));
    EXPECT_EQ(column(id, "Passwd").toString(), kLegacyOldPassword);

    const SignInResult first = signIn(db, QStringLiteral("老用户"), QStringLiteral("旧密码"));
    EXPECT_EQ(first.outcome, SignInResult::SignedIn);
    EXPECT_TRUE(first.renewalError.isEmpty());
    const QString renewed = column(id, "Passwd").toString();
    EXPECT_TRUE(renewed.startsWith(QStringLiteral("$argon2id$"))) << renewed.toStdString();

    // The old digest is gone for good; the password still works and is not renewed again.
    EXPECT_TRUE(signsIn("老用户", "旧密码"));
    EXPECT_EQ(column(id, "Passwd").toString(), renewed);
    EXPECT_FALSE(passwordMatches(renewed, QStringLiteral("旧密")));

    // A password with a quote that an older release stored can be used as typed.
    const int quoted = addAccount("引号", kLegacyQuoted, "录单员");
    EXPECT_TRUE(signsIn("引号", "it's"));
    EXPECT_TRUE(column(quoted, "Passwd").toString().startsWith(QStringLiteral("$argon2id$")));
}

TEST_F(UserAccountsTest, ANewUserHasNoPasswordAndCanSignInWithTheEmptyBox)
{
    const UserChange saved = saveUser(db, {0, QStringLiteral("  孙八 "), QStringLiteral("录单员"), QStringLiteral("仓库")});
    ASSERT_TRUE(saved.done) << saved.refusal.toStdString();
    EXPECT_EQ(column(saved.id, "UserName").toString(), QStringLiteral("孙八"));
    EXPECT_EQ(column(saved.id, "Remark").toString(), QStringLiteral("仓库"));
    EXPECT_FALSE(column(saved.id, "Passwd").isNull());
    EXPECT_EQ(column(saved.id, "Passwd").toString(), QString());
    EXPECT_TRUE(signsIn("孙八", ""));
}

TEST_F(UserAccountsTest, SavingRefusesWhatWouldMakeAnAccountUnusableOrAmbiguous)
{
    addAccount("Admin", QString(), "管理员");
    const int other = addAccount("李四", QString(), "录单员");
    struct Case {
        int id;
        const char* name;
        const char* role;
        const char* refusal;
    };
    const Case cases[] = {
        {0, "", "录单员", "用户名不能为空~"},
        {0, "  ", "录单员", "用户名不能为空~"},
        {0, "周九", "", "请选择用户的操作角色~"},
        {0, "ADMIN", "录单员", "用户名“Admin”已经有了，请换一个用户名~"},
        {0, " admin ", "录单员", "用户名“Admin”已经有了，请换一个用户名~"},
        {other, "admin", "录单员", "用户名“Admin”已经有了，请换一个用户名~"},
    };
    for (const Case& c : cases) {
        const UserChange change = saveUser(db, {c.id, QString::fromUtf8(c.name), QString::fromUtf8(c.role), QString()});
        EXPECT_FALSE(change.done) << c.name;
        EXPECT_EQ(change.refusal, QString::fromUtf8(c.refusal)) << c.name;
    }
    EXPECT_EQ(accountCount(), 2);
    EXPECT_EQ(column(other, "UserName").toString(), QStringLiteral("李四"));
}

TEST_F(UserAccountsTest, EditingChangesOnlyTheAccountOfThatId)
{
    // Two of one name, as an older file may hold them.
    const int first = addAccount("重名", digestOf("same"), "录单员");
    const int second = addAccount("重名", QString(), "录单员");
    const UserChange renamed = saveUser(db, {first, QStringLiteral("改名"), QStringLiteral("管理员"), QStringLiteral("说明")});
    ASSERT_TRUE(renamed.done) << renamed.refusal.toStdString();
    EXPECT_EQ(column(first, "UserName").toString(), QStringLiteral("改名"));
    EXPECT_EQ(column(first, "RoleName").toString(), QStringLiteral("管理员"));
    EXPECT_EQ(column(first, "Passwd").toString(), digestOf("same")); // the password stays
    EXPECT_EQ(column(second, "UserName").toString(), QStringLiteral("重名"));
    EXPECT_EQ(column(second, "RoleName").toString(), QStringLiteral("录单员"));

    // Keeping its own name is no clash; an account deleted meanwhile is not reported saved.
    EXPECT_TRUE(saveUser(db, {first, QStringLiteral("改名"), QStringLiteral("录单员"), QString()}).done);
    db.execute(QStringLiteral("delete from UserTable where ID=:id"), {{QStringLiteral("id"), second}});
    const UserChange gone = saveUser(db, {second, QStringLiteral("别名"), QStringLiteral("录单员"), QString()});
    EXPECT_FALSE(gone.done);
    EXPECT_EQ(accountCount(), 1);
}

TEST_F(UserAccountsTest, DeletingTheLastAccountThatCanSignInIsRefusedWhileSignInIsRequired)
{
    struct Case {
        const char* label;
        QList<int> deleted; // indices into the accounts below
        bool signInRequired;
        bool done;
    };
    const Case cases[] = {
        {"all while required", {0, 1, 2, 3}, true, false},
        {"every one with a role while required", {0, 1}, true, false},
        {"one of two with a role while required", {0}, true, true},
        {"the ones that cannot sign in while required", {2, 3}, true, true},
        {"all while not required", {0, 1, 2, 3}, false, true},
    };
    for (const Case& c : cases) {
        db.execute(QStringLiteral("delete from UserTable"));
        const QList<int> ids{addAccount("张三", QString(), "管理员"), addAccount("李四", QString(), "录单员"),
                             addAccount("无角色", QString(), ""), addAccount("", QString(), "管理员")};
        QList<int> chosen;
        for (int index : c.deleted)
            chosen << ids[index];
        const UserChange change = deleteUsers(db, chosen, c.signInRequired);
        EXPECT_EQ(change.done, c.done) << c.label;
        EXPECT_EQ(change.count, c.done ? int(c.deleted.size()) : 0) << c.label;
        EXPECT_EQ(accountCount(), c.done ? 4 - int(c.deleted.size()) : 4) << c.label;
        if (!c.done)
            EXPECT_TRUE(change.refusal.contains(QStringLiteral("至少要保留一个"))) << c.label;
    }
}

TEST_F(UserAccountsTest, ResetLeavesTheChosenAccountsWithoutPassword)
{
    const int reset = addAccount("张三", digestOf("secret"), "管理员");
    const int kept = addAccount("王五", digestOf("it's"), "录单员");
    const UserChange change = resetPasswords(db, {reset});
    EXPECT_EQ(change.count, 1);
    EXPECT_TRUE(signsIn("张三", ""));
    EXPECT_EQ(column(kept, "Passwd").toString(), digestOf("it's"));
    EXPECT_EQ(column(reset, "Passwd").toString(), QString());
}

TEST_F(UserAccountsTest, ChangingAPasswordChecksTheOldOneAndKeepsTheNewOneAsTyped)
{
    const int id = addAccount("张三", digestOf("secret"), "管理员");
    const auto change = [this](const char* old, const char* fresh, const char* confirmation) {
        return changePassword(db, QStringLiteral("张三"), QString::fromUtf8(old), QString::fromUtf8(fresh),
                              QString::fromUtf8(confirmation));
    };
    EXPECT_EQ(change("secret", "new1", "new2"), PasswordChange::EntriesDiffer);
    EXPECT_EQ(change("wrong", "n", "n"), PasswordChange::WrongOldPassword);
    EXPECT_EQ(change(" secret", "n", "n"), PasswordChange::WrongOldPassword); // the old one as typed
    EXPECT_EQ(column(id, "Passwd").toString(), digestOf("secret"));

    EXPECT_EQ(change("secret", " new'pw ", "new'pw"), PasswordChange::Changed);
    EXPECT_TRUE(signsIn("张三", "new'pw"));
    EXPECT_FALSE(signsIn("张三", "secret"));

    EXPECT_EQ(change("new'pw", "", " "), PasswordChange::Changed);
    EXPECT_EQ(column(id, "Passwd").toString(), QString());
    EXPECT_TRUE(signsIn("张三", ""));
}

TEST_F(UserAccountsTest, ChangingAPasswordTouchesOnlyTheAccountWhoseOldPasswordItIs)
{
    const int mine = addAccount("重名", QString(), "管理员");
    const int other = addAccount("重名", kLegacyOldPassword, "录单员");
    EXPECT_EQ(changePassword(db, QStringLiteral("重名"), QString(), QStringLiteral("mine"), QStringLiteral("mine")),
              PasswordChange::Changed);
    EXPECT_TRUE(passwordMatches(column(mine, "Passwd").toString(), QStringLiteral("mine")));
    EXPECT_EQ(column(other, "Passwd").toString(), kLegacyOldPassword);

    // An older file's digest serves as the old password.
    EXPECT_EQ(changePassword(db, QStringLiteral("重名"), QStringLiteral("旧密码"), QStringLiteral("yours"),
                             QStringLiteral("yours")),
              PasswordChange::Changed);
    EXPECT_TRUE(passwordMatches(column(other, "Passwd").toString(), QStringLiteral("yours")));
}

TEST_F(UserAccountsTest, NamesAndWhetherAnybodyCanSignIn)
{
    EXPECT_FALSE(anyUserCanSignIn(db));
    addAccount("无角色", QString(), "");
    addAccount(" ", QString(), "管理员");
    addAccount("Admin", QString(), " ");
    EXPECT_FALSE(anyUserCanSignIn(db));
    addAccount("admin", QString(), "录单员");
    EXPECT_TRUE(anyUserCanSignIn(db));

    const QStringList names = userNames(db);
    EXPECT_EQ(names.size(), 2) << names.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(names.contains(QStringLiteral("无角色")));
    EXPECT_EQ(names.filter(QStringLiteral("admin"), Qt::CaseInsensitive).size(), 1);
}
