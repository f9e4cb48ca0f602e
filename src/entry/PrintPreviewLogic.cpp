#include "entry/PrintPreviewLogic.h"

#include "data/Database.h"
#include "wording/Functions.h"

#include <cmath>

namespace slipcraft {

namespace {

// Screens report sizes from 30 to 600 pixels per inch; outside that the report is wrong.
constexpr double kLowestDpi = 30;
constexpr double kHighestDpi = 600;

// A whole number, else 0: one bad layout value must not hide the other items.
int numberOrZero(const QString& text)
{
    bool ok = false;
    const int value = trimText(text).toInt(&ok);
    return ok ? value : 0;
}

struct ItemMetrics {
    const PreviewItemRow& row;
    int linePitch; // pixels
    int cellPitch; // pixels
};

void showText(QList<PreviewText>& shown, const ItemMetrics& item, const QString& text, const QString& name, int x, int y,
              int perLine, bool inCells)
{
    if (text.isEmpty())
        return;
    if (perLine >= 1) {
        const QStringList lines = breakLines(text, perLine);
        for (qsizetype i = 0; i < lines.size(); ++i)
            if (!trimText(lines[i]).isEmpty())
                showText(shown, item, lines[i], name + QLatin1Char('_') + QString::number(i), x,
                         y + int(i) * item.linePitch, 0, inCells);
        return;
    }
    if (inCells && item.cellPitch > 1) {
        const QStringList cells = splitCharacters(trimText(text));
        for (qsizetype j = 0; j < cells.size(); ++j)
            showText(shown, item, cells[j], name + QLatin1Char('_') + QString::number(j), x + int(j) * item.cellPitch, y,
                     0, false);
        return;
    }
    shown.append({name, text, QPoint(kPreviewRulerThickness + x, kPreviewRulerThickness + y),
                  QSize(item.row.width, item.row.height), item.row.fontSize, item.row.fontName});
}

} // namespace

int previewDpi(QSizeF physicalSizeMm, QSize logicalPixels)
{
    if (physicalSizeMm.width() <= 0 || logicalPixels.width() <= 0)
        return kFallbackScreenDpi;
    const double dpi = logicalPixels.width() * 25.4 / physicalSizeMm.width();
    if (!std::isfinite(dpi) || dpi < kLowestDpi || dpi > kHighestDpi)
        return kFallbackScreenDpi;
    return int(std::lround(dpi));
}

QList<PreviewItemRow> loadPreviewRows(Database& db, int templateId, const QString& billType)
{
    SqlQuery rows = db.query(
        QStringLiteral("select a.CtlX, a.CtlY, a.CtlLH, a.SrcW, a.SrcH, a.FitParam, a.BreakNum, a.CtlFontSize, "
                       "a.CtlFontName, b.CtlData, b.CtlLabel from CKControl as a, NameDict as b "
                       "where a.CtlName=b.CtlName and a.NeedPrint=1 and b.PrintItem=1 and a.CheckTypeId=:id "
                       "and b.CheckTypeName=:billType order by a.ID"),
        {{QStringLiteral("id"), templateId}, {QStringLiteral("billType"), billType}});
    QList<PreviewItemRow> result;
    while (rows.next()) {
        PreviewItemRow row;
        row.text = trimText(rows.value(9).toString());
        if (row.text.isEmpty())
            row.text = trimText(rows.value(10).toString());
        row.x = rows.value(0).toInt();
        row.y = rows.value(1).toInt();
        row.lineHeight = rows.value(2).toInt();
        row.width = rows.value(3).toInt();
        row.height = rows.value(4).toInt();
        row.fitParam = rows.value(5).toString();
        row.breakNum = rows.value(6).toString();
        row.fontSize = rows.value(7).toInt();
        row.fontName = rows.value(8).toString();
        result.append(row);
    }
    return result;
}

QList<PreviewText> previewTexts(const QList<PreviewItemRow>& rows, int dpi)
{
    QList<PreviewText> shown;
    for (qsizetype k = 0; k < rows.size(); ++k) {
        const PreviewItemRow& row = rows[k];
        const ItemMetrics item{row, tenthMmToPixels(row.lineHeight < 1 ? 50 : row.lineHeight, dpi),
                               tenthMmToPixels(numberOrZero(row.fitParam), dpi)};
        showText(shown, item, row.text, QStringLiteral("lb") + QString::number(k + 1), tenthMmToPixels(row.x, dpi),
                 tenthMmToPixels(row.y, dpi), numberOrZero(row.breakNum), true);
    }
    return shown;
}

std::optional<QPoint> loadTemplateOffset(Database& db, int templateId)
{
    SqlQuery row = db.query(QStringLiteral("select XMove, YMove from CKTypeTable where CheckTypeId=:id"),
                            {{QStringLiteral("id"), templateId}});
    if (!row.next())
        return std::nullopt;
    return QPoint(row.value(0).toInt(), row.value(1).toInt());
}

QString centimetreBoxText(int tenthMm)
{
    return QString::number(tenthMm / 100.0);
}

QList<SampleRow> loadSampleRows(Database& db, const QString& billType)
{
    SqlQuery rows = db.query(QStringLiteral("select ID, CtlName, CtlLabel, CtlData from NameDict "
                                            "where CheckTypeName=:billType order by ShowOrd desc, ID"),
                             {{QStringLiteral("billType"), billType}});
    QList<SampleRow> result;
    while (rows.next())
        result.append({rows.value(0).toInt(), rows.value(1).toString(), rows.value(2).toString(), rows.value(3).toString()});
    return result;
}

void storeSampleLabel(Database& db, int id, const QString& label)
{
    db.execute(QStringLiteral("update NameDict set CtlLabel=:label where ID=:id"),
               {{QStringLiteral("label"), label}, {QStringLiteral("id"), id}});
}

void storeSampleData(Database& db, int id, const QString& data)
{
    db.execute(QStringLiteral("update NameDict set CtlData=:data where ID=:id"),
               {{QStringLiteral("data"), data}, {QStringLiteral("id"), id}});
}

} // namespace slipcraft
