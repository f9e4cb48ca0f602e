#include "TempHome.h"

#include "data/Database.h"
#include "parties/DAOPerson.h"

#include <gtest/gtest.h>

using namespace slipcraft;

namespace {

struct Unit {
    const char* name;
    const char* code = "";
    const char* account = "";
    const char* contactor = "";
    const char* group = "";
    const char* type = "";
    const char* bank = "";
    const char* province = "";
};

class DAOPersonTest : public ::testing::Test {
protected:
    void SetUp() override { home.createDatabase(); }

    // Stores the unit and returns its ID.
    int add(const Unit& unit)
    {
        TPerson person;
        person.setFullName(QString::fromUtf8(unit.name));
        person.setInputCode(QString::fromUtf8(unit.code));
        person.setBankAcct(QString::fromUtf8(unit.account));
        person.setContactor(QString::fromUtf8(unit.contactor));
        person.setGroup(QString::fromUtf8(unit.group));
        person.setUnitType(QString::fromUtf8(unit.type));
        person.setBank(QString::fromUtf8(unit.bank));
        person.setProvince(QString::fromUtf8(unit.province));
        person.save(db);
        return person.getID();
    }

    int rowCount() { return db.scalar(QStringLiteral("select count(*) from CKPersonalInfoTable")).toInt(); }

    TempHome home;
    Database db{home.databasePath(), QStringLiteral("parties-test")};
};

int idOf(const std::unique_ptr<TPerson>& person)
{
    return person ? person->getID() : 0;
}

} // namespace

TEST_F(DAOPersonTest, FindByInputCodeMatchesExactlyOrContainsWithWildcards)
{
    const int tpz01 = add({"甲", "tpz01"});
    const int xtpz02 = add({"乙", "xtpz02"});
    const int axb = add({"丙", "axb"});
    const int aUnderscoreB = add({"丁", "a_b"});
    const int tabz = add({"戊", "tabz"});
    const int quote = add({"己", "o'neil"});
    const int slash = add({"庚", "c\\d"});
    const int percentFree = add({"辛", "cxd"});

    struct Case {
        const char* code;
        int expected;
    };
    const Case cases[] = {
        {"tpz01", tpz01},
        {"tpz", 0},           // no wildcard: exact only
        {"tpz%", tpz01},      // first row containing the rest
        {"*tpz02", xtpz02},
        {"%tpz0*2%", xtpz02}, // marks only switch to containment
        {"a*b", tabz},        // contains "ab", not a pattern a…b
        {"a_b", aUnderscoreB},
        {"a_b*", aUnderscoreB}, // "_" is no wildcard even in a search
        {"o'neil", quote},
        {"'neil%", quote},
        {"c\\d", slash},
        {"c\\*", slash},
        {"cxd", percentFree},
        {"%", 0},
        {"*%**", 0},
        {"", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(idOf(TPerson::findByInputCode(db, QString::fromUtf8(c.code))), c.expected) << c.code;
    EXPECT_NE(axb, 0);
}

TEST_F(DAOPersonTest, LookUpsReturnTheEarliestMatchingRow)
{
    const int first = add({"华北公司", "", "111", "张三"});
    const int second = add({"华北公司", "", "222", "李四"});
    const int other = add({"华南公司", "", "222", "张三"});
    const QString north = QStringLiteral("华北公司");

    EXPECT_EQ(idOf(TPerson::findByName(db, north)), first);
    EXPECT_EQ(idOf(TPerson::findByName(db, QStringLiteral("华北"))), 0);
    EXPECT_EQ(idOf(TPerson::findByName(db, north + QLatin1Char(' '))), 0); // no trimming inside
    EXPECT_EQ(idOf(TPerson::findByNameAndAccount(db, north, QStringLiteral("222"))), second);
    EXPECT_EQ(idOf(TPerson::findByNameAndAccount(db, north, QStringLiteral("333"))), 0);
    EXPECT_EQ(idOf(TPerson::findByNameAndContactor(db, north, QStringLiteral("李四"))), second);
    EXPECT_EQ(idOf(TPerson::findByContactor(db, QStringLiteral("张三"))), first);
    EXPECT_EQ(idOf(TPerson::findByAccount(db, QStringLiteral("222"))), second);
    EXPECT_NE(other, 0);

    // An empty first argument finds nothing, even where rows have empty values.
    add({""});
    EXPECT_EQ(TPerson::findByName(db, QString()), nullptr);
    EXPECT_EQ(TPerson::findByNameAndAccount(db, QString(), QStringLiteral("222")), nullptr);
    EXPECT_EQ(TPerson::findByContactor(db, QString()), nullptr);
    EXPECT_EQ(TPerson::findByAccount(db, QString()), nullptr);
}

TEST_F(DAOPersonTest, ValuesWithQuotesAndWildcardsAreFoundAsTyped)
{
    const int quoted = add({"O'Brien & 100% _Co_", "", "62'22", "D'Arcy"});
    add({"OxBrien & 100x xCox", "", "62x22", "DxArcy"});
    EXPECT_EQ(idOf(TPerson::findByName(db, QStringLiteral("O'Brien & 100% _Co_"))), quoted);
    EXPECT_EQ(idOf(TPerson::findByAccount(db, QStringLiteral("62'22"))), quoted);
    EXPECT_EQ(idOf(TPerson::findByContactor(db, QStringLiteral("D'Arcy"))), quoted);
    EXPECT_EQ(TPerson::findByName(db, QStringLiteral("O_Brien & 100% _Co_")), nullptr);
}

TEST_F(DAOPersonTest, EveryFieldTravelsInItsOwnColumn)
{
    struct Column {
        TPerson::Field field;
        const char* column;
    };
    const Column columns[] = {
        {TPerson::FullName, "全称"},     {TPerson::Identity, "识别号"},     {TPerson::InputCode, "助记码"},
        {TPerson::Contactor, "联系人"},  {TPerson::Bank, "开户银行"},       {TPerson::BankAcct, "开户行账号"},
        {TPerson::BankAddr, "开户行地址"}, {TPerson::BankNo, "开户行行号"}, {TPerson::Phone, "电话"},
        {TPerson::Handset, "手机"},      {TPerson::Zipcode, "邮编"},        {TPerson::Country, "国家"},
        {TPerson::Address, "地址"},      {TPerson::Province, "省"},         {TPerson::City, "市"},
        {TPerson::Town, "镇区"},         {TPerson::Group, "分组"},          {TPerson::UnitType, "单位类型"},
        {TPerson::Def1, "自定义1"},      {TPerson::Def2, "自定义2"},        {TPerson::Def3, "自定义3"},
        {TPerson::Remark, "扩展信息"},
    };
    ASSERT_EQ(std::size(columns), size_t(TPerson::kFieldCount));

    TPerson person;
    for (const Column& c : columns)
        person.setText(c.field, QStringLiteral(" value of %1 ").arg(QString::fromUtf8(c.column)));
    EXPECT_EQ(person.save(db), 1);

    for (const Column& c : columns) {
        const QString column = QString::fromUtf8(c.column);
        EXPECT_EQ(db.scalar(QStringLiteral("select ") + column + QStringLiteral(" from CKPersonalInfoTable where ID=:id"),
                            {{QStringLiteral("id"), person.getID()}})
                      .toString(),
                  QStringLiteral(" value of %1 ").arg(column));
    }

    TPerson loaded;
    loaded.setID(person.getID());
    ASSERT_EQ(loaded.loadByID(db), 1);
    for (const Column& c : columns)
        EXPECT_EQ(loaded.text(c.field), person.text(c.field)) << c.column; // nothing trimmed
}

TEST_F(DAOPersonTest, SavingTwiceUpdatesTheRowItInserted)
{
    TPerson person;
    EXPECT_EQ(person.getID(), 0);
    person.setFullName(QStringLiteral("华北公司"));
    person.setRemark(QStringLiteral("老客户"));
    EXPECT_EQ(person.save(db), 1);
    const int id = person.getID();
    EXPECT_GT(id, 0);

    person.setFullName(QStringLiteral("华北有限公司"));
    person.setRemark(QString());
    EXPECT_EQ(person.save(db), 1);
    EXPECT_EQ(person.getID(), id);
    EXPECT_EQ(rowCount(), 1);

    TPerson loaded;
    loaded.setID(id);
    ASSERT_EQ(loaded.loadByID(db), 1);
    EXPECT_EQ(loaded.getFullName(), QStringLiteral("华北有限公司"));
    EXPECT_EQ(loaded.getRemark(), QString()); // an empty field overwrites
}

TEST_F(DAOPersonTest, SavingADeletedOrUnknownIdInsertsANewRow)
{
    const int kept = add({"甲"});
    const int gone = add({"乙"});
    db.execute(QStringLiteral("delete from CKPersonalInfoTable where ID=:id"), {{QStringLiteral("id"), gone}});

    struct Case {
        const char* label;
        int id;
    };
    const Case cases[] = {{"deleted", gone}, {"cleared", -1}, {"never stored", 0}};
    for (const Case& c : cases) {
        TPerson person;
        person.setID(c.id);
        person.setFullName(QString::fromUtf8(c.label));
        person.save(db);
        EXPECT_GT(person.getID(), gone) << c.label;
        EXPECT_EQ(idOf(TPerson::findByName(db, QString::fromUtf8(c.label))), person.getID()) << c.label;
    }
    EXPECT_EQ(rowCount(), 4);
    EXPECT_EQ(idOf(TPerson::findByName(db, QStringLiteral("甲"))), kept);
}

TEST_F(DAOPersonTest, LoadByIdReportsWhatItFound)
{
    db.execute(QStringLiteral("insert into CKPersonalInfoTable (全称) values (:n)"), {{QStringLiteral("n"), QStringLiteral("只有名称")}});
    const int id = db.scalar(QStringLiteral("select max(ID) from CKPersonalInfoTable")).toInt();

    TPerson person;
    person.setRemark(QStringLiteral("先前的值"));
    for (const int bad : {0, -1}) {
        person.setID(bad);
        EXPECT_EQ(person.loadByID(db), -1);
    }
    person.setID(id + 1);
    EXPECT_EQ(person.loadByID(db), 0);
    EXPECT_EQ(person.getRemark(), QStringLiteral("先前的值"));

    person.setID(id);
    EXPECT_EQ(person.loadByID(db), 1);
    EXPECT_EQ(person.getFullName(), QStringLiteral("只有名称"));
    EXPECT_EQ(person.getRemark(), QString()); // NULL loads as empty
}

TEST_F(DAOPersonTest, ClearEmptiesEveryField)
{
    TPersonKDD person;
    for (int field = 0; field < TPerson::kFieldCount; ++field)
        person.setText(TPerson::Field(field), QStringLiteral("x"));
    person.setID(7);
    person.setContents(QStringLiteral("文件"));
    person.setDestStation(QStringLiteral("广州"));

    TPerson& base = person;
    base.clear();
    EXPECT_EQ(person.getID(), -1);
    for (int field = 0; field < TPerson::kFieldCount; ++field)
        EXPECT_TRUE(person.text(TPerson::Field(field)).isEmpty()) << field;
    EXPECT_TRUE(person.getContents().isEmpty());
    EXPECT_TRUE(person.getDestStation().isEmpty());
}

TEST_F(DAOPersonTest, DefaultDrawerIsTheFirstUnitOfItsGroup)
{
    EXPECT_EQ(TPerson::findDefaultDrawer(db), nullptr);
    add({"甲", "", "", "", "常用"});
    const int drawer = add({"乙", "", "", "", "默认出票人"});
    add({"丙", "", "", "", "默认出票人"});
    const auto found = TPerson::findDefaultDrawer(db);
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->getID(), drawer);
    EXPECT_EQ(found->getFullName(), QStringLiteral("乙"));
}

TEST_F(DAOPersonTest, AddressBookMatchFollowsTheFirstRuleThatApplies)
{
    const int nameOnlyRow = add({"华北公司"});
    const int withAccount = add({"华北公司", "", "111", "张三"});
    const int withContact = add({"华北公司", "", "", "李四"});
    const int otherName = add({"华南公司", "", "", "王五"});

    struct Case {
        const char* label;
        const char* name;
        const char* account;
        const char* contactor;
        int expected;
    };
    const Case cases[] = {
        {"name and account", "华北公司", "111", "李四", withAccount},
        {"name and account, no such account", "华北公司", "999", "李四", 0},
        {"name and contact", "华北公司", "", "李四", withContact},
        {"name alone", "华北公司", "", "", nameOnlyRow},
        {"contact alone, any name", "", "", "王五", otherName},
        {"contact alone, with an account", "", "111", "王五", otherName},
        {"nothing filled in", "", "111", "", 0},
    };
    for (const Case& c : cases) {
        TPerson person;
        person.setFullName(QString::fromUtf8(c.name));
        person.setBankAcct(QString::fromUtf8(c.account));
        person.setContactor(QString::fromUtf8(c.contactor));
        EXPECT_EQ(idOf(findAddressBookMatch(db, person)), c.expected) << c.label;
    }
}

TEST_F(DAOPersonTest, ListsForTheBillForms)
{
    add({"华北公司", "", "111", "", "", "我方单位", "工商银行"});
    add({"华北公司", "", "222", "", "", "我方单位", "农业银行"});
    add({"华南公司", "", "222", "", "", "往来单位", "建设银行"});
    add({"华东公司", "", "333", "", "", "往来单位", "工商银行"});

    auto sorted = [](QStringList list) {
        list.sort();
        return list;
    };
    EXPECT_EQ(sorted(loadCompanyList(db, QStringLiteral("我方单位"))), QStringList{QStringLiteral("华北公司")});
    EXPECT_EQ(sorted(loadCompanyList(db, QStringLiteral("往来单位"))),
              sorted({QStringLiteral("华南公司"), QStringLiteral("华东公司")}));
    EXPECT_EQ(loadCompanyList(db, QString()).size(), 3);

    EXPECT_EQ(sorted(loadAccountsByCompany(db, QStringLiteral("  华北公司 "))),
              (QStringList{QStringLiteral("111"), QStringLiteral("222")}));
    EXPECT_TRUE(loadAccountsByCompany(db, QStringLiteral("   ")).isEmpty());
    EXPECT_EQ(sorted(loadBankNamesByAccount(db, QStringLiteral("222\t"))),
              sorted({QStringLiteral("农业银行"), QStringLiteral("建设银行")}));
    EXPECT_TRUE(loadBankNamesByAccount(db, QString()).isEmpty());
}

TEST_F(DAOPersonTest, GroupAndProvinceListsSkipBlanksAndTheDrawerGroup)
{
    add({"甲", "", "", "", "供应商", "", "", "广东"});
    add({"乙", "", "", "", "默认出票人", "", "", "  "});
    add({"丙", "", "", "", "   ", "", "", "北京"});
    add({"丁", "", "", "", "客户", "", "", "广东"});
    add({"戊", "", "", "", " 客户", "", "", ""});
    db.execute(QStringLiteral("insert into CKPersonalInfoTable (全称) values (:n)"), {{QStringLiteral("n"), QStringLiteral("己")}});

    // Kept as read, only blanks dropped.
    EXPECT_EQ(loadPersonTableGroupList(db),
              (QStringList{QStringLiteral(" 客户"), QStringLiteral("供应商"), QStringLiteral("客户")}));
    EXPECT_EQ(loadPersonTableProvinceList(db), (QStringList{QStringLiteral("北京"), QStringLiteral("广东")}));
}

TEST_F(DAOPersonTest, ReadFailuresAreSwallowedWhereSaidAndRaisedElsewhere)
{
    const int id = add({"甲", "a1", "111", "张三", "默认出票人", "我方单位"});
    db.execute(QStringLiteral("drop table CKPersonalInfoTable"));

    EXPECT_EQ(TPerson::findByName(db, QStringLiteral("甲")), nullptr);
    EXPECT_EQ(TPerson::findByInputCode(db, QStringLiteral("a*")), nullptr);
    EXPECT_EQ(TPerson::findDefaultDrawer(db), nullptr);
    EXPECT_TRUE(loadCompanyList(db, QString()).isEmpty());
    EXPECT_TRUE(loadPersonTableGroupList(db).isEmpty());
    EXPECT_TRUE(loadPersonTableProvinceList(db).isEmpty());
    EXPECT_THROW(loadAccountsByCompany(db, QStringLiteral("甲")), DatabaseError);
    EXPECT_THROW(loadBankNamesByAccount(db, QStringLiteral("111")), DatabaseError);

    TPerson person;
    person.setID(id);
    EXPECT_EQ(person.loadByID(db), -1);
    EXPECT_THROW(person.save(db), DatabaseError);
}
