#include "EntryFixture.h"

#include "entry/PrintPreview.h"
#include "entry/PrintPreviewLogic.h"
#include "wording/Functions.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>

using namespace slipcraft;

namespace {

constexpr int kDpi = 96;
constexpr int kRuler = kPreviewRulerThickness;

int px(int tenthMm)
{
    return tenthMmToPixels(tenthMm, kDpi);
}

PreviewItemRow row(const QString& text, int x, int y)
{
    PreviewItemRow r;
    r.text = text;
    r.x = x;
    r.y = y;
    r.width = 120;
    r.height = 20;
    r.fontSize = 10;
    r.fontName = QStringLiteral("宋体");
    return r;
}

PreviewText shown(const QString& name, const QString& text, int x, int y)
{
    return {name, text, QPoint(x, y), QSize(120, 20), 10, QStringLiteral("宋体")};
}

} // namespace

TEST(PreviewLayout, ShowsEachRowAsTheTemplatePrintsIt)
{
    PreviewItemRow plain = row(QStringLiteral("北京某某公司"), 300, 200);
    PreviewItemRow broken = row(QStringLiteral("ab中文字"), 400, 500);
    broken.breakNum = QStringLiteral("3");
    broken.lineHeight = 60;
    PreviewItemRow defaultPitch = broken;
    defaultPitch.lineHeight = 0;
    PreviewItemRow blankLine = row(QStringLiteral("ab  cd"), 100, 100);
    blankLine.breakNum = QStringLiteral("1");
    blankLine.lineHeight = 40;
    PreviewItemRow cells = row(QStringLiteral("123"), 200, 800);
    cells.fitParam = QStringLiteral("40");
    PreviewItemRow tinyCells = row(QStringLiteral("123"), 200, 800);
    tinyCells.fitParam = QStringLiteral("2"); // 0.2 mm: one pixel
    PreviewItemRow brokenCells = row(QStringLiteral("12345"), 200, 800);
    brokenCells.breakNum = QStringLiteral("1");
    brokenCells.fitParam = QStringLiteral("40");
    brokenCells.lineHeight = 60;
    PreviewItemRow badBreak = row(QStringLiteral("ab中文字"), 300, 300);
    badBreak.breakNum = QStringLiteral("3行");
    PreviewItemRow badPitch = row(QStringLiteral("123"), 300, 300);
    badPitch.fitParam = QStringLiteral("4.5");

    struct Case {
        const char* what;
        PreviewItemRow row;
        QList<PreviewText> expected;
    };
    const Case cases[] = {
        {"plain", plain, {shown(QStringLiteral("lb1"), plain.text, kRuler + px(300), kRuler + px(200))}},
        {"empty", row(QString(), 300, 200), {}},
        {"two lines",
         broken,
         {shown(QStringLiteral("lb1_0"), QStringLiteral("ab中文"), kRuler + px(400), kRuler + px(500)),
          shown(QStringLiteral("lb1_1"), QStringLiteral("字"), kRuler + px(400), kRuler + px(500) + px(60))}},
        {"line pitch 0 is 5 mm",
         defaultPitch,
         {shown(QStringLiteral("lb1_0"), QStringLiteral("ab中文"), kRuler + px(400), kRuler + px(500)),
          shown(QStringLiteral("lb1_1"), QStringLiteral("字"), kRuler + px(400), kRuler + px(500) + px(50))}},
        {"blank line keeps its place",
         blankLine,
         {shown(QStringLiteral("lb1_0"), QStringLiteral("ab"), kRuler + px(100), kRuler + px(100)),
          shown(QStringLiteral("lb1_2"), QStringLiteral("cd"), kRuler + px(100), kRuler + px(100) + 2 * px(40))}},
        {"cells",
         cells,
         {shown(QStringLiteral("lb1_0"), QStringLiteral("1"), kRuler + px(200), kRuler + px(800)),
          shown(QStringLiteral("lb1_1"), QStringLiteral("2"), kRuler + px(200) + px(40), kRuler + px(800)),
          shown(QStringLiteral("lb1_2"), QStringLiteral("3"), kRuler + px(200) + 2 * px(40), kRuler + px(800))}},
        {"cells of one pixel", tinyCells, {shown(QStringLiteral("lb1"), QStringLiteral("123"), kRuler + px(200), kRuler + px(800))}},
        {"lines in cells",
         brokenCells,
         {shown(QStringLiteral("lb1_0_0"), QStringLiteral("1"), kRuler + px(200), kRuler + px(800)),
          shown(QStringLiteral("lb1_0_1"), QStringLiteral("2"), kRuler + px(200) + px(40), kRuler + px(800)),
          shown(QStringLiteral("lb1_1_0"), QStringLiteral("3"), kRuler + px(200), kRuler + px(800) + px(60)),
          shown(QStringLiteral("lb1_1_1"), QStringLiteral("4"), kRuler + px(200) + px(40), kRuler + px(800) + px(60)),
          shown(QStringLiteral("lb1_2_0"), QStringLiteral("5"), kRuler + px(200), kRuler + px(800) + 2 * px(60))}},
        // Neither stops the preview: the value counts as 0.
        {"break that is no number", badBreak, {shown(QStringLiteral("lb1"), badBreak.text, kRuler + px(300), kRuler + px(300))}},
        {"pitch that is no number", badPitch, {shown(QStringLiteral("lb1"), badPitch.text, kRuler + px(300), kRuler + px(300))}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(previewTexts({c.row}, kDpi), c.expected);
    }
}

TEST(PreviewLayout, ABadValueHidesNothingAfterIt)
{
    PreviewItemRow bad = row(QStringLiteral("附言"), 100, 100);
    bad.breakNum = QStringLiteral("x");
    bad.fitParam = QStringLiteral("y");
    const QList<PreviewText> texts = previewTexts({row(QStringLiteral("一"), 100, 100), bad, row(QStringLiteral("三"), 100, 300)}, kDpi);
    QStringList names;
    for (const PreviewText& text : texts)
        names << text.name + QLatin1Char('=') + text.text;
    EXPECT_EQ(names, (QStringList{QStringLiteral("lb1=一"), QStringLiteral("lb2=附言"), QStringLiteral("lb3=三")}));
}

TEST(PreviewLayout, DrawsAtTheScreensOwnResolution)
{
    struct Case {
        QSizeF millimetres;
        QSize pixels;
        int dpi;
    };
    const Case cases[] = {
        {QSizeF(344, 194), QSize(1920, 1080), 142},
        {QSizeF(508, 285.75), QSize(1920, 1080), 96},
        {QSizeF(0, 0), QSize(1920, 1080), kFallbackScreenDpi},
        // A size no screen has: the report is wrong.
        {QSizeF(10, 6), QSize(1920, 1080), kFallbackScreenDpi},
    };
    for (const Case& c : cases)
        EXPECT_EQ(previewDpi(c.millimetres, c.pixels), c.dpi) << c.millimetres.width();
}

TEST(PreviewLayout, CentimetreBoxes)
{
    const std::pair<int, QString> cases[] = {
        {50, QStringLiteral("0.5")}, {-25, QStringLiteral("-0.25")}, {0, QStringLiteral("0")}, {1500, QStringLiteral("15")}};
    for (const auto& [tenthMm, text] : cases)
        EXPECT_EQ(centimetreBoxText(tenthMm), text);
}

class PreviewRowsTest : public EntryFixture {
protected:
    void SetUp() override
    {
        EntryFixture::SetUp();
        addTemplate(4, QStringLiteral("进账单"), 50, -20);
        addItem(QStringLiteral("进账单"), QStringLiteral("zdInComp"), QStringLiteral("TEXT"), 1, 1, QStringLiteral("收款人"),
                QStringLiteral("  北京某某公司 "));
        addItem(QStringLiteral("进账单"), QStringLiteral("zdJE"), QString(), 2, 1, QStringLiteral(" 金额 "));
        addItem(QStringLiteral("进账单"), QStringLiteral("zdScreen"), QString(), 3, 0, QStringLiteral("屏幕项"), QStringLiteral("屏"));
        addItem(QStringLiteral("进账单"), QStringLiteral("zdOff"), QString(), 4, 1, QStringLiteral("不打印"), QStringLiteral("关"));
        addItem(QStringLiteral("支票"), QStringLiteral("zdOther"), QString(), 1, 1, QStringLiteral("别的票"), QStringLiteral("他"));
        Layout income{QStringLiteral("zdInComp"), 300, 200, 12};
        income.fitParam = QStringLiteral("40");
        income.breakNum = QStringLiteral("8");
        addLayout(4, income);
        addLayout(4, {QStringLiteral("zdJE"), 1200, 300, 10, QStringLiteral("Arial")});
        addLayout(4, {QStringLiteral("zdScreen"), 100, 100});
        Layout off{QStringLiteral("zdOff"), 100, 700};
        off.needPrint = 0;
        addLayout(4, off);
        addLayout(4, {QStringLiteral("zdOther"), 100, 900});
    }
};

TEST_F(PreviewRowsTest, ReadsThePrintedItemsWithTheirSamples)
{
    const QList<PreviewItemRow> rows = loadPreviewRows(db(), 4, QStringLiteral("进账单"));
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0].text, QStringLiteral("北京某某公司"));
    EXPECT_EQ(rows[0].x, 300);
    EXPECT_EQ(rows[0].y, 200);
    EXPECT_EQ(rows[0].fitParam, QStringLiteral("40"));
    EXPECT_EQ(rows[0].breakNum, QStringLiteral("8"));
    EXPECT_EQ(rows[0].fontSize, 12);
    // Without a sample, the label.
    EXPECT_EQ(rows[1].text, QStringLiteral("金额"));
    EXPECT_EQ(rows[1].fontName, QStringLiteral("Arial"));
    EXPECT_EQ(loadTemplateOffset(db(), 4), QPoint(50, -20));
    EXPECT_FALSE(loadTemplateOffset(db(), 5));
}

TEST_F(PreviewRowsTest, SampleEditsReachEveryTemplateOfTheBillType)
{
    const QList<SampleRow> samples = loadSampleRows(db(), QStringLiteral("进账单"));
    QStringList controls;
    for (const SampleRow& sample : samples)
        controls << sample.control;
    EXPECT_EQ(controls, (QStringList{QStringLiteral("ZDOFF"), QStringLiteral("ZDSCREEN"), QStringLiteral("ZDJE"),
                                     QStringLiteral("ZDINCOMP")}));
    storeSampleData(db(), samples[2].id, QStringLiteral("1234.50"));
    storeSampleLabel(db(), samples[3].id, QStringLiteral("收款单位"));
    const QList<PreviewItemRow> rows = loadPreviewRows(db(), 4, QStringLiteral("进账单"));
    EXPECT_EQ(rows[1].text, QStringLiteral("1234.50"));
    EXPECT_EQ(loadSampleRows(db(), QStringLiteral("进账单"))[3].label, QStringLiteral("收款单位"));
}

TEST_F(PreviewRowsTest, TheWindowMovesTheSheetByTheOffset)
{
    Tfm_PrintPreview window(context);
    window.setTemplateId(4);
    ASSERT_TRUE(window.loadName());
    EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("lbTitle"))->text(), QStringLiteral("【进账单（测试）】打印预览"));
    window.show();
    const int dpi = window.dpi();
    auto* sheet = window.findChild<QWidget*>(QStringLiteral("pnlSheet"));
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(window.findChild<QLineEdit*>(QStringLiteral("edtXMoveCm"))->text(), QStringLiteral("0.5"));
    EXPECT_EQ(window.findChild<QLineEdit*>(QStringLiteral("edtYMoveCm"))->text(), QStringLiteral("-0.2"));
    const QPoint offset(tenthMmToPixels(50, dpi), tenthMmToPixels(-20, dpi));
    EXPECT_EQ(sheet->pos(), offset);

    auto* amount = sheet->findChild<QLabel*>(QStringLiteral("lb2"));
    ASSERT_NE(amount, nullptr);
    EXPECT_EQ(amount->text(), QStringLiteral("金额"));
    EXPECT_EQ(amount->pos(), QPoint(kRuler + tenthMmToPixels(1200, dpi), kRuler + tenthMmToPixels(300, dpi)));
    EXPECT_EQ(amount->font().pointSize(), 10);
    EXPECT_NE(sheet->findChild<QLabel*>(QStringLiteral("lb1_0_5")), nullptr); // six characters in cells

    // A ruler's label sits at its centimetre plus the crossing ruler, 5 pixels back.
    const auto rulerLabel = [](const QWidget* parent, const QString& text) -> const QLabel* {
        for (const QLabel* label : parent->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly))
            if (label->text() == text)
                return label;
        return nullptr;
    };
    const QLabel* fixedEnd = rulerLabel(sheet->parentWidget(), QStringLiteral("15cm(整体偏移)"));
    ASSERT_NE(fixedEnd, nullptr);
    EXPECT_EQ(fixedEnd->geometry(), QRect(tenthMmToPixels(1500, dpi) + kRuler - 5, kRuler, 90, 11));
    const QLabel* sheetZero = rulerLabel(sheet, QStringLiteral("0cm"));
    ASSERT_NE(sheetZero, nullptr);
    EXPECT_EQ(sheetZero->pos(), QPoint(kRuler - 5 + kRuler, kRuler));
    const QLabel* sheetTwenty = rulerLabel(sheet, QStringLiteral("20"));
    ASSERT_NE(sheetTwenty, nullptr);
    EXPECT_TRUE(sheetTwenty->isVisible());

    auto* ignore = window.findChild<QCheckBox*>(QStringLiteral("ckIgnoreOffset"));
    ignore->setChecked(true);
    EXPECT_EQ(sheet->pos(), QPoint(0, 0));
    ignore->setChecked(false);
    EXPECT_EQ(sheet->pos(), offset);
    window.findChild<QSpinBox*>(QStringLiteral("XMove"))->setValue(100);
    EXPECT_EQ(sheet->x(), tenthMmToPixels(100, dpi));
    EXPECT_EQ(window.findChild<QLineEdit*>(QStringLiteral("edtXMoveCm"))->text(), QStringLiteral("1"));
    // The preview never stores the offset.
    EXPECT_EQ(db().scalar(QStringLiteral("select XMove from ckTypeTable where CheckTypeId=4")).toInt(), 50);
    EXPECT_TRUE(messages.messages.isEmpty());
}

TEST_F(PreviewRowsTest, AnUnknownTemplateOpensNoPreview)
{
    Tfm_PrintPreview window(context);
    window.setTemplateId(77);
    EXPECT_FALSE(window.loadName());
    ASSERT_EQ(messages.messages.size(), 1);
    EXPECT_EQ(messages.messages[0].text, QStringLiteral("没有找到对应的单据信息~"));
}

TEST_F(PreviewRowsTest, AnEditedSampleShowsWhenTheGridIsLeft)
{
    Tfm_PrintPreview window(context);
    window.setTemplateId(4);
    ASSERT_TRUE(window.loadName());
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("btEditSample")), Qt::LeftButton);
    auto* grid = window.findChild<QTableWidget*>(QStringLiteral("gridSample"));
    ASSERT_TRUE(grid->isVisible());
    ASSERT_EQ(grid->rowCount(), 4);
    EXPECT_TRUE(grid->isColumnHidden(0));
    EXPECT_TRUE(grid->isColumnHidden(1));
    EXPECT_EQ(grid->item(2, 1)->text(), QStringLiteral("ZDJE"));

    grid->setFocus();
    grid->item(2, 3)->setText(QStringLiteral("1234.50"));
    auto* sheet = window.findChild<QWidget*>(QStringLiteral("pnlSheet"));
    EXPECT_EQ(sheet->findChild<QLabel*>(QStringLiteral("lb2"))->text(), QStringLiteral("金额"));
    window.findChild<QPushButton*>(QStringLiteral("btClose"))->setFocus();
    EXPECT_EQ(sheet->findChild<QLabel*>(QStringLiteral("lb2"))->text(), QStringLiteral("1234.50"));
    EXPECT_EQ(loadSampleRows(db(), QStringLiteral("进账单"))[2].data, QStringLiteral("1234.50"));
}
