#pragma once

#include "entry/BillForm.h"

#include <functional>

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
    // The due date typed as a date or "+N" days shown in words (leaving the box, Enter).
    void dueDateEntered();
    // How the batch window gets a draft form again after this one was closed.
    void setFormOpener(std::function<TfmCheckCDHP*()> opener) { opener_ = std::move(opener); }

protected:
    void finishEntries() override;
    void completeValues(BillValues& values) override;

private:
    // "批量打印": the draft batch, one window for every draft form.
    void batchPrint();

    std::function<TfmCheckCDHP*()> opener_;
};

} // namespace slipcraft
