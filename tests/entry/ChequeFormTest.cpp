#include "EntryFixture.h"
#include "PdfReader.h"

#include "entry/bills/CheckZP.h"
#include "entry/FormControls.h"
#include "entry/PrintFromValues.h"
#include "entry/PrintRenderer.h"
#include "platform/printing/PdfPrinter.h"
#include "platform/printing/RecordingPrinter.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QEvent>
#include <QComboBox>
#include <QJsonObject>
#include <QLineEdit>
#include <QPointer>
#include <QTemporaryDir>
#include <QToolButton>

using namespace slipcraft;

namespace {

constexpr double kToleranceMm = 0.1;

} // namespace

class ChequeFormTest : public EntryFixture {
protected:
    slipcraft::ProductData productData() const override { return slipcraft::ProductData::Include; }

    void SetUp() override
    {
        EntryFixture::SetUp();
        context.today = QDate(2026, 3, 10);
        templateId = db().scalar(QStringLiteral("select CheckTypeId from ckTypeTable where TypeFirstName='支票'")).toInt();
    }
    QString text(QWidget* form, const QString& name)
    {
        QWidget* control = findNamedControl(form, name);
        if (auto* edit = qobject_cast<QLineEdit*>(control))
            return edit->text();
        if (auto* box = qobject_cast<QComboBox*>(control))
            return box->currentText();
        return QStringLiteral("<missing>");
    }
    QLineEdit* edit(QWidget* form, const QString& name) { return qobject_cast<QLineEdit*>(findNamedControl(form, name)); }
    int rows() { return db().scalar(QStringLiteral("select count(*) from DataZPTable")).toInt(); }

    int templateId = 0;
};

TEST_F(ChequeFormTest, OpensOnTheDefaultTemplateWithItsBoxesPlaced)
{
    auto* form = new TfmCheckZP(context);
    QPointer<TfmCheckZP> guard(form);
    ASSERT_TRUE(form->hasTemplate());
    EXPECT_EQ(form->templateId(), templateId);
    EXPECT_EQ(context.currentTemplateId, templateId);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("支票(转账支票)-ID=-1"));
    EXPECT_TRUE(findNamedControl(form, QStringLiteral("zdInComp"))->isVisibleTo(form));
    EXPECT_FALSE(findNamedControl(form, QStringLiteral("zdJEXX"))->isVisibleTo(form));
    EXPECT_EQ(text(form, QStringLiteral("zdInComp")), TfmCheckZP::kPayeePrompt);
    // The seeded options put the face date in words.
    EXPECT_EQ(text(form, QStringLiteral("zdNian")), QStringLiteral("贰零贰陆"));
    EXPECT_EQ(text(form, QStringLiteral("cgRi")), QStringLiteral("10"));
    EXPECT_FALSE(findNamedControl(form, QStringLiteral("bt2CheckJZD"))->isEnabled());
    EXPECT_EQ(findNamedControl(form, QStringLiteral("bt2CheckJZD"))->toolTip(), QStringLiteral("此功能尚未开放"));
    EXPECT_TRUE(messages.messages.isEmpty());
    delete form;
    EXPECT_EQ(context.currentTemplateId, -1);
}

TEST_F(ChequeFormTest, ClosesItselfWithoutAnEnabledTemplate)
{
    db().execute(QStringLiteral("delete from ckTypeTable"));
    QPointer<TfmCheckZP> form = new TfmCheckZP(context);
    EXPECT_FALSE(form->hasTemplate());
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(form.isNull());
}

TEST_F(ChequeFormTest, AmountBoxesWordsAndFiguresAgree)
{
    TfmCheckZP form(context);
    form.setAttribute(Qt::WA_DeleteOnClose, false);
    struct Case {
        QString typed;
        QString figures;
        QString words;
        QStringList boxes; // zdYY … zdF
    };
    const QString e;
    const Case cases[] = {
        {QStringLiteral("1,234.50"), QStringLiteral("￥1,234.50"), QStringLiteral("人民币壹仟贰佰叁拾肆元伍角整"),
         {e, e, e, e, QStringLiteral("￥"), QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"),
          QStringLiteral("4"), QStringLiteral("5"), QStringLiteral("0")}},
        {QStringLiteral("0.125"), QStringLiteral("￥0.13"), QStringLiteral("人民币壹角叁分"),
         {e, e, e, e, e, e, e, e, QStringLiteral("￥"), QStringLiteral("1"), QStringLiteral("3")}},
        {QString(), e, e, {e, e, e, e, e, e, e, e, e, e, e}},
    };
    const QStringList names = {QStringLiteral("zdYY"), QStringLiteral("zdQW"), QStringLiteral("zdBW"), QStringLiteral("zdSW"),
                               QStringLiteral("zdWY"), QStringLiteral("zdQY"), QStringLiteral("zdBY"), QStringLiteral("zdSY"),
                               QStringLiteral("zdY"),  QStringLiteral("zdJ"),  QStringLiteral("zdF")};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        ASSERT_TRUE(form.setJEXX(c.typed));
        EXPECT_EQ(text(&form, QStringLiteral("zdJEXX")), c.figures);
        EXPECT_EQ(text(&form, QStringLiteral("cgJEXX")), c.figures);
        EXPECT_EQ(text(&form, QStringLiteral("zdJEDX")), c.words);
        QStringList boxes;
        for (const QString& name : names)
            boxes << text(&form, name);
        EXPECT_EQ(boxes, c.boxes);
    }
    // A refused amount leaves the boxes as they were.
    ASSERT_TRUE(form.setJEXX(QStringLiteral("8")));
    EXPECT_FALSE(form.setJEXX(QStringLiteral("1000000000")));
    EXPECT_EQ(messages.messages.last().text, QStringLiteral("金额值必须介于0~1,000,000,000之间！"));
    EXPECT_EQ(messages.messages.last().caption, QStringLiteral("金额输入"));
    EXPECT_EQ(text(&form, QStringLiteral("zdJEXX")), QStringLiteral("￥8.00"));
}

TEST_F(ChequeFormTest, SaveThenPrintAndSaveLeavesANewCopy)
{
    TfmCheckZP form(context);
    form.setAttribute(Qt::WA_DeleteOnClose, false);
    form.setInComp(QStringLiteral("收款单位甲"));
    qobject_cast<QComboBox*>(findNamedControl(&form, QStringLiteral("zdInComp")))->setEditText(QStringLiteral("收款单位甲"));
    ASSERT_TRUE(form.setJEXX(QStringLiteral("100")));
    EXPECT_EQ(text(&form, QStringLiteral("cgInComp")), QStringLiteral("收款单位甲"));

    ASSERT_TRUE(form.saveBill());
    const int first = form.session().recordNumber;
    EXPECT_EQ(form.windowTitle(), QStringLiteral("支票(转账支票)-ID=%1").arg(first));
    EXPECT_TRUE(findNamedControl(&form, QStringLiteral("btSaveAs"))->isEnabled());
    EXPECT_FALSE(form.saveBill());
    EXPECT_EQ(messages.messages.last().text, QStringLiteral("没有改动,无需保存~"));

    // Print and save with a recording printer: no message box after the save, the form
    // becomes an unsaved copy.
    RecordingPrinter printer;
    OnePrinterService service(printer);
    context.setPrintService(&service);
    edit(&form, QStringLiteral("zdZFMM"))->setText(QStringLiteral("8888"));
    messages.messages.clear();
    qobject_cast<QToolButton*>(findNamedControl(&form, QStringLiteral("btPrintAndSave")))->click();
    EXPECT_TRUE(messages.messages.isEmpty());
    EXPECT_EQ(rows(), 1);
    EXPECT_EQ(db().scalar(QStringLiteral("select 支付密码 from DataZPTable")).toString(), QStringLiteral("8888"));
    EXPECT_EQ(form.session().recordNumber, -1);
    EXPECT_FALSE(form.session().saved);
    EXPECT_FALSE(printer.texts().isEmpty());
    context.setPrintService(nullptr);
}

TEST_F(ChequeFormTest, HistoryChequeIsReloadedWithItsTickItems)
{
    db().execute(QStringLiteral("update ckTypeTable set CheckBoxs='A,B' where CheckTypeId=:id"), {{QStringLiteral("id"), templateId}});
    db().execute(QStringLiteral("insert into DataZPTable (模板种类, 其他选项, 票据状态, 金额, 收款人全称, 出票日期) values "
                                "('转账支票', 'B', '已用', '66', '乙', '2025-12-31')"));
    TfmCheckZP form(context);
    form.setAttribute(Qt::WA_DeleteOnClose, false);
    auto* a = qobject_cast<QCheckBox*>(findNamedControl(&form, QStringLiteral("DEFCHECK0")));
    auto* b = qobject_cast<QCheckBox*>(findNamedControl(&form, QStringLiteral("DEFCHECK1")));
    ASSERT_TRUE(a && b);
    EXPECT_EQ(a->text(), QStringLiteral("A"));
    a->setChecked(true);
    b->setChecked(true);
    form.BrowseOldCheck(QStringLiteral("转账支票"), QStringLiteral("1"));
    EXPECT_FALSE(a->isChecked());
    EXPECT_TRUE(b->isChecked());
    EXPECT_EQ(text(&form, QStringLiteral("zdJEDX")), QStringLiteral("人民币陆拾陆元整"));
    EXPECT_EQ(text(&form, QStringLiteral("cgInComp")), QStringLiteral("乙"));
    EXPECT_EQ(text(&form, QStringLiteral("cgNian")), QStringLiteral("2025"));
    EXPECT_TRUE(form.session().history);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("支票(转账支票)-ID=1[历史]"));
    EXPECT_TRUE(findNamedControl(&form, QStringLiteral("btSaveAs"))->isEnabled());
}

class ChequePrintTest : public ChequeFormTest {
protected:
    void SetUp() override
    {
        ChequeFormTest::SetUp();
        // Chinese text reads back reliably only in this face.
        db().execute(QStringLiteral("update CKControl set CtlFontName=:f"), {{QStringLiteral("f"), zenHei}});
    }
    QJsonObject values() const
    {
        return {{QStringLiteral("收款人全称"), QStringLiteral("北京某某贸易有限公司")},
                {QStringLiteral("金额"), QStringLiteral("1234.5")},
                {QStringLiteral("zdOutBank"), QStringLiteral("工商银行")},
                {QStringLiteral("zdOutBankAcct"), QStringLiteral("0200123")},
                {QStringLiteral("zdOutComp"), QStringLiteral("某某科技")},
                {QStringLiteral("用途"), QStringLiteral("货款")},
                {QStringLiteral("zdZFMM"), QStringLiteral("9876")},
                {QStringLiteral("出票日期"), QStringLiteral("2026-03-15")}};
    }

    const QString zenHei = QStringLiteral("WenQuanYi Zen Hei");
};

// End to end: every printed item lands where the template puts it, to 0.1 mm.
TEST_F(ChequePrintTest, EveryItemLandsAtItsTemplatePosition)
{
    QTemporaryDir dir;
    PdfPrinter printer(dir.filePath(QStringLiteral("Output")));
    const QString file = dir.filePath(QStringLiteral("cheque.pdf"));
    printer.setOutputFile(file);
    const PrintFromValuesResult result =
        printBillFromValues(context, QStringLiteral("支票"), QString(), values(), printer, false);
    ASSERT_TRUE(result.ok) << result.error.toStdString();
    EXPECT_EQ(rows(), 0);

    const QList<std::pair<QString, QString>> expected = {
        {QStringLiteral("ZDNIAN"), QStringLiteral("贰零贰陆")}, {QStringLiteral("ZDYUE"), QStringLiteral("零叁")},
        {QStringLiteral("ZDRI"), QStringLiteral("壹拾伍")},     {QStringLiteral("ZDOUTBANK"), QStringLiteral("工商银行")},
        {QStringLiteral("ZDOUTBANKACCT"), QStringLiteral("0200123")},
        {QStringLiteral("ZDINCOMP"), QStringLiteral("北京某某贸易有限公司")},
        {QStringLiteral("ZDJEDX"), QStringLiteral("人民币壹仟贰佰叁拾肆元伍角整")},
        {QStringLiteral("ZDWY"), QStringLiteral("￥")},         {QStringLiteral("ZDQY"), QStringLiteral("1")},
        {QStringLiteral("ZDBY"), QStringLiteral("2")},          {QStringLiteral("ZDSY"), QStringLiteral("3")},
        {QStringLiteral("ZDY"), QStringLiteral("4")},           {QStringLiteral("ZDJ"), QStringLiteral("5")},
        {QStringLiteral("ZDF"), QStringLiteral("0")},           {QStringLiteral("ZDYT"), QStringLiteral("货款")},
        {QStringLiteral("ZDZFMM"), QStringLiteral("9876")},     {QStringLiteral("ZDOUTCOMP"), QStringLiteral("某某科技")},
        {QStringLiteral("CGNIAN"), QStringLiteral("2026")},     {QStringLiteral("CGYUE"), QStringLiteral("03")},
        {QStringLiteral("CGRI"), QStringLiteral("15")},
        {QStringLiteral("CGINCOMP"), QStringLiteral("北京某某贸易有限公司")},
        {QStringLiteral("CGJEXX"), QStringLiteral("￥1,234.50")}, {QStringLiteral("CGYT"), QStringLiteral("货款")},
    };
    const QList<pdfreader::Word> words = pdfreader::words(file);
    EXPECT_EQ(words.size(), expected.size());
    const int pitch = getCellsWidth(db(), templateId, QStringLiteral("zdQY"), 35, QStringLiteral("zdBY"));
    for (const auto& [name, value] : expected) {
        SCOPED_TRACE(name.toStdString());
        SqlQuery row = db().query(QStringLiteral("select CtlX, CtlY, CtlFontSize from CKControl where CheckTypeId=:id and CtlName=:n"),
                                  {{QStringLiteral("id"), templateId}, {QStringLiteral("n"), name}});
        ASSERT_TRUE(row.next());
        // The double-width currency mark sits 1 mm left of its box.
        const int x = row.value(0).toInt() - (value == QStringLiteral("￥") ? 10 : 0);
        printer.selectFont(itemFont(zenHei, row.value(2).toInt(), 0, 0, 0, QString()));
        const double xMm = (printerPixels(x, PdfPrinter::kResolution) + 2 * printer.averageCharWidth()) * 25.4
                           / PdfPrinter::kResolution;
        const double yMm = printerPixels(row.value(1).toInt(), PdfPrinter::kResolution) * 25.4 / PdfPrinter::kResolution;
        const bool found = std::any_of(words.begin(), words.end(), [&](const pdfreader::Word& w) {
            return w.text == value && std::abs(w.xMin / pdfreader::kPointsPerMm - xMm) <= kToleranceMm
                   && std::abs(w.yMin / pdfreader::kPointsPerMm - yMm) <= kToleranceMm;
        });
        EXPECT_TRUE(found) << value.toStdString() << " at " << xMm << ", " << yMm;
    }
    Q_UNUSED(pitch);
    const pdfreader::Info info = pdfreader::info(file);
    EXPECT_NEAR(info.pageSizePt.width() / pdfreader::kPointsPerMm, 240, 0.5);
    EXPECT_NEAR(info.pageSizePt.height() / pdfreader::kPointsPerMm, 80, 0.5);
}

TEST_F(ChequePrintTest, PrintFromValuesSavesOnlyValidBills)
{
    RecordingPrinter printer;
    const PrintFromValuesResult saved = printBillFromValues(context, QStringLiteral("支票"), QStringLiteral("转账支票"),
                                                            values(), printer, true);
    ASSERT_TRUE(saved.ok) << saved.error.toStdString();
    ASSERT_GT(saved.serial, 0);
    SqlQuery row = db().query(QStringLiteral("select 收款人全称, 金额, 票据状态, 出票日期, 付款行名称 from DataZPTable where 流水号=:id"),
                              {{QStringLiteral("id"), saved.serial}});
    ASSERT_TRUE(row.next());
    EXPECT_EQ(row.value(0).toString(), QStringLiteral("北京某某贸易有限公司"));
    EXPECT_EQ(row.value(1).toString(), QStringLiteral("1234.5"));
    EXPECT_EQ(row.value(2).toString(), QStringLiteral("已用"));
    EXPECT_EQ(row.value(3).toString(), QStringLiteral("2026-03-15"));
    EXPECT_EQ(row.value(4).toString(), QStringLiteral("工商银行"));
    EXPECT_TRUE(messages.messages.isEmpty());

    struct Bad {
        QString key;
        QString value;
        QString templateName;
        QString error;
    };
    const Bad cases[] = {
        {QStringLiteral("没有这项"), QStringLiteral("x"), {}, QStringLiteral("未知的项目：没有这项")},
        {QStringLiteral("金额"), QStringLiteral("12a"), {}, QStringLiteral("金额只能为数值，例如：123.50")},
        {QStringLiteral("zdJEXX"), QStringLiteral("1000000000"), {}, QStringLiteral("金额值必须介于0~1,000,000,000之间！")},
        {QStringLiteral("zdYuE"), QStringLiteral("03"), {}, QStringLiteral("项目“zdYuE”由其他项目生成，不能直接填写")},
        {QStringLiteral("用途"), QStringLiteral("x"), QStringLiteral("没有的模板"), QStringLiteral("模板(没有的模板)不存在！")},
    };
    for (const Bad& c : cases) {
        SCOPED_TRACE(c.key.toStdString());
        QJsonObject bad = values();
        bad.insert(c.key, c.value);
        const int before = printer.events.size();
        const PrintFromValuesResult result =
            printBillFromValues(context, QStringLiteral("支票"), c.templateName, bad, printer, true);
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.error, c.error);
        EXPECT_EQ(printer.events.size(), before);
    }
    EXPECT_EQ(rows(), 1);
}
