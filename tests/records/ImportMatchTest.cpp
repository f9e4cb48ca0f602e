#include "RecordingMessages.h"
#include "TempHome.h"

#include "data/Up2NewVersionLogic.h"
#include "platform/IniFile.h"
#include "platform/spreadsheet/Workbook.h"
#include "records/ImportColumnCfg.h"
#include "records/ImportMatch.h"
#include "records/ImportMatchLogic.h"
#include "shell/AppContext.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlRecord>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace slipcraft;
using namespace slipcraft::importing;

namespace {

const QString kFixtures = QStringLiteral(RECORDS_FIXTURES);

// Receives the file URLs the desktop would open.
class OpenedUrls : public QObject {
    Q_OBJECT

public:
    OpenedUrls() { QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "open"); }
    ~OpenedUrls() override { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }
    QList<QUrl> urls;

public slots:
    void open(const QUrl& url) { urls << url; }
};

struct MatchCase {
    const char* name;
    const char* pattern;
    const char* heading;
    bool matches;
};

void PrintTo(const MatchCase& c, std::ostream* os)
{
    *os << c.name;
}

std::string caseName(const ::testing::TestParamInfo<MatchCase>& info)
{
    return info.param.name;
}

class HeadingMatch : public ::testing::TestWithParam<MatchCase> {};

} // namespace

TEST_P(HeadingMatch, FollowsTheRule)
{
    const MatchCase& c = GetParam();
    EXPECT_EQ(headingMatches(QString::fromUtf8(c.pattern), QString::fromUtf8(c.heading)), c.matches);
}

INSTANTIATE_TEST_SUITE_P(
    Patterns, HeadingMatch,
    ::testing::Values(MatchCase{"ExactEqual", "联系人", "联系人", true},
                      MatchCase{"ExactIsNotContainment", "联系人", "收件联系人", false},
                      MatchCase{"StarsAroundMeanContains", "*姓名*", "收货人姓名", true},
                      MatchCase{"StarAtTheStartMeansContains", "*行号", "开户行行号码", true},
                      MatchCase{"StarInTheMiddleMeansContainsTheRest", "收*人", "收人地址", true},
                      MatchCase{"StarPatternNotContained", "*电话*", "手机", false},
                      MatchCase{"OnlyStarMatchesNothing", "*", "电话", false},
                      MatchCase{"OnlyStarsMatchNothing", "***", "电话", false},
                      MatchCase{"LatinCaseIgnored", "Mobile", "MOBILE", true},
                      MatchCase{"LatinCaseIgnoredInHeading", "name", "Name", true},
                      MatchCase{"LatinCaseIgnoredWithStars", "*mail*", "E-MAIL地址", true},
                      MatchCase{"TabBeforePatternIgnored", "\t订单编号", "订单编号", true},
                      MatchCase{"SpacesAroundIgnored", " 电话 ", "电话\t", true},
                      MatchCase{"EmptyPatternMatchesNothing", "", "电话", false}),
    caseName);

TEST(HeadingPatterns, FirstPatternOfTheListDecides)
{
    EXPECT_EQ(headingPatterns(QStringLiteral("\t订单编号,订单ID,,订单号, ")),
              QStringList({QStringLiteral("订单编号"), QStringLiteral("订单ID"), QStringLiteral("订单号")}));
    EXPECT_EQ(firstMatchingPattern({QStringLiteral("*电话*"), QStringLiteral("联系电话")}, QStringLiteral("联系电话")),
              QStringLiteral("*电话*"));
    EXPECT_EQ(firstMatchingPattern({QStringLiteral("收件电话"), QStringLiteral("*电话*")}, QStringLiteral("收件电话")),
              QStringLiteral("收件电话"));
    EXPECT_TRUE(firstMatchingPattern({QStringLiteral("*"), QStringLiteral("地址")}, QStringLiteral("电话")).isEmpty());
}

class ImportFixture : public ::testing::Test {
protected:
    void SetUp() override { home.createDatabase(); }

    Database& db() { return context.db(); }
    int rows(const QString& table) { return db().scalar(QStringLiteral("select count(*) from ") + table).toInt(); }
    QString logValue(const QString& section, const QString& key)
    {
        return IniFile(home.path(kLogFileName)).readString(section, key);
    }
    // A sheet of the headings and rows given.
    static Worksheet sheetOf(const QStringList& headings, const QList<QStringList>& data)
    {
        return Worksheet(QStringLiteral("Sheet1"), QList<QStringList>{headings} + data);
    }
    Counts import(const Worksheet& sheet, const Options& options, const std::function<bool(int)>& keepGoing = {})
    {
        const Columns columns = autoMatch(sheetColumns(sheet), loadRules(db()), options.scene);
        IniFile log(home.path(kLogFileName));
        ImportRun run(db(), sheet, columns, options, log, messages);
        run.startLog(QStringLiteral("/tmp/x.xlsx"));
        const Counts counts = run.run(keepGoing);
        run.finish(counts);
        return counts;
    }

    TempHome home;
    RecordingMessages messages;
    AppContext context{home.runPath(), messages};
};

// The default rules name what web shops export, the tab before 订单编号 included; a
// heading goes to the first item whose rule matches it.
TEST_F(ImportFixture, DefaultRulesMatchWebShopHeadings)
{
    EXPECT_TRUE(db().scalar(QStringLiteral("select SourceName from MatchColumn where ItemName='订单号'"))
                    .toString()
                    .startsWith(QLatin1Char('\t')));
    const Worksheet sheet = sheetOf({QStringLiteral("订单编号"), QStringLiteral("会员ID"), QStringLiteral("NAME"),
                                     QStringLiteral("MOBILE"), QString(), QStringLiteral("收货地址"),
                                     QStringLiteral("买家旺旺"), QStringLiteral("宝贝标题"), QStringLiteral("旺旺")},
                                    {});
    const QList<SheetColumn> headings = sheetColumns(sheet);
    ASSERT_EQ(headings.size(), 8);
    EXPECT_EQ(headings[4].entry(), QStringLiteral("列6:收货地址"));
    EXPECT_EQ(columnOfEntry(headings[4].entry()), 6);
    EXPECT_EQ(columnOfEntry(QString()), 0);

    const Columns batch = autoMatch(headings, loadRules(db()), Scene::Batch);
    EXPECT_EQ(batch[OrderNumber], 1);
    EXPECT_EQ(batch[FullName], 2); // 会员ID is the full name's rule, tried first
    EXPECT_EQ(batch[Contact], 3);
    EXPECT_EQ(batch[Mobile], 4);
    EXPECT_EQ(batch[Address], 6);
    EXPECT_EQ(batch[Goods], 8);
    EXPECT_EQ(batch[MemberId], 9);
    const Columns addressBook = autoMatch(headings, loadRules(db()), Scene::AddressBook);
    EXPECT_EQ(addressBook[OrderNumber], 0);
    EXPECT_EQ(addressBook[Goods], 0);
    EXPECT_EQ(addressBook[MemberId], 0);

    // A missing or empty rule: the item's own name.
    db().execute(QStringLiteral("delete from MatchColumn where ItemName='手机'"));
    db().execute(QStringLiteral("update MatchColumn set SourceName=' , ' where ItemName='地址'"));
    const Rules rules = loadRules(db());
    EXPECT_EQ(rules[Mobile], QStringList{QStringLiteral("手机")});
    EXPECT_EQ(rules[Address], QStringList{QStringLiteral("地址")});
    EXPECT_EQ(rules[MemberId], headingPatterns(QStringLiteral("QQ,旺旺,会员ID,客户编号"))); // stored as 会员ID
}

struct FixtureCase {
    const char* name;
    const char* file;
};

void PrintTo(const FixtureCase& c, std::ostream* os)
{
    *os << c.file;
}

std::string fixtureName(const ::testing::TestParamInfo<FixtureCase>& info)
{
    return info.param.name;
}

class ImportFromFile : public ImportFixture, public ::testing::WithParamInterface<FixtureCase> {};

// Every format reads the same cells as they show: the 17-digit order number, the mobile
// stored as a number, the postcode's leading zero, the remark's quote, comma and line
// break. The empty row is invalid, the repeated receiver a duplicate.
TEST_P(ImportFromFile, ReadsEveryCellAsItShows)
{
    const QString file = kFixtures + QString::fromUtf8(GetParam().file);
    const Workbook book = Workbook::open(file);
    if (book.sheetCount() > 1)
        EXPECT_EQ(book.activeSheet().name(), QStringLiteral("收件人"));
    Options options;
    options.scene = Scene::Batch;
    options.orderNumberToRemark = true;
    const Counts counts = import(book.activeSheet(), options);
    EXPECT_EQ(counts.rows, 4);
    EXPECT_EQ(counts.read, 4);
    EXPECT_EQ(counts.saved, 2);
    EXPECT_EQ(counts.invalid, 1);
    EXPECT_EQ(counts.duplicates, 1);
    EXPECT_EQ(counts.groups, QStringList{QString()});

    SqlQuery stored = db().query(QStringLiteral("select 全称, 联系人, 电话, 手机, 省, 市, 镇区, 地址, 邮编, 内件说明, 备注, "
                                                "批打分组 from ReceiverList order by ID"));
    const QStringList expected[] = {
        {QString(), QStringLiteral("张三"), QStringLiteral("0571-88886666"), QStringLiteral("13812345678"),
         QStringLiteral("浙江省"), QStringLiteral("杭州市"), QStringLiteral("西湖区"), QStringLiteral("文三路100号"),
         QStringLiteral("010010"), QStringLiteral("羊毛衫"),
         QStringLiteral("请用\"顺丰\",周末\n勿送 订单号:20250314000123456;"), QString()},
        {QString(), QStringLiteral("李四"), QStringLiteral("010-66668888"), QStringLiteral("13912345678"),
         QStringLiteral("北京市"), QStringLiteral("北京市"), QStringLiteral("朝阳区"), QStringLiteral("建国路1号"),
         QStringLiteral("100020"), QStringLiteral("图书"), QStringLiteral("订单号:20250314000123457;"), QString()},
    };
    for (const QStringList& row : expected) {
        ASSERT_TRUE(stored.next());
        QStringList values;
        for (int i = 0; i < row.size(); ++i)
            values << stored.value(i).toString();
        EXPECT_EQ(values, row);
    }
    EXPECT_FALSE(stored.next());

    EXPECT_EQ(logValue(QStringLiteral("LOG"), QStringLiteral("N3")), QStringLiteral("无效行，联系人、电话、全称均为空！"));
    EXPECT_EQ(logValue(QStringLiteral("LOG"), QStringLiteral("N5")),
              QStringLiteral("重复，单位：,联系人：张三,电话：0571-88886666"));
    EXPECT_EQ(logValue(QStringLiteral("INFO"), QStringLiteral("Total")), QStringLiteral("本次任务数据共有：4行"));
}

INSTANTIATE_TEST_SUITE_P(Formats, ImportFromFile,
                         ::testing::Values(FixtureCase{"Xlsx", "receivers.xlsx"}, FixtureCase{"Xls", "receivers.xls"},
                                           FixtureCase{"CsvUtf8WithBom", "receivers-bom.csv"},
                                           FixtureCase{"CsvGbk", "receivers-gbk.csv"}),
                         fixtureName);

// Into the address book: units of the chosen type, sort key 0, the remark as extra
// information; a second import of the same rows skips every one.
TEST_F(ImportFixture, UnitsGoIntoTheAddressBookOnce)
{
    const Workbook book = Workbook::open(kFixtures + QStringLiteral("receivers.xlsx"));
    Options options;
    options.unitType = QStringLiteral("我方单位");
    const Counts first = import(book.activeSheet(), options);
    EXPECT_EQ(first.saved, 2);
    SqlQuery unit = db().query(QStringLiteral("select 联系人, 手机, 邮编, 扩展信息, 单位类型, 排序 from CKPersonalInfoTable order by ID"));
    ASSERT_TRUE(unit.next());
    EXPECT_EQ(unit.value(0).toString(), QStringLiteral("张三"));
    EXPECT_EQ(unit.value(1).toString(), QStringLiteral("13812345678"));
    EXPECT_EQ(unit.value(2).toString(), QStringLiteral("010010"));
    EXPECT_EQ(unit.value(3).toString(), QStringLiteral("请用\"顺丰\",周末\n勿送"));
    EXPECT_EQ(unit.value(4).toString(), QStringLiteral("我方单位"));
    EXPECT_EQ(unit.value(5).toInt(), 0);

    const Counts second = import(book.activeSheet(), options);
    EXPECT_EQ(second.saved, 0);
    EXPECT_EQ(second.duplicates, 3);
    EXPECT_EQ(finishText(second), QStringLiteral("导入结束，共有 0 条导入成功！\r\n 其中跳过了4 条重复的或无效(单位、联系人、电话都为空)的记录！"));
    EXPECT_EQ(rows(QStringLiteral("CKPersonalInfoTable")), 2);
}

// Asked about each duplicate: yes skips it, no adds it anyway; the contact is named
// only when it is a basis of the check.
TEST_F(ImportFixture, DuplicateQuestionDecides)
{
    const Worksheet sheet = sheetOf({QStringLiteral("单位全称"), QStringLiteral("联系人")},
                                    {{QStringLiteral("甲公司"), QStringLiteral("王五")},
                                     {QStringLiteral("甲公司"), QStringLiteral("王五")}});
    Options options;
    options.askOnDuplicate = true;
    options.byPhone = false;
    messages.answer = false;
    EXPECT_EQ(import(sheet, options).saved, 2);
    EXPECT_EQ(messages.texts().value(0),
              QStringLiteral("单位\"甲公司(联系人:王五)\"已经存在,是否跳过？点击\"是\"跳过,点击\"否\"继续添加！"));
    EXPECT_EQ(messages.messages.value(0).caption, QStringLiteral("记录已经存在"));

    messages.messages.clear();
    messages.answer = true;
    options.byContact = false;
    const Counts counts = import(sheet, options);
    EXPECT_EQ(counts.saved, 0);
    EXPECT_EQ(counts.duplicates, 2);
    EXPECT_EQ(messages.texts().value(0), QStringLiteral("单位\"甲公司\"已经存在,是否跳过？点击\"是\"跳过,点击\"否\"继续添加！"));
}

// A stop keeps the rows saved before it and says how many; a failure of the whole
// import leaves the table as it was.
TEST_F(ImportFixture, StopKeepsWhatWasSavedAndFailureKeepsNothing)
{
    QList<QStringList> data;
    for (int i = 1; i <= 10; ++i)
        data << QStringList{QStringLiteral("联系人%1").arg(i)};
    const Worksheet sheet = sheetOf({QStringLiteral("联系人")}, data);
    Options options;
    options.scene = Scene::Batch;
    const Counts stopped = import(sheet, options, [](int read) { return read < 3; });
    EXPECT_TRUE(stopped.stopped);
    EXPECT_EQ(stopped.saved, 3);
    EXPECT_EQ(rows(QStringLiteral("ReceiverList")), 3);
    EXPECT_TRUE(logValue(QStringLiteral("INFO"), QStringLiteral("Finish")).startsWith(QStringLiteral("导入结束，共有 3 条导入成功！")));

    // The engine gives up the transaction half-way (as on a full disk).
    db().execute(QStringLiteral("create trigger fails before insert on ReceiverList when (select count(*) from "
                                "ReceiverList) >= 5 begin select raise(rollback, 'database or disk is full'); end"));
    EXPECT_THROW(import(sheet, options), DatabaseError);
    EXPECT_EQ(rows(QStringLiteral("ReceiverList")), 3);
}

// At most 6,000 data rows an import; the rows before the limit stay.
TEST_F(ImportFixture, SixThousandRowsAtMost)
{
    QList<QStringList> data;
    for (int i = 1; i <= kRowLimit + 2; ++i)
        data << QStringList{QStringLiteral("联系人%1").arg(i)};
    Options options;
    options.scene = Scene::Batch;
    options.checkDuplicates = false;
    const Counts counts = import(sheetOf({QStringLiteral("收件人")}, data), options);
    EXPECT_TRUE(counts.limitReached);
    EXPECT_EQ(counts.read, kRowLimit);
    EXPECT_EQ(rows(QStringLiteral("ReceiverList")), kRowLimit);
}

// Headings and cells are values, never statement text.
TEST_F(ImportFixture, QuotesInCellsAndHeadingsAreValues)
{
    const Worksheet sheet = sheetOf({QStringLiteral("联系人'); drop table ReceiverList; --"), QStringLiteral("联系人")},
                                    {{QStringLiteral("x"), QStringLiteral("O'Brien')--")}});
    Options options;
    options.scene = Scene::Batch;
    EXPECT_EQ(import(sheet, options).saved, 1);
    EXPECT_EQ(db().scalar(QStringLiteral("select 联系人 from ReceiverList")).toString(), QStringLiteral("O'Brien')--"));
}

class ImportWindowTest : public ImportFixture {};

// The batch list's import: the scene is fixed, no duplicate check unless asked for, the
// sheet the file opens on is chosen and its columns matched; the import reports what it
// saved and the window closes.
TEST_F(ImportWindowTest, ImportsTheChosenSheetIntoTheBatchList)
{
    OpenedUrls opened;
    TfrmImport window(context);
    window.presetScene(Scene::Batch);
    EXPECT_FALSE(window.findChild<QComboBox*>(QStringLiteral("cbScene"))->isEnabled());
    EXPECT_FALSE(window.findChild<QCheckBox*>(QStringLiteral("ckRepeat"))->isChecked());
    ASSERT_TRUE(window.openFile(kFixtures + QStringLiteral("receivers.xlsx")));
    EXPECT_EQ(window.sheetBox()->currentText(), QStringLiteral("收件人"));
    EXPECT_EQ(window.itemBox(Contact)->currentText(), QStringLiteral("列2:收货人姓名"));
    EXPECT_EQ(window.itemBox(Goods)->currentText(), QStringLiteral("列10:宝贝标题"));
    EXPECT_EQ(window.itemBox(FullName)->currentText(), QString());

    // The user takes the goods column away.
    window.itemBox(Goods)->setCurrentIndex(0);
    window.findChild<QCheckBox*>(QStringLiteral("ckOpenLog"))->setChecked(false);
    messages.answer = true; // duplicates allowed
    std::optional<Counts> reported;
    QObject::connect(&window, &TfrmImport::imported, [&](const Counts& counts) { reported = counts; });
    const std::optional<Counts> counts = window.startImport();
    ASSERT_TRUE(counts);
    EXPECT_EQ(counts->saved, 3);
    ASSERT_TRUE(reported);
    EXPECT_EQ(reported->saved, 3);
    EXPECT_EQ(messages.texts().value(0), QStringLiteral("你未选择任何重复判断依据。这样将可能会插入重复记录。确认允许重复吗？"));
    EXPECT_EQ(messages.messages.last().caption, QStringLiteral("导入结束"));
    EXPECT_EQ(messages.texts().last(),
              QStringLiteral("导入结束，共有 3 条导入成功！\r\n 其中跳过了1 条重复的或无效(单位、联系人、电话都为空)的记录！"));
    EXPECT_EQ(rows(QStringLiteral("ReceiverList")), 3);
    EXPECT_EQ(db().scalar(QStringLiteral("select count(*) from ReceiverList where 内件说明<>''")).toInt(), 0);
    EXPECT_TRUE(opened.urls.isEmpty());
}

// Without a name, contact or address column nothing is imported; a file that cannot be
// read says so and leaves the start disabled.
TEST_F(ImportWindowTest, RefusesWhatCannotBeImported)
{
    TfrmImport window(context);
    window.presetScene(Scene::AddressBook);
    QTemporaryDir dir;
    const QString broken = dir.filePath(QStringLiteral("broken.xlsx"));
    QFile file(broken);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a workbook");
    file.close();
    EXPECT_FALSE(window.openFile(broken));
    EXPECT_TRUE(messages.texts().value(0).startsWith(QStringLiteral("EXCEL导入错误,")));
    EXPECT_FALSE(window.findChild<QPushButton*>(QStringLiteral("btStart"))->isEnabled());

    messages.messages.clear();
    const QString onlyPhones = dir.filePath(QStringLiteral("phones.csv"));
    QFile csv(onlyPhones);
    ASSERT_TRUE(csv.open(QIODevice::WriteOnly));
    csv.write("电话\n0571-1\n");
    csv.close();
    ASSERT_TRUE(window.openFile(onlyPhones));
    EXPECT_FALSE(window.startImport());
    EXPECT_EQ(messages.texts(),
              QStringList{QStringLiteral("收、发件单位名称、联系人、地址不能同时为空，请选择有效的Excel数据文件并匹配项目！")});
    EXPECT_EQ(rows(QStringLiteral("CKPersonalInfoTable")), 0);
}

// A file without the rules table gets it with its defaults when the window shows.
TEST_F(ImportWindowTest, MissingRulesAreCreatedWithTheirDefaults)
{
    db().execute(QStringLiteral("drop table MatchColumn"));
    TfrmImport window(context);
    window.show();
    EXPECT_EQ(rows(QStringLiteral("MatchColumn")), 36);
}

// The rule editor stores a cleaned heading list; "恢复原始设置" brings back the 36
// default rules; the maintenance code unlocks adding and deleting rules.
TEST_F(ImportWindowTest, RuleEditorStoresCleanedListsAndRestoresDefaults)
{
    EXPECT_EQ(TfrmImportColumnCfg::cleanedHeadings(QStringLiteral(" 收货人，联系人,,,'姓名?' ")),
              QStringLiteral("收货人,联系人,姓名"));
    TfrmImportColumnCfg editor(context);
    auto* grid = editor.findChild<QTableWidget*>(QStringLiteral("gridRules"));
    ASSERT_EQ(grid->rowCount(), 36);
    EXPECT_EQ(grid->item(0, 1)->text(), QStringLiteral("联系人"));
    editor.findChild<QLineEdit*>(QStringLiteral("edtSourceName"))->setText(QStringLiteral("客户，收件人"));
    ASSERT_TRUE(editor.submit());
    EXPECT_EQ(db().scalar(QStringLiteral("select SourceName from MatchColumn where ItemName='联系人'")).toString(),
              QStringLiteral("客户,收件人"));
    editor.findChild<QLineEdit*>(QStringLiteral("edtSourceName"))->setText(QStringLiteral(" '?' "));
    EXPECT_FALSE(editor.submit());
    EXPECT_EQ(messages.texts().value(0), QStringLiteral("请输入有效的Excel/csv列名"));

    auto* order = editor.findChild<QLineEdit*>(QStringLiteral("edtShowOrd"));
    auto* item = editor.findChild<QLineEdit*>(QStringLiteral("edtItemName"));
    EXPECT_TRUE(item->isReadOnly());
    order->setText(QString());
    QTest::keyClicks(order, TfrmImportColumnCfg::kMaintenanceCode);
    EXPECT_FALSE(item->isReadOnly());
    EXPECT_FALSE(editor.findChild<QPushButton*>(QStringLiteral("btAdd"))->isHidden());
    editor.addRule();
    EXPECT_EQ(rows(QStringLiteral("MatchColumn")), 37);

    messages.messages.clear();
    editor.restoreDefaults();
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("重置成功！")});
    EXPECT_EQ(rows(QStringLiteral("MatchColumn")), 36);
    EXPECT_EQ(db().scalar(QStringLiteral("select SourceName from MatchColumn where ItemName='联系人'")).toString(),
              QStringLiteral("联系人,收件人,收件人姓名,收货人,收件联系人,*姓名*,name,fullname"));
}

#include "ImportMatchTest.moc"
