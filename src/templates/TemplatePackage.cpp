#include "templates/TemplatePackage.h"

#include "platform/IniFile.h"
#include "platform/RunPath.h"
#include "shell/AppContext.h"
#include "shell/UserMessages.h"
#include "templates/Catalogue.h"
#include "wording/Functions.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QSaveFile>
#include <QSqlRecord>

#include <atomic>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <optional>

namespace slipcraft {

namespace {

// The package's own tables. Further columns beyond the older packages' (paper size,
// colours, printed box sizes, font colour) travel too, so a template prints the same
// wherever it is imported.
const char* const kPackageSchema = R"(
CREATE TABLE _ckTypeTable (
  CheckTypeID INTEGER,
  typename VARCHAR(100) COLLATE NOCASE,
  TypeFirstName VARCHAR(50) COLLATE NOCASE,
  TypeDescribe VARCHAR(100) COLLATE NOCASE,
  xmove INTEGER,
  ymove INTEGER,
  theight INTEGER,
  twidth INTEGER,
  hvPrint INTEGER,
  ImgFile VARCHAR(100) COLLATE NOCASE,
  visiable VARCHAR(20) COLLATE NOCASE,
  CheckBoxs VARCHAR(255) COLLATE NOCASE,
  IsCommon VARCHAR(10) COLLATE NOCASE,
  ShowOrd INTEGER,
  IsDefault VARCHAR(10) COLLATE NOCASE,
  Img_Bytes BLOB,
  Ini_Text TEXT,
  PWidth INTEGER,
  PHeight INTEGER,
  InputBgColor INTEGER,
  InputFtColor INTEGER,
  PreImgURL VARCHAR(255) COLLATE NOCASE
);
CREATE TABLE _ckControl (
  ID INTEGER PRIMARY KEY AUTOINCREMENT,
  CheckTypeID INTEGER,
  CtlName VARCHAR(50) COLLATE NOCASE,
  CtlCName VARCHAR(50) COLLATE NOCASE,
  CtlType VARCHAR(30) COLLATE NOCASE,
  CtlX INTEGER,
  CtlY INTEGER,
  CtlH INTEGER DEFAULT 0,
  CtlW INTEGER DEFAULT 0,
  CtlLH INTEGER,
  SrcX INTEGER,
  SrcY INTEGER,
  SrcH INTEGER,
  SrcW INTEGER,
  NeedPrint INTEGER,
  NeedShow INTEGER,
  CtlFontName VARCHAR(50) COLLATE NOCASE,
  CtlFontSize INTEGER,
  CtlFontColor VARCHAR(20) COLLATE NOCASE,
  BreakFontSize INTEGER,
  Bold INTEGER,
  Italic INTEGER,
  UnderLine INTEGER,
  FitParam VARCHAR(10) COLLATE NOCASE,
  BreakNum VARCHAR(10) COLLATE NOCASE,
  InitValue VARCHAR(80) COLLATE NOCASE,
  ShowOrd INTEGER
);
CREATE TABLE _config (
  Id INTEGER PRIMARY KEY AUTOINCREMENT,
  DMName VARCHAR(50) COLLATE NOCASE,
  DMValue VARCHAR(200) COLLATE NOCASE,
  CheckTypeId INTEGER
);
)";

// An item column and what a missing value becomes, in both directions.
struct ItemColumn {
    const char* name;
    bool number;
    const char* missing; // null: written as read
};

const ItemColumn kItemColumns[] = {
    {"CtlName", false, nullptr},     {"CtlCName", false, nullptr},    {"CtlType", false, "Text"},
    {"CtlX", true, nullptr},         {"CtlY", true, nullptr},         {"CtlH", true, "0"},
    {"CtlW", true, "0"},             {"CtlLH", true, "50"},           {"SrcX", true, "10"},
    {"SrcY", true, "10"},            {"SrcH", true, "20"},            {"SrcW", true, "50"},
    {"NeedPrint", true, "1"},        {"NeedShow", true, "1"},         {"CtlFontName", false, nullptr},
    {"CtlFontSize", true, nullptr},  {"CtlFontColor", false, nullptr}, {"BreakFontSize", true, "7"},
    {"Bold", true, "0"},             {"Italic", true, "0"},           {"UnderLine", true, "0"},
    {"FitParam", false, nullptr},    {"BreakNum", false, ""},         {"InitValue", false, nullptr},
    {"ShowOrd", true, "0"},
};

// The first bytes of every SQLite database file.
const QByteArray kSqliteMagic("SQLite format 3\0", 16);

QString name(const char* column)
{
    return QString::fromLatin1(column);
}

QVariant field(const QSqlRecord& record, const QString& column)
{
    const int index = record.indexOf(column); // without regard to case
    return index < 0 ? QVariant() : record.value(index);
}

QString text(const QVariant& value)
{
    return value.isNull() ? QString() : value.toString();
}

// A whole number as stored; a null QVariant for a missing value; nothing when the value
// is something else.
std::optional<QVariant> wholeNumber(const QVariant& value)
{
    if (value.isNull())
        return QVariant();
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return QVariant(value.toLongLong());
    case QMetaType::Double: {
        const double number = value.toDouble();
        if (std::isfinite(number) && number == std::trunc(number) && std::fabs(number) < 1e15)
            return QVariant(qlonglong(number));
        return std::nullopt;
    }
    case QMetaType::QString: {
        const QString typed = trimText(value.toString());
        if (typed.isEmpty())
            return QVariant();
        bool ok = false;
        const qlonglong number = typed.toLongLong(&ok);
        return ok ? std::optional<QVariant>(QVariant(number)) : std::nullopt;
    }
    default:
        return std::nullopt;
    }
}

QVariant wholeNumberOrThrow(const QVariant& value, const QString& what)
{
    const std::optional<QVariant> number = wholeNumber(value);
    if (!number)
        throw PackageError(what + QStringLiteral(" 不是整数：") + value.toString());
    return *number;
}

// One item row with the missing values filled in; throws PackageError when a number
// column holds no whole number.
SqlParams itemFromRecord(const QSqlRecord& record, int position)
{
    SqlParams item;
    for (const ItemColumn& column : kItemColumns) {
        const QString key = name(column.name);
        const QVariant raw = field(record, key);
        QVariant value;
        if (column.number) {
            value = wholeNumberOrThrow(raw, QStringLiteral("第%1个项目的%2").arg(position).arg(key));
            const bool missing = value.isNull() || (key == QLatin1String("CtlLH") && value.toLongLong() == 0);
            if (missing && column.missing)
                value = QVariant(QString::fromLatin1(column.missing).toLongLong());
        } else {
            const bool missing = raw.isNull() || (column.missing && trimText(raw.toString()).isEmpty());
            if (missing && column.missing)
                value = QString::fromLatin1(column.missing);
            else if (raw.isNull())
                // An older package without the column gives an empty initial value.
                value = key == QLatin1String("InitValue") && record.indexOf(key) < 0 ? QVariant(QString()) : QVariant();
            else
                value = raw.toString();
        }
        item.insert(key, value);
    }
    return item;
}

QString itemColumnList()
{
    QStringList columns;
    for (const ItemColumn& column : kItemColumns)
        columns << name(column.name);
    return columns.join(QStringLiteral(", "));
}

QString itemPlaceholderList()
{
    QStringList placeholders;
    for (const ItemColumn& column : kItemColumns)
        placeholders << QLatin1Char(':') + name(column.name);
    return placeholders.join(QStringLiteral(", "));
}

// A picture no decoder reads is refused; the program reads pictures by their content.
void checkPicture(const QByteArray& bytes)
{
    if (bytes.isEmpty())
        return;
    QBuffer buffer;
    buffer.setData(bytes);
    QImageReader reader(&buffer);
    if (reader.read().isNull())
        throw PackageError(QStringLiteral("模板图片无法读取（") + reader.errorString() + QStringLiteral("）"));
}

QString uniqueConnectionName(const char* purpose)
{
    static std::atomic<int> counter{0};
    return QStringLiteral("template-package-%1-%2").arg(QString::fromLatin1(purpose)).arg(++counter);
}

QString refusal(const QString& path, const QString& reason)
{
    return QDir::toNativeSeparators(path) + QStringLiteral(" 不是可用的票据包：") + reason;
}

// Writes a picture file and, unless kept, puts back what was there before.
class PictureSwap {
public:
    PictureSwap() = default;
    PictureSwap(const PictureSwap&) = delete;
    PictureSwap& operator=(const PictureSwap&) = delete;
    ~PictureSwap()
    {
        if (!written_ || kept_)
            return;
        if (!hadOld_) {
            QFile::remove(path_);
            return;
        }
        QSaveFile file(path_);
        if (file.open(QIODevice::WriteOnly) && file.write(old_) == old_.size())
            file.commit();
    }

    void write(const QString& path, const QByteArray& bytes)
    {
        QFile old(path);
        if (old.exists()) {
            if (!old.open(QIODevice::ReadOnly))
                throw PackageError(QStringLiteral("无法读取图片文件 ") + path + QStringLiteral("：") + old.errorString());
            old_ = old.readAll();
            hadOld_ = true;
        }
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
            throw PackageError(QStringLiteral("无法写入图片文件 ") + path + QStringLiteral("：") + file.errorString());
        path_ = path;
        written_ = true;
    }

    void keep() { kept_ = true; }

private:
    QString path_;
    QByteArray old_;
    bool hadOld_ = false;
    bool written_ = false;
    bool kept_ = false;
};

// A file being written, removed on the way out unless it has been moved into place.
class PartialFile {
public:
    explicit PartialFile(const QString& path)
        : path_(path)
    {
    }
    PartialFile(const PartialFile&) = delete;
    PartialFile& operator=(const PartialFile&) = delete;
    ~PartialFile() { QFile::remove(path_); }

private:
    QString path_;
};

void writeEntry(Database& package, const PackagedTemplate& t)
{
    const auto failed = [&t](const QString& prefix, const QString& error) {
        return PackageError(prefix + t.typeName + QStringLiteral("（") + error + QStringLiteral("）"));
    };
    try {
        package.execute(
            QStringLiteral("insert into _ckTypeTable (CheckTypeID, typename, TypeFirstName, TypeDescribe, xmove, ymove,"
                           " theight, twidth, hvPrint, ImgFile, visiable, CheckBoxs, IsCommon, ShowOrd, IsDefault,"
                           " Img_Bytes, Ini_Text, PWidth, PHeight, InputBgColor, InputFtColor, PreImgURL)"
                           " values (:id, :name, :type, :describe, :x, :y, :h, :w, :hv, :img, :visible, :boxes,"
                           " :common, 0, :default, :picture, ' ', :pw, :ph, :bg, :ft, :url)"),
            {{QStringLiteral("id"), t.packageId},
             {QStringLiteral("name"), t.typeName},
             {QStringLiteral("type"), t.billType},
             {QStringLiteral("describe"), t.describe},
             {QStringLiteral("x"), t.xMove},
             {QStringLiteral("y"), t.yMove},
             {QStringLiteral("h"), t.height},
             {QStringLiteral("w"), t.width},
             {QStringLiteral("hv"), t.hvPrint},
             {QStringLiteral("img"), t.imgFile},
             {QStringLiteral("visible"), QStringLiteral("启用")},
             {QStringLiteral("boxes"), t.checkBoxs},
             {QStringLiteral("common"), QStringLiteral("是")},
             {QStringLiteral("default"), QStringLiteral("默认")},
             {QStringLiteral("picture"), t.picture.isEmpty() ? QVariant() : QVariant(t.picture)},
             {QStringLiteral("pw"), t.paperWidth},
             {QStringLiteral("ph"), t.paperHeight},
             {QStringLiteral("bg"), t.inputBgColor},
             {QStringLiteral("ft"), t.inputFtColor},
             {QStringLiteral("url"), t.preImgUrl}});
    } catch (const DatabaseError& error) {
        throw failed(QStringLiteral("导出失败，单据："), error.text());
    }
    try {
        const QString insert = QStringLiteral("insert into _ckControl (CheckTypeID, ") + itemColumnList()
            + QStringLiteral(") values (:CheckTypeID, ") + itemPlaceholderList() + QLatin1Char(')');
        for (SqlParams item : t.items) {
            item.insert(QStringLiteral("CheckTypeID"), t.packageId);
            package.execute(insert, item);
        }
    } catch (const DatabaseError& error) {
        throw PackageError(QStringLiteral("Export Controls Error:") + error.text());
    }
    try {
        for (const auto& [dmName, dmValue] : t.options)
            package.execute(QStringLiteral("insert into _config (DMName, DMValue, CheckTypeId) values (:name, :value, :id)"),
                            {{QStringLiteral("name"), dmName}, {QStringLiteral("value"), dmValue},
                             {QStringLiteral("id"), t.packageId}});
    } catch (const DatabaseError& error) {
        throw failed(QStringLiteral("导出配置项目失败-"), error.text());
    }
}

} // namespace

PackageError::PackageError(const QString& text)
    : std::runtime_error(text.toStdString())
    , text_(text)
{
}

QString billTypeOfFullName(const QString& typeName)
{
    qsizetype end = typeName.indexOf(QStringLiteral("（"));
    if (end < 0)
        end = typeName.indexOf(QLatin1Char('('));
    return end > 0 ? typeName.left(end) : QString();
}

TemplatePackage::TemplatePackage(const QString& path)
    : path_(path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw PackageError(QStringLiteral("无法打开票据包 ") + QDir::toNativeSeparators(path) + QStringLiteral("：")
                           + file.errorString());
    if (file.read(kSqliteMagic.size()) != kSqliteMagic)
        throw PackageError(refusal(path, QStringLiteral("文件格式不对")));
    file.close();

    const QString copy = copyFolder_.filePath(QStringLiteral("package.db"));
    if (!copyFolder_.isValid() || !file.copy(copy))
        throw PackageError(QStringLiteral("无法读取票据包 ") + QDir::toNativeSeparators(path) + QStringLiteral("：")
                           + (copyFolder_.isValid() ? file.errorString() : copyFolder_.errorString()));
    QFile::setPermissions(copy, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    db_ = std::make_unique<Database>(copy, uniqueConnectionName("read"));
    try {
        const QStringList check = db_->textColumn(QStringLiteral("pragma quick_check"));
        if (check != QStringList{QStringLiteral("ok")})
            throw PackageError(refusal(path, QStringLiteral("文件已损坏（") + check.value(0) + QStringLiteral("）")));
        const auto columns = [this](const QString& table) {
            QStringList names = db_->textColumn(QStringLiteral("select name from pragma_table_info(:table)"),
                                                {{QStringLiteral("table"), table}});
            for (QString& column : names)
                column = column.toLower();
            return names;
        };
        const auto require = [&](const QString& table, const QStringList& needed) {
            const QStringList present = columns(table);
            if (present.isEmpty())
                throw PackageError(refusal(path, QStringLiteral("缺少表 ") + table));
            for (const QString& column : needed)
                if (!present.contains(column.toLower()))
                    throw PackageError(refusal(path, QStringLiteral("表 ") + table + QStringLiteral(" 缺少列 ") + column));
        };
        require(QStringLiteral("_ckTypeTable"), {QStringLiteral("CheckTypeID"), QStringLiteral("typename")});
        currentFormat_ = !columns(QStringLiteral("_config")).isEmpty();
        if (currentFormat_) {
            require(QStringLiteral("_config"), {QStringLiteral("DMName"), QStringLiteral("DMValue"), QStringLiteral("CheckTypeId")});
            require(QStringLiteral("_ckControl"), {QStringLiteral("CheckTypeID"), QStringLiteral("CtlName")});
        }
        // Reading every template row now finds damage that the quick check lets pass.
        db_->textColumn(QStringLiteral("select typename from _ckTypeTable"));
    } catch (const DatabaseError& error) {
        throw PackageError(refusal(path, QStringLiteral("文件已损坏（") + error.text() + QStringLiteral("）")));
    }
}

TemplatePackage::~TemplatePackage() = default;

QStringList TemplatePackage::entryNames()
{
    QStringList names;
    try {
        for (const QString& typeName : db_->textColumn(QStringLiteral("select typename from _ckTypeTable order by rowid")))
            if (!trimText(typeName).isEmpty())
                names << typeName;
    } catch (const DatabaseError& error) {
        throw PackageError(refusal(path_, error.text()));
    }
    return names;
}

PackagedTemplate TemplatePackage::readEntry(const QString& typeName)
{
    PackagedTemplate t;
    try {
        SqlQuery row = db_->query(
            QStringLiteral("select * from _ckTypeTable where typename = :name order by rowid limit 1"),
            {{QStringLiteral("name"), typeName}});
        if (!row.next())
            throw PackageError(QDir::toNativeSeparators(path_) + QStringLiteral(" 中没有模板：") + typeName);
        const QSqlRecord record = row.record();
        const QVariant packageId = wholeNumberOrThrow(field(record, QStringLiteral("CheckTypeID")), QStringLiteral("CheckTypeID"));
        t.packageId = packageId.isNull() ? 0 : packageId.toInt();
        t.typeName = text(field(record, QStringLiteral("typename")));
        t.billType = trimText(text(field(record, QStringLiteral("TypeFirstName"))));
        t.describe = text(field(record, QStringLiteral("TypeDescribe")));
        const std::pair<QVariant*, const char*> numbers[] = {
            {&t.xMove, "xmove"},         {&t.yMove, "ymove"},         {&t.height, "theight"},
            {&t.width, "twidth"},        {&t.hvPrint, "hvPrint"},     {&t.paperWidth, "PWidth"},
            {&t.paperHeight, "PHeight"}, {&t.inputBgColor, "InputBgColor"}, {&t.inputFtColor, "InputFtColor"},
        };
        for (const auto& [target, column] : numbers)
            *target = wholeNumberOrThrow(field(record, name(column)), name(column));
        t.imgFile = text(field(record, QStringLiteral("ImgFile")));
        t.checkBoxs = text(field(record, QStringLiteral("CheckBoxs")));
        t.preImgUrl = text(field(record, QStringLiteral("PreImgURL")));
        t.picture = field(record, QStringLiteral("Img_Bytes")).toByteArray();
        checkPicture(t.picture);

        if (currentFormat_) {
            SqlQuery items = db_->query(QStringLiteral("select * from _ckControl where CheckTypeID = :id order by rowid"),
                                        {{QStringLiteral("id"), t.packageId}});
            while (items.next())
                t.items << itemFromRecord(items.record(), int(t.items.size()) + 1);
            SqlQuery options = db_->query(
                QStringLiteral("select DMName, DMValue from _config where CheckTypeId = :id order by rowid"),
                {{QStringLiteral("id"), t.packageId}});
            while (options.next())
                if (!options.value(0).isNull())
                    t.options.append({options.value(0).toString(), text(options.value(1))});
        }
    } catch (const DatabaseError& error) {
        throw PackageError(refusal(path_, error.text()));
    } catch (const PackageError& error) {
        if (error.text().startsWith(QDir::toNativeSeparators(path_)))
            throw;
        throw PackageError(QDir::toNativeSeparators(path_) + QStringLiteral(" 中的模板 ") + typeName
                           + QStringLiteral(" 已损坏：") + error.text());
    }
    return t;
}

PackagedTemplate loadInstalledTemplate(AppContext& context, const QString& typeName, QString* pictureProblem)
{
    Database& db = context.db();
    PackagedTemplate t;
    SqlQuery row = db.query(QStringLiteral("select * from ckTypeTable where TypeName = :name order by CheckTypeId limit 1"),
                            {{QStringLiteral("name"), typeName}});
    if (!row.next())
        throw PackageError(QStringLiteral("没有这个模板"));
    const QSqlRecord record = row.record();
    t.packageId = field(record, QStringLiteral("CheckTypeId")).toInt();
    t.typeName = text(field(record, QStringLiteral("TypeName")));
    t.billType = trimText(text(field(record, QStringLiteral("TypeFirstName"))));
    if (t.billType.isEmpty())
        t.billType = billTypeOfFullName(t.typeName);
    t.describe = text(field(record, QStringLiteral("TypeDescribe")));
    t.xMove = field(record, QStringLiteral("XMove"));
    t.yMove = field(record, QStringLiteral("YMove"));
    t.height = field(record, QStringLiteral("THeight"));
    t.width = field(record, QStringLiteral("TWidth"));
    t.hvPrint = field(record, QStringLiteral("HVPrint"));
    t.paperWidth = field(record, QStringLiteral("PWidth"));
    t.paperHeight = field(record, QStringLiteral("PHeight"));
    t.inputBgColor = field(record, QStringLiteral("InputBgColor"));
    t.inputFtColor = field(record, QStringLiteral("InputFtColor"));
    t.imgFile = text(field(record, QStringLiteral("ImgFile")));
    t.checkBoxs = text(field(record, QStringLiteral("CheckBoxs")));
    t.preImgUrl = text(field(record, QStringLiteral("PreImgURL")));

    SqlQuery items = db.query(QStringLiteral("select * from CKControl where CheckTypeId = :id order by ID"),
                              {{QStringLiteral("id"), t.packageId}});
    while (items.next())
        t.items << itemFromRecord(items.record(), int(t.items.size()) + 1);
    SqlQuery options = db.query(QStringLiteral("select DMName, DMValue from DMTable where CheckTypeId = :id order by ID"),
                                {{QStringLiteral("id"), t.packageId}});
    while (options.next())
        t.options.append({text(options.value(0)), text(options.value(1))});

    if (!t.imgFile.isEmpty()) {
        const QString path = findIgnoringCase(context.getRunPath(), QStringLiteral("Image/") + t.imgFile);
        QFile picture(path);
        if (picture.open(QIODevice::ReadOnly))
            t.picture = picture.readAll();
        if (t.picture.isEmpty() && pictureProblem)
            *pictureProblem = QStringLiteral("图片获取失败,") + QDir::toNativeSeparators(path);
    }
    return t;
}

ExportResult exportTemplates(AppContext& context, const QStringList& typeNames, const QString& target,
                             const std::function<void(int done)>& progress)
{
    const QFileInfo targetInfo(target);
    const auto unwritable = [&target](const QString& reason) {
        return PackageError(QStringLiteral("无法写入票据包 ") + QDir::toNativeSeparators(target) + QStringLiteral("：") + reason);
    };
    if (!targetInfo.absoluteDir().exists())
        throw unwritable(QStringLiteral("文件夹不存在"));
    // Written beside the target and put in its place when done: an export that fails
    // leaves no half package and keeps the file it would have replaced.
    const QString partial = targetInfo.absoluteDir().filePath(
        QLatin1Char('.') + targetInfo.fileName() + QStringLiteral(".%1.part").arg(QCoreApplication::applicationPid()));
    QFile::remove(partial);
    {
        QFile create(partial);
        if (!create.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            throw unwritable(create.errorString());
    }
    const PartialFile removeUnlessMoved(partial);

    ExportResult result;
    {
        Database package(partial, uniqueConnectionName("write"));
        try {
            package.inTransaction([&] {
                package.executeScript(QString::fromLatin1(kPackageSchema));
                package.execute(
                    QStringLiteral("insert into _config (DMName, DMValue, CheckTypeId) values ('version', :version, 0)"),
                    {{QStringLiteral("version"), context.versionText()}});
            });
        } catch (const DatabaseError& error) {
            throw unwritable(error.text());
        }

        UserMessages& messages = context.messages();
        const auto fail = [&](const QString& typeName, const QString& text) {
            messages.show(text);
            recordLastError(context, text);
            result.failed << typeName;
        };
        const auto exportFailed = [](const QString& typeName, const QString& reason) {
            return QStringLiteral("导出失败，单据：") + typeName + QStringLiteral("（") + reason + QStringLiteral("）");
        };
        QStringList seen;
        int done = 0;
        for (const QString& listed : typeNames) {
            const QString typeName = trimText(listed);
            if (progress)
                progress(done++);
            if (typeName.isEmpty() || seen.contains(typeName))
                continue;
            seen << typeName;
            PackagedTemplate t;
            try {
                QString pictureProblem;
                t = loadInstalledTemplate(context, typeName, &pictureProblem);
                if (!pictureProblem.isEmpty())
                    messages.show(pictureProblem);
            } catch (const PackageError& error) {
                fail(typeName, exportFailed(typeName, error.text()));
                continue;
            } catch (const DatabaseError& error) {
                fail(typeName, exportFailed(typeName, error.text()));
                continue;
            }
            try {
                package.inTransaction([&] { writeEntry(package, t); });
                result.exported << typeName;
            } catch (const PackageError& error) {
                fail(typeName, error.text());
            } catch (const DatabaseError& error) {
                fail(typeName, exportFailed(typeName, error.text()));
            }
        }
        if (progress)
            progress(done);
    }
    if (result.exported.isEmpty())
        return result;
    QFile::setPermissions(partial, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup
                                       | QFileDevice::ReadOther);
    if (std::rename(QFile::encodeName(partial).constData(), QFile::encodeName(targetInfo.absoluteFilePath()).constData())
        != 0)
        throw unwritable(QString::fromLocal8Bit(std::strerror(errno)));
    return result;
}

QString importProblem(AppContext& context, const PackagedTemplate& entry)
{
    if (entry.packageId <= 0)
        return QStringLiteral("票据包中的模板编号无效：%1").arg(entry.packageId);
    const QString billType = entry.billType.isEmpty() ? billTypeOfFullName(entry.typeName) : entry.billType;
    if (billType.isEmpty())
        return QStringLiteral("无法确定票据类型");
    if (Catalogue::getTypeCodeByTypeName(billType).isEmpty()
        && context.catalogue().loadCheckTypeIDByTypeFullName(entry.typeName) <= 0)
        return QStringLiteral("票据类型“") + billType + QStringLiteral("”没有类型编码，只能替换同名的已有模板");
    return {};
}

ImportOutcome importPackagedTemplate(AppContext& context, const PackagedTemplate& entry, bool currentFormat,
                                     const std::function<bool(const QString& typeName)>& replace)
{
    ImportOutcome outcome;
    Database& db = context.db();
    Catalogue& catalogue = context.catalogue();
    try {
        outcome.problem = importProblem(context, entry);
        if (!outcome.problem.isEmpty())
            return outcome;
        const QString billType = entry.billType.isEmpty() ? billTypeOfFullName(entry.typeName) : entry.billType;
        QList<int> installed;
        SqlQuery same = db.query(QStringLiteral("select CheckTypeId from ckTypeTable where TypeName = :name order by CheckTypeId"),
                                 {{QStringLiteral("name"), entry.typeName}});
        while (same.next())
            installed << same.value(0).toInt();
        if (!installed.isEmpty() && !(replace && replace(entry.typeName))) {
            outcome.status = ImportStatus::Kept;
            outcome.id = installed.first();
            return outcome;
        }
        QString code = Catalogue::getTypeCodeByTypeName(billType);
        if (code.isEmpty())
            code = QStringLiteral("img");

        const QString imageFolder = findIgnoringCase(context.getRunPath(), QStringLiteral("Image"));
        if (!entry.picture.isEmpty() && !QDir().mkpath(imageFolder))
            throw PackageError(QStringLiteral("无法建立图片文件夹 ") + QDir::toNativeSeparators(imageFolder));
        PictureSwap picture;
        int id = 0;
        db.inTransaction([&] {
            for (int old : installed)
                for (const char* table : {"CKControl", "DMTable"})
                    db.execute(QStringLiteral("delete from %1 where CheckTypeId = :id").arg(QString::fromLatin1(table)),
                               {{QStringLiteral("id"), old}});
            db.execute(QStringLiteral("delete from ckTypeTable where TypeName = :name"),
                       {{QStringLiteral("name"), entry.typeName}});
            id = installed.isEmpty() ? catalogue.loadMaxNewCheckTypeId() : installed.first();
            const QString pictureName = code + QString::number(id) + QStringLiteral(".jpg");

            // The package's offsets fit the exporter's printer; this one's are those of
            // the bill type's first template, when there is one.
            QVariant xMove, yMove;
            try {
                int x = 0, y = 0;
                if (catalogue.loadUserXYMoveByFirstName(billType, x, y)) {
                    xMove = x;
                    yMove = y;
                }
            } catch (const CatalogueError&) {
                xMove = entry.xMove;
                yMove = entry.yMove;
            }
            db.execute(
                QStringLiteral("insert into ckTypeTable (CheckTypeId, TypeName, TypeFirstName, TypeDescribe, XMove, YMove,"
                               " THeight, TWidth, HVPrint, PWidth, PHeight, InputBgColor, InputFtColor, PreImgURL,"
                               " ImgFile, Visiable, CheckBoxs, IsCommon, ShowOrd, IsDefault)"
                               " values (:id, :name, :type, :describe, :x, :y, :h, :w, :hv, :pw, :ph, :bg, :ft, :url,"
                               " :img, :visible, :boxes, :common, 0, '0')"),
                {{QStringLiteral("id"), id},
                 {QStringLiteral("name"), entry.typeName},
                 {QStringLiteral("type"), billType},
                 {QStringLiteral("describe"), entry.describe},
                 {QStringLiteral("x"), xMove},
                 {QStringLiteral("y"), yMove},
                 {QStringLiteral("h"), entry.height},
                 {QStringLiteral("w"), entry.width},
                 {QStringLiteral("hv"), entry.hvPrint},
                 {QStringLiteral("pw"), entry.paperWidth},
                 {QStringLiteral("ph"), entry.paperHeight},
                 {QStringLiteral("bg"), entry.inputBgColor},
                 {QStringLiteral("ft"), entry.inputFtColor},
                 {QStringLiteral("url"), entry.preImgUrl},
                 {QStringLiteral("img"), pictureName},
                 {QStringLiteral("visible"), QStringLiteral("启用")},
                 {QStringLiteral("boxes"), entry.checkBoxs},
                 {QStringLiteral("common"), QStringLiteral("是")}});
            if (currentFormat) {
                const QString insert = QStringLiteral("insert into CKControl (CheckTypeId, ") + itemColumnList()
                    + QStringLiteral(") values (:CheckTypeId, ") + itemPlaceholderList() + QLatin1Char(')');
                for (SqlParams item : entry.items) {
                    item.insert(QStringLiteral("CheckTypeId"), id);
                    db.execute(insert, item);
                }
                for (const auto& [dmName, dmValue] : entry.options)
                    db.execute(QStringLiteral("insert into DMTable (CheckTypeId, DMName, DMValue) values (:id, :name, :value)"),
                               {{QStringLiteral("id"), id}, {QStringLiteral("name"), dmName}, {QStringLiteral("value"), dmValue}});
            }
            // Last, so that a statement that fails leaves the picture alone; a commit
            // that fails puts the old one back.
            if (!entry.picture.isEmpty())
                picture.write(findIgnoringCase(imageFolder, pictureName), entry.picture);
        });
        picture.keep();
        outcome.status = ImportStatus::Imported;
        outcome.id = id;
        outcome.problem.clear();
    } catch (const DatabaseError& error) {
        outcome.problem = error.text();
    } catch (const CatalogueError& error) {
        outcome.problem = error.text();
    } catch (const PackageError& error) {
        outcome.problem = error.text();
    }
    return outcome;
}

QString proposedPackageName(const QStringList& selected)
{
    if (selected.isEmpty())
        return QStringLiteral("Marrowind票据模板") + kPackageSuffix;
    QString name = selected.first();
    if (const qsizetype open = name.indexOf(QStringLiteral("（")); open >= 0)
        name.replace(open, 1, QLatin1Char('-'));
    if (const qsizetype close = name.indexOf(QStringLiteral("）")); close >= 0)
        name.remove(close, 1);
    return selected.size() == 1 ? name + kPackageSuffix
                                : name + QStringLiteral("等%1个模板").arg(selected.size()) + kPackageSuffix;
}

QString importReport(int imported, int failed, int kept)
{
    QString report;
    if (failed == 0)
        report = QStringLiteral("导入结束，成功导入单据%1个!").arg(imported);
    else if (imported > 0)
        report = QStringLiteral("导入结束，成功导入单据%1个，失败%2个!").arg(imported).arg(failed);
    else
        report = QStringLiteral("导入结束，失败%1个!").arg(failed);
    if (kept > 0)
        report += QStringLiteral("（保留已有的同名模板%1个）").arg(kept);
    return report;
}

QString exportReport(int exported, int failed)
{
    if (failed == 0)
        return QStringLiteral("导出完成,成功导出%1个单据！").arg(exported);
    return QStringLiteral("导出结束,失败%1个模板！").arg(failed)
        + (exported == 0 ? QStringLiteral(",模板未能导出成功！") : QStringLiteral("成功导出%1个模板").arg(exported));
}

void recordLastError(AppContext& context, const QString& text)
{
    context.userIniFile().writeString(QStringLiteral("ERROR"), QStringLiteral("LASTERROR"), text);
}

} // namespace slipcraft
