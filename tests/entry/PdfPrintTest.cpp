#include "EntryFixture.h"
#include "PdfReader.h"

#include "entry/ControlValues.h"
#include "entry/PrintJob.h"
#include "entry/PrintRenderer.h"
#include "platform/printing/PdfPrinter.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTemporaryDir>

using namespace slipcraft;

namespace {

constexpr double kToleranceMm = 0.1;

} // namespace

class PdfPrintTest : public EntryFixture {};

// End to end: every item lands on the paper where the template says, to a tenth of a
// millimetre, including the shift by its font's average character width.
TEST_F(PdfPrintTest, ItemsLandWhereTheTemplateSays)
{
    const QString zenHei = QStringLiteral("WenQuanYi Zen Hei");
    const int xMove = 15;
    const int yMove = -10;
    addTemplate(3, QStringLiteral("电汇单"), xMove, yMove, 0);
    addItem(QStringLiteral("电汇单"), QStringLiteral("zdInComp"), QStringLiteral("TEXT"), 1);
    addItem(QStringLiteral("电汇单"), QStringLiteral("zdJEXX"), QStringLiteral("TEXT"), 2);
    addItem(QStringLiteral("电汇单"), QStringLiteral("zdPost"), QStringLiteral("TEXT"), 3);
    addItem(QStringLiteral("电汇单"), QStringLiteral("zdRemark"), QStringLiteral("TEXT"), 4);
    struct Item {
        Layout layout;
        QString value;
    };
    Layout remark{QStringLiteral("zdRemark"), 300, 1000, 12, zenHei};
    remark.breakFontSize = 9;
    remark.lineHeight = 60;
    Layout post{QStringLiteral("zdPost"), 200, 800, 9, zenHei};
    post.fitParam = QStringLiteral("60");
    const Item items[] = {
        {{QStringLiteral("zdInComp"), 300, 250, 12, zenHei}, QStringLiteral("北京某某有限公司")},
        {{QStringLiteral("zdJEXX"), 1400, 450, 10, QStringLiteral("Arial")}, QStringLiteral("1234.50")},
        {post, QStringLiteral("246813")},
        {remark, QStringLiteral("第一行\n第二行")},
    };
    QWidget form;
    for (const Item& item : items) {
        addLayout(3, item.layout);
        auto* box = new QPlainTextEdit(item.value, &form);
        box->setObjectName(item.layout.name);
    }

    QTemporaryDir dir;
    PdfPrinter printer(dir.filePath(QStringLiteral("Output")));
    const QString file = dir.filePath(QStringLiteral("bill.pdf"));
    printer.setOutputFile(file);
    OnePrinterService service(printer);
    context.setPrintService(&service);
    WidgetPrintSource source(context, &form, QStringLiteral("电汇单"), {3});
    PrintJob job(context, source);
    ASSERT_TRUE(job.PrintPrepare());
    ASSERT_TRUE(job.PrinterTransBegin(1));
    ASSERT_TRUE(job.SendCheckToPrinter());
    ASSERT_TRUE(job.PrinterTransEnd()) << printer.errorText().toStdString();
    EXPECT_TRUE(messages.messages.isEmpty());

    // Where each text's top-left corner belongs, in millimetres.
    auto expectedAt = [&](const Layout& l, qreal size, qint64 dx, qint64 dy) {
        printer.selectFont(itemFont(l.fontName, int(size), 0, 0, 0, QString()));
        const qint64 x = printerPixels(l.x + xMove + dx, PdfPrinter::kResolution) + 2 * printer.averageCharWidth();
        const qint64 y = printerPixels(l.y + yMove + dy, PdfPrinter::kResolution);
        return QPointF(x * 25.4 / PdfPrinter::kResolution, y * 25.4 / PdfPrinter::kResolution);
    };
    QList<std::pair<QString, QPointF>> expected = {
        {QStringLiteral("北京某某有限公司"), expectedAt(items[0].layout, 12, 0, 0)},
        {QStringLiteral("1234.50"), expectedAt(items[1].layout, 10, 0, 0)},
        {QStringLiteral("第一行"), expectedAt(remark, 9, 0, 0)},
        {QStringLiteral("第二行"), expectedAt(remark, 9, 0, 60)},
    };
    for (int i = 0; i < 6; ++i)
        expected.append({QString(QStringLiteral("246813")[i]), expectedAt(post, 9, i * 60, 0)});

    const pdfreader::Info info = pdfreader::info(file);
    EXPECT_EQ(info.pages, 1);
    EXPECT_NEAR(info.pageSizePt.width() / pdfreader::kPointsPerMm, 230, 0.5);
    EXPECT_NEAR(info.pageSizePt.height() / pdfreader::kPointsPerMm, 127, 0.5);

    const QList<pdfreader::Word> words = pdfreader::words(file);
    ASSERT_EQ(words.size(), expected.size());
    for (const auto& [text, point] : expected) {
        SCOPED_TRACE(text.toStdString());
        const auto word = std::find_if(words.begin(), words.end(), [&](const pdfreader::Word& w) { return w.text == text; });
        ASSERT_NE(word, words.end());
        EXPECT_NEAR(word->xMin / pdfreader::kPointsPerMm, point.x(), kToleranceMm);
        EXPECT_NEAR(word->yMin / pdfreader::kPointsPerMm, point.y(), kToleranceMm);
    }
}

// The page is the template's face as designed, whichever way the sheet is fed: an item
// in each corner of the face is on the page.
TEST_F(PdfPrintTest, PageIsTheFaceWhicheverWayTheSheetIsFed)
{
    struct Case {
        const char* label;
        int width;
        int height;
        int hvPrint;
    };
    const Case cases[] = {
        {"wide face, fed turned", 2400, 1000, 1},
        {"wide face, fed upright", 2400, 1000, 0},
        {"tall face, fed turned", 1000, 2400, 1},
        {"tall face, fed upright", 1000, 2400, 0},
    };
    const QStringList corners = {QStringLiteral("zdTL"), QStringLiteral("zdTR"), QStringLiteral("zdBL"),
                                 QStringLiteral("zdBR")};
    for (int i = 0; i < corners.size(); ++i)
        addItem(QStringLiteral("进账单"), corners[i], QStringLiteral("TEXT"), i + 1);
    int id = 10;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        ++id;
        addTemplate(id, QStringLiteral("进账单"), 0, 0, c.hvPrint, c.width, c.height);
        QWidget form;
        // 3 mm in from every edge; the right and bottom items end 3 mm short of the edge.
        const int right = c.width - 200;
        const int bottom = c.height - 80;
        const QPoint at[] = {{30, 30}, {right, 30}, {30, bottom}, {right, bottom}};
        for (int i = 0; i < corners.size(); ++i) {
            addLayout(id, {corners[i], at[i].x(), at[i].y(), 10, QStringLiteral("宋体")});
            auto* box = new QLineEdit(QStringLiteral("角%1").arg(i), &form);
            box->setObjectName(corners[i]);
        }

        QTemporaryDir dir;
        PdfPrinter printer(dir.filePath(QStringLiteral("Output")));
        printer.setOutputFile(dir.filePath(QStringLiteral("bill.pdf")));
        OnePrinterService service(printer);
        context.setPrintService(&service);
        WidgetPrintSource source(context, &form, QStringLiteral("进账单"), {id});
        PrintJob job(context, source);
        ASSERT_TRUE(job.PrintPrepare());
        ASSERT_TRUE(job.PrinterTransBegin(1));
        ASSERT_TRUE(job.SendCheckToPrinter());
        ASSERT_TRUE(job.PrinterTransEnd()) << printer.errorText().toStdString();

        const pdfreader::Info info = pdfreader::info(printer.lastFile());
        EXPECT_NEAR(info.pageSizePt.width() / pdfreader::kPointsPerMm, c.width / 10.0, 0.5);
        EXPECT_NEAR(info.pageSizePt.height() / pdfreader::kPointsPerMm, c.height / 10.0, 0.5);
        const QList<pdfreader::Word> words = pdfreader::words(printer.lastFile());
        ASSERT_EQ(words.size(), corners.size());
        for (int i = 0; i < corners.size(); ++i) {
            EXPECT_EQ(words[i].text, QStringLiteral("角%1").arg(i));
            EXPECT_NEAR(words[i].yMin / pdfreader::kPointsPerMm, at[i].y() / 10.0, 0.5);
            EXPECT_LE(words[i].xMax, info.pageSizePt.width());
            EXPECT_LE(words[i].yMax, info.pageSizePt.height());
        }
    }
}
