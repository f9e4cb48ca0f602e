#include "RecordingMessages.h"
#include "TempHome.h"

#include "platform/IniFile.h"
#include "platform/spreadsheet/Workbook.h"
#include "records/ImportMatchCDHP.h"
#include "records/ImportMatchCDHPLogic.h"
#include "shell/AppContext.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QPushButton>
#include <QTemporaryDir>

using namespace slipcraft;
using namespace slipcraft::draftimport;

namespace {

const QString kFixtures = QStringLiteral(RECORDS_FIXTURES);

struct HeadingCase {
    const char* name;
    const char* heading;
    int item; // -1 for none
};

void PrintTo(const HeadingCase& c, std::ostream* os)
{
    *os << c.name;
}

std::string headingName(const ::testing::TestParamInfo<HeadingCase>& info)
{
    return info.param.name;
}

class DraftHeading : public ::testing::TestWithParam<HeadingCase> {};

} // namespace

TEST_P(DraftHeading, NamesItsItem)
{
    const std::optional<Item> item = itemOfHeading(QString::fromUtf8(GetParam().heading));
    if (GetParam().item < 0)
        EXPECT_FALSE(item) << *item;
    else
        EXPECT_EQ(item, std::optional<Item>(Item(GetParam().item)));
}

INSTANTIATE_TEST_SUITE_P(
    Headings, DraftHeading,
    ::testing::Values(HeadingCase{"DueDateByItsShortName", "到期日期", DueDate},
                      HeadingCase{"BankAddressInAnyCase", "OUTBANKADDR", BankAddress},
                      HeadingCase{"BankAddressMixedCase", "outBankAddr", BankAddress},
                      HeadingCase{"AmountOfAcceptance", "承兑金额", Amount},
                      HeadingCase{"TotalAmount", "总金额", Amount},
                      HeadingCase{"SpacesAroundIgnored", "  金额 ", Amount},
                      HeadingCase{"OldSpellingOfAccount", "收款人帐号", PayeeAccount},
                      HeadingCase{"BankNumberOfTheDrawersBank", "出票银行行号", BankNumber},
                      HeadingCase{"FullNameOfThePayingBank", "付款行全称", BankName},
                      HeadingCase{"CustomInWords", "自定义三", Custom3},
                      HeadingCase{"GroupOfTheBatch", "批打分组", Group},
                      HeadingCase{"ContainingIsNotNaming", "收款人全称备注", -1},
                      HeadingCase{"Unlisted", "全称", -1},
                      HeadingCase{"Empty", "", -1}),
    headingName);

// A later column with a listed heading takes the item from an earlier one.
TEST(DraftMatching, LaterColumnWins)
{
    const Worksheet sheet(QStringLiteral("S"), {{QStringLiteral("金额"), QStringLiteral("收款单位"), QStringLiteral("总金额")}});
    const Columns columns = autoMatch(importing::sheetColumns(sheet));
    EXPECT_EQ(columns[Amount], 3);
    EXPECT_EQ(columns[PayeeName], 2);
    EXPECT_EQ(columns[Number], 0);
}

namespace {

class DraftImportTest : public ::testing::Test {
protected:
    void SetUp() override { home.createDatabase(); }

    Database& db() { return context.db(); }
    QStringList column(const QString& name)
    {
        return db().textColumn(QStringLiteral("select coalesce(%1, '<null>') from MultiPrintCDHP order by ID").arg(name));
    }
    importing::Counts import(const Worksheet& sheet, const Options& options = {},
                             const std::function<bool(int)>& keepGoing = {})
    {
        IniFile log(home.path(importing::kLogFileName));
        DraftImportRun run(db(), sheet, autoMatch(importing::sheetColumns(sheet)), options, log);
        run.startLog();
        const importing::Counts counts = run.run(keepGoing);
        lastText = run.finish(counts);
        return counts;
    }
    QString logValue(const QString& section, const QString& key)
    {
        return IniFile(home.path(importing::kLogFileName)).readString(section, key);
    }

    TempHome home;
    RecordingMessages messages;
    AppContext context{home.runPath(), messages};
    QString lastText;
};

} // namespace

// The committed workbook: an amount with separators, a 20-digit agreement number kept
// digit for digit, dates of issue in three spellings, due dates stored in words; a row
// whose amount is no number is skipped, and the final text counts what was imported.
TEST_F(DraftImportTest, ImportsTheFixtureAsTheFormPrintsIt)
{
    const Workbook book = Workbook::open(kFixtures + QStringLiteral("drafts.xlsx"));
    const importing::Counts counts = import(book.activeSheet());
    EXPECT_EQ(counts.read, 4);
    EXPECT_EQ(counts.saved, 3);
    EXPECT_EQ(counts.invalid, 1);
    EXPECT_EQ(lastText, QStringLiteral("导入完成，共有 3 条导入成功！\r\n 其中跳过了1 条重复的或无效(单位、联系人、电话都为空)的记录！"));
    EXPECT_TRUE(logValue(QStringLiteral("INFO"), QStringLiteral("MessageInfo")).startsWith(QStringLiteral("导入完成，共有 3 条")));
    EXPECT_TRUE(logValue(QStringLiteral("LOG"), QStringLiteral("N5")).contains(QStringLiteral("壹佰元整")));

    EXPECT_EQ(column(QStringLiteral("金额")),
              QStringList({QStringLiteral("1234567.89"), QStringLiteral("5000.50"), QStringLiteral("88")}));
    EXPECT_EQ(column(QStringLiteral("承兑协议号")), QStringList({QStringLiteral("12345678901234567890"),
                                                                  QStringLiteral("00000000000000000042"),
                                                                  QStringLiteral("98765432109876543210")}));
    EXPECT_EQ(column(QStringLiteral("出票日期")),
              QStringList({QStringLiteral("2026-03-10"), QStringLiteral("2026-03-15"), QStringLiteral("2026-03-20")}));
    // 2026.06.10; 90 days after 15 March; 2026-09-20.
    EXPECT_EQ(column(QStringLiteral("汇票到期日")),
              QStringList({QStringLiteral("贰零贰陆年零陆月零壹拾日"), QStringLiteral("贰零贰陆年零陆月壹拾叁日"),
                           QStringLiteral("贰零贰陆年零玖月零贰拾日")}));
    EXPECT_EQ(column(QStringLiteral("付款行地址")).first(), QStringLiteral("上海市浦东新区世纪大道100号"));
    EXPECT_EQ(column(QStringLiteral("付款行行号")).first(), QStringLiteral("105290000001"));
    EXPECT_EQ(column(QStringLiteral("收款人账号")).first(), QStringLiteral("6222021202001234567"));
    EXPECT_EQ(column(QStringLiteral("票据状态")), QStringList(3, QStringLiteral("0")));
    EXPECT_EQ(column(QStringLiteral("币种")),
              QStringList({QStringLiteral("人民币"), QString(), QString()}));
}

// Rows the form could not print are skipped and logged, empty rows too; a group given for
// the import overrides the sheet's; a stop keeps the rows saved before it; no data rows
// is said as such.
TEST_F(DraftImportTest, SkipsWhatCannotPrintAndStopsWhenAsked)
{
    const Worksheet sheet(QStringLiteral("S"),
                          {{QStringLiteral("编号"), QStringLiteral("出票日期"), QStringLiteral("汇票到期日"),
                            QStringLiteral("金额"), QStringLiteral("分组")},
                           {QStringLiteral("A1"), QStringLiteral("2026-02-30"), QString(), QStringLiteral("1"), QStringLiteral("甲")},
                           {QStringLiteral("A2"), QString(), QStringLiteral("明年"), QStringLiteral("1"), QStringLiteral("甲")},
                           {QStringLiteral("A3"), QString(), QString(), QStringLiteral("2000000000"), QStringLiteral("甲")},
                           {QString(), QString(), QString(), QString(), QString()},
                           {QStringLiteral("A5"), QString(), QStringLiteral("+30"), QStringLiteral("￥12.5"), QStringLiteral("甲")},
                           {QStringLiteral("A6"), QString(), QString(), QString(), QStringLiteral("甲")},
                           {QStringLiteral("A7"), QString(), QString(), QStringLiteral("7"), QStringLiteral("甲")}});
    Options options;
    options.group = QStringLiteral("三月");
    const importing::Counts counts = import(sheet, options, [](int read) { return read < 6; });
    EXPECT_TRUE(counts.stopped);
    EXPECT_EQ(counts.saved, 2);
    EXPECT_EQ(counts.invalid, 4);
    EXPECT_EQ(column(QStringLiteral("票据编号")), QStringList({QStringLiteral("A5"), QStringLiteral("A6")}));
    EXPECT_EQ(column(QStringLiteral("金额")), QStringList({QStringLiteral("12.5"), QString()}));
    // Without a date of issue "+30" counts from the form's date when printed.
    EXPECT_EQ(column(QStringLiteral("汇票到期日")), QStringList({QStringLiteral("+30"), QString()}));
    EXPECT_EQ(column(QStringLiteral("出票日期")), QStringList(2, QStringLiteral("<null>")));
    EXPECT_EQ(column(QStringLiteral("批打分组")), QStringList(2, QStringLiteral("三月")));
    for (const char* key : {"N2", "N3", "N4", "N5"})
        EXPECT_TRUE(logValue(QStringLiteral("LOG"), QString::fromLatin1(key)).startsWith(QStringLiteral("无效行，"))) << key;

    import(Worksheet(QStringLiteral("S"), {{QStringLiteral("金额")}}));
    EXPECT_EQ(lastText, QStringLiteral("导入完成，所选数据文件不存在有效数据！"));
}

// At most 6,000 data rows an import; the rows before the limit stay.
TEST_F(DraftImportTest, SixThousandRowsAtMost)
{
    QList<QStringList> rows{{QStringLiteral("票据编号"), QStringLiteral("金额")}};
    for (int i = 1; i <= importing::kRowLimit + 2; ++i)
        rows << QStringList{QStringLiteral("N%1").arg(i), QStringLiteral("1")};
    const importing::Counts counts = import(Worksheet(QStringLiteral("S"), rows));
    EXPECT_TRUE(counts.limitReached);
    EXPECT_EQ(counts.saved, importing::kRowLimit);
    EXPECT_EQ(db().scalar(QStringLiteral("select count(*) from MultiPrintCDHP")).toInt(), importing::kRowLimit);
}

// The window matches the headings of the file chosen, imports it, and says what it did
// in a box and in its status line; a file it cannot read leaves the start button off.
TEST_F(DraftImportTest, WindowMatchesImportsAndReports)
{
    TfrmImportMatchCDHP window(context);
    window.show();
    QTemporaryDir dir;
    EXPECT_FALSE(window.openFile(dir.filePath(QStringLiteral("missing.xlsx"))));
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("不能打开Excel文件，确认Excel软件已经安装并可用！")});
    EXPECT_FALSE(window.findChild<QPushButton*>(QStringLiteral("btStart"))->isEnabled());
    messages.messages.clear();

    ASSERT_TRUE(window.openFile(kFixtures + QStringLiteral("drafts.xlsx")));
    EXPECT_EQ(window.itemBox(Amount)->currentText(), QStringLiteral("列5:承兑金额"));
    EXPECT_EQ(window.itemBox(DueDate)->currentText(), QStringLiteral("列3:到期日期"));
    EXPECT_EQ(window.itemBox(BankAddress)->currentText(), QStringLiteral("列12:outbankaddr"));
    EXPECT_EQ(window.itemBox(Group)->currentText(), QString());
    EXPECT_EQ(window.statusText(), QStringLiteral("请检查匹配数据列,全称和联系人为必选项！"));

    // The user leaves the remittee's bank out.
    window.itemBox(PayeeBank)->setCurrentIndex(0);
    const std::optional<importing::Counts> counts = window.startImport();
    ASSERT_TRUE(counts);
    EXPECT_EQ(counts->saved, 3);
    ASSERT_EQ(messages.messages.size(), 1);
    EXPECT_EQ(messages.messages.first().caption, QStringLiteral("导入结束"));
    EXPECT_TRUE(messages.messages.first().text.startsWith(QStringLiteral("导入完成，共有 3 条导入成功！")));
    EXPECT_EQ(window.statusText(), messages.messages.first().text);
    EXPECT_TRUE(window.findChild<QPushButton*>(QStringLiteral("btLog"))->isEnabled());
    EXPECT_EQ(db().textColumn(QStringLiteral("select coalesce(收款人开户行, '') from MultiPrintCDHP")), QStringList(3, QString()));
}
