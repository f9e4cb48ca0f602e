#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QWidget;

namespace slipcraft {

class Printer;

// The printers of this machine and the current one. The list holds the system's
// print queues in the system's order and, last, the PDF printer.
class PrintService {
public:
    static inline const QString kPdfPrinterName = QStringLiteral("PDF文件");

    enum class SetupResult { Confirmed, Cancelled, Failed };

    virtual ~PrintService() = default;

    virtual QStringList printerNames() const = 0;
    virtual QString currentPrinter() const = 0;
    // Exact name from the list; false when it is not there.
    virtual bool selectPrinter(const QString& name) = 0;

    // The standard printer setup dialog for the current printer; choices made there
    // (the printer included) apply to later jobs.
    virtual SetupResult showSetupDialog(QWidget* parent) = 0;

    // The current printer, ready for one job.
    virtual Printer& printer() = 0;

    // Told when a job on the PDF printer has written its file.
    std::function<void(const QString& filePath)> onPdfWritten;
};

// One given printer as the only one: for jobs that must go to a printer chosen
// elsewhere (a PDF file named on the command line, a benchmark).
class SinglePrinterService final : public PrintService {
public:
    explicit SinglePrinterService(Printer& printer)
        : printer_(printer)
    {
    }
    QStringList printerNames() const override;
    QString currentPrinter() const override;
    bool selectPrinter(const QString& name) override;
    SetupResult showSetupDialog(QWidget*) override { return SetupResult::Confirmed; }
    Printer& printer() override { return printer_; }

private:
    Printer& printer_;
};

// Makes the printer whose name matches without regard to case current, the first
// match in list order. An empty name falls back to storedName; nothing happens when
// both are empty or nothing matches. Returns whether a printer was selected.
bool setDefaultPrinter(PrintService& service, const QString& name, const QString& storedName);

} // namespace slipcraft
