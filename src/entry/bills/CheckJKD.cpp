#include "entry/bills/CheckJKD.h"

namespace slipcraft {

TfmCheckJKD::TfmCheckJKD(AppContext& context, QWidget* parent)
    : TfmBillForm(context, paymentSlipKind(), parent)
{
    start();
}

void TfmCheckJKD::amountApplied(qint64 fen)
{
    if (fen != 0)
        setBoxText(QStringLiteral("zdMoney"), moneyName());
}

} // namespace slipcraft
