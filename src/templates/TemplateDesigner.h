#pragma once

#include "templates/LayoutDesign.h"
#include "templates/LayoutHistory.h"

#include <QDialog>
#include <QImage>
#include <QPixmap>
#include <QSet>

#include <memory>

class QAction;
class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QSlider;
class QSpinBox;
class QTabWidget;

namespace slipcraft {

class AppContext;
class LayoutUndo;

// The paper at scale with the items' labels on it; labels can be pressed and dragged.
class DesignerPage : public QWidget {
    Q_OBJECT

public:
    explicit DesignerPage(QWidget* parent = nullptr);

    void setPicture(const QImage& picture);
    // Millimetres per pixel, for the labels' fonts.
    void setScale(double mmPerPixel);
    void setLabels(const QList<DesignLabel>& labels);
    void replaceItemLabels(const QString& item, const QList<DesignLabel>& labels);
    const QList<DesignLabel>& labels() const { return labels_; }
    QList<DesignLabel> itemLabels(const QString& item) const;
    // Items compare without regard to letter case.
    void setSelected(const QStringList& items);
    bool isSelected(const QString& item) const;
    void setTransparent(bool transparent);
    // Called while a press is handled: the pressed item follows the mouse until release.
    void beginDrag(const QString& item);

signals:
    void labelPressed(const QString& item);
    void labelDoubleClicked(const QString& item);
    void dragMoved(const QString& item, QPoint topLeft);
    void dragFinished(const QString& item, QPoint topLeft);
    void pagePressed(QPoint at);
    // Arrow keys: one step in the direction, large with Shift.
    void nudged(int dx, int dy, bool large);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QString itemAt(QPoint at) const;
    QRect itemBounds(const QString& item) const;
    QPoint itemTopLeft(const QString& item) const;

    QImage picture_;
    QPixmap scaledPicture_;
    QList<DesignLabel> labels_;
    QSet<QString> selected_;
    double mmPerPixel_ = 1.0;
    bool transparent_ = false;
    QString dragItem_;
    QPoint pressedAt_;
    QPoint dragOffset_;
};

// The print layout of one template: where and how each item prints, and the paper size.
// Every change is written at once; Ctrl+Z and Ctrl+Y undo and redo them.
class TfmTemplateDesigner : public QDialog {
    Q_OBJECT

public:
    // With a history of its opener, its steps join the opener's undo and redo.
    explicit TfmTemplateDesigner(AppContext& context, QWidget* parent = nullptr, LayoutHistory* history = nullptr);
    ~TfmTemplateDesigner() override;

    void setCheckTypeID(int templateId);
    int checkTypeId() const { return id_; }

    // Stores one column of the item's layout row of the template, as an undoable step.
    void ASaveCtlDataField(const QString& item, const QString& column, const QString& value);
    // Moves one item by the step; direction -1 or 1 along "CtlX" or "CtlY".
    void AMoveCtlByName(const QString& item, const QString& column, int direction);
    int GetPixByMMCent(int tenthMm) const { return scale_.GetPixByMMCent(tenthMm); }
    int GetMMCentByPix(int pixels) const { return scale_.GetMMCentByPix(pixels); }

    // The selected items, in order of selection.
    QStringList selectedItems() const;
    void selectItem(const QString& item);
    QString statusText() const;

    void undo();
    void redo();

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    void buildWindow();
    QWidget* buildPaperPanel();
    QWidget* buildListPanel();
    QWidget* buildPropertyPanel();
    QWidget* buildBatchPanel();
    QWidget* buildMovePanel();
    void connectFields();

    bool loadTitle();
    void loadPaper();
    void paintAllItems();
    void repaintItem(const QString& item);
    void repaintItems(const QStringList& items);
    void loadItemList();
    void loadProperties(const QString& item);
    void showSelection();
    void clearSelection();
    void addToSelection(const QString& item);
    void removeFromSelection(const QString& item);
    bool isSelected(const QString& item) const;
    void setMultiMode(bool multi);
    void updatePanels();

    void labelPressed(const QString& item);
    void labelDoubleClicked(const QString& item);
    void dragMoved(const QString& item, QPoint topLeft);
    void dragFinished(const QString& item, QPoint topLeft);
    void listClicked(QListWidgetItem* entry);
    void listDoubleClicked(QListWidgetItem* entry);
    void groupChosen(const QString& text);

    // Runs an edit of the rows as one undoable step; false after telling the user.
    bool change(const QString& text, const QList<RowSelection>& rows, const std::function<void()>& edit,
                const QString& failurePrefix);
    void storeField(const QString& column, const QString& value, bool repaint = true);
    void storeFields(const QList<std::pair<QString, QString>>& columns);
    void breakToggled(bool on);
    void cellsToggled(bool on);
    void saveItemClick();
    void moveSelected(const QString& column, int direction, QPushButton* pressed);
    void nudgeSelected(int dx, int dy, bool large);
    void updateSampleClick();
    void batchSet(const QString& column, const QVariant& value, const QString& report);
    void batchExtreme(const QString& column, bool max, int fallback, const QString& report);
    void batchGrow(const QString& column, int direction, const QString& report);
    void batchSpread(const QString& column, int increment, const QString& missing);
    void savePaperClick();
    void browsePictureClick();
    void zoomChanged();
    void fullScreenClick();
    void testPageClick();
    void afterHistoryMove(const QString& done);
    int step() const;
    void setStep(int tenthMm);
    void say(const QString& text);
    void setStatus(const QString& text);

    AppContext& context_;
    std::unique_ptr<LayoutHistory> ownHistory_;
    LayoutHistory* history_;
    int id_ = 0;
    QString billType_;
    TemplateSheet sheet_;
    DesignScale scale_;
    int zoom_ = 100;
    bool loading_ = false;
    bool shownOnce_ = false;
    // "label=CtlName" entries, in order of selection.
    QStringList selection_;

    QLabel* lbTitle;
    QWidget* panelTop;
    QWidget* panelPaper;
    QDoubleSpinBox* edtPaperWidth;
    QDoubleSpinBox* edtPaperHeight;
    QLineEdit* edtPicture;
    QComboBox* cbZoom;
    QPushButton* btFullScreen;
    QCheckBox* ckTransparent;
    LayoutUndo* undo_ = nullptr;
    QPushButton* btUndo;
    QPushButton* btRedo;

    QListWidget* lstItems;
    QListWidget* lstSelected;
    QRadioButton* rbSingle;
    QRadioButton* rbMulti;
    QComboBox* cbGroup;

    QScrollArea* scrollPage;
    DesignerPage* imgPage;

    QWidget* panelProps;
    QSpinBox* edtCtlX;
    QSpinBox* edtCtlY;
    QSpinBox* edtCtlW;
    QSpinBox* edtCtlH;
    QComboBox* cbFontName;
    QSpinBox* edtFontSize;
    QCheckBox* ckBold;
    QCheckBox* ckItalic;
    QCheckBox* ckUnderLine;
    QCheckBox* ckBreak;
    QSpinBox* edtBreakNum;
    QSpinBox* edtLineHeight;
    QSpinBox* edtBreakFontSize;
    QCheckBox* ckCells;
    QSpinBox* edtFitParam;
    QLineEdit* edtInitValue;
    QComboBox* cbTestData;

    QTabWidget* panelBatch;
    QSpinBox* edtBatchFontSize;
    QComboBox* cbBatchFont;
    QSpinBox* edtSpreadX;
    QSpinBox* edtSpreadY;

    QSlider* tbStep;
    QLabel* lbStep;
    QLabel* lbStatus;
};

} // namespace slipcraft
