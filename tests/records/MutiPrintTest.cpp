#include "PdfReader.h"
#include "RecordingMessages.h"
#include "TempHome.h"

#include "entry/FormControls.h"
#include "entry/PrintRenderer.h"
#include "entry/bills/CheckKDD.h"
#include "parties/DAOPerson.h"
#include "platform/IniFile.h"
#include "platform/printing/PdfPrinter.h"
#include "platform/printing/PrintService.h"
#include "platform/spreadsheet/Workbook.h"
#include "records/ImportMatchLogic.h"
#include "records/MatchAddr.h"
#include "records/MutiPrint.h"
#include "records/MutiPrintLogic.h"
#include "shell/AppContext.h"
#include "wording/Functions.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QFileInfo>
#include <QPushButton>
#include <QSqlQueryModel>
#include <QTableView>
#include <QTemporaryDir>

using namespace slipcraft;

namespace {

constexpr double kToleranceMm = 0.1;

struct Receiver {
    QString name;
    QString contact;
    QString address;
    QVariant province;
    QVariant city;
    QString group;
};

class BatchListTest : public ::testing::Test {
protected:
    void SetUp() override { home.createDatabase(productData()); }
    virtual ProductData productData() const { return ProductData::Omit; }

    Database& db() { return context.db(); }
    void add(const Receiver& r)
    {
        db().execute(QStringLiteral("insert into ReceiverList (全称, 联系人, 地址, 省, 市, 批打分组, 手机, 电话, 重量) "
                                    "values (:name, :contact, :address, :province, :city, :group, :mobile, :phone, :weight)"),
                     {{QStringLiteral("name"), r.name},
                      {QStringLiteral("contact"), r.contact},
                      {QStringLiteral("address"), r.address},
                      {QStringLiteral("province"), r.province},
                      {QStringLiteral("city"), r.city},
                      {QStringLiteral("group"), r.group},
                      {QStringLiteral("mobile"), QStringLiteral("1390000%1").arg(r.contact.size(), 4, 10, QLatin1Char('0'))},
                      {QStringLiteral("phone"), QStringLiteral("0571-8888%1").arg(r.contact.size(), 4, 10, QLatin1Char('0'))},
                      {QStringLiteral("weight"), QStringLiteral("2.5")}});
    }
    QStringList column(const QString& name)
    {
        return db().textColumn(QStringLiteral("select coalesce(%1, '<null>') from ReceiverList order by ID").arg(name));
    }

    TempHome home;
    RecordingMessages messages;
    AppContext context{home.runPath(), messages};
};

} // namespace

// The rewrite joins its parts for the listed rows only; an empty value counts as empty
// text, never emptying the whole; texts are values, column names must exist.
TEST_F(BatchListTest, RewriteChangesTheListedRowsOnly)
{
    add({QStringLiteral("甲"), QStringLiteral("张三"), QStringLiteral("文三路1号"), QVariant(), QStringLiteral("杭州市")});
    add({QStringLiteral("乙"), QStringLiteral("李四"), QStringLiteral("建国路2号"), QStringLiteral("北京市"), QVariant()});
    add({QStringLiteral("丙"), QStringLiteral("王五"), QStringLiteral("南京路3号"), QStringLiteral("上海市"),
         QStringLiteral("上海市"), QStringLiteral("老客户")});
    add({QStringLiteral("丁"), QStringLiteral("赵六"), QStringLiteral("人民路4号"), QStringLiteral("广东省"),
         QStringLiteral("深圳市")});
    const QStringList columns = batchlist::tableColumns(db());
    batchlist::Filter ungrouped;
    const batchlist::Query listed = batchlist::build(ungrouped, columns);

    EXPECT_EQ(rewriteColumn(db(), listed, QStringLiteral("地址"),
                            {QStringLiteral("@省"), QStringLiteral("@市"), QStringLiteral("@地址")}),
              3);
    EXPECT_EQ(column(QStringLiteral("地址")),
              QStringList({QStringLiteral("杭州市文三路1号"), QStringLiteral("北京市建国路2号"), QStringLiteral("南京路3号"),
                           QStringLiteral("广东省深圳市人民路4号")}));

    batchlist::Filter byKeyword;
    byKeyword.keyword = QStringLiteral("张三");
    EXPECT_EQ(rewriteColumn(db(), batchlist::build(byKeyword, columns), QStringLiteral("内件说明"),
                            {QStringLiteral("光盘数:"), QStringLiteral("@重量"), QStringLiteral("个'); --")}),
              1);
    EXPECT_EQ(column(QStringLiteral("内件说明")),
              QStringList({QStringLiteral("光盘数:2.5个'); --"), QStringLiteral("<null>"), QStringLiteral("<null>"),
                           QStringLiteral("<null>")}));

    EXPECT_THROW(rewriteColumn(db(), listed, QStringLiteral("备注"), {QStringLiteral("@没有这列")}), DatabaseError);
    EXPECT_THROW(rewriteColumn(db(), listed, QStringLiteral("ID"), {QString()}), DatabaseError);
    EXPECT_EQ(column(QStringLiteral("备注")), QStringList(4, QStringLiteral("<null>")));
}

// The list of a group, of every row, or of the rows without one; the keyword in any of
// the chosen columns, or equal to one; names that are not columns play no part.
TEST_F(BatchListTest, ListsByGroupAndKeyword)
{
    add({QStringLiteral("甲"), QStringLiteral("张三"), QString(), {}, {}});
    add({QStringLiteral("乙"), QStringLiteral("张三丰"), QString(), {}, {}, QStringLiteral("老客户")});
    add({QStringLiteral("丙"), QStringLiteral("李四"), QString(), {}, {}, QStringLiteral("  ")});
    const QStringList columns = batchlist::tableColumns(db());
    const auto listed = [&](const batchlist::Filter& filter) {
        QSqlQueryModel model;
        const int count = batchlist::load(db(), model, batchlist::build(filter, columns));
        QStringList names;
        for (int row = 0; row < model.rowCount(); ++row)
            names << model.record(row).value(QStringLiteral("全称")).toString();
        EXPECT_EQ(count, names.size());
        return names;
    };
    batchlist::Filter filter;
    EXPECT_EQ(listed(filter), QStringList({QStringLiteral("甲"), QStringLiteral("丙")}));
    filter.group = batchlist::kAllLists;
    filter.keyword = QStringLiteral("张三");
    filter.descending = true;
    EXPECT_EQ(listed(filter), QStringList({QStringLiteral("乙"), QStringLiteral("甲")}));
    filter.mode = batchlist::kEquals;
    EXPECT_EQ(listed(filter), QStringList{QStringLiteral("甲")});
    filter.group = QStringLiteral("老客户");
    filter.mode = batchlist::kContains;
    EXPECT_EQ(listed(filter), QStringList{QStringLiteral("乙")});
    filter.fields = QStringLiteral("全称) or (1=1");
    EXPECT_EQ(listed(filter), QStringList());
    EXPECT_EQ(batchlist::groups(db()), QStringList{QStringLiteral("老客户")});
    EXPECT_EQ(batchlist::filterFieldChoices(columns).mid(0, 4),
              QStringList({QStringLiteral("联系人|全称|电话"), QStringLiteral("电话|手机"), QStringLiteral("省|市|镇区"),
                           QStringLiteral("全称")}));
}

// A receiver without contact, name and address is not added; the others go in without a
// group. Clearing the list starts the numbers at 1 again.
TEST_F(BatchListTest, AddsReceiversAndClearsTheList)
{
    TPersonKDD empty;
    empty.setPhone(QStringLiteral("0571-1"));
    EXPECT_FALSE(addReceiverAndGoods(db(), &empty));
    EXPECT_FALSE(addReceiverAndGoods(db(), nullptr));
    TPersonKDD person;
    person.setContactor(QStringLiteral("张三"));
    person.setContents(QStringLiteral("羊毛衫"));
    person.setDestStation(QStringLiteral("杭州"));
    EXPECT_TRUE(addReceiverAndGoods(db(), &person));
    EXPECT_TRUE(addReceiverAndGoods(db(), &person));
    EXPECT_EQ(column(QStringLiteral("内件说明")), QStringList(2, QStringLiteral("羊毛衫")));
    EXPECT_EQ(column(QStringLiteral("批打分组")), QStringList(2, QString()));
    clearReceivers(db());
    EXPECT_TRUE(addReceiverAndGoods(db(), &person));
    EXPECT_EQ(column(QStringLiteral("ID")), QStringList{QStringLiteral("1")});
}

namespace {

class BatchWindowTest : public BatchListTest {
protected:
    ProductData productData() const override { return ProductData::Include; }
    void SetUp() override
    {
        BatchListTest::SetUp();
        context.today = QDate(2026, 3, 10);
        waybill = std::make_unique<TfmCheckKDD>(context);
        waybill->setAttribute(Qt::WA_DeleteOnClose, false);
        ASSERT_TRUE(waybill->hasTemplate());
    }
    void TearDown() override { context.setPrintService(nullptr); }

    std::unique_ptr<TfmCheckKDD> waybill;
};

} // namespace

// Rows imported into a group are shown by the list the import reports them to.
TEST_F(BatchWindowTest, ImportedRowsAreListed)
{
    add({QStringLiteral("甲"), QStringLiteral("张三"), QStringLiteral("文三路1号"), {}, {}});
    TfrmMutiPrint window(context, waybill.get());
    window.show();
    EXPECT_EQ(window.listedRows(), 1);

    const Worksheet sheet(QStringLiteral("Sheet1"), {{QStringLiteral("收件人"), QStringLiteral("分组")},
                                                     {QStringLiteral("王五"), QStringLiteral("展会客户")},
                                                     {QStringLiteral("赵六"), QStringLiteral("展会客户")}});
    importing::Options options;
    options.scene = importing::Scene::Batch;
    const importing::Columns columns =
        importing::autoMatch(importing::sheetColumns(sheet), importing::loadRules(db()), options.scene);
    IniFile log(home.path(importing::kLogFileName));
    importing::ImportRun run(db(), sheet, columns, options, log, messages);
    const importing::Counts counts = run.run({});
    ASSERT_EQ(counts.saved, 2);
    window.showImported(counts);
    EXPECT_EQ(window.listedRows(), 2);
    EXPECT_EQ(window.findChild<QComboBox*>(QStringLiteral("cbGroup"))->currentText(), QStringLiteral("展会客户"));
}

// "2.0 粘贴不关闭" adds the receiver and keeps the window open; "2.1 粘贴为发件人" is
// not offered while pasting into the batch.
TEST_F(BatchWindowTest, AddressWindowAddsReceiversInBatchMode)
{
    TfrmMutiPrint window(context, waybill.get());
    window.show();
    TfrmMatchAddr paste(context, &window);
    paste.setBatch(&window);
    EXPECT_FALSE(paste.findChild<QPushButton*>(QStringLiteral("btPasteNoClose"))->isHidden());
    EXPECT_FALSE(paste.findChild<QPushButton*>(QStringLiteral("btSender"))->isEnabled());
    paste.show();
    paste.setInput(QStringLiteral("收货人:王小明，13912345678，浙江省 杭州市 西湖区 文三路100号（310012）"));
    paste.recognise();
    ASSERT_TRUE(paste.pasteAndStay());
    EXPECT_TRUE(paste.isVisible());
    EXPECT_EQ(window.listedRows(), 1);
    EXPECT_EQ(column(QStringLiteral("联系人")), QStringList{QStringLiteral("王小明")});
    EXPECT_EQ(column(QStringLiteral("手机")), QStringList{QStringLiteral("13912345678")});
    ASSERT_TRUE(paste.pasteAsReceiver());
    EXPECT_FALSE(paste.isVisible());
    EXPECT_EQ(window.listedRows(), 2);
}

// A hidden column leaves the form's box as the user typed it; a shown one prints each
// receiver's own value. A template without the mobile box carries it in the telephone.
TEST_F(BatchWindowTest, SendsAddressAlwaysAndParcelColumnsWhenShown)
{
    add({QStringLiteral("甲公司"), QStringLiteral("张三"), QStringLiteral("文三路1号"), QStringLiteral("浙江省"),
         QStringLiteral("杭州市")});
    const qint64 id = db().scalar(QStringLiteral("select ID from ReceiverList")).toLongLong();
    db().execute(QStringLiteral("update ReceiverList set 金额大写1='12.5', 件数='3'"));
    waybill->setBoxText(QStringLiteral("edtWeight"), QStringLiteral("9"));
    waybill->setBoxText(QStringLiteral("zdJEDX1"), QStringLiteral("88"));
    sendReceiver(*waybill, context, id, {QStringLiteral("件数"), QStringLiteral("全称")});
    EXPECT_EQ(waybill->boxText(QStringLiteral("zdSKR")), QStringLiteral("甲公司"));
    EXPECT_EQ(waybill->boxText(QStringLiteral("zdSKRXS")), QStringLiteral("杭州市"));
    EXPECT_EQ(waybill->boxText(QStringLiteral("edtWeight")), QStringLiteral("9"));
    EXPECT_EQ(waybill->boxText(QStringLiteral("edtAmount")), QStringLiteral("3"));
    EXPECT_EQ(waybill->boxText(QStringLiteral("zdskrDH")), QStringLiteral("0571-88880002"));

    findNamedControl(waybill.get(), QStringLiteral("skrHandset"))->hide();
    sendReceiver(*waybill, context, id, {QStringLiteral("重量"), QStringLiteral("金额大写1")});
    EXPECT_EQ(waybill->boxText(QStringLiteral("edtWeight")), QStringLiteral("2.5"));
    EXPECT_EQ(waybill->boxText(QStringLiteral("zdskrDH")), QStringLiteral("0571-88880002/13900000002"));
    EXPECT_EQ(waybill->boxText(QStringLiteral("zdJEDX1")), QString()); // figures only

    sendReceiver(*waybill, context, id + 100, {});
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("调用错误，找不到记录，编号=%1").arg(id + 100)});
}

// Three listed receivers print as three pages of one PDF file, each receiver's name and
// contact where the template places them; a stopped job leaves no file.
TEST_F(BatchWindowTest, PrintsEveryListedReceiverOnAPageOfOneJob)
{
    const QStringList names = {QStringLiteral("收件甲公司"), QStringLiteral("收件乙公司"), QStringLiteral("收件丙公司")};
    const QStringList contacts = {QStringLiteral("张三"), QStringLiteral("李四四"), QStringLiteral("王五五五")};
    for (qsizetype i = 0; i < names.size(); ++i)
        add({names[i], contacts[i], QStringLiteral("文三路%1号").arg(i + 1), QStringLiteral("浙江省"), QStringLiteral("杭州市")});
    add({QStringLiteral("别组公司"), QStringLiteral("赵六"), QString(), {}, {}, QStringLiteral("另一组")});

    QTemporaryDir dir;
    PdfPrinter printer(dir.filePath(QStringLiteral("Output")));
    printer.setOutputFile(dir.filePath(QStringLiteral("batch.pdf")));
    SinglePrinterService service(printer);
    context.setPrintService(&service);
    TfrmMutiPrint window(context, waybill.get());
    window.show();
    ASSERT_EQ(window.listedRows(), 3);

    const BatchPrintResult printed = window.printListed();
    ASSERT_EQ(printed.outcome, BatchPrintResult::Outcome::Printed) << printer.errorText().toStdString();
    EXPECT_EQ(printed.pages, 3);
    const QString file = printer.lastFile();
    EXPECT_EQ(pdfreader::info(file).pages, 3);

    // Where the template puts the receiver's name and contact, in millimetres.
    const int templateId = waybill->templateId();
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
    const QPointF nameAt = at(QStringLiteral("ZDSKR"));
    const QPointF contactAt = at(QStringLiteral("ZDSKRLXR"));
    const QList<pdfreader::Word> words = pdfreader::words(file);
    for (int page = 1; page <= 3; ++page) {
        for (const auto& [text, point] : {std::pair{names[page - 1], nameAt}, std::pair{contacts[page - 1], contactAt}}) {
            const bool found = std::any_of(words.begin(), words.end(), [&](const pdfreader::Word& w) {
                return w.page == page && w.text == text && std::abs(w.xMin / pdfreader::kPointsPerMm - point.x()) <= kToleranceMm
                       && std::abs(w.yMin / pdfreader::kPointsPerMm - point.y()) <= kToleranceMm;
            });
            EXPECT_TRUE(found) << "page " << page << ": " << text.toStdString() << " at " << point.x() << ", " << point.y();
        }
    }

    // Stopped before the second receiver: the job is withdrawn and reported as such.
    printer.setOutputFile(dir.filePath(QStringLiteral("stopped.pdf")));
    const BatchPrintResult stopped = printReceivers(*waybill, context, {1, 2, 3}, {}, [](int done) { return done < 1; });
    EXPECT_EQ(stopped.outcome, BatchPrintResult::Outcome::Stopped);
    EXPECT_EQ(stopped.pages, 0);
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("stopped.pdf"))));
}

// The selection of the first N rows, and the rewrite panel's question before blanking.
TEST_F(BatchWindowTest, SelectsFirstRowsAndAsksBeforeBlankingAColumn)
{
    for (int i = 0; i < 5; ++i)
        add({QStringLiteral("单位%1").arg(i), QStringLiteral("联系人%1").arg(i), QStringLiteral("地址%1").arg(i), {}, {}});
    TfrmMutiPrint window(context, waybill.get());
    window.show();
    window.selectFirstRows(3);
    EXPECT_EQ(window.grid()->selectionModel()->selectedRows().size(), 3);
    window.selectFirstRows(50);
    EXPECT_EQ(window.grid()->selectionModel()->selectedRows().size(), 5);

    window.openRewritePanel();
    messages.answer = false;
    window.applyRewrite(QStringLiteral("@地址"), {QString(), QString(), QString()});
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("你确信要置空所有的[地址]列吗？")});
    EXPECT_EQ(column(QStringLiteral("地址")).first(), QStringLiteral("地址0"));
    messages.messages.clear();
    window.applyRewrite(QStringLiteral("@地址"), {QStringLiteral("收货地址:"), QStringLiteral("@地址"), QString()});
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("5条收件人的【地址】修改成功！")});
    EXPECT_EQ(column(QStringLiteral("地址")).first(), QStringLiteral("收货地址:地址0"));
}
