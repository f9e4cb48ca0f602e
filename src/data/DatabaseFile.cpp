#include "data/Database.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryFile>
#include <QUuid>
#include <QtEndian>

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

// Comma-separated rows; a quoted field may hold commas, doubled quotes, tabs and line ends.
QList<QStringList> parseCsv(QStringView text)
{
    QList<QStringList> rows;
    QStringList row;
    QString field;
    bool quoted = false;
    auto endRow = [&] {
        row << field;
        field.clear();
        if (row != QStringList{QString()})
            rows << row;
        row.clear();
    };
    for (qsizetype at = 0; at < text.size(); ++at) {
        const QChar c = text[at];
        if (quoted) {
            if (c != u'"')
                field += c;
            else if (at + 1 < text.size() && text[at + 1] == u'"')
                field += text[++at];
            else
                quoted = false;
        } else if (c == u'"') {
            quoted = true;
        } else if (c == u',') {
            row << field;
            field.clear();
        } else if (c == u'\n') {
            endRow();
        } else if (c == u'\r') {
            if (at + 1 < text.size() && text[at + 1] == u'\n')
                ++at;
            endRow();
        } else {
            field += c;
        }
    }
    if (!field.isEmpty() || !row.isEmpty())
        endRow();
    return rows;
}

// The rows of a built-in CSV file whose heading is exactly `columns`.
QList<QStringList> seedRows(const QString& resource, const QStringList& columns)
{
    QList<QStringList> rows = parseCsv(resourceText(resource));
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

void seed(Database& db)
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

    const QStringList matchColumns{QStringLiteral("MatchType"), QStringLiteral("ItemName"),
                                   QStringLiteral("SourceName")};
    insertRows(db, QStringLiteral("MatchColumn"), matchColumns,
               seedRows(QStringLiteral(":/data/match-columns.csv"), matchColumns));

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
}

QString uniqueConnectionName()
{
    return QStringLiteral("slipcraft-prepare-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
}

QString createDatabaseFile(const QString& file)
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
            db.executeScript(resourceText(QStringLiteral(":/data/schema.sql")));
            seed(db);
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

QString checkExistingFile(const QString& file)
{
    const QFileInfo info(file);
    if (info.isDir())
        return problem("数据文件“%1”是一个文件夹，不是数据库文件。请移走该文件夹，程序将在下次启动时重新建立数据库。", file);

    QFile reader(file);
    if (!reader.open(QIODevice::ReadOnly))
        return problem("无法读取数据文件“%1”，请检查文件权限。", file);
    const qint64 size = reader.size();
    const QByteArray header = reader.read(100);
    reader.close();

    if (size == 0)
        return problem("数据文件“%1”是空文件，不是可用的数据库。请删除该文件，程序将在下次启动时重新建立数据库。", file);
    if (!header.startsWith(QByteArrayView("SQLite format 3\0", 16))) {
        const QByteArray signature = header.mid(4, 15);
        if (signature == "Standard Jet DB" || signature == "Standard ACE DB")
            return problem("数据文件“%1”是Access格式的数据库，本程序不能直接使用。请移走该文件，程序将在下次启动时重新建立数据库。", file);
        return problem("数据文件“%1”不是数据库文件。请移走该文件，程序将在下次启动时重新建立数据库。", file);
    }
    if (header.size() < 100)
        return problem("数据文件“%1”不完整（文件被截断，可能是复制未完成或磁盘出错），请用备份文件替换它。", file);

    const quint32 storedPageSize = qFromBigEndian<quint16>(header.constData() + 16);
    const quint32 pageSize = storedPageSize == 1 ? 65536 : storedPageSize;
    if (pageSize < 512 || (pageSize & (pageSize - 1)) != 0)
        return problem("数据文件“%1”已损坏（文件头无效），请用备份文件替换它。", file);
    // The page count is trustworthy only when the change counter matches "version valid for".
    if (bigEndian32(header, 24) == bigEndian32(header, 92)
        && size < qint64(bigEndian32(header, 28)) * pageSize)
        return problem("数据文件“%1”不完整（文件被截断，可能是复制未完成或磁盘出错），请用备份文件替换它。", file);
    if (bigEndian32(header, 68) != kApplicationId)
        return problem("数据文件“%1”是其他程序的数据库，不是本程序的数据文件。请移走该文件，程序将在下次启动时重新建立数据库。", file);

    if (!info.isWritable())
        return problem("数据文件“%1”是只读的，程序无法保存数据，请检查文件权限。", file);
    if (!QFileInfo(info.absolutePath()).isWritable())
        return problem("数据文件“%1”所在的文件夹不可写，程序无法保存数据，请检查文件夹权限。", file);

    try {
        Database db(file, uniqueConnectionName());
        db.inTransaction([&] { db.executeScript(resourceText(QStringLiteral(":/data/schema.sql"))); });
    } catch (const DatabaseError& error) {
        return problem("无法打开数据文件“%1”：%2", file, error.text());
    }
    return {};
}

} // namespace

QString prepareDatabaseFile(const QString& path)
{
    const QFileInfo info(path);
    const QString file = info.absoluteFilePath();
    // A dangling link counts as present: it is not ours to replace.
    if (info.exists() || info.isSymLink())
        return checkExistingFile(file);
    return createDatabaseFile(file);
}

} // namespace slipcraft
