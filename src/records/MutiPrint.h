#pragma once

#include "records/BatchPrint.h"
#include "records/ImportMatchLogic.h"
#include "records/MutiPrintLogic.h"

#include <QDialog>
#include <QList>
#include <QPointer>
#include <QSet>
#include <QString>

#include <functional>

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QSqlQueryModel;
class QTableView;

namespace slipcraft {

class AppContext;
class ColumnRewritePanel;
class TPersonKDD;
class TfmCheckKDD;
class TfrmMatchAddr;

// Writes one receiver of the batch list into the waybill form: the receiver's address
// always, each parcel and charge column only when it is among the shown columns.
void sendReceiver(TfmCheckKDD& form, AppContext& context, qint64 id, const QSet<QString>& shownColumns);

// Prints the receivers as one waybill a page in one print job on the form. keepGoing
// (receivers printed so far) is asked before each receiver; false stops, and the job is
// then withdrawn. Only a job that reached its end counts as printed.
BatchPrintResult printReceivers(TfmCheckKDD& form, AppContext& context, const QList<qint64>& ids,
                                const QSet<QString>& shownColumns, const std::function<bool(int printed)>& keepGoing);

// The batch list of waybill receivers: collected from pasted text, a spreadsheet or the
// address book, filtered, edited, and printed on the open waybill form.
class TfrmMutiPrint : public QDialog {
    Q_OBJECT

public:
    TfrmMutiPrint(AppContext& context, TfmCheckKDD* waybill, QWidget* parent = nullptr);
    ~TfrmMutiPrint() override;

    // Adds one receiver (the address window in batch mode); "添加失败！" on an error.
    void addReceiverAndGoods(const TPersonKDD* person);
    // "查 询": loads the list again.
    void refresh();
    // Rows the list holds; the grid fetches them as they are shown.
    int listedRows() const { return listedRows_; }
    QTableView* grid() const { return DBGrid1; }

    // Shows the rows of a group: empty for the rows without one, "全部列表" for all.
    void showGroup(const QString& group);
    // After an import: the list shows the rows it saved, whatever group they went into.
    void showImported(const importing::Counts& counts);
    // Selects the first n rows (all when there are fewer).
    void selectFirstRows(int n);

    // "3.【开始】批量打印列出条目", "【批量打印选中】条目": the outcome of the job.
    BatchPrintResult printListed();
    BatchPrintResult printSelected();
    // "【预览】第1个": the current row goes to the form, which is then seen.
    void preview();

    // The column rewrite panel: open, and "应用修改" with the target and three parts.
    void openRewritePanel();
    void applyRewrite(const QString& target, const QStringList& parts);

    // "导入Excel ": the import window, preset to the batch list.
    void importClick();

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();
    void reload();
    void refillGroups(const QString& wanted);
    void updateCounts();
    QList<qint64> idsOfRows(const QList<int>& rows);
    QList<int> selectedRows() const;
    QSet<QString> shownColumns() const;
    BatchPrintResult printRows(const QList<int>& rows);
    void pasteClick();
    void addressBookClick();
    void selectFirstClick();
    void clearAllClick();
    void deleteSelectedClick();
    void deleteListedClick();
    void showGridMenu(const QPoint& at);

    AppContext& context_;
    QPointer<TfmCheckKDD> waybill_;
    TfrmMatchAddr* addressWindow_ = nullptr;
    QStringList columns_;
    batchlist::Query listed_;
    int listedRows_ = 0;
    bool firstLoad_ = true;

    QPushButton* btPaste;
    QPushButton* btImport;
    QPushButton* btAddressBook;
    QComboBox* cbGroup;
    QComboBox* cbFields;
    QComboBox* cbMode;
    QLineEdit* edtKey;
    QPushButton* _btRefreash;
    QPushButton* btAll;
    QCheckBox* ckDesc;
    QComboBox* cbSort;
    QTableView* DBGrid1;
    QSqlQueryModel* model_;
    QLabel* lbCount;
    QLabel* lbSelected;
    QPushButton* btFirst;
    QPushButton* btLast;
    QPushButton* btDeleteSelected;
    QPushButton* btDeleteListed;
    QPushButton* btClearAll;
    QPushButton* btSelectFirst;
    QPushButton* btRewrite;
    QPushButton* btExport;
    QPushButton* btPrint;
    QLabel* lbStatus;
    ColumnRewritePanel* panelRewrite;
    QMenu* PopupMenu1;
    QAction* mnPrintAll;
    QAction* mnPrintSelected;
    QAction* mnPreview;
    QAction* mnDeleteSelected;
    QAction* mnDeleteListed;
    QAction* mnClearAll;
    QAction* mnSaveWidths;
    QAction* mnColumns;
};

} // namespace slipcraft
