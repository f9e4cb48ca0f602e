#include "platform/printing/RecordingPrinter.h"

#include <gtest/gtest.h>

using namespace slipcraft;

namespace slipcraft {

void PrintTo(const PrintEvent& e, std::ostream* os)
{
    *os << "{kind " << int(e.kind) << ", copies " << e.copies << ", text \"" << e.text.toStdString()
        << "\", font " << e.font.family.toStdString() << ' ' << e.font.pointSize << ", at ("
        << e.position.x() << ", " << e.position.y() << ")}";
}

} // namespace slipcraft

namespace {

PrintEvent event(PrintEvent::Kind kind)
{
    PrintEvent e;
    e.kind = kind;
    return e;
}

} // namespace

TEST(RecordingPrinter, RecordsAJobInOrder)
{
    RecordingPrinter printer;
    PrintFont heading;
    heading.family = QStringLiteral("黑体");
    heading.pointSize = 12;
    heading.bold = true;
    heading.color = Qt::red;
    const PageSetup setup{QSizeF(230, 80), QPageLayout::Landscape};

    printer.setPageSetup(setup);
    printer.setCopyCount(2);
    ASSERT_TRUE(printer.beginDocument(QStringLiteral("支票")));
    printer.drawText(10, 20, QStringLiteral("初始"));
    printer.selectFont(heading);
    printer.drawText(-3, 4000, QStringLiteral("壹万元整"));
    ASSERT_TRUE(printer.newPage());
    printer.drawText(0, 0, QString());
    ASSERT_TRUE(printer.endDocument());

    QList<PrintEvent> expected;
    expected << event(PrintEvent::Kind::PageSetup) << event(PrintEvent::Kind::CopyCount)
             << event(PrintEvent::Kind::Begin) << event(PrintEvent::Kind::DrawText)
             << event(PrintEvent::Kind::SelectFont) << event(PrintEvent::Kind::DrawText)
             << event(PrintEvent::Kind::NewPage) << event(PrintEvent::Kind::DrawText)
             << event(PrintEvent::Kind::End);
    expected[0].pageSetup = setup;
    expected[1].copies = 2;
    expected[2].text = QStringLiteral("支票");
    expected[3] = printer.texts().at(0); // checked below
    expected[4].font = heading;
    expected[5].text = QStringLiteral("壹万元整");
    expected[5].font = heading;
    expected[5].position = QPoint(-3, 4000);
    expected[7].font = heading;
    EXPECT_EQ(printer.events, expected);

    const PrintEvent first = printer.texts().at(0);
    EXPECT_EQ(first.text, QStringLiteral("初始"));
    EXPECT_EQ(first.position, QPoint(10, 20));
    EXPECT_EQ(first.font, initialPrintFont());
    EXPECT_EQ(printer.texts().size(), 3);
}

TEST(RecordingPrinter, ResultsFollowARealPrinter)
{
    RecordingPrinter printer;
    EXPECT_FALSE(printer.newPage());
    EXPECT_FALSE(printer.errorText().isEmpty());
    EXPECT_FALSE(printer.endDocument());
    ASSERT_TRUE(printer.beginDocument(QStringLiteral("A")));
    EXPECT_TRUE(printer.errorText().isEmpty());
    EXPECT_FALSE(printer.beginDocument(QStringLiteral("B")));
    printer.abort();
    EXPECT_FALSE(printer.isPrinting());

    printer.failBeginWith = QStringLiteral("打印机缺纸");
    EXPECT_FALSE(printer.beginDocument(QStringLiteral("C")));
    EXPECT_EQ(printer.errorText(), QStringLiteral("打印机缺纸"));
    EXPECT_FALSE(printer.isPrinting());
    // Failed calls are recorded too.
    EXPECT_EQ(printer.events.size(), 6);
    EXPECT_EQ(printer.events.last().text, QStringLiteral("C"));
}

TEST(RecordingPrinter, AverageCharWidthIsHalfAnEm)
{
    struct Case {
        qreal pointSize;
        int dpiX;
        int expected;
    };
    const Case cases[] = {
        {9, 600, 38},     // 37.5 rounds up
        {12, 600, 50},
        {10.5, 300, 22},  // 21.875
        {9, 1200, 75},
        {0, 600, 0},
    };
    for (const Case& c : cases) {
        RecordingPrinter printer;
        printer.dpiX = c.dpiX;
        printer.dpiY = 1; // only the horizontal resolution counts
        PrintFont font;
        font.pointSize = c.pointSize;
        printer.selectFont(font);
        EXPECT_EQ(printer.averageCharWidth(), c.expected) << c.pointSize << " pt at " << c.dpiX;
    }
    RecordingPrinter fresh;
    EXPECT_EQ(fresh.averageCharWidth(), 38);
    EXPECT_EQ(fresh.resolutionX(), 600);
    EXPECT_EQ(fresh.resolutionY(), 600);
    EXPECT_EQ(fresh.physicalOffsetTop(), 0);
}
