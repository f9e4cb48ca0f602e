#include "data/Database.h"

#include "TempHome.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <unistd.h>

using slipcraft::Database;
using slipcraft::prepareDatabaseFile;

namespace {

QByteArray readAll(const QString& path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

void writeAll(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size());
}

QStringList entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden);
}

// The bytes of a database this program made.
QByteArray ourDatabase()
{
    TempHome home;
    home.createDatabase();
    return readAll(home.databasePath());
}

// The bytes of an SQLite database some other program made.
QByteArray foreignDatabase()
{
    TempHome home;
    const QString path = home.path(QStringLiteral("other.db"));
    writeAll(path, {});
    {
        Database db(path, QStringLiteral("foreign-database"));
        db.executeScript(QStringLiteral("CREATE TABLE t (x); INSERT INTO t VALUES ('data');"));
    }
    return readAll(path);
}

QByteArray accessHeader(const char* signature)
{
    QByteArray bytes("\x00\x01\x00\x00", 4);
    bytes += signature;
    bytes += QByteArray(4096 - bytes.size(), '\x00');
    return bytes;
}

QByteArray randomBytes()
{
    QRandomGenerator generator(20240229);
    QByteArray bytes(8192, Qt::Uninitialized);
    for (char& byte : bytes)
        byte = char(generator.bounded(256));
    return bytes;
}

// A refusal is one line that names the file.
void expectOneLineNaming(const QString& message, const QString& path, const char* what)
{
    EXPECT_FALSE(message.isEmpty()) << what;
    EXPECT_TRUE(message.contains(QDir::toNativeSeparators(path))) << what << ": " << message.toStdString();
    EXPECT_FALSE(message.contains(QLatin1Char('\n'))) << what;
}

TEST(PrepareDatabaseFile, CreatesAMissingFileAndItsFolderWithNothingBeside)
{
    TempHome home;
    const QString path = home.path(QStringLiteral("a/b/EPData.ini"));
    EXPECT_EQ(prepareDatabaseFile(path), QString());
    EXPECT_EQ(entries(home.path(QStringLiteral("a/b"))), QStringList{QStringLiteral("EPData.ini")});
    Database db(path, QStringLiteral("created"));
    EXPECT_EQ(db.scalar(QStringLiteral("PRAGMA integrity_check")).toString(), QStringLiteral("ok"));
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT count(*) FROM MatchColumn")).toInt(), 36);
}

TEST(PrepareDatabaseFile, LeavesOurOwnCompleteFileUntouched)
{
    TempHome home;
    home.createDatabase(slipcraft::ProductData::Include);
    {
        Database db(home.databasePath(), QStringLiteral("own-file"));
        db.execute(QStringLiteral("INSERT INTO configtable (cname, cvalue) VALUES ('a', '1')"));
    }
    const QByteArray before = readAll(home.databasePath());
    EXPECT_EQ(prepareDatabaseFile(home.databasePath()), QString());
    EXPECT_EQ(readAll(home.databasePath()), before);
    EXPECT_EQ(entries(home.path(QStringLiteral("Data"))), QStringList{QStringLiteral("EPData.ini")});
}

TEST(PrepareDatabaseFile, RestoresMissingTablesAndKeepsTheRest)
{
    TempHome home;
    home.createDatabase();
    {
        Database db(home.databasePath(), QStringLiteral("drop-tables"));
        db.executeScript(QStringLiteral("DROP TABLE MatchColumn; DROP TABLE ReceiverList; DELETE FROM coins WHERE 币种 <> '人民币';"));
    }
    EXPECT_EQ(prepareDatabaseFile(home.databasePath()), QString());
    Database db(home.databasePath(), QStringLiteral("restored"));
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT count(*) FROM ReceiverList")).toInt(), 0);
    EXPECT_TRUE(db.textColumn(QStringLiteral("SELECT name FROM pragma_table_info('MatchColumn')")).contains(QStringLiteral("SourceName")));
    // an existing table keeps its rows as they are, without seed rows added again
    EXPECT_EQ(db.textColumn(QStringLiteral("SELECT 币种 FROM coins")), QStringList{QStringLiteral("人民币")});
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT count(*) FROM DMTable2")).toInt(), 465);
}

// A file from before a bill type's form existed gets that bill type's product data; what
// it has already stays as it is, and a template id taken by the user's own template is
// never reused.
TEST(PrepareDatabaseFile, AddsTheProductDataOfMissingBillTypesOnly)
{
    TempHome home;
    home.createDatabase(slipcraft::ProductData::Include);
    {
        slipcraft::Database db(home.databasePath(), QStringLiteral("older-file"));
        db.executeScript(QStringLiteral(
            "DELETE FROM NameDict WHERE CheckTypeName IN ('进账单', '电汇单');"
            "DELETE FROM CKControl WHERE CheckTypeId IN (SELECT CheckTypeId FROM ckTypeTable WHERE TypeFirstName IN ('进账单', '电汇单'));"
            "DELETE FROM DMTable WHERE CheckTypeId IN (SELECT CheckTypeId FROM ckTypeTable WHERE TypeFirstName IN ('进账单', '电汇单'));"
            "DELETE FROM ckTypeTable WHERE TypeFirstName IN ('进账单', '电汇单');"
            "UPDATE ckTypeTable SET CheckTypeId = 110, TypeName = '支票（我的）', IsDefault = '0' WHERE TypeFirstName = '缴款单';"
            "UPDATE CKControl SET CtlX = 1 WHERE CtlName = 'ZDINCOMP';"));
    }
    ASSERT_EQ(prepareDatabaseFile(home.databasePath()), QString());
    slipcraft::Database db(home.databasePath(), QStringLiteral("brought-up-to-date"));
    const auto count = [&](const char* sql) { return db.scalar(QString::fromUtf8(sql)).toInt(); };
    EXPECT_GT(count("SELECT count(*) FROM NameDict WHERE CheckTypeName = '进账单'"), 0);
    EXPECT_EQ(count("SELECT count(*) FROM ckTypeTable WHERE TypeFirstName = '电汇单' AND CheckTypeId = 120"), 1);
    // Id 110 belongs to another template now: the slip's takes the next free one.
    EXPECT_EQ(count("SELECT count(*) FROM ckTypeTable WHERE TypeFirstName = '进账单' AND CheckTypeId = 110"), 0);
    const int slip = count("SELECT CheckTypeId FROM ckTypeTable WHERE TypeFirstName = '进账单'");
    EXPECT_GT(slip, 140);
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT ImgFile FROM ckTypeTable WHERE CheckTypeId = :id"), {{QStringLiteral("id"), slip}})
                  .toString(),
              QStringLiteral("jzd%1.jpg").arg(slip));
    EXPECT_GT(count("SELECT count(*) FROM CKControl c JOIN ckTypeTable t USING (CheckTypeId) WHERE t.TypeFirstName = '进账单'"), 0);
    // What the file had stays as it was.
    EXPECT_EQ(count("SELECT count(*) FROM CKControl WHERE CtlName = 'ZDINCOMP' AND CtlX = 1"),
              count("SELECT count(*) FROM ckTypeTable WHERE TypeFirstName IN ('支票', '缴款单', '承兑汇票', '定制单')"));
    EXPECT_EQ(count("SELECT count(*) FROM ckTypeTable WHERE TypeFirstName = '缴款单'"), 1);
}

TEST(PrepareDatabaseFile, RefusesFilesThatAreNotOursAndLeavesThemUnchanged)
{
    struct Case {
        const char* what;
        QByteArray bytes;
        const char* says;
    };
    const QByteArray own = ourDatabase();
    ASSERT_GT(own.size(), 8192);
    const Case cases[] = {
        {"empty file", QByteArray(), "空文件"},
        {"Jet database", accessHeader("Standard Jet DB"), "Access格式"},
        {"ACE database", accessHeader("Standard ACE DB"), "Access格式"},
        {"random bytes", randomBytes(), "不是数据库文件"},
        {"settings text", QByteArray("[Settings]\r\nLastUser=admin\r\n"), "不是数据库文件"},
        {"truncated database", own.left(own.size() / 2), "不完整"},
        {"header cut short", own.left(60), "不完整"},
        {"foreign database", foreignDatabase(), "其他程序"},
    };
    for (const Case& c : cases) {
        TempHome home;
        const QString path = home.databasePath();
        writeAll(path, c.bytes);
        const QString message = prepareDatabaseFile(path);
        expectOneLineNaming(message, path, c.what);
        EXPECT_TRUE(message.contains(QString::fromUtf8(c.says))) << c.what << ": " << message.toStdString();
        EXPECT_EQ(readAll(path), c.bytes) << c.what;
        EXPECT_EQ(entries(home.path(QStringLiteral("Data"))), QStringList{QStringLiteral("EPData.ini")}) << c.what;
    }
}

TEST(PrepareDatabaseFile, RefusesWhenSomethingElseStandsInTheWay)
{
    TempHome home;
    // a folder where the file should be
    const QString folderPath = home.path(QStringLiteral("one/EPData.ini"));
    ASSERT_TRUE(QDir().mkpath(folderPath));
    expectOneLineNaming(prepareDatabaseFile(folderPath), folderPath, "folder as file");
    EXPECT_TRUE(QFileInfo(folderPath).isDir());
    EXPECT_EQ(entries(folderPath), QStringList());

    // a file where the folder should be
    const QString blocker = home.path(QStringLiteral("two/Data"));
    writeAll(blocker, "not a folder");
    const QString path = blocker + QStringLiteral("/EPData.ini");
    expectOneLineNaming(prepareDatabaseFile(path), path, "file as folder");
    EXPECT_EQ(readAll(blocker), QByteArray("not a folder"));
    EXPECT_EQ(entries(home.path(QStringLiteral("two"))), QStringList{QStringLiteral("Data")});
}

// Permissions do not hold back the superuser, so these run under an ordinary account only.
TEST(PrepareDatabaseFile, RefusesWhereItCannotWrite)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "permissions are not enforced for the superuser";
    TempHome home;
    home.createDatabase();
    const QString data = home.path(QStringLiteral("Data"));
    const QString path = home.databasePath();
    const QByteArray before = readAll(path);

    QFile::setPermissions(path, {});
    expectOneLineNaming(prepareDatabaseFile(path), path, "unreadable file");
    QFile::setPermissions(path, QFileDevice::ReadOwner);
    expectOneLineNaming(prepareDatabaseFile(path), path, "read-only file");
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);

    QFile::setPermissions(data, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    expectOneLineNaming(prepareDatabaseFile(path), path, "read-only folder with file");
    const QString missing = data + QStringLiteral("/New.ini");
    expectOneLineNaming(prepareDatabaseFile(missing), missing, "read-only folder without file");
    QFile::setPermissions(data, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

    EXPECT_EQ(readAll(path), before);
    EXPECT_EQ(entries(data), QStringList{QStringLiteral("EPData.ini")});
}

} // namespace
