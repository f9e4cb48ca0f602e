#include "entry/bills/BillForms.h"

#include "entry/bills/CheckCDHP.h"
#include "entry/bills/CheckDEF.h"
#include "entry/bills/CheckDHD.h"
#include "entry/bills/CheckJKD.h"
#include "entry/bills/CheckJWH.h"
#include "entry/bills/CheckKDD.h"
#include "entry/bills/CheckJZD.h"
#include "entry/bills/CheckZP.h"

namespace slipcraft {

TfmBillForm* newBillForm(AppContext& context, const BillKind& kind, QWidget* parent)
{
    if (&kind == &depositSlipKind())
        return new TfmCheckJZD(context, parent);
    if (&kind == &wireTransferKind())
        return new TfmCheckDHD(context, parent);
    if (&kind == &paymentSlipKind())
        return new TfmCheckJKD(context, parent);
    if (&kind == &customFormKind())
        return new TfmCheckDef(context, parent);
    if (&kind == &acceptanceDraftKind())
        return new TfmCheckCDHP(context, parent);
    if (&kind == &remittanceKind())
        return new TfmCheckJWH(context, parent);
    if (&kind == &waybillKind())
        return new TfmCheckKDD(context, parent);
    return new TfmCheckZP(context, parent);
}

} // namespace slipcraft
