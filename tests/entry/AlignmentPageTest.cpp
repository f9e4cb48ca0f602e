#include "EntryFixture.h"

#include "entry/PrintRenderer.h"
#include "entry/TestPage.h"
#include "platform/printing/PdfPrinter.h"

#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <cmath>

using namespace slipcraft;

namespace {

constexpr int kTemplate = 8;
constexpr int kXMove = 15;
constexpr int kYMove = -10;

int widthAt(double mm, int dpi)
{
    return std::max(1, int(std::lround(mm * dpi / 25.4)));
}

class AlignmentPageTest : public EntryFixture {
protected:
    void SetUp() override
    {
        EntryFixture::SetUp();
        addTemplate(kTemplate, QStringLiteral("进账单"), kXMove, kYMove, 0, 2300, 1270);
        addItem(QStringLiteral("进账单"), QStringLiteral("zdInComp"), QStringLiteral("TEXT"), 1, 1, QStringLiteral("收款人"),
                QStringLiteral("北京某某公司"));
        addItem(QStringLiteral("进账单"), QStringLiteral("zdJE"), QString(), 2, 1, QStringLiteral("金额"));
        addItem(QStringLiteral("进账单"), QStringLiteral("imgLogo"), QStringLiteral("IMAGE"), 3, 1, QStringLiteral("标志"));
        // Box edges between the millimetre lines, so that each can be told apart on paper.
        addLayout(kTemplate, {QStringLiteral("zdInComp"), 1220, 185});
        addLayout(kTemplate, {QStringLiteral("zdJE"), 1800, 300});
        addLayout(kTemplate, {QStringLiteral("imgLogo"), 100, 100});
        db().execute(QStringLiteral("update CKControl set CtlW=500, CtlH=80 where CtlName in ('ZDINCOMP', 'IMGLOGO')"));
    }
};

// Darkness (0 white … 255 black) of a raster line of the page, between two positions
// in millimetres at 254 dots per inch: its sum, and where its centre lies.
struct Ink {
    double total = 0;
    double centreMm = 0;
};

Ink inkAcross(const QImage& page, bool alongRow, double fixedMm, double fromMm, double toMm)
{
    const int fixed = int(fixedMm * 10);
    Ink ink;
    double moment = 0;
    for (int i = int(std::lround(fromMm * 10)); i <= int(std::lround(toMm * 10)); ++i) {
        const int gray = alongRow ? qGray(page.pixel(i, fixed)) : qGray(page.pixel(fixed, i));
        const double dark = 255 - gray;
        ink.total += dark;
        moment += dark * (i + 0.5) / 10;
    }
    ink.centreMm = ink.total > 0 ? moment / ink.total : -1;
    return ink;
}

} // namespace

TEST_F(AlignmentPageTest, DrawsTheGridAndTheBoxesUnderTheItems)
{
    for (const int top : {0, 24}) {
        SCOPED_TRACE(top);
        RecordingPrinter printer;
        printer.offsetTop = top;
        ASSERT_EQ(printAlignmentPage(context, kTemplate, printer), QString());
        const auto x = [](qint64 tenthMm) { return int(printerPixels(tenthMm, 600)); };
        const auto y = [top](qint64 tenthMm) { return int(printerPixels(tenthMm, 600)) - top; };

        QList<PrintEvent> vertical;
        QList<PrintEvent> horizontal;
        QList<PrintEvent> rest;
        for (const PrintEvent& e : printer.shapes()) {
            if (e.kind == PrintEvent::Kind::DrawLine && vertical.size() < 231 && horizontal.isEmpty())
                vertical.append(e);
            else if (e.kind == PrintEvent::Kind::DrawLine && horizontal.size() < 128)
                horizontal.append(e);
            else
                rest.append(e);
        }
        ASSERT_EQ(vertical.size(), 231);
        ASSERT_EQ(horizontal.size(), 128);
        const std::pair<int, LineStyle> verticalCases[] = {{0, kGridCmLine},  {1, kGridMmLine},    {5, kGridHalfCmLine},
                                                           {10, kGridCmLine}, {123, kGridMmLine}, {230, kGridCmLine}};
        for (const auto& [mm, style] : verticalCases) {
            const PrintEvent& line = vertical[mm];
            EXPECT_EQ(line.position, QPoint(x(mm * 10), y(0))) << mm;
            EXPECT_EQ(line.end, QPoint(x(mm * 10), y(1270))) << mm;
            EXPECT_EQ(line.lineWidth, widthAt(style.widthMm, 600)) << mm;
            EXPECT_EQ(line.lineColor, style.color) << mm;
        }
        const std::pair<int, LineStyle> horizontalCases[] = {
            {0, kGridCmLine}, {7, kGridMmLine}, {15, kGridHalfCmLine}, {127, kGridMmLine}};
        for (const auto& [mm, style] : horizontalCases) {
            const PrintEvent& line = horizontal[mm];
            EXPECT_EQ(line.position, QPoint(x(0), y(mm * 10))) << mm;
            EXPECT_EQ(line.end, QPoint(x(2300), y(mm * 10))) << mm;
            EXPECT_EQ(line.lineWidth, widthAt(style.widthMm, 600)) << mm;
            EXPECT_EQ(line.lineColor, style.color) << mm;
        }

        // The text item's box where it prints; a cross at the corner of the item without
        // a size; nothing for the picture, which does not print.
        const int boxLine = widthAt(kItemBoxLine.widthMm, 600);
        const qint64 left = 1220 + kXMove;
        const qint64 upper = 185 + kYMove;
        ASSERT_EQ(rest.size(), 3);
        EXPECT_EQ(rest[0].kind, PrintEvent::Kind::DrawRect);
        EXPECT_EQ(rest[0].position, QPoint(x(left), y(upper)));
        EXPECT_EQ(rest[0].size, QSize(x(left + 500) - x(left), y(upper + 80) - y(upper)));
        EXPECT_EQ(rest[0].lineWidth, boxLine);
        EXPECT_EQ(rest[0].lineColor, QColor(Qt::black));
        const qint64 cornerX = 1800 + kXMove;
        const qint64 cornerY = 300 + kYMove;
        EXPECT_EQ(rest[1].lineWidth, boxLine);
        EXPECT_EQ(rest[1].position, QPoint(x(cornerX - 10), y(cornerY)));
        EXPECT_EQ(rest[1].end, QPoint(x(cornerX + 10), y(cornerY)));
        EXPECT_EQ(rest[2].position, QPoint(x(cornerX), y(cornerY - 10)));
        EXPECT_EQ(rest[2].end, QPoint(x(cornerX), y(cornerY + 10)));

        // The items print last, exactly as on the plain test page.
        RecordingPrinter plain;
        plain.offsetTop = top;
        ASSERT_EQ(printTestPage(context, kTemplate, plain), QString());
        const QList<PrintEvent> items = plain.texts();
        const QList<PrintEvent> texts = printer.texts();
        ASSERT_EQ(items.size(), 2);
        EXPECT_EQ(texts.mid(texts.size() - items.size()), items);
        EXPECT_TRUE(std::any_of(texts.begin(), texts.end(), [](const PrintEvent& e) {
            return e.text == QStringLiteral("对位页：进账单（测试）  整体右移 15  整体下移 -10（0.1毫米）");
        }));
        EXPECT_EQ(printer.events[2].kind, PrintEvent::Kind::Begin);
        EXPECT_EQ(printer.events[2].text, QStringLiteral("对位页"));
        EXPECT_EQ(printer.events.last().kind, PrintEvent::Kind::End);
    }
    EXPECT_TRUE(messages.messages.isEmpty());
}

// End to end: on the PDF printer every grid line and box edge lies where it belongs on
// the paper, to a tenth of a millimetre.
TEST_F(AlignmentPageTest, LinesLandOnTheirMillimetresOnPaper)
{
    QTemporaryDir dir;
    PdfPrinter printer(dir.filePath(QStringLiteral("Output")));
    const QString file = dir.filePath(QStringLiteral("alignment.pdf"));
    printer.setOutputFile(file);
    ASSERT_EQ(printAlignmentPage(context, kTemplate, printer), QString());

    QProcess render;
    render.start(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("254"), QStringLiteral("-gray"),
                                               QStringLiteral("-singlefile"), file, dir.filePath(QStringLiteral("page"))});
    ASSERT_TRUE(render.waitForFinished(60000));
    ASSERT_EQ(render.exitCode(), 0) << render.readAllStandardError().toStdString();
    const QImage page(dir.filePath(QStringLiteral("page.pgm")));
    // 230 × 127 mm, give or take the renderer's rounding up.
    ASSERT_NEAR(page.width(), 2300, 1);
    ASSERT_NEAR(page.height(), 1270, 1);

    constexpr double kTolerance = 0.1;
    // The lightest grid line, a tenth of a millimetre of grey 170, is about one raster
    // pixel 85 dark; blank paper stays near 0.
    constexpr double kLineInk = 50;
    constexpr double kBlank = 20;
    // Rows and columns that cross no text: between the labels and away from the items.
    for (int mm = 1; mm < 230; ++mm) {
        const Ink line = inkAcross(page, true, 65.5, mm - 0.4, mm + 0.4);
        EXPECT_GT(line.total, kLineInk) << "vertical line " << mm;
        EXPECT_NEAR(line.centreMm, mm, kTolerance) << "vertical line " << mm;
        EXPECT_LT(inkAcross(page, true, 65.5, mm + 0.45, mm + 0.55).total, kBlank) << "after vertical line " << mm;
    }
    for (int mm = 1; mm < 127; ++mm) {
        const Ink line = inkAcross(page, false, 225.5, mm - 0.4, mm + 0.4);
        EXPECT_GT(line.total, kLineInk) << "horizontal line " << mm;
        EXPECT_NEAR(line.centreMm, mm, kTolerance) << "horizontal line " << mm;
        EXPECT_LT(inkAcross(page, false, 225.5, mm + 0.45, mm + 0.55).total, kBlank) << "after horizontal line " << mm;
    }

    // The box of the text item: 123.5 to 173.5 mm across, 17.5 to 25.5 mm down.
    const double left = (1220 + kXMove) / 10.0;
    const double top = (185 + kYMove) / 10.0;
    for (const double edge : {left, left + 50}) {
        const Ink ink = inkAcross(page, true, top + 6.05, edge - 0.3, edge + 0.3);
        EXPECT_GT(ink.total, 500) << edge; // black, 0.3 mm
        EXPECT_NEAR(ink.centreMm, edge, kTolerance) << edge;
    }
    for (const double edge : {top, top + 8}) {
        const Ink ink = inkAcross(page, false, left + 47.05, edge - 0.3, edge + 0.3);
        EXPECT_GT(ink.total, 500) << edge; // black, 0.3 mm
        EXPECT_NEAR(ink.centreMm, edge, kTolerance) << edge;
    }
}
