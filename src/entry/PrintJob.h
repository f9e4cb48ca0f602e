#pragma once

#include <QString>

namespace slipcraft {

class AppContext;
class Printer;

// What the print job needs from an entry form.
class PrintSource {
public:
    virtual ~PrintSource() = default;

    // "支票", "进账单", … "快递单": the key of the form's printable items.
    virtual QString billType() const = 0;
    // The chosen template; 0 or below when none is chosen.
    virtual int templateId() const = 0;
    // The value of the form's control for an item; empty when missing or hidden.
    virtual QString controlValue(const QString& itemName) = 0;

    // Bank bills set the currency abbreviation and digit-box pitch for each bill.
    virtual bool isBankBill() const { return true; }
    // The digit-box pitch (0.1 mm) when the template lacks the boxes to measure it.
    virtual int defaultDigitBoxPitch() const { return 36; }
    // The abbreviation of the bill's currency ("￥").
    virtual QString currencyAbbreviation() const { return {}; }
    // False for an item the form's options keep off the paper.
    virtual bool includeItem(const QString& itemName) const
    {
        Q_UNUSED(itemName);
        return true;
    }
    // Run at the start of every print pass, ready or not.
    virtual void beforePrintPass() {}
    // Most copies one job may ask the driver for; 0: no limit.
    virtual int copyLimit() const { return 0; }

    // Shown when no template is chosen, after showTemplateChooser(); by default
    // "请选择" + bill type + "模板的类型!".
    virtual QString noTemplateMessage() const;
    virtual void showTemplateChooser() {}
};

// The print job of an entry form: prepare, begin, one pass per bill with a page
// between bills, end. The print-ready flag lives in the context, so a job that did not
// prepare successfully prints nothing.
class PrintJob {
public:
    PrintJob(AppContext& context, PrintSource& source);

    // Checks the template and the printers, reads the whole-form offset, sets up the
    // paper and, when the switch asks for it, shows the printer dialog. True when ready.
    bool PrintPrepare();
    // Starts the job with its copy count (below 2: one). False when not ready or when
    // the printer refused, which the user is told and which ends the job.
    bool PrinterTransBegin(int copies);
    // One print pass of the bill on the form. False when not ready or the form's
    // items could not be read.
    bool SendCheckToPrinter();
    bool NewCheckPage();
    // True only when the job really reached the printer; a failure is told to the user.
    bool PrinterTransEnd();
    // Discards the printer's current job, ready or not.
    void AbortPrint();

    // The whole-form offset read by the last preparation, 0.1 mm.
    int xMove() const { return xMove_; }
    int yMove() const { return yMove_; }

private:
    Printer& printer();
    void failJob();

    AppContext& context_;
    PrintSource& source_;
    int xMove_ = 0;
    int yMove_ = 0;
};

} // namespace slipcraft
