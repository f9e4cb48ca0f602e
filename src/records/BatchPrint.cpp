#include "records/BatchPrint.h"

#include "entry/BillForm.h"
#include "platform/IniFile.h"
#include "shell/AppContext.h"
#include "shell/StartUp.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QProgressDialog>
#include <QUrl>
#include <QUrlQuery>

namespace slipcraft {

namespace {

class DebugLogBatch {
public:
    explicit DebugLogBatch(IniFile& log)
        : log_(log)
    {
        log_.beginBatch();
    }
    ~DebugLogBatch() { log_.endBatch(); }

private:
    IniFile& log_;
};

} // namespace

BatchPrintResult printBatch(TfmBillForm& form, AppContext& context, int count, int copies,
                            const std::function<void(int)>& fill, const std::function<bool(int)>& keepGoing)
{
    BatchPrintResult result;
    if (count <= 0 || !form.PrintPrepare() || !form.PrinterTransBegin(copies))
        return result;
    // What the print passes log reaches Debug.ini once, at the end of the job.
    const DebugLogBatch logBatch(context.OpenDebugInif());
    const auto withdraw = [&](BatchPrintResult::Outcome outcome) {
        form.AbortPrint();
        result.outcome = outcome;
        result.pages = 0;
        return result;
    };
    for (int i = 0; i < count; ++i) {
        if (keepGoing && !keepGoing(i))
            return withdraw(BatchPrintResult::Outcome::Stopped);
        form.session().loading = true;
        fill(i);
        const bool sent = form.SendCheckToPrinter();
        form.session().loading = false;
        if (!sent || (i + 1 < count && !form.NewCheckPage()))
            return withdraw(BatchPrintResult::Outcome::Failed);
        ++result.pages;
    }
    if (!form.PrinterTransEnd()) {
        result.outcome = BatchPrintResult::Outcome::Failed;
        result.pages = 0;
        return result;
    }
    result.outcome = BatchPrintResult::Outcome::Printed;
    return result;
}

BatchPrintResult printWithProgress(AppContext& context, QWidget* parent, const QString& title, const QString& label,
                                   int count,
                                   const std::function<BatchPrintResult(const std::function<bool(int)>&)>& print)
{
    QProgressDialog progress(label, QStringLiteral("停止打印"), 0, count, parent);
    progress.setWindowTitle(title);
    // Nothing else may close the form printing meanwhile.
    progress.setWindowModality(Qt::ApplicationModal);
    progress.setMinimumDuration(300);
    const BatchPrintResult result = print([&](int printed) {
        progress.setValue(printed);
        QCoreApplication::processEvents();
        return !progress.wasCanceled();
    });
    progress.reset();
    if (result.outcome == BatchPrintResult::Outcome::Stopped || result.outcome == BatchPrintResult::Outcome::Failed)
        context.printReady = false;
    return result;
}

void openPaperHelp(AppContext& context)
{
    QUrl page(QStringLiteral("https://") + kMakerSite + QStringLiteral("/kdd/help/paperset.htm"));
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("version"), context.versionText());
    query.addQueryItem(QStringLiteral("productid"), QStringLiteral("slipcraft"));
    page.setQuery(query);
    QDesktopServices::openUrl(page);
}

} // namespace slipcraft
