#pragma once

#include <QList>
#include <QPoint>
#include <QSize>
#include <QSizeF>
#include <QString>

#include <optional>

namespace slipcraft {

class Database;

// Thickness of the preview's rulers, pixels; the sheet's texts start beyond them.
inline constexpr int kPreviewRulerThickness = 12;
// Screens that do not report their size are taken to show this many pixels per inch.
inline constexpr int kFallbackScreenDpi = 96;

// Logical pixels per inch of a screen of that size: what puts a millimetre on the screen
// as a millimetre. The fallback when the size is unknown or makes no sense.
int previewDpi(QSizeF physicalSizeMm, QSize logicalPixels);

// One printable item of a template as the preview reads it.
struct PreviewItemRow {
    QString text; // the trimmed sample value, else the trimmed label
    int x = 0;    // print position, 0.1 mm
    int y = 0;
    int lineHeight = 0; // 0.1 mm; below 1 means 50
    int width = 0;      // of the shown text, screen pixels
    int height = 0;
    QString fitParam; // cell pitch, 0.1 mm
    QString breakNum; // characters per line
    int fontSize = 0;
    QString fontName;
};

// Every layout row of the template marked for printing whose item of the bill type
// prints, in layout order. Throws DatabaseError.
QList<PreviewItemRow> loadPreviewRows(Database& db, int templateId, const QString& billType);

// One text label on the preview's sheet.
struct PreviewText {
    QString name;
    QString text;
    QPoint at; // top-left on the sheet, pixels, rulers included
    QSize size;
    int fontSize = 0;
    QString fontName;

    bool operator==(const PreviewText&) const = default;
};

// The labels the sheet shows for the rows at dpi: row k (from 1) is named "lb" + k; a
// text broken into lines (BreakNum ≥ 1) shows each non-blank line one line pitch lower,
// named "_" + line; a cell pitch above one pixel shows each character on its own,
// named "_" + character. A BreakNum or FitParam that is no whole number counts as 0.
QList<PreviewText> previewTexts(const QList<PreviewItemRow>& rows, int dpi);

// The whole-form offset of the template, 0.1 mm; nothing when there is no such
// template. Throws DatabaseError.
std::optional<QPoint> loadTemplateOffset(Database& db, int templateId);

// What a centimetre box beside an offset spinner shows: the value ÷ 100 ("0.5" for 50).
QString centimetreBoxText(int tenthMm);

// One item of the bill type's dictionary, as the sample grid edits it.
struct SampleRow {
    int id = 0;
    QString control;
    QString label;
    QString data;

    bool operator==(const SampleRow&) const = default;
};

// The items of the bill type, highest print order first. Throws DatabaseError.
QList<SampleRow> loadSampleRows(Database& db, const QString& billType);
// Each stores one column of one item, for every template of its bill type. Throw
// DatabaseError.
void storeSampleLabel(Database& db, int id, const QString& label);
void storeSampleData(Database& db, int id, const QString& data);

} // namespace slipcraft
