#pragma once

#include "entry/BillForm.h"

namespace slipcraft {

// The cheque: its options keep the paying bank and the account off the paper, and it
// converts into a deposit slip, looking its drawer up by account.
class TfmCheckZP : public TfmBillForm {
    Q_OBJECT

public:
    static inline const QString kBillType = QStringLiteral("支票");

    explicit TfmCheckZP(AppContext& context, QWidget* parent = nullptr);

protected:
    bool printsItem(const QString& itemName) const override;
    void copyIntoDepositSlip(TfmCheckJZD& slip) override;

private:
    void copyPayeeInto(TfmCheckJZD& slip);
    void copyDrawerInto(TfmCheckJZD& slip);
};

} // namespace slipcraft
