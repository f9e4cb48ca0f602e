#pragma once

#include "entry/BillForm.h"

namespace slipcraft {

// The wire transfer: numbers entered in advance, and conversion into a deposit slip by
// copying the parties' texts.
class TfmCheckDHD : public TfmBillForm {
    Q_OBJECT

public:
    static inline const QString kBillType = QStringLiteral("电汇单");

    explicit TfmCheckDHD(AppContext& context, QWidget* parent = nullptr);

protected:
    void copyIntoDepositSlip(TfmCheckJZD& slip) override;
};

} // namespace slipcraft
