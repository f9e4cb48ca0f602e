#include "platform/printing/PainterPrinter.h"

#include "platform/printing/FontFaces.h"

#include <QFontMetrics>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPen>

namespace slipcraft {

namespace {

// One layout for the whole job: full page and no margins make device positions paper
// positions. Built in one piece because some drivers drop an orientation set after
// the paper size.
QPageLayout jobLayout(const PageSetup& setup, const QPagedPaintDevice& device)
{
    const QPageSize size = setup.paperSizeMm.isEmpty()
        ? device.pageLayout().pageSize()
        : QPageSize(setup.paperSizeMm, QPageSize::Millimeter);
    QPageLayout layout(size, setup.orientation, QMarginsF(), QPageLayout::Millimeter);
    layout.setMode(QPageLayout::FullPageMode);
    return layout;
}

// The face, size and styles of a template font, for painting.
QFont toQFont(const PrintFont& font)
{
    QFont qfont(printableFace(font.family));
    if (font.pointSize > 0)
        qfont.setPointSizeF(font.pointSize);
    qfont.setBold(font.bold);
    qfont.setItalic(font.italic);
    qfont.setUnderline(font.underline);
    return qfont;
}

// Flat ends and mitred corners keep a line exactly within the geometry asked for.
QPen linePen(int width, const QColor& color)
{
    return QPen(color, qMax(1, width), Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
}

} // namespace

PainterPrinter::PainterPrinter()
    : font_(initialPrintFont())
{
    installFontSubstitutions();
}

void PainterPrinter::setPageSetup(const PageSetup& setup)
{
    setup_ = setup;
}

void PainterPrinter::setCopyCount(int copies)
{
    copies_ = qMax(1, copies);
}

bool PainterPrinter::beginDocument(const QString& title)
{
    error_.clear();
    if (job_) {
        error_ = QStringLiteral("上一个打印任务还没有结束。");
        return false;
    }
    if (!prepareJob(title))
        return false;
    // The font left on the canvas carries into the job.
    job_ = Job{title, jobLayout(setup_, metricsDevice()), copies_, {font_}};
    return true;
}

bool PainterPrinter::newPage()
{
    error_.clear();
    if (!job_) {
        error_ = QStringLiteral("没有正在进行的打印任务。");
        return false;
    }
    job_->steps.append(PageBreak{});
    return true;
}

bool PainterPrinter::endDocument()
{
    error_.clear();
    if (!job_) {
        error_ = QStringLiteral("没有正在进行的打印任务。");
        return false;
    }
    const Job job = std::move(*job_);
    job_.reset();
    QPagedPaintDevice* device = openDevice(job.title, job.copies);
    if (!device) {
        discardJob();
        return false;
    }
    const bool painted = paint(*device, job);
    return closeDevice(painted);
}

bool PainterPrinter::paint(QPagedPaintDevice& device, const Job& job)
{
    if (!device.setPageLayout(job.layout) && device.pageLayout().mode() != QPageLayout::FullPageMode) {
        // The paper was refused: keep the device's own paper, but still measure from
        // its corner.
        QPageLayout own = device.pageLayout();
        own.setOrientation(job.layout.orientation());
        own.setMode(QPageLayout::FullPageMode);
        device.setPageLayout(own);
    }
    QPainter painter;
    if (!painter.begin(&device)) {
        error_ = QStringLiteral("打印机无法开始打印。");
        return false;
    }
    bool ok = true;
    for (const Step& step : job.steps) {
        if (const auto* font = std::get_if<PrintFont>(&step)) {
            painter.setFont(toQFont(*font));
            painter.setPen(font->color);
        } else if (const auto* draw = std::get_if<TextDraw>(&step)) {
            // The point is the text's top-left corner, as on the screen forms.
            painter.drawText(QPoint(draw->at.x(), draw->at.y() + painter.fontMetrics().ascent()), draw->text);
        } else if (const auto* line = std::get_if<LineDraw>(&step)) {
            const QPen textPen = painter.pen();
            painter.setPen(linePen(line->width, line->color));
            painter.drawLine(line->line);
            painter.setPen(textPen);
        } else if (const auto* rect = std::get_if<RectDraw>(&step)) {
            const QPen textPen = painter.pen();
            painter.setPen(linePen(rect->width, rect->color));
            painter.setBrush(Qt::NoBrush);
            // Edges at x and x + width, y and y + height.
            painter.drawRect(QRectF(rect->rect));
            painter.setPen(textPen);
        } else if (ok && !device.newPage()) {
            ok = false;
            error_ = QStringLiteral("打印机无法换页。");
        }
    }
    if (!painter.end() && ok) {
        ok = false;
        error_ = QStringLiteral("打印机无法完成打印。");
    }
    return ok;
}

void PainterPrinter::abort()
{
    if (!job_)
        return;
    job_.reset();
    discardJob();
}

bool PainterPrinter::isPrinting() const
{
    return job_.has_value();
}

void PainterPrinter::selectFont(const PrintFont& font)
{
    font_ = font;
    if (job_)
        job_->steps.append(font);
}

void PainterPrinter::drawText(int x, int y, const QString& text)
{
    if (job_)
        job_->steps.append(TextDraw{QPoint(x, y), text});
}

void PainterPrinter::drawLine(int x1, int y1, int x2, int y2, int widthPx, const QColor& color)
{
    if (job_)
        job_->steps.append(LineDraw{QLine(x1, y1, x2, y2), widthPx, color});
}

void PainterPrinter::drawRect(int x, int y, int width, int height, int widthPx, const QColor& color)
{
    if (job_)
        job_->steps.append(RectDraw{QRect(x, y, width, height), widthPx, color});
}

int PainterPrinter::resolutionX() const
{
    return metricsDevice().logicalDpiX();
}

int PainterPrinter::resolutionY() const
{
    return metricsDevice().logicalDpiY();
}

int PainterPrinter::physicalOffsetTop() const
{
    return 0;
}

int PainterPrinter::averageCharWidth() const
{
    return QFontMetrics(toQFont(font_), &metricsDevice()).averageCharWidth();
}

QString PainterPrinter::errorText() const
{
    return error_;
}

} // namespace slipcraft
