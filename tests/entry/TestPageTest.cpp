#include "EntryFixture.h"

#include "entry/PrintRenderer.h"
#include "entry/TestPage.h"

#include <cmath>

using namespace slipcraft;

namespace {

class TestPageTest : public EntryFixture {
protected:
    void SetUp() override
    {
        EntryFixture::SetUp();
        addTemplate(kTemplate, QStringLiteral("进账单"), 5, 10, 1, 2000, 1000);
        addItem(QStringLiteral("进账单"), QStringLiteral("zdInComp"), QStringLiteral("TEXT"), 1, 1, QStringLiteral("收款人"),
                QStringLiteral("北京某某公司"));
        addItem(QStringLiteral("进账单"), QStringLiteral("zdJE"), QString(), 2, 1, QStringLiteral("金额"));
        addItem(QStringLiteral("进账单"), QStringLiteral("defCheck0"), QStringLiteral("CHECKBOX"), 3, 1, QStringLiteral("现金"));
        addItem(QStringLiteral("进账单"), QStringLiteral("imgLogo"), QStringLiteral("IMAGE"), 4, 1, QStringLiteral("标志"));
        addItem(QStringLiteral("支票"), QStringLiteral("zdJE"), QString(), 2, 1, QStringLiteral("支票金额"), QStringLiteral("9.99"));

        addLayout(kTemplate, {QStringLiteral("zdInComp"), 300, 200, 10});
        addLayout(kTemplate, {QStringLiteral("zdJE"), 1200, 300, 10});
        Layout captionOnly{QStringLiteral("zdNote"), 300, 600, 9};
        captionOnly.caption = QStringLiteral("附言##第二行");
        captionOnly.lineHeight = 40;
        addLayout(kTemplate, captionOnly);
        Layout off{QStringLiteral("zdOff"), 300, 700, 9};
        off.caption = QStringLiteral("不打印");
        off.needPrint = 0;
        addLayout(kTemplate, off);
        addLayout(kTemplate, {QStringLiteral("defCheck0"), 1800, 100, 9});
        Layout logo{QStringLiteral("imgLogo"), 100, 100, 9};
        logo.caption = QStringLiteral("图");
        addLayout(kTemplate, logo);
    }

    static constexpr int kTemplate = 8;
    RecordingPrinter printer;
};

} // namespace

TEST_F(TestPageTest, PrintsEachPrintableItemsSampleOnOnePage)
{
    EXPECT_EQ(printTestPage(context, kTemplate, printer), QString());

    const auto at = [](qint64 x, qint64 y) {
        return QPoint(int(printerPixels(x + 5, 600) + 2 * std::lround(9 * 600 / 144.0)), int(printerPixels(y + 10, 600)));
    };
    const QList<std::pair<QString, QPoint>> expected = {
        {QStringLiteral("北京某某公司"), at(300, 200) + QPoint(2 * 4, 0)}, // 10 pt: 42 pixels, not 38
        {QStringLiteral("金额"), at(1200, 300) + QPoint(2 * 4, 0)},
        {QStringLiteral("附言"), at(300, 600)},
        {QStringLiteral("第二行"), at(300, 640)},
        {QStringLiteral("√"), at(1800, 100)},
    };
    const QList<PrintEvent> texts = printer.texts();
    ASSERT_EQ(texts.size(), expected.size());
    for (qsizetype i = 0; i < texts.size(); ++i) {
        EXPECT_EQ(texts[i].text, expected[i].first);
        EXPECT_EQ(texts[i].position, expected[i].second) << expected[i].first.toStdString();
    }

    QList<PrintEvent::Kind> kinds;
    for (const PrintEvent& e : printer.events)
        if (e.kind != PrintEvent::Kind::SelectFont && e.kind != PrintEvent::Kind::DrawText)
            kinds.append(e.kind);
    EXPECT_EQ(kinds, (QList<PrintEvent::Kind>{PrintEvent::Kind::PageSetup, PrintEvent::Kind::CopyCount,
                                              PrintEvent::Kind::Begin, PrintEvent::Kind::End}));
    EXPECT_EQ(printer.events[0].pageSetup, (PageSetup{QSizeF(100, 200), QPageLayout::Landscape}));
    EXPECT_EQ(printer.events[1].copies, 1);
    EXPECT_TRUE(messages.messages.isEmpty());
}

TEST_F(TestPageTest, ReportsWhatStoppedIt)
{
    EXPECT_EQ(printTestPage(context, 99, printer), QStringLiteral("没有编号为 99 的模板。"));
    EXPECT_TRUE(printer.events.isEmpty());

    printer.failBeginWith = QStringLiteral("打印机脱机");
    EXPECT_EQ(printTestPage(context, kTemplate, printer), QStringLiteral("打印机脱机"));
    EXPECT_TRUE(printer.texts().isEmpty());

    db().execute(QStringLiteral("drop table CKControl"));
    EXPECT_TRUE(printTestPage(context, kTemplate, printer).startsWith(QStringLiteral("无法读取模板：")));
}
