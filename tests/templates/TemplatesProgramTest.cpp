#include "data/Database.h"

#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

namespace {

struct ProcessResult {
    int exitCode;
    QStringList out; // lines
    QStringList err;
};

// Runs the built program as other software would, on homes of the test's own.
class TemplatesProgramTest : public ::testing::Test {
protected:
    ProcessResult run(const QString& home, const QStringList& arguments)
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("config")));
        environment.remove(QStringLiteral("SLIPCRAFT_HOME"));
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(SLIPCRAFT_BIN), QStringList{QStringLiteral("--home"), home} + arguments);
        EXPECT_TRUE(process.waitForFinished(30000)) << arguments.join(QLatin1Char(' ')).toStdString();
        const auto lines = [](const QByteArray& bytes) {
            return QString::fromUtf8(bytes).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        };
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                lines(process.readAllStandardOutput()), lines(process.readAllStandardError())};
    }

    QByteArray digest(const QString& path)
    {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
        return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
    }

    QString home(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    QString database(const char* name) const { return home(name) + QStringLiteral("/Data/EPData.ini"); }

    QTemporaryDir dir;
};

const QString kCheque = QStringLiteral("支票（转账支票）");
const QString kSlip = QStringLiteral("进账单（银行进账单）");

} // namespace

TEST_F(TemplatesProgramTest, ExportAndImportOneLineATemplate)
{
    const QString package = dir.filePath(QStringLiteral("two.bpk"));
    const ProcessResult exported = run(home("a"), {"export-templates", "--output", package, "--template", kCheque,
                                                   "--template", kSlip});
    ASSERT_EQ(exported.exitCode, 0) << exported.err.join('\n').toStdString();
    EXPECT_EQ(exported.out, (QStringList{kCheque, kSlip}));
    EXPECT_TRUE(exported.err.isEmpty()) << exported.err.join('\n').toStdString();

    // A fresh home ships both: without --replace nothing changes.
    ASSERT_EQ(run(home("b"), {"export-templates", "--output", dir.filePath(QStringLiteral("b.bpk"))}).exitCode, 0);
    {
        slipcraft::Database db(database("b"), QStringLiteral("program-b"));
        db.execute(QStringLiteral("delete from ckTypeTable where CheckTypeId = 110"));
    }
    const QByteArray before = digest(database("b"));
    const ProcessResult refused = run(home("b"), {"import-templates", package});
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_EQ(refused.err, QStringList{QStringLiteral("已有同名模板（加 --replace 替换）: ") + kCheque});
    EXPECT_TRUE(refused.out.isEmpty());
    EXPECT_EQ(digest(database("b")), before);

    const ProcessResult imported = run(home("b"), {"import-templates", package, "--replace"});
    ASSERT_EQ(imported.exitCode, 0) << imported.err.join('\n').toStdString();
    EXPECT_EQ(imported.out, (QStringList{kCheque + QStringLiteral("\t100"), kSlip + QStringLiteral("\t171")}));
    EXPECT_TRUE(QFile::exists(home("b") + QStringLiteral("/Image/jzd171.jpg")));
}

TEST_F(TemplatesProgramTest, BadInputIsOneLineAndChangesNothing)
{
    const QString package = dir.filePath(QStringLiteral("one.bpk"));
    ASSERT_EQ(run(home("a"), {"export-templates", "--output", package, "--template", kCheque}).exitCode, 0);
    const QString random = dir.filePath(QStringLiteral("random.bpk"));
    {
        QFile file(random);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(5000, '\x5a'));
    }
    const QByteArray before = digest(database("a"));
    struct Case {
        QStringList arguments;
        QString errorContains;
    };
    const Case cases[] = {
        {{"import-templates", random}, random},
        {{"import-templates", dir.filePath(QStringLiteral("missing.bpk"))}, QStringLiteral("missing.bpk")},
        {{"import-templates", package, "--template", "支票（没有）"}, QStringLiteral("支票（没有）")},
        {{"import-templates"}, QStringLiteral("用法")},
        {{"import-templates", package, "--replace", "--force"}, QStringLiteral("--force")},
        {{"export-templates"}, QStringLiteral("用法")},
        {{"export-templates", "--output", dir.filePath(QStringLiteral("t.zip"))}, QStringLiteral(".bpk")},
        {{"export-templates", "--output", dir.filePath(QStringLiteral("none/t.bpk"))}, QStringLiteral("none")},
        {{"export-templates", "--output", dir.filePath(QStringLiteral("t.bpk")), "--template", "支票（没有）"},
         QStringLiteral("支票（没有）")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(QLatin1Char(' ')).toStdString());
        const ProcessResult result = run(home("a"), c.arguments);
        EXPECT_EQ(result.exitCode, 2);
        ASSERT_EQ(result.err.size(), 1) << result.err.join('\n').toStdString();
        EXPECT_TRUE(result.err[0].contains(c.errorContains)) << result.err[0].toStdString();
        EXPECT_TRUE(result.out.isEmpty());
        EXPECT_EQ(digest(database("a")), before);
    }
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("t.bpk"))));
}
