#include "WindowProbe.h"
#include "PackageFixture.h"

#include "templates/BillImportExport.h"
#include "templates/Catalogue.h"
#include "templates/CheckTypeMng.h"
#include "templates/TemplatePackage.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

using namespace slipcraft;

namespace {

QStringList entries(const QListWidget* list)
{
    QStringList names;
    for (int i = 0; i < list->count(); ++i)
        names << list->item(i)->text();
    return names;
}

} // namespace

TEST(CheckTypeMngWindow, OpensOnTheTemplatesBillTypeAndFollowsTheTabs)
{
    Home home;
    home.db().execute(QStringLiteral("insert into ckTypeTable (CheckTypeId, TypeName, TypeFirstName, TypeDescribe, IsDefault,"
                                     " IsCommon, Visiable) values (200, '支票（隐藏的）', '支票', '隐藏的', '0', '否', '停用隐藏')"));
    TfrmCheckTypeMng window(home.context, kChequeId);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("支票模板管理(查询1个)"));
    EXPECT_EQ(child<QPushButton>(window, "btSetDefault")->text(), QStringLiteral("设置为【默认】支票"));
    ASSERT_NE(window.currentRow(), nullptr);
    EXPECT_EQ(window.currentRow()->id, kChequeId);

    struct Case {
        int tab;
        QStringList enabled;
    };
    const Case cases[] = {
        {0, {"btSetDefault", "btSetCommon", "btHide", "btRename", "btClone", "btDelete", "btImport"}},
        {1, {"btSetDefault", "btRemoveCommon", "btHide", "btRename", "btClone", "btDelete", "btImport"}},
        {2, {"btRename", "btClone", "btImport"}},
        {3, {"btSetDefault", "btSetCommon", "btShow", "btRename", "btClone", "btDelete", "btImport"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tab);
        child<QTabBar>(window, "tabFilter")->setCurrentIndex(c.tab);
        QStringList enabled;
        for (const char* name : {"btSetDefault", "btSetCommon", "btRemoveCommon", "btHide", "btShow", "btRename", "btClone",
                                 "btDelete", "btImport"})
            if (child<QPushButton>(window, name)->isEnabled())
                enabled << QString::fromLatin1(name);
        EXPECT_EQ(enabled, c.enabled);
    }

    // The hidden cheque becomes the default: the list shows the defaults.
    ASSERT_EQ(window.currentRow()->id, 200);
    QTest::mouseClick(child<QPushButton>(window, "btSetDefault"), Qt::LeftButton);
    EXPECT_EQ(child<QTabBar>(window, "tabFilter")->currentIndex(), 2);
    EXPECT_EQ(home.messages.texts(), QStringList{QStringLiteral("默认【支票票据】模板设置成功！")});
    ASSERT_NE(window.currentRow(), nullptr);
    EXPECT_EQ(window.currentRow()->typeName, QStringLiteral("支票（隐藏的）"));

    // All bill types again.
    QTest::mouseClick(child<QPushButton>(window, "btAll"), Qt::LeftButton);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("所有模板种类模板管理(查询9个)"));
    EXPECT_EQ(child<QPushButton>(window, "btSetDefault")->text(), QStringLiteral("设置为【默认】模板"));
}

// A package of the shipped cheque and deposit slip; the home has the cheque only.
class ImportExportWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        {
            // One home at a time: a process has one shared connection.
            Home from;
            const ExportResult result = exportTemplates(from.context, {kCheque, QStringLiteral("进账单（银行进账单）")}, package());
            ASSERT_EQ(result.exported.size(), 2);
        }
        to = std::make_unique<Home>();
        to->db().execute(QStringLiteral("delete from ckTypeTable where CheckTypeId = 110"));
    }
    QString package() const { return dir.filePath(QStringLiteral("两个模板.bpk")); }

    QTemporaryDir dir;
    std::unique_ptr<Home> to;
};

TEST_F(ImportExportWindow, ImportsTheChosenTemplatesReplacingWhenAgreed)
{
    TfrmBillImportExport window(to->context, true);
    window.loadPackage(package());
    EXPECT_EQ(child<QLineEdit>(window, "edtPackage")->text(), package());
    // The first entry already stands in the selection.
    EXPECT_EQ(entries(child<QListWidget>(window, "lstImport")), QStringList{kCheque});
    EXPECT_TRUE(child<QPushButton>(window, "btImport")->isEnabled());
    QTest::mouseClick(child<QPushButton>(window, "btAddAll"), Qt::LeftButton);
    EXPECT_EQ(entries(child<QListWidget>(window, "lstImport")), (QStringList{kCheque, QStringLiteral("进账单（银行进账单）")}));
    EXPECT_TRUE(entries(child<QListWidget>(window, "lstPackage")).isEmpty());

    to->messages.answer = false; // keep the installed cheque
    QTest::mouseClick(child<QPushButton>(window, "btImport"), Qt::LeftButton);
    EXPECT_EQ(to->messages.texts(), (QStringList{QStringLiteral("已有同名模板【支票（转账支票）】，用票据包中的模板替换它吗？"),
                                                QStringLiteral("导入结束，成功导入单据1个!（保留已有的同名模板1个）")}));
    EXPECT_EQ(to->context.catalogue().loadCheckTypeIDByTypeFullName(QStringLiteral("进账单（银行进账单）")), 171);
    EXPECT_FALSE(child<QLabel>(window, "lbImportProgress")->isVisibleTo(&window));

    // X empties the selection and lists the package again.
    QTest::mouseClick(child<QPushButton>(window, "btClear"), Qt::LeftButton);
    EXPECT_TRUE(entries(child<QListWidget>(window, "lstImport")).isEmpty());
    EXPECT_EQ(entries(child<QListWidget>(window, "lstPackage")).size(), 2);
    EXPECT_FALSE(child<QPushButton>(window, "btImport")->isEnabled());
}

TEST_F(ImportExportWindow, RefusesWhatIsNotAPackageByName)
{
    const QString random = dir.filePath(QStringLiteral("随机.bpk"));
    writeFile(random, QByteArray(3000, 'x'));
    const int templates = to->snapshot(kChequeId).templates;
    TfrmBillImportExport window(to->context, false);
    window.loadPackage(package());
    window.loadPackage(random);
    ASSERT_EQ(to->messages.texts().size(), 1);
    EXPECT_TRUE(to->messages.texts()[0].contains(QDir::toNativeSeparators(random))) << to->messages.texts()[0].toStdString();
    EXPECT_TRUE(entries(child<QListWidget>(window, "lstPackage")).isEmpty());
    EXPECT_TRUE(entries(child<QListWidget>(window, "lstImport")).isEmpty());
    EXPECT_FALSE(child<QPushButton>(window, "btImport")->isEnabled());
    EXPECT_FALSE(child<QPushButton>(window, "btAdd")->isEnabled());
    EXPECT_EQ(to->snapshot(kChequeId).templates, templates);

    to->messages.messages.clear();
    window.loadPackage(dir.filePath(QStringLiteral("notes.txt")));
    EXPECT_EQ(to->messages.texts(), QStringList{QStringLiteral("请选择标准的Marrowind票据包，例如：中国银行进账单.bpk")});
    EXPECT_TRUE(child<QLineEdit>(window, "edtPackage")->text().isEmpty());
    // Without export, the window has the import page only.
    EXPECT_EQ(child<QTabWidget>(window, "pcMain")->count(), 1);
}

TEST_F(ImportExportWindow, ExportPanelShowsAfterClicksOnTheNoticeAndWritesAPackage)
{
    TfrmBillImportExport window(to->context, true);
    window.showMaximized();
    auto* pages = child<QTabWidget>(window, "pcMain");
    pages->setCurrentIndex(1);
    auto* stack = child<QStackedWidget>(window, "exportStack");
    for (int i = 1; i <= TfrmBillImportExport::kNoticeClicks; ++i) {
        EXPECT_EQ(stack->currentIndex(), 0) << i;
        QTest::mouseClick(child<QLabel>(window, "lbNotice"), Qt::LeftButton);
    }
    EXPECT_EQ(stack->currentIndex(), 1);
    auto* installed = child<QListWidget>(window, "lstInstalled");
    EXPECT_EQ(installed->count(), 7);
    installed->setCurrentRow(installed->count() - 1); // sorted: the waybill last
    const QString last = installed->currentItem()->text();
    QTest::mouseClick(child<QPushButton>(window, "btExpAdd"), Qt::LeftButton);
    EXPECT_EQ(entries(child<QListWidget>(window, "lstExport")), QStringList{last});

    window.setExportTarget(dir.filePath(QStringLiteral("out.txt")));
    EXPECT_FALSE(child<QPushButton>(window, "btExport")->isEnabled());
    const QString target = dir.filePath(QStringLiteral("one.bpk"));
    window.setExportTarget(target);
    ASSERT_TRUE(child<QPushButton>(window, "btExport")->isEnabled());
    to->messages.messages.clear();
    QTest::mouseClick(child<QPushButton>(window, "btExport"), Qt::LeftButton);
    EXPECT_EQ(to->messages.texts(), QStringList{QStringLiteral("导出完成,成功导出1个单据！")});
    EXPECT_EQ(TemplatePackage(target).entryNames(), QStringList{last});
}
