#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace slipcraft {

class AppContext;
class IniFile;

// Offsets and paper feed known to suit one printer model, as Config.ini ships or
// remembers them. Offsets in 0.1 mm; nothing when the stored text is no integer.
struct PrinterPreset {
    QString model;
    std::optional<int> x;
    std::optional<int> y;
    QString orientation; // "纵向" or "横向"
    QString board;       // where the printer's paper guide must stand
    QString image;       // picture of that, relative to the run path; empty: none

    bool operator==(const PrinterPreset&) const = default;
};

// The preset models of "PrinterWeKnow"/"printers", split at ","; the single pseudo
// model "没有预选打印机配置" when there are none.
QStringList presetModels(const IniFile& ini);
PrinterPreset readPreset(const IniFile& ini, const QString& model);
// What the user applied last ("printeruse"); nothing when no model is recorded.
std::optional<PrinterPreset> lastAppliedPreset(const IniFile& ini);

// What the user asks to apply to every template.
struct PresetChoice {
    QString model;
    QString printer;
    int x = 0;
    int y = 0;
    QString orientation;
    QString board;
};

enum class PresetApplied {
    Declined,     // the user said no; nothing changed
    Refused,      // a check failed, told to the user; nothing changed
    ModelMissing, // like Refused; the model field wants the focus
    Done,         // templates, Config.ini and the current printer are set, and told
    Failed        // the templates or Config.ini could not be written, told; the rest is done
};

// Asks for confirmation, checks every input, then sets the offsets and orientation of
// every template (hidden ones too) in one transaction on a connection of its own,
// records the choice in Config.ini and makes the printer current. Every check comes
// before any change; a failed template update still records the choice.
PresetApplied applyPresetToAllTemplates(AppContext& context, const PresetChoice& choice);

// Stores the printer as the bill printer ("DefaultPrinter") and selects it. False, after
// telling the user, when no printer is given or the setting could not be stored.
bool lockBillPrinter(AppContext& context, const QString& printer);

} // namespace slipcraft
