// Every bank-bill form: opening its window off screen, and print-and-save of one bill on
// an open window onto the PDF printer. Prints the median of several runs of each; the
// targets are 150 ms and 50 ms.

#include "Median.h"

#include "data/Database.h"
#include "entry/BillForm.h"
#include "entry/bills/BillForms.h"
#include "platform/printing/PdfPrinter.h"
#include "platform/printing/PrintService.h"
#include "shell/AppContext.h"
#include "shell/UserMessages.h"
#include "templates/FormPicture.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QToolButton>

#include <cstdio>
#include <memory>
#include <vector>

using namespace slipcraft;

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
    drawMissingFormPictures(context.db(), runPath);
    PdfPrinter printer(runPath + QStringLiteral("Output"));
    printer.setOutputFile(runPath + QStringLiteral("bill.pdf"));
    SinglePrinterService service(printer);
    context.setPrintService(&service);

    constexpr int kRuns = 15;
    for (const BillKind* kind : billKinds()) {
        std::vector<double> opening;
        for (int i = 0; i < kRuns; ++i) {
            QElapsedTimer timer;
            timer.start();
            std::unique_ptr<TfmBillForm> form(newBillForm(context, *kind));
            opening.push_back(timer.nsecsElapsed() / 1e6);
            form->setAttribute(Qt::WA_DeleteOnClose, false);
        }

        std::unique_ptr<TfmBillForm> form(newBillForm(context, *kind));
        form->setAttribute(Qt::WA_DeleteOnClose, false);
        auto* printAndSave = form->findChild<QToolButton*>(QStringLiteral("btPrintAndSave"));
        std::vector<double> printing;
        for (int i = 0; i < kRuns; ++i) {
            form->setInComp(QStringLiteral("北京某某贸易有限公司"));
            form->setJEXX(QString::number(1234.56 + i, 'f', 2));
            const int before = form->session().recordNumber;
            QElapsedTimer timer;
            timer.start();
            printAndSave->click();
            printing.push_back(timer.nsecsElapsed() / 1e6);
            if (printer.lastFile().isEmpty() || before != -1) {
                std::fprintf(stderr, "%s: print and save failed\n", qPrintable(kind->billType));
                return 1;
            }
        }
        const int stored =
            context.db().scalar(QStringLiteral("select count(*) from %1").arg(kind->historyTable)).toInt();
        std::printf("%s window open (off screen): median %.1f ms over %d (target < 150 ms)\n",
                    qPrintable(kind->billType), median(opening), kRuns);
        std::printf("%s print and save (PDF, open window): median %.1f ms over %d, %d rows stored (target < 50 ms)\n",
                    qPrintable(kind->billType), median(printing), kRuns, stored);
    }
    return 0;
}
