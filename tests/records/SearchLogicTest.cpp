#include "RecordingMessages.h"
#include "TempHome.h"

#include "data/Database.h"
#include "entry/BillKind.h"
#include "records/SearchLogic.h"
#include "shell/AppContext.h"
#include "templates/Catalogue.h"

#include <gtest/gtest.h>

using namespace slipcraft;

namespace {

class SearchLogicTest : public ::testing::Test {
protected:
    void SetUp() override { home.createDatabase(); }
    Database& db() { return context.db(); }
    const SearchKind& kindOf(const BillKind& bill) { return *searchKindOf(bill); }

    int addCheque(const QString& number, const QString& account, const QString& payee, const QString& date,
                  const QVariant& amount, const QString& status = QStringLiteral("已用"))
    {
        db().execute(QStringLiteral("insert into DataZPTable (票据编号, 出票人账号, 收款人全称, 出票日期, 金额, 票据状态) "
                                    "values (:n, :a, :p, :d, :m, :s)"),
                     {{QStringLiteral("n"), number}, {QStringLiteral("a"), account}, {QStringLiteral("p"), payee},
                      {QStringLiteral("d"), date}, {QStringLiteral("m"), amount}, {QStringLiteral("s"), status}});
        return db().scalar(QStringLiteral("select max(流水号) from DataZPTable")).toInt();
    }
    QList<int> listed(const SearchStatement& statement)
    {
        QList<int> serials;
        SqlQuery rows = db().query(statement.listSql, statement.params);
        while (rows.next())
            serials << rows.value(QStringLiteral("流水号")).toInt();
        std::sort(serials.begin(), serials.end());
        return serials;
    }

    TempHome home;
    RecordingMessages messages;
    AppContext context{home.runPath(), messages};
};

} // namespace

// Every filter alone and together, over stored cheques; values are bound, so quotes and
// "%" in a party name are just characters.
TEST_F(SearchLogicTest, FiltersSelectTheirRows)
{
    const int a = addCheque(QStringLiteral("A100"), QStringLiteral("111"), QStringLiteral("甲公司"), QStringLiteral("2026-01-05"),
                            QStringLiteral("￥1,234.50"));
    const int b = addCheque(QStringLiteral("A200"), QStringLiteral("222"), QStringLiteral("O'Neil 100% 公司"),
                            QStringLiteral("2026-02-10"), QStringLiteral("50"));
    const int c = addCheque(QStringLiteral("B100"), QStringLiteral("111"), QStringLiteral("乙公司"), QStringLiteral("2026-03-01"),
                            QStringLiteral("USD 2,000.00"));
    const int d = addCheque(QStringLiteral("B200"), QStringLiteral("333"), QStringLiteral("丙 100 公司"),
                            QStringLiteral("2026-03-02"), QVariant());
    struct Case {
        const char* label;
        SearchFilter filter;
        QList<int> rows;
    };
    const auto filter = [](auto&& set) {
        SearchFilter f;
        set(f);
        return f;
    };
    const Case cases[] = {
        {"nothing", {}, {a, b, c, d}},
        {"number contains", filter([](SearchFilter& f) { f.number = QStringLiteral(" 100 "); }), {a, c}},
        {"number exact", filter([](SearchFilter& f) { f.number = QStringLiteral("A100"); f.exact = true; }), {a}},
        {"account", filter([](SearchFilter& f) { f.drawer = QStringLiteral("111"); }), {a, c}},
        {"payee with a quote", filter([](SearchFilter& f) { f.payee = QStringLiteral("O'Neil"); }), {b}},
        {"percent is a character", filter([](SearchFilter& f) { f.payee = QStringLiteral("100%"); }), {b}},
        {"payee exact", filter([](SearchFilter& f) { f.payee = QStringLiteral("乙公司"); f.exact = true; }), {c}},
        {"dates", filter([](SearchFilter& f) {
             f.anyDate = false;
             f.from = QDate(2026, 2, 10);
             f.to = QDate(2026, 3, 1);
         }),
         {b, c}},
        {"amount from", filter([](SearchFilter& f) { f.amountFrom = QStringLiteral("1234.5"); }), {a, c}},
        {"amount to", filter([](SearchFilter& f) { f.amountTo = QStringLiteral("1234.49"); }), {b}},
        {"all together", filter([](SearchFilter& f) {
             f.number = QStringLiteral("100");
             f.drawer = QStringLiteral("11");
             f.anyDate = false;
             f.from = QDate(2026, 3, 1);
             f.to = QDate(2026, 3, 31);
             f.amountFrom = QStringLiteral("2000");
             f.amountTo = QStringLiteral("2000.00");
         }),
         {c}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        const SearchStatement statement = buildSearchStatement(kindOf(chequeKind()), c.filter, QString(), false);
        EXPECT_EQ(listed(statement), c.rows);
        EXPECT_FALSE(statement.listSql.contains(QStringLiteral("Neil")));
    }
}

TEST_F(SearchLogicTest, RefusedBoundsAndReversedDates)
{
    for (const char* bad : {"1.2.3", "1,234", "-5", "abc"}) {
        SearchFilter filter;
        filter.amountFrom = QString::fromUtf8(bad);
        const SearchStatement statement = buildSearchStatement(kindOf(chequeKind()), filter, QString(), false);
        EXPECT_TRUE(statement.amountFromInvalid) << bad;
        EXPECT_FALSE(statement.amountFromUsed) << bad;
        EXPECT_FALSE(statement.listSql.contains(QStringLiteral("amount_fen"))) << bad;
    }
    SearchFilter reversed;
    reversed.anyDate = false;
    reversed.from = QDate(2026, 3, 2);
    reversed.to = QDate(2026, 3, 1);
    EXPECT_TRUE(buildSearchStatement(kindOf(chequeKind()), reversed, QString(), false).datesReversed);
}

// The total reads each stored amount as the number it shows, exactly in fen.
TEST_F(SearchLogicTest, TotalsAreExactOverStoredTexts)
{
    for (const QVariant& amount : {QVariant(QStringLiteral("￥1,234.50")), QVariant(QStringLiteral("1234.5")),
                                   QVariant(QStringLiteral("")), QVariant(), QVariant(QStringLiteral("0.10")),
                                   QVariant(QStringLiteral("0.20")), QVariant(QStringLiteral("1.2.3"))})
        addCheque(QStringLiteral("N"), QString(), QString(), QStringLiteral("2026-01-01"), amount);
    const SearchTotal total = searchTotal(db(), buildSearchStatement(kindOf(chequeKind()), {}, QString(), false));
    EXPECT_EQ(total.rows, 7);
    EXPECT_EQ(total.fen, 246930);
    EXPECT_EQ(groupedYuan(total.fen), QStringLiteral("2,469.30"));
    EXPECT_EQ(groupedYuan(123456789), QStringLiteral("1,234,567.89"));
    EXPECT_EQ(groupedYuan(5), QStringLiteral("0.05"));
}

// The list order is the caller's choice only: building twice gives the same statement.
TEST_F(SearchLogicTest, OrderIsStable)
{
    const SearchKind& cheque = kindOf(chequeKind());
    EXPECT_FALSE(buildSearchStatement(cheque, {}, QString(), true).listSql.contains(QStringLiteral("order by")));
    EXPECT_EQ(buildSearchStatement(cheque, {}, QStringLiteral("金额"), true).listSql,
              buildSearchStatement(cheque, {}, QStringLiteral("金额"), true).listSql);
    EXPECT_TRUE(buildSearchStatement(kindOf(depositSlipKind()), {}, QString(), true)
                    .listSql.endsWith(QStringLiteral("order by \"流水号\" desc")));
}

TEST_F(SearchLogicTest, VoidAndChangeNumber)
{
    const int a = addCheque(QStringLiteral("A1"), {}, {}, QStringLiteral("2026-01-01"), QStringLiteral("1"));
    const int b = addCheque(QStringLiteral("A2"), {}, {}, QStringLiteral("2026-01-01"), QStringLiteral("1"));
    addCheque(QStringLiteral("A3"), {}, {}, QStringLiteral("2026-01-01"), QStringLiteral("1"));
    EXPECT_EQ(voidBills(db(), kindOf(chequeKind()), {a, b}), 2);
    EXPECT_EQ(db().scalar(QStringLiteral("select count(*) from DataZPTable where 票据状态='作废'")).toInt(), 2);
    EXPECT_TRUE(changeBillNumber(db(), kindOf(chequeKind()), a, QStringLiteral("X'9")));
    EXPECT_EQ(db().scalar(QStringLiteral("select 票据编号 from DataZPTable where 流水号=:id"), {{QStringLiteral("id"), a}})
                  .toString(),
              QStringLiteral("X'9"));
    EXPECT_FALSE(changeBillNumber(db(), kindOf(chequeKind()), 999, QStringLiteral("Y")));
}

TEST_F(SearchLogicTest, RangesOfNumbersEnteredInAdvance)
{
    struct Case {
        const char* first;
        const char* last;
        int length;
        const char* prefix;
        const char* refusal;
        QStringList numbers;
    };
    const Case cases[] = {
        {"12", "13", 8, "A", "", {QStringLiteral("A00000012"), QStringLiteral("A00000013")}},
        {"9998", "9999", 4, "", "", {QStringLiteral("9998"), QStringLiteral("9999")}},
        {"9999", "10000", 4, "", "编号“10000”超过4位，请加大编号位数！", {}},
        {"1", "101", 8, "", "一次不能导入超过100张！", {}},
        {"5", "4", 8, "", "编号范围输入错误！", {}},
        {"a", "4", 8, "", "请输入合法的编号范围，只能是数字！", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.first) + ".." + c.last);
        NumberRange range;
        range.first = QString::fromUtf8(c.first);
        range.last = QString::fromUtf8(c.last);
        range.length = c.length;
        range.prefix = QString::fromUtf8(c.prefix);
        const RangeNumbers numbers = rangeNumbers(range);
        EXPECT_EQ(numbers.refusal, QString::fromUtf8(c.refusal));
        EXPECT_EQ(numbers.numbers, c.numbers);
    }
    NumberRange range;
    range.first = QStringLiteral("1");
    range.last = QStringLiteral("100");
    range.templateName = QStringLiteral("转账支票");
    range.bank = QStringLiteral("某银行");
    const RangeNumbers hundred = rangeNumbers(range);
    ASSERT_EQ(hundred.numbers.size(), 100);
    EXPECT_TRUE(recordNumbers(db(), kindOf(wireTransferKind()), range, hundred.numbers).isEmpty());
    EXPECT_EQ(db().scalar(QStringLiteral("select count(*) from DataDHDTable where 票据状态='未用' and 出票人开户行='某银行'"))
                  .toInt(),
              100);
}

TEST(DraftNumbersTest, CountFromTheLastRunOfDigits)
{
    struct Case {
        const char* first;
        int count;
        QStringList numbers;
    };
    const Case cases[] = {
        {"A1B0099", 3, {QStringLiteral("A1B0099"), QStringLiteral("A1B0100"), QStringLiteral("A1B0101")}},
        {"AB0099C", 3, {QStringLiteral("AB0099C"), QStringLiteral("AB0100C"), QStringLiteral("AB0101C")}},
        {"99", 2, {QStringLiteral("99"), QStringLiteral("100")}},
        {"１２", 2, {QStringLiteral("12"), QStringLiteral("13")}},
        {"123456789012345678901234567890", 2,
         {QStringLiteral("123456789012345678901234567890"), QStringLiteral("123456789012345678901234567891")}},
        {"AB", 3, {QStringLiteral("AB"), QStringLiteral("1AB"), QStringLiteral("2AB")}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(draftNumbers(QString::fromUtf8(c.first), c.count), c.numbers) << c.first;
}

// The reminder counts drafts in use due from today to today + N days.
TEST_F(SearchLogicTest, ReminderWindowOfDays)
{
    Catalogue catalogue(context);
    const QDate today(2026, 3, 10);
    EXPECT_FALSE(dueReminderStatement(catalogue, today));
    EXPECT_EQ(catalogue.getDMValueByName(QStringLiteral("承兑是否提醒到期"), 0), QStringLiteral("否"));
    EXPECT_EQ(catalogue.getDMValueByName(QStringLiteral("承兑到期提醒天数"), 0), QStringLiteral("7"));
    EXPECT_FALSE(dueReminderStatement(catalogue, today));

    const auto addDraft = [&](int days, const QString& status) {
        db().execute(QStringLiteral("insert into DataCDHPTable (票据状态, 到期日期) values (:s, :d)"),
                     {{QStringLiteral("s"), status}, {QStringLiteral("d"), today.addDays(days)}});
    };
    addDraft(0, QStringLiteral("已用"));
    addDraft(7, QStringLiteral("已用"));
    addDraft(8, QStringLiteral("已用"));
    addDraft(-1, QStringLiteral("已用"));
    addDraft(3, QStringLiteral("作废"));
    addDraft(3, QStringLiteral("未用"));
    for (const char* on : {"是", "1", "yes"}) {
        catalogue.setCheckConfigByName(0, QStringLiteral("承兑是否提醒到期"), QString::fromUtf8(on));
        const std::optional<DueStatement> due = dueReminderStatement(catalogue, today);
        ASSERT_TRUE(due) << on;
        bool repaired = false;
        EXPECT_EQ(dueDraftCount(db(), *due, repaired), 2) << on;
        EXPECT_FALSE(repaired);
    }
    catalogue.setCheckConfigByName(0, QStringLiteral("承兑是否提醒到期"), QStringLiteral("YES"));
    EXPECT_FALSE(dueReminderStatement(catalogue, today));

    bool repaired = false;
    EXPECT_EQ(dueDraftCount(db(), overdueStatement(today), repaired), 1);
}

TEST_F(SearchLogicTest, MissingDueDateColumnIsAdded)
{
    db().executeScript(QStringLiteral("drop table DataCDHPTable; create table DataCDHPTable (流水号 integer primary key, "
                                      "票据状态 text);"));
    bool repaired = false;
    EXPECT_EQ(dueDraftCount(db(), overdueStatement(QDate(2026, 3, 10)), repaired), 0);
    EXPECT_TRUE(repaired);
    EXPECT_TRUE(db().textColumn(QStringLiteral("select name from pragma_table_info('DataCDHPTable')"))
                    .contains(QStringLiteral("到期日期")));
}

TEST_F(SearchLogicTest, DraftsJoinTheBatchByTheirGroup)
{
    db().execute(QStringLiteral("insert into DataCDHPTable (票据编号, 金额, 收款人全称) values ('C1', '100.00', '乙')"));
    const int serial = db().scalar(QStringLiteral("select max(流水号) from DataCDHPTable")).toInt();
    EXPECT_TRUE(addDraftToBatch(db(), serial, QStringLiteral("三月'组")));
    EXPECT_FALSE(addDraftToBatch(db(), serial + 1, QStringLiteral("三月'组")));
    EXPECT_EQ(db().scalar(QStringLiteral("select 收款人全称 from MultiPrintCDHP where 批打分组=:g"),
                          {{QStringLiteral("g"), QStringLiteral("三月'组")}})
                  .toString(),
              QStringLiteral("乙"));
}
