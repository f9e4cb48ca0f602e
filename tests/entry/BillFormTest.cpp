#include "EntryFixture.h"
#include "PdfReader.h"

#include "entry/BillForm.h"
#include "entry/ControlValues.h"
#include "entry/FormControls.h"
#include "entry/PrintFromValues.h"
#include "entry/PrintRenderer.h"
#include "entry/bills/BillForms.h"
#include "entry/bills/CheckJZD.h"
#include "entry/bills/CheckZP.h"
#include "parties/DAOPerson.h"
#include "platform/printing/PdfPrinter.h"
#include "platform/printing/RecordingPrinter.h"
#include "wording/Functions.h"

#include <QCheckBox>
#include <QComboBox>
#include <QJsonObject>
#include <QLineEdit>
#include <QFocusEvent>
#include <QPointer>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QApplication>

using namespace slipcraft;

namespace slipcraft {

inline void PrintTo(const BillKind* kind, std::ostream* os)
{
    *os << kind->formName.toStdString();
}

} // namespace slipcraft

namespace {

constexpr double kToleranceMm = 0.1;

std::string kindName(const ::testing::TestParamInfo<const BillKind*>& info)
{
    return info.param->formName.toStdString();
}

} // namespace

class BillFormFixture : public EntryFixture {
protected:
    slipcraft::ProductData productData() const override { return slipcraft::ProductData::Include; }
    void SetUp() override
    {
        EntryFixture::SetUp();
        context.today = QDate(2026, 3, 10);
    }

    // A form of the kind that stays alive until the test ends.
    template <typename Form = TfmBillForm>
    std::unique_ptr<Form> open(const BillKind& kind)
    {
        std::unique_ptr<Form> form(static_cast<Form*>(newBillForm(context, kind)));
        form->setAttribute(Qt::WA_DeleteOnClose, false);
        return form;
    }
    QToolButton* button(QWidget* form, const char* name)
    {
        return qobject_cast<QToolButton*>(findNamedControl(form, QString::fromLatin1(name)));
    }
    QCheckBox* tick(QWidget* form, const char* name)
    {
        return qobject_cast<QCheckBox*>(findNamedControl(form, QString::fromLatin1(name)));
    }
    int rows(const BillKind& kind) { return db().scalar(QStringLiteral("select count(*) from %1").arg(kind.historyTable)).toInt(); }
    void addParty(const QString& name, const QString& bank, const QString& account, const QString& unitType)
    {
        TPerson person;
        person.setID(-1);
        person.setText(TPerson::FullName, name);
        person.setText(TPerson::Bank, bank);
        person.setText(TPerson::BankAcct, account);
        person.setText(TPerson::UnitType, unitType);
        person.save(db());
    }
};

class BillFormTest : public BillFormFixture, public ::testing::WithParamInterface<const BillKind*> {
protected:
    const BillKind& kind() const { return *GetParam(); }
    // The box an amount is typed into: the remittance adds up its own boxes.
    QString amountKey() const
    {
        return kind().amountEntryWritesBack ? kind().amountEntryBoxes.first() : QStringLiteral("金额");
    }
    // An amount as the kind takes it; a waybill's close question needs the receiver's
    // contact where a bank bill's needs the words of its amount.
    bool enterAmount(TfmBillForm& form, const QString& amount)
    {
        if (kind().amountEntryWritesBack)
            form.setBoxText(amountKey(), amount);
        if (!kind().bankBill)
            form.setBoxText(kind().closeAlsoNeeds, QStringLiteral("联系人丙"));
        return form.setJEXX(amount);
    }
    // The stored amount, whatever figures the kind stores it in, in fen.
    qint64 storedFen(const QVariant& stored) const { return amountToFen(normalizeAmount(stored.toString())).value_or(-1); }
};

TEST_P(BillFormTest, OpensOnItsDefaultTemplateWithItsTabsAndCommands)
{
    auto form = open(kind());
    ASSERT_TRUE(form->hasTemplate());
    EXPECT_EQ(context.currentTemplateId, form->templateId());
    form->show();
    auto* tabs = form->findChild<QTabBar*>(QStringLiteral("tbcCheckTypeName"));
    ASSERT_EQ(tabs->count(), 2);
    EXPECT_EQ(tabs->tabText(0), form->templateName());
    EXPECT_EQ(tabs->tabText(1), QStringLiteral("配置常用模板"));
    EXPECT_GT(tabs->height(), 0);
    EXPECT_EQ(form->boxText(kind().payeeNameBox()), QString());
    auto* payee = qobject_cast<QComboBox*>(findNamedControl(form.get(), kind().payeeNameBox()));
    ASSERT_NE(payee, nullptr);
    EXPECT_EQ(payee->currentText(), kind().payeePrompt);
    EXPECT_EQ(button(form.get(), "bt2CheckJZD")->isVisibleTo(form.get()), kind().convertsToDepositSlip);
    EXPECT_EQ(button(form.get(), "btMultiPrintF")->isVisibleTo(form.get()), kind().repeatPrint);
    EXPECT_TRUE(messages.messages.isEmpty());
    form->close();
    EXPECT_EQ(context.currentTemplateId, -1);
}

// End to end on every kind's default template: each printed item lands where its layout
// says, to 0.1 mm, and nothing else is printed.
TEST_P(BillFormTest, EveryItemLandsAtItsTemplatePosition)
{
    auto form = open(kind());
    ASSERT_TRUE(form->hasTemplate());
    const int id = form->templateId();
    // The sample values of the items the user types (those without line breaking).
    SqlQuery samples = db().query(
        QStringLiteral("select n.CtlName, n.CtlData from NameDict n join CKControl c on c.CtlName = n.CtlName and "
                       "c.CheckTypeId = :id where n.CheckTypeName = :type and n.CtlType = 'TEXT' and n.CtlData <> '' "
                       "and coalesce(c.BreakNum, '') = ''"),
        {{QStringLiteral("id"), id}, {QStringLiteral("type"), kind().billType}});
    while (samples.next()) {
        const QString name = samples.value(0).toString();
        if (!kind().isDerived(name) && name != QLatin1String("ZDJEXX") && name != QLatin1String("ZDJEDX"))
            form->setBoxText(name, samples.value(1).toString());
    }
    form->setDate(QDate(2026, 3, 15));
    ASSERT_TRUE(form->setJEXX(QStringLiteral("1234.5")));

    QTemporaryDir dir;
    PdfPrinter printer(dir.filePath(QStringLiteral("Output")));
    printer.setOutputFile(dir.filePath(QStringLiteral("bill.pdf")));
    SinglePrinterService service(printer);
    context.setPrintService(&service);
    ASSERT_TRUE(form->printBill(1)) << printer.errorText().toStdString();
    context.setPrintService(nullptr);

    struct Expected {
        QString name;
        QString text; // a reader splits a text at its spaces: the first word
        double xMm;
        double yMm;
    };
    QList<Expected> expected;
    qsizetype wordCount = 0;
    SqlQuery items = db().query(
        QStringLiteral("select c.CtlName, c.CtlX, c.CtlY, c.CtlFontName, c.CtlFontSize from NameDict n join CKControl c "
                       "on c.CtlName = n.CtlName and c.CheckTypeId = :id where n.CheckTypeName = :type and n.PrintItem = 1"),
        {{QStringLiteral("id"), id}, {QStringLiteral("type"), kind().billType}});
    while (items.next()) {
        const QString name = items.value(0).toString();
        const QStringList textWords = trimText(getControlValue(context, form.get(), name)).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (textWords.isEmpty())
            continue;
        wordCount += textWords.size();
        const QString text = textWords.first();
        // The double-width currency mark sits 1 mm left of its box.
        const int x = items.value(1).toInt() - (text == QStringLiteral("￥") ? 10 : 0);
        printer.selectFont(itemFont(items.value(3).toString(), items.value(4).toInt(), 0, 0, 0, QString()));
        expected.append({name, text,
                         (printerPixels(x, PdfPrinter::kResolution) + 2 * printer.averageCharWidth()) * 25.4
                             / PdfPrinter::kResolution,
                         printerPixels(items.value(2).toInt(), PdfPrinter::kResolution) * 25.4 / PdfPrinter::kResolution});
    }
    // Figures, words, the date and every party reach the paper.
    EXPECT_GE(expected.size(), 15);

    const QList<pdfreader::Word> words = pdfreader::words(printer.lastFile());
    EXPECT_EQ(words.size(), wordCount);
    for (const Expected& e : expected) {
        const bool found = std::any_of(words.begin(), words.end(), [&](const pdfreader::Word& w) {
            return w.text == e.text && std::abs(w.xMin / pdfreader::kPointsPerMm - e.xMm) <= kToleranceMm
                   && std::abs(w.yMin / pdfreader::kPointsPerMm - e.yMm) <= kToleranceMm;
        });
        EXPECT_TRUE(found) << e.name.toStdString() << " \"" << e.text.toStdString() << "\" at " << e.xMm << ", " << e.yMm;
    }
}

// Other software prints and saves through the same form: with --save the bill is in its
// history table, without it nothing is stored; a bad key prints and stores nothing.
TEST_P(BillFormTest, PrintFromValuesSavesOnlyWhenAsked)
{
    QJsonObject values{{kind().payeeNameBox(), QStringLiteral("北京某某贸易有限公司")},
                       {QStringLiteral("SelDate"), QStringLiteral("2026-03-15")}};
    if (kind().bankBill)
        values.insert(amountKey(), QStringLiteral("１２３４．５"));
    RecordingPrinter printer;
    const PrintFromValuesResult printed = printBillFromValues(context, kind().billType, QString(), values, printer, false);
    ASSERT_TRUE(printed.ok) << printed.error.toStdString();
    EXPECT_EQ(printed.serial, -1);
    EXPECT_EQ(rows(kind()), 0);
    EXPECT_GE(printer.texts().size(), 4);

    const PrintFromValuesResult saved = printBillFromValues(context, kind().billType, QString(), values, printer, true);
    ASSERT_TRUE(saved.ok) << saved.error.toStdString();
    ASSERT_GT(saved.serial, 0);
    const std::optional<BillValues> row = BillStore(db(), kind()).load(saved.serial);
    ASSERT_TRUE(row);
    EXPECT_TRUE(row->values().contains(QStringLiteral("北京某某贸易有限公司")));
    EXPECT_EQ(row->value(kind().dateColumn).toDate(), QDate(2026, 3, 15));
    if (kind().bankBill)
        EXPECT_EQ(storedFen(row->value(QStringLiteral("金额"))), 123450);
    EXPECT_TRUE(messages.messages.isEmpty());

    const int before = printer.events.size();
    QJsonObject bad = values;
    bad.insert(QStringLiteral("没有这项"), QStringLiteral("x"));
    const PrintFromValuesResult refused = printBillFromValues(context, kind().billType, QString(), bad, printer, true);
    EXPECT_FALSE(refused.ok);
    EXPECT_TRUE(refused.badInput);
    EXPECT_EQ(refused.error, QStringLiteral("未知的项目：没有这项"));
    EXPECT_EQ(printer.events.size(), before);
    EXPECT_EQ(rows(kind()), 1);

    // A database that cannot store the bill is the machine's failure, told once.
    db().execute(QStringLiteral("drop table %1").arg(kind().historyTable));
    const PrintFromValuesResult failed = printBillFromValues(context, kind().billType, QString(), values, printer, true);
    EXPECT_FALSE(failed.ok);
    EXPECT_FALSE(failed.badInput);
    EXPECT_EQ(messages.messages.size(), 1);
}

// A save that fails when the form is closed is told, and the bill stays on screen.
TEST_P(BillFormTest, FailedSaveOnClosingKeepsTheForm)
{
    auto form = open(kind());
    form->setInComp(QStringLiteral("收款单位甲"));
    ASSERT_TRUE(enterAmount(*form, QStringLiteral("10")));
    db().execute(QStringLiteral("drop table %1").arg(kind().historyTable));
    messages.answer = true;
    EXPECT_FALSE(form->close());
    ASSERT_FALSE(messages.messages.isEmpty());
    EXPECT_EQ(messages.messages.first().text, kind().closeQuestion);
    EXPECT_EQ(messages.messages.last().caption, QStringLiteral("错误"));
}

// The save button saves every kind (the custom form's included), and the amount column
// holds the figures as each kind stores them.
TEST_P(BillFormTest, SaveButtonStoresTheBill)
{
    auto form = open(kind());
    form->setInComp(QStringLiteral("收款单位甲"));
    ASSERT_TRUE(enterAmount(*form, QStringLiteral("1,234.5")));
    button(form.get(), "btSaveCheck")->click();
    EXPECT_EQ(messages.texts(), QStringList{kind().insertedMessage});
    ASSERT_EQ(rows(kind()), 1);
    if (kind().bankBill)
        EXPECT_EQ(storedFen(db().scalar(QStringLiteral("select 金额 from %1").arg(kind().historyTable))), 123450);
    // Reopened, the bill shows the same amount and can be saved over unless it is history.
    const int serial = form->session().recordNumber;
    auto again = open(kind());
    again->BrowseOldCheck(QString(), QString::number(serial));
    EXPECT_FALSE(form->boxText(kind().closeAlsoNeeds).isEmpty());
    EXPECT_EQ(again->boxText(kind().closeAlsoNeeds), form->boxText(kind().closeAlsoNeeds));
    EXPECT_EQ(again->session().history, kind().writesUsedStatus || !kind().hasStatus);
}

INSTANTIATE_TEST_SUITE_P(Kinds, BillFormTest, ::testing::ValuesIn(billKinds()), kindName);

class BankFormRulesTest : public BillFormFixture {};

TEST_F(BankFormRulesTest, DepositSlipSwapsItsPartiesAndShortensTheYear)
{
    auto slip = open(depositSlipKind());
    slip->setBoxText(QStringLiteral("zdOutComp"), QStringLiteral("出票甲"));
    slip->setBoxText(QStringLiteral("zdOutBankAcct"), QStringLiteral("111"));
    slip->setBoxText(QStringLiteral("zdInComp"), QStringLiteral("收款乙"));
    slip->setBoxText(QStringLiteral("zdInBank"), QStringLiteral("乙银行"));
    QCheckBox* swap = tick(slip.get(), "cfgChangeInOuter");
    swap->setChecked(true);
    EXPECT_EQ(slip->boxText(QStringLiteral("zdOutComp")), QStringLiteral("收款乙"));
    EXPECT_EQ(slip->boxText(QStringLiteral("zdOutBank")), QStringLiteral("乙银行"));
    EXPECT_EQ(slip->boxText(QStringLiteral("cgInComp")), QStringLiteral("出票甲"));
    EXPECT_EQ(slip->boxText(QStringLiteral("zdInBankAcct")), QStringLiteral("111"));
    swap->setChecked(false);
    EXPECT_EQ(slip->boxText(QStringLiteral("zdOutComp")), QStringLiteral("出票甲"));
    EXPECT_EQ(slip->boxText(QStringLiteral("zdInComp")), QStringLiteral("收款乙"));
    EXPECT_EQ(slip->boxText(QStringLiteral("zdOutBankAcct")), QStringLiteral("111"));

    slip->setDate(QDate(2024, 3, 10));
    tick(slip.get(), "cfgDateChinese")->setChecked(false);
    tick(slip.get(), "cfgMiniYear")->setChecked(true);
    EXPECT_EQ(slip->boxText(QStringLiteral("zdNian")), QStringLiteral("24"));
    EXPECT_EQ(slip->boxText(QStringLiteral("cgNian")), QStringLiteral("24"));
    tick(slip.get(), "cfgDateChinese")->setChecked(true);
    EXPECT_EQ(slip->boxText(QStringLiteral("zdNian")), QStringLiteral("贰零贰肆"));
    EXPECT_EQ(slip->boxText(QStringLiteral("cgYue")), QStringLiteral("零叁"));
}

// An account looks its bank up: one bank fills the box, none empties it, two are an
// anomaly that leaves the box as it was.
TEST_F(BankFormRulesTest, AccountLooksUpItsBank)
{
    addParty(QStringLiteral("甲"), QStringLiteral("甲银行"), QStringLiteral("100"), TPerson::kCounterpartUnit);
    addParty(QStringLiteral("乙"), QStringLiteral("乙银行"), QStringLiteral("200"), TPerson::kCounterpartUnit);
    addParty(QStringLiteral("丙"), QStringLiteral("丙银行"), QStringLiteral("200"), TPerson::kCounterpartUnit);
    for (const BillKind* kind : {&depositSlipKind(), &wireTransferKind(), &customFormKind()}) {
        SCOPED_TRACE(kind->formName.toStdString());
        messages.messages.clear();
        auto form = open(*kind);
        form->setBoxText(QStringLiteral("zdInBankAcct"), QStringLiteral(" 100"));
        EXPECT_EQ(form->boxText(QStringLiteral("zdInBankAcct")), QStringLiteral("100"));
        EXPECT_EQ(form->boxText(QStringLiteral("zdInBank")), QStringLiteral("甲银行"));
        form->setBoxText(QStringLiteral("zdInBankAcct"), QStringLiteral("200"));
        EXPECT_EQ(form->boxText(QStringLiteral("zdInBank")), QStringLiteral("甲银行"));
        EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("异常：查询到账号中同一个账号对应两个银行的错误数据,200")});
        form->setBoxText(QStringLiteral("zdInBankAcct"), QStringLiteral("300"));
        EXPECT_EQ(form->boxText(QStringLiteral("zdInBank")), QString());
    }
}

TEST_F(BankFormRulesTest, ChequeConvertsIntoADepositSlip)
{
    addParty(QStringLiteral("我方甲"), QStringLiteral("登记的银行"), QStringLiteral("8888"), TPerson::kOwnUnit);
    auto cheque = open<TfmCheckZP>(chequeKind());
    std::unique_ptr<TfmCheckJZD> slip;
    BillFormCommands commands;
    commands.depositSlip = [&] {
        if (!slip)
            slip = open<TfmCheckJZD>(depositSlipKind());
        return slip.get();
    };
    cheque->setCommands(commands);
    QToolButton* convert = button(cheque.get(), "bt2CheckJZD");
    ASSERT_TRUE(convert->isEnabled());

    cheque->setInComp(QStringLiteral("收款单位乙"));
    cheque->setBoxText(QStringLiteral("zdOutComp"), QStringLiteral("我方甲"));
    cheque->setBoxText(QStringLiteral("zdOutBank"), QStringLiteral("填写的银行"));
    cheque->setBoxText(QStringLiteral("zdOutBankAcct"), QStringLiteral("8888"));
    cheque->setBoxText(QStringLiteral("zdPJBH"), QStringLiteral("NO123"));
    cheque->setMoneyName(QStringLiteral("人民币"));
    ASSERT_TRUE(cheque->setJEXX(QStringLiteral("88.5")));
    cheque->setDate(QDate(2026, 2, 3));
    convert->click();
    ASSERT_TRUE(slip);
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("账号(8888)的银行信息与填写的不一致，请核对单位账户相应资料.\n登记的银行\n填写的银行")});
    EXPECT_EQ(slip->boxText(QStringLiteral("zdInComp")), QStringLiteral("收款单位乙"));
    EXPECT_EQ(slip->boxText(QStringLiteral("zdOutComp")), QStringLiteral("我方甲"));
    EXPECT_EQ(slip->boxText(QStringLiteral("zdOutBank")), QStringLiteral("登记的银行"));
    EXPECT_EQ(slip->boxText(QStringLiteral("cgOutBankAcct")), QStringLiteral("8888"));
    EXPECT_EQ(slip->boxText(QStringLiteral("zdPJZL")), QStringLiteral("支票"));
    EXPECT_EQ(slip->boxText(QStringLiteral("cgPJZL")), QStringLiteral("支票"));
    EXPECT_EQ(slip->boxText(QStringLiteral("zdPJZS")), QStringLiteral("1"));
    EXPECT_EQ(slip->boxText(QStringLiteral("zdPJHM")), QStringLiteral("NO123"));
    EXPECT_EQ(slip->boxText(QStringLiteral("zdJEXX")), QStringLiteral("￥88.50"));
    EXPECT_EQ(slip->date(), QDate(2026, 2, 3));
    EXPECT_FALSE(slip->session().transfer);

    // An account nobody has recorded: declining to add it still fills bank and account.
    slip.reset();
    messages.messages.clear();
    messages.answer = false;
    cheque->setBoxText(QStringLiteral("zdOutBankAcct"), QStringLiteral("9999"));
    convert->click();
    ASSERT_TRUE(slip);
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("账号(9999)没有单位账户的保存记录，是否要添加")});
    EXPECT_EQ(slip->boxText(QStringLiteral("zdOutBank")), QStringLiteral("填写的银行"));
    EXPECT_EQ(slip->boxText(QStringLiteral("zdOutBankAcct")), QStringLiteral("9999"));
    EXPECT_EQ(slip->sender(), nullptr);
}

TEST_F(BankFormRulesTest, WireTransferConvertsWithItsTexts)
{
    auto transfer = open(wireTransferKind());
    std::unique_ptr<TfmCheckJZD> slip;
    BillFormCommands commands;
    commands.depositSlip = [&] {
        slip = open<TfmCheckJZD>(depositSlipKind());
        return slip.get();
    };
    transfer->setCommands(commands);
    transfer->setBoxText(QStringLiteral("zdOutComp"), QStringLiteral("汇款甲"));
    transfer->setBoxText(QStringLiteral("zdOutBankAcct"), QStringLiteral("101"));
    transfer->setInComp(QStringLiteral("收款乙"));
    transfer->setBoxText(QStringLiteral("zdInBank"), QStringLiteral("乙行"));
    ASSERT_TRUE(transfer->setJEXX(QStringLiteral("5")));
    button(transfer.get(), "bt2CheckJZD")->click();
    ASSERT_TRUE(slip);
    EXPECT_EQ(slip->boxText(QStringLiteral("zdOutComp")), QStringLiteral("汇款甲"));
    EXPECT_EQ(slip->boxText(QStringLiteral("zdOutBankAcct")), QStringLiteral("101"));
    EXPECT_EQ(slip->boxText(QStringLiteral("zdInComp")), QStringLiteral("收款乙"));
    EXPECT_EQ(slip->boxText(QStringLiteral("cgInBank")), QStringLiteral("乙行"));
    EXPECT_EQ(slip->boxText(QStringLiteral("zdPJZL")), QString());
    EXPECT_EQ(slip->boxText(QStringLiteral("zdJEDX")), QStringLiteral("伍元整"));
}

// A wire transfer filled on a number entered in advance uses that number: its row is
// saved as "已用" and the number is not offered again.
TEST_F(BankFormRulesTest, WireTransferOnAPreEnteredNumberUsesIt)
{
    db().execute(QStringLiteral("insert into DataDHDTable (票据编号, 票据状态, 出票人开户行, 出票人账号) values "
                                "('D1', '未用', '预录银行', '555')"));
    auto transfer = open(wireTransferKind());
    auto* number = qobject_cast<QComboBox*>(findNamedControl(transfer.get(), QStringLiteral("zdPJBH")));
    ASSERT_EQ(number->count(), 1);
    number->setCurrentIndex(0);
    emit number->textActivated(QStringLiteral("D1"));
    EXPECT_EQ(transfer->boxText(QStringLiteral("zdOutBank")), QStringLiteral("预录银行"));
    transfer->setInComp(QStringLiteral("收款乙"));
    ASSERT_TRUE(transfer->setJEXX(QStringLiteral("5")));
    ASSERT_TRUE(transfer->saveBill());
    EXPECT_EQ(db().scalar(QStringLiteral("select 票据状态 from DataDHDTable where 票据编号='D1'")).toString(), QStringLiteral("已用"));
    EXPECT_EQ(rows(wireTransferKind()), 1);
    EXPECT_EQ(number->count(), 0);
    auto next = open(wireTransferKind());
    EXPECT_EQ(qobject_cast<QComboBox*>(findNamedControl(next.get(), QStringLiteral("zdPJBH")))->count(), 0);
}

TEST_F(BankFormRulesTest, CustomFormFillsItsUpperCaseDigitBoxes)
{
    auto form = open(customFormKind());
    const QStringList boxes = {QStringLiteral("zdDXYY"), QStringLiteral("zdDXQW"), QStringLiteral("zdDXBW"),
                               QStringLiteral("zdDXSW"), QStringLiteral("zdDXWY"), QStringLiteral("zdDXQY"),
                               QStringLiteral("zdDXBY"), QStringLiteral("zdDXSY"), QStringLiteral("zdDXY"),
                               QStringLiteral("zdDXJ"),  QStringLiteral("zdDXF")};
    const auto digits = [&] {
        QString text;
        for (const QString& box : boxes)
            text += form->boxText(box).isEmpty() ? QStringLiteral("_") : form->boxText(box);
        return text;
    };
    ASSERT_TRUE(form->setJEXX(QStringLiteral("1234.5")));
    EXPECT_EQ(digits(), QStringLiteral("零零零零零壹贰叁肆伍零"));
    ASSERT_TRUE(form->setJEXX(QStringLiteral("0")));
    EXPECT_EQ(digits(), QStringLiteral("___________"));
    EXPECT_EQ(form->boxText(QStringLiteral("zdJEXX")), QStringLiteral("0.00"));
}

TEST_F(BankFormRulesTest, PaymentSlipNamesTheCurrencyOfItsAmount)
{
    auto form = open(paymentSlipKind());
    EXPECT_EQ(form->boxText(QStringLiteral("zdMoney")), QString());
    form->setMoneyName(QStringLiteral("美元"));
    ASSERT_TRUE(form->setJEXX(QStringLiteral("20")));
    EXPECT_EQ(form->boxText(QStringLiteral("zdMoney")), QStringLiteral("美元"));
    EXPECT_EQ(form->boxText(QStringLiteral("zdJEDX")), QStringLiteral("美元贰拾元整"));
    // "新建" empties the payee, the amount and the purpose, and titles the new bill.
    form->setBoxText(QStringLiteral("zdYT"), QStringLiteral("学费"));
    button(form.get(), "btNewCheck")->click();
    EXPECT_EQ(form->boxText(QStringLiteral("zdYT")), QString());
    EXPECT_EQ(form->boxText(QStringLiteral("zdJEXX")), QStringLiteral("0.00"));
    EXPECT_EQ(form->windowTitle(), QStringLiteral("新缴款单-ID=-1"));
}

// Saved by a kind that writes no status, a bill loads as a new one that saving updates.
TEST_F(BankFormRulesTest, StoredDepositSlipReopensAsANewBill)
{
    auto slip = open(depositSlipKind());
    slip->setInComp(QStringLiteral("收款乙"));
    ASSERT_TRUE(slip->setJEXX(QStringLiteral("5")));
    ASSERT_TRUE(slip->saveBill());
    const int serial = slip->session().recordNumber;
    auto again = open(depositSlipKind());
    again->BrowseOldCheck(QString(), QString::number(serial));
    EXPECT_EQ(again->windowTitle(), QStringLiteral("进账单（流水号为：%1)").arg(serial));
    EXPECT_EQ(again->boxText(QStringLiteral("cgInComp")), QStringLiteral("收款乙"));
    again->setBoxText(QStringLiteral("zdRemark"), QStringLiteral("改"));
    messages.messages.clear();
    ASSERT_TRUE(again->saveBill());
    EXPECT_EQ(messages.texts(), QStringList{depositSlipKind().editedMessage});
    EXPECT_EQ(rows(depositSlipKind()), 1);
}

// The due date typed as days after issue becomes words on Enter, and its date is stored
// for the reminder; an empty box stores none, and an unreadable one is told while the
// draft is still saved.
TEST_F(BankFormRulesTest, AcceptanceDraftStoresTheDateItsDueDateWordsName)
{
    auto draft = open(acceptanceDraftKind());
    EXPECT_TRUE(button(draft.get(), "btMultiPrintS")->isEnabled());
    auto* due = qobject_cast<QComboBox*>(findNamedControl(draft.get(), QStringLiteral("zdTimeOutDate")));
    ASSERT_NE(due, nullptr);
    EXPECT_EQ(due->count(), 7);
    draft->setDate(QDate(2024, 1, 15));
    draft->setInComp(QStringLiteral("收款单位乙"));
    ASSERT_TRUE(draft->setJEXX(QStringLiteral("100")));
    due->setEditText(QStringLiteral("+90"));
    emit due->lineEdit()->returnPressed();
    EXPECT_EQ(due->currentText(), QStringLiteral("贰零贰肆年零肆月壹拾肆日"));
    ASSERT_TRUE(draft->saveBill());
    const int serial = draft->session().recordNumber;
    const auto stored = [&](const char* column) {
        return db().scalar(QStringLiteral("select %1 from DataCDHPTable where 流水号=:id").arg(QString::fromUtf8(column)),
                           {{QStringLiteral("id"), serial}});
    };
    EXPECT_EQ(stored("汇票到期日").toString(), QStringLiteral("贰零贰肆年零肆月壹拾肆日"));
    EXPECT_EQ(stored("到期日期").toString(), QStringLiteral("2024-04-14"));
    EXPECT_EQ(stored("票据状态").toString(), QStringLiteral("已用"));

    due->setEditText(QString());
    draft->session().edited();
    ASSERT_TRUE(draft->saveBill());
    EXPECT_TRUE(stored("到期日期").isNull());

    messages.messages.clear();
    due->setEditText(QStringLiteral("abc"));
    draft->session().edited();
    ASSERT_TRUE(draft->saveBill());
    const QStringList told = messages.texts();
    ASSERT_EQ(told.size(), 3);
    EXPECT_TRUE(told[0].startsWith(QStringLiteral("请输入正确的日期格式")));
    EXPECT_TRUE(told[1].startsWith(QStringLiteral("到期日期保存失败,可能影响到期提醒,")));
    EXPECT_EQ(told[2], acceptanceDraftKind().editedMessage);
    EXPECT_TRUE(stored("到期日期").isNull());
}

TEST_F(BankFormRulesTest, AcceptanceDraftWordsFollowCircleAndCurrency)
{
    auto draft = open(acceptanceDraftKind());
    tick(draft.get(), "cfgJEDXRMBChecked")->setChecked(true);
    tick(draft.get(), "cfgJEDXYuan")->setChecked(true);
    ASSERT_TRUE(draft->setJEXX(QStringLiteral("1,234.5")));
    EXPECT_EQ(draft->boxText(QStringLiteral("zdJEXX")), QStringLiteral("1234.50"));
    EXPECT_EQ(draft->boxText(QStringLiteral("zdJEDX")), QStringLiteral("人民币壹仟贰佰叁拾肆圆伍角整"));
    EXPECT_EQ(draft->boxText(QStringLiteral("zdQY")), QStringLiteral("1"));
    draft->setMoneyName(QStringLiteral("美元"));
    EXPECT_EQ(draft->boxText(QStringLiteral("zdJEDX")), QStringLiteral("美元壹仟贰佰叁拾肆圆伍角整"));
    // A refused amount empties the amount boxes.
    EXPECT_FALSE(draft->setJEXX(QStringLiteral("1.2.3")));
    EXPECT_EQ(messages.texts().last(), QStringLiteral("金额只能为数值，例如：123.50  ！"));
    EXPECT_EQ(draft->boxText(QStringLiteral("zdJEXX")), QString());
    EXPECT_EQ(draft->boxText(QStringLiteral("zdJEDX")), QString());
}

TEST_F(BankFormRulesTest, AcceptanceDraftFromValuesTakesDaysOrADate)
{
    RecordingPrinter printer;
    QJsonObject values{{QStringLiteral("zdInComp"), QStringLiteral("某某")},
                       {QStringLiteral("金额"), QStringLiteral("12")},
                       {QStringLiteral("出票日期"), QStringLiteral("2024-01-15")},
                       {QStringLiteral("zdTimeOutDate"), QStringLiteral("+90")}};
    const PrintFromValuesResult saved = printBillFromValues(context, QStringLiteral("承兑汇票"), QString(), values, printer, true);
    ASSERT_TRUE(saved.ok) << saved.error.toStdString();
    EXPECT_EQ(db().scalar(QStringLiteral("select 到期日期 from DataCDHPTable")).toString(), QStringLiteral("2024-04-14"));
    EXPECT_TRUE(messages.messages.isEmpty());

    const int before = printer.events.size();
    for (const auto& [typed, told] : {std::pair{"abc", "请输入正确的日期格式"}, std::pair{"明年", "到期日期保存失败"}}) {
        values.insert(QStringLiteral("zdTimeOutDate"), QString::fromUtf8(typed));
        const PrintFromValuesResult refused =
            printBillFromValues(context, QStringLiteral("承兑汇票"), QString(), values, printer, true);
        EXPECT_FALSE(refused.ok);
        EXPECT_TRUE(refused.badInput);
        EXPECT_TRUE(refused.error.startsWith(QString::fromUtf8(told))) << refused.error.toStdString();
    }
    EXPECT_EQ(printer.events.size(), before);
    EXPECT_EQ(rows(acceptanceDraftKind()), 1);
}

// Each tick group stores the caption of its first ticked item; a group with nothing
// ticked leaves its column as it was.
TEST_F(BankFormRulesTest, RemittanceStoresItsTickGroupsAsCaptions)
{
    auto form = open(remittanceKind());
    form->setInComp(QStringLiteral("PACIFIC TRADING"));
    form->setBoxText(QStringLiteral("XIANHJE"), QStringLiteral("100"));
    form->setBoxText(QStringLiteral("GOUHJE"), QStringLiteral("50.5"));
    ASSERT_TRUE(form->setJEXX(QString()));
    EXPECT_EQ(form->boxText(QStringLiteral("TOTALJEDX")), QStringLiteral("美元壹佰伍拾元伍角整"));
    tick(form.get(), "CK_DUIS")->setChecked(true);
    form->setBoxText(QStringLiteral("DUISIDENTITY"), QStringLiteral("110101199001011234"));
    tick(form.get(), "CK_FEE_BEN")->setChecked(true);
    tick(form.get(), "CK_FEE_SHA")->setChecked(true);
    tick(form.get(), "CK_HEXIAO_YES")->setChecked(true);
    ASSERT_TRUE(form->saveBill());
    const int serial = form->session().recordNumber;
    const auto stored = [&](const char* column) {
        return db().scalar(QStringLiteral("select %1 from DataJWHTable where 流水号=:id").arg(QString::fromUtf8(column)),
                           {{QStringLiteral("id"), serial}});
    };
    EXPECT_EQ(stored("汇款人类型").toString(), QStringLiteral("对私"));
    EXPECT_EQ(stored("汇款人身份编号").toString(), QStringLiteral("110101199001011234"));
    EXPECT_EQ(stored("费用承担").toString(), QStringLiteral("收款人付"));
    EXPECT_TRUE(stored("收款类型").isNull());
    EXPECT_EQ(stored("进口核销项下付款").toString(), QStringLiteral("核销下付款"));
    EXPECT_EQ(normalizeAmount(stored("金额").toString()), QStringLiteral("150.50"));
    EXPECT_EQ(stored("票据状态").toString(), QStringLiteral("已用"));

    // Reopened, the ticks come back; unticking a whole group keeps what was stored.
    auto again = open(remittanceKind());
    again->BrowseOldCheck(QString(), QString::number(serial));
    EXPECT_TRUE(tick(again.get(), "CK_DUIS")->isChecked());
    EXPECT_TRUE(tick(again.get(), "CK_FEE_BEN")->isChecked());
    EXPECT_FALSE(tick(again.get(), "CK_FEE_SHA")->isChecked());
    EXPECT_EQ(again->boxText(QStringLiteral("XIANHJE")), form->boxText(QStringLiteral("XIANHJE")));
    db().execute(QStringLiteral("update DataJWHTable set 票据状态='' where 流水号=:id"), {{QStringLiteral("id"), serial}});
    again->BrowseOldCheck(QString(), QString::number(serial));
    tick(again.get(), "CK_FEE_BEN")->setChecked(false);
    ASSERT_TRUE(again->saveBill());
    EXPECT_EQ(stored("费用承担").toString(), QStringLiteral("收款人付"));
}

TEST_F(BankFormRulesTest, RemittanceEntersAmountsAndAccountsOverTheirBoxes)
{
    db().execute(QStringLiteral("insert into DMTable (CheckTypeId, DMName, DMValue) values (0, '外汇账户', 'USD-001')"));
    auto form = open(remittanceKind());
    form->show();
    auto* spot = qobject_cast<QLineEdit*>(findNamedControl(form.get(), QStringLiteral("XIANHJE")));
    spot->setFocus();
    QApplication::processEvents();
    auto* entry = qobject_cast<QLineEdit*>(findNamedControl(form.get(), QStringLiteral("inputJEXX")));
    ASSERT_TRUE(entry->isVisible());
    QTest::keyClicks(entry, QStringLiteral("1234.5"));
    QTest::keyClick(entry, Qt::Key_Return);
    EXPECT_EQ(form->boxText(QStringLiteral("XIANHJE")), QStringLiteral("USD1,234.50"));
    EXPECT_EQ(form->boxText(QStringLiteral("TOTALJEXX")), QStringLiteral("USD1,234.50"));

    auto* account = qobject_cast<QLineEdit*>(findNamedControl(form.get(), QStringLiteral("GouHACCT")));
    const bool saved = form->session().saved;
    account->setFocus();
    QApplication::processEvents();
    auto* list = form->findChild<QComboBox*>(QStringLiteral("CBWaiHuiAcct"));
    ASSERT_TRUE(list->isVisible());
    EXPECT_EQ(list->count(), 1);
    EXPECT_EQ(form->session().saved, saved);
    list->setEditText(QStringLiteral("USD-001"));
    spot->setFocus();
    QApplication::processEvents();
    EXPECT_FALSE(list->isVisible());
    EXPECT_EQ(account->text(), QStringLiteral("USD-001"));

    form->setDate(QDate(2026, 3, 5));
    auto* format = form->findChild<QComboBox*>(QStringLiteral("cfgDateFormat"));
    format->setCurrentText(QStringLiteral("YYYY年MM月DD日"));
    EXPECT_EQ(form->boxText(QStringLiteral("zdNianYueRi")), QStringLiteral("2026年03月05日"));
}

class WaybillTest : public BillFormFixture {
protected:
    std::unique_ptr<TfmBillForm> openWaybill()
    {
        auto form = open(waybillKind());
        form->show();
        return form;
    }
    QComboBox* choice(QWidget* form, const char* name) { return form->findChild<QComboBox*>(QString::fromLatin1(name)); }
    // Entering and leaving a box as the keyboard would, window manager or not.
    void focus(QWidget* box, bool in)
    {
        QFocusEvent event(in ? QEvent::FocusIn : QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(box, &event);
    }
};

// The amount box shows what its format makes of the figures, and gives the figures back
// for editing; they live in the form, not in the box's hint.
TEST_F(WaybillTest, AmountBoxKeepsItsFiguresWhateverItShows)
{
    auto form = openWaybill();
    auto* amount = qobject_cast<QLineEdit*>(findNamedControl(form.get(), QStringLiteral("zdJEDX1")));
    auto* other = qobject_cast<QLineEdit*>(findNamedControl(form.get(), QStringLiteral("edtWeight")));
    const QString hint = amount->toolTip();
    Q_UNUSED(other);
    choice(form.get(), "cfgJEDXFormat")->setCurrentText(QStringLiteral("00000.00  限万位到分"));
    focus(amount, true);
    amount->setText(QStringLiteral("1234.5"));
    focus(amount, false);
    EXPECT_EQ(amount->text(), QStringLiteral("零壹贰叁肆伍零"));
    EXPECT_EQ(amount->toolTip(), hint);
    choice(form.get(), "cfgJEDXFormat")->setCurrentText(QStringLiteral("打印中国传统大写金额"));
    EXPECT_EQ(amount->text(), QStringLiteral("壹仟贰佰叁拾肆元伍角整"));
    focus(amount, true);
    EXPECT_EQ(amount->text(), QStringLiteral("1234.5"));
    amount->setText(QStringLiteral("1,234"));
    focus(amount, false);
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("请输入有效数字，例如：116.5。 不接受全角数字,请尽量用小键盘输入~")});
    EXPECT_EQ(amount->text(), QStringLiteral("1,234"));
}

TEST_F(WaybillTest, MobileMergesIntoTheReceiversTelephone)
{
    auto form = openWaybill();
    form->setBoxText(QStringLiteral("zdskrDH"), QStringLiteral("0571-1234"));
    form->setBoxText(QStringLiteral("skrHandset"), QStringLiteral("13900000000"));
    QCheckBox* merge = tick(form.get(), "ckHandset2Phone");
    merge->setChecked(true);
    EXPECT_EQ(form->boxText(QStringLiteral("zdskrDH")), QStringLiteral("0571-1234\\13900000000"));
    merge->setChecked(false);
    EXPECT_EQ(form->boxText(QStringLiteral("zdskrDH")), QStringLiteral("0571-1234"));
    form->setBoxText(QStringLiteral("zdskrDH"), QStringLiteral("13900000000"));
    merge->setChecked(true);
    EXPECT_EQ(form->boxText(QStringLiteral("zdskrDH")), QStringLiteral("13900000000"));
    // The destination follows the receiver's city while asked to.
    tick(form.get(), "cfgDestSiteIsCity")->setChecked(true);
    form->setBoxText(QStringLiteral("zdSKRXS"), QStringLiteral("杭州"));
    EXPECT_EQ(form->boxText(QStringLiteral("cbDestSite")), QStringLiteral("杭州"));
    tick(form.get(), "cfgDestSiteIsCity")->setChecked(false);
    form->setBoxText(QStringLiteral("zdSKRXS"), QStringLiteral("宁波"));
    EXPECT_EQ(form->boxText(QStringLiteral("cbDestSite")), QStringLiteral("杭州"));
}

// "仅打印发件人" keeps every receiver field off the paper; unticking brings them back.
TEST_F(WaybillTest, PrintingOneSideOnly)
{
    auto form = openWaybill();
    form->setInComp(QStringLiteral("收件单位乙"));
    form->setBoxText(QStringLiteral("zdSKRLXR"), QStringLiteral("李四"));
    form->setBoxText(QStringLiteral("zdHKRLXR"), QStringLiteral("张三"));
    RecordingPrinter printer;
    SinglePrinterService service(printer);
    context.setPrintService(&service);
    const auto printed = [&] {
        printer.events.clear();
        EXPECT_TRUE(form->printBill(1));
        QStringList texts;
        for (const PrintEvent& e : printer.texts())
            texts << e.text;
        return texts.join(QLatin1Char('|'));
    };
    tick(form.get(), "ckPrintFJROnly")->setChecked(true);
    QString texts = printed();
    EXPECT_FALSE(texts.contains(QStringLiteral("李四")));
    EXPECT_FALSE(texts.contains(QStringLiteral("收件单位乙")));
    EXPECT_TRUE(texts.contains(QStringLiteral("张三")));
    tick(form.get(), "ckPrintFJROnly")->setChecked(false);
    texts = printed();
    EXPECT_TRUE(texts.contains(QStringLiteral("李四")));
    tick(form.get(), "cfgWantPrintRQ")->setChecked(false);
    EXPECT_FALSE(printed().contains(QStringLiteral("2026")));
    context.setPrintService(nullptr);
}

// The batch drives the job step by step: one page per receiver, one job.
TEST_F(WaybillTest, ReceiversPrintOnePageEachInOneJob)
{
    auto form = open(waybillKind());
    QTemporaryDir dir;
    PdfPrinter printer(dir.filePath(QStringLiteral("Output")));
    printer.setOutputFile(dir.filePath(QStringLiteral("batch.pdf")));
    SinglePrinterService service(printer);
    context.setPrintService(&service);
    ASSERT_TRUE(form->PrintPrepare());
    ASSERT_TRUE(form->PrinterTransBegin(0));
    const QStringList receivers = {QStringLiteral("收件甲"), QStringLiteral("收件乙"), QStringLiteral("收件丙")};
    for (qsizetype i = 0; i < receivers.size(); ++i) {
        TPerson person;
        person.setText(TPerson::FullName, receivers[i]);
        form->session().loading = true;
        form->setReceiver(&person);
        form->session().loading = false;
        ASSERT_TRUE(form->SendCheckToPrinter());
        if (i + 1 < receivers.size())
            ASSERT_TRUE(form->NewCheckPage());
    }
    ASSERT_TRUE(form->PrinterTransEnd()) << printer.errorText().toStdString();
    context.setPrintService(nullptr);
    EXPECT_EQ(pdfreader::info(printer.lastFile()).pages, 3);
    const QStringList pages = pdfreader::pageTexts(printer.lastFile());
    ASSERT_EQ(pages.size(), 3);
    for (qsizetype i = 0; i < receivers.size(); ++i)
        EXPECT_TRUE(pages[i].contains(receivers[i])) << pages[i].toStdString();
}

// A stored waybill reopens as history with every column as it was; copying and saving
// stores a new row; changing only the signature or the send hour is no change.
TEST_F(WaybillTest, StoredWaybillComesBackWhole)
{
    auto form = openWaybill();
    const QList<std::pair<QString, QString>> values = {
        {QStringLiteral("zdSKR"), QStringLiteral("收件单位乙")}, {QStringLiteral("zdSKRLXR"), QStringLiteral("李四")},
        {QStringLiteral("edtCountryDest"), QStringLiteral("日本")}, {QStringLiteral("cbFromSite"), QStringLiteral("北京")},
        {QStringLiteral("cbDestSite"), QStringLiteral("东京")},      {QStringLiteral("zdBaoZFee"), QStringLiteral("5")},
        {QStringLiteral("zdTiJi"), QStringLiteral("0.2")},          {QStringLiteral("edtAmount"), QStringLiteral("12")},
        {QStringLiteral("zdDef4"), QStringLiteral("D4")},
    };
    for (const auto& [box, text] : values)
        form->setBoxText(box, text);
    ASSERT_TRUE(form->saveBill());
    const int serial = form->session().recordNumber;
    EXPECT_EQ(form->windowTitle(), QStringLiteral("快递单(国内快递单)-ID=%1").arg(serial));
    form->setBoxText(QStringLiteral("zdSign"), QStringLiteral("王五"));
    form->setBoxText(QStringLiteral("zdTime"), QStringLiteral("16"));
    messages.messages.clear();
    EXPECT_FALSE(form->saveBill());
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("没有改动,无需保存~")});

    auto again = openWaybill();
    again->BrowseOldCheck(QString(), QString::number(serial));
    EXPECT_TRUE(again->session().history);
    EXPECT_EQ(again->windowTitle(), QStringLiteral("历史快递单查看（流水号为：%1)").arg(serial));
    for (const auto& [box, text] : values)
        EXPECT_EQ(again->boxText(box), text) << box.toStdString();
    messages.messages.clear();
    EXPECT_FALSE(again->saveBill());
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("历史单据不能保存，请点击【复制】后,再保存为新单据！")});
    button(again.get(), "btSaveAs")->click();
    EXPECT_EQ(again->windowTitle(), QStringLiteral("已复制保存过的单据为一张新单~"));
    ASSERT_TRUE(again->saveBill());
    EXPECT_NE(again->session().recordNumber, serial);
    EXPECT_EQ(rows(waybillKind()), 2);
}

// Enter in the receiver box finds a full name, else a mnemonic with its wildcard.
TEST_F(WaybillTest, ReceiverFoundByNameOrMnemonic)
{
    TPerson person;
    person.setID(-1);
    person.setText(TPerson::FullName, QStringLiteral("杭州某某贸易"));
    person.setText(TPerson::InputCode, QStringLiteral("xabz"));
    person.setText(TPerson::Contactor, QStringLiteral("赵六"));
    person.setText(TPerson::UnitType, TPerson::kCounterpartUnit);
    person.save(db());
    auto form = openWaybill();
    auto* receiver = qobject_cast<QComboBox*>(findNamedControl(form.get(), QStringLiteral("zdSKR")));
    receiver->setEditText(QStringLiteral("ab%"));
    emit receiver->lineEdit()->returnPressed();
    EXPECT_EQ(form->boxText(QStringLiteral("zdSKR")), QStringLiteral("杭州某某贸易"));
    EXPECT_EQ(form->boxText(QStringLiteral("zdSKRLXR")), QStringLiteral("赵六"));
}
