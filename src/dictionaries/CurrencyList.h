#pragma once

#include "dictionaries/Dictionaries.h"

#include <QList>
#include <QString>

namespace slipcraft {

class Database;

struct Currency {
    QString name;
    QString abbreviation;

    bool operator==(const Currency&) const = default;
};

// The currency editor's list and its three actions. Names and short signs are unique,
// compared as the table compares them (ASCII case ignored); the checks run against
// the list as last read, before any statement.
class CurrencyList {
public:
    explicit CurrencyList(Database& db);

    // Descending sort key; empty when the table cannot be read.
    void reload();
    const QList<Currency>& currencies() const { return currencies_; }
    // Read from the table; empty when there is none.
    QString abbreviationOf(const QString& name);

    // A new currency with sort key 0. Reloads the list after success.
    EditorReply add(const QString& name, const QString& abbreviation);
    // Only the short sign of the chosen currency changes; the name field must still
    // hold the chosen name. Reloads the list after success.
    EditorReply changeAbbreviation(const QString& chosen, const QString& nameField, const QString& abbreviation);
    // Reloads the list after success.
    EditorReply remove(const QString& chosen);

private:
    bool listed(const QString& name) const;
    // The currency other than `except` that has the short sign, if any.
    bool signTaken(const QString& abbreviation, const QString& except) const;
    // Rows the statement changed; 0 when it failed.
    int run(const QString& sql, const QVariantMap& params);

    Database& db_;
    QList<Currency> currencies_;
};

} // namespace slipcraft
