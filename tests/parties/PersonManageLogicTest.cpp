#include "RecordingMessages.h"
#include "TempHome.h"

#include "data/Database.h"
#include "parties/PersonManageLogic.h"
#include "shell/AppContext.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QSqlQueryModel>
#include <QSqlRecord>

#include <functional>

using namespace slipcraft;

namespace {

struct Unit {
    const char* name;
    const char* type = "";
    const char* group = "";
    const char* province = "";
    const char* contactor = "";
    const char* phone = "";
    const char* code = "";
    const char* account = "";
    int order = 0;
};

class PersonManageLogicTest : public ::testing::Test {
protected:
    void SetUp() override { home.createDatabase(); }

    int add(const Unit& unit)
    {
        db.execute(QStringLiteral("insert into CKPersonalInfoTable (全称, 单位类型, 分组, 省, 联系人, 电话, 助记码, 开户行账号, 排序) "
                                  "values (:name, :type, :group, :province, :contactor, :phone, :code, :account, :order)"),
                   {{QStringLiteral("name"), QString::fromUtf8(unit.name)},
                    {QStringLiteral("type"), QString::fromUtf8(unit.type)},
                    {QStringLiteral("group"), QString::fromUtf8(unit.group)},
                    {QStringLiteral("province"), QString::fromUtf8(unit.province)},
                    {QStringLiteral("contactor"), QString::fromUtf8(unit.contactor)},
                    {QStringLiteral("phone"), QString::fromUtf8(unit.phone)},
                    {QStringLiteral("code"), QString::fromUtf8(unit.code)},
                    {QStringLiteral("account"), QString::fromUtf8(unit.account)},
                    {QStringLiteral("order"), unit.order}});
        return db.scalar(QStringLiteral("select max(ID) from CKPersonalInfoTable")).toInt();
    }

    // The full names the list shows, in its order, fetched to the end.
    QStringList listed(const personlist::Query& query, int* rows = nullptr)
    {
        QSqlQueryModel model;
        const int count = personlist::load(db, model, query);
        if (rows)
            *rows = count;
        while (model.canFetchMore())
            model.fetchMore();
        QStringList names;
        for (int row = 0; row < model.rowCount(); ++row)
            names << model.record(row).value(QStringLiteral("全称")).toString();
        return names;
    }

    QString text(const QString& sql, const SqlParams& params = {}) { return db.scalar(sql, params).toString(); }
    int count(const QString& condition = QStringLiteral("1=1"), const SqlParams& params = {})
    {
        return db.scalar(QStringLiteral("select count(*) from CKPersonalInfoTable where ") + condition, params).toInt();
    }

    TempHome home;
    Database db{home.databasePath(), QStringLiteral("person-manage-logic")};
};

const QString kOwn = TPerson::kOwnUnit;
const QString kOther = TPerson::kCounterpartUnit;

QStringList names(std::initializer_list<const char*> texts)
{
    QStringList list;
    for (const char* text : texts)
        list << QString::fromUtf8(text);
    return list;
}

} // namespace

TEST_F(PersonManageLogicTest, ListFollowsKeywordTypeGroupAndAdvancedSearch)
{
    add({"A深圳甲", "我方单位", "客户", "广东省", "张三"});
    add({"B深圳乙", "往来单位", "客户", "广东省", "", "", "b1"});
    add({"C杭州丙", "往来单位", "供应商", "浙江省", "", "0571-8888", "c1"});
    add({"D百分之100%", "往来单位", "", "", "", "", "a_b"});
    add({"E奥尼尔", "往来单位", "", "", "O'Neil", "", "e1"});
    add({"F默认", "我方单位", "默认出票人", "", "", "", "axb"});

    struct Case {
        const char* label;
        std::function<void(personlist::Filter&)> setUp;
        QStringList expected;
        QString unitTypeAfter;
    };
    const Case cases[] = {
        {"nothing chosen lists all by name descending", [](personlist::Filter&) {},
         names({"F默认", "E奥尼尔", "D百分之100%", "C杭州丙", "B深圳乙", "A深圳甲"}), {}},
        {"keyword in the name, trimmed", [](personlist::Filter& f) { f.keyword = QStringLiteral("  深圳 "); },
         names({"B深圳乙", "A深圳甲"}), {}},
        {"keyword search empties the unit type",
         [](personlist::Filter& f) {
             f.keyword = QStringLiteral("深圳");
             f.unitType = kOther;
         },
         names({"B深圳乙", "A深圳甲"}), {}},
        {"keyword search keeps the group",
         [](personlist::Filter& f) {
             f.keyword = QStringLiteral("深圳");
             f.group = QStringLiteral("供应商");
         },
         {}, {}},
        {"keyword in the province", [](personlist::Filter& f) { f.keyword = QStringLiteral("浙江"); },
         names({"C杭州丙"}), {}},
        {"keyword in the telephone", [](personlist::Filter& f) { f.keyword = QStringLiteral("0571"); },
         names({"C杭州丙"}), {}},
        {"percent sign is literal", [](personlist::Filter& f) { f.keyword = QStringLiteral("%"); },
         names({"D百分之100%"}), {}},
        {"underscore is literal", [](personlist::Filter& f) { f.keyword = QStringLiteral("_"); },
         names({"D百分之100%"}), {}},
        {"single quote is literal", [](personlist::Filter& f) { f.keyword = QStringLiteral("o'n"); },
         names({"E奥尼尔"}), {}},
        {"unit type alone", [](personlist::Filter& f) { f.unitType = kOwn; }, names({"F默认", "A深圳甲"}), kOwn},
        {"unit type and group",
         [](personlist::Filter& f) {
             f.unitType = kOther;
             f.group = QStringLiteral("客户");
         },
         names({"B深圳乙"}), kOther},
        {"default drawer group", [](personlist::Filter& f) { f.group = TPerson::kDefaultDrawerGroup; },
         names({"F默认"}), {}},
        {"advanced contains",
         [](personlist::Filter& f) {
             f.advanced = true;
             f.advancedColumn = QStringLiteral("电话");
             f.advancedKey = QStringLiteral("8888");
         },
         names({"C杭州丙"}), {}},
        {"advanced equals needs the whole value",
         [](personlist::Filter& f) {
             f.advanced = true;
             f.advancedColumn = QStringLiteral("电话");
             f.advancedMode = personlist::kEquals;
             f.advancedKey = QStringLiteral("8888");
         },
         {}, {}},
        {"advanced equals",
         [](personlist::Filter& f) {
             f.advanced = true;
             f.advancedColumn = QStringLiteral("助记码");
             f.advancedMode = personlist::kEquals;
             f.advancedKey = QStringLiteral("A_B");
         },
         names({"D百分之100%"}), {}},
        {"advanced ignores the keyword, keeps the unit type",
         [](personlist::Filter& f) {
             f.advanced = true;
             f.keyword = QStringLiteral("深圳");
             f.unitType = kOwn;
             f.advancedColumn = QStringLiteral("助记码");
             f.advancedKey = QStringLiteral("x");
         },
         names({"F默认"}), kOwn},
        {"sorted by another column ascending",
         [](personlist::Filter& f) {
             f.unitType = kOther;
             f.sortColumn = QStringLiteral("助记码");
             f.sortDirection = personlist::kAscending;
         },
         names({"D百分之100%", "B深圳乙", "C杭州丙", "E奥尼尔"}), kOther},
        {"an unknown sort column falls back to the name",
         [](personlist::Filter& f) {
             f.unitType = kOther;
             f.sortColumn = QStringLiteral("全称; drop table CKPersonalInfoTable");
             f.sortDirection = QStringLiteral("asc; --");
         },
         names({"E奥尼尔", "D百分之100%", "C杭州丙", "B深圳乙"}), kOther},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        personlist::Filter filter;
        c.setUp(filter);
        const personlist::Query query = personlist::build(filter);
        ASSERT_EQ(query.outcome, personlist::Query::List);
        int rows = -1;
        EXPECT_EQ(listed(query, &rows), c.expected);
        EXPECT_EQ(rows, c.expected.size());
        EXPECT_EQ(filter.unitType, c.unitTypeAfter);
        EXPECT_FALSE(filter.group.isEmpty()); // "全部分组" stands for none
    }
    EXPECT_EQ(count(), 6);
}

TEST_F(PersonManageLogicTest, EmptyFiltersShowAllAndABlankSortFallsBackToTheSortKey)
{
    add({"甲", "", "", "", "", "", "", "", 2});
    add({"乙", "", "", "", "", "", "", "", 1});
    add({"丙", "", "", "", "", "", "", "", 1});

    personlist::Filter filter;
    filter.group.clear();
    personlist::Query query = personlist::build(filter);
    EXPECT_TRUE(query.showAll);
    EXPECT_EQ(filter.group, personlist::kAllGroups);

    filter.sortColumn.clear();
    query = personlist::showAll(filter);
    // 排序 ascending first, then 全称 descending.
    EXPECT_EQ(listed(query), names({"乙", "丙", "甲"}));
    filter.sortColumn = QStringLiteral("排序");
    filter.sortDirection = personlist::kDescending;
    EXPECT_EQ(listed(personlist::showAll(filter)).first(), QStringLiteral("甲"));
}

TEST_F(PersonManageLogicTest, AdvancedSearchRefusesWithoutColumnOrKey)
{
    struct Case {
        const char* column;
        const char* key;
        QString refusal;
        personlist::Query::Focus focus;
    };
    const Case cases[] = {
        {"", "x", QStringLiteral("请选择查询的数据列！"), personlist::Query::ColumnBox},
        {"电话 or 1=1", "x", QStringLiteral("请选择查询的数据列！"), personlist::Query::ColumnBox},
        {"电话", "", QStringLiteral("请选择查询的关键词！"), personlist::Query::KeyBox},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.column);
        personlist::Filter filter;
        filter.advanced = true;
        filter.unitType = kOwn; // so that an empty key does not mean "show all"
        filter.advancedColumn = QString::fromUtf8(c.column);
        filter.advancedKey = QString::fromUtf8(c.key);
        const personlist::Query query = personlist::build(filter);
        EXPECT_EQ(query.outcome, personlist::Query::Refused);
        EXPECT_EQ(query.refusal, c.refusal);
        EXPECT_EQ(query.focus, c.focus);
    }
}

TEST_F(PersonManageLogicTest, TreeNodesSetTheFilters)
{
    struct Case {
        QStringList path;
        bool query;
        QString tabLine;
        QString keyword;
        QString unitType;
        QString group;
    };
    const Case cases[] = {
        {{QStringLiteral("全部分组")}, true, QStringLiteral("【全部分组】"), {}, {}, {}},
        {{kOwn}, true, QStringLiteral("【我方单位】"), {}, kOwn, {}},
        {{kOther}, true, QStringLiteral("【往来单位】"), {}, kOther, {}},
        {{TPerson::kDefaultDrawerGroup}, true, QStringLiteral("【默认出票人】"), {}, {}, TPerson::kDefaultDrawerGroup},
        {{personlist::kByRegion}, false, {}, {}, {}, {}},
        {{personlist::kByOtherGroup}, false, {}, {}, {}, {}},
        {{personlist::kByRegion, QStringLiteral("广东省")}, true, QStringLiteral("【[按地区分组]\\广东省】"),
         QStringLiteral("广东省"), {}, {}},
        {{personlist::kByOtherGroup, QStringLiteral("客户")}, true, QStringLiteral("【[按其他分组]\\客户】"), {}, {},
         QStringLiteral("客户")},
        // A group that happens to be called like a unit type is still a group.
        {{personlist::kByOtherGroup, kOwn}, true, QStringLiteral("【[按其他分组]\\我方单位】"), {}, {}, kOwn},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path.join(QLatin1Char('/')).toStdString());
        personlist::Filter filter;
        filter.keyword = QStringLiteral("旧");
        filter.unitType = kOther;
        filter.group = QStringLiteral("旧组");
        filter.advancedKey = QStringLiteral("旧键");
        const personlist::NodeChoice choice = personlist::chooseNode(filter, c.path);
        EXPECT_EQ(choice.query, c.query);
        EXPECT_EQ(choice.tabLine, c.tabLine);
        EXPECT_EQ(filter.keyword, c.keyword);
        EXPECT_EQ(filter.unitType, c.unitType);
        EXPECT_EQ(filter.group, c.group);
        EXPECT_TRUE(filter.advancedKey.isEmpty());
    }
}

TEST_F(PersonManageLogicTest, ProvinceNodeListsUnitsMentioningTheProvinceAnywhere)
{
    add({"甲", "", "", "广东省"});
    add({"乙", "", "", "", "", "", "", ""});
    db.execute(QStringLiteral("update CKPersonalInfoTable set 地址='广东省深圳市' where 全称='乙'"));
    add({"丙", "", "", "浙江省"});
    personlist::Filter filter;
    personlist::chooseNode(filter, {personlist::kByRegion, QStringLiteral("广东省")});
    EXPECT_EQ(listed(personlist::build(filter)), names({"甲", "乙"}));
}

TEST_F(PersonManageLogicTest, DeleteAllNarrowsOnlyByTheTrimmedUnitType)
{
    struct Case {
        const char* type;
        int deleted;
        int ownLeft;
        int otherLeft;
    };
    const Case cases[] = {
        {"往来单位", 2, 1, 0},
        {" 往来单位 ", 2, 1, 0},
        {"我方单位", 1, 0, 2},
        {"", 3, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        db.execute(QStringLiteral("delete from CKPersonalInfoTable"));
        add({"甲", "我方单位", "客户"});
        add({"乙", "往来单位", "客户"});
        add({"丙", "往来单位", "默认出票人"});
        EXPECT_EQ(deleteAllPersons(db, QString::fromUtf8(c.type)), c.deleted);
        EXPECT_EQ(count(QStringLiteral("单位类型=:t"), {{QStringLiteral("t"), kOwn}}), c.ownLeft);
        EXPECT_EQ(count(QStringLiteral("单位类型=:t"), {{QStringLiteral("t"), kOther}}), c.otherLeft);
    }
    EXPECT_EQ(deleteAllQuestion(kOther),
              QStringLiteral("警告:此操作将删除所有往来单位的资料,且不可恢复,建议此操作在导出备份后进行!确定立即清空吗？"));
}

TEST_F(PersonManageLogicTest, DefaultDrawerMovesToOneOwnUnitAllOrNothing)
{
    const int before = add({"旧出票人", "往来单位", "默认出票人"});
    const int alsoBefore = add({"也是出票人", "我方单位", "默认出票人"});
    const int chosen = add({"新出票人", "往来单位", "客户"});

    setDefaultDrawer(db, chosen);
    EXPECT_EQ(count(QStringLiteral("分组=:g"), {{QStringLiteral("g"), TPerson::kDefaultDrawerGroup}}), 1);
    EXPECT_EQ(text(QStringLiteral("select 单位类型 from CKPersonalInfoTable where ID=:id"), {{QStringLiteral("id"), chosen}}), kOwn);
    EXPECT_EQ(text(QStringLiteral("select 分组 from CKPersonalInfoTable where ID=:id"), {{QStringLiteral("id"), before}}), QString());
    EXPECT_EQ(text(QStringLiteral("select 分组 from CKPersonalInfoTable where ID=:id"), {{QStringLiteral("id"), alsoBefore}}), QString());
    ASSERT_NE(TPerson::findDefaultDrawer(db), nullptr);
    EXPECT_EQ(TPerson::findDefaultDrawer(db)->getID(), chosen);

    // When the second step fails the first is undone: the drawer is not lost.
    db.executeScript(QStringLiteral("CREATE TRIGGER refuse_drawer BEFORE UPDATE OF 单位类型 ON CKPersonalInfoTable "
                                    "BEGIN SELECT RAISE(ABORT, 'drawer refused'); END;"));
    EXPECT_THROW(setDefaultDrawer(db, before), DatabaseError);
    ASSERT_NE(TPerson::findDefaultDrawer(db), nullptr);
    EXPECT_EQ(TPerson::findDefaultDrawer(db)->getID(), chosen);
}

TEST_F(PersonManageLogicTest, SaveRecordInsertsThenUpdatesAndReportsErrors)
{
    TPerson unit;
    unit.setFullName(QStringLiteral("O'Brien & 100%_公司"));
    EditorReply reply = savePersonRecord(db, unit, false);
    EXPECT_EQ(reply, (EditorReply{EditorReply::Done, QStringLiteral("新增单位资料添加成功！"), QStringLiteral("提示")}));
    ASSERT_GT(unit.getID(), 0);

    unit.setPhone(QStringLiteral("123"));
    reply = savePersonRecord(db, unit, true);
    EXPECT_EQ(reply.text, QStringLiteral("历史单位资料资料更新成功！"));
    EXPECT_EQ(count(), 1);
    EXPECT_EQ(text(QStringLiteral("select 全称 || '|' || 电话 from CKPersonalInfoTable")), QStringLiteral("O'Brien & 100%_公司|123"));

    db.executeScript(QStringLiteral("CREATE TRIGGER refuse_units BEFORE INSERT ON CKPersonalInfoTable "
                                    "BEGIN SELECT RAISE(ABORT, 'no more units'); END;"));
    TPerson refused;
    reply = savePersonRecord(db, refused, false);
    EXPECT_EQ(reply.outcome, EditorReply::Failed);
    EXPECT_EQ(reply.text, QStringLiteral("添加更新失败，Error=no more units"));
    EXPECT_EQ(count(), 1);
}

TEST_F(PersonManageLogicTest, AddressBookEntryFindsTheUnitAndOverlaysFilledFields)
{
    const int byAccount = add({"甲公司", "我方单位", "组", "", "张三", "", "", "622"});
    const int byContact = add({"甲公司", "往来单位", "", "", "李四"});
    const int byName = add({"乙公司", "往来单位", "", "", ""});
    const int contactOnly = add({"丙公司", "往来单位", "", "", "王五"});
    db.execute(QStringLiteral("update CKPersonalInfoTable set 识别号='ID-1', 助记码='code', 扩展信息='note', 开户银行='老银行'"));

    struct Case {
        const char* label;
        const char* name;
        const char* account;
        const char* contactor;
        int expectedId; // -1: no unit, an empty editor
    };
    const Case cases[] = {
        {"name and account", "甲公司", "622", "", byAccount},
        {"name and contact, no account", "甲公司", "", "李四", byContact},
        {"name alone", "乙公司", "", "", byName},
        {"contact alone, any name", "", "", "王五", contactOnly},
        {"name and unknown contact", "乙公司", "", "赵六", -1},
        {"nothing filled in", "", "", "", -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        TPerson party;
        party.setFullName(QString::fromUtf8(c.name));
        party.setBankAcct(QString::fromUtf8(c.account));
        party.setContactor(QString::fromUtf8(c.contactor));
        party.setPhone(QStringLiteral("0755-1"));
        party.setIdentity(QStringLiteral("never copied"));
        party.setInputCode(QStringLiteral("never copied"));
        party.setGroup(QStringLiteral("never copied"));
        party.setRemark(QStringLiteral("never copied"));
        const TPerson entry = addressBookEntry(db, party);
        EXPECT_EQ(entry.getID(), c.expectedId);
        EXPECT_EQ(entry.getPhone(), QStringLiteral("0755-1"));
        const bool found = c.expectedId > 0;
        // Empty fields of the party leave the stored values alone.
        EXPECT_EQ(entry.getBank(), found ? QStringLiteral("老银行") : QString());
        EXPECT_EQ(entry.getIdentity(), found ? QStringLiteral("ID-1") : QString());
        EXPECT_EQ(entry.getInputCode(), found ? QStringLiteral("code") : QString());
        EXPECT_EQ(entry.getRemark(), found ? QStringLiteral("note") : QString());
        EXPECT_NE(entry.getGroup(), QStringLiteral("never copied"));
        if (*c.name)
            EXPECT_EQ(entry.getFullName(), QString::fromUtf8(c.name));
    }

    struct TypeCase {
        QString partyType;
        QString entryType;
    };
    const TypeCase types[] = {{kOther, kOther}, {kOwn, kOwn}, {QString(), kOwn}, {QStringLiteral("其他"), kOwn}};
    for (const TypeCase& t : types) {
        TPerson party;
        party.setFullName(QStringLiteral("甲公司"));
        party.setBankAcct(QStringLiteral("622"));
        party.setUnitType(t.partyType);
        EXPECT_EQ(addressBookEntry(db, party).getUnitType(), t.entryType) << t.partyType.toStdString();
    }
}

TEST_F(PersonManageLogicTest, PartyEventsAreOnePerContext)
{
    RecordingMessages messages;
    AppContext context(home.runPath(), messages);
    PartyEvents& events = partyEvents(context);
    EXPECT_EQ(&partyEvents(context), &events);
    EXPECT_EQ(events.parent(), &context);
}
