#include "records/GridConfig.h"

#include "data/Database.h"
#include "platform/IniFile.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>

namespace slipcraft {

namespace {
constexpr int kMissingWidth = 40;
constexpr int kShownAgainWidth = 50;
// Bound values per statement, well below the engine's limit.
constexpr qsizetype kKeysPerStatement = 500;
} // namespace

QString gridWidthKey(const QString& gridName, int column)
{
    return gridName.toUpper() + QStringLiteral(".W") + QString::number(column);
}

bool saveGridLayout(IniFile& ini, const QString& windowName, const QString& gridName,
                    const QList<GridColumnLayout>& columns)
{
    const QString section = windowName.toUpper();
    ini.beginBatch();
    for (qsizetype column = 0; column < columns.size(); ++column)
        ini.writeInteger(section, gridWidthKey(gridName, int(column)), columns[column].hidden ? -1 : columns[column].width);
    return ini.endBatch();
}

QList<GridColumnLayout> loadGridLayout(const IniFile& ini, const QString& windowName, const QString& gridName,
                                       QList<GridColumnLayout> columns)
{
    const QString section = windowName.toUpper();
    for (qsizetype column = 0; column < columns.size(); ++column) {
        const int stored = ini.readInteger(section, gridWidthKey(gridName, int(column)), kMissingWidth);
        if (stored > 0)
            columns[column].width = stored;
        else
            columns[column].hidden = true;
    }
    return columns;
}

QList<GridColumnLayout> applyColumnChoice(QList<GridColumnLayout> columns, const QList<bool>& shown)
{
    for (qsizetype column = 0; column < columns.size(); ++column) {
        GridColumnLayout& layout = columns[column];
        layout.hidden = !shown.value(column);
        if (!layout.hidden && layout.width < 1)
            layout.width = kShownAgainWidth;
    }
    return columns;
}

QString gridKeyList(const QStringList& values, const QString& kind)
{
    if (kind.toUpper() != QLatin1String("STR"))
        return values.join(u',');
    QStringList quoted;
    for (const QString& value : values)
        quoted << u'\'' + value + u'\'';
    return quoted.join(u',');
}

int deleteRowsByKey(Database& db, const QString& table, const QString& keyColumn, const QVariantList& keys)
{
    int deleted = 0;
    db.inTransaction([&] {
        for (qsizetype first = 0; first < keys.size(); first += kKeysPerStatement) {
            const QVariantList chunk = keys.mid(first, kKeysPerStatement);
            QStringList placeholders;
            SqlParams params;
            for (qsizetype i = 0; i < chunk.size(); ++i) {
                const QString name = QStringLiteral("k%1").arg(i);
                placeholders << u':' + name;
                params.insert(name, chunk[i]);
            }
            deleted += db.execute(QStringLiteral("delete from \"%1\" where \"%2\" in (%3)")
                                      .arg(table, keyColumn, placeholders.join(u',')),
                                  params);
        }
    });
    return deleted;
}

QList<int> exportColumns(const QList<int>& visualOrder, const QList<bool>& hidden)
{
    QList<int> columns;
    for (int logical : visualOrder) {
        if (!hidden.value(logical))
            columns << logical;
    }
    return columns;
}

QString exportText(const QVariant& value)
{
    if (value.isNull())
        return {};
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return QLocale::c().toString(value.toDouble(), 'f', QLocale::FloatingPointShortest);
    case QMetaType::QDate:
        return value.toDate().toString(Qt::ISODate);
    case QMetaType::QDateTime:
        return value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    default:
        return value.toString();
    }
}

QString exportFilePath(const QString& runPath, const QString& title, const QDateTime& when)
{
    QString name = title.trimmed();
    for (QChar& c : name) {
        if (c.unicode() < 32 || QStringView(u"/\\:*?\"<>|").contains(c))
            c = u'_';
    }
    if (name.isEmpty() || name.startsWith(u'.'))
        name.prepend(QStringLiteral("导出"));
    const QString folder = QDir(runPath).filePath(QStringLiteral("Output"));
    const QString stem = name + u'_' + when.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString path = QDir(folder).filePath(stem + QStringLiteral(".xlsx"));
    for (int copy = 2; QFileInfo::exists(path); ++copy)
        path = QDir(folder).filePath(stem + QStringLiteral(" (%1).xlsx").arg(copy));
    return path;
}

} // namespace slipcraft
