#include "data/Up2NewVersionLogic.h"

#include "data/DBTable.h"
#include "data/Database.h"
#include "data/DatabaseFile.h"
#include "shell/Settings.h"
#include "shell/UserMessages.h"

#include <QFile>

#include <sqlite3.h>

namespace slipcraft {

namespace {

const QString kWaybill = QStringLiteral("快递单");
const QString kVersion = QStringLiteral("version");

bool tableExists(Database& db, const QString& table)
{
    return db.scalar(QStringLiteral("select count(*) from sqlite_master where type='table' and name=:name collate nocase"),
                     {{QStringLiteral("name"), table}})
               .toInt()
        > 0;
}

struct Column {
    const char* name;
    const char* type;
    const char* size;
};

struct Connection {
    sqlite3* handle = nullptr;
    ~Connection() { sqlite3_close_v2(handle); }
};

QString engineText(sqlite3* handle, int rc)
{
    return handle ? QString::fromUtf8(sqlite3_errmsg(handle)) : QString::fromUtf8(sqlite3_errstr(rc));
}

// Copies the whole content of one database into another in one step: the destination
// changes completely or not at all.
void copyDatabase(sqlite3* from, sqlite3* to)
{
    sqlite3_backup* backup = sqlite3_backup_init(to, "main", from, "main");
    if (!backup)
        throw DatabaseError(QString::fromUtf8(sqlite3_errmsg(to)));
    const int stepped = sqlite3_backup_step(backup, -1);
    const int finished = sqlite3_backup_finish(backup);
    if (stepped != SQLITE_DONE)
        throw DatabaseError(QString::fromUtf8(sqlite3_errstr(stepped)));
    if (finished != SQLITE_OK)
        throw DatabaseError(engineText(to, finished));
}

} // namespace

void resetMatchColumn(Database& db)
{
    db.inTransaction([&db] {
        createMissingTables(db);
        db.execute(QStringLiteral("delete from MatchColumn"));
        insertDefaultMatchRules(db);
    });
}

DatabaseUpgrade::DatabaseUpgrade(Database& db, Settings& settings, UserMessages& messages, Progress progress)
    : db_(db)
    , settings_(settings)
    , messages_(messages)
    , progress_(progress ? std::move(progress) : Progress([](int, const QString&) {}))
{
}

void DatabaseUpgrade::step(const QString& text, const std::function<void()>& work)
{
    db_.inTransaction(work);
    if (!text.isEmpty())
        progress_(1, text);
}

DatabaseUpgrade::Outcome DatabaseUpgrade::run(const QString& versionText)
{
    failure_.clear();
    if (settings_.getConfigByname(kVersion) == versionText)
        return Outcome::AlreadyCurrent;
    try {
        addMissingTables();
        addMissingColumns();
        // No template package file (Data/Template.a01) exists yet: its tables have nothing to follow.
        step({}, [this] {
            addColumnIfMissing(QStringLiteral("CKTypeTable"), QStringLiteral("IniFile"), QStringLiteral("String"),
                               QStringLiteral("50"));
            if (!TDBTable::columnExists(db_, QStringLiteral("CKTypeTable"), QStringLiteral("TypeFirstName"))) {
                addColumnIfMissing(QStringLiteral("CKTypeTable"), QStringLiteral("TypeFirstName"),
                                   QStringLiteral("String"), QStringLiteral("50"));
                fillBillTypeNames();
            }
        });
        step({}, [this] { addWaybillItems(); });
        step({}, [this] { repairItemKinds(); });
        const int templates = db_.scalar(QStringLiteral("select count(*) from CKTypeTable")).toInt();
        for (int i = 0; i < templates; ++i)
            progress_(1, QStringLiteral("升级模板数据.."));
        step({}, [this] { markCommonTemplates(); });
    } catch (const DatabaseError& error) {
        failure_ = error.text();
        return Outcome::Failed;
    }
    try {
        settings_.setConfigByname(kVersion, versionText);
    } catch (const DatabaseError&) {
        // The next run adds nothing and tries again.
    }
    return Outcome::Upgraded;
}

void DatabaseUpgrade::addMissingTables()
{
    const bool hadRules = tableExists(db_, QStringLiteral("MatchColumn"));
    step(QStringLiteral("升级表存储结构..."), [this] { createMissingTables(db_); });
    if (!hadRules)
        resetMatchColumn(db_);
}

void DatabaseUpgrade::addMissingColumns()
{
    const std::pair<const char*, QList<Column>> tables[] = {
        {"CKControl",
         {{"ctlLH", "Number", ""}, {"ctlH", "Number", ""}, {"ctlW", "Number", ""}, {"NeedShow", "Number", ""},
          {"NeedPrint", "Number", ""}, {"SrcX", "Number", ""}, {"SrcY", "Number", ""}, {"SrcW", "Number", ""},
          {"SrcH", "Number", ""}, {"CtlType", "string", "30"}, {"InitValue", "string", "80"}}},
        {"NameDict", {{"CtlData", "String", "100"}, {"CtlType", "String", "20"}}},
        {"CKTypeTable", {{"IsCommon", "String", "10"}, {"PWidth", "Number", ""}, {"PHeight", "Number", ""}}},
        {"ReceiverList",
         {{"体积", "String", "50"}, {"代收金额", "String", "30"}, {"手续费", "String", "50"}, {"保价金额", "String", "50"},
          {"保价费", "String", "50"}, {"运费", "String", "50"}, {"加急费", "String", "50"}, {"包装费", "String", "50"},
          {"送货费", "String", "50"}, {"其他费", "String", "50"}, {"金额大写1", "String", "50"}, {"自定义3", "String", "50"},
          {"自定义4", "String", "50"}, {"自定义5", "String", "50"}}},
        {"DataKDDTable",
         {{"体积", "String", "50"}, {"代收金额", "String", "30"}, {"手续费", "String", "50"}, {"保价金额", "String", "50"},
          {"保价费", "String", "50"}, {"运费", "String", "50"}, {"加急费", "String", "50"}, {"包装费", "String", "50"},
          {"送货费", "String", "50"}, {"其他费", "String", "50"}, {"金额大写1", "String", "50"}, {"自定义1", "String", "50"},
          {"自定义2", "String", "50"}, {"自定义3", "String", "50"}, {"自定义4", "String", "50"},
          {"自定义5", "String", "50"}}},
    };
    for (const auto& [table, columns] : tables) {
        step({}, [&] {
            for (const Column& column : columns)
                addColumnIfMissing(QString::fromLatin1(table), QString::fromUtf8(column.name),
                                   QString::fromLatin1(column.type), QString::fromLatin1(column.size));
        });
    }
}

void DatabaseUpgrade::addColumnIfMissing(const QString& table, const QString& column, const QString& type,
                                         const QString& size)
{
    if (TDBTable::columnExists(db_, table, column))
        return;
    QString error;
    if (!TDBTable::addColumn(db_, table, column, size, type, &error))
        messages_.show(QStringLiteral("修改表结构(") + column + QStringLiteral(")错误,Error=") + error);
    progress_(1, QStringLiteral("升级表存储结构...") + table);
}

void DatabaseUpgrade::insertItemIfMissing(const QString& billType, const QString& label, const QString& kind,
                                          int printOrder, int printFlag, const QString& controlName)
{
    const QString control = controlName.toUpper();
    try {
        const bool present = db_.scalar(QStringLiteral("select count(*) from NameDict where CheckTypeName=:type and "
                                                       "CtlName=:name"),
                                        {{QStringLiteral("type"), billType}, {QStringLiteral("name"), control}})
                                 .toInt()
            > 0;
        if (!present)
            db_.execute(QStringLiteral("insert into NameDict (CheckTypeName, CtlName, CtlLabel, PrintItem, ShowOrd, "
                                       "CtlType) values (:type, :name, :label, :print, :ord, :kind)"),
                        {{QStringLiteral("type"), billType},
                         {QStringLiteral("name"), control},
                         {QStringLiteral("label"), label},
                         {QStringLiteral("print"), printFlag},
                         {QStringLiteral("ord"), printOrder},
                         {QStringLiteral("kind"), kind.isEmpty() ? QStringLiteral("TEXT") : kind}});
    } catch (const DatabaseError& error) {
        messages_.show(QStringLiteral("升级模型数据失败(") + billType + QLatin1Char(',') + control + QStringLiteral("):")
                       + error.text());
    }
    progress_(1, QStringLiteral("升级单据模型..."));
}

void DatabaseUpgrade::fillBillTypeNames()
{
    try {
        QList<std::pair<int, QString>> names;
        SqlQuery rows = db_.query(QStringLiteral("select CheckTypeId, TypeName from CKTypeTable "
                                                 "where TypeFirstName is null or TypeFirstName=''"));
        while (rows.next()) {
            const QString typeName = rows.value(1).toString();
            qsizetype end = typeName.indexOf(QStringLiteral("（"));
            if (end < 0)
                end = typeName.indexOf(QLatin1Char('('));
            if (end >= 0)
                names.append({rows.value(0).toInt(), typeName.left(end)});
        }
        for (const auto& [id, billType] : std::as_const(names))
            db_.execute(QStringLiteral("update CKTypeTable set TypeFirstName=:type where CheckTypeId=:id"),
                        {{QStringLiteral("type"), billType}, {QStringLiteral("id"), id}});
    } catch (const DatabaseError& error) {
        messages_.show(error.text());
    }
}

void DatabaseUpgrade::addWaybillItems()
{
    const std::tuple<const char*, const char*, int> items[] = {
        {"体积", "zdTiJi", 357},        {"代收金额", "zdDaisJE", 357}, {"手续费", "zdShouxuFee", 358},
        {"保价金额", "zdBJJE", 359},    {"保价费", "zdBJFee", 360},    {"运费", "zdYunFee", 361},
        {"寄方编码", "zdJFKHBM", 29},   {"加急费", "zdJiaJiFee", 362}, {"包装费", "zdBaoZFee", 363},
        {"送货费", "zdSongHFee", 364},  {"其他费", "zdQiTaFee", 365},  {"金额大写1", "zdJEDX1", 366},
    };
    for (const auto& [label, control, order] : items)
        insertItemIfMissing(kWaybill, QString::fromUtf8(label), QStringLiteral("TEXT"), order, 1,
                            QString::fromLatin1(control));
    for (int i = 0; i <= 12; ++i)
        insertItemIfMissing(kWaybill, QStringLiteral("勾选%1").arg(i), QStringLiteral("TEXT"), 409 + i, 1,
                            QStringLiteral("DEFCHECK%1").arg(i));
    for (int i = 3; i <= 5; ++i)
        insertItemIfMissing(kWaybill, QStringLiteral("自定义%1").arg(i), QStringLiteral("TEXT"), 467 + i, 1,
                            QStringLiteral("zdDef%1").arg(i));
}

// Item names are stored upper-cased, and the free tick items are tick boxes. A kind the
// program knows stays as it is: the shapes that pick a party are not print items.
void DatabaseUpgrade::repairItemKinds()
{
    db_.execute(QStringLiteral("update NameDict set CtlName=upper(CtlName) where CtlName collate binary <> upper(CtlName)"));
    progress_(1, QStringLiteral("编码大小写修正..."));
    db_.execute(QStringLiteral("update NameDict set CtlType='TEXT' where CtlName not like 'DEFCHECK%' and (CtlType is "
                               "null or upper(trim(CtlType)) not in ('TEXT', 'CHECKBOX', 'LABEL', 'SHAPE', 'IMAGE'))"));
    progress_(1, QStringLiteral("编码修正，控件类型TEXT..."));
    db_.execute(QStringLiteral("update NameDict set CtlType='CHECKBOX' where CtlName like 'DEFCHECK%' and "
                               "(CtlType is null or CtlType<>'CHECKBOX')"));
    progress_(1, QStringLiteral("编码修正，控件类型CHECKBOX..."));
}

// Templates nobody marked either way become common: the express carriers' enabled ones
// and the defaults. A template the user marked stays as marked.
void DatabaseUpgrade::markCommonTemplates()
{
    const QString unmarked = QStringLiteral(" and (IsCommon is null or trim(IsCommon)='')");
    const SqlParams common{{QStringLiteral("common"), QStringLiteral("是")}};
    for (const char* carrier : {"邮政快递", "申通速递", "圆通速递", "韵达快运", "顺丰速运"}) {
        SqlParams params = common;
        params.insert(QStringLiteral("name"), QLatin1Char('%') + QString::fromUtf8(carrier) + QLatin1Char('%'));
        params.insert(QStringLiteral("enabled"), QStringLiteral("启用"));
        db_.execute(QStringLiteral("update ckTypeTable set IsCommon=:common where TypeName like :name and "
                                   "Visiable=:enabled")
                        + unmarked,
                    params);
        progress_(5, QStringLiteral("ckTypeTable升级数据"));
    }
    SqlParams params = common;
    params.insert(QStringLiteral("default"), QStringLiteral("默认"));
    db_.execute(QStringLiteral("update ckTypeTable set IsCommon=:common where IsDefault=:default") + unmarked, params);
    progress_(5, QStringLiteral("ckTypeTable升级数据"));
}

void takeOverDatabase(Database& db, const QString& oldFile, const QString& backupFile)
{
    sqlite3* current = sqliteHandle(db);
    Connection backup;
    int rc = sqlite3_open_v2(QFile::encodeName(backupFile).constData(), &backup.handle,
                             SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc != SQLITE_OK)
        throw DatabaseError(engineText(backup.handle, rc));
    copyDatabase(current, backup.handle);

    Connection old;
    rc = sqlite3_open_v2(QFile::encodeName(oldFile).constData(), &old.handle, SQLITE_OPEN_READONLY, nullptr);
    if (rc != SQLITE_OK)
        throw DatabaseError(engineText(old.handle, rc));
    copyDatabase(old.handle, current);
    // The marks name cache files of the old installation's folder.
    if (TDBTable::columnExists(db, QStringLiteral("CKTypeTable"), QStringLiteral("IniFile")))
        db.execute(QStringLiteral("update CKTypeTable set IniFile=''"));
}

} // namespace slipcraft
