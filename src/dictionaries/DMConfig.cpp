#include "dictionaries/DMConfig.h"

#include "shell/AppContext.h"
#include "shell/UserMessages.h"
#include "shell/WindowSettings.h"
#include "templates/Catalogue.h"
#include "wording/Functions.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QStandardItemModel>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>

namespace slipcraft {

namespace {

const QString kCaption = QStringLiteral("提示");
constexpr int kDirtyRole = Qt::UserRole + 1;

const QStringList kOfferedNames = {
    QStringLiteral("承兑是否提醒到期"), QStringLiteral("承兑到期提醒天数"), QStringLiteral("开票人"),
    QStringLiteral("收款人"),           QStringLiteral("始发站"),           QStringLiteral("发件人签名"),
    QStringLiteral("国家"),             QStringLiteral("备注"),             QStringLiteral("物品内容"),
    QStringLiteral("自定义1"),          QStringLiteral("自定义2"),
};

// Knows the one editor the grid has open, so that a save can take what is typed in it.
class ValueDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        open_ = editor;
        return editor;
    }

    void destroyEditor(QWidget* editor, const QModelIndex& index) const override
    {
        if (editor == open_)
            open_ = nullptr;
        QStyledItemDelegate::destroyEditor(editor, index);
    }

    void commitOpenEditor()
    {
        if (open_)
            emit commitData(open_);
    }

private:
    mutable QPointer<QWidget> open_;
};

QList<QStandardItem*> gridRow(const DictionaryRow& row)
{
    auto* id = new QStandardItem(row.id > 0 ? QString::number(row.id) : QString());
    id->setData(row.id, Qt::UserRole);
    id->setData(row.id <= 0, kDirtyRole);
    auto* name = new QStandardItem(row.name);
    auto* value = new QStandardItem(row.value);
    auto* templateId = new QStandardItem(QString::number(row.checkTypeId));
    templateId->setData(row.checkTypeId, Qt::UserRole);
    templateId->setBackground(Qt::yellow);
    for (QStandardItem* fixed : {id, name, templateId})
        fixed->setFlags(fixed->flags() & ~Qt::ItemIsEditable);
    return {id, name, value, templateId};
}

} // namespace

Tfm_DMConfig::Tfm_DMConfig(AppContext& context, QWidget* parent)
    : QDialog(parent)
    , context_(context)
    , table_(context.db())
    , cbCheckType(new QComboBox(this))
    , lbNames(new QListWidget(this))
    , edtDMName(new QComboBox(this))
    , btAddName(new QPushButton(QStringLiteral("2.1增加"), this))
    , lbTitle(new QLabel(this))
    , ckShowPublic(new QCheckBox(QStringLiteral("显示公共字典内容"), this))
    , DBGrid1(new QTableView(this))
    , model_(new QStandardItemModel(0, 4, this))
    , btAdd(new QPushButton(QStringLiteral("+添加"), this))
    , btEdit(new QPushButton(QStringLiteral("E 修改"), this))
    , btSave(new QPushButton(QStringLiteral("保存并刷新"), this))
    , btDelete(new QPushButton(QStringLiteral("- 删除"), this))
{
    setObjectName(QStringLiteral("fm_DMConfig"));
    cbCheckType->setObjectName(QStringLiteral("cbCheckType"));
    lbNames->setObjectName(QStringLiteral("lbNames"));
    edtDMName->setObjectName(QStringLiteral("edtDMName"));
    btAddName->setObjectName(QStringLiteral("btAddName"));
    lbTitle->setObjectName(QStringLiteral("lbTitle"));
    ckShowPublic->setObjectName(QStringLiteral("ckShowPublic"));
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    btAdd->setObjectName(QStringLiteral("btAdd"));
    btEdit->setObjectName(QStringLiteral("btEdit"));
    btSave->setObjectName(QStringLiteral("btSave"));
    btDelete->setObjectName(QStringLiteral("btDelete"));

    edtDMName->setEditable(true);
    edtDMName->addItems(kOfferedNames);
    edtDMName->setCurrentIndex(-1);
    ckShowPublic->setChecked(true);

    model_->setHorizontalHeaderLabels(
        {QStringLiteral("ID"), QStringLiteral("DMName"), QStringLiteral("字典内容"), QStringLiteral("单据号")});
    DBGrid1->setModel(model_);
    DBGrid1->setItemDelegate(new ValueDelegate(DBGrid1));
    DBGrid1->setColumnHidden(IdColumn, true);
    DBGrid1->setColumnHidden(NameColumn, true);
    DBGrid1->horizontalHeader()->setSectionResizeMode(ValueColumn, QHeaderView::Stretch);
    DBGrid1->setColumnWidth(TemplateColumn, 60);
    DBGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    DBGrid1->setEditTriggers(QAbstractItemView::CurrentChanged | QAbstractItemView::SelectedClicked
                             | QAbstractItemView::DoubleClicked);

    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("1、适用单据："), this));
    top->addWidget(cbCheckType, 1);

    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(edtDMName, 1);
    nameRow->addWidget(btAddName);
    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel(QStringLiteral("2、字典名称："), this));
    left->addLayout(nameRow);
    left->addWidget(lbNames, 1);

    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : {btAdd, btEdit, btSave, btDelete})
        buttons->addWidget(button);
    buttons->addStretch();
    buttons->addWidget(ckShowPublic);
    auto* right = new QVBoxLayout;
    right->addWidget(lbTitle);
    right->addWidget(DBGrid1, 1);
    right->addLayout(buttons);

    auto* body = new QHBoxLayout;
    body->addLayout(left, 1);
    body->addLayout(right, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(body, 1);

    resize(760, 480);
    // Enter in a field must not press whichever button happens to be the default.
    for (QPushButton* button : findChildren<QPushButton*>())
        button->setAutoDefault(false);
    FormFaceLoad(this, context_.userIniFile());

    QStringList templates{kAllTemplates};
    QString current;
    try {
        templates += context_.catalogue().loadCheckTypeFullNameList(QString());
        current = context_.catalogue().loadCheckTypeFullNameByID(context_.currentTemplateId);
    } catch (const DatabaseError& error) {
        context_.messages().show(error.text(), kCaption, UserMessages::Icon::Error);
    }
    cbCheckType->addItems(templates);
    const int preselected = current.isEmpty() ? -1 : int(templates.indexOf(current, 1));
    cbCheckType->setCurrentIndex(preselected > 0 ? preselected : 0);

    connect(cbCheckType, &QComboBox::currentIndexChanged, this, &Tfm_DMConfig::cbCheckTypeChange);
    connect(lbNames, &QListWidget::currentRowChanged, this, &Tfm_DMConfig::lbNamesClick);
    connect(ckShowPublic, &QCheckBox::toggled, this, [this] {
        storePending();
        loadValues();
    });
    connect(model_, &QStandardItemModel::itemChanged, this, [this](QStandardItem* item) {
        if (item->column() == ValueColumn)
            model_->item(item->row(), IdColumn)->setData(true, kDirtyRole);
    });
    connect(btAddName, &QPushButton::clicked, this, &Tfm_DMConfig::btAddNameClick);
    connect(btAdd, &QPushButton::clicked, this, &Tfm_DMConfig::btAddClick);
    connect(btEdit, &QPushButton::clicked, this, &Tfm_DMConfig::btEditClick);
    connect(btSave, &QPushButton::clicked, this, &Tfm_DMConfig::btSaveClick);
    connect(btDelete, &QPushButton::clicked, this, &Tfm_DMConfig::btDeleteClick);

    cbCheckTypeChange();
}

void Tfm_DMConfig::say(const EditorReply& reply)
{
    context_.messages().show(reply.text, reply.caption,
                             reply.outcome == EditorReply::Done ? UserMessages::Icon::Information
                                                                : UserMessages::Icon::Warning);
}

void Tfm_DMConfig::cbCheckTypeChange()
{
    storePending();
    const QString name = cbCheckType->currentText();
    workingId_ = 0;
    if (cbCheckType->currentIndex() > 0) {
        try {
            workingId_ = context_.catalogue().loadCheckTypeIDByTypeFullName(name);
        } catch (const DatabaseError& error) {
            context_.messages().show(error.text(), kCaption, UserMessages::Icon::Error);
        }
    }
    setWindowTitle(QStringLiteral("字典设置-") + name + QStringLiteral("(单据号=") + QString::number(workingId_)
                   + QLatin1Char(')'));
    loadNames();
}

void Tfm_DMConfig::loadNames()
{
    QStringList names;
    try {
        names = table_.names(workingId_);
    } catch (const DatabaseError& error) {
        context_.messages().show(error.text(), kCaption, UserMessages::Icon::Error);
    }
    {
        const QSignalBlocker blocker(lbNames);
        lbNames->clear();
        lbNames->addItems(names);
    }
    if (names.isEmpty())
        lbNamesClick();
    else
        lbNames->setCurrentRow(0);
}

void Tfm_DMConfig::lbNamesClick()
{
    storePending();
    const QListWidgetItem* item = lbNames->currentItem();
    currentName_ = item ? item->text() : QString();
    if (item)
        edtDMName->setEditText(currentName_);
    lbTitle->setText(QStringLiteral("3、[") + currentName_ + QStringLiteral("]已有字典内容：")
                     + QStringLiteral("(\"单据号=0\"表示公用内容)"));
    loadValues();
}

void Tfm_DMConfig::loadValues()
{
    model_->removeRows(0, model_->rowCount());
    if (currentName_.isEmpty())
        return;
    const bool withShared = ckShowPublic->isChecked();
    QList<DictionaryRow> rows;
    try {
        rows = table_.rows(currentName_, workingId_, withShared);
    } catch (const DatabaseError&) {
        context_.messages().show(QStringLiteral("错误,sql=") + DictionaryTable::rowsStatement(withShared), kCaption,
                                 UserMessages::Icon::Error);
        return;
    }
    for (const DictionaryRow& row : rows)
        model_->appendRow(gridRow(row));
}

void Tfm_DMConfig::btAddNameClick()
{
    try {
        const EditorReply reply = table_.addName(workingId_, edtDMName->currentText());
        if (reply.outcome != EditorReply::Done) {
            say(reply);
            return;
        }
    } catch (const DatabaseError& error) {
        context_.messages().show(error.text(), kCaption, UserMessages::Icon::Error);
        return;
    }
    const QString added = trimText(edtDMName->currentText());
    loadNames();
    const QList<QListWidgetItem*> found = lbNames->findItems(added, Qt::MatchFixedString);
    if (!found.isEmpty())
        lbNames->setCurrentItem(found.first());
}

void Tfm_DMConfig::btAddClick()
{
    if (currentName_.isEmpty()) {
        say({EditorReply::Refused, QStringLiteral("请输入字典名称"), kCaption});
        return;
    }
    model_->appendRow(gridRow({0, currentName_, QStringLiteral(" "), workingId_}));
    const QModelIndex value = model_->index(model_->rowCount() - 1, ValueColumn);
    DBGrid1->setCurrentIndex(value);
    DBGrid1->edit(value);
}

void Tfm_DMConfig::btEditClick()
{
    const int row = currentRow();
    if (row < 0)
        return;
    const QModelIndex value = model_->index(row, ValueColumn);
    DBGrid1->setCurrentIndex(value);
    DBGrid1->edit(value);
}

void Tfm_DMConfig::btSaveClick()
{
    storePending();
    loadValues();
}

void Tfm_DMConfig::btDeleteClick()
{
    if (!context_.messages().ask(QStringLiteral("确认删除字典项目吗？"), kCaption))
        return;
    if (model_->rowCount() == 0) {
        context_.messages().show(QStringLiteral("对不起，没有内容可删除！"), kCaption);
        return;
    }
    const int row = currentRow();
    const int id = model_->item(row, IdColumn)->data(Qt::UserRole).toInt();
    // A row not stored yet is simply dropped; the other edits are kept.
    if (!storePending(row))
        return;
    if (id > 0) {
        try {
            table_.remove(id);
        } catch (const DatabaseError& error) {
            context_.messages().show(error.text(), kCaption, UserMessages::Icon::Error);
            return;
        }
    }
    loadValues();
    if (model_->rowCount() == 0)
        loadNames();
}

int Tfm_DMConfig::currentRow() const
{
    const QModelIndex current = DBGrid1->currentIndex();
    if (current.isValid())
        return current.row();
    return model_->rowCount() > 0 ? 0 : -1;
}

bool Tfm_DMConfig::storePending(int skippedRow)
{
    static_cast<ValueDelegate*>(DBGrid1->itemDelegate())->commitOpenEditor();
    QList<DictionaryRow> rows;
    QList<QStandardItem*> marks;
    for (int row = 0; row < model_->rowCount(); ++row) {
        QStandardItem* id = model_->item(row, IdColumn);
        if (row == skippedRow || !id->data(kDirtyRole).toBool())
            continue;
        rows.append({id->data(Qt::UserRole).toInt(), model_->item(row, NameColumn)->text(),
                     model_->item(row, ValueColumn)->text(), model_->item(row, TemplateColumn)->data(Qt::UserRole).toInt()});
        marks << id;
    }
    if (rows.isEmpty())
        return true;
    try {
        table_.store(rows);
    } catch (const DatabaseError& error) {
        context_.messages().show(error.text(), kCaption, UserMessages::Icon::Error);
        return false;
    }
    for (QStandardItem* id : marks)
        id->setData(false, kDirtyRole);
    return true;
}

void Tfm_DMConfig::done(int result)
{
    storePending();
    FormFaceSave(this, context_.userIniFile());
    QDialog::done(result);
}

} // namespace slipcraft
