#include "RecordingMessages.h"
#include "TempHome.h"

#include "data/DBTable.h"
#include "data/Database.h"
#include "data/DatabaseFile.h"
#include "data/Up2NewVersion.h"
#include "data/Up2NewVersionLogic.h"
#include "shell/AppContext.h"

#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>

using namespace slipcraft;

namespace {

// What the upgrade adds, as an older file lacks it.
const std::pair<const char*, QList<const char*>> kAddedColumns[] = {
    {"CKControl", {"CtlLH", "CtlH", "CtlW", "NeedShow", "NeedPrint", "SrcX", "SrcY", "SrcW", "SrcH", "CtlType", "InitValue"}},
    {"NameDict", {"CtlData", "CtlType"}},
    {"ckTypeTable", {"IsCommon", "PWidth", "PHeight", "IniFile", "TypeFirstName"}},
    {"ReceiverList",
     {"体积", "代收金额", "手续费", "保价金额", "保价费", "运费", "加急费", "包装费", "送货费", "其他费", "金额大写1", "自定义3",
      "自定义4", "自定义5"}},
    {"DataKDDTable",
     {"体积", "代收金额", "手续费", "保价金额", "保价费", "运费", "加急费", "包装费", "送货费", "其他费", "金额大写1", "自定义1",
      "自定义2", "自定义3", "自定义4", "自定义5"}},
};

// Every table's definition and rows, to tell whether anything changed.
QString contentOf(Database& db)
{
    QString dump;
    for (const QString& table :
         db.textColumn(QStringLiteral("select name from sqlite_master where type='table' order by name"))) {
        dump += db.scalar(QStringLiteral("select sql from sqlite_master where name=:name"), {{QStringLiteral("name"), table}})
                    .toString()
            + QLatin1Char('\n');
        SqlQuery rows = db.query(QStringLiteral("select * from ") + TDBTable::quoted(table));
        while (rows.next()) {
            for (int i = 0; i < rows.record().count(); ++i)
                dump += rows.value(i).toString() + QLatin1Char('|');
            dump += QLatin1Char('\n');
        }
    }
    return dump;
}

QByteArray digest(const QString& path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

class UpgradeTest : public ::testing::Test {
protected:
    void SetUp() override { home.createDatabase(); }

    Database& db() { return context.db(); }
    // Makes the file one of an older release: without the added columns, the rules table
    // and the batch table of acceptance drafts; with templates and items as it kept them.
    void makeOlder()
    {
        for (const auto& [table, columns] : kAddedColumns)
            for (const char* column : columns)
                db().execute(QStringLiteral("alter table %1 drop column %2")
                                 .arg(QString::fromLatin1(table), TDBTable::quoted(QString::fromUtf8(column))));
        db().execute(QStringLiteral("drop table MatchColumn"));
        db().execute(QStringLiteral("drop table MultiPrintCDHP"));
        db().execute(QStringLiteral("insert into ckTypeTable (CheckTypeId, TypeName, IsDefault, Visiable) values "
                                    "(1, '支票（工商银行）', '默认', '启用'), (2, '顺丰速运快递单', '', '启用'), "
                                    "(3, '无括号模板', '', '停用隐藏')"));
        db().execute(QStringLiteral("insert into NameDict (CheckTypeName, CtlName, PrintItem, ShowOrd) values "
                                    "('快递单', 'zdSKR', 1, 1), ('快递单', 'DEFCHECK0', 1, 2)"));
    }
    bool hasColumn(const char* table, const char* column)
    {
        return TDBTable::columnExists(db(), QString::fromLatin1(table), QString::fromUtf8(column));
    }
    DatabaseUpgrade::Outcome upgrade()
    {
        DatabaseUpgrade run(db(), context.settings(), messages, [this](int by, const QString&) { progress += by; });
        const DatabaseUpgrade::Outcome outcome = run.run(QStringLiteral("1.0"));
        EXPECT_TRUE(run.failure().isEmpty()) << run.failure().toStdString();
        return outcome;
    }

    TempHome home;
    RecordingMessages messages;
    AppContext context{home.runPath(), messages};
    int progress = 0;
};

} // namespace

TEST(ColumnDefinition, FollowsTheGivenType)
{
    EXPECT_EQ(TDBTable::columnDefinition(QStringLiteral(" 30 "), QStringLiteral("String")),
              QStringLiteral("VARCHAR(30) COLLATE NOCASE"));
    EXPECT_EQ(TDBTable::columnDefinition(QString(), QStringLiteral("text")), QStringLiteral("VARCHAR(50) COLLATE NOCASE"));
    EXPECT_EQ(TDBTable::columnDefinition(QStringLiteral("10"), QStringLiteral("Number")), QStringLiteral("INTEGER"));
    EXPECT_EQ(TDBTable::columnDefinition(QString(), QStringLiteral("numeric")), QStringLiteral("INTEGER"));
    EXPECT_EQ(TDBTable::columnDefinition(QString(), QStringLiteral("datetime")), QStringLiteral("TEXT COLLATE NOCASE"));
    EXPECT_EQ(TDBTable::columnDefinition(QString(), QStringLiteral(" REAL ")), QStringLiteral("REAL"));
}

// An older file gains every table, column and waybill item it lacks, the default rules,
// the bill type names and the common marks; what it had stays. A second run, even one
// that does not stop at the version, changes nothing.
TEST_F(UpgradeTest, AddsWhatIsMissingOnceAndChangesNothingThatIsThere)
{
    makeOlder();
    ASSERT_FALSE(hasColumn("ReceiverList", "体积"));
    db().execute(QStringLiteral("insert into ReceiverList (全称, 联系人) values ('甲', '张三')"));

    ASSERT_EQ(upgrade(), DatabaseUpgrade::Outcome::Upgraded);
    EXPECT_TRUE(messages.messages.isEmpty()) << messages.texts().join(u'\n').toStdString();
    for (const auto& [table, columns] : kAddedColumns)
        for (const char* column : columns)
            EXPECT_TRUE(hasColumn(table, column)) << table << "." << column;
    EXPECT_EQ(db().scalar(QStringLiteral("select count(*) from MatchColumn")).toInt(), 36);
    EXPECT_TRUE(TDBTable::columnExists(db(), QStringLiteral("MultiPrintCDHP"), QStringLiteral("批打分组")));
    EXPECT_EQ(db().scalar(QStringLiteral("select 联系人 from ReceiverList")).toString(), QStringLiteral("张三"));
    EXPECT_EQ(context.settings().getConfigByname(QStringLiteral("version")), QStringLiteral("1.0"));
    EXPECT_GT(progress, 40);

    EXPECT_EQ(db().textColumn(QStringLiteral("select coalesce(TypeFirstName, '') from ckTypeTable where CheckTypeId in "
                                             "(1, 2, 3) order by CheckTypeId")),
              QStringList({QStringLiteral("支票"), QString(), QString()}));
    EXPECT_EQ(db().textColumn(QStringLiteral("select coalesce(IsCommon, '') from ckTypeTable where CheckTypeId in "
                                             "(1, 2, 3) order by CheckTypeId")),
              QStringList({QStringLiteral("是"), QStringLiteral("是"), QString()}));
    const auto kindOf = [&](const char* control) {
        return db().scalar(QStringLiteral("select CtlType from NameDict where CheckTypeName='快递单' and CtlName=:name "
                                          "order by Id limit 1"),
                           {{QStringLiteral("name"), QString::fromLatin1(control)}})
            .toString();
    };
    EXPECT_EQ(kindOf("ZDSKR"), QStringLiteral("TEXT")); // upper-cased, given a kind
    EXPECT_EQ(kindOf("DEFCHECK0"), QStringLiteral("CHECKBOX"));
    EXPECT_EQ(kindOf("DEFCHECK12"), QStringLiteral("CHECKBOX"));
    EXPECT_EQ(kindOf("ZDTIJI"), QStringLiteral("TEXT"));
    EXPECT_EQ(db().scalar(QStringLiteral("select count(*) from NameDict where CheckTypeName='快递单' and CtlName='ZDDEF5'"))
                  .toInt(),
              1);

    // A kind the program knows stays what it is.
    db().execute(QStringLiteral("insert into NameDict (CheckTypeName, CtlName, CtlType, PrintItem) values "
                                "('快递单', 'SHPSKR', 'SHAPE', 0)"));
    messages.messages.clear();
    ASSERT_EQ(upgrade(), DatabaseUpgrade::Outcome::AlreadyCurrent);
    db().execute(QStringLiteral("delete from configtable where cname='version'"));
    const QString before = contentOf(db());
    ASSERT_EQ(upgrade(), DatabaseUpgrade::Outcome::Upgraded);
    db().execute(QStringLiteral("delete from configtable where cname='version'"));
    EXPECT_EQ(contentOf(db()), before);
    EXPECT_EQ(kindOf("SHPSKR"), QStringLiteral("SHAPE"));
    EXPECT_TRUE(messages.messages.isEmpty());
}

// The user's own rules give way to the defaults, the 订单号 rule with its leading tab.
TEST_F(UpgradeTest, ResetMatchColumnRestoresTheDefaultRules)
{
    db().execute(QStringLiteral("update MatchColumn set SourceName='客户' where ItemName='联系人'"));
    db().execute(QStringLiteral("insert into MatchColumn (MatchType, ItemName, SourceName) values ('收件信息导入', 'x', 'y')"));
    resetMatchColumn(db());
    EXPECT_EQ(db().scalar(QStringLiteral("select count(*) from MatchColumn")).toInt(), 36);
    EXPECT_EQ(db().scalar(QStringLiteral("select SourceName from MatchColumn where ItemName='联系人'")).toString(),
              QStringLiteral("联系人,收件人,收件人姓名,收货人,收件联系人,*姓名*,name,fullname"));
    EXPECT_EQ(db().scalar(QStringLiteral("select SourceName from MatchColumn where ItemName='订单号'")).toString(),
              QStringLiteral("\t订单编号,订单ID,订单号"));
    EXPECT_EQ(db().scalar(QStringLiteral("select ItemName from MatchColumn order by Id desc limit 1")).toString(),
              QStringLiteral("批打分组"));
}

namespace {

class UpgradeDialogTest : public UpgradeTest {
protected:
    // An older installation's folder with its program file and, unless told, its database.
    QString oldInstallation(const QByteArray& databaseBytes = {})
    {
        QDir(old.path()).mkpath(QStringLiteral("Data"));
        QFile program(old.filePath(QStringLiteral("slipcraft")));
        EXPECT_TRUE(program.open(QIODevice::WriteOnly));
        program.write("#!/bin/sh\n");
        QFile data(old.filePath(QStringLiteral("Data/EPData.ini")));
        EXPECT_TRUE(data.open(QIODevice::WriteOnly));
        data.write(databaseBytes);
        return program.fileName();
    }
    QPushButton* button(QWidget& window, const char* name)
    {
        return window.findChild<QPushButton*>(QString::fromLatin1(name));
    }

    QTemporaryDir old;
};

} // namespace

// The data of an older installation of this program is taken over: the current data is
// kept as a backup, the old file is only read, and the upgrade then runs on the data.
TEST_F(UpgradeDialogTest, TakesOverTheDataOfAnOlderInstallation)
{
    TempHome oldHome;
    oldHome.createDatabase();
    {
        Database oldDb(oldHome.databasePath(), QStringLiteral("old"));
        oldDb.execute(QStringLiteral("insert into CKPersonalInfoTable (全称) values ('老单位')"));
        oldDb.execute(QStringLiteral("alter table ReceiverList drop column 体积"));
    }
    QFile oldFile(oldHome.databasePath());
    ASSERT_TRUE(oldFile.open(QIODevice::ReadOnly));
    const QString program = oldInstallation(oldFile.readAll());
    const QByteArray oldDigest = digest(old.filePath(QStringLiteral("Data/EPData.ini")));
    db().execute(QStringLiteral("insert into CKPersonalInfoTable (全称) values ('新单位')"));

    TfrmUp2NewVersion dialog(context, home.runPath(), program);
    ASSERT_TRUE(dialog.checkEnvironment());
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("环境OK，可以升级~")});
    EXPECT_TRUE(button(dialog, "btStart")->isEnabled());
    messages.answer = true;
    messages.messages.clear();
    dialog.startUpgrade();
    ASSERT_EQ(messages.texts().size(), 3) << messages.texts().join(u'\n').toStdString();
    EXPECT_TRUE(messages.texts()[0].startsWith(QStringLiteral("将接管老版本的数据文件")));
    EXPECT_EQ(messages.texts()[1], QStringLiteral("恭喜，升级成功啦！"));
    EXPECT_TRUE(messages.texts()[2].startsWith(QStringLiteral("已接管老版本的数据文件")));
    EXPECT_EQ(db().textColumn(QStringLiteral("select 全称 from CKPersonalInfoTable")), QStringList{QStringLiteral("老单位")});
    EXPECT_TRUE(TDBTable::columnExists(db(), QStringLiteral("ReceiverList"), QStringLiteral("体积")));
    EXPECT_EQ(digest(old.filePath(QStringLiteral("Data/EPData.ini"))), oldDigest);

    const QStringList backups = QDir(home.path(QStringLiteral("Data"))).entryList({QStringLiteral("EPData.ini.*.bak")});
    ASSERT_EQ(backups.size(), 1);
    Database backup(home.path(QStringLiteral("Data/") + backups.first()), QStringLiteral("backup"));
    EXPECT_EQ(backup.textColumn(QStringLiteral("select 全称 from CKPersonalInfoTable")), QStringList{QStringLiteral("新单位")});

    // Upgraded: pressing again says so and changes nothing.
    messages.messages.clear();
    TfrmUp2NewVersion again(context, home.runPath(), home.databasePath());
    ASSERT_TRUE(again.checkEnvironment());
    again.startUpgrade();
    EXPECT_EQ(messages.texts().last(), QStringLiteral("当前软件已经是V9.28，无需再升级！"));
    EXPECT_FALSE(button(again, "btStart")->isEnabled());
}

// A database file of another format is named and refused; nothing changes on either side.
TEST_F(UpgradeDialogTest, RefusesADatabaseOfAnotherFormat)
{
    QByteArray access(2048, '\0');
    access.replace(4, 15, "Standard Jet DB");
    const QString program = oldInstallation(access);
    const QString before = contentOf(db());
    TfrmUp2NewVersion dialog(context, home.runPath(), program);
    EXPECT_FALSE(dialog.checkEnvironment());
    ASSERT_EQ(messages.texts().size(), 1);
    EXPECT_TRUE(messages.texts()[0].contains(QDir::toNativeSeparators(old.filePath(QStringLiteral("Data/EPData.ini")))));
    EXPECT_TRUE(messages.texts()[0].contains(QStringLiteral("Access格式")));
    EXPECT_TRUE(dialog.takeOverFile().isEmpty());
    EXPECT_EQ(databaseFileKind(old.filePath(QStringLiteral("Data/EPData.ini"))), DatabaseFileKind::Access);
    EXPECT_EQ(contentOf(db()), before);

    messages.messages.clear();
    TfrmUp2NewVersion nothingChosen(context, home.runPath());
    EXPECT_FALSE(nothingChosen.checkEnvironment());
    EXPECT_EQ(messages.texts(),
              QStringList{QStringLiteral("请选择Marrowind快递打印软件的主运行程序(例如:D:/Marrowind打印/MarrowindV927.exe)~")});
}
