#pragma once

#include <QJsonObject>
#include <QString>

namespace slipcraft {

class AppContext;
class Printer;

struct PrintFromValuesResult {
    bool ok = false;
    // The values, bill type or template were refused: nothing was printed or saved.
    // Otherwise a failure is the machine's (the printer, the database).
    bool badInput = false;
    // Why nothing was printed or saved; empty when ok, and when the form has already
    // told the user why printing or saving failed.
    QString error;
    // 流水号 of the stored bill; -1 without save.
    int serial = -1;
};

// Prints one bill from values given by other software: the entry form is filled off
// screen (never shown) from values keyed by control name or item label, then printed
// with the same print pass as the print button on the given printer, and with save
// stored in the bill's history. Keys are control names, item labels or history columns.
// The template is the bill type's default when the name is empty. Every key and value is
// checked before anything is printed or saved.
// Keys besides the items: "SelDate" / "出票日期" (yyyy-MM-dd), "cfgMoneyType" / "币种".
PrintFromValuesResult printBillFromValues(AppContext& context, const QString& billType, const QString& templateName,
                                          const QJsonObject& values, Printer& printer, bool save);

} // namespace slipcraft
