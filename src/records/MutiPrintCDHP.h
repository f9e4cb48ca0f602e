#pragma once

#include "records/BatchPrint.h"
#include "records/MutiPrintCDHPLogic.h"

#include <QDialog>
#include <QHash>
#include <QList>
#include <QPointer>
#include <QString>

#include <functional>

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTableView;

namespace slipcraft {

class AppContext;
class ColumnRewritePanel;
class TfmCheckCDHP;

// Writes one draft of the batch into the acceptance draft form, each value followed by
// the form's own handler (date of issue, due date, currency, amount).
void sendDraft(TfmCheckCDHP& form, const QHash<QString, QString>& row);

// Prints the drafts one a page in one print job on the form; keepGoing (drafts printed so
// far) is asked before each, and false withdraws the job.
BatchPrintResult printDrafts(TfmCheckCDHP& form, AppContext& context, const QList<QHash<QString, QString>>& rows,
                             const std::function<bool(int printed)>& keepGoing);

// The acceptance draft batch: drafts from the history, a spreadsheet or typed into the
// grid, filtered, numbered, rewritten and printed on the acceptance draft form.
class TfrmMutiPrintCDHP : public QDialog {
    Q_OBJECT

public:
    // openForm gives the acceptance draft form when the one printed on has been closed
    // (null, after saying why, when it cannot be opened).
    TfrmMutiPrintCDHP(AppContext& context, TfmCheckCDHP* form, std::function<TfmCheckCDHP*()> openForm = {},
                      QWidget* parent = nullptr);
    ~TfrmMutiPrintCDHP() override;

    void setForm(TfmCheckCDHP* form);

    // "查询(&Q)": the keyword condition, then the list again.
    void query();
    int listedRows() const { return listedRows_; }
    QTableView* grid() const { return DBGrid1; }

    // "批量打印所有记录", "批量打印选中": the outcome of the job.
    BatchPrintResult printListed();
    BatchPrintResult printSelected();
    // "登记票据编号" with the answer given: the selected drafts (or the current one).
    void recordNumbers(const QString& answer);
    // "清空系统所有": both questions, then the batch is emptied.
    void clearAll();
    // "输入一条..": a new draft in the grid, ready for typing.
    void addTyped();
    // "来自保存票据..": the acceptance draft history in batch mode.
    void addFromHistory();
    // "导入Excel..": the import window.
    void importClick();

    // "批填列" and "应用修改" with the target and three parts.
    void openRewritePanel();
    void applyRewrite(const QString& target, const QStringList& parts);

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();
    void reload();
    // The form to print on, opened again when it was closed; null after saying so.
    TfmCheckCDHP* printingForm();
    BatchPrintResult printIds(const QList<qint64>& ids);
    QList<qint64> selectedIds();
    qint64 currentId() const;
    void recordNumbersClick();
    void printSelectedClick();
    void deleteSelectedClick();
    void deleteListedClick();
    void showGridMenu(const QPoint& at);
    void setPrinting(bool printing);

    AppContext& context_;
    QPointer<TfmCheckCDHP> form_;
    std::function<TfmCheckCDHP*()> openForm_;
    QStringList columns_;
    batchlist::Query listed_;
    int listedRows_ = 0;
    bool firstLoad_ = true;

    QPushButton* btFromSaved;
    QPushButton* btImport;
    QPushButton* btAddOne;
    QComboBox* cbFields;
    QComboBox* cbMode;
    QLineEdit* edtKey;
    QPushButton* btQuery;
    QPushButton* btAll;
    QComboBox* cbSort;
    QCheckBox* ckDesc;
    QTableView* DBGrid1;
    draftbatch::DraftListModel* model_;
    QLineEdit* edtSelectCount;
    QPushButton* btFirst;
    QPushButton* btLast;
    QPushButton* btDeleteSelected;
    QPushButton* btDeleteListed;
    QPushButton* btClearAll;
    QPushButton* btRewrite;
    QPushButton* btExport;
    QPushButton* btPrintSelected;
    QPushButton* btPrintAll;
    QLabel* lbStatus;
    ColumnRewritePanel* panelRewrite;
    QMenu* PopupMenu1;
    QAction* mnRefresh;
    QAction* mnPrintAll;
    QAction* mnPrintSelected;
    QAction* mnNumbers;
    QAction* mnColumns;
    QAction* mnSaveWidths;
};

} // namespace slipcraft
