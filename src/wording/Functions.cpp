#include "wording/Functions.h"

#include "platform/Gbk.h"

#include <QLocale>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <iterator>
#include <optional>
#include <stdexcept>

namespace slipcraft {

namespace {

// Digit names at 0 … 9; the unit of fen position p (0 = 分) is at 25 − p.
constexpr char16_t kNamesAndUnits[] = u"零壹贰叁肆伍陆柒捌玖-万仟佰拾亿仟佰拾万仟佰拾元角分";
static_assert(std::size(kNamesAndUnits) == 27);
constexpr QStringView kDigitNames(kNamesAndUnits, 10);
// Fen positions 0 … 14: amounts below 10^13 yuan.
constexpr qsizetype kMaxFenDigits = 15;
constexpr qint64 kFenLimit = 1'000'000'000'000'000;

QChar digitName(int digit) { return QChar(kNamesAndUnits[digit]); }

bool isAsciiDigit(QChar c) { return c >= u'0' && c <= u'9'; }

struct Pass {
    QStringView find;
    QStringView replace;
};

constexpr Pass kPassesBeforeYi[] = {
    {u"零仟", u"零"}, {u"零佰", u"零"}, {u"零拾", u"零"}, {u"零零零", u"零"},
    {u"零零", u"零"}, {u"零亿", u"亿"}, {u"零万", u"万"}, {u"零元", u"元"},
};
constexpr Pass kPassesAfterYi[] = {
    {u"零角", u"零"}, {u"零分", u"整"}, {u"零整", u"整"},
};

void replaceAll(QString& text, const Pass& pass)
{
    text.replace(pass.find.data(), pass.find.size(), pass.replace.data(), pass.replace.size());
}

// "亿万" is what is left of a 万 group of zeros under a non-zero 亿 part. Dropping the
// 万 is right before 元 or a 零, but before a thousands digit it would also drop the
// only 零 that shows the empty group: 800007063 must read 捌亿零柒仟…, not 捌亿柒仟….
void joinYiAndWan(QString& words)
{
    for (qsizetype at = 0; (at = words.indexOf(u"亿万", at)) >= 0; ++at) {
        const bool digitFollows = at + 2 < words.size()
            && kDigitNames.indexOf(words[at + 2]) > 0;
        if (digitFollows)
            words[at + 1] = u'零';
        else
            words.remove(at + 1, 1);
    }
}

struct Decimal {
    bool negative = false;
    QStringView whole;
    QStringView fraction;
};

QStringView trimmedView(QStringView text)
{
    while (!text.isEmpty() && text.front().unicode() <= 32)
        text = text.mid(1);
    while (!text.isEmpty() && text.back().unicode() <= 32)
        text.chop(1);
    return text;
}

std::optional<Decimal> parseDecimal(QStringView text)
{
    text = trimmedView(text);
    Decimal d;
    if (!text.isEmpty() && (text.front() == u'-' || text.front() == u'+')) {
        d.negative = text.front() == u'-';
        text = text.mid(1);
    }
    const qsizetype point = text.indexOf(u'.');
    d.whole = point < 0 ? text : text.left(point);
    d.fraction = point < 0 ? QStringView() : text.mid(point + 1);
    if (d.whole.isEmpty() && d.fraction.isEmpty())
        return std::nullopt;
    for (QStringView part : {d.whole, d.fraction}) {
        for (QChar c : part) {
            if (!isAsciiDigit(c))
                return std::nullopt;
        }
    }
    return d;
}

// |value| in whole hundredths, halves away from zero, as decimal digits without
// leading zeros ("0" for none). Digit arithmetic, so exact for any length of text.
QString hundredths(QStringView whole, QStringView fraction)
{
    QString digits;
    digits.reserve(whole.size() + 3);
    digits += whole;
    digits += fraction.left(2);
    for (qsizetype i = fraction.size(); i < 2; ++i)
        digits += u'0';
    qsizetype lead = 0;
    while (lead < digits.size() - 1 && digits[lead] == u'0')
        ++lead;
    digits.remove(0, lead);
    if (fraction.size() > 2 && fraction[2] >= u'5') {
        qsizetype i = digits.size() - 1;
        for (; i >= 0 && digits[i] == u'9'; --i)
            digits[i] = u'0';
        if (i < 0)
            digits.prepend(u'1');
        else
            digits[i] = QChar(digits[i].unicode() + 1);
    }
    return digits;
}

[[noreturn]] void notANumber(const QString& text)
{
    throw std::invalid_argument("not a number: \"" + text.toStdString() + "\"");
}

// Day and month wording: 1 … 9 and the round tens carry a leading 零.
QString dayWords(int n)
{
    QString words;
    const int tens = n / 10;
    const int ones = n % 10;
    if (tens == 0 || ones == 0)
        words += u'零';
    if (tens > 0) {
        words += digitName(tens);
        words += u'拾';
    }
    if (ones > 0)
        words += digitName(ones);
    return words;
}

} // namespace

QString trimText(const QString& text)
{
    return trimmedView(text).toString();
}

bool containsText(const QString& haystack, const QString& needle)
{
    return !needle.isEmpty() && haystack.contains(needle);
}

bool isDecimalNumber(const QString& text)
{
    return parseDecimal(text).has_value();
}

std::optional<qint64> amountToFen(const QString& decimalText)
{
    const std::optional<Decimal> amount = parseDecimal(decimalText);
    if (!amount)
        notANumber(decimalText);
    const QString fen = hundredths(amount->whole, amount->fraction);
    if (fen.size() > kMaxFenDigits)
        return std::nullopt;
    const qint64 magnitude = fen.toLongLong();
    return amount->negative ? -magnitude : magnitude;
}

QString fenToWords(qint64 fen)
{
    // Also below half a fen and negative zero: never "整" or "负零元整".
    if (fen == 0)
        return QStringLiteral("零元整");
    if (fen <= -kFenLimit || fen >= kFenLimit)
        return {};
    const QString digits = QString::number(fen < 0 ? -fen : fen);

    QString words;
    words.reserve(2 * digits.size() + 1);
    if (fen < 0)
        words += u'负';
    for (qsizetype i = 0; i < digits.size(); ++i) {
        const qsizetype position = digits.size() - 1 - i;
        words += digitName(digits[i].unicode() - u'0');
        words += QChar(kNamesAndUnits[25 - position]);
    }
    for (const Pass& pass : kPassesBeforeYi)
        replaceAll(words, pass);
    joinYiAndWan(words);
    for (const Pass& pass : kPassesAfterYi)
        replaceAll(words, pass);
    return words;
}

QString amountToWords(const QString& decimalText)
{
    const std::optional<qint64> fen = amountToFen(decimalText);
    return fen ? fenToWords(*fen) : QString();
}

QString amountToWords(double amount)
{
    if (!std::isfinite(amount))
        throw std::invalid_argument("amount is not a finite number");
    // Fixed notation of the smallest double needs some 330 characters.
    char buffer[400];
    const auto result = std::to_chars(std::begin(buffer), std::end(buffer), amount,
                                      std::chars_format::fixed);
    return amountToWords(QString::fromLatin1(buffer, result.ptr - buffer));
}

QString datePartToWords(const QString& value)
{
    if (value.size() < 3) {
        bool ok = false;
        const int n = value.toInt(&ok);
        if (!ok)
            notANumber(value);
        return n >= 1 && n <= 31 ? dayWords(n) : QString();
    }
    QString words;
    words.reserve(value.size());
    for (QChar c : value) {
        if (!isAsciiDigit(c))
            throw std::invalid_argument("year with a non-digit: \"" + value.toStdString() + "\"");
        words += digitName(c.unicode() - u'0');
    }
    return words;
}

QString datePartToWords(int value)
{
    return datePartToWords(QString::number(value));
}

QString datePartFromWords(const QString& words)
{
    const QString text = trimText(words);
    // Day and month wordings are at most three Chinese characters.
    if (gbk::width(text) > 6) {
        QString digits = text;
        for (QChar& c : digits) {
            const qsizetype digit = kDigitNames.indexOf(c);
            if (digit >= 0)
                c = QChar(char16_t(u'0' + digit));
        }
        return digits;
    }
    for (int n = 1; n <= 31; ++n) {
        if (text == dayWords(n))
            return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
    }
    return {};
}

QString amountToHalfWidth(const QString& typed)
{
    QString amount;
    amount.reserve(typed.size());
    for (QChar c : typed) {
        char16_t u = c.unicode();
        if (u >= u'０' && u <= u'９')
            u = u - u'０' + u'0';
        else if (u == u'．' || u == u'。')
            u = u'.';
        else if (u == u',' || u == u'，')
            continue;
        amount += QChar(u);
    }
    return amount;
}

QString normalizeAmount(const QString& typed)
{
    // Blanks and currency signs all fall to the final filter.
    QString amount = amountToHalfWidth(typed);
    amount.removeIf([](QChar c) { return !((c >= u'0' && c <= u'9') || c == u'.' || c == u'-'); });
    return amount;
}

QString twoDecimalText(double value, bool thousands)
{
    if (!std::isfinite(value))
        throw std::invalid_argument("not a finite number");
    // 15 significant digits as d.dddddddddddddde±x; rounded from there, 2.675 is a tie.
    char buffer[32];
    const auto result = std::to_chars(std::begin(buffer), std::end(buffer), value,
                                      std::chars_format::scientific, 14);
    const std::string_view scientific(buffer, result.ptr - buffer);
    const bool negative = scientific.front() == '-';
    const std::string_view mantissa = scientific.substr(negative ? 1 : 0, 16);
    const QString digits = QLatin1StringView(mantissa.substr(0, 1))
        + QLatin1StringView(mantissa.substr(2));
    std::string_view exponentText = scientific.substr(scientific.find('e') + 1);
    if (exponentText.front() == '+')
        exponentText.remove_prefix(1);
    int exponent = 0;
    std::from_chars(exponentText.data(), exponentText.data() + exponentText.size(), exponent);

    const qsizetype wholeDigits = exponent + 1;
    QString whole;
    QString fraction;
    if (wholeDigits <= 0) {
        fraction = QString(-wholeDigits, u'0') + digits;
    } else if (wholeDigits >= digits.size()) {
        whole = digits + QString(wholeDigits - digits.size(), u'0');
    } else {
        whole = digits.left(wholeDigits);
        fraction = digits.mid(wholeDigits);
    }
    QString cents = hundredths(whole, fraction);
    const bool zero = cents == u"0";
    if (cents.size() < 3)
        cents = QString(3 - cents.size(), u'0') + cents;
    cents.insert(cents.size() - 2, u'.');
    if (negative && !zero)
        cents.prepend(u'-');
    // At most 15 significant digits: the double holds the text exactly.
    return thousands ? QLocale().toString(cents.toDouble(), 'f', 2) : cents;
}

QString twoDecimalText(const QString& number, bool thousands)
{
    bool ok = false;
    const double value = number.toDouble(&ok);
    if (!ok)
        notANumber(number);
    return twoDecimalText(value, thousands);
}

bool isNumericText(const QString& text)
{
    return !text.isEmpty()
        && std::all_of(text.begin(), text.end(), [](QChar c) { return isAsciiDigit(c) || c == u'.'; });
}

bool isDigitText(const QString& text)
{
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), isAsciiDigit);
}

QStringList splitText(const QString& text, const QString& separator)
{
    if (separator.isEmpty())
        return {text};
    return text.split(separator, Qt::KeepEmptyParts, Qt::CaseSensitive);
}

QStringList splitCharacters(const QString& text)
{
    QStringList result;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool pair = text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
        result += text.mid(i, pair ? 2 : 1);
        i += pair ? 1 : 0;
    }
    return result;
}

QStringList breakLines(const QString& text, int n)
{
    if (text.isEmpty())
        return {};
    if (n < 1)
        return {text};
    const qint64 lineBytes = 2 * qint64(n);
    QStringList lines;
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = start;
        qint64 bytes = 0;
        while (end < text.size() && bytes < lineBytes) {
            const bool pair = text[end].isHighSurrogate() && end + 1 < text.size()
                && text[end + 1].isLowSurrogate();
            bytes += gbk::charWidth(pair ? QChar::surrogateToUcs4(text[end], text[end + 1])
                                         : text[end].unicode());
            end += pair ? 2 : 1;
        }
        lines += text.mid(start, end - start);
        start = end;
    }
    return lines;
}

int tenthMmToPixels(int tenthMm, int dpi)
{
    // v / 10 / 25.4 * dpi = v * dpi / 254: exact in integers.
    const qint64 product = qint64(tenthMm) * dpi;
    qint64 quotient = product / 254;
    qint64 remainder = product % 254;
    if (remainder < 0) {
        --quotient;
        remainder += 254;
    }
    if (2 * remainder > 254 || (2 * remainder == 254 && (quotient & 1)))
        ++quotient;
    return int(quotient);
}

} // namespace slipcraft
