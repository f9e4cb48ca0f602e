#include "CatalogueFixture.h"

#include <QStringList>

#include <functional>
#include <stdexcept>
#include <vector>

using namespace slipcraft;

namespace {

const QString kCheque = QStringLiteral("支票");
const QString kHidden = QStringLiteral("停用隐藏");
const QString kDefault = QStringLiteral("默认");
const QString kCommon = QStringLiteral("是");

} // namespace

TEST_F(CatalogueTest, DefaultTemplateOfABillType)
{
    const QString noDefault = QStringLiteral("没有设定默认的支票,请到【系统管理】-【模板管理】，设定!");
    const QString noneEnabled = QStringLiteral("没有找到任何启用的【支票】模板！");
    struct Case {
        const char* what;
        std::vector<Template> templates;
        int expected;
        QStringList shown;
    };
    const std::vector<Case> cases = {
        {"two defaults: the lower id, silently",
         {{.id = 5, .billType = kCheque, .name = "B", .isDefault = kDefault},
          {.id = 3, .billType = kCheque, .name = "A", .isDefault = kDefault},
          {.id = 1, .billType = kCheque, .name = "C"}},
         3,
         {}},
        {"a hidden default is still the default",
         {{.id = 1, .billType = kCheque, .name = "A"},
          {.id = 2, .billType = kCheque, .name = "B", .isDefault = kDefault, .visible = kHidden}},
         2,
         {}},
        {"no default: the lowest enabled id",
         {{.id = 4, .billType = kCheque, .name = "A"},
          {.id = 2, .billType = kCheque, .name = "B"},
          {.id = 1, .billType = kCheque, .name = "C", .visible = kHidden},
          {.id = 3, .billType = "进账单", .name = "D", .isDefault = kDefault}},
         2,
         {noDefault}},
        {"nothing enabled",
         {{.id = 1, .billType = kCheque, .name = "A", .visible = kHidden}},
         -1,
         {noDefault, noneEnabled}},
    };
    for (const Case& c : cases) {
        db().execute(QStringLiteral("delete from ckTypeTable"));
        messages.messages.clear();
        for (const Template& t : c.templates)
            addTemplate(t);
        EXPECT_EQ(catalogue.loadDefaultCheckTypeId(kCheque), c.expected) << c.what;
        EXPECT_EQ(shownTexts(), c.shown) << c.what;
    }
}

TEST_F(CatalogueTest, TemplateListsOfABillType)
{
    addTemplate({.id = 1, .billType = kCheque, .name = "b行", .isCommon = kCommon});
    addTemplate({.id = 2, .billType = kCheque, .name = "c行", .isDefault = kDefault, .isCommon = kCommon});
    addTemplate({.id = 3, .billType = kCheque, .name = "a行"});
    addTemplate({.id = 4, .billType = kCheque, .name = "a0行", .isCommon = kCommon, .visible = kHidden});
    addTemplate({.id = 5, .billType = "进账单", .name = "e行", .isDefault = kDefault, .isCommon = kCommon});
    addTemplate({.id = 6, .billType = kCheque, .name = "d行", .isCommon = kCommon});

    EXPECT_EQ(catalogue.loadCheckTypeLastNameList(kCheque), (QStringList{"a行", "b行", "c行", "d行"}));
    EXPECT_EQ(catalogue.loadCommonTypeLastNameList(kCheque), (QStringList{"c行", "b行", "d行"}));
    EXPECT_EQ(catalogue.loadCheckTypeFullNameList(kCheque),
              (QStringList{"支票（a行）", "支票（b行）", "支票（c行）", "支票（d行）"}));
    EXPECT_EQ(catalogue.loadCheckTypeFullNameList(QString()),
              (QStringList{"支票（a行）", "支票（b行）", "支票（c行）", "支票（d行）", "进账单（e行）"}));
    EXPECT_TRUE(messages.messages.isEmpty());

    EXPECT_TRUE(catalogue.loadCommonTypeLastNameList(QString()).isEmpty());
    EXPECT_TRUE(messages.messages.isEmpty());
    EXPECT_TRUE(catalogue.loadCheckTypeLastNameList(QString()).isEmpty());
    EXPECT_EQ(shownTexts(), QStringList{"没有指定单据类型，无法调入确定的模板种类！"});
}

TEST_F(CatalogueTest, CommonListNamesEachTemplateOnceWithTheDefaultFirst)
{
    // Older data: the same name on several templates, with different default marks.
    addTemplate({.id = 1, .billType = kCheque, .name = "b行", .isCommon = kCommon});
    addTemplate({.id = 2, .billType = kCheque, .name = "b行", .isDefault = QString(""), .isCommon = kCommon});
    addTemplate({.id = 3, .billType = kCheque, .name = "c行", .isCommon = kCommon});
    addTemplate({.id = 4, .billType = kCheque, .name = "c行", .isDefault = kDefault, .isCommon = kCommon});
    addTemplate({.id = 5, .billType = kCheque, .name = "a行", .isCommon = kCommon});
    EXPECT_EQ(catalogue.loadCommonTypeLastNameList(kCheque), (QStringList{"c行", "a行", "b行"}));

    db().execute(QStringLiteral("drop table ckTypeTable"));
    EXPECT_TRUE(catalogue.loadCommonTypeLastNameList(kCheque).isEmpty());
    EXPECT_TRUE(messages.messages.isEmpty());
}

TEST_F(CatalogueTest, BillTypesComeFromTheItemDictionary)
{
    EXPECT_EQ(catalogue.loadDefaultTypeFirstName(), QString());
    addItem("进账单", "ZDA");
    addItem(kCheque, "ZDB");
    addItem("电汇单", "ZDC");
    addItem(kCheque, "ZDD");
    EXPECT_EQ(catalogue.loadCheckTypeFirstNameList(), (QStringList{"支票", "电汇单", "进账单"}));
    EXPECT_EQ(catalogue.loadDefaultTypeFirstName(), QStringLiteral("进账单"));
}

TEST_F(CatalogueTest, IdLookUpsMatchNamesExactly)
{
    addTemplate({.id = 1, .billType = kCheque, .name = "工商银行"});
    addTemplate({.id = 2, .billType = kCheque, .name = "隐藏", .visible = kHidden});
    addTemplate({.id = 3, .billType = kCheque, .name = "", .fullName = "支票（老模板）"});
    addTemplate({.id = 4, .billType = kCheque, .name = "it's 100%_x"});
    addTemplate({.id = 5, .billType = kCheque, .name = "it's 100%_xy"});

    struct Case {
        QString billType;
        QString name;
        int expected;
    };
    const std::vector<Case> cases = {
        {kCheque, "工商银行", 1},   {kCheque, "隐藏", 2},         {kCheque, "老模板", 3},
        {kCheque, "it's 100%_x", 4}, {kCheque, "it's 100%", 0},    {kCheque, "it's 100_%_x", 0},
        {kCheque, "工商", 0},        {"进账单", "工商银行", 0},   {"支", "票（工商银行", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(catalogue.loadCheckTypeIDByFirstAndLastName(c.billType, c.name), c.expected) << c.name.toStdString();

    EXPECT_EQ(catalogue.loadCheckTypeIDByTypeFullName("支票（it's 100%_x）"), 4);
    EXPECT_EQ(catalogue.loadCheckTypeIDByTypeFullName("支票（%）"), 0);
    EXPECT_EQ(catalogue.loadCheckTypeFullNameByID(4), QStringLiteral("支票（it's 100%_x）"));
    EXPECT_EQ(catalogue.loadCheckTypeLastNameByID(4), QStringLiteral("it's 100%_x"));
    EXPECT_EQ(catalogue.loadCheckTypeFullNameByID(99), QString());
    EXPECT_EQ(catalogue.loadCheckTypeLastNameByID(99), QString());
}

TEST_F(CatalogueTest, BillTypeOfATemplate)
{
    struct Case {
        QVariant billType;
        QString fullName;
        QString expected;
    };
    const std::vector<Case> cases = {
        {kCheque, "whatever", kCheque},
        {"", "进账单(中国银行)", "进账单"},
        {QVariant(), "支票（工商银行）", kCheque},
        {"", "电汇单(旧)（工行）", "电汇单(旧)"},
        {"", "电汇单", "电汇单"},
        {"", "", ""},
    };
    int id = 0;
    for (const Case& c : cases) {
        ++id;
        db().execute(QStringLiteral("insert into ckTypeTable (CheckTypeId, TypeFirstName, TypeName) values (:id, :type, :full)"),
                     {{"id", id}, {"type", c.billType}, {"full", c.fullName}});
        EXPECT_EQ(catalogue.loadCheckTypeFirstNameByID(id), c.expected) << c.fullName.toStdString();
    }
    EXPECT_EQ(catalogue.loadCheckTypeFirstNameByID(99), QString());
}

TEST_F(CatalogueTest, BillTypeLookUpAddsAMissingColumnAndFillsIt)
{
    db().executeScript(QStringLiteral(
        "drop table ckTypeTable;"
        "create table ckTypeTable (CheckTypeId INTEGER PRIMARY KEY, TypeName TEXT, TypeDescribe TEXT,"
        " IsDefault TEXT, Visiable TEXT, IniFile TEXT);"
        "insert into ckTypeTable (CheckTypeId, TypeName) values (1, '支票（工商银行）'), (2, '进账单(中国银行)'),"
        " (3, '电汇单');"));

    EXPECT_EQ(catalogue.loadCheckTypeFirstNameByID(2), QStringLiteral("进账单"));
    EXPECT_EQ(db().textColumn(QStringLiteral("select coalesce(TypeFirstName, '') from ckTypeTable order by CheckTypeId")),
              (QStringList{"支票", "进账单", ""}));
    EXPECT_EQ(catalogue.loadCheckTypeFirstNameByID(3), QStringLiteral("电汇单"));
    EXPECT_TRUE(messages.messages.isEmpty());

    db().execute(QStringLiteral("drop table ckTypeTable"));
    EXPECT_EQ(catalogue.loadCheckTypeFirstNameByID(1), QString());
}

TEST_F(CatalogueTest, ExistenceNewIdAndOffsets)
{
    EXPECT_EQ(catalogue.loadMaxNewCheckTypeId(), 1);
    int x = -7;
    int y = -7;
    EXPECT_FALSE(catalogue.loadUserXYMoveByFirstName(kCheque, x, y));

    addTemplate({.id = 7, .billType = kCheque, .name = "工商银行", .isDefault = kDefault, .isCommon = kCommon,
                 .visible = kHidden, .xMove = 11, .yMove = 12});
    addTemplate({.id = 3, .billType = kCheque, .name = "", .fullName = "支票（老模板）", .xMove = 21, .yMove = -22});
    addTemplate({.id = 5, .billType = "进账单", .name = "农行", .isDefault = "", .isCommon = "", .xMove = 31});
    EXPECT_EQ(catalogue.loadMaxNewCheckTypeId(), 8);

    EXPECT_TRUE(catalogue.CheckTypeExists(kCheque, "工商银行"));
    EXPECT_FALSE(catalogue.CheckTypeExists(kCheque, "老模板"));
    EXPECT_FALSE(catalogue.CheckTypeExists(kCheque, "工商%"));
    EXPECT_FALSE(catalogue.CheckTypeExists("进账单", "工商银行"));

    // "否" sorts before "是", "0" before "默认".
    ASSERT_TRUE(catalogue.loadUserXYMoveByFirstName(kCheque, x, y));
    EXPECT_EQ(x, 21);
    EXPECT_EQ(y, -22);
    addTemplate({.id = 9, .billType = kCheque, .name = "空", .isDefault = "", .isCommon = "", .xMove = 41, .yMove = 42});
    ASSERT_TRUE(catalogue.loadUserXYMoveByFirstName(kCheque, x, y));
    EXPECT_EQ(x, 41);
    EXPECT_EQ(y, 42);
}

TEST_F(CatalogueTest, FailuresRaiseWithTheirPrefix)
{
    db().execute(QStringLiteral("drop table ckTypeTable"));
    int x = 0;
    int y = 0;
    struct Case {
        QString prefix;
        std::function<void()> call;
    };
    const std::vector<Case> cases = {
        {"CheckTypeExists:", [&] { catalogue.CheckTypeExists(kCheque, "A"); }},
        {"NewMaxCheckTypeId:", [&] { catalogue.loadMaxNewCheckTypeId(); }},
        {"用户常用单据偏移参数获取失败!:", [&] { catalogue.loadUserXYMoveByFirstName(kCheque, x, y); }},
    };
    for (const Case& c : cases) {
        try {
            c.call();
            ADD_FAILURE() << "no error for " << c.prefix.toStdString();
        } catch (const CatalogueError& error) {
            EXPECT_TRUE(error.text().startsWith(c.prefix)) << error.text().toStdString();
            // followed by the engine's own text
            EXPECT_TRUE(error.text().contains("no such table", Qt::CaseInsensitive)) << error.text().toStdString();
        }
    }
}

TEST_F(CatalogueTest, TypeCodes)
{
    const std::vector<std::pair<QString, QString>> cases = {
        {"电汇单", "dhd"},         {"支票", "zp"},           {"进账单", "jzd"},         {"汇票申请书", "hp"},
        {"承兑汇票", "cdhp"},      {"缴款单", "jkd"},        {"境外汇款申请书", "jwh"}, {"贷记凭证", "djpz"},
        {"快递单", "kdd"},         {"海关缴款单", "hgjkd"},  {"海关载货单", "hgzhd"},   {"普通发票收据", "fpiv"},
        {"发票及收据", "fpiv"},    {"货运发票", "hyfp"},     {"出口商品发票", "cksp"},  {"国际货运发票", "ivIntel"},
        {"定制单", "def"},         {"支票 ", ""},            {"支", ""},                {"", ""},
        {"其他单据", ""},
    };
    for (const auto& [name, code] : cases)
        EXPECT_EQ(Catalogue::getTypeCodeByTypeName(name), code) << name.toStdString();
}

TEST_F(CatalogueTest, BillNumberLists)
{
    const std::vector<std::pair<QString, QString>> rows = {
        {"0003", "未用"}, {"0001", "未用"}, {"0001", "未用"}, {"0002", "已用"}, {"0004", "作废"},
    };
    for (const auto& [number, status] : rows)
        db().execute(QStringLiteral("insert into DataZPTable (票据编号, 票据状态) values (:n, :s)"),
                     {{"n", number}, {"s", status}});

    EXPECT_EQ(catalogue.loadCheckNOList("DataZPTable", "未用", "票据编号"), (QStringList{"0001", "0003"}));
    EXPECT_EQ(catalogue.loadCheckNOList("DataZPTable", "", "票据编号"), (QStringList{"0001", "0002", "0003", "0004"}));
    EXPECT_TRUE(catalogue.loadCheckNOList("DataZPTable", "未' or '1'='1", "票据编号").isEmpty());

    const std::vector<std::pair<QString, QString>> refused = {
        {"DataZPTable; drop table ckTypeTable", "票据编号"},
        {"DataZPTable", "票据编号 from DataZPTable; drop table ckTypeTable --"},
        {"DataZPTable\"", "票据编号"},
        {"main.DataZPTable", "票据编号"},
        {"", "票据编号"},
        {"DataZPTable", ""},
    };
    for (const auto& [table, column] : refused)
        EXPECT_THROW(catalogue.loadCheckNOList(table, "", column), std::invalid_argument) << table.toStdString() << " " << column.toStdString();
    EXPECT_EQ(db().scalar(QStringLiteral("select count(*) from ckTypeTable")).toInt(), 0);
}

TEST_F(CatalogueTest, TemplateOptionsInTheDatabase)
{
    EXPECT_TRUE(catalogue.setCheckConfigByName(1, "cfgDateChinese", "1"));
    EXPECT_TRUE(catalogue.setCheckConfigByName(1, "CFGDATECHINESE", "0"));
    EXPECT_TRUE(catalogue.setCheckConfigByName(2, "cfgDateChinese", "1"));
    EXPECT_EQ(db().textColumn(QStringLiteral("select DMName || '=' || DMValue from DMTable where CheckTypeId = 1")),
              QStringList{"cfgDateChinese=0"});
    EXPECT_EQ(catalogue.getDMValueByName("cfgdatechinese", 1), QStringLiteral("0"));
    EXPECT_EQ(catalogue.getDMValueByName("cfgDateChinese", 2), QStringLiteral("1"));
    EXPECT_EQ(catalogue.getDMValueByName("cfgDateChinese", 3), QString());

    const QString value = QStringLiteral("it's 100%_ \"quoted\"");
    EXPECT_TRUE(catalogue.setCheckConfigByName(1, "cfg_Note%", value));
    EXPECT_EQ(catalogue.getDMValueByName("cfg_Note%", 1), value);
    EXPECT_EQ(catalogue.getDMValueByName("cfg%", 1), QString());
    EXPECT_EQ(catalogue.getDMValueByName("cfgXNoteY", 1), QString());
    // Global values live under id 0.
    EXPECT_EQ(catalogue.getDMValueByName("承兑是否提醒到期", 0), QStringLiteral("否"));
    EXPECT_TRUE(messages.messages.isEmpty());

    db().execute(QStringLiteral("drop table DMTable"));
    EXPECT_FALSE(catalogue.setCheckConfigByName(1, "cfgDateChinese", "1"));
    ASSERT_EQ(messages.messages.size(), 1);
    EXPECT_TRUE(messages.messages[0].text.startsWith("cfgDateChinese设置模板参数错误:")) << messages.messages[0].text.toStdString();
    EXPECT_TRUE(messages.messages[0].text.contains("DMTable")) << messages.messages[0].text.toStdString();
    EXPECT_EQ(catalogue.getDMValueByName("cfgDateChinese", 1), QString());
}
