#pragma once

#include <QList>
#include <QString>

#include <optional>

namespace slipcraft {

class Database;

// What the whole-form offset window edits of one template. Offsets and paper in
// 0.1 mm, the picture in screen pixels; the values are those the window shows before
// any template is loaded.
struct TemplateFrame {
    int xMove = 0;
    int yMove = 0;
    int pictureWidth = 780;
    int pictureHeight = 420;
    int paperWidth = 2300;
    int paperHeight = 1270;
    bool landscape = false;

    bool operator==(const TemplateFrame&) const = default;
};

// Limits of the window's fields.
inline constexpr int kMoveLimit = 3000;
inline constexpr int kPictureWidthMin = 300;
inline constexpr int kPictureWidthMax = 1200;
inline constexpr int kPictureHeightMin = 200;
inline constexpr int kPictureHeightMax = 900;
inline constexpr int kPaperWidthMin = 300;
inline constexpr int kPaperHeightMin = 200;
inline constexpr int kPaperMax = 3000;
// One press of an arrow, 0.1 mm.
inline constexpr int kNudgeStep = 10;

struct ListedTemplate {
    QString name;
    int id = 0;

    bool operator==(const ListedTemplate&) const = default;
};

// The enabled templates that have a name, ascending by name. Throws DatabaseError.
QList<ListedTemplate> loadEnabledTemplates(Database& db);

struct StoredFrame {
    int id = 0;
    QString name;
    TemplateFrame frame;
};

// The template whose full name equals the trimmed listed name; nothing when there is
// none. A missing paper size reads as 2300 × 1270, a missing picture size as the
// window's initial one. Throws DatabaseError.
std::optional<StoredFrame> loadTemplateFrame(Database& db, const QString& listedName);

enum class FrameSaved { Changed, Unchanged, Failed };

// Writes the frame to that template only. Failed when the statement failed; error then
// holds the engine's text.
FrameSaved saveTemplateFrame(Database& db, int id, const TemplateFrame& frame, QString* error = nullptr);

// How the window tells the outcome of a save: in a box titled "提示" when asked from
// the button, in its caption when quiet. A failure is always a box, and closes the window.
struct FrameSaveReport {
    QString text;
    bool inBox = false;
    bool closesWindow = false;

    bool operator==(const FrameSaveReport&) const = default;
};
FrameSaveReport frameSaveReport(FrameSaved saved, bool quiet);

// "=" + |value| ÷ 100 + "厘米": 0.1 mm shown in centimetres without the sign.
QString centimetreText(int tenthMm);

} // namespace slipcraft
