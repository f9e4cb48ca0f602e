#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <utility>

// Reads a receiver block pasted from a web shop, a chat or a spreadsheet into the fields
// of a waybill: labelled or not, one field a line or all on one, in any order.
namespace slipcraft {

// What one pasted text holds, each field "" when not found.
// mobile is its eleven digits (13812345678, whatever "+86" or spacing it was typed with);
// phone is a landline as area code, number and extension joined by "-" (021-12345678-8001).
// province and city are the region table's full names; for the four municipalities city
// is the province itself and district the district; district is the county-level unit.
// detail is the street address without the region, name, phones and postcode; remark a
// labelled note (备注：, 留言：); country only when labelled (国家：).
struct ParsedAddress {
    QString company, name, phone, mobile, country, province, city, district, detail, postcode, remark;
    // Every plausible value seen, best first (the window offers them in drop-downs); each
    // list starts with the chosen value when that is not empty.
    QStringList companies, names, phones, mobiles, provinces, cities, districts, details, postcodes;

    bool operator==(const ParsedAddress&) const = default;
};

struct AddressParseOptions {
    // Replacements applied to the text before anything else, in order (user-defined
    // character pairs, e.g. "（" -> "(").
    QList<std::pair<QString, QString>> characterPairs;
};

// Pure function of its arguments: nothing from one call reaches the next.
ParsedAddress parseAddress(const QString& text, const AddressParseOptions& options = {});

} // namespace slipcraft
