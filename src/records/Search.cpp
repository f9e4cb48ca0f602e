#include "records/Search.h"

#include "entry/BillKind.h"
#include "entry/InputValue.h"
#include "parties/DAOPerson.h"
#include "parties/PersonManage.h"
#include "records/GridTools.h"
#include "shell/AppContext.h"
#include "shell/UserMessages.h"
#include "shell/WindowParts.h"
#include "shell/WindowSettings.h"
#include "templates/Catalogue.h"
#include "wording/Functions.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QShowEvent>
#include <QSpinBox>
#include <QSplitter>
#include <QSqlError>
#include <QSqlQueryModel>
#include <QSqlRecord>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace slipcraft {

namespace {

const QString kSerialColumn = QStringLiteral("流水号");
const QString kStatusColumn = QStringLiteral("票据状态");
const QString kTemplateColumn = QStringLiteral("模板种类");
const QString kDueColumn = QStringLiteral("到期日期");
const QString kUsed = QStringLiteral("已用");
const QString kVoid = QStringLiteral("作废");
const QString kExact = QStringLiteral("精确查询");
const QString kFuzzy = QStringLiteral("模糊查询");
const QString kDueSoonNode = QStringLiteral("快到期的");
const QString kOverdueNode = QStringLiteral("已经到期的");
const QString kIllegalNumber = QStringLiteral("非法数字");

// A cell the due marking paints yellow, whether or not its row is selected.
constexpr int kDueRole = Qt::UserRole + 1;

const QColor kFilterUsed = Qt::yellow;
const QColor kFilterRefused = Qt::red;

// A filter box shows whether it took part: yellow when used, red when refused, white
// when empty; an invalid colour gives the box back its usual look.
void paintBox(QWidget* box, const QColor& colour)
{
    if (!box)
        return;
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base, colour.isValid() ? colour : QApplication::palette(box).color(QPalette::Base));
    box->setPalette(palette);
}

QString dateText(const QDate& date)
{
    return date.toString(QStringLiteral("yyyy-MM-dd"));
}

// The start of a dated node of the tree; nullopt for a node without one.
std::optional<QDate> nodeStart(const QString& node, const QDate& today)
{
    const std::pair<const char*, int> recent[] = {{"今天", 0},       {"最近三天", 2},   {"最近一周", 6},
                                                  {"最近一个月", 30}, {"最近三个月", 90}, {"最近一年", 365}};
    for (const auto& [caption, days] : recent)
        if (node == QString::fromUtf8(caption))
            return today.addDays(-days);
    if (node == QStringLiteral("本月内"))
        return QDate(today.year(), today.month(), 1);
    if (node == QStringLiteral("本年度内"))
        return QDate(today.year(), 1, 1);
    return std::nullopt;
}

} // namespace

// The list of a history window with its row colours.
class SearchModel : public QSqlQueryModel {
public:
    SearchModel(SearchKind::Colours colours, QObject* parent)
        : QSqlQueryModel(parent)
        , colours_(colours)
    {
    }

    void setDueWindow(const QDate& today, int days)
    {
        today_ = today;
        dueDays_ = days;
    }

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (colours_ == SearchKind::Colours::None
            || (role != Qt::BackgroundRole && role != Qt::ForegroundRole && role != kDueRole))
            return QSqlQueryModel::data(index, role);
        const int statusColumn = record().indexOf(kStatusColumn);
        const QString status = statusColumn < 0 ? QString() : QSqlQueryModel::data(this->index(index.row(), statusColumn)).toString();
        const bool dueCell = colours_ == SearchKind::Colours::Draft && index.column() == record().indexOf(kDueColumn)
                             && fallsDue(QSqlQueryModel::data(index).toString());
        if (role == kDueRole)
            return dueCell;
        if (role == Qt::ForegroundRole) {
            if (colours_ == SearchKind::Colours::Standard && status == kVoid)
                return QColor(Qt::white);
            return status == kVoid || status == kUsed ? QVariant(QColor(Qt::black)) : QVariant();
        }
        if (dueCell && status == kUsed)
            return QColor(Qt::yellow);
        if (status == kVoid)
            return colours_ == SearchKind::Colours::Standard ? QColor(Qt::red) : QColor(252, 199, 205);
        if (status == kUsed)
            return colours_ == SearchKind::Colours::Standard ? QColor(Qt::yellow) : QColor(251, 247, 174);
        return {};
    }

private:
    bool fallsDue(const QString& stored) const
    {
        const QDate due = QDate::fromString(stored.left(10), QStringLiteral("yyyy-MM-dd"));
        return due.isValid() && today_ <= due && due <= today_.addDays(dueDays_);
    }

    SearchKind::Colours colours_;
    QDate today_;
    int dueDays_ = 0;
};

namespace {

// Keeps the due marking on a selected row, where the selection colour would hide it.
class DueCellDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        if ((option->state & QStyle::State_Selected) && index.data(kDueRole).toBool()) {
            option->state &= ~QStyle::State_Selected;
            option->backgroundBrush = QColor(Qt::yellow);
            option->palette.setColor(QPalette::Text, Qt::black);
        }
    }
};

} // namespace

TfmSearch::TfmSearch(AppContext& context, const SearchKind& kind, QWidget* parent)
    : QDialog(parent)
    , context_(context)
    , kind_(kind)
    , model_(new SearchModel(kind.colours, this))
{
    setObjectName(kind.formName);
    setWindowTitle(kind.caption);
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    buildWindow();

    const QDate today = context_.today.isValid() ? context_.today : QDate::currentDate();
    dtFrom->setDate(today);
    dtTo->setDate(today);
    if (kind_.draftViews)
        model_->setDueWindow(today, context_.catalogue().getDMValueByName(QStringLiteral("承兑到期提醒天数"), 0).toInt());
    if (cbTemplate) {
        cbTemplate->addItem(QString());
        try {
            cbTemplate->addItems(context_.db().textColumn(QStringLiteral("select distinct 模板种类 from ") + kind_.table
                                                          + QStringLiteral(" where 模板种类<>'' order by 模板种类")));
        } catch (const DatabaseError&) {
            // The filter simply offers no templates.
        }
    }
    connectWindow();

    resize(1000, 620);
    FormFaceLoad(this, context_.userIniFile());
    query();
}

TfmSearch::~TfmSearch() = default;

void TfmSearch::buildWindow()
{
    TreeView1 = named(new QTreeWidget(this), "TreeView1");
    TreeView1->setHeaderHidden(true);
    TreeView1->setMinimumWidth(120);
    TreeView1->setMaximumWidth(200);
    auto* root = new QTreeWidgetItem(QStringList{kind_.dateColumn});
    TreeView1->addTopLevelItem(root);
    QStringList nodes{QStringLiteral("今天"),     QStringLiteral("最近三天"),   QStringLiteral("最近一周"),
                      QStringLiteral("最近一个月"), QStringLiteral("最近三个月"), QStringLiteral("最近一年"),
                      QStringLiteral("本月内"),     QStringLiteral("本年度内"),   QStringLiteral("其他日期")};
    if (kind_.draftViews)
        nodes << kDueSoonNode << kOverdueNode;
    for (const QString& node : nodes)
        root->addChild(new QTreeWidgetItem(QStringList{node}));
    TreeView1->expandAll();

    edtSQLQur = named(new QLineEdit(this), "edtSQLQur");
    edtSQLQur->hide();

    DBGrid1 = named(new QTableView(this), "DBGrid1");
    DBGrid1->setModel(model_);
    DBGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGrid1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    DBGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBGrid1->setContextMenuPolicy(Qt::CustomContextMenu);
    DBGrid1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    DBGrid1->verticalHeader()->setDefaultSectionSize(DBGrid1->fontMetrics().height() + 6);
    DBGrid1->horizontalHeader()->setSectionsClickable(true);
    if (kind_.colours != SearchKind::Colours::None) {
        const bool draft = kind_.colours == SearchKind::Colours::Draft;
        QPalette colours = DBGrid1->palette();
        for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
            colours.setColor(group, QPalette::Highlight, draft ? QColor(198, 216, 244) : QColor(Qt::blue));
            colours.setColor(group, QPalette::HighlightedText, draft ? Qt::black : Qt::white);
            colours.setColor(group, QPalette::Base, Qt::white);
            colours.setColor(group, QPalette::Text, Qt::black);
        }
        DBGrid1->setPalette(colours);
        if (draft)
            DBGrid1->setItemDelegate(new DueCellDelegate(DBGrid1));
    }

    PopupMenu1 = named(new QMenu(this), "PopupMenu1");
    mnOpen = menuEntry(PopupMenu1, QStringLiteral("打开"), "mnOpen");
    if (kind_.canVoid)
        mnVoid = menuEntry(PopupMenu1, QStringLiteral("【作废】选中"), "mnVoid");
    if (kind_.canChangeNumber)
        mnChangeNumber = menuEntry(PopupMenu1, QStringLiteral("【修改编号】"), "mnChangeNumber");
    if (kind_.draftViews)
        mnDraftNumbers = menuEntry(PopupMenu1, QStringLiteral("登记票据编号"), "mnDraftNumbers");
    if (kind_.waybillExtras) {
        mnWaybillNumber = menuEntry(PopupMenu1, QStringLiteral("补录入单号"), "mnWaybillNumber");
        mnWaybillRemark = menuEntry(PopupMenu1, QStringLiteral("补录备注"), "mnWaybillRemark");
        mnTrack = menuEntry(PopupMenu1, QStringLiteral("网上查单"), "mnTrack");
    }
    PopupMenu1->addSeparator();
    mnSaveWidths = menuEntry(PopupMenu1, QStringLiteral("【记住】当前表格列宽"), "mnSaveWidths");
    mnColumns = menuEntry(PopupMenu1, QStringLiteral("【隐藏/显示】表格列"), "mnColumns");
    mnRefresh = menuEntry(PopupMenu1, QStringLiteral("【刷新】"), "mnRefresh");

    lbCount = named(new QLabel(this), "lbCount");
    lbTotal = named(new QLabel(this), "lbTotal");
    lbStatus = named(new QLabel(this), "lbStatus");
    ckDblOpen = named(new QCheckBox(QStringLiteral("双击打开"), this), "ckDblOpen");

    auto* listSide = new QWidget(this);
    auto* listLayout = new QVBoxLayout(listSide);
    listLayout->setContentsMargins(0, 0, 0, 0);
    listLayout->addWidget(buildFilters());
    listLayout->addWidget(buildCommandRow());
    if (kind_.recordsNumbers)
        listLayout->addWidget(buildRecordPanel());
    listLayout->addWidget(DBGrid1, 1);
    auto* foot = new QHBoxLayout;
    foot->addWidget(lbCount);
    foot->addSpacing(24);
    foot->addWidget(lbTotal);
    foot->addSpacing(24);
    foot->addWidget(lbStatus, 1);
    foot->addWidget(ckDblOpen);
    listLayout->addLayout(foot);

    auto* splitter = new QSplitter(this);
    splitter->addWidget(TreeView1);
    splitter->addWidget(listSide);
    splitter->setStretchFactor(1, 1);
    splitter->setChildrenCollapsible(false);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(splitter, 1);
}

QWidget* TfmSearch::buildFilters()
{
    auto* filters = new QFrame(this);
    filters->setFrameShape(QFrame::StyledPanel);
    auto* grid = new QGridLayout(filters);
    grid->setContentsMargins(6, 4, 6, 4);

    edtNumber = named(new QComboBox(filters), "edtNumber");
    edtNumber->setEditable(true);
    edtNumber->setInsertPolicy(QComboBox::NoInsert);
    edtNumber->setMinimumWidth(150);
    edtNumber->installEventFilter(this);
    edtNumber->lineEdit()->installEventFilter(this);
    cbMatchMode = named(new QComboBox(filters), "cbMatchMode");
    cbMatchMode->addItems({kFuzzy, kExact});
    int row = 0;
    grid->addWidget(new QLabel(kind_.numberLabel, filters), row, 0);
    grid->addWidget(edtNumber, row, 1);
    grid->addWidget(cbMatchMode, row, 2);

    // A party box with its picker and its "清空".
    const auto partyRow = [&](QLineEdit*& box, const char* name, const QString& label, const QString& unitKind,
                              const QString& caption, const char* pickName, const char* clearName) {
        box = named(new QLineEdit(filters), name);
        box->setToolTip(QStringLiteral("输入助记码后回车"));
        auto* pick = commandButton(filters, QStringLiteral("…"), pickName);
        pick->setToolTip(caption);
        pick->setFixedWidth(28);
        auto* clear = commandButton(filters, QStringLiteral("清空"), clearName);
        ++row;
        grid->addWidget(new QLabel(label, filters), row, 0);
        grid->addWidget(box, row, 1);
        auto* buttons = new QHBoxLayout;
        buttons->addWidget(pick);
        buttons->addWidget(clear);
        grid->addLayout(buttons, row, 2);
        connect(pick, &QPushButton::clicked, this, [this, box, unitKind, caption] { pickParty(box, unitKind, caption); });
        connect(clear, &QPushButton::clicked, this, [box] {
            box->clear();
            paintBox(box, Qt::white);
        });
        connect(box, &QLineEdit::returnPressed, this, [this, box] { partyEnter(box); });
    };
    if (!kind_.drawerLabel.isEmpty())
        partyRow(edtDrawer, "edtDrawer", kind_.drawerLabel, kind_.drawerPickKind, kind_.drawerPickCaption,
                 "btPickDrawer", "btClearDrawer");
    partyRow(edtPayee, "edtPayee", kind_.payeeLabel, kind_.payeePickKind, kind_.payeePickCaption, "btPickPayee",
             "btClearPayee");

    ckAnyDate = named(new QCheckBox(QStringLiteral("不限日期"), filters), "ckAnyDate");
    ckAnyDate->setChecked(true);
    dtFrom = named(new QDateEdit(filters), "dtFrom");
    dtTo = named(new QDateEdit(filters), "dtTo");
    for (QDateEdit* picker : {dtFrom, dtTo}) {
        picker->setCalendarPopup(true);
        picker->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
        picker->setEnabled(false);
    }
    auto* dates = new QHBoxLayout;
    dates->addWidget(dtFrom);
    dates->addWidget(new QLabel(QStringLiteral("至"), filters));
    dates->addWidget(dtTo);
    dates->addWidget(ckAnyDate);
    grid->addWidget(new QLabel(kind_.dateColumn + QStringLiteral("："), filters), 0, 3);
    grid->addLayout(dates, 0, 4);

    if (kind_.amountRange) {
        edtAmountFrom = named(new QLineEdit(filters), "edtAmountFrom");
        edtAmountTo = named(new QLineEdit(filters), "edtAmountTo");
        auto* clear = commandButton(filters, QStringLiteral("清空"), "btClearAmount");
        auto* amounts = new QHBoxLayout;
        amounts->addWidget(edtAmountFrom);
        amounts->addWidget(new QLabel(QStringLiteral("至"), filters));
        amounts->addWidget(edtAmountTo);
        amounts->addWidget(clear);
        grid->addWidget(new QLabel(QStringLiteral("金额范围："), filters), 1, 3);
        grid->addLayout(amounts, 1, 4);
        connect(clear, &QPushButton::clicked, this, [this] {
            for (QLineEdit* box : {edtAmountFrom, edtAmountTo}) {
                box->clear();
                paintBox(box, Qt::white);
            }
        });
    }
    if (kind_.waybillExtras) {
        cbTemplate = named(new QComboBox(filters), "cbTemplate");
        auto* clear = commandButton(filters, QStringLiteral("清空"), "btClearTemplate");
        auto* templates = new QHBoxLayout;
        templates->addWidget(cbTemplate, 1);
        templates->addWidget(clear);
        grid->addWidget(new QLabel(QStringLiteral("模板种类："), filters), 1, 3);
        grid->addLayout(templates, 1, 4);
        connect(clear, &QPushButton::clicked, this, [this] { cbTemplate->setCurrentIndex(0); });
    }
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(4, 1);
    return filters;
}

QWidget* TfmSearch::buildCommandRow()
{
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    btQuery = commandButton(row, QStringLiteral("查 询(&Q)"), "btQuery");
    btAll = commandButton(row, QStringLiteral("全 部(&A)"), "btAll");
    btOpen = commandButton(row, QStringLiteral("打开(&O)"), "btOpen");
    for (QPushButton* command : {btQuery, btAll, btOpen})
        layout->addWidget(command);
    if (kind_.canVoid) {
        btVoid = commandButton(row, QStringLiteral("作废选中(&F)"), "btVoid");
        layout->addWidget(btVoid);
    }
    btDeleteSelected = commandButton(row, QStringLiteral("删除选中(&D)"), "btDeleteSelected");
    btDeleteListed = commandButton(row, QStringLiteral("删除列出(&C)"), "btDeleteListed");
    btClearAll = commandButton(row, QStringLiteral("清空所有(&Y)"), "btClearAll");
    btExport = commandButton(row, QStringLiteral("导出Excel(&P)"), "btExport");
    for (QPushButton* command : {btDeleteSelected, btDeleteListed, btClearAll, btExport})
        layout->addWidget(command);
    if (kind_.recordsNumbers) {
        btRecord = commandButton(row, QStringLiteral("登记联号票据"), "btRecord");
        btRecord->setToolTip(QStringLiteral("预先登记一段连续编号的空白票据"));
        layout->addWidget(btRecord);
    }
    if (kind_.draftViews) {
        btAddSelected = commandButton(row, QStringLiteral("添加选中到批打"), "btAddSelected");
        btAddAll = commandButton(row, QStringLiteral("添加所有到批打"), "btAddAll");
        layout->addWidget(btAddSelected);
        layout->addWidget(btAddAll);
        btAddSelected->hide();
        btAddAll->hide();
    }
    layout->addStretch();
    return row;
}

QFrame* TfmSearch::buildRecordPanel()
{
    panelRecord = named(new QFrame(this), "panelRecord");
    panelRecord->setFrameShape(QFrame::StyledPanel);
    auto* grid = new QGridLayout(panelRecord);
    grid->setContentsMargins(6, 4, 6, 4);
    cbRecordTemplate = named(new QComboBox(panelRecord), "cbRecordTemplate");
    edtRecordDrawer = named(new QLineEdit(panelRecord), "edtRecordDrawer");
    edtRecordBank = named(new QLineEdit(panelRecord), "edtRecordBank");
    edtRecordAccount = named(new QLineEdit(panelRecord), "edtRecordAccount");
    for (QLineEdit* box : {edtRecordDrawer, edtRecordBank, edtRecordAccount})
        box->setReadOnly(true);
    edtRecordDrawer->setPlaceholderText(QStringLiteral("点击“选取..”选择出票单位"));
    auto* pick = commandButton(panelRecord, QStringLiteral("选取.."), "btRecordPick");
    edtFirst = named(new QLineEdit(panelRecord), "edtFirst");
    edtLast = named(new QLineEdit(panelRecord), "edtLast");
    spLength = named(new QSpinBox(panelRecord), "spLength");
    spLength->setRange(4, 20);
    spLength->setValue(8);
    edtPrefix = named(new QLineEdit(panelRecord), "edtPrefix");
    edtPrefix->setMaxLength(3);
    edtPrefix->setMaximumWidth(60);
    auto* start = commandButton(panelRecord, QStringLiteral("开始登记"), "btRecordStart");
    auto* end = commandButton(panelRecord, QStringLiteral("结束登记"), "btRecordEnd");

    grid->addWidget(new QLabel(QStringLiteral("票据模板："), panelRecord), 0, 0);
    grid->addWidget(cbRecordTemplate, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("出票单位："), panelRecord), 0, 2);
    grid->addWidget(edtRecordDrawer, 0, 3);
    grid->addWidget(pick, 0, 4);
    grid->addWidget(new QLabel(QStringLiteral("开户行："), panelRecord), 1, 0);
    grid->addWidget(edtRecordBank, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("账号："), panelRecord), 1, 2);
    grid->addWidget(edtRecordAccount, 1, 3);
    auto* numbers = new QHBoxLayout;
    numbers->addWidget(new QLabel(QStringLiteral("起始编号："), panelRecord));
    numbers->addWidget(edtFirst);
    numbers->addWidget(new QLabel(QStringLiteral("结束编号："), panelRecord));
    numbers->addWidget(edtLast);
    numbers->addWidget(new QLabel(QStringLiteral("编号位数："), panelRecord));
    numbers->addWidget(spLength);
    numbers->addWidget(new QLabel(QStringLiteral("前缀："), panelRecord));
    numbers->addWidget(edtPrefix);
    numbers->addStretch();
    numbers->addWidget(start);
    numbers->addWidget(end);
    grid->addLayout(numbers, 2, 0, 1, 5);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    panelRecord->hide();

    connect(pick, &QPushButton::clicked, this, &TfmSearch::recordPickClick);
    connect(start, &QPushButton::clicked, this, &TfmSearch::recordStartClick);
    connect(end, &QPushButton::clicked, panelRecord, &QWidget::hide);
    connect(edtPrefix, &QLineEdit::editingFinished, this, [this] { edtPrefix->setText(trimText(edtPrefix->text())); });
    return panelRecord;
}

void TfmSearch::connectWindow()
{
    connect(TreeView1, &QTreeWidget::itemClicked, this, &TfmSearch::treeClick);
    connect(cbMatchMode, &QComboBox::currentIndexChanged, this, &TfmSearch::query);
    for (QDateEdit* picker : {dtFrom, dtTo})
        connect(picker, &QDateEdit::dateChanged, this, [this] { ckAnyDate->setChecked(false); });
    connect(ckAnyDate, &QCheckBox::toggled, this, [this](bool any) {
        for (QDateEdit* picker : {dtFrom, dtTo}) {
            picker->setEnabled(!any);
            if (any)
                paintBox(picker, QColor());
        }
        if (!any)
            dtFrom->setFocus();
    });
    if (cbTemplate)
        connect(cbTemplate, &QComboBox::currentIndexChanged, this, &TfmSearch::query);
    connect(btQuery, &QPushButton::clicked, this, &TfmSearch::query);
    connect(btAll, &QPushButton::clicked, this, &TfmSearch::showAllClick);
    connect(btOpen, &QPushButton::clicked, this, &TfmSearch::openClick);
    if (btVoid)
        connect(btVoid, &QPushButton::clicked, this, &TfmSearch::voidClick);
    connect(btDeleteSelected, &QPushButton::clicked, this, &TfmSearch::deleteSelectedClick);
    connect(btDeleteListed, &QPushButton::clicked, this, &TfmSearch::deleteListedClick);
    connect(btClearAll, &QPushButton::clicked, this, &TfmSearch::clearAllClick);
    connect(btExport, &QPushButton::clicked, this, [this] { ExportGrid2Excel(context_, DBGrid1, kind_.exportTitle); });
    if (btRecord)
        connect(btRecord, &QPushButton::clicked, this, [this] {
            if (!recordTemplatesFilled_ && kind_.bill) {
                recordTemplatesFilled_ = true;
                cbRecordTemplate->addItems(context_.catalogue().loadCheckTypeLastNameList(kind_.bill->billType));
            }
            panelRecord->show();
            edtFirst->setFocus();
        });
    if (btAddSelected) {
        connect(btAddSelected, &QPushButton::clicked, this, &TfmSearch::addSelectedToBatchClick);
        connect(btAddAll, &QPushButton::clicked, this, &TfmSearch::addAllToBatchClick);
    }
    connect(ckDblOpen, &QCheckBox::clicked, this, [this](bool on) {
        context_.userIniFile().writeString(QStringLiteral("Config"), kind_.openSetting,
                                           on ? QStringLiteral("1") : QStringLiteral("0"));
    });

    connect(DBGrid1->horizontalHeader(), &QHeaderView::sectionClicked, this, &TfmSearch::headerClick);
    connect(DBGrid1, &QTableView::doubleClicked, this, &TfmSearch::gridDoubleClick);
    connect(DBGrid1, &QTableView::customContextMenuRequested, this, &TfmSearch::showGridMenu);
    connect(mnOpen, &QAction::triggered, this, &TfmSearch::openClick);
    if (mnVoid)
        connect(mnVoid, &QAction::triggered, this, &TfmSearch::voidClick);
    if (mnChangeNumber)
        connect(mnChangeNumber, &QAction::triggered, this, &TfmSearch::changeNumberClick);
    if (mnDraftNumbers)
        connect(mnDraftNumbers, &QAction::triggered, this, &TfmSearch::draftNumbersClick);
    if (mnWaybillNumber) {
        connect(mnWaybillNumber, &QAction::triggered, this,
                [this] { waybillEntryClick(QStringLiteral("快递单号"), QStringLiteral("补录,输入已发出的快递单号")); });
        connect(mnWaybillRemark, &QAction::triggered, this,
                [this] { waybillEntryClick(QStringLiteral("备注"), QStringLiteral("补录,输入备注内容:")); });
        connect(mnTrack, &QAction::triggered, this, &TfmSearch::trackClick);
    }
    connect(mnSaveWidths, &QAction::triggered, this, [this] { GridColsWidthSave(context_, DBGrid1, objectName()); });
    connect(mnColumns, &QAction::triggered, this, [this] { GridColsConfigration(context_, DBGrid1, objectName()); });
    connect(mnRefresh, &QAction::triggered, this, &TfmSearch::refreshClick);
    connect(PopupMenu1, &QMenu::aboutToShow, this, [this] {
        for (QAction* onRow : {mnWaybillNumber, mnWaybillRemark, mnTrack})
            if (onRow)
                onRow->setEnabled(listedRows_ > 0);
        mnOpen->setVisible(!batchMode_);
    });
}

void TfmSearch::setBatchMode(bool on, const QString& group)
{
    if (!kind_.draftViews)
        return;
    batchMode_ = on;
    batchGroup_ = group;
}

void TfmSearch::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    const QString open = context_.userIniFile().readString(QStringLiteral("Config"), kind_.openSetting);
    ckDblOpen->setChecked(!batchMode_ && (open.isEmpty() || open == QLatin1String("1")));
    ckDblOpen->setVisible(!batchMode_);
    btOpen->setVisible(!batchMode_);
    if (btAddSelected) {
        btAddSelected->setVisible(batchMode_);
        btAddAll->setVisible(batchMode_);
    }
}

void TfmSearch::done(int result)
{
    FormFaceSave(this, context_.userIniFile());
    QDialog::done(result);
}

bool TfmSearch::eventFilter(QObject* watched, QEvent* event)
{
    if ((watched == edtNumber || watched == edtNumber->lineEdit()) && event->type() == QEvent::FocusIn)
        fillNumberList();
    return QDialog::eventFilter(watched, event);
}

void TfmSearch::fillNumberList()
{
    if (numberListFilled_)
        return;
    numberListFilled_ = true;
    QStringList numbers;
    try {
        numbers = context_.db().textColumn(QStringLiteral("select distinct %1 from %2 where %1<>'' order by %1")
                                               .arg(kind_.numberColumn, kind_.table));
    } catch (const DatabaseError&) {
        return;
    }
    const QString typed = edtNumber->currentText();
    const QSignalBlocker block(edtNumber);
    edtNumber->addItems(numbers);
    edtNumber->setCurrentIndex(-1);
    edtNumber->setEditText(typed);
}

SearchFilter TfmSearch::currentFilter() const
{
    SearchFilter filter;
    filter.number = edtNumber->currentText();
    filter.exact = cbMatchMode->currentText() == kExact;
    if (edtDrawer)
        filter.drawer = edtDrawer->text();
    filter.payee = edtPayee->text();
    filter.anyDate = ckAnyDate->isChecked();
    filter.from = dtFrom->date();
    filter.to = dtTo->date();
    if (edtAmountFrom) {
        filter.amountFrom = edtAmountFrom->text();
        filter.amountTo = edtAmountTo->text();
    }
    if (cbTemplate)
        filter.templateName = cbTemplate->currentText();
    return filter;
}

void TfmSearch::query()
{
    const SearchStatement statement =
        buildSearchStatement(kind_, currentFilter(), sortColumn_, kind_.storedOrderFirst ? sortDescending_ : true);
    paintFilterBoxes(statement);
    // The bound values belong to the statement: the same text with other values is another query.
    QString text = statement.listSql;
    for (auto it = statement.params.cbegin(); it != statement.params.cend(); ++it)
        text += QStringLiteral(" :%1=%2").arg(it.key(), it.value().toString());
    if (text == edtSQLQur->text())
        return;
    edtSQLQur->setText(text);
    if (statement.datesReversed) {
        say(QStringLiteral("日期选择有误:\"") + dateText(dtFrom->date()) + QLatin1Char('>') + dateText(dtTo->date())
                + QLatin1Char('"'),
            QStringLiteral("日期输入"));
        return;
    }
    runList(statement);
}

void TfmSearch::forgetLastStatement()
{
    edtSQLQur->clear();
}

void TfmSearch::paintFilterBoxes(const SearchStatement& statement)
{
    const QColor white = Qt::white;
    paintBox(edtNumber, statement.numberUsed ? kFilterUsed : white);
    paintBox(edtDrawer, statement.drawerUsed ? kFilterUsed : white);
    paintBox(edtPayee, statement.payeeUsed ? kFilterUsed : white);
    for (QDateEdit* picker : {dtFrom, dtTo})
        paintBox(picker, statement.datesUsed ? kFilterUsed : QColor());
    paintBox(cbTemplate, statement.templateUsed ? kFilterUsed : white);
    const auto amountBox = [&](QLineEdit* box, bool used, bool invalid) {
        if (!box)
            return;
        if (invalid) {
            box->setText(kIllegalNumber);
            paintBox(box, kFilterRefused);
        } else {
            paintBox(box, used ? kFilterUsed : white);
        }
    };
    amountBox(edtAmountFrom, statement.amountFromUsed, statement.amountFromInvalid);
    amountBox(edtAmountTo, statement.amountToUsed, statement.amountToInvalid);
}

bool TfmSearch::runList(const SearchStatement& statement)
{
    Database& db = context_.db();
    SearchTotal total;
    try {
        // The total first: when the filter cannot run, the grid keeps what it had.
        total = searchTotal(db, statement);
        model_->setQuery(db.query(statement.listSql, statement.params, SqlQuery::Rows::Scrollable).release());
        if (model_->lastError().isValid())
            throw DatabaseError(model_->lastError().databaseText());
    } catch (const DatabaseError& error) {
        if (kind_.storedOrderFirst) {
            say(QStringLiteral("数据库错误,Error=") + error.text(), QStringLiteral("失败"));
        } else {
            say(QStringLiteral("数据库操作错误！"), QStringLiteral("查询"));
            say(statement.listSql, QStringLiteral("错误"));
        }
        return false;
    }
    listedRows_ = total.rows;
    btDeleteSelected->setEnabled(listedRows_ > 0);
    btExport->setEnabled(listedRows_ > 0);
    lbCount->setText(QStringLiteral("共 %1 条记录").arg(listedRows_));
    lbTotal->setText(kind_.totalCaption + groupedYuan(total.fen));
    GridColsWidthLoad(context_, DBGrid1, objectName());
    if (listedRows_ > 0)
        DBGrid1->selectionModel()->setCurrentIndex(model_->index(0, 0), QItemSelectionModel::NoUpdate);
    return true;
}

void TfmSearch::resetFilters()
{
    const QSignalBlocker blockTemplate(cbTemplate);
    edtNumber->setEditText(QString());
    ckAnyDate->setChecked(true);
    for (QLineEdit* box : {edtDrawer, edtPayee, edtAmountFrom, edtAmountTo})
        if (box)
            box->clear();
    if (cbTemplate)
        cbTemplate->setCurrentIndex(0);
    forgetLastStatement();
}

void TfmSearch::showAllClick()
{
    resetFilters();
    query();
}

void TfmSearch::treeClick(QTreeWidgetItem* item)
{
    const QString node = item->text(0);
    if (kind_.draftViews && node == kDueSoonNode) {
        showDueSoon();
        return;
    }
    if (kind_.draftViews && node == kOverdueNode) {
        showOverdue();
        return;
    }
    resetFilters();
    const QDate today = context_.today.isValid() ? context_.today : QDate::currentDate();
    const std::optional<QDate> start = nodeStart(node, today);
    dtFrom->setDate(start.value_or(today.addDays(-548)));
    dtTo->setDate(today);
    ckAnyDate->setChecked(false);
    if (!start) {
        say(QStringLiteral("请选择右侧限定的起始年月日~再点击【查询】按钮"));
        dtFrom->setFocus();
        return;
    }
    query();
}

void TfmSearch::headerClick(int section)
{
    const QString column = model_->record().fieldName(section);
    if (column.isEmpty())
        return;
    // Only a second click on the same title turns the cheque list round; re-queries keep it.
    if (kind_.storedOrderFirst)
        sortDescending_ = column == sortColumn_ ? !sortDescending_ : true;
    sortColumn_ = column;
    query();
}

void TfmSearch::showDueSoon()
{
    std::optional<DueStatement> due;
    try {
        due = dueReminderStatement(context_.catalogue(), context_.today.isValid() ? context_.today : QDate::currentDate());
    } catch (const DatabaseError&) {
    }
    if (!due) {
        say(QStringLiteral("系统未开启重复提醒功能~"));
        return;
    }
    // The grid no longer shows the filters' list: the next query must run.
    forgetLastStatement();
    runList(listStatement(kind_, due->sql, due->params));
}

void TfmSearch::showOverdue()
{
    const DueStatement overdue = overdueStatement(context_.today.isValid() ? context_.today : QDate::currentDate());
    forgetLastStatement();
    runList(listStatement(kind_, overdue.sql, overdue.params));
}

void TfmSearch::partyEnter(QLineEdit* box)
{
    if (box == edtDrawer && kind_.drawerTakesAccount) {
        btQuery->setFocus();
        return;
    }
    const QString code = trimText(box->text());
    if (code.isEmpty())
        return;
    if (std::unique_ptr<TPerson> unit = TPerson::findByInputCode(context_.db(), code))
        box->setText(unit->getFullName());
}

void TfmSearch::pickParty(QLineEdit* box, const QString& unitKind, const QString& caption)
{
    const std::unique_ptr<TPerson> unit = fetchOnePerson(context_, this, unitKind, caption);
    if (!unit)
        return;
    QString value = box == edtDrawer && kind_.drawerTakesAccount ? unit->getBankAcct() : unit->getFullName();
    if (kind_.waybillExtras && value.isEmpty())
        value = unit->getContactor();
    box->setText(value);
}

int TfmSearch::currentSerial() const
{
    return currentValue(kSerialColumn).toInt();
}

QString TfmSearch::currentValue(const QString& column) const
{
    if (listedRows_ == 0 || model_->rowCount() == 0)
        return {};
    const QModelIndex current = DBGrid1->currentIndex();
    return model_->record(current.isValid() ? current.row() : 0).value(column).toString();
}

QList<int> TfmSearch::selectedSerials()
{
    QString keys;
    if (GridSelectedFetch(context_, DBGrid1, kSerialColumn, QStringLiteral("Numeric"), keys) == 0)
        return {};
    QList<int> serials;
    for (const QString& key : keys.split(QLatin1Char(','), Qt::SkipEmptyParts))
        serials << key.toInt();
    return serials;
}

void TfmSearch::openClick()
{
    const int serial = currentSerial();
    if (serial <= 0 || !commands_.openBill)
        return;
    if (commands_.openBill(currentValue(kTemplateColumn), serial))
        accept();
}

void TfmSearch::gridDoubleClick()
{
    if (ckDblOpen->isChecked() && !batchMode_)
        openClick();
}

void TfmSearch::voidClick()
{
    const QList<int> serials = selectedSerials();
    if (serials.isEmpty()) {
        say(QStringLiteral("没有点中要作废的票据!（按住ctrl+点击，可多选哦）"));
        return;
    }
    int voided = 0;
    try {
        voided = voidBills(context_.db(), kind_, serials);
    } catch (const DatabaseError& error) {
        say(QStringLiteral("错误,Error=") + error.text(), QStringLiteral("失败"));
        return;
    }
    refreshClick();
    say(QStringLiteral("成功作废%1条记录！").arg(voided));
}

void TfmSearch::deleteSelectedClick()
{
    GridSelectedDelete(context_, DBGrid1, kind_.table, kind_.noun, QStringLiteral("Numeric"), kSerialColumn);
    refreshClick();
}

void TfmSearch::deleteListedClick()
{
    GridDeleteCurrentList(context_, DBGrid1, kind_.table, kSerialColumn);
    refreshClick();
}

void TfmSearch::clearAllClick()
{
    if (!context_.messages().ask(QStringLiteral("清空操作将删除所有保存的历史开票数据，确定要清空吗？"),
                                 QStringLiteral("警告"), UserMessages::Icon::Warning))
        return;
    // Once per opening, whatever the outcome.
    btClearAll->setEnabled(false);
    int deleted = 0;
    try {
        deleted = clearHistory(context_.db(), kind_);
    } catch (const DatabaseError&) {
        say(QStringLiteral("清空失败！"));
        return;
    }
    say(QStringLiteral("清空成功！共删除%1条记录").arg(deleted));
    forgetLastStatement();
    btQuery->setFocus();
    query();
}

void TfmSearch::changeNumberClick()
{
    const int serial = currentSerial();
    if (serial <= 0)
        return;
    const QString answer = giveMeAnValue(this, QStringLiteral("输入新的票据编号"), currentValue(kind_.numberColumn),
                                         TfrmInputValue::kString);
    if (answer.isEmpty())
        return;
    try {
        if (changeBillNumber(context_.db(), kind_, serial, answer))
            say(QStringLiteral("成功修改票据编号."));
    } catch (const DatabaseError&) {
        // The list shows the number that stayed.
    }
    refreshClick();
}

void TfmSearch::draftNumbersClick()
{
    QList<int> serials = selectedSerials();
    if (serials.isEmpty() && currentSerial() > 0)
        serials << currentSerial();
    if (serials.isEmpty())
        return;
    const QString current = currentValue(kind_.numberColumn);
    const QString answer =
        giveMeAnValue(this,
                      serials.size() == 1 ? QStringLiteral("补录,输入实际打印票据的票据编号:")
                                          : QStringLiteral("输入第1个条目的的票据编号[起始号](可含首尾字母哦):"),
                      current, TfrmInputValue::kString);
    if (answer.isEmpty())
        return;
    const QStringList numbers = serials.size() == 1 ? QStringList{answer} : draftNumbers(answer, int(serials.size()));
    try {
        context_.db().inTransaction([&] {
            for (qsizetype i = 0; i < serials.size(); ++i)
                changeBillNumber(context_.db(), kind_, serials[i], numbers[i]);
        });
    } catch (const DatabaseError&) {
        // Nothing was numbered; the list shows it.
    }
    refreshClick();
}

void TfmSearch::waybillEntryClick(const QString& column, const QString& prompt)
{
    const int serial = currentSerial();
    if (serial <= 0)
        return;
    const QString answer = giveMeAnValue(this, prompt, currentValue(column), TfrmInputValue::kString);
    if (answer.isEmpty())
        return;
    try {
        changeWaybillColumn(context_.db(), serial, column, answer);
    } catch (const DatabaseError&) {
        // The list shows the value that stayed.
    }
    refreshClick();
}

void TfmSearch::trackClick()
{
    if (currentSerial() <= 0 || !commands_.openSitePage)
        return;
    QUrlQuery keys;
    keys.addQueryItem(QStringLiteral("typekey"), currentValue(kTemplateColumn));
    keys.addQueryItem(QStringLiteral("kddno"), currentValue(QStringLiteral("快递单号")));
    commands_.openSitePage(QStringLiteral("/help/kddsearch"), keys);
}

void TfmSearch::recordPickClick()
{
    const std::unique_ptr<TPerson> unit = fetchOnePerson(context_, this, TPerson::kOwnUnit, kind_.recordPickCaption);
    if (!unit)
        return;
    edtRecordDrawer->setText(unit->getFullName());
    edtRecordBank->setText(unit->getBank());
    edtRecordAccount->setText(unit->getBankAcct());
}

void TfmSearch::recordStartClick()
{
    NumberRange range;
    range.templateName = cbRecordTemplate->currentText();
    range.drawer = edtRecordDrawer->text();
    range.bank = edtRecordBank->text();
    range.account = edtRecordAccount->text();
    range.first = edtFirst->text();
    range.last = edtLast->text();
    range.length = spLength->value();
    range.prefix = trimText(edtPrefix->text());
    const RangeNumbers numbers = rangeNumbers(range);
    if (!numbers.refusal.isEmpty()) {
        say(numbers.refusal);
        return;
    }
    lbStatus->setText(QStringLiteral("登记编号为：") + numbers.numbers.first() + QStringLiteral("…")
                      + numbers.numbers.last() + QStringLiteral("的票据!"));
    QStringList failures;
    try {
        failures = recordNumbers(context_.db(), kind_, range, numbers.numbers);
    } catch (const DatabaseError& error) {
        lbStatus->clear();
        say(QStringLiteral("登记错误,Error=") + error.text(), QStringLiteral("失败"));
        return;
    }
    for (const QString& failure : failures)
        say(failure);
    lbStatus->clear();
    refreshClick();
    panelRecord->hide();
    say(QStringLiteral("登记结束！"));
}

void TfmSearch::addSelectedToBatchClick()
{
    const QList<int> serials = selectedSerials();
    if (serials.isEmpty()) {
        say(QStringLiteral("未选中任何有效的列表记录！"));
        return;
    }
    int added = 0;
    for (int serial : serials)
        added += addDraftToBatch(context_.db(), serial, batchGroup_) ? 1 : 0;
    if (added > 0)
        say(QStringLiteral("本次共成功添加 %1 个批打记录!").arg(added));
    accept();
}

void TfmSearch::addAllToBatchClick()
{
    DBGrid1->selectAll();
    int added = 0;
    for (int serial : selectedSerials())
        added += addDraftToBatch(context_.db(), serial, batchGroup_) ? 1 : 0;
    say(QStringLiteral("本次共添加%1个批打记录！").arg(added));
}

void TfmSearch::refreshClick()
{
    const int row = DBGrid1->currentIndex().row();
    forgetLastStatement();
    query();
    if (row >= 0 && row < model_->rowCount())
        DBGrid1->selectionModel()->setCurrentIndex(model_->index(row, 0), QItemSelectionModel::NoUpdate);
}

void TfmSearch::showGridMenu(const QPoint& at)
{
    // The entries act on the row under the mouse.
    const QModelIndex index = DBGrid1->indexAt(at);
    if (index.isValid() && !DBGrid1->selectionModel()->isRowSelected(index.row(), QModelIndex()))
        DBGrid1->setCurrentIndex(index);
    PopupMenu1->popup(DBGrid1->viewport()->mapToGlobal(at));
}

void TfmSearch::say(const QString& text, const QString& caption)
{
    context_.messages().show(text, caption.isEmpty() ? QStringLiteral("提示") : caption);
}

} // namespace slipcraft
