#pragma once

#include "templates/PrinterParamLogic.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;

namespace slipcraft {

class AppContext;

// Applies offsets known to suit a printer model to every template at once.
class TfrmPrinterParam : public QDialog {
    Q_OBJECT

public:
    // With a printer name, that printer is chosen and cannot be changed here.
    TfrmPrinterParam(AppContext& context, const QString& printerName, QWidget* parent = nullptr);

    // Modal; the window frees itself when closed.
    static void execute(AppContext& context, const QString& printerName, QWidget* parent);

    // Shows the preset and copies it into the user's choice, as picking it does.
    void pickPreset(int index);
    PresetApplied apply();

private:
    void showPreset(int index);
    void showUserChoice(const PrinterPreset& preset);
    void openRecommendedParameters();

    AppContext& context_;

    QComboBox* cbPresets;
    QLineEdit* edtPresetX;
    QLineEdit* edtPresetY;
    QLineEdit* edtPresetDirection;
    QPlainTextEdit* memPresetBoard;
    QLabel* imgPreset;
    QComboBox* cbPrinter;
    QLineEdit* edtModel;
    QSpinBox* edtX;
    QSpinBox* edtY;
    QComboBox* cbDirection;
    QPlainTextEdit* memBoard;
    QPushButton* btApply;
    QPushButton* btExit;
};

} // namespace slipcraft
