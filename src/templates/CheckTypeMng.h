#pragma once

#include "templates/CheckTypeMngLogic.h"

#include <QDialog>
#include <QList>

#include <functional>
#include <utility>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QStandardItemModel;
class QTabBar;
class QTableView;

namespace slipcraft {

class AppContext;

// Lists the templates and changes which is the default of its bill type, which are
// common and which are hidden; renames, clones and deletes them; imports new ones.
class TfrmCheckTypeMng : public QDialog {
    Q_OBJECT

public:
    // Opens on the bill type of templateId when it is greater than 0.
    TfrmCheckTypeMng(AppContext& context, int templateId, QWidget* parent = nullptr);

    // Modal; the window frees itself when closed. onlineUpdate runs the main window's
    // update command from the link; without it the link is hidden.
    static void execute(AppContext& context, int templateId, QWidget* parent, const std::function<void()>& onlineUpdate = {});

    void setOnlineUpdate(const std::function<void()>& onlineUpdate);

    // Reads the list again with the tab, bill type and key.
    void refresh();
    void setTab(TemplateTab tab);
    // The cursor row; null when the list is empty.
    const ManagedTemplate* currentRow() const;
    // The selected rows in list order.
    QList<ManagedTemplate> selectedRows() const;

    void setDefaultClick();
    void setCommonClick();
    void removeCommonClick();
    void hideClick();
    void showClick();
    void renameClick();
    void cloneClick();
    void deleteClick();
    void importClick();

    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildWindow();
    void billTypeChosen();
    void showAll();
    void setButtonCaptions();
    void enableButtons();
    void showPicture();
    void designClick();

    AppContext& context_;
    CheckTypeMngLogic logic_;
    int openedWith_ = 0;
    QList<ManagedTemplate> rows_;
    std::function<void()> onlineUpdate_;

    QComboBox* cbBillType;
    QLineEdit* edtKey;
    QPushButton* btSearch;
    QPushButton* btAll;
    QPushButton* btRefresh;
    QTabBar* tabFilter;
    QTableView* DBGrid1;
    QStandardItemModel* model_;
    QPushButton* btSetDefault;
    QPushButton* btSetCommon;
    QPushButton* btRemoveCommon;
    QPushButton* btHide;
    QPushButton* btShow;
    QPushButton* btRename;
    QPushButton* btClone;
    QPushButton* btDelete;
    QPushButton* btImport;
    QLabel* lbMore;
    QMenu* gridMenu_;
    // Each menu item follows its button's enabled state.
    QList<std::pair<QAction*, QPushButton*>> menuButtons_;
    QAction* mnDesign_;
};

} // namespace slipcraft
