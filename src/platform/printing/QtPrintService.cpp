#include "platform/printing/QtPrintService.h"

#include <QApplication>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinterInfo>

namespace slipcraft {

namespace {

// The orientation picked in a dialog holds for later jobs, as if the program had set it.
void keepOrientation(PainterPrinter& printer, const QPrinter& device)
{
    PageSetup setup = printer.pageSetup();
    setup.orientation = device.pageLayout().orientation();
    printer.setPageSetup(setup);
}

} // namespace

QtPrintService::QtPrintService(const QString& pdfOutputFolder)
    : pdf_(pdfOutputFolder)
{
    // Read at call time, so that a handler set later is used.
    pdf_.onWritten = [this](const QString& filePath) {
        if (onPdfWritten)
            onPdfWritten(filePath);
    };
    const QStringList queues = QPrinterInfo::availablePrinterNames();
    const QString systemDefault = QPrinterInfo::defaultPrinterName();
    if (!systemDefault.isEmpty() && queues.contains(systemDefault))
        queue_ = queuePrinter(systemDefault);
    else if (!queues.isEmpty())
        queue_ = queuePrinter(queues.first());
}

QtPrintService::~QtPrintService() = default;

QtPrinter* QtPrintService::queuePrinter(const QString& name)
{
    // Kept for the service's life, so that a printer handed out stays valid and a
    // queue selected again keeps what was chosen for it in the dialog.
    for (const auto& printer : queues_)
        if (printer->name() == name)
            return printer.get();
    queues_.push_back(std::make_unique<QtPrinter>(name));
    return queues_.back().get();
}

QStringList QtPrintService::printerNames() const
{
    return QPrinterInfo::availablePrinterNames() << kPdfPrinterName;
}

QString QtPrintService::currentPrinter() const
{
    return queue_ ? queue_->name() : kPdfPrinterName;
}

bool QtPrintService::selectPrinter(const QString& name)
{
    if (name == kPdfPrinterName) {
        queue_ = nullptr;
        return true;
    }
    if (!QPrinterInfo::availablePrinterNames().contains(name))
        return false;
    queue_ = queuePrinter(name);
    return true;
}

Printer& QtPrintService::printer()
{
    if (queue_)
        return *queue_;
    return pdf_;
}

PrintService::SetupResult QtPrintService::showSetupDialog(QWidget* parent)
{
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return SetupResult::Failed;
    return queue_ ? showQueueDialog(parent) : showPdfDialog(parent);
}

PrintService::SetupResult QtPrintService::showQueueDialog(QWidget* parent)
{
    QPrinter& device = queue_->qprinter();
    device.setPageOrientation(queue_->pageSetup().orientation);
    QPrintDialog dialog(&device, parent);
    // The PDF printer stands in the program's own list; page ranges mean nothing
    // for a bill.
    dialog.setOptions(QAbstractPrintDialog::PrintShowPageSize | QAbstractPrintDialog::PrintCollateCopies);
    if (dialog.exec() != QDialog::Accepted)
        return SetupResult::Cancelled;
    keepOrientation(*queue_, device);
    return SetupResult::Confirmed;
}

PrintService::SetupResult QtPrintService::showPdfDialog(QWidget* parent)
{
    QPrinter settings(QPrinter::HighResolution);
    settings.setOutputFormat(QPrinter::PdfFormat);
    settings.setPageSize(pdf_.paperSize());
    settings.setPageOrientation(pdf_.pageSetup().orientation);
    QPageSetupDialog dialog(&settings, parent);
    if (dialog.exec() != QDialog::Accepted)
        return SetupResult::Cancelled;
    pdf_.setPaperSize(settings.pageLayout().pageSize());
    keepOrientation(pdf_, settings);
    return SetupResult::Confirmed;
}

} // namespace slipcraft
