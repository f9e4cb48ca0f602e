#include "PdfReader.h"
#include "RecordingMessages.h"
#include "TempHome.h"
#include "WhenShown.h"

#include "entry/PrintRenderer.h"
#include "entry/bills/CheckCDHP.h"
#include "platform/printing/PdfPrinter.h"
#include "platform/printing/PrintService.h"
#include "platform/RegistryStore.h"
#include "records/MutiPrintCDHP.h"
#include "records/MutiPrintCDHPLogic.h"
#include "records/Search.h"
#include "shell/AppContext.h"
#include "shell/MainMDI.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QFileInfo>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSqlRecord>
#include <QTableView>
#include <QTemporaryDir>
#include <QToolButton>

#include <set>

using namespace slipcraft;

namespace {

constexpr double kToleranceMm = 0.1;

struct Draft {
    QString number;
    QString payee;
    QString amount;
    QVariant issued;
    QString due;
    QString agreement;
    QString group;
};

class DraftBatchTest : public ::testing::Test {
protected:
    void SetUp() override { home.createDatabase(productData()); }
    virtual ProductData productData() const { return ProductData::Omit; }

    Database& db() { return context.db(); }
    qint64 add(const Draft& d)
    {
        db().execute(QStringLiteral("insert into MultiPrintCDHP (票据编号, 收款人全称, 金额, 出票日期, 汇票到期日, 承兑协议号, "
                                    "批打分组, 出票人全称, 付款行地址) values (:n, :p, :a, :i, :d, :g, :b, :o, :addr)"),
                     {{QStringLiteral("n"), d.number},
                      {QStringLiteral("p"), d.payee},
                      {QStringLiteral("a"), d.amount},
                      {QStringLiteral("i"), d.issued},
                      {QStringLiteral("d"), d.due},
                      {QStringLiteral("g"), d.agreement},
                      {QStringLiteral("b"), d.group},
                      {QStringLiteral("o"), QStringLiteral("出票") + d.payee},
                      {QStringLiteral("addr"), QStringLiteral("地址") + d.number}});
        return db().scalar(QStringLiteral("select max(ID) from MultiPrintCDHP")).toLongLong();
    }
    QStringList column(const QString& name)
    {
        return db().textColumn(QStringLiteral("select coalesce(%1, '<null>') from MultiPrintCDHP order by ID").arg(name));
    }

    TempHome home;
    RecordingMessages messages;
    AppContext context{home.runPath(), messages};
};

struct NumberCase {
    const char* name;
    const char* answer;
    int count;
    QStringList numbers; // in the order of the ids given
};

void PrintTo(const NumberCase& c, std::ostream* os)
{
    *os << c.name;
}

std::string numberName(const ::testing::TestParamInfo<NumberCase>& info)
{
    return info.param.name;
}

class DraftNumbering : public DraftBatchTest, public ::testing::WithParamInterface<NumberCase> {};

} // namespace

// Several drafts are numbered from the last run of digits of the first number, in the
// order given; no two get the same number. One draft gets the answer as it stands.
TEST_P(DraftNumbering, CountsUpFromTheLastRunOfDigits)
{
    const NumberCase& c = GetParam();
    QList<qint64> ids;
    for (int i = 0; i < c.count; ++i)
        ids.prepend(add({QStringLiteral("旧%1").arg(i)}));
    const QStringList given = draftbatch::numberDrafts(db(), ids, QString::fromUtf8(c.answer));
    EXPECT_EQ(given, c.numbers);
    QStringList stored;
    for (qint64 id : ids)
        stored << draftbatch::draftRow(db(), id).value(QStringLiteral("票据编号"));
    EXPECT_EQ(stored, c.numbers);
    EXPECT_EQ(std::set<QString>(stored.begin(), stored.end()).size(), size_t(c.count));
}

INSTANTIATE_TEST_SUITE_P(
    Answers, DraftNumbering,
    ::testing::Values(
        NumberCase{"LettersAroundDigits", "AB0099C", 3, {"AB0099C", "AB0100C", "AB0101C"}},
        NumberCase{"DigitsGrowBeyondTheirWidth", "9", 3, {"9", "10", "11"}},
        NumberCase{"OnlyTheLastRunCounts", "2026-001", 3, {"2026-001", "2026-002", "2026-003"}},
        NumberCase{"TwentyDigitsWithoutOverflow", "12345678901234567899", 2, {"12345678901234567899", "12345678901234567900"}},
        NumberCase{"FullWidthDigits", "ＣＤ０９８", 2, {"ＣＤ098", "ＣＤ099"}},
        NumberCase{"NoDigitsPutsTheCountInFront", "ABC", 3, {"ABC", "1ABC", "2ABC"}},
        NumberCase{"OneDraftAsTyped", "补录 0099", 1, {"补录 0099"}},
        NumberCase{"QuotesAreValues", "A'1", 2, {"A'1", "A'2"}}),
    numberName);

// A draft is printable when its amount, date of issue and due date read as the form
// reads them.
TEST(DraftProblems, NameWhatTheFormCouldNotRead)
{
    const auto problem = [](const char* amount, const char* issued, const char* due) {
        return draftbatch::draftProblem({{QStringLiteral("金额"), QString::fromUtf8(amount)},
                                         {QStringLiteral("出票日期"), QString::fromUtf8(issued)},
                                         {QStringLiteral("汇票到期日"), QString::fromUtf8(due)}});
    };
    EXPECT_EQ(problem("1,234,567.89", "2026-03-10 00:00:00", "贰零贰陆年零陆月零壹拾日"), QString());
    EXPECT_EQ(problem("", "", ""), QString());
    EXPECT_EQ(problem("0", "2026/3/10", "+90"), QString());
    EXPECT_EQ(problem("5", "2026年3月10日", "2026.6.10"), QString());
    EXPECT_TRUE(problem("壹佰元", "", "").startsWith(QStringLiteral("金额“壹佰元”")));
    EXPECT_TRUE(problem("1000000000", "", "").contains(QStringLiteral("金额值必须介于0~1,000,000,000之间！")));
    EXPECT_EQ(problem("1", "2026-02-30", ""), QStringLiteral("出票日期“2026-02-30”不是日期"));
    EXPECT_EQ(problem("1", "", "下个月"), QStringLiteral("汇票到期日“下个月”不是日期"));
    EXPECT_EQ(problem("1", "", "+九十"), QStringLiteral("汇票到期日“+九十”不是日期"));
}

// The keyword is looked for in the chosen columns, or in every filter column when none
// is chosen; it is a value, never part of the statement.
TEST_F(DraftBatchTest, ListsByKeywordInTheChosenColumns)
{
    add({QStringLiteral("CD1"), QStringLiteral("杭州甲公司"), QStringLiteral("1")});
    add({QStringLiteral("CD2"), QStringLiteral("宁波乙公司"), QStringLiteral("2"), {}, {}, QStringLiteral("杭州")});
    add({QStringLiteral("CD3"), QStringLiteral("温州丙公司"), QStringLiteral("3"), {}, {}, {}, QStringLiteral("杭州组")});
    const QStringList columns = batchlist::tableColumns(db(), draftbatch::kTable);
    const auto listed = [&](const draftbatch::Filter& filter) {
        QSqlQueryModel model;
        const int count = batchlist::load(db(), model, draftbatch::build(filter, columns));
        QStringList numbers;
        for (int row = 0; row < model.rowCount(); ++row)
            numbers << model.record(row).value(QStringLiteral("票据编号")).toString();
        EXPECT_EQ(count, numbers.size());
        return numbers;
    };
    draftbatch::Filter filter;
    EXPECT_EQ(listed(filter), QStringList({QStringLiteral("CD1"), QStringLiteral("CD2"), QStringLiteral("CD3")}));
    filter.keyword = QStringLiteral("杭州");
    EXPECT_EQ(listed(filter), QStringList({QStringLiteral("CD1"), QStringLiteral("CD3")}));
    filter.fields = QStringLiteral("收款人全称|承兑协议号");
    filter.descending = true;
    EXPECT_EQ(listed(filter), QStringList({QStringLiteral("CD2"), QStringLiteral("CD1")}));
    filter.mode = batchlist::kEquals;
    EXPECT_EQ(listed(filter), QStringList{QStringLiteral("CD2")});
    filter.keyword = QStringLiteral("x' or '1'='1");
    EXPECT_EQ(listed(filter), QStringList());
    filter.fields = QStringLiteral("收款人全称) or (1=1");
    filter.keyword = QStringLiteral("甲");
    EXPECT_EQ(listed(filter), QStringList());
}

namespace {

class DraftWindowTest : public DraftBatchTest {
protected:
    ProductData productData() const override { return ProductData::Include; }
    void SetUp() override
    {
        DraftBatchTest::SetUp();
        context.today = QDate(2026, 3, 10);
        form = new TfmCheckCDHP(context);
        ASSERT_TRUE(form->hasTemplate());
    }
    void TearDown() override
    {
        context.setPrintService(nullptr);
        delete form.data();
    }

    QPointer<TfmCheckCDHP> form;
};

} // namespace

// "批量打印" on the form opens the batch beside it, not modally; closing it destroys it.
TEST_F(DraftWindowTest, FormOpensTheBatchWindow)
{
    auto* button = form->findChild<QToolButton*>(QStringLiteral("btMultiPrintS"));
    ASSERT_TRUE(button);
    ASSERT_TRUE(button->isEnabled());
    form->show();
    button->click();
    QPointer<TfrmMutiPrintCDHP> batch = form->findChild<TfrmMutiPrintCDHP*>();
    ASSERT_TRUE(batch);
    EXPECT_TRUE(batch->isVisible());
    EXPECT_FALSE(batch->isModal());
    button->click();
    EXPECT_EQ(form->findChildren<TfrmMutiPrintCDHP*>().size(), 1);
    batch->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(batch);
}

// Each value goes to its box and through the form's own handler: the date of issue
// first (its "-" read as the date separator), so that "+N" counts from it; a draft
// without a date or a currency keeps the form's.
TEST_F(DraftWindowTest, SendsEachValueThroughTheFormsHandlers)
{
    const qint64 id = add({QStringLiteral("CD1"), QStringLiteral("杭州甲公司"), QStringLiteral("1,234.5"),
                           QStringLiteral("2026-04-01"), QStringLiteral("+30"), QStringLiteral("12345678901234567890")});
    sendDraft(*form, draftbatch::draftRow(db(), id));
    EXPECT_EQ(form->date(), QDate(2026, 4, 1));
    EXPECT_EQ(form->boxText(QStringLiteral("zdTimeOutDate")), QStringLiteral("贰零贰陆年零伍月零壹日"));
    EXPECT_EQ(form->boxText(QStringLiteral("zdInComp")), QStringLiteral("杭州甲公司"));
    EXPECT_EQ(form->boxText(QStringLiteral("zdOutComp")), QStringLiteral("出票杭州甲公司"));
    EXPECT_EQ(form->boxText(QStringLiteral("zdCDXYBH")), QStringLiteral("12345678901234567890"));
    EXPECT_EQ(form->boxText(QStringLiteral("zdJEXX")), QStringLiteral("1234.50"));
    EXPECT_EQ(form->boxText(QStringLiteral("zdJEDX")), QStringLiteral("壹仟贰佰叁拾肆元伍角整"));
    EXPECT_EQ(form->moneyName(), QStringLiteral("人民币"));

    const qint64 bare = add({QStringLiteral("CD2"), QStringLiteral("乙"), QStringLiteral("2")});
    sendDraft(*form, draftbatch::draftRow(db(), bare));
    EXPECT_EQ(form->date(), QDate(2026, 4, 1));
    EXPECT_EQ(form->boxText(QStringLiteral("zdTimeOutDate")), QString());
    EXPECT_TRUE(messages.messages.isEmpty()) << messages.texts().join(u'|').toStdString();
}

// Three listed drafts print as three pages of one PDF file, each value where the
// template places it; a job stopped halfway leaves no file; a draft the form could not
// read stops the job before it starts.
TEST_F(DraftWindowTest, PrintsEveryListedDraftOnAPageOfOneJob)
{
    const QStringList payees = {QStringLiteral("杭州甲贸易有限公司"), QStringLiteral("宁波乙电子有限公司"),
                                QStringLiteral("温州丙商行")};
    const QStringList agreements = {QStringLiteral("12345678901234567890"), QStringLiteral("00000000000000000042"),
                                    QStringLiteral("98765432109876543210")};
    const QStringList dues = {QStringLiteral("2026.06.10"), QStringLiteral("+90"), QStringLiteral("贰零贰陆年零玖月零贰拾日")};
    const QStringList dueWords = {QStringLiteral("贰零贰陆年零陆月零壹拾日"), QStringLiteral("贰零贰陆年零陆月壹拾叁日"),
                                  QStringLiteral("贰零贰陆年零玖月零贰拾日")};
    const QStringList amountWords = {QStringLiteral("壹佰贰拾叁万肆仟伍佰陆拾柒元捌角玖分"), QStringLiteral("伍仟元伍角整"),
                                     QStringLiteral("捌拾捌元整")};
    const QStringList amounts = {QStringLiteral("1234567.89"), QStringLiteral("5000.50"), QStringLiteral("88")};
    for (int i = 0; i < 3; ++i)
        add({QStringLiteral("CD%1").arg(i + 1), payees[i], amounts[i], QStringLiteral("2026-03-%1").arg(10 + 5 * i),
             dues[i], agreements[i]});

    QTemporaryDir dir;
    PdfPrinter printer(dir.filePath(QStringLiteral("Output")));
    printer.setOutputFile(dir.filePath(QStringLiteral("drafts.pdf")));
    SinglePrinterService service(printer);
    context.setPrintService(&service);
    TfrmMutiPrintCDHP window(context, form);
    window.show();
    ASSERT_EQ(window.listedRows(), 3);

    const BatchPrintResult printed = window.printListed();
    ASSERT_EQ(printed.outcome, BatchPrintResult::Outcome::Printed) << printer.errorText().toStdString();
    EXPECT_EQ(printed.pages, 3);
    const QString file = printer.lastFile();
    EXPECT_EQ(pdfreader::info(file).pages, 3);

    // Where the template puts an item, in millimetres.
    const int templateId = form->templateId();
    const auto at = [&](const QString& item) {
        SqlQuery layout = db().query(QStringLiteral("select CtlX, CtlY, CtlFontName, CtlFontSize from CKControl "
                                                    "where CheckTypeId=:id and CtlName=:name"),
                                     {{QStringLiteral("id"), templateId}, {QStringLiteral("name"), item}});
        EXPECT_TRUE(layout.next()) << item.toStdString();
        printer.selectFont(itemFont(layout.value(2).toString(), layout.value(3).toInt(), 0, 0, 0, QString()));
        return QPointF((printerPixels(layout.value(0).toInt(), PdfPrinter::kResolution) + 2 * printer.averageCharWidth())
                           * 25.4 / PdfPrinter::kResolution,
                       printerPixels(layout.value(1).toInt(), PdfPrinter::kResolution) * 25.4 / PdfPrinter::kResolution);
    };
    const QList<pdfreader::Word> words = pdfreader::words(file);
    for (int page = 1; page <= 3; ++page) {
        const int i = page - 1;
        const std::pair<QString, QString> expected[] = {
            {payees[i], QStringLiteral("ZDINCOMP")},
            {QStringLiteral("出票") + payees[i], QStringLiteral("ZDOUTCOMP")},
            {agreements[i], QStringLiteral("ZDCDXYBH")},
            {QStringLiteral("地址CD%1").arg(page), QStringLiteral("ZDOUTBANKADDR")},
            {dueWords[i], QStringLiteral("ZDTIMEOUTDATE")},
            {amountWords[i], QStringLiteral("ZDJEDX")},
        };
        for (const auto& [text, item] : expected) {
            const QPointF point = at(item);
            const bool found = std::any_of(words.begin(), words.end(), [&](const pdfreader::Word& w) {
                return w.page == page && w.text == text && std::abs(w.xMin / pdfreader::kPointsPerMm - point.x()) <= kToleranceMm
                       && std::abs(w.yMin / pdfreader::kPointsPerMm - point.y()) <= kToleranceMm;
            });
            EXPECT_TRUE(found) << "page " << page << ": " << text.toStdString() << " at " << point.x() << ", " << point.y();
        }
    }

    // Stopped before the second draft: the job is withdrawn and reported as such.
    printer.setOutputFile(dir.filePath(QStringLiteral("stopped.pdf")));
    QList<QHash<QString, QString>> rows;
    for (qint64 id = 1; id <= 3; ++id)
        rows << draftbatch::draftRow(db(), id);
    const BatchPrintResult stopped = printDrafts(*form, context, rows, [](int done) { return done < 1; });
    EXPECT_EQ(stopped.outcome, BatchPrintResult::Outcome::Stopped);
    EXPECT_EQ(stopped.pages, 0);
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("stopped.pdf"))));

    // A draft typed over in the grid with an amount that is no number.
    context.printReady = true;
    printer.setOutputFile(dir.filePath(QStringLiteral("refused.pdf")));
    db().execute(QStringLiteral("update MultiPrintCDHP set 金额='一千' where ID=2"));
    window.query();
    messages.messages.clear();
    EXPECT_EQ(window.printListed().outcome, BatchPrintResult::Outcome::NotStarted);
    ASSERT_EQ(messages.messages.size(), 1);
    EXPECT_TRUE(messages.messages.first().text.contains(QStringLiteral("ID=2：金额“一千”"))) << messages.texts().first().toStdString();
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("refused.pdf"))));
}

// With the draft form closed, printing opens one through the main window, or says
// that there is none, and never prints on a form that is gone.
TEST_F(DraftWindowTest, PrintingWithTheFormClosedOpensItOrSaysSo)
{
    add({QStringLiteral("CD1"), QStringLiteral("甲"), QStringLiteral("1")});
    QTemporaryDir dir;
    PdfPrinter printer(dir.filePath(QStringLiteral("Output")));
    printer.setOutputFile(dir.filePath(QStringLiteral("one.pdf")));
    SinglePrinterService service(printer);
    context.setPrintService(&service);

    TfmCheckCDHP* reopened = nullptr;
    bool mayOpen = false;
    TfrmMutiPrintCDHP window(context, form, [&]() -> TfmCheckCDHP* {
        if (!mayOpen)
            return nullptr;
        reopened = new TfmCheckCDHP(context);
        return reopened;
    });
    window.show();
    delete form.data();

    EXPECT_EQ(window.printListed().outcome, BatchPrintResult::Outcome::NotStarted);
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("承兑汇票窗口没有打开，不能批量打印，请先打开承兑汇票。")});
    window.grid()->selectRow(0);
    EXPECT_EQ(window.printSelected().outcome, BatchPrintResult::Outcome::NotStarted);

    mayOpen = true;
    EXPECT_EQ(window.printListed().outcome, BatchPrintResult::Outcome::Printed) << printer.errorText().toStdString();
    ASSERT_TRUE(reopened);
    EXPECT_EQ(reopened->boxText(QStringLiteral("zdInComp")), QStringLiteral("甲"));
    delete reopened;
}

// Numbering the selection counts up in the order of selection; the rewrite changes the
// listed rows only, an empty column reading as empty text; clearing asks twice.
TEST_F(DraftWindowTest, NumbersRewritesAndClearsTheList)
{
    for (int i = 0; i < 4; ++i)
        add({QStringLiteral("旧%1").arg(i), QStringLiteral("单位%1").arg(i), QStringLiteral("1"), {}, {}, {},
             i < 3 ? QStringLiteral("一组") : QString()});
    db().execute(QStringLiteral("update MultiPrintCDHP set 自定义1=null"));
    TfrmMutiPrintCDHP window(context, form);
    window.show();
    ASSERT_EQ(window.listedRows(), 4);

    QItemSelectionModel* selection = window.grid()->selectionModel();
    const auto select = [&](int row) {
        selection->select(window.grid()->model()->index(row, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    };
    select(2);
    select(0);
    select(1);
    window.recordNumbers(QStringLiteral("AB0099C"));
    EXPECT_EQ(column(QStringLiteral("票据编号")), QStringList({QStringLiteral("AB0100C"), QStringLiteral("AB0101C"),
                                                               QStringLiteral("AB0099C"), QStringLiteral("旧3")}));

    window.findChild<QComboBox*>(QStringLiteral("cbFields"))->setEditText(QStringLiteral("批打分组"));
    window.findChild<QLineEdit*>(QStringLiteral("edtKey"))->setText(QStringLiteral("一组"));
    window.query();
    ASSERT_EQ(window.listedRows(), 3);
    window.openRewritePanel();
    window.applyRewrite(QStringLiteral("@自定义1"), {QStringLiteral("@自定义1"), QStringLiteral("@票据编号"), QStringLiteral("号'")});
    EXPECT_EQ(messages.texts().last(), QStringLiteral("3条收件人的【自定义1】修改成功！"));
    EXPECT_EQ(column(QStringLiteral("自定义1")), QStringList({QStringLiteral("AB0100C号'"), QStringLiteral("AB0101C号'"),
                                                               QStringLiteral("AB0099C号'"), QStringLiteral("<null>")}));

    messages.messages.clear();
    messages.answer = false;
    window.clearAll();
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("提示：确认要删除系统所有条目吗（包括未列出的）？")});
    EXPECT_EQ(column(QStringLiteral("ID")).size(), 4);
    messages.answer = true;
    window.clearAll();
    EXPECT_EQ(messages.texts().last(), QStringLiteral("再次警告：确认要清空系统所有批打条目吗（无法找回）？"));
    EXPECT_EQ(window.listedRows(), 0);
    EXPECT_TRUE(window.findChild<QLineEdit*>(QStringLiteral("edtKey"))->text().isEmpty());
}

// "来自保存票据.." opens the draft history in batch mode; the drafts it adds are listed
// when it closes.
TEST_F(DraftWindowTest, AddsStoredDraftsThroughTheHistoryInBatchMode)
{
    for (const char* payee : {"甲", "乙"})
        db().execute(QStringLiteral("insert into DataCDHPTable (票据状态, 收款人全称, 金额, 出票日期) "
                                    "values ('已用', :p, '5', '2026-03-01')"),
                     {{QStringLiteral("p"), QString::fromUtf8(payee)}});
    TfrmMutiPrintCDHP window(context, form);
    window.show();
    WhenShown<TfmSearch> pick([](TfmSearch& search) {
        EXPECT_TRUE(search.batchMode());
        EXPECT_TRUE(search.findChild<QPushButton*>(QStringLiteral("btAddSelected"))->isVisible());
        search.findChild<QPushButton*>(QStringLiteral("btAddAll"))->click();
    });
    window.addFromHistory();
    EXPECT_TRUE(pick.shown);
    EXPECT_EQ(window.listedRows(), 2);
    QStringList payees = column(QStringLiteral("收款人全称"));
    payees.sort();
    EXPECT_EQ(payees, QStringList({QStringLiteral("乙"), QStringLiteral("甲")}));
}

// "输入一条.." adds a draft of the form's template issued today with amount 0; what is
// typed into the grid is stored as typed, and the key cannot be typed over.
TEST_F(DraftWindowTest, TypedDraftsAreStored)
{
    TfrmMutiPrintCDHP window(context, form);
    window.show();
    window.addTyped();
    ASSERT_EQ(window.listedRows(), 1);
    EXPECT_EQ(column(QStringLiteral("模板种类")), QStringList{form->templateName()});
    EXPECT_EQ(column(QStringLiteral("金额")), QStringList{QStringLiteral("0")});
    EXPECT_TRUE(column(QStringLiteral("出票日期")).first().startsWith(QStringLiteral("2026-03-10 ")));

    QAbstractItemModel* model = window.grid()->model();
    const QModelIndex current = window.grid()->currentIndex();
    ASSERT_TRUE(current.isValid());
    EXPECT_EQ(model->headerData(current.column(), Qt::Horizontal).toString(), QStringLiteral("收款人全称"));
    EXPECT_TRUE(model->setData(current, QStringLiteral("丁'); drop table MultiPrintCDHP; --")));
    EXPECT_EQ(model->data(current).toString(), QStringLiteral("丁'); drop table MultiPrintCDHP; --"));
    EXPECT_EQ(column(QStringLiteral("收款人全称")), QStringList{QStringLiteral("丁'); drop table MultiPrintCDHP; --")});
    EXPECT_FALSE(model->flags(model->index(0, 0)) & Qt::ItemIsEditable);
}

// The batch belongs to the main window and outlives the draft form; printing then opens
// a new form, unless another form open under the single-window rule keeps it out.
TEST(DraftBatchInTheMainWindow, OutlivesTheFormAndOpensItToPrint)
{
    TempHome home;
    home.createDatabase(ProductData::Include);
    RecordingMessages messages;
    QTemporaryDir config;
    AppContext context(home.runPath(), messages);
    RegistryStore registry(config.filePath(QStringLiteral("record.conf")));
    Tfm_Main window(context, registry);
    context.db().execute(QStringLiteral("insert into MultiPrintCDHP (收款人全称, 金额) values ('甲', '1')"));

    window.command(QStringLiteral("m_new_cdhp"))->trigger();
    TfmBillForm* form = window.billForm(acceptanceDraftKind());
    ASSERT_TRUE(form);
    form->findChild<QToolButton*>(QStringLiteral("btMultiPrintS"))->click();
    QPointer<TfrmMutiPrintCDHP> batch = window.findChild<TfrmMutiPrintCDHP*>(QString(), Qt::FindDirectChildrenOnly);
    ASSERT_TRUE(batch);
    window.command(QStringLiteral("m_CloseALL"))->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(window.billForm(acceptanceDraftKind()));
    ASSERT_TRUE(batch);

    QTemporaryDir dir;
    PdfPrinter printer(dir.filePath(QStringLiteral("Output")));
    printer.setOutputFile(dir.filePath(QStringLiteral("one.pdf")));
    SinglePrinterService service(printer);
    context.setPrintService(&service);
    window.command(QStringLiteral("m_new_dhd"))->trigger();
    messages.messages.clear();
    EXPECT_EQ(batch->printListed().outcome, BatchPrintResult::Outcome::NotStarted);
    EXPECT_EQ(messages.texts().value(0), QStringLiteral("请先关闭打开的单据！"));

    window.command(QStringLiteral("m_CloseALL"))->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(batch->printListed().outcome, BatchPrintResult::Outcome::Printed) << printer.errorText().toStdString();
    ASSERT_TRUE(window.billForm(acceptanceDraftKind()));
    EXPECT_EQ(window.billForm(acceptanceDraftKind())->boxText(QStringLiteral("zdInComp")), QStringLiteral("甲"));
    context.setPrintService(nullptr);
}
