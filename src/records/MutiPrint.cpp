#include "records/MutiPrint.h"

#include "entry/FormControls.h"
#include "entry/InputValue.h"
#include "entry/bills/CheckKDD.h"
#include "parties/DAOPerson.h"
#include "parties/PersonManage.h"
#include "records/ColumnRewrite.h"
#include "records/GridTools.h"
#include "records/ImportMatch.h"
#include "records/MatchAddr.h"
#include "shell/AppContext.h"
#include "shell/UserMessages.h"
#include "shell/WindowSettings.h"
#include "wording/Functions.h"
#include "shell/WindowParts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSet>
#include <QShowEvent>
#include <QSqlQueryModel>
#include <QSqlRecord>
#include <QStatusBar>
#include <QTableView>
#include <QVBoxLayout>

namespace slipcraft {

namespace {

const QString kWindowCaption = QStringLiteral("Marrowind软件-批量打印快递单-收件人");
const QString kHelpCaption = QStringLiteral("Marrowind提示");
const QString kAmountColumn = QStringLiteral("金额大写1");
const QString kAmountBox = QStringLiteral("zdJEDX1");
// The group box's first entry: the rows without a group.
const QString kUngrouped = QStringLiteral("（未分组）");

QString rowText(const QHash<QString, QString>& row, const char* column)
{
    return row.value(QString::fromUtf8(column));
}

} // namespace

void sendReceiver(TfmCheckKDD& form, AppContext& context, qint64 id, const QSet<QString>& shownColumns)
{
    UserMessages& messages = context.messages();
    if (id <= 0) {
        messages.show(QStringLiteral("没有选中有效的记录~"));
        return;
    }
    try {
        const QHash<QString, QString> row = receiverRow(context.db(), id);
        if (row.isEmpty())
            messages.show(QStringLiteral("调用错误，找不到记录，编号=%1").arg(id));
        TPersonKDD receiver;
        receiver.setFullName(rowText(row, "全称"));
        receiver.setContactor(rowText(row, "联系人"));
        receiver.setCountry(rowText(row, "国家"));
        receiver.setProvince(rowText(row, "省"));
        receiver.setCity(rowText(row, "市"));
        receiver.setTown(rowText(row, "镇区"));
        receiver.setAddress(rowText(row, "地址"));
        receiver.setZipcode(rowText(row, "邮编"));
        receiver.setPhone(rowText(row, "电话"));
        receiver.setHandset(rowText(row, "手机"));
        form.setReceiver(&receiver);
        form.zdSKRXSChange();

        // A template without a mobile box carries the mobile in the telephone box.
        const QWidget* mobileBox = findNamedControl(&form, QStringLiteral("skrHandset"));
        const QString phone = receiver.getPhone();
        const QString mobile = receiver.getHandset();
        if (mobileBox && !mobileBox->isVisibleTo(&form) && !mobile.isEmpty())
            form.setBoxText(QStringLiteral("zdskrDH"), phone.isEmpty() ? mobile : phone + QLatin1Char('/') + mobile);

        for (const auto& [column, box] : batchlist::parcelColumns()) {
            if (!shownColumns.contains(column))
                continue;
            const QString value = row.value(column);
            if (column == kAmountColumn) {
                form.setBoxText(kAmountBox, isDigitText(value) ? value : QString());
                form.zdJEDX1Exit();
            } else {
                form.setBoxText(box, value);
            }
        }
    } catch (const DatabaseError& error) {
        messages.show(QStringLiteral("错误，") + error.text());
    }
}

BatchPrintResult printReceivers(TfmCheckKDD& form, AppContext& context, const QList<qint64>& ids,
                                const QSet<QString>& shownColumns, const std::function<bool(int)>& keepGoing)
{
    return printBatch(form, context, int(ids.size()), 1,
                      [&](int i) { sendReceiver(form, context, ids[i], shownColumns); }, keepGoing);
}

TfrmMutiPrint::TfrmMutiPrint(AppContext& context, TfmCheckKDD* waybill, QWidget* parent)
    : QDialog(parent)
    , context_(context)
    , waybill_(waybill)
{
    setObjectName(QStringLiteral("frmMutiPrint"));
    setWindowTitle(kWindowCaption);
    buildControls();
    resize(1100, 680);
    FormFaceLoad(this, context_.userIniFile());
}

TfrmMutiPrint::~TfrmMutiPrint() = default;

void TfrmMutiPrint::buildControls()
{
    btPaste = commandButton(this, QStringLiteral("识别复制串或输入"), "btPaste");
    btImport = commandButton(this, QStringLiteral("导入Excel "), "btImport");
    btAddressBook = commandButton(this, QStringLiteral("选取地址本"), "btAddressBook");
    btAddressBook->setToolTip(QStringLiteral("从地址薄选取一些地址"));
    cbGroup = new QComboBox(this);
    cbGroup->setObjectName(QStringLiteral("cbGroup"));
    cbGroup->setMinimumWidth(110);
    cbFields = new QComboBox(this);
    cbFields->setObjectName(QStringLiteral("cbFields"));
    cbFields->addItem(QStringLiteral("全称|联系人|电话"));
    cbFields->setMinimumWidth(130);
    cbMode = new QComboBox(this);
    cbMode->setObjectName(QStringLiteral("cbMode"));
    cbMode->addItems({batchlist::kContains, batchlist::kEquals});
    edtKey = new QLineEdit(this);
    edtKey->setObjectName(QStringLiteral("edtKey"));
    _btRefreash = commandButton(this, QStringLiteral("查 询"), "_btRefreash");
    btAll = commandButton(this, QStringLiteral("全 部"), "btAll");
    ckDesc = new QCheckBox(QStringLiteral("倒序"), this);
    ckDesc->setObjectName(QStringLiteral("ckDesc"));
    cbSort = new QComboBox(this);
    cbSort->setObjectName(QStringLiteral("cbSort"));
    cbSort->setMinimumWidth(80);

    model_ = new QSqlQueryModel(this);
    DBGrid1 = new QTableView(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setModel(model_);
    DBGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGrid1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    DBGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBGrid1->setContextMenuPolicy(Qt::CustomContextMenu);
    DBGrid1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    DBGrid1->verticalHeader()->setDefaultSectionSize(DBGrid1->fontMetrics().height() + 6);

    lbCount = new QLabel(QStringLiteral("共列出:0"), this);
    lbCount->setObjectName(QStringLiteral("lbCount"));
    lbSelected = new QLabel(QStringLiteral("选中:0"), this);
    lbSelected->setObjectName(QStringLiteral("lbSelected"));
    btFirst = commandButton(this, QStringLiteral("|<"), "btFirst");
    btLast = commandButton(this, QStringLiteral(">|"), "btLast");
    btDeleteSelected = commandButton(this, QStringLiteral("删除选中条目"), "btDeleteSelected");
    btDeleteListed = commandButton(this, QStringLiteral("删除当前列出条目"), "btDeleteListed");
    btClearAll = commandButton(this, QStringLiteral("清空系统所有条目"), "btClearAll");
    btSelectFirst = commandButton(this, QStringLiteral("选中前 N 条"), "btSelectFirst");
    btRewrite = commandButton(this, QStringLiteral("批量填充列"), "btRewrite");
    btExport = commandButton(this, QStringLiteral("导出到Excel(列出)"), "btExport");
    btPrint = commandButton(this, QStringLiteral("3.【开始】批量打印列出条目"), "btPrint");
    QFont bold = btPrint->font();
    bold.setBold(true);
    btPrint->setFont(bold);
    btPrint->setEnabled(false);
    lbStatus = new QLabel(this);
    lbStatus->setObjectName(QStringLiteral("lbStatus"));

    auto* sources = new QHBoxLayout;
    sources->addWidget(new QLabel(QStringLiteral("1.添加收件人:"), this));
    for (QPushButton* source : {btPaste, btImport, btAddressBook})
        sources->addWidget(source);
    sources->addStretch();
    QLabel* paperHelp = linkLabel(this, QStringLiteral("【怎样设置批打纸张?】"), "lbPaperHelp");
    QLabel* printHelp = linkLabel(this, QStringLiteral("【批量打印其他注意】"), "lbPrintHelp");
    sources->addWidget(paperHelp);
    sources->addWidget(printHelp);

    auto* filters = new QHBoxLayout;
    filters->addWidget(new QLabel(QStringLiteral("2.查找:批打分组"), this));
    filters->addWidget(cbGroup);
    filters->addWidget(cbFields);
    filters->addWidget(cbMode);
    filters->addWidget(edtKey, 1);
    filters->addWidget(_btRefreash);
    filters->addWidget(btAll);
    filters->addWidget(new QLabel(QStringLiteral("排序:"), this));
    filters->addWidget(cbSort);
    filters->addWidget(ckDesc);

    panelRewrite = new ColumnRewritePanel(
        context_,
        {QStringLiteral("置空"), QStringLiteral("关闭"), QStringLiteral("没有修改任何记录或修改失败~"),
         {QStringLiteral("例如（多列拼加）：       @地址 = @省 + @市 + @地址"),
          QStringLiteral("例如（前置特定句子）：   @地址 = 收货地址: + @地址 "),
          QStringLiteral("例如（后置特定句子）：   @地址 = @地址 + 【务必本人签收】"),
          QStringLiteral("例如（前后置特定句子）： @内件说明 = 光盘数: +  @数量  + 张."),
          QStringLiteral("例如（置为特定句子）：   @内件说明 =  文件或发票")},
         QStringLiteral("【技巧】：可进行多次拼合达到多列合并的目的！也可用于批量修改某列为固定文字或置空。"),
         true},
        this);
    panelRewrite->listed = [this] { return listed_; };
    connect(panelRewrite, &ColumnRewritePanel::rewritten, this, &TfrmMutiPrint::reload);
    auto* listArea = new QHBoxLayout;
    listArea->addWidget(DBGrid1, 1);
    listArea->addWidget(panelRewrite);

    QLabel* multiHelp = linkLabel(this, QStringLiteral("【怎样点击多选?】"), "lbMultiHelp");
    QLabel* selectedHelp = linkLabel(this, QStringLiteral("【怎样仅打印选中条目?】"), "lbSelectedHelp");
    QLabel* columnsHelp = linkLabel(this, QStringLiteral("【怎样隐藏不用的数据列?】"), "lbColumnsHelp");
    auto* listFoot = new QHBoxLayout;
    listFoot->addWidget(lbCount);
    listFoot->addWidget(lbSelected);
    listFoot->addWidget(btFirst);
    listFoot->addWidget(btLast);
    listFoot->addStretch();
    for (QLabel* help : {multiHelp, selectedHelp, columnsHelp})
        listFoot->addWidget(help);

    auto* commands = new QHBoxLayout;
    for (QPushButton* command : {btDeleteSelected, btDeleteListed, btClearAll, btSelectFirst, btRewrite, btExport})
        commands->addWidget(command);
    commands->addStretch();
    commands->addWidget(btPrint);

    auto* status = new QStatusBar(this);
    status->setObjectName(QStringLiteral("StatusBar1"));
    status->setSizeGripEnabled(false);
    status->addWidget(lbStatus, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(sources);
    layout->addLayout(filters);
    layout->addLayout(listArea, 1);
    layout->addLayout(listFoot);
    layout->addLayout(commands);
    layout->addWidget(status);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    mnPrintAll = menuEntry(PopupMenu1, QStringLiteral("【批量打印所有】列出条目"), "mnPrintAll");
    mnPrintSelected = menuEntry(PopupMenu1, QStringLiteral("【批量打印选中】条目"), "mnPrintSelected");
    mnPreview = menuEntry(PopupMenu1, QStringLiteral("【预览】第1个"), "mnPreview");
    PopupMenu1->addSeparator();
    mnDeleteSelected = menuEntry(PopupMenu1, QStringLiteral("【删除】选中条目"), "mnDeleteSelected");
    mnDeleteListed = menuEntry(PopupMenu1, QStringLiteral("【删除】所有列出条目"), "mnDeleteListed");
    mnClearAll = menuEntry(PopupMenu1, QStringLiteral("【清空】系统所有条目"), "mnClearAll");
    PopupMenu1->addSeparator();
    mnSaveWidths = menuEntry(PopupMenu1, QStringLiteral("【记住】当前表格列宽"), "mnSaveWidths");
    mnColumns = menuEntry(PopupMenu1, QStringLiteral("【隐藏/显示】表格列"), "mnColumns");

    connect(btPaste, &QPushButton::clicked, this, &TfrmMutiPrint::pasteClick);
    connect(btImport, &QPushButton::clicked, this, &TfrmMutiPrint::importClick);
    connect(btAddressBook, &QPushButton::clicked, this, &TfrmMutiPrint::addressBookClick);
    connect(_btRefreash, &QPushButton::clicked, this, &TfrmMutiPrint::refresh);
    connect(edtKey, &QLineEdit::returnPressed, this, &TfrmMutiPrint::refresh);
    connect(btAll, &QPushButton::clicked, this, [this] {
        edtKey->clear();
        reload();
    });
    connect(ckDesc, &QCheckBox::toggled, this, &TfrmMutiPrint::reload);
    connect(cbGroup, &QComboBox::activated, this, &TfrmMutiPrint::reload);
    connect(btFirst, &QPushButton::clicked, this, [this] { GridGoToRow(DBGrid1, false); });
    connect(btLast, &QPushButton::clicked, this, [this] { GridGoToRow(DBGrid1, true); });
    connect(btDeleteSelected, &QPushButton::clicked, this, &TfrmMutiPrint::deleteSelectedClick);
    connect(btDeleteListed, &QPushButton::clicked, this, &TfrmMutiPrint::deleteListedClick);
    connect(btClearAll, &QPushButton::clicked, this, &TfrmMutiPrint::clearAllClick);
    connect(btSelectFirst, &QPushButton::clicked, this, &TfrmMutiPrint::selectFirstClick);
    connect(btRewrite, &QPushButton::clicked, this, &TfrmMutiPrint::openRewritePanel);
    connect(btExport, &QPushButton::clicked, this,
            [this] { ExportGrid2Excel(context_, DBGrid1, QStringLiteral("批量打印导出Excel")); });
    connect(btPrint, &QPushButton::clicked, this, &TfrmMutiPrint::printListed);
    connect(DBGrid1, &QTableView::customContextMenuRequested, this, &TfrmMutiPrint::showGridMenu);
    connect(DBGrid1->selectionModel(), &QItemSelectionModel::selectionChanged, this, &TfrmMutiPrint::updateCounts);
    connect(mnPrintAll, &QAction::triggered, this, &TfrmMutiPrint::printListed);
    connect(mnPrintSelected, &QAction::triggered, this, &TfrmMutiPrint::printSelected);
    connect(mnPreview, &QAction::triggered, this, &TfrmMutiPrint::preview);
    connect(mnDeleteSelected, &QAction::triggered, this, &TfrmMutiPrint::deleteSelectedClick);
    connect(mnDeleteListed, &QAction::triggered, this, &TfrmMutiPrint::deleteListedClick);
    connect(mnClearAll, &QAction::triggered, this, &TfrmMutiPrint::clearAllClick);
    connect(mnSaveWidths, &QAction::triggered, this, [this] { GridColsWidthSave(context_, DBGrid1, objectName()); });
    connect(mnColumns, &QAction::triggered, this, [this] { GridColsConfigration(context_, DBGrid1, objectName()); });

    connect(paperHelp, &QLabel::linkActivated, this, [this] { openPaperHelp(context_); });
    connect(printHelp, &QLabel::linkActivated, this, [this] {
        context_.messages().show(
            QStringLiteral("1.如果是从打印机后面链条自动走纸，打印前要添加和快递单一样大小的纸张规格，否则走纸会跳页。\r"
                           "  添加纸张规格说明请参见手册或软件右侧在线服务中心【纸张设置】的网页链接；\r\r"
                           "2.如果是从打印机前方平推进纸，请撕下快递单一张张放，打印一张退一张。"),
            QStringLiteral("提示"));
    });
    connect(multiHelp, &QLabel::linkActivated, this, [this] {
        context_.messages().show(QStringLiteral("按住Ctrl或Shift键不放开，然后鼠标左键点击表格中的条目可选中多个条目！"),
                                 kHelpCaption);
    });
    connect(selectedHelp, &QLabel::linkActivated, this, [this] {
        context_.messages().show(
            QStringLiteral("选中要打印的条目后，鼠标右击它们，在弹出的菜单中点击“【批量打印选中】条目”"), kHelpCaption);
    });
    connect(columnsHelp, &QLabel::linkActivated, this, [this] {
        context_.messages().show(QStringLiteral("鼠标右击表格，在弹出的菜单中点击“【隐藏/显示】表格列”,"
                                                "把不需要的列加入到不需要的列表。"),
                                 kHelpCaption);
    });
}

void TfrmMutiPrint::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        reload();
}

void TfrmMutiPrint::done(int result)
{
    GridColsWidthSave(context_, DBGrid1, objectName());
    FormFaceSave(this, context_.userIniFile());
    QDialog::done(result);
}

void TfrmMutiPrint::refresh()
{
    reload();
}

void TfrmMutiPrint::refillGroups(const QString& wanted)
{
    QStringList groups;
    try {
        groups = batchlist::groups(context_.db());
    } catch (const DatabaseError&) {
    }
    QSignalBlocker block(cbGroup);
    cbGroup->clear();
    cbGroup->addItem(kUngrouped, QString());
    cbGroup->addItem(batchlist::kAllLists, batchlist::kAllLists);
    for (const QString& group : std::as_const(groups))
        cbGroup->addItem(group, group);
    const int index = cbGroup->findData(wanted);
    cbGroup->setCurrentIndex(index < 0 ? 0 : index);
}

void TfrmMutiPrint::showGroup(const QString& group)
{
    refillGroups(group);
    reload();
}

void TfrmMutiPrint::reload()
{
    Database& db = context_.db();
    refillGroups(cbGroup->currentData().toString());
    try {
        columns_ = batchlist::tableColumns(db);
    } catch (const DatabaseError&) {
        columns_.clear();
    }
    batchlist::Filter filter;
    filter.group = cbGroup->currentData().toString();
    filter.fields = cbFields->currentText();
    filter.mode = cbMode->currentText();
    filter.keyword = edtKey->text();
    filter.sortColumn = cbSort->currentText();
    filter.descending = ckDesc->isChecked();
    listed_ = batchlist::build(filter, columns_);
    try {
        listedRows_ = batchlist::load(db, *model_, listed_);
    } catch (const DatabaseError&) {
        model_->clear();
        listedRows_ = 0;
    }
    GridColsWidthLoad(context_, DBGrid1, objectName());
    if (firstLoad_ && !columns_.isEmpty()) {
        firstLoad_ = false;
        cbFields->clear();
        cbFields->addItems(batchlist::filterFieldChoices(columns_));
        cbSort->addItem(QString());
        cbSort->addItems(columns_);
    }
    if (listedRows_ > 0)
        DBGrid1->selectionModel()->setCurrentIndex(model_->index(0, 0), QItemSelectionModel::NoUpdate);
    btPrint->setEnabled(listedRows_ > 0);
    updateCounts();
}

void TfrmMutiPrint::updateCounts()
{
    lbCount->setText(QStringLiteral("共列出:%1").arg(listedRows_));
    lbSelected->setText(QStringLiteral("选中:%1").arg(selectedRows().size()));
}

// The selected rows, each once, in the order they were selected.
QList<int> TfrmMutiPrint::selectedRows() const
{
    QList<int> rows;
    QSet<int> seen;
    for (const QItemSelectionRange& range : DBGrid1->selectionModel()->selection()) {
        for (int row = range.top(); row <= range.bottom(); ++row) {
            if (!seen.contains(row)) {
                seen.insert(row);
                rows << row;
            }
        }
    }
    return rows;
}

QList<qint64> TfrmMutiPrint::idsOfRows(const QList<int>& rows)
{
    QList<qint64> ids;
    const int column = model_->record().indexOf(batchlist::kKey);
    if (column < 0)
        return ids;
    for (int row : rows)
        ids << model_->data(model_->index(row, column)).toLongLong();
    return ids;
}

QSet<QString> TfrmMutiPrint::shownColumns() const
{
    QSet<QString> shown;
    const QSqlRecord record = model_->record();
    for (int column = 0; column < record.count(); ++column) {
        if (!DBGrid1->isColumnHidden(column))
            shown.insert(record.fieldName(column));
    }
    return shown;
}

BatchPrintResult TfrmMutiPrint::printRows(const QList<int>& rows)
{
    BatchPrintResult result;
    if (!waybill_ || rows.isEmpty())
        return result;
    btPrint->setEnabled(false);
    DBGrid1->setEnabled(false);
    const QList<qint64> ids = idsOfRows(rows);
    const QSet<QString> shown = shownColumns();
    result = printWithProgress(context_, this, kWindowCaption, QStringLiteral("正在批量打印快递单……"), int(ids.size()),
                               [&](const std::function<bool(int)>& keepGoing) {
                                   return printReceivers(*waybill_, context_, ids, shown, keepGoing);
                               });
    switch (result.outcome) {
    case BatchPrintResult::Outcome::Printed:
        lbStatus->setText(QStringLiteral("已打印 %1 张快递单。").arg(result.pages));
        break;
    case BatchPrintResult::Outcome::Stopped:
        lbStatus->setText(QStringLiteral("批量打印已停止，本次打印作业已撤销。"));
        break;
    case BatchPrintResult::Outcome::Failed:
        lbStatus->setText(QStringLiteral("批量打印失败，本次打印作业没有完成。"));
        break;
    case BatchPrintResult::Outcome::NotStarted:
        lbStatus->setText(QStringLiteral("没有开始打印。"));
        break;
    }
    DBGrid1->setEnabled(true);
    btPrint->setEnabled(listedRows_ > 0);
    return result;
}

BatchPrintResult TfrmMutiPrint::printListed()
{
    if (!waybill_)
        return {};
    while (model_->canFetchMore())
        model_->fetchMore();
    QList<int> rows;
    for (int row = 0; row < model_->rowCount(); ++row)
        rows << row;
    return printRows(rows);
}

BatchPrintResult TfrmMutiPrint::printSelected()
{
    const QList<int> rows = selectedRows();
    DBGrid1->setUpdatesEnabled(false);
    const BatchPrintResult result = printRows(rows);
    DBGrid1->setUpdatesEnabled(true);
    return result;
}

void TfrmMutiPrint::preview()
{
    if (!waybill_ || listedRows_ == 0)
        return;
    const QModelIndex current = DBGrid1->currentIndex();
    const QList<qint64> ids = idsOfRows({current.isValid() ? current.row() : 0});
    sendReceiver(*waybill_, context_, ids.value(0), shownColumns());
    accept();
}

void TfrmMutiPrint::addReceiverAndGoods(const TPersonKDD* person)
{
    try {
        if (!slipcraft::addReceiverAndGoods(context_.db(), person))
            return;
    } catch (const DatabaseError&) {
        context_.messages().show(QStringLiteral("添加失败！"));
        return;
    }
    reload();
}

void TfrmMutiPrint::pasteClick()
{
    if (!addressWindow_)
        addressWindow_ = new TfrmMatchAddr(context_, this);
    addressWindow_->setBatch(this);
    addressWindow_->exec();
}

void TfrmMutiPrint::importClick()
{
    TfrmImport import(context_, this);
    import.presetScene(importing::Scene::Batch);
    connect(&import, &TfrmImport::imported, this, &TfrmMutiPrint::showImported);
    import.exec();
}

void TfrmMutiPrint::showImported(const importing::Counts& counts)
{
    if (counts.groups.size() == 1)
        showGroup(counts.groups.first());
    else if (counts.groups.size() > 1)
        showGroup(batchlist::kAllLists);
    else
        refresh();
}

void TfrmMutiPrint::addressBookClick()
{
    std::unique_ptr<TPerson> picked =
        fetchOnePerson(context_, this, TPerson::kCounterpartUnit, QStringLiteral("选取地址本"));
    if (!picked)
        return;
    TPersonKDD receiver;
    static_cast<TPerson&>(receiver) = *picked;
    receiver.setGroup(QString());
    addReceiverAndGoods(&receiver);
}

void TfrmMutiPrint::selectFirstRows(int n)
{
    while (model_->rowCount() < n && model_->canFetchMore())
        model_->fetchMore();
    const int last = std::min(n, model_->rowCount()) - 1;
    DBGrid1->clearSelection();
    if (last < 0)
        return;
    DBGrid1->selectionModel()->select(QItemSelection(model_->index(0, 0), model_->index(last, 0)),
                                      QItemSelectionModel::Select | QItemSelectionModel::Rows);
    updateCounts();
}

void TfrmMutiPrint::selectFirstClick()
{
    if (listedRows_ == 0)
        return;
    const QString typed = giveMeAnValue(this, QStringLiteral("输入重复打印的张数"), QStringLiteral("1"),
                                        TfrmInputValue::kInteger);
    if (typed.isEmpty())
        return;
    bool ok = false;
    const int n = typed.toInt(&ok);
    if (!ok) {
        context_.messages().show(QStringLiteral("输入错误的数字！"));
        return;
    }
    selectFirstRows(n);
}

void TfrmMutiPrint::clearAllClick()
{
    if (!context_.messages().ask(QStringLiteral("提示：确认要【清空系统所有列表】的收件人吗？清除后流水ID后会重置，清除操作将无法恢复！")))
        return;
    try {
        clearReceivers(context_.db());
    } catch (const DatabaseError&) {
        context_.messages().show(QStringLiteral("清空失败！"));
    }
    reload();
}

void TfrmMutiPrint::deleteSelectedClick()
{
    GridSelectedDelete(context_, DBGrid1, batchlist::kTable, QStringLiteral("收件条目"), QStringLiteral("Numeric"),
                       batchlist::kKey);
    reload();
}

void TfrmMutiPrint::deleteListedClick()
{
    GridDeleteCurrentList(context_, DBGrid1, batchlist::kTable, batchlist::kKey);
    reload();
}

void TfrmMutiPrint::openRewritePanel()
{
    panelRewrite->open(model_->columnCount() == 0 ? QStringList() : columns_);
}

void TfrmMutiPrint::applyRewrite(const QString& target, const QStringList& parts)
{
    panelRewrite->apply(target, parts);
}

void TfrmMutiPrint::showGridMenu(const QPoint& at)
{
    const int selected = int(selectedRows().size());
    mnPrintSelected->setEnabled(selected > 0 && listedRows_ > 0);
    mnDeleteSelected->setEnabled(selected > 0 && listedRows_ > 0);
    mnPrintSelected->setText(selected > 0 ? QStringLiteral("【批量打印选中】条目(%1条)").arg(selected)
                                          : QStringLiteral("【批量打印选中】条目"));
    mnDeleteSelected->setText(selected > 0 ? QStringLiteral("【删除】选中条目(%1条)").arg(selected)
                                           : QStringLiteral("【删除】选中条目"));
    for (QAction* onRows : {mnPrintAll, mnPreview, mnDeleteListed})
        onRows->setEnabled(listedRows_ > 0);
    PopupMenu1->popup(DBGrid1->viewport()->mapToGlobal(at));
}

} // namespace slipcraft
