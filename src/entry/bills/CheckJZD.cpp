#include "entry/bills/CheckJZD.h"

namespace slipcraft {

TfmCheckJZD::TfmCheckJZD(AppContext& context, QWidget* parent)
    : TfmBillForm(context, depositSlipKind(), parent)
{
    start();
}

void TfmCheckJZD::receiveBill(const QString& currency, const QString& amount, const QString& billKind,
                              const QString& number, const QDate& date)
{
    setMoneyName(currency);
    setJEXX(amount);
    setPJZLei(billKind);
    setPJZShu(QStringLiteral("1"));
    setPJHMa(number);
    setDate(date);
}

} // namespace slipcraft
