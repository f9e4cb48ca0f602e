#include "DesignFixture.h"

#include "templates/LayoutDesign.h"
#include "templates/LayoutHistory.h"

using namespace slipcraft;

namespace {

class LayoutDesignTest : public DesignFixture {
protected:
    QStringList names(const QList<DesignLabel>& labels)
    {
        QStringList result;
        for (const DesignLabel& label : labels)
            result << label.name + QLatin1Char('@') + QString::number(label.rect.x()) + QLatin1Char(',')
                          + QString::number(label.rect.y()) + QLatin1Char(':') + label.text;
        return result;
    }
};

} // namespace

// One scale for both axes: 200 mm on 400 pixels is half a millimetre a pixel.
TEST_F(LayoutDesignTest, ScaleConvertsBothWays)
{
    const DesignScale scale = designScale(2000, 400);
    EXPECT_EQ(scale.GetPixByMMCent(100), 20);
    EXPECT_EQ(scale.GetPixByMMCent(13), 3); // 2.6 pixels
    EXPECT_EQ(scale.GetMMCentByPix(20), 100);
    EXPECT_EQ(pageAreaWidth(2540, 96, 100), 960);
    EXPECT_EQ(pageAreaWidth(2540, 96, 50), 480);
}

TEST_F(LayoutDesignTest, ItemsAreDrawnPlainBrokenOrInCells)
{
    const DesignScale scale = designScale(2000, 200); // a millimetre a pixel
    PrintLayoutItem item;
    item.name = QStringLiteral("ZDSKR");
    item.label = QStringLiteral("收款人");
    item.x = 100;
    item.y = 200;
    item.screenWidth = 80;
    item.screenHeight = 20;
    struct Case {
        const char* label;
        QString initValue, sample, breakNum, fitParam;
        QStringList expected;
    };
    const Case cases[] = {
        {"label when nothing else", {}, {}, {}, {}, {"ZDSKR@10,20:收款人"}},
        {"sample before label", {}, QStringLiteral("样本"), {}, {}, {"ZDSKR@10,20:样本"}},
        {"initial value first", QStringLiteral(" 初值 "), QStringLiteral("样本"), {}, {}, {"ZDSKR@10,20:初值"}},
        {"broken lines five mm apart", QStringLiteral("一二三四五"), {}, QStringLiteral("2"), {},
         {"ZDSKRL0@10,20:一二", "ZDSKRL1@10,25:三四", "ZDSKRL2@10,30:五"}},
        {"one line needs no break", QStringLiteral("一二"), {}, QStringLiteral("2"), {}, {"ZDSKR@10,20:一二"}},
        {"cells of 2.5 mm are plain", QStringLiteral("123"), {}, {}, QStringLiteral("25"), {"ZDSKR@10,20:123"}},
        {"cells above 2.5 mm", QStringLiteral("123"), {}, {}, QStringLiteral("26"),
         {"ZDSKRR1@10,20:1", "ZDSKRR2@13,20:2", "ZDSKRR3@15,20:3"}},
    };
    for (const Case& c : cases) {
        PrintLayoutItem row = item;
        row.initValue = c.initValue;
        row.sample = c.sample;
        row.breakNum = c.breakNum;
        row.fitParam = c.fitParam;
        EXPECT_EQ(names(designLabels(row, scale)), c.expected) << c.label;
    }
    item.label.clear();
    EXPECT_TRUE(designLabels(item, scale).isEmpty());
}

TEST_F(LayoutDesignTest, LoadsPrintableItemsAndFillsMissingSizes)
{
    addItem({QStringLiteral("ZDA"), QStringLiteral("甲"), QStringLiteral("TEXT"), 1, 1});
    addItem({QStringLiteral("ZDB"), QStringLiteral("乙"), QStringLiteral("TEXT"), 1, 5});
    addItem({QStringLiteral("ZDC"), QStringLiteral("丙"), QStringLiteral("TEXT"), 0, 3});
    addItem({QStringLiteral("ZDD"), QStringLiteral("丁"), QStringLiteral("TEXT"), 1, 4});
    addRow({QStringLiteral("zda"), 10, 10, 0, 0}); // stored in another case
    addRow({QStringLiteral("ZDB"), 10, 10, 300, 50});
    addRow({QStringLiteral("ZDC")});
    Row hidden{QStringLiteral("ZDD")};
    hidden.needPrint = 0;
    addRow(hidden);
    const QList<PrintLayoutItem> items = loadPrintLayoutItems(db(), kTemplate, QStringLiteral("支票"));
    ASSERT_EQ(items.size(), 2);
    EXPECT_EQ(items[0].name, QStringLiteral("ZDB")); // highest dictionary order first
    EXPECT_EQ(items[1].label, QStringLiteral("甲"));

    // 100 × 20 screen pixels at 0.5 mm a pixel: 50 × 10 mm.
    const DesignScale scale = designScale(2000, 400);
    EXPECT_EQ(missingPrintSize(items[1], scale), QSize(500, 100));
    EXPECT_EQ(missingPrintSize(items[0], scale), std::nullopt);
    EXPECT_EQ(loadPrintLayoutItems(db(), kTemplate, QStringLiteral("支票"), QStringLiteral("zdb")).size(), 1);
}

TEST_F(LayoutDesignTest, OneColumnIsStoredOnlyOnASingleRowThatDiffers)
{
    addRow({QStringLiteral("ZDA"), 100});
    addRow({QStringLiteral("ZDB")});
    addRow({QStringLiteral("zdb")});
    EXPECT_EQ(saveItemColumn(db(), kTemplate, QStringLiteral("zda"), QStringLiteral("ctlx"), QStringLiteral("120")),
              ColumnSave::Saved);
    EXPECT_EQ(stored(QStringLiteral("ZDA"), QStringLiteral("CtlX")), QStringLiteral("120"));
    EXPECT_EQ(saveItemColumn(db(), kTemplate, QStringLiteral("ZDA"), QStringLiteral("CtlX"), QStringLiteral("120")),
              ColumnSave::Unchanged);
    EXPECT_EQ(saveItemColumn(db(), kTemplate, QStringLiteral("ZDB"), QStringLiteral("CtlX"), QStringLiteral("1")),
              ColumnSave::Duplicate);
    EXPECT_EQ(saveItemColumn(db(), kTemplate, QStringLiteral("ZDX"), QStringLiteral("CtlX"), QStringLiteral("1")),
              ColumnSave::Missing);
    EXPECT_THROW(saveItemColumn(db(), kTemplate, QStringLiteral("ZDA"), QStringLiteral("CtlX=0, CtlY"), QStringLiteral("1")),
                 std::invalid_argument);
}

TEST_F(LayoutDesignTest, BatchToolsChangeEachSelectedItem)
{
    addRow({QStringLiteral("ZDA"), 100, 40, 30, 40});
    addRow({QStringLiteral("ZDB"), 160, 20, 5, 0});
    addRow({QStringLiteral("ZDC"), 130, 90, 0, 0});
    addRow({QStringLiteral("ZDOTHER"), 999, 999, 999, 999});
    const QStringList all{QStringLiteral("ZDA"), QStringLiteral("ZDB"), QStringLiteral("ZDC")};

    EXPECT_EQ(itemsExtreme(db(), kTemplate, all, QStringLiteral("CtlX"), false), 100);
    EXPECT_EQ(itemsExtreme(db(), kTemplate, all, QStringLiteral("CtlY"), true), 90);
    EXPECT_EQ(itemsExtreme(db(), kTemplate, {QStringLiteral("ZDNONE")}, QStringLiteral("CtlY"), true), std::nullopt);
    EXPECT_EQ(setItemsColumn(db(), kTemplate, all, QStringLiteral("CtlFontSize"), 12), 3);

    // Narrowing only where the width exceeds the step.
    const BatchChange narrowed = growItems(db(), kTemplate, {QStringLiteral("ZDA"), QStringLiteral("ZDB")},
                                           QStringLiteral("CtlW"), -5);
    EXPECT_EQ(narrowed.changed, 1);
    EXPECT_EQ(narrowed.unchanged, QStringList{QStringLiteral("ZDB")});
    EXPECT_EQ(stored(QStringLiteral("ZDA"), QStringLiteral("CtlW")), QStringLiteral("25"));
    EXPECT_EQ(growItems(db(), kTemplate, all, QStringLiteral("CtlH"), 5).changed, 3);
    EXPECT_EQ(stored(QStringLiteral("ZDB"), QStringLiteral("CtlH")), QStringLiteral("5"));

    EXPECT_EQ(distributeItems(db(), kTemplate, all, QStringLiteral("CtlX"), 40), 2);
    EXPECT_EQ(stored(QStringLiteral("ZDB"), QStringLiteral("CtlX")), QStringLiteral("140"));
    EXPECT_EQ(stored(QStringLiteral("ZDC"), QStringLiteral("CtlX")), QStringLiteral("180"));
    EXPECT_EQ(distributeItems(db(), kTemplate, {QStringLiteral("ZDNONE"), QStringLiteral("ZDA")}, QStringLiteral("CtlX"), 40),
              std::nullopt);

    EXPECT_EQ(moveItems(db(), kTemplate, {QStringLiteral("ZDA"), QStringLiteral("ZDNONE")}, QStringLiteral("CtlY"), -5),
              QStringList{QStringLiteral("ZDNONE")});
    EXPECT_EQ(stored(QStringLiteral("ZDA"), QStringLiteral("CtlY")), QStringLiteral("35"));
    EXPECT_EQ(stored(QStringLiteral("ZDOTHER"), QStringLiteral("CtlX")), QStringLiteral("999"));
}

TEST_F(LayoutDesignTest, GroupsSelectByGroupOrLabelPattern)
{
    addItem({QStringLiteral("ZDA"), QStringLiteral("数量1"), QStringLiteral("TEXT"), 1, 2, QStringLiteral("明细")});
    addItem({QStringLiteral("ZDB"), QStringLiteral("数量2"), QStringLiteral("TEXT"), 1, 1, QStringLiteral("明细")});
    addItem({QStringLiteral("ZDC"), QStringLiteral("数100%"), QStringLiteral("TEXT"), 1, 3, QStringLiteral("金额")});
    addItem({QStringLiteral("ZDD"), QStringLiteral("数量3"), QStringLiteral("TEXT"), 0, 4, QStringLiteral("明细")});
    EXPECT_EQ(itemGroups(db(), QStringLiteral("支票")), (QStringList{QStringLiteral("明细"), QStringLiteral("金额")}));
    EXPECT_EQ(groupItems(db(), QStringLiteral("支票"), QStringLiteral("明细")),
              (QStringList{QStringLiteral("ZDB"), QStringLiteral("ZDA")}));
    EXPECT_EQ(groupItems(db(), QStringLiteral("支票"), QStringLiteral("数量*")),
              (QStringList{QStringLiteral("ZDB"), QStringLiteral("ZDA")}));
    EXPECT_EQ(groupItems(db(), QStringLiteral("支票"), QStringLiteral("*%")), QStringList{QStringLiteral("ZDC")});
}

TEST_F(LayoutDesignTest, PaperSizeLimits)
{
    struct Case {
        double width, height;
        const char* refusal;
        const char* stored;
    };
    const Case cases[] = {
        {23.0, 32.0, "", "2300,3200"},
        {23.0, 32.1, "失败，票据最高不能大于32厘米。", "2000,1000"},
        {30.1, 12.0, "失败，票据最宽不能大于30厘米。", "2000,1000"},
        {30.1, 40.0, "失败，票据最高不能大于32厘米。", "2000,1000"},
        {21.555, 9.99, "", "2156,999"},
    };
    for (const Case& c : cases) {
        db().execute(QStringLiteral("update ckTypeTable set PWidth=2000, PHeight=1000"));
        const PaperSave saved = savePaperSize(db(), kTemplate, c.width, c.height);
        EXPECT_EQ(saved.refusal, QString::fromUtf8(c.refusal)) << c.width << "×" << c.height;
        EXPECT_EQ(db().scalar(QStringLiteral("select PWidth || ',' || PHeight from ckTypeTable")).toString(),
                  QString::fromUtf8(c.stored));
    }
    EXPECT_FALSE(savePaperSize(db(), 99, 20, 10).stored);
}

TEST_F(LayoutDesignTest, AdjustmentSettingsCreateUpdateOrLeaveTheRow)
{
    addItem({QStringLiteral("ZDA"), QStringLiteral("甲"), QStringLiteral("CHECKBOX")});
    EXPECT_EQ(loadItemSettings(db(), kTemplate, QStringLiteral("ZDA")), std::nullopt);
    ItemSettings settings;
    settings.x = 120;
    settings.y = 80;
    settings.srcX = 33;
    settings.srcW = 60;
    settings.srcH = 30;
    settings.hidden = true;
    settings.initValue = QStringLiteral(" V ");
    settings.breakFontSize = 8;
    EXPECT_EQ(saveItemSettings(db(), kTemplate, QStringLiteral("zda"), QStringLiteral("甲"), settings), SettingsSave::Inserted);
    EXPECT_EQ(stored(QStringLiteral("ZDA"), QStringLiteral("CtlName || '/' || CtlCName || '/' || CtlType || '/' || SrcW || "
                                                           "'/' || SrcH || '/' || NeedPrint || NeedShow || '/' || "
                                                           "CtlFontName || '/' || InitValue || '/' || BreakFontSize || '/' || "
                                                           "BreakNum || '/' || FitParam")),
              QStringLiteral("ZDA/甲/CHECKBOX/100/20/00/宋体/V/8//"));

    std::optional<ItemSettings> loaded = loadItemSettings(db(), kTemplate, QStringLiteral("ZDA"));
    ASSERT_TRUE(loaded);
    EXPECT_TRUE(loaded->hidden);
    EXPECT_FALSE(loaded->breaking);
    EXPECT_EQ(loaded->breakCount, 60);
    EXPECT_EQ(loaded->cellWidth, 20);
    // A new row keeps the break font size field; saving without line breaking clears it.
    EXPECT_EQ(saveItemSettings(db(), kTemplate, QStringLiteral("ZDA"), {}, *loaded), SettingsSave::Updated);
    EXPECT_EQ(stored(QStringLiteral("ZDA"), QStringLiteral("BreakFontSize")), QStringLiteral("0"));
    loaded = loadItemSettings(db(), kTemplate, QStringLiteral("ZDA"));
    EXPECT_EQ(saveItemSettings(db(), kTemplate, QStringLiteral("ZDA"), {}, *loaded), SettingsSave::Unchanged);
    loaded->breaking = true;
    loaded->breakCount = 12;
    loaded->cells = true;
    loaded->cellWidth = 45;
    loaded->hidden = false;
    EXPECT_EQ(saveItemSettings(db(), kTemplate, QStringLiteral("ZDA"), {}, *loaded), SettingsSave::Updated);
    EXPECT_EQ(stored(QStringLiteral("ZDA"), QStringLiteral("BreakNum || '/' || FitParam || '/' || NeedPrint || NeedShow")),
              QStringLiteral("12/45/11"));
    EXPECT_EQ(db().scalar(QStringLiteral("select count(*) from CKControl")).toInt(), 1);
}

TEST_F(LayoutDesignTest, FreeTickTitlesAreCleaned)
{
    struct Case {
        const char* typed;
        const char* clean;
    };
    const Case cases[] = {
        {" 现金，转账 , 其他（备注） ", "现金,转账,其他备注"},
        {"a'b%c*d?e", "abcde"},
        {"()（）", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(cleanTickTitles(QString::fromUtf8(c.typed)), QString::fromUtf8(c.clean)) << c.typed;
}

TEST_F(LayoutDesignTest, KeyboardAndArrowLimits)
{
    const QSize picture(800, 400);
    EXPECT_EQ(keptOnPicture({100, 385}, {0, 10}, picture), QPoint(100, 390));
    EXPECT_EQ(keptOnPicture({100, 388}, {0, 10}, picture), QPoint(100, 390));
    EXPECT_EQ(keptOnPicture({12, 12}, {-10, -10}, picture), QPoint(10, 10));
    EXPECT_EQ(nudgedPrintPosition(9, -10), std::nullopt);
    EXPECT_EQ(nudgedPrintPosition(10, -10), 0);
    EXPECT_EQ(nudgedPrintPosition(3500, 10), 3510);
    EXPECT_EQ(nudgedPrintPosition(3501, 10), std::nullopt);
}

// Undo writes back the rows as they were, removes rows a change created, and redo
// writes the change again; a change that alters nothing is no step.
TEST_F(LayoutDesignTest, HistoryUndoesAndRedoesRowChanges)
{
    addRow({QStringLiteral("ZDA"), 100, 40});
    LayoutHistory history(db());
    EXPECT_TRUE(history.record(QStringLiteral("move"), {templateItemRows(kTemplate, {QStringLiteral("ZDA")})}, [&] {
        moveItems(db(), kTemplate, {QStringLiteral("ZDA")}, QStringLiteral("CtlX"), 50);
    }));
    EXPECT_FALSE(history.record(QStringLiteral("nothing"), {templateItemRows(kTemplate, {QStringLiteral("ZDA")})}, [&] {
        saveItemColumn(db(), kTemplate, QStringLiteral("ZDA"), QStringLiteral("CtlX"), QStringLiteral("150"));
    }));
    ItemSettings created;
    created.x = 7;
    EXPECT_TRUE(history.record(QStringLiteral("create"), {templateItemRows(kTemplate, {QStringLiteral("ZDB")})}, [&] {
        saveItemSettings(db(), kTemplate, QStringLiteral("ZDB"), QStringLiteral("乙"), created);
    }));
    EXPECT_TRUE(history.record(QStringLiteral("paper"), {templateRow(kTemplate)}, [&] { savePaperSize(db(), kTemplate, 20, 9); }));
    EXPECT_EQ(history.undoText(), QStringLiteral("paper"));

    EXPECT_TRUE(history.undo());
    EXPECT_EQ(db().scalar(QStringLiteral("select PHeight from ckTypeTable")).toInt(), 1000);
    EXPECT_TRUE(history.undo());
    EXPECT_EQ(stored(QStringLiteral("ZDB"), QStringLiteral("CtlX")), QStringLiteral("missing"));
    EXPECT_TRUE(history.undo());
    EXPECT_EQ(stored(QStringLiteral("ZDA"), QStringLiteral("CtlX")), QStringLiteral("100"));
    EXPECT_FALSE(history.undo());

    EXPECT_TRUE(history.redo());
    EXPECT_TRUE(history.redo());
    EXPECT_EQ(stored(QStringLiteral("ZDA"), QStringLiteral("CtlX")), QStringLiteral("150"));
    EXPECT_EQ(stored(QStringLiteral("ZDB"), QStringLiteral("CtlX")), QStringLiteral("7"));
    EXPECT_EQ(history.redoText(), QStringLiteral("paper"));

    // A new change drops what could have been redone.
    EXPECT_TRUE(history.record(QStringLiteral("again"), {templateItemRows(kTemplate, {QStringLiteral("ZDA")})}, [&] {
        moveItems(db(), kTemplate, {QStringLiteral("ZDA")}, QStringLiteral("CtlY"), 1);
    }));
    EXPECT_FALSE(history.canRedo());

    // Undo puts back only the columns its step changed: a later edit elsewhere stays.
    db().execute(QStringLiteral("update CKControl set CtlFontSize=14 where CtlName='ZDA'"));
    EXPECT_TRUE(history.undo());
    EXPECT_EQ(stored(QStringLiteral("ZDA"), QStringLiteral("CtlY || '/' || CtlFontSize")), QStringLiteral("40/14"));
    EXPECT_TRUE(history.redo());

    // A change that fails leaves the rows and the history as they were.
    EXPECT_THROW(history.record(QStringLiteral("broken"), {templateItemRows(kTemplate, {QStringLiteral("ZDA")})}, [&] {
        moveItems(db(), kTemplate, {QStringLiteral("ZDA")}, QStringLiteral("CtlX"), 1);
        throw DatabaseError(QStringLiteral("disk full"));
    }),
                 DatabaseError);
    EXPECT_EQ(stored(QStringLiteral("ZDA"), QStringLiteral("CtlX")), QStringLiteral("150"));
    EXPECT_EQ(history.undoText(), QStringLiteral("again"));
}
