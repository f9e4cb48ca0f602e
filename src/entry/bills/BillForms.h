#pragma once

class QWidget;

namespace slipcraft {

class AppContext;
class TfmBillForm;
struct BillKind;

// A new entry form of the bill kind; it closes itself when the bill type has no usable
// template (hasTemplate() is false).
TfmBillForm* newBillForm(AppContext& context, const BillKind& kind, QWidget* parent = nullptr);

} // namespace slipcraft
