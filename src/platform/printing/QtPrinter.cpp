#include "platform/printing/QtPrinter.h"

namespace slipcraft {

QtPrinter::QtPrinter(const QString& queueName)
    : printer_(QPrinter::HighResolution)
{
    printer_.setPrinterName(queueName);
}

QString QtPrinter::name() const
{
    return printer_.printerName();
}

const QPagedPaintDevice& QtPrinter::metricsDevice() const
{
    return printer_;
}

bool QtPrinter::prepareJob(const QString&)
{
    if (printer_.isValid())
        return true;
    setErrorText(QStringLiteral("打印机 %1 不可用。").arg(name()));
    return false;
}

QPagedPaintDevice* QtPrinter::openDevice(const QString& title, int copies)
{
    printer_.setDocName(title);
    printer_.setCopyCount(copies);
    return &printer_;
}

bool QtPrinter::closeDevice(bool painted)
{
    if (painted && printer_.printerState() != QPrinter::Error)
        return true;
    if (painted)
        setErrorText(QStringLiteral("打印机 %1 打印失败。").arg(name()));
    return false;
}

void QtPrinter::discardJob()
{
    // Nothing reaches the queue before the job ends.
}

} // namespace slipcraft
