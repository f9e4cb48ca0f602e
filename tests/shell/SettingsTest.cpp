#include "TempHome.h"

#include "data/Database.h"
#include "platform/IniFile.h"
#include "shell/Settings.h"

#include <gtest/gtest.h>

using namespace slipcraft;

namespace {

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override { home.createDatabase(); }

    TempHome home;
    Database db{home.databasePath(), QStringLiteral("settings-test")};
    IniFile ini{home.path(QStringLiteral("Config.ini"))};
    Settings settings{db, ini};
};

} // namespace

TEST_F(SettingsTest, AFreshDatabaseHasEverySwitchOff)
{
    EXPECT_EQ(settings.readSwitches(), SystemSwitches{});
}

TEST_F(SettingsTest, OnlyOneAndYesSwitchOn)
{
    struct Case {
        const char* stored;
        bool on;
    };
    const Case cases[] = {
        {"1", true}, {"yes", true}, {"YES", false}, {"Yes", false}, {" yes", false},
        {"yes ", false}, {"no", false}, {"0", false}, {"", false}, {"true", false},
    };
    for (const Case& c : cases) {
        settings.setConfigByname(Settings::kSystemBackImage, QString::fromUtf8(c.stored));
        EXPECT_EQ(settings.readSwitches().systemBackImage, c.on) << "stored '" << c.stored << "'";
        EXPECT_EQ(isSwitchOn(QString::fromUtf8(c.stored)), c.on);
    }
}

TEST_F(SettingsTest, EachSwitchReadsItsOwnParameter)
{
    settings.setConfigByname(Settings::kNeedLogin, QStringLiteral("yes"));
    settings.setConfigByname(Settings::kUseDefaultDrawer, QStringLiteral("1"));
    SystemSwitches expected;
    expected.needLogin = true;
    expected.useDefaultDrawer = true;
    EXPECT_EQ(settings.readSwitches(), expected);
}

TEST_F(SettingsTest, SetUpdatesElseInsertsOneRow)
{
    settings.setConfigByname(QStringLiteral("DefaultPrinter"), QStringLiteral("A"));
    settings.setConfigByname(QStringLiteral("DefaultPrinter"), QStringLiteral("B"));
    EXPECT_EQ(settings.getConfigByname(QStringLiteral("DefaultPrinter")), QStringLiteral("B"));
    EXPECT_EQ(db.scalar(QStringLiteral("select count(*) from configtable")).toInt(), 1);
}

TEST_F(SettingsTest, ValuesReachTheDatabaseUnchanged)
{
    const QString value = QStringLiteral("HP LaserJet 'Office' \\\\srv\\q 100% _x_");
    settings.setConfigByname(QStringLiteral("DefaultPrinter"), value);
    EXPECT_EQ(settings.getConfigByname(QStringLiteral("DefaultPrinter")), value);
    settings.setConfigByname(QStringLiteral("DefaultPrinter"), value + QLatin1Char('\''));
    EXPECT_EQ(settings.getConfigByname(QStringLiteral("DefaultPrinter")), value + QLatin1Char('\''));
    // A name with a wildcard character finds only itself.
    EXPECT_EQ(settings.getConfigByname(QStringLiteral("Default%")), QString());
}

TEST_F(SettingsTest, ReadingTrimsTheStoredName)
{
    db.execute(QStringLiteral("insert into configtable (cname,cvalue) values(:n,:v)"),
               {{QStringLiteral("n"), QStringLiteral("  启用系统背景 ")}, {QStringLiteral("v"), QStringLiteral("yes")}});
    EXPECT_TRUE(settings.readSwitches().systemBackImage);
    // Names compare without regard to case, as they always have.
    settings.setConfigByname(QStringLiteral("DefaultPrinter"), QStringLiteral("P1"));
    EXPECT_EQ(settings.getConfigByname(QStringLiteral("defaultprinter")), QStringLiteral("P1"));
}

TEST_F(SettingsTest, ToggleStoresTheOppositeOfTheCheckMark)
{
    settings.toggleSwitch(Settings::kPopPrinterSetup, false);
    EXPECT_EQ(settings.getConfigByname(Settings::kPopPrinterSetup), QStringLiteral("yes"));
    EXPECT_TRUE(settings.readSwitches().popPrinterSetup);
    settings.toggleSwitch(Settings::kPopPrinterSetup, true);
    EXPECT_EQ(settings.getConfigByname(Settings::kPopPrinterSetup), QStringLiteral("no"));
    EXPECT_FALSE(settings.readSwitches().popPrinterSetup);
}

TEST(SettingsWithoutDatabase, ReadsEmptyAndWritesFail)
{
    TempHome home; // no database file at all
    Database db(home.databasePath(), QStringLiteral("settings-missing"));
    IniFile ini(home.path(QStringLiteral("Config.ini")));
    Settings settings(db, ini);
    EXPECT_EQ(settings.getConfigByname(Settings::kNeedLogin), QString());
    EXPECT_EQ(settings.readSwitches(), SystemSwitches{});
    EXPECT_THROW(settings.setConfigByname(Settings::kNeedLogin, QStringLiteral("yes")), DatabaseError);
}

TEST_F(SettingsTest, UserSettingsGoToTheConfigSection)
{
    EXPECT_EQ(settings.getINIConfigByname(QStringLiteral("ZPView_DBLOPEN")), QString());
    settings.setINIConfigByname(QStringLiteral("ZPView_DBLOPEN"), QStringLiteral("0"));
    IniFile reread(home.path(QStringLiteral("Config.ini")));
    EXPECT_EQ(reread.readString(QStringLiteral("Config"), QStringLiteral("ZPView_DBLOPEN")), QStringLiteral("0"));
}

TEST(FormFace, StoredSizeIsLimitedToTheScreen)
{
    TempHome home;
    IniFile ini(home.path(QStringLiteral("Config.ini")));
    const QSize screen(1024, 768);
    EXPECT_EQ(loadFormFace(ini, QStringLiteral("fmCheckZP"), QSize(800, 600), screen), QSize(800, 600));

    saveFormFace(ini, QStringLiteral("fmCheckZP"), QSize(1200, 900));
    EXPECT_EQ(ini.readInteger(QStringLiteral("FMCHECKZP"), QStringLiteral("FormWidth"), 0), 1200);
    EXPECT_EQ(loadFormFace(ini, QStringLiteral("FMCHECKZP"), QSize(800, 600), screen), QSize(1024, 768));

    saveFormFace(ini, QStringLiteral("fmCheckZP"), QSize(640, 480));
    EXPECT_EQ(loadFormFace(ini, QStringLiteral("fmCheckZP"), QSize(800, 600), screen), QSize(640, 480));
}
