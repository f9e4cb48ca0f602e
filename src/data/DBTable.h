#pragma once

#include <QString>

struct sqlite3;

namespace slipcraft {

class Database;

// Column operations of the repairs that bring an older database file up to date.
// Table, column and type names come from the program's own code.
class TDBTable {
public:
    // False when the table lacks the column, the table is missing or cannot be read.
    static bool columnExists(Database& db, const QString& table, const QString& column);

    // Adds the column: "text" or "string" as text of the size (50 when blank), "numeric"
    // or "number" as a whole number, "date" or "datetime" as date text, any other type as
    // given. False, with the engine's message in error, when it cannot be added.
    static bool addColumn(Database& db, const QString& table, const QString& column, const QString& size,
                          const QString& type, QString* error = nullptr);

    // The column's declaration as addColumn writes it, without its name.
    static QString columnDefinition(const QString& size, const QString& type);

    // A name quoted for statement text.
    static QString quoted(const QString& name);
};

// The engine's handle of the open connection, for what Qt SQL does not offer (copying a
// whole database, the state of a transaction). Throws DatabaseError.
sqlite3* sqliteHandle(Database& db);
// False when no transaction is open, also after the engine ended one on a failure.
bool transactionOpen(Database& db);

} // namespace slipcraft
