#include "EntryFixture.h"

#include "entry/PrintRenderer.h"

#include <QSet>

#include <cmath>
#include <limits>
#include <stdexcept>

using namespace slipcraft;

// Values worked out by hand with exact fractions: each step rounds halves to even,
// which differs from one rounding of v × dpi / 254 (7 → 16, not 17; 98 → 232, not 231).
TEST(PrinterPixels, RoundsInThreeStepsHalvesToEven)
{
    struct Case {
        qint64 tenthMm;
        int dpi;
        qint64 pixels;
    };
    const Case cases[] = {
        {0, 600, 0},
        {1000, 600, 2362},
        {1234, 600, 2915},
        {100, 1200, 472},
        {7, 600, 16},     // b = 165: down to even
        {65, 600, 154},   // b = 1535: up to even
        {40, 600, 94},    // b = 945
        {98, 600, 232},   // a = 2315, b = 2315 → 232; one rounding gives 231
        {-7, 600, -16},   // negative ties go to even too
        {-2950, 600, -6968},
        {std::numeric_limits<int>::max(), 1200, 10145592033},
        {std::numeric_limits<int>::min(), 1200, -10145592038},
        {std::numeric_limits<int>::max(), std::numeric_limits<int>::max(), 18156244150127640},
    };
    for (const Case& c : cases)
        EXPECT_EQ(printerPixels(c.tenthMm, c.dpi), c.pixels) << c.tenthMm << " at " << c.dpi;
}

TEST(PrintColor, ReadsDecimalColoursWithRedLowest)
{
    struct Case {
        QString text;
        QColor color;
    };
    const Case cases[] = {
        {QStringLiteral("255"), QColor(255, 0, 0)},
        {QStringLiteral("65280"), QColor(0, 255, 0)},
        {QStringLiteral("16711680"), QColor(0, 0, 255)},
        {QStringLiteral("8421504"), QColor(128, 128, 128)},
        {QStringLiteral("0"), Qt::black},
        {QStringLiteral("-2147483640"), Qt::black},
        {QString(), Qt::black},
        {QStringLiteral("red"), Qt::black},
        {QStringLiteral("12.5"), Qt::black},
        {QStringLiteral("99999999999"), Qt::black},
    };
    for (const Case& c : cases)
        EXPECT_EQ(printColor(c.text), c.color) << c.text.toStdString();
}

TEST(AmountToUpperDigits, OneNumeralPerPosition)
{
    struct Case {
        QString amount;
        int m;
        QString format;
        QString digits;
    };
    const Case cases[] = {
        {QStringLiteral("1234.5"), 9, QStringLiteral(".00"), QStringLiteral("零零零零零壹贰叁肆伍零")},
        {QStringLiteral("1234.5"), 9, QStringLiteral("0.00"), QStringLiteral("零零零零零壹贰叁肆伍零")},
        {QStringLiteral("1234.5"), 6, QStringLiteral("0"), QStringLiteral("零零壹贰叁伍")},
        {QStringLiteral("1234.45"), 4, QStringLiteral(".0"), QStringLiteral("壹贰叁肆伍")},
        {QStringLiteral("1234.45"), 4, QStringLiteral("0.0"), QStringLiteral("壹贰叁肆伍")},
        {QStringLiteral("1234.45"), 4, QStringLiteral("#"), QStringLiteral("壹贰叁肆肆伍")},
        {QStringLiteral("0.5"), 3, QStringLiteral(".00"), QStringLiteral("零零零伍零")},
        {QStringLiteral(".07"), 1, QStringLiteral(".00"), QStringLiteral("零零柒")},
        // Rounding is exact on the decimal text and carries into the integer part.
        {QStringLiteral("2.675"), 1, QStringLiteral(".00"), QStringLiteral("贰陆捌")},
        {QStringLiteral("999.995"), 4, QStringLiteral(".00"), QStringLiteral("壹零零零零零")},
        {QStringLiteral("999.995"), 3, QStringLiteral(".00"), QStringLiteral("超出位数限制")},
        {QStringLiteral("1234567890"), 9, QStringLiteral(".00"), QStringLiteral("超出位数限制")},
        {QStringLiteral("0"), 9, QStringLiteral(".00"), QStringLiteral("零")},
        {QStringLiteral("0.00"), 9, QStringLiteral(".00"), QStringLiteral("零")},
        {QStringLiteral("0.004"), 2, QStringLiteral(".00"), QStringLiteral("零零零零")},
        {QStringLiteral("-5"), 9, QStringLiteral(".00"), QString()},
    };
    for (const Case& c : cases)
        EXPECT_EQ(amountToUpperDigits(c.amount, c.m, c.format), c.digits)
            << c.amount.toStdString() << ' ' << c.m << ' ' << c.format.toStdString();
    EXPECT_THROW(amountToUpperDigits(QStringLiteral("12元"), 9, QStringLiteral(".00")), std::invalid_argument);
}

namespace {

// The front row as one text from zdYY down to zdF, "." for an empty box.
QString frontRow(const DigitBoxes& boxes, const QString& prefix = QStringLiteral("zd"))
{
    QString row;
    for (const char* position : {"YY", "QW", "BW", "SW", "WY", "QY", "BY", "SY", "Y", "J", "F"}) {
        const QString value = boxes.values.value(prefix + QLatin1String(position), QStringLiteral("?"));
        row += (value.isEmpty() ? QStringLiteral(".") : value) + QLatin1Char('|');
    }
    return row;
}

} // namespace

TEST(DigitBoxValues, OneDigitPerBoxWithTheSignLeftOfTheHighest)
{
    struct Case {
        const char* label;
        QString abbreviation;
        QString amount;
        bool noSheep;
        QString row; // zdYY … zdF
        int overflow;
        bool positive;
    };
    const QString yuan = QStringLiteral("￥");
    const Case cases[] = {
        {"1234.5", yuan, QStringLiteral("1234.5"), false, QStringLiteral(".|.|.|.|￥|1|2|3|4|5|0|"), 0, true},
        {"below one", yuan, QStringLiteral("0.5"), false, QStringLiteral(".|.|.|.|.|.|.|.|￥|5|0|"), 0, true},
        {"zeros are digits", yuan, QStringLiteral("100"), false, QStringLiteral(".|.|.|.|.|￥|1|0|0|0|0|"), 0, true},
        {"fraction cut, not rounded", yuan, QStringLiteral("1234.567"), false,
         QStringLiteral(".|.|.|.|￥|1|2|3|4|5|6|"), 0, true},
        {"exact digits of a text", yuan, QStringLiteral("0.29"), false, QStringLiteral(".|.|.|.|.|.|.|.|￥|2|9|"), 0, true},
        {"leading zeros dropped", yuan, QStringLiteral("0012.3"), false,
         QStringLiteral(".|.|.|.|.|.|￥|1|2|3|0|"), 0, true},
        {"nine digits leave no box", yuan, QStringLiteral("123456789"), false,
         QStringLiteral("1|2|3|4|5|6|7|8|9|0|0|"), 0, true},
        {"one digit too many", yuan, QStringLiteral("1000000000"), false,
         QStringLiteral("0|0|0|0|0|0|0|0|0|0|0|"), 1, true},
        {"two digits too many", yuan, QStringLiteral("98765432101.25"), false,
         QStringLiteral("7|6|5|4|3|2|1|0|1|2|5|"), 2, true},
        {"no sheep", yuan, QStringLiteral("1234.5"), true, QStringLiteral(".|.|.|.|.|1|2|3|4|5|0|"), 0, true},
        {"Latin code", QStringLiteral("USD"), QStringLiteral("88"), false,
         QStringLiteral(".|.|.|.|.|.|USD|8|8|0|0|"), 0, true},
        {"the form's sign when none given", QString(), QStringLiteral("7"), false,
         QStringLiteral(".|.|.|.|.|.|.|HK$|7|0|0|"), 0, true},
        {"zero clears", yuan, QStringLiteral("0"), false, QStringLiteral(".|.|.|.|.|.|.|.|.|.|.|"), 0, false},
        {"negative clears", yuan, QStringLiteral("-12"), false, QStringLiteral(".|.|.|.|.|.|.|.|.|.|.|"), 0, false},
        {"no number clears", yuan, QStringLiteral("abc"), false, QStringLiteral(".|.|.|.|.|.|.|.|.|.|.|"), 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        const DigitBoxes boxes = digitBoxValues(c.abbreviation, c.amount, QStringLiteral("HK$"), c.noSheep, false);
        EXPECT_EQ(frontRow(boxes), c.row);
        EXPECT_EQ(boxes.overflowDigits, c.overflow);
        EXPECT_EQ(boxes.positive, c.positive);
        EXPECT_EQ(boxes.values.size(), 11);
    }
}

TEST(DigitBoxValues, CounterfoilRowRepeatsTheFrontRow)
{
    const DigitBoxes boxes = digitBoxValues(QStringLiteral("￥"), QStringLiteral("56.78"), QString(), false, true);
    EXPECT_EQ(boxes.values.size(), 22);
    EXPECT_EQ(frontRow(boxes, QStringLiteral("cg")), frontRow(boxes));
    EXPECT_EQ(frontRow(boxes), QStringLiteral(".|.|.|.|.|.|￥|5|6|7|8|"));
}

class RendererLookups : public EntryFixture {};

// Names come from outside; a quote in them must not change the statement.
TEST_F(RendererLookups, CurrencyLookupsBindTheirValues)
{
    EXPECT_EQ(getMoneyCodeByName(db(), QStringLiteral("人民币")), QStringLiteral("￥"));
    EXPECT_EQ(getMoneyCodeByName(db(), QStringLiteral("美元")), QStringLiteral("USD"));
    EXPECT_EQ(getMoneyCodeByName(db(), QStringLiteral("火星币")), QString());
    EXPECT_EQ(getMoneyCodeByName(db(), QStringLiteral("x' or '1'='1")), QString());
    EXPECT_EQ(getMoneyNameByCode(db(), QStringLiteral("USD")), QStringLiteral("美元"));
    EXPECT_EQ(getMoneyNameByCode(db(), QStringLiteral("x' or '1'='1")), QString());

    const QStringList names = loadMoneyTypeList(db());
    EXPECT_TRUE(names.contains(QStringLiteral("人民币")));
    EXPECT_TRUE(names.contains(QStringLiteral("港币")));
    EXPECT_EQ(names.size(), QSet<QString>(names.begin(), names.end()).size());

    db().execute(QStringLiteral("drop table coins"));
    EXPECT_EQ(getMoneyCodeByName(db(), QStringLiteral("人民币")), QString());
    EXPECT_THROW(getMoneyNameByCode(db(), QStringLiteral("￥")), DatabaseError);
    EXPECT_THROW(loadMoneyTypeList(db()), DatabaseError);
}

TEST_F(RendererLookups, CellsWidthAndPaperDirection)
{
    addTemplate(3, QStringLiteral("支票"), 0, 0, 1);
    addTemplate(4, QStringLiteral("支票"), 0, 0, QVariant());
    addLayout(3, {QStringLiteral("zdQY"), 1540});
    addLayout(3, {QStringLiteral("zdBY"), 1500});
    addLayout(4, {QStringLiteral("zdQY"), 1500});

    EXPECT_EQ(getCellsWidth(db(), 3, QStringLiteral("zdQY"), 35, QStringLiteral("zdBY")), 40);
    EXPECT_EQ(getCellsWidth(db(), 3, QStringLiteral("ZDBY"), 35, QStringLiteral("zdqy")), 40);
    EXPECT_EQ(getCellsWidth(db(), 4, QStringLiteral("zdQY"), 35, QStringLiteral("zdBY")), 35);
    EXPECT_EQ(getCellsWidth(db(), 9, QStringLiteral("zdQY"), 36, QStringLiteral("zdBY")), 36);

    EXPECT_EQ(getHXPaperIn(db(), 3), QStringLiteral("1"));
    EXPECT_EQ(getHXPaperIn(db(), 4), QString());
    EXPECT_EQ(getHXPaperIn(db(), 9), QString());

    db().execute(QStringLiteral("drop table CKControl"));
    EXPECT_EQ(getCellsWidth(db(), 3, QStringLiteral("zdQY"), 35, QStringLiteral("zdBY")), 0);
}

namespace {

// A printed text as the tests expect it: position in 0.1 mm on the template.
struct Drawn {
    QString text;
    qint64 x;
    qint64 y;
    qreal size;
};

// RecordingPrinter's average character width at 600 dpi: half an em.
int averageWidth(qreal pointSize)
{
    return int(std::lround(pointSize * 600 / 144.0));
}

class ItemPrinterTest : public EntryFixture {
protected:
    void SetUp() override
    {
        EntryFixture::SetUp();
        addTemplate(kTemplate, QStringLiteral("支票"));
    }

    // Where a text of that size lands: the conversion plus the shift by its own font.
    QPoint pixels(qint64 x, qint64 y, qreal size) const
    {
        return QPoint(int(printerPixels(x, 600) + 2 * averageWidth(size)),
                      int(printerPixels(y, 600) - printer.offsetTop));
    }

    void expectDrawn(const QList<Drawn>& expected)
    {
        const QList<PrintEvent> texts = printer.texts();
        ASSERT_EQ(texts.size(), expected.size()) << (texts.isEmpty() ? std::string() : texts[0].text.toStdString());
        for (qsizetype i = 0; i < texts.size(); ++i) {
            SCOPED_TRACE(expected[i].text.toStdString());
            EXPECT_EQ(texts[i].text, expected[i].text);
            EXPECT_EQ(texts[i].font.pointSize, expected[i].size);
            EXPECT_EQ(texts[i].position, pixels(expected[i].x, expected[i].y, expected[i].size));
        }
    }

    static constexpr int kTemplate = 5;
    RecordingPrinter printer;
    ItemPrinter items{context, printer};
};

} // namespace

TEST_F(ItemPrinterTest, LaysOutLinesAsTheTemplateSays)
{
    const QString sep = QStringLiteral("##");
    struct Case {
        const char* label;
        Layout layout;
        QString value;
        QString separator;
        int xOffset;
        int yOffset;
        QList<Drawn> drawn;
    };
    auto layout = [](int size, const QString& breakNum, int breakFontSize, int lineHeight, const QString& fit = {}) {
        Layout l{QStringLiteral("zdItem"), 1000, 500, size};
        l.breakNum = breakNum;
        l.breakFontSize = breakFontSize;
        l.lineHeight = lineHeight;
        l.fitParam = fit;
        return l;
    };
    const Case cases[] = {
        {"trimmed, moved by the offsets", layout(9, {}, 9, 0), QStringLiteral("  中国银行 \t"), sep, 15, -20,
         {{QStringLiteral("中国银行"), 1015, 480, 9}}},
        {"spaces only", layout(9, {}, 9, 0), QStringLiteral("   "), sep, 0, 0, {}},
        {"two lines at the break size", layout(12, {}, 8, 40), QStringLiteral("第一行##第二行"), sep, 0, 0,
         {{QStringLiteral("第一行"), 1000, 500, 8}, {QStringLiteral("第二行"), 1000, 540, 8}}},
        {"no line pitch: 5 mm", layout(12, {}, 8, 0), QStringLiteral("上##下"), sep, 0, 0,
         {{QStringLiteral("上"), 1000, 500, 8}, {QStringLiteral("下"), 1000, 550, 8}}},
        {"empty line dropped", layout(9, {}, 9, 30), QStringLiteral("甲####乙"), sep, 0, 0,
         {{QStringLiteral("甲"), 1000, 500, 9}, {QStringLiteral("乙"), 1000, 530, 9}}},
        {"break size below 6", layout(9, {}, 4, 30), QStringLiteral("a##b"), sep, 0, 0,
         {{QStringLiteral("a"), 1000, 500, 6}, {QStringLiteral("b"), 1000, 530, 6}}},
        {"broken after 3 Chinese characters", layout(10, QStringLiteral("3"), 7, 35), QStringLiteral("ab中文字"), sep,
         0, 0, {{QStringLiteral("ab中文"), 1000, 500, 7}, {QStringLiteral("字"), 1000, 535, 7}}},
        {"fits in 3", layout(10, QStringLiteral("3"), 7, 35), QStringLiteral("中文字"), sep, 0, 0,
         {{QStringLiteral("中文字"), 1000, 500, 10}}},
        {"breaking inside explicit lines", layout(10, QStringLiteral("2"), 7, 35), QStringLiteral("一二三##四"), sep, 0,
         0,
         {{QStringLiteral("一二"), 1000, 500, 7}, {QStringLiteral("三"), 1000, 535, 7},
          {QStringLiteral("四"), 1000, 570, 7}}},
        {"leading space: no breaking", layout(10, QStringLiteral(" 5"), 7, 35), QStringLiteral("一二三四五六七"), sep,
         0, 0, {{QStringLiteral("一二三四五六七"), 1000, 500, 10}}},
        {"not a number: no breaking", layout(10, QStringLiteral("5a"), 7, 35), QStringLiteral("一二三四五六七"), sep,
         0, 0, {{QStringLiteral("一二三四五六七"), 1000, 500, 10}}},
        {"zero: no breaking", layout(10, QStringLiteral("0"), 7, 35), QStringLiteral("一二三四五六七"), sep, 0, 0,
         {{QStringLiteral("一二三四五六七"), 1000, 500, 10}}},
        {"no separator keeps the value whole", layout(9, {}, 9, 30), QStringLiteral("a##b"), QString(), 0, 0,
         {{QStringLiteral("a##b"), 1000, 500, 9}}},
        {"cells 4 mm apart", layout(9, {}, 9, 0, QStringLiteral("40")), QStringLiteral(" 100086 "), sep, 0, 0,
         {{QStringLiteral("1"), 1000, 500, 9},
          {QStringLiteral("0"), 1040, 500, 9},
          {QStringLiteral("0"), 1080, 500, 9},
          {QStringLiteral("0"), 1120, 500, 9},
          {QStringLiteral("8"), 1160, 500, 9},
          {QStringLiteral("6"), 1200, 500, 9}}},
        {"cells on each line", layout(9, {}, 6, 45, QStringLiteral("25")), QStringLiteral("AB##中"), sep, 0, 0,
         {{QStringLiteral("A"), 1000, 500, 6}, {QStringLiteral("B"), 1025, 500, 6}, {QStringLiteral("中"), 1000, 545, 6}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        db().execute(QStringLiteral("delete from CKControl"));
        addLayout(kTemplate, c.layout);
        printer.events.clear();
        EXPECT_TRUE(items.printItem(kTemplate, c.xOffset, c.separator, c.value, QStringLiteral("ZDITEM"), c.yOffset));
        expectDrawn(c.drawn);
    }
    EXPECT_TRUE(messages.messages.isEmpty());
}

// The shift by twice the average character width belongs to the item's own font: a
// large font left on the canvas by an earlier item must not push this one right.
TEST_F(ItemPrinterTest, ShiftUsesTheItemsOwnFont)
{
    addLayout(kTemplate, {QStringLiteral("zdSmall"), 800, 300, 9});
    addLayout(kTemplate, {QStringLiteral("zdCells"), 800, 400, 9, QStringLiteral("宋体"), {}, {}, 9, 0, QStringLiteral("50")});
    PrintFont large = initialPrintFont();
    large.pointSize = 36;
    for (const char* name : {"ZDSMALL", "ZDCELLS"}) {
        SCOPED_TRACE(name);
        printer.events.clear();
        printer.selectFont(large);
        ASSERT_TRUE(items.printItem(kTemplate, 0, QStringLiteral("##"), QStringLiteral("12"), QLatin1String(name), 0));
        const QList<PrintEvent> texts = printer.texts();
        ASSERT_FALSE(texts.isEmpty());
        EXPECT_EQ(texts[0].position.x(), printerPixels(800, 600) + 2 * averageWidth(9));
    }
}

TEST_F(ItemPrinterTest, SelectsTheItemsFontAndColour)
{
    struct Case {
        const char* label;
        QString fontName;
        QString color;
        int bold;
        int italic;
        int underline;
        QString fit;
        PrintFont font;
    };
    auto font = [](const QString& family, QColor color, bool bold, bool italic, bool underline) {
        PrintFont f;
        f.family = family;
        f.pointSize = 11;
        f.color = color;
        f.bold = bold;
        f.italic = italic;
        f.underline = underline;
        return f;
    };
    const QString song = QStringLiteral("宋体");
    const Case cases[] = {
        {"red bold", QStringLiteral("黑体"), QStringLiteral("255"), 1, 0, 0, {}, font(QStringLiteral("黑体"), Qt::red, true, false, false)},
        {"styles above 0 only", QStringLiteral("Arial"), QStringLiteral("16711680"), -1, 2, 1, {}, font(QStringLiteral("Arial"), Qt::blue, false, true, true)},
        {"empty face and colour", QString(), QString(), 0, 0, 0, {}, font(song, Qt::black, false, false, false)},
        {"empty face in cells", QString(), QString(), 0, 0, 0, QStringLiteral("30"), font(song, Qt::black, false, false, false)},
        {"window text", song, QStringLiteral("-2147483640"), 0, 0, 0, {}, font(song, Qt::black, false, false, false)},
        {"not a colour", song, QStringLiteral("blue"), 0, 0, 0, QStringLiteral("30"), font(song, Qt::black, false, false, false)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        db().execute(QStringLiteral("delete from CKControl"));
        Layout l{QStringLiteral("zdItem"), 100, 100, 11, c.fontName, c.color};
        l.bold = c.bold;
        l.italic = c.italic;
        l.underline = c.underline;
        l.fitParam = c.fit;
        addLayout(kTemplate, l);
        printer.events.clear();
        ASSERT_TRUE(items.printItem(kTemplate, 0, QStringLiteral("##"), QStringLiteral("X"), QStringLiteral("ZDITEM"), 0));
        ASSERT_EQ(printer.texts().size(), 1);
        EXPECT_EQ(printer.texts()[0].font, c.font);
    }
}

// The box holding the currency abbreviation moves so that the sign sits in its box.
TEST_F(ItemPrinterTest, CurrencyAbbreviationMovesItsBox)
{
    struct Case {
        const char* label;
        QString abbreviation;
        int pitch;
        QString value;
        qint64 x; // where the single line lands, 0.1 mm
    };
    const Case cases[] = {
        {"double-width sign: 1 mm left", QStringLiteral("￥"), 40, QStringLiteral("￥"), 990},
        {"three letters: one box left, 0.4 mm right", QStringLiteral("USD"), 40, QStringLiteral("USD"), 964},
        {"two letters: 0.4 mm right", QStringLiteral("HK"), 40, QStringLiteral("HK"), 1004},
        {"one letter stays", QStringLiteral("$"), 40, QStringLiteral("$"), 1000},
        {"no pitch known", QStringLiteral("USD"), 0, QStringLiteral("USD"), 1000},
        {"trimmed value compared", QStringLiteral("USD"), 40, QStringLiteral(" USD "), 964},
        {"other values stay", QStringLiteral("USD"), 40, QStringLiteral("USD1"), 1000},
    };
    addLayout(kTemplate, {QStringLiteral("zdWY"), 1000, 600, 9});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        context.currentCurrencyAbbreviation = c.abbreviation;
        context.currentDigitBoxPitch = c.pitch;
        printer.events.clear();
        ASSERT_TRUE(items.printItem(kTemplate, 0, QStringLiteral("##"), c.value, QStringLiteral("ZDWY"), 0));
        ASSERT_EQ(printer.texts().size(), 1);
        EXPECT_EQ(printer.texts()[0].position, pixels(c.x, 600, 9));
    }

    // Only a value that stays one line is a sign.
    context.currentCurrencyAbbreviation = QStringLiteral("￥");
    printer.events.clear();
    ASSERT_TRUE(items.printItem(kTemplate, 0, QStringLiteral("##"), QStringLiteral("￥##￥"), QStringLiteral("ZDWY"), 0));
    ASSERT_EQ(printer.texts().size(), 2);
    EXPECT_EQ(printer.texts()[0].position.x(), pixels(1000, 600, 9).x());
}

// Above the printable area a plain text is held just outside it; text in cells is not.
TEST_F(ItemPrinterTest, TopOffsetAndItsLimit)
{
    printer.offsetTop = 100;
    addLayout(kTemplate, {QStringLiteral("zdHigh"), 200, 10, 9});
    addLayout(kTemplate, {QStringLiteral("zdCells"), 200, 10, 9, QStringLiteral("宋体"), {}, {}, 9, 0, QStringLiteral("30")});
    addLayout(kTemplate, {QStringLiteral("zdLow"), 200, 300, 9});
    for (const char* name : {"ZDHIGH", "ZDCELLS", "ZDLOW"})
        ASSERT_TRUE(items.printItem(kTemplate, 0, QStringLiteral("##"), QStringLiteral("7"), QLatin1String(name), 0));
    const QList<PrintEvent> texts = printer.texts();
    ASSERT_EQ(texts.size(), 3);
    EXPECT_EQ(texts[0].position.y(), -3);
    EXPECT_EQ(texts[1].position.y(), printerPixels(10, 600) - 100);
    EXPECT_EQ(texts[2].position.y(), printerPixels(300, 600) - 100);
}

TEST_F(ItemPrinterTest, MissingLayoutPrintsNothingQuietly)
{
    EXPECT_TRUE(items.printItem(kTemplate, 0, QStringLiteral("##"), QStringLiteral("值"), QStringLiteral("ZDNONE"), 0));
    EXPECT_TRUE(printer.events.isEmpty());
    EXPECT_TRUE(messages.messages.isEmpty());
}

TEST_F(ItemPrinterTest, FailuresNameTheItem)
{
    addLayout(kTemplate, {QStringLiteral("zdPost"), 100, 100, 9, QStringLiteral("宋体"), {}, {}, 9, 0, QStringLiteral("4x")});
    EXPECT_FALSE(items.printItem(kTemplate, 0, QStringLiteral("##"), QStringLiteral("100086##100087"), QStringLiteral("ZDPOST"), 0));
    EXPECT_TRUE(printer.texts().isEmpty());

    db().execute(QStringLiteral("drop table CKControl"));
    EXPECT_FALSE(items.printItem(kTemplate, 0, QStringLiteral("##"), QStringLiteral("x"), QStringLiteral("ZDREMARK"), 0));

    ASSERT_EQ(messages.messages.size(), 2);
    EXPECT_EQ(messages.messages[0].text, QStringLiteral("打印ZDPOST出现错误！"));
    EXPECT_EQ(messages.messages[0].caption, QStringLiteral("错误"));
    EXPECT_EQ(messages.messages[1].text, QStringLiteral("打印ZDREMARK出现错误！"));
}
