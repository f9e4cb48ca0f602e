#pragma once

#include "platform/printing/Printer.h"

#include <QLine>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QString>

#include <optional>
#include <variant>

class QPagedPaintDevice;

namespace slipcraft {

// A printer that paints with QPainter on a paged device in full-page mode, so that
// (0, 0) is the paper's corner. A job is kept until it ends and only then painted, so
// that abort discards it completely: nothing reaches the device or the paper. Text
// drawn outside a job is dropped.
class PainterPrinter : public Printer {
public:
    void setPageSetup(const PageSetup& setup) override;
    void setCopyCount(int copies) override;

    bool beginDocument(const QString& title) override;
    bool newPage() override;
    bool endDocument() override;
    void abort() override;
    bool isPrinting() const override;

    void selectFont(const PrintFont& font) override;
    void drawText(int x, int y, const QString& text) override;
    void drawLine(int x1, int y1, int x2, int y2, int widthPx, const QColor& color) override;
    void drawRect(int x, int y, int width, int height, int widthPx, const QColor& color) override;

    int resolutionX() const override;
    int resolutionY() const override;
    int physicalOffsetTop() const override;
    int averageCharWidth() const override;

    QString errorText() const override;

    PageSetup pageSetup() const { return setup_; }

protected:
    PainterPrinter();

    // Metrics (resolution, font sizes, the printer's own paper) come from here.
    virtual const QPagedPaintDevice& metricsDevice() const = 0;
    // When a job begins: false (with setErrorText) when it cannot go anywhere.
    virtual bool prepareJob(const QString& title) = 0;
    // When the job ends: the device to paint it on, told the job's title and copy
    // count; nullptr (with setErrorText) on failure.
    virtual QPagedPaintDevice* openDevice(const QString& title, int copies) = 0;
    // After painting; painted is false when painting failed. True when the output was
    // delivered; on false the subclass has set the error text.
    virtual bool closeDevice(bool painted) = 0;
    // The job ends without output, before or after openDevice.
    virtual void discardJob() = 0;

    void setErrorText(const QString& text) { error_ = text; }

private:
    struct TextDraw {
        QPoint at;
        QString text;
    };
    struct LineDraw {
        QLine line;
        int width;
        QColor color;
    };
    struct RectDraw {
        QRect rect;
        int width;
        QColor color;
    };
    struct PageBreak {};
    using Step = std::variant<PrintFont, TextDraw, LineDraw, RectDraw, PageBreak>;

    struct Job {
        QString title;
        QPageLayout layout;
        int copies = 1;
        QList<Step> steps;
    };

    bool paint(QPagedPaintDevice& device, const Job& job);

    PageSetup setup_;
    int copies_ = 1;
    PrintFont font_;
    std::optional<Job> job_;
    QString error_;
};

} // namespace slipcraft
