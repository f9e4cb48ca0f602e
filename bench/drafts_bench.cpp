// The acceptance draft batch at full size: 1,000 listed drafts printed from the batch
// window as one job into a PDF file on the acceptance draft form, each read and checked
// first. Prints the time and the process's peak memory.

#include "BenchHome.h"

#include "entry/bills/CheckCDHP.h"
#include "platform/printing/PdfPrinter.h"
#include "platform/printing/PrintService.h"
#include "records/MutiPrintCDHP.h"
#include "templates/FormPicture.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>

#include <sys/resource.h>

#include <cstdio>

using namespace slipcraft;

namespace {

long peakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    BenchHome home(ProductData::Include);
    AppContext& context = *home.context;
    Database& db = context.db();
    drawMissingFormPictures(db, context.getRunPath());

    // Drafts as the batch holds them: every printed column filled, due dates in all forms.
    constexpr int kDrafts = 1000;
    db.inTransaction([&] {
        for (int i = 1; i <= kDrafts; ++i) {
            const QDate issued = QDate(2026, 1, 1).addDays(i % 300);
            db.execute(QStringLiteral("insert into MultiPrintCDHP (票据编号, 出票日期, 承兑协议号, 币种, 金额, 汇票到期日, "
                                      "收款人全称, 收款人账号, 收款人开户行, 出票人全称, 出票人账号, 付款行名称, 付款行地址, "
                                      "付款行行号, 备注) values (:n, :i, :g, '人民币', :a, :d, :p, :pa, :pb, '上海乙制造有限公司', "
                                      "'31001234567890', '建设银行上海分行', '上海市浦东新区世纪大道100号', '105290000001', :r)"),
                       {{QStringLiteral("n"), QStringLiteral("CD2026%1").arg(i, 6, 10, QLatin1Char('0'))},
                        {QStringLiteral("i"), issued.toString(QStringLiteral("yyyy-MM-dd"))},
                        {QStringLiteral("g"), QStringLiteral("1234567890%1").arg(i, 10, 10, QLatin1Char('0'))},
                        {QStringLiteral("a"), QString::number(1000 + i * 37.25, 'f', 2)},
                        {QStringLiteral("d"), i % 3 == 0   ? QStringLiteral("+180")
                                              : i % 3 == 1 ? issued.addDays(90).toString(QStringLiteral("yyyy.MM.dd"))
                                                           : QStringLiteral("贰零贰陆年零玖月零贰拾日")},
                        {QStringLiteral("p"), QStringLiteral("收款单位%1有限公司").arg(i)},
                        {QStringLiteral("pa"), QStringLiteral("62220212020%1").arg(i, 8, 10, QLatin1Char('0'))},
                        {QStringLiteral("pb"), QStringLiteral("工商银行杭州分行")},
                        {QStringLiteral("r"), QStringLiteral("货款第%1批").arg(i)}});
        }
    });
    TfmCheckCDHP form(context);
    form.setAttribute(Qt::WA_DeleteOnClose, false);
    if (!form.hasTemplate()) {
        std::fprintf(stderr, "the acceptance draft has no template\n");
        return 1;
    }
    PdfPrinter printer(context.getRunPath() + QStringLiteral("Output"));
    printer.setOutputFile(context.getRunPath() + QStringLiteral("drafts.pdf"));
    SinglePrinterService service(printer);
    context.setPrintService(&service);
    TfrmMutiPrintCDHP window(context, &form);
    window.show();
    const long before = peakMegabytes();
    QElapsedTimer timer;
    timer.start();
    const BatchPrintResult printed = window.printListed();
    const qint64 elapsed = timer.elapsed();
    context.setPrintService(nullptr);
    if (printed.outcome != BatchPrintResult::Outcome::Printed) {
        std::fprintf(stderr, "the draft batch did not print: %s\n", qPrintable(printer.errorText()));
        return 1;
    }
    std::printf("draft batch print: %d acceptance drafts, one job into one PDF file (%lld KB): %lld ms (target < 20000 ms); "
                "peak memory %ld MB, %ld MB before the job (target < 300 MB)\n",
                printed.pages, QFileInfo(printer.lastFile()).size() / 1024, static_cast<long long>(elapsed),
                peakMegabytes(), before);
    return 0;
}
