#include "platform/printing/PrintService.h"

#include "platform/printing/Printer.h"

#include "wording/Functions.h"

namespace slipcraft {

bool setDefaultPrinter(PrintService& service, const QString& name, const QString& storedName)
{
    QString wanted = trimText(name);
    if (wanted.isEmpty())
        wanted = storedName;
    if (wanted.isEmpty())
        return false;
    wanted = wanted.toUpper();
    const QStringList names = service.printerNames();
    for (const QString& candidate : names)
        if (candidate.toUpper() == wanted)
            return service.selectPrinter(candidate);
    return false;
}

QStringList SinglePrinterService::printerNames() const
{
    return {printer_.name()};
}

QString SinglePrinterService::currentPrinter() const
{
    return printer_.name();
}

bool SinglePrinterService::selectPrinter(const QString& name)
{
    return name == printer_.name();
}

} // namespace slipcraft
