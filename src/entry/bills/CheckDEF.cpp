#include "entry/bills/CheckDEF.h"

#include "entry/PrintRenderer.h"
#include "entry/bills/CheckJZD.h"

namespace slipcraft {

TfmCheckDef::TfmCheckDef(AppContext& context, QWidget* parent)
    : TfmBillForm(context, customFormKind(), parent)
{
    start();
}

void TfmCheckDef::amountApplied(qint64 fen)
{
    static const QStringList boxes = {QStringLiteral("zdDXYY"), QStringLiteral("zdDXQW"), QStringLiteral("zdDXBW"),
                                      QStringLiteral("zdDXSW"), QStringLiteral("zdDXWY"), QStringLiteral("zdDXQY"),
                                      QStringLiteral("zdDXBY"), QStringLiteral("zdDXSY"), QStringLiteral("zdDXY"),
                                      QStringLiteral("zdDXJ"),  QStringLiteral("zdDXF")};
    // Nine integer positions, then jiao and fen; an amount of 0 leaves the boxes empty.
    const QString digits = fen == 0 ? QString() : amountToUpperDigits(fenToYuanText(fen), 9, QStringLiteral(".00"));
    for (qsizetype i = 0; i < boxes.size(); ++i)
        setBoxText(boxes[i], digits.mid(i, 1));
}

void TfmCheckDef::copyIntoDepositSlip(TfmCheckJZD& slip)
{
    slip.setSender(sender());
    slip.setReceiver(receiver());
    slip.receiveBill(moneyName(), amountEntryText(), QString(), boxText(QStringLiteral("zdPJBH")), date());
}

} // namespace slipcraft
