#pragma once

#include <QString>

namespace slipcraft {

class Database;

// What a file is, judged by its first bytes alone; the file is only read.
enum class DatabaseFileKind {
    Ours,         // a database of this program
    Folder,
    Unreadable,
    Empty,
    Access,       // a Jet or ACE database of the Windows program
    NotDatabase,
    Truncated,
    Damaged,      // an impossible header
    OtherProgram, // an SQLite database of some other program
};
DatabaseFileKind databaseFileKind(const QString& path);

// Creates the tables and indexes of the schema that the database lacks; what is there
// stays as it is. Throws DatabaseError.
void createMissingTables(Database& db);

// Inserts the default rules of the spreadsheet import into MatchColumn, in their order.
// Throws DatabaseError.
void insertDefaultMatchRules(Database& db);

} // namespace slipcraft
