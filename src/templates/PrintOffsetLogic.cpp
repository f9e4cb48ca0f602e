#include "templates/PrintOffsetLogic.h"

#include "data/Database.h"
#include "wording/Functions.h"

#include <cstdlib>

namespace slipcraft {

QList<ListedTemplate> loadEnabledTemplates(Database& db)
{
    QList<ListedTemplate> listed;
    SqlQuery rows = db.query(QStringLiteral("select distinct TypeName, CheckTypeID from CKTypeTable "
                                            "where Visiable=:enabled and TypeName<>'' order by TypeName, CheckTypeID"),
                             {{QStringLiteral("enabled"), QStringLiteral("启用")}});
    while (rows.next())
        listed.append({rows.value(0).toString(), rows.value(1).toInt()});
    return listed;
}

std::optional<StoredFrame> loadTemplateFrame(Database& db, const QString& listedName)
{
    SqlQuery row = db.query(QStringLiteral("select CheckTypeID, TypeName, XMove, YMove, TWidth, THeight, PWidth, PHeight, "
                                           "HVPrint from CKTypeTable where TypeName=:name order by CheckTypeID limit 1"),
                            {{QStringLiteral("name"), trimText(listedName)}});
    if (!row.next())
        return std::nullopt;
    StoredFrame stored;
    stored.id = row.value(0).toInt();
    stored.name = row.value(1).toString();
    TemplateFrame& frame = stored.frame;
    frame.xMove = row.value(2).toInt();
    frame.yMove = row.value(3).toInt();
    if (!row.value(4).isNull())
        frame.pictureWidth = row.value(4).toInt();
    if (!row.value(5).isNull())
        frame.pictureHeight = row.value(5).toInt();
    // A template without its paper size prints on the usual bill paper.
    if (row.value(6).toInt() > 0 && row.value(7).toInt() > 0) {
        frame.paperWidth = row.value(6).toInt();
        frame.paperHeight = row.value(7).toInt();
    }
    const QString orientation = row.value(8).toString();
    frame.landscape = !orientation.isEmpty() && orientation != QLatin1String("0");
    return stored;
}

FrameSaved saveTemplateFrame(Database& db, int id, const TemplateFrame& frame, QString* error)
{
    try {
        const int changed = db.execute(
            QStringLiteral("update CKTypeTable set XMove=:x, YMove=:y, THeight=:th, TWidth=:tw, PWidth=:pw, "
                           "PHeight=:ph, HVPrint=:hv where CheckTypeID=:id"),
            {{QStringLiteral("x"), frame.xMove},
             {QStringLiteral("y"), frame.yMove},
             {QStringLiteral("th"), frame.pictureHeight},
             {QStringLiteral("tw"), frame.pictureWidth},
             {QStringLiteral("pw"), frame.paperWidth},
             {QStringLiteral("ph"), frame.paperHeight},
             {QStringLiteral("hv"), frame.landscape ? 1 : 0},
             {QStringLiteral("id"), id}});
        if (changed < 0)
            return FrameSaved::Failed;
        return changed > 0 ? FrameSaved::Changed : FrameSaved::Unchanged;
    } catch (const DatabaseError& failure) {
        if (error)
            *error = failure.text();
        return FrameSaved::Failed;
    }
}

FrameSaveReport frameSaveReport(FrameSaved saved, bool quiet)
{
    switch (saved) {
    case FrameSaved::Changed:
        return {QStringLiteral("票据整体属性修改成功！"), !quiet, false};
    case FrameSaved::Unchanged:
        return {QStringLiteral("票据整体属性没有变动！"), !quiet, false};
    case FrameSaved::Failed:
        break;
    }
    return {QStringLiteral("票据整体属性量修改出错！"), true, true};
}

QString centimetreText(int tenthMm)
{
    return QLatin1Char('=') + QString::number(std::abs(tenthMm) / 100.0) + QStringLiteral("厘米");
}

} // namespace slipcraft
