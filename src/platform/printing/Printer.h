#pragma once

#include <QColor>
#include <QPageLayout>
#include <QSizeF>
#include <QString>

namespace slipcraft {

// A font as templates name it: a face (often a Windows face such as "宋体"), a size
// in points, styles and a colour.
struct PrintFont {
    QString family;
    qreal pointSize = 9;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    QColor color = Qt::black;

    bool operator==(const PrintFont&) const = default;
};

// A printer's canvas font before any selection: what a Chinese system gives a font
// nobody has set.
inline PrintFont initialPrintFont()
{
    PrintFont font;
    font.family = QStringLiteral("宋体");
    return font;
}

// The paper of one job: its size standing upright, width first (empty: the printer's
// own), and the orientation that may turn it.
// Positions are always paper positions: full page, no margins.
struct PageSetup {
    QSizeF paperSizeMm;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;

    bool operator==(const PageSetup&) const = default;
};

// One printer's drawing surface and job, in device pixels. The order within a job is
// always: page setup, copy count, begin, drawing with new pages between bills, end
// (or abort).
class Printer {
public:
    virtual ~Printer() = default;

    virtual QString name() const = 0;

    // Both stay set for later jobs on this printer.
    virtual void setPageSetup(const PageSetup& setup) = 0;
    virtual void setCopyCount(int copies) = 0;

    // title names the job (and, on the PDF printer, the file). False when the job cannot start.
    virtual bool beginDocument(const QString& title) = 0;
    virtual bool newPage() = 0;
    // False when the job failed: the output must not be taken as printed.
    virtual bool endDocument() = 0;
    // Discards the job; harmless when none is open.
    virtual void abort() = 0;
    virtual bool isPrinting() const = 0;

    virtual void selectFont(const PrintFont& font) = 0;
    // The text's top-left corner lands at (x, y).
    virtual void drawText(int x, int y, const QString& text) = 0;
    // Lines widthPx wide (at least one pixel), centred on the geometry: a line ends
    // flat at its two points; a rectangle's outline runs along its edges, corners filled.
    virtual void drawLine(int x1, int y1, int x2, int y2, int widthPx, const QColor& color) = 0;
    virtual void drawRect(int x, int y, int width, int height, int widthPx, const QColor& color) = 0;

    virtual int resolutionX() const = 0;
    virtual int resolutionY() const = 0;
    // Pixels between the paper's edge and where (0, 0) lands; 0 in full-page mode.
    virtual int physicalOffsetTop() const = 0;
    // Of the font selected last, in pixels.
    virtual int averageCharWidth() const = 0;

    // Why the last operation failed, for messages; empty when nothing failed.
    virtual QString errorText() const = 0;
};

} // namespace slipcraft
