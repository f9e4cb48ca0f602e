#include "data/Database.h"
#include "data/DatabaseFile.h"

#include "platform/spreadsheet/Csv.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QHash>
#include <QSet>
#include <QTemporaryFile>
#include <QUuid>
#include <QtEndian>

#include <algorithm>
#include <cmath>

namespace slipcraft {

namespace {

// Offset 68 of the file header; tells our files from other SQLite files.
constexpr quint32 kApplicationId = 0x534C4346; // "SLCF"

QString problem(const char* text, const QString& file)
{
    return QString::fromUtf8(text).arg(QDir::toNativeSeparators(file));
}

// Both at once: a "%2" inside the path must stay as it is.
QString problem(const char* text, const QString& file, const QString& detail)
{
    return QString::fromUtf8(text).arg(QDir::toNativeSeparators(file),
                                       QString(detail).replace(QLatin1Char('\n'), QLatin1Char(' ')));
}

QString resourceText(const QString& name)
{
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly))
        throw DatabaseError(QStringLiteral("Built-in data %1 is missing.").arg(name));
    QString text = QString::fromUtf8(file.readAll());
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    return text;
}

// The rows of a built-in CSV file whose heading is exactly `columns`.
QList<QStringList> seedRows(const QString& resource, const QStringList& columns)
{
    const csv::Parsed parsed = csv::parse(resourceText(resource));
    if (parsed.unclosedQuoteLine)
        throw DatabaseError(QStringLiteral("Built-in data %1 has a quote opened on line %2 that never closes.")
                                .arg(resource)
                                .arg(*parsed.unclosedQuoteLine));
    QList<QStringList> rows;
    for (const QStringList& record : parsed.records) {
        if (record != QStringList{QString()}) // blank lines
            rows << record;
    }
    if (rows.isEmpty() || rows.takeFirst() != columns)
        throw DatabaseError(QStringLiteral("Built-in data %1 has an unexpected heading.").arg(resource));
    for (const QStringList& row : std::as_const(rows)) {
        if (row.size() != columns.size())
            throw DatabaseError(QStringLiteral("Built-in data %1 has a row of %2 fields: %3")
                                    .arg(resource)
                                    .arg(row.size())
                                    .arg(row.join(QLatin1Char(','))));
    }
    return rows;
}

// Inserts rows into table; the names are the program's own, the values are bound.
void insertRows(Database& db, const QString& table, const QStringList& columns,
                const QList<QStringList>& rows)
{
    QStringList quotedNames;
    QStringList placeholders;
    for (qsizetype i = 0; i < columns.size(); ++i) {
        quotedNames << QLatin1Char('"') + columns[i] + QLatin1Char('"');
        placeholders << QStringLiteral(":p%1").arg(i);
    }
    const QString sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                            .arg(table, quotedNames.join(u", "), placeholders.join(u", "));
    for (const QStringList& row : rows) {
        SqlParams params;
        for (qsizetype i = 0; i < row.size(); ++i)
            params.insert(QStringLiteral("p%1").arg(i), row[i]);
        db.execute(sql, params);
    }
}

void seedProducts(Database& db);

void seed(Database& db, ProductData productData)
{
    const QStringList coinColumns{QStringLiteral("币种"), QStringLiteral("缩写"), QStringLiteral("顺序")};
    insertRows(db, QStringLiteral("coins"), coinColumns, seedRows(QStringLiteral(":/data/coins.csv"), coinColumns));

    QList<QStringList> dictionary = seedRows(QStringLiteral(":/data/dictionaries.csv"),
                                             {QStringLiteral("DMName"), QStringLiteral("DMValue")});
    for (QStringList& row : dictionary)
        row.prepend(QStringLiteral("0")); // shared by every template
    insertRows(db, QStringLiteral("DMTable"),
               {QStringLiteral("CheckTypeId"), QStringLiteral("DMName"), QStringLiteral("DMValue")},
               dictionary);

    insertDefaultMatchRules(db);

    // One "省市" row per distinct province and city, in the order of the file.
    const QList<QStringList> regions = seedRows(
        QStringLiteral(":/data/china-regions.csv"),
        {QStringLiteral("code"), QStringLiteral("province"), QStringLiteral("city"), QStringLiteral("district")});
    QList<QStringList> pairs;
    QSet<QStringList> seen;
    for (const QStringList& region : regions) {
        const QStringList pair{QStringLiteral("省市"), region[1], region[2]};
        if (!seen.contains(pair)) {
            seen.insert(pair);
            pairs << pair;
        }
    }
    insertRows(db, QStringLiteral("DMTable2"),
               {QStringLiteral("类型"), QStringLiteral("一级代码"), QStringLiteral("二级代码")}, pairs);

    if (productData == ProductData::Include)
        seedProducts(db);
}

// The bill types the program ships, by the code that names their files.
constexpr const char* kProductCodes[] = {"zp", "jzd", "dhd", "jkd", "cdhp", "jwh", "def", "kdd"};

// The renderer prints a text two average character widths right of its position, one
// em of the Chinese faces; the built-in layouts name where the text should stand, so the
// print position sits one em to the left of it.
int printPositionOf(int textX, int fontSize)
{
    return std::max(0, textX - int(std::lround(fontSize * 254.0 / 72.0)));
}

// One bill type's product data: its items, one default template with its layout and
// options. The screen boxes are the text boxes at the picture's scale, so each box lies
// over its field. The template takes its built-in id when that is free.
void seedProduct(Database& db, const QString& code)
{
    const QString file = QStringLiteral(":/data/%1-%2").arg(code);
    const QJsonObject t = QJsonDocument::fromJson(resourceText(file.arg(QStringLiteral("template.json"))).toUtf8()).object();
    const QString billType = t.value(QStringLiteral("TypeFirstName")).toString();
    const int builtInId = t.value(QStringLiteral("CheckTypeId")).toInt();
    const int screenWidth = t.value(QStringLiteral("TWidth")).toInt();
    const int screenHeight = t.value(QStringLiteral("THeight")).toInt();
    const int paperWidth = t.value(QStringLiteral("PWidth")).toInt();
    const int paperHeight = t.value(QStringLiteral("PHeight")).toInt();
    if (billType.isEmpty() || builtInId <= 0 || screenWidth <= 0 || screenHeight <= 0 || paperWidth <= 0
        || paperHeight <= 0)
        throw DatabaseError(QStringLiteral("Built-in data %1 is incomplete.").arg(file.arg(QStringLiteral("template.json"))));

    const QStringList itemColumns{QStringLiteral("CtlName"), QStringLiteral("CtlLabel"), QStringLiteral("CtlType"),
                                  QStringLiteral("PrintItem"), QStringLiteral("ShowOrd"), QStringLiteral("Groups"),
                                  QStringLiteral("CtlData")};
    QList<QStringList> items = seedRows(file.arg(QStringLiteral("items.csv")), itemColumns);
    QHash<QString, QStringList> itemByName;
    for (QStringList& item : items) {
        itemByName.insert(item[0], item);
        item.prepend(billType);
    }
    insertRows(db, QStringLiteral("NameDict"), QStringList{QStringLiteral("CheckTypeName")} + itemColumns, items);

    const bool idTaken =
        db.scalar(QStringLiteral("select count(*) from ckTypeTable where CheckTypeId=:id"), {{QStringLiteral("id"), builtInId}})
            .toInt()
        > 0;
    const int id = idTaken ? db.scalar(QStringLiteral("select coalesce(max(CheckTypeId), 0) + 1 from ckTypeTable")).toInt()
                           : builtInId;
    const QString name = t.value(QStringLiteral("TypeDescribe")).toString();
    db.execute(QStringLiteral("INSERT INTO ckTypeTable (CheckTypeId, TypeName, TypeFirstName, TypeDescribe, IsDefault, "
                              "IsCommon, Visiable, ImgFile, TWidth, THeight, PWidth, PHeight, XMove, YMove, HVPrint, "
                              "CheckBoxs, ShowOrd) VALUES (:id, :full, :type, :name, :def, :common, :visible, :img, "
                              ":tw, :th, :pw, :ph, :xm, :ym, :hv, :boxes, :ord)"),
               {{QStringLiteral("id"), id},
                {QStringLiteral("full"), billType + QStringLiteral("（") + name + QStringLiteral("）")},
                {QStringLiteral("type"), billType},
                {QStringLiteral("name"), name},
                {QStringLiteral("def"), t.value(QStringLiteral("IsDefault")).toString()},
                {QStringLiteral("common"), t.value(QStringLiteral("IsCommon")).toString()},
                {QStringLiteral("visible"), t.value(QStringLiteral("Visiable")).toString()},
                {QStringLiteral("img"), QStringLiteral("%1%2.jpg").arg(code).arg(id)},
                {QStringLiteral("tw"), screenWidth},
                {QStringLiteral("th"), screenHeight},
                {QStringLiteral("pw"), paperWidth},
                {QStringLiteral("ph"), paperHeight},
                {QStringLiteral("xm"), t.value(QStringLiteral("XMove")).toInt()},
                {QStringLiteral("ym"), t.value(QStringLiteral("YMove")).toInt()},
                {QStringLiteral("hv"), t.value(QStringLiteral("HVPrint")).toInt()},
                {QStringLiteral("boxes"), t.value(QStringLiteral("CheckBoxs")).toString()},
                {QStringLiteral("ord"), t.value(QStringLiteral("ShowOrd")).toInt()}});

    const QJsonObject options = t.value(QStringLiteral("options")).toObject();
    for (auto it = options.begin(); it != options.end(); ++it)
        db.execute(QStringLiteral("INSERT INTO DMTable (CheckTypeId, DMName, DMValue) VALUES (:id, :name, :value)"),
                   {{QStringLiteral("id"), id}, {QStringLiteral("name"), it.key()},
                    {QStringLiteral("value"), it.value().toString()}});

    const QList<QStringList> layout = seedRows(
        file.arg(QStringLiteral("layout.csv")),
        {QStringLiteral("CtlName"), QStringLiteral("CtlX"), QStringLiteral("CtlY"), QStringLiteral("CtlW"),
         QStringLiteral("CtlH"), QStringLiteral("FontSize"), QStringLiteral("FitParam"), QStringLiteral("BreakNum"),
         QStringLiteral("NeedShow")});
    const QString font = t.value(QStringLiteral("FontName")).toString();
    int order = 0;
    for (const QStringList& row : layout) {
        const QStringList item = itemByName.value(row[0]);
        if (item.isEmpty())
            throw DatabaseError(QStringLiteral("Built-in %1 layout names an unknown item: %2").arg(code, row[0]));
        const int x = row[1].toInt();
        const int y = row[2].toInt();
        const int w = row[3].toInt();
        const int h = row[4].toInt();
        const int size = row[5].toInt();
        const bool prints = item[3] == QLatin1String("1") && row[8] == QLatin1String("1");
        db.execute(QStringLiteral("INSERT INTO CKControl (CheckTypeId, CtlName, CtlCName, CtlType, CtlX, CtlY, CtlW, "
                                  "CtlH, CtlLH, SrcX, SrcY, SrcW, SrcH, NeedPrint, NeedShow, InitValue, CtlFontName, "
                                  "CtlFontSize, CtlFontColor, Bold, Italic, UnderLine, BreakNum, BreakFontSize, "
                                  "FitParam, ShowOrd) VALUES (:id, :name, :label, :type, :x, :y, :w, :h, :lh, :sx, "
                                  ":sy, :sw, :sh, :print, :show, '', :font, :size, '', 0, 0, 0, :bn, :bfs, :fit, :ord)"),
                   {{QStringLiteral("id"), id},
                    {QStringLiteral("name"), row[0]},
                    {QStringLiteral("label"), item[1]},
                    {QStringLiteral("type"), item[2]},
                    {QStringLiteral("x"), printPositionOf(x, size)},
                    {QStringLiteral("y"), y},
                    {QStringLiteral("w"), w},
                    {QStringLiteral("h"), h},
                    {QStringLiteral("lh"), 40},
                    {QStringLiteral("sx"), x * screenWidth / paperWidth},
                    {QStringLiteral("sy"), y * screenHeight / paperHeight},
                    {QStringLiteral("sw"), w * screenWidth / paperWidth},
                    {QStringLiteral("sh"), h * screenHeight / paperHeight},
                    {QStringLiteral("print"), prints ? 1 : 0},
                    {QStringLiteral("show"), row[8].toInt()},
                    {QStringLiteral("font"), font},
                    {QStringLiteral("size"), size},
                    {QStringLiteral("bn"), row[7]},
                    {QStringLiteral("bfs"), size - 1},
                    {QStringLiteral("fit"), row[6]},
                    {QStringLiteral("ord"), ++order}});
    }
}

void seedProducts(Database& db)
{
    for (const char* code : kProductCodes)
        seedProduct(db, QString::fromLatin1(code));
}

// A database from before a bill type's form existed gets that bill type's product data;
// one that has its items already is left as it is.
void addMissingProducts(Database& db)
{
    for (const char* code : kProductCodes) {
        const QString file = QStringLiteral(":/data/%1-template.json").arg(QLatin1String(code));
        const QString billType =
            QJsonDocument::fromJson(resourceText(file).toUtf8()).object().value(QStringLiteral("TypeFirstName")).toString();
        const bool known = db.scalar(QStringLiteral("select count(*) from NameDict where CheckTypeName=:type"),
                                     {{QStringLiteral("type"), billType}})
                               .toInt()
                           > 0;
        if (!known)
            seedProduct(db, QString::fromLatin1(code));
    }
}

QString uniqueConnectionName()
{
    return QStringLiteral("slipcraft-prepare-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
}

QString createDatabaseFile(const QString& file, ProductData productData)
{
    const QString folder = QFileInfo(file).absolutePath();
    if (!QDir().mkpath(folder))
        return problem("无法建立数据文件“%1”：它所在的文件夹无法创建，请检查文件夹权限。", file);

    // Built beside the target and renamed into place, so that the target name only ever
    // holds a complete database.
    QTemporaryFile temp(file + QStringLiteral(".XXXXXX"));
    if (!temp.open())
        return problem("无法建立数据文件“%1”：它所在的文件夹不可写，请检查文件夹权限。", file);
    temp.close(); // the engine opens it on its own; two handles would share its locks
    try {
        Database db(temp.fileName(), uniqueConnectionName());
        db.inTransaction([&] {
            db.execute(QStringLiteral("PRAGMA application_id = 1397506886")); // kApplicationId, "SLCF"
            db.execute(QStringLiteral("PRAGMA user_version = 1"));
            createMissingTables(db);
            seed(db, productData);
        });
    } catch (const DatabaseError& error) {
        return problem("无法建立数据文件“%1”：%2", file, error.text());
    }
    temp.setAutoRemove(false);
    if (!QFile::rename(temp.fileName(), file)) {
        QFile::remove(temp.fileName());
        return problem("无法建立数据文件“%1”：新文件无法改名为该文件名，请检查文件夹权限。", file);
    }
    return {};
}

quint32 bigEndian32(const QByteArray& header, int offset)
{
    return qFromBigEndian<quint32>(header.constData() + offset);
}

QString checkExistingFile(const QString& file, ProductData productData)
{
    const QFileInfo info(file);
    switch (databaseFileKind(file)) {
    case DatabaseFileKind::Ours:
        break;
    case DatabaseFileKind::Folder:
        return problem("数据文件“%1”是一个文件夹，不是数据库文件。请移走该文件夹，程序将在下次启动时重新建立数据库。", file);
    case DatabaseFileKind::Unreadable:
        return problem("无法读取数据文件“%1”，请检查文件权限。", file);
    case DatabaseFileKind::Empty:
        return problem("数据文件“%1”是空文件，不是可用的数据库。请删除该文件，程序将在下次启动时重新建立数据库。", file);
    case DatabaseFileKind::Access:
        return problem("数据文件“%1”是Access格式的数据库，本程序不能直接使用。请移走该文件，程序将在下次启动时重新建立数据库。", file);
    case DatabaseFileKind::NotDatabase:
        return problem("数据文件“%1”不是数据库文件。请移走该文件，程序将在下次启动时重新建立数据库。", file);
    case DatabaseFileKind::Truncated:
        return problem("数据文件“%1”不完整（文件被截断，可能是复制未完成或磁盘出错），请用备份文件替换它。", file);
    case DatabaseFileKind::Damaged:
        return problem("数据文件“%1”已损坏（文件头无效），请用备份文件替换它。", file);
    case DatabaseFileKind::OtherProgram:
        return problem("数据文件“%1”是其他程序的数据库，不是本程序的数据文件。请移走该文件，程序将在下次启动时重新建立数据库。", file);
    }

    if (!info.isWritable())
        return problem("数据文件“%1”是只读的，程序无法保存数据，请检查文件权限。", file);
    if (!QFileInfo(info.absolutePath()).isWritable())
        return problem("数据文件“%1”所在的文件夹不可写，程序无法保存数据，请检查文件夹权限。", file);

    try {
        Database db(file, uniqueConnectionName());
        db.inTransaction([&] {
            createMissingTables(db);
            if (productData == ProductData::Include)
                addMissingProducts(db);
        });
    } catch (const DatabaseError& error) {
        return problem("无法打开数据文件“%1”：%2", file, error.text());
    }
    return {};
}

} // namespace

DatabaseFileKind databaseFileKind(const QString& path)
{
    const QFileInfo info(path);
    if (info.isDir())
        return DatabaseFileKind::Folder;
    QFile reader(path);
    if (!reader.open(QIODevice::ReadOnly))
        return DatabaseFileKind::Unreadable;
    const qint64 size = reader.size();
    const QByteArray header = reader.read(100);
    reader.close();

    if (size == 0)
        return DatabaseFileKind::Empty;
    if (!header.startsWith(QByteArrayView("SQLite format 3\0", 16))) {
        const QByteArray signature = header.mid(4, 15);
        if (signature == "Standard Jet DB" || signature == "Standard ACE DB")
            return DatabaseFileKind::Access;
        return DatabaseFileKind::NotDatabase;
    }
    if (header.size() < 100)
        return DatabaseFileKind::Truncated;
    const quint32 storedPageSize = qFromBigEndian<quint16>(header.constData() + 16);
    const quint32 pageSize = storedPageSize == 1 ? 65536 : storedPageSize;
    if (pageSize < 512 || (pageSize & (pageSize - 1)) != 0)
        return DatabaseFileKind::Damaged;
    // The page count is trustworthy only when the change counter matches "version valid for".
    if (bigEndian32(header, 24) == bigEndian32(header, 92) && size < qint64(bigEndian32(header, 28)) * pageSize)
        return DatabaseFileKind::Truncated;
    if (bigEndian32(header, 68) != kApplicationId)
        return DatabaseFileKind::OtherProgram;
    return DatabaseFileKind::Ours;
}

void createMissingTables(Database& db)
{
    db.executeScript(resourceText(QStringLiteral(":/data/schema.sql")));
}

void insertDefaultMatchRules(Database& db)
{
    const QStringList columns{QStringLiteral("MatchType"), QStringLiteral("ItemName"), QStringLiteral("SourceName")};
    insertRows(db, QStringLiteral("MatchColumn"), columns, seedRows(QStringLiteral(":/data/match-columns.csv"), columns));
}

QString prepareDatabaseFile(const QString& path, ProductData productData)
{
    const QFileInfo info(path);
    const QString file = info.absoluteFilePath();
    // A dangling link counts as present: it is not ours to replace.
    if (info.exists() || info.isSymLink())
        return checkExistingFile(file, productData);
    return createDatabaseFile(file, productData);
}

} // namespace slipcraft
