#pragma once

#include "parties/DAOPerson.h"
#include "parties/PersonManageLogic.h"

#include <QDialog>

#include <memory>

class QAction;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QSqlQueryModel;
class QTableView;
class QTreeWidget;
class QTreeWidgetItem;

namespace slipcraft {

class AppContext;
class Tfrm_PersonInfo;

// The address book: a tree of groups, a searchable list of units and the commands on
// them. In picking mode a double click chooses a unit for a bill form.
class Tfm_PersonManage : public QDialog {
    Q_OBJECT

public:
    static inline const QString kCaption = QStringLiteral("单位及客户资料管理");

    explicit Tfm_PersonManage(AppContext& context, QWidget* parent = nullptr);
    ~Tfm_PersonManage() override;

    // Also forgets the unit picked before.
    void setPickingMode(bool picking);
    bool pickingMode() const { return picking_; }
    // The unit of the last double click in picking mode, now the caller's; null when none.
    std::unique_ptr<TPerson> takePickedPerson() { return std::move(picked_); }
    // Lists the units of one type ("我方单位", "往来单位"), any other kind lists all.
    void presetKind(const QString& kind);
    // The line above the list; showing the window writes its row count there.
    void setTitleLine(const QString& text);

    // Rows the current list holds (the list fetches them as they are scrolled to).
    int listedRows() const { return listedRows_; }

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    // Who asks for the list: the query button and code reset the advanced panel, the
    // keyword box does not, the advanced panel searches its one column.
    enum class Source { Code, Keyword, Advanced };

    void buildTree();
    void rebuildTree();
    void selectTreeByText(const QString& text);
    void treeClick(QTreeWidgetItem* item);
    void query(Source source);
    void showAllClick();
    void runList(const personlist::Query& list);
    void afterDataChange();
    void refreshClick();
    void headerClick(int section);
    void gridDoubleClick(const QModelIndex& index);
    void currentRowChanged();
    void updateSelectionStatus();
    void addClick();
    void editClick();
    void deleteSelectedClick();
    void deleteListedClick();
    void deleteAllClick();
    void toggleDeleteAll();
    void defaultDrawerClick();
    // "Excel导入": units from a spreadsheet into the address book.
    void importClick();
    void showGridMenu(const QPoint& at);
    Tfrm_PersonInfo& editor();
    // -1 when the list is empty.
    int currentRow() const;
    int currentId() const;
    void say(const QString& text);

    AppContext& context_;
    personlist::Filter filter_;
    Source lastSource_ = Source::Code;
    bool picking_ = false;
    std::unique_ptr<TPerson> picked_;
    int listedRows_ = 0;
    int idColumn_ = -1;
    Tfrm_PersonInfo* editor_ = nullptr;

    QLabel* lbTitle;
    QLabel* lbTab;
    QTreeWidget* TreeView1;
    QLabel* lbKeyHelp;
    QLineEdit* KeyEdit;
    QComboBox* edtZHType;
    QPushButton* btQuery;
    QPushButton* btAll;
    QPushButton* btAdv;
    QFrame* panelAdv;
    QComboBox* Column1;
    QComboBox* EqualOrContain1;
    QLineEdit* key1;
    QPushButton* btAdvQuery;
    QTableView* DBGrid1;
    QSqlQueryModel* model_;
    QPushButton* btFirst;
    QPushButton* btLast;
    QPushButton* btRefresh;
    QPushButton* btAdd;
    QPushButton* btEdit;
    QPushButton* btDeleteSelected;
    QPushButton* btDeleteListed;
    QPushButton* btShowDeleteAll;
    QPushButton* btDeleteAll;
    QPushButton* btDefaultDrawer;
    QPushButton* btExport;
    QPushButton* btImport;
    QLabel* StatusPanel0;
    QLabel* StatusPanel1;
    QMenu* PopupMenu1;
    QAction* mnRefresh;
    QAction* mnAdd;
    QAction* mnEdit;
    QAction* mnDelete;
    QAction* mnDefaultDrawer;
    QAction* mnSaveWidths;
    QAction* mnColumns;
    QAction* mnPick;
};

// Lets the user choose one unit of the kind in the manager; null when none was chosen.
// A non-empty caption titles the window.
std::unique_ptr<TPerson> fetchOnePerson(AppContext& context, QWidget* parent, const QString& kind,
                                        const QString& caption);

// Offers a party of a bill to the address book: a stored unit (ID above 0) is saved at
// once; otherwise the editor opens on the unit it most likely is, or empty, with the
// party's filled-in fields laid over it.
void savePersonToAddressBook(AppContext& context, QWidget* parent, const TPerson* person);

} // namespace slipcraft
