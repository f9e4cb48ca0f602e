#pragma once

#include "data/Database.h"
#include "templates/LayoutHistory.h"

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

#include <optional>

namespace slipcraft {

// The layout of a template's items: what the print layout designer and the fill-form
// layout adjustment read and write. Item names compare without regard to letter case.
// Unless said otherwise a failing statement throws DatabaseError.

// ---- The template ----------------------------------------------------------------

// Paper of 230 × 127 mm where the stored size is missing.
inline constexpr int kDefaultPaperWidth = 2300;
inline constexpr int kDefaultPaperHeight = 1270;

struct TemplateSheet {
    int id = 0;
    QString billType;
    QString name;
    int paperWidth = kDefaultPaperWidth; // 0.1 mm
    int paperHeight = kDefaultPaperHeight;
    QString pictureUrl;                   // PreImgURL
    // The entry form's picture: its file in Image/ and its size on screen, pixels.
    QString imageFile;
    int screenWidth = 0;
    int screenHeight = 0;
    QString tickTitles; // CheckBoxs
};
// Nullopt when there is no such template.
std::optional<TemplateSheet> loadTemplateSheet(Database& db, int templateId);

// The selection of one template's CKControl rows (for the undo history).
RowSelection templateItemRows(int templateId, const QStringList& items);
RowSelection templateRow(int templateId);

// ---- Print layout designer --------------------------------------------------------

// One scale for both axes: millimetres of paper per pixel of the page area.
struct DesignScale {
    double mmPerPixel = 1.0;

    // Pixels from a stored value in 0.1 mm, and back; both to the nearest integer.
    int GetPixByMMCent(int tenthMm) const;
    int GetMMCentByPix(int pixels) const;
};
// The page area's width in pixels for the paper at the screen's dpi and the zoom (%).
int pageAreaWidth(int paperWidth, double dpi, int zoomPercent);
DesignScale designScale(int paperWidth, int pageWidthPixels);

// One printable item of a template, its layout joined with its dictionary row.
struct PrintLayoutItem {
    QString name;   // CtlName
    QString label;  // CtlLabel
    QString caption; // CtlCName
    QString sample; // CtlData
    QString initValue;
    QString groups;
    int x = 0, y = 0, w = 0, h = 0; // 0.1 mm
    int screenWidth = 0, screenHeight = 0; // SrcW, SrcH, pixels
    int lineHeight = 0;
    QString fontName;
    int fontSize = 9;
    int bold = 0, italic = 0, underline = 0;
    QString breakNum;
    int breakFontSize = 0;
    QString fitParam;
};
// The items whose dictionary row prints and whose layout is to be printed, in
// descending dictionary order; only the one item when item is given.
QList<PrintLayoutItem> loadPrintLayoutItems(Database& db, int templateId, const QString& billType,
                                            const QString& item = {});

// One text label of the page.
struct DesignLabel {
    QString item;
    QString name;
    QString text;
    QRect rect; // pixels on the page
    QString fontName;
    int fontSize = 9;
    bool bold = false, italic = false, underline = false;

    bool operator==(const DesignLabel&) const = default;
};
// The labels of an item: one plain label, one per broken line (CtlName + "L" + line), or
// one per character of a line in cells (line name + "R" + character from 1). None when
// the item's text is empty.
QList<DesignLabel> designLabels(const PrintLayoutItem& item, const DesignScale& scale);
// The item's text on the page: its initial value, else its sample, else its label.
QString designText(const PrintLayoutItem& item);
// The printed size (0.1 mm) to store for an item without one, from its drawn size.
std::optional<QSize> missingPrintSize(const PrintLayoutItem& item, const DesignScale& scale);

// The columns an editor may store on an item's layout row.
bool isLayoutColumn(const QString& column);

enum class ColumnSave { Saved, Unchanged, Duplicate, Missing };
// Stores one column of the item's layout row when it differs. Throws
// std::invalid_argument for a column that is not a layout column.
ColumnSave saveItemColumn(Database& db, int templateId, const QString& item, const QString& column,
                          const QString& value);
// Adds delta to the column of each item, one statement each; returns the items whose
// row did not change exactly once.
QStringList moveItems(Database& db, int templateId, const QStringList& items, const QString& column, int delta);
// The item's sample text, shared by every template of the bill type; rows changed.
int storeItemSample(Database& db, const QString& billType, const QString& item, const QString& text);

// Batch tools over several items of one template.
std::optional<int> itemsExtreme(Database& db, int templateId, const QStringList& items, const QString& column, bool max);
int setItemsColumn(Database& db, int templateId, const QStringList& items, const QString& column, const QVariant& value);
struct BatchChange {
    int changed = 0;
    QStringList unchanged;
};
// Adds delta to the column of each item; a negative delta only where the value exceeds
// its size, the others are reported unchanged.
BatchChange growItems(Database& db, int templateId, const QStringList& items, const QString& column, int delta);
// The i-th item after the first (i = 1, 2, …) gets the first one's value + i × increment;
// nullopt when the first item has no value.
std::optional<int> distributeItems(Database& db, int templateId, const QStringList& items, const QString& column,
                                   int increment);

// The item groups of the bill type, and the printable items a group text selects: by
// equal group, or, with "*" in the text, by label with "*" as any run of characters;
// in ascending dictionary order.
QStringList itemGroups(Database& db, const QString& billType);
QStringList groupItems(Database& db, const QString& billType, const QString& text);

// The paper size from centimetres; a refusal, or whether the template row was there.
struct PaperSave {
    QString refusal;
    bool stored = false;
};
PaperSave savePaperSize(Database& db, int templateId, double widthCm, double heightCm);

// ---- Fill-form layout adjustment ---------------------------------------------------

// One item of the bill type as a design control on the form picture.
struct DesignControl {
    QString name; // CtlName as the dictionary has it
    QString label;
    QString type; // "TEXT", "SHAPE", "CHECKBOX", "LABEL", "IMAGE"
    QString initValue;
    bool hasLayout = false;
    QRect box; // SrcX, SrcY, SrcW, SrcH
    bool shown = false;
};
QList<DesignControl> loadDesignControls(Database& db, int templateId, const QString& billType);
// The bill type's item labels, highest dictionary order first.
QStringList designItemLabels(Database& db, const QString& billType);
// The item of a label; empty when none.
QString itemNameByLabel(Database& db, const QString& billType, const QString& label);

// What the adjustment edits on one item's layout row.
struct ItemSettings {
    int x = 0, y = 0;
    int srcX = 5, srcY = 5, srcW = 100, srcH = 20;
    bool hidden = false;
    QString fontName;
    int fontSize = 9;
    QString initValue;
    bool bold = false, italic = false, underline = false;
    bool breaking = false;
    int breakCount = 60;
    int lineHeight = 50;
    int breakFontSize = 10;
    bool cells = false;
    int cellWidth = 20;

    bool operator==(const ItemSettings&) const = default;
};
// The row as the fields show it (defaults where the row leaves them open); nullopt
// without a row.
std::optional<ItemSettings> loadItemSettings(Database& db, int templateId, const QString& item);
enum class SettingsSave { Updated, Inserted, Unchanged };
// Writes the fields onto the item's row, or creates the row (caption = the list entry,
// screen box 100 × 20).
SettingsSave saveItemSettings(Database& db, int templateId, const QString& item, const QString& caption,
                              const ItemSettings& settings);

// The free tick titles as typed, cleaned: trimmed, without brackets, quotes, "%", "*",
// "?" and spaces, full-width commas as ",". Empty when nothing usable is left.
QString cleanTickTitles(const QString& typed);
void storeTickTitles(Database& db, int templateId, const QString& titles);

// A design control's top-left moved by delta and kept within the picture (10 pixels
// from each edge).
QPoint keptOnPicture(QPoint topLeft, QPoint delta, QSize picture);
// The print position moved 1 mm by an arrow: up and left need more than 0.9 mm,
// down and right stop beyond 350 mm. Nullopt when the move is refused.
std::optional<int> nudgedPrintPosition(int value, int delta);

} // namespace slipcraft
