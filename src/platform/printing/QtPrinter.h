#pragma once

#include "platform/printing/PainterPrinter.h"

#include <QPrinter>

namespace slipcraft {

// A print queue of the system, at the driver's high resolution.
class QtPrinter : public PainterPrinter {
public:
    explicit QtPrinter(const QString& queueName);

    // The queue jobs go to, which the printer dialog may change.
    QString name() const override;

    // For the printer dialog.
    QPrinter& qprinter() { return printer_; }

protected:
    const QPagedPaintDevice& metricsDevice() const override;
    bool prepareJob(const QString& title) override;
    QPagedPaintDevice* openDevice(const QString& title, int copies) override;
    bool closeDevice(bool painted) override;
    void discardJob() override;

private:
    QPrinter printer_;
};

} // namespace slipcraft
