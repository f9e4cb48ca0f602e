#pragma once

#include "templates/PrintOffsetLogic.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace slipcraft {

class AppContext;

// The whole-form offset, picture size, paper size and orientation of one template.
// Every nudge and every offset or paper field the user leaves is stored at once.
class TfrmPrintOffset : public QDialog {
    Q_OBJECT

public:
    // Lists the enabled templates and loads the one of templateId, or the first after
    // saying that it is not listed.
    TfrmPrintOffset(AppContext& context, int templateId, QWidget* parent = nullptr);
    ~TfrmPrintOffset() override;

    // Modal; the window frees itself when closed.
    static void execute(AppContext& context, int templateId, QWidget* parent);

    // Reloads the fields of the selected template (the first when none is selected).
    void loadParam();
    // Stores the fields; quiet reports in the caption instead of a box.
    void save(bool quiet);
    // Nudges by one step: dx, dy in {-1, 0, 1}; right and down are positive.
    void nudge(int dx, int dy);

    int templateId() const { return id_; }

    void done(int result) override;

signals:
    // The user wants to place single items of this template, now the current one.
    void adjustItemsRequested(int templateId);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildWindow();
    void listTemplates(int templateId);
    void templateChosen();
    TemplateFrame fields() const;
    void showFrame(const TemplateFrame& frame);
    void togglePictureField(QSpinBox* field);
    void showFeedPicture(const QString& file);
    void openRecommendedOffsets();
    void adjustItems();
    void openPreview();
    void printAlignment();

    AppContext& context_;
    int id_ = 0;
    QString currentLabel_;

    QListWidget* lstTemplates;
    QLabel* lbCurrent;
    QSpinBox* edtXMove;
    QSpinBox* edtYMove;
    QLabel* lbXMoveCm;
    QLabel* lbYMoveCm;
    QPushButton* btLeft;
    QPushButton* btRight;
    QPushButton* btUp;
    QPushButton* btDown;
    QSpinBox* edtTWidth;
    QSpinBox* edtTHeight;
    QSpinBox* edtPWidth;
    QSpinBox* edtPHeight;
    QLabel* lbPWidthCm;
    QLabel* lbPHeightCm;
    QRadioButton* rbPortrait;
    QRadioButton* rbLandscape;
    QPushButton* btSave;
    QPushButton* btAdjustItems;
    QPushButton* btPreview;
    QComboBox* cbPrinter;
    QPushButton* btAlignmentPage;
};

} // namespace slipcraft
