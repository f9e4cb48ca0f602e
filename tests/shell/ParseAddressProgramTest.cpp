#include <gtest/gtest.h>

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

namespace {

struct Outcome {
    int exitCode;
    QByteArray out;
    QString err;
};

// `slipcraft parse-address` as a script runs it, with its home, configuration and working
// folders all in one empty folder of the test's own.
class ParseAddressProgramTest : public ::testing::Test {
protected:
    Outcome run(const QStringList& options, const QByteArray& input, const QString& inputFile = {})
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("HOME"), folder.path());
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), folder.filePath(QStringLiteral("config")));
        environment.insert(QStringLiteral("XDG_DATA_HOME"), folder.filePath(QStringLiteral("data")));
        environment.remove(QStringLiteral("SLIPCRAFT_HOME"));
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(folder.path());
        if (!inputFile.isEmpty())
            process.setStandardInputFile(inputFile);
        process.start(QStringLiteral(SLIPCRAFT_BIN), QStringList{QStringLiteral("parse-address")} + options);
        if (inputFile.isEmpty()) {
            process.write(input);
            process.closeWriteChannel();
        }
        EXPECT_TRUE(process.waitForFinished(30000)) << process.errorString().toStdString();
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, process.readAllStandardOutput(),
                QString::fromUtf8(process.readAllStandardError())};
    }

    static QList<QJsonObject> objects(const QByteArray& out)
    {
        QList<QJsonObject> list;
        for (const QByteArray& line : out.split('\n')) {
            if (line.isEmpty())
                continue;
            QJsonParseError error;
            const QJsonDocument document = QJsonDocument::fromJson(line, &error);
            EXPECT_TRUE(document.isObject()) << line.toStdString() << ": " << error.errorString().toStdString();
            list << document.object();
        }
        return list;
    }

    QTemporaryDir folder;
};

const QStringList kFields{QStringLiteral("city"),   QStringLiteral("company"),  QStringLiteral("country"),
                          QStringLiteral("detail"), QStringLiteral("district"), QStringLiteral("mobile"),
                          QStringLiteral("name"),   QStringLiteral("phone"),    QStringLiteral("postcode"),
                          QStringLiteral("province"), QStringLiteral("remark")};

} // namespace

TEST_F(ParseAddressProgramTest, TheWholeInputIsOneTextAndOneLineOfJson)
{
    const Outcome result = run({}, QStringLiteral("收货人：张三\n手机号码：13812345678\n所在地区：广东省深圳市南山区\n"
                                              "详细地址：科技园路18号\n").toUtf8());
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(result.out.count('\n'), 1);
    const QList<QJsonObject> out = objects(result.out);
    ASSERT_EQ(out.size(), 1);
    EXPECT_EQ(out[0].keys(), kFields);
    EXPECT_EQ(out[0].value(QStringLiteral("name")).toString(), QStringLiteral("张三"));
    EXPECT_EQ(out[0].value(QStringLiteral("mobile")).toString(), QStringLiteral("13812345678"));
    EXPECT_EQ(out[0].value(QStringLiteral("city")).toString(), QStringLiteral("深圳市"));
    EXPECT_EQ(out[0].value(QStringLiteral("detail")).toString(), QStringLiteral("科技园路18号"));
    EXPECT_EQ(out[0].value(QStringLiteral("company")).toString(), QString());
    // Nothing written anywhere: no run path, no database, no settings.
    EXPECT_TRUE(QDir(folder.path()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
}

TEST_F(ParseAddressProgramTest, JsonLinesAnswerEachLineInOrderAndSayWhatIsWrongWithABadOne)
{
    const QByteArray input = QStringLiteral(
        "{\"text\": \"张三，13812345678，北京市朝阳区建国路88号\", \"id\": 7}\n"
        "not json\n"
        "{\"id\": 8}\n"
        "{\"text\": 5}\r\n"
        "{\"text\": \"李四 0755-88886666 广东省深圳市福田区深南大道1001号\"}").toUtf8();
    const Outcome result = run({QStringLiteral("--jsonl")}, input);
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    const QList<QJsonObject> out = objects(result.out);
    ASSERT_EQ(out.size(), 5) << result.out.toStdString();
    EXPECT_EQ(out[0].keys(), kFields);
    EXPECT_EQ(out[0].value(QStringLiteral("name")).toString(), QStringLiteral("张三"));
    EXPECT_EQ(out[0].value(QStringLiteral("district")).toString(), QStringLiteral("朝阳区"));
    for (int bad : {1, 2, 3}) {
        EXPECT_EQ(out[bad].keys(), QStringList{QStringLiteral("error")}) << bad;
        const QString error = out[bad].value(QStringLiteral("error")).toString();
        EXPECT_FALSE(error.isEmpty() || error.contains(u'\n')) << error.toStdString();
    }
    EXPECT_EQ(out[4].value(QStringLiteral("phone")).toString(), QStringLiteral("0755-88886666"));
    EXPECT_EQ(out[4].value(QStringLiteral("name")).toString(), QStringLiteral("李四"));
}

TEST_F(ParseAddressProgramTest, AnUnknownOptionIsOneLineOnStandardError)
{
    const Outcome result = run({QStringLiteral("--json")}, "张三 13812345678");
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_TRUE(result.out.isEmpty());
    EXPECT_EQ(result.err.trimmed().count(u'\n'), 0) << result.err.toStdString();
    EXPECT_TRUE(result.err.contains(QStringLiteral("--json"))) << result.err.toStdString();
}

TEST_F(ParseAddressProgramTest, InputThatCannotBeReadFailsWithOneLine)
{
    // A folder opens but cannot be read.
    const Outcome result = run({}, {}, folder.path());
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.out.isEmpty());
    EXPECT_EQ(result.err.trimmed().count(u'\n'), 0) << result.err.toStdString();
    EXPECT_FALSE(result.err.trimmed().isEmpty());
}
