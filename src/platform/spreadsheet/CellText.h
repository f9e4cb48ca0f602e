#pragma once

#include <QString>
#include <QStringView>

// How the readers turn stored numbers into the text a person sees in the cell.
namespace slipcraft::celltext {

struct NumberStyle {
    enum class Kind { General, Fixed, Date, Time, DateTime };
    Kind kind = Kind::General;
    int decimals = 0;
    bool grouping = false;
    bool percent = false;
};

// The style of a number format: a built-in format id, or the format's code for the
// others (codes win where both are known). Scientific formats read as General, so that
// no number ever shows in exponent form.
NumberStyle styleOfFormat(int id, QStringView code);

// At most 15 significant digits, never in exponent form, no trailing zeros after the
// point, no point for a whole number: 6.2220202001122334e18 → "6222020200112230000".
QString plainNumberText(double value);

// The value as its style shows it; dates read yyyy-MM-dd, times HH:mm:ss.
QString numberText(double value, const NumberStyle& style, bool date1904);

// An ISO 8601 date or date-time cell: yyyy-MM-dd, or yyyy-MM-dd HH:mm:ss when it has a
// time of day; the text itself when it is not one.
QString isoDateText(const QString& iso);

} // namespace slipcraft::celltext
