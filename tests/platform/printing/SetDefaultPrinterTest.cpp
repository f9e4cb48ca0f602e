#include "FakePrintService.h"

#include <gtest/gtest.h>

using namespace slipcraft;

TEST(SetDefaultPrinter, MatchesWithoutRegardToCaseInListOrder)
{
    const QStringList names{QStringLiteral("HP LaserJet"), QStringLiteral("Epson LQ-630K"),
                            QStringLiteral("epson lq-630k"), QStringLiteral("PDF文件")};
    struct Case {
        QString name;
        QString stored;
        bool selected;
        QString current;
    };
    const Case cases[] = {
        {QStringLiteral("EPSON LQ-630K"), QString(), true, QStringLiteral("Epson LQ-630K")},
        {QStringLiteral("epson lq-630k"), QString(), true, QStringLiteral("Epson LQ-630K")},
        {QStringLiteral("pdf文件"), QString(), true, QStringLiteral("PDF文件")},
        {QStringLiteral(" \tEpson LQ-630K\r\n"), QString(), true, QStringLiteral("Epson LQ-630K")},
        // Only codes up to 32 are blanks here.
        {QStringLiteral("\u3000Epson LQ-630K"), QString(), false, QStringLiteral("HP LaserJet")},
        {QString(), QStringLiteral("pdf文件"), true, QStringLiteral("PDF文件")},
        {QStringLiteral("  "), QStringLiteral("epson LQ-630K"), true, QStringLiteral("Epson LQ-630K")},
        // The stored name stands in only for an empty one.
        {QStringLiteral("Canon"), QStringLiteral("PDF文件"), false, QStringLiteral("HP LaserJet")},
        {QString(), QString(), false, QStringLiteral("HP LaserJet")},
        {QStringLiteral("Epson"), QString(), false, QStringLiteral("HP LaserJet")},
    };
    for (const Case& c : cases) {
        FakePrintService service(names);
        SCOPED_TRACE(c.name.toStdString() + " / " + c.stored.toStdString());
        EXPECT_EQ(setDefaultPrinter(service, c.name, c.stored), c.selected);
        EXPECT_EQ(service.currentPrinter(), c.current);
    }
}
