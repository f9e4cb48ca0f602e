#include "entry/bills/CheckKDDLogic.h"

#include "entry/PrintRenderer.h"
#include "wording/Functions.h"

namespace slipcraft {

WaybillAmount waybillAmountText(const QString& figures, const QString& format)
{
    if (format.isEmpty() || format == QStringLiteral("打印小写金额") || trimText(figures).isEmpty())
        return {true, figures};
    const QString amount = trimText(figures);
    // Digits and full stops only, and one number: "1.2.3" is not an amount.
    if (!isNumericText(amount) || !isDecimalNumber(amount))
        return {false, figures};
    if (format == QStringLiteral("打印中国传统大写金额"))
        return {true, fenToWords(amountToFen(amount).value_or(0))};
    // The picture before the first space: its zeros before "." are the integer positions,
    // what follows the "." the decimals.
    const qsizetype space = format.indexOf(QLatin1Char(' '));
    const QString picture = space < 0 ? format : format.left(space);
    const qsizetype point = picture.indexOf(QLatin1Char('.'));
    const int positions = int(point < 0 ? picture.size() : point);
    const QString decimals = point < 0 ? QStringLiteral("0") : picture.mid(point - 1);
    return {true, amountToUpperDigits(amount, positions, decimals)};
}

} // namespace slipcraft
