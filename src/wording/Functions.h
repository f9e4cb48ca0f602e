#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// Pure text operations shared by the entry forms and the print renderer: amounts and
// dates in upper-case financial wording, typed-amount clean-up, number formatting,
// line breaking by GBK width. No state; callable from anywhere.
namespace slipcraft {

// Removes characters with codes up to 32 from both ends. Unlike QString::trimmed it
// keeps U+3000 and other Unicode spaces.
QString trimText(const QString& text);

// Case-sensitive; an empty needle is never contained.
bool containsText(const QString& haystack, const QString& needle);

// Optional blanks around, an optional sign, digits with an optional fraction
// ("5.", ".5"); no exponent, no thousands separators.
bool isDecimalNumber(const QString& text);

// Whole fen of an amount in yuan, halves away from zero, exactly from its decimal
// text; nullopt for 10^13 yuan or more. Throws std::invalid_argument when the text is
// not a decimal number.
std::optional<qint64> amountToFen(const QString& decimalText);
// Upper-case wording of a whole number of fen; empty for 10^13 yuan or more.
QString fenToWords(qint64 fen);

// Upper-case wording of an amount in yuan, e.g. 壹仟零伍元零伍分 for "1005.05".
// Rounds to whole fen, halves away from zero, exactly from the decimal text.
// Empty for 10^13 yuan or more; "零元整" for anything that rounds to 0 fen.
// Throws std::invalid_argument when the text is not a decimal number.
QString amountToWords(const QString& decimalText);
// Words the shortest decimal text that reads back as `amount` (0.125 stays 0.125).
// Throws std::invalid_argument for infinity and NaN.
QString amountToWords(double amount);

// Year, month or day in upper-case wording: texts shorter than three characters are
// days or months (1 to 31, e.g. "05" → 零伍, "10" → 零壹拾; empty outside that range),
// longer ones are years written digit by digit (2024 → 贰零贰肆).
// Throws std::invalid_argument for a day or month that is not a number, or a year
// with a character that is not a digit.
QString datePartToWords(const QString& value);
QString datePartToWords(int value);

// The inverse: a year back to its digits, a day or month to "01" … "31";
// empty for wording that is neither.
QString datePartFromWords(const QString& words);

// A typed amount with full-width digits and full stops made ASCII and the thousands
// separators (",", "，") removed; everything else stays: ￥１２，３４５．６元 → ￥12345.6元.
QString amountToHalfWidth(const QString& typed);

// Reduces a typed amount to ASCII digits, "." and "-" (full-width digits and full
// stops become ASCII; everything else is dropped): ￥１２，３４５．６元 → 12345.6.
QString normalizeAmount(const QString& typed);

// The number at 15 significant digits, then with exactly two decimals, halves away
// from zero (2.675 → "2.68"). With `thousands`, in the default QLocale's number format.
// The text overload throws std::invalid_argument when the text is not a number; both
// throw for infinity and NaN.
QString twoDecimalText(double value, bool thousands);
QString twoDecimalText(const QString& number, bool thousands);

// Not empty, and only "0" … "9" and "." ("1.2.3" passes, " 12" and "-5" do not).
bool isNumericText(const QString& text);
// Not empty, and only "0" … "9".
bool isDigitText(const QString& text);

// Pieces between the separators, empty ones kept ("a##b##" at "##" → a, b, "").
// An empty separator gives the whole text as the single piece.
QStringList splitText(const QString& text, const QString& separator);

// Each character of text as its own piece; a surrogate pair stays whole.
QStringList splitCharacters(const QString& text);

// Print lines of about n Chinese characters: each line is the shortest run of whole
// characters that reaches 2n GBK bytes (so 2n + 1 when a Chinese character straddles
// the boundary); the last line takes the rest. No line for an empty text; the whole
// text as one line when n < 1.
QStringList breakLines(const QString& text, int n);

// round(tenthMm / 10 / 25.4 * dpi), halves to even.
int tenthMmToPixels(int tenthMm, int dpi);

} // namespace slipcraft
