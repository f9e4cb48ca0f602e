#include "data/Database.h"

#include "wording/Functions.h"

#include <QDateTime>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlResult>
#include <QUrl>

#include <sqlite3.h>

#include <charconv>
#include <string_view>

namespace slipcraft {

namespace {

QString engineText(const QSqlError& error)
{
    const QString text = error.databaseText();
    return text.isEmpty() ? error.text() : text;
}

sqlite3* rawHandle(const QSqlDatabase& db)
{
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        throw DatabaseError(QStringLiteral("The connection is not an SQLite connection."));
    sqlite3* raw = *static_cast<sqlite3* const*>(handle.constData());
    if (!raw)
        throw DatabaseError(QStringLiteral("The connection is not open."));
    return raw;
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool isDigit(std::string_view text, size_t at)
{
    return at < text.size() && text[at] >= '0' && text[at] <= '9';
}

// The number at the start of text, 0 when there is none.
double leadingNumber(std::string_view text)
{
    size_t at = 0;
    while (at < text.size() && isBlank(text[at]))
        ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        negative = text[at] == '-';
        ++at;
    }
    // from_chars would also take "inf" and "nan"; a number starts with a digit or ".digit".
    if (!isDigit(text, at) && !(at < text.size() && text[at] == '.' && isDigit(text, at + 1)))
        return 0.0;
    double value = 0.0;
    const auto result = std::from_chars(text.data() + at, text.data() + text.size(), value,
                                        std::chars_format::general);
    // Out of range (beyond about 1e308, or below 1e-308) counts as no number.
    if (result.ec != std::errc())
        return 0.0;
    return negative ? -value : value;
}

void sqlVal(sqlite3_context* context, int, sqlite3_value** arguments)
{
    if (sqlite3_value_type(arguments[0]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(arguments[0]));
    const int bytes = sqlite3_value_bytes(arguments[0]);
    sqlite3_result_double(context, text ? leadingNumber(std::string_view(text, size_t(bytes))) : 0.0);
}

// A stored amount as the whole fen it shows ("￥1,234.50" → 123450): signs of currency,
// separators and spaces aside; NULL for a text that shows no single number.
void sqlAmountFen(sqlite3_context* context, int, sqlite3_value** arguments)
{
    if (sqlite3_value_type(arguments[0]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(arguments[0]));
    const QString amount = trimText(normalizeAmount(QString::fromUtf8(text, sqlite3_value_bytes(arguments[0]))));
    const std::optional<qint64> fen = isDecimalNumber(amount) ? amountToFen(amount) : std::nullopt;
    if (fen)
        sqlite3_result_int64(context, *fen);
    else
        sqlite3_result_null(context);
}

void registerFunctions(const QSqlDatabase& db)
{
    struct Function {
        const char* name;
        void (*call)(sqlite3_context*, int, sqlite3_value**);
    };
    for (const Function& function : {Function{"val", sqlVal}, Function{"amount_fen", sqlAmountFen}}) {
        const int rc = sqlite3_create_function_v2(rawHandle(db), function.name, 1,
                                                  SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, function.call,
                                                  nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK)
            throw DatabaseError(QString::fromUtf8(sqlite3_errstr(rc)));
    }
}

// The driver would bind a null QString as NULL and a QDateTime as "yyyy-MM-ddTHH:mm:ss.zzz";
// stored text follows our own conventions instead.
QVariant bindable(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::QString:
        return value.toString().isNull() ? QVariant(QStringLiteral("")) : value;
    case QMetaType::QDate: {
        const QDate date = value.toDate();
        return date.isNull() ? QVariant() : QVariant(date.toString(QStringLiteral("yyyy-MM-dd")));
    }
    case QMetaType::QDateTime: {
        const QDateTime moment = value.toDateTime();
        return moment.isNull() ? QVariant()
                               : QVariant(moment.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
    }
    case QMetaType::QTime: {
        const QTime time = value.toTime();
        return time.isNull() ? QVariant() : QVariant(time.toString(QStringLiteral("HH:mm:ss")));
    }
    default:
        return value;
    }
}

// The driver binds NULL to a placeholder that has no value, so a misspelt name would
// silently store NULL; every placeholder must have its value.
void requireValues(const QSqlQuery& query, const SqlParams& params)
{
    const QVariant handle = query.result()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3_stmt*") != 0)
        throw DatabaseError(QStringLiteral("The statement is not an SQLite statement."));
    sqlite3_stmt* statement = *static_cast<sqlite3_stmt* const*>(handle.constData());
    const int count = statement ? sqlite3_bind_parameter_count(statement) : 0;
    for (int i = 1; i <= count; ++i) {
        const char* name = sqlite3_bind_parameter_name(statement, i);
        if (!name || name[0] != ':')
            throw DatabaseError(QStringLiteral("Parameters are bound by :name only, not %1")
                                    .arg(name ? QString::fromUtf8(name) : QStringLiteral("?")));
        if (!params.contains(QString::fromUtf8(name + 1)))
            throw DatabaseError(QStringLiteral("No value for the parameter %1").arg(QString::fromUtf8(name)));
    }
}

} // namespace

DatabaseError::DatabaseError(const QString& text)
    : std::runtime_error(text.toStdString())
    , text_(text)
{
}

SqlQuery::SqlQuery(const QSqlDatabase& db, const QString& sql, const SqlParams& params, Rows rows)
    : query_(db)
{
    query_.setForwardOnly(rows == Rows::ForwardOnly);
    if (!query_.prepare(sql))
        throw DatabaseError(engineText(query_.lastError()));
    requireValues(query_, params);
    for (auto it = params.cbegin(); it != params.cend(); ++it)
        query_.bindValue(QLatin1Char(':') + it.key(), bindable(it.value()));
    if (!query_.exec())
        throw DatabaseError(engineText(query_.lastError()));
}

Database::Database(const QString& filePath, const QString& connectionName)
    : filePath_(filePath)
    , connectionName_(connectionName)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName_);
    // mode=rw: a missing file is an error, never a new empty database.
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI"));
    db.setDatabaseName(QUrl::fromLocalFile(QFileInfo(filePath_).absoluteFilePath())
                           .toString(QUrl::FullyEncoded)
                       + QStringLiteral("?mode=rw"));
}

Database::~Database()
{
    {
        QSqlDatabase db = QSqlDatabase::database(connectionName_, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(connectionName_);
}

QSqlDatabase Database::connection()
{
    QSqlDatabase db = QSqlDatabase::database(connectionName_, false);
    if (db.isOpen())
        return db;
    if (!db.open())
        throw DatabaseError(engineText(db.lastError()));
    try {
        registerFunctions(db);
    } catch (...) {
        db.close();
        throw;
    }
    return db;
}

bool Database::isOpen() const
{
    return QSqlDatabase::database(connectionName_, false).isOpen();
}

void Database::close()
{
    QSqlDatabase::database(connectionName_, false).close();
}

SqlQuery Database::query(const QString& sql, const SqlParams& params, SqlQuery::Rows rows)
{
    return SqlQuery(connection(), sql, params, rows);
}

int Database::execute(const QString& sql, const SqlParams& params)
{
    return query(sql, params).rowsAffected();
}

QVariant Database::scalar(const QString& sql, const SqlParams& params)
{
    SqlQuery result = query(sql, params);
    return result.next() ? result.value(0) : QVariant();
}

QStringList Database::textColumn(const QString& sql, const SqlParams& params)
{
    SqlQuery result = query(sql, params);
    QStringList texts;
    while (result.next())
        texts << result.value(0).toString();
    return texts;
}

void Database::executeScript(const QString& sql)
{
    char* message = nullptr;
    if (sqlite3_exec(rawHandle(connection()), sql.toUtf8().constData(), nullptr, nullptr, &message)
        != SQLITE_OK) {
        const QString text = QString::fromUtf8(message);
        sqlite3_free(message);
        throw DatabaseError(text);
    }
}

void Database::beginTransaction()
{
    QSqlDatabase db = connection();
    if (!db.transaction())
        throw DatabaseError(engineText(db.lastError()));
}

void Database::commit()
{
    QSqlDatabase db = connection();
    if (db.commit())
        return;
    const DatabaseError error(engineText(db.lastError()));
    // A commit that fails (the file busy, say) leaves the transaction open: end it, so the
    // next statement does not run inside work that was reported as failed.
    if (!sqlite3_get_autocommit(rawHandle(db)))
        db.rollback();
    throw error;
}

void Database::rollback()
{
    QSqlDatabase db = connection();
    // Some failures (a full disk, for one) end the transaction already; rolling back again
    // would fail and hide the error that caused it.
    if (sqlite3_get_autocommit(rawHandle(db)))
        return;
    if (!db.rollback())
        throw DatabaseError(engineText(db.lastError()));
}

} // namespace slipcraft
