#pragma once

#include "entry/BillForm.h"

namespace slipcraft {

// The deposit slip. Other forms convert into it: each setter writes a front box and its
// counterfoil copy, and the slip's own look-ups stay quiet while they do.
class TfmCheckJZD : public TfmBillForm {
    Q_OBJECT

public:
    static inline const QString kBillType = QStringLiteral("进账单");

    explicit TfmCheckJZD(AppContext& context, QWidget* parent = nullptr);

    void setInBank(const QString& text) { setBoxText(QStringLiteral("zdInBank"), text); }
    void setInBankAcct(const QString& text) { setBoxText(QStringLiteral("zdInBankAcct"), text); }
    void setOutComp(const QString& text) { setBoxText(QStringLiteral("zdOutComp"), text); }
    void setOutBank(const QString& text) { setBoxText(QStringLiteral("zdOutBank"), text); }
    void setOutBankAcct(const QString& text) { setBoxText(QStringLiteral("zdOutBankAcct"), text); }
    void setPJZShu(const QString& text) { setBoxText(QStringLiteral("zdPJZS"), text); }
    void setPJZLei(const QString& text) { setBoxText(QStringLiteral("zdPJZL"), text); }
    void setPJHMa(const QString& text) { setBoxText(QStringLiteral("zdPJHM"), text); }

    // What every conversion ends with: the currency, the amount as typed, the kind of
    // the deposited bill, one bill with its number, and its date.
    void receiveBill(const QString& currency, const QString& amount, const QString& billKind, const QString& number,
                     const QDate& date);
};

} // namespace slipcraft
