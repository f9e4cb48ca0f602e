#include "data/Database.h"

#include "TempHome.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>

#include <memory>
#include <optional>

using slipcraft::Database;
using slipcraft::DatabaseError;
using slipcraft::SqlParams;

namespace {

class DatabaseTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        home.createDatabase();
        db = std::make_unique<Database>(home.databasePath(), QStringLiteral("database-test"));
    }

    int count(const QString& sql, const SqlParams& params = {}) { return db->scalar(sql, params).toInt(); }

    TempHome home;
    std::unique_ptr<Database> db;
};

TEST(DatabaseConnection, NeverCreatesAMissingFile)
{
    TempHome home;
    const QString path = home.path(QStringLiteral("EPData.ini"));
    Database db(path, QStringLiteral("missing-file"));
    EXPECT_THROW(db.scalar(QStringLiteral("SELECT 1")), DatabaseError);
    EXPECT_FALSE(db.isOpen());
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_EQ(QDir(home.runPath()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
}

TEST(DatabaseConnection, OpensAFileWhosePathHoldsUriCharacters)
{
    TempHome home;
    const QString path = home.path(QStringLiteral("数据 a#b?c%20d&mode=ro/EPData.ini"));
    ASSERT_TRUE(slipcraft::prepareDatabaseFile(path).isEmpty());
    Database db(path, QStringLiteral("uri-path"));
    EXPECT_EQ(db.execute(QStringLiteral("INSERT INTO configtable (cname, cvalue) VALUES ('a', 'b')")), 1);
    EXPECT_EQ(db.filePath(), path);
    // nothing was created beside it under a cut-off or decoded name
    EXPECT_EQ(QDir(home.runPath()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
              QStringList{QStringLiteral("数据 a#b?c%20d&mode=ro")});
}

TEST_F(DatabaseTest, OpensOnFirstUseAndAgainAfterClose)
{
    EXPECT_FALSE(db->isOpen());
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM MatchColumn")), 36);
    EXPECT_TRUE(db->isOpen());
    db->close();
    EXPECT_FALSE(db->isOpen());
    // val() belongs to the connection, so a reopened one needs it again
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT val('4.5')")).toDouble(), 4.5);
}

TEST_F(DatabaseTest, ValueWithQuotesBackslashAndWildcardsRoundTrips)
{
    const QString awkward = QStringLiteral("O'Brien \\ 100% _x_ \"q\" ; -- 张三");
    const SqlParams params{{QStringLiteral("name"), QStringLiteral("备注")}, {QStringLiteral("value"), awkward}};
    EXPECT_EQ(db->execute(QStringLiteral("INSERT INTO DMTable (CheckTypeId, DMName, DMValue) VALUES (0, :name, :value)"), params), 1);
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT DMValue FROM DMTable WHERE DMName = :name AND DMValue = :value"), params).toString(), awkward);
    EXPECT_EQ(db->textColumn(QStringLiteral("SELECT DMValue FROM DMTable WHERE DMValue LIKE :pattern"),
                             {{QStringLiteral("pattern"), QStringLiteral("O'Brien%")}}),
              QStringList{awkward});
}

TEST_F(DatabaseTest, BindsValuesAsStored)
{
    struct Case {
        const char* what;
        QVariant bound;
        const char* type;
        const char* text;
    };
    const Case cases[] = {
        {"null variant", QVariant(), "null", ""},
        {"null text", QVariant(QString()), "text", ""},
        {"empty text", QVariant(QStringLiteral("")), "text", ""},
        {"number-like text", QVariant(QStringLiteral("0012.50")), "text", "0012.50"},
        {"integer", QVariant(42), "integer", "42"},
        {"date", QVariant(QDate(2024, 2, 29)), "text", "2024-02-29"},
        {"date and time", QVariant(QDateTime(QDate(2024, 2, 29), QTime(8, 5, 9, 120))), "text", "2024-02-29 08:05:09"},
        {"time", QVariant(QTime(23, 59, 59)), "text", "23:59:59"},
        {"null date", QVariant(QDate()), "null", ""},
    };
    for (const Case& c : cases) {
        auto row = db->query(QStringLiteral("SELECT typeof(:v), :v"), {{QStringLiteral("v"), c.bound}});
        ASSERT_TRUE(row.next()) << c.what;
        EXPECT_EQ(row.value(0).toString(), QString::fromUtf8(c.type)) << c.what;
        EXPECT_EQ(row.value(1).toString(), QString::fromUtf8(c.text)) << c.what;
    }
}

TEST_F(DatabaseTest, PlaceholderUsedTwiceBindsBothPlaces)
{
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT :a || '-' || :b || '-' || :a"),
                         {{QStringLiteral("a"), QStringLiteral("x")}, {QStringLiteral("b"), QStringLiteral("y")}}).toString(),
              QStringLiteral("x-y-x"));
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM coins WHERE 币种 = :v OR 缩写 = :v"), {{QStringLiteral("v"), QStringLiteral("usd")}}), 1);
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM coins WHERE 币种 = :v OR 缩写 = :v"), {{QStringLiteral("v"), QStringLiteral("人民币")}}), 1);
}

TEST_F(DatabaseTest, ReportsRowsChangedAndInsertedId)
{
    EXPECT_EQ(db->execute(QStringLiteral("UPDATE coins SET 顺序 = 顺序 WHERE 顺序 < :n"), {{QStringLiteral("n"), 100}}),
              count(QStringLiteral("SELECT count(*) FROM coins")) - 1);
    EXPECT_EQ(db->execute(QStringLiteral("UPDATE configtable SET cvalue = 'x' WHERE cname = 'none'")), 0);
    auto insert = db->query(QStringLiteral("INSERT INTO ClassPerson (FullPathName) VALUES ('a')"));
    EXPECT_EQ(insert.lastInsertId(), 1);
    EXPECT_TRUE(db->scalar(QStringLiteral("SELECT cvalue FROM configtable")).isNull());
}

TEST_F(DatabaseTest, FailingStatementsThrowTheEngineText)
{
    struct Case {
        const char* sql;
        SqlParams params;
        const char* text;
    };
    const Case cases[] = {
        {"SELECT * FROM NoSuchTable", {}, "no such table: NoSuchTable"},
        {"SELEKT 1", {}, "syntax error"},
        {"INSERT INTO coins (币种, 缩写) VALUES ('人民币', 'R')", {}, "UNIQUE constraint failed"},
        // a misspelt name would otherwise store NULL without a word
        {"INSERT INTO configtable (cname, cvalue) VALUES (:cname, :cvalue)",
         {{QStringLiteral("cname"), QStringLiteral("a")}, {QStringLiteral("cValue"), QStringLiteral("b")}},
         "No value for the parameter :cvalue"},
        {"INSERT INTO configtable (cname, cvalue) VALUES (?, ?)", {}, "No value for the parameter"},
        {"INSERT INTO configtable (cname, cvalue) VALUES (@a, $b)", {{QStringLiteral("a"), 1}, {QStringLiteral("b"), 2}}, "by :name only"},
    };
    for (const Case& c : cases) {
        try {
            db->execute(QString::fromUtf8(c.sql), c.params);
            ADD_FAILURE() << "no error for " << c.sql;
        } catch (const DatabaseError& error) {
            EXPECT_TRUE(error.text().contains(QString::fromUtf8(c.text))) << error.text().toStdString();
        }
    }
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM configtable")), 0);
}

TEST_F(DatabaseTest, TransactionCommitsOrRollsBackAsAWhole)
{
    const QString insert = QStringLiteral("INSERT INTO configtable (cname, cvalue) VALUES (:n, '1')");
    db->inTransaction([&] {
        db->execute(insert, {{QStringLiteral("n"), QStringLiteral("kept1")}});
        db->execute(insert, {{QStringLiteral("n"), QStringLiteral("kept2")}});
    });
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM configtable")), 2);

    EXPECT_THROW(db->inTransaction([&] {
        db->execute(insert, {{QStringLiteral("n"), QStringLiteral("lost")}});
        db->execute(insert, {{QStringLiteral("n"), QStringLiteral("KEPT1")}}); // duplicate key
    }),
                 DatabaseError);
    struct Cancelled {};
    EXPECT_THROW(db->inTransaction([&] {
        db->execute(QStringLiteral("DELETE FROM configtable"));
        throw Cancelled();
    }),
                 Cancelled);
    EXPECT_EQ(db->textColumn(QStringLiteral("SELECT cname FROM configtable ORDER BY cname")),
              (QStringList{QStringLiteral("kept1"), QStringLiteral("kept2")}));
    // a transaction the engine already ended must not hide the error that ended it
    struct DiskFull {};
    EXPECT_THROW(db->inTransaction([&] {
        db->execute(QStringLiteral("ROLLBACK"));
        throw DiskFull();
    }),
                 DiskFull);
    // the connection is usable for the next transaction
    db->inTransaction([&] { db->execute(insert, {{QStringLiteral("n"), QStringLiteral("kept3")}}); });
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM configtable")), 3);
}

// A commit the engine refuses is reported, and the work is not left open for the next
// statement to join.
TEST_F(DatabaseTest, ARefusedCommitEndsTheTransaction)
{
    db->executeScript(QStringLiteral("PRAGMA foreign_keys=ON; CREATE TABLE p (id INTEGER PRIMARY KEY); "
                                     "CREATE TABLE c (p INTEGER REFERENCES p(id) DEFERRABLE INITIALLY DEFERRED);"));
    EXPECT_THROW(db->inTransaction([&] { db->execute(QStringLiteral("INSERT INTO c VALUES (7)")); }), DatabaseError);
    db->inTransaction([&] { db->execute(QStringLiteral("INSERT INTO p VALUES (1)")); });
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM c")), 0);
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM p")), 1);
}

TEST_F(DatabaseTest, ScriptRunsEveryStatementAndReportsTheFailingOne)
{
    db->executeScript(QStringLiteral("CREATE TABLE t (x); INSERT INTO t VALUES (1);\nINSERT INTO t VALUES (2);"));
    EXPECT_EQ(count(QStringLiteral("SELECT sum(x) FROM t")), 3);
    try {
        db->executeScript(QStringLiteral("INSERT INTO t VALUES (3); INSERT INTO nope VALUES (4);"));
        ADD_FAILURE() << "no error";
    } catch (const DatabaseError& error) {
        EXPECT_EQ(error.text(), QStringLiteral("no such table: nope"));
    }
}

TEST_F(DatabaseTest, ValReadsTheLeadingNumber)
{
    struct Case {
        QVariant text;
        std::optional<double> value; // none: NULL
    };
    const Case cases[] = {
        {QStringLiteral("12.5"), 12.5},
        {QStringLiteral(" 3abc"), 3},
        {QStringLiteral("abc"), 0},
        {QStringLiteral("-2e1"), -20},
        {QVariant(), std::nullopt},
        {QStringLiteral(""), 0},
        {QStringLiteral("\t\n 7"), 7},
        {QStringLiteral("+5"), 5},
        {QStringLiteral("-.5"), -0.5},
        {QStringLiteral("5."), 5},
        {QStringLiteral("1.2.3"), 1.2},
        {QStringLiteral("1e"), 1},
        {QStringLiteral("2E+2元"), 200},
        {QStringLiteral("1,234.00"), 1},
        {QStringLiteral("."), 0},
        {QStringLiteral("inf"), 0},
        {QStringLiteral("nan"), 0},
        {QStringLiteral("0x1A"), 0},
        {QStringLiteral("1e999"), 0},
        {QVariant(8), 8},
    };
    for (const Case& c : cases) {
        const QVariant result = db->scalar(QStringLiteral("SELECT val(:t)"), {{QStringLiteral("t"), c.text}});
        if (!c.value) {
            EXPECT_TRUE(result.isNull()) << c.text.toString().toStdString();
            continue;
        }
        ASSERT_FALSE(result.isNull()) << c.text.toString().toStdString();
        EXPECT_DOUBLE_EQ(result.toDouble(), *c.value) << c.text.toString().toStdString();
    }
}

TEST_F(DatabaseTest, SumOfAmountsSkipsBlanksAndCountsWordsAsZero)
{
    for (const QVariant& amount : {QVariant(QStringLiteral("100.50")), QVariant(QStringLiteral("abc")), QVariant(),
                                   QVariant(QStringLiteral("  ")), QVariant(QStringLiteral("-0.25")),
                                   QVariant(QStringLiteral("2e2"))})
        db->execute(QStringLiteral("INSERT INTO DataZPTable (金额) VALUES (:a)"), {{QStringLiteral("a"), amount}});
    const QVariant sum = db->scalar(QStringLiteral(
        "SELECT sum(val(金额)) AS SumMoney FROM DataZPTable WHERE 金额 IS NOT NULL AND trim(金额) <> ''"));
    EXPECT_DOUBLE_EQ(sum.toDouble(), 300.25);
}

} // namespace
