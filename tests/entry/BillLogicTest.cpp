#include "EntryFixture.h"

#include "entry/BillKind.h"
#include "entry/BillLogic.h"
#include "entry/bills/CheckCDHPLogic.h"
#include "entry/bills/CheckJWHLogic.h"
#include "entry/bills/CheckKDDLogic.h"

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

TEST(BillDateTest, FaceInWordsOrDigitsCounterfoilInDigitsOrAsTheFace)
{
    const BillDateParts words = billDateParts(QDate(2026, 3, 10), true);
    EXPECT_EQ(words.year, QStringLiteral("贰零贰陆"));
    EXPECT_EQ(words.month, QStringLiteral("零叁"));
    EXPECT_EQ(words.day, QStringLiteral("零壹拾"));
    EXPECT_EQ(words.cgYear, QStringLiteral("2026"));
    EXPECT_EQ(words.cgMonth, QStringLiteral("03"));
    EXPECT_EQ(words.cgDay, QStringLiteral("10"));
    EXPECT_EQ(words.iso, QStringLiteral("2026-03-10"));
    const BillDateParts digits = billDateParts(QDate(2026, 3, 10), false);
    EXPECT_EQ(digits.year, QStringLiteral("2026"));
    EXPECT_EQ(digits.day, QStringLiteral("10"));

    // 2位年 shortens a year in digits only; a counterfoil that repeats the face follows it.
    const BillDateParts shortYear = billDateParts(QDate(2024, 3, 10), false, true, true);
    EXPECT_EQ(shortYear.year, QStringLiteral("24"));
    EXPECT_EQ(shortYear.cgYear, QStringLiteral("24"));
    EXPECT_EQ(billDateParts(QDate(2024, 3, 10), false, true, false).cgYear, QStringLiteral("2024"));
    const BillDateParts wordsKept = billDateParts(QDate(2024, 3, 10), true, true, true);
    EXPECT_EQ(wordsKept.year, QStringLiteral("贰零贰肆"));
    EXPECT_EQ(wordsKept.cgMonth, QStringLiteral("零叁"));
}


namespace {

std::string kindName(const ::testing::TestParamInfo<const BillKind*>& info)
{
    return info.param->formName.toStdString();
}

} // namespace

namespace slipcraft {

inline void PrintTo(const BillKind* kind, std::ostream* os)
{
    *os << kind->formName.toStdString();
}

} // namespace slipcraft

// The state machine and the column mapping of every bill kind over its own history table.
class BillSessionTest : public EntryFixture, public ::testing::WithParamInterface<const BillKind*> {
protected:
    const BillKind& kind() const { return *GetParam(); }
    // The column of the payee's name.
    QString payeeColumn() const
    {
        for (const ColumnSpec& described : kind().columns)
            if (described.source == kind().payeeNameBox())
                return described.column;
        return {};
    }

    BillValues values(const QString& payee = QStringLiteral("甲公司"))
    {
        BillValues v{{QStringLiteral("模板种类"), QStringLiteral("T")},
                     {payeeColumn(), payee},
                     {kind().dateColumn, QDate(2026, 1, 5)},
                     {QStringLiteral("自定义3"), QStringLiteral("C3")}};
        if (kind().bankBill) {
            v.insert(QStringLiteral("金额"), QStringLiteral("12.5"));
            v.insert(QStringLiteral("币种"), QStringLiteral("人民币"));
        }
        return v;
    }
    QVariant column(int serial, const QString& name)
    {
        return db().scalar(QStringLiteral("select %1 from %2 where 流水号=:id").arg(name, kind().historyTable),
                           {{QStringLiteral("id"), serial}});
    }
    int rows() { return db().scalar(QStringLiteral("select count(*) from %1").arg(kind().historyTable)).toInt(); }
    int preEnter(const QString& number, const QString& status, const QString& templateName = {})
    {
        if (kind().hasStatus)
            db().execute(QStringLiteral("insert into %1 (票据编号, 票据状态, 模板种类) values (:n, :s, :t)").arg(kind().historyTable),
                         {{QStringLiteral("n"), number}, {QStringLiteral("s"), status}, {QStringLiteral("t"), templateName}});
        else
            db().execute(QStringLiteral("insert into %1 (模板种类) values (:t)").arg(kind().historyTable),
                         {{QStringLiteral("t"), templateName}});
        return db().scalar(QStringLiteral("select max(流水号) from %1").arg(kind().historyTable)).toInt();
    }
    QStringList texts()
    {
        const QStringList list = messages.texts();
        messages.messages.clear();
        return list;
    }

    BillSession session{context, *GetParam()};
    const QDate today{2026, 2, 1};
};

TEST_P(BillSessionTest, NewThenUnchangedThenChangedSave)
{
    BillValues v = values();
    ASSERT_TRUE(session.saveCommand(v, today));
    const int serial = session.recordNumber;
    ASSERT_GT(serial, 0);
    EXPECT_EQ(texts(), QStringList{kind().insertedMessage});
    // Only the kinds that write a status give a new row one.
    if (kind().hasStatus)
        EXPECT_EQ(column(serial, QStringLiteral("票据状态")).toString(), kind().writesUsedStatus ? kStatusUsed : QString());
    EXPECT_EQ(column(serial, payeeColumn()).toString(), QStringLiteral("甲公司"));
    EXPECT_EQ(column(serial, kind().dateColumn).toString(), QStringLiteral("2026-01-05"));
    EXPECT_EQ(column(serial, QStringLiteral("自定义3")).toString(), QStringLiteral("C3"));
    EXPECT_TRUE(column(serial, QStringLiteral("自定义1")).isNull());

    EXPECT_FALSE(session.saveCommand(v, today));
    EXPECT_EQ(texts(), QStringList{QStringLiteral("没有改动,无需保存~")});

    session.edited();
    v.insert(payeeColumn(), QStringLiteral("乙公司"));
    ASSERT_TRUE(session.saveCommand(v, today));
    EXPECT_EQ(texts(), QStringList{kind().editedMessage});
    EXPECT_EQ(session.recordNumber, serial);
    EXPECT_EQ(rows(), 1);
    EXPECT_EQ(column(serial, payeeColumn()).toString(), QStringLiteral("乙公司"));

    // Every mapped column reads back as written.
    const std::optional<BillValues> loaded = BillStore(db(), kind()).load(serial);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->value(payeeColumn()).toString(), QStringLiteral("乙公司"));
    EXPECT_EQ(loaded->value(kind().dateColumn).toDate(), QDate(2026, 1, 5));
}

TEST_P(BillSessionTest, ValuesAreBoundNotPasted)
{
    BillValues v = values(QStringLiteral("O'Brien'); drop table %1; --").arg(kind().historyTable));
    ASSERT_TRUE(session.saveCommand(v, today));
    EXPECT_EQ(column(session.recordNumber, payeeColumn()), v.value(payeeColumn()));
}

// The kinds whose history has a status column.
class BillStatusTest : public BillSessionTest {};

TEST_P(BillStatusTest, VoidedRowIsNeverWritten)
{
    const int serial = preEnter(QStringLiteral("A1"), kStatusVoid);
    session.recordNumber = serial;
    BillValues v = values();
    EXPECT_FALSE(session.saveCommand(v, today));
    ASSERT_EQ(messages.messages.size(), 1);
    EXPECT_EQ(messages.messages[0].text, kind().voidedMessage);
    EXPECT_EQ(messages.messages[0].caption, QStringLiteral("提示"));
    EXPECT_EQ(column(serial, QStringLiteral("票据状态")).toString(), kStatusVoid);
    EXPECT_TRUE(column(serial, payeeColumn()).isNull());
    EXPECT_FALSE(session.saved);
}

TEST_P(BillSessionTest, HistoryCannotBeSavedButCloseMayStoreACopyDatedToday)
{
    const int serial = preEnter(QString(), kStatusUsed, QStringLiteral("T"));
    ASSERT_TRUE(session.beginLoad(serial));
    session.finishLoad(kStatusUsed);
    EXPECT_TRUE(session.history);
    EXPECT_TRUE(session.saved);
    BillValues v = values();
    EXPECT_FALSE(session.saveCommand(v, today));
    EXPECT_EQ(texts(), QStringList{kind().historySaveMessage});

    // Declining the history question saves nothing.
    messages.answer = false;
    EXPECT_EQ(session.save(v, today), BillSession::SaveOutcome::Declined);
    EXPECT_EQ(rows(), 1);
    texts();

    messages.answer = true;
    ASSERT_EQ(session.save(v, today), BillSession::SaveOutcome::Written);
    EXPECT_EQ(v.value(kind().dateColumn).toDate(), today);
    EXPECT_EQ(rows(), 2);
    EXPECT_NE(session.recordNumber, serial);
    EXPECT_EQ(column(session.recordNumber, kind().dateColumn).toString(), QStringLiteral("2026-02-01"));
    EXPECT_TRUE(column(serial, payeeColumn()).isNull());
    EXPECT_FALSE(session.history);
}

TEST_P(BillSessionTest, CopyOfAStoredBillSavesANewRow)
{
    EXPECT_FALSE(session.copy());
    EXPECT_EQ(texts(), kind().copyUnsavedMessage.isEmpty() ? QStringList() : QStringList{kind().copyUnsavedMessage});
    BillValues v = values();
    ASSERT_TRUE(session.saveCommand(v, today));
    ASSERT_TRUE(session.copy());
    EXPECT_EQ(session.recordNumber, -1);
    EXPECT_FALSE(session.saved);
    ASSERT_TRUE(session.saveCommand(v, today));
    EXPECT_EQ(rows(), 2);
}

// Rows without a status (saved by the kinds that write none) and rows entered in advance
// load as new bills that the next save updates; any other status loads as history.
TEST_P(BillStatusTest, LoadingFollowsTheStatus)
{
    struct Case {
        QString status;
        bool history;
    };
    for (const Case& c : {Case{QString(), false}, Case{kStatusUnused, false}, Case{kStatusUsed, true},
                          Case{kStatusVoid, true}}) {
        SCOPED_TRACE(c.status.toStdString());
        const int serial = preEnter(QStringLiteral("N"), c.status);
        const std::optional<BillValues> loaded = session.beginLoad(serial);
        ASSERT_TRUE(loaded);
        EXPECT_EQ(loaded->value(kStatusColumn).toString(), c.status);
        session.finishLoad(c.status);
        EXPECT_EQ(session.history, c.history);
        EXPECT_EQ(session.saved, c.history);
        EXPECT_EQ(session.recordNumber, serial);
    }
}

// The kinds whose numbers are entered in advance.
class PreEnteredNumberTest : public BillSessionTest {};

// Saving a bill whose number was entered in advance fills that row and uses the number.
TEST_P(PreEnteredNumberTest, IsUsedByItsSave)
{
    preEnter(QStringLiteral("N1"), kStatusUsed);
    const int unused = preEnter(QStringLiteral("N1"), kStatusUnused, QStringLiteral("其他模板"));
    preEnter(QStringLiteral("N2"), kStatusVoid);
    preEnter(QStringLiteral("N3"), kStatusUnused);
    db().execute(QStringLiteral("update %1 set %2='银行甲', 出票人账号='acct' where 流水号=:id")
                     .arg(kind().historyTable, kind().preEnteredFill.first().first),
                 {{QStringLiteral("id"), unused}});

    EXPECT_EQ(BillStore(db(), kind()).unusedNumbers(), (QStringList{QStringLiteral("N1"), QStringLiteral("N3")}));
    EXPECT_FALSE(session.pickNumber(QStringLiteral("N2")));
    const std::optional<PreEnteredNumber> picked = session.pickNumber(QStringLiteral(" N1 "));
    ASSERT_TRUE(picked);
    EXPECT_EQ(picked->serial, unused);
    EXPECT_EQ(picked->fill.value(QStringLiteral("zdOutBank")), QStringLiteral("银行甲"));
    EXPECT_EQ(picked->fill.value(QStringLiteral("zdOutBankAcct")), QStringLiteral("acct"));
    EXPECT_EQ(picked->templateName, QStringLiteral("其他模板"));
    EXPECT_EQ(session.recordNumber, unused);

    BillValues v = values();
    v.insert(QStringLiteral("票据编号"), QStringLiteral("N1"));
    ASSERT_TRUE(session.saveCommand(v, today));
    EXPECT_EQ(session.recordNumber, unused);
    EXPECT_EQ(column(unused, QStringLiteral("票据状态")).toString(), kStatusUsed);
    EXPECT_EQ(rows(), 4);
    EXPECT_EQ(BillStore(db(), kind()).unusedNumbers(), QStringList{QStringLiteral("N3")});
}

// Without a status column (the waybill) every stored bill reopens as history.
class NoStatusTest : public BillSessionTest {};

TEST_P(NoStatusTest, StoredBillIsHistory)
{
    const int serial = preEnter(QString(), QString(), QStringLiteral("T"));
    const std::optional<BillValues> loaded = session.beginLoad(serial);
    ASSERT_TRUE(loaded);
    session.finishLoad(loaded->value(kStatusColumn).toString());
    EXPECT_TRUE(session.history);
    EXPECT_EQ(session.title(QStringLiteral("T")), kind().historyTitle.arg(serial));
}

INSTANTIATE_TEST_SUITE_P(Kinds, BillSessionTest, ::testing::ValuesIn(billKinds()), kindName);

QList<const BillKind*> kindsWithStatus()
{
    QList<const BillKind*> kinds;
    for (const BillKind* kind : billKinds())
        if (kind->hasStatus)
            kinds << kind;
    return kinds;
}

INSTANTIATE_TEST_SUITE_P(Kinds, BillStatusTest, ::testing::ValuesIn(kindsWithStatus()), kindName);
INSTANTIATE_TEST_SUITE_P(Kinds, NoStatusTest, ::testing::Values(&waybillKind()), kindName);
INSTANTIATE_TEST_SUITE_P(Kinds, PreEnteredNumberTest, ::testing::Values(&chequeKind(), &wireTransferKind()), kindName);

TEST(BillTitleTest, EachKindTitlesEachEvent)
{
    RecordingMessages messages;
    TempHome home;
    AppContext context(home.runPath(), messages);
    using Event = BillSession::Event;
    struct Case {
        const BillKind* kind;
        Event event;
        int serial;
        QString title;
    };
    const Case cases[] = {
        {&chequeKind(), Event::TemplateChanged, -1, QStringLiteral("支票(转账)-ID=-1")},
        {&chequeKind(), Event::Renewed, -1, QStringLiteral("支票(转账)-ID=-1[新建]")},
        {&chequeKind(), Event::LoadedNew, 7, QStringLiteral("支票(转账)-ID=7[新]")},
        {&chequeKind(), Event::LoadedHistory, 7, QStringLiteral("支票(转账)-ID=7[历史]")},
        {&chequeKind(), Event::Copied, -1, QStringLiteral("支票(转账)-ID=-1[已复制保存过的单据为一张新单]")},
        {&chequeKind(), Event::Saved, 7, QStringLiteral("支票(转账)-ID=7")},
        {&wireTransferKind(), Event::Saved, 7, QStringLiteral("电汇单(转账)-ID=7[已保存]")},
        {&wireTransferKind(), Event::Renewed, -1, QStringLiteral("电汇单(转账)-ID=-1[新]")},
        {&wireTransferKind(), Event::LoadedNew, 7, QStringLiteral("电汇单(转账)-ID=7[新开]")},
        {&depositSlipKind(), Event::TemplateChanged, -1, QStringLiteral("进账单（转账）-ID=-1")},
        {&depositSlipKind(), Event::Saved, 7, QStringLiteral("进账单(转账)-ID=7")},
        {&depositSlipKind(), Event::Renewed, -1, QStringLiteral("新进账单-ID=-1")},
        {&depositSlipKind(), Event::LoadedNew, 7, QStringLiteral("进账单（流水号为：7)")},
        {&paymentSlipKind(), Event::LoadedHistory, 7, QStringLiteral("历史票据查看（流水号为：7)")},
        {&customFormKind(), Event::Copied, -1, QStringLiteral("已复制保存过的单据为一张新单~")},
    };
    for (const Case& c : cases) {
        BillSession session(context, *c.kind);
        session.recordNumber = c.serial;
        session.event = c.event;
        EXPECT_EQ(session.title(QStringLiteral("转账")), c.title);
    }
}

TEST(BillKindTest, MessagesFollowTheBillType)
{
    EXPECT_EQ(chequeKind().insertedMessage, QStringLiteral("新支票保存成功！ "));
    EXPECT_EQ(chequeKind().editedMessage, QStringLiteral("支票修改保存成功（要修改成新支票请先点击【复制】按钮）！ "));
    EXPECT_EQ(chequeKind().voidedMessage, QStringLiteral("支票已经作废,保存失败！"));
    EXPECT_EQ(depositSlipKind().insertedMessage, QStringLiteral("新进账单保存成功！ "));
    EXPECT_EQ(depositSlipKind().closeQuestion, QStringLiteral("是否保存该进账单？"));
    EXPECT_EQ(paymentSlipKind().insertedMessage, QStringLiteral("新缴款单保存成功!"));
    EXPECT_EQ(customFormKind().copyUnsavedMessage, QStringLiteral("未保存单据不需要复制即为一张新单！"));
    EXPECT_TRUE(wireTransferKind().copyUnsavedMessage.isEmpty());
    // Every column comes from a box the kind has, or from the form itself.
    for (const BillKind* kind : billKinds())
        for (const ColumnSpec& described : kind->columns)
            EXPECT_TRUE(described.source.startsWith(QLatin1Char('@')) || kind->hasBox(described.source))
                << kind->formName.toStdString() << ' ' << described.column.toStdString();
}

// ---- The acceptance draft -------------------------------------------------------------

TEST(DueDateTest, TypedDueDatesBecomeDates)
{
    const QDate issued(2024, 1, 15);
    struct Case {
        const char* typed;
        QDate due;
    };
    const Case cases[] = {
        {"+90", QDate(2024, 4, 14)},   {" +180 ", QDate(2024, 7, 13)}, {"+0", issued},
        {"2015.10.10", QDate(2015, 10, 10)}, {"2015-10-10", QDate(2015, 10, 10)}, {"2015/10/10", QDate(2015, 10, 10)},
        {"2024.2.29", QDate(2024, 2, 29)},
        {"abc", QDate()}, {"2023.2.29", QDate()}, {"+x", QDate()}, {"", QDate()}, {"2015.10", QDate()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        const std::optional<QDate> due = readDueDateEntry(QString::fromUtf8(c.typed), issued);
        EXPECT_EQ(due.value_or(QDate()), c.due);
    }
    EXPECT_EQ(dueDateWords(QDate(2024, 4, 14)), QStringLiteral("贰零贰肆年零肆月壹拾肆日"));
    EXPECT_EQ(dueDateWords(QDate(2026, 10, 30)), QStringLiteral("贰零贰陆年零壹拾月零叁拾日"));
}

// The stored due date is exactly the date its words name, every day of a leap year.
TEST(DueDateTest, WordsReadBackAsTheirDate)
{
    for (QDate day(2024, 1, 1); day.year() == 2024; day = day.addDays(1)) {
        const std::optional<QDate> read = dueDateFromWords(dueDateWords(day));
        ASSERT_TRUE(read) << day.toString(Qt::ISODate).toStdString();
        EXPECT_EQ(*read, day);
    }
    for (const char* words : {"", "二〇二四年", "贰零贰肆年零贰月叁拾日", "贰零贰肆年拾叁月零壹日", "2024年04月14日"})
        EXPECT_FALSE(dueDateFromWords(QString::fromUtf8(words))) << words;
}

TEST(DraftAmountTest, FiguresWithoutSeparatorsAndWordsAsTheOptionsSay)
{
    struct Case {
        const char* typed;
        const char* currency;
        bool circle;
        bool rmbInFront;
        const char* figures;
        const char* words;
        const char* message;
    };
    const Case cases[] = {
        {"1,234.5", "人民币", false, false, "1234.50", "壹仟贰佰叁拾肆元伍角整", ""},
        {"1234.5", "人民币", true, true, "1234.50", "人民币壹仟贰佰叁拾肆圆伍角整", ""},
        {"１００", "美元", false, true, "100.00", "美元壹佰元整", ""},
        {"100", "美元", true, false, "100.00", "美元壹佰圆整", ""},
        {"0", "人民币", false, false, "0.00", "零元整", ""},
        {"", "人民币", false, true, "", "", ""},
        {"1000000000", "人民币", false, false, "", "", "金额值必须介于0~1,000,000,000之间！"},
        {"1.2.3", "人民币", false, false, "", "", "金额只能为数值，例如：123.50  ！"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        const DraftAmount amount =
            draftAmount(QString::fromUtf8(c.typed), QString::fromUtf8(c.currency), c.circle, c.rmbInFront);
        EXPECT_EQ(amount.figures, QString::fromUtf8(c.figures));
        EXPECT_EQ(amount.words, QString::fromUtf8(c.words));
        EXPECT_EQ(amount.message, QString::fromUtf8(c.message));
        EXPECT_EQ(amount.ok, amount.message.isEmpty());
    }
}

// ---- The overseas remittance --------------------------------------------------------------

TEST(RemittanceAmountTest, ThreeAmountsAndTheirTotal)
{
    AmountWording wording;
    wording.currencyName = QStringLiteral("美元");
    wording.abbreviation = QStringLiteral("$");
    struct Case {
        QStringList typed;
        QStringList amounts;
        const char* figures;
        const char* words;
        const char* caption;
    };
    const Case cases[] = {
        {{QStringLiteral("100"), QStringLiteral("50.5"), QString()},
         {QStringLiteral("$100.00"), QStringLiteral("$50.50"), QString()}, "$150.50", "美元壹佰伍拾元伍角整", ""},
        {{QStringLiteral("$1,000.00"), QStringLiteral("0"), QStringLiteral("２")},
         {QStringLiteral("$1,000.00"), QString(), QStringLiteral("$2.00")}, "$1,002.00", "美元壹仟零贰元整", ""},
        {{QString(), QString(), QString()}, {QString(), QString(), QString()}, "", "", ""},
        {{QStringLiteral("1.2.3"), QString(), QString()}, {}, "", "", "金额输入错误"},
        {{QStringLiteral("600000000"), QStringLiteral("400000000"), QString()}, {}, "", "", "金额输入"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.join(QLatin1Char('|')).toStdString());
        const RemittanceAmounts result = remittanceAmounts(c.typed, wording);
        EXPECT_EQ(result.caption, QString::fromUtf8(c.caption));
        EXPECT_EQ(result.ok, result.caption.isEmpty());
        EXPECT_EQ(result.amounts, c.amounts);
        EXPECT_EQ(result.totalFigures, QString::fromUtf8(c.figures));
        EXPECT_EQ(result.totalWords, QString::fromUtf8(c.words));
    }
    // 人民币 leaves the words when the option says so.
    AmountWording rmb;
    rmb.wordsKeepRmb = false;
    EXPECT_EQ(remittanceAmounts({QStringLiteral("5"), QString(), QString()}, rmb).totalWords, QStringLiteral("伍元整"));
}

TEST(RemittanceDateTest, FormatsOfTheDateBox)
{
    const QDateTime when(QDate(2026, 3, 5), QTime(9, 7));
    const std::pair<const char*, const char*> cases[] = {
        {"YYYY-MM-DD", "2026-03-05"},     {"YYYY/MM/DD", "2026/03/05"},
        {"YYYY年MM月DD日", "2026年03月05日"}, {"YYYYMMDD hh:nn", "20260305 09:07"},
        {"YYYY/MM/DD hh:nn", "2026-03-05 09:07"}, {"", "2026-03-05"},
    };
    for (const auto& [format, text] : cases)
        EXPECT_EQ(remittanceDateText(when, QString::fromUtf8(format)), QString::fromUtf8(text)) << format;
}

// ---- The waybill --------------------------------------------------------------------------

TEST(WaybillAmountTest, FormatsOfTheAmountBox)
{
    struct Case {
        const char* figures;
        const char* format;
        bool ok;
        const char* shown;
    };
    const Case cases[] = {
        {"1234.5", "00000.00  限万位到分", true, "零壹贰叁肆伍零"},
        {"1234.5", "0000.0    限千位到角", true, "壹贰叁肆伍"},
        {"1234.5", "000000    限十万位无小数", true, "零零壹贰叁伍"},
        {"1234.5", "000       限百位无小数", true, "超出位数限制"},
        {"1234.5", "打印中国传统大写金额", true, "壹仟贰佰叁拾肆元伍角整"},
        {"1234.5", "打印小写金额", true, "1234.5"},
        {"1234.5", "", true, "1234.5"},
        {"0", "00000.00  限万位到分", true, "零"},
        {"", "00000.00  限万位到分", true, ""},
        {"1,234", "00000.00  限万位到分", false, "1,234"},
        {"1.2.3", "打印中国传统大写金额", false, "1.2.3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.figures) + " / " + c.format);
        const WaybillAmount amount = waybillAmountText(QString::fromUtf8(c.figures), QString::fromUtf8(c.format));
        EXPECT_EQ(amount.ok, c.ok);
        EXPECT_EQ(amount.text, QString::fromUtf8(c.shown));
    }
}
