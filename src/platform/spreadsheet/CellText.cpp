#include "platform/spreadsheet/CellText.h"

#include <QDate>
#include <QDateTime>
#include <QTime>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>

namespace slipcraft::celltext {

namespace {

using Kind = NumberStyle::Kind;

NumberStyle fixed(int decimals, bool grouping = false, bool percent = false)
{
    return {Kind::Fixed, decimals, grouping, percent};
}

std::optional<NumberStyle> builtInStyle(int id)
{
    switch (id) {
    case 1: return fixed(0);
    case 2: return fixed(2);
    case 3: case 37: case 38: return fixed(0, true);
    case 4: case 39: case 40: return fixed(2, true);
    case 9: return fixed(0, false, true);
    case 10: return fixed(2, false, true);
    case 14: case 15: case 16: case 17:
    case 27: case 28: case 29: case 30: case 31: case 36:
    case 50: case 51: case 52: case 53: case 54: case 57: case 58:
        return NumberStyle{Kind::Date};
    case 18: case 19: case 20: case 21: case 45: case 46: case 47:
    case 32: case 33: case 34: case 35: case 55: case 56:
        return NumberStyle{Kind::Time};
    case 22: return NumberStyle{Kind::DateTime};
    default: return std::nullopt;
    }
}

// The first section of a format code with quoted text, escaped characters, padding and
// fill characters removed; bracketed parts removed too, except elapsed time ([h], [mm]).
QString formatLetters(QStringView code)
{
    QString letters;
    for (qsizetype at = 0; at < code.size(); ++at) {
        const QChar c = code[at];
        if (c == u';')
            break;
        if (c == u'"') {
            while (++at < code.size() && code[at] != u'"') {
            }
        } else if (c == u'\\' || c == u'_' || c == u'*') {
            ++at;
        } else if (c == u'[') {
            const qsizetype end = code.indexOf(u']', at);
            const QStringView inside = code.mid(at + 1, end < 0 ? -1 : end - at - 1);
            if (!inside.isEmpty() && QStringLiteral("hms").contains(inside[0].toLower()))
                letters += inside.toString().toLower();
            at = end < 0 ? code.size() : end;
        } else {
            letters += c.toLower();
        }
    }
    return letters;
}

NumberStyle styleOfCode(QStringView code)
{
    if (code.compare(u"General", Qt::CaseInsensitive) == 0 || code == u"@")
        return {};
    const QString letters = formatLetters(code);
    const bool time = letters.contains(u'h') || letters.contains(u's');
    const bool date = letters.contains(u'y') || letters.contains(u'd') || (letters.contains(u'm') && !time);
    if (date)
        return {time ? Kind::DateTime : Kind::Date};
    if (time)
        return {Kind::Time};
    if (letters.contains(u'e') || letters.contains(u'/'))
        return {}; // scientific and fractions
    const qsizetype point = letters.indexOf(u'.');
    const QStringView whole = QStringView(letters).left(point < 0 ? letters.size() : point);
    if (!whole.contains(u'0') && !whole.contains(u'#') && !whole.contains(u'?') && point < 0)
        return {};
    NumberStyle style{Kind::Fixed};
    style.grouping = whole.contains(u',');
    style.percent = letters.contains(u'%');
    if (point >= 0) {
        for (qsizetype at = point + 1;
             at < letters.size() && (letters[at] == u'0' || letters[at] == u'#' || letters[at] == u'?'); ++at)
            ++style.decimals;
    }
    return style;
}

// Digits of the whole part in groups of three.
QString grouped(const QString& number)
{
    const qsizetype start = number.startsWith(u'-') ? 1 : 0;
    qsizetype end = number.indexOf(u'.');
    if (end < 0)
        end = number.size();
    QString text = number;
    for (qsizetype at = end - 3; at > start; at -= 3)
        text.insert(at, u',');
    return text;
}

QString fixedText(double value, const NumberStyle& style)
{
    if (style.percent)
        value *= 100;
    QString text;
    if (std::fabs(value) < 1e15) {
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "%.*f", style.decimals, value);
        text = QString::fromLatin1(buffer);
        const bool zero = std::all_of(text.begin(), text.end(), [](QChar c) { return c == u'-' || c == u'0' || c == u'.'; });
        if (zero && text.startsWith(u'-'))
            text.remove(0, 1); // "-0.00" after rounding
    } else {
        text = plainNumberText(value);
        if (style.decimals > 0)
            text += u'.' + QString(style.decimals, u'0');
    }
    if (style.grouping)
        text = grouped(text);
    if (style.percent)
        text += u'%';
    return text;
}

QString serialText(double serial, Kind kind, bool date1904)
{
    if (!std::isfinite(serial) || serial < 0 || serial >= 2958466) // beyond 9999-12-31
        return plainNumberText(serial);
    qint64 days = qint64(std::floor(serial));
    qint64 seconds = std::llround((serial - double(days)) * 86400);
    if (seconds >= 86400) {
        ++days;
        seconds -= 86400;
    }
    const QString time = QTime(0, 0).addSecs(int(seconds)).toString(QStringLiteral("HH:mm:ss"));
    if (kind == Kind::Time)
        return time;
    QString date;
    if (date1904)
        date = QDate(1904, 1, 1).addDays(days).toString(Qt::ISODate);
    else if (days == 60)
        date = QStringLiteral("1900-02-29"); // the day the 1900 date system counts but the calendar lacks
    else
        date = QDate(1899, 12, days < 60 ? 31 : 30).addDays(days).toString(Qt::ISODate);
    return kind == Kind::DateTime ? date + u' ' + time : date;
}

} // namespace

NumberStyle styleOfFormat(int id, QStringView code)
{
    if (!code.isEmpty())
        return styleOfCode(code);
    return builtInStyle(id).value_or(NumberStyle{});
}

QString plainNumberText(double value)
{
    if (!std::isfinite(value))
        return QString::number(value);
    if (value == 0)
        return QStringLiteral("0");
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.14e", value); // d.dddddddddddddde±x
    const QByteArray text(buffer);
    const bool negative = text.startsWith('-');
    const qsizetype e = text.indexOf('e');
    QByteArray digits = text.mid(negative ? 1 : 0, e - (negative ? 1 : 0)).replace(".", "");
    const int exponent = std::atoi(text.constData() + e + 1);
    while (digits.size() > 1 && digits.endsWith('0'))
        digits.chop(1);

    QByteArray plain;
    if (exponent < 0) {
        plain = "0." + QByteArray(-exponent - 1, '0') + digits;
    } else if (digits.size() <= exponent + 1) {
        plain = digits + QByteArray(exponent + 1 - digits.size(), '0');
    } else {
        plain = digits.left(exponent + 1) + '.' + digits.mid(exponent + 1);
    }
    return QString::fromLatin1(negative ? '-' + plain : plain);
}

QString numberText(double value, const NumberStyle& style, bool date1904)
{
    switch (style.kind) {
    case Kind::General:
        return plainNumberText(value);
    case Kind::Fixed:
        return fixedText(value, style);
    case Kind::Date:
    case Kind::Time:
    case Kind::DateTime:
        return serialText(value, style.kind, date1904);
    }
    return plainNumberText(value);
}

QString isoDateText(const QString& iso)
{
    const QDateTime moment = QDateTime::fromString(iso, Qt::ISODate);
    if (moment.isValid()) {
        const QString date = moment.date().toString(Qt::ISODate);
        return moment.time() == QTime(0, 0) ? date : date + u' ' + moment.time().toString(QStringLiteral("HH:mm:ss"));
    }
    const QDate date = QDate::fromString(iso, Qt::ISODate);
    return date.isValid() ? date.toString(Qt::ISODate) : iso;
}

} // namespace slipcraft::celltext
