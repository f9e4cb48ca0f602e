#pragma once

#include "entry/BillForm.h"

namespace slipcraft {

// The acceptance draft: its amount rule (figures without separators, 圆, 人民币 in front),
// the due date typed as "+N" days or a date and shown in words, and the due date stored
// as a date for the reminder.
class TfmCheckCDHP : public TfmBillForm {
    Q_OBJECT

public:
    static inline const QString kBillType = QStringLiteral("承兑汇票");

    explicit TfmCheckCDHP(AppContext& context, QWidget* parent = nullptr);

    bool setJEXX(const QString& text) override;

protected:
    void finishEntries() override;
    void completeValues(BillValues& values) override;

private:
    void dueDateEntered();
};

} // namespace slipcraft
