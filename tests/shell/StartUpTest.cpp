#include "TempHome.h"

#include "RecordingMessages.h"

#include "platform/RegistryStore.h"
#include "shell/StartUp.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>

using namespace slipcraft;

TEST(StartUp, VersionTextHasTheAskedParts)
{
    const QStringList full = QStringLiteral(SLIPCRAFT_VERSION).split(QLatin1Char('.'));
    ASSERT_EQ(full.size(), 4);
    EXPECT_EQ(programVersionText(2), full.mid(0, 2).join(QLatin1Char('.')));
    EXPECT_EQ(programVersionText(3), full.mid(0, 3).join(QLatin1Char('.')));
    EXPECT_EQ(programVersionText(4), QStringLiteral(SLIPCRAFT_VERSION));
    EXPECT_EQ(programVersionText(7), QStringLiteral(SLIPCRAFT_VERSION));
}

TEST(StartUp, CaptionAndArchiveMessageCarryTheVersion)
{
    EXPECT_TRUE(mainWindowCaption(QStringLiteral("1.0")).startsWith(QStringLiteral("Marrowind票据打印V1.0- 欢迎登陆官方网站 ")));
    const QStringList lines = archiveMessage(QStringLiteral("1.0")).split(QLatin1Char('\r'));
    ASSERT_EQ(lines.size(), 6);
    EXPECT_EQ(lines[0], QStringLiteral("请不要从压缩包中直接运行软件，这样会使你的软件设置失效，建议："));
    EXPECT_EQ(lines[1], QStringLiteral("  1、鼠标右击压缩包解压到非系统盘（例如： D:\\Marrowind软件SlipcraftV1.0\\，再运行）;"));
    EXPECT_EQ(lines[4], QString());
    EXPECT_TRUE(runsInsideArchive(QStringLiteral("/tmp/Rar$EXa0.123/slipcraft/")));
    EXPECT_FALSE(runsInsideArchive(QStringLiteral("/home/clerk/slipcraft/")));
}

TEST(StartUp, InstallRecordWritesOnlyWhatChanged)
{
    QTemporaryDir dir;
    RegistryStore store(dir.filePath(QStringLiteral("Slipcraft.conf")));
    RecordingMessages messages;
    const QStringList all{QStringLiteral("RunPath"), QStringLiteral("Version"), QStringLiteral("FullPath")};

    EXPECT_EQ(updateInstallRecord(store, "/a/", "1.0", "/a/slipcraft", messages), all);
    EXPECT_EQ(updateInstallRecord(store, "/a/", "1.0", "/a/slipcraft", messages), QStringList{"FullPath"});
    EXPECT_EQ(updateInstallRecord(store, "/a/", "1.1", "/a/slipcraft", messages), (QStringList{"Version", "FullPath"}));
    EXPECT_EQ(store.read(QStringLiteral("Version")), QStringLiteral("1.1"));
    EXPECT_TRUE(messages.messages.isEmpty());
}

TEST(StartUp, InstallRecordThatCannotBeWrittenIsReportedOnce)
{
    QTemporaryDir dir;
    RegistryStore store(unwritablePath(dir, QStringLiteral("Slipcraft.conf")));
    RecordingMessages messages;
    EXPECT_TRUE(updateInstallRecord(store, "/a/", "1.0", "/a/slipcraft", messages).isEmpty());
    ASSERT_EQ(messages.messages.size(), 1);
    EXPECT_EQ(messages.messages[0].text, QStringLiteral("注册表读写错误！"));
}

TEST(StartUp, MissingSystemPicturesAreDrawnAndExistingOnesKept)
{
    QTemporaryDir dir;
    const QString runPath = dir.path() + QLatin1Char('/');
    // An existing splash under other letter case is the splash.
    QDir(dir.path()).mkpath(QStringLiteral("image"));
    QImage own(10, 10, QImage::Format_RGB32);
    own.fill(Qt::red);
    ASSERT_TRUE(own.save(dir.filePath(QStringLiteral("image/SYS_BOOT.JPG")), "JPG"));

    ensureSystemPictures(runPath, QStringLiteral("1.0"));

    EXPECT_EQ(QImage(splashPicturePath(runPath)).size(), QSize(10, 10));
    const QString background = backgroundPicturePath(runPath);
    EXPECT_EQ(background, dir.filePath(QStringLiteral("image/sys_bg.jpg")));
    const QImage drawn(background);
    EXPECT_FALSE(drawn.isNull());
    EXPECT_GE(drawn.width(), 1024);

    QTemporaryDir fresh;
    ensureSystemPictures(fresh.path() + QLatin1Char('/'), QStringLiteral("1.0"));
    EXPECT_EQ(QImage(fresh.filePath(QStringLiteral("Image/Sys_boot.jpg"))).size(), QSize(370, 249));
    EXPECT_TRUE(QFileInfo::exists(fresh.filePath(QStringLiteral("Image/sys_bg.jpg"))));
}
