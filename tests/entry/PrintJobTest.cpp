#include "EntryFixture.h"

#include "entry/ControlValues.h"
#include "entry/PrintJob.h"
#include "entry/PrintRenderer.h"
#include "shell/Settings.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QWidget>

#include <cmath>
#include <functional>

using namespace slipcraft;

namespace {

// The cheque form's way: its options keep the paying bank off the paper, and a pass
// first clears the receiver prompt.
class ChequeSource : public WidgetPrintSource {
public:
    using WidgetPrintSource::WidgetPrintSource;

    bool includeItem(const QString& itemName) const override
    {
        return printOutBank || itemName != QLatin1String("ZDOUTBANK");
    }
    void beforePrintPass() override { ++passes; }
    void showTemplateChooser() override { ++chooserShown; }

    bool printOutBank = false;
    int passes = 0;
    int chooserShown = 0;
};

// A printer whose jobs never reach the paper.
class FailingEndPrinter : public RecordingPrinter {
public:
    bool endDocument() override
    {
        RecordingPrinter::endDocument();
        return false;
    }
};

QList<PrintEvent::Kind> kinds(const QList<PrintEvent>& events)
{
    QList<PrintEvent::Kind> result;
    for (const PrintEvent& e : events)
        if (e.kind != PrintEvent::Kind::SelectFont && e.kind != PrintEvent::Kind::DrawText)
            result.append(e.kind);
    return result;
}

int averageWidth(qreal pointSize)
{
    return int(std::lround(pointSize * 600 / 144.0));
}

class PrintJobTest : public EntryFixture {
protected:
    void SetUp() override
    {
        EntryFixture::SetUp();
        context.setPrintService(&service);
        addTemplate(kTemplate, QStringLiteral("支票"), 12, -8, 1, 1780, 900);
        // Print order follows ShowOrd, not the order of the rows.
        addItem(QStringLiteral("支票"), QStringLiteral("zdRemark"), QStringLiteral("TEXT"), 3);
        addItem(QStringLiteral("支票"), QStringLiteral("zdInComp"), QString(), 1);
        addItem(QStringLiteral("支票"), QStringLiteral("DEFCHECK0"), QStringLiteral("checkbox"), 4);
        addItem(QStringLiteral("支票"), QStringLiteral("DEFCHECK1"), QStringLiteral("CHECKBOX"), 5);
        addItem(QStringLiteral("支票"), QStringLiteral("zdHidden"), QStringLiteral("TEXT"), 6);
        addItem(QStringLiteral("支票"), QStringLiteral("zdMissing"), QStringLiteral("TEXT"), 7);
        addItem(QStringLiteral("支票"), QStringLiteral("zdNotPrinted"), QStringLiteral("TEXT"), 8, 0);
        addItem(QStringLiteral("支票"), QStringLiteral("imgLogo"), QStringLiteral("IMAGE"), 9);
        addItem(QStringLiteral("支票"), QStringLiteral("zdPostCode"), QStringLiteral("TEXT"), 10);
        addItem(QStringLiteral("支票"), QStringLiteral("zdOutBank"), QStringLiteral("TEXT"), 11);
        addItem(QStringLiteral("支票"), QStringLiteral("zdWY"), QStringLiteral("TEXT"), 12);
        addItem(QStringLiteral("支票"), QStringLiteral("zdQY"), QStringLiteral("TEXT"), 13);
        addItem(QStringLiteral("进账单"), QStringLiteral("zdInComp"), QStringLiteral("TEXT"), 2);

        addLayout(kTemplate, {QStringLiteral("zdInComp"), 300, 200, 10});
        Layout remark{QStringLiteral("zdRemark"), 300, 700, 12};
        remark.breakFontSize = 4;
        addLayout(kTemplate, remark);
        addLayout(kTemplate, {QStringLiteral("DEFCHECK0"), 1800, 100, 9});
        addLayout(kTemplate, {QStringLiteral("DEFCHECK1"), 1850, 100, 9});
        addLayout(kTemplate, {QStringLiteral("zdHidden"), 100, 100, 9});
        addLayout(kTemplate, {QStringLiteral("zdMissing"), 100, 150, 9});
        addLayout(kTemplate, {QStringLiteral("zdNotPrinted"), 100, 200, 9});
        addLayout(kTemplate, {QStringLiteral("imgLogo"), 100, 250, 9});
        Layout post{QStringLiteral("zdPostCode"), 100, 300, 9};
        post.fitParam = QStringLiteral("四十");
        addLayout(kTemplate, post);
        addLayout(kTemplate, {QStringLiteral("zdOutBank"), 100, 350, 9});
        addLayout(kTemplate, {QStringLiteral("zdWY"), 1460, 400, 9});
        addLayout(kTemplate, {QStringLiteral("zdQY"), 1500, 400, 9});
        addLayout(kTemplate, {QStringLiteral("zdBY"), 1540, 400, 9});

        panel->setObjectName(QStringLiteral("pnlCheck"));
        edit(QStringLiteral("zdInComp"), QStringLiteral(" 北京某某有限公司 "));
        auto* remarkBox = new QPlainTextEdit(QStringLiteral("货款\r\n\r\n第二批"), panel);
        remarkBox->setObjectName(QStringLiteral("zdRemark"));
        auto* ticked = new QCheckBox(panel);
        ticked->setObjectName(QStringLiteral("defCheck0"));
        ticked->setChecked(true);
        (new QCheckBox(panel))->setObjectName(QStringLiteral("defCheck1"));
        edit(QStringLiteral("zdHidden"), QStringLiteral("不该出现"))->hide();
        edit(QStringLiteral("zdNotPrinted"), QStringLiteral("不打印"));
        auto* logo = new QLabel(panel);
        logo->setObjectName(QStringLiteral("imgLogo"));
        QPixmap picture(8, 8);
        picture.fill(Qt::red);
        logo->setPixmap(picture);
        edit(QStringLiteral("zdPostCode"), QStringLiteral("100086"));
        edit(QStringLiteral("zdOutBank"), QStringLiteral("工商银行"));
        edit(QStringLiteral("zdWY"), QStringLiteral("￥"));
        edit(QStringLiteral("zdQY"), QStringLiteral("1"));
        source.options.templateId = kTemplate;
        source.options.currencyAbbreviation = QStringLiteral("￥");
        source.options.digitBoxPitch = 35;
    }

    QLineEdit* edit(const QString& name, const QString& text)
    {
        auto* box = new QLineEdit(text, panel);
        box->setObjectName(name);
        return box;
    }

    QPoint at(qint64 x, qint64 y, qreal size) const
    {
        return QPoint(int(printerPixels(x + 12, 600) + 2 * averageWidth(size)), int(printerPixels(y - 8, 600)));
    }

    void popPrinterSetup()
    {
        context.settings().toggleSwitch(Settings::kPopPrinterSetup, false);
        context.LoadSysParam();
    }

    static constexpr int kTemplate = 7;
    RecordingPrinter printer;
    OnePrinterService service{printer};
    QWidget form;
    QWidget* panel = new QWidget(&form);
    ChequeSource source{context, panel, QStringLiteral("支票")};
    PrintJob job{context, source};
};

} // namespace

TEST_F(PrintJobTest, PrintsTheVisibleItemsOfTheBillInOrder)
{
    ASSERT_TRUE(job.PrintPrepare());
    ASSERT_TRUE(job.PrinterTransBegin(1));
    ASSERT_TRUE(job.SendCheckToPrinter());
    ASSERT_TRUE(job.PrinterTransEnd());

    struct Expected {
        QString text;
        QPoint position;
        qreal size;
    };
    const QList<Expected> expected = {
        {QStringLiteral("北京某某有限公司"), at(300, 200, 10), 10},
        // Typed line breaks become printed lines, the empty one dropped, at break size 6.
        {QStringLiteral("货款"), at(300, 700, 6), 6},
        {QStringLiteral("第二批"), at(300, 750, 6), 6},
        {QStringLiteral("√"), at(1800, 100, 9), 9},
        // The sign box: 1 mm left.
        {QStringLiteral("￥"), at(1450, 400, 9), 9},
        {QStringLiteral("1"), at(1500, 400, 9), 9},
    };
    const QList<PrintEvent> texts = printer.texts();
    ASSERT_EQ(texts.size(), expected.size());
    for (qsizetype i = 0; i < texts.size(); ++i) {
        SCOPED_TRACE(expected[i].text.toStdString());
        EXPECT_EQ(texts[i].text, expected[i].text);
        EXPECT_EQ(texts[i].position, expected[i].position);
        EXPECT_EQ(texts[i].font.pointSize, expected[i].size);
    }

    // The postcode's pitch is no number: that item alone fails, the pass goes on.
    ASSERT_EQ(messages.messages.size(), 1);
    EXPECT_EQ(messages.messages[0].text, QStringLiteral("打印ZDPOSTCODE出现错误！"));
    EXPECT_EQ(messages.messages[0].caption, QStringLiteral("错误"));
    EXPECT_EQ(debugEntry(QStringLiteral("getControlValue-1")), QStringLiteral("ZDMISSING=nil  not found."));
    EXPECT_EQ(debugEntry(QStringLiteral("getControlValue-2")), QString());

    EXPECT_EQ(context.currentCurrencyAbbreviation, QStringLiteral("￥"));
    EXPECT_EQ(context.currentDigitBoxPitch, 40);
    EXPECT_EQ(source.passes, 1);
    EXPECT_EQ(job.xMove(), 12);
    EXPECT_EQ(job.yMove(), -8);
}

TEST_F(PrintJobTest, FormOptionsAndBillKindShapeThePass)
{
    source.printOutBank = true;
    db().execute(QStringLiteral("delete from CKControl where CtlName=:a or CtlName=:b"),
                 {{QStringLiteral("a"), QStringLiteral("ZDQY")}, {QStringLiteral("b"), QStringLiteral("ZDBY")}});
    ASSERT_TRUE(job.PrintPrepare());
    ASSERT_TRUE(job.PrinterTransBegin(1));
    ASSERT_TRUE(job.SendCheckToPrinter());
    QStringList printed;
    for (const PrintEvent& e : printer.texts())
        printed += e.text;
    EXPECT_TRUE(printed.contains(QStringLiteral("工商银行")));
    // Without the boxes to measure, the form's own pitch.
    EXPECT_EQ(context.currentDigitBoxPitch, 35);

    // A waybill sets neither the sign nor the pitch.
    source.options.bankBill = false;
    source.options.currencyAbbreviation = QStringLiteral("USD");
    ASSERT_TRUE(job.SendCheckToPrinter());
    EXPECT_EQ(context.currentCurrencyAbbreviation, QStringLiteral("￥"));
    EXPECT_EQ(context.currentDigitBoxPitch, 35);
}

TEST_F(PrintJobTest, PaperOfTheTemplate)
{
    struct Case {
        const char* label;
        QVariant hvPrint;
        QVariant width;
        QVariant height;
        PageSetup setup;
    };
    const Case cases[] = {
        // The sheet goes in turned; the printer turns it back to the 178 × 90 face.
        {"landscape, own size", 1, 1780, 900, {QSizeF(90, 178), QPageLayout::Landscape}},
        {"portrait", 0, 2100, 2970, {QSizeF(210, 297), QPageLayout::Portrait}},
        {"other values are portrait", 2, 1780, 900, {QSizeF(178, 90), QPageLayout::Portrait}},
        {"no direction, no size", QVariant(), QVariant(), QVariant(), {QSizeF(230, 127), QPageLayout::Portrait}},
        {"a zero side", 1, 0, 900, {QSizeF(127, 230), QPageLayout::Landscape}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        db().execute(QStringLiteral("update ckTypeTable set HVPrint=:hv, PWidth=:w, PHeight=:h where CheckTypeId=:id"),
                     {{QStringLiteral("hv"), c.hvPrint},
                      {QStringLiteral("w"), c.width},
                      {QStringLiteral("h"), c.height},
                      {QStringLiteral("id"), kTemplate}});
        printer.events.clear();
        ASSERT_TRUE(job.PrintPrepare());
        ASSERT_EQ(printer.events.size(), 1);
        EXPECT_EQ(printer.events[0].kind, PrintEvent::Kind::PageSetup);
        EXPECT_EQ(printer.events[0].pageSetup, c.setup);
    }
}

TEST_F(PrintJobTest, PreparationFailuresLeaveTheJobIdle)
{
    struct Case {
        const char* label;
        std::function<void()> arrange;
        QString text;
        QString caption;
    };
    const Case cases[] = {
        {"no template chosen", [&] { source.options.templateId = 0; }, QStringLiteral("请选择支票模板的类型!"), QString()},
        {"no printer", [&] { service.names.clear(); }, QStringLiteral("你需要安装打印机才能打印！"), QStringLiteral("错误")},
        {"no printing service", [&] { context.setPrintService(nullptr); }, QStringLiteral("你需要安装打印机才能打印！"),
         QStringLiteral("错误")},
        {"template row missing", [&] { source.options.templateId = 99; },
         QStringLiteral("Err:\"\"没有进行初始化，无法取得整体打印偏移量！"), QStringLiteral("提示")},
        {"database failure", [&] { db().execute(QStringLiteral("drop table ckTypeTable")); },
         QStringLiteral("Err:数据库连接错误，无法取得整体打印偏移量！"), QStringLiteral("提示")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        source.options.templateId = kTemplate;
        service.names = QStringList{QStringLiteral("Bills")};
        context.setPrintService(&service);
        context.printReady = true; // left over from an earlier job
        messages.messages.clear();
        c.arrange();
        EXPECT_FALSE(job.PrintPrepare());
        EXPECT_FALSE(context.printReady);
        ASSERT_EQ(messages.messages.size(), 1);
        EXPECT_EQ(messages.messages[0].text, c.text);
        EXPECT_EQ(messages.messages[0].caption, c.caption);

        // Nothing of the job reaches the printer.
        EXPECT_FALSE(job.PrinterTransBegin(1));
        EXPECT_FALSE(job.SendCheckToPrinter());
        EXPECT_FALSE(job.NewCheckPage());
        EXPECT_FALSE(job.PrinterTransEnd());
        EXPECT_TRUE(printer.events.isEmpty());
    }
    EXPECT_EQ(source.chooserShown, 1);
    // The pass still clears the receiver prompt when it does not print.
    EXPECT_EQ(source.passes, 5);
}

TEST_F(PrintJobTest, PrinterDialogBeforePrinting)
{
    struct Case {
        PrintService::SetupResult answer;
        bool ready;
        QString message;
    };
    const Case cases[] = {
        {PrintService::SetupResult::Confirmed, true, QString()},
        {PrintService::SetupResult::Cancelled, false, QString()},
        {PrintService::SetupResult::Failed, true, QStringLiteral("打开打印机设置对话框出错，请确认打印机是否可用！")},
    };
    EXPECT_TRUE(job.PrintPrepare());
    EXPECT_EQ(service.dialogs, 0);
    popPrinterSetup();
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.answer));
        service.answer = c.answer;
        messages.messages.clear();
        EXPECT_EQ(job.PrintPrepare(), c.ready);
        EXPECT_EQ(context.printReady, c.ready);
        EXPECT_EQ(messages.messages.isEmpty() ? QString() : messages.messages[0].text, c.message);
    }
    EXPECT_EQ(service.dialogs, 3);

    // After a cancelled dialog the job does nothing.
    service.answer = PrintService::SetupResult::Cancelled;
    ASSERT_FALSE(job.PrintPrepare());
    printer.events.clear();
    EXPECT_FALSE(job.PrinterTransBegin(1));
    EXPECT_FALSE(job.SendCheckToPrinter());
    EXPECT_TRUE(printer.events.isEmpty());
}

TEST_F(PrintJobTest, CopyCountOfTheJob)
{
    struct Case {
        int asked;
        int limit;
        int copies;
    };
    const Case cases[] = {{0, 0, 1}, {1, 0, 1}, {-3, 0, 1}, {2, 0, 2}, {120, 0, 120}, {80, 50, 50}, {0, 50, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.asked);
        source.options.copyLimit = c.limit;
        printer.events.clear();
        ASSERT_TRUE(job.PrintPrepare());
        ASSERT_TRUE(job.PrinterTransBegin(c.asked));
        ASSERT_TRUE(job.PrinterTransEnd());
        ASSERT_EQ(kinds(printer.events), (QList<PrintEvent::Kind>{PrintEvent::Kind::PageSetup, PrintEvent::Kind::CopyCount,
                                                                 PrintEvent::Kind::Begin, PrintEvent::Kind::End}));
        EXPECT_EQ(printer.events[1].copies, c.copies);
        EXPECT_EQ(printer.events[2].text, QStringLiteral("支票"));
    }
}

// A batch: one job, a page per bill; the end leaves the job idle, so a second print
// must prepare again.
TEST_F(PrintJobTest, BatchOfBillsThenIdle)
{
    ASSERT_TRUE(job.PrintPrepare());
    ASSERT_TRUE(job.PrinterTransBegin(0));
    const QStringList payees = {QStringLiteral("甲公司"), QStringLiteral("乙公司"), QStringLiteral("丙公司")};
    for (qsizetype i = 0; i < payees.size(); ++i) {
        panel->findChild<QLineEdit*>(QStringLiteral("zdInComp"))->setText(payees[i]);
        ASSERT_TRUE(job.SendCheckToPrinter());
        if (i + 1 < payees.size())
            ASSERT_TRUE(job.NewCheckPage());
    }
    EXPECT_TRUE(job.PrinterTransEnd());
    EXPECT_FALSE(context.printReady);

    QStringList onPages;
    int page = 1;
    for (const PrintEvent& e : printer.events) {
        if (e.kind == PrintEvent::Kind::NewPage)
            ++page;
        else if (e.kind == PrintEvent::Kind::DrawText && e.text.endsWith(QStringLiteral("公司")))
            onPages += QString::number(page) + e.text;
    }
    EXPECT_EQ(onPages, (QStringList{QStringLiteral("1甲公司"), QStringLiteral("2乙公司"), QStringLiteral("3丙公司")}));

    printer.events.clear();
    EXPECT_FALSE(job.PrinterTransBegin(1));
    EXPECT_FALSE(job.SendCheckToPrinter());
    EXPECT_FALSE(job.PrinterTransEnd());
    EXPECT_TRUE(printer.events.isEmpty());
}

// A job the printer would not start or not finish is never reported as printed.
TEST_F(PrintJobTest, PrinterFailuresAreReportedAndEndTheJob)
{
    printer.failBeginWith = QStringLiteral("打印机脱机");
    ASSERT_TRUE(job.PrintPrepare());
    EXPECT_FALSE(job.PrinterTransBegin(1));
    EXPECT_FALSE(context.printReady);
    EXPECT_FALSE(job.SendCheckToPrinter());
    EXPECT_TRUE(printer.texts().isEmpty());
    EXPECT_EQ(kinds(printer.events).last(), PrintEvent::Kind::Abort);

    FailingEndPrinter failing;
    OnePrinterService failingService(failing);
    context.setPrintService(&failingService);
    ASSERT_TRUE(job.PrintPrepare());
    ASSERT_TRUE(job.PrinterTransBegin(1));
    ASSERT_TRUE(job.SendCheckToPrinter());
    EXPECT_FALSE(job.PrinterTransEnd());
    EXPECT_FALSE(context.printReady);
    EXPECT_EQ(kinds(failing.events).last(), PrintEvent::Kind::Abort);

    QStringList texts;
    for (const RecordingMessages::Message& m : messages.messages)
        if (m.text == QStringLiteral("打印出错，请检查打印机是否可用！") && m.caption == QStringLiteral("提示"))
            texts += m.text;
    EXPECT_EQ(texts.size(), 2);
}

TEST_F(PrintJobTest, AbortDiscardsTheJobReadyOrNot)
{
    ASSERT_TRUE(job.PrintPrepare());
    ASSERT_TRUE(job.PrinterTransBegin(1));
    job.AbortPrint();
    EXPECT_FALSE(printer.isPrinting());
    EXPECT_EQ(kinds(printer.events).last(), PrintEvent::Kind::Abort);

    context.setPrintService(nullptr);
    job.AbortPrint();
}
