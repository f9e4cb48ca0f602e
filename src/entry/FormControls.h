#pragma once

#include <QString>

class QWidget;

namespace slipcraft {

// The widget below container whose component name matches name without regard to
// case (stored item names are upper case); null when there is none or name is empty.
QWidget* findNamedControl(const QWidget* container, const QString& name);

} // namespace slipcraft
