#include "TempHome.h"

#include "data/Database.h"
#include "platform/IniFile.h"
#include "shell/SystemCommands.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

using namespace slipcraft;

TEST(DayStamp, IsTheSumOfYearMonthAndDay)
{
    EXPECT_EQ(dayStamp(QDate(2024, 5, 17)), QStringLiteral("2046"));
    EXPECT_EQ(dayStamp(QDate(2024, 6, 16)), QStringLiteral("2046"));
    EXPECT_EQ(dayStamp(QDate(2026, 12, 10)), QStringLiteral("2048"));

    // A stamp from another day with the same sum hides the panel too.
    EXPECT_TRUE(adPanelHiddenOn(QDate(2024, 6, 16), adPanelStampFor(QDate(2024, 5, 17), false)));
    EXPECT_FALSE(adPanelHiddenOn(QDate(2024, 6, 17), adPanelStampFor(QDate(2024, 5, 17), false)));
    // Showing it stores a stamp no day matches.
    EXPECT_EQ(adPanelStampFor(QDate(2024, 5, 17), true), QStringLiteral("1046"));
    EXPECT_FALSE(adPanelHiddenOn(QDate(2024, 5, 17), adPanelStampFor(QDate(2024, 5, 17), true)));
    EXPECT_FALSE(adPanelHiddenOn(QDate(2024, 5, 17), QString()));
}

TEST(UserSettings, ToolBarAndExitQuestion)
{
    TempHome home;
    IniFile ini(home.path(QStringLiteral("Config.ini")));
    EXPECT_TRUE(toolBarVisible(ini));
    EXPECT_EQ(exitQuestion(ini), QStringLiteral("真的要退出【Marrowind票据打印】系统吗？"));

    saveToolBarVisible(ini, false);
    ini.writeString(QStringLiteral("Info"), QStringLiteral("nm"), QStringLiteral("某某财务"));
    IniFile reread(home.path(QStringLiteral("Config.ini")));
    EXPECT_EQ(reread.readString(QStringLiteral("FM_MAIN"), QStringLiteral("TOOLBARMAIN")), QStringLiteral("0"));
    EXPECT_FALSE(toolBarVisible(reread));
    EXPECT_EQ(exitQuestion(reread), QStringLiteral("真的要退出【某某财务票据打印】系统吗？"));

    reread.writeString(QStringLiteral("fm_main"), QStringLiteral("toolbarmain"), QStringLiteral("yes"));
    EXPECT_FALSE(toolBarVisible(reread)); // only "1" shows it
}

namespace {

class CacheResetTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        home.createDatabase();
        // Template 1 is of a known bill type, 2 of an unknown one, 3 has no bill type.
        exec("insert into NameDict (CheckTypeName,CtlName,CtlLabel) values ('支票','ZDJE','金额'),"
             "('支票','ZDRQ','日期'),('支票',NULL,'坏行')");
        exec("insert into ckTypeTable (CheckTypeId,TypeName,TypeFirstName,IniFile,ImgFile) values "
             "(1,'支票（工行）','支票','1.ini','Image\\ZP1.jpg'),"
             "(2,'旧票（某行）','旧票','2.ini','JZD2.jpg'),"
             "(3,'无类型','', '3.ini','')");
        exec("insert into CKControl (CheckTypeId,CtlName) values (1,'ZDJE'),(1,'zdrq'),(1,'ZDGONE'),(2,'ZDJE'),(9,'ZDJE')");
        exec("insert into DMTable (CheckTypeId,DMName,DMValue) values (1,'cfgA','1'),(2,'cfgB','1'),(9,'cfgC','1')");
    }

    void exec(const char* sql) { db.execute(QString::fromUtf8(sql)); }
    QStringList column(const char* sql) { return db.textColumn(QString::fromUtf8(sql)); }

    void putPicture(const QString& name)
    {
        QDir().mkpath(home.path(QStringLiteral("Image")));
        QFile file(home.path(QStringLiteral("Image/") + name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }

    TempHome home;
    Database db{home.databasePath(), QStringLiteral("cache-reset")};
};

} // namespace

TEST_F(CacheResetTest, RemovesWhatLostItsOwnerAndKeepsTheRest)
{
    const CacheResetResult result = resetSoftwareCaches(db, home.runPath());
    EXPECT_EQ(result.databaseError, QString());

    EXPECT_EQ(column("select CheckTypeId from ckTypeTable order by 1"), (QStringList{"1", "3"}));
    EXPECT_EQ(column("select distinct IniFile from ckTypeTable"), QStringList{""});
    // A layout whose name differs from its item only in letter case stays.
    EXPECT_EQ(column("select CtlName from CKControl order by ID"), (QStringList{"ZDJE", "zdrq"}));
    EXPECT_EQ(column("select DMName from DMTable where DMName like 'cfg%' order by ID"), QStringList{"cfgA"});
    // Shared dictionaries (template 0) stay.
    EXPECT_GT(db.scalar(QStringLiteral("select count(*) from DMTable where CheckTypeId=0")).toInt(), 0);
}

TEST_F(CacheResetTest, DeletesOnlyPicturesNoTemplateUses)
{
    for (const char* name : {"ZP1.jpg", "zp1.JPG", "JZD2.jpg", "Sys_boot.jpg", "my_sys_bg.jpg", "ZP7.jpg", "notes.txt", "P1.jpg"})
        putPicture(QString::fromUtf8(name));
    putPicture(QStringLiteral("kept.jpg"));
    QFile::setPermissions(home.path(QStringLiteral("Image/kept.jpg")), QFile::ReadOwner);

    const CacheResetResult result = resetSoftwareCaches(db, home.runPath());
    QStringList deleted = result.deletedPictures;
    deleted.sort();
    // JZD2.jpg belonged to template 2, which the same reset removed.
    EXPECT_EQ(deleted, (QStringList{"JZD2.jpg", "ZP7.jpg"}));
    QStringList left = QDir(home.path(QStringLiteral("Image"))).entryList(QDir::Files);
    left.sort();
    EXPECT_EQ(left, (QStringList{"P1.jpg", "Sys_boot.jpg", "ZP1.jpg", "kept.jpg", "my_sys_bg.jpg", "notes.txt", "zp1.JPG"}));
}

TEST_F(CacheResetTest, AFailingStatementIsReportedAndPicturesAreStillCleaned)
{
    exec("drop table DMTable");
    putPicture(QStringLiteral("ZP7.jpg"));
    const CacheResetResult result = resetSoftwareCaches(db, home.runPath());
    EXPECT_TRUE(result.databaseError.contains(QStringLiteral("DMTable"), Qt::CaseInsensitive)) << result.databaseError.toStdString();
    EXPECT_EQ(result.deletedPictures, QStringList{"ZP7.jpg"});
    // The statements before the failing one took effect.
    EXPECT_EQ(column("select CheckTypeId from ckTypeTable order by 1"), (QStringList{"1", "3"}));
}
