#include "entry/bills/CheckJWH.h"

#include "dictionaries/Dictionaries.h"
#include "entry/bills/CheckJWHLogic.h"
#include "shell/AppContext.h"
#include "shell/UserMessages.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QEvent>
#include <QLineEdit>

namespace slipcraft {

namespace {

const QStringList kAmountBoxes = {QStringLiteral("XIANHJE"), QStringLiteral("GOUHJE"), QStringLiteral("QITAJE")};
const QStringList kAccountBoxes = {QStringLiteral("XianHACCT"), QStringLiteral("GouHACCT"), QStringLiteral("QitaACCT")};
const QStringList kTotalBoxes = {QStringLiteral("TOTALJEXX"), QStringLiteral("TOTALJEDX")};

// A column that holds the caption of the first ticked item of its group; a group with
// nothing ticked leaves its column as it was.
struct TickGroup {
    QString column;
    QStringList boxes;
};

const QList<TickGroup> kTickGroups = {
    {QStringLiteral("费用承担"), {QStringLiteral("CK_FEE_OUR"), QStringLiteral("CK_FEE_BEN"), QStringLiteral("CK_FEE_SHA")}},
    {QStringLiteral("收款类型"),
     {QStringLiteral("CK_PAY_AP"), QStringLiteral("CK_PAY_PAD"), QStringLiteral("CK_PAY_R"), QStringLiteral("CK_PAY_O")}},
    {QStringLiteral("进口核销项下付款"), {QStringLiteral("CK_HEXIAO_NO"), QStringLiteral("CK_HEXIAO_YES")}},
};

// The remitter's type, with the identity box that goes with it.
const QList<std::pair<QString, QString>> kRemitterTypes = {{QStringLiteral("CK_DUIG"), QStringLiteral("DUIGIDENTITY")},
                                                           {QStringLiteral("CK_DUIS"), QStringLiteral("DUISIDENTITY")}};

} // namespace

TfmCheckJWH::TfmCheckJWH(AppContext& context, QWidget* parent)
    : TfmBillForm(context, remittanceKind(), parent)
{
    CBWaiHuiAcct = new QComboBox(boxWidget(QStringLiteral("XianHACCT"))->parentWidget());
    CBWaiHuiAcct->setObjectName(QStringLiteral("CBWaiHuiAcct"));
    CBWaiHuiAcct->setEditable(true);
    CBWaiHuiAcct->setInsertPolicy(QComboBox::NoInsert);
    CBWaiHuiAcct->hide();
    CBWaiHuiAcct->installEventFilter(this);
    for (const QString& name : kAccountBoxes + kTotalBoxes)
        boxWidget(name)->installEventFilter(this);
    start();
}

bool TfmCheckJWH::setJEXX(const QString&)
{
    AmountWording wording;
    wording.currencyName = moneyName();
    wording.abbreviation = getMoneyCode();
    wording.wordsKeepRmb = option(QStringLiteral("cfgJEDXRMBChecked"))->isChecked();
    QStringList typed;
    for (const QString& box : kAmountBoxes)
        typed << boxText(box);
    const RemittanceAmounts amounts = remittanceAmounts(typed, wording);
    if (!amounts.ok)
        context().messages().show(amounts.message, amounts.caption);
    for (qsizetype i = 0; i < kAmountBoxes.size(); ++i)
        setBoxText(kAmountBoxes[i], amounts.amounts.value(i));
    setBoxText(QStringLiteral("TOTALJEXX"), amounts.totalFigures);
    setBoxText(QStringLiteral("TOTALJEDX"), amounts.totalWords);
    amountEntryBox()->clear();
    return amounts.ok;
}

void TfmCheckJWH::drawDate(const QDate& date)
{
    setBoxText(QStringLiteral("zdNianYueRi"),
               remittanceDateText(QDateTime(date, QTime::currentTime()), optionChoice(QStringLiteral("cfgDateFormat"))));
}

void TfmCheckJWH::completeValues(BillValues& values)
{
    auto ticked = [this](const QString& name) {
        const auto* box = qobject_cast<const QCheckBox*>(boxWidget(name));
        return box && box->isChecked();
    };
    for (const auto& [tick, identity] : kRemitterTypes)
        if (ticked(tick)) {
            values.insert(QStringLiteral("汇款人类型"), kind().box(tick)->caption);
            values.insert(QStringLiteral("汇款人身份编号"), boxText(identity));
            break;
        }
    for (const TickGroup& group : kTickGroups)
        for (const QString& tick : group.boxes)
            if (ticked(tick)) {
                values.insert(group.column, kind().box(tick)->caption);
                break;
            }
}

void TfmCheckJWH::applyOwnValues(const BillValues& values)
{
    auto restore = [this](const QStringList& boxes, const QString& caption) {
        for (const QString& name : boxes)
            if (auto* box = qobject_cast<QCheckBox*>(boxWidget(name)))
                box->setChecked(!caption.isEmpty() && box->text() == caption);
    };
    const QString type = values.value(QStringLiteral("汇款人类型")).toString();
    restore({kRemitterTypes[0].first, kRemitterTypes[1].first}, type);
    for (const auto& [tick, identity] : kRemitterTypes)
        if (kind().box(tick)->caption == type)
            setBoxText(identity, values.value(QStringLiteral("汇款人身份编号")).toString());
    for (const TickGroup& group : kTickGroups)
        restore(group.boxes, values.value(group.column).toString());
}

void TfmCheckJWH::showAccountList(QWidget* accountBox)
{
    accountTarget_ = accountBox;
    if (CBWaiHuiAcct->count() == 0) {
        const QString name = QStringLiteral("外汇账户");
        QStringList list = loadDMListByName(context().db(), name, QString::number(templateId()));
        if (list.isEmpty())
            list = loadDMListByName(context().db(), name, QStringLiteral("0"));
        CBWaiHuiAcct->addItems(list);
    }
    // Choosing an account is no change of the bill until it is copied back.
    const bool saved = session().saved;
    CBWaiHuiAcct->setGeometry(accountBox->geometry());
    CBWaiHuiAcct->setEditText(static_cast<QLineEdit*>(accountBox)->text());
    CBWaiHuiAcct->show();
    CBWaiHuiAcct->raise();
    CBWaiHuiAcct->setFocus();
    session().saved = saved;
}

void TfmCheckJWH::hideAccountList()
{
    if (accountTarget_)
        static_cast<QLineEdit*>(accountTarget_)->setText(CBWaiHuiAcct->currentText());
    accountTarget_ = nullptr;
    CBWaiHuiAcct->hide();
}

bool TfmCheckJWH::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn && kTotalBoxes.contains(watched->objectName())) {
        // The totals add themselves up: the focus goes to the first amount.
        if (QWidget* first = boxWidget(QStringLiteral("XIANHJE")); first && first->isVisibleTo(this))
            first->setFocus();
        return false;
    }
    if (event->type() == QEvent::FocusIn && kAccountBoxes.contains(watched->objectName())) {
        showAccountList(static_cast<QWidget*>(watched));
        return false;
    }
    if (event->type() == QEvent::FocusOut && watched == CBWaiHuiAcct && !CBWaiHuiAcct->view()->isVisible()) {
        hideAccountList();
        return false;
    }
    return TfmBillForm::eventFilter(watched, event);
}

} // namespace slipcraft
