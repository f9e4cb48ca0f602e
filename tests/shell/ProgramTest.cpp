#include "PdfReader.h"
#include "TempHome.h"

#include "data/Database.h"
#include "platform/IniFile.h"

#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

namespace {

struct ProcessResult {
    int exitCode;
    QString out;
    QString err;
};

class ProgramTest : public ::testing::Test {
protected:
    // The installation record goes to a folder of the test's own.
    ProcessResult run(const QStringList& arguments, const QString& homeVariable = {})
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
        environment.insert(QStringLiteral("XDG_DATA_HOME"), config.filePath(QStringLiteral("data")));
        if (homeVariable.isEmpty())
            environment.remove(QStringLiteral("SLIPCRAFT_HOME"));
        else
            environment.insert(QStringLiteral("SLIPCRAFT_HOME"), homeVariable);
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(SLIPCRAFT_BIN), arguments);
        EXPECT_TRUE(process.waitForFinished(30000))
            << arguments.join(QLatin1Char(' ')).toStdString() << ": " << process.errorString().toStdString();
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError())};
    }

    QString fileDigest(const QString& path)
    {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return QString::fromLatin1(QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256).toHex());
    }

    QTemporaryDir config;
    QTemporaryDir home;
};

} // namespace

TEST_F(ProgramTest, FirstStartOnAFreshHomeCreatesItsFiles)
{
    const ProcessResult first = run({QStringLiteral("--home"), home.path(), QStringLiteral("--quit-after-start")});
    ASSERT_EQ(first.exitCode, 0) << first.err.toStdString();
    EXPECT_TRUE(QFileInfo(home.filePath(QStringLiteral("Data/EPData.ini"))).size() > 0);
    EXPECT_TRUE(QFileInfo::exists(home.filePath(QStringLiteral("Image/Sys_boot.jpg"))));
    EXPECT_TRUE(QFileInfo::exists(home.filePath(QStringLiteral("Image/sys_bg.jpg"))));

    const QString record = config.filePath(QStringLiteral("Marrowind/Slipcraft.conf"));
    ASSERT_TRUE(QFileInfo::exists(record));
    slipcraft::IniFile installRecord(record);
    EXPECT_EQ(installRecord.readString(QStringLiteral("VORAXE_CDHP"), QStringLiteral("RunPath")), home.path() + QLatin1Char('/'));

    // A second start finds everything in place and changes nothing it need not.
    const QString database = fileDigest(home.filePath(QStringLiteral("Data/EPData.ini")));
    const ProcessResult second = run({QStringLiteral("--quit-after-start")}, home.path());
    ASSERT_EQ(second.exitCode, 0) << second.err.toStdString();
    EXPECT_EQ(fileDigest(home.filePath(QStringLiteral("Data/EPData.ini"))), database);
}

TEST_F(ProgramTest, AFileThatIsNotItsDatabaseIsNamedAndLeftAlone)
{
    QDir(home.path()).mkpath(QStringLiteral("Data"));
    const QString path = home.filePath(QStringLiteral("Data/EPData.ini"));
    QByteArray jet(4096, '\0');
    jet.replace(0, 19, QByteArray("\x00\x01\x00\x00Standard Jet DB", 19));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(jet);
    file.close();
    const QString before = fileDigest(path);

    const ProcessResult result = run({QStringLiteral("--home"), home.path(), QStringLiteral("--quit-after-start")});
    EXPECT_NE(result.exitCode, 0);
    EXPECT_TRUE(result.err.contains(QStringLiteral("EPData.ini"))) << result.err.toStdString();
    EXPECT_EQ(fileDigest(path), before);
}

TEST_F(ProgramTest, ARunPathThatCannotBeWrittenIsReported)
{
    const QString runPath = unwritablePath(home, QStringLiteral("home"));
    const ProcessResult result = run({QStringLiteral("--home"), runPath, QStringLiteral("--quit-after-start")});
    EXPECT_NE(result.exitCode, 0);
    EXPECT_TRUE(result.err.contains(runPath)) << result.err.toStdString();
}

TEST_F(ProgramTest, ScriptCommandsPrintOneLine)
{
    struct Case {
        QStringList arguments;
        int exitCode;
        QString out;
    };
    const Case cases[] = {
        {{"words", "1005.05"}, 0, "壹仟零伍元零伍分\n"},
        {{"words", "-35.2"}, 0, "负叁拾伍元贰角整\n"},
        {{"words", "800007063"}, 0, "捌亿零柒仟零陆拾叁元整\n"},
        {{"words", "12a"}, 2, ""},
        {{"words"}, 2, ""},
        {{"words", "10000000000000"}, 2, ""},
        {{"date-words", "2024"}, 0, "贰零贰肆\n"},
        {{"date-words", "05"}, 0, "零伍\n"},
        {{"date-words", "20"}, 0, "零贰拾\n"},
        {{"date-words", "x"}, 2, ""},
        {{"date-words", "32"}, 2, ""},
    };
    for (const Case& c : cases) {
        const ProcessResult result = run(c.arguments);
        const std::string shown = c.arguments.join(' ').toStdString();
        EXPECT_EQ(result.exitCode, c.exitCode) << shown;
        EXPECT_EQ(result.out, c.out) << shown;
        if (c.exitCode != 0) {
            EXPECT_FALSE(result.err.isEmpty()) << shown;
            EXPECT_EQ(result.err.count(QLatin1Char('\n')), 1) << shown << ": " << result.err.toStdString();
        }
    }
    const ProcessResult printers = run({QStringLiteral("printers")});
    EXPECT_EQ(printers.exitCode, 0) << printers.err.toStdString();
    EXPECT_TRUE(printers.out.endsWith(QStringLiteral("PDF文件\n"))) << printers.out.toStdString();

    const ProcessResult version = run({QStringLiteral("--version")});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, QStringLiteral("slipcraft " SLIPCRAFT_VERSION "\n"));
}

TEST_F(ProgramTest, TestPagePrintsATemplatesItemsIntoAFile)
{
    const ProcessResult unknown = run({QStringLiteral("--home"), home.path(), QStringLiteral("test-page"),
                                       QStringLiteral("--template"), QStringLiteral("42")});
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_EQ(unknown.err.count(QLatin1Char('\n')), 1) << unknown.err.toStdString();

    {
        slipcraft::Database db(home.filePath(QStringLiteral("Data/EPData.ini")), QStringLiteral("program-test"));
        db.execute(QStringLiteral("insert into ckTypeTable (CheckTypeId,TypeName,TypeFirstName,TypeDescribe,Visiable)"
                                  " values (7,'样票（样张）','样票','样张','启用')"));
        db.execute(QStringLiteral("insert into NameDict (CheckTypeName,CtlName,CtlLabel,CtlType,PrintItem,ShowOrd,CtlData)"
                                  " values ('样票','ZDYT','用途','TEXT',1,1,'Sample')"));
        db.execute(QStringLiteral("insert into CKControl (CheckTypeId,CtlName,CtlX,CtlY,NeedPrint,CtlFontName,CtlFontSize)"
                                  " values (7,'ZDYT',300,200,1,'Arial',12)"));
    }
    const QString output = home.filePath(QStringLiteral("page.pdf"));
    const ProcessResult printed = run({QStringLiteral("--home"), home.path(), QStringLiteral("test-page"),
                                       QStringLiteral("--template"), QStringLiteral("7"), QStringLiteral("--output"), output});
    ASSERT_EQ(printed.exitCode, 0) << printed.err.toStdString();
    EXPECT_EQ(printed.out.trimmed(), output);
    const QList<pdfreader::Word> words = pdfreader::words(output);
    ASSERT_EQ(words.size(), 1);
    EXPECT_EQ(words[0].text, QStringLiteral("Sample"));
}

// Every bill type with a form prints and saves from the command line; what the program
// cannot know is refused before anything happens.
TEST_F(ProgramTest, PrintServesEveryBillType)
{
    const auto valuesFile = [this](const QString& name, const QByteArray& json) {
        QFile file(home.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(json);
        return file.fileName();
    };
    const QString bank = valuesFile(QStringLiteral("bank.json"),
                                    "{\"收款人全称\": \"某某贸易有限公司\", \"金额\": \"12\", \"出票日期\": \"2026-12-10\"}");
    const QString remittance = valuesFile(QStringLiteral("remittance.json"),
                                          "{\"收款人名称\": \"某某贸易有限公司\", \"现汇金额\": \"12\"}");
    const QString pdf = home.filePath(QStringLiteral("bill.pdf"));
    const auto print = [&](const QString& billType, const QString& values) {
        return run({QStringLiteral("--home"), home.path(), QStringLiteral("print"), QStringLiteral("--bill-type"), billType,
                    QStringLiteral("--values"), values, QStringLiteral("--output"), pdf, QStringLiteral("--save")});
    };
    const char* const bills[][2] = {{"进账单", "DataJZDTable"}, {"电汇单", "DataDHDTable"},  {"缴款单", "DataJKDTable"},
                                    {"承兑汇票", "DataCDHPTable"}, {"境外汇款申请书", "DataJWHTable"}, {"定制单", "DataDEFTable"}};
    for (const auto& [billType, table] : bills) {
        SCOPED_TRACE(billType);
        const bool abroad = QString::fromUtf8(table) == QLatin1String("DataJWHTable");
        const ProcessResult printed = print(QString::fromUtf8(billType), abroad ? remittance : bank);
        ASSERT_EQ(printed.exitCode, 0) << printed.err.toStdString();
        EXPECT_EQ(printed.out.split(QLatin1Char('\n')).value(0), QStringLiteral("1"));
        QString text;
        for (const pdfreader::Word& word : pdfreader::words(pdf))
            text += word.text + QLatin1Char(' ');
        EXPECT_TRUE(text.contains(QStringLiteral("某某贸易有限公司"))) << text.toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral("壹拾贰元整"))) << text.toStdString();
        slipcraft::Database db(home.filePath(QStringLiteral("Data/EPData.ini")), QStringLiteral("print-") + QString::fromUtf8(table));
        EXPECT_EQ(db.scalar(QStringLiteral("select %1 from %2 where 流水号=1")
                                .arg(abroad ? QStringLiteral("收款人名称") : QStringLiteral("收款人全称"), QString::fromUtf8(table)))
                      .toString(),
                  QStringLiteral("某某贸易有限公司"));
    }
    // The waybill: its receiver and send date, no amount.
    const QString waybill = valuesFile(QStringLiteral("waybill.json"),
                                       "{\"收件单位\": \"某某贸易有限公司\", \"收件联系人\": \"李四\", \"寄件日期\": \"2026-12-10\"}");
    const ProcessResult sent = print(QStringLiteral("快递单"), waybill);
    ASSERT_EQ(sent.exitCode, 0) << sent.err.toStdString();
    EXPECT_EQ(sent.out.split(QLatin1Char('\n')).value(0), QStringLiteral("1"));
    QString sentText;
    for (const pdfreader::Word& word : pdfreader::words(pdf))
        sentText += word.text + QLatin1Char(' ');
    EXPECT_TRUE(sentText.contains(QStringLiteral("某某贸易有限公司")) && sentText.contains(QStringLiteral("李四")))
        << sentText.toStdString();

    const ProcessResult unknown = print(QStringLiteral("汇票申请书"), bank);
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_EQ(unknown.err, QStringLiteral("不支持的单据类型：汇票申请书\n"));
    EXPECT_TRUE(unknown.out.isEmpty());
}

TEST_F(ProgramTest, PrintFillsTheChequeFromJsonAndSavesOnlyWhenAsked)
{
    const auto writeValues = [this](const char* name, const QByteArray& json) {
        QFile file(home.filePath(QString::fromUtf8(name)));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(json);
        return file.fileName();
    };
    const QString good = writeValues("good.json", "{\"收款人全称\": \"某某科技有限公司\", \"金额\": \"1005.05\","
                                                  " \"出票日期\": \"2026-12-10\"}");
    const QString bad = writeValues("bad.json", "{\"收款人全称\": \"某某\", \"no-such-box\": \"1\"}");
    const QString pdf = home.filePath(QStringLiteral("cheque.pdf"));
    const auto print = [&](const QString& values, bool save) {
        QStringList arguments{QStringLiteral("--home"), home.path(), QStringLiteral("print"), QStringLiteral("--bill-type"),
                              QStringLiteral("支票"), QStringLiteral("--values"), values, QStringLiteral("--output"), pdf};
        if (save)
            arguments << QStringLiteral("--save");
        return run(arguments);
    };
    const auto savedBills = [this] {
        slipcraft::Database db(home.filePath(QStringLiteral("Data/EPData.ini")), QStringLiteral("program-print"));
        return db.scalar(QStringLiteral("select count(*) from DataZPTable")).toInt();
    };

    const ProcessResult printed = print(good, false);
    ASSERT_EQ(printed.exitCode, 0) << printed.err.toStdString();
    EXPECT_EQ(printed.out.trimmed(), pdf);
    QStringList words;
    for (const pdfreader::Word& word : pdfreader::words(pdf))
        words << word.text;
    EXPECT_TRUE(words.join(QString()).contains(QStringLiteral("壹仟零伍元零伍分"))) << words.join(' ').toStdString();
    EXPECT_EQ(savedBills(), 0);

    const ProcessResult saved = print(good, true);
    ASSERT_EQ(saved.exitCode, 0) << saved.err.toStdString();
    EXPECT_EQ(saved.out.split(QLatin1Char('\n')).value(0), QStringLiteral("1"));
    EXPECT_EQ(savedBills(), 1);

    const ProcessResult refused = print(bad, true);
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_EQ(refused.err.count(QLatin1Char('\n')), 1) << refused.err.toStdString();
    EXPECT_EQ(savedBills(), 1);

    // An amount pasted from a full-width input method is the same amount.
    const QString fullWidth = writeValues("full-width.json", "{\"收款人全称\": \"某某\", \"金额\": \"１，２３４．５\"}");
    const ProcessResult pasted = print(fullWidth, true);
    ASSERT_EQ(pasted.exitCode, 0) << pasted.err.toStdString();
    EXPECT_EQ(pasted.out.split(QLatin1Char('\n')).value(0), QStringLiteral("2"));
    QStringList pastedWords;
    for (const pdfreader::Word& word : pdfreader::words(pdf))
        pastedWords << word.text;
    EXPECT_TRUE(pastedWords.contains(QStringLiteral("人民币壹仟贰佰叁拾肆元伍角整"))) << pastedWords.join(' ').toStdString();
    EXPECT_TRUE(pastedWords.contains(QStringLiteral("￥1,234.50"))) << pastedWords.join(' ').toStdString();
    slipcraft::Database db(home.filePath(QStringLiteral("Data/EPData.ini")), QStringLiteral("program-print-amount"));
    EXPECT_EQ(db.scalar(QStringLiteral("select 金额 from DataZPTable where 流水号=2")).toString(), QStringLiteral("1234.5"));
}
