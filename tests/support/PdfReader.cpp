#include "PdfReader.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QRegularExpression>
#include <QXmlStreamReader>

namespace pdfreader {

namespace {

QString run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    EXPECT_TRUE(process.waitForFinished(30000)) << program.toStdString();
    EXPECT_EQ(process.exitCode(), 0) << program.toStdString() << ": " << process.readAllStandardError().toStdString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace

QList<Word> words(const QString& pdfPath)
{
    QList<Word> found;
    QXmlStreamReader xml(run(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdfPath, QStringLiteral("-")}));
    int page = 0;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("page")) {
            ++page;
        } else if (xml.name() == QLatin1String("word")) {
            const QXmlStreamAttributes a = xml.attributes();
            Word word;
            word.page = page;
            word.xMin = a.value(QLatin1String("xMin")).toDouble();
            word.yMin = a.value(QLatin1String("yMin")).toDouble();
            word.xMax = a.value(QLatin1String("xMax")).toDouble();
            word.yMax = a.value(QLatin1String("yMax")).toDouble();
            word.text = xml.readElementText();
            found.append(word);
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return found;
}

QStringList pageTexts(const QString& pdfPath)
{
    QStringList pages = run(QStringLiteral("pdftotext"), {QStringLiteral("-raw"), QStringLiteral("-enc"), QStringLiteral("UTF-8"),
                                                          pdfPath, QStringLiteral("-")})
                            .split(QLatin1Char('\f'));
    // A form feed ends every page, so the last piece is empty.
    if (!pages.isEmpty() && pages.last().isEmpty())
        pages.removeLast();
    for (QString& page : pages)
        while (page.endsWith(QLatin1Char('\n')))
            page.chop(1);
    return pages;
}

Info info(const QString& pdfPath)
{
    const QString text = run(QStringLiteral("pdfinfo"), {pdfPath});
    Info result;
    const QRegularExpressionMatch pages = QRegularExpression(QStringLiteral("^Pages:\\s+(\\d+)"), QRegularExpression::MultilineOption).match(text);
    result.pages = pages.captured(1).toInt();
    const QRegularExpressionMatch size = QRegularExpression(QStringLiteral("^Page size:\\s+([\\d.]+) x ([\\d.]+) pts"), QRegularExpression::MultilineOption).match(text);
    result.pageSizePt = QSizeF(size.captured(1).toDouble(), size.captured(2).toDouble());
    const QRegularExpressionMatch rotation = QRegularExpression(QStringLiteral("^Page rot:\\s+(\\d+)"), QRegularExpression::MultilineOption).match(text);
    result.rotation = rotation.captured(1).toInt();
    return result;
}

QStringList fonts(const QString& pdfPath)
{
    QStringList names;
    const QStringList lines = run(QStringLiteral("pdffonts"), {pdfPath}).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    // Two heading lines, then one font per line, its name first.
    for (qsizetype i = 2; i < lines.size(); ++i) {
        QString name = lines[i].section(QLatin1Char(' '), 0, 0, QString::SectionSkipEmpty);
        name.remove(QRegularExpression(QStringLiteral("^[A-Z]{6}\\+")));
        names.append(name);
    }
    return names;
}

} // namespace pdfreader
