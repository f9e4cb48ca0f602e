#include "TempHome.h"

#include "platform/Gbk.h"
#include "platform/IniFile.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

using namespace slipcraft;

namespace {

QByteArray readAll(const QString& path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

void writeAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

class IniFileTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("Config.ini"));
};

} // namespace

TEST_F(IniFileTest, EveryWriteIsOnDiskAtOnceInUtf8)
{
    IniFile ini(path);
    EXPECT_TRUE(ini.writeString(QStringLiteral("Info"), QStringLiteral("nm"), QStringLiteral("某公司")));
    EXPECT_TRUE(ini.writeInteger(QStringLiteral("FM_MAIN"), QStringLiteral("FormWidth"), 1024));

    const QByteArray bytes = readAll(path);
    EXPECT_TRUE(bytes.contains("nm=\xE6\x9F\x90\xE5\x85\xAC\xE5\x8F\xB8")) << bytes.constData();
    EXPECT_TRUE(bytes.contains("FormWidth=1024"));

    IniFile again(path);
    EXPECT_EQ(again.readString(QStringLiteral("Info"), QStringLiteral("nm")), QStringLiteral("某公司"));
    EXPECT_EQ(again.readInteger(QStringLiteral("FM_MAIN"), QStringLiteral("FormWidth"), 0), 1024);
}

TEST_F(IniFileTest, SectionsAndKeysMatchWithoutRegardToCase)
{
    IniFile ini(path);
    ini.writeString(QStringLiteral("FM_MAIN"), QStringLiteral("TOOLBARMAIN"), QStringLiteral("0"));
    ini.writeString(QStringLiteral("fm_main"), QStringLiteral("toolbarmain"), QStringLiteral("1"));

    EXPECT_EQ(ini.readString(QStringLiteral("Fm_Main"), QStringLiteral("ToolBarMain")), QStringLiteral("1"));
    EXPECT_EQ(ini.sections(), QStringList{QStringLiteral("FM_MAIN")});
    EXPECT_EQ(ini.keys(QStringLiteral("fm_main")), QStringList{QStringLiteral("TOOLBARMAIN")});
}

TEST_F(IniFileTest, ReadsALegacyGbkFileAndRewritesItInUtf8)
{
    writeAll(path, gbk::encode(u"[Info]\r\nnm=某某财务\r\n[打印机]\r\n型号=票据打印机\r\n"));
    IniFile ini(path);
    EXPECT_EQ(ini.readString(QStringLiteral("INFO"), QStringLiteral("NM")), QStringLiteral("某某财务"));
    EXPECT_EQ(ini.readString(QStringLiteral("打印机"), QStringLiteral("型号")), QStringLiteral("票据打印机"));

    ini.writeString(QStringLiteral("Info"), QStringLiteral("other"), QStringLiteral("x"));
    IniFile again(path);
    EXPECT_EQ(again.readString(QStringLiteral("Info"), QStringLiteral("nm")), QStringLiteral("某某财务"));
    EXPECT_TRUE(readAll(path).contains(QStringLiteral("某某财务").toUtf8()));
}

TEST_F(IniFileTest, MalformedLinesAreSkipped)
{
    writeAll(path, "\xEF\xBB\xBF" "stray text before any section\n"
                   "[Config]\n"
                   "ZPView_DBLOPEN=0\n"
                   "=value without key\n"
                   "a line without equals\n"
                   "KDDView_DBLOPEN = 1 \n"
                   "[unclosed section\n"
                   "[Info]\n"
                   "nm=X\n");
    IniFile ini(path);
    EXPECT_EQ(ini.readString(QStringLiteral("Config"), QStringLiteral("ZPView_DBLOPEN")), QStringLiteral("0"));
    EXPECT_EQ(ini.readString(QStringLiteral("Config"), QStringLiteral("KDDView_DBLOPEN")), QStringLiteral("1"));
    EXPECT_EQ(ini.readString(QStringLiteral("Config"), QStringLiteral("missing"), QStringLiteral("d")), QStringLiteral("d"));
    EXPECT_EQ(ini.readString(QStringLiteral("Info"), QStringLiteral("nm")), QStringLiteral("X"));
}

TEST_F(IniFileTest, MissingFileReadsDefaultsAndIsCreatedOnFirstWrite)
{
    const QString nested = dir.filePath(QStringLiteral("Temp/CheckIni/12.ini"));
    IniFile ini(nested);
    EXPECT_EQ(ini.readInteger(QStringLiteral("a"), QStringLiteral("b"), 7), 7);
    EXPECT_FALSE(QFile::exists(nested));
    EXPECT_TRUE(ini.writeString(QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("8")));
    EXPECT_TRUE(QFile::exists(nested));
}

TEST_F(IniFileTest, ValuesStayOnOneLineAndDeletesReachTheDisk)
{
    IniFile ini(path);
    ini.writeString(QStringLiteral("s"), QStringLiteral("k"), QStringLiteral("line1\r\nline2"));
    ini.writeString(QStringLiteral("s"), QStringLiteral("gone"), QStringLiteral("x"));
    ini.writeString(QStringLiteral("old"), QStringLiteral("k"), QStringLiteral("x"));
    ini.deleteKey(QStringLiteral("S"), QStringLiteral("GONE"));
    ini.eraseSection(QStringLiteral("OLD"));

    IniFile again(path);
    EXPECT_EQ(again.readString(QStringLiteral("s"), QStringLiteral("k")), QStringLiteral("line1  line2"));
    EXPECT_FALSE(again.valueExists(QStringLiteral("s"), QStringLiteral("gone")));
    EXPECT_FALSE(again.sectionExists(QStringLiteral("old")));
}

TEST_F(IniFileTest, AWriteThatCannotReachTheDiskIsReported)
{
    IniFile ini(unwritablePath(dir, QStringLiteral("Config.ini")));
    EXPECT_FALSE(ini.writeString(QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")));
    EXPECT_EQ(ini.readString(QStringLiteral("a"), QStringLiteral("b")), QStringLiteral("c"));
}

TEST_F(IniFileTest, ABatchIsSavedOnceAtItsEnd)
{
    IniFile ini(path);
    ini.beginBatch();
    EXPECT_TRUE(ini.writeString(QStringLiteral("viewx"), QStringLiteral("ZDJE.x"), QStringLiteral("10")));
    EXPECT_TRUE(ini.writeString(QStringLiteral("viewy"), QStringLiteral("ZDJE.y"), QStringLiteral("20")));
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_TRUE(ini.endBatch());
    IniFile reread(path);
    EXPECT_EQ(reread.readString(QStringLiteral("viewy"), QStringLiteral("ZDJE.y")), QStringLiteral("20"));

    IniFile unwritable(unwritablePath(dir, QStringLiteral("12.ini")));
    unwritable.beginBatch();
    unwritable.writeString(QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"));
    EXPECT_FALSE(unwritable.endBatch());
}
