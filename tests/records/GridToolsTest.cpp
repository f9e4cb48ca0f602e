#include "RecordingMessages.h"
#include "TempHome.h"

#include "platform/IniFile.h"
#include "platform/spreadsheet/Workbook.h"
#include "records/GridTools.h"
#include "shell/AppContext.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QHeaderView>
#include <QListWidget>
#include <QProgressDialog>
#include <QPushButton>
#include <QSqlQueryModel>
#include <QStandardItemModel>
#include <QTableView>
#include <QTest>
#include <QTimer>

using namespace slipcraft;

namespace {

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

class GridToolsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        home.createDatabase();
        context.db().execute(QStringLiteral("create table People (ID integer primary key, Name text, Account text, Phone text)"));
        context.db().inTransaction([&] {
            for (int id = 1; id <= 300; ++id)
                context.db().execute(QStringLiteral("insert into People values (:id, :name, :account, :phone)"),
                                     {{QStringLiteral("id"), id},
                                      {QStringLiteral("name"), QStringLiteral("单位%1").arg(id)},
                                      {QStringLiteral("account"), QStringLiteral("62220202001122%1").arg(id, 5, 10, QLatin1Char('0'))},
                                      {QStringLiteral("phone"), QStringLiteral("0755")}});
        });
        grid.setObjectName(QStringLiteral("DBGrid1"));
        grid.setSelectionBehavior(QAbstractItemView::SelectRows);
        grid.setSelectionMode(QAbstractItemView::ExtendedSelection);
    }

    // A lazy query model, as the list windows use: it holds 256 rows until asked for more.
    void showPeople()
    {
        model.setQuery(QStringLiteral("select ID, Name as 单位名称, Account as 账号, Phone as 电话 from People order by ID"),
                       context.db().connection());
        grid.setModel(&model);
    }

    void select(std::initializer_list<int> rows)
    {
        for (int row : rows)
            grid.selectionModel()->select(model.index(row, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }

    int peopleLeft() { return context.db().scalar(QStringLiteral("select count(*) from People")).toInt(); }

    QStringList texts() const { return messages.texts(); }

    TempHome home;
    RecordingMessages messages;
    AppContext context{home.runPath(), messages};
    QSqlQueryModel model;
    QTableView grid;
};

} // namespace

TEST_F(GridToolsTest, WidthsAndHiddenColumnsSurviveReopeningTheWindow)
{
    showPeople();
    grid.setColumnWidth(0, 33);
    grid.setColumnWidth(1, 140);
    grid.setColumnHidden(2, true);
    GridColsWidthSave(context, &grid, QStringLiteral("fm_PersonManage"));
    EXPECT_EQ(IniFile(home.path(QStringLiteral("Config.ini"))).readString(QStringLiteral("FM_PERSONMANAGE"), QStringLiteral("DBGRID1.W2")),
              "-1");

    QTableView reopened;
    reopened.setObjectName(QStringLiteral("DBGrid1"));
    reopened.setModel(&model);
    GridColsWidthLoad(context, &reopened, QStringLiteral("fm_PersonManage"));
    EXPECT_EQ(reopened.columnWidth(0), 33);
    EXPECT_EQ(reopened.columnWidth(1), 140);
    EXPECT_TRUE(reopened.isColumnHidden(2));
    EXPECT_EQ(reopened.columnWidth(3), grid.columnWidth(3));
    EXPECT_TRUE(messages.messages.isEmpty());

    GridColsWidthSave(context, &grid, QString());
    GridColsWidthLoad(context, &grid, QString());
    EXPECT_EQ(texts(), QStringList({"保存表格列宽异常！", "保存表格列宽异常！"}));
}

TEST_F(GridToolsTest, ChooserHidesAndShowsColumnsAndRemembersThem)
{
    showPeople();
    grid.setColumnHidden(3, true);
    QTimer::singleShot(0, [&] {
        auto* chooser = qobject_cast<TfrmGridConfig*>(QApplication::activeModalWidget());
        ASSERT_NE(chooser, nullptr);
        EXPECT_EQ(chooser->windowTitle(), "表格栏目配置");
        const auto items = [](QListWidget* list) {
            QStringList names;
            for (int row = 0; row < list->count(); ++row)
                names << list->item(row)->text();
            return names;
        };
        EXPECT_EQ(items(chooser->lbShow), QStringList({"ID", "单位名称", "账号"}));
        EXPECT_EQ(items(chooser->lbHide), QStringList({"电话"}));
        chooser->lbShow->item(0)->setSelected(true);
        chooser->lbShow->item(2)->setSelected(true);
        chooser->lbHide->item(0)->setSelected(true);
        QTest::mouseClick(chooser->findChild<QPushButton*>(QStringLiteral("btHide")), Qt::LeftButton);
        QTest::mouseClick(chooser->findChild<QPushButton*>(QStringLiteral("btShow")), Qt::LeftButton);
        EXPECT_EQ(items(chooser->lbShow), QStringList({"单位名称", "电话"}));
        EXPECT_EQ(items(chooser->lbHide), QStringList({"ID", "账号"}));
        QTest::mouseClick(chooser->findChild<QPushButton*>(QStringLiteral("btApply")), Qt::LeftButton);
        QTest::mouseClick(chooser->findChild<QPushButton*>(QStringLiteral("btClose")), Qt::LeftButton);
    });
    GridColsConfigration(context, &grid, QStringLiteral("fm_PersonManage"));

    EXPECT_EQ(texts(), QStringList({"栏目显示设置成功~"}));
    EXPECT_TRUE(grid.isColumnHidden(0));
    EXPECT_FALSE(grid.isColumnHidden(1));
    EXPECT_TRUE(grid.isColumnHidden(2));
    EXPECT_FALSE(grid.isColumnHidden(3));
    EXPECT_EQ(grid.columnWidth(3), 50); // shown again after having no width
    const IniFile ini(home.path(QStringLiteral("Config.ini")));
    EXPECT_EQ(ini.readString(QStringLiteral("FM_PERSONMANAGE"), QStringLiteral("DBGRID1.W0")), "-1");
    EXPECT_EQ(ini.readString(QStringLiteral("FM_PERSONMANAGE"), QStringLiteral("DBGRID1.W3")), "50");
}

TEST_F(GridToolsTest, FetchesKeysOfTheSelectedRowsInTheOrderSelected)
{
    showPeople();
    select({4, 0, 2});
    struct Case {
        QString column;
        QString kind;
        QString list;
    };
    for (const Case& c : QList<Case>{{"ID", "Numeric", "5,1,3"}, {"id", "STR", "'5','1','3'"}, {"单位名称", "STR", "'单位5','单位1','单位3'"}}) {
        QString list = QStringLiteral("stale");
        EXPECT_EQ(GridSelectedFetch(context, &grid, c.column, c.kind, list), 3) << c.column.toStdString();
        EXPECT_EQ(list, c.list);
    }
    EXPECT_TRUE(messages.messages.isEmpty());

    QString list = QStringLiteral("stale");
    EXPECT_EQ(GridSelectedFetch(context, &grid, QString(), QStringLiteral("STR"), list), 0);
    EXPECT_EQ(list, "");
    EXPECT_EQ(GridSelectedFetch(context, &grid, QStringLiteral("NoSuchColumn"), QStringLiteral("STR"), list), 0);
    ASSERT_EQ(messages.messages.size(), 2);
    EXPECT_EQ(messages.messages[0].text, "DBGrid记录选取失败~没有指定列名~");
    EXPECT_TRUE(messages.messages[1].text.startsWith(QStringLiteral("DBGrid记录选取失败~")));
}

TEST_F(GridToolsTest, DeletesTheSelectedRowsAfterAskingFirst)
{
    showPeople();
    select({1, 3});

    messages.answer = false;
    EXPECT_EQ(GridSelectedDelete(context, &grid, QStringLiteral("People"), QStringLiteral("单位信息"),
                                 QStringLiteral("Numeric"), QStringLiteral("ID")),
              0);
    EXPECT_EQ(peopleLeft(), 300);

    messages.answer = true;
    EXPECT_EQ(GridSelectedDelete(context, &grid, QStringLiteral("People"), QString(), QStringLiteral("Numeric"),
                                 QStringLiteral("ID")),
              2);
    EXPECT_EQ(peopleLeft(), 298);
    EXPECT_EQ(context.db().scalar(QStringLiteral("select count(*) from People where ID in (2, 4)")).toInt(), 0);

    ASSERT_EQ(messages.messages.size(), 3);
    EXPECT_EQ(messages.messages[0].text, "确认要删除所选中的2个单位信息吗?");
    EXPECT_EQ(messages.messages[0].caption, "删除确认");
    EXPECT_TRUE(messages.messages[0].question);
    EXPECT_EQ(messages.messages[1].text, "确认要删除所选中的2个数据记录吗?");
    EXPECT_EQ(messages.messages[2].text, "2个数据记录删除成功！");
    EXPECT_EQ(messages.messages[2].caption, "提示");

    grid.clearSelection();
    EXPECT_EQ(GridSelectedDelete(context, &grid, QStringLiteral("People"), QString(), QStringLiteral("Numeric"),
                                 QStringLiteral("ID")),
              0);
    EXPECT_EQ(messages.messages.size(), 3); // nothing selected: no question
}

TEST_F(GridToolsTest, DeletesEveryListedRowNotOnlyTheFetchedOnes)
{
    context.db().execute(QStringLiteral("insert into People values (900, '不在列表', '', '')"));
    showPeople();
    model.setQuery(QStringLiteral("select ID, Name from People where ID < 900 order by ID"), context.db().connection());
    ASSERT_LT(model.rowCount(), 300); // fetched lazily
    grid.setCurrentIndex(model.index(120, 0));

    messages.answer = true;
    EXPECT_EQ(GridDeleteCurrentList(context, &grid, QStringLiteral("People"), QStringLiteral("ID")), 300);
    EXPECT_EQ(peopleLeft(), 1);
    ASSERT_EQ(messages.messages.size(), 2);
    EXPECT_EQ(messages.messages[0].text, "此操作将删除当前查询到的所有记录，确定删除吗？");
    EXPECT_EQ(messages.messages[0].caption, "警告");
    EXPECT_EQ(messages.messages[1].text, "300条记录删除成功！");
}

TEST_F(GridToolsTest, ExportsTheShownColumnsWithTheirOwnHeadings)
{
    showPeople();
    grid.setColumnHidden(0, true);                // the key column is hidden
    grid.horizontalHeader()->moveSection(3, 1);   // 电话 shown before 单位名称
    OpenedUrls opened;

    const QString file = ExportGrid2Excel(context, &grid, QStringLiteral("单位信息导出"));
    ASSERT_FALSE(file.isEmpty()) << texts().join(u'\n').toStdString();
    EXPECT_TRUE(file.startsWith(home.path(QStringLiteral("Output/单位信息导出_"))));
    EXPECT_EQ(opened.urls, QList<QUrl>({QUrl::fromLocalFile(file)}));
    EXPECT_TRUE(messages.messages.isEmpty());

    const Workbook book = Workbook::open(file);
    const Worksheet& sheet = book.activeSheet();
    EXPECT_EQ(sheet.headings(file), QStringList({"电话", "单位名称", "账号"}));
    ASSERT_EQ(sheet.rowCount(), 301); // every row, not only those fetched so far
    EXPECT_EQ(sheet.cellText(2, 1), "0755");
    EXPECT_EQ(sheet.cellText(2, 2), "单位1");
    EXPECT_EQ(sheet.cellText(2, 3), "6222020200112200001");
    EXPECT_EQ(sheet.cellText(301, 2), "单位300");
}

TEST_F(GridToolsTest, ExportWithoutAnOpenerGivesThePath)
{
    showPeople();
    const QString file = ExportGrid2Excel(context, &grid, QStringLiteral("导出"));
    ASSERT_EQ(messages.messages.size(), 1);
    EXPECT_TRUE(messages.messages[0].text.contains(QDir::toNativeSeparators(file))) << messages.messages[0].text.toStdString();
    EXPECT_TRUE(QFileInfo::exists(file));
}

TEST_F(GridToolsTest, ExportOfNothingSaysSo)
{
    model.setQuery(QStringLiteral("select * from People where 0"), context.db().connection());
    grid.setModel(&model);
    EXPECT_EQ(ExportGrid2Excel(context, &grid, QStringLiteral("空")), "");
    EXPECT_EQ(texts(), QStringList({"没有可导出的数据~"}));
    EXPECT_FALSE(QDir(home.path(QStringLiteral("Output"))).exists() && !QDir(home.path(QStringLiteral("Output"))).isEmpty());
}

TEST_F(GridToolsTest, ExportFailureIsReported)
{
    showPeople();
    QFile blocker(home.path(QStringLiteral("Output")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly)); // a file where the folder should be
    EXPECT_EQ(ExportGrid2Excel(context, &grid, QStringLiteral("导出")), "");
    ASSERT_EQ(messages.messages.size(), 1);
    EXPECT_TRUE(messages.messages[0].text.startsWith(QStringLiteral("数据导出Excel出错,错误提示:"))) << messages.messages[0].text.toStdString();
}

// A list whose reading presses the progress dialog's cancel button halfway through.
class CancellingModel : public QStandardItemModel {
public:
    CancellingModel(QTableView& grid, int rows)
        : QStandardItemModel(rows, 2)
        , grid_(grid)
    {
        setHorizontalHeaderLabels({"ID", "名称"});
        for (int row = 0; row < rows; ++row) {
            setItem(row, 0, new QStandardItem(QString::number(row)));
            setItem(row, 1, new QStandardItem(QStringLiteral("单位%1").arg(row)));
        }
    }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (index.row() == rowCount() / 2)
            if (auto* progress = grid_.findChild<QProgressDialog*>())
                progress->cancel();
        return QStandardItemModel::data(index, role);
    }

private:
    QTableView& grid_;
};

TEST_F(GridToolsTest, CancellingAnExportLeavesNoFile)
{
    CancellingModel list(grid, 1000);
    grid.setModel(&list);
    OpenedUrls opened;
    EXPECT_EQ(ExportGrid2Excel(context, &grid, QStringLiteral("导出")), "");
    EXPECT_TRUE(opened.urls.isEmpty());
    EXPECT_TRUE(messages.messages.isEmpty());
    EXPECT_EQ(QDir(home.path(QStringLiteral("Output"))).entryList(QDir::Files), QStringList());
    EXPECT_TRUE(grid.updatesEnabled());
}

TEST(ComboBoxDeleteByTextTest, RemovesEveryEqualEntryAndKeepsWhatWasTyped)
{
    QComboBox box;
    box.setEditable(true);
    box.addItems({"甲", "乙", "甲", "甲 ", "丙"});
    box.setCurrentIndex(0);
    ComboBoxDeleteByText(&box, QStringLiteral("甲"));
    QStringList left;
    for (int index = 0; index < box.count(); ++index)
        left << box.itemText(index);
    EXPECT_EQ(left, QStringList({"乙", "甲 ", "丙"}));
    EXPECT_EQ(box.currentText(), "甲");
}

#include "GridToolsTest.moc"
