#include "RecordingMessages.h"
#include "TempHome.h"

#include "platform/IniFile.h"
#include "shell/AppContext.h"

#include <gtest/gtest.h>

#include <QSignalSpy>

using namespace slipcraft;

namespace {

class AppContextTest : public ::testing::Test {
protected:
    void SetUp() override { home.createDatabase(); }

    TempHome home;
    RecordingMessages messages;
    AppContext context{home.runPath(), messages};
};

} // namespace

TEST_F(AppContextTest, AlertWithoutCaptionShowsNothing)
{
    messages.answer = true;
    EXPECT_FALSE(context.alert(QStringLiteral("text"), QString(), true));
    EXPECT_TRUE(messages.messages.isEmpty());

    EXPECT_TRUE(context.alert(QStringLiteral("确定要重开软件吗?"), QStringLiteral("重启软件"), true));
    EXPECT_FALSE(context.alert(QStringLiteral("完成"), QStringLiteral("提示"), false));
    ASSERT_EQ(messages.messages.size(), 2);
    EXPECT_TRUE(messages.messages[0].question);
    EXPECT_EQ(messages.messages[0].caption, QStringLiteral("重启软件"));
    EXPECT_FALSE(messages.messages[1].question);
}

TEST_F(AppContextTest, CountTableAllRowsCountsOrReportsTheFailure)
{
    EXPECT_EQ(context.CountTableAllRows(QStringLiteral("MatchColumn")), 36);
    EXPECT_EQ(context.CountTableAllRows(QStringLiteral("configtable")), 0);
    EXPECT_TRUE(messages.messages.isEmpty());

    EXPECT_EQ(context.CountTableAllRows(QStringLiteral("NoSuchTable")), 0);
    ASSERT_EQ(messages.messages.size(), 1);
    EXPECT_TRUE(messages.messages[0].text.startsWith(QStringLiteral("计算表格总数失败:NoSuchTable-")))
        << messages.messages[0].text.toStdString();
    EXPECT_TRUE(messages.messages[0].text.contains(QStringLiteral("NoSuchTable"), Qt::CaseInsensitive));
}

TEST_F(AppContextTest, DebugOutNNumbersItsEntries)
{
    context.DebugOutN(QStringLiteral("getControlValue"), QStringLiteral("zdJE=nil  not found."));
    context.DebugOutN(QStringLiteral("getControlValue"), QStringLiteral("zdRQ=nil  not found."));
    IniFile debug(home.path(QStringLiteral("Debug.ini")));
    EXPECT_EQ(debug.readString(QStringLiteral("debug"), QStringLiteral("getControlValue-1")), QStringLiteral("zdJE=nil  not found."));
    EXPECT_EQ(debug.readString(QStringLiteral("debug"), QStringLiteral("getControlValue-2")), QStringLiteral("zdRQ=nil  not found."));
}

TEST_F(AppContextTest, LoadSysParamFollowsTheStoredSwitches)
{
    QSignalSpy changed(&context, &AppContext::switchesChanged);
    context.LoadSysParam();
    EXPECT_FALSE(context.switches().systemBackImage);
    context.settings().toggleSwitch(Settings::kSystemBackImage, false);
    context.LoadSysParam();
    EXPECT_TRUE(context.switches().systemBackImage);
    EXPECT_EQ(changed.count(), 2);
}

TEST_F(AppContextTest, ReopeningTheUserFileReadsWhatOthersWrote)
{
    EXPECT_EQ(context.settings().getINIConfigByname(QStringLiteral("k")), QString());
    IniFile other(home.path(QStringLiteral("Config.ini")));
    other.writeString(QStringLiteral("Config"), QStringLiteral("k"), QStringLiteral("v"));
    context.OpenUserIniFile();
    EXPECT_EQ(context.settings().getINIConfigByname(QStringLiteral("k")), QStringLiteral("v"));
}

TEST_F(AppContextTest, StartsWithItsDocumentedState)
{
    EXPECT_EQ(context.getRunPath(), home.runPath());
    EXPECT_EQ(context.currentTemplateId, 0);
    EXPECT_TRUE(context.currentRoleName.isEmpty());
    EXPECT_EQ(context.today, QDate::currentDate());
    EXPECT_FALSE(context.db().isOpen()); // opens on the first statement
}
