#pragma once

#include "platform/printing/Printer.h"

#include <QColor>
#include <QMap>
#include <QString>
#include <QStringList>

namespace slipcraft {

class AppContext;
class Database;

// Printer pixels of a position in 0.1 mm at dpi pixels per inch, rounded in the three
// steps that put templates where they belong on paper:
// a = round(v × dpi × 1000 / 25.4), b = round(a / 1000), p = round(b / 10), each
// halves to even. Exact for any input; a result beyond 64 bits saturates.
qint64 printerPixels(qint64 tenthMm, int dpi);

// A stored colour: a decimal 32-bit integer with red in the lowest byte, green and blue
// above it. Negative values are system colours, which on paper all print as the
// window-text colour, black; so does text that is not an integer, or empty text.
QColor printColor(const QString& colorText);

// The font of an item: empty face → "宋体"; a style is on when its value is above 0.
PrintFont itemFont(const QString& fontName, int size, int bold, int italic, int underline, const QString& colorText);

// Prints text with its top-left corner at (x, y) in 0.1 mm; nothing when the trimmed
// text is empty. x moves right by twice the average character width of the text's own
// font; a y above the printable area beyond 2 pixels is held at −3.
void printText(Printer& printer, qint64 x, qint64 y, const QString& text, int underline, int italic, int bold,
               int size, const QString& color, const QString& fontName);

// Prints the trimmed text one character per cell, cells cellPitch (0.1 mm, decimal
// text) apart; an empty pitch prints as printText. False, with nothing printed, when the
// pitch is not an integer.
bool printTextInCells(Printer& printer, qint64 x, qint64 y, const QString& text, int underline, int italic,
                      int bold, const QString& cellPitch, int size, const QString& color, const QString& fontName);

// Prints items of the templates onto one printer, reading each item's layout as it goes.
class ItemPrinter {
public:
    ItemPrinter(AppContext& context, Printer& printer);

    // Prints value (lines separated by separator; an empty separator keeps it whole)
    // with the layout of itemName on the template, moved by the offsets (0.1 mm).
    // True when printed or when there is nothing to print; false after telling the user
    // that the item could not be printed.
    bool printItem(int templateId, int xOffset, const QString& separator, const QString& value,
                   const QString& itemName, int yOffset);

private:
    AppContext& context_;
    Printer& printer_;
};

// |ctlx(first) − ctlx(second)| of the template when both items have a layout, else
// defaultWidth; 0 when the layouts cannot be read.
int getCellsWidth(Database& db, int templateId, const QString& firstItem, int defaultWidth,
                  const QString& secondItem);

// The template's HVPrint as text ("1": landscape); empty when there is no such
// template. Throws DatabaseError.
QString getHXPaperIn(Database& db, int templateId);

// The abbreviation of a currency name ("人民币" → "￥"); empty when unknown or when the
// table cannot be read.
QString getMoneyCodeByName(Database& db, const QString& currencyName);
// The currency name of an abbreviation; empty when unknown. Throws DatabaseError.
QString getMoneyNameByCode(Database& db, const QString& abbreviation);
// Every currency name. Throws DatabaseError.
QStringList loadMoneyTypeList(Database& db);

// The paper of a template whose face is paperWidth wide and paperHeight high (0.1 mm;
// 230 × 127 mm when either side is missing). The page is always the face as designed;
// landscape says only that the sheet enters the printer turned, so the printer is
// given the sheet as it is fed (sides swapped) and turns it back.
PageSetup templatePageSetup(int paperWidth, int paperHeight, bool landscape);

// One upper-case numeral per digit position of amount (decimal text): m integer
// positions padded with 零, then the decimals that format asks for ("0": none;
// ".0"/"0.0": one; otherwise two), rounded halves away from zero. "零" for a zero
// amount, "超出位数限制" when the integer part needs more than m positions, empty for a
// negative amount. Throws std::invalid_argument when amount is not a decimal number.
QString amountToUpperDigits(const QString& amount, int m, const QString& format);

// What the amount digit boxes of an entry form show.
struct DigitBoxes {
    // Every box of the rows asked for ("zdYY" … "zdF", then "cgYY" … "cgF"), empty
    // when cleared.
    QMap<QString, QString> values;
    // Integer digits beyond the ninth, which have no box.
    int overflowDigits = 0;
    // False for an amount that is not above 0: the amount in figures is cleared too.
    bool positive = false;
};

// The digit boxes for an amount (decimal text, taken digit by digit: 1234.567 shows
// jiao 5 and fen 6). The currency abbreviation (the form's own when empty) goes into
// the box left of the highest digit unless noSheep; counterfoil adds the "cg" row.
// A text that is not a decimal number clears the boxes like 0.
DigitBoxes digitBoxValues(const QString& abbreviation, const QString& amount, const QString& formAbbreviation,
                          bool noSheep, bool counterfoil);

} // namespace slipcraft
