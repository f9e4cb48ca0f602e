#pragma once

#include <QDialog>
#include <QString>

class QComboBox;
class QListWidget;
class QTableView;

namespace slipcraft {

class AppContext;

// The services every list window offers on its grid. A grid's "query is open" when it
// has a model; its name is its objectName() (the component name, e.g. "DBGrid1"); a
// column's field name is the model's horizontal heading. Models that fetch lazily
// (QSqlQueryModel) are fetched to the end before rows are visited.

// Stores the widths and hidden columns in Config.ini under the window's name.
// An empty window name shows "保存表格列宽异常！"; other errors are ignored.
void GridColsWidthSave(AppContext& context, QTableView* grid, const QString& windowName);
// Applies the stored widths and hides the stored hidden columns; call after every query.
void GridColsWidthLoad(AppContext& context, QTableView* grid, const QString& windowName);
// Opens the column chooser TfrmGridConfig modally for the grid.
void GridColsConfigration(AppContext& context, QTableView* grid, const QString& windowName);

// Collects the key column's values of the selected rows in the order of selection into
// keyList (see gridKeyList); returns the number of rows visited.
int GridSelectedFetch(AppContext& context, QTableView* grid, const QString& keyColumn, const QString& kind,
                      QString& keyList);
// Deletes the selected rows from table after a question; returns the rows deleted.
// The caller reloads its list.
int GridSelectedDelete(AppContext& context, QTableView* grid, const QString& table, const QString& noun,
                       const QString& kind, const QString& keyColumn);
// Deletes every listed row from table, by its key column, after a question; all or
// nothing. Returns the rows deleted; the caller reloads its list.
int GridDeleteCurrentList(AppContext& context, QTableView* grid, const QString& table, const QString& keyColumn);

// Writes the shown columns of the list, in the order shown, to a new .xlsx under Output/
// in the run path (progress dialog with cancel for long lists) and opens it with the
// desktop's default application. Returns the file written; empty when nothing was.
QString ExportGrid2Excel(AppContext& context, QTableView* grid, const QString& title);

// "|<" and ">|": the first or the last listed row becomes the current one, in view.
void GridGoToRow(QTableView* grid, bool last);

// Removes every entry whose text equals text from the box's list.
void ComboBoxDeleteByText(QComboBox* box, const QString& text);

// The column chooser, caption "表格栏目配置".
class TfrmGridConfig : public QDialog {
    Q_OBJECT

public:
    TfrmGridConfig(AppContext& context, QTableView* grid, const QString& windowName, QWidget* parent = nullptr);

    QListWidget* lbShow;
    QListWidget* lbHide;

private:
    void moveSelected(QListWidget* from, QListWidget* to);
    void applyChoice();
    // Every way of closing keeps the window's size.
    void done(int result) override;

    AppContext& context_;
    QTableView* grid_;
    QString windowName_;
};

} // namespace slipcraft
