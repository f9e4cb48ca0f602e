#include "entry/PrintRenderer.h"

#include "data/Database.h"
#include "platform/Gbk.h"
#include "shell/AppContext.h"
#include "shell/UserMessages.h"
#include "wording/Functions.h"

#include <QRegularExpression>

#include <algorithm>
#include <limits>
#include <optional>
#include <stdexcept>

namespace slipcraft {

namespace {

using Wide = __int128;

// n / d rounded to the nearest integer, halves to even; d > 0.
Wide divideHalfEven(Wide n, Wide d)
{
    Wide quotient = n / d;
    Wide remainder = n % d;
    if (remainder < 0) {
        --quotient;
        remainder += d;
    }
    if (2 * remainder > d || (2 * remainder == d && (quotient & 1)))
        ++quotient;
    return quotient;
}

int toDevice(qint64 pixels)
{
    return int(std::clamp<qint64>(pixels, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

std::optional<int> cellPitchValue(const QString& text)
{
    bool ok = false;
    const int pitch = text.toInt(&ok);
    return ok ? std::optional<int>(pitch) : std::nullopt;
}

struct Decimal {
    bool negative = false;
    QString whole;    // digits as written, possibly empty or with leading zeros
    QString fraction; // digits after the point, possibly empty
};

std::optional<Decimal> parseDecimal(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral("^([+-]?)([0-9]*)(?:\\.([0-9]*))?$"));
    const QRegularExpressionMatch match = pattern.match(trimText(text));
    if (!match.hasMatch() || (match.capturedLength(2) == 0 && match.capturedLength(3) == 0))
        return std::nullopt;
    return Decimal{match.captured(1) == QLatin1String("-"), match.captured(2), match.captured(3)};
}

bool isZero(const Decimal& d)
{
    const auto zero = [](QChar c) { return c == QLatin1Char('0'); };
    return std::all_of(d.whole.begin(), d.whole.end(), zero) && std::all_of(d.fraction.begin(), d.fraction.end(), zero);
}

QString withoutLeadingZeros(const QString& digits)
{
    qsizetype first = 0;
    while (first < digits.size() - 1 && digits[first] == QLatin1Char('0'))
        ++first;
    return digits.isEmpty() ? QStringLiteral("0") : digits.mid(first);
}

// Adds one to a text of decimal digits.
QString incremented(QString digits)
{
    for (qsizetype i = digits.size() - 1; i >= 0; --i) {
        if (digits[i] != QLatin1Char('9')) {
            digits[i] = QChar(digits[i].unicode() + 1);
            return digits;
        }
        digits[i] = QLatin1Char('0');
    }
    return QLatin1Char('1') + digits;
}

} // namespace

qint64 printerPixels(qint64 tenthMm, int dpi)
{
    // v × dpi × 1000 / 25.4 = v × dpi × 5000 / 127, exact in 128 bits.
    const Wide a = divideHalfEven(Wide(tenthMm) * dpi * 5000, 127);
    const Wide b = divideHalfEven(a, 1000);
    const Wide p = divideHalfEven(b, 10);
    return qint64(std::clamp<Wide>(p, std::numeric_limits<qint64>::min(), std::numeric_limits<qint64>::max()));
}

QColor printColor(const QString& colorText)
{
    bool ok = false;
    const int value = colorText.toInt(&ok);
    if (!ok || value < 0)
        return Qt::black;
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

PrintFont itemFont(const QString& fontName, int size, int bold, int italic, int underline, const QString& colorText)
{
    PrintFont font;
    font.family = fontName.isEmpty() ? QStringLiteral("宋体") : fontName;
    font.pointSize = size;
    font.bold = bold > 0;
    font.italic = italic > 0;
    font.underline = underline > 0;
    font.color = printColor(colorText);
    return font;
}

void printText(Printer& printer, qint64 x, qint64 y, const QString& text, int underline, int italic, int bold,
               int size, const QString& color, const QString& fontName)
{
    if (trimText(text).isEmpty())
        return;
    // The shift belongs to this text's font, not to whatever the previous text left selected.
    printer.selectFont(itemFont(fontName, size, bold, italic, underline, color));
    const qint64 px = printerPixels(x, printer.resolutionX()) + 2 * qint64(printer.averageCharWidth());
    qint64 py = printerPixels(y, printer.resolutionY()) - printer.physicalOffsetTop();
    if (py < -2)
        py = -3;
    printer.drawText(toDevice(px), toDevice(py), text);
}

bool printTextInCells(Printer& printer, qint64 x, qint64 y, const QString& text, int underline, int italic,
                      int bold, const QString& cellPitch, int size, const QString& color, const QString& fontName)
{
    if (cellPitch.isEmpty()) {
        printText(printer, x, y, text, underline, italic, bold, size, color, fontName);
        return true;
    }
    const std::optional<int> pitch = cellPitchValue(cellPitch);
    if (!pitch)
        return false;
    const QString trimmed = trimText(text);
    if (trimmed.isEmpty())
        return true;
    printer.selectFont(itemFont(fontName, size, bold, italic, underline, color));
    const qint64 shift = 2 * qint64(printer.averageCharWidth());
    const int py = toDevice(printerPixels(y, printer.resolutionY()) - printer.physicalOffsetTop());
    const QStringList cells = splitCharacters(trimmed);
    for (qsizetype i = 0; i < cells.size(); ++i) {
        const qint64 px = printerPixels(x + i * qint64(*pitch), printer.resolutionX()) + shift;
        printer.drawText(toDevice(px), py, cells[i]);
    }
    return true;
}

ItemPrinter::ItemPrinter(AppContext& context, Printer& printer)
    : context_(context)
    , printer_(printer)
{
}

bool ItemPrinter::printItem(int templateId, int xOffset, const QString& separator, const QString& value,
                            const QString& itemName, int yOffset)
{
    const QString text = trimText(value);
    if (text.isEmpty())
        return true;
    const auto fail = [&] {
        context_.messages().show(QStringLiteral("打印") + itemName + QStringLiteral("出现错误！"), QStringLiteral("错误"),
                                 UserMessages::Icon::Error);
        return false;
    };
    try {
        SqlQuery layout = context_.db().query(
            QStringLiteral("select * from CkControl where CheckTypeId=:typeid and CtlName=:cname"),
            {{QStringLiteral("typeid"), templateId}, {QStringLiteral("cname"), itemName}});
        if (!layout.next())
            return true;
        const QString fontName = layout.value(QStringLiteral("ctlFontName")).toString();
        const QString color = layout.value(QStringLiteral("ctlFontColor")).toString();
        const int size = layout.value(QStringLiteral("ctlFontSize")).toInt();
        const int bold = layout.value(QStringLiteral("Bold")).toInt();
        const int italic = layout.value(QStringLiteral("Italic")).toInt();
        const int underline = layout.value(QStringLiteral("Underline")).toInt();
        const int breakFontSize = std::max(6, layout.value(QStringLiteral("BreakFontSize")).toInt());
        int linePitch = layout.value(QStringLiteral("CtlLH")).toInt();
        if (linePitch < 1)
            linePitch = 50;
        const QString cellPitch = layout.value(QStringLiteral("FitParam")).toString();
        // A pitch that is no number fails before any line reaches the paper.
        if (!cellPitch.isEmpty() && !cellPitchValue(cellPitch))
            return fail();
        qint64 x = layout.value(QStringLiteral("ctlx")).toLongLong() + xOffset;
        const qint64 y = layout.value(QStringLiteral("ctly")).toLongLong() + yOffset;

        const QString breakNum = layout.value(QStringLiteral("breaknum")).toString();
        int perLine = -1;
        if (isDigitText(breakNum)) {
            bool fits = false;
            perLine = breakNum.toInt(&fits);
            if (!fits)
                perLine = std::numeric_limits<int>::max();
        }

        QStringList lines;
        for (const QString& piece : splitText(text, separator)) {
            if (!piece.isEmpty())
                lines += perLine >= 1 ? breakLines(piece, perLine) : QStringList{piece};
        }

        if (lines.size() == 1) {
            if (text == context_.currentCurrencyAbbreviation) {
                const qsizetype length = splitCharacters(text).size();
                if (gbk::width(text) > length)
                    x -= 10;
                else if (length > 1 && context_.currentDigitBoxPitch > 0)
                    x = x - (length - 2) * qint64(context_.currentDigitBoxPitch) + 4;
            }
            printTextInCells(printer_, x, y, lines.first(), underline, italic, bold, cellPitch, size, color, fontName);
        } else {
            for (qsizetype i = 0; i < lines.size(); ++i)
                printTextInCells(printer_, x, y + i * qint64(linePitch), lines[i], underline, italic, bold, cellPitch,
                                 breakFontSize, color, fontName);
        }
        return true;
    } catch (const DatabaseError&) {
        return fail();
    }
}

int getCellsWidth(Database& db, int templateId, const QString& firstItem, int defaultWidth, const QString& secondItem)
{
    try {
        const QString sql = QStringLiteral("select ctlx from CkControl where CheckTypeId=:typeid and CtlName=:cname");
        const QVariant first = db.scalar(sql, {{QStringLiteral("typeid"), templateId}, {QStringLiteral("cname"), firstItem}});
        const QVariant second = db.scalar(sql, {{QStringLiteral("typeid"), templateId}, {QStringLiteral("cname"), secondItem}});
        if (!first.isValid() || !second.isValid())
            return defaultWidth;
        return std::abs(first.toInt() - second.toInt());
    } catch (const DatabaseError&) {
        return 0;
    }
}

QString getHXPaperIn(Database& db, int templateId)
{
    SqlQuery query = db.query(QStringLiteral("select HVPrint from CKTypeTable where CheckTypeID=:id"),
                              {{QStringLiteral("id"), templateId}});
    return query.next() ? query.value(0).toString() : QString();
}

QString getMoneyCodeByName(Database& db, const QString& currencyName)
{
    try {
        return db.scalar(QStringLiteral("select 缩写 from coins where 币种=:name"), {{QStringLiteral("name"), currencyName}})
            .toString();
    } catch (const DatabaseError&) {
        return {};
    }
}

QString getMoneyNameByCode(Database& db, const QString& abbreviation)
{
    return db.scalar(QStringLiteral("select 币种 from coins where 缩写=:code"), {{QStringLiteral("code"), abbreviation}})
        .toString();
}

QStringList loadMoneyTypeList(Database& db)
{
    return db.textColumn(QStringLiteral("select distinct 币种 from coins"));
}

PageSetup templatePageSetup(int paperWidth, int paperHeight, bool landscape)
{
    if (paperWidth <= 0 || paperHeight <= 0) {
        paperWidth = 2300;
        paperHeight = 1270;
    }
    const QSizeF face(paperWidth / 10.0, paperHeight / 10.0);
    if (landscape)
        return PageSetup{face.transposed(), QPageLayout::Landscape};
    return PageSetup{face, QPageLayout::Portrait};
}

QString amountToUpperDigits(const QString& amount, int m, const QString& format)
{
    const std::optional<Decimal> number = parseDecimal(amount);
    if (!number)
        throw std::invalid_argument("not a decimal number: " + amount.toStdString());
    if (isZero(*number))
        return QStringLiteral("零");
    if (number->negative)
        return {};

    int decimals = 2;
    if (format == QLatin1String("0"))
        decimals = 0;
    else if (format == QLatin1String(".0") || format == QLatin1String("0.0"))
        decimals = 1;

    QString digits = number->whole + number->fraction.left(decimals).leftJustified(decimals, QLatin1Char('0'));
    if (number->fraction.size() > decimals && number->fraction[decimals] >= QLatin1Char('5'))
        digits = incremented(digits);
    const QString whole = withoutLeadingZeros(digits.left(digits.size() - decimals));
    if (whole.size() > m)
        return QStringLiteral("超出位数限制");

    static const QString numerals = QStringLiteral("零壹贰叁肆伍陆柒捌玖");
    QString result;
    for (QChar digit : whole.rightJustified(m, QLatin1Char('0')) + digits.right(decimals))
        result += numerals[digit.digitValue()];
    return result;
}

DigitBoxes digitBoxValues(const QString& abbreviation, const QString& amount, const QString& formAbbreviation,
                          bool noSheep, bool counterfoil)
{
    // Integer positions from the units up.
    static const QStringList integerBoxes = {
        QStringLiteral("Y"),  QStringLiteral("SY"), QStringLiteral("BY"), QStringLiteral("QY"), QStringLiteral("WY"),
        QStringLiteral("SW"), QStringLiteral("BW"), QStringLiteral("QW"), QStringLiteral("YY")};
    QStringList rows = {QStringLiteral("zd")};
    if (counterfoil)
        rows += QStringLiteral("cg");

    DigitBoxes boxes;
    QMap<QString, QString> row; // by position
    for (const QString& position : integerBoxes)
        row[position];
    row[QStringLiteral("J")];
    row[QStringLiteral("F")];

    const std::optional<Decimal> number = parseDecimal(amount);
    boxes.positive = number && !number->negative && !isZero(*number);
    if (boxes.positive) {
        const QString whole = withoutLeadingZeros(number->whole);
        if (whole != QLatin1String("0")) {
            for (qsizetype i = 0; i < whole.size(); ++i) {
                const QChar digit = whole[whole.size() - 1 - i];
                if (i < integerBoxes.size())
                    row[integerBoxes[i]] = digit;
                else
                    ++boxes.overflowDigits;
            }
        }
        const QString fraction = number->fraction.left(2).leftJustified(2, QLatin1Char('0'));
        row[QStringLiteral("J")] = fraction.at(0);
        row[QStringLiteral("F")] = fraction.at(1);

        if (!noSheep) {
            const QString sign = abbreviation.isEmpty() ? formAbbreviation : abbreviation;
            for (const QString& position : QStringList{QStringLiteral("J")} + integerBoxes) {
                if (row[position].isEmpty()) {
                    row[position] = sign;
                    break;
                }
            }
        }
    }
    for (const QString& prefix : rows)
        for (auto it = row.cbegin(); it != row.cend(); ++it)
            boxes.values.insert(prefix + it.key(), it.value());
    return boxes;
}

} // namespace slipcraft
