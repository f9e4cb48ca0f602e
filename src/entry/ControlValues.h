#pragma once

#include "entry/PrintJob.h"

#include <QString>

class QWidget;

namespace slipcraft {

class AppContext;

// The value an item prints from an entry form: the text of the control named like the
// item (looked up in the container, then in the form that owns it, without regard to
// case), "√" for a ticked tick box. Empty when the control is missing (which goes to
// the debug log), hidden on its form, or of a kind that holds no text (which the user
// is told).
QString getControlValue(AppContext& context, QWidget* container, const QString& name);

// Fills the form's amount digit boxes (zdYY … zdF, and cgYY … cgF with counterfoil)
// for an amount in decimal text; an amount not above 0 also clears zdJEXX and cgJEXX.
// Each integer digit beyond the ninth is told to the user once.
void WriteToJEGrid(AppContext& context, QWidget* form, const QString& abbreviation, const QString& amount,
                   const QString& formAbbreviation, bool noSheep, bool counterfoil);

// What a form tells its print source; see PrintSource.
struct WidgetPrintOptions {
    int templateId = 0;
    bool bankBill = true;
    int digitBoxPitch = 36;
    QString currencyAbbreviation;
    int copyLimit = 0;
};

// A print source reading its values from the controls of a form (or of the picture
// panel in it). Forms subclass it for their own item filter and hooks.
class WidgetPrintSource : public PrintSource {
public:
    WidgetPrintSource(AppContext& context, QWidget* container, const QString& billType,
                      const WidgetPrintOptions& options = {});

    QString billType() const override { return billType_; }
    int templateId() const override { return options.templateId; }
    QString controlValue(const QString& itemName) override;
    bool isBankBill() const override { return options.bankBill; }
    int defaultDigitBoxPitch() const override { return options.digitBoxPitch; }
    QString currencyAbbreviation() const override { return options.currencyAbbreviation; }
    int copyLimit() const override { return options.copyLimit; }

    // The form changes them as the user chooses a template or a currency.
    WidgetPrintOptions options;

private:
    AppContext& context_;
    QWidget* container_;
    QString billType_;
};

} // namespace slipcraft
