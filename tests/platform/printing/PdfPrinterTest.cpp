#include "PdfReader.h"
#include "TempHome.h"

#include "platform/printing/PdfPrinter.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

using namespace slipcraft;

namespace {

constexpr double kToleranceMm = 0.05;

PrintFont font(const QString& family, qreal pointSize, bool bold = false)
{
    PrintFont f;
    f.family = family;
    f.pointSize = pointSize;
    f.bold = bold;
    return f;
}

// Everything in a folder, hidden files included.
QStringList entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool printOneJob(PdfPrinter& printer, const QString& title)
{
    if (!printer.beginDocument(title))
        return false;
    printer.drawText(1200, 1200, QStringLiteral("X"));
    return printer.endDocument();
}

class PdfPrinterTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString folder = dir.filePath(QStringLiteral("Output/"));
    PdfPrinter printer{folder};
};

} // namespace

// Texts land where they were drawn, measured from the paper's corner, on a standard
// and on a custom landscape paper; Latin faces come through the Windows names.
TEST_F(PdfPrinterTest, TextsLandAtTheirPixelPositions)
{
    struct Text {
        PrintFont font;
        int page;
        int x;
        int y;
        QString text;
    };
    struct Case {
        const char* label;
        PageSetup setup;
        QSizeF expectedPagePt;
        QList<Text> texts;
        QStringList expectedFonts;
    };
    const QString zenHei = QStringLiteral("WenQuanYi Zen Hei");
    const Case cases[] = {
        {"A4 portrait",
         {QSizeF(210, 297), QPageLayout::Portrait},
         QSizeF(595.276, 841.89),
         {{font(zenHei, 12), 1, 0, 0, QStringLiteral("角落")},
          {font(zenHei, 9), 1, 1417, 2362, QStringLiteral("收款人全称")},
          {font(QStringLiteral("Arial"), 10.5), 1, 4725, 5000, QStringLiteral("Amount")},
          {font(QStringLiteral("Times New Roman"), 14, true), 1, 8999, 12001, QStringLiteral("Payee")},
          {font(zenHei, 9), 2, 333, 777, QStringLiteral("第二页")}},
         {QStringLiteral("WenQuanYiZenHei"), QStringLiteral("LiberationSans"), QStringLiteral("LiberationSerif-Bold")}},
        {"custom landscape 100 x 180 mm",
         {QSizeF(100, 180), QPageLayout::Landscape},
         QSizeF(180 * pdfreader::kPointsPerMm, 100 * pdfreader::kPointsPerMm),
         {{font(zenHei, 9), 1, 7000, 300, QStringLiteral("远端")},
          {font(QStringLiteral("Courier New"), 9), 1, 11, 4000, QStringLiteral("6225880012345678")}},
         {QStringLiteral("WenQuanYiZenHei"), QStringLiteral("LiberationMono")}},
        {"the printer's own paper, turned",
         {QSizeF(), QPageLayout::Landscape},
         QSizeF(841.89, 595.276),
         {{font(zenHei, 9), 1, 13000, 9000, QStringLiteral("右下")}},
         {QStringLiteral("WenQuanYiZenHei")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        printer.setPageSetup(c.setup);
        ASSERT_TRUE(printer.beginDocument(QStringLiteral("支票"))) << printer.errorText().toStdString();
        int page = 1;
        for (const Text& t : c.texts) {
            if (t.page != page) {
                ASSERT_TRUE(printer.newPage());
                page = t.page;
            }
            printer.selectFont(t.font);
            printer.drawText(t.x, t.y, t.text);
        }
        ASSERT_TRUE(printer.endDocument()) << printer.errorText().toStdString();

        const pdfreader::Info info = pdfreader::info(printer.lastFile());
        EXPECT_EQ(info.pages, page);
        EXPECT_NEAR(info.pageSizePt.width(), c.expectedPagePt.width(), 0.5);
        EXPECT_NEAR(info.pageSizePt.height(), c.expectedPagePt.height(), 0.5);
        EXPECT_EQ(info.rotation, 0);

        const QList<pdfreader::Word> words = pdfreader::words(printer.lastFile());
        ASSERT_EQ(words.size(), c.texts.size());
        for (qsizetype i = 0; i < words.size(); ++i) {
            const Text& t = c.texts[i];
            const pdfreader::Word& w = words[i];
            SCOPED_TRACE(t.text.toStdString());
            EXPECT_EQ(w.text, t.text);
            EXPECT_EQ(w.page, t.page);
            const double xMm = t.x * 25.4 / PdfPrinter::kResolution;
            EXPECT_NEAR(w.xMin / pdfreader::kPointsPerMm, xMm, kToleranceMm);
            // The top of the text's line, baseline minus the font's ascent.
            const double yMm = t.y * 25.4 / PdfPrinter::kResolution;
            EXPECT_NEAR(w.yMin / pdfreader::kPointsPerMm, yMm, kToleranceMm);
        }
        EXPECT_EQ(pdfreader::fonts(printer.lastFile()), c.expectedFonts);
    }
}

TEST_F(PdfPrinterTest, ReportsItsMetricsInFullPageMode)
{
    EXPECT_EQ(printer.name(), QStringLiteral("PDF文件"));
    EXPECT_EQ(printer.resolutionX(), 1200);
    EXPECT_EQ(printer.resolutionY(), 1200);
    EXPECT_EQ(printer.physicalOffsetTop(), 0);

    // The width follows the selected font, in or out of a job.
    printer.selectFont(font(QStringLiteral("宋体"), 9));
    const int nine = printer.averageCharWidth();
    printer.selectFont(font(QStringLiteral("宋体"), 18));
    const int eighteen = printer.averageCharWidth();
    EXPECT_GT(nine, 0);
    EXPECT_NEAR(eighteen, 2 * nine, 2);
}

// The font left on the canvas before a job is the one its first text uses.
TEST_F(PdfPrinterTest, CanvasFontCarriesIntoTheNextJob)
{
    printer.selectFont(font(QStringLiteral("Courier New"), 12));
    ASSERT_TRUE(printer.beginDocument(QStringLiteral("支票")));
    printer.drawText(600, 600, QStringLiteral("Carried"));
    ASSERT_TRUE(printer.endDocument());
    EXPECT_EQ(pdfreader::fonts(printer.lastFile()), QStringList{QStringLiteral("LiberationMono")});
}

TEST_F(PdfPrinterTest, NamesFilesFromDateTimeAndTitle)
{
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    ASSERT_TRUE(printOneJob(printer, QStringLiteral("支票"))) << printer.errorText().toStdString();
    ASSERT_TRUE(printOneJob(printer, QStringLiteral("支票")));
    ASSERT_TRUE(printOneJob(printer, QStringLiteral("定制/单:1")));
    const QDateTime after = QDateTime::currentDateTime().addSecs(1);

    const QStringList files = entries(folder);
    ASSERT_EQ(files.size(), 3) << files.join(QLatin1Char(' ')).toStdString();
    EXPECT_EQ(QFileInfo(printer.lastFile()).absolutePath(), QFileInfo(folder).absolutePath());
    const QRegularExpression pattern(QStringLiteral("^(\\d{8}-\\d{6})-(支票|定制_单_1)(-2)?\\.pdf$"));
    for (const QString& file : files) {
        const QRegularExpressionMatch match = pattern.match(file);
        ASSERT_TRUE(match.hasMatch()) << file.toStdString();
        const QDateTime stamp = QDateTime::fromString(match.captured(1), QStringLiteral("yyyyMMdd-HHmmss"));
        EXPECT_GE(stamp, before);
        EXPECT_LE(stamp, after);
        EXPECT_EQ(pdfreader::info(QDir(folder).filePath(file)).pages, 1);
    }
}

// A name already taken within the same second moves on to "-2", and the file that
// holds it is left alone.
TEST_F(PdfPrinterTest, NeverReplacesAnEarlierFile)
{
    QDir().mkpath(folder);
    const QDateTime now = QDateTime::currentDateTime();
    for (int s = 0; s < 5; ++s) {
        QFile taken(QDir(folder).filePath(now.addSecs(s).toString(QStringLiteral("yyyyMMdd-HHmmss")) + QStringLiteral("-电汇单.pdf")));
        ASSERT_TRUE(taken.open(QIODevice::WriteOnly));
        taken.write("earlier");
    }
    ASSERT_TRUE(printOneJob(printer, QStringLiteral("电汇单")));
    EXPECT_TRUE(printer.lastFile().endsWith(QStringLiteral("-电汇单-2.pdf"))) << printer.lastFile().toStdString();
    for (const QString& file : entries(folder))
        if (!file.endsWith(QStringLiteral("-2.pdf")))
            EXPECT_EQ(contents(QDir(folder).filePath(file)), QByteArray("earlier"));
}

TEST_F(PdfPrinterTest, AbortLeavesNoFile)
{
    ASSERT_TRUE(printer.beginDocument(QStringLiteral("支票")));
    printer.drawText(100, 100, QStringLiteral("作废"));
    printer.newPage();
    printer.abort();
    EXPECT_FALSE(printer.isPrinting());
    EXPECT_TRUE(entries(folder).isEmpty()) << entries(folder).join(QLatin1Char(' ')).toStdString();
    EXPECT_TRUE(printer.lastFile().isEmpty());
    EXPECT_FALSE(printer.endDocument());

    // The printer is ready for the next job.
    EXPECT_TRUE(printOneJob(printer, QStringLiteral("支票")));
    EXPECT_EQ(entries(folder).size(), 1);
}

TEST_F(PdfPrinterTest, UnwritableFolderFailsAndWritesNothing)
{
    QTemporaryDir blocked;
    PdfPrinter nowhere(unwritablePath(blocked, QStringLiteral("Output/")));
    int reported = 0;
    nowhere.onWritten = [&](const QString&) { ++reported; };

    EXPECT_FALSE(nowhere.beginDocument(QStringLiteral("支票")));
    EXPECT_FALSE(nowhere.errorText().isEmpty());
    EXPECT_FALSE(nowhere.isPrinting());
    EXPECT_FALSE(nowhere.endDocument());
    EXPECT_FALSE(nowhere.errorText().isEmpty());
    EXPECT_TRUE(nowhere.lastFile().isEmpty());
    EXPECT_EQ(entries(blocked.path()), QStringList{QStringLiteral("blocker")});
    EXPECT_EQ(reported, 0);
}

// The folder vanishes while the job is open: the end reports it, and nothing is
// taken as printed.
TEST_F(PdfPrinterTest, FailureAtTheEndIsReported)
{
    int reported = 0;
    printer.onWritten = [&](const QString&) { ++reported; };
    ASSERT_TRUE(printer.beginDocument(QStringLiteral("支票")));
    printer.drawText(100, 100, QStringLiteral("X"));
    ASSERT_TRUE(QDir(folder).removeRecursively());
    EXPECT_FALSE(printer.endDocument());
    EXPECT_FALSE(printer.errorText().isEmpty());
    EXPECT_TRUE(printer.lastFile().isEmpty());
    EXPECT_FALSE(QFileInfo::exists(folder));
    EXPECT_EQ(reported, 0);
}

// An explicit file is replaced by each job, and only by one that ends well.
TEST_F(PdfPrinterTest, ExplicitFileIsReplacedOnlyByAFinishedJob)
{
    const QString target = dir.filePath(QStringLiteral("out/bill.pdf"));
    QDir().mkpath(dir.filePath(QStringLiteral("out")));
    {
        QFile old(target);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old");
    }
    printer.setOutputFile(target);
    QString reported;
    printer.onWritten = [&](const QString& path) { reported = path; };

    ASSERT_TRUE(printer.beginDocument(QStringLiteral("支票")));
    printer.drawText(100, 100, QStringLiteral("X"));
    printer.abort();
    EXPECT_EQ(contents(target), QByteArray("old"));
    EXPECT_EQ(entries(dir.filePath(QStringLiteral("out"))), QStringList{QStringLiteral("bill.pdf")});

    ASSERT_TRUE(printOneJob(printer, QStringLiteral("支票"))) << printer.errorText().toStdString();
    EXPECT_EQ(printer.lastFile(), target);
    EXPECT_EQ(reported, target);
    EXPECT_TRUE(contents(target).startsWith("%PDF"));
    EXPECT_FALSE(QFileInfo::exists(folder));

    printer.setOutputFile(QString());
    ASSERT_TRUE(printOneJob(printer, QStringLiteral("支票")));
    EXPECT_EQ(entries(folder).size(), 1);
}

TEST_F(PdfPrinterTest, JobOperationsNeedAnOpenJob)
{
    EXPECT_FALSE(printer.newPage());
    EXPECT_FALSE(printer.errorText().isEmpty());
    EXPECT_FALSE(printer.endDocument());
    printer.abort(); // harmless

    ASSERT_TRUE(printer.beginDocument(QStringLiteral("支票")));
    EXPECT_TRUE(printer.errorText().isEmpty());
    EXPECT_FALSE(printer.beginDocument(QStringLiteral("支票")));
    EXPECT_TRUE(printer.isPrinting());
    EXPECT_TRUE(printer.endDocument());
    EXPECT_EQ(entries(folder).size(), 1);
}

namespace {

struct FaceCase {
    const char* label;
    const char* face;
    bool bold;
};

void PrintTo(const FaceCase& c, std::ostream* os)
{
    *os << c.label;
}

class PdfTextRoundTrip : public ::testing::TestWithParam<FaceCase> {};

} // namespace

// A PDF is the user's record of what was printed: a reader must extract every text
// exactly as it was given, whatever face the template names.
TEST_P(PdfTextRoundTrip, EveryTextReadsBackAsGiven)
{
    const QStringList texts = {
        // Ideographs whose glyphs some faces share with the radicals.
        QStringLiteral("人民子文角言金"),
        QStringLiteral("AB123X7人民子文"),
        QStringLiteral("￥1,005.05"),
        QStringLiteral("人民币壹仟零伍元零伍分"),
        QStringLiteral("贰零贰陆年零叁月壹拾伍日"),
        QStringLiteral("１２３４．５０（全角）"),
        QStringLiteral("，。：；！？《》【】、"),
        QStringLiteral("USD$1,234.50¥€£"),
        QStringLiteral("6225880012345678"),
        QStringLiteral("收款人全称：北京某某有限公司"),
    };
    QTemporaryDir dir;
    PdfPrinter printer(dir.filePath(QStringLiteral("Output")));
    PrintFont font;
    font.family = QString::fromUtf8(GetParam().face);
    font.pointSize = 11;
    font.bold = GetParam().bold;
    printer.setPageSetup({QSizeF(230, 127), QPageLayout::Portrait});
    ASSERT_TRUE(printer.beginDocument(QStringLiteral("支票")));
    printer.selectFont(font);
    for (qsizetype i = 0; i < texts.size(); ++i) {
        if (i > 0)
            ASSERT_TRUE(printer.newPage());
        printer.drawText(600, 600, texts[i]);
    }
    ASSERT_TRUE(printer.endDocument()) << printer.errorText().toStdString();

    EXPECT_EQ(pdfreader::pageTexts(printer.lastFile()), texts);
    // None of the faces whose text does not read back.
    for (const QString& used : pdfreader::fonts(printer.lastFile()))
        EXPECT_FALSE(used.startsWith(QStringLiteral("Noto"))) << used.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Faces, PdfTextRoundTrip,
                         ::testing::Values(FaceCase{"SongTi", "宋体", false}, FaceCase{"SongTiBold", "宋体", true},
                                           FaceCase{"HeiTi", "黑体", false}, FaceCase{"YaHei", "微软雅黑", false},
                                           FaceCase{"KaiTi", "楷体", false}, FaceCase{"FangSong", "仿宋", false},
                                           FaceCase{"Arial", "Arial", false}, FaceCase{"ArialBold", "Arial", true},
                                           FaceCase{"TimesNewRoman", "Times New Roman", false},
                                           FaceCase{"CourierNew", "Courier New", false},
                                           FaceCase{"UnknownFace", "华文行楷", false}, FaceCase{"NoFace", "", false}),
                         [](const ::testing::TestParamInfo<FaceCase>& info) { return std::string(info.param.label); });
