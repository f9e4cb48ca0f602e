#include "templates/Catalogue.h"

#include "data/Database.h"
#include "platform/IniFile.h"
#include "platform/RunPath.h"
#include "shell/AppContext.h"
#include "shell/UserMessages.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

#include <algorithm>
#include <stdexcept>

namespace slipcraft {

namespace {

const QString kEnabled = QStringLiteral("启用");
const QString kDefault = QStringLiteral("默认");
const QString kCommon = QStringLiteral("是");

const QString kCheckConfig = QStringLiteral("CheckConfig");

QString text(const QVariant& value)
{
    return value.isNull() ? QString() : value.toString();
}

// A bill type named by its template's full name: the text before the first full-width
// parenthesis, else before the first ASCII one; -1 when there is neither.
qsizetype billTypeEnd(const QString& typeName)
{
    const qsizetype fullWidth = typeName.indexOf(QStringLiteral("（"));
    return fullWidth >= 0 ? fullWidth : typeName.indexOf(QLatin1Char('('));
}

QString billTypeFromFullName(const QString& typeName)
{
    const qsizetype end = billTypeEnd(typeName);
    return end >= 0 ? typeName.left(end) : typeName;
}

// Table and column names are pasted into statement text, so only plain names pass.
QString plainName(const QString& name)
{
    const bool plain = !name.isEmpty() && std::all_of(name.begin(), name.end(), [](QChar c) {
        return c == QLatin1Char('_') || c.isLetterOrNumber();
    });
    if (!plain)
        throw std::invalid_argument("not a plain table or column name: " + name.toStdString());
    return QLatin1Char('"') + name + QLatin1Char('"');
}

} // namespace

CatalogueError::CatalogueError(const QString& text)
    : std::runtime_error(text.toStdString())
    , text_(text)
{
}

ControlPlacement readControlPlacement(const IniFile& cache, const QString& controlName)
{
    const QString name = controlName.toUpper();
    ControlPlacement placement;
    placement.x = cache.readInteger(QStringLiteral("viewx"), name + QStringLiteral(".x"), placement.x);
    placement.y = cache.readInteger(QStringLiteral("viewy"), name + QStringLiteral(".y"), placement.y);
    placement.w = cache.readInteger(QStringLiteral("vieww"), name + QStringLiteral(".w"), placement.w);
    placement.h = cache.readInteger(QStringLiteral("viewh"), name + QStringLiteral(".h"), placement.h);
    placement.visible = cache.readInteger(QStringLiteral("viewv"), name + QStringLiteral(".v"), 0) != 0;
    placement.initialValue = cache.readString(QStringLiteral("viewdv"), name + QStringLiteral(".dv"));
    return placement;
}

Catalogue::Catalogue(AppContext& context)
    : context_(context)
{
}

QStringList Catalogue::loadCheckTypeFirstNameList()
{
    return context_.db().textColumn(
        QStringLiteral("select distinct CheckTypeName from NameDict order by CheckTypeName"));
}

QString Catalogue::loadDefaultTypeFirstName()
{
    return text(context_.db().scalar(QStringLiteral("select CheckTypeName from NameDict order by Id limit 1")));
}

QStringList Catalogue::loadCheckTypeLastNameList(const QString& billType)
{
    if (billType.isEmpty()) {
        context_.messages().show(QStringLiteral("没有指定单据类型，无法调入确定的模板种类！"));
        return {};
    }
    return context_.db().textColumn(
        QStringLiteral("select TypeDescribe from ckTypeTable where TypeFirstName = :type and Visiable = :enabled"
                       " order by TypeDescribe"),
        {{QStringLiteral("type"), billType}, {QStringLiteral("enabled"), kEnabled}});
}

QStringList Catalogue::loadCommonTypeLastNameList(const QString& billType)
{
    QStringList names;
    if (billType.isEmpty())
        return names;
    try {
        SqlQuery rows = context_.db().query(
            QStringLiteral("select distinct TypeDescribe, IsDefault from ckTypeTable"
                           " where Visiable = :enabled and IsCommon = :common and TypeFirstName = :type"
                           " order by TypeDescribe"),
            {{QStringLiteral("enabled"), kEnabled}, {QStringLiteral("common"), kCommon},
             {QStringLiteral("type"), billType}});
        while (rows.next()) {
            const QString name = text(rows.value(0));
            // The same name may come with several default marks; it is one tab.
            if (text(rows.value(1)) == kDefault) {
                names.removeAll(name);
                names.prepend(name);
            } else if (!names.contains(name)) {
                names.append(name);
            }
        }
    } catch (const DatabaseError& error) {
        // A file of an older release lacks the column: the upgrade brings it.
        if (error.text().contains(QStringLiteral("IsCommon"), Qt::CaseInsensitive))
            context_.repairSchema(QStringLiteral("IsCommon"));
        return {};
    }
    return names;
}

QStringList Catalogue::loadCheckTypeFullNameList(const QString& billType)
{
    SqlParams params{{QStringLiteral("enabled"), kEnabled}};
    QString sql = QStringLiteral("select TypeName from ckTypeTable where Visiable = :enabled");
    if (!billType.isEmpty()) {
        sql += QStringLiteral(" and TypeFirstName = :type");
        params.insert(QStringLiteral("type"), billType);
    }
    return context_.db().textColumn(sql + QStringLiteral(" order by TypeName"), params);
}

int Catalogue::loadDefaultCheckTypeId(const QString& billType)
{
    Database& db = context_.db();
    const QVariant defaultId = db.scalar(
        QStringLiteral("select CheckTypeId from ckTypeTable where TypeFirstName = :type and IsDefault = :default"
                       " order by CheckTypeId limit 1"),
        {{QStringLiteral("type"), billType}, {QStringLiteral("default"), kDefault}});
    if (!defaultId.isNull())
        return defaultId.toInt();

    context_.messages().show(QStringLiteral("没有设定默认的") + billType
                             + QStringLiteral(",请到【系统管理】-【模板管理】，设定!"));
    const QVariant enabledId = db.scalar(
        QStringLiteral("select CheckTypeId from ckTypeTable where TypeFirstName = :type and Visiable = :enabled"
                       " order by CheckTypeId limit 1"),
        {{QStringLiteral("type"), billType}, {QStringLiteral("enabled"), kEnabled}});
    if (!enabledId.isNull())
        return enabledId.toInt();

    context_.messages().show(QStringLiteral("没有找到任何启用的【") + billType + QStringLiteral("】模板！"));
    return -1;
}

int Catalogue::loadCheckTypeIDByFirstAndLastName(const QString& billType, const QString& templateName)
{
    Database& db = context_.db();
    const QVariant byParts = db.scalar(
        QStringLiteral("select CheckTypeId from ckTypeTable where TypeFirstName = :type and TypeDescribe = :name"
                       " order by CheckTypeId limit 1"),
        {{QStringLiteral("type"), billType}, {QStringLiteral("name"), templateName}});
    if (!byParts.isNull())
        return byParts.toInt();
    return loadCheckTypeIDByTypeFullName(billType + QStringLiteral("（") + templateName + QStringLiteral("）"));
}

int Catalogue::loadCheckTypeIDByTypeFullName(const QString& fullName)
{
    return context_.db()
        .scalar(QStringLiteral("select CheckTypeId from ckTypeTable where TypeName = :name order by CheckTypeId limit 1"),
                {{QStringLiteral("name"), fullName}})
        .toInt();
}

QString Catalogue::loadCheckTypeFullNameByID(int id)
{
    return text(context_.db().scalar(QStringLiteral("select TypeName from ckTypeTable where CheckTypeId = :id"),
                                     {{QStringLiteral("id"), id}}));
}

QString Catalogue::loadCheckTypeFirstNameByID(int id)
{
    try {
        SqlQuery row = context_.db().query(
            QStringLiteral("select TypeFirstName, TypeName from ckTypeTable where CheckTypeId = :id"),
            {{QStringLiteral("id"), id}});
        if (!row.next())
            return {};
        const QString billType = text(row.value(0));
        return billType.isEmpty() ? billTypeFromFullName(text(row.value(1))) : billType;
    } catch (const DatabaseError&) {
        // An older database without the column: add it, then answer from it.
        return repairBillTypeColumn() ? loadCheckTypeFirstNameByID(id) : QString();
    }
}

// Adds the bill type column when it is missing and fills it from the full names: the
// part before a parenthesis; names without one stay empty. True when it was added.
bool Catalogue::repairBillTypeColumn()
{
    Database& db = context_.db();
    try {
        const QStringList columns =
            db.textColumn(QStringLiteral("select name from pragma_table_info('ckTypeTable')"));
        if (columns.isEmpty() || columns.contains(QStringLiteral("TypeFirstName"), Qt::CaseInsensitive))
            return false;
        db.inTransaction([&db] {
            db.execute(QStringLiteral("alter table ckTypeTable add column TypeFirstName VARCHAR(50) COLLATE NOCASE"));
            QHash<int, QString> billTypes;
            SqlQuery rows = db.query(QStringLiteral("select CheckTypeId, TypeName from ckTypeTable"));
            while (rows.next()) {
                const QString typeName = text(rows.value(1));
                const qsizetype end = billTypeEnd(typeName);
                if (end >= 0)
                    billTypes.insert(rows.value(0).toInt(), typeName.left(end));
            }
            for (auto it = billTypes.cbegin(); it != billTypes.cend(); ++it)
                db.execute(QStringLiteral("update ckTypeTable set TypeFirstName = :type where CheckTypeId = :id"),
                           {{QStringLiteral("type"), it.value()}, {QStringLiteral("id"), it.key()}});
        });
        return true;
    } catch (const DatabaseError&) {
        return false;
    }
}

QString Catalogue::loadCheckTypeLastNameByID(int id)
{
    return text(context_.db().scalar(QStringLiteral("select TypeDescribe from ckTypeTable where CheckTypeId = :id"),
                                     {{QStringLiteral("id"), id}}));
}

bool Catalogue::CheckTypeExists(const QString& billType, const QString& templateName)
{
    try {
        return !context_.db()
                    .scalar(QStringLiteral("select 1 from ckTypeTable where TypeFirstName = :type and TypeDescribe = :name"
                                           " limit 1"),
                            {{QStringLiteral("type"), billType}, {QStringLiteral("name"), templateName}})
                    .isNull();
    } catch (const DatabaseError& error) {
        throw CatalogueError(QStringLiteral("CheckTypeExists:") + error.text());
    }
}

int Catalogue::loadMaxNewCheckTypeId()
{
    try {
        const QVariant maxId =
            context_.db().scalar(QStringLiteral("select max(CheckTypeId) + 1 as MaxId from ckTypeTable"));
        return maxId.isNull() ? 1 : maxId.toInt();
    } catch (const DatabaseError& error) {
        throw CatalogueError(QStringLiteral("NewMaxCheckTypeId:") + error.text());
    }
}

bool Catalogue::loadUserXYMoveByFirstName(const QString& billType, int& x, int& y)
{
    try {
        SqlQuery row = context_.db().query(
            QStringLiteral("select XMove, YMove from ckTypeTable where TypeFirstName = :type"
                           " order by coalesce(IsCommon, ''), coalesce(IsDefault, ''), CheckTypeId limit 1"),
            {{QStringLiteral("type"), billType}});
        if (!row.next())
            return false;
        x = row.value(0).toInt();
        y = row.value(1).toInt();
        return true;
    } catch (const DatabaseError& error) {
        throw CatalogueError(QStringLiteral("用户常用单据偏移参数获取失败!:") + error.text());
    }
}

QString Catalogue::getTypeCodeByTypeName(const QString& billType)
{
    static const QHash<QString, QString> codes{
        {QStringLiteral("电汇单"), QStringLiteral("dhd")},
        {QStringLiteral("支票"), QStringLiteral("zp")},
        {QStringLiteral("进账单"), QStringLiteral("jzd")},
        {QStringLiteral("汇票申请书"), QStringLiteral("hp")},
        {QStringLiteral("承兑汇票"), QStringLiteral("cdhp")},
        {QStringLiteral("缴款单"), QStringLiteral("jkd")},
        {QStringLiteral("境外汇款申请书"), QStringLiteral("jwh")},
        {QStringLiteral("贷记凭证"), QStringLiteral("djpz")},
        {QStringLiteral("快递单"), QStringLiteral("kdd")},
        {QStringLiteral("海关缴款单"), QStringLiteral("hgjkd")},
        {QStringLiteral("海关载货单"), QStringLiteral("hgzhd")},
        {QStringLiteral("普通发票收据"), QStringLiteral("fpiv")},
        {QStringLiteral("发票及收据"), QStringLiteral("fpiv")},
        {QStringLiteral("货运发票"), QStringLiteral("hyfp")},
        {QStringLiteral("出口商品发票"), QStringLiteral("cksp")},
        {QStringLiteral("国际货运发票"), QStringLiteral("ivIntel")},
        {QStringLiteral("定制单"), QStringLiteral("def")},
    };
    return codes.value(billType);
}

QStringList Catalogue::loadCheckNOList(const QString& table, const QString& status, const QString& column)
{
    const QString quotedTable = plainName(table);
    const QString quotedColumn = plainName(column);
    QString sql = QStringLiteral("select distinct ") + quotedColumn + QStringLiteral(" from ") + quotedTable;
    SqlParams params;
    if (!status.isEmpty()) {
        sql += QStringLiteral(" where 票据状态 = :status");
        params.insert(QStringLiteral("status"), status);
    }
    return context_.db().textColumn(sql + QStringLiteral(" order by 1"), params);
}

QStringList Catalogue::loadItemControlNames(const QString& billType)
{
    return context_.db().textColumn(
        QStringLiteral("select CtlName from NameDict where CheckTypeName = :type order by Id"),
        {{QStringLiteral("type"), billType}});
}

QString Catalogue::checkIniPath(int id) const
{
    return findIgnoringCase(context_.getRunPath(), QStringLiteral("Temp/CheckIni/%1.ini").arg(id));
}

std::unique_ptr<IniFile> Catalogue::OpenCheckInif(int id)
{
    try {
        const QString recorded = text(context_.db().scalar(
            QStringLiteral("select IniFile from ckTypeTable where CheckTypeId = :id"), {{QStringLiteral("id"), id}}));
        if (recorded.isEmpty())
            buildCheckIniFile(id);
    } catch (const DatabaseError&) {
        return nullptr;
    }
    const QString path = checkIniPath(id);
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return nullptr;
    return std::make_unique<IniFile>(path);
}

void Catalogue::buildCheckIniFile(int id)
{
    const QString path = checkIniPath(id);
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return;
    // One save for the whole file: a layout has hundreds of keys.
    IniFile cache(path);
    cache.beginBatch();
    for (const char* section : {"view", "viewx", "viewy", "viewh", "vieww", "viewv", "viewdv"})
        cache.eraseSection(QString::fromLatin1(section));
    cache.eraseSection(kCheckConfig);

    Database& db = context_.db();
    try {
        QString configItems;
        for (const QString& name : loadItemControlNames(loadCheckTypeFirstNameByID(id)))
            configItems += name + QLatin1Char(',');
        cache.writeString(QStringLiteral("view"), QStringLiteral("ConfigItems"), configItems);

        struct Key {
            const char* section;
            const char* suffix;
            const char* column;
        };
        static const Key keys[] = {
            {"viewx", ".x", "SrcX"}, {"viewy", ".y", "SrcY"}, {"viewh", ".h", "SrcH"},
            {"vieww", ".w", "SrcW"}, {"viewv", ".v", "NeedShow"}, {"viewdv", ".dv", "InitValue"},
        };
        SqlQuery controls = db.query(
            QStringLiteral("select CtlName, SrcX, SrcY, SrcH, SrcW, NeedShow, InitValue from CKControl"
                           " where CheckTypeId = :id order by ID"),
            {{QStringLiteral("id"), id}});
        while (controls.next()) {
            const QString name = text(controls.value(0)).toUpper();
            for (const Key& key : keys)
                cache.writeString(QString::fromLatin1(key.section), name + QString::fromLatin1(key.suffix),
                                  text(controls.value(QString::fromLatin1(key.column))));
        }

        SqlQuery options = db.query(
            QStringLiteral("select DMName, DMValue from DMTable where CheckTypeId = :id and DMName like 'cfg%'"
                           " order by ID"),
            {{QStringLiteral("id"), id}});
        while (options.next())
            cache.writeString(kCheckConfig, text(options.value(0)), text(options.value(1)));

        if (!cache.endBatch())
            return;
        db.execute(QStringLiteral("update ckTypeTable set IniFile = :file where CheckTypeId = :id"),
                   {{QStringLiteral("file"), QStringLiteral("%1.ini").arg(id)}, {QStringLiteral("id"), id}});
    } catch (const DatabaseError&) {
        // IniFile stays as it was, so the next opening tries again.
    }
}

QString Catalogue::getInifCheckConfigByName(const IniFile* cache, const QString& name)
{
    return cache ? cache->readString(kCheckConfig, name) : QString();
}

bool Catalogue::setCheckConfigByName(int id, const QString& name, const QString& value)
{
    Database& db = context_.db();
    try {
        const SqlParams params{
            {QStringLiteral("id"), id}, {QStringLiteral("name"), name}, {QStringLiteral("value"), value}};
        // DMName compares without regard to case.
        if (db.execute(QStringLiteral("update DMTable set DMValue = :value where CheckTypeId = :id and DMName = :name"),
                       params)
            == 0)
            db.execute(QStringLiteral("insert into DMTable (CheckTypeId, DMName, DMValue) values (:id, :name, :value)"),
                       params);
        return true;
    } catch (const DatabaseError& error) {
        context_.messages().show(name + QStringLiteral("设置模板参数错误:") + error.text());
        return false;
    }
}

QString Catalogue::getDMValueByName(const QString& name, int id)
{
    try {
        return text(context_.db().scalar(
            QStringLiteral("select DMValue from DMTable where CheckTypeId = :id and DMName = :name order by ID limit 1"),
            {{QStringLiteral("id"), id}, {QStringLiteral("name"), name}}));
    } catch (const DatabaseError&) {
        return {};
    }
}

} // namespace slipcraft
