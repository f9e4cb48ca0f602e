// The waybill batch at full size: 6,000 rows of 40 columns imported from .xlsx into the
// batch list, a list of 50,000 receivers loaded into the batch window, and 1,000
// waybills printed as one job into a PDF file. Prints the time of each (median of
// several runs where a run is short) and the process's peak memory.

#include "Median.h"

#include "data/Database.h"
#include "entry/bills/CheckKDD.h"
#include "platform/IniFile.h"
#include "platform/printing/PdfPrinter.h"
#include "platform/printing/PrintService.h"
#include "platform/spreadsheet/Workbook.h"
#include "platform/spreadsheet/XlsxWriter.h"
#include "records/ImportMatchLogic.h"
#include "records/MutiPrint.h"
#include "shell/AppContext.h"
#include "shell/UserMessages.h"
#include "templates/FormPicture.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <cstdio>
#include <vector>

using namespace slipcraft;

namespace {

long peakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

// A web shop's export: the headings it uses for the receiver, goods and charges, then
// columns of its own that no rule names.
QStringList shopHeadings()
{
    QStringList headings{QStringLiteral("订单编号"), QStringLiteral("收货人姓名"), QStringLiteral("联系手机"),
                         QStringLiteral("联系电话"), QStringLiteral("省"),       QStringLiteral("市"),
                         QStringLiteral("区县"),     QStringLiteral("收货地址"), QStringLiteral("邮编"),
                         QStringLiteral("宝贝标题"), QStringLiteral("买家留言"), QStringLiteral("件数"),
                         QStringLiteral("重量"),     QStringLiteral("运费"),     QStringLiteral("保价金额")};
    for (int column = int(headings.size()); column < 40; ++column)
        headings << QStringLiteral("店铺字段%1").arg(column + 1);
    return headings;
}

QStringList shopRow(int row, int columns)
{
    QStringList cells{QStringLiteral("2025031400%1").arg(row, 7, 10, QLatin1Char('0')),
                      QStringLiteral("收件人%1").arg(row),
                      QStringLiteral("139%1").arg(row, 8, 10, QLatin1Char('0')),
                      QStringLiteral("0571-%1").arg(88000000 + row),
                      QStringLiteral("浙江省"),
                      QStringLiteral("杭州市"),
                      QStringLiteral("西湖区"),
                      QStringLiteral("文三路%1号").arg(row),
                      QStringLiteral("310012"),
                      QStringLiteral("羊毛衫"),
                      QStringLiteral("请用\"顺丰\",周末勿送"),
                      QStringLiteral("1"),
                      QStringLiteral("2.5"),
                      QStringLiteral("12"),
                      QStringLiteral("500")};
    while (cells.size() < columns)
        cells << QStringLiteral("其他内容%1").arg(row);
    return cells;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir home;
    const QString runPath = home.path() + QLatin1Char('/');
    if (const QString problem = prepareDatabaseFile(runPath + QStringLiteral("Data/EPData.ini")); !problem.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(problem));
        return 1;
    }
    ConsoleMessages messages;
    AppContext context(runPath, messages);
    Database& db = context.db();
    drawMissingFormPictures(db, runPath);

    // 1. Import.
    constexpr int kImportRows = 6000;
    const QStringList headings = shopHeadings();
    const QString file = runPath + QStringLiteral("shop.xlsx");
    try {
        XlsxWriter writer(file, headings);
        for (int row = 1; row <= kImportRows; ++row)
            writer.addRow(shopRow(row, int(headings.size())));
        writer.close();
    } catch (const SpreadsheetError& error) {
        std::fprintf(stderr, "%s\n", qPrintable(error.text()));
        return 1;
    }
    std::vector<double> importing;
    int saved = 0;
    for (int run = 0; run < 3; ++run) {
        db.execute(QStringLiteral("delete from ReceiverList"));
        QElapsedTimer timer;
        timer.start();
        const Workbook book = Workbook::open(file);
        importing::Options options;
        options.scene = importing::Scene::Batch;
        options.checkDuplicates = false;
        options.orderNumberToRemark = true;
        const importing::Columns columns = importing::autoMatch(importing::sheetColumns(book.activeSheet()),
                                                                importing::loadRules(db), options.scene);
        IniFile log(runPath + importing::kLogFileName);
        importing::ImportRun import(db, book.activeSheet(), columns, options, log, messages);
        import.startLog(file);
        const importing::Counts counts = import.run({});
        import.finish(counts);
        saved = counts.saved;
        importing.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::printf("import: %d rows x %lld columns from .xlsx (%lld KB) into the batch list: median %.0f ms over 3, "
                "%d rows saved (target < 2000 ms)\n",
                kImportRows, static_cast<long long>(headings.size()), QFileInfo(file).size() / 1024, median(importing),
                saved);

    // 2. Listing.
    constexpr int kListed = 50000;
    db.execute(QStringLiteral("delete from ReceiverList"));
    db.inTransaction([&] {
        for (int row = 1; row <= kListed; ++row) {
            const QStringList cells = shopRow(row, 15);
            db.execute(QStringLiteral("insert into ReceiverList (联系人, 手机, 电话, 省, 市, 镇区, 地址, 邮编, 内件说明, 备注, "
                                      "件数, 重量, 运费, 保价金额, 批打分组) values (:c, :m, :p, :s, :t, :z, :a, :y, :g, :r, :n, "
                                      ":w, :f, :v, '')"),
                       {{QStringLiteral("c"), cells[1]}, {QStringLiteral("m"), cells[2]}, {QStringLiteral("p"), cells[3]},
                        {QStringLiteral("s"), cells[4]}, {QStringLiteral("t"), cells[5]}, {QStringLiteral("z"), cells[6]},
                        {QStringLiteral("a"), cells[7]}, {QStringLiteral("y"), cells[8]}, {QStringLiteral("g"), cells[9]},
                        {QStringLiteral("r"), cells[10]}, {QStringLiteral("n"), cells[11]}, {QStringLiteral("w"), cells[12]},
                        {QStringLiteral("f"), cells[13]}, {QStringLiteral("v"), cells[14]}});
        }
    });
    TfmCheckKDD waybill(context);
    waybill.setAttribute(Qt::WA_DeleteOnClose, false);
    if (!waybill.hasTemplate()) {
        std::fprintf(stderr, "the waybill has no template\n");
        return 1;
    }
    {
        TfrmMutiPrint window(context, &waybill);
        window.show();
        std::vector<double> listing;
        for (int run = 0; run < 9; ++run) {
            QElapsedTimer timer;
            timer.start();
            window.refresh();
            QCoreApplication::processEvents();
            listing.push_back(timer.nsecsElapsed() / 1e6);
        }
        std::printf("batch list: %d receivers listed in the batch window: median %.1f ms over 9, %d rows (target < 300 ms)\n",
                    kListed, median(listing), window.listedRows());
    }

    // 3. Printing.
    constexpr int kWaybills = 1000;
    const QList<qint64> ids = [&] {
        QList<qint64> first;
        SqlQuery rows = db.query(QStringLiteral("select ID from ReceiverList order by ID limit :n"),
                                 {{QStringLiteral("n"), kWaybills}});
        while (rows.next())
            first << rows.value(0).toLongLong();
        return first;
    }();
    PdfPrinter printer(runPath + QStringLiteral("Output"));
    printer.setOutputFile(runPath + QStringLiteral("batch.pdf"));
    SinglePrinterService service(printer);
    context.setPrintService(&service);
    const long before = peakMegabytes();
    QElapsedTimer timer;
    timer.start();
    const BatchPrintResult printed =
        printReceivers(waybill, context, ids, {QStringLiteral("内件说明"), QStringLiteral("件数"), QStringLiteral("重量")}, {});
    const qint64 elapsed = timer.elapsed();
    context.setPrintService(nullptr);
    if (printed.outcome != BatchPrintResult::Outcome::Printed) {
        std::fprintf(stderr, "the batch job did not print: %s\n", qPrintable(printer.errorText()));
        return 1;
    }
    std::printf("batch print: %d waybills, one job into one PDF file (%lld KB): %lld ms (target < 20000 ms); "
                "peak memory %ld MB, %ld MB before the job (target < 300 MB)\n",
                printed.pages, QFileInfo(printer.lastFile()).size() / 1024, static_cast<long long>(elapsed),
                peakMegabytes(), before);
    return 0;
}
