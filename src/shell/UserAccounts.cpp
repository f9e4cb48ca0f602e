#include "shell/UserAccounts.h"

#include "data/Database.h"
#include "platform/Gbk.h"
#include "wording/Functions.h"

#include <QCryptographicHash>
#include <QRegularExpression>

#include <sodium.h>

namespace slipcraft::users {

namespace {

// libsodium's settings for passwords typed at a sign-in: about 64 MiB and a fraction
// of a second, slow enough to make guessing from a stolen file expensive.
constexpr unsigned long long kOpsLimit = crypto_pwhash_OPSLIMIT_INTERACTIVE;
constexpr size_t kMemLimit = crypto_pwhash_MEMLIMIT_INTERACTIVE;

void initialiseSodium()
{
    static const bool ready = sodium_init() >= 0;
    if (!ready)
        throw PasswordDigestError();
}

bool isLegacyDigest(const QString& stored)
{
    static const QRegularExpression md5Hex(QStringLiteral("^[0-9A-Fa-f]{32}$"));
    return md5Hex.match(stored).hasMatch();
}

bool isArgon2(const QString& stored)
{
    return stored.startsWith(QStringLiteral("$argon2"));
}

// What an older release stored: MD5 of the GBK bytes, 32 lower-case hex digits.
QString legacyDigest(const QString& password)
{
    return QString::fromLatin1(QCryptographicHash::hash(gbk::encode(password), QCryptographicHash::Md5).toHex());
}

struct Account {
    int id = 0;
    QString userName;
    QString passwd;
    QString roleName;
};

QList<Account> accounts(Database& db)
{
    QList<Account> rows;
    SqlQuery query = db.query(QStringLiteral("select ID, UserName, Passwd, RoleName from UserTable order by ID"));
    while (query.next())
        rows.append({query.value(0).toInt(), query.value(1).toString(), query.value(2).toString(),
                     query.value(3).toString()});
    return rows;
}

bool canSignIn(const QString& userName, const QString& roleName)
{
    return !trimText(userName).isEmpty() && !trimText(roleName).isEmpty();
}

SqlParams idParam(int id)
{
    return {{QStringLiteral("id"), id}};
}

const QString kNoUsableAccountLeft =
    QStringLiteral("进入系统需要密码验证时，至少要保留一个有用户名和操作角色的用户，否则谁都无法登录~");

} // namespace

QStringList roleNames()
{
    return {kAdministrator, kOrderClerk, kEntryClerk};
}

PasswordDigestError::PasswordDigestError()
    : std::runtime_error(QStringLiteral("没有足够的内存计算密码摘要").toStdString())
{
}

QString passwordDigest(const QString& password)
{
    if (password.isEmpty())
        return {};
    initialiseSodium();
    const QByteArray bytes = password.toUtf8();
    char out[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str_alg(out, bytes.constData(), quint64(bytes.size()), kOpsLimit, kMemLimit,
                              crypto_pwhash_ALG_ARGON2ID13)
        != 0)
        throw PasswordDigestError();
    return QString::fromLatin1(out);
}

bool passwordMatches(const QString& stored, const QString& password)
{
    if (stored.isEmpty() || password.isEmpty())
        return stored.isEmpty() && password.isEmpty();
    if (isLegacyDigest(stored))
        return legacyDigest(password).compare(stored, Qt::CaseInsensitive) == 0;
    if (!isArgon2(stored))
        return false;
    initialiseSodium();
    const QByteArray digest = stored.toLatin1();
    const QByteArray bytes = password.toUtf8();
    return crypto_pwhash_str_verify(digest.constData(), bytes.constData(), quint64(bytes.size())) == 0;
}

bool digestNeedsRenewal(const QString& stored)
{
    if (isLegacyDigest(stored))
        return true;
    if (!isArgon2(stored))
        return false;
    initialiseSodium();
    return crypto_pwhash_str_needs_rehash(stored.toLatin1().constData(), kOpsLimit, kMemLimit) != 0;
}

bool sameUserName(const QString& a, const QString& b)
{
    return trimText(a).compare(trimText(b), Qt::CaseInsensitive) == 0;
}

SignInResult signIn(Database& db, const QString& typedName, const QString& typedPassword)
{
    SignInResult result;
    const QString name = trimText(typedName);
    if (name.isEmpty()) {
        result.outcome = SignInResult::NoUserName;
        return result;
    }
    const QString password = trimText(typedPassword);
    QList<Account> accepted;
    for (const Account& account : accounts(db)) {
        if (sameUserName(account.userName, name) && passwordMatches(account.passwd, password))
            accepted.append(account);
    }
    // Two accounts that both fit leave it open who signs in: neither does.
    if (accepted.size() != 1)
        return result;

    const Account& account = accepted.first();
    result.outcome = SignInResult::SignedIn;
    result.userName = name;
    result.roleName = trimText(account.roleName);
    if (digestNeedsRenewal(account.passwd)) {
        try {
            db.execute(QStringLiteral("update UserTable set Passwd=:passwd where ID=:id"),
                       {{QStringLiteral("passwd"), passwordDigest(password)}, {QStringLiteral("id"), account.id}});
        } catch (const std::runtime_error& error) {
            result.renewalError = QString::fromStdString(error.what());
        }
    }
    return result;
}

QStringList userNames(Database& db)
{
    QStringList names;
    for (const QString& name : db.textColumn(QStringLiteral("select distinct UserName from UserTable order by UserName"))) {
        if (!trimText(name).isEmpty())
            names << name;
    }
    return names;
}

bool anyUserCanSignIn(Database& db)
{
    for (const Account& account : accounts(db)) {
        if (canSignIn(account.userName, account.roleName))
            return true;
    }
    return false;
}

UserChange saveUser(Database& db, const UserRecord& user)
{
    UserChange change;
    const QString name = trimText(user.userName);
    const QString role = trimText(user.roleName);
    if (name.isEmpty()) {
        change.refusal = QStringLiteral("用户名不能为空~");
        return change;
    }
    if (role.isEmpty()) {
        change.refusal = QStringLiteral("请选择用户的操作角色~");
        return change;
    }
    for (const Account& account : accounts(db)) {
        if (account.id != user.id && sameUserName(account.userName, name)) {
            change.refusal = QStringLiteral("用户名“%1”已经有了，请换一个用户名~").arg(trimText(account.userName));
            return change;
        }
    }
    SqlParams params{{QStringLiteral("name"), name}, {QStringLiteral("role"), role}, {QStringLiteral("remark"), user.remark}};
    if (user.id > 0) {
        params.insert(QStringLiteral("id"), user.id);
        if (db.execute(QStringLiteral("update UserTable set UserName=:name, RoleName=:role, Remark=:remark where ID=:id"),
                       params)
            != 1) {
            change.refusal = QStringLiteral("这个用户已经被删除了，请刷新后再修改~");
            return change;
        }
        change.id = user.id;
    } else {
        // The empty password the sign-in hint promises, never NULL.
        SqlQuery insert = db.query(QStringLiteral("insert into UserTable (UserName, Passwd, RoleName, Remark) "
                                                  "values (:name, '', :role, :remark)"),
                                   params);
        change.id = int(insert.lastInsertId());
    }
    change.done = true;
    change.count = 1;
    return change;
}

UserChange deleteUsers(Database& db, const QList<int>& ids, bool signInRequired)
{
    UserChange change;
    db.inTransaction([&] {
        if (signInRequired) {
            bool usableLeft = false;
            for (const Account& account : accounts(db)) {
                if (!ids.contains(account.id) && canSignIn(account.userName, account.roleName))
                    usableLeft = true;
            }
            if (!usableLeft) {
                change.refusal = kNoUsableAccountLeft;
                return;
            }
        }
        for (int id : ids)
            change.count += db.execute(QStringLiteral("delete from UserTable where ID=:id"), idParam(id));
        change.done = true;
    });
    return change;
}

UserChange resetPasswords(Database& db, const QList<int>& ids)
{
    UserChange change;
    db.inTransaction([&] {
        for (int id : ids)
            change.count += db.execute(QStringLiteral("update UserTable set Passwd='' where ID=:id"), idParam(id));
    });
    change.done = true;
    return change;
}

PasswordChange changePassword(Database& db, const QString& userName, const QString& oldPassword,
                              const QString& newPassword, const QString& confirmation)
{
    const QString password = trimText(newPassword);
    if (password != trimText(confirmation))
        return PasswordChange::EntriesDiffer;
    QList<int> ids;
    for (const Account& account : accounts(db)) {
        if (sameUserName(account.userName, userName) && passwordMatches(account.passwd, oldPassword))
            ids << account.id;
    }
    if (ids.isEmpty())
        return PasswordChange::WrongOldPassword;
    const QString digest = passwordDigest(password);
    db.inTransaction([&] {
        for (int id : ids)
            db.execute(QStringLiteral("update UserTable set Passwd=:passwd where ID=:id"),
                       {{QStringLiteral("passwd"), digest}, {QStringLiteral("id"), id}});
    });
    return PasswordChange::Changed;
}

} // namespace slipcraft::users
