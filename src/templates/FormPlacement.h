#pragma once

#include <QString>

class QWidget;

namespace slipcraft {

class AppContext;
class Catalogue;
class IniFile;

// Places every item control of the bill type found on the form from the template's
// screen-layout cache. Nothing happens without a cache or a form; a failing item list
// is told to the user.
void setFormControlsPosition(Catalogue& catalogue, AppContext& context, const QString& billType, QWidget* form,
                             const IniFile* cache);

// Places one control (found by name, any case): shown at its cached box, or hidden
// where it is; then its cached initial value, if any, is put in. A tick box is ticked
// by any initial value.
void setFormCtlPositionFromIni(const QString& controlName, const IniFile* cache, QWidget* form);

} // namespace slipcraft
