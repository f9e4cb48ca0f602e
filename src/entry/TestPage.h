#pragma once

#include <QString>

namespace slipcraft {

class AppContext;
class Printer;

// One page with every printable item of the template (its layout asks for printing)
// showing a sample value: the item's sample data of the bill type, else its label,
// else the layout's own caption; tick boxes show their tick, pictures nothing. Printed
// with the template's offset and paper, the way bills are. Returns an error text,
// empty on success.
QString printTestPage(AppContext& context, int templateId, Printer& printer);

} // namespace slipcraft
