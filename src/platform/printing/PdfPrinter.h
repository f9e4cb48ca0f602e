#pragma once

#include "platform/printing/PainterPrinter.h"

#include <QPageSize>
#include <QPdfWriter>

#include <functional>
#include <memory>

class QFileDevice;

namespace slipcraft {

// Prints each job into a new PDF file at 1200 dots per inch. By default the file lies
// in the output folder and is named from the date, time and job title
// ("20261210-141503-支票.pdf", then "…-支票-2.pdf" within the same second); the folder
// is made when missing. A job that fails or is aborted leaves no file behind.
class PdfPrinter : public PainterPrinter {
public:
    static constexpr int kResolution = 1200;

    explicit PdfPrinter(const QString& outputFolder);
    ~PdfPrinter() override;

    QString name() const override;

    // Every later job replaces this file instead; empty goes back to the output folder.
    void setOutputFile(const QString& filePath);

    // The paper of jobs whose page setup names none (A4 to begin with).
    void setPaperSize(const QPageSize& size);
    QPageSize paperSize() const;

    // The file the last job wrote; empty when it wrote none.
    QString lastFile() const { return lastFile_; }
    // Told the path of each file written.
    std::function<void(const QString& filePath)> onWritten;

protected:
    const QPagedPaintDevice& metricsDevice() const override;
    bool prepareJob(const QString& title) override;
    QPagedPaintDevice* openDevice(const QString& title, int copies) override;
    bool closeDevice(bool painted) override;
    void discardJob() override;

private:
    bool commitDatedFile();

    QString outputFolder_;
    QString outputFile_;
    QString lastFile_;
    QString datedBase_; // full path of the dated file without ".pdf"
    QPdfWriter metrics_;
    std::unique_ptr<QFileDevice> file_;
    std::unique_ptr<QPdfWriter> writer_;
};

} // namespace slipcraft
