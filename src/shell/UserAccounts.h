#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <stdexcept>

namespace slipcraft {

class Database;

// The accounts of UserTable: signing in, the user manager's changes and password changes.
// Passwords are kept as salted Argon2id strings; the empty text means "no password".
// Older files hold 32-hex-digit MD5 digests, accepted until the next successful sign-in
// replaces them.
namespace users {

inline const QString kAdministrator = QStringLiteral("管理员");
inline const QString kOrderClerk = QStringLiteral("订单处理员");
inline const QString kEntryClerk = QStringLiteral("录单员");

// The roles the user manager offers, in its order.
QStringList roleNames();

// Sign-in and the user manager take at most this many characters for a name or a password.
constexpr int kMaxTyped = 30;

// The digest could not be computed (the hash needs more memory than it got).
class PasswordDigestError : public std::runtime_error {
public:
    PasswordDigestError();
};

// What Passwd stores for a password: the empty text for the empty password, else a
// freshly salted Argon2id string. Throws PasswordDigestError.
QString passwordDigest(const QString& password);
// Whether a stored Passwd accepts the password. Empty (or NULL) accepts only the empty
// password; the MD5 of older files is taken over the password's GBK bytes.
bool passwordMatches(const QString& stored, const QString& password);
// An MD5 digest of an older file, or an Argon2 string weaker than today's: replaced
// after the next successful sign-in.
bool digestNeedsRenewal(const QString& stored);

// Names compare without the blanks around them and without regard to letter case.
bool sameUserName(const QString& a, const QString& b);

struct SignInResult {
    enum Outcome { SignedIn, NoUserName, Refused };
    Outcome outcome = Refused;
    QString userName; // as typed, without the blanks around it
    QString roleName; // without the blanks around it; empty means nobody may work
    // A replacement digest that could not be stored; the sign-in counts all the same.
    QString renewalError;
};

// The name and the password as typed: both lose the blanks around them, nothing else.
// Exactly one account of that name must accept the password. Throws DatabaseError.
SignInResult signIn(Database& db, const QString& typedName, const QString& typedPassword);

// The distinct non-blank user names, for the name drop-downs. Throws DatabaseError.
QStringList userNames(Database& db);

// True when some account has a name and a role, so that somebody can sign in.
// Throws DatabaseError.
bool anyUserCanSignIn(Database& db);

// One row as the user manager edits it; ID 0 is a new account.
struct UserRecord {
    int id = 0;
    QString userName;
    QString roleName;
    QString remark;
};

// What a change of the accounts came to: done, or refused with the reason to show.
struct UserChange {
    bool done = false;
    QString refusal;
    int id = 0;    // saveUser: the account saved
    int count = 0; // deleteUsers, resetPasswords: the accounts changed
};

// Saves by ID; a new account starts with no password. Refuses an empty name, an empty
// role and a name that another account has (letter case and blanks around ignored).
// Throws DatabaseError.
UserChange saveUser(Database& db, const UserRecord& user);

// Deletes the accounts in one transaction. While sign-in is required, refuses to remove
// the last account that can sign in. Throws DatabaseError.
UserChange deleteUsers(Database& db, const QList<int>& ids, bool signInRequired);

// Sets the accounts to no password. Throws DatabaseError.
UserChange resetPasswords(Database& db, const QList<int>& ids);

enum class PasswordChange { Changed, EntriesDiffer, WrongOldPassword };

// The new password and its confirmation lose the blanks around them, the old password is
// taken exactly as typed. Changes only the accounts of that name whose password the old
// one is. Throws DatabaseError and PasswordDigestError.
PasswordChange changePassword(Database& db, const QString& userName, const QString& oldPassword,
                              const QString& newPassword, const QString& confirmation);

} // namespace users

} // namespace slipcraft
