#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>

namespace slipcraft {

class Database;
class IniFile;

// One grid column as Config.ini keeps it: its width in pixels, and whether it is hidden.
struct GridColumnLayout {
    int width = 0;
    bool hidden = false;

    bool operator==(const GridColumnLayout&) const = default;
};

// The key of one column: the grid's component name upper-cased + ".W" + the column's
// index from 0, e.g. DBGRID1.W0.
QString gridWidthKey(const QString& gridName, int column);

// Writes every column's key in the window's section (its name upper-cased): the width
// of a shown column, -1 for a hidden one. False when the file could not be written.
bool saveGridLayout(IniFile& ini, const QString& windowName, const QString& gridName,
                    const QList<GridColumnLayout>& columns);

// The columns after the stored keys are applied (a missing key reads as 40): a value
// above 0 becomes the width, a value below 1 hides the column. Loading never shows a
// hidden column.
QList<GridColumnLayout> loadGridLayout(const IniFile& ini, const QString& windowName, const QString& gridName,
                                       QList<GridColumnLayout> columns);

// The column chooser's choice: a column marked shown is shown (width 50 when its width
// is below 1), every other column is hidden. `shown` has one entry per column.
QList<GridColumnLayout> applyColumnChoice(QList<GridColumnLayout> columns, const QList<bool>& shown);

// The key values joined by ","; with the kind "STR" (any case) each in single quotes.
QString gridKeyList(const QStringList& values, const QString& kind);

// Deletes, in one transaction, the rows of table whose keyColumn holds one of keys
// (bound values); returns how many rows the database deleted. table and keyColumn come
// from the program's own code. Throws DatabaseError.
int deleteRowsByKey(Database& db, const QString& table, const QString& keyColumn, const QVariantList& keys);

// What an export writes, as logical column indices in the order the grid shows them:
// hidden columns are left out, so each heading and its values come from the same column.
// `visualOrder` lists the logical indices from left to right; `hidden` is by logical index.
QList<int> exportColumns(const QList<int>& visualOrder, const QList<bool>& hidden);

// A field value as an export writes it: numbers never in exponent form, dates as
// yyyy-MM-dd (with HH:mm:ss for a moment in time), NULL as an empty text.
QString exportText(const QVariant& value);

// A new file name under Output/ in the run path for an export with this title:
// the title (characters a file name cannot hold become "_") + "_" + yyyyMMdd-HHmmss
// + ".xlsx"; " (2)", " (3)", … before the extension when that name is taken.
QString exportFilePath(const QString& runPath, const QString& title, const QDateTime& when);

} // namespace slipcraft
