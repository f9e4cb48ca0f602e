#include "TempHome.h"

#include "data/Database.h"
#include "dictionaries/CurrencyList.h"
#include "dictionaries/Dictionaries.h"
#include "dictionaries/DictionaryTable.h"
#include "dictionaries/ProvinceCityCodes.h"

#include <gtest/gtest.h>

using namespace slipcraft;

namespace {

class DictionariesTest : public ::testing::Test {
protected:
    void SetUp() override { home.createDatabase(); }

    void addValue(int id, const QString& name, const QString& value)
    {
        db.execute(QStringLiteral("insert into DMTable (CheckTypeId, DMName, DMValue) values (:id, :name, :value)"),
                   {{QStringLiteral("id"), id}, {QStringLiteral("name"), name}, {QStringLiteral("value"), value}});
    }

    void addPair(const QString& kind, const QString& province, const QString& city)
    {
        db.execute(QStringLiteral("insert into DMTable2 (类型, 一级代码, 二级代码) values (:k, :p, :c)"),
                   {{QStringLiteral("k"), kind}, {QStringLiteral("p"), province}, {QStringLiteral("c"), city}});
    }

    int count(const QString& sql, const SqlParams& params = {}) { return db.scalar(sql, params).toInt(); }

    TempHome home;
    Database db{home.databasePath(), QStringLiteral("dictionaries-test")};
};

const QString kPurpose = QStringLiteral("用途");

} // namespace

TEST_F(DictionariesTest, DictionaryListPutsTemplateValuesBeforeSharedOnes)
{
    addValue(12, kPurpose, QStringLiteral("专项款"));
    addValue(12, kPurpose, QStringLiteral("货款"));
    addValue(12, kPurpose, QStringLiteral("专项款"));
    addValue(13, kPurpose, QStringLiteral("别的模板"));
    addValue(12, QStringLiteral("备注"), QStringLiteral("别的字典"));

    const QStringList shared = loadDMListByName(db, kPurpose, QStringLiteral("0"));
    ASSERT_FALSE(shared.isEmpty());
    EXPECT_EQ(shared.first(), QStringLiteral("货款")); // in the order added
    EXPECT_EQ(shared.count(QStringLiteral("货款")), 1);

    const QStringList both = loadDMListByName(db, kPurpose, QStringLiteral("0,12"));
    EXPECT_EQ(both, QStringList({QStringLiteral("专项款"), QStringLiteral("货款")}) + shared);
    EXPECT_EQ(both.count(QStringLiteral("货款")), 2); // once per id

    struct Case {
        const char* ids;
        QStringList expected;
    };
    const Case cases[] = {
        {" 12 ", {QStringLiteral("专项款"), QStringLiteral("货款")}},
        {"12,x,", {QStringLiteral("专项款"), QStringLiteral("货款")}},
        {"", {}},
        {"x", {}},
        {"99", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(loadDMListByName(db, kPurpose, QString::fromUtf8(c.ids)), c.expected) << c.ids;
}

TEST_F(DictionariesTest, DictionaryNamesAreMatchedExactly)
{
    addValue(0, QStringLiteral("o'k %"), QStringLiteral("甲"));
    addValue(0, QStringLiteral("oxk %"), QStringLiteral("乙"));
    EXPECT_EQ(loadDMListByName(db, QStringLiteral("o'k %"), QStringLiteral("0")), QStringList{QStringLiteral("甲")});
    EXPECT_TRUE(loadDMListByName(db, QStringLiteral("o_k %"), QStringLiteral("0")).isEmpty());
}

TEST_F(DictionariesTest, ProvincesAndCities)
{
    addPair(QStringLiteral("其他字符"), QStringLiteral("不是省"), QStringLiteral("不是市"));
    const QStringList provinces = loadProvinces(db);
    EXPECT_TRUE(provinces.contains(QStringLiteral("北京市")));
    EXPECT_FALSE(provinces.contains(QStringLiteral("不是省")));
    QStringList sortedDistinct = provinces;
    sortedDistinct.removeDuplicates();
    sortedDistinct.sort();
    EXPECT_EQ(provinces, sortedDistinct);

    const QStringList cities = loadCitysByProvince(db, QStringLiteral(" 北京市\t"));
    EXPECT_TRUE(cities.contains(QStringLiteral("东城区")));
    EXPECT_FALSE(cities.contains(QStringLiteral("不是市")));
    EXPECT_TRUE(loadCitysByProvince(db, QStringLiteral("  ")).isEmpty());
    EXPECT_TRUE(loadCitysByProvince(db, QStringLiteral("不是省")).isEmpty());
}

TEST_F(DictionariesTest, EditorNamesFallBackToSharedAndHideOptions)
{
    DictionaryTable table(db);
    addValue(0, QStringLiteral("cfgPrintDate"), QStringLiteral("1"));
    addValue(12, QStringLiteral("CFGSomething"), QStringLiteral("1"));

    const QStringList shared = table.names(0);
    EXPECT_TRUE(shared.contains(kPurpose));
    EXPECT_FALSE(shared.contains(QStringLiteral("cfgPrintDate")));
    EXPECT_EQ(table.names(12), shared); // only options of its own: the shared names

    // Adding a name there stores it under the template's id.
    EXPECT_EQ(table.addName(12, QStringLiteral(" 收款人 ")).outcome, EditorReply::Done);
    EXPECT_EQ(table.names(12), QStringList{QStringLiteral("收款人")});
    const QList<DictionaryRow> rows = table.rows(QStringLiteral("收款人"), 12, false);
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].value, QStringLiteral("<空>"));
    EXPECT_EQ(rows[0].checkTypeId, 12);
    EXPECT_FALSE(table.names(0).contains(QStringLiteral("收款人")));
}

TEST_F(DictionariesTest, AddingANameIsRefusedWhenEmptyOrPresent)
{
    DictionaryTable table(db);
    struct Case {
        int id;
        const char* name;
        EditorReply::Outcome outcome;
        const char* text;
    };
    const Case cases[] = {
        {0, "  ", EditorReply::Refused, "请输入字典名称"},
        {0, "用途", EditorReply::Refused, "字典项目【用途】已经存在"},
        {12, "用途", EditorReply::Done, ""},
        {12, " 用途", EditorReply::Refused, "字典项目【用途】已经存在"},
        {12, "o'k", EditorReply::Done, ""},
    };
    for (const Case& c : cases) {
        const int before = count(QStringLiteral("select count(*) from DMTable"));
        const EditorReply reply = table.addName(c.id, QString::fromUtf8(c.name));
        EXPECT_EQ(reply.outcome, c.outcome) << c.name;
        EXPECT_EQ(reply.text, QString::fromUtf8(c.text)) << c.name;
        EXPECT_EQ(count(QStringLiteral("select count(*) from DMTable")), before + (c.outcome == EditorReply::Done));
    }
}

TEST_F(DictionariesTest, EditorRowsStoreAndRemove)
{
    DictionaryTable table(db);
    const QString name = QStringLiteral("收款人");
    addValue(0, name, QStringLiteral("乙"));
    addValue(12, name, QStringLiteral("丙"));
    addValue(12, name, QStringLiteral("甲"));
    addValue(13, name, QStringLiteral("别的"));

    auto values = [&](bool withShared) {
        QStringList texts;
        for (const DictionaryRow& row : table.rows(name, 12, withShared))
            texts << row.value + QLatin1Char('@') + QString::number(row.checkTypeId);
        return texts;
    };
    EXPECT_EQ(values(true), (QStringList{QStringLiteral("丙@12"), QStringLiteral("乙@0"), QStringLiteral("甲@12")}));
    EXPECT_EQ(values(false), (QStringList{QStringLiteral("丙@12"), QStringLiteral("甲@12")}));

    QList<DictionaryRow> rows = table.rows(name, 12, false);
    rows[0].value = QStringLiteral("丁'");
    rows.append({0, name, QStringLiteral("戊"), 12});
    table.store(rows);
    EXPECT_EQ(values(false), (QStringList{QStringLiteral("丁'@12"), QStringLiteral("戊@12"), QStringLiteral("甲@12")}));

    table.remove(rows[0].id);
    EXPECT_EQ(values(true), (QStringList{QStringLiteral("乙@0"), QStringLiteral("戊@12"), QStringLiteral("甲@12")}));
}

TEST_F(DictionariesTest, CurrencyAddChecksTheListFirst)
{
    CurrencyList list(db);
    list.reload();
    ASSERT_FALSE(list.currencies().isEmpty());
    EXPECT_EQ(list.currencies().first(), (Currency{QStringLiteral("人民币"), QStringLiteral("￥")}));

    struct Case {
        const char* name;
        const char* sign;
        EditorReply reply;
    };
    const Case cases[] = {
        {" ", "X", {EditorReply::Refused, QStringLiteral("请填写要添加的币种名称！"), QStringLiteral("输入不完整")}},
        {"卢比", "\t", {EditorReply::Refused, QStringLiteral("请填写要添加的币种简码！"), QStringLiteral("输入不完整")}},
        {"人民币", "RMB", {EditorReply::Refused, QStringLiteral("币种\"人民币\"已经存在！"), QStringLiteral("存在的币种")}},
        {"卢比", "usd", {EditorReply::Refused, QStringLiteral("币种简码\"usd\"已经存在！"), QStringLiteral("存在的币种简码")}},
        {" 卢比 ", "INR", {EditorReply::Done, QStringLiteral("新币种添加成功！"), QStringLiteral("成功")}},
        {"卢比", "IN2", {EditorReply::Refused, QStringLiteral("币种\"卢比\"已经存在！"), QStringLiteral("存在的币种")}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(list.add(QString::fromUtf8(c.name), QString::fromUtf8(c.sign)), c.reply) << c.name;

    EXPECT_EQ(list.currencies().last(), (Currency{QStringLiteral("卢比"), QStringLiteral("INR")})); // sort key 0
    EXPECT_EQ(count(QStringLiteral("select 顺序 from coins where 币种=:n"), {{QStringLiteral("n"), QStringLiteral("卢比")}}), 0);

    // The list alone refuses a listed name: no statement is needed for it.
    db.execute(QStringLiteral("drop table coins"));
    EXPECT_EQ(list.add(QStringLiteral("人民币"), QStringLiteral("R")).text, QStringLiteral("币种\"人民币\"已经存在！"));
    EXPECT_EQ(list.add(QStringLiteral("比索"), QStringLiteral("R")),
              (EditorReply{EditorReply::Failed, QStringLiteral("添加失败！"), QStringLiteral("失败")}));
}

TEST_F(DictionariesTest, CurrencyChangeTouchesOnlyTheSign)
{
    CurrencyList list(db);
    list.reload();
    struct Case {
        const char* chosen;
        const char* nameField;
        const char* sign;
        EditorReply reply;
    };
    const Case cases[] = {
        {"", "美元", "US$", {EditorReply::Refused, QStringLiteral("请先选中要修改的币种名称！"), QStringLiteral("提示")}},
        {"美元", "美金", "US$", {EditorReply::Refused, QStringLiteral("修改不能改变币种名称！"), QStringLiteral("提示")}},
        {"美元", "美元", " ", {EditorReply::Refused, QStringLiteral("请输入新的币种简码！"), QStringLiteral("提示")}},
        {"美元", "美元", "EUR", {EditorReply::Refused, QStringLiteral("币种简码\"EUR\"已经存在！"), QStringLiteral("存在的币种简码")}},
        {"美元", " 美元", "US$", {EditorReply::Done, QStringLiteral("币种\"美元\"修改成功！"), QStringLiteral("成功")}},
        {"美元", "美元", "usd", {EditorReply::Done, QStringLiteral("币种\"美元\"修改成功！"), QStringLiteral("成功")}},
        {"比索", "比索", "MXN", {EditorReply::Failed, QStringLiteral("币种修改失败！"), QStringLiteral("失败")}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(list.changeAbbreviation(QString::fromUtf8(c.chosen), QString::fromUtf8(c.nameField), QString::fromUtf8(c.sign)),
                  c.reply)
            << c.nameField << " " << c.sign;
    EXPECT_EQ(list.abbreviationOf(QStringLiteral("美元")), QStringLiteral("usd"));
    EXPECT_EQ(list.abbreviationOf(QStringLiteral("欧元")), QStringLiteral("EUR"));
    EXPECT_TRUE(list.currencies().contains(Currency{QStringLiteral("美元"), QStringLiteral("usd")}));
}

TEST_F(DictionariesTest, CurrencyRemove)
{
    CurrencyList list(db);
    list.reload();
    const qsizetype before = list.currencies().size();
    EXPECT_EQ(list.remove(QString()),
              (EditorReply{EditorReply::Refused, QStringLiteral("请先选中要删除的币种！"), QStringLiteral("提示")}));
    EXPECT_EQ(list.remove(QStringLiteral("比索")),
              (EditorReply{EditorReply::Failed, QStringLiteral("币种删除失败！"), QStringLiteral("失败")}));
    EXPECT_EQ(list.remove(QStringLiteral("日元")),
              (EditorReply{EditorReply::Done, QStringLiteral("币种\"日元\"删除成功！"), QStringLiteral("成功")}));
    EXPECT_EQ(list.currencies().size(), before - 1);
    EXPECT_EQ(list.abbreviationOf(QStringLiteral("日元")), QString());
}

TEST_F(DictionariesTest, ProvinceCodesIgnoreStoredSpaces)
{
    ProvinceCityCodes codes(db);
    addPair(QStringLiteral("省市"), QStringLiteral(" 测试省 "), QStringLiteral(" 甲市"));
    addPair(QStringLiteral("省市"), QStringLiteral("测试省"), QStringLiteral("乙市"));
    addPair(QStringLiteral("其他字符"), QStringLiteral("测试省"), QStringLiteral("丙市"));

    EXPECT_EQ(codes.provinces().count(QStringLiteral("测试省")), 1);
    EXPECT_EQ(codes.cities(QStringLiteral("测试省")), (QStringList{QStringLiteral(" 甲市"), QStringLiteral("乙市")}));
    EXPECT_TRUE(codes.exists(QStringLiteral("测试省"), QStringLiteral("甲市")));
    EXPECT_FALSE(codes.exists(QStringLiteral("测试省"), QStringLiteral("丙市")));
}

TEST_F(DictionariesTest, ProvinceEditorActions)
{
    ProvinceCityCodes codes(db);
    addPair(QStringLiteral("省市"), QStringLiteral("测试省"), QStringLiteral(" 甲市 "));
    addPair(QStringLiteral("省市"), QStringLiteral("测试省"), QStringLiteral("乙市"));
    const QString province = QStringLiteral("测试省");

    enum Action { Add, Change, Remove };
    struct Case {
        Action action;
        const char* province;
        const char* selected;
        const char* city;
        EditorReply::Outcome outcome;
        const char* text;
    };
    const Case cases[] = {
        {Add, "测试省", "", " ", EditorReply::Refused, "省和市输入不能为空！"},
        {Add, " ", "", "丙市", EditorReply::Refused, "省和市输入不能为空！"},
        {Add, "测试省", "", "甲市", EditorReply::Refused, "\"测试省--甲市\" 已经存在，不需要添加！"},
        {Add, " 测试省", "", "丙市 ", EditorReply::Done, "\"测试省--丙市\"代码添加成功！"},
        {Change, "测试省", "", "丁市", EditorReply::Refused, "请先选中要修改的市(县)！"},
        {Change, "测试省", "丙市", "", EditorReply::Refused, "省和市输入不能为空！"},
        {Change, "测试省", "丙市", "乙市", EditorReply::Refused, "\"测试省--乙市\" 已经存在，不能修改！"},
        {Change, "测试省", "丙市", "丙市", EditorReply::Refused, "\"测试省--丙市\" 已经存在，不能修改！"},
        {Change, "测试省", "戊市", "己市", EditorReply::Failed, "修改失败！"},
        {Change, "测试省", " 甲市", "丁市", EditorReply::Done, "修改成功！"},
        {Remove, "测试省", "", "", EditorReply::Refused, "请先选中要删除的市(县)！"},
        {Remove, "测试省", "甲市", "", EditorReply::Failed, "删除失败！"},
        {Remove, "测试省", " 乙市", "", EditorReply::Done, "删除成功！"},
    };
    for (const Case& c : cases) {
        const QString p = QString::fromUtf8(c.province);
        const QString selected = QString::fromUtf8(c.selected);
        const QString city = QString::fromUtf8(c.city);
        const EditorReply reply = c.action == Add      ? codes.add(p, city)
                                  : c.action == Change ? codes.change(p, selected, city)
                                                       : codes.remove(p, selected);
        EXPECT_EQ(reply, (EditorReply{c.outcome, QString::fromUtf8(c.text), QStringLiteral("提示")}))
            << c.action << " " << c.selected << " " << c.city;
    }
    EXPECT_EQ(codes.cities(province), (QStringList{QStringLiteral("丁市"), QStringLiteral("丙市")}));
    EXPECT_EQ(count(QStringLiteral("select count(*) from DMTable2 where 一级代码=:p"), {{QStringLiteral("p"), province}}), 2);
}

TEST_F(DictionariesTest, ProvinceEditorFailsQuietlyWithoutItsTable)
{
    ProvinceCityCodes codes(db);
    db.execute(QStringLiteral("drop table DMTable2"));
    EXPECT_TRUE(codes.provinces().isEmpty());
    EXPECT_TRUE(codes.cities(QStringLiteral("北京市")).isEmpty());
    EXPECT_EQ(codes.add(QStringLiteral("甲"), QStringLiteral("乙")).text, QStringLiteral("意外错误！插入数据失败！"));
    EXPECT_EQ(codes.change(QStringLiteral("甲"), QStringLiteral("乙"), QStringLiteral("丙")).text, QStringLiteral("修改失败！"));
    EXPECT_EQ(codes.remove(QStringLiteral("甲"), QStringLiteral("乙")).text, QStringLiteral("删除失败！"));
}
