#pragma once

#include <QDialog>

class QComboBox;
class QPushButton;

namespace slipcraft {

class AppContext;

// Fixes one printer as the bill printer, which every later print uses.
class TfmLockPrinter : public QDialog {
    Q_OBJECT

public:
    explicit TfmLockPrinter(AppContext& context, QWidget* parent = nullptr);

    // Modal; the window frees itself when closed.
    static void execute(AppContext& context, QWidget* parent);

    void done(int result) override;

private:
    void lockClick();
    void adaptClick();

    AppContext& context_;
    QComboBox* cbPrinters;
    QPushButton* btLock;
    QPushButton* btAdapt;
};

} // namespace slipcraft
