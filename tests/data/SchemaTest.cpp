#include "data/Database.h"

#include "TempHome.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QSet>

#include <memory>

using slipcraft::Database;
using slipcraft::SqlParams;

namespace {

// Every table of a new main database with every column; "#" marks an integer column.
struct ExpectedTable {
    const char* name;
    const char* columns;
};

const ExpectedTable kTables[] = {
    {"configtable", "cname cvalue"},
    {"UserTable", "ID# UserName Passwd RoleName lastlogin Remark"},
    {"ckTypeTable",
     "CheckTypeId# TypeName TypeFirstName TypeDescribe IsDefault IsCommon Visiable IniFile ImgFile "
     "TWidth# THeight# PWidth# PHeight# XMove# YMove# HVPrint# CheckBoxs ShowOrd# PreImgURL "
     "InputBgColor# InputFtColor#"},
    {"NameDict", "Id# CheckTypeName CtlName CtlLabel CtlType PrintItem# ShowOrd# Groups CtlData"},
    {"CKControl",
     "ID# CheckTypeId# CtlName CtlCName CtlType CtlX# CtlY# CtlW# CtlH# CtlLH# SrcX# SrcY# SrcW# "
     "SrcH# NeedPrint# NeedShow# InitValue CtlFontName CtlFontSize# CtlFontColor Bold# Italic# "
     "UnderLine# BreakNum BreakFontSize# FitParam ShowOrd#"},
    {"DMTable", "ID# CheckTypeId# DMName DMValue"},
    {"DMTable2", "类型 一级代码 二级代码"},
    {"coins", "币种 缩写 顺序#"},
    {"CKPersonalInfoTable",
     "ID# 全称 识别号 助记码 联系人 开户银行 开户行账号 开户行地址 开户行行号 电话 手机 邮编 国家 "
     "地址 省 市 镇区 分组 单位类型 扩展信息 自定义1 自定义2 自定义3 排序#"},
    {"ClassPerson", "Id# FullPathName"},
    {"DataZPTable",
     "流水号# 模板种类 其他选项 自定义1 自定义2 自定义3 自定义4 自定义5 票据编号 票据状态 备注 币种 "
     "金额 出票日期 收款人全称 出票人全称 出票人账号 付款行名称 支付密码 用途"},
    {"DataJZDTable",
     "流水号# 模板种类 其他选项 自定义1 自定义2 自定义3 自定义4 自定义5 票据编号 票据状态 备注 币种 "
     "金额 出票日期 收款人全称 收款人账号 收款人开户行 出票人全称 出票人账号 付款行名称 票据种类 "
     "票据张数 票据号码"},
    {"DataDHDTable",
     "流水号# 模板种类 其他选项 自定义1 自定义2 自定义3 自定义4 自定义5 票据编号 票据状态 备注 币种 "
     "金额 出票日期 收款人全称 收款人账号 收款人开户行 收款人省 收款人市县 出票人全称 出票人账号 "
     "出票人开户行 出票人省 出票人市县 用途"},
    {"DataJKDTable",
     "流水号# 模板种类 其他选项 自定义1 自定义2 自定义3 自定义4 自定义5 票据编号 票据状态 备注 币种 "
     "金额 出票日期 收款人全称 收款人账号 收款人开户行 收款人联系人 用途"},
    {"DataCDHPTable",
     "流水号# 模板种类 其他选项 自定义1 自定义2 自定义3 自定义4 自定义5 票据编号 票据状态 备注 币种 "
     "金额 出票日期 承兑协议号 汇票到期日 到期日期 收款人全称 收款人账号 收款人开户行 出票人全称 "
     "出票人账号 付款行名称 付款行行号 付款行地址"},
    {"DataJWHTable",
     "流水号# 模板种类 其他选项 自定义1 自定义2 自定义3 自定义4 自定义5 票据编号 票据状态 币种 金额 "
     "出票日期 汇款人名称 汇款人地址 汇款人类型 汇款人身份编号 申请人姓名 申请人电话 收款人名称 "
     "收款人地址 收款人账号 收款人开户行 收款人开户行地址 收款人代理行 收款人代理行地址 "
     "收款人代理行账号 收款人国家或地区 收款人区域编码 收款类型 现汇金额 现汇账号 购汇金额 购汇账号 "
     "其他金额 其他账号 费用承担 交易编码1 交易金额1 交易附言1 交易编码2 交易金额2 交易附言2 汇款附言 "
     "合同号 发票号 外汇局批备号 报关单号 报关单币种金额 报关单经营单位代码 报关核注金额 最迟装运日期 "
     "进口核销项下付款"},
    {"DataKDDTable",
     "流水号# 模板种类 其他选项 自定义1 自定义2 自定义3 自定义4 自定义5 快递单号 快递帐号 寄件单位 "
     "寄件联系人 寄件省 寄件市县 寄件镇区 寄件地址 寄件电话 寄方手机 寄方邮编 寄件国家 寄件日期 "
     "寄件时间 收件单位 收件联系人 收件省 收件市县 收件镇区 收件地址 收件电话 收方手机 收方邮编 "
     "收件国家 始发站 目的站 物品内容 件数 重量 体积 总费用 运费 保价金额 保价费 代收金额 手续费 "
     "加急费 包装费 送货费 其他费 金额大写1 备注"},
    {"DataDEFTable",
     "流水号# 模板种类 其他选项 自定义1 自定义2 自定义3 自定义4 自定义5 票据编号 票据状态 备注 币种 "
     "金额 出票日期 收款人全称 收款人账号 收款人开户行 收款人省 收款人市县 出票人全称 出票人账号 "
     "出票人开户行 出票人省 出票人市县 用途"},
    {"ReceiverList",
     "ID# 全称 联系人 电话 手机 国家 省 市 镇区 地址 邮编 内件说明 备注 目的站 批打分组 件数 重量 费用 "
     "体积 代收金额 手续费 保价金额 保价费 运费 加急费 包装费 送货费 其他费 金额大写1 自定义3 自定义4 "
     "自定义5"},
    {"MultiPrintCDHP",
     "ID# 模板种类 票据编号 出票日期 承兑协议号 币种 金额 汇票到期日 收款人全称 收款人账号 收款人开户行 "
     "出票人全称 出票人账号 付款行名称 付款行地址 付款行行号 自定义1 自定义2 自定义3 其他选项 批打分组 "
     "票据状态 备注"},
    {"MatchColumn", "Id# MatchType ItemName SourceName ShowOrd#"},
};

struct Column {
    QString name;
    bool integer;
};

QList<Column> columnsOf(const ExpectedTable& table)
{
    QList<Column> columns;
    const QStringList words = QString::fromUtf8(table.columns).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (const QString& word : words) {
        const bool integer = word.endsWith(QLatin1Char('#'));
        columns.append({integer ? word.chopped(1) : word, integer});
    }
    return columns;
}

QString quoted(const QString& name)
{
    return QLatin1Char('"') + name + QLatin1Char('"');
}

class SchemaTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        home.createDatabase();
        db = std::make_unique<Database>(home.databasePath(), QStringLiteral("schema-test"));
    }

    TempHome home;
    std::unique_ptr<Database> db;
};

TEST_F(SchemaTest, HoldsEveryTableWithExactlyItsColumnsAndNoPackageTables)
{
    QStringList expectedTables;
    for (const ExpectedTable& table : kTables) {
        expectedTables << QString::fromUtf8(table.name);
        QStringList expected;
        for (const Column& column : columnsOf(table))
            expected << column.name;
        const QStringList actual = db->textColumn(QStringLiteral("SELECT name FROM pragma_table_info(:t)"),
                                                  {{QStringLiteral("t"), expectedTables.last()}});
        EXPECT_EQ(actual, expected) << table.name;
    }
    QStringList actualTables = db->textColumn(QStringLiteral(
        "SELECT name FROM sqlite_master WHERE type = 'table' AND name <> 'sqlite_sequence'"));
    actualTables.sort();
    expectedTables.sort();
    EXPECT_EQ(actualTables, expectedTables);
}

// Text columns keep what was typed ("007" stays "007", an amount stays as entered) and
// compare without regard to case; integer columns hold numbers.
TEST_F(SchemaTest, TextColumnsKeepTextAndIgnoreCaseIntegerColumnsHoldNumbers)
{
    for (const ExpectedTable& table : kTables) {
        const QString name = QString::fromUtf8(table.name);
        const QList<Column> columns = columnsOf(table);
        for (const QString& text : {QStringLiteral("007"), QStringLiteral("Ab")}) {
            QStringList names, placeholders;
            SqlParams params;
            for (qsizetype i = 0; i < columns.size(); ++i) {
                names << quoted(columns[i].name);
                placeholders << QStringLiteral(":v%1").arg(i);
                // integers differ per row and from seeded keys
                params.insert(QStringLiteral("v%1").arg(i),
                              columns[i].integer ? QVariant(900000 + text.size()) : QVariant(text));
            }
            db->execute(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                            .arg(name, names.join(u','), placeholders.join(u',')),
                        params);
        }
        for (const Column& column : columns) {
            const QString where = QStringLiteral(" FROM %1 WHERE %2 = :v").arg(name, quoted(column.name));
            if (column.integer) {
                EXPECT_EQ(db->scalar(QStringLiteral("SELECT typeof(%1)").arg(quoted(column.name)) + where,
                                     {{QStringLiteral("v"), 900003}}).toString(),
                          QStringLiteral("integer"))
                    << table.name << '.' << column.name.toStdString();
                continue;
            }
            EXPECT_EQ(db->scalar(QStringLiteral("SELECT typeof(%1) || ':' || %1").arg(quoted(column.name)) + where,
                                 {{QStringLiteral("v"), QStringLiteral("007")}}).toString(),
                      QStringLiteral("text:007"))
                << table.name << '.' << column.name.toStdString();
            EXPECT_EQ(db->scalar(QStringLiteral("SELECT count(*)") + where, {{QStringLiteral("v"), QStringLiteral("aB")}}).toInt(), 1)
                << table.name << '.' << column.name.toStdString();
        }
    }
}

TEST_F(SchemaTest, FileIsMarkedAsOurs)
{
    EXPECT_EQ(db->scalar(QStringLiteral("PRAGMA application_id")).toLongLong(), 0x534C4346);
    EXPECT_EQ(db->scalar(QStringLiteral("PRAGMA user_version")).toInt(), 1);
    db->close();
    QFile file(home.databasePath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.read(72).mid(68), QByteArray("SLCF"));
}

TEST_F(SchemaTest, CountersStartAtOneAndRowsGetTheirDefaults)
{
    db->execute(QStringLiteral("INSERT INTO ClassPerson (FullPathName) VALUES (:p)"), {{QStringLiteral("p"), QStringLiteral("客户")}});
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT Id FROM ClassPerson")).toInt(), 1);
    db->execute(QStringLiteral("INSERT INTO MatchColumn (MatchType, ItemName, SourceName) VALUES ('x', 'y', 'z')"));
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT ShowOrd FROM MatchColumn WHERE MatchType = 'x'")).toString(), QStringLiteral("0"));
    // the user manager inserts names only; sign-in then compares an empty password box with ''
    db->execute(QStringLiteral("INSERT INTO UserTable (UserName, RoleName) VALUES ('新用户', '操作员')"));
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT count(*) FROM UserTable WHERE UserName = '新用户' AND Passwd = ''")).toInt(), 1);
}

TEST_F(SchemaTest, SeedsProvincesAndCitiesOncePerPairInFileOrder)
{
    const QString pairs = QStringLiteral("SELECT 一级代码 || '/' || 二级代码 FROM DMTable2 WHERE 类型 = '省市' ORDER BY rowid");
    const QStringList rows = db->textColumn(pairs);
    EXPECT_EQ(rows.size(), 465);
    EXPECT_EQ(QSet<QString>(rows.begin(), rows.end()).size(), 465);
    ASSERT_GE(rows.size(), 2);
    EXPECT_EQ(rows.first(), QStringLiteral("北京市/东城区"));
    EXPECT_EQ(rows.last(), QStringLiteral("台湾省/澎湖县"));
    EXPECT_TRUE(rows.contains(QStringLiteral("广东省/深圳市")));
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT count(DISTINCT 一级代码) FROM DMTable2")).toInt(), 34);
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT count(*) FROM DMTable2 WHERE 类型 <> '省市'")).toInt(), 0);
}

TEST_F(SchemaTest, SeedsTheDefaultColumnMatchingRulesInOrder)
{
    const std::pair<const char*, const char*> expected[] = {
        {"联系人", "联系人,收件人,收件人姓名,收货人,收件联系人,*姓名*,name,fullname"},
        {"单位全称", "会员ID,买家会员名,全称,单位全称,收件单位,收件公司,*公司*,企业名称"},
        {"电话", "收件电话,固定电话,联系方式,联系电话,*电话*"},
        {"手机", "收件手机,Mobile,移动电话,*手机*"},
        {"地址", "收件地址,*地址*,address"},
        {"省", "*省*,州,Province"},
        {"市", "市,县市,城市,二级区划,city"},
        {"镇区", "镇区,区县,三级区划,区镇"},
        {"邮政编码", "邮政编码,邮编,PostCode"},
        {"银行账号", "账号,银行账号,开户行账号,帐号"},
        {"银行行号", "银行行号,开户行行号,*行号"},
        {"银行地址", "银行地址,*行地址"},
        {"开户银行", "开户行,开户银行,银行名称,银行"},
        {"物品内容", "物品内容,内件说明,商品名称,宝贝名称,宝贝标题"},
        {"重量", "重量,计费重量,weight"},
        {"国家", "国家,country"},
        {"备注", "备注,买家留言,扩展信息"},
        {"目的站", "目的地,目的站,城市"},
        {"件数", "件数,数量"},
        {"费用", "费用,总费用,费用合计"},
        {"订单号", "\t订单编号,订单ID,订单号"},
        {"会员ID", "QQ,旺旺,会员ID,客户编号"},
        {"保价金额", "保价金额,声明价值,保险金额"},
        {"保价费", "保价费,保险费"},
        {"运费", "运费,运输费"},
        {"加急费", "加急费"},
        {"包装费", "包装费"},
        {"体积", "体积"},
        {"代收金额", "代收金额,代收金额小写,代收款"},
        {"手续费", "手续费,代收费"},
        {"金额大写1", "金额大写1,金额"},
        {"自定义3", "自定义3"},
        {"自定义4", "自定义4"},
        {"自定义5", "自定义5"},
        {"助记码", "助记码"},
        {"批打分组", "分组,批打分组,导入分组"},
    };
    auto rows = db->query(QStringLiteral("SELECT MatchType, ItemName, SourceName, ShowOrd FROM MatchColumn ORDER BY Id"));
    int count = 0;
    while (rows.next()) {
        ASSERT_LT(count, int(std::size(expected)));
        EXPECT_EQ(rows.value(0).toString(), QStringLiteral("收件信息导入"));
        EXPECT_EQ(rows.value(1).toString(), QString::fromUtf8(expected[count].first));
        EXPECT_EQ(rows.value(2).toString(), QString::fromUtf8(expected[count].second)) << expected[count].first;
        EXPECT_EQ(rows.value(3).toInt(), 0);
        ++count;
    }
    EXPECT_EQ(count, 36);
}

TEST_F(SchemaTest, SeedsCurrenciesWithRenminbiFirst)
{
    auto rows = db->query(QStringLiteral("SELECT 币种, 缩写 FROM coins ORDER BY 顺序 DESC"));
    ASSERT_TRUE(rows.next());
    EXPECT_EQ(rows.value(0).toString(), QStringLiteral("人民币"));
    EXPECT_EQ(rows.value(1).toString(), QStringLiteral("￥"));
    QSet<QString> signs{rows.value(1).toString()};
    int count = 1;
    while (rows.next()) {
        ++count;
        // the currency editor allows 8 characters for a name and 3 for a sign
        EXPECT_LE(rows.value(0).toString().size(), 8);
        EXPECT_LE(rows.value(1).toString().size(), 3);
        signs.insert(rows.value(1).toString());
    }
    EXPECT_GE(count, 10);
    EXPECT_EQ(signs.size(), count);
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT 缩写 FROM coins WHERE 币种 = '美元'")).toString(), QStringLiteral("USD"));
}

TEST_F(SchemaTest, SeedsSharedDictionariesAndNothingTemplateBound)
{
    auto value = [&](const char* name) {
        return db->scalar(QStringLiteral("SELECT DMValue FROM DMTable WHERE CheckTypeId = 0 AND DMName = :n"),
                          {{QStringLiteral("n"), QString::fromUtf8(name)}}).toString();
    };
    EXPECT_EQ(value("承兑是否提醒到期"), QStringLiteral("否"));
    EXPECT_EQ(value("承兑到期提醒天数"), QStringLiteral("7"));
    EXPECT_TRUE(db->textColumn(QStringLiteral("SELECT DMValue FROM DMTable WHERE DMName = '用途'")).contains(QStringLiteral("货款")));
    EXPECT_TRUE(db->textColumn(QStringLiteral("SELECT DMValue FROM DMTable WHERE DMName = '物品内容'")).contains(QStringLiteral("文件")));
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT count(*) FROM DMTable WHERE CheckTypeId <> 0 OR DMName LIKE 'cfg%'")).toInt(), 0);
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT count(*) FROM (SELECT DMName, DMValue FROM DMTable GROUP BY DMName, DMValue HAVING count(*) > 1)")).toInt(), 0);
    for (const char* table : {"configtable", "ckTypeTable", "NameDict", "CKControl", "UserTable"})
        EXPECT_EQ(db->scalar(QStringLiteral("SELECT count(*) FROM %1").arg(QString::fromUtf8(table))).toInt(), 0) << table;
}

} // namespace
