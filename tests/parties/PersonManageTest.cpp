#include "WindowProbe.h"
#include "RecordingMessages.h"
#include "TempHome.h"
#include "WhenShown.h"

#include "data/Database.h"
#include "parties/PersonInfo.h"
#include "parties/PersonManage.h"
#include "shell/AppContext.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSqlQueryModel>
#include <QSqlRecord>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <functional>

using namespace slipcraft;

namespace {

const QString kOwn = TPerson::kOwnUnit;
const QString kOther = TPerson::kCounterpartUnit;

struct Unit {
    const char* name;
    const char* type = "往来单位";
    const char* group = "";
    const char* province = "";
    const char* contactor = "";
    const char* account = "";
    const char* bank = "";
};

class PersonManageTest : public ::testing::Test {
protected:
    void SetUp() override { home.createDatabase(); }

    int add(const Unit& unit)
    {
        context.db().execute(
            QStringLiteral("insert into CKPersonalInfoTable (全称, 单位类型, 分组, 省, 联系人, 开户行账号, 开户银行) "
                           "values (:name, :type, :group, :province, :contactor, :account, :bank)"),
            {{QStringLiteral("name"), QString::fromUtf8(unit.name)},
             {QStringLiteral("type"), QString::fromUtf8(unit.type)},
             {QStringLiteral("group"), QString::fromUtf8(unit.group)},
             {QStringLiteral("province"), QString::fromUtf8(unit.province)},
             {QStringLiteral("contactor"), QString::fromUtf8(unit.contactor)},
             {QStringLiteral("account"), QString::fromUtf8(unit.account)},
             {QStringLiteral("bank"), QString::fromUtf8(unit.bank)}});
        return context.db().scalar(QStringLiteral("select max(ID) from CKPersonalInfoTable")).toInt();
    }

    // A unit of the four that most tests start from.
    void addFour()
    {
        add({"甲深圳", "我方单位", "客户", "广东省"});
        add({"乙深圳", "往来单位", "客户", "广东省"});
        add({"丙杭州", "往来单位", "供应商", "浙江省"});
        add({"丁默认", "我方单位", "默认出票人"});
    }

    QString column(int id, const char* name)
    {
        return context.db()
            .scalar(QStringLiteral("select ") + QString::fromUtf8(name) + QStringLiteral(" from CKPersonalInfoTable where ID=:id"),
                    {{QStringLiteral("id"), id}})
            .toString();
    }

    int rows() { return context.db().scalar(QStringLiteral("select count(*) from CKPersonalInfoTable")).toInt(); }

    QString lastMessage() const { return messages.messages.isEmpty() ? QString() : messages.messages.last().text; }

    TempHome home;
    RecordingMessages messages;
    AppContext context{home.runPath(), messages};
};

QSqlQueryModel* listModel(const QWidget& manager)
{
    return qobject_cast<QSqlQueryModel*>(child<QTableView>(manager, "DBGrid1")->model());
}

// The full names of the list, fetched to the end.
QStringList listed(const QWidget& manager)
{
    QSqlQueryModel* model = listModel(manager);
    while (model->canFetchMore())
        model->fetchMore();
    QStringList names;
    for (int row = 0; row < model->rowCount(); ++row)
        names << model->record(row).value(QStringLiteral("全称")).toString();
    return names;
}

QStringList names(std::initializer_list<const char*> texts)
{
    QStringList list;
    for (const char* text : texts)
        list << QString::fromUtf8(text);
    return list;
}

void clickRow(const QWidget& manager, int row, Qt::KeyboardModifiers modifiers = {})
{
    auto* grid = child<QTableView>(manager, "DBGrid1");
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, modifiers, grid->visualRect(grid->model()->index(row, 1)).center());
}

QTreeWidgetItem* node(const QWidget& manager, const QString& text)
{
    auto* tree = child<QTreeWidget>(manager, "TreeView1");
    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
        if ((*it)->text(0) == text)
            return *it;
    }
    ADD_FAILURE() << "no node " << text.toStdString();
    return nullptr;
}

void clickNode(const QWidget& manager, const QString& text)
{
    auto* tree = child<QTreeWidget>(manager, "TreeView1");
    QTreeWidgetItem* item = node(manager, text);
    tree->scrollToItem(item);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(item).center());
}

QStringList childTexts(const QWidget& manager, const QString& branch)
{
    QStringList texts;
    QTreeWidgetItem* item = node(manager, branch);
    for (int i = 0; item && i < item->childCount(); ++i)
        texts << item->child(i)->text(0);
    return texts;
}

} // namespace

TEST_F(PersonManageTest, ManagerListsSearchesAndSorts)
{
    addFour();
    Tfm_PersonManage manager(context);
    manager.show();
    EXPECT_EQ(child<QLabel>(manager, "lbTitle")->text(), QStringLiteral("单位及客户资料管理(4)"));
    EXPECT_EQ(child<QLabel>(manager, "StatusPanel1")->text(), QStringLiteral("系统共有[4]条."));
    EXPECT_EQ(listed(manager), names({"甲深圳", "乙深圳", "丙杭州", "丁默认"})); // 全称 descending
    EXPECT_EQ(childTexts(manager, QStringLiteral("[按地区分组]")), names({"广东省", "浙江省"}));
    EXPECT_EQ(childTexts(manager, QStringLiteral("[按其他分组]")), names({"供应商", "客户"}));
    EXPECT_TRUE(child<QPushButton>(manager, "btImport")->isEnabled());

    auto* keyword = child<QLineEdit>(manager, "KeyEdit");
    keyword->setText(QStringLiteral("深圳"));
    QTest::keyClick(keyword, Qt::Key_Return);
    EXPECT_EQ(listed(manager), names({"甲深圳", "乙深圳"}));
    EXPECT_EQ(child<QLabel>(manager, "StatusPanel0")->text(), QStringLiteral("选中[0/2]条"));
    clickRow(manager, 1);
    EXPECT_EQ(manager.windowTitle(), QStringLiteral("单位、客户管理-当前选中:乙深圳"));
    EXPECT_EQ(child<QLabel>(manager, "StatusPanel0")->text(), QStringLiteral("选中[1/2]条"));

    struct NodeCase {
        QString node;
        QStringList expected;
        QString tabLine;
    };
    const NodeCase nodes[] = {
        {kOther, names({"乙深圳", "丙杭州"}), QStringLiteral("【往来单位】")},
        {QStringLiteral("默认出票人"), names({"丁默认"}), QStringLiteral("【默认出票人】")},
        {QStringLiteral("浙江省"), names({"丙杭州"}), QStringLiteral("【[按地区分组]\\浙江省】")},
        {QStringLiteral("客户"), names({"甲深圳", "乙深圳"}), QStringLiteral("【[按其他分组]\\客户】")},
        {QStringLiteral("全部分组"), names({"甲深圳", "乙深圳", "丙杭州", "丁默认"}), QStringLiteral("【全部分组】")},
    };
    for (const NodeCase& c : nodes) {
        SCOPED_TRACE(c.node.toStdString());
        clickNode(manager, c.node);
        EXPECT_EQ(listed(manager), c.expected);
        EXPECT_EQ(child<QLabel>(manager, "lbTab")->text(), c.tabLine);
    }

    // A title click sorts by that column, ascending first, and keeps the filter.
    clickNode(manager, kOther);
    auto* header = child<QTableView>(manager, "DBGrid1")->horizontalHeader();
    const int nameSection = listModel(manager)->record().indexOf(QStringLiteral("全称"));
    const QPoint title(header->sectionViewportPosition(nameSection) + header->sectionSize(nameSection) / 2, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, title);
    EXPECT_EQ(listed(manager), names({"丙杭州", "乙深圳"}));
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, title);
    EXPECT_EQ(listed(manager), names({"乙深圳", "丙杭州"}));
}

TEST_F(PersonManageTest, AdvancedPanelSearchesOneColumn)
{
    addFour();
    add({"戊", "往来单位", "", "", "", "6222_01"});
    Tfm_PersonManage manager(context);
    manager.show();
    auto* panel = child<QFrame>(manager, "panelAdv");
    EXPECT_TRUE(panel->isHidden());
    click(manager, "btAdv");
    EXPECT_FALSE(panel->isHidden());

    auto* key = child<QLineEdit>(manager, "key1");
    QTest::keyClicks(key, QStringLiteral("_0"));
    QTest::keyClick(key, Qt::Key_Return);
    EXPECT_EQ(lastMessage(), QStringLiteral("请选择查询的数据列！"));

    child<QComboBox>(manager, "Column1")->setCurrentText(QStringLiteral("开户行账号"));
    QTest::keyClick(key, Qt::Key_Return);
    EXPECT_EQ(listed(manager), names({"戊"}));
    child<QComboBox>(manager, "EqualOrContain1")->setCurrentText(QStringLiteral("等于"));
    click(manager, "btAdvQuery");
    EXPECT_TRUE(listed(manager).isEmpty());

    // The query button puts the panel away and lists by the keyword box again.
    click(manager, "btQuery");
    EXPECT_TRUE(panel->isHidden());
    EXPECT_TRUE(key->text().isEmpty());
    EXPECT_EQ(listed(manager).size(), 5);
}

TEST_F(PersonManageTest, DefaultDrawerChangeLeavesOneOwnDrawerAndTellsTheProgram)
{
    const int oldDrawer = add({"旧出票人", "往来单位", "默认出票人"});
    const int chosen = add({"新出票人", "往来单位", "客户"});
    Tfm_PersonManage manager(context);
    manager.show();
    QSignalSpy changed(&partyEvents(context), &PartyEvents::defaultDrawerChanged);

    ASSERT_EQ(listed(manager), names({"旧出票人", "新出票人"}));
    clickRow(manager, 1);
    click(manager, "btDefaultDrawer");
    EXPECT_EQ(lastMessage(), QStringLiteral("默认出票人设置成功！"));
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(column(chosen, "分组"), QStringLiteral("默认出票人"));
    EXPECT_EQ(column(chosen, "单位类型"), kOwn);
    EXPECT_EQ(column(oldDrawer, "分组"), QString());
    EXPECT_TRUE(child<QPushButton>(manager, "btRefresh")->isEnabled());

    auto* keyword = child<QLineEdit>(manager, "KeyEdit");
    keyword->setText(QStringLiteral("没有这个单位"));
    QTest::keyClick(keyword, Qt::Key_Return);
    click(manager, "btDefaultDrawer");
    EXPECT_EQ(lastMessage(), QStringLiteral("没有单位资料可设置，请先选中一个要设置的单位资料！"));
    click(manager, "btEdit");
    EXPECT_EQ(lastMessage(), QStringLiteral("没有单位可修改，请先选中一个要修改的单位！"));
    EXPECT_EQ(changed.count(), 1);
}

TEST_F(PersonManageTest, DeleteAllAsksAndDeletesOnlyTheChosenUnitType)
{
    addFour();
    Tfm_PersonManage manager(context);
    manager.show();
    auto* deleteAll = child<QPushButton>(manager, "btDeleteAll");
    EXPECT_TRUE(deleteAll->isHidden());
    manager.resize(1300, 600);
    const int width = manager.width();
    click(manager, "btShowDeleteAll");
    EXPECT_FALSE(deleteAll->isHidden());
    EXPECT_EQ(manager.width(), width + 120);

    clickNode(manager, kOther);
    messages.answer = false;
    click(manager, "btDeleteAll");
    EXPECT_EQ(lastMessage(),
              QStringLiteral("警告:此操作将删除所有往来单位的资料,且不可恢复,建议此操作在导出备份后进行!确定立即清空吗？"));
    EXPECT_EQ(rows(), 4);

    messages.answer = true;
    click(manager, "btDeleteAll");
    EXPECT_EQ(rows(), 2);
    EXPECT_EQ(context.db().scalar(QStringLiteral("select count(*) from CKPersonalInfoTable where 单位类型=:t"),
                                  {{QStringLiteral("t"), kOwn}}).toInt(),
              2);
    EXPECT_TRUE(listed(manager).isEmpty());
    EXPECT_EQ(child<QLabel>(manager, "lbTitle")->text(), QStringLiteral("单位、客户管理(0)"));
    EXPECT_EQ(child<QLabel>(manager, "StatusPanel1")->text(), QStringLiteral("系统共有[2]条."));
    EXPECT_EQ(childTexts(manager, QStringLiteral("[按地区分组]")), names({"广东省"}));
}

TEST_F(PersonManageTest, DeleteSelectedRemovesTheSelectedUnits)
{
    addFour();
    Tfm_PersonManage manager(context);
    manager.show();
    clickRow(manager, 0);
    clickRow(manager, 2, Qt::ControlModifier);
    messages.answer = true;
    click(manager, "btDeleteSelected");
    EXPECT_EQ(listed(manager), names({"乙深圳", "丁默认"}));
    EXPECT_EQ(rows(), 2);
}

TEST_F(PersonManageTest, AddOpensTheEditorPresetFromTheFilters)
{
    addFour();
    Tfm_PersonManage manager(context);
    manager.show();

    struct Case {
        QString node;
        QString type;
        QString group;
    };
    const Case cases[] = {
        {kOwn, kOwn, QString()},
        {QStringLiteral("客户"), kOwn, QStringLiteral("客户")}, // the type stays from the last time
        {QStringLiteral("默认出票人"), kOwn, QString()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.node.toStdString());
        clickNode(manager, c.node);
        WhenShown<Tfrm_PersonInfo> editor([&](Tfrm_PersonInfo& dialog) {
            EXPECT_EQ(child<QComboBox>(dialog, "cbAcountType")->currentText(), c.type);
            EXPECT_EQ(child<QComboBox>(dialog, "edtGroup")->currentText(), c.group);
            EXPECT_TRUE(child<QLineEdit>(dialog, "edtName")->text().isEmpty());
        });
        click(manager, "btAdd");
        EXPECT_TRUE(editor.shown);
    }

    // A saved unit shows in the list at once and its group in the tree afterwards.
    clickNode(manager, kOwn);
    WhenShown<Tfrm_PersonInfo> editor([&](Tfrm_PersonInfo& dialog) {
        child<QLineEdit>(dialog, "edtName")->setText(QStringLiteral("新单位"));
        child<QComboBox>(dialog, "edtGroup")->setEditText(QStringLiteral("新组"));
        click(dialog, "btSaveClose");
    });
    click(manager, "btAdd");
    EXPECT_EQ(lastMessage(), QStringLiteral("新增单位资料添加成功！"));
    EXPECT_TRUE(listed(manager).contains(QStringLiteral("新单位")));
    EXPECT_TRUE(childTexts(manager, QStringLiteral("[按其他分组]")).contains(QStringLiteral("新组")));
    EXPECT_TRUE(child<QPushButton>(manager, "btRefresh")->isEnabled());
}

TEST_F(PersonManageTest, EditLoadsTheCurrentUnitAndSavesItInPlace)
{
    addFour();
    const int unit = add({"O'Neil 100%", "往来单位", "", "", "张三", "622", "工行"});
    Tfm_PersonManage manager(context);
    manager.show();
    const int row = int(listed(manager).indexOf(QStringLiteral("O'Neil 100%")));
    clickRow(manager, row);
    WhenShown<Tfrm_PersonInfo> editor([&](Tfrm_PersonInfo& dialog) {
        EXPECT_EQ(child<QLabel>(dialog, "edtID")->text(), QString::number(unit));
        EXPECT_EQ(child<QLineEdit>(dialog, "edtName")->text(), QStringLiteral("O'Neil 100%"));
        EXPECT_EQ(child<QLineEdit>(dialog, "edtBank")->text(), QStringLiteral("工行"));
        EXPECT_EQ(child<QComboBox>(dialog, "cbAcountType")->currentText(), kOther);
        child<QLineEdit>(dialog, "edtPhone")->setText(QStringLiteral("0755-1"));
        click(dialog, "btSave");
    });
    // Outside picking mode a double click edits.
    QTest::mouseDClick(child<QTableView>(manager, "DBGrid1")->viewport(), Qt::LeftButton, {},
                       child<QTableView>(manager, "DBGrid1")->visualRect(listModel(manager)->index(row, 1)).center());
    EXPECT_TRUE(editor.shown);
    EXPECT_EQ(lastMessage(), QStringLiteral("历史单位资料资料更新成功！"));
    EXPECT_EQ(column(unit, "电话"), QStringLiteral("0755-1"));
    EXPECT_EQ(rows(), 5);
}

TEST_F(PersonManageTest, EditorSavesInsertThenUpdateAndKeepsBoxesOnError)
{
    Tfrm_PersonInfo editor(context);
    editor.show();
    EXPECT_EQ(editor.windowTitle(), QStringLiteral("单位详细资料"));
    EXPECT_EQ(child<QComboBox>(editor, "cbAcountType")->currentText(), kOther);
    EXPECT_EQ(child<QComboBox>(editor, "edtCountry")->currentText(), QStringLiteral("中国"));
    child<QLineEdit>(editor, "edtName")->setText(QStringLiteral(" 甲公司 "));
    child<QLineEdit>(editor, "edtInputCode")->setText(QStringLiteral(" jgs "));
    child<QLineEdit>(editor, "edtBank")->setText(QStringLiteral(" 工行 "));
    child<QLineEdit>(editor, "edtBankAcct")->setText(QStringLiteral(" 622 "));
    child<QComboBox>(editor, "cbAcountType")->setCurrentText(kOwn);

    click(editor, "btSave");
    EXPECT_EQ(lastMessage(), QStringLiteral("新增单位资料添加成功！"));
    ASSERT_EQ(rows(), 1);
    const int id = context.db().scalar(QStringLiteral("select ID from CKPersonalInfoTable")).toInt();
    EXPECT_EQ(editor.identifier(), QString::number(id));
    EXPECT_EQ(column(id, "全称"), QStringLiteral(" 甲公司 "));
    EXPECT_EQ(column(id, "助记码") + column(id, "开户银行") + column(id, "开户行账号"), QStringLiteral("jgs工行622"));
    EXPECT_EQ(column(id, "单位类型"), kOwn);
    EXPECT_EQ(column(id, "国家"), QStringLiteral("中国"));

    // Saving again updates the same unit.
    child<QLineEdit>(editor, "edtPhone")->setText(QStringLiteral("123"));
    click(editor, "btSave");
    EXPECT_EQ(lastMessage(), QStringLiteral("历史单位资料资料更新成功！"));
    EXPECT_EQ(rows(), 1);
    EXPECT_EQ(column(id, "电话"), QStringLiteral("123"));

    // "多头单位" stores a copy and leaves the first unit as it was.
    click(editor, "btCopy");
    EXPECT_TRUE(editor.identifier().isEmpty());
    child<QLineEdit>(editor, "edtContactor")->setText(QStringLiteral("李四"));
    click(editor, "btSave");
    EXPECT_EQ(rows(), 2);
    EXPECT_EQ(column(id, "联系人"), QString());

    // A refused save says why and keeps what was typed; nothing is reset.
    context.db().executeScript(QStringLiteral("CREATE TRIGGER refuse_units BEFORE INSERT ON CKPersonalInfoTable "
                                              "BEGIN SELECT RAISE(ABORT, 'disk says no'); END;"));
    child<QCheckBox>(editor, "ckAddNext")->setChecked(true);
    click(editor, "btReset");
    EXPECT_EQ(child<QComboBox>(editor, "cbAcountType")->currentText(), kOwn); // the type stays
    child<QLineEdit>(editor, "edtName")->setText(QStringLiteral("乙公司"));
    click(editor, "btSaveClose");
    EXPECT_EQ(lastMessage(), QStringLiteral("添加更新失败，Error=disk says no"));
    EXPECT_EQ(child<QLineEdit>(editor, "edtName")->text(), QStringLiteral("乙公司"));
    EXPECT_TRUE(editor.isVisible());
    EXPECT_EQ(rows(), 2);

    // "单位保存后立即添加下一条" empties the editor after a save.
    context.db().executeScript(QStringLiteral("DROP TRIGGER refuse_units;"));
    click(editor, "btSave");
    EXPECT_EQ(rows(), 3);
    EXPECT_TRUE(child<QLineEdit>(editor, "edtName")->text().isEmpty());
    EXPECT_TRUE(editor.identifier().isEmpty());
}

TEST_F(PersonManageTest, LeavingTheTownPutsItBeforeTheAddress)
{
    Tfrm_PersonInfo editor(context);
    auto* town = child<QComboBox>(editor, "edtTown");
    auto* address = child<QPlainTextEdit>(editor, "edtAddress");
    EXPECT_EQ(town->currentText(), QStringLiteral("请直接输入"));

    struct Case {
        const char* town;
        const char* address;
        const char* townAfter;
        const char* addressAfter;
    };
    const Case cases[] = {
        {"南山区", "科技园", "南山区", "南山区科技园"},
        {"南山区", "南山区科技园", "南山区", "南山区科技园"},
        {"", "科技园", "", "科技园"},
        {"请直接输入", "科技园", "", "科技园"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.town);
        town->setEditText(QString::fromUtf8(c.town));
        address->setPlainText(QString::fromUtf8(c.address));
        QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(town, &leave);
        EXPECT_EQ(town->currentText(), QString::fromUtf8(c.townAfter));
        EXPECT_EQ(address->toPlainText(), QString::fromUtf8(c.addressAfter));
    }
}

TEST_F(PersonManageTest, EnterMovesThroughTheEditorBoxes)
{
    Tfrm_PersonInfo editor(context);
    editor.show();
    QApplication::setActiveWindow(&editor);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&editor));
    struct Case {
        const char* from;
        const char* to;
    };
    const Case cases[] = {
        {"edtName", "edtInputCode"},   {"edtInputCode", "edtBank"},     {"edtBankAcct", "edtProvince"},
        {"edtCountry", "edtProvince"}, {"edtProvince", "edtCity"},      {"edtTown", "edtAddress"},
        {"edtAddress", "edtZipcode"},  {"edtContactor", "edtPhone"},    {"edtHandset", "edtHandset"},
        {"edtGroup", "btSave"},        {"cbAcountType", "edtGroup"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.from);
        auto* from = child<QWidget>(editor, c.from);
        from->setFocus();
        QTest::keyClick(from, Qt::Key_Return);
        EXPECT_EQ(QApplication::focusWidget(), child<QWidget>(editor, c.to));
    }
    EXPECT_TRUE(child<QPlainTextEdit>(editor, "edtAddress")->toPlainText().isEmpty());
}

TEST_F(PersonManageTest, PickerReturnsTheDoubleClickedUnitOrNothing)
{
    addFour();
    const int payee = add({"收款单位", "往来单位", "", "", "王五", "9555"});

    WhenShown<Tfm_PersonManage> pick([&](Tfm_PersonManage& manager) {
        EXPECT_EQ(manager.windowTitle(), QStringLiteral("选取收款人"));
        EXPECT_EQ(child<QLabel>(manager, "lbTab")->text(), QStringLiteral("【往来单位】"));
        EXPECT_EQ(child<QLabel>(manager, "lbTitle")->text(), QStringLiteral("单位及客户资料管理(3)"));
        EXPECT_EQ(child<QTableView>(manager, "DBGrid1")->toolTip(), QStringLiteral("鼠标双击选择指定的单位！"));
        const int row = int(listed(manager).indexOf(QStringLiteral("收款单位")));
        ASSERT_GE(row, 0);
        clickRow(manager, row);
        EXPECT_EQ(manager.windowTitle(), QStringLiteral("选择单位-当前选中:收款单位"));
        auto* grid = child<QTableView>(manager, "DBGrid1");
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(grid->model()->index(row, 1)).center());
    });
    std::unique_ptr<TPerson> chosen = fetchOnePerson(context, nullptr, kOther, QStringLiteral("选取收款人"));
    EXPECT_TRUE(pick.shown);
    ASSERT_NE(chosen, nullptr);
    EXPECT_EQ(chosen->getID(), payee);
    EXPECT_EQ(chosen->getContactor(), QStringLiteral("王五"));
    EXPECT_EQ(chosen->getBankAcct(), QStringLiteral("9555"));

    struct Case {
        QString kind;
        int listedRows;
    };
    const Case kinds[] = {{kOwn, 2}, {QStringLiteral("选择发件人资料"), 5}, {QString(), 5}};
    for (const Case& c : kinds) {
        SCOPED_TRACE(c.kind.toStdString());
        WhenShown<Tfm_PersonManage> close([&](Tfm_PersonManage& manager) {
            EXPECT_EQ(manager.listedRows(), c.listedRows);
            EXPECT_EQ(manager.windowTitle(), QStringLiteral("单位及客户资料管理")); // no caption given
        });
        EXPECT_EQ(fetchOnePerson(context, nullptr, c.kind, QString()), nullptr);
        EXPECT_TRUE(close.shown);
    }
}

TEST_F(PersonManageTest, AddressBookSavingOverlaysTheFilledFields)
{
    const int stored = add({"甲公司", "我方单位", "客户", "广东省", "张三", "622", "老银行"});

    TPerson party;
    party.setFullName(QStringLiteral("甲公司"));
    party.setBankAcct(QStringLiteral("622"));
    party.setPhone(QStringLiteral("0755-9"));
    party.setRemark(QStringLiteral("不抄"));
    party.setUnitType(kOther);
    WhenShown<Tfrm_PersonInfo> found([&](Tfrm_PersonInfo& editor) {
        EXPECT_EQ(editor.identifier(), QString::number(stored));
        EXPECT_EQ(child<QLineEdit>(editor, "edtPhone")->text(), QStringLiteral("0755-9"));
        EXPECT_EQ(child<QLineEdit>(editor, "edtBank")->text(), QStringLiteral("老银行"));
        EXPECT_EQ(child<QLineEdit>(editor, "edtContactor")->text(), QStringLiteral("张三"));
        EXPECT_EQ(child<QComboBox>(editor, "edtProvince")->currentText(), QStringLiteral("广东省"));
        EXPECT_EQ(child<QComboBox>(editor, "edtGroup")->currentText(), QStringLiteral("客户"));
        EXPECT_TRUE(child<QLineEdit>(editor, "edtRemark")->text().isEmpty());
        EXPECT_EQ(child<QComboBox>(editor, "cbAcountType")->currentText(), kOther);
        click(editor, "btSaveClose");
    });
    savePersonToAddressBook(context, nullptr, &party);
    EXPECT_TRUE(found.shown);
    EXPECT_EQ(rows(), 1);
    EXPECT_EQ(column(stored, "电话"), QStringLiteral("0755-9"));
    EXPECT_EQ(column(stored, "单位类型"), kOther);

    TPerson stranger;
    stranger.setContactor(QStringLiteral("无名"));
    WhenShown<Tfrm_PersonInfo> empty([&](Tfrm_PersonInfo& editor) {
        EXPECT_TRUE(editor.identifier().isEmpty());
        EXPECT_TRUE(child<QLineEdit>(editor, "edtName")->text().isEmpty());
        EXPECT_EQ(child<QLineEdit>(editor, "edtContactor")->text(), QStringLiteral("无名"));
        EXPECT_EQ(child<QComboBox>(editor, "cbAcountType")->currentText(), kOwn);
    });
    savePersonToAddressBook(context, nullptr, &stranger);
    EXPECT_TRUE(empty.shown);
    EXPECT_EQ(rows(), 1);

    // A stored unit is saved at once, all its fields, without a window.
    TPerson known;
    known.setID(stored);
    ASSERT_EQ(known.loadByID(context.db()), 1);
    known.setHandset(QStringLiteral("139"));
    known.setBank(QString());
    WhenShown<Tfrm_PersonInfo> none([](Tfrm_PersonInfo&) {});
    savePersonToAddressBook(context, nullptr, &known);
    savePersonToAddressBook(context, nullptr, nullptr);
    QTest::qWait(20);
    EXPECT_FALSE(none.shown);
    EXPECT_EQ(column(stored, "手机"), QStringLiteral("139"));
    EXPECT_EQ(column(stored, "开户银行"), QString());
}

TEST_F(PersonManageTest, WindowsRememberTheirSizeAndColumnWidths)
{
    addFour();
    {
        Tfm_PersonManage manager(context);
        manager.show();
        manager.resize(780, 690);
        child<QTableView>(manager, "DBGrid1")->setColumnWidth(1, 123);
        manager.reject();
    }
    {
        Tfm_PersonManage manager(context);
        EXPECT_EQ(manager.size(), QSize(780, 690));
        manager.show();
        EXPECT_EQ(child<QTableView>(manager, "DBGrid1")->columnWidth(1), 123);
        manager.reject();
    }
    {
        Tfrm_PersonInfo editor(context);
        editor.show();
        editor.resize(760, 570);
        editor.reject();
    }
    Tfrm_PersonInfo editor(context);
    EXPECT_EQ(editor.size(), QSize(760, 570));
}
