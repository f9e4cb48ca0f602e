#pragma once

#include <QDialog>
#include <QString>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QSplitter;
class QTableWidget;
class QTableWidgetItem;

namespace slipcraft {

class AppContext;

// Where a template prints its items, on the screen at true size: the items' sample
// texts on a sheet with centimetre rulers, moved against fixed rulers by the
// whole-form offset. The sample texts can be edited beside it.
class Tfm_PrintPreview : public QDialog {
    Q_OBJECT

public:
    explicit Tfm_PrintPreview(AppContext& context, QWidget* parent = nullptr);
    ~Tfm_PrintPreview() override;

    // Modal, for that template; the window frees itself when closed. Nothing opens for
    // an unknown template, after telling the user.
    static void execute(AppContext& context, int templateId, QWidget* parent);

    void setTemplateId(int id) { templateId_ = id; }
    // The title line and the bill type; false, after telling the user, when the template
    // has no bill type.
    bool loadName();
    // Rebuilds the sheet. Showing the window loads the items and the sample grid.
    void loadItems();
    void loadSampleGrid();

    // Screen pixels per inch the preview draws with.
    int dpi() const { return dpi_; }

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildRulers(QWidget* parent, int horizontalCm, int verticalCm, const QString& firstLabel,
                     const QString& lastLabel, int lastLabelWidth, int firstLabelShift);
    void applyXMove(int value);
    void applyYMove(int value);
    void ignoreOffsetToggled(bool ignore);
    void toggleSampleGrid();
    void sampleEdited(QTableWidgetItem* item);
    void focusChanged(QWidget* old, QWidget* now);

    AppContext& context_;
    int templateId_ = 0;
    QString billType_;
    int dpi_;

    QLabel* lbTitle;
    QWidget* pnlButtons;
    QPushButton* btEditSample;
    QCheckBox* ckIgnoreOffset;
    QSpinBox* XMove;
    QSpinBox* YMove;
    QLineEdit* edtXMoveCm;
    QLineEdit* edtYMoveCm;
    QPushButton* btClose;
    QSplitter* splitter;
    QTableWidget* gridSample;
    QWidget* pnlView;
    QWidget* pnlSheet;
};

} // namespace slipcraft
