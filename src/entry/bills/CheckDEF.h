#pragma once

#include "entry/BillForm.h"

namespace slipcraft {

// The custom form: upper-case digit boxes besides the figures, and conversion into a
// deposit slip with its parties' records.
class TfmCheckDef : public TfmBillForm {
    Q_OBJECT

public:
    static inline const QString kBillType = QStringLiteral("定制单");

    explicit TfmCheckDef(AppContext& context, QWidget* parent = nullptr);

protected:
    void amountApplied(qint64 fen) override;
    void copyIntoDepositSlip(TfmCheckJZD& slip) override;
};

} // namespace slipcraft
