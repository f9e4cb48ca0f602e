#include "EntryFixture.h"

#include "entry/CheckZPLogic.h"
#include "templates/Catalogue.h"
#include "templates/FormPicture.h"

#include <QImage>

using namespace slipcraft;

namespace {

struct AmountCase {
    const char* typed;
    AmountEntry::Status status;
    qint64 fen;
    const char* kept;    // what the entry box keeps
    const char* figures; // with "￥" in front
    const char* words;   // with 人民币 in front
};

} // namespace

class AmountPipelineTest : public ::testing::TestWithParam<AmountCase> {};

// Figures, words and the box text all come from one rounded fen value.
TEST_P(AmountPipelineTest, OneRoundedValueFeedsEveryBox)
{
    const AmountCase& c = GetParam();
    const AmountEntry entry = readAmountEntry(QString::fromUtf8(c.typed));
    ASSERT_EQ(entry.status, c.status);
    if (c.status != AmountEntry::Status::Ok) {
        EXPECT_FALSE(entry.message().isEmpty());
        return;
    }
    EXPECT_EQ(entry.fen, c.fen);
    EXPECT_EQ(entry.text, QString::fromUtf8(c.kept));
    const AmountWording wording;
    EXPECT_EQ(amountFigures(entry.fen, wording), QString::fromUtf8(c.figures));
    EXPECT_EQ(amountWords(entry.fen, wording), QString::fromUtf8(c.words));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AmountPipelineTest,
    ::testing::Values(
        AmountCase{"1,234.50", AmountEntry::Status::Ok, 123450, "1234.50", "￥1,234.50", "人民币壹仟贰佰叁拾肆元伍角整"},
        AmountCase{"１２３４．５", AmountEntry::Status::Ok, 123450, "1234.5", "￥1,234.50", "人民币壹仟贰佰叁拾肆元伍角整"},
        AmountCase{"0.125", AmountEntry::Status::Ok, 13, "0.13", "￥0.13", "人民币壹角叁分"},
        AmountCase{"0.004", AmountEntry::Status::Ok, 0, "", "", ""},
        AmountCase{"", AmountEntry::Status::Ok, 0, "", "", ""},
        AmountCase{"0", AmountEntry::Status::Ok, 0, "", "", ""},
        AmountCase{"999999999.99", AmountEntry::Status::Ok, 99999999999, "999999999.99", "￥999,999,999.99",
                   "人民币玖亿玖仟玖佰玖拾玖万玖仟玖佰玖拾玖元玖角玖分"},
        AmountCase{"999999999.995", AmountEntry::Status::OutOfRange, 0, "", "", ""},
        AmountCase{"1000000000", AmountEntry::Status::OutOfRange, 0, "", "", ""},
        AmountCase{"-1", AmountEntry::Status::OutOfRange, 0, "", "", ""},
        AmountCase{"-0.001", AmountEntry::Status::OutOfRange, 0, "", "", ""},
        AmountCase{"1.2.3", AmountEntry::Status::NotANumber, 0, "", "", ""},
        AmountCase{"1-2", AmountEntry::Status::NotANumber, 0, "", "", ""}));

TEST(AmountWordingTest, CurrencyNameFollowsTheOptions)
{
    struct Case {
        QString currency;
        bool withName;
        bool keepRmb;
        QString expected;
    };
    const Case cases[] = {
        {QStringLiteral("人民币"), true, true, QStringLiteral("人民币伍元整")},
        {QStringLiteral("人民币"), true, false, QStringLiteral("伍元整")},
        {QStringLiteral("人民币"), false, true, QStringLiteral("伍元整")},
        {QStringLiteral("美元"), true, false, QStringLiteral("美元伍元整")},
    };
    for (const Case& c : cases) {
        AmountWording wording;
        wording.currencyName = c.currency;
        wording.wordsWithName = c.withName;
        wording.wordsKeepRmb = c.keepRmb;
        EXPECT_EQ(amountWords(500, wording), c.expected) << c.currency.toStdString() << c.withName << c.keepRmb;
    }
    AmountWording noCode;
    noCode.figuresWithCode = false;
    EXPECT_EQ(amountFigures(500, noCode), QStringLiteral("5.00"));
}

TEST(ChequeDateTest, FaceInWordsOrDigitsCounterfoilAlwaysDigits)
{
    const ChequeDateParts words = chequeDateParts(QDate(2026, 3, 10), true);
    EXPECT_EQ(words.year, QStringLiteral("贰零贰陆"));
    EXPECT_EQ(words.month, QStringLiteral("零叁"));
    EXPECT_EQ(words.day, QStringLiteral("零壹拾"));
    EXPECT_EQ(words.cgYear, QStringLiteral("2026"));
    EXPECT_EQ(words.cgMonth, QStringLiteral("03"));
    EXPECT_EQ(words.cgDay, QStringLiteral("10"));
    EXPECT_EQ(words.iso, QStringLiteral("2026-03-10"));
    const ChequeDateParts digits = chequeDateParts(QDate(2026, 3, 10), false);
    EXPECT_EQ(digits.year, QStringLiteral("2026"));
    EXPECT_EQ(digits.day, QStringLiteral("10"));
}

class ChequeSessionTest : public EntryFixture {
protected:
    slipcraft::ProductData productData() const override { return slipcraft::ProductData::Include; }

    ChequeRecord record(const QString& payee = QStringLiteral("甲公司"))
    {
        ChequeRecord r;
        r.templateName = QStringLiteral("转账支票");
        r.payee = payee;
        r.amount = QStringLiteral("12.5");
        r.currency = QStringLiteral("人民币");
        r.date = QDate(2026, 1, 5);
        r.custom[2] = QStringLiteral("C3");
        return r;
    }
    QString column(int serial, const QString& name)
    {
        return db().scalar(QStringLiteral("select %1 from DataZPTable where 流水号=:id").arg(name),
                           {{QStringLiteral("id"), serial}})
            .toString();
    }
    int rows() { return db().scalar(QStringLiteral("select count(*) from DataZPTable")).toInt(); }
    int preEnter(const QString& number, const QString& status, const QString& templateName = {})
    {
        db().execute(QStringLiteral("insert into DataZPTable (票据编号, 票据状态, 模板种类, 付款行名称, 出票人账号) "
                                    "values (:n, :s, :t, :b, :a)"),
                     {{QStringLiteral("n"), number}, {QStringLiteral("s"), status}, {QStringLiteral("t"), templateName},
                      {QStringLiteral("b"), QStringLiteral("银行") + status}, {QStringLiteral("a"), QStringLiteral("acct")}});
        return db().scalar(QStringLiteral("select max(流水号) from DataZPTable")).toInt();
    }
    QStringList texts()
    {
        const QStringList list = messages.texts();
        messages.messages.clear();
        return list;
    }

    ChequeSession session{context};
    const QDate today{2026, 2, 1};
};

TEST_F(ChequeSessionTest, NewThenUnchangedThenChangedSave)
{
    ChequeRecord r = record();
    ASSERT_TRUE(session.saveCommand(r, today));
    const int serial = session.recordNumber;
    ASSERT_GT(serial, 0);
    EXPECT_EQ(texts(), QStringList{QStringLiteral("新支票保存成功！ ")});
    EXPECT_EQ(column(serial, QStringLiteral("票据状态")), QStringLiteral("已用"));
    EXPECT_EQ(column(serial, QStringLiteral("收款人全称")), QStringLiteral("甲公司"));
    EXPECT_EQ(column(serial, QStringLiteral("出票日期")), QStringLiteral("2026-01-05"));
    EXPECT_EQ(column(serial, QStringLiteral("自定义3")), QStringLiteral("C3"));
    EXPECT_TRUE(db().scalar(QStringLiteral("select 自定义1 from DataZPTable")).isNull());
    EXPECT_EQ(session.title(QStringLiteral("转账支票")), QStringLiteral("支票(转账支票)-ID=%1").arg(serial));

    EXPECT_FALSE(session.saveCommand(r, today));
    EXPECT_EQ(texts(), QStringList{QStringLiteral("没有改动,无需保存~")});

    session.edited();
    r.payee = QStringLiteral("乙公司");
    ASSERT_TRUE(session.saveCommand(r, today));
    EXPECT_EQ(texts(), QStringList{QStringLiteral("支票修改保存成功（要修改成新支票请先点击【复制】按钮）！ ")});
    EXPECT_EQ(session.recordNumber, serial);
    EXPECT_EQ(rows(), 1);
    EXPECT_EQ(column(serial, QStringLiteral("收款人全称")), QStringLiteral("乙公司"));
}

TEST_F(ChequeSessionTest, ValuesAreBoundNotPasted)
{
    ChequeRecord r = record(QStringLiteral("O'Brien'); drop table DataZPTable; --"));
    ASSERT_TRUE(session.saveCommand(r, today));
    EXPECT_EQ(column(session.recordNumber, QStringLiteral("收款人全称")), r.payee);
}

TEST_F(ChequeSessionTest, VoidedRowIsNeverWritten)
{
    const int serial = preEnter(QStringLiteral("A1"), QStringLiteral("作废"));
    session.recordNumber = serial;
    ChequeRecord r = record();
    EXPECT_FALSE(session.saveCommand(r, today));
    ASSERT_EQ(messages.messages.size(), 1);
    EXPECT_EQ(messages.messages[0].text, QStringLiteral("支票已经作废,保存失败！"));
    EXPECT_EQ(messages.messages[0].caption, QStringLiteral("提示"));
    EXPECT_EQ(column(serial, QStringLiteral("票据状态")), QStringLiteral("作废"));
    EXPECT_FALSE(session.saved);
}

TEST_F(ChequeSessionTest, HistoryCannotBeSavedButCloseMayStoreACopyDatedToday)
{
    ChequeRecord r = record();
    ASSERT_TRUE(session.saveCommand(r, today));
    const int serial = session.recordNumber;
    texts();

    ASSERT_TRUE(session.beginLoad(serial));
    session.finishLoad(QStringLiteral("已用"));
    EXPECT_TRUE(session.history);
    EXPECT_TRUE(session.saved);
    EXPECT_EQ(session.title(QStringLiteral("T")), QStringLiteral("支票(T)-ID=%1[历史]").arg(serial));
    EXPECT_FALSE(session.saveCommand(r, today));
    EXPECT_EQ(texts(), QStringList{QStringLiteral("历史单据不能保存，请点击[复制]后,再保存为新单据！")});

    // Declining the history question saves nothing.
    messages.answer = false;
    EXPECT_EQ(session.save(r, today), ChequeSession::SaveOutcome::Declined);
    EXPECT_EQ(rows(), 1);
    texts();

    messages.answer = true;
    ASSERT_EQ(session.save(r, today), ChequeSession::SaveOutcome::Written);
    EXPECT_EQ(r.date, today);
    EXPECT_EQ(rows(), 2);
    EXPECT_NE(session.recordNumber, serial);
    EXPECT_EQ(column(session.recordNumber, QStringLiteral("出票日期")), QStringLiteral("2026-02-01"));
    EXPECT_EQ(column(serial, QStringLiteral("出票日期")), QStringLiteral("2026-01-05"));
    EXPECT_FALSE(session.history);
}

TEST_F(ChequeSessionTest, CopyAndNew)
{
    EXPECT_FALSE(session.copy());
    ChequeRecord r = record();
    ASSERT_TRUE(session.saveCommand(r, today));
    ASSERT_TRUE(session.copy());
    EXPECT_EQ(session.recordNumber, -1);
    EXPECT_FALSE(session.saved);
    EXPECT_EQ(session.title(QStringLiteral("T")), QStringLiteral("支票(T)-ID=-1[已复制保存过的单据为一张新单]"));
    ASSERT_TRUE(session.saveCommand(r, today));
    EXPECT_EQ(rows(), 2);
    session.newCheque();
    EXPECT_EQ(session.title(QStringLiteral("T")), QStringLiteral("支票(T)-ID=-1[新建]"));
}

TEST_F(ChequeSessionTest, PreEnteredNumberOnlyFromUnusedRows)
{
    preEnter(QStringLiteral("N1"), QStringLiteral("已用"));
    const int unused = preEnter(QStringLiteral("N1"), QStringLiteral("未用"), QStringLiteral("其他模板"));
    preEnter(QStringLiteral("N2"), QStringLiteral("作废"));
    preEnter(QStringLiteral("N3"), QStringLiteral("未用"));

    EXPECT_EQ(ChequeStore(db()).unusedNumbers(), (QStringList{QStringLiteral("N1"), QStringLiteral("N3")}));
    EXPECT_FALSE(session.pickNumber(QStringLiteral("N2")));
    const std::optional<PreEnteredNumber> picked = session.pickNumber(QStringLiteral(" N1 "));
    ASSERT_TRUE(picked);
    EXPECT_EQ(picked->serial, unused);
    EXPECT_EQ(picked->bank, QStringLiteral("银行未用"));
    EXPECT_EQ(picked->templateName, QStringLiteral("其他模板"));
    EXPECT_EQ(session.recordNumber, unused);

    // The save fills that row instead of adding one.
    ChequeRecord r = record();
    r.number = QStringLiteral("N1");
    ASSERT_TRUE(session.saveCommand(r, today));
    EXPECT_EQ(session.recordNumber, unused);
    EXPECT_EQ(column(unused, QStringLiteral("票据状态")), QStringLiteral("已用"));
    EXPECT_EQ(rows(), 4);
    EXPECT_EQ(ChequeStore(db()).unusedNumbers(), QStringList{QStringLiteral("N3")});
}

TEST_F(ChequeSessionTest, LoadingAnUnusedRowIsANewCheque)
{
    const int serial = preEnter(QStringLiteral("N9"), QStringLiteral("未用"));
    const std::optional<ChequeRecord> r = session.beginLoad(serial);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->number, QStringLiteral("N9"));
    session.finishLoad(r->status);
    EXPECT_FALSE(session.history);
    EXPECT_FALSE(session.saved);
    EXPECT_EQ(session.titleNote, QStringLiteral("新"));
}

class ChequeSeedTest : public EntryFixture {
protected:
    slipcraft::ProductData productData() const override { return slipcraft::ProductData::Include; }
};

TEST_F(ChequeSeedTest, FreshDatabaseHasAUsableDefaultChequeTemplate)
{
    Catalogue catalogue(context);
    const int id = catalogue.loadDefaultCheckTypeId(QStringLiteral("支票"));
    ASSERT_GT(id, 0);
    EXPECT_TRUE(messages.messages.isEmpty());
    EXPECT_EQ(catalogue.loadCommonTypeLastNameList(QStringLiteral("支票")), QStringList{QStringLiteral("转账支票")});
    EXPECT_EQ(catalogue.loadCheckTypeFullNameByID(id), QStringLiteral("支票（转账支票）"));

    // Every layout row names an item, and every printing item on the face has a layout.
    EXPECT_EQ(db().scalar(QStringLiteral("select count(*) from CKControl c where CheckTypeId=:id and not exists "
                                         "(select 1 from NameDict n where n.CheckTypeName='支票' and n.CtlName=c.CtlName)"),
                          {{QStringLiteral("id"), id}})
                  .toInt(),
              0);
    EXPECT_EQ(db().scalar(QStringLiteral("select count(*) from NameDict n where CheckTypeName='支票' and not exists "
                                         "(select 1 from CKControl c where c.CheckTypeId=:id and c.CtlName=n.CtlName)"),
                          {{QStringLiteral("id"), id}})
                  .toInt(),
              0);
    EXPECT_EQ(db().scalar(QStringLiteral("select count(*) from NameDict where CheckTypeName='支票' and CtlName<>upper(CtlName)"))
                  .toInt(),
              0);
    // Screen boxes lie inside the picture, print boxes inside the paper.
    EXPECT_EQ(db().scalar(QStringLiteral("select count(*) from CKControl c join ckTypeTable t using (CheckTypeId) where "
                                         "c.CheckTypeId=:id and (SrcX<0 or SrcY<0 or SrcX+SrcW>TWidth or SrcY+SrcH>THeight "
                                         "or CtlX+CtlW>PWidth or CtlY+CtlH>PHeight)"),
                          {{QStringLiteral("id"), id}})
                  .toInt(),
              0);
    EXPECT_EQ(Catalogue::getInifCheckConfigByName(catalogue.OpenCheckInif(id).get(), QStringLiteral("cfgDateChinese")),
              QStringLiteral("1"));
}

TEST_F(ChequeSeedTest, MissingPictureIsDrawnOnceAtTheTemplateSize)
{
    const QStringList written = drawMissingFormPictures(db(), home.runPath());
    ASSERT_EQ(written.size(), 1);
    EXPECT_TRUE(written[0].endsWith(QStringLiteral("Image/zp100.jpg")));
    const QImage picture(written[0]);
    EXPECT_EQ(picture.size(), QSize(960, 320));
    // Not a blank page: the printed lines are there.
    const QImage gray = picture.convertToFormat(QImage::Format_Grayscale8);
    int dark = 0;
    for (int y = 0; y < gray.height(); ++y)
        for (int x = 0; x < gray.width(); ++x)
            dark += qGray(gray.pixel(x, y)) < 128;
    EXPECT_GT(dark, 2000);
    EXPECT_TRUE(drawMissingFormPictures(db(), home.runPath()).isEmpty());
}
