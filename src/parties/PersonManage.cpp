#include "parties/PersonManage.h"

#include "parties/PersonInfo.h"
#include "records/GridTools.h"
#include "records/ImportMatch.h"
#include "shell/AppContext.h"
#include "shell/UserMessages.h"
#include "shell/WindowParts.h"
#include "shell/WindowSettings.h"

#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QShowEvent>
#include <QSplitter>
#include <QSqlQueryModel>
#include <QSqlRecord>
#include <QStatusBar>
#include <QTableView>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>

namespace slipcraft {

namespace {

const QString kTable = QStringLiteral("CKPersonalInfoTable");
const QString kIdColumn = QStringLiteral("ID");
const QString kMessageCaption = QStringLiteral("提示");
const QString kKeywordHint = QStringLiteral("默认查找单位、联系人、电话、手机、地址、助记码几项。");

} // namespace

Tfm_PersonManage::Tfm_PersonManage(AppContext& context, QWidget* parent)
    : QDialog(parent)
    , context_(context)
    , lbTitle(new QLabel(kCaption, this))
    , lbTab(new QLabel(this))
    , TreeView1(new QTreeWidget(this))
    , lbKeyHelp(linkLabel(this, QStringLiteral("?查找关键字："), "lbKeyHelp"))
    , KeyEdit(new QLineEdit(this))
    , edtZHType(new QComboBox(this))
    , btQuery(commandButton(this, QStringLiteral("查询(&C)"), "btQuery"))
    , btAll(commandButton(this, QStringLiteral("全部(&A)"), "btAll"))
    , btAdv(commandButton(this, QStringLiteral("高级"), "btAdv"))
    , panelAdv(new QFrame(this))
    , Column1(new QComboBox(panelAdv))
    , EqualOrContain1(new QComboBox(panelAdv))
    , key1(new QLineEdit(panelAdv))
    , btAdvQuery(commandButton(panelAdv, QStringLiteral("精确查询"), "btAdvQuery"))
    , DBGrid1(new QTableView(this))
    , model_(new QSqlQueryModel(this))
    , btFirst(commandButton(this, QStringLiteral("|<"), "btFirst"))
    , btLast(commandButton(this, QStringLiteral(">|"), "btLast"))
    , btRefresh(commandButton(this, QStringLiteral("刷新(&R)"), "btRefresh"))
    , btAdd(commandButton(this, QStringLiteral("添 加"), "btAdd"))
    , btEdit(commandButton(this, QStringLiteral("修 改"), "btEdit"))
    , btDeleteSelected(commandButton(this, QStringLiteral("删除选中"), "btDeleteSelected"))
    , btDeleteListed(commandButton(this, QStringLiteral("删除列出"), "btDeleteListed"))
    , btShowDeleteAll(commandButton(this, QStringLiteral("删除所有点击我->>"), "btShowDeleteAll"))
    , btDeleteAll(commandButton(this, QStringLiteral("删除所有"), "btDeleteAll"))
    , btDefaultDrawer(commandButton(this, QStringLiteral("设为默认出票人"), "btDefaultDrawer"))
    , btExport(commandButton(this, QStringLiteral("Excel导出"), "btExport"))
    , btImport(commandButton(this, QStringLiteral("Excel导入"), "btImport"))
    , StatusPanel0(new QLabel(this))
    , StatusPanel1(new QLabel(this))
    , PopupMenu1(new QMenu(this))
{
    setObjectName(QStringLiteral("fm_PersonManage"));
    setWindowTitle(kCaption);
    lbTitle->setObjectName(QStringLiteral("lbTitle"));
    lbTab->setObjectName(QStringLiteral("lbTab"));
    TreeView1->setObjectName(QStringLiteral("TreeView1"));
    KeyEdit->setObjectName(QStringLiteral("KeyEdit"));
    edtZHType->setObjectName(QStringLiteral("edtZHType"));
    panelAdv->setObjectName(QStringLiteral("panelAdv"));
    Column1->setObjectName(QStringLiteral("Column1"));
    EqualOrContain1->setObjectName(QStringLiteral("EqualOrContain1"));
    key1->setObjectName(QStringLiteral("key1"));
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    StatusPanel0->setObjectName(QStringLiteral("StatusPanel0"));
    StatusPanel1->setObjectName(QStringLiteral("StatusPanel1"));
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));

    QFont titleFont = lbTitle->font();
    titleFont.setBold(true);
    titleFont.setPointSize(titleFont.pointSize() + 4);
    lbTitle->setFont(titleFont);

    KeyEdit->setPlaceholderText(kKeywordHint);
    KeyEdit->setToolTip(kKeywordHint);
    edtZHType->addItems({QString(), TPerson::kOwnUnit, TPerson::kCounterpartUnit});
    edtZHType->hide();
    Column1->addItems(personlist::searchableColumns());
    Column1->setCurrentIndex(-1);
    EqualOrContain1->addItems({personlist::kContains, personlist::kEquals});
    panelAdv->setFrameShape(QFrame::StyledPanel);
    panelAdv->hide();
    btRefresh->setEnabled(false);
    btDeleteAll->hide();

    TreeView1->setHeaderHidden(true);
    TreeView1->setMinimumWidth(5);
    TreeView1->setMaximumWidth(400);

    DBGrid1->setModel(model_);
    DBGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGrid1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    DBGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBGrid1->setContextMenuPolicy(Qt::CustomContextMenu);
    DBGrid1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    DBGrid1->verticalHeader()->setDefaultSectionSize(DBGrid1->fontMetrics().height() + 6);
    QPalette colours = DBGrid1->palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        colours.setColor(group, QPalette::Highlight, QColor(12, 147, 220));
        colours.setColor(group, QPalette::HighlightedText, Qt::white);
        colours.setColor(group, QPalette::Base, Qt::white);
        colours.setColor(group, QPalette::Text, Qt::black);
    }
    DBGrid1->setPalette(colours);

    mnRefresh = menuEntry(PopupMenu1, QStringLiteral("【刷新】"), "mnRefresh");
    mnAdd = menuEntry(PopupMenu1, QStringLiteral("添加新单位"), "mnAdd");
    mnEdit = menuEntry(PopupMenu1, QStringLiteral("修改单位信息"), "mnEdit");
    mnDelete = menuEntry(PopupMenu1, QStringLiteral("删除该单位"), "mnDelete");
    mnDefaultDrawer = menuEntry(PopupMenu1, QStringLiteral("设为默认出票人"), "mnDefaultDrawer");
    PopupMenu1->addSeparator();
    mnSaveWidths = menuEntry(PopupMenu1, QStringLiteral("【记住列宽】当前数据"), "mnSaveWidths");
    mnColumns = menuEntry(PopupMenu1, QStringLiteral("【显示/隐藏】数据列"), "mnColumns");
    mnPick = menuEntry(PopupMenu1, QStringLiteral("选择该单位"), "mnPick");
    mnPick->setEnabled(false);

    auto* search = new QHBoxLayout;
    search->addWidget(lbKeyHelp);
    search->addWidget(KeyEdit, 1);
    for (QPushButton* command : {btQuery, btAll, btAdv, btRefresh})
        search->addWidget(command);

    auto* advanced = new QHBoxLayout(panelAdv);
    advanced->setContentsMargins(4, 2, 4, 2);
    advanced->addWidget(Column1, 1);
    advanced->addWidget(EqualOrContain1);
    advanced->addWidget(key1, 2);
    advanced->addWidget(btAdvQuery);

    auto* treeSide = new QWidget(this);
    auto* treeLayout = new QVBoxLayout(treeSide);
    treeLayout->setContentsMargins(0, 0, 0, 0);
    treeLayout->addWidget(TreeView1, 1);
    QLabel* groupHelp = linkLabel(treeSide, QStringLiteral("分组如何添加?"), "lbGroupHelp");
    treeLayout->addWidget(groupHelp);

    auto* listSide = new QWidget(this);
    auto* listLayout = new QVBoxLayout(listSide);
    listLayout->setContentsMargins(0, 0, 0, 0);
    auto* listHead = new QHBoxLayout;
    listHead->addWidget(lbTab, 1);
    listHead->addWidget(btFirst);
    listHead->addWidget(btLast);
    listLayout->addLayout(listHead);
    listLayout->addWidget(DBGrid1, 1);

    auto* splitter = new QSplitter(this);
    splitter->addWidget(treeSide);
    splitter->addWidget(listSide);
    splitter->setStretchFactor(1, 1);
    splitter->setChildrenCollapsible(false);

    auto* commands = new QHBoxLayout;
    for (QPushButton* command : {btAdd, btEdit, btDeleteSelected, btDeleteListed, btDefaultDrawer,
                                 btExport, btImport})
        commands->addWidget(command);
    commands->addStretch();
    commands->addWidget(btShowDeleteAll);
    commands->addWidget(btDeleteAll);

    auto* status = new QStatusBar(this);
    status->setObjectName(QStringLiteral("StatusBar1"));
    status->setSizeGripEnabled(false);
    status->addWidget(StatusPanel0, 1);
    status->addWidget(StatusPanel1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lbTitle);
    layout->addLayout(search);
    layout->addWidget(panelAdv);
    layout->addWidget(splitter, 1);
    layout->addLayout(commands);
    layout->addWidget(status);

    resize(960, 600);
    FormFaceLoad(this, context_.userIniFile());

    buildTree();
    StatusPanel1->setText(QStringLiteral("系统共有[") + QString::number(context_.CountTableAllRows(kTable))
                          + QStringLiteral("]条."));

    connect(TreeView1, &QTreeWidget::itemClicked, this, &Tfm_PersonManage::treeClick);
    connect(KeyEdit, &QLineEdit::returnPressed, this, [this] { query(Source::Keyword); });
    connect(btQuery, &QPushButton::clicked, this, [this] { query(Source::Code); });
    connect(btAll, &QPushButton::clicked, this, &Tfm_PersonManage::showAllClick);
    connect(btAdv, &QPushButton::clicked, this, [this] { panelAdv->setVisible(panelAdv->isHidden()); });
    connect(key1, &QLineEdit::returnPressed, this, [this] { query(Source::Advanced); });
    connect(btAdvQuery, &QPushButton::clicked, this, [this] { query(Source::Advanced); });
    connect(lbKeyHelp, &QLabel::linkActivated, this, [this] { say(KeyEdit->toolTip()); });
    connect(groupHelp, &QLabel::linkActivated, this, [this] {
        say(QStringLiteral("分组无需添加，当有一个单位的分组属性设置为\"分组A\"时，就会自动添加一个\"分组A\"的组。"));
    });
    connect(DBGrid1->horizontalHeader(), &QHeaderView::sectionClicked, this, &Tfm_PersonManage::headerClick);
    connect(DBGrid1, &QTableView::clicked, this, &Tfm_PersonManage::currentRowChanged);
    connect(DBGrid1, &QTableView::doubleClicked, this, &Tfm_PersonManage::gridDoubleClick);
    connect(DBGrid1->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &Tfm_PersonManage::updateSelectionStatus);
    connect(DBGrid1, &QTableView::customContextMenuRequested, this, &Tfm_PersonManage::showGridMenu);
    connect(btFirst, &QPushButton::clicked, this, [this] { GridGoToRow(DBGrid1, false); });
    connect(btLast, &QPushButton::clicked, this, [this] { GridGoToRow(DBGrid1, true); });
    connect(btRefresh, &QPushButton::clicked, this, &Tfm_PersonManage::refreshClick);
    connect(btAdd, &QPushButton::clicked, this, &Tfm_PersonManage::addClick);
    connect(btEdit, &QPushButton::clicked, this, &Tfm_PersonManage::editClick);
    connect(btDeleteSelected, &QPushButton::clicked, this, &Tfm_PersonManage::deleteSelectedClick);
    connect(btDeleteListed, &QPushButton::clicked, this, &Tfm_PersonManage::deleteListedClick);
    connect(btShowDeleteAll, &QPushButton::clicked, this, &Tfm_PersonManage::toggleDeleteAll);
    connect(btDeleteAll, &QPushButton::clicked, this, &Tfm_PersonManage::deleteAllClick);
    connect(btDefaultDrawer, &QPushButton::clicked, this, &Tfm_PersonManage::defaultDrawerClick);
    connect(btExport, &QPushButton::clicked, this,
            [this] { ExportGrid2Excel(context_, DBGrid1, QStringLiteral("单位信息导出")); });
    connect(btImport, &QPushButton::clicked, this, &Tfm_PersonManage::importClick);
    connect(mnRefresh, &QAction::triggered, this, &Tfm_PersonManage::refreshClick);
    connect(mnAdd, &QAction::triggered, this, &Tfm_PersonManage::addClick);
    connect(mnEdit, &QAction::triggered, this, &Tfm_PersonManage::editClick);
    connect(mnDelete, &QAction::triggered, this, &Tfm_PersonManage::deleteSelectedClick);
    connect(mnDefaultDrawer, &QAction::triggered, this, &Tfm_PersonManage::defaultDrawerClick);
    connect(mnSaveWidths, &QAction::triggered, this, [this] { GridColsWidthSave(context_, DBGrid1, objectName()); });
    connect(mnColumns, &QAction::triggered, this, [this] { GridColsConfigration(context_, DBGrid1, objectName()); });
    connect(PopupMenu1, &QMenu::aboutToShow, this, [this] {
        for (QAction* onRow : {mnEdit, mnDelete, mnDefaultDrawer})
            onRow->setEnabled(listedRows_ > 0);
    });
}

Tfm_PersonManage::~Tfm_PersonManage() = default;

void Tfm_PersonManage::setPickingMode(bool picking)
{
    picking_ = picking;
    picked_.reset();
    DBGrid1->setToolTip(picking ? QStringLiteral("鼠标双击选择指定的单位！") : QString());
}

void Tfm_PersonManage::presetKind(const QString& kind)
{
    if (kind != TPerson::kOwnUnit && kind != TPerson::kCounterpartUnit) {
        showAllClick();
        return;
    }
    lbTab->setText(QStringLiteral("【") + kind + QStringLiteral("】"));
    edtZHType->setCurrentText(kind);
    selectTreeByText(kind);
}

void Tfm_PersonManage::setTitleLine(const QString& text)
{
    lbTitle->setText(text);
}

void Tfm_PersonManage::done(int result)
{
    GridColsWidthSave(context_, DBGrid1, objectName());
    FormFaceSave(this, context_.userIniFile());
    QDialog::done(result);
}

void Tfm_PersonManage::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    KeyEdit->clear();
    query(Source::Code);
    lbTitle->setText(kCaption + QLatin1Char('(') + QString::number(listedRows_) + QLatin1Char(')'));
}

void Tfm_PersonManage::buildTree()
{
    for (const QString& text : {personlist::kAllGroups, TPerson::kOwnUnit, TPerson::kCounterpartUnit,
                                TPerson::kDefaultDrawerGroup, personlist::kByRegion, personlist::kByOtherGroup})
        TreeView1->addTopLevelItem(new QTreeWidgetItem(QStringList{text}));
    rebuildTree();
}

void Tfm_PersonManage::rebuildTree()
{
    const QString fixed[] = {personlist::kAllGroups, TPerson::kOwnUnit, TPerson::kCounterpartUnit,
                             TPerson::kDefaultDrawerGroup};
    for (int i = 0; i < 4; ++i)
        TreeView1->topLevelItem(i)->setText(0, fixed[i]);
    const QStringList children[] = {loadPersonTableProvinceList(context_.db()),
                                    loadPersonTableGroupList(context_.db())};
    for (int branch = 0; branch < 2; ++branch) {
        QTreeWidgetItem* node = TreeView1->topLevelItem(4 + branch);
        qDeleteAll(node->takeChildren());
        for (const QString& text : children[branch])
            node->addChild(new QTreeWidgetItem(QStringList{text}));
    }
    TreeView1->expandAll();
}

void Tfm_PersonManage::selectTreeByText(const QString& text)
{
    const QString wanted = text.isEmpty() ? personlist::kAllGroups : text;
    for (QTreeWidgetItemIterator it(TreeView1); *it; ++it) {
        if ((*it)->text(0) == wanted)
            TreeView1->setCurrentItem(*it);
    }
}

void Tfm_PersonManage::treeClick(QTreeWidgetItem* item)
{
    QStringList path;
    for (QTreeWidgetItem* node = item; node; node = node->parent())
        path.prepend(node->text(0));
    const personlist::NodeChoice choice = personlist::chooseNode(filter_, path);
    KeyEdit->setText(filter_.keyword);
    key1->clear();
    edtZHType->setCurrentText(filter_.unitType);
    if (!choice.query)
        return;
    lbTab->setText(choice.tabLine);
    query(Source::Code);
}

void Tfm_PersonManage::query(Source source)
{
    lastSource_ = source;
    if (source == Source::Code) {
        panelAdv->hide();
        key1->clear();
    }
    filter_.keyword = KeyEdit->text();
    filter_.unitType = edtZHType->currentText();
    filter_.advanced = source == Source::Advanced;
    filter_.advancedColumn = Column1->currentText();
    filter_.advancedKey = key1->text();
    filter_.advancedMode = EqualOrContain1->currentText();
    const personlist::Query list = personlist::build(filter_);
    edtZHType->setCurrentText(filter_.unitType);
    if (list.outcome == personlist::Query::Refused) {
        say(list.refusal);
        (list.focus == personlist::Query::ColumnBox ? static_cast<QWidget*>(Column1) : key1)->setFocus();
        return;
    }
    if (list.showAll) {
        showAllClick();
        return;
    }
    runList(list);
    if (!filter_.unitType.isEmpty())
        selectTreeByText(filter_.unitType);
}

void Tfm_PersonManage::showAllClick()
{
    key1->clear();
    edtZHType->setCurrentIndex(0);
    panelAdv->hide();
    // The tree shows "全部分组" afterwards, so no hidden group may narrow the next search.
    filter_.group = personlist::kAllGroups;
    runList(personlist::showAll(filter_));
    selectTreeByText(personlist::kAllGroups);
    lbTitle->setText(kCaption + QLatin1Char('(') + QString::number(listedRows_) + QLatin1Char(')'));
    StatusPanel1->setText(QStringLiteral("系统共有[") + QString::number(context_.CountTableAllRows(kTable))
                          + QStringLiteral("]条."));
    KeyEdit->clear();
}

void Tfm_PersonManage::runList(const personlist::Query& list)
{
    try {
        listedRows_ = personlist::load(context_.db(), *model_, list);
    } catch (const DatabaseError&) {
        model_->clear();
        listedRows_ = 0;
    }
    GridColsWidthLoad(context_, DBGrid1, objectName());
    idColumn_ = model_->record().indexOf(kIdColumn);
    if (listedRows_ > 0)
        DBGrid1->selectionModel()->setCurrentIndex(model_->index(0, 0), QItemSelectionModel::NoUpdate);
    updateSelectionStatus();
}

void Tfm_PersonManage::afterDataChange()
{
    btRefresh->setEnabled(true);
}

void Tfm_PersonManage::refreshClick()
{
    query(lastSource_);
    StatusPanel1->setText(QStringLiteral("系统共有[") + QString::number(context_.CountTableAllRows(kTable))
                          + QStringLiteral("]条."));
    rebuildTree();
    lbTitle->setText(QStringLiteral("单位、客户管理(") + QString::number(listedRows_) + QLatin1Char(')'));
}

void Tfm_PersonManage::headerClick(int section)
{
    filter_.sortColumn = model_->record().fieldName(section);
    filter_.sortDirection = personlist::nextSortDirection(filter_.sortDirection);
    query(lastSource_);
}

void Tfm_PersonManage::currentRowChanged()
{
    const int row = currentRow();
    if (row < 0)
        return;
    const QString name = model_->record(row).value(TPerson::columnName(TPerson::FullName)).toString();
    setWindowTitle((picking_ ? QStringLiteral("选择单位-当前选中:") : QStringLiteral("单位、客户管理-当前选中:")) + name);
}

void Tfm_PersonManage::updateSelectionStatus()
{
    StatusPanel0->setText(QStringLiteral("选中[") + QString::number(DBGrid1->selectionModel()->selectedRows().size())
                          + QLatin1Char('/') + QString::number(listedRows_) + QStringLiteral("]条"));
}

void Tfm_PersonManage::gridDoubleClick(const QModelIndex& index)
{
    if (!picking_) {
        editClick();
        return;
    }
    if (!picked_)
        picked_ = std::make_unique<TPerson>();
    picked_->setID(model_->record(index.row()).value(idColumn_).toInt());
    // A unit deleted meanwhile is no choice.
    if (picked_->loadByID(context_.db()) != 1)
        picked_.reset();
    accept();
}

void Tfm_PersonManage::addClick()
{
    Tfrm_PersonInfo& unit = editor();
    unit.reset();
    if (edtZHType->currentText() == TPerson::kOwnUnit)
        unit.setUnitType(TPerson::kOwnUnit);
    if (filter_.group != TPerson::kDefaultDrawerGroup && filter_.group != personlist::kAllGroups)
        unit.setGroup(filter_.group);
    unit.exec();
    rebuildTree();
}

void Tfm_PersonManage::editClick()
{
    if (listedRows_ == 0) {
        say(QStringLiteral("没有单位可修改，请先选中一个要修改的单位！"));
        return;
    }
    Tfrm_PersonInfo& unit = editor();
    unit.setIdentifier(currentId());
    unit.loadByIdentifier();
    unit.exec();
    rebuildTree();
}

void Tfm_PersonManage::importClick()
{
    TfrmImport import(context_, this);
    import.presetScene(importing::Scene::AddressBook);
    connect(&import, &TfrmImport::imported, this, [this] {
        afterDataChange();
        showAllClick();
        rebuildTree();
    });
    import.exec();
}

void Tfm_PersonManage::deleteSelectedClick()
{
    if (GridSelectedDelete(context_, DBGrid1, kTable, QStringLiteral("单位信息"), QStringLiteral("Numeric"), kIdColumn) > 0)
        afterDataChange();
    refreshClick();
}

void Tfm_PersonManage::deleteListedClick()
{
    if (GridDeleteCurrentList(context_, DBGrid1, kTable, kIdColumn) > 0)
        afterDataChange();
    refreshClick();
}

void Tfm_PersonManage::deleteAllClick()
{
    const QString unitType = edtZHType->currentText();
    if (!context_.messages().ask(deleteAllQuestion(unitType), kMessageCaption, UserMessages::Icon::Warning))
        return;
    try {
        deleteAllPersons(context_.db(), unitType);
    } catch (const DatabaseError&) {
        say(QStringLiteral("清空失败！"));
        return;
    }
    afterDataChange();
    refreshClick();
}

void Tfm_PersonManage::toggleDeleteAll()
{
    const bool reveal = btDeleteAll->isHidden();
    btDeleteAll->setVisible(reveal);
    if (!isMaximized())
        resize(width() + (reveal ? 120 : -120), height());
}

void Tfm_PersonManage::defaultDrawerClick()
{
    if (listedRows_ == 0) {
        say(QStringLiteral("没有单位资料可设置，请先选中一个要设置的单位资料！"));
        return;
    }
    try {
        setDefaultDrawer(context_.db(), currentId());
    } catch (const DatabaseError& error) {
        context_.messages().show(error.text(), kMessageCaption, UserMessages::Icon::Error);
        return;
    }
    say(QStringLiteral("默认出票人设置成功！"));
    afterDataChange();
    query(lastSource_);
    emit partyEvents(context_).defaultDrawerChanged();
}

void Tfm_PersonManage::showGridMenu(const QPoint& at)
{
    // The entries act on the row under the mouse.
    const QModelIndex index = DBGrid1->indexAt(at);
    if (index.isValid() && !DBGrid1->selectionModel()->isRowSelected(index.row(), QModelIndex()))
        DBGrid1->setCurrentIndex(index);
    PopupMenu1->popup(DBGrid1->viewport()->mapToGlobal(at));
}

Tfrm_PersonInfo& Tfm_PersonManage::editor()
{
    if (!editor_) {
        editor_ = new Tfrm_PersonInfo(context_, this);
        connect(editor_, &Tfrm_PersonInfo::saved, this, [this] {
            afterDataChange();
            query(lastSource_);
        });
    }
    return *editor_;
}

int Tfm_PersonManage::currentRow() const
{
    if (listedRows_ == 0)
        return -1;
    const QModelIndex current = DBGrid1->currentIndex();
    return current.isValid() ? current.row() : 0;
}

int Tfm_PersonManage::currentId() const
{
    const int row = currentRow();
    return row < 0 || idColumn_ < 0 ? 0 : model_->record(row).value(idColumn_).toInt();
}

void Tfm_PersonManage::say(const QString& text)
{
    context_.messages().show(text, kMessageCaption);
}

std::unique_ptr<TPerson> fetchOnePerson(AppContext& context, QWidget* parent, const QString& kind,
                                        const QString& caption)
{
    Tfm_PersonManage manager(context, parent);
    if (!caption.isEmpty()) {
        manager.setWindowTitle(caption);
        manager.setTitleLine(caption);
    }
    manager.setPickingMode(true);
    manager.presetKind(kind);
    manager.exec();
    return manager.takePickedPerson();
}

void savePersonToAddressBook(AppContext& context, QWidget* parent, const TPerson* person)
{
    if (!person)
        return;
    if (person->getID() > 0) {
        TPerson stored = *person;
        const EditorReply reply = savePersonRecord(context.db(), stored, true);
        // Saved without a window: only a failure has something to say.
        if (reply.outcome != EditorReply::Done)
            context.messages().show(reply.text, reply.caption, UserMessages::Icon::Warning);
        return;
    }
    Tfrm_PersonInfo editor(context, parent);
    editor.showPerson(addressBookEntry(context.db(), *person));
    editor.exec();
}

} // namespace slipcraft
