#include "platform/printing/PrintService.h"

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

} // namespace slipcraft
