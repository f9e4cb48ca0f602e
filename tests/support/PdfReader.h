#pragma once

#include <QList>
#include <QSizeF>
#include <QString>

// What poppler's tools read back from a PDF file.
namespace pdfreader {

// One word as `pdftotext -bbox` sees it, in points from the page's top-left corner.
struct Word {
    int page = 0; // from 1
    QString text;
    double xMin = 0;
    double yMin = 0;
    double xMax = 0;
    double yMax = 0;
};

QList<Word> words(const QString& pdfPath);

// The text of each page as `pdftotext -raw` extracts it, lines joined by "\n".
QStringList pageTexts(const QString& pdfPath);

struct Info {
    int pages = 0;
    QSizeF pageSizePt; // of the first page
    int rotation = 0;
};

Info info(const QString& pdfPath);

// The names of the fonts the file uses (`pdffonts`), without subset prefixes.
QStringList fonts(const QString& pdfPath);

constexpr double kPointsPerMm = 72.0 / 25.4;

} // namespace pdfreader
