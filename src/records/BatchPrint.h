#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace slipcraft {

class AppContext;
class TfmBillForm;

// What became of a batch print job. Only a job that reached its end counts as printed.
struct BatchPrintResult {
    enum class Outcome { NotStarted, Printed, Stopped, Failed };
    Outcome outcome = Outcome::NotStarted;
    int pages = 0;
};

// Prints count bills in one print job on the form, one a page: fill(i) writes the i-th
// into the form (with the form's loading flag set), then the form prints itself.
// keepGoing (bills printed so far) is asked before each bill; false stops, and the job is
// then withdrawn, as it is when the printer refuses a page.
BatchPrintResult printBatch(TfmBillForm& form, AppContext& context, int count, int copies,
                            const std::function<void(int i)>& fill, const std::function<bool(int printed)>& keepGoing);

// Runs print under a progress dialog over count bills whose button stops it; the window
// stays responsive meanwhile. A stopped or failed job clears the print-ready flag.
BatchPrintResult printWithProgress(AppContext& context, QWidget* parent, const QString& title, const QString& label,
                                   int count,
                                   const std::function<BatchPrintResult(const std::function<bool(int)>& keepGoing)>& print);

// Opens the maker's page on setting up paper for batch printing.
void openPaperHelp(AppContext& context);

} // namespace slipcraft
