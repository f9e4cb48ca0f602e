#pragma once

#include "entry/BillForm.h"

namespace slipcraft {

// The payment slip: its currency box zdMoney names the currency of every amount.
class TfmCheckJKD : public TfmBillForm {
    Q_OBJECT

public:
    static inline const QString kBillType = QStringLiteral("缴款单");

    explicit TfmCheckJKD(AppContext& context, QWidget* parent = nullptr);

protected:
    void amountApplied(qint64 fen) override;
};

} // namespace slipcraft
