#include "CalibrationFixture.h"

#include "platform/IniFile.h"
#include "templates/PrintOffsetLogic.h"
#include "templates/PrinterParamLogic.h"

using namespace slipcraft;

namespace {

const QString kBoard = QStringLiteral("挡板靠左，对准刻度3");

} // namespace

TEST_F(CalibrationTest, ListsEnabledNamedTemplatesByName)
{
    addTemplate({4, QStringLiteral("进账单（建行）")});
    addTemplate({2, QStringLiteral("支票（工行）")});
    addTemplate({3, QStringLiteral("支票（停用）"), QStringLiteral("停用隐藏")});
    addTemplate({5, QString()});
    addTemplate({6, QStringLiteral("电汇单（农行）")});

    EXPECT_EQ(loadEnabledTemplates(db()),
              (QList<ListedTemplate>{{QStringLiteral("支票（工行）"), 2},
                                     {QStringLiteral("电汇单（农行）"), 6},
                                     {QStringLiteral("进账单（建行）"), 4}}));
}

TEST_F(CalibrationTest, ReadsTheFrameOfTheListedName)
{
    struct Case {
        QVariant orientation, paperWidth, paperHeight, pictureWidth;
        bool landscape;
        int expectedPaperWidth, expectedPaperHeight, expectedPictureWidth;
    };
    const Case cases[] = {
        {0, 2000, 1000, 800, false, 2000, 1000, 800},
        {1, 2000, 1000, 800, true, 2000, 1000, 800},
        {2, 2000, 1000, 800, true, 2000, 1000, 800},
        {QVariant(), 2000, 1000, 800, false, 2000, 1000, 800},
        // A missing paper size is the usual bill paper; a missing picture the window's own.
        {0, QVariant(), 1000, QVariant(), false, 2300, 1270, 780},
        {0, 2000, 0, 800, false, 2300, 1270, 800},
    };
    for (const Case& c : cases) {
        db().execute(QStringLiteral("delete from ckTypeTable"));
        Template t{9, QStringLiteral("支票（工行）"), QStringLiteral("启用"), -25, 40, c.orientation, c.paperWidth,
                   c.paperHeight, c.pictureWidth, 400};
        addTemplate(t);
        const std::optional<StoredFrame> stored = loadTemplateFrame(db(), QStringLiteral(" 支票（工行）\t"));
        ASSERT_TRUE(stored);
        EXPECT_EQ(stored->id, 9);
        EXPECT_EQ(stored->name, QStringLiteral("支票（工行）"));
        const TemplateFrame expected{-25, 40, c.expectedPictureWidth, 400, c.expectedPaperWidth, c.expectedPaperHeight,
                                     c.landscape};
        EXPECT_EQ(stored->frame, expected) << c.orientation.toString().toStdString();
    }
    EXPECT_FALSE(loadTemplateFrame(db(), QStringLiteral("支票（建行）")));
}

TEST_F(CalibrationTest, SavingReportsByTheRowsTheDatabaseChanged)
{
    addTemplate({3, QStringLiteral("支票（工行）")});
    addTemplate({4, QStringLiteral("支票（建行）")});
    const TemplateFrame frame{15, -30, 900, 500, 2400, 1100, true};

    EXPECT_EQ(saveTemplateFrame(db(), 3, frame), FrameSaved::Changed);
    EXPECT_EQ(loadTemplateFrame(db(), QStringLiteral("支票（工行）"))->frame, frame);
    EXPECT_EQ(stored(4), QStringLiteral("0,0,0"));
    // The same values again still touch the row.
    EXPECT_EQ(saveTemplateFrame(db(), 3, frame), FrameSaved::Changed);

    db().execute(QStringLiteral("delete from ckTypeTable where CheckTypeId=3"));
    EXPECT_EQ(saveTemplateFrame(db(), 3, frame), FrameSaved::Unchanged);

    db().execute(QStringLiteral("drop table ckTypeTable"));
    QString error;
    EXPECT_EQ(saveTemplateFrame(db(), 4, frame, &error), FrameSaved::Failed);
    EXPECT_FALSE(error.isEmpty());
    // A failed statement is never told as a success, quiet or not.
    const FrameSaveReport failure{QStringLiteral("票据整体属性量修改出错！"), true, true};
    EXPECT_EQ(frameSaveReport(FrameSaved::Failed, true), failure);
    EXPECT_EQ(frameSaveReport(FrameSaved::Failed, false), failure);
}

TEST(CentimetreText, ShowsTheSizeWithoutItsSign)
{
    const std::pair<int, QString> cases[] = {
        {-25, QStringLiteral("=0.25厘米")}, {25, QStringLiteral("=0.25厘米")}, {0, QStringLiteral("=0厘米")},
        {1270, QStringLiteral("=12.7厘米")}, {-3000, QStringLiteral("=30厘米")}, {5, QStringLiteral("=0.05厘米")},
    };
    for (const auto& [tenthMm, text] : cases)
        EXPECT_EQ(centimetreText(tenthMm), text) << tenthMm;
}

TEST_F(CalibrationTest, ReadsPresetsAndTheLastChoiceFromConfigIni)
{
    IniFile& ini = context.userIniFile();
    EXPECT_EQ(presetModels(ini), QStringList{QStringLiteral("没有预选打印机配置")});
    EXPECT_FALSE(lastAppliedPreset(ini));

    ini.writeString(QStringLiteral("PrinterWeKnow"), QStringLiteral("printers"), QStringLiteral("Epson LQ-630K, OKI 5860SP,,"));
    // The section is the same whatever its case.
    ini.writeString(QStringLiteral("printerweknow"), QStringLiteral("default.Epson LQ-630K.x"), QStringLiteral("-25"));
    ini.writeString(QStringLiteral("printerweknow"), QStringLiteral("default.EPSON LQ-630K.y"), QStringLiteral("40"));
    ini.writeString(QStringLiteral("printerweknow"), QStringLiteral("default.Epson LQ-630K.d"), QStringLiteral("横向"));
    ini.writeString(QStringLiteral("printerweknow"), QStringLiteral("default.Epson LQ-630K.board"), kBoard);
    ini.writeString(QStringLiteral("printerweknow"), QStringLiteral("default.Epson LQ-630K.img"), QStringLiteral("image/lq.jpg"));
    ini.writeString(QStringLiteral("printerweknow"), QStringLiteral("default.OKI 5860SP.x"), QStringLiteral("左5"));
    ini.writeString(QStringLiteral("printeruse"), QStringLiteral("printers"), QStringLiteral("LQ"));
    ini.writeString(QStringLiteral("printeruse"), QStringLiteral("LQ.x"), QString());
    ini.writeString(QStringLiteral("printeruse"), QStringLiteral("LQ.y"), QStringLiteral("15"));
    ini.writeString(QStringLiteral("printeruse"), QStringLiteral("LQ.d"), QStringLiteral("纵向"));
    ini.writeString(QStringLiteral("printeruse"), QStringLiteral("LQ.board"), QStringLiteral("靠右"));

    EXPECT_EQ(presetModels(ini), (QStringList{QStringLiteral("Epson LQ-630K"), QStringLiteral("OKI 5860SP")}));
    EXPECT_EQ(readPreset(ini, QStringLiteral("Epson LQ-630K")),
              (PrinterPreset{QStringLiteral("Epson LQ-630K"), -25, 40, QStringLiteral("横向"), kBoard,
                             QStringLiteral("image/lq.jpg")}));
    EXPECT_EQ(readPreset(ini, QStringLiteral("OKI 5860SP")),
              (PrinterPreset{QStringLiteral("OKI 5860SP"), std::nullopt, std::nullopt, {}, {}, {}}));
    EXPECT_EQ(lastAppliedPreset(ini),
              (PrinterPreset{QStringLiteral("LQ"), std::nullopt, 15, QStringLiteral("纵向"), QStringLiteral("靠右"), {}}));
}

TEST_F(CalibrationTest, ApplyingAPresetChecksEverythingBeforeAnyTemplateChanges)
{
    addTemplate({1, QStringLiteral("支票（工行）"), QStringLiteral("启用"), 5, 6, 0});
    const PresetChoice valid{QStringLiteral("LQ-630K"), QStringLiteral("Epson LQ-630K"), -25, 40, QStringLiteral("横向"), kBoard};
    struct Case {
        const char* what;
        PresetChoice choice;
        bool answer;
        PresetApplied outcome;
        QString refusal;
    };
    PresetChoice noOrientation = valid;
    noOrientation.orientation.clear();
    PresetChoice oddOrientation = valid;
    oddOrientation.orientation = QStringLiteral("1");
    PresetChoice noModel = valid;
    noModel.model = QStringLiteral(" \t");
    PresetChoice noPrinter = valid;
    noPrinter.printer.clear();
    const Case cases[] = {
        {"declined", valid, false, PresetApplied::Declined, QString()},
        {"no orientation", noOrientation, true, PresetApplied::Refused, QStringLiteral("请选择打印方向！")},
        {"odd orientation", oddOrientation, true, PresetApplied::Refused, QStringLiteral("非法的打印方向参数！")},
        {"no model", noModel, true, PresetApplied::ModelMissing, QStringLiteral("请输入适配打印机类型名！")},
        {"no printer", noPrinter, true, PresetApplied::Refused, QStringLiteral("请选择你的票据打印机！")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        messages.messages.clear();
        messages.answer = c.answer;
        EXPECT_EQ(applyPresetToAllTemplates(context, c.choice), c.outcome);
        ASSERT_FALSE(messages.messages.isEmpty());
        EXPECT_TRUE(messages.messages[0].question);
        EXPECT_EQ(messages.messages[0].caption, QStringLiteral("确认"));
        EXPECT_EQ(messages.messages[0].text, QStringLiteral("你确认对所有单据应用该设置吗？\r请在打印测试前调整好挡板！-") + kBoard);
        EXPECT_EQ(shownTexts().mid(1), c.refusal.isEmpty() ? QStringList() : QStringList{c.refusal});
        EXPECT_EQ(stored(1), QStringLiteral("5,6,0"));
        EXPECT_FALSE(IniFile(home.path(QStringLiteral("Config.ini"))).sectionExists(QStringLiteral("printeruse")));
        EXPECT_EQ(printers.currentPrinter(), QStringLiteral("Office"));
    }
}

TEST_F(CalibrationTest, ApplyingAPresetSetsEveryTemplateAndRemembersTheChoice)
{
    addTemplate({1, QStringLiteral("支票（工行）"), QStringLiteral("启用"), 5, 6, 0});
    addTemplate({2, QStringLiteral("支票（停用）"), QStringLiteral("停用隐藏"), 7, 8, 1});
    addTemplate({3, QStringLiteral("电汇单（农行）"), QStringLiteral("启用"), 9, 10, QVariant()});
    messages.answer = true;
    const PresetChoice choice{QStringLiteral("LQ-630K"), QStringLiteral("epson lq-630k"), -25, 40, QStringLiteral("纵向"), kBoard};

    EXPECT_EQ(applyPresetToAllTemplates(context, choice), PresetApplied::Done);

    for (int id : {1, 2, 3})
        EXPECT_EQ(stored(id), QStringLiteral("-25,40,0")) << id;
    EXPECT_EQ(shownTexts().mid(1), (QStringList{QStringLiteral("应用单据成功！"), QStringLiteral("配置修改成功！")}));
    const IniFile ini(home.path(QStringLiteral("Config.ini")));
    const QString section = QStringLiteral("printeruse");
    EXPECT_EQ(ini.readString(section, QStringLiteral("printers")), QStringLiteral("LQ-630K"));
    EXPECT_EQ(ini.readString(section, QStringLiteral("LQ-630K.PrinterName")), QStringLiteral("epson lq-630k"));
    EXPECT_EQ(ini.readString(section, QStringLiteral("LQ-630K.x")), QStringLiteral("-25"));
    EXPECT_EQ(ini.readString(section, QStringLiteral("LQ-630K.y")), QStringLiteral("40"));
    EXPECT_EQ(ini.readString(section, QStringLiteral("LQ-630K.d")), QStringLiteral("纵向"));
    EXPECT_EQ(ini.readString(section, QStringLiteral("LQ-630K.board")), kBoard);
    EXPECT_EQ(printers.currentPrinter(), QStringLiteral("Epson LQ-630K"));
}

TEST_F(CalibrationTest, ATemplateThatRefusesTheUpdateLeavesAllOfThemAsTheyWere)
{
    addTemplate({1, QStringLiteral("支票（工行）"), QStringLiteral("启用"), 5, 6, 0});
    addTemplate({2, QStringLiteral("支票（建行）"), QStringLiteral("启用"), 7, 8, 0});
    db().execute(QStringLiteral("create trigger refuse before update on ckTypeTable when old.CheckTypeId = 2 "
                                "begin select raise(abort, 'refused'); end"));
    messages.answer = true;
    const PresetChoice choice{QStringLiteral("LQ-630K"), QStringLiteral("Epson LQ-630K"), -25, 40, QStringLiteral("横向"), kBoard};

    // The choice is still remembered and the printer made current.
    EXPECT_EQ(applyPresetToAllTemplates(context, choice), PresetApplied::Failed);
    EXPECT_EQ(shownTexts().mid(1), (QStringList{QStringLiteral("应用单据失败！！"), QStringLiteral("配置修改成功！")}));
    EXPECT_EQ(stored(1), QStringLiteral("5,6,0"));
    EXPECT_EQ(stored(2), QStringLiteral("7,8,0"));
    EXPECT_EQ(IniFile(home.path(QStringLiteral("Config.ini"))).readString(QStringLiteral("printeruse"), QStringLiteral("printers")),
              QStringLiteral("LQ-630K"));
    EXPECT_EQ(printers.currentPrinter(), QStringLiteral("Epson LQ-630K"));
}

TEST_F(CalibrationTest, LockingStoresTheBillPrinterAndMakesItCurrent)
{
    struct Case {
        QString name;
        bool locked;
        QString message;
        QString setting;
        QString current;
    };
    const Case cases[] = {
        {QStringLiteral("epson lq-630k"), true, QStringLiteral("默认票据打印机设置成功！"), QStringLiteral("epson lq-630k"),
         QStringLiteral("Epson LQ-630K")},
        {QStringLiteral(" \t"), false, QStringLiteral("请选择票据打印机！"), QString(), QStringLiteral("Office")},
        // Not installed here: stored for when it is, nothing selected now.
        {QStringLiteral("Canon"), true, QStringLiteral("默认票据打印机设置成功！"), QStringLiteral("Canon"), QStringLiteral("Office")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        db().execute(QStringLiteral("delete from configtable where cname='DefaultPrinter'"));
        messages.messages.clear();
        printers.current = QStringLiteral("Office");
        EXPECT_EQ(lockBillPrinter(context, c.name), c.locked);
        EXPECT_EQ(shownTexts(), QStringList{c.message});
        EXPECT_EQ(context.settings().getConfigByname(QStringLiteral("DefaultPrinter")), c.setting);
        EXPECT_EQ(printers.currentPrinter(), c.current);
    }
}

TEST_F(CalibrationTest, ALockThatCannotBeStoredIsNotReportedAsDone)
{
    db().execute(QStringLiteral("drop table configtable"));
    EXPECT_FALSE(lockBillPrinter(context, QStringLiteral("Epson LQ-630K")));
    ASSERT_EQ(messages.messages.size(), 1);
    EXPECT_NE(messages.messages[0].text, QStringLiteral("默认票据打印机设置成功！"));
    EXPECT_EQ(printers.currentPrinter(), QStringLiteral("Office"));
}
