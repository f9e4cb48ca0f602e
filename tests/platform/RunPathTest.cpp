#include "TempHome.h"

#include "platform/RunPath.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace slipcraft;

TEST(RunPath, SourcesTakePrecedenceInOrder)
{
    QTemporaryDir portable;
    QDir(portable.path()).mkpath(QStringLiteral("data")); // any letter case counts
    QTemporaryDir installed;                               // no Data folder
    const QString p = portable.path();
    const QString i = installed.path();

    struct Case {
        RunPathSources sources;
        QString expected;
    };
    const Case cases[] = {
        {{"/opt/a", "/opt/b", p, "/xdg", "/home/u"}, "/opt/a/"},
        {{"", "/opt/b/", p, "/xdg", "/home/u"}, "/opt/b/"},
        {{"", "", p, "/xdg", "/home/u"}, p + "/"},
        {{"", "", i, "/xdg", "/home/u"}, "/xdg/slipcraft/"},
        {{"", "", i, "", "/home/u"}, "/home/u/.local/share/slipcraft/"},
        {{"", "", i, "relative/xdg", "/home/u"}, "/home/u/.local/share/slipcraft/"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(resolveRunPath(c.sources), c.expected) << c.expected.toStdString();
}

TEST(RunPath, RelativeHomeBecomesAbsolute)
{
    const QString resolved = resolveRunPath({"some/dir", "", "", "", "/home/u"});
    EXPECT_TRUE(QDir::isAbsolutePath(resolved));
    EXPECT_TRUE(resolved.endsWith(QStringLiteral("some/dir/")));
}

TEST(RunPath, FindsFilesWithoutRegardToCase)
{
    QTemporaryDir dir;
    QDir(dir.path()).mkpath(QStringLiteral("image"));
    QFile file(dir.filePath(QStringLiteral("image/SYS_BG.JPG")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    const QString base = dir.path() + QLatin1Char('/');

    EXPECT_EQ(findIgnoringCase(base, QStringLiteral("Image/sys_bg.jpg")), dir.filePath(QStringLiteral("image/SYS_BG.JPG")));
    // A missing file keeps its given name, under the folder that was found.
    EXPECT_EQ(findIgnoringCase(base, QStringLiteral("Image/Sys_boot.jpg")), dir.filePath(QStringLiteral("image/Sys_boot.jpg")));
    EXPECT_EQ(findIgnoringCase(base, QStringLiteral("Data/EPData.ini")), dir.filePath(QStringLiteral("Data/EPData.ini")));
}

TEST(RunPath, WritableFolderIsMadeAndCheckedByWriting)
{
    QTemporaryDir dir;
    EXPECT_EQ(checkWritableFolder(dir.filePath(QStringLiteral("new/home"))), QString());
    EXPECT_TRUE(QDir(dir.filePath(QStringLiteral("new/home"))).exists());
    EXPECT_TRUE(QDir(dir.filePath(QStringLiteral("new/home"))).entryList(QDir::Files | QDir::Hidden).isEmpty());

    const QString problem = checkWritableFolder(unwritablePath(dir, QStringLiteral("home")));
    EXPECT_TRUE(problem.contains(QStringLiteral("blocker/home"))) << problem.toStdString();
}
