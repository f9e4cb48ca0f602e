#pragma once

#include "records/SearchLogic.h"

#include <QDialog>
#include <QUrlQuery>

#include <functional>

class QAction;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QSpinBox;
class QTableView;
class QTreeWidget;
class QTreeWidgetItem;

namespace slipcraft {

class AppContext;
class SearchModel;

// What a history window asks of the main window.
struct SearchCommands {
    // Shows the stored bill in its entry form; false when the user kept the other forms open.
    std::function<bool(const QString& templateName, int serial)> openBill;
    // Opens a page of the maker's web site, e.g. "/help/kddsearch", in the browser.
    std::function<void(const QString& path, const QUrlQuery& query)> openSitePage;
};

// The history search of one bill type, built from its SearchKind: filters, the list with
// its count and total, and the commands on the listed bills.
class TfmSearch : public QDialog {
    Q_OBJECT

public:
    TfmSearch(AppContext& context, const SearchKind& kind, QWidget* parent = nullptr);
    ~TfmSearch() override;

    const SearchKind& kind() const { return kind_; }
    void setCommands(SearchCommands commands) { commands_ = std::move(commands); }

    // The acceptance draft's batch mode: picking drafts into the batch group.
    void setBatchMode(bool on, const QString& group = {});
    bool batchMode() const { return batchMode_; }

    // "查 询(&Q)": builds the statement and runs it unless it is the one run last.
    void query();
    // Forgets the last statement so that the next query runs.
    void forgetLastStatement();
    // The due views of the acceptance draft.
    void showDueSoon();
    void showOverdue();

    int listedRows() const { return listedRows_; }

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildWindow();
    void connectWindow();
    QWidget* buildFilters();
    QWidget* buildCommandRow();
    QFrame* buildRecordPanel();

    SearchFilter currentFilter() const;
    // Runs a statement into the grid; false (after the member's messages) on a database error.
    bool runList(const SearchStatement& statement);
    void paintFilterBoxes(const SearchStatement& statement);
    void resetFilters();
    void showAllClick();
    void treeClick(QTreeWidgetItem* item);
    void headerClick(int section);
    void partyEnter(QLineEdit* box);
    void pickParty(QLineEdit* box, const QString& unitKind, const QString& caption);
    void fillNumberList();

    // The current row's serial and the value of a column; serial 0 when there is none.
    int currentSerial() const;
    QString currentValue(const QString& column) const;
    // Selected serials in the order of selection.
    QList<int> selectedSerials();

    void openClick();
    void gridDoubleClick();
    void voidClick();
    void deleteSelectedClick();
    void deleteListedClick();
    void clearAllClick();
    void changeNumberClick();
    void draftNumbersClick();
    void waybillEntryClick(const QString& column, const QString& prompt);
    void trackClick();
    void recordPickClick();
    void recordStartClick();
    void addSelectedToBatchClick();
    void addAllToBatchClick();
    void refreshClick();
    void showGridMenu(const QPoint& at);
    void say(const QString& text, const QString& caption = {});

    AppContext& context_;
    const SearchKind& kind_;
    SearchCommands commands_;
    SearchModel* model_;
    QString sortColumn_;
    bool sortDescending_ = true;
    bool batchMode_ = false;
    QString batchGroup_;
    int listedRows_ = 0;
    bool numberListFilled_ = false;
    bool recordTemplatesFilled_ = false;

    QTreeWidget* TreeView1;
    QComboBox* edtNumber;
    QComboBox* cbMatchMode;
    QLineEdit* edtDrawer = nullptr;
    QLineEdit* edtPayee;
    QCheckBox* ckAnyDate;
    QDateEdit* dtFrom;
    QDateEdit* dtTo;
    QLineEdit* edtAmountFrom = nullptr;
    QLineEdit* edtAmountTo = nullptr;
    QComboBox* cbTemplate = nullptr;
    QLineEdit* edtSQLQur;
    QPushButton* btQuery;
    QPushButton* btAll;
    QPushButton* btOpen;
    QPushButton* btVoid = nullptr;
    QPushButton* btDeleteSelected;
    QPushButton* btDeleteListed;
    QPushButton* btClearAll;
    QPushButton* btExport;
    QPushButton* btRecord = nullptr;
    QPushButton* btAddSelected = nullptr;
    QPushButton* btAddAll = nullptr;
    QCheckBox* ckDblOpen;
    QLabel* lbCount;
    QLabel* lbTotal;
    QLabel* lbStatus;
    QTableView* DBGrid1;

    QFrame* panelRecord = nullptr;
    QComboBox* cbRecordTemplate = nullptr;
    QLineEdit* edtRecordDrawer = nullptr;
    QLineEdit* edtRecordBank = nullptr;
    QLineEdit* edtRecordAccount = nullptr;
    QLineEdit* edtFirst = nullptr;
    QLineEdit* edtLast = nullptr;
    QSpinBox* spLength = nullptr;
    QLineEdit* edtPrefix = nullptr;

    QMenu* PopupMenu1;
    QAction* mnOpen;
    QAction* mnVoid = nullptr;
    QAction* mnChangeNumber = nullptr;
    QAction* mnDraftNumbers = nullptr;
    QAction* mnWaybillNumber = nullptr;
    QAction* mnWaybillRemark = nullptr;
    QAction* mnTrack = nullptr;
    QAction* mnSaveWidths;
    QAction* mnColumns;
    QAction* mnRefresh;
};

} // namespace slipcraft
