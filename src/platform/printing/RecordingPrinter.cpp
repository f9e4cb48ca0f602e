#include "platform/printing/RecordingPrinter.h"

#include <cmath>

namespace slipcraft {

namespace {

const QString kNoJob = QStringLiteral("没有正在进行的打印任务。");

} // namespace

PrintEvent& RecordingPrinter::record(PrintEvent::Kind kind)
{
    PrintEvent event;
    event.kind = kind;
    events.append(event);
    return events.last();
}

QList<PrintEvent> RecordingPrinter::texts() const
{
    QList<PrintEvent> drawn;
    for (const PrintEvent& event : events)
        if (event.kind == PrintEvent::Kind::DrawText)
            drawn.append(event);
    return drawn;
}

QList<PrintEvent> RecordingPrinter::shapes() const
{
    QList<PrintEvent> drawn;
    for (const PrintEvent& event : events)
        if (event.kind == PrintEvent::Kind::DrawLine || event.kind == PrintEvent::Kind::DrawRect)
            drawn.append(event);
    return drawn;
}

void RecordingPrinter::setPageSetup(const PageSetup& setup)
{
    PrintEvent& event = record(PrintEvent::Kind::PageSetup);
    event.pageSetup = setup;
}

void RecordingPrinter::setCopyCount(int copies)
{
    PrintEvent& event = record(PrintEvent::Kind::CopyCount);
    event.copies = copies;
}

bool RecordingPrinter::beginDocument(const QString& title)
{
    PrintEvent& event = record(PrintEvent::Kind::Begin);
    event.text = title;
    error_.clear();
    if (printing_)
        error_ = QStringLiteral("上一个打印任务还没有结束。");
    else if (!failBeginWith.isEmpty())
        error_ = failBeginWith;
    else
        printing_ = true;
    return error_.isEmpty();
}

bool RecordingPrinter::newPage()
{
    record(PrintEvent::Kind::NewPage);
    error_ = printing_ ? QString() : kNoJob;
    return printing_;
}

bool RecordingPrinter::endDocument()
{
    record(PrintEvent::Kind::End);
    error_ = printing_ ? QString() : kNoJob;
    const bool ended = printing_;
    printing_ = false;
    return ended;
}

void RecordingPrinter::abort()
{
    record(PrintEvent::Kind::Abort);
    printing_ = false;
}

void RecordingPrinter::selectFont(const PrintFont& font)
{
    font_ = font;
    PrintEvent& event = record(PrintEvent::Kind::SelectFont);
    event.font = font;
}

void RecordingPrinter::drawText(int x, int y, const QString& text)
{
    PrintEvent& event = record(PrintEvent::Kind::DrawText);
    event.text = text;
    event.font = font_;
    event.position = QPoint(x, y);
}

void RecordingPrinter::drawLine(int x1, int y1, int x2, int y2, int widthPx, const QColor& color)
{
    PrintEvent& event = record(PrintEvent::Kind::DrawLine);
    event.position = QPoint(x1, y1);
    event.end = QPoint(x2, y2);
    event.lineWidth = widthPx;
    event.lineColor = color;
}

void RecordingPrinter::drawRect(int x, int y, int width, int height, int widthPx, const QColor& color)
{
    PrintEvent& event = record(PrintEvent::Kind::DrawRect);
    event.position = QPoint(x, y);
    event.size = QSize(width, height);
    event.lineWidth = widthPx;
    event.lineColor = color;
}

int RecordingPrinter::averageCharWidth() const
{
    return int(std::lround(font_.pointSize * dpiX / 144.0));
}

} // namespace slipcraft
