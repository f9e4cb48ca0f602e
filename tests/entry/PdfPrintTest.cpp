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
