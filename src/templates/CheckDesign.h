#pragma once

#include "templates/LayoutDesign.h"
#include "templates/LayoutHistory.h"

#include <QDialog>
#include <QPointer>

#include <functional>

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QScrollArea;
class QSpinBox;
class QTabWidget;
class QTimer;

namespace slipcraft {

class AppContext;
class LayoutUndo;

// The fill-form layout adjustment: the template's form picture as the entry form shows
// it, one design control per item at its screen box, and the print parameters of the
// selected item. Every change is written to the item's layout row (made when missing);
// Ctrl+Z and Ctrl+Y undo and redo them, the print layout designer's included.
class TfmCheckDesign : public QDialog {
    Q_OBJECT

public:
    // templateId 0: the current template; presetBillType chooses the default template of
    // that bill type when there is no current one.
    TfmCheckDesign(AppContext& context, int templateId, QWidget* parent = nullptr, const QString& presetBillType = {});
    ~TfmCheckDesign() override;

    // False when there is no template at all (the user has been told).
    bool hasTemplate() const { return id_ > 0; }
    int templateId() const { return id_; }
    QString billType() const { return billType_; }

    // Opens the whole-form offset window for a template (the main window's command).
    std::function<void(int templateId)> openWholeFormOffset;

    // The design control of an item (any letter case); null when there is none.
    QWidget* designControl(const QString& item) const;
    QString selectedItem() const;
    // Selects like a click on the list entry of that label.
    void selectLabel(const QString& label);
    // Like pressing the mouse on the control.
    void selectControl(QWidget* control);
    // "保存  设置"; quiet saves report in the message line only.
    void saveItem(bool quiet);
    // Loads another template of the window's choosers.
    void loadTemplate(int templateId, bool force = false);
    void openDesigner();
    // "勾选项目定义": asks for the template's free tick titles.
    void defineTickItems();

    void undo();
    void redo();

    QString statusText() const;
    QString messageText() const;

protected:
    void done(int result) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildWindow();
    QWidget* buildFieldsPanel();
    void connectFields();
    bool chooseOpeningTemplate(int templateId, const QString& presetBillType);
    void fillTemplateChooser();
    void loadItemList();
    void createControls(const QList<DesignControl>& controls, const QString& tickTitles);
    void paintControl(QWidget* control, bool selected);
    void billTypeChosen(const QString& billType);
    void templateChosen(const QString& name);
    void listClicked(QListWidgetItem* entry);
    void showSettings(const ItemSettings& settings);
    ItemSettings fieldSettings() const;
    void applyScreenFields();
    void fieldLeft();
    void moveControl(QPoint delta);
    void resizeControl(QSize delta);
    void nudgePrintPosition(QSpinBox* field, int delta, const QString& moved, const QString& noSelection);
    void afterHistoryMove(const QString& done);
    QString itemCaption(QWidget* control) const;
    void showBreakFields(bool on);
    void showCellFields(bool on);
    void updateSample();
    void say(const QString& text);
    void tell(const QString& text); // the blinking message line
    void setStatus(const QString& text);

    AppContext& context_;
    LayoutHistory history_;
    int id_ = 0;
    int loadedId_ = 0;
    QString billType_;
    QString templateName_;
    QPointer<QWidget> selected_;
    QPointer<QWidget> previous_;
    bool saved_ = true;
    bool loading_ = false;
    // Dragging a control: where the mouse took it.
    QPoint grab_;
    bool dragged_ = false;
    QList<QWidget*> controls_;

    QComboBox* cbBillType;
    QComboBox* cbTemplate;
    QListWidget* lstItems;
    QScrollArea* scrollPicture;
    QLabel* imgForm;
    QTabWidget* tabs;
    QSpinBox* edtCtlX;
    QSpinBox* edtCtlY;
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
    QSpinBox* edtSrcX;
    QSpinBox* edtSrcY;
    QSpinBox* edtSrcW;
    QSpinBox* edtSrcH;
    QLineEdit* edtInitValue;
    QCheckBox* ckHidden;
    QLabel* lbSample;
    QLabel* lbMessage;
    QLabel* lbStatus;
    QTimer* blink;
    LayoutUndo* undo_ = nullptr;
};

} // namespace slipcraft
