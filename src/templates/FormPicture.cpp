#include "templates/FormPicture.h"

#include "data/Database.h"
#include "platform/RunPath.h"
#include "templates/Catalogue.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QJsonArray>
#include <QJsonDocument>
#include <QPainter>
#include <QPen>

namespace slipcraft {

namespace {

QPointF point(const QJsonValue& value, qreal scaleX, qreal scaleY)
{
    const QJsonArray xy = value.toArray();
    return {xy.at(0).toDouble() * scaleX, xy.at(1).toDouble() * scaleY};
}

QPen inkPen(const QColor& ink, qreal widthMm, qreal scale, bool dashed)
{
    // Hair lines still show at small screen sizes.
    QPen pen(ink, std::max(1.0, widthMm * scale));
    if (dashed)
        pen.setStyle(Qt::DashLine);
    return pen;
}

QFont captionFont(const QString& family, qreal heightPx, bool bold)
{
    QFont font(family);
    font.setPixelSize(std::max(6, qRound(heightPx)));
    font.setBold(bold);
    return font;
}

} // namespace

QImage drawFormPicture(const QJsonObject& description, const QSize& size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor(description.value(QStringLiteral("paper")).toString(QStringLiteral("white"))));
    const QJsonArray paper = description.value(QStringLiteral("paperMm")).toArray();
    const qreal widthMm = paper.at(0).toDouble();
    const qreal heightMm = paper.at(1).toDouble();
    if (widthMm <= 0 || heightMm <= 0 || size.isEmpty())
        return image;
    const qreal sx = size.width() / widthMm;
    const qreal sy = size.height() / heightMm;
    const QColor ink(description.value(QStringLiteral("ink")).toString(QStringLiteral("black")));
    const QString family = description.value(QStringLiteral("font")).toString();

    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);

    for (const QJsonValue& frame : description.value(QStringLiteral("frames")).toArray()) {
        const QJsonObject f = frame.toObject();
        const QJsonArray r = f.value(QStringLiteral("rect")).toArray();
        painter.setPen(inkPen(ink, f.value(QStringLiteral("width")).toDouble(0.2), sx, false));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(r.at(0).toDouble() * sx, r.at(1).toDouble() * sy, r.at(2).toDouble() * sx,
                                r.at(3).toDouble() * sy));
    }
    for (const QJsonValue& line : description.value(QStringLiteral("lines")).toArray()) {
        const QJsonObject l = line.toObject();
        painter.setPen(inkPen(ink, l.value(QStringLiteral("width")).toDouble(0.2), sx,
                              l.value(QStringLiteral("dash")).toBool()));
        painter.drawLine(point(l.value(QStringLiteral("from")), sx, sy), point(l.value(QStringLiteral("to")), sx, sy));
    }

    painter.setPen(ink);
    for (const QJsonValue& caption : description.value(QStringLiteral("texts")).toArray()) {
        const QJsonObject t = caption.toObject();
        const QString text = t.value(QStringLiteral("text")).toString();
        const qreal heightPx = t.value(QStringLiteral("size")).toDouble(3) * sy;
        painter.setFont(captionFont(family, heightPx, t.value(QStringLiteral("bold")).toBool()));
        QPointF at = point(t.value(QStringLiteral("at")), sx, sy);
        if (t.value(QStringLiteral("vertical")).toBool()) {
            // One character under the other, as on the paper's margin.
            for (const QChar c : text) {
                painter.drawText(QRectF(at, QSizeF(heightPx * 1.2, heightPx * 1.2)), Qt::AlignCenter, QString(c));
                at.ry() += heightPx * 1.1;
            }
        } else {
            painter.drawText(QRectF(at, QSizeF(size.width() - at.x(), heightPx * 1.4)),
                             Qt::AlignLeft | Qt::AlignTop, text);
        }
    }

    const QJsonObject grid = description.value(QStringLiteral("grid")).toObject();
    if (!grid.isEmpty()) {
        const QPointF origin = point(grid.value(QStringLiteral("at")), sx, sy);
        const QJsonArray cell = grid.value(QStringLiteral("cell")).toArray();
        const qreal cellW = cell.at(0).toDouble() * sx;
        const qreal cellH = cell.at(1).toDouble() * sy;
        const qreal headerH = grid.value(QStringLiteral("headerHeight")).toDouble() * sy;
        const QString header = grid.value(QStringLiteral("header")).toString();
        const qsizetype columns = header.size();
        painter.setPen(inkPen(ink, grid.value(QStringLiteral("width")).toDouble(0.2), sx, false));
        painter.drawRect(QRectF(origin, QSizeF(cellW * columns, cellH)));
        painter.drawLine(origin + QPointF(0, headerH), origin + QPointF(cellW * columns, headerH));
        for (qsizetype i = 1; i < columns; ++i)
            painter.drawLine(origin + QPointF(cellW * i, 0), origin + QPointF(cellW * i, cellH));
        painter.setFont(captionFont(family, headerH * 0.75, false));
        for (qsizetype i = 0; i < columns; ++i)
            painter.drawText(QRectF(origin + QPointF(cellW * i, 0), QSizeF(cellW, headerH)), Qt::AlignCenter,
                             QString(header[i]));
    }
    return image;
}

QJsonObject formPictureDescription(const QString& billType)
{
    const QString code = Catalogue::getTypeCodeByTypeName(billType);
    if (code.isEmpty())
        return {};
    QFile file(QStringLiteral(":/data/%1-picture.json").arg(code));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(file.readAll()).object();
}

QStringList drawMissingFormPictures(Database& db, const QString& runPath)
{
    QStringList written;
    SqlQuery rows = db.query(QStringLiteral("select TypeFirstName, ImgFile, TWidth, THeight from ckTypeTable "
                                            "where coalesce(ImgFile, '') <> '' order by CheckTypeId"));
    while (rows.next()) {
        const QJsonObject description = formPictureDescription(rows.value(0).toString());
        const QSize size(rows.value(2).toInt(), rows.value(3).toInt());
        if (description.isEmpty() || size.isEmpty())
            continue;
        const QString file = findIgnoringCase(runPath, QStringLiteral("Image/") + rows.value(1).toString());
        if (QFileInfo::exists(file))
            continue;
        QDir().mkpath(QFileInfo(file).absolutePath());
        if (drawFormPicture(description, size).save(file, "JPG", 92))
            written << file;
    }
    return written;
}

QImage templatePicture(Database& db, const QString& runPath, const QString& imageFile)
{
    const QString relative = QStringLiteral("Image/") + (imageFile.isEmpty() ? QStringLiteral("dhd_default.jpg") : imageFile);
    QString file = findIgnoringCase(runPath, relative);
    if (!QFileInfo::exists(file)) {
        try {
            drawMissingFormPictures(db, runPath);
        } catch (const DatabaseError&) {
            return {};
        }
        file = findIgnoringCase(runPath, relative);
    }
    return QImage(file);
}

} // namespace slipcraft
