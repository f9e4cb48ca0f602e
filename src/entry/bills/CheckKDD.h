#pragma once

#include "entry/BillForm.h"

class QComboBox;

namespace slipcraft {

class TfrmMatchAddr;
class TfrmMutiPrint;

// The express waybill: a sender and a receiver of ten boxes each with pop-up lists for
// provinces, cities and countries, options that print one party only or merge the
// mobile into the telephone, the destination following the city, and an amount box
// printed as figures, per-position upper-case digits or words.
class TfmCheckKDD : public TfmBillForm {
    Q_OBJECT

public:
    static inline const QString kBillType = QStringLiteral("快递单");

    explicit TfmCheckKDD(AppContext& context, QWidget* parent = nullptr);

    // A changed receiver city (the batch calls it after writing one).
    void zdSKRXSChange();
    // Formats the amount box from the figures typed last.
    void zdJEDX1Exit();

protected:
    void templateLoaded() override;
    void beforePicking() override;
    void finishEntries() override;
    void applyOwnValues(const BillValues& values) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QComboBox* popUp(const QString& name, int maxLength = 0);
    void openPopUp(QComboBox* popUp, QWidget* over);
    void closePopUp(QComboBox* popUp, bool copyBack);
    void fillPopUp(QComboBox* popUp);
    void loadSignatureAndOrigin(bool selectFirst);
    void mobileTyped(bool sender);
    void mergeHandset(bool on);
    void sizeAddressFont(QWidget* box, int eightPointLimit);
    void applyHiding();
    // "地址串识别(&W)": the address window fills a party from a pasted text.
    void pasteAddress();
    // "批量打印": the batch list, printed one receiver a page on this form.
    void batchPrint();

    QComboBox *Cb_S = nullptr, *Cb_XS = nullptr, *cbCountry = nullptr, *cb_zdWPNR = nullptr, *cbBZ = nullptr;
    QWidget* popUpTarget_ = nullptr;
    TfrmMatchAddr* addressWindow_ = nullptr;
    TfrmMutiPrint* batchWindow_ = nullptr;
    // The figures last typed into the amount box, whatever format it shows them in, and
    // what the box was last given to show.
    QString amountFigures_;
    QString shownAmount_;
};

} // namespace slipcraft
