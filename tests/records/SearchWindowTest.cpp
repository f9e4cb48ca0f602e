#include "RecordingMessages.h"
#include "TempHome.h"
#include "WindowProbe.h"

#include "data/Database.h"
#include "entry/BillForm.h"
#include "entry/BillKind.h"
#include "entry/InputValue.h"
#include "platform/RegistryStore.h"
#include "records/Search.h"
#include "shell/AppContext.h"
#include "shell/MainMDI.h"
#include "templates/Catalogue.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QPushButton>
#include <QSpinBox>
#include <QSqlQueryModel>
#include <QSqlRecord>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <functional>

using namespace slipcraft;

namespace {

const QDate kToday(2026, 12, 11);

struct Bill {
    QString number;
    QString payee;
    QString date;
    QVariant amount;
    QString status = QStringLiteral("已用");
    QString templateName = QStringLiteral("工商银行");
};

class SearchWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        home.createDatabase();
        context.today = kToday;
    }

    const SearchKind& kindOf(const BillKind& bill) { return *searchKindOf(bill); }

    int add(const BillKind& bill, const Bill& row)
    {
        const SearchKind& kind = kindOf(bill);
        const QString payee = kind.payeeColumns.first();
        // Waybills have no status.
        const QString status = bill.hasStatus ? QStringLiteral(", 票据状态") : QString();
        context.db().execute(QStringLiteral("insert into %1 (%2, %3, %4, %5, 模板种类%6) values (:n, :p, :d, :m, :t%7)")
                                 .arg(kind.table, kind.numberColumn, payee, kind.dateColumn, kind.amountColumn, status,
                                      bill.hasStatus ? QStringLiteral(", :s") : QString()),
                             bill.hasStatus ? SqlParams{{QStringLiteral("n"), row.number},
                                                        {QStringLiteral("p"), row.payee},
                                                        {QStringLiteral("d"), row.date},
                                                        {QStringLiteral("m"), row.amount},
                                                        {QStringLiteral("s"), row.status},
                                                        {QStringLiteral("t"), row.templateName}}
                                            : SqlParams{{QStringLiteral("n"), row.number},
                                                        {QStringLiteral("p"), row.payee},
                                                        {QStringLiteral("d"), row.date},
                                                        {QStringLiteral("m"), row.amount},
                                                        {QStringLiteral("t"), row.templateName}});
        return context.db().scalar(QStringLiteral("select max(流水号) from ") + kind.table).toInt();
    }

    std::unique_ptr<TfmSearch> open(const BillKind& bill)
    {
        auto window = std::make_unique<TfmSearch>(context, kindOf(bill));
        window->show();
        return window;
    }

    static QSqlQueryModel* model(const TfmSearch& window)
    {
        return qobject_cast<QSqlQueryModel*>(child<QTableView>(window, "DBGrid1")->model());
    }

    // The listed serials, top to bottom.
    static QList<int> listed(const TfmSearch& window)
    {
        QSqlQueryModel* rows = model(window);
        while (rows->canFetchMore())
            rows->fetchMore();
        QList<int> serials;
        for (int row = 0; row < rows->rowCount(); ++row)
            serials << rows->record(row).value(QStringLiteral("流水号")).toInt();
        return serials;
    }

    static void select(const TfmSearch& window, const QList<int>& rows)
    {
        auto* grid = child<QTableView>(window, "DBGrid1");
        grid->clearSelection();
        for (int row : rows)
            grid->selectionModel()->select(grid->model()->index(row, 0),
                                           QItemSelectionModel::Select | QItemSelectionModel::Rows);
        if (!rows.isEmpty())
            grid->selectionModel()->setCurrentIndex(grid->model()->index(rows.first(), 0), QItemSelectionModel::NoUpdate);
    }

    static void trigger(const TfmSearch& window, const char* entry)
    {
        window.findChild<QAction*>(QString::fromLatin1(entry))->trigger();
    }

    QString columnOf(const QString& table, const QString& column, int serial)
    {
        return context.db()
            .scalar(QStringLiteral("select %1 from %2 where 流水号=:s").arg(column, table), {{QStringLiteral("s"), serial}})
            .toString();
    }

    void setReminder(const QString& on, const QString& days)
    {
        context.catalogue().setCheckConfigByName(0, QStringLiteral("承兑是否提醒到期"), on);
        context.catalogue().setCheckConfigByName(0, QStringLiteral("承兑到期提醒天数"), days);
    }

    TempHome home;
    RecordingMessages messages;
    AppContext context{home.runPath(), messages};
};

} // namespace

// The window opens on every stored bill, with the count and the total of amounts read as
// the decimal numbers they show, summed in fen.
TEST_F(SearchWindowTest, OpensOnEveryBillWithItsCountAndExactTotal)
{
    add(chequeKind(), {QStringLiteral("A1"), QStringLiteral("甲"), QStringLiteral("2026-12-01"), QStringLiteral("￥1,234.50")});
    add(chequeKind(), {QStringLiteral("A2"), QStringLiteral("乙"), QStringLiteral("2026-12-02"), QStringLiteral("0.10")});
    add(chequeKind(), {QStringLiteral("A3"), QStringLiteral("丙"), QStringLiteral("2026-12-03"), QStringLiteral("")});
    add(chequeKind(), {QStringLiteral("A4"), QStringLiteral("丁"), QStringLiteral("2026-12-04"), QVariant()});
    auto window = open(chequeKind());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("支票查询"));
    EXPECT_EQ(window->objectName(), QStringLiteral("fmSearch_ZP"));
    EXPECT_EQ(window->listedRows(), 4);
    EXPECT_EQ(child<QLabel>(*window, "lbTotal")->text(), QStringLiteral("金额汇总:￥1,234.60"));
    EXPECT_TRUE(child<QPushButton>(*window, "btExport")->isEnabled());

    // The cheque lists in stored order; the others newest first.
    EXPECT_EQ(listed(*window), (QList<int>{1, 2, 3, 4}));
    for (int i = 1; i <= 3; ++i)
        add(depositSlipKind(), {QString::number(i), QStringLiteral("甲"), QStringLiteral("2026-12-01"), QStringLiteral("5")});
    auto slips = open(depositSlipKind());
    EXPECT_EQ(listed(*slips), (QList<int>{3, 2, 1}));
    EXPECT_EQ(child<QLabel>(*slips, "lbTotal")->text(), QStringLiteral("金额汇总:￥15.00"));

    auto empty = open(paymentSlipKind());
    EXPECT_EQ(empty->listedRows(), 0);
    EXPECT_FALSE(child<QPushButton>(*empty, "btDeleteSelected")->isEnabled());
    EXPECT_FALSE(child<QPushButton>(*empty, "btExport")->isEnabled());
    EXPECT_TRUE(messages.messages.isEmpty());
}

// Pressing the query button again with the same filters does nothing; a refresh reads again.
TEST_F(SearchWindowTest, QueriesAgainOnlyWhenTheFiltersChangeOrOnRefresh)
{
    add(depositSlipKind(), {QStringLiteral("1"), QStringLiteral("甲"), QStringLiteral("2026-12-01"), QStringLiteral("5")});
    auto window = open(depositSlipKind());
    add(depositSlipKind(), {QStringLiteral("2"), QStringLiteral("乙"), QStringLiteral("2026-12-01"), QStringLiteral("5")});
    click(*window, "btQuery");
    EXPECT_EQ(window->listedRows(), 1);
    trigger(*window, "mnRefresh");
    EXPECT_EQ(window->listedRows(), 2);

    child<QLineEdit>(*window, "edtPayee")->setText(QStringLiteral("乙"));
    click(*window, "btQuery");
    EXPECT_EQ(listed(*window), QList<int>{2});
    EXPECT_EQ(child<QLineEdit>(*window, "edtPayee")->palette().color(QPalette::Base), QColor(Qt::yellow));
    click(*window, "btAll");
    EXPECT_EQ(window->listedRows(), 2);
    EXPECT_TRUE(child<QLineEdit>(*window, "edtPayee")->text().isEmpty());
}

// A cheque list keeps its direction through re-queries; only a second click on the same
// title turns it round.
TEST_F(SearchWindowTest, ChequeSortTurnsOnlyOnTheSameTitle)
{
    for (const char* amount : {"20", "30", "10"})
        add(chequeKind(), {QStringLiteral("N"), QStringLiteral("甲"), QStringLiteral("2026-12-01"), QString::fromLatin1(amount)});
    auto window = open(chequeKind());
    auto* header = child<QTableView>(*window, "DBGrid1")->horizontalHeader();
    const int numberColumn = model(*window)->record().indexOf(QStringLiteral("流水号"));
    const int payeeColumn = model(*window)->record().indexOf(QStringLiteral("收款人全称"));

    emit header->sectionClicked(numberColumn);
    EXPECT_EQ(listed(*window), (QList<int>{3, 2, 1}));
    child<QComboBox>(*window, "cbMatchMode")->setCurrentIndex(1); // a re-query
    EXPECT_EQ(listed(*window), (QList<int>{3, 2, 1}));
    trigger(*window, "mnRefresh");
    EXPECT_EQ(listed(*window), (QList<int>{3, 2, 1}));
    emit header->sectionClicked(numberColumn);
    EXPECT_EQ(listed(*window), (QList<int>{1, 2, 3}));
    emit header->sectionClicked(payeeColumn);
    emit header->sectionClicked(numberColumn); // another title first: descending again
    EXPECT_EQ(listed(*window), (QList<int>{3, 2, 1}));
}

TEST_F(SearchWindowTest, DatesAndAmountsThatCannotFilterAreShownAndLeftOut)
{
    add(depositSlipKind(), {QStringLiteral("1"), QStringLiteral("甲"), QStringLiteral("2026-12-01"), QStringLiteral("12.5")});
    add(depositSlipKind(), {QStringLiteral("2"), QStringLiteral("乙"), QStringLiteral("2026-12-05"), QStringLiteral("￥1,000.00")});
    add(depositSlipKind(), {QStringLiteral("3"), QStringLiteral("乙"), QStringLiteral("2026-12-10"), QStringLiteral("3")});
    auto window = open(depositSlipKind());

    // A reversed range is reported and the list stays as it was.
    child<QDateEdit>(*window, "dtFrom")->setDate(QDate(2026, 12, 9));
    child<QDateEdit>(*window, "dtTo")->setDate(QDate(2026, 12, 2));
    EXPECT_FALSE(child<QCheckBox>(*window, "ckAnyDate")->isChecked());
    click(*window, "btQuery");
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("日期选择有误:\"2026-12-09>2026-12-02\"")});
    EXPECT_EQ(messages.messages.last().caption, QStringLiteral("日期输入"));
    EXPECT_EQ(window->listedRows(), 3);

    child<QDateEdit>(*window, "dtFrom")->setDate(QDate(2026, 12, 1));
    click(*window, "btQuery");
    EXPECT_EQ(listed(*window), (QList<int>{1}));

    // "1.2.3" is no number: marked, and the other filters still apply.
    child<QCheckBox>(*window, "ckAnyDate")->setChecked(true);
    child<QLineEdit>(*window, "edtPayee")->setText(QStringLiteral("乙"));
    child<QLineEdit>(*window, "edtAmountFrom")->setText(QStringLiteral("1.2.3"));
    child<QLineEdit>(*window, "edtAmountTo")->setText(QStringLiteral("999.99"));
    click(*window, "btQuery");
    EXPECT_EQ(child<QLineEdit>(*window, "edtAmountFrom")->text(), QStringLiteral("非法数字"));
    EXPECT_EQ(child<QLineEdit>(*window, "edtAmountFrom")->palette().color(QPalette::Base), QColor(Qt::red));
    EXPECT_EQ(listed(*window), (QList<int>{3}));
    child<QLineEdit>(*window, "edtAmountFrom")->setText(QStringLiteral("12.5"));
    child<QLineEdit>(*window, "edtAmountTo")->clear();
    child<QLineEdit>(*window, "edtPayee")->clear();
    click(*window, "btQuery");
    EXPECT_EQ(listed(*window), (QList<int>{2, 1}));
    EXPECT_EQ(child<QLabel>(*window, "lbTotal")->text(), QStringLiteral("金额汇总:￥1,012.50"));
}

TEST_F(SearchWindowTest, DateTreeNodesSetTheRange)
{
    const int today = add(depositSlipKind(), {QStringLiteral("1"), {}, QStringLiteral("2026-12-11"), QStringLiteral("1")});
    const int week = add(depositSlipKind(), {QStringLiteral("2"), {}, QStringLiteral("2026-12-05"), QStringLiteral("1")});
    const int month = add(depositSlipKind(), {QStringLiteral("3"), {}, QStringLiteral("2026-12-01"), QStringLiteral("1")});
    const int year = add(depositSlipKind(), {QStringLiteral("4"), {}, QStringLiteral("2026-02-01"), QStringLiteral("1")});
    const int older = add(depositSlipKind(), {QStringLiteral("5"), {}, QStringLiteral("2025-12-15"), QStringLiteral("1")});
    add(depositSlipKind(), {QStringLiteral("6"), {}, QStringLiteral("2025-12-10"), QStringLiteral("1")});
    auto window = open(depositSlipKind());
    auto* tree = child<QTreeWidget>(*window, "TreeView1");
    const auto node = [&](const QString& text) {
        return tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive).value(0);
    };
    struct Case {
        const char* node;
        QList<int> rows;
    };
    const Case cases[] = {
        {"今天", {today}},
        {"最近一周", {today, week}},
        {"本月内", {today, week, month}},
        {"本年度内", {today, week, month, year}},
        {"最近一年", {today, week, month, year, older}},
    };
    for (const Case& c : cases) {
        QTreeWidgetItem* item = node(QString::fromUtf8(c.node));
        ASSERT_NE(item, nullptr) << c.node;
        emit tree->itemClicked(item, 0);
        QList<int> expected = c.rows;
        std::sort(expected.rbegin(), expected.rend());
        EXPECT_EQ(listed(*window), expected) << c.node;
    }
    // "其他日期" asks for a range and leaves the list.
    emit tree->itemClicked(node(QStringLiteral("其他日期")), 0);
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("请选择右侧限定的起始年月日~再点击【查询】按钮")});
    EXPECT_EQ(child<QDateEdit>(*window, "dtFrom")->date(), kToday.addDays(-548));
    EXPECT_FALSE(child<QCheckBox>(*window, "ckAnyDate")->isChecked());
    EXPECT_EQ(window->listedRows(), 5);
    EXPECT_EQ(node(QStringLiteral("快到期的")), nullptr);
}

TEST_F(SearchWindowTest, VoidingChangingNumbersAndDeletingWorkOnTheDatabase)
{
    const int first = add(chequeKind(), {QStringLiteral("0001"), QStringLiteral("甲"), QStringLiteral("2026-12-01"), QStringLiteral("1")});
    const int second = add(chequeKind(), {QStringLiteral("0002"), QStringLiteral("乙"), QStringLiteral("2026-12-01"), QStringLiteral("1")});
    const int third = add(chequeKind(), {QStringLiteral("0003"), QStringLiteral("丙"), QStringLiteral("2026-12-01"), QStringLiteral("1")});
    auto window = open(chequeKind());

    click(*window, "btVoid");
    EXPECT_EQ(messages.texts().last(), QStringLiteral("没有点中要作废的票据!（按住ctrl+点击，可多选哦）"));
    select(*window, {0, 2});
    click(*window, "btVoid");
    EXPECT_EQ(messages.texts().last(), QStringLiteral("成功作废2条记录！"));
    EXPECT_EQ(columnOf(QStringLiteral("DataZPTable"), QStringLiteral("票据状态"), first), QStringLiteral("作废"));
    EXPECT_EQ(columnOf(QStringLiteral("DataZPTable"), QStringLiteral("票据状态"), second), QStringLiteral("已用"));
    EXPECT_EQ(columnOf(QStringLiteral("DataZPTable"), QStringLiteral("票据状态"), third), QStringLiteral("作废"));
    // Voided rows white on red, used ones black on yellow.
    EXPECT_EQ(model(*window)->index(0, 1).data(Qt::BackgroundRole).value<QColor>(), QColor(Qt::red));
    EXPECT_EQ(model(*window)->index(0, 1).data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::white));
    EXPECT_EQ(model(*window)->index(1, 1).data(Qt::BackgroundRole).value<QColor>(), QColor(Qt::yellow));

    select(*window, {1});
    answerNextInput(QStringLiteral("X-77"));
    trigger(*window, "mnChangeNumber");
    EXPECT_EQ(columnOf(QStringLiteral("DataZPTable"), QStringLiteral("票据编号"), second), QStringLiteral("X-77"));
    EXPECT_EQ(messages.texts().last(), QStringLiteral("成功修改票据编号."));

    messages.answer = true;
    select(*window, {1});
    click(*window, "btDeleteSelected");
    EXPECT_EQ(listed(*window), (QList<int>{first, third}));

    click(*window, "btClearAll");
    EXPECT_EQ(messages.texts().last(), QStringLiteral("清空成功！共删除2条记录"));
    EXPECT_EQ(window->listedRows(), 0);
    EXPECT_FALSE(child<QPushButton>(*window, "btClearAll")->isEnabled());
}

// Numbers entered in advance for the cheque and the wire transfer.
TEST_F(SearchWindowTest, RecordsARangeOfBlankNumbers)
{
    auto window = open(wireTransferKind());
    click(*window, "btRecord");
    EXPECT_TRUE(child<QFrame>(*window, "panelRecord")->isVisible());
    child<QLineEdit>(*window, "edtFirst")->setText(QStringLiteral("1"));
    child<QLineEdit>(*window, "edtLast")->setText(QStringLiteral("101"));
    click(*window, "btRecordStart");
    EXPECT_EQ(messages.texts().last(), QStringLiteral("一次不能导入超过100张！"));
    EXPECT_EQ(window->listedRows(), 0);

    child<QLineEdit>(*window, "edtFirst")->setText(QStringLiteral("11"));
    child<QLineEdit>(*window, "edtLast")->setText(QStringLiteral("13"));
    child<QLineEdit>(*window, "edtPrefix")->setText(QStringLiteral("A"));
    click(*window, "btRecordStart");
    EXPECT_EQ(messages.texts().last(), QStringLiteral("登记结束！"));
    EXPECT_FALSE(child<QFrame>(*window, "panelRecord")->isVisible());
    EXPECT_EQ(context.db().textColumn(QStringLiteral("select 票据编号 || '/' || 票据状态 || '/' || 金额 from DataDHDTable "
                                                     "order by 流水号")),
              (QStringList{QStringLiteral("A00000011/未用/0"), QStringLiteral("A00000012/未用/0"),
                           QStringLiteral("A00000013/未用/0")}));
    EXPECT_EQ(window->listedRows(), 3);
}

TEST_F(SearchWindowTest, DraftNumberingCountsUpTheLastRunOfDigits)
{
    for (int i = 0; i < 3; ++i)
        add(acceptanceDraftKind(), {QString(), QStringLiteral("甲"), QStringLiteral("2026-12-01"), QStringLiteral("1")});
    auto window = open(acceptanceDraftKind());
    select(*window, {2, 1, 0}); // oldest first
    answerNextInput(QStringLiteral("A1B0099"));
    trigger(*window, "mnDraftNumbers");
    EXPECT_EQ(context.db().textColumn(QStringLiteral("select 票据编号 from DataCDHPTable order by 流水号")),
              (QStringList{QStringLiteral("A1B0099"), QStringLiteral("A1B0100"), QStringLiteral("A1B0101")}));

    // One draft takes the answer as it is.
    select(*window, {0});
    answerNextInput(QStringLiteral("Z-9"));
    trigger(*window, "mnDraftNumbers");
    EXPECT_EQ(columnOf(QStringLiteral("DataCDHPTable"), QStringLiteral("票据编号"), 3), QStringLiteral("Z-9"));
}

TEST_F(SearchWindowTest, DraftDueViewsAndColours)
{
    const auto due = [&](const QDate& date, const QString& status) {
        const int serial = add(acceptanceDraftKind(), {QStringLiteral("D"), QStringLiteral("甲"), QStringLiteral("2026-11-01"),
                                                       QStringLiteral("100"), status});
        context.db().execute(QStringLiteral("update DataCDHPTable set 到期日期=:d where 流水号=:s"),
                             {{QStringLiteral("d"), date.toString(QStringLiteral("yyyy-MM-dd"))}, {QStringLiteral("s"), serial}});
        return serial;
    };
    const int yesterday = due(kToday.addDays(-1), QStringLiteral("已用"));
    const int inWindow = due(kToday.addDays(7), QStringLiteral("已用"));
    due(kToday.addDays(8), QStringLiteral("已用"));
    due(kToday, QStringLiteral("作废"));

    {
        auto window = open(acceptanceDraftKind());
        auto* tree = child<QTreeWidget>(*window, "TreeView1");
        emit tree->itemClicked(tree->findItems(QStringLiteral("快到期的"), Qt::MatchExactly | Qt::MatchRecursive).value(0), 0);
        EXPECT_EQ(messages.texts().last(), QStringLiteral("系统未开启重复提醒功能~"));
        emit tree->itemClicked(tree->findItems(QStringLiteral("已经到期的"), Qt::MatchExactly | Qt::MatchRecursive).value(0), 0);
        EXPECT_EQ(listed(*window), QList<int>{yesterday});
        // The query button brings the filters' list back.
        click(*window, "btQuery");
        EXPECT_EQ(window->listedRows(), 4);
    }

    setReminder(QStringLiteral("是"), QStringLiteral("7"));
    auto window = open(acceptanceDraftKind());
    window->showDueSoon();
    EXPECT_EQ(listed(*window), QList<int>{inWindow});
    // A used draft falling due within the reminder days has its due cell yellow, selected or not.
    const int dueColumn = model(*window)->record().indexOf(QStringLiteral("到期日期"));
    EXPECT_EQ(model(*window)->index(0, dueColumn).data(Qt::BackgroundRole).value<QColor>(), QColor(Qt::yellow));
    EXPECT_EQ(model(*window)->index(0, 1).data(Qt::BackgroundRole).value<QColor>(), QColor(251, 247, 174));
}

TEST_F(SearchWindowTest, BatchModeAddsDraftsToTheBatchGroup)
{
    for (int i = 0; i < 3; ++i)
        add(acceptanceDraftKind(), {QStringLiteral("D%1").arg(i), QStringLiteral("甲"), QStringLiteral("2026-12-01"), QStringLiteral("1")});
    TfmSearch window(context, kindOf(acceptanceDraftKind()));
    window.setBatchMode(true, QStringLiteral("分组1"));
    window.show();
    EXPECT_FALSE(child<QPushButton>(window, "btOpen")->isVisible());
    EXPECT_FALSE(child<QCheckBox>(window, "ckDblOpen")->isVisible());
    EXPECT_TRUE(child<QPushButton>(window, "btAddSelected")->isVisible());

    click(window, "btAddSelected");
    EXPECT_EQ(messages.texts().last(), QStringLiteral("未选中任何有效的列表记录！"));
    EXPECT_TRUE(window.isVisible());
    click(window, "btAddAll");
    EXPECT_EQ(messages.texts().last(), QStringLiteral("本次共添加3个批打记录！"));
    EXPECT_TRUE(window.isVisible());
    select(window, {1});
    click(window, "btAddSelected");
    EXPECT_EQ(messages.texts().last(), QStringLiteral("本次共成功添加 1 个批打记录!"));
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(context.db().scalar(QStringLiteral("select count(*) from MultiPrintCDHP where 批打分组='分组1'")).toInt(), 4);
}

TEST_F(SearchWindowTest, WaybillTemplateFilterEntriesAndTracking)
{
    const int sf = add(waybillKind(), {QStringLiteral("SF1"), QStringLiteral("张三"), QStringLiteral("2026-12-01"),
                                       QStringLiteral("12"), QStringLiteral("已用"), QStringLiteral("顺丰")});
    const int ems = add(waybillKind(), {QStringLiteral(""), QStringLiteral("李四"), QStringLiteral("2026-12-01"),
                                        QStringLiteral("8.5"), QStringLiteral("已用"), QStringLiteral("EMS")});
    context.db().execute(QStringLiteral("update DataKDDTable set 收件单位='', 收件联系人='张三' where 流水号=:s"),
                         {{QStringLiteral("s"), sf}});
    auto window = open(waybillKind());
    EXPECT_EQ(child<QLabel>(*window, "lbTotal")->text(), QStringLiteral("总费用汇总:￥20.50"));
    EXPECT_EQ(window->findChild<QLineEdit*>(QStringLiteral("edtAmountFrom")), nullptr);
    auto* templates = child<QComboBox>(*window, "cbTemplate");
    EXPECT_EQ(templates->count(), 3);
    templates->setCurrentText(QStringLiteral("EMS"));
    EXPECT_EQ(listed(*window), QList<int>{ems});

    answerNextInput(QStringLiteral("EM123"));
    trigger(*window, "mnWaybillNumber");
    EXPECT_EQ(columnOf(QStringLiteral("DataKDDTable"), QStringLiteral("快递单号"), ems), QStringLiteral("EM123"));

    QString path;
    QUrlQuery keys;
    window->setCommands({{}, [&](const QString& page, const QUrlQuery& query) {
                             path = page;
                             keys = query;
                         }});
    trigger(*window, "mnTrack");
    EXPECT_EQ(path, QStringLiteral("/help/kddsearch"));
    EXPECT_EQ(keys.queryItemValue(QStringLiteral("typekey")), QStringLiteral("EMS"));
    EXPECT_EQ(keys.queryItemValue(QStringLiteral("kddno")), QStringLiteral("EM123"));

    // The receiver box finds the contact person too.
    click(*window, "btAll");
    child<QLineEdit>(*window, "edtPayee")->setText(QStringLiteral("张"));
    click(*window, "btQuery");
    EXPECT_EQ(listed(*window), QList<int>{sf});
}

// A double click opens the bill through the main window when "双击打开" is ticked, and the
// window closes; the tick is kept in the user settings.
TEST_F(SearchWindowTest, DoubleClickOpensTheBillWhenTicked)
{
    const int serial = add(depositSlipKind(), {QStringLiteral("1"), QStringLiteral("甲"), QStringLiteral("2026-12-01"),
                                               QStringLiteral("1"), QStringLiteral("已用"), QStringLiteral("农业银行")});
    QList<std::pair<QString, int>> opened;
    const SearchCommands commands{[&](const QString& name, int number) {
                                      opened.append({name, number});
                                      return true;
                                  },
                                  {}};
    context.userIniFile().writeString(QStringLiteral("Config"), QStringLiteral("JZDView_DBLOPEN"), QStringLiteral("0"));
    {
        auto window = open(depositSlipKind());
        window->setCommands(commands);
        auto* grid = child<QTableView>(*window, "DBGrid1");
        EXPECT_FALSE(child<QCheckBox>(*window, "ckDblOpen")->isChecked());
        emit grid->doubleClicked(grid->model()->index(0, 0));
        EXPECT_TRUE(opened.isEmpty());
        QTest::mouseClick(child<QCheckBox>(*window, "ckDblOpen"), Qt::LeftButton);
        EXPECT_EQ(context.userIniFile().readString(QStringLiteral("Config"), QStringLiteral("JZDView_DBLOPEN")),
                  QStringLiteral("1"));
    }
    auto window = open(depositSlipKind());
    window->setCommands(commands);
    auto* grid = child<QTableView>(*window, "DBGrid1");
    emit grid->doubleClicked(grid->model()->index(0, 0));
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened[0], std::make_pair(QStringLiteral("农业银行"), serial));
    EXPECT_EQ(window->result(), QDialog::Accepted);
}

namespace {

// The main window with the product's bill types and templates.
class SearchFromMainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        home.createDatabase(ProductData::Include);
        context.today = kToday;
    }

    TempHome home;
    RecordingMessages messages;
    QTemporaryDir config;
    AppContext context{home.runPath(), messages};
    RegistryStore registry{config.filePath(QStringLiteral("record.conf"))};
};

} // namespace

TEST_F(SearchFromMainWindowTest, OpeningAStoredBillOffersToCloseOtherForms)
{
    Tfm_Main window(context, registry);
    TfmBillForm* cheque = window.openBillForm(chequeKind(), true);
    ASSERT_NE(cheque, nullptr);
    const QString templateName = cheque->templateName();
    context.db().execute(QStringLiteral("insert into DataJZDTable (票据编号, 收款人全称, 金额, 票据状态, 模板种类, 出票日期) "
                                        "values ('9', '丁公司', '88', '已用', :t, '2026-12-01')"),
                         {{QStringLiteral("t"), QString()}});
    const int serial = context.db().scalar(QStringLiteral("select max(流水号) from DataJZDTable")).toInt();

    messages.answer = false;
    EXPECT_FALSE(window.openStoredBill(depositSlipKind(), QString(), serial));
    EXPECT_EQ(messages.messages.at(messages.messages.size() - 2).text, QStringLiteral("自动关闭已打开的单据吗？"));
    EXPECT_EQ(messages.texts().last(), QStringLiteral("请先关闭正在编辑的单据模块！"));
    EXPECT_EQ(window.billForm(chequeKind()), cheque);
    EXPECT_EQ(window.billForm(depositSlipKind()), nullptr);

    messages.answer = true;
    EXPECT_TRUE(window.openStoredBill(depositSlipKind(), QString(), serial));
    QApplication::processEvents();
    TfmBillForm* slip = window.billForm(depositSlipKind());
    ASSERT_NE(slip, nullptr);
    EXPECT_EQ(window.mdiArea()->subWindowList().size(), 1);
    EXPECT_EQ(slip->session().recordNumber, serial);
    EXPECT_TRUE(slip->windowTitle().contains(QString::number(serial))) << slip->windowTitle().toStdString();
    EXPECT_FALSE(templateName.isEmpty());
}

TEST_F(SearchFromMainWindowTest, TheDraftFormAsksAboutDraftsFallingDue)
{
    // A new database: the first draft form writes the defaults and asks nothing.
    {
        Tfm_Main window(context, registry);
        ASSERT_NE(window.openBillForm(acceptanceDraftKind(), true), nullptr);
        EXPECT_EQ(context.catalogue().getDMValueByName(QStringLiteral("承兑是否提醒到期"), 0), QStringLiteral("否"));
        EXPECT_EQ(context.catalogue().getDMValueByName(QStringLiteral("承兑到期提醒天数"), 0), QStringLiteral("7"));
        for (const auto& message : messages.messages)
            EXPECT_FALSE(message.question) << message.text.toStdString();
    }
    context.catalogue().setCheckConfigByName(0, QStringLiteral("承兑是否提醒到期"), QStringLiteral("是"));
    context.db().execute(QStringLiteral("insert into DataCDHPTable (票据编号, 票据状态, 到期日期, 金额) values "
                                        "('1', '已用', :d, '5')"),
                         {{QStringLiteral("d"), kToday.addDays(3).toString(QStringLiteral("yyyy-MM-dd"))}});
    messages.messages.clear();
    messages.answer = false;
    Tfm_Main window(context, registry);
    ASSERT_NE(window.openBillForm(acceptanceDraftKind(), true), nullptr);
    ASSERT_FALSE(messages.messages.isEmpty());
    EXPECT_EQ(messages.messages.last().text, QStringLiteral("系统有 1 张承兑汇票即将到期，是否现在查看？"));
    EXPECT_EQ(messages.messages.last().caption, QStringLiteral("到期提醒"));
}
