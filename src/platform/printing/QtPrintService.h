#pragma once

#include "platform/printing/PdfPrinter.h"
#include "platform/printing/PrintService.h"
#include "platform/printing/QtPrinter.h"

#include <memory>
#include <vector>

namespace slipcraft {

// The system's print queues, then the PDF printer. With no print server or no
// queue, the PDF printer is the only one.
class QtPrintService : public PrintService {
public:
    // pdfOutputFolder: where the PDF printer puts its files.
    explicit QtPrintService(const QString& pdfOutputFolder);
    ~QtPrintService() override;

    QStringList printerNames() const override;
    QString currentPrinter() const override;
    bool selectPrinter(const QString& name) override;
    SetupResult showSetupDialog(QWidget* parent) override;
    Printer& printer() override;

    PdfPrinter& pdfPrinter() { return pdf_; }

private:
    QtPrinter* queuePrinter(const QString& name);
    SetupResult showQueueDialog(QWidget* parent);
    SetupResult showPdfDialog(QWidget* parent);

    PdfPrinter pdf_;
    std::vector<std::unique_ptr<QtPrinter>> queues_;
    // The current queue; none while the PDF printer is current.
    QtPrinter* queue_ = nullptr;
};

} // namespace slipcraft
