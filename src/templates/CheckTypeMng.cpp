#include "templates/CheckTypeMng.h"

#include "data/Database.h"
#include "entry/ImageShow.h"
#include "entry/InputValue.h"
#include "shell/AppContext.h"
#include "shell/UserMessages.h"
#include "shell/WindowSettings.h"
#include "templates/BillImportExport.h"
#include "templates/Catalogue.h"
#include "templates/PrintOffset.h"
#include "shell/WindowParts.h"

#include <QAction>
#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTabBar>
#include <QTableView>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <algorithm>

namespace slipcraft {

namespace {

const QString kAllBillTypes = QStringLiteral("所有模板种类");
const QString kNamePrompt = QStringLiteral("输入新模板名(15个汉字以内)");

constexpr TemplateTab kTabs[] = {TemplateTab::Usable, TemplateTab::Common, TemplateTab::Default, TemplateTab::Hidden};

} // namespace

TfrmCheckTypeMng::TfrmCheckTypeMng(AppContext& context, int templateId, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint)
    , context_(context)
    , logic_(context)
    , openedWith_(templateId)
{
    setObjectName(QStringLiteral("frmCheckTypeMng"));
    setWindowTitle(QStringLiteral("票据模板管理"));
    buildWindow();
    resize(820, 520);
    FormFaceLoad(this, context_.userIniFile());
    refresh();
}

void TfrmCheckTypeMng::execute(AppContext& context, int templateId, QWidget* parent, const std::function<void()>& onlineUpdate)
{
    auto* window = new TfrmCheckTypeMng(context, templateId, parent);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setOnlineUpdate(onlineUpdate);
    window->exec();
}

void TfrmCheckTypeMng::setOnlineUpdate(const std::function<void()>& onlineUpdate)
{
    onlineUpdate_ = onlineUpdate;
    lbMore->setVisible(bool(onlineUpdate_));
}

void TfrmCheckTypeMng::buildWindow()
{
    cbBillType = new QComboBox(this);
    cbBillType->setObjectName(QStringLiteral("cbBillType"));
    cbBillType->addItem(kAllBillTypes);
    try {
        cbBillType->addItems(context_.catalogue().loadCheckTypeFirstNameList());
    } catch (const DatabaseError&) {
        // The list then offers all templates only.
    }
    edtKey = new QLineEdit(this);
    edtKey->setObjectName(QStringLiteral("edtKey"));
    btSearch = commandButton(this, QStringLiteral("查询"), "btSearch");
    btAll = commandButton(this, QStringLiteral("全部模板列表"), "btAll");
    btRefresh = commandButton(this, QStringLiteral("刷新"), "btRefresh");

    tabFilter = new QTabBar(this);
    tabFilter->setObjectName(QStringLiteral("tabFilter"));
    for (const char* caption : {"所有可用模板", "常用的模板", "默认的模板", "隐藏的模板"})
        tabFilter->addTab(QString::fromUtf8(caption));

    DBGrid1 = new QTableView(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    model_ = new QStandardItemModel(0, 7, DBGrid1);
    model_->setHorizontalHeaderLabels({QStringLiteral("编号"), QStringLiteral("模板种类"), QStringLiteral("默认"),
                                       QStringLiteral("常用"), QStringLiteral("是否启用"), QStringLiteral("TypeFirstName"),
                                       QStringLiteral("底图")});
    DBGrid1->setModel(model_);
    DBGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGrid1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    DBGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBGrid1->verticalHeader()->hide();
    DBGrid1->horizontalHeader()->setStretchLastSection(true);
    DBGrid1->setColumnHidden(5, true);
    DBGrid1->viewport()->installEventFilter(this);

    btSetDefault = commandButton(this, QStringLiteral("设置为【默认票据模板】"), "btSetDefault");
    btSetCommon = commandButton(this, QStringLiteral("设置为【常用】票据模板"), "btSetCommon");
    btRemoveCommon = commandButton(this, QStringLiteral("从常用模板【移出】(&M)"), "btRemoveCommon");
    btHide = commandButton(this, QStringLiteral("【隐藏选中】票据模版(&H)"), "btHide");
    btShow = commandButton(this, QStringLiteral("【启用】选中票据模版(&H)"), "btShow");
    btRename = commandButton(this, QStringLiteral("模板重命名"), "btRename");
    btClone = commandButton(this, QStringLiteral("克隆为新模板"), "btClone");
    btDelete = commandButton(this, QStringLiteral("【删除选中】票据模板(&K)"), "btDelete");
    btImport = commandButton(this, QStringLiteral("外部【导入】模板"), "btImport");
    lbMore = new QLabel(QStringLiteral("<a href=\"#\">更多模板到Marrowind网站下载或定制>></a>"), this);
    lbMore->setObjectName(QStringLiteral("lbMore"));
    lbMore->hide();

    auto* search = new QHBoxLayout;
    search->addWidget(cbBillType);
    search->addWidget(new QLabel(QStringLiteral("查询关键字:"), this));
    search->addWidget(edtKey, 1);
    search->addWidget(btSearch);
    search->addWidget(btAll);
    search->addWidget(btRefresh);
    auto* commands = new QVBoxLayout;
    for (QPushButton* b : {btSetDefault, btSetCommon, btRemoveCommon, btHide, btShow, btRename, btClone, btDelete, btImport})
        commands->addWidget(b);
    commands->addStretch();
    auto* listArea = new QVBoxLayout;
    listArea->addWidget(tabFilter);
    listArea->addWidget(DBGrid1, 1);
    auto* body = new QHBoxLayout;
    body->addLayout(listArea, 1);
    body->addLayout(commands);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(search);
    layout->addLayout(body, 1);
    layout->addWidget(lbMore, 0, Qt::AlignRight);

    gridMenu_ = new QMenu(this);
    gridMenu_->setObjectName(QStringLiteral("pmGrid"));
    const std::pair<const char*, QPushButton*> menuItems[] = {
        {"设为默认模板", btSetDefault}, {"设为常用模板", btSetCommon},   {"移出常用模板", btRemoveCommon},
        {"隐藏模板-停用", btHide},       {"启用模板-不隐藏", btShow},     {"删除选中模板", btDelete},
        {"导入模板", btImport},
    };
    for (const auto& [caption, target] : menuItems)
        menuButtons_.append({gridMenu_->addAction(QString::fromUtf8(caption), target, &QPushButton::click), target});
    gridMenu_->addSeparator();
    mnDesign_ = gridMenu_->addAction(QStringLiteral("模板设计"), this, &TfrmCheckTypeMng::designClick);
    mnDesign_->setObjectName(QStringLiteral("mnDesign"));
    DBGrid1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(DBGrid1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { gridMenu_->popup(DBGrid1->viewport()->mapToGlobal(at)); });

    connect(cbBillType, &QComboBox::activated, this, &TfrmCheckTypeMng::billTypeChosen);
    connect(edtKey, &QLineEdit::returnPressed, this, &TfrmCheckTypeMng::refresh);
    connect(btSearch, &QPushButton::clicked, this, &TfrmCheckTypeMng::refresh);
    connect(btAll, &QPushButton::clicked, this, &TfrmCheckTypeMng::showAll);
    connect(btRefresh, &QPushButton::clicked, this, &TfrmCheckTypeMng::refresh);
    connect(tabFilter, &QTabBar::currentChanged, this, &TfrmCheckTypeMng::refresh);
    connect(DBGrid1, &QTableView::doubleClicked, this, &TfrmCheckTypeMng::showPicture);
    connect(btSetDefault, &QPushButton::clicked, this, &TfrmCheckTypeMng::setDefaultClick);
    connect(btSetCommon, &QPushButton::clicked, this, &TfrmCheckTypeMng::setCommonClick);
    connect(btRemoveCommon, &QPushButton::clicked, this, &TfrmCheckTypeMng::removeCommonClick);
    connect(btHide, &QPushButton::clicked, this, &TfrmCheckTypeMng::hideClick);
    connect(btShow, &QPushButton::clicked, this, &TfrmCheckTypeMng::showClick);
    connect(btRename, &QPushButton::clicked, this, &TfrmCheckTypeMng::renameClick);
    connect(btClone, &QPushButton::clicked, this, &TfrmCheckTypeMng::cloneClick);
    connect(btDelete, &QPushButton::clicked, this, &TfrmCheckTypeMng::deleteClick);
    connect(btImport, &QPushButton::clicked, this, &TfrmCheckTypeMng::importClick);
    connect(lbMore, &QLabel::linkActivated, this, [this] {
        if (onlineUpdate_)
            onlineUpdate_();
    });
}

void TfrmCheckTypeMng::refresh()
{
    // Opened on a template: its bill type is chosen until the user chooses by hand.
    if (openedWith_ > 0) {
        const int index = cbBillType->findText(context_.catalogue().loadCheckTypeFirstNameByID(openedWith_));
        if (index > 0) {
            cbBillType->setCurrentIndex(index);
            setButtonCaptions();
        }
    }
    const QString billType = cbBillType->currentIndex() > 0 ? cbBillType->currentText() : QString();
    const TemplateTab tab = kTabs[std::max(0, tabFilter->currentIndex())];
    try {
        rows_ = loadManagedTemplates(context_.db(), tab, billType, edtKey->text());
    } catch (const DatabaseError& error) {
        rows_.clear();
        context_.messages().show(QStringLiteral("模板列表失败:Error=") + error.text());
    }
    model_->removeRows(0, model_->rowCount());
    int cursor = 0;
    for (const ManagedTemplate& row : rows_) {
        if (row.id == openedWith_)
            cursor = model_->rowCount();
        QList<QStandardItem*> cells;
        for (const QString& value : {QString::number(row.id), row.typeName, row.isDefault, row.isCommon, row.visible,
                                     row.billType, row.imgFile})
            cells << new QStandardItem(value);
        model_->appendRow(cells);
    }
    setWindowTitle(cbBillType->currentText() + QStringLiteral("模板管理(查询%1个)").arg(rows_.size()));
    // At least the usual widths, wide enough for what the columns hold in this font.
    const int widths[] = {35, 200, 30, 30, 50};
    for (int column = 0; column < 5; ++column) {
        DBGrid1->resizeColumnToContents(column);
        DBGrid1->setColumnWidth(column, std::max(widths[column], DBGrid1->columnWidth(column)));
    }
    if (!rows_.isEmpty())
        DBGrid1->selectRow(cursor);
    enableButtons();
    edtKey->clear();
}

void TfrmCheckTypeMng::setTab(TemplateTab tab)
{
    const int index = int(std::find(std::begin(kTabs), std::end(kTabs), tab) - std::begin(kTabs));
    if (tabFilter->currentIndex() == index)
        refresh();
    else
        tabFilter->setCurrentIndex(index); // refreshes
}

const ManagedTemplate* TfrmCheckTypeMng::currentRow() const
{
    const int row = DBGrid1->currentIndex().row();
    return row >= 0 && row < rows_.size() ? &rows_.at(row) : nullptr;
}

QList<ManagedTemplate> TfrmCheckTypeMng::selectedRows() const
{
    QList<int> indexes;
    for (const QModelIndex& index : DBGrid1->selectionModel()->selectedRows())
        indexes << index.row();
    std::sort(indexes.begin(), indexes.end());
    QList<ManagedTemplate> rows;
    for (int row : indexes)
        if (row < rows_.size())
            rows << rows_.at(row);
    return rows;
}

void TfrmCheckTypeMng::billTypeChosen()
{
    openedWith_ = 0;
    setButtonCaptions();
    refresh();
}

void TfrmCheckTypeMng::showAll()
{
    openedWith_ = 0;
    cbBillType->setCurrentIndex(0);
    setButtonCaptions();
    setTab(TemplateTab::Usable);
}

void TfrmCheckTypeMng::setButtonCaptions()
{
    const bool all = cbBillType->currentIndex() <= 0;
    const QString target = all ? QStringLiteral("模板") : cbBillType->currentText();
    btSetDefault->setText(QStringLiteral("设置为【默认】") + target);
    btSetCommon->setText(QStringLiteral("设置为【常用】") + target);
}

void TfrmCheckTypeMng::enableButtons()
{
    const TabButtons allowed = tabButtons(kTabs[std::max(0, tabFilter->currentIndex())]);
    btSetDefault->setEnabled(allowed.setDefault);
    btSetCommon->setEnabled(allowed.makeCommon);
    btHide->setEnabled(allowed.hide);
    btShow->setEnabled(allowed.show);
    btRemoveCommon->setEnabled(allowed.removeCommon);
    btDelete->setEnabled(allowed.remove);
    btClone->setEnabled(!rows_.isEmpty());
    btRename->setEnabled(!rows_.isEmpty());
    for (const auto& [item, target] : menuButtons_)
        item->setEnabled(target->isEnabled());
    mnDesign_->setEnabled(allowed.hide || !allowed.setDefault);
}

void TfrmCheckTypeMng::setDefaultClick()
{
    if (logic_.setDefault(currentRow()))
        setTab(TemplateTab::Default);
}

void TfrmCheckTypeMng::setCommonClick()
{
    if (logic_.makeCommon(selectedRows()) >= 0)
        setTab(TemplateTab::Common);
}

void TfrmCheckTypeMng::removeCommonClick()
{
    if (logic_.removeFromCommon(selectedRows()) >= 0)
        setTab(TemplateTab::Common);
}

void TfrmCheckTypeMng::hideClick()
{
    logic_.setHidden(selectedRows(), true);
    refresh();
}

void TfrmCheckTypeMng::showClick()
{
    logic_.setHidden(selectedRows(), false);
    refresh();
}

void TfrmCheckTypeMng::renameClick()
{
    const ManagedTemplate* row = currentRow();
    if (!row)
        return;
    const ManagedTemplate chosen = *row;
    const QString answer = giveMeAnValue(this, kNamePrompt + QLatin1Char(':'), renameDefault(chosen), TfrmInputValue::kString);
    if (logic_.rename(chosen, answer))
        refresh();
}

void TfrmCheckTypeMng::cloneClick()
{
    const ManagedTemplate* row = currentRow();
    if (!row)
        return;
    const ManagedTemplate chosen = *row;
    const QString answer = giveMeAnValue(this, kNamePrompt + QStringLiteral("："),
                                         context_.catalogue().loadCheckTypeLastNameByID(chosen.id), TfrmInputValue::kString);
    if (logic_.clone(chosen, answer) > 0)
        refresh();
}

void TfrmCheckTypeMng::deleteClick()
{
    logic_.deleteTemplates(selectedRows());
    refresh();
}

void TfrmCheckTypeMng::importClick()
{
    TfrmBillImportExport::execute(context_, false, this);
    refresh();
}

void TfrmCheckTypeMng::designClick()
{
    if (const ManagedTemplate* row = currentRow())
        TfrmPrintOffset::execute(context_, row->id, this);
}

void TfrmCheckTypeMng::showPicture()
{
    const ManagedTemplate* row = currentRow();
    if (!row)
        return;
    TfrmImageShow picture(context_, this);
    picture.loadPictureByFullName(row->typeName);
    picture.exec();
}

bool TfrmCheckTypeMng::eventFilter(QObject* watched, QEvent* event)
{
    // The wheel walks the cursor through the list.
    if (watched == DBGrid1->viewport() && event->type() == QEvent::Wheel && !rows_.isEmpty()) {
        const int step = static_cast<QWheelEvent*>(event)->angleDelta().y() > 0 ? -1 : 1;
        const int row = std::clamp(DBGrid1->currentIndex().row() + step, 0, int(rows_.size()) - 1);
        DBGrid1->selectRow(row);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmCheckTypeMng::done(int result)
{
    FormFaceSave(this, context_.userIniFile());
    QDialog::done(result);
}

} // namespace slipcraft
