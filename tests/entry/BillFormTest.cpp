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
#include <QPointer>
#include <QTabBar>
#include <QTemporaryDir>
#include <QToolButton>

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
    EXPECT_EQ(form->boxText(QStringLiteral("zdInComp")), QString());
    EXPECT_EQ(qobject_cast<QComboBox*>(findNamedControl(form.get(), QStringLiteral("zdInComp")))->currentText(),
              TfmBillForm::kPayeePrompt);
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
        QString text;
        double xMm;
        double yMm;
    };
    QList<Expected> expected;
    SqlQuery items = db().query(
        QStringLiteral("select c.CtlName, c.CtlX, c.CtlY, c.CtlFontName, c.CtlFontSize from NameDict n join CKControl c "
                       "on c.CtlName = n.CtlName and c.CheckTypeId = :id where n.CheckTypeName = :type and n.PrintItem = 1"),
        {{QStringLiteral("id"), id}, {QStringLiteral("type"), kind().billType}});
    while (items.next()) {
        const QString name = items.value(0).toString();
        const QString text = trimText(getControlValue(context, form.get(), name));
        if (text.isEmpty())
            continue;
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
    EXPECT_EQ(words.size(), expected.size());
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
    const QJsonObject values{{QStringLiteral("收款人全称"), QStringLiteral("北京某某贸易有限公司")},
                             {QStringLiteral("金额"), QStringLiteral("１２３４．５")},
                             {QStringLiteral("出票日期"), QStringLiteral("2026-03-15")}};
    RecordingPrinter printer;
    const PrintFromValuesResult printed = printBillFromValues(context, kind().billType, QString(), values, printer, false);
    ASSERT_TRUE(printed.ok) << printed.error.toStdString();
    EXPECT_EQ(printed.serial, -1);
    EXPECT_EQ(rows(kind()), 0);
    EXPECT_TRUE(printer.texts().size() > 5);

    const PrintFromValuesResult saved = printBillFromValues(context, kind().billType, QString(), values, printer, true);
    ASSERT_TRUE(saved.ok) << saved.error.toStdString();
    ASSERT_GT(saved.serial, 0);
    const std::optional<BillValues> row = BillStore(db(), kind()).load(saved.serial);
    ASSERT_TRUE(row);
    EXPECT_EQ(row->value(QStringLiteral("收款人全称")).toString(), QStringLiteral("北京某某贸易有限公司"));
    EXPECT_EQ(row->value(QStringLiteral("出票日期")).toDate(), QDate(2026, 3, 15));
    EXPECT_EQ(row->value(QStringLiteral("金额")).toString(),
              kind().amountStyle == AmountStyle::CurrencyOptions ? QStringLiteral("1234.5") : QStringLiteral("￥1,234.50"));
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
    ASSERT_TRUE(form->setJEXX(QStringLiteral("10")));
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
    ASSERT_TRUE(form->setJEXX(QStringLiteral("1,234.5")));
    button(form.get(), "btSaveCheck")->click();
    EXPECT_EQ(messages.texts(), QStringList{kind().insertedMessage});
    ASSERT_EQ(rows(kind()), 1);
    const QString stored = db().scalar(QStringLiteral("select 金额 from %1").arg(kind().historyTable)).toString();
    EXPECT_EQ(stored, kind().amountStyle == AmountStyle::CurrencyOptions ? QStringLiteral("1234.5")
                                                                           : QStringLiteral("￥1,234.50"));
    // Reopened, the bill shows the same amount and can be saved over unless it is history.
    const int serial = form->session().recordNumber;
    auto again = open(kind());
    again->BrowseOldCheck(QString(), QString::number(serial));
    EXPECT_EQ(again->boxText(QStringLiteral("zdJEDX")), form->boxText(QStringLiteral("zdJEDX")));
    EXPECT_EQ(again->session().history, kind().writesUsedStatus);
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
