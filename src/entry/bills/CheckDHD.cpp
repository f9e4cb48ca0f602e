#include "entry/bills/CheckDHD.h"

#include "entry/bills/CheckJZD.h"

namespace slipcraft {

TfmCheckDHD::TfmCheckDHD(AppContext& context, QWidget* parent)
    : TfmBillForm(context, wireTransferKind(), parent)
{
    start();
}

void TfmCheckDHD::copyIntoDepositSlip(TfmCheckJZD& slip)
{
    slip.setOutComp(boxText(QStringLiteral("zdOutComp")));
    slip.setOutBank(boxText(QStringLiteral("zdOutBank")));
    slip.setOutBankAcct(boxText(QStringLiteral("zdOutBankAcct")));
    slip.setInComp(boxText(QStringLiteral("zdInComp")));
    slip.setInBank(boxText(QStringLiteral("zdInBank")));
    slip.setInBankAcct(boxText(QStringLiteral("zdInBankAcct")));
    slip.receiveBill(moneyName(), amountEntryText(), QString(), boxText(QStringLiteral("zdPJBH")), date());
}

} // namespace slipcraft
