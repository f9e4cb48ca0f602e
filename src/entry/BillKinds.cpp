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

} // namespace

const BoxSpec* BillKind::box(const QString& name) const
{
    for (const BoxSpec& spec : boxes)
        if (spec.name.compare(name, Qt::CaseInsensitive) == 0)
            return &spec;
    return nullptr;
}

const OptionSpec* BillKind::option(const QString& name) const
{
    for (const OptionSpec& spec : options)
        if (spec.name.compare(name, Qt::CaseInsensitive) == 0)
            return &spec;
    return nullptr;
}

bool BillKind::isDerived(const QString& boxName) const
{
    static const QStringList dateParts = {QStringLiteral("zdNian"), QStringLiteral("zdYue"), QStringLiteral("zdRi")};
    if (boxName.startsWith(QLatin1String("cg"), Qt::CaseInsensitive)
        || dateParts.contains(boxName, Qt::CaseInsensitive))
        return true;
    const BoxSpec* spec = box(boxName);
    return spec && spec->type == BoxType::ReadOnly;
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

const QList<const BillKind*>& billKinds()
{
    static const QList<const BillKind*> kinds = {&chequeKind(), &depositSlipKind(), &wireTransferKind(),
                                                 &paymentSlipKind(), &customFormKind()};
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
