#include "CatalogueFixture.h"

#include "platform/IniFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <vector>

using namespace slipcraft;

namespace {

class CheckIniTest : public CatalogueTest {
protected:
    void SetUp() override
    {
        CatalogueTest::SetUp();
        addTemplate({.id = 1, .billType = "支票", .name = "工商银行"});
        addTemplate({.id = 2, .billType = "支票", .name = "建设银行"});
        addTemplate({.id = 3, .billType = "支票", .name = "空白"});
        for (const char* item : {"ZDOUTBANK", "ZDJEXX", "ZDRQ"})
            addItem("支票", item);
        addItem("进账单", "ZDOTHER");
        addLayout(1, {"zdOutBank", 10, 20, 100, 22, 1, "中国银行"});
        addLayout(1, {"ZDJEXX", 5, QVariant(), 7, 8, 0, QVariant()});
        addLayout(2, {"ZDRQ", 1, 2, 3, 4, 1, "x"});
        addOption(1, "cfgDateChinese", "1");
        addOption(1, "CFGPrintOutBank", "0");
        addOption(1, "otherName", "x");
        addOption(2, "cfgDateChinese", "0");
        addOption(0, "cfgShared", "1");
    }

    QString cachePath(int id) const { return home.path(QStringLiteral("Temp/CheckIni/%1.ini").arg(id)); }

    QVariant recordedFile(int id)
    {
        return db().scalar(QStringLiteral("select IniFile from ckTypeTable where CheckTypeId = :id"), {{"id", id}});
    }
};

} // namespace

TEST_F(CheckIniTest, BuildWritesTheLayoutSectionsAndKeepsOthers)
{
    {
        IniFile old(cachePath(1));
        old.writeString("viewx", "STALE.x", "1");
        old.writeString("CheckConfig", "cfgOld", "1");
        old.writeString("keep", "a", "b");
    }
    catalogue.buildCheckIniFile(1);

    const IniFile cache(cachePath(1));
    struct Entry {
        const char* section;
        QStringList keys;
    };
    const std::vector<Entry> sections = {
        {"view", {"ConfigItems"}},
        {"viewx", {"ZDOUTBANK.x", "ZDJEXX.x"}},
        {"viewy", {"ZDOUTBANK.y", "ZDJEXX.y"}},
        {"viewh", {"ZDOUTBANK.h", "ZDJEXX.h"}},
        {"vieww", {"ZDOUTBANK.w", "ZDJEXX.w"}},
        {"viewv", {"ZDOUTBANK.v", "ZDJEXX.v"}},
        {"viewdv", {"ZDOUTBANK.dv", "ZDJEXX.dv"}},
        {"CheckConfig", {"cfgDateChinese", "CFGPrintOutBank"}},
        {"keep", {"a"}},
    };
    for (const Entry& e : sections)
        EXPECT_EQ(cache.keys(e.section), e.keys) << e.section;

    struct Value {
        const char* section;
        const char* key;
        QString value;
    };
    const std::vector<Value> values = {
        {"view", "ConfigItems", "ZDOUTBANK,ZDJEXX,ZDRQ,"},
        {"viewx", "ZDOUTBANK.x", "10"}, {"viewy", "ZDOUTBANK.y", "20"}, {"vieww", "ZDOUTBANK.w", "100"},
        {"viewh", "ZDOUTBANK.h", "22"}, {"viewv", "ZDOUTBANK.v", "1"},  {"viewdv", "ZDOUTBANK.dv", "中国银行"},
        {"viewx", "ZDJEXX.x", "5"},     {"viewy", "ZDJEXX.y", ""},      {"vieww", "ZDJEXX.w", "7"},
        {"viewh", "ZDJEXX.h", "8"},     {"viewv", "ZDJEXX.v", "0"},     {"viewdv", "ZDJEXX.dv", ""},
        {"CheckConfig", "cfgDateChinese", "1"}, {"CheckConfig", "CFGPrintOutBank", "0"},
    };
    for (const Value& v : values)
        EXPECT_EQ(cache.readString(v.section, v.key, "<missing>"), v.value) << v.section << " " << v.key;

    EXPECT_EQ(recordedFile(1).toString(), QStringLiteral("1.ini"));
    EXPECT_TRUE(recordedFile(2).isNull());
}

TEST_F(CheckIniTest, CacheGoesIntoAnExistingTempFolderOfAnyCase)
{
    ASSERT_TRUE(QDir(home.runPath()).mkpath("temp/checkini"));
    catalogue.buildCheckIniFile(2);
    EXPECT_TRUE(QFileInfo::exists(home.path("temp/checkini/2.ini")));
    EXPECT_FALSE(QFileInfo::exists(home.path("Temp")));
}

TEST_F(CheckIniTest, FailedBuildLeavesTheTemplateUnbuilt)
{
    // A plain file where the folder belongs.
    {
        QFile blocker(home.path("Temp"));
        ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    }
    catalogue.buildCheckIniFile(1);
    EXPECT_TRUE(recordedFile(1).isNull());
    EXPECT_EQ(catalogue.OpenCheckInif(1), nullptr);
    ASSERT_TRUE(QFile::remove(home.path("Temp")));

    db().execute(QStringLiteral("drop table CKControl"));
    catalogue.buildCheckIniFile(1);
    EXPECT_TRUE(recordedFile(1).isNull());

    db().execute(QStringLiteral("drop table ckTypeTable"));
    EXPECT_EQ(catalogue.OpenCheckInif(1), nullptr);
    EXPECT_TRUE(messages.messages.isEmpty());
}

TEST_F(CheckIniTest, OpenBuildsOnlyWhenTheTemplateRecordsNoCache)
{
    auto cache = catalogue.OpenCheckInif(1);
    ASSERT_NE(cache, nullptr);
    EXPECT_EQ(cache->readString("viewx", "ZDOUTBANK.x"), QStringLiteral("10"));
    EXPECT_EQ(recordedFile(1).toString(), QStringLiteral("1.ini"));

    db().execute(QStringLiteral("update CKControl set SrcX = 99"));
    cache = catalogue.OpenCheckInif(1);
    ASSERT_NE(cache, nullptr);
    EXPECT_EQ(cache->readString("viewx", "ZDOUTBANK.x"), QStringLiteral("10"));

    for (const char* cleared : {"update ckTypeTable set IniFile = ''", "update ckTypeTable set IniFile = null"}) {
        db().execute(QStringLiteral("update CKControl set SrcX = SrcX + 1"));
        const QString expected =
            db().scalar(QStringLiteral("select SrcX from CKControl where CtlName = :name"), {{"name", "zdOutBank"}}).toString();
        db().execute(QString::fromUtf8(cleared));
        cache = catalogue.OpenCheckInif(1);
        ASSERT_NE(cache, nullptr);
        EXPECT_EQ(cache->readString("viewx", "ZDOUTBANK.x"), expected) << cleared;
    }
}

TEST_F(CheckIniTest, AGoneCacheFileReadsEveryControlAtItsDefault)
{
    catalogue.buildCheckIniFile(1);
    ASSERT_TRUE(QDir(home.path("Temp")).removeRecursively());

    const auto cache = catalogue.OpenCheckInif(1);
    ASSERT_NE(cache, nullptr);
    EXPECT_TRUE(QFileInfo(home.path("Temp/CheckIni")).isDir());
    EXPECT_EQ(readControlPlacement(*cache, "ZDOUTBANK"), ControlPlacement{});
    EXPECT_FALSE(ControlPlacement{}.visible);
}

TEST_F(CheckIniTest, TemplateWithoutLayoutRowsHidesEverything)
{
    const auto cache = catalogue.OpenCheckInif(3);
    ASSERT_NE(cache, nullptr);
    EXPECT_EQ(cache->readString("view", "ConfigItems"), QStringLiteral("ZDOUTBANK,ZDJEXX,ZDRQ,"));
    EXPECT_TRUE(cache->keys("viewv").isEmpty());
    for (const char* control : {"ZDOUTBANK", "ZDJEXX", "ZDRQ"})
        EXPECT_FALSE(readControlPlacement(*cache, control).visible) << control;
}

TEST_F(CheckIniTest, StoredOptionsReachTheCacheAfterARebuild)
{
    auto cache = catalogue.OpenCheckInif(1);
    ASSERT_NE(cache, nullptr);
    EXPECT_EQ(Catalogue::getInifCheckConfigByName(cache.get(), "CFGDATECHINESE"), QStringLiteral("1"));
    EXPECT_EQ(Catalogue::getInifCheckConfigByName(cache.get(), "cfgMissing"), QString());
    EXPECT_EQ(Catalogue::getInifCheckConfigByName(cache.get(), "otherName"), QString());
    EXPECT_EQ(Catalogue::getInifCheckConfigByName(nullptr, "cfgDateChinese"), QString());

    ASSERT_TRUE(catalogue.setCheckConfigByName(1, "CFGDATECHINESE", "0"));
    ASSERT_TRUE(catalogue.setCheckConfigByName(1, "cfgNew", "it's 100%"));
    cache = catalogue.OpenCheckInif(1);
    EXPECT_EQ(Catalogue::getInifCheckConfigByName(cache.get(), "cfgDateChinese"), QStringLiteral("1"));

    catalogue.buildCheckIniFile(1);
    cache = catalogue.OpenCheckInif(1);
    EXPECT_EQ(Catalogue::getInifCheckConfigByName(cache.get(), "cfgDateChinese"), QStringLiteral("0"));
    EXPECT_EQ(Catalogue::getInifCheckConfigByName(cache.get(), "cfgnew"), QStringLiteral("it's 100%"));
}

TEST_F(CheckIniTest, PlacementValuesThatAreNotIntegersCountAsDefaults)
{
    struct Case {
        const char* stored; // null: no key at all
        int number;         // read as x with default 30
        bool visible;       // read as v
    };
    const std::vector<Case> cases = {
        {"12", 12, true}, {"-3", -3, true}, {"0", 0, false}, {"abc", 30, false},
        {"", 30, false},  {"1.5", 30, false}, {nullptr, 30, false},
    };
    IniFile cache(home.path("cache.ini"));
    for (const Case& c : cases) {
        cache.deleteKey("viewx", "ZDA.x");
        cache.deleteKey("viewv", "ZDA.v");
        if (c.stored) {
            cache.writeString("viewx", "ZDA.x", c.stored);
            cache.writeString("viewv", "ZDA.v", c.stored);
        }
        const ControlPlacement placement = readControlPlacement(cache, "zdA");
        EXPECT_EQ(placement.x, c.number) << (c.stored ? c.stored : "missing");
        EXPECT_EQ(placement.visible, c.visible) << (c.stored ? c.stored : "missing");
        EXPECT_EQ(placement.y, 25);
        EXPECT_EQ(placement.w, 45);
        EXPECT_EQ(placement.h, 18);
    }
}
