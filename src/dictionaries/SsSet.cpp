#include "dictionaries/SsSet.h"

#include "shell/AppContext.h"
#include "shell/UserMessages.h"
#include "wording/Functions.h"

#include <QComboBox>
#include <QFormLayout>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace slipcraft {

namespace {
const QString kCaption = QStringLiteral("提示");
const QString kSelected = QStringLiteral("当前选中：");
} // namespace

TfrmSsSet::TfrmSsSet(AppContext& context, QWidget* parent)
    : QDialog(parent)
    , context_(context)
    , codes_(context.db())
    , cbProvince(new QComboBox(this))
    , lbCitys(new QListWidget(this))
    , lbSelected(new QLabel(kSelected, this))
    , btAdd(new QPushButton(QStringLiteral("添 加"), this))
    , btModify(new QPushButton(QStringLiteral("修 改"), this))
    , btDelete(new QPushButton(QStringLiteral("删 除"), this))
    , pnInput(new QFrame(this))
    , edtProvince(new QLineEdit(pnInput))
    , edtCity(new QLineEdit(pnInput))
    , btOK(new QPushButton(QStringLiteral("确 定"), pnInput))
    , btCancel(new QPushButton(QStringLiteral("取 消"), pnInput))
{
    setObjectName(QStringLiteral("frmSsSet"));
    setWindowTitle(QStringLiteral("省市代码设置"));
    cbProvince->setObjectName(QStringLiteral("cbProvince"));
    lbCitys->setObjectName(QStringLiteral("lbCitys"));
    lbSelected->setObjectName(QStringLiteral("lbSelected"));
    btAdd->setObjectName(QStringLiteral("btAdd"));
    btModify->setObjectName(QStringLiteral("btModify"));
    btDelete->setObjectName(QStringLiteral("btDelete"));
    pnInput->setObjectName(QStringLiteral("pnInput"));
    edtProvince->setObjectName(QStringLiteral("edtProvince"));
    edtCity->setObjectName(QStringLiteral("edtCity"));
    btOK->setObjectName(QStringLiteral("btOK"));
    btCancel->setObjectName(QStringLiteral("btCancel"));

    pnInput->setFrameShape(QFrame::StyledPanel);
    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("省："), edtProvince);
    fields->addRow(QStringLiteral("市(县)："), edtCity);
    auto* panelButtons = new QHBoxLayout;
    panelButtons->addStretch();
    panelButtons->addWidget(btOK);
    panelButtons->addWidget(btCancel);
    auto* panel = new QVBoxLayout(pnInput);
    panel->addLayout(fields);
    panel->addLayout(panelButtons);
    pnInput->hide();

    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : {btAdd, btModify, btDelete})
        buttons->addWidget(button);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(cbProvince);
    layout->addWidget(lbCitys, 1);
    layout->addWidget(lbSelected);
    layout->addLayout(buttons);
    layout->addWidget(pnInput);
    resize(320, 480);
    // Enter in a field must not press whichever button happens to be the default.
    for (QPushButton* button : findChildren<QPushButton*>())
        button->setAutoDefault(false);

    connect(cbProvince, &QComboBox::currentIndexChanged, this, &TfrmSsSet::cbProvinceChange);
    connect(lbCitys, &QListWidget::currentRowChanged, this, &TfrmSsSet::lbCitysClick);
    connect(btAdd, &QPushButton::clicked, this, &TfrmSsSet::btAddClick);
    connect(btModify, &QPushButton::clicked, this, &TfrmSsSet::btModifyClick);
    connect(btDelete, &QPushButton::clicked, this, &TfrmSsSet::btDeleteClick);
    connect(btOK, &QPushButton::clicked, this, &TfrmSsSet::btOKClick);
    connect(btCancel, &QPushButton::clicked, this, &TfrmSsSet::closePanel);
}

void TfrmSsSet::showEvent(QShowEvent* event)
{
    reloadProvinces();
    QDialog::showEvent(event);
}

void TfrmSsSet::reloadProvinces()
{
    {
        const QSignalBlocker blocker(cbProvince);
        cbProvince->clear();
        cbProvince->addItems(codes_.provinces());
        cbProvince->setCurrentIndex(cbProvince->count() > 0 ? 0 : -1);
    }
    cbProvinceChange();
}

void TfrmSsSet::cbProvinceChange()
{
    {
        const QSignalBlocker blocker(lbCitys);
        lbCitys->clear();
        for (const QString& city : codes_.cities(cbProvince->currentText()))
            lbCitys->addItem(QLatin1Char(' ') + city);
    }
    selectedCity_.clear();
    lbSelected->setText(kSelected);
}

void TfrmSsSet::lbCitysClick()
{
    const QListWidgetItem* item = lbCitys->currentItem();
    selectedCity_ = item ? trimText(item->text()) : QString();
    lbSelected->setText(kSelected + selectedCity_);
}

void TfrmSsSet::say(const EditorReply& reply)
{
    context_.messages().show(reply.text, reply.caption,
                             reply.outcome == EditorReply::Done ? UserMessages::Icon::Information
                                                                : UserMessages::Icon::Warning);
}

void TfrmSsSet::openPanel(bool adding, const QString& city)
{
    adding_ = adding;
    provinceBefore_ = cbProvince->currentText();
    edtProvince->setText(provinceBefore_);
    edtCity->setText(city);
    for (QWidget* control : std::initializer_list<QWidget*>{cbProvince, lbCitys, btAdd, btModify, btDelete})
        control->setEnabled(false);
    pnInput->show();
    edtCity->setFocus();
}

void TfrmSsSet::closePanel()
{
    pnInput->hide();
    for (QWidget* control : std::initializer_list<QWidget*>{cbProvince, lbCitys, btAdd, btModify, btDelete})
        control->setEnabled(true);
}

void TfrmSsSet::btAddClick()
{
    openPanel(true, QString());
}

void TfrmSsSet::btModifyClick()
{
    if (selectedCity_.isEmpty()) {
        context_.messages().show(QStringLiteral("请先选中要修改的市(县)！"), kCaption);
        return;
    }
    openPanel(false, selectedCity_);
}

void TfrmSsSet::btOKClick()
{
    const EditorReply reply = adding_ ? codes_.add(edtProvince->text(), edtCity->text())
                                      : codes_.change(edtProvince->text(), selectedCity_, edtCity->text());
    say(reply);
    if (reply.outcome == EditorReply::Refused)
        return;
    closePanel();
    if (adding_ && reply.outcome == EditorReply::Done) {
        const QSignalBlocker blocker(cbProvince);
        cbProvince->clear();
        cbProvince->addItems(codes_.provinces());
    }
    // Back to the province shown before, with its cities read again.
    {
        const QSignalBlocker blocker(cbProvince);
        cbProvince->setCurrentIndex(cbProvince->findText(provinceBefore_));
    }
    cbProvinceChange();
}

void TfrmSsSet::btDeleteClick()
{
    const EditorReply reply = codes_.remove(cbProvince->currentText(), selectedCity_);
    say(reply);
    if (reply.outcome == EditorReply::Done)
        cbProvinceChange();
}

} // namespace slipcraft
