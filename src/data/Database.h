#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>

#include <stdexcept>

namespace slipcraft {

// A statement or connection that failed. text() is the engine's own message, which
// callers show after their fixed prefix.
class DatabaseError : public std::runtime_error {
public:
    explicit DatabaseError(const QString& text);
    QString text() const { return text_; }

private:
    QString text_;
};

// Values bound to a statement by name: the key "pname" binds ":pname".
// A null QVariant binds SQL NULL. Values never become part of the statement text.
// A null QString binds the empty text (only a null QVariant means NULL); dates and
// times bind as the stored ISO text: yyyy-MM-dd, yyyy-MM-dd HH:mm:ss, HH:mm:ss
// (a null date or time binds NULL).
using SqlParams = QVariantMap;

// One statement on a connection, executed on construction.
class SqlQuery {
public:
    // Forward only unless a model will scroll it.
    enum class Rows { ForwardOnly, Scrollable };

    SqlQuery(const QSqlDatabase& db, const QString& sql, const SqlParams& params = {},
             Rows rows = Rows::ForwardOnly); // throws DatabaseError
    bool next() { return query_.next(); }
    QVariant value(int column) const { return query_.value(column); }
    QVariant value(const QString& column) const { return query_.value(column); }
    QSqlRecord record() const { return query_.record(); }
    int rowsAffected() const { return query_.numRowsAffected(); }
    qint64 lastInsertId() const { return query_.lastInsertId().toLongLong(); }
    // The executed query, for a model that fetches its rows as they are shown
    // (construct it Scrollable).
    QSqlQuery release() && { return std::move(query_); }

private:
    QSqlQuery query_;
};

// One database file behind a named Qt connection. The shared connection of the
// application is named "ADOConnection1"; it opens on the first statement.
class Database {
public:
    static inline const QString kSharedConnectionName = QStringLiteral("ADOConnection1");

    explicit Database(const QString& filePath, const QString& connectionName = kSharedConnectionName);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    const QString& filePath() const { return filePath_; }
    const QString& connectionName() const { return connectionName_; }

    // Opens on first use (never creates a missing file); throws DatabaseError.
    QSqlDatabase connection();
    bool isOpen() const;
    void close();

    SqlQuery query(const QString& sql, const SqlParams& params = {}, SqlQuery::Rows rows = SqlQuery::Rows::ForwardOnly);
    // Returns the number of rows the statement changed.
    int execute(const QString& sql, const SqlParams& params = {});
    // First field of the first row; a null QVariant when there is no row.
    QVariant scalar(const QString& sql, const SqlParams& params = {});
    // First field of every row, as text.
    QStringList textColumn(const QString& sql, const SqlParams& params = {});
    // Runs several statements of the program's own text, one after another. Takes no
    // values: anything that comes from outside goes through query() or execute().
    void executeScript(const QString& sql);

    // Runs work in one transaction: commits when it returns, rolls back and rethrows when it throws.
    template <class Work>
    void inTransaction(Work&& work)
    {
        beginTransaction();
        try {
            work();
        } catch (...) {
            rollback();
            throw;
        }
        commit();
    }

private:
    void beginTransaction();
    void commit();
    void rollback();

    QString filePath_;
    QString connectionName_;
};

// Makes sure the database file at path is usable before anything opens it.
// A missing file is created with the whole schema and the seed data; an existing file
// that is not this program's database is never touched. Returns an empty text when
// the file is ready, else a one-line message that names the file and says what is wrong.
// Product data is what the program ships for its bill types (items, templates, form
// pictures' layouts); tests of other parts start without it.
enum class ProductData { Include, Omit };
QString prepareDatabaseFile(const QString& path, ProductData productData = ProductData::Include);

} // namespace slipcraft
