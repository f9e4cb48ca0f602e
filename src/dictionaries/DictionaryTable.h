#pragma once

#include "dictionaries/Dictionaries.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace slipcraft {

class Database;

// One value of a dictionary as the editor's grid shows it.
struct DictionaryRow {
    int id = 0; // 0: not stored yet
    QString name;
    QString value;
    int checkTypeId = 0;

    bool operator==(const DictionaryRow&) const = default;
};

// What the dictionary editor does to DMTable. Template options ("cfg…") are never
// shown. Calls throw DatabaseError unless they return a reply.
class DictionaryTable {
public:
    explicit DictionaryTable(Database& db);

    // The template's dictionary names, ascending; the shared ones (id 0) when a
    // template has none of its own.
    QStringList names(int workingId);

    // The statement rows() runs, for the editor's error message.
    static QString rowsStatement(bool withShared);
    // Values of the name under the working id, and under id 0 when withShared;
    // ascending by value.
    QList<DictionaryRow> rows(const QString& name, int workingId, bool withShared);

    // A new dictionary name for the working id, with the placeholder value "<空>".
    EditorReply addName(int workingId, const QString& typedName);

    // Inserts the rows not stored yet and writes the values of the others.
    void store(const QList<DictionaryRow>& rows);
    void remove(int id);

private:
    Database& db_;
};

} // namespace slipcraft
