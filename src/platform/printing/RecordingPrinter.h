#pragma once

#include "platform/printing/Printer.h"

#include <QList>
#include <QPoint>
#include <QSize>

namespace slipcraft {

// One call made on a RecordingPrinter.
struct PrintEvent {
    enum class Kind { PageSetup, CopyCount, Begin, NewPage, End, Abort, SelectFont, DrawText, DrawLine, DrawRect };

    Kind kind = Kind::Begin;
    PageSetup pageSetup; // PageSetup
    int copies = 0;      // CopyCount
    QString text;        // Begin: the title; DrawText: the text
    PrintFont font;      // SelectFont: the font; DrawText: the font in use
    QPoint position;     // DrawText; DrawLine: the first point; DrawRect: the top-left corner; in pixels
    QPoint end;          // DrawLine: the second point
    QSize size;          // DrawRect
    int lineWidth = 0;   // DrawLine, DrawRect
    QColor lineColor;    // DrawLine, DrawRect

    bool operator==(const PrintEvent&) const = default;
};

// A printer for tests: prints nothing and records every call in order, failed ones
// too. Its results follow a real printer's (no second begin, no new page or end
// outside a job).
//
// averageCharWidth() = round(point size of the selected font × resolutionX / 144),
// half an em: 38 pixels for the initial 9-point font at 600 dots per inch.
class RecordingPrinter : public Printer {
public:
    QString printerName = QStringLiteral("Recording");
    int dpiX = 600;
    int dpiY = 600;
    int offsetTop = 0;
    // When not empty, beginDocument fails with this text.
    QString failBeginWith;

    QList<PrintEvent> events;

    // Only the DrawText events, in order.
    QList<PrintEvent> texts() const;
    // Only the DrawLine and DrawRect events, in order.
    QList<PrintEvent> shapes() const;

    QString name() const override { return printerName; }
    void setPageSetup(const PageSetup& setup) override;
    void setCopyCount(int copies) override;
    bool beginDocument(const QString& title) override;
    bool newPage() override;
    bool endDocument() override;
    void abort() override;
    bool isPrinting() const override { return printing_; }
    void selectFont(const PrintFont& font) override;
    void drawText(int x, int y, const QString& text) override;
    void drawLine(int x1, int y1, int x2, int y2, int widthPx, const QColor& color) override;
    void drawRect(int x, int y, int width, int height, int widthPx, const QColor& color) override;
    int resolutionX() const override { return dpiX; }
    int resolutionY() const override { return dpiY; }
    int physicalOffsetTop() const override { return offsetTop; }
    int averageCharWidth() const override;
    QString errorText() const override { return error_; }

private:
    PrintEvent& record(PrintEvent::Kind kind);

    PrintFont font_ = initialPrintFont();
    bool printing_ = false;
    QString error_;
};

} // namespace slipcraft
