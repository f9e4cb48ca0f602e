#include "entry/TestPage.h"

#include "data/Database.h"
#include "entry/PrintRenderer.h"
#include "platform/printing/Printer.h"
#include "shell/AppContext.h"
#include "wording/Functions.h"

#include <QList>
#include <QPageLayout>
#include <QPageSize>
#include <QRectF>

#include <algorithm>
#include <cmath>

namespace slipcraft {

namespace {

struct SampleItem {
    QString name;
    QString kind;
    QString value;
    // The layout's print position and printed box, 0.1 mm.
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

struct SamplePage {
    QString fullName;
    int xMove = 0;
    int yMove = 0;
    PageSetup setup;
    QList<SampleItem> items;
};

// Never empty: an empty text would read as success.
QString failureText(const Printer& printer)
{
    return printer.errorText().isEmpty() ? QStringLiteral("打印出错，请检查打印机是否可用！") : printer.errorText();
}

// Empty on success.
QString readSamplePage(AppContext& context, int templateId, SamplePage& page)
{
    try {
        SqlQuery row = context.db().query(
            QStringLiteral("select TypeFirstName, XMove, YMove, PWidth, PHeight, HVPrint, TypeName from CKTypeTable "
                           "where CheckTypeID=:id"),
            {{QStringLiteral("id"), templateId}});
        if (!row.next())
            return QStringLiteral("没有编号为 %1 的模板。").arg(templateId);
        page.xMove = row.value(1).toInt();
        page.yMove = row.value(2).toInt();
        page.setup =
            templatePageSetup(row.value(3).toInt(), row.value(4).toInt(), row.value(5).toString() == QLatin1String("1"));
        page.fullName = row.value(6).toString();

        SqlQuery rows = context.db().query(
            QStringLiteral("select c.CtlName, coalesce(n.CtlType, c.CtlType), n.CtlData, n.CtlLabel, c.CtlCName, "
                           "c.CtlX, c.CtlY, c.CtlW, c.CtlH "
                           "from CKControl c left join NameDict n on n.CtlName = c.CtlName and n.CheckTypeName = :billType "
                           "where c.CheckTypeId = :id and c.NeedPrint = 1 order by c.ShowOrd, c.ID"),
            {{QStringLiteral("billType"), row.value(0).toString()}, {QStringLiteral("id"), templateId}});
        while (rows.next()) {
            SampleItem item;
            item.name = rows.value(0).toString();
            item.kind = trimText(rows.value(1).toString()).toUpper();
            for (int column : {2, 3, 4}) {
                item.value = trimText(rows.value(column).toString());
                if (!item.value.isEmpty())
                    break;
            }
            item.x = rows.value(5).toInt();
            item.y = rows.value(6).toInt();
            item.width = rows.value(7).toInt();
            item.height = rows.value(8).toInt();
            page.items.append(item);
        }
    } catch (const DatabaseError& error) {
        return QStringLiteral("无法读取模板：") + error.text();
    }
    return {};
}

bool printsOnPaper(const SampleItem& item)
{
    return item.kind.isEmpty() || item.kind == QLatin1String("TEXT") || item.kind == QLatin1String("CHECKBOX");
}

void printItems(AppContext& context, int templateId, const SamplePage& page, Printer& printer)
{
    ItemPrinter itemPrinter(context, printer);
    for (SampleItem item : page.items) {
        if (item.kind == QLatin1String("CHECKBOX")) {
            itemPrinter.printItem(templateId, page.xMove, QString(), QStringLiteral("√"), item.name, page.yMove);
        } else if (printsOnPaper(item)) {
            item.value.replace(QLatin1Char('\n'), QStringLiteral("##")).remove(QLatin1Char('\r'));
            itemPrinter.printItem(templateId, page.xMove, QStringLiteral("##"), item.value, item.name, page.yMove);
        }
    }
}

// Paper positions (0.1 mm) in device pixels, the way items are placed.
class PaperPixels {
public:
    explicit PaperPixels(const Printer& printer)
        : dpiX_(printer.resolutionX())
        , dpiY_(printer.resolutionY())
        , top_(printer.physicalOffsetTop())
    {
    }

    int x(qint64 tenthMm) const { return int(printerPixels(tenthMm, dpiX_)); }
    int y(qint64 tenthMm) const { return int(printerPixels(tenthMm, dpiY_) - top_); }
    int width(double mm) const { return std::max(1, int(std::lround(mm * dpiX_ / 25.4))); }

private:
    int dpiX_;
    int dpiY_;
    int top_;
};

const LineStyle& gridLine(int mm)
{
    if (mm % 10 == 0)
        return kGridCmLine;
    return mm % 5 == 0 ? kGridHalfCmLine : kGridMmLine;
}

// The paper as the job lays it out, turned when landscape, in whole millimetres.
QSize paperMm(const PageSetup& setup)
{
    const QPageLayout layout(QPageSize(setup.paperSizeMm, QPageSize::Millimeter), setup.orientation, QMarginsF(),
                             QPageLayout::Millimeter);
    const QSizeF paper = layout.fullRect(QPageLayout::Millimeter).size();
    return QSize(int(paper.width()), int(paper.height()));
}

void printGrid(const SamplePage& page, Printer& printer)
{
    const int widthMm = paperMm(page.setup).width();
    const int heightMm = paperMm(page.setup).height();
    const PaperPixels at(printer);

    for (int mm = 0; mm <= widthMm; ++mm) {
        const LineStyle& line = gridLine(mm);
        printer.drawLine(at.x(mm * 10), at.y(0), at.x(mm * 10), at.y(heightMm * 10), at.width(line.widthMm), line.color);
    }
    for (int mm = 0; mm <= heightMm; ++mm) {
        const LineStyle& line = gridLine(mm);
        printer.drawLine(at.x(0), at.y(mm * 10), at.x(widthMm * 10), at.y(mm * 10), at.width(line.widthMm), line.color);
    }

    PrintFont small;
    small.family = QStringLiteral("Arial");
    small.pointSize = 6;
    printer.selectFont(small);
    // Just right of and below each centimetre line, along the top and the left edge.
    for (int cm = 1; cm * 10 < widthMm; ++cm)
        printer.drawText(at.x(cm * 100 + 5), at.y(5), QString::number(cm));
    for (int cm = 1; cm * 10 < heightMm; ++cm)
        printer.drawText(at.x(5), at.y(cm * 100 + 5), QString::number(cm));
}

void printItemBoxes(const SamplePage& page, Printer& printer)
{
    const PaperPixels at(printer);
    const int lineWidth = at.width(kItemBoxLine.widthMm);
    const QColor& color = kItemBoxLine.color;
    for (const SampleItem& item : page.items) {
        if (!printsOnPaper(item))
            continue;
        const qint64 left = qint64(item.x) + page.xMove;
        const qint64 top = qint64(item.y) + page.yMove;
        if (item.width > 0 && item.height > 0) {
            printer.drawRect(at.x(left), at.y(top), at.x(left + item.width) - at.x(left),
                             at.y(top + item.height) - at.y(top), lineWidth, color);
        } else {
            printer.drawLine(at.x(left - 10), at.y(top), at.x(left + 10), at.y(top), lineWidth, color);
            printer.drawLine(at.x(left), at.y(top - 10), at.x(left), at.y(top + 10), lineWidth, color);
        }
    }
}

void printCaption(const SamplePage& page, Printer& printer)
{
    const PaperPixels at(printer);
    printer.selectFont(initialPrintFont());
    const QString caption = QStringLiteral("对位页：%1  整体右移 %2  整体下移 %3（0.1毫米）")
                                .arg(page.fullName)
                                .arg(page.xMove)
                                .arg(page.yMove);
    // Bottom left, where forms seldom carry a field.
    printer.drawText(at.x(150), at.y(paperMm(page.setup).height() * 10 - 80), caption);
}

QString printPage(AppContext& context, int templateId, Printer& printer, bool alignment)
{
    SamplePage page;
    if (const QString problem = readSamplePage(context, templateId, page); !problem.isEmpty())
        return problem;

    printer.setPageSetup(page.setup);
    printer.setCopyCount(1);
    if (!printer.beginDocument(alignment ? QStringLiteral("对位页") : QStringLiteral("测试页")))
        return failureText(printer);
    if (alignment) {
        printGrid(page, printer);
        printItemBoxes(page, printer);
        printCaption(page, printer);
    }
    printItems(context, templateId, page, printer);
    if (!printer.endDocument())
        return failureText(printer);
    return {};
}

} // namespace

QString printTestPage(AppContext& context, int templateId, Printer& printer)
{
    return printPage(context, templateId, printer, false);
}

QString printAlignmentPage(AppContext& context, int templateId, Printer& printer)
{
    return printPage(context, templateId, printer, true);
}

} // namespace slipcraft
