#include "records/MutiPrintCDHP.h"

#include "entry/BillKind.h"
#include "entry/InputValue.h"
#include "entry/bills/CheckCDHP.h"
#include "records/ColumnRewrite.h"
#include "records/GridTools.h"
#include "records/ImportMatchCDHP.h"
#include "records/Search.h"
#include "shell/AppContext.h"
#include "shell/UserMessages.h"
#include "shell/WindowSettings.h"
#include "wording/Functions.h"
#include "shell/WindowParts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QShowEvent>
#include <QSqlRecord>
#include <QStatusBar>
#include <QTableView>
#include <QVBoxLayout>

namespace slipcraft {

namespace {

const QString kWindowCaption = QStringLiteral("Marrowind软件-批量打印承兑汇票");
// Rows with faults named in one message at most.
constexpr int kProblemsShown = 10;

QString rowText(const QHash<QString, QString>& row, const char* column)
{
    return row.value(QString::fromUtf8(column));
}

} // namespace

void sendDraft(TfmCheckCDHP& form, const QHash<QString, QString>& row)
{
    static const std::pair<const char*, const char*> boxes[] = {
        {"收款人全称", "zdInComp"},     {"收款人账号", "zdInBankAcct"}, {"收款人开户行", "zdInBank"},
        {"出票人全称", "zdOutComp"},    {"出票人账号", "zdOutBankAcct"}, {"付款行名称", "zdOutBank"},
        {"付款行地址", "zdOutBankAddr"}, {"付款行行号", "zdOutBankNO"},  {"承兑协议号", "zdCDXYBH"},
        {"备注", "zdRemark"},
    };
    for (const auto& [column, box] : boxes)
        form.setBoxText(QString::fromLatin1(box), rowText(row, column));
    // The date of issue comes first: a due date of "+N" days counts from it. An empty
    // date keeps the picker's, and the date boxes are drawn in either case.
    const std::optional<QDate> issued = draftbatch::readDraftDate(rowText(row, "出票日期"));
    form.setDate(issued.value_or(form.date()));
    form.setBoxText(QStringLiteral("zdTimeOutDate"), rowText(row, "汇票到期日"));
    form.dueDateEntered();
    // A draft without a currency is in the form's currency.
    if (const QString currency = trimText(rowText(row, "币种")); !currency.isEmpty())
        form.setMoneyName(currency);
    form.setJEXX(rowText(row, "金额"));
}

BatchPrintResult printDrafts(TfmCheckCDHP& form, AppContext& context, const QList<QHash<QString, QString>>& rows,
                             const std::function<bool(int)>& keepGoing)
{
    return printBatch(form, context, int(rows.size()), 0, [&](int i) { sendDraft(form, rows[i]); }, keepGoing);
}

TfrmMutiPrintCDHP::TfrmMutiPrintCDHP(AppContext& context, TfmCheckCDHP* form, std::function<TfmCheckCDHP*()> openForm,
                                     QWidget* parent)
    : QDialog(parent)
    , context_(context)
    , form_(form)
    , openForm_(std::move(openForm))
{
    setObjectName(QStringLiteral("frmMutiPrintCDHP"));
    setWindowTitle(kWindowCaption);
    buildControls();
    resize(1100, 640);
    FormFaceLoad(this, context_.userIniFile());
}

TfrmMutiPrintCDHP::~TfrmMutiPrintCDHP() = default;

void TfrmMutiPrintCDHP::setForm(TfmCheckCDHP* form)
{
    form_ = form;
}

void TfrmMutiPrintCDHP::buildControls()
{
    btFromSaved = commandButton(this, QStringLiteral("来自保存票据.."), "btFromSaved", QStringLiteral("从历史票据中选择要打印的票据"));
    btImport = commandButton(this, QStringLiteral("导入Excel.."), "btImport", QStringLiteral("从Excel批量导入收件人信息"));
    btAddOne = commandButton(this, QStringLiteral("输入一条.."), "btAddOne", QStringLiteral("手工输入添加一条"));
    auto* lbPaperHelp = new QLabel(
        QStringLiteral("<a href=\"#\">2、若打印机为链条连续进纸,必须选用匹配的纸型.怎样设置批打纸张[有图]?</a>"), this);
    lbPaperHelp->setObjectName(QStringLiteral("lbPaperHelp"));

    cbFields = new QComboBox(this);
    cbFields->setObjectName(QStringLiteral("cbFields"));
    cbFields->setEditable(true);
    cbFields->setInsertPolicy(QComboBox::NoInsert);
    cbFields->addItems(draftbatch::filterColumns());
    cbFields->setCurrentIndex(-1);
    cbFields->setMinimumWidth(130);
    cbFields->setToolTip(QStringLiteral("不选时在所有列中查找；多列以|分隔"));
    cbMode = new QComboBox(this);
    cbMode->setObjectName(QStringLiteral("cbMode"));
    cbMode->addItems({batchlist::kContains, batchlist::kEquals});
    edtKey = new QLineEdit(this);
    edtKey->setObjectName(QStringLiteral("edtKey"));
    btQuery = commandButton(this, QStringLiteral("查询(&Q)"), "btQuery");
    btAll = commandButton(this, QStringLiteral("全部(&A)"), "btAll");
    cbSort = new QComboBox(this);
    cbSort->setObjectName(QStringLiteral("cbSort"));
    cbSort->setMaxVisibleItems(25);
    cbSort->setMinimumWidth(90);
    ckDesc = new QCheckBox(QStringLiteral("倒序"), this);
    ckDesc->setObjectName(QStringLiteral("ckDesc"));

    model_ = new draftbatch::DraftListModel(context_.db(), this);
    DBGrid1 = new QTableView(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setModel(model_);
    DBGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGrid1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    DBGrid1->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    DBGrid1->setContextMenuPolicy(Qt::CustomContextMenu);
    DBGrid1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    DBGrid1->verticalHeader()->setDefaultSectionSize(DBGrid1->fontMetrics().height() + 6);

    edtSelectCount = new QLineEdit(QStringLiteral("0"), this);
    edtSelectCount->setObjectName(QStringLiteral("edtSelectCount"));
    edtSelectCount->setReadOnly(true);
    edtSelectCount->setMaximumWidth(70);
    btFirst = commandButton(this, QStringLiteral("|<"), "btFirst", QStringLiteral("第一条"));
    btLast = commandButton(this, QStringLiteral(">|"), "btLast", QStringLiteral("最后一条"));
    btDeleteSelected = commandButton(this, QStringLiteral("删除选中"), "btDeleteSelected");
    btDeleteListed = commandButton(this, QStringLiteral("删除列出所有"), "btDeleteListed");
    btClearAll = commandButton(this, QStringLiteral("清空系统所有"), "btClearAll");
    btRewrite = commandButton(this, QStringLiteral("批填列"), "btRewrite", QStringLiteral("将一下列表收件人的某项填入同一值"));
    btExport = commandButton(this, QStringLiteral("导出到Excel.."), "btExport", QStringLiteral("导出为Excel备份"));
    btPrintSelected = commandButton(this, QStringLiteral("打印打选中记录"), "btPrintSelected", QStringLiteral("仅打印选中的记录"));
    btPrintAll = commandButton(this, QStringLiteral("批量打印所有记录"), "btPrintAll", QStringLiteral("通常是从打印机后面放入"));
    QFont bold = btPrintAll->font();
    bold.setBold(true);
    btPrintAll->setFont(bold);
    btPrintAll->setEnabled(false);
    lbStatus = new QLabel(this);
    lbStatus->setObjectName(QStringLiteral("lbStatus"));

    panelRewrite = new ColumnRewritePanel(
        context_, {QStringLiteral("清空"), QStringLiteral("完成关闭"), QStringLiteral("没有修改或修改失败~"), {}, {}, false},
        this);
    panelRewrite->listed = [this] { return listed_; };
    connect(panelRewrite, &ColumnRewritePanel::rewritten, this, &TfrmMutiPrintCDHP::reload);

    auto* sources = new QHBoxLayout;
    sources->addWidget(new QLabel(QStringLiteral("1、添加:"), this));
    for (QPushButton* source : {btFromSaved, btImport, btAddOne})
        sources->addWidget(source);
    sources->addStretch();
    sources->addWidget(lbPaperHelp);

    auto* filters = new QHBoxLayout;
    filters->addWidget(new QLabel(QStringLiteral("查找列:"), this));
    filters->addWidget(cbFields);
    filters->addWidget(cbMode);
    filters->addWidget(edtKey, 1);
    filters->addWidget(btQuery);
    filters->addWidget(btAll);
    filters->addWidget(new QLabel(QStringLiteral("排序:"), this));
    filters->addWidget(cbSort);
    filters->addWidget(ckDesc);

    auto* listArea = new QHBoxLayout;
    listArea->addWidget(DBGrid1, 1);
    listArea->addWidget(panelRewrite);

    auto* listFoot = new QHBoxLayout;
    listFoot->addWidget(new QLabel(QStringLiteral("共列出:"), this));
    listFoot->addWidget(edtSelectCount);
    listFoot->addWidget(btFirst);
    listFoot->addWidget(btLast);
    listFoot->addStretch();
    for (QPushButton* command : {btDeleteSelected, btDeleteListed, btClearAll, btRewrite, btExport})
        listFoot->addWidget(command);

    auto* printing = new QHBoxLayout;
    printing->addStretch();
    printing->addWidget(btPrintSelected);
    printing->addWidget(btPrintAll);

    auto* status = new QStatusBar(this);
    status->setObjectName(QStringLiteral("StatusBar1"));
    status->setSizeGripEnabled(false);
    status->addWidget(lbStatus, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(sources);
    layout->addLayout(filters);
    layout->addLayout(listArea, 1);
    layout->addLayout(listFoot);
    layout->addLayout(printing);
    layout->addWidget(status);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    mnRefresh = menuEntry(PopupMenu1, QStringLiteral("刷新"), "mnRefresh");
    PopupMenu1->addSeparator();
    mnPrintAll = menuEntry(PopupMenu1, QStringLiteral("批量打印列表所有"), "mnPrintAll");
    mnPrintSelected = menuEntry(PopupMenu1, QStringLiteral("批量打印选中"), "mnPrintSelected");
    mnNumbers = menuEntry(PopupMenu1, QStringLiteral("登记票据编号"), "mnNumbers");
    PopupMenu1->addSeparator();
    mnColumns = menuEntry(PopupMenu1, QStringLiteral("【显隐】数据列"), "mnColumns");
    mnSaveWidths = menuEntry(PopupMenu1, QStringLiteral("记住当前表格列宽"), "mnSaveWidths");

    connect(btFromSaved, &QPushButton::clicked, this, &TfrmMutiPrintCDHP::addFromHistory);
    connect(btImport, &QPushButton::clicked, this, &TfrmMutiPrintCDHP::importClick);
    connect(btAddOne, &QPushButton::clicked, this, &TfrmMutiPrintCDHP::addTyped);
    connect(lbPaperHelp, &QLabel::linkActivated, this, [this] { openPaperHelp(context_); });
    connect(btQuery, &QPushButton::clicked, this, &TfrmMutiPrintCDHP::query);
    connect(edtKey, &QLineEdit::returnPressed, this, &TfrmMutiPrintCDHP::query);
    connect(mnRefresh, &QAction::triggered, this, &TfrmMutiPrintCDHP::query);
    connect(btAll, &QPushButton::clicked, this, [this] {
        edtKey->clear();
        query();
    });
    connect(cbSort, &QComboBox::activated, this, &TfrmMutiPrintCDHP::query);
    connect(ckDesc, &QCheckBox::toggled, this, &TfrmMutiPrintCDHP::query);
    connect(btFirst, &QPushButton::clicked, this, [this] { GridGoToRow(DBGrid1, false); });
    connect(btLast, &QPushButton::clicked, this, [this] { GridGoToRow(DBGrid1, true); });
    connect(btDeleteSelected, &QPushButton::clicked, this, &TfrmMutiPrintCDHP::deleteSelectedClick);
    connect(btDeleteListed, &QPushButton::clicked, this, &TfrmMutiPrintCDHP::deleteListedClick);
    connect(btClearAll, &QPushButton::clicked, this, &TfrmMutiPrintCDHP::clearAll);
    connect(btRewrite, &QPushButton::clicked, this, &TfrmMutiPrintCDHP::openRewritePanel);
    connect(btExport, &QPushButton::clicked, this,
            [this] { ExportGrid2Excel(context_, DBGrid1, QStringLiteral("批量打印导出")); });
    connect(btPrintAll, &QPushButton::clicked, this, &TfrmMutiPrintCDHP::printListed);
    connect(btPrintSelected, &QPushButton::clicked, this, &TfrmMutiPrintCDHP::printSelectedClick);
    connect(mnPrintAll, &QAction::triggered, this, &TfrmMutiPrintCDHP::printListed);
    connect(mnPrintSelected, &QAction::triggered, this, &TfrmMutiPrintCDHP::printSelected);
    connect(mnNumbers, &QAction::triggered, this, &TfrmMutiPrintCDHP::recordNumbersClick);
    connect(mnColumns, &QAction::triggered, this, [this] { GridColsConfigration(context_, DBGrid1, objectName()); });
    connect(mnSaveWidths, &QAction::triggered, this, [this] { GridColsWidthSave(context_, DBGrid1, objectName()); });
    connect(DBGrid1, &QTableView::customContextMenuRequested, this, &TfrmMutiPrintCDHP::showGridMenu);
    connect(model_, &draftbatch::DraftListModel::refused, this,
            [this](const QString& error) { lbStatus->setText(QStringLiteral("保存失败：") + error); });
}

void TfrmMutiPrintCDHP::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        reload();
}

void TfrmMutiPrintCDHP::done(int result)
{
    GridColsWidthSave(context_, DBGrid1, objectName());
    FormFaceSave(this, context_.userIniFile());
    QDialog::done(result);
}

void TfrmMutiPrintCDHP::query()
{
    reload();
}

void TfrmMutiPrintCDHP::reload()
{
    Database& db = context_.db();
    try {
        columns_ = batchlist::tableColumns(db, draftbatch::kTable);
    } catch (const DatabaseError&) {
        columns_.clear();
    }
    draftbatch::Filter filter;
    filter.fields = cbFields->currentText();
    filter.mode = cbMode->currentText();
    filter.keyword = edtKey->text();
    filter.sortColumn = cbSort->currentText();
    filter.descending = ckDesc->isChecked();
    const batchlist::Query listed = draftbatch::build(filter, columns_);
    edtKey->setStyleSheet(listed.condition.isEmpty() ? QString() : QStringLiteral("background-color: yellow;"));
    try {
        listedRows_ = model_->load(listed);
        listed_ = listed;
    } catch (const DatabaseError& error) {
        // The list stays as it was.
        context_.messages().show(error.text());
        return;
    }
    GridColsWidthLoad(context_, DBGrid1, objectName());
    if (firstLoad_ && !columns_.isEmpty()) {
        firstLoad_ = false;
        QSignalBlocker block(cbSort);
        cbSort->addItem(QString());
        for (int column = 0; column < model_->columnCount(); ++column)
            cbSort->addItem(model_->headerData(column, Qt::Horizontal).toString());
    }
    if (listedRows_ > 0)
        DBGrid1->selectionModel()->setCurrentIndex(model_->index(0, 0), QItemSelectionModel::NoUpdate);
    edtSelectCount->setText(QString::number(listedRows_));
    btPrintAll->setEnabled(listedRows_ > 0);
}

TfmCheckCDHP* TfrmMutiPrintCDHP::printingForm()
{
    if (!form_ && openForm_)
        form_ = openForm_();
    if (!form_)
        context_.messages().show(QStringLiteral("承兑汇票窗口没有打开，不能批量打印，请先打开承兑汇票。"));
    return form_;
}

void TfrmMutiPrintCDHP::setPrinting(bool printing)
{
    for (QWidget* control : std::initializer_list<QWidget*>{DBGrid1, btPrintAll, btPrintSelected, btClearAll,
                                                            btDeleteListed, btDeleteSelected})
        control->setEnabled(!printing);
    if (!printing)
        btPrintAll->setEnabled(listedRows_ > 0);
}

BatchPrintResult TfrmMutiPrintCDHP::printIds(const QList<qint64>& ids)
{
    if (ids.isEmpty())
        return {};
    TfmCheckCDHP* form = printingForm();
    if (!form)
        return {};
    // Every draft is read and checked first: a fault found halfway would spoil the job.
    QList<QHash<QString, QString>> rows;
    QStringList problems;
    try {
        for (qint64 id : ids) {
            const QHash<QString, QString> row = draftbatch::draftRow(context_.db(), id);
            if (row.isEmpty())
                continue;
            if (const QString problem = draftbatch::draftProblem(row); !problem.isEmpty())
                problems << QStringLiteral("ID=%1：").arg(id) + problem;
            rows << row;
        }
    } catch (const DatabaseError& error) {
        context_.messages().show(error.text());
        return {};
    }
    if (!problems.isEmpty()) {
        QString text = QStringLiteral("以下批打条目的数据有误，请修改后再打印：\r\n")
            + problems.mid(0, kProblemsShown).join(QStringLiteral("\r\n"));
        if (problems.size() > kProblemsShown)
            text += QStringLiteral("\r\n……共%1条").arg(problems.size());
        context_.messages().show(text);
        return {};
    }
    setPrinting(true);
    const BatchPrintResult result =
        printWithProgress(context_, this, kWindowCaption, QStringLiteral("正在批量打印承兑汇票……"), int(rows.size()),
                          [&](const std::function<bool(int)>& keepGoing) {
                              return printDrafts(*form, context_, rows, keepGoing);
                          });
    switch (result.outcome) {
    case BatchPrintResult::Outcome::Printed:
        lbStatus->setText(QStringLiteral("已打印 %1 张承兑汇票。").arg(result.pages));
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
    setPrinting(false);
    return result;
}

BatchPrintResult TfrmMutiPrintCDHP::printListed()
{
    while (model_->canFetchMore())
        model_->fetchMore();
    QList<qint64> ids;
    for (int row = 0; row < model_->rowCount(); ++row)
        ids << model_->idAt(row);
    return printIds(ids);
}

void TfrmMutiPrintCDHP::printSelectedClick()
{
    if (listedRows_ == 0 || DBGrid1->selectionModel()->selectedRows().isEmpty()) {
        context_.messages().show(QStringLiteral("选中打印不可用，请确认点选了列表项目。"));
        return;
    }
    printSelected();
}

BatchPrintResult TfrmMutiPrintCDHP::printSelected()
{
    const QList<qint64> ids = selectedIds();
    if (ids.isEmpty()) {
        context_.messages().show(QStringLiteral("没有选中要打印的列表项目！"));
        return {};
    }
    DBGrid1->setUpdatesEnabled(false);
    const BatchPrintResult result = printIds(ids);
    DBGrid1->setUpdatesEnabled(true);
    return result;
}

// In the order of selection.
QList<qint64> TfrmMutiPrintCDHP::selectedIds()
{
    QString keys;
    QList<qint64> ids;
    if (GridSelectedFetch(context_, DBGrid1, draftbatch::kKey, QStringLiteral("Numeric"), keys) == 0)
        return ids;
    for (const QString& key : keys.split(QLatin1Char(','), Qt::SkipEmptyParts))
        ids << key.toLongLong();
    return ids;
}

qint64 TfrmMutiPrintCDHP::currentId() const
{
    const QModelIndex current = DBGrid1->currentIndex();
    return current.isValid() ? model_->idAt(current.row()) : 0;
}

void TfrmMutiPrintCDHP::recordNumbersClick()
{
    const QList<qint64> selected = selectedIds();
    const QModelIndex current = DBGrid1->currentIndex();
    if (selected.isEmpty() && !current.isValid())
        return;
    const QString number = current.isValid() ? model_->record(current.row()).value(QStringLiteral("票据编号")).toString()
                                             : QString();
    const QString answer = giveMeAnValue(this,
                                         selected.size() > 1
                                             ? QStringLiteral("输入第1个条目的的票据编号[起始号](可含首尾字母哦):")
                                             : QStringLiteral("补录,输入实际打印票据的票据编号:"),
                                         number, TfrmInputValue::kString);
    recordNumbers(answer);
}

void TfrmMutiPrintCDHP::recordNumbers(const QString& answer)
{
    if (answer.isEmpty())
        return;
    QList<qint64> ids = selectedIds();
    if (ids.isEmpty() && currentId() > 0)
        ids << currentId();
    const int row = DBGrid1->currentIndex().row();
    try {
        draftbatch::numberDrafts(context_.db(), ids, answer);
    } catch (const DatabaseError&) {
        // The numbers stay as they were.
    }
    reload();
    if (row >= 0 && row < model_->rowCount())
        DBGrid1->selectionModel()->setCurrentIndex(model_->index(row, 0), QItemSelectionModel::NoUpdate);
}

void TfrmMutiPrintCDHP::clearAll()
{
    UserMessages& messages = context_.messages();
    if (!messages.ask(QStringLiteral("提示：确认要删除系统所有条目吗（包括未列出的）？"))
        || !messages.ask(QStringLiteral("再次警告：确认要清空系统所有批打条目吗（无法找回）？")))
        return;
    try {
        draftbatch::clearDrafts(context_.db());
    } catch (const DatabaseError&) {
        messages.show(QStringLiteral("清空失败！"));
    }
    edtKey->clear();
    query();
}

void TfrmMutiPrintCDHP::addTyped()
{
    const QString templateName = form_ ? form_->templateName() : QString();
    const QDateTime now = context_.today.isValid() ? QDateTime(context_.today, QTime::currentTime())
                                                   : QDateTime::currentDateTime();
    qint64 id = 0;
    try {
        id = draftbatch::addTypedDraft(context_.db(), templateName, now);
    } catch (const DatabaseError&) {
        return;
    }
    reload();
    const int row = model_->rowOf(id);
    if (row < 0)
        return;
    const int column = std::max(0, model_->record().indexOf(QStringLiteral("收款人全称")));
    const QModelIndex index = model_->index(row, column);
    DBGrid1->setCurrentIndex(index);
    DBGrid1->scrollTo(index);
    DBGrid1->setFocus();
    DBGrid1->edit(index);
}

void TfrmMutiPrintCDHP::addFromHistory()
{
    const SearchKind* kind = searchKindOf(acceptanceDraftKind());
    if (!kind)
        return;
    TfmSearch search(context_, *kind, this);
    search.setBatchMode(true, QString());
    search.exec();
    query();
}

void TfrmMutiPrintCDHP::importClick()
{
    TfrmImportMatchCDHP import(context_, this);
    import.exec();
    query();
}

void TfrmMutiPrintCDHP::deleteSelectedClick()
{
    GridSelectedDelete(context_, DBGrid1, draftbatch::kTable, QStringLiteral("批打条目"), QStringLiteral("Numeric"),
                       draftbatch::kKey);
    query();
}

void TfrmMutiPrintCDHP::deleteListedClick()
{
    GridDeleteCurrentList(context_, DBGrid1, draftbatch::kTable, draftbatch::kKey);
    query();
}

void TfrmMutiPrintCDHP::openRewritePanel()
{
    panelRewrite->open(model_->columnCount() == 0 ? QStringList() : columns_);
}

void TfrmMutiPrintCDHP::applyRewrite(const QString& target, const QStringList& parts)
{
    panelRewrite->apply(target, parts);
}

void TfrmMutiPrintCDHP::showGridMenu(const QPoint& at)
{
    const bool selected = !DBGrid1->selectionModel()->selectedRows().isEmpty();
    mnPrintAll->setEnabled(listedRows_ > 0);
    mnPrintSelected->setEnabled(listedRows_ > 0 && selected);
    mnNumbers->setEnabled(listedRows_ > 0);
    PopupMenu1->popup(DBGrid1->viewport()->mapToGlobal(at));
}

} // namespace slipcraft
