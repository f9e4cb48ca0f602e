#include "RecordingMessages.h"
#include "TempHome.h"

#include "data/Database.h"
#include "dictionaries/Com.h"
#include "dictionaries/DMConfig.h"
#include "dictionaries/SsSet.h"
#include "shell/AppContext.h"

#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QTest>

using namespace slipcraft;

namespace {

class DictionaryWindowsTest : public ::testing::Test {
protected:
    void SetUp() override { home.createDatabase(); }

    void addTemplate(int id, const QString& name, const QString& state)
    {
        context.db().execute(QStringLiteral("insert into ckTypeTable (CheckTypeId, TypeName, Visiable) values (:id, :name, :state)"),
                             {{QStringLiteral("id"), id}, {QStringLiteral("name"), name}, {QStringLiteral("state"), state}});
    }

    int count(const QString& sql, const SqlParams& params) { return context.db().scalar(sql, params).toInt(); }

    template <class T>
    static T* child(const QWidget& window, const char* name)
    {
        T* found = window.findChild<T*>(QString::fromUtf8(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    static void click(const QWidget& window, const char* button)
    {
        QTest::mouseClick(child<QPushButton>(window, button), Qt::LeftButton);
    }

    QStringList lastTexts(int n) const
    {
        QStringList texts;
        for (qsizetype i = std::max<qsizetype>(0, messages.messages.size() - n); i < messages.messages.size(); ++i)
            texts << messages.messages[i].text;
        return texts;
    }

    TempHome home;
    RecordingMessages messages;
    AppContext context{home.runPath(), messages};
};

QStringList listTexts(const QListWidget* list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

QStringList gridValues(const QTableView* grid)
{
    QStringList texts;
    const QAbstractItemModel* model = grid->model();
    for (int row = 0; row < model->rowCount(); ++row)
        texts << model->index(row, 2).data().toString() + QLatin1Char('@') + model->index(row, 3).data().toString();
    return texts;
}

} // namespace

TEST_F(DictionaryWindowsTest, DictionaryEditorOpensOnTheCurrentEnabledTemplate)
{
    addTemplate(5, QStringLiteral("支票（工行）"), QStringLiteral("启用"));
    addTemplate(6, QStringLiteral("支票（停用）"), QStringLiteral("停用"));

    struct Case {
        int currentTemplate;
        QString caption;
    };
    const Case cases[] = {
        {5, QStringLiteral("字典设置-支票（工行）(单据号=5)")},
        {6, QStringLiteral("字典设置-<适用所有单据>(单据号=0)")},
        {0, QStringLiteral("字典设置-<适用所有单据>(单据号=0)")},
    };
    for (const Case& c : cases) {
        context.currentTemplateId = c.currentTemplate;
        Tfm_DMConfig window(context);
        EXPECT_EQ(window.windowTitle(), c.caption);
        auto* chooser = child<QComboBox>(window, "cbCheckType");
        EXPECT_EQ(chooser->itemText(0), QStringLiteral("<适用所有单据>"));
        EXPECT_EQ(chooser->count(), 2); // the disabled template is not offered
        // No names of its own: the shared ones, the first selected.
        const QStringList names = listTexts(child<QListWidget>(window, "lbNames"));
        EXPECT_TRUE(names.contains(QStringLiteral("用途")));
        EXPECT_EQ(child<QComboBox>(window, "edtDMName")->currentText(), names.value(0));
        EXPECT_EQ(child<QLabel>(window, "lbTitle")->text(),
                  QStringLiteral("3、[") + names.value(0) + QStringLiteral("]已有字典内容：(\"单据号=0\"表示公用内容)"));
    }
    EXPECT_TRUE(messages.messages.isEmpty());
}

TEST_F(DictionaryWindowsTest, DictionaryEditorAddsEditsAndDeletesValues)
{
    addTemplate(5, QStringLiteral("支票（工行）"), QStringLiteral("启用"));
    context.currentTemplateId = 5;
    Tfm_DMConfig window(context);
    auto* names = child<QListWidget>(window, "lbNames");
    auto* grid = child<QTableView>(window, "DBGrid1");
    names->setCurrentRow(int(listTexts(names).indexOf(QStringLiteral("物品内容"))));
    ASSERT_EQ(gridValues(grid).size(), 6);

    click(window, "btAdd");
    ASSERT_EQ(gridValues(grid).size(), 7);
    EXPECT_EQ(gridValues(grid).last(), QStringLiteral(" @5"));
    const QModelIndex added = grid->model()->index(6, 2);
    EXPECT_TRUE(grid->model()->flags(added) & Qt::ItemIsEditable);
    EXPECT_FALSE(grid->model()->flags(grid->model()->index(6, 3)) & Qt::ItemIsEditable);
    // Typed into the open editor: saving takes it without leaving the cell.
    auto* editor = grid->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, QStringLiteral("Invoice'"));
    click(window, "btSave");
    EXPECT_EQ(count(QStringLiteral("select count(*) from DMTable where CheckTypeId=:id and DMName=:n and DMValue=:v"),
                    {{QStringLiteral("id"), 5}, {QStringLiteral("n"), QStringLiteral("物品内容")}, {QStringLiteral("v"), QStringLiteral("Invoice'")}}),
              1);

    // Without the shared values only the template's own row is left; deleting it
    // empties the grid and the template falls back to the shared names again.
    child<QCheckBox>(window, "ckShowPublic")->setChecked(false);
    EXPECT_EQ(gridValues(grid), QStringList{QStringLiteral("Invoice'@5")});
    messages.answer = false;
    click(window, "btDelete");
    EXPECT_EQ(gridValues(grid).size(), 1);
    messages.answer = true;
    click(window, "btDelete");
    EXPECT_EQ(lastTexts(1), QStringList{QStringLiteral("确认删除字典项目吗？")});
    EXPECT_EQ(count(QStringLiteral("select count(*) from DMTable where CheckTypeId=:id"), {{QStringLiteral("id"), 5}}), 0);
    EXPECT_EQ(names->currentItem()->text(), listTexts(names).value(0));

    // Nothing left to delete under the template for the shown name.
    names->setCurrentRow(int(listTexts(names).indexOf(QStringLiteral("物品内容"))));
    click(window, "btDelete");
    EXPECT_EQ(lastTexts(2), (QStringList{QStringLiteral("确认删除字典项目吗？"), QStringLiteral("对不起，没有内容可删除！")}));
}

TEST_F(DictionaryWindowsTest, DictionaryEditorKeepsEditsMadeBeforeClosing)
{
    Tfm_DMConfig window(context);
    window.show();
    auto* grid = child<QTableView>(window, "DBGrid1");
    ASSERT_GT(grid->model()->rowCount(), 0);
    const QModelIndex first = grid->model()->index(0, 2);
    const int id = grid->model()->index(0, 0).data().toInt();
    grid->model()->setData(first, QStringLiteral("改过的值"));
    window.close();
    EXPECT_EQ(context.db().scalar(QStringLiteral("select DMValue from DMTable where ID=:id"), {{QStringLiteral("id"), id}}).toString(),
              QStringLiteral("改过的值"));
}

TEST_F(DictionaryWindowsTest, CurrencyEditorFillsFieldsAndRestoresTheName)
{
    TfrmCom window(context);
    window.show();
    EXPECT_EQ(window.windowTitle(), QStringLiteral("币种设置"));
    auto* list = child<QTableWidget>(window, "lvCoins");
    auto* name = child<QLineEdit>(window, "edtName");
    auto* sign = child<QLineEdit>(window, "edtAbbr");
    ASSERT_GT(list->rowCount(), 1);
    EXPECT_EQ(list->item(0, 0)->text(), QStringLiteral("人民币"));

    list->selectRow(1);
    EXPECT_EQ(name->text(), QStringLiteral("美元"));
    EXPECT_EQ(sign->text(), QStringLiteral("USD"));
    EXPECT_EQ(sign->maxLength(), 3);
    EXPECT_EQ(name->maxLength(), 8);

    name->setText(QStringLiteral("美金"));
    click(window, "btModify");
    EXPECT_EQ(lastTexts(1), QStringList{QStringLiteral("修改不能改变币种名称！")});
    EXPECT_EQ(name->text(), QStringLiteral("美元"));

    sign->setText(QStringLiteral("US$"));
    click(window, "btModify");
    EXPECT_EQ(list->item(1, 1)->text(), QStringLiteral("US$"));

    click(window, "btDelete");
    EXPECT_EQ(lastTexts(1), QStringList{QStringLiteral("币种\"美元\"删除成功！")});
    EXPECT_TRUE(name->text().isEmpty());
    EXPECT_NE(list->item(1, 0)->text(), QStringLiteral("美元"));
}

TEST_F(DictionaryWindowsTest, ProvinceEditorPanel)
{
    TfrmSsSet window(context);
    window.show();
    auto* chooser = child<QComboBox>(window, "cbProvince");
    auto* cities = child<QListWidget>(window, "lbCitys");
    auto* panel = child<QFrame>(window, "pnInput");
    ASSERT_GT(chooser->count(), 1);
    EXPECT_EQ(chooser->currentIndex(), 0);
    chooser->setCurrentIndex(chooser->findText(QStringLiteral("北京市")));
    EXPECT_TRUE(listTexts(cities).contains(QStringLiteral(" 东城区")));

    click(window, "btModify");
    EXPECT_EQ(lastTexts(1), QStringList{QStringLiteral("请先选中要修改的市(县)！")});
    EXPECT_TRUE(panel->isHidden());
    click(window, "btDelete");
    EXPECT_EQ(lastTexts(1), QStringList{QStringLiteral("请先选中要删除的市(县)！")});

    // Adding a city to another province: the panel stays open on a refusal and, after
    // the add, the chooser is back on the province it showed.
    click(window, "btAdd");
    EXPECT_FALSE(panel->isHidden());
    EXPECT_FALSE(chooser->isEnabled());
    EXPECT_FALSE(cities->isEnabled());
    EXPECT_EQ(child<QLineEdit>(window, "edtProvince")->text(), QStringLiteral("北京市"));
    child<QLineEdit>(window, "edtCity")->setText(QStringLiteral("东城区"));
    click(window, "btOK");
    EXPECT_EQ(lastTexts(1), QStringList{QStringLiteral("\"北京市--东城区\" 已经存在，不需要添加！")});
    EXPECT_FALSE(panel->isHidden());
    child<QLineEdit>(window, "edtProvince")->setText(QStringLiteral("新省"));
    child<QLineEdit>(window, "edtCity")->setText(QStringLiteral("新市"));
    click(window, "btOK");
    EXPECT_EQ(lastTexts(1), QStringList{QStringLiteral("\"新省--新市\"代码添加成功！")});
    EXPECT_TRUE(panel->isHidden());
    EXPECT_TRUE(chooser->isEnabled());
    EXPECT_EQ(chooser->currentText(), QStringLiteral("北京市"));
    EXPECT_NE(chooser->findText(QStringLiteral("新省")), -1);

    // Renaming the selected city.
    cities->setCurrentRow(int(listTexts(cities).indexOf(QStringLiteral(" 东城区"))));
    EXPECT_EQ(child<QLabel>(window, "lbSelected")->text(), QStringLiteral("当前选中：东城区"));
    click(window, "btModify");
    EXPECT_EQ(child<QLineEdit>(window, "edtCity")->text(), QStringLiteral("东城区"));
    child<QLineEdit>(window, "edtCity")->setText(QStringLiteral("东城新区"));
    click(window, "btOK");
    EXPECT_EQ(lastTexts(1), QStringList{QStringLiteral("修改成功！")});
    EXPECT_TRUE(listTexts(cities).contains(QStringLiteral(" 东城新区")));
    EXPECT_FALSE(listTexts(cities).contains(QStringLiteral(" 东城区")));
}
