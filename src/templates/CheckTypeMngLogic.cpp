#include "templates/CheckTypeMngLogic.h"

#include "data/Database.h"
#include "platform/RunPath.h"
#include "shell/AppContext.h"
#include "shell/UserMessages.h"
#include "templates/Catalogue.h"
#include "templates/TemplatePackage.h"
#include "wording/Functions.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace slipcraft {

namespace {

const QString kEnabled = QStringLiteral("启用");
const QString kHidden = QStringLiteral("停用隐藏");
const QString kDefault = QStringLiteral("默认");
const QString kCommon = QStringLiteral("是");
const QString kNotCommon = QStringLiteral("否");
const QString kHint = QStringLiteral("提示");
const QString kSettingFailed = QStringLiteral("模板设置失败,中止！~");
const QString kChangeFailed = QStringLiteral("修改失败，错误=");

QString text(const QVariant& value)
{
    return value.isNull() ? QString() : value.toString();
}

// Every template of the bill type, those named only by their full name too.
const QString kOfBillType = QStringLiteral(
    "(TypeFirstName = :type or (coalesce(TypeFirstName, '') = '' and"
    " substr(TypeName, 1, length(:type) + 1) in (:type || '（', :type || '(')))");

} // namespace

TabButtons tabButtons(TemplateTab tab)
{
    switch (tab) {
    case TemplateTab::Usable:
        return {true, true, true, false, false, true};
    case TemplateTab::Common:
        return {true, false, true, false, true, true};
    case TemplateTab::Default:
        return {};
    case TemplateTab::Hidden:
        return {true, true, false, true, false, true};
    }
    return {};
}

QList<ManagedTemplate> loadManagedTemplates(Database& db, TemplateTab tab, const QString& billType, const QString& key)
{
    SqlParams params{{QStringLiteral("enabled"), kEnabled}};
    QString sql = QStringLiteral("select CheckTypeId, TypeName, IsDefault, IsCommon, Visiable, TypeFirstName, ImgFile"
                                 " from ckTypeTable where ");
    switch (tab) {
    case TemplateTab::Usable:
        sql += QStringLiteral("Visiable = :enabled");
        break;
    case TemplateTab::Common:
        sql += QStringLiteral("Visiable = :enabled and IsCommon = :common");
        params.insert(QStringLiteral("common"), kCommon);
        break;
    case TemplateTab::Default:
        sql += QStringLiteral("Visiable = :enabled and IsDefault = :default");
        params.insert(QStringLiteral("default"), kDefault);
        break;
    case TemplateTab::Hidden:
        sql += QStringLiteral("coalesce(Visiable, '') <> :enabled");
        break;
    }
    if (!billType.isEmpty()) {
        sql += QStringLiteral(" and substr(TypeName, 1, length(:type)) = :type");
        params.insert(QStringLiteral("type"), billType);
    }
    if (!key.isEmpty()) {
        sql += QStringLiteral(" and instr(upper(TypeName), upper(:key)) > 0");
        params.insert(QStringLiteral("key"), key);
    }
    SqlQuery rows = db.query(sql + QStringLiteral(" order by TypeName, CheckTypeId"), params);
    QList<ManagedTemplate> list;
    while (rows.next())
        list.append({rows.value(0).toInt(), text(rows.value(1)), text(rows.value(2)), text(rows.value(3)),
                     text(rows.value(4)), text(rows.value(5)), text(rows.value(6))});
    return list;
}

QString cleanTemplateName(const QString& typed)
{
    QString name = trimText(typed);
    for (const QString& unwanted : {QStringLiteral("("), QStringLiteral(")"), QStringLiteral("（"), QStringLiteral("）"),
                                    QStringLiteral("'"), QStringLiteral("%"), QStringLiteral("*"), QStringLiteral("?"),
                                    QStringLiteral(" ")})
        name.remove(unwanted);
    return name;
}

QString renameDefault(const ManagedTemplate& row)
{
    QString name = row.typeName;
    for (const QString& part : {row.billType, QStringLiteral("（"), QStringLiteral("）")}) {
        const qsizetype at = part.isEmpty() ? -1 : name.indexOf(part);
        if (at >= 0)
            name.remove(at, part.size());
    }
    return name;
}

CheckTypeMngLogic::CheckTypeMngLogic(AppContext& context)
    : context_(context)
{
}

bool CheckTypeMngLogic::setDefault(const ManagedTemplate* row)
{
    UserMessages& messages = context_.messages();
    if (!row) {
        messages.show(QStringLiteral("没有选中要设置的票据模板！"));
        return false;
    }
    const QString billType = context_.catalogue().loadCheckTypeFirstNameByID(row->id);
    if (billType.isEmpty()) {
        messages.show(QStringLiteral("获取单据类型失败：") + row->typeName);
        return false;
    }
    Database& db = context_.db();
    try {
        // One default per bill type, and a default is always offered.
        db.inTransaction([&] {
            db.execute(QStringLiteral("update ckTypeTable set IsDefault = '0' where ") + kOfBillType,
                       {{QStringLiteral("type"), billType}});
            db.execute(QStringLiteral("update ckTypeTable set IsDefault = :default, Visiable = :enabled, IsCommon = :common"
                                      " where CheckTypeId = :id"),
                       {{QStringLiteral("default"), kDefault}, {QStringLiteral("enabled"), kEnabled},
                        {QStringLiteral("common"), kCommon}, {QStringLiteral("id"), row->id}});
        });
    } catch (const DatabaseError&) {
        messages.show(kSettingFailed);
        return false;
    }
    messages.show(QStringLiteral("默认【") + billType + QStringLiteral("票据】模板设置成功！"));
    return true;
}

int CheckTypeMngLogic::makeCommon(const QList<ManagedTemplate>& rows)
{
    Database& db = context_.db();
    try {
        db.inTransaction([&] {
            for (const ManagedTemplate& row : rows)
                db.execute(QStringLiteral("update ckTypeTable set Visiable = :enabled, IsCommon = :common where CheckTypeId = :id"),
                           {{QStringLiteral("enabled"), kEnabled}, {QStringLiteral("common"), kCommon},
                            {QStringLiteral("id"), row.id}});
        });
    } catch (const DatabaseError&) {
        context_.messages().show(kSettingFailed);
        return -1;
    }
    context_.messages().show(QStringLiteral("共添加 %1 个模板为常用模板！").arg(rows.size()) + QStringLiteral("\n\r\n\r")
                             + QStringLiteral("新设置常用快递后，请重开快递单填开界面生效~"));
    return int(rows.size());
}

int CheckTypeMngLogic::removeFromCommon(const QList<ManagedTemplate>& rows)
{
    QList<int> removed;
    for (const ManagedTemplate& row : rows) {
        if (row.isDefault == kDefault)
            context_.messages().show(QStringLiteral("默认模板不能从常用模板移出！"));
        else
            removed << row.id;
    }
    Database& db = context_.db();
    try {
        db.inTransaction([&] {
            for (int id : removed)
                db.execute(QStringLiteral("update ckTypeTable set Visiable = :enabled, IsCommon = :plain where CheckTypeId = :id"),
                           {{QStringLiteral("enabled"), kEnabled}, {QStringLiteral("plain"), kNotCommon},
                            {QStringLiteral("id"), id}});
        });
    } catch (const DatabaseError&) {
        context_.messages().show(kSettingFailed);
        return -1;
    }
    context_.messages().show(QStringLiteral("共从常用模板移出 %1 个模板为普通模板！").arg(removed.size()));
    return int(removed.size());
}

bool CheckTypeMngLogic::setHidden(const QList<ManagedTemplate>& rows, bool hidden)
{
    Database& db = context_.db();
    try {
        db.inTransaction([&] {
            for (const ManagedTemplate& row : rows)
                db.execute(QStringLiteral("update ckTypeTable set Visiable = :visible where CheckTypeId = :id"),
                           {{QStringLiteral("visible"), hidden ? kHidden : kEnabled}, {QStringLiteral("id"), row.id}});
        });
    } catch (const DatabaseError&) {
        context_.messages().show(kSettingFailed);
        return false;
    }
    if (hidden)
        context_.messages().show(QStringLiteral("隐藏的模板，可在【隐藏的模板】中重新启用。"));
    return true;
}

QString CheckTypeMngLogic::checkedNewName(const QString& billType, const QString& answer, const QString& existsMessage)
{
    const QString name = cleanTemplateName(answer);
    if (name.isEmpty()) {
        context_.messages().show(QStringLiteral("输入了无效的字符(引号\\?\\*\\(\\)\\%)!"));
        return {};
    }
    try {
        if (context_.catalogue().CheckTypeExists(billType, name)) {
            context_.messages().show(existsMessage);
            return {};
        }
    } catch (const CatalogueError& error) {
        context_.messages().show(kChangeFailed + error.text());
        return {};
    }
    return name;
}

bool CheckTypeMngLogic::rename(const ManagedTemplate& row, const QString& answer)
{
    if (answer.isEmpty() || answer == renameDefault(row))
        return false;
    const QString billType = context_.catalogue().loadCheckTypeFirstNameByID(row.id);
    if (billType.isEmpty()) {
        context_.messages().show(QStringLiteral("获取单据类型失败：") + row.typeName);
        return false;
    }
    const QString name = checkedNewName(
        billType, answer, QStringLiteral("模板名字已经存在,请确认是否输入了重复的名字或者改模版正被隐藏。"));
    if (name.isEmpty())
        return false;
    try {
        context_.db().execute(
            QStringLiteral("update ckTypeTable set TypeDescribe = :name, TypeFirstName = :type, TypeName = :full"
                           " where CheckTypeId = :id"),
            {{QStringLiteral("name"), name},
             {QStringLiteral("type"), billType},
             {QStringLiteral("full"), billType + QStringLiteral("（") + name + QStringLiteral("）")},
             {QStringLiteral("id"), row.id}});
    } catch (const DatabaseError& error) {
        context_.messages().show(kChangeFailed + error.text());
        return false;
    }
    context_.messages().show(QStringLiteral("重名名成功~"));
    return true;
}

int CheckTypeMngLogic::clone(const ManagedTemplate& row, const QString& answer)
{
    if (answer.isEmpty())
        return 0;
    Catalogue& catalogue = context_.catalogue();
    const QString billType = catalogue.loadCheckTypeFirstNameByID(row.id);
    const QString name = checkedNewName(
        billType, answer, QStringLiteral("模板名字已经存在,请确认是否输入了重复的名字或该模版正被隐藏。"));
    if (name.isEmpty())
        return 0;

    Database& db = context_.db();
    QString copiedPicture;
    int newId = 0;
    try {
        const QString code = Catalogue::getTypeCodeByTypeName(billType);
        if (code.isEmpty())
            throw CatalogueError(QStringLiteral("没有找到模板的主类型编码:") + billType);
        // A clone is made whole or not at all.
        db.inTransaction([&] {
            newId = catalogue.loadMaxNewCheckTypeId();
            const SqlParams ids{{QStringLiteral("id"), row.id}, {QStringLiteral("new"), newId}};
            const QVariant sourcePicture =
                db.scalar(QStringLiteral("select coalesce(ImgFile, '') from ckTypeTable where CheckTypeId = :id"),
                          {{QStringLiteral("id"), row.id}});
            if (sourcePicture.isNull())
                throw CatalogueError(QStringLiteral("找不到源模板，ID=%1").arg(row.id));
            const QString sourceFile = sourcePicture.toString();
            const QString pictureName =
                sourceFile.isEmpty() ? QString() : code + QString::number(newId) + QStringLiteral(".jpg");
            if (!db.scalar(QStringLiteral("select 1 from ckTypeTable where CheckTypeId = :new"), ids).isNull())
                throw CatalogueError(QStringLiteral("模板已经存在，Id=%1").arg(newId));
            db.execute(
                QStringLiteral("insert into ckTypeTable (CheckTypeId, ImgFile, TypeFirstName, TypeName, TypeDescribe, IsDefault,"
                               " XMove, YMove, THeight, TWidth, HVPrint, Visiable, CheckBoxs, ShowOrd, IsCommon, PWidth,"
                               " PHeight, InputBgColor, InputFtColor)"
                               " select :new, :img, :type, :full, :name, '0', XMove, YMove, THeight, TWidth, HVPrint,"
                               " Visiable, CheckBoxs, ShowOrd, IsCommon, PWidth, PHeight, InputBgColor, InputFtColor"
                               " from ckTypeTable where CheckTypeId = :id"),
                {{QStringLiteral("new"), newId},
                 {QStringLiteral("id"), row.id},
                 {QStringLiteral("img"), pictureName},
                 {QStringLiteral("type"), billType},
                 {QStringLiteral("full"), billType + QStringLiteral("（") + name + QStringLiteral("）")},
                 {QStringLiteral("name"), name}});

            if (db.scalar(QStringLiteral("select 1 from CKControl where CheckTypeId = :id limit 1"), ids).isNull())
                throw CatalogueError(QStringLiteral("找不到源模板细节数据，ID=%1").arg(row.id));
            if (!db.scalar(QStringLiteral("select 1 from CKControl where CheckTypeId = :new limit 1"), ids).isNull())
                throw CatalogueError(QStringLiteral("模板已经存在，Id=%1").arg(newId));
            const QString columns = QStringLiteral(
                "CtlName, CtlCName, CtlX, CtlY, CtlH, CtlW, CtlLH, SrcX, SrcY, SrcH, SrcW, CtlFontName, CtlFontSize,"
                " BreakFontSize, CtlFontColor, Bold, Italic, UnderLine, FitParam, BreakNum, ShowOrd, NeedShow, NeedPrint,"
                " CtlType, InitValue");
            db.execute(QStringLiteral("insert into CKControl (CheckTypeId, ") + columns + QStringLiteral(") select :new, ")
                           + columns + QStringLiteral(" from CKControl where CheckTypeId = :id order by ID"),
                       ids);
            db.execute(QStringLiteral("insert into DMTable (CheckTypeId, DMName, DMValue)"
                                      " select :new, DMName, DMValue from DMTable where CheckTypeId = :id order by ID"),
                       ids);

            if (!pictureName.isEmpty()) {
                const QString from = findIgnoringCase(context_.getRunPath(), QStringLiteral("Image/") + sourceFile);
                const QString to = findIgnoringCase(pictureFolder(), pictureName);
                // A file of the new name belongs to no template: the id is new.
                QFile::remove(to);
                QFile source(from);
                if (!source.copy(to))
                    throw CatalogueError(QStringLiteral("模板图片复制失败：") + QDir::toNativeSeparators(from)
                                         + QStringLiteral("（") + source.errorString() + QStringLiteral("）"));
                copiedPicture = to;
            }
        });
    } catch (const DatabaseError& error) {
        if (!copiedPicture.isEmpty())
            QFile::remove(copiedPicture);
        context_.messages().show(kChangeFailed + error.text());
        return 0;
    } catch (const CatalogueError& error) {
        if (!copiedPicture.isEmpty())
            QFile::remove(copiedPicture);
        context_.messages().show(kChangeFailed + error.text());
        return 0;
    }
    context_.messages().show(QStringLiteral("克隆模板成功，已新增一个同类模板~"), kHint);
    return newId;
}

int CheckTypeMngLogic::deleteTemplates(const QList<ManagedTemplate>& rows)
{
    UserMessages& messages = context_.messages();
    Database& db = context_.db();
    int deleted = 0;
    if (!rows.isEmpty()
        && messages.ask(QStringLiteral("确认要删除选中的模板吗?删除的模板无法找回，如果暂时不用，可先设置为隐藏。"),
                        QStringLiteral("删除确认"))) {
        try {
            for (const ManagedTemplate& row : rows) {
                SqlQuery stored = db.query(QStringLiteral("select TypeName, ImgFile from ckTypeTable where CheckTypeId = :id"),
                                           {{QStringLiteral("id"), row.id}});
                if (!stored.next())
                    continue;
                const QString typeName = text(stored.value(0));
                const QString picture = text(stored.value(1));
                if (billTypeOfFullName(typeName).isEmpty()) {
                    messages.show(QStringLiteral("获取单据类型失败：") + typeName);
                    continue;
                }
                if (!messages.ask(QStringLiteral("确认删除票据模板【") + typeName + QStringLiteral("】吗？"), QStringLiteral("警告")))
                    continue;
                db.inTransaction([&] {
                    for (const char* table : {"CKControl", "ckTypeTable", "DMTable"})
                        db.execute(QStringLiteral("delete from %1 where CheckTypeId = :id").arg(QString::fromLatin1(table)),
                                   {{QStringLiteral("id"), row.id}});
                });
                ++deleted;
                // A picture another template still shows stays.
                if (!picture.isEmpty()
                    && db.scalar(QStringLiteral("select 1 from ckTypeTable where ImgFile = :img limit 1"),
                                 {{QStringLiteral("img"), picture}})
                           .isNull())
                    QFile::remove(findIgnoringCase(pictureFolder(), picture));
            }
        } catch (const DatabaseError&) {
            messages.show(QStringLiteral("模板删除失败,中止！~"));
        }
    }
    messages.show(QStringLiteral("共删除 %1 个模板！").arg(deleted));
    return deleted;
}

QString CheckTypeMngLogic::pictureFolder() const
{
    const QString folder = findIgnoringCase(context_.getRunPath(), QStringLiteral("Image"));
    QDir().mkpath(folder);
    return folder;
}

} // namespace slipcraft
