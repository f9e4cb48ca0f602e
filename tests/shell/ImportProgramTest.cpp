#include "data/Database.h"
#include "shell/CommandLine.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

using namespace slipcraft;

namespace {

const QString kFixtures = QStringLiteral(RECORDS_FIXTURES);

struct OptionCase {
    const char* name;
    QStringList arguments;
    const char* error; // empty when the options are right
};

void PrintTo(const OptionCase& c, std::ostream* os)
{
    *os << c.arguments.join(QLatin1Char(' ')).toStdString();
}

std::string optionName(const ::testing::TestParamInfo<OptionCase>& info)
{
    return info.param.name;
}

class ImportOptions : public ::testing::TestWithParam<OptionCase> {};

} // namespace

TEST_P(ImportOptions, AreReadOrRefused)
{
    const ImportCommandOptions options = parseImportOptions(GetParam().arguments);
    const QString error = QString::fromUtf8(GetParam().error);
    if (error.isEmpty())
        EXPECT_TRUE(options.error.isEmpty()) << options.error.toStdString();
    else
        EXPECT_TRUE(options.error.startsWith(error)) << options.error.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, ImportOptions,
    ::testing::Values(OptionCase{"Receivers", {"--scene", "receivers", "a.xlsx"}, ""},
                      OptionCase{"AddressBookWithSheetAndGroup",
                                 {"a.csv", "--scene", "addressbook", "--sheet", "S", "--group", "G"},
                                 ""},
                      OptionCase{"Drafts", {"--scene", "drafts", "a.xlsx", "--group", "三月"}, ""},
                      OptionCase{"NoScene", {"a.xlsx"}, "用法: slipcraft import"},
                      OptionCase{"NoFile", {"--scene", "receivers"}, "用法: slipcraft import"},
                      OptionCase{"UnknownScene", {"--scene", "people", "a.xlsx"}, "--scene 须为"},
                      OptionCase{"TwoFiles", {"--scene", "receivers", "a.xlsx", "b.xlsx"}, "多余的参数: b.xlsx"},
                      OptionCase{"MissingValue", {"a.xlsx", "--scene"}, "--scene 需要一个值"},
                      OptionCase{"UnknownOption", {"--scene", "receivers", "--dry-run", "a.xlsx"}, "未知选项: --dry-run"}),
    optionName);

namespace {

struct ProcessResult {
    int exitCode;
    QString out;
    QString err;
};

class ImportProgramTest : public ::testing::Test {
protected:
    ProcessResult run(const QStringList& arguments)
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
        environment.remove(QStringLiteral("SLIPCRAFT_HOME"));
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(SLIPCRAFT_BIN), QStringList{QStringLiteral("--home"), home.path()} + arguments);
        EXPECT_TRUE(process.waitForFinished(30000)) << process.errorString().toStdString();
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError())};
    }
    int rows(const QString& table)
    {
        Database db(home.filePath(QStringLiteral("Data/EPData.ini")), QStringLiteral("check"));
        return db.scalar(QStringLiteral("select count(*) from ") + table).toInt();
    }
    static QJsonObject line(const QString& out)
    {
        EXPECT_TRUE(out.endsWith(QLatin1Char('\n')) && out.count(QLatin1Char('\n')) == 1) << out.toStdString();
        return QJsonDocument::fromJson(out.trimmed().toUtf8()).object();
    }

    QTemporaryDir config;
    QTemporaryDir home;
};

} // namespace

// The counts on one line; a second import finds every receiver already listed.
TEST_F(ImportProgramTest, ImportsAndReportsWhatItSkipped)
{
    const ProcessResult first =
        run({QStringLiteral("import"), QStringLiteral("--scene"), QStringLiteral("receivers"), kFixtures + QStringLiteral("receivers.xlsx")});
    ASSERT_EQ(first.exitCode, 0) << first.err.toStdString();
    EXPECT_TRUE(first.err.isEmpty()) << first.err.toStdString();
    const QJsonObject counts = line(first.out);
    EXPECT_EQ(counts.value(QStringLiteral("read")).toInt(), 4);
    EXPECT_EQ(counts.value(QStringLiteral("imported")).toInt(), 2);
    EXPECT_EQ(counts.value(QStringLiteral("duplicates")).toInt(), 1);
    EXPECT_EQ(counts.value(QStringLiteral("invalid")).toInt(), 1);
    EXPECT_TRUE(QFileInfo::exists(home.filePath(QStringLiteral("ImportLog.txt"))));

    const ProcessResult second = run({QStringLiteral("import"), QStringLiteral("--scene"), QStringLiteral("receivers"),
                                      kFixtures + QStringLiteral("receivers-gbk.csv"), QStringLiteral("--group"),
                                      QStringLiteral("展会")});
    ASSERT_EQ(second.exitCode, 0) << second.err.toStdString();
    EXPECT_EQ(line(second.out).value(QStringLiteral("duplicates")).toInt(), 3);
    EXPECT_EQ(rows(QStringLiteral("ReceiverList")), 2);

    const ProcessResult units = run({QStringLiteral("import"), QStringLiteral("--scene"), QStringLiteral("addressbook"),
                                     kFixtures + QStringLiteral("receivers.xls")});
    ASSERT_EQ(units.exitCode, 0) << units.err.toStdString();
    EXPECT_EQ(line(units.out).value(QStringLiteral("imported")).toInt(), 2);
    EXPECT_EQ(rows(QStringLiteral("CKPersonalInfoTable")), 2);
}

// A file that cannot be read, a sheet it lacks or headings that match no rule: one
// line on standard error, exit status 2, nothing written.
TEST_F(ImportProgramTest, RefusesWhatItCannotImportAndWritesNothing)
{
    QTemporaryDir dir;
    const QString unmatched = dir.filePath(QStringLiteral("unmatched.csv"));
    QFile csv(unmatched);
    ASSERT_TRUE(csv.open(QIODevice::WriteOnly));
    csv.write("甲,乙\n1,2\n");
    csv.close();
    const QList<QStringList> cases = {
        {QStringLiteral("--scene"), QStringLiteral("receivers"), dir.filePath(QStringLiteral("missing.xlsx"))},
        {QStringLiteral("--scene"), QStringLiteral("receivers"), kFixtures + QStringLiteral("receivers.xlsx"),
         QStringLiteral("--sheet"), QStringLiteral("没有这页")},
        {QStringLiteral("--scene"), QStringLiteral("addressbook"), unmatched},
    };
    for (const QStringList& arguments : cases) {
        const ProcessResult refused = run(QStringList{QStringLiteral("import")} + arguments);
        EXPECT_EQ(refused.exitCode, 2) << arguments.join(u' ').toStdString();
        EXPECT_TRUE(refused.out.isEmpty());
        EXPECT_EQ(refused.err.count(QLatin1Char('\n')), 1) << refused.err.toStdString();
        EXPECT_FALSE(QFileInfo::exists(home.filePath(QStringLiteral("ImportLog.txt"))));
    }
    EXPECT_TRUE(run({QStringLiteral("import"), QStringLiteral("--scene"), QStringLiteral("receivers"), unmatched})
                    .err.contains(QStringLiteral("甲、乙")));
    EXPECT_EQ(rows(QStringLiteral("ReceiverList")), 0);
    EXPECT_EQ(rows(QStringLiteral("CKPersonalInfoTable")), 0);
}

// Drafts go into the draft batch under the group given; the counts name the row that
// could not print. Headings that name no draft column write nothing.
TEST_F(ImportProgramTest, ImportsDraftsIntoTheDraftBatch)
{
    const ProcessResult drafts = run({QStringLiteral("import"), QStringLiteral("--scene"), QStringLiteral("drafts"),
                                      kFixtures + QStringLiteral("drafts.xlsx"), QStringLiteral("--group"),
                                      QStringLiteral("三月")});
    ASSERT_EQ(drafts.exitCode, 0) << drafts.err.toStdString();
    EXPECT_TRUE(drafts.err.isEmpty()) << drafts.err.toStdString();
    const QJsonObject counts = line(drafts.out);
    EXPECT_EQ(counts.value(QStringLiteral("read")).toInt(), 4);
    EXPECT_EQ(counts.value(QStringLiteral("imported")).toInt(), 3);
    EXPECT_EQ(counts.value(QStringLiteral("invalid")).toInt(), 1);
    EXPECT_EQ(rows(QStringLiteral("MultiPrintCDHP where 批打分组='三月'")), 3);

    const ProcessResult unmatched = run({QStringLiteral("import"), QStringLiteral("--scene"), QStringLiteral("drafts"),
                                         kFixtures + QStringLiteral("receivers.xlsx")});
    EXPECT_EQ(unmatched.exitCode, 2);
    EXPECT_TRUE(unmatched.out.isEmpty());
    EXPECT_EQ(unmatched.err.count(QLatin1Char('\n')), 1) << unmatched.err.toStdString();
    EXPECT_EQ(rows(QStringLiteral("MultiPrintCDHP")), 3);
}
