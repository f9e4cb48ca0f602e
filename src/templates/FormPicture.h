#pragma once

#include <QImage>
#include <QJsonObject>
#include <QSize>
#include <QString>
#include <QStringList>

namespace slipcraft {

class Database;

// Draws a paper form from its description: the paper size in mm ("paperMm"), colours
// ("paper", "ink"), framed rectangles, lines (optionally dashed), captions (optionally
// bold or vertical) and a digit grid, every measure in mm. The picture fills size.
QImage drawFormPicture(const QJsonObject& description, const QSize& size);

// The built-in description of a bill type's paper form; empty for bill types the
// program cannot draw.
QJsonObject formPictureDescription(const QString& billType);

// Draws, as a JPEG in the Image folder of the run path, the picture of every template
// whose picture file is missing and whose bill type the program can draw, at the
// template's screen size. Returns the files written. Throws DatabaseError.
QStringList drawMissingFormPictures(Database& db, const QString& runPath);

// A template's form picture from the Image folder (any letter case; "dhd_default.jpg"
// when the template names none), drawn first when it is missing and the program can
// draw it. Null when there is none.
QImage templatePicture(Database& db, const QString& runPath, const QString& imageFile);

} // namespace slipcraft
