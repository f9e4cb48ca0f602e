// Prints bills of 60 items onto the PDF printer: one print pass at a time (the median
// of several), then one job of 1,000 pages, one bill each, with its time and the
// process's peak resident memory.

#include "Median.h"

#include "data/Database.h"
#include "entry/PrintJob.h"
#include "platform/printing/PdfPrinter.h"
#include "platform/printing/PrintService.h"
#include "shell/AppContext.h"
#include "shell/UserMessages.h"

#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QHash>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace slipcraft;

namespace {

constexpr int kTemplate = 1;
constexpr int kItems = 60;
const QString kBillType = QStringLiteral("电汇单");


// A bill held in a table of item values, as a batch row would fill an entry form.
class TableSource final : public PrintSource {
public:
    QString billType() const override { return kBillType; }
    int templateId() const override { return kTemplate; }
    QString controlValue(const QString& itemName) override { return values.value(itemName); }
    QString currencyAbbreviation() const override { return QStringLiteral("￥"); }

    QHash<QString, QString> values;
};

QString itemName(int i)
{
    return QStringLiteral("ZDITEM%1").arg(i);
}

// Texts of every shape the renderer handles: plain, two lines, broken lines, cells.
void createTemplate(Database& db)
{
    db.execute(QStringLiteral("insert into ckTypeTable (CheckTypeId, TypeName, TypeFirstName, XMove, YMove, HVPrint, "
                              "PWidth, PHeight) values (:id, :name, :type, :x, :y, :hv, :pw, :ph)"),
               {{QStringLiteral("id"), kTemplate},
                {QStringLiteral("x"), 10},
                {QStringLiteral("y"), -5},
                {QStringLiteral("hv"), 1},
                {QStringLiteral("pw"), 2300},
                {QStringLiteral("ph"), 1270},
                {QStringLiteral("name"), kBillType + QStringLiteral("（测试）")},
                {QStringLiteral("type"), kBillType}});
    for (int i = 0; i < kItems; ++i) {
        db.execute(QStringLiteral("insert into NameDict (CheckTypeName, CtlName, CtlType, PrintItem, ShowOrd) "
                                  "values (:type, :name, :kind, :print, :ord)"),
                   {{QStringLiteral("type"), kBillType},
                    {QStringLiteral("name"), itemName(i)},
                    {QStringLiteral("kind"), QStringLiteral("TEXT")},
                    {QStringLiteral("print"), 1},
                    {QStringLiteral("ord"), i}});
        db.execute(QStringLiteral("insert into CKControl (CheckTypeId, CtlName, CtlX, CtlY, CtlLH, NeedPrint, CtlFontName, "
                                  "CtlFontSize, CtlFontColor, Bold, BreakNum, BreakFontSize, FitParam) values (:id, :name, "
                                  ":x, :y, :lh, :print, :font, :size, :color, :bold, :breakNum, :breakSize, :fit)"),
                   {{QStringLiteral("id"), kTemplate},
                    {QStringLiteral("lh"), 40},
                    {QStringLiteral("print"), 1},
                    {QStringLiteral("color"), QStringLiteral("0")},
                    {QStringLiteral("breakSize"), 8},
                    {QStringLiteral("name"), itemName(i)},
                    {QStringLiteral("x"), 100 + (i % 6) * 350},
                    {QStringLiteral("y"), 100 + (i / 6) * 110},
                    {QStringLiteral("font"), i % 3 == 0 ? QStringLiteral("Arial") : QStringLiteral("宋体")},
                    {QStringLiteral("size"), 9 + i % 4},
                    {QStringLiteral("bold"), i % 5 == 0 ? 1 : 0},
                    {QStringLiteral("breakNum"), i % 7 == 0 ? QStringLiteral("6") : QString()},
                    {QStringLiteral("fit"), i % 10 == 9 ? QStringLiteral("40") : QString()}});
    }
}

void fillBill(TableSource& source, int bill)
{
    for (int i = 0; i < kItems; ++i) {
        QString value;
        if (i % 10 == 9)
            value = QString::number(100000 + bill % 900000);
        else if (i % 7 == 0)
            value = QStringLiteral("北京市海淀区中关村大街%1号科技大厦").arg(bill);
        else if (i % 11 == 4)
            value = QStringLiteral("货款第%1批\n附言").arg(bill);
        else
            value = QStringLiteral("收款单位%1-%2").arg(bill).arg(i);
        source.values.insert(itemName(i), value);
    }
}

long peakResidentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}


} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    QTemporaryDir home;
    const QString runPath = home.path() + QLatin1Char('/');
    const QString problem = prepareDatabaseFile(runPath + QStringLiteral("Data/EPData.ini"));
    if (!problem.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(problem));
        return 1;
    }
    ConsoleMessages messages;
    AppContext context(runPath, messages);
    createTemplate(context.db());

    PdfPrinter printer(home.filePath(QStringLiteral("Output")));
    printer.setOutputFile(home.filePath(QStringLiteral("bench.pdf")));
    SinglePrinterService service(printer);
    context.setPrintService(&service);
    TableSource source;
    PrintJob job(context, source);

    // One bill per job; the pass alone, and the whole job with its PDF file.
    constexpr int kRuns = 15;
    std::vector<double> passMs;
    std::vector<double> jobMs;
    for (int run = 0; run < kRuns; ++run) {
        fillBill(source, run);
        QElapsedTimer whole;
        whole.start();
        if (!job.PrintPrepare() || !job.PrinterTransBegin(1))
            return 1;
        QElapsedTimer pass;
        pass.start();
        job.SendCheckToPrinter();
        passMs.push_back(double(pass.nsecsElapsed()) / 1e6);
        if (!job.PrinterTransEnd())
            return 1;
        jobMs.push_back(double(whole.nsecsElapsed()) / 1e6);
    }
    std::printf("print pass of %d items: median %.2f ms of %d (target < 20 ms); "
                "whole one-bill job to PDF: median %.2f ms\n",
                kItems, median(passMs), kRuns, median(jobMs));

    constexpr int kPages = 1000;
    QElapsedTimer timer;
    timer.start();
    if (!job.PrintPrepare() || !job.PrinterTransBegin(0))
        return 1;
    for (int bill = 0; bill < kPages; ++bill) {
        fillBill(source, bill);
        job.SendCheckToPrinter();
        if (bill + 1 < kPages)
            job.NewCheckPage();
    }
    if (!job.PrinterTransEnd())
        return 1;
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    std::printf("job of %d pages, one bill each: %.2f s (target < 15 s), PDF %.1f MB; "
                "peak resident memory %.1f MB (target < 300 MB)\n",
                kPages, seconds, double(QFile(printer.lastFile()).size()) / 1e6, peakResidentKb() / 1024.0);
    return 0;
}
