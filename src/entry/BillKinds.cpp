#include "entry/BillKind.h"

namespace slipcraft {

namespace {

// ---- Boxes ----------------------------------------------------------------------------

BoxSpec edit(const QString& name, int maxLength = 0)
{
    return {name, BoxType::Edit, maxLength};
}

BoxSpec readOnly(const QString& name)
{
    return {name, BoxType::ReadOnly};
}

BoxSpec dropDown(const QString& name, BoxList list = BoxList::None, const QString& listName = {}, int maxLength = 0)
{
    return {name, BoxType::DropDown, maxLength, list, listName};
}

BoxSpec tickBox(const QString& name, const QString& caption)
{
    BoxSpec box{name, BoxType::TickBox};
    box.caption = caption;
    return box;
}

BoxSpec withHint(BoxSpec box, const QString& hint)
{
    box.hint = hint;
    return box;
}

// Kinds may be built during static initialisation: no namespace-scope Qt objects here.
constexpr const char* kDigitPositions[] = {"YY", "QW", "BW", "SW", "WY", "QY", "BY", "SY", "Y", "J", "F"};

QList<BoxSpec> digitBoxes(const QString& prefix)
{
    QList<BoxSpec> boxes;
    for (const char* position : kDigitPositions)
        boxes << readOnly(prefix + QLatin1String(position));
    return boxes;
}

// The date on the face, and the counterfoil's (with its ISO date when asked).
QList<BoxSpec> dateBoxes(bool counterfoil, bool counterfoilIso)
{
    QList<BoxSpec> boxes{edit(QStringLiteral("zdNian")), edit(QStringLiteral("zdYue")), edit(QStringLiteral("zdRi")),
                         readOnly(QStringLiteral("zdNianYueRi"))};
    if (counterfoil)
        boxes << readOnly(QStringLiteral("cgNian")) << readOnly(QStringLiteral("cgYue"))
              << readOnly(QStringLiteral("cgRi"));
    if (counterfoilIso)
        boxes << readOnly(QStringLiteral("cgNianYueRi"));
    return boxes;
}

// Words, figures and digit boxes, with the counterfoil's figures (and digits) when asked.
QList<BoxSpec> amountBoxes(bool counterfoilFigures, bool counterfoilDigits)
{
    QList<BoxSpec> boxes{edit(QStringLiteral("zdJEDX")), edit(QStringLiteral("zdJEXX"))};
    boxes += digitBoxes(QStringLiteral("zd"));
    if (counterfoilFigures)
        boxes << readOnly(QStringLiteral("cgJEXX"));
    if (counterfoilDigits)
        boxes += digitBoxes(QStringLiteral("cg"));
    return boxes;
}

// A party's name, bank, account and, when asked, province and city; side is "Out" (the
// drawer), "In" (the payee) or "Third". Counterfoil copies follow when asked.
QList<BoxSpec> partyBoxes(const QString& side, BoxList names, bool accountList, bool place, bool counterfoil)
{
    const QString zd = QStringLiteral("zd") + side;
    QList<BoxSpec> boxes{dropDown(zd + QStringLiteral("Comp"), names, {}, 200), edit(zd + QStringLiteral("Bank"), 40),
                         accountList ? dropDown(zd + QStringLiteral("BankAcct")) : edit(zd + QStringLiteral("BankAcct"))};
    if (place)
        boxes << dropDown(zd + QStringLiteral("Prov"), BoxList::Provinces)
              << dropDown(zd + QStringLiteral("City"), BoxList::Cities, zd + QStringLiteral("Prov"));
    if (counterfoil) {
        const qsizetype faceCount = boxes.size();
        for (qsizetype i = 0; i < faceCount; ++i)
            boxes << readOnly(counterfoilTwin(boxes[i].name));
    }
    return boxes;
}

QList<BoxSpec> purposeBoxes(bool counterfoil)
{
    QList<BoxSpec> boxes{dropDown(QStringLiteral("zdYT"), BoxList::SharedDictionary, QStringLiteral("用途"))};
    if (counterfoil)
        boxes << readOnly(QStringLiteral("cgYT"));
    return boxes;
}

// zdDef1 and zdDef2 take the template's lists; the rest up to last are plain boxes.
QList<BoxSpec> customBoxes(int last)
{
    QList<BoxSpec> boxes{dropDown(QStringLiteral("zdDef1"), BoxList::Dictionary, QStringLiteral("自定义1")),
                         dropDown(QStringLiteral("zdDef2"), BoxList::Dictionary, QStringLiteral("自定义2"))};
    for (int i = 3; i <= last; ++i)
        boxes << edit(QStringLiteral("zdDef%1").arg(i));
    return boxes;
}

QList<BoxSpec> numberAndRemark(bool preEntered)
{
    return {preEntered ? dropDown(QStringLiteral("zdPJBH"), BoxList::UnusedNumbers) : edit(QStringLiteral("zdPJBH")),
            {QStringLiteral("zdRemark"), BoxType::MultiLine}};
}

// ---- History columns ------------------------------------------------------------------

ColumnSpec column(const QString& name, const QString& source)
{
    return {name, source};
}

// The columns of every history table: template, tick items, number, remark, currency,
// amount, date and the five custom fields.
QList<ColumnSpec> commonColumns(const QString& amountSource)
{
    QList<ColumnSpec> columns{column(QStringLiteral("模板种类"), ColumnSource::kTemplate),
                              column(QStringLiteral("其他选项"), ColumnSource::kTickItems),
                              column(QStringLiteral("票据编号"), QStringLiteral("zdPJBH")),
                              column(QStringLiteral("备注"), QStringLiteral("zdRemark")),
                              column(QStringLiteral("币种"), ColumnSource::kCurrency),
                              column(QStringLiteral("金额"), amountSource),
                              column(QStringLiteral("出票日期"), ColumnSource::kDate)};
    for (int i = 1; i <= 5; ++i)
        columns << ColumnSpec{QStringLiteral("自定义%1").arg(i), QStringLiteral("zdDef%1").arg(i), true};
    return columns;
}

QList<ColumnSpec> payeeColumns()
{
    return {column(QStringLiteral("收款人全称"), QStringLiteral("zdInComp")),
            column(QStringLiteral("收款人开户行"), QStringLiteral("zdInBank")),
            column(QStringLiteral("收款人账号"), QStringLiteral("zdInBankAcct"))};
}

QList<ColumnSpec> drawerColumns(const QString& bankColumn)
{
    return {column(QStringLiteral("出票人全称"), QStringLiteral("zdOutComp")),
            column(QStringLiteral("出票人账号"), QStringLiteral("zdOutBankAcct")),
            column(bankColumn, QStringLiteral("zdOutBank"))};
}

// The wire transfer's columns, which the custom form shares.
QList<ColumnSpec> transferColumns()
{
    return commonColumns(QStringLiteral("zdJEXX")) + payeeColumns() + drawerColumns(QStringLiteral("出票人开户行"))
           + QList<ColumnSpec>{column(QStringLiteral("用途"), QStringLiteral("zdYT")),
                               column(QStringLiteral("收款人省"), QStringLiteral("zdInProv")),
                               column(QStringLiteral("收款人市县"), QStringLiteral("zdInCity")),
                               column(QStringLiteral("出票人省"), QStringLiteral("zdOutProv")),
                               column(QStringLiteral("出票人市县"), QStringLiteral("zdOutCity"))};
}

// ---- Options --------------------------------------------------------------------------

OptionSpec stored(const QString& name, const QString& caption, bool tickedUnlessZero = false)
{
    return {name, caption, true, tickedUnlessZero};
}

OptionSpec unstored(const QString& name, const QString& caption)
{
    return {name, caption, false, false};
}

// The options that keep parts of the bill off the paper.
QList<OptionSpec> noPrintOptions()
{
    return {unstored(QStringLiteral("cfgNoPrtDate"), QStringLiteral("不打印出票日期")),
            unstored(QStringLiteral("cfgNoPrtOutter"), QStringLiteral("不打印出票人")),
            unstored(QStringLiteral("cfgNoPrtSheep"), QStringLiteral("不打印限位符￥")),
            unstored(QStringLiteral("cfgNoPrtJEXX"), QStringLiteral("不打印小写格")),
            unstored(QStringLiteral("cfgNoPrtJEDX"), QStringLiteral("不打印大写"))};
}

// The bank forms' stored options: words date, 人民币 in the words, a two-digit year.
QList<OptionSpec> variantOptions()
{
    return QList<OptionSpec>{stored(QStringLiteral("cfgDateChinese"), QStringLiteral("大写日期")),
                             stored(QStringLiteral("cfgJEDXRMBChecked"), QStringLiteral("大写带人民币")),
                             stored(QStringLiteral("cfgMiniYear"), QStringLiteral("2位年"))}
           + noPrintOptions();
}

// ---- Kinds ----------------------------------------------------------------------------

// A bank form's party boxes: prefix + "Comp", "BankAcct", "Bank", "BankNO", "BankAddr",
// "Prov", "City".
PartyBoxes partyFields(const QString& prefix)
{
    return {{TPerson::FullName, prefix + QStringLiteral("Comp")},   {TPerson::BankAcct, prefix + QStringLiteral("BankAcct")},
            {TPerson::Bank, prefix + QStringLiteral("Bank")},       {TPerson::BankNo, prefix + QStringLiteral("BankNO")},
            {TPerson::BankAddr, prefix + QStringLiteral("BankAddr")}, {TPerson::Province, prefix + QStringLiteral("Prov")},
            {TPerson::City, prefix + QStringLiteral("City")}};
}

// The texts that follow from the bill type.
BillKind standardBillKind(const QString& billType, const QString& formName, const QString& table)
{
    BillKind kind;
    kind.billType = billType;
    kind.formName = formName;
    kind.historyTable = table;
    kind.insertedMessage = QStringLiteral("新") + billType + QStringLiteral("保存成功！ ");
    kind.editedMessage =
        billType + QStringLiteral("修改保存成功（要修改成新") + billType + QStringLiteral("请先点击【复制】按钮）！ ");
    kind.voidedMessage = billType + QStringLiteral("已经作废,保存失败！");
    kind.copyUnsavedMessage = QStringLiteral("未保存单据不需要复制即为一张新单！");
    kind.closeQuestion = QStringLiteral("是否保存该") + billType + QStringLiteral("？");
    kind.payeePickerCaption = QStringLiteral("选取收款人");
    kind.drawerBoxes = partyFields(QStringLiteral("zdOut"));
    kind.payeeBoxes = partyFields(QStringLiteral("zdIn"));
    return kind;
}

QList<std::pair<QString, QString>> bothAccountBanks()
{
    return {{QStringLiteral("zdOutBankAcct"), QStringLiteral("zdOutBank")},
            {QStringLiteral("zdInBankAcct"), QStringLiteral("zdInBank")}};
}

BillKind makeCheque()
{
    BillKind kind = standardBillKind(QStringLiteral("支票"), QStringLiteral("fmCheckZP"), QStringLiteral("DataZPTable"));
    kind.boxes = dateBoxes(true, false) + partyBoxes(QStringLiteral("Out"), BoxList::OwnUnits, true, false, false)
                 + QList<BoxSpec>{dropDown(QStringLiteral("zdInComp"), BoxList::CounterpartUnits, {}, 200),
                                  readOnly(QStringLiteral("cgInComp")), edit(QStringLiteral("zdZFMM"), 40)}
                 + amountBoxes(true, false) + purposeBoxes(true) + numberAndRemark(true) + customBoxes(5);
    kind.columns = commonColumns(ColumnSource::kAmountEntry) + drawerColumns(QStringLiteral("付款行名称"))
                   + QList<ColumnSpec>{column(QStringLiteral("收款人全称"), QStringLiteral("zdInComp")),
                                       column(QStringLiteral("支付密码"), QStringLiteral("zdZFMM")),
                                       column(QStringLiteral("用途"), QStringLiteral("zdYT"))};
    kind.options = QList<OptionSpec>{stored(QStringLiteral("cfgPrintOutBankAcct"), QStringLiteral("打印出票账号")),
                                     stored(QStringLiteral("cfgPrintOutBank"), QStringLiteral("打印付款银行")),
                                     stored(QStringLiteral("cfgDateChinese"), QStringLiteral("大写正联日期")),
                                     stored(QStringLiteral("cfgJEDXRMBChecked"), QStringLiteral("大写含人民币")),
                                     stored(QStringLiteral("cfgJEDXWithMoneyName"), QStringLiteral("大写前置币种"), true),
                                     stored(QStringLiteral("cfgJEXXWithMoneyCode"), QStringLiteral("小写前置币种"), true)}
                   + noPrintOptions();
    kind.writesUsedStatus = true;
    kind.picksPreEnteredNumbers = true;
    kind.preEnteredFill = {{QStringLiteral("付款行名称"), QStringLiteral("zdOutBank")},
                           {QStringLiteral("出票人账号"), QStringLiteral("zdOutBankAcct")}};
    kind.amountStyle = AmountStyle::CurrencyOptions;
    kind.digitBoxPitch = 35;
    kind.titleStyle = TitleStyle::Noted;
    kind.notes.renewed = QStringLiteral("新建");
    kind.notes.loadedNew = QStringLiteral("新");
    kind.copyUnsavedMessage.clear();
    kind.drawerPickerCaption = QStringLiteral("选取付款行");
    kind.newClears = {QStringLiteral("zdInComp"), QStringLiteral("zdYT")};
    kind.newClearsAmount = true;
    kind.drawerLeaveFillsBank = true;
    kind.convertsToDepositSlip = true;
    return kind;
}

BillKind makeDepositSlip()
{
    BillKind kind =
        standardBillKind(QStringLiteral("进账单"), QStringLiteral("fmCheckJZD"), QStringLiteral("DataJZDTable"));
    BoxSpec count = dropDown(QStringLiteral("zdPJZS"), BoxList::Fixed);
    for (int i = 1; i <= 9; ++i)
        count.fixedItems << QString::number(i);
    kind.boxes = dateBoxes(true, false) + partyBoxes(QStringLiteral("Out"), BoxList::OwnUnits, true, false, true)
                 + partyBoxes(QStringLiteral("In"), BoxList::CounterpartUnits, true, false, true)
                 + amountBoxes(true, true)
                 + QList<BoxSpec>{dropDown(QStringLiteral("zdPJZL"), BoxList::SharedDictionary, QStringLiteral("票据种类")),
                                  readOnly(QStringLiteral("cgPJZL")), count, readOnly(QStringLiteral("cgPJZS")),
                                  edit(QStringLiteral("zdPJHM")), readOnly(QStringLiteral("cgPJHM"))}
                 + numberAndRemark(false) + customBoxes(5);
    kind.columns = commonColumns(QStringLiteral("zdJEXX")) + payeeColumns() + drawerColumns(QStringLiteral("付款行名称"))
                   + QList<ColumnSpec>{column(QStringLiteral("票据张数"), QStringLiteral("zdPJZS")),
                                       column(QStringLiteral("票据种类"), QStringLiteral("zdPJZL")),
                                       column(QStringLiteral("票据号码"), QStringLiteral("zdPJHM"))};
    kind.options = variantOptions()
                   << unstored(QStringLiteral("cfgChangeInOuter"), QStringLiteral("交换收款单位和出票单位"));
    kind.counterfoilDigits = true;
    kind.counterfoilDateRepeatsFace = true;
    kind.drawerPickerCaption = QStringLiteral("选取出票人");
    kind.newClears = {QStringLiteral("zdInComp")};
    kind.drawerChangeFillsBank = true;
    kind.payeeChangeFillsBank = true;
    kind.payeeLeaveListsAccounts = true;
    kind.accountBanks = bothAccountBanks();
    return kind;
}

// The wire transfer's boxes, which the custom form extends.
QList<BoxSpec> transferBoxes(bool preEntered)
{
    return dateBoxes(true, true) + partyBoxes(QStringLiteral("Out"), BoxList::OwnUnits, true, true, true)
           + partyBoxes(QStringLiteral("In"), BoxList::CounterpartUnits, true, true, true) + amountBoxes(true, true)
           + purposeBoxes(true) + QList<BoxSpec>{edit(QStringLiteral("zdZFMM"), 40)} + numberAndRemark(preEntered);
}

BillKind makeWireTransfer()
{
    BillKind kind =
        standardBillKind(QStringLiteral("电汇单"), QStringLiteral("fmCheckDHD"), QStringLiteral("DataDHDTable"));
    kind.boxes = transferBoxes(true) + customBoxes(5);
    kind.columns = transferColumns();
    kind.options = variantOptions();
    kind.picksPreEnteredNumbers = true;
    kind.preEnteredFill = {{QStringLiteral("出票人开户行"), QStringLiteral("zdOutBank")},
                           {QStringLiteral("出票人账号"), QStringLiteral("zdOutBankAcct")}};
    kind.counterfoilDigits = true;
    kind.titleStyle = TitleStyle::Noted;
    kind.notes.saved = QStringLiteral("已保存");
    kind.notes.renewed = QStringLiteral("新");
    kind.notes.loadedNew = QStringLiteral("新开");
    kind.copyUnsavedMessage.clear();
    kind.drawerPickerCaption = QStringLiteral("选取付款行");
    kind.newClears = {QStringLiteral("zdInComp")};
    kind.drawerChangeAppliesSender = true;
    kind.accountBanks = bothAccountBanks();
    kind.convertsToDepositSlip = true;
    return kind;
}

BillKind makePaymentSlip()
{
    BillKind kind =
        standardBillKind(QStringLiteral("缴款单"), QStringLiteral("fmCheckJKD"), QStringLiteral("DataJKDTable"));
    kind.boxes = dateBoxes(false, false) + partyBoxes(QStringLiteral("In"), BoxList::CounterpartUnits, true, false, false)
                 + QList<BoxSpec>{dropDown(QStringLiteral("zdInContactor"), BoxList::SharedDictionary,
                                           QStringLiteral("缴款人")),
                                  readOnly(QStringLiteral("zdMoney"))}
                 + purposeBoxes(false) + amountBoxes(false, false) + numberAndRemark(false) + customBoxes(5);
    kind.columns = commonColumns(QStringLiteral("zdJEXX")) + payeeColumns()
                   + QList<ColumnSpec>{column(QStringLiteral("用途"), QStringLiteral("zdYT")),
                                       column(QStringLiteral("收款人联系人"), QStringLiteral("zdInContactor"))};
    kind.options = variantOptions();
    kind.insertedMessage = QStringLiteral("新缴款单保存成功!");
    kind.editedMessage = QStringLiteral("缴款单修改保存成功（要修改成新缴款单请先点击【复制】按钮）！");
    kind.newClears = {QStringLiteral("zdInComp"), QStringLiteral("zdYT")};
    kind.newClearsAmount = true;
    kind.payeeChangeFillsBank = true;
    return kind;
}

BillKind makeCustomForm()
{
    BillKind kind =
        standardBillKind(QStringLiteral("定制单"), QStringLiteral("fmCheckDef"), QStringLiteral("DataDEFTable"));
    kind.boxes = transferBoxes(false) + partyBoxes(QStringLiteral("Third"), BoxList::CounterpartUnits, false, true, false)
                 + digitBoxes(QStringLiteral("zdDX")) + customBoxes(20);
    kind.columns = transferColumns();
    kind.options = variantOptions();
    kind.counterfoilDigits = true;
    kind.drawerPickerCaption = QStringLiteral("选择出票人账户");
    kind.payeePickerCaption = QStringLiteral("选择收款人账户");
    kind.newClears = {QStringLiteral("zdInComp"), QStringLiteral("zdInBank"), QStringLiteral("zdInBankAcct")};
    kind.newClearsAmount = true;
    kind.drawerChangeAppliesSender = true;
    kind.accountBanks = bothAccountBanks();
    kind.repeatPrint = false;
    kind.convertsToDepositSlip = true;
    return kind;
}

BillKind makeAcceptanceDraft()
{
    BillKind kind =
        standardBillKind(QStringLiteral("承兑汇票"), QStringLiteral("fmCheckCDHP"), QStringLiteral("DataCDHPTable"));
    BoxSpec dueDate = dropDown(QStringLiteral("zdTimeOutDate"), BoxList::Fixed);
    dueDate.fixedItems = {QStringLiteral("+15"), QStringLiteral("+30"), QStringLiteral("+60"), QStringLiteral("+90"),
                          QStringLiteral("+120"), QStringLiteral("+150"), QStringLiteral("+180")};
    dueDate.hint = QStringLiteral("汇票到期日，例如输入2015.10.10 按Enter键,自动转大写日期");
    kind.boxes = dateBoxes(false, false) + partyBoxes(QStringLiteral("Out"), BoxList::OwnUnits, true, false, false)
                 + QList<BoxSpec>{edit(QStringLiteral("zdOutBankNO")), edit(QStringLiteral("zdOutBankAddr"))}
                 + partyBoxes(QStringLiteral("In"), BoxList::CounterpartUnits, true, false, false)
                 + amountBoxes(false, false) + QList<BoxSpec>{dueDate, edit(QStringLiteral("zdCDXYBH"))}
                 + numberAndRemark(false) + customBoxes(5);
    kind.columns = commonColumns(QStringLiteral("zdJEXX")) + payeeColumns() + drawerColumns(QStringLiteral("付款行名称"))
                   + QList<ColumnSpec>{column(QStringLiteral("付款行行号"), QStringLiteral("zdOutBankNO")),
                                       column(QStringLiteral("付款行地址"), QStringLiteral("zdOutBankAddr")),
                                       column(QStringLiteral("承兑协议号"), QStringLiteral("zdCDXYBH")),
                                       column(QStringLiteral("汇票到期日"), QStringLiteral("zdTimeOutDate")),
                                       column(QStringLiteral("到期日期"), ColumnSource::kOwn)};
    kind.options = QList<OptionSpec>{stored(QStringLiteral("cfgDateChinese"), QStringLiteral("大写日期")),
                                     stored(QStringLiteral("cfgJEDXRMBChecked"), QStringLiteral("大写带人民币")),
                                     stored(QStringLiteral("cfgJEDXYuan"), QStringLiteral("大写圆"))}
                   + noPrintOptions();
    kind.writesUsedStatus = true;
    kind.drawerPickerCaption = QStringLiteral("选取付款人");
    kind.drawerEnterFinds = true;
    kind.drawerEnterElseAccount = true;
    kind.newClears = {QStringLiteral("zdInComp")};
    return kind;
}

// A waybill party's boxes: sender "zdHKR…" / receiver "zdSKR…", with the town, mobile and
// country boxes named as the form has them.
PartyBoxes waybillParty(bool sender)
{
    const QString p = sender ? QStringLiteral("zdHKR") : QStringLiteral("zdSKR");
    return {{TPerson::FullName, p},
            {TPerson::Contactor, p + QStringLiteral("LXR")},
            {TPerson::Province, p + QStringLiteral("S")},
            {TPerson::City, p + QStringLiteral("XS")},
            {TPerson::Town, sender ? QStringLiteral("edtFJRTown") : QStringLiteral("edtSJRTown")},
            {TPerson::Address, sender ? QStringLiteral("zdHkrDZ") : QStringLiteral("zdSkrDZ")},
            {TPerson::Phone, sender ? QStringLiteral("zdhkrDH") : QStringLiteral("zdskrDH")},
            {TPerson::Handset, sender ? QStringLiteral("hkrHandset") : QStringLiteral("skrHandset")},
            {TPerson::Country, sender ? QStringLiteral("edtCountryFrom") : QStringLiteral("edtCountryDest")},
            {TPerson::Zipcode, p + QStringLiteral("YB")}};
}

BillKind makeWaybill()
{
    BillKind kind = standardBillKind(QStringLiteral("快递单"), QStringLiteral("fmCheckKDD"), QStringLiteral("DataKDDTable"));
    kind.drawerBoxes = waybillParty(true);
    kind.payeeBoxes = waybillParty(false);
    // Each party's boxes with their hints, the name boxes with their unit lists.
    const char* const senderHints[] = {"", "寄方联系人", "寄方所在省", "寄方所在县/市", "发件人镇/区", "寄方地址",
                                       "寄方联系电话", "寄件方手机", "寄方所在国家", "寄方邮编"};
    const char* const receiverHints[] = {"", "收方联系人", "收方所在省", "收方所在县/市", "收件人镇/区", "收件方地址",
                                         "收方联系电话", "收方手机", "收方所在国家", "收方邮编"};
    for (const bool sender : {true, false}) {
        const PartyBoxes& party = sender ? kind.drawerBoxes : kind.payeeBoxes;
        for (qsizetype i = 0; i < party.size(); ++i) {
            BoxSpec box = i == 0 ? dropDown(party[i].second, sender ? BoxList::OwnUnits : BoxList::CounterpartUnits, {}, 80)
                                 : edit(party[i].second);
            if (party[i].first == TPerson::Address)
                box.type = BoxType::MultiLine;
            box.hint = QString::fromUtf8(sender ? senderHints[i] : receiverHints[i]);
            kind.boxes << box;
        }
    }
    BoxSpec pieces = withHint(dropDown(QStringLiteral("edtAmount"), BoxList::Fixed),
                              QStringLiteral("可在设计模式中设置默认值，或者字典管理中设置下拉预选项"));
    for (const char* count : {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "20", "30", "50", "100"})
        pieces.fixedItems << QString::fromLatin1(count);
    BoxSpec signature = withHint(dropDown(QStringLiteral("zdSign")),
                                 QStringLiteral("寄件人签名-可在字典管理中修改预选项，设计模式中设置默认值"));
    signature.marksChanged = false;
    BoxSpec hour = withHint(edit(QStringLiteral("zdTime")), QStringLiteral("寄出时"));
    hour.marksChanged = false;
    BoxSpec amount = withHint(edit(QStringLiteral("zdJEDX1")),
                              QStringLiteral("金额大写(只需输入小写),如启用大写，请在设计模式里设定其等宽打印参数"));
    amount.marksChanged = false;
    BoxSpec account = dropDown(QStringLiteral("zdUserCode"));
    account.marksChanged = false;
    kind.boxes += QList<BoxSpec>{
        withHint(edit(QStringLiteral("zdJFKHBM")), QStringLiteral("寄方客户编号")),
        withHint(edit(QStringLiteral("zdSFKHBM")), QStringLiteral("收方客户编号")),
        withHint(dropDown(QStringLiteral("cbFromSite")), QStringLiteral("请在字典管理中修改始发站为您所在地区")),
        signature,
        withHint(dropDown(QStringLiteral("cbDestSite")), QStringLiteral("目的站")),
        withHint(edit(QStringLiteral("zdNian")), QStringLiteral("寄出年")),
        withHint(edit(QStringLiteral("zdYue")), QStringLiteral("寄出月")),
        withHint(edit(QStringLiteral("zdRi")), QStringLiteral("寄出日")),
        hour,
        withHint({QStringLiteral("zdWPNR"), BoxType::MultiLine}, QStringLiteral("物品内容(鼠标双击下拉选择)")),
        pieces,
        withHint(edit(QStringLiteral("edtWeight")), QStringLiteral("重量")),
        withHint(edit(QStringLiteral("edtMoney")), QStringLiteral("总费用")),
        amount,
        withHint(edit(QStringLiteral("zdPJBH")), QStringLiteral("速递单号")),
        account,
        withHint({QStringLiteral("zdBz"), BoxType::MultiLine}, QStringLiteral("备注说明(鼠标双击下拉选择)")),
        withHint(edit(QStringLiteral("zdTxt1")), QStringLiteral("固定文字")),
        withHint(edit(QStringLiteral("zdTxt2")), QStringLiteral("固定文字")),
    };
    const char* const fees[][2] = {{"zdYunFee", "运费"},   {"zdBaoZFee", "包装费"},   {"zdJiaJiFee", "加急费"},
                                   {"zdSongHFee", "送货费"}, {"zdShouxuFee", "手续费"}, {"zdQiTaFee", "其他费"},
                                   {"zdBJFee", "保价费"},   {"zdBJJE", "保价金额"},   {"zdDaisJE", "代收金额"},
                                   {"zdTiJi", "体积"}};
    for (const auto& [name, hint] : fees)
        kind.boxes << withHint(edit(QString::fromLatin1(name)), QString::fromUtf8(hint));
    kind.boxes += customBoxes(5);

    kind.columns = {column(QStringLiteral("模板种类"), ColumnSource::kTemplate),
                    column(QStringLiteral("其他选项"), ColumnSource::kTickItems),
                    column(QStringLiteral("寄件日期"), ColumnSource::kDate)};
    const char* const mapped[][2] = {
        {"寄件单位", "zdHKR"},        {"寄件地址", "zdHkrDZ"},      {"寄件国家", "edtCountryFrom"},
        {"始发站", "cbFromSite"},     {"寄件省", "zdHKRS"},         {"寄件市县", "zdHKRXS"},
        {"寄件镇区", "edtFJRTown"},   {"寄件联系人", "zdHKRLXR"},   {"寄件电话", "zdhkrDH"},
        {"寄方手机", "hkrHandset"},   {"寄方邮编", "zdHKRYB"},      {"寄件时间", "zdTime"},
        {"收件单位", "zdSKR"},        {"收件地址", "zdSkrDZ"},      {"目的站", "cbDestSite"},
        {"收件国家", "edtCountryDest"}, {"收件省", "zdSKRS"},       {"收件市县", "zdSKRXS"},
        {"收件联系人", "zdSKRLXR"},   {"收件电话", "zdskrDH"},      {"收方手机", "skrHandset"},
        {"收方邮编", "zdSKRYB"},      {"收件镇区", "edtSJRTown"},   {"物品内容", "zdWPNR"},
        {"件数", "edtAmount"},        {"重量", "edtWeight"},        {"总费用", "edtMoney"},
        {"快递帐号", "zdUserCode"},   {"快递单号", "zdPJBH"},       {"备注", "zdBz"},
        {"加急费", "zdJiaJiFee"},     {"手续费", "zdShouxuFee"},    {"代收金额", "zdDaisJE"},
        {"包装费", "zdBaoZFee"},      {"运费", "zdYunFee"},         {"其他费", "zdQiTaFee"},
        {"体积", "zdTiJi"},           {"送货费", "zdSongHFee"},     {"金额大写1", "zdJEDX1"},
        {"保价金额", "zdBJJE"},       {"保价费", "zdBJFee"},
    };
    for (const auto& [name, box] : mapped)
        kind.columns << column(QString::fromUtf8(name), QString::fromLatin1(box));
    // Written whether their boxes show or not.
    for (int i = 1; i <= 5; ++i)
        kind.columns << column(QStringLiteral("自定义%1").arg(i), QStringLiteral("zdDef%1").arg(i));

    OptionSpec printDate = stored(QStringLiteral("cfgWantPrintRQ"), QStringLiteral("打印日期"));
    OptionSpec amountFormat = stored(QStringLiteral("cfgJEDXFormat"), QStringLiteral("金额大写1格式:"));
    amountFormat.choices = {
        QStringLiteral("00000.00  限万位到分"),   QStringLiteral("00000.0   限万位到角"),
        QStringLiteral("00000     限万位无小数"), QStringLiteral("0000.00   限千位到分"),
        QStringLiteral("0000.0    限千位到角"),   QStringLiteral("0000      限千位无小数"),
        QStringLiteral("000.00    限百位到分"),   QStringLiteral("000.0     限百位到角"),
        QStringLiteral("000       限百位无小数"), QStringLiteral("000000.00 限十万位到分"),
        QStringLiteral("000000.0  限十万位到角"), QStringLiteral("000000    限十万位无小数"),
        QStringLiteral("打印小写金额"),           QStringLiteral("打印中国传统大写金额")};
    amountFormat.defaultChoice = QStringLiteral("打印小写金额");
    kind.options = {printDate,
                    stored(QStringLiteral("cfgDestSiteIsCity"), QStringLiteral("目的站=城市")),
                    unstored(QStringLiteral("ckHandset2Phone"), QStringLiteral("合并手机到电话")),
                    unstored(QStringLiteral("ckPrintFJROnly"), QStringLiteral("仅打印发件人")),
                    unstored(QStringLiteral("ckPrintSJROnly"), QStringLiteral("仅打印收件方")),
                    amountFormat};

    kind.hasStatus = false;
    kind.dateColumn = QStringLiteral("寄件日期");
    kind.bankBill = false;
    kind.amountColumn.clear();
    kind.amountEntryBoxes.clear();
    kind.historyTitle = QStringLiteral("历史快递单查看（流水号为：%1)");
    kind.closeCaption = QStringLiteral("关闭快递单");
    kind.closeAlsoNeeds = QStringLiteral("zdSKRLXR");
    kind.historySaveMessage = QStringLiteral("历史单据不能保存，请点击【复制】后,再保存为新单据！");
    kind.payeePrompt = QStringLiteral("单击我或红圈选择收件人...:)");
    kind.drawerPickerCaption = QStringLiteral("选择发件人资料");
    kind.payeePickerCaption = QStringLiteral("选择收件人资料");
    kind.pickerCancelEmpties = true;
    kind.payeeEnterTriesName = true;
    kind.drawerEnterFinds = true;
    kind.newClears = {QStringLiteral("zdSKR"),      QStringLiteral("zdSKRS"),     QStringLiteral("zdSKRXS"),
                      QStringLiteral("zdskrDH"),    QStringLiteral("zdSKRLXR"),   QStringLiteral("zdSKRYB"),
                      QStringLiteral("zdSkrDZ"),    QStringLiteral("skrHandset"), QStringLiteral("edtSJRTown"),
                      QStringLiteral("edtCountryDest"), QStringLiteral("zdPJBH"), QStringLiteral("cbDestSite"),
                      QStringLiteral("edtWeight"),  QStringLiteral("edtMoney"),   QStringLiteral("edtAmount"),
                      QStringLiteral("zdWPNR"),     QStringLiteral("zdBz")};
    kind.repeatPrint = false;
    kind.copyLimit = 50;
    kind.upDownButton = QStringLiteral("btPosition");
    kind.savePayeeCaption = QStringLiteral("存收件人");
    kind.savePayeeHint = QStringLiteral("保存收件人到地址本（收发件人管理）");
    kind.rememberCaption = QStringLiteral("记住选项");
    kind.pictureClickFocusesSave = true;
    return kind;
}

BillKind makeRemittance()
{
    BillKind kind = standardBillKind(QStringLiteral("境外汇款申请书"), QStringLiteral("fmCheckJWH"),
                                     QStringLiteral("DataJWHTable"));
    const QString amountHint = QStringLiteral("输入金额小写+回车");
    const QString accountHint = QStringLiteral("外汇账号（可在，字典管理-外汇账户 添加修改）");
    const QString totalHint = QStringLiteral("合计金额自动汇总无需输入");
    const QString identityHint = QStringLiteral("可在 设计模式-设置默认值，以免每次输入");
    kind.boxes = {
        readOnly(QStringLiteral("zdNianYueRi")),
        dropDown(QStringLiteral("OuterComp"), BoxList::OwnUnits, {}, 200), edit(QStringLiteral("OUTERCOMPADDR")),
        edit(QStringLiteral("OUTERPHONE")), edit(QStringLiteral("SHENQRNAME")),
        tickBox(QStringLiteral("CK_DUIG"), QStringLiteral("对公")),
        withHint(edit(QStringLiteral("DUIGIDENTITY")), identityHint),
        tickBox(QStringLiteral("CK_DUIS"), QStringLiteral("对私")),
        withHint(edit(QStringLiteral("DUISIDENTITY")), identityHint),
        tickBox(QStringLiteral("CK_DUIS_CHINESE"), QStringLiteral("中国居民")),
        tickBox(QStringLiteral("CK_DUIS_NOCHINESE"), QStringLiteral("非中国居民")),
        withHint(readOnly(QStringLiteral("TOTALJEXX")), totalHint), withHint(readOnly(QStringLiteral("TOTALJEDX")), totalHint),
        withHint(edit(QStringLiteral("XIANHJE")), amountHint), withHint(edit(QStringLiteral("GOUHJE")), amountHint),
        withHint(edit(QStringLiteral("QITAJE")), amountHint),
        withHint(edit(QStringLiteral("XianHACCT")), accountHint), withHint(edit(QStringLiteral("GouHACCT")), accountHint),
        withHint(edit(QStringLiteral("QitaACCT")), accountHint),
        edit(QStringLiteral("INNERAGENTBANK")), edit(QStringLiteral("INNERAGENTBANKAddr")),
        edit(QStringLiteral("INNERAGENTBANKAcct")), edit(QStringLiteral("InnerBank")), edit(QStringLiteral("InnerBankAddr")),
        dropDown(QStringLiteral("InnerComp"), BoxList::CounterpartUnits, {}, 200), edit(QStringLiteral("InnerAddr")),
        edit(QStringLiteral("InnerBankAcct")), {QStringLiteral("HuiKRRemark"), BoxType::MultiLine},
        tickBox(QStringLiteral("CK_FEE_OUR"), QStringLiteral("汇款人付")),
        tickBox(QStringLiteral("CK_FEE_BEN"), QStringLiteral("收款人付")),
        tickBox(QStringLiteral("CK_FEE_SHA"), QStringLiteral("共同付")),
        tickBox(QStringLiteral("CK_PAY_AP"), QStringLiteral("预付货款")),
        tickBox(QStringLiteral("CK_PAY_PAD"), QStringLiteral("货到付款")),
        tickBox(QStringLiteral("CK_PAY_R"), QStringLiteral("退款")), tickBox(QStringLiteral("CK_PAY_O"), QStringLiteral("其他")),
        tickBox(QStringLiteral("CK_HEXIAO_NO"), QStringLiteral("非核销下付款")),
        tickBox(QStringLiteral("CK_HEXIAO_YES"), QStringLiteral("核销下付款")),
        dropDown(QStringLiteral("INNERCOUNTRY"), BoxList::SharedDictionary, QStringLiteral("国家")),
        edit(QStringLiteral("INNERCOUNTRYCODE")), edit(QStringLiteral("ZUICZYDATE")),
        edit(QStringLiteral("JIAOYCODE1")), edit(QStringLiteral("JIAOYJE1")), edit(QStringLiteral("JIAOYREMARK1")),
        edit(QStringLiteral("JIAOYCODE2")), edit(QStringLiteral("JIAOYJE2")), edit(QStringLiteral("JIAOYREMARK2")),
        {QStringLiteral("BGDNO"), BoxType::MultiLine}, {QStringLiteral("BGDJE"), BoxType::MultiLine},
        {QStringLiteral("BGDHZJE"), BoxType::MultiLine}, edit(QStringLiteral("HETNO")), edit(QStringLiteral("FAPNO")),
        edit(QStringLiteral("WAIHJPJBANO")), edit(QStringLiteral("BGDJYDWDM")), edit(QStringLiteral("zdPJBH")),
    };
    kind.boxes += customBoxes(5);
    QList<ColumnSpec> common = commonColumns(QStringLiteral("TOTALJEXX"));
    common.removeIf([](const ColumnSpec& c) { return c.column == QStringLiteral("备注"); });
    const char* const mapped[][2] = {
        {"现汇金额", "XIANHJE"},         {"购汇金额", "GOUHJE"},       {"其他金额", "QITAJE"},
        {"现汇账号", "XianHACCT"},       {"购汇账号", "GouHACCT"},     {"其他账号", "QitaACCT"},
        {"收款人代理行", "INNERAGENTBANK"}, {"收款人代理行地址", "INNERAGENTBANKAddr"},
        {"收款人代理行账号", "INNERAGENTBANKAcct"}, {"收款人开户行", "InnerBank"},
        {"收款人开户行地址", "InnerBankAddr"}, {"收款人地址", "InnerAddr"}, {"收款人账号", "InnerBankAcct"},
        {"收款人名称", "InnerComp"},     {"汇款附言", "HuiKRRemark"},  {"汇款人名称", "OuterComp"},
        {"汇款人地址", "OUTERCOMPADDR"}, {"收款人国家或地区", "INNERCOUNTRY"}, {"收款人区域编码", "INNERCOUNTRYCODE"},
        {"最迟装运日期", "ZUICZYDATE"},  {"交易编码1", "JIAOYCODE1"},  {"交易编码2", "JIAOYCODE2"},
        {"交易金额1", "JIAOYJE1"},       {"交易金额2", "JIAOYJE2"},    {"交易附言1", "JIAOYREMARK1"},
        {"交易附言2", "JIAOYREMARK2"},   {"报关单号", "BGDNO"},        {"报关单币种金额", "BGDJE"},
        {"报关核注金额", "BGDHZJE"},     {"合同号", "HETNO"},          {"发票号", "FAPNO"},
        {"外汇局批备号", "WAIHJPJBANO"}, {"报关单经营单位代码", "BGDJYDWDM"}, {"申请人姓名", "SHENQRNAME"},
        {"申请人电话", "OUTERPHONE"},
    };
    kind.columns = common;
    for (const auto& [name, box] : mapped)
        kind.columns << column(QString::fromUtf8(name), QString::fromLatin1(box));
    for (const char* own : {"汇款人类型", "汇款人身份编号", "费用承担", "收款类型", "进口核销项下付款"})
        kind.columns << column(QString::fromUtf8(own), ColumnSource::kOwn);
    kind.options = {stored(QStringLiteral("cfgDateChinese"), QStringLiteral("大写日期")),
                    stored(QStringLiteral("cfgJEDXRMBChecked"), QStringLiteral("大写带人民币")),
                    stored(QStringLiteral("cfgMiniYear"), QStringLiteral("2位年")),
                    unstored(QStringLiteral("cfgNoPrtDate"), QStringLiteral("不打印出票日期"))};
    OptionSpec dateFormat = unstored(QStringLiteral("cfgDateFormat"), QStringLiteral("日期格式："));
    dateFormat.choices = {QStringLiteral("YYYY-MM-DD"), QStringLiteral("YYYY/MM/DD"), QStringLiteral("YYYY年MM月DD日"),
                          QStringLiteral("YYYYMMDD hh:nn"), QStringLiteral("YYYY/MM/DD hh:nn")};
    kind.options << dateFormat;
    kind.writesUsedStatus = true;
    kind.insertedMessage = QStringLiteral("新境外汇款申请书保存成功!");
    kind.editedMessage =
        QStringLiteral("境外汇款申请书修改保存成功（要修改成新境外汇款申请书请先点击【复制】按钮）！");
    kind.copyUnsavedMessage = QStringLiteral("未保存单据不需要【复制】即为一张新单！");
    kind.drawerShape = QStringLiteral("SelOutComp");
    kind.payeeShape = QStringLiteral("SelInComp");
    kind.drawerPickerCaption = QStringLiteral("选择汇款人及地址");
    kind.payeePickerCaption = QStringLiteral("选取收款人及银行账户");
    kind.drawerBoxes = {{TPerson::FullName, QStringLiteral("OuterComp")}, {TPerson::Address, QStringLiteral("OUTERCOMPADDR")},
                        {TPerson::Phone, QStringLiteral("OUTERPHONE")}};
    kind.payeeBoxes = {{TPerson::FullName, QStringLiteral("InnerComp")},   {TPerson::Address, QStringLiteral("InnerAddr")},
                       {TPerson::Bank, QStringLiteral("InnerBank")},       {TPerson::BankAcct, QStringLiteral("InnerBankAcct")},
                       {TPerson::BankAddr, QStringLiteral("InnerBankAddr")}, {TPerson::Country, QStringLiteral("INNERCOUNTRY")}};
    kind.payeePrompt.clear();
    kind.closeAlsoNeeds = QStringLiteral("TOTALJEDX");
    kind.amountEntryBoxes = {QStringLiteral("XIANHJE"), QStringLiteral("GOUHJE"), QStringLiteral("QITAJE")};
    kind.amountEntryWritesBack = true;
    kind.newClears = {QStringLiteral("InnerComp"), QStringLiteral("XIANHJE"), QStringLiteral("GOUHJE"),
                      QStringLiteral("QITAJE")};
    kind.newClearsAmount = true;
    kind.repeatPrint = false;
    return kind;
}

} // namespace

const BoxSpec* BillKind::box(const QString& name) const
{
    for (const BoxSpec& described : boxes)
        if (described.name.compare(name, Qt::CaseInsensitive) == 0)
            return &described;
    return nullptr;
}

const OptionSpec* BillKind::option(const QString& name) const
{
    for (const OptionSpec& described : options)
        if (described.name.compare(name, Qt::CaseInsensitive) == 0)
            return &described;
    return nullptr;
}

namespace {

// The box of a party's full name.
QString partyNameBox(const PartyBoxes& boxes)
{
    for (const auto& [field, box] : boxes)
        if (field == TPerson::FullName)
            return box;
    return {};
}

} // namespace

QString BillKind::drawerNameBox() const
{
    return partyNameBox(drawerBoxes);
}

QString BillKind::payeeNameBox() const
{
    return partyNameBox(payeeBoxes);
}

bool BillKind::isDerived(const QString& boxName) const
{
    static const QStringList dateParts = {QStringLiteral("zdNian"), QStringLiteral("zdYue"), QStringLiteral("zdRi")};
    if (boxName.startsWith(QLatin1String("cg"), Qt::CaseInsensitive)
        || dateParts.contains(boxName, Qt::CaseInsensitive))
        return true;
    const BoxSpec* described = box(boxName);
    return described && described->type == BoxType::ReadOnly;
}

QString counterfoilTwin(const QString& boxName)
{
    if (!boxName.startsWith(QLatin1String("zd"), Qt::CaseInsensitive))
        return {};
    return QStringLiteral("cg") + boxName.mid(2);
}

const BillKind& chequeKind()
{
    static const BillKind kind = makeCheque();
    return kind;
}

const BillKind& depositSlipKind()
{
    static const BillKind kind = makeDepositSlip();
    return kind;
}

const BillKind& wireTransferKind()
{
    static const BillKind kind = makeWireTransfer();
    return kind;
}

const BillKind& paymentSlipKind()
{
    static const BillKind kind = makePaymentSlip();
    return kind;
}

const BillKind& customFormKind()
{
    static const BillKind kind = makeCustomForm();
    return kind;
}

const BillKind& acceptanceDraftKind()
{
    static const BillKind kind = makeAcceptanceDraft();
    return kind;
}

const BillKind& remittanceKind()
{
    static const BillKind kind = makeRemittance();
    return kind;
}

const BillKind& waybillKind()
{
    static const BillKind kind = makeWaybill();
    return kind;
}

const QList<const BillKind*>& billKinds()
{
    static const QList<const BillKind*> kinds = {&chequeKind(),     &depositSlipKind(),     &wireTransferKind(),
                                                 &paymentSlipKind(), &acceptanceDraftKind(), &remittanceKind(),
                                                 &customFormKind(),  &waybillKind()};
    return kinds;
}

const BillKind* findBillKind(const QString& billType)
{
    for (const BillKind* kind : billKinds())
        if (kind->billType == billType)
            return kind;
    return nullptr;
}

} // namespace slipcraft
