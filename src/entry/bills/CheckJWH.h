#pragma once

#include "entry/BillForm.h"

class QComboBox;

namespace slipcraft {

// The overseas remittance application: three amounts and their total, a foreign-currency
// account list over the three account boxes, tick groups stored as the caption of their
// first ticked item, and one date box in a chosen format.
class TfmCheckJWH : public TfmBillForm {
    Q_OBJECT

public:
    static inline const QString kBillType = QStringLiteral("境外汇款申请书");

    explicit TfmCheckJWH(AppContext& context, QWidget* parent = nullptr);

    // Applies the three amounts in their boxes; text is not used.
    bool setJEXX(const QString& text) override;

protected:
    void drawDate(const QDate& date) override;
    void completeValues(BillValues& values) override;
    void applyOwnValues(const BillValues& values) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showAccountList(QWidget* accountBox);
    void hideAccountList();

    QComboBox* CBWaiHuiAcct = nullptr;
    QWidget* accountTarget_ = nullptr;
};

} // namespace slipcraft
