#include "entry/bills/BillForms.h"

#include "entry/bills/CheckDEF.h"
#include "entry/bills/CheckDHD.h"
#include "entry/bills/CheckJKD.h"
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
    return new TfmCheckZP(context, parent);
}

} // namespace slipcraft
