#include "entry/bills/CheckZP.h"

#include "entry/bills/CheckJZD.h"
#include "parties/DAOPerson.h"
#include "parties/PersonManage.h"
#include "shell/AppContext.h"
#include "shell/UserMessages.h"
#include "wording/Functions.h"

#include <QCheckBox>

namespace slipcraft {

TfmCheckZP::TfmCheckZP(AppContext& context, QWidget* parent)
    : TfmBillForm(context, chequeKind(), parent)
{
    start();
}

bool TfmCheckZP::printsItem(const QString& itemName) const
{
    if (itemName == QLatin1String("ZDOUTBANK"))
        return option(QStringLiteral("cfgPrintOutBank"))->isChecked();
    if (itemName == QLatin1String("ZDOUTBANKACCT"))
        return option(QStringLiteral("cfgPrintOutBankAcct"))->isChecked();
    return true;
}

void TfmCheckZP::copyIntoDepositSlip(TfmCheckJZD& slip)
{
    copyPayeeInto(slip);
    copyDrawerInto(slip);
    slip.receiveBill(moneyName(), amountEntryText(), kBillType, boxText(QStringLiteral("zdPJBH")), date());
}

void TfmCheckZP::copyPayeeInto(TfmCheckJZD& slip)
{
    const QString name = trimText(boxText(QStringLiteral("zdInComp")));
    if (name.isEmpty()) {
        slip.setReceiver(nullptr);
        return;
    }
    if (!receiver())
        return;
    if (receiver()->text(TPerson::FullName) == name) {
        slip.setReceiver(receiver());
    } else if (std::unique_ptr<TPerson> found = TPerson::findByName(context().db(), name)) {
        slip.setReceiver(found.get());
    } else {
        slip.setInComp(name);
    }
}

void TfmCheckZP::copyDrawerInto(TfmCheckJZD& slip)
{
    const QString bank = boxText(QStringLiteral("zdOutBank"));
    const QString account = boxText(QStringLiteral("zdOutBankAcct"));
    if (!account.isEmpty() || !bank.isEmpty()) {
        slip.setOutBank(bank);
        slip.setOutBankAcct(account);
    }
    if (account.isEmpty())
        return;
    Database& db = context().db();
    UserMessages& messages = context().messages();
    std::unique_ptr<TPerson> found = TPerson::findByAccount(db, account);
    if (found) {
        slip.setSender(found.get());
        if (!bank.isEmpty() && bank != found->text(TPerson::Bank))
            messages.show(QStringLiteral("账号(") + account
                          + QStringLiteral(")的银行信息与填写的不一致，请核对单位账户相应资料.\n")
                          + found->text(TPerson::Bank) + QLatin1Char('\n') + bank);
        return;
    }
    if (!messages.ask(QStringLiteral("账号(") + account + QStringLiteral(")没有单位账户的保存记录，是否要添加"),
                      QStringLiteral("提示")))
        return;
    TPerson drawer;
    drawer.setID(-1);
    drawer.setText(TPerson::FullName, boxText(QStringLiteral("zdOutComp")));
    drawer.setText(TPerson::Bank, bank);
    drawer.setText(TPerson::BankAcct, account);
    drawer.setText(TPerson::UnitType, TPerson::kOwnUnit);
    savePersonToAddressBook(context(), this, &drawer);
    if ((found = TPerson::findByAccount(db, account)))
        slip.setSender(found.get());
}

} // namespace slipcraft
