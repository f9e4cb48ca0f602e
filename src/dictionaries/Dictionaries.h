#pragma once

#include <QString>
#include <QStringList>

namespace slipcraft {

class Database;

// What an editor tells the user after an action, and whether anything changed.
struct EditorReply {
    enum Outcome {
        Refused, // input not acceptable; nothing was tried
        Done,
        Failed,  // tried; the database did not take it
    };
    Outcome outcome = Refused;
    QString text;
    QString caption;

    bool operator==(const EditorReply&) const = default;
};

// The drop-down lists every form reads. A failing query gives an empty list: a form
// then simply offers nothing.

// Values of the dictionary under the listed template ids ("0", "0,12"): higher ids
// first, each id's values in the order they were added. A value stored under two ids
// is listed twice. Pieces that are not whole numbers are ignored.
QStringList loadDMListByName(Database& db, const QString& name, const QString& idsText);
// Province names of the "省市" pairs, ascending.
QStringList loadProvinces(Database& db);
// City names of the trimmed province, ascending; none for an empty province.
QStringList loadCitysByProvince(Database& db, const QString& province);

} // namespace slipcraft
