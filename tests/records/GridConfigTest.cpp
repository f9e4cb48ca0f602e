#include "TempHome.h"

#include "data/Database.h"
#include "platform/IniFile.h"
#include "records/GridConfig.h"

#include <gtest/gtest.h>

#include <QDate>
#include <QDir>
#include <QFile>

namespace slipcraft {
// Readable failure messages.
void PrintTo(const GridColumnLayout& column, std::ostream* out)
{
    *out << (column.hidden ? "hidden " : "shown ") << column.width;
}
} // namespace slipcraft

using namespace slipcraft;

namespace {

using Layout = QList<GridColumnLayout>;

class GridLayoutTest : public ::testing::Test {
protected:
    TempHome home;
    IniFile ini{home.path(QStringLiteral("Config.ini"))};
};

} // namespace

TEST_F(GridLayoutTest, SavesWidthsAndHiddenColumnsUnderTheWindowsName)
{
    EXPECT_EQ(gridWidthKey(QStringLiteral("DBGrid1"), 0), "DBGRID1.W0");
    ASSERT_TRUE(saveGridLayout(ini, QStringLiteral("fm_PersonManage"), QStringLiteral("DBGrid1"),
                               {{120, false}, {80, true}, {35, false}}));

    const IniFile reread(ini.path());
    EXPECT_EQ(reread.readString(QStringLiteral("FM_PERSONMANAGE"), QStringLiteral("DBGRID1.W0")), "120");
    EXPECT_EQ(reread.readString(QStringLiteral("FM_PERSONMANAGE"), QStringLiteral("DBGRID1.W1")), "-1");
    EXPECT_EQ(reread.readString(QStringLiteral("FM_PERSONMANAGE"), QStringLiteral("DBGRID1.W2")), "35");
}

TEST_F(GridLayoutTest, LoadingAppliesStoredKeys)
{
    const QString section = QStringLiteral("FM_SEARCH");
    ini.writeString(section, QStringLiteral("DBGRID1.W0"), QStringLiteral("150"));
    ini.writeString(section, QStringLiteral("DBGRID1.W1"), QStringLiteral("-1"));
    ini.writeString(section, QStringLiteral("DBGRID1.W2"), QStringLiteral("0"));
    ini.writeString(section, QStringLiteral("DBGRID1.W4"), QStringLiteral("90"));
    ini.writeString(section, QStringLiteral("DBGRID1.W5"), QStringLiteral("wide"));
    ini.writeString(section, QStringLiteral("DBGRID2.W3"), QStringLiteral("-1")); // another grid

    const Layout before{{60, false}, {60, false}, {60, false}, {60, false}, {70, true}, {60, false}, {60, false}};
    const Layout expected{
        {150, false}, // stored width
        {60, true},   // -1 hides
        {60, true},   // 0 hides too
        {40, false},  // no key: 40, and stays shown
        {90, true},   // loading never shows a hidden column
        {40, false},  // not a number: as if missing
        {40, false},
    };
    EXPECT_EQ(loadGridLayout(ini, QStringLiteral("fm_search"), QStringLiteral("DBGrid1"), before), expected);
}

TEST_F(GridLayoutTest, AColumnHiddenInTheChooserStaysHiddenAfterReopening)
{
    Layout columns{{100, false}, {100, false}};
    columns = applyColumnChoice(columns, {true, false});
    saveGridLayout(ini, QStringLiteral("fm_search"), QStringLiteral("DBGrid1"), columns);

    const IniFile reopened(ini.path());
    EXPECT_EQ(loadGridLayout(reopened, QStringLiteral("fm_search"), QStringLiteral("DBGrid1"), {{40, false}, {40, false}}),
              Layout({{100, false}, {40, true}}));
}

TEST(GridColumnChoiceTest, ShownColumnsGetAUsableWidth)
{
    const Layout columns{{0, true}, {-1, true}, {75, true}, {75, false}, {0, false}};
    const Layout expected{{50, false}, {50, false}, {75, false}, {75, true}, {0, true}};
    EXPECT_EQ(applyColumnChoice(columns, {true, true, true, false, false}), expected);
}

TEST(GridKeyListTest, QuotesOnlyForTheStringKind)
{
    struct Case {
        QString kind;
        QString list;
    };
    const QStringList values{"7", "12", "O'Neil"};
    for (const Case& c : QList<Case>{{"STR", "'7','12','O'Neil'"},
                                     {"str", "'7','12','O'Neil'"},
                                     {"Numeric", "7,12,O'Neil"},
                                     {"NUM", "7,12,O'Neil"},
                                     {"", "7,12,O'Neil"}})
        EXPECT_EQ(gridKeyList(values, c.kind), c.list) << c.kind.toStdString();
    EXPECT_EQ(gridKeyList({}, QStringLiteral("STR")), "");
}

TEST(GridExportTest, HeadingsAndValuesComeFromTheSameShownColumns)
{
    struct Case {
        const char* name;
        QList<int> visualOrder;
        QList<bool> hidden;
        QList<int> columns;
    };
    const QList<Case> cases{
        {"nothing hidden or moved", {0, 1, 2}, {false, false, false}, {0, 1, 2}},
        {"first column hidden", {0, 1, 2, 3}, {true, false, false, false}, {1, 2, 3}},
        {"moved and hidden", {2, 0, 3, 1}, {false, true, false, false}, {2, 0, 3}},
        {"all hidden", {0, 1}, {true, true}, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(exportColumns(c.visualOrder, c.hidden), c.columns) << c.name;
}

TEST(GridExportTest, FieldValuesBecomeTextAsTheyRead)
{
    struct Case {
        const char* name;
        QVariant value;
        QString text;
    };
    const QList<Case> cases{
        {"text stays as typed", QStringLiteral("0755"), "0755"},
        {"long integer", QVariant(qint64(6222020200112233445)), "6222020200112233445"},
        {"large double without exponent", QVariant(1e20), "100000000000000000000"},
        {"fraction", QVariant(1234.5), "1234.5"},
        {"whole double without .0", QVariant(13800138000.0), "13800138000"},
        {"date", QVariant(QDate(2024, 3, 5)), "2024-03-05"},
        {"moment", QVariant(QDateTime(QDate(2024, 3, 5), QTime(13, 30, 5))), "2024-03-05 13:30:05"},
        {"NULL", QVariant(), ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(exportText(c.value), c.text) << c.name;
}

TEST_F(GridLayoutTest, ExportFileNamesAreSafeAndNew)
{
    const QDateTime when(QDate(2024, 3, 5), QTime(9, 8, 7));
    const QString output = home.path(QStringLiteral("Output/"));
    EXPECT_EQ(exportFilePath(home.runPath(), QStringLiteral("单位信息导出"), when), output + "单位信息导出_20240305-090807.xlsx");
    EXPECT_EQ(exportFilePath(home.runPath(), QStringLiteral("a/b:c*?\"<>|\t"), when), output + "a_b_c_______20240305-090807.xlsx");
    EXPECT_EQ(exportFilePath(home.runPath(), QStringLiteral("../.."), when), output + "导出.._.._20240305-090807.xlsx");
    EXPECT_EQ(exportFilePath(home.runPath(), QString(), when), output + "导出_20240305-090807.xlsx");

    ASSERT_TRUE(QDir().mkpath(output));
    QFile taken(output + "单位信息导出_20240305-090807.xlsx");
    ASSERT_TRUE(taken.open(QIODevice::WriteOnly));
    EXPECT_EQ(exportFilePath(home.runPath(), QStringLiteral("单位信息导出"), when), output + "单位信息导出_20240305-090807 (2).xlsx");
}

TEST(GridDeleteTest, DeletesExactlyTheKeyedRowsWithBoundValues)
{
    TempHome home;
    home.createDatabase();
    Database db(home.databasePath(), QStringLiteral("grid-delete-test"));
    db.execute(QStringLiteral("create table People (ID integer primary key, Name text)"));
    db.inTransaction([&] {
        for (int id = 1; id <= 1200; ++id)
            db.execute(QStringLiteral("insert into People (ID, Name) values (:id, :name)"),
                       {{QStringLiteral("id"), id}, {QStringLiteral("name"), QStringLiteral("p%1").arg(id)}});
        db.execute(QStringLiteral("insert into People (ID, Name) values (5000, :name)"),
                   {{QStringLiteral("name"), QStringLiteral("O'Neil")}});
    });

    // More keys than one statement binds; text keys against an integer column; a key
    // that would widen a pasted-in statement.
    QVariantList keys;
    for (int id = 1; id <= 1100; ++id)
        keys << (id % 2 ? QVariant(id) : QVariant(QString::number(id)));
    keys << QStringLiteral("1) or (1=1");
    EXPECT_EQ(deleteRowsByKey(db, QStringLiteral("People"), QStringLiteral("ID"), keys), 1100);
    EXPECT_EQ(db.scalar(QStringLiteral("select count(*) from People")).toInt(), 101);

    EXPECT_EQ(deleteRowsByKey(db, QStringLiteral("People"), QStringLiteral("Name"), {QStringLiteral("O'Neil")}), 1);
    EXPECT_THROW(deleteRowsByKey(db, QStringLiteral("NoSuchTable"), QStringLiteral("ID"), {1}), DatabaseError);
    EXPECT_EQ(db.scalar(QStringLiteral("select count(*) from People")).toInt(), 100);
}
