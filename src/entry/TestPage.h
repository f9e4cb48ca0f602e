#pragma once

#include <QColor>
#include <QString>

namespace slipcraft {

class AppContext;
class Printer;

// One page with every printable item of the template (its layout asks for printing)
// showing a sample value: the item's sample data of the bill type, else its label,
// else the layout's own caption; tick boxes show their tick, pictures nothing. Printed
// with the template's offset and paper, the way bills are. Returns an error text,
// empty on success.
QString printTestPage(AppContext& context, int templateId, Printer& printer);

// The test page on plain paper for calibration: under the items, a millimetre grid over
// the whole paper measured from its edges (heavier every 5 and 10 mm, centimetres
// numbered), each item's printed box (a cross at its corner when it has no size), and
// a caption naming the template and the offset the page was printed with. Holding it
// against the form shows how far the form lies from where the items land.
QString printAlignmentPage(AppContext& context, int templateId, Printer& printer);

// The alignment page's lines. The grid stays grey, so that the items and their boxes
// read clearly over it.
struct LineStyle {
    double widthMm;
    QColor color;
};
inline const LineStyle kGridMmLine{0.1, QColor(170, 170, 170)};
inline const LineStyle kGridHalfCmLine{0.15, QColor(110, 110, 110)};
inline const LineStyle kGridCmLine{0.2, QColor(60, 60, 60)};
inline const LineStyle kItemBoxLine{0.3, Qt::black};

} // namespace slipcraft
