#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

namespace slipcraft {

struct AmountWording;

// The overseas remittance's three amounts (spot, purchase, other) and their total.
struct RemittanceAmounts {
    bool ok = true;
    QString message; // why the amounts were refused, and the caption to show it under
    QString caption;
    QStringList amounts; // each: abbreviation + two decimals with separators, or empty for 0
    QString totalFigures; // empty unless the total is above 0
    QString totalWords;
};

// Reads the three typed amounts (each normalised first) with the currency's wording; the
// figures always carry the abbreviation and the words the currency's name.
RemittanceAmounts remittanceAmounts(const QStringList& typed, const AmountWording& wording);

// The single date box of the remittance: "YYYY/MM/DD", "YYYY年MM月DD日",
// "YYYYMMDD hh:nn" and "YYYY/MM/DD hh:nn" ("/" the date separator, "-" here) as they
// read, any other choice YYYY-MM-DD.
QString remittanceDateText(const QDateTime& when, const QString& format);

} // namespace slipcraft
