#include "data/DBTable.h"

#include "data/Database.h"
#include "wording/Functions.h"

#include <QSqlDriver>

#include <sqlite3.h>

namespace slipcraft {

bool TDBTable::columnExists(Database& db, const QString& table, const QString& column)
{
    try {
        const QStringList columns =
            db.textColumn(QStringLiteral("select name from pragma_table_info(:table)"), {{QStringLiteral("table"), table}});
        return columns.contains(column, Qt::CaseInsensitive);
    } catch (const DatabaseError&) {
        return false;
    }
}

QString TDBTable::columnDefinition(const QString& size, const QString& type)
{
    const QString kind = type.toLower();
    if (kind == u"text" || kind == u"string") {
        const QString length = trimText(size);
        return QStringLiteral("VARCHAR(%1) COLLATE NOCASE").arg(length.isEmpty() ? QStringLiteral("50") : length);
    }
    if (kind == u"numeric" || kind == u"number")
        return QStringLiteral("INTEGER");
    // Dates are kept as ISO text, as everywhere else in the database.
    if (kind == u"date" || kind == u"datetime")
        return QStringLiteral("TEXT COLLATE NOCASE");
    return trimText(type);
}

QString TDBTable::quoted(const QString& name)
{
    return QLatin1Char('"') + QString(name).replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
}

bool TDBTable::addColumn(Database& db, const QString& table, const QString& column, const QString& size,
                         const QString& type, QString* error)
{
    try {
        db.execute(QStringLiteral("alter table %1 add column %2 %3")
                       .arg(quoted(table), quoted(column), columnDefinition(size, type)));
        return true;
    } catch (const DatabaseError& failure) {
        if (error)
            *error = failure.text();
        return false;
    }
}

sqlite3* sqliteHandle(Database& db)
{
    const QVariant handle = db.connection().driver()->handle();
    sqlite3* raw = qstrcmp(handle.typeName(), "sqlite3*") == 0 ? *static_cast<sqlite3* const*>(handle.constData())
                                                                : nullptr;
    if (!raw)
        throw DatabaseError(QStringLiteral("The connection is not an SQLite connection."));
    return raw;
}

bool transactionOpen(Database& db)
{
    return sqlite3_get_autocommit(sqliteHandle(db)) == 0;
}

} // namespace slipcraft
