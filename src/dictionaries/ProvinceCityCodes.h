#pragma once

#include "dictionaries/Dictionaries.h"

#include <QString>
#include <QStringList>

namespace slipcraft {

class Database;

// What the province and city editor does to the "省市" pairs of DMTable2. Stored
// names are compared without their surrounding spaces; typed names are trimmed.
// Database errors never escape: reading gives nothing, changing fails.
class ProvinceCityCodes {
public:
    explicit ProvinceCityCodes(Database& db);

    // Trimmed, distinct, ascending.
    QStringList provinces();
    // Cities as stored, distinct, ascending.
    QStringList cities(const QString& province);
    bool exists(const QString& province, const QString& city);

    EditorReply add(const QString& province, const QString& city);
    // Renames the selected city of the province.
    EditorReply change(const QString& province, const QString& selectedCity, const QString& newCity);
    EditorReply remove(const QString& province, const QString& selectedCity);

private:
    // Rows the statement changed; 0 when it failed.
    int run(const QString& sql, const QVariantMap& params);

    Database& db_;
};

} // namespace slipcraft
