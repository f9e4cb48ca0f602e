#include "dictionaries/Com.h"

#include "shell/AppContext.h"
#include "shell/UserMessages.h"
#include "wording/Functions.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace slipcraft {

TfrmCom::TfrmCom(AppContext& context, QWidget* parent)
    : QDialog(parent)
    , context_(context)
    , list_(context.db())
    , lvCoins(new QTableWidget(0, 2, this))
    , edtName(new QLineEdit(this))
    , edtAbbr(new QLineEdit(this))
    , btAdd(new QPushButton(QStringLiteral("增加"), this))
    , btModify(new QPushButton(QStringLiteral("修改"), this))
    , btDelete(new QPushButton(QStringLiteral("删除"), this))
{
    setObjectName(QStringLiteral("frmCom"));
    setWindowTitle(QStringLiteral("币种设置"));
    lvCoins->setObjectName(QStringLiteral("lvCoins"));
    edtName->setObjectName(QStringLiteral("edtName"));
    edtAbbr->setObjectName(QStringLiteral("edtAbbr"));
    btAdd->setObjectName(QStringLiteral("btAdd"));
    btModify->setObjectName(QStringLiteral("btModify"));
    btDelete->setObjectName(QStringLiteral("btDelete"));

    edtName->setMaxLength(8);
    edtAbbr->setMaxLength(3);
    lvCoins->setHorizontalHeaderLabels({QStringLiteral("币种"), QStringLiteral("缩写")});
    lvCoins->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    lvCoins->verticalHeader()->hide();
    lvCoins->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lvCoins->setSelectionBehavior(QAbstractItemView::SelectRows);
    lvCoins->setSelectionMode(QAbstractItemView::SingleSelection);

    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("币种名称："), edtName);
    fields->addRow(QStringLiteral("币种简码："), edtAbbr);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : {btAdd, btModify, btDelete})
        buttons->addWidget(button);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lvCoins, 1);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    resize(360, 420);
    // Enter in a field must not press whichever button happens to be the default.
    for (QPushButton* button : findChildren<QPushButton*>())
        button->setAutoDefault(false);

    connect(lvCoins, &QTableWidget::itemSelectionChanged, this, &TfrmCom::lvCoinsClick);
    connect(btAdd, &QPushButton::clicked, this, &TfrmCom::btAddClick);
    connect(btModify, &QPushButton::clicked, this, &TfrmCom::btModifyClick);
    connect(btDelete, &QPushButton::clicked, this, &TfrmCom::btDeleteClick);
}

void TfrmCom::showEvent(QShowEvent* event)
{
    list_.reload();
    fillList();
    QDialog::showEvent(event);
}

void TfrmCom::fillList()
{
    const QSignalBlocker blocker(lvCoins);
    const QList<Currency>& currencies = list_.currencies();
    lvCoins->setRowCount(int(currencies.size()));
    for (int row = 0; row < currencies.size(); ++row) {
        lvCoins->setItem(row, 0, new QTableWidgetItem(currencies[row].name));
        lvCoins->setItem(row, 1, new QTableWidgetItem(currencies[row].abbreviation));
        if (currencies[row].name == chosen_)
            lvCoins->selectRow(row);
    }
}

void TfrmCom::lvCoinsClick()
{
    const QList<QTableWidgetItem*> selected = lvCoins->selectedItems();
    if (selected.isEmpty())
        return;
    chosen_ = lvCoins->item(selected.first()->row(), 0)->text();
    edtName->setText(chosen_);
    edtAbbr->setText(list_.abbreviationOf(chosen_));
}

void TfrmCom::say(const EditorReply& reply)
{
    UserMessages::Icon icon = UserMessages::Icon::Information;
    if (reply.outcome == EditorReply::Refused)
        icon = UserMessages::Icon::Warning;
    else if (reply.outcome == EditorReply::Failed)
        icon = UserMessages::Icon::Error;
    context_.messages().show(reply.text, reply.caption, icon);
}

void TfrmCom::btAddClick()
{
    const EditorReply reply = list_.add(edtName->text(), edtAbbr->text());
    if (reply.outcome == EditorReply::Done)
        fillList();
    say(reply);
}

void TfrmCom::btModifyClick()
{
    const EditorReply reply = list_.changeAbbreviation(chosen_, edtName->text(), edtAbbr->text());
    // The name is not the thing to change here: put the chosen one back.
    if (reply.outcome == EditorReply::Refused && !chosen_.isEmpty() && trimText(edtName->text()) != chosen_)
        edtName->setText(chosen_);
    if (reply.outcome == EditorReply::Done)
        fillList();
    say(reply);
}

void TfrmCom::btDeleteClick()
{
    const EditorReply reply = list_.remove(chosen_);
    if (reply.outcome == EditorReply::Done) {
        chosen_.clear();
        edtName->clear();
        edtAbbr->clear();
        fillList();
    }
    say(reply);
}

} // namespace slipcraft
