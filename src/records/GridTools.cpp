#include "records/GridTools.h"

#include "platform/spreadsheet/Workbook.h"
#include "platform/spreadsheet/XlsxWriter.h"
#include "records/GridConfig.h"
#include "shell/AppContext.h"
#include "shell/UserMessages.h"
#include "shell/WindowSettings.h"

#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QProgressDialog>
#include <QPushButton>
#include <QSet>
#include <QSqlQueryModel>
#include <QSqlRecord>
#include <QTableView>
#include <QUrl>
#include <QVBoxLayout>

namespace slipcraft {

namespace {

const QString kWidthError = QStringLiteral("保存表格列宽异常！");
const QString kFetchError = QStringLiteral("DBGrid记录选取失败~");
constexpr int kProgressStep = 100;

bool queryOpen(const QTableView* grid)
{
    return grid && grid->model();
}

// Lazy models hold only the rows fetched so far.
void fetchAll(QAbstractItemModel* model)
{
    while (model->canFetchMore({}))
        model->fetchMore({});
}

QString fieldName(const QAbstractItemModel* model, int column)
{
    return model->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
}

// The column of a field: its name in the query's record, else its heading; -1 when none.
int fieldColumn(const QAbstractItemModel* model, const QString& field)
{
    if (const auto* query = qobject_cast<const QSqlQueryModel*>(model)) {
        const int column = query->record().indexOf(field);
        if (column >= 0)
            return column;
    }
    for (int column = 0; column < model->columnCount(); ++column) {
        if (fieldName(model, column).compare(field, Qt::CaseInsensitive) == 0)
            return column;
    }
    return -1;
}

QList<GridColumnLayout> gridLayout(const QTableView* grid)
{
    QList<GridColumnLayout> columns;
    for (int column = 0; column < grid->model()->columnCount(); ++column)
        columns << GridColumnLayout{grid->columnWidth(column), grid->isColumnHidden(column)};
    return columns;
}

void applyLayout(QTableView* grid, const QList<GridColumnLayout>& columns)
{
    for (int column = 0; column < columns.size(); ++column) {
        grid->setColumnHidden(column, columns[column].hidden);
        if (!columns[column].hidden)
            grid->setColumnWidth(column, columns[column].width);
    }
}

// False when the file could not be written; an empty window name is reported here.
bool saveLayout(AppContext& context, QTableView* grid, const QString& windowName)
{
    if (windowName.isEmpty()) {
        context.messages().show(kWidthError);
        return false;
    }
    return saveGridLayout(context.OpenUserIniFile(), windowName, grid->objectName(), gridLayout(grid));
}

// Stops the grid from repainting while rows are visited.
class FrozenDisplay {
public:
    explicit FrozenDisplay(QTableView* grid)
        : grid_(grid)
        , wasEnabled_(grid->updatesEnabled())
    {
        grid_->setUpdatesEnabled(false);
    }
    ~FrozenDisplay() { grid_->setUpdatesEnabled(wasEnabled_); }

private:
    QTableView* grid_;
    bool wasEnabled_;
};

// The selected rows, each once, in the order they were selected.
QList<int> selectedRows(const QTableView* grid)
{
    QList<int> rows;
    const QItemSelectionModel* selection = grid->selectionModel();
    if (!selection)
        return rows;
    QSet<int> seen;
    for (const QItemSelectionRange& range : selection->selection()) {
        for (int row = range.top(); row <= range.bottom(); ++row) {
            if (!seen.contains(row)) {
                seen.insert(row);
                rows << row;
            }
        }
    }
    return rows;
}

// The key column's values of rows; false, after a message, when the grid has no such column.
bool keysOf(AppContext& context, QTableView* grid, const QString& keyColumn, const QList<int>& rows,
            QVariantList& keys)
{
    const QAbstractItemModel* model = grid->model();
    const int column = fieldColumn(model, keyColumn);
    if (column < 0) {
        context.messages().show(kFetchError + QStringLiteral("没有找到列“%1”~").arg(keyColumn));
        return false;
    }
    FrozenDisplay frozen(grid);
    for (int row : rows)
        keys << model->data(model->index(row, column), Qt::EditRole);
    return true;
}

// The selected rows' keys; false, after a message, when none can be collected.
bool selectedKeys(AppContext& context, QTableView* grid, const QString& keyColumn, QVariantList& keys)
{
    if (keyColumn.isEmpty()) {
        context.messages().show(kFetchError + QStringLiteral("没有指定列名~"));
        return false;
    }
    if (!queryOpen(grid))
        return false;
    return keysOf(context, grid, keyColumn, selectedRows(grid), keys);
}

} // namespace

void GridColsWidthSave(AppContext& context, QTableView* grid, const QString& windowName)
{
    if (queryOpen(grid))
        saveLayout(context, grid, windowName);
}

void GridColsWidthLoad(AppContext& context, QTableView* grid, const QString& windowName)
{
    if (windowName.isEmpty()) {
        context.messages().show(kWidthError);
        return;
    }
    const IniFile& ini = context.OpenUserIniFile();
    if (queryOpen(grid))
        applyLayout(grid, loadGridLayout(ini, windowName, grid->objectName(), gridLayout(grid)));
}

void GridColsConfigration(AppContext& context, QTableView* grid, const QString& windowName)
{
    if (!queryOpen(grid))
        return;
    TfrmGridConfig chooser(context, grid, windowName, grid->window());
    chooser.exec();
}

int GridSelectedFetch(AppContext& context, QTableView* grid, const QString& keyColumn, const QString& kind,
                      QString& keyList)
{
    keyList.clear();
    QVariantList keys;
    if (!selectedKeys(context, grid, keyColumn, keys))
        return 0;
    QStringList values;
    for (const QVariant& key : std::as_const(keys))
        values << exportText(key);
    keyList = gridKeyList(values, kind);
    return int(keys.size());
}

int GridSelectedDelete(AppContext& context, QTableView* grid, const QString& table, const QString& noun,
                       const QString& kind, const QString& keyColumn)
{
    Q_UNUSED(kind); // the keys travel as bound values, in their own types
    QVariantList keys;
    if (!selectedKeys(context, grid, keyColumn, keys) || keys.isEmpty())
        return 0;
    const QString what = noun.isEmpty() ? QStringLiteral("数据记录") : noun;
    if (!context.alert(QStringLiteral("确认要删除所选中的%1个%2吗?").arg(keys.size()).arg(what),
                       QStringLiteral("删除确认"), true))
        return 0;
    try {
        const int deleted = deleteRowsByKey(context.db(), table, keyColumn, keys);
        context.alert(QStringLiteral("%1个%2删除成功！").arg(deleted).arg(what), QStringLiteral("提示"), false);
        return deleted;
    } catch (const DatabaseError& error) {
        context.messages().show(QStringLiteral("删除失败，错误=") + error.text());
        return 0;
    }
}

int GridDeleteCurrentList(AppContext& context, QTableView* grid, const QString& table, const QString& keyColumn)
{
    if (!context.alert(QStringLiteral("此操作将删除当前查询到的所有记录，确定删除吗？"), QStringLiteral("警告"), true))
        return 0;
    if (!queryOpen(grid))
        return 0;
    QAbstractItemModel* model = grid->model();
    fetchAll(model);
    QList<int> rows;
    for (int row = 0; row < model->rowCount(); ++row)
        rows << row;
    QVariantList keys;
    if (!keysOf(context, grid, keyColumn, rows, keys))
        return 0;
    try {
        const int deleted = deleteRowsByKey(context.db(), table, keyColumn, keys);
        context.messages().show(QStringLiteral("%1条记录删除成功！").arg(deleted));
        return deleted;
    } catch (const DatabaseError&) {
        context.messages().show(QStringLiteral("删除出现异常！"));
        return 0;
    }
}

QString ExportGrid2Excel(AppContext& context, QTableView* grid, const QString& title)
{
    QAbstractItemModel* model = grid ? grid->model() : nullptr;
    if (model)
        fetchAll(model);
    if (!model || model->rowCount() == 0) {
        context.messages().show(QStringLiteral("没有可导出的数据~"));
        return {};
    }

    const QHeaderView* header = grid->horizontalHeader();
    QList<int> visualOrder;
    QList<bool> hidden;
    for (int section = 0; section < model->columnCount(); ++section) {
        visualOrder << header->logicalIndex(section);
        hidden << grid->isColumnHidden(section);
    }
    const QList<int> columns = exportColumns(visualOrder, hidden);
    QStringList headings;
    for (int column : columns)
        headings << fieldName(model, column);

    const QString path = exportFilePath(context.getRunPath(), title, QDateTime::currentDateTime());
    const int rowCount = model->rowCount();
    QProgressDialog progress(QStringLiteral("正在导出数据……"), QStringLiteral("取消"), 0, rowCount, grid->window());
    progress.setWindowTitle(title);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    try {
        if (!QDir().mkpath(QFileInfo(path).absolutePath()))
            throw SpreadsheetError(QStringLiteral("无法建立文件夹“%1”，请检查文件夹权限。")
                                       .arg(QDir::toNativeSeparators(QFileInfo(path).absolutePath())));
        FrozenDisplay frozen(grid);
        XlsxWriter writer(path, headings, title);
        QStringList cells;
        for (int row = 0; row < rowCount; ++row) {
            if (row % kProgressStep == 0) {
                progress.setValue(row);
                if (progress.wasCanceled())
                    return {};
            }
            cells.clear();
            for (int column : columns)
                cells << exportText(model->data(model->index(row, column), Qt::EditRole));
            writer.addRow(cells);
        }
        writer.close();
        progress.setValue(rowCount);
    } catch (const SpreadsheetError& error) {
        progress.reset();
        context.messages().show(QStringLiteral("数据导出Excel出错,错误提示:") + error.text());
        return {};
    }

    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
        context.messages().show(QStringLiteral("数据已导出到文件“%1”，但没有找到能打开它的程序。"
                                               "请安装电子表格软件（例如软件包 libreoffice-calc）后打开该文件。")
                                    .arg(QDir::toNativeSeparators(path)));
    return path;
}

void GridGoToRow(QTableView* grid, bool last)
{
    QAbstractItemModel* model = grid->model();
    if (!model || model->rowCount() == 0)
        return;
    if (last) {
        while (model->canFetchMore({}))
            model->fetchMore({});
    }
    const QModelIndex target = model->index(last ? model->rowCount() - 1 : 0, 0);
    grid->setCurrentIndex(target);
    grid->scrollTo(target);
}

void ComboBoxDeleteByText(QComboBox* box, const QString& text)
{
    // Removing the current entry must not change what the user typed.
    const QString typed = box->currentText();
    for (int index = box->count() - 1; index >= 0; --index) {
        if (box->itemText(index) == text)
            box->removeItem(index);
    }
    if (box->isEditable())
        box->setEditText(typed);
}

TfrmGridConfig::TfrmGridConfig(AppContext& context, QTableView* grid, const QString& windowName, QWidget* parent)
    : QDialog(parent)
    , lbShow(new QListWidget(this))
    , lbHide(new QListWidget(this))
    , context_(context)
    , grid_(grid)
    , windowName_(windowName)
{
    setObjectName(QStringLiteral("frmGridConfig"));
    setWindowTitle(QStringLiteral("表格栏目配置"));
    lbShow->setObjectName(QStringLiteral("lbShow"));
    lbHide->setObjectName(QStringLiteral("lbHide"));
    for (QListWidget* list : {lbShow, lbHide})
        list->setSelectionMode(QAbstractItemView::ExtendedSelection);

    const QAbstractItemModel* model = grid_->model();
    for (int column = 0; column < model->columnCount(); ++column) {
        auto* item = new QListWidgetItem(fieldName(model, column));
        item->setData(Qt::UserRole, column);
        (grid_->isColumnHidden(column) ? lbHide : lbShow)->addItem(item);
    }

    auto* btHide = new QPushButton(QStringLiteral("隐藏"), this);
    auto* btShow = new QPushButton(QStringLiteral("显示"), this);
    auto* btApply = new QPushButton(QStringLiteral("应用修改"), this);
    auto* btClose = new QPushButton(QStringLiteral("关 闭"), this);
    btHide->setObjectName(QStringLiteral("btHide"));
    btShow->setObjectName(QStringLiteral("btShow"));
    btApply->setObjectName(QStringLiteral("btApply"));
    btClose->setObjectName(QStringLiteral("btClose"));
    connect(btHide, &QPushButton::clicked, this, [this] { moveSelected(lbShow, lbHide); });
    connect(btShow, &QPushButton::clicked, this, [this] { moveSelected(lbHide, lbShow); });
    connect(btApply, &QPushButton::clicked, this, &TfrmGridConfig::applyChoice);
    connect(btClose, &QPushButton::clicked, this, &QDialog::close);

    auto* shownColumn = new QVBoxLayout;
    shownColumn->addWidget(new QLabel(QStringLiteral("需要的数据列："), this));
    shownColumn->addWidget(lbShow);
    auto* moves = new QVBoxLayout;
    moves->addStretch();
    moves->addWidget(btHide);
    moves->addWidget(btShow);
    moves->addStretch();
    auto* hiddenColumn = new QVBoxLayout;
    hiddenColumn->addWidget(new QLabel(QStringLiteral("不需要的数据列："), this));
    hiddenColumn->addWidget(lbHide);
    auto* lists = new QHBoxLayout;
    lists->addLayout(shownColumn);
    lists->addLayout(moves);
    lists->addLayout(hiddenColumn);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btApply);
    buttons->addWidget(btClose);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(lists);
    layout->addLayout(buttons);

    FormFaceLoad(this, context_.userIniFile());
}

void TfrmGridConfig::moveSelected(QListWidget* from, QListWidget* to)
{
    for (int row = 0; row < from->count();) {
        if (from->item(row)->isSelected()) {
            QListWidgetItem* item = from->takeItem(row);
            item->setSelected(false);
            to->addItem(item);
        } else {
            ++row;
        }
    }
}

void TfrmGridConfig::applyChoice()
{
    QList<bool> shown(grid_->model()->columnCount(), false);
    for (int row = 0; row < lbShow->count(); ++row)
        shown[lbShow->item(row)->data(Qt::UserRole).toInt()] = true;
    applyLayout(grid_, applyColumnChoice(gridLayout(grid_), shown));
    if (windowName_.isEmpty()) {
        context_.messages().show(kWidthError);
        return;
    }
    if (saveLayout(context_, grid_, windowName_))
        context_.messages().show(QStringLiteral("栏目显示设置成功~"));
    else
        context_.messages().show(QStringLiteral("设置出现意外错误~") + QStringLiteral("无法写入文件“%1”。")
                                     .arg(QDir::toNativeSeparators(context_.userIniFile().path())));
}

void TfrmGridConfig::done(int result)
{
    FormFaceSave(this, context_.userIniFile());
    QDialog::done(result);
}

} // namespace slipcraft
