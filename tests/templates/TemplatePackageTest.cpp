#include "PackageFixture.h"
#include "PdfReader.h"

#include "entry/TestPage.h"
#include "platform/IniFile.h"
#include "platform/printing/FontFaces.h"
#include "platform/printing/PdfPrinter.h"
#include "templates/Catalogue.h"
#include "templates/TemplatePackage.h"

#include <QBuffer>
#include <QImage>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <functional>

using namespace slipcraft;

namespace {

const QString kIcbc = QStringLiteral("支票（工行'转账; drop table CKControl;--）");

class TemplatePackageTest : public ::testing::Test {
protected:
    QString packagePath(const QString& name = QStringLiteral("templates.bpk")) const { return dir.filePath(name); }

    // Exports from the home and expects every template in the package.
    void exportFrom(Home& from, const QStringList& names, const QString& target)
    {
        const ExportResult result = exportTemplates(from.context, names, target);
        ASSERT_EQ(result.exported, names) << from.messages.texts().join(QLatin1Char('\n')).toStdString();
        ASSERT_TRUE(result.failed.isEmpty());
    }

    ImportOutcome importInto(Home& to, const QString& package, const QString& name, bool replace)
    {
        TemplatePackage opened(package);
        return importPackagedTemplate(to.context, opened.readEntry(name), opened.currentFormat(),
                                      [replace](const QString&) { return replace; });
    }

    QString printTestPageOf(Home& home, int id, const QString& file)
    {
        PdfPrinter printer(dir.filePath(QStringLiteral("Output")));
        printer.setOutputFile(file);
        const QString error = printTestPage(home.context, id, printer);
        EXPECT_TRUE(error.isEmpty()) << error.toStdString();
        return file;
    }

    QTemporaryDir dir;
};

} // namespace

// What matters most: a template taken to another installation is the same template and
// prints the same page. Values with quotes and statement text travel as values.
TEST_F(TemplatePackageTest, ExportThenImportIntoAFreshHomeGivesTheSameTemplateAndPage)
{
    installFontSubstitutions();
    // The catalogue's own marks and the offsets of a home's cheques are its own.
    const QStringList local{"CheckTypeId", "ImgFile", "IniFile", "IsDefault", "IsCommon", "Visiable", "ShowOrd",
                            "XMove", "YMove"};
    Home::Snapshot exported;
    QVariantMap exportedRow;
    // One home at a time: a process has one shared connection.
    {
        Home from;
        from.db().execute(QStringLiteral("update ckTypeTable set TypeName = :name, TypeDescribe = :describe, PreImgURL = 'u'"
                                         " where CheckTypeId = :id"),
                          {{QStringLiteral("name"), kIcbc},
                           {QStringLiteral("describe"), QStringLiteral("工行'转账; drop table CKControl;--")},
                           {QStringLiteral("id"), kChequeId}});
        from.db().execute(QStringLiteral("update CKControl set CtlFontColor = '255', InitValue = 'it''s', CtlLH = 70"
                                         " where CheckTypeId = :id and CtlName = 'ZDNIAN'"),
                          {{QStringLiteral("id"), kChequeId}});
        from.db().execute(QStringLiteral("insert into DMTable (CheckTypeId, DMName, DMValue) values (:id, 'cfgNote', 'a''b\"c')"),
                          {{QStringLiteral("id"), kChequeId}});
        exportFrom(from, {kIcbc}, packagePath());
        exported = from.snapshot(kChequeId);
        exportedRow = from.templateRow(kChequeId, local);
        printTestPageOf(from, kChequeId, dir.filePath(QStringLiteral("from.pdf")));
    }
    ASSERT_FALSE(exported.items.isEmpty());
    ASSERT_FALSE(exported.options.isEmpty());
    ASSERT_FALSE(exported.picture.isEmpty());

    Home to;
    const ImportOutcome outcome = importInto(to, packagePath(), kIcbc, false);
    ASSERT_EQ(outcome.status, ImportStatus::Imported) << outcome.problem.toStdString();
    EXPECT_EQ(outcome.id, 171); // one above the shipped templates
    EXPECT_EQ(to.templateRow(outcome.id, local), exportedRow);
    const QVariantMap imported = to.templateRow(outcome.id);
    EXPECT_EQ(imported.value("ImgFile").toString(), QStringLiteral("zp171.jpg"));
    EXPECT_EQ(imported.value("IsDefault").toString(), QStringLiteral("0"));
    EXPECT_EQ(imported.value("IsCommon").toString(), QStringLiteral("是"));
    EXPECT_EQ(imported.value("Visiable").toString(), QStringLiteral("启用"));
    EXPECT_EQ(imported.value("XMove").toInt(), 0);
    EXPECT_EQ(to.items(outcome.id), exported.items);
    EXPECT_EQ(to.options(outcome.id), exported.options);
    EXPECT_EQ(to.picture(outcome.id), exported.picture);

    const QString fromPage = dir.filePath(QStringLiteral("from.pdf"));
    const QString toPage = printTestPageOf(to, outcome.id, dir.filePath(QStringLiteral("to.pdf")));
    const QList<pdfreader::Word> fromWords = pdfreader::words(fromPage);
    const QList<pdfreader::Word> toWords = pdfreader::words(toPage);
    ASSERT_GT(fromWords.size(), 10);
    ASSERT_EQ(toWords.size(), fromWords.size());
    for (qsizetype i = 0; i < fromWords.size(); ++i) {
        SCOPED_TRACE(fromWords[i].text.toStdString());
        EXPECT_EQ(toWords[i].text, fromWords[i].text);
        EXPECT_DOUBLE_EQ(toWords[i].xMin, fromWords[i].xMin);
        EXPECT_DOUBLE_EQ(toWords[i].yMin, fromWords[i].yMin);
    }
    EXPECT_EQ(pdfreader::info(toPage).pageSizePt, pdfreader::info(fromPage).pageSizePt);
}

TEST_F(TemplatePackageTest, ReplacingKeepsTheIdAndTakesThePackagesLayout)
{
    Home home;
    exportFrom(home, {kCheque}, packagePath());
    const Home::Snapshot exported = home.snapshot(kChequeId);
    home.db().execute(QStringLiteral("update CKControl set CtlX = CtlX + 100 where CheckTypeId = :id"), {{"id", kChequeId}});
    home.db().execute(QStringLiteral("delete from DMTable where CheckTypeId = :id"), {{"id", kChequeId}});
    writeFile(home.home.path(QStringLiteral("Image/zp100.jpg")), QByteArray("changed"));

    const ImportOutcome kept = importInto(home, packagePath(), kCheque, false);
    EXPECT_EQ(kept.status, ImportStatus::Kept);
    EXPECT_EQ(home.picture(kChequeId), QByteArray("changed"));

    const ImportOutcome replaced = importInto(home, packagePath(), kCheque, true);
    ASSERT_EQ(replaced.status, ImportStatus::Imported) << replaced.problem.toStdString();
    EXPECT_EQ(replaced.id, kChequeId);
    const Home::Snapshot now = home.snapshot(kChequeId);
    EXPECT_EQ(now.items, exported.items);
    EXPECT_EQ(now.options, exported.options);
    EXPECT_EQ(now.picture, exported.picture);
    EXPECT_EQ(now.templates, exported.templates);
    // The only cheque template was replaced: no template left to take offsets from.
    EXPECT_TRUE(now.row.value("XMove").isNull());
}

// Whatever step of a replacement fails, the installed template stays as it was.
struct HalfWayFailure {
    const char* name;
    std::function<void(Home&)> arrange;
};

class ReplacementFailingHalfWay : public TemplatePackageTest, public ::testing::WithParamInterface<HalfWayFailure> {};

TEST_P(ReplacementFailingHalfWay, LeavesTheOldTemplate)
{
    Home home;
    exportFrom(home, {kCheque}, packagePath());
    // The installed template now differs from the packaged one in every part.
    home.db().execute(QStringLiteral("update CKControl set CtlX = CtlX + 100 where CheckTypeId = :id"), {{"id", kChequeId}});
    home.db().execute(QStringLiteral("update DMTable set DMValue = 'x' where CheckTypeId = :id"), {{"id", kChequeId}});
    home.db().execute(QStringLiteral("update ckTypeTable set XMove = 35, IsDefault = '默认' where CheckTypeId = :id"),
                      {{"id", kChequeId}});
    writeFile(home.home.path(QStringLiteral("Image/zp100.jpg")), QByteArray("installed picture"));
    GetParam().arrange(home);
    const Home::Snapshot before = home.snapshot(kChequeId);

    const ImportOutcome outcome = importInto(home, packagePath(), kCheque, true);
    EXPECT_EQ(outcome.status, ImportStatus::Failed);
    EXPECT_FALSE(outcome.problem.isEmpty());
    EXPECT_EQ(home.snapshot(kChequeId), before);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, ReplacementFailingHalfWay,
    ::testing::Values(
        HalfWayFailure{"TemplateRow",
                       [](Home& home) {
                           home.db().execute(QStringLiteral("create trigger refuse before insert on ckTypeTable"
                                                            " begin select raise(abort, 'disk full'); end"));
                       }},
        HalfWayFailure{"ItemRows",
                       [](Home& home) {
                           home.db().execute(QStringLiteral("create trigger refuse before insert on CKControl"
                                                            " when new.CtlName = 'ZDRI' begin select raise(abort, 'disk full'); end"));
                       }},
        HalfWayFailure{"OptionRows",
                       [](Home& home) {
                           home.db().execute(QStringLiteral("create trigger refuse before insert on DMTable"
                                                            " begin select raise(abort, 'disk full'); end"));
                       }},
        HalfWayFailure{"PictureFile",
                       [](Home& home) {
                           // The picture's name is taken by a folder the import cannot replace.
                           home.db().execute(QStringLiteral("update ckTypeTable set ImgFile = 'other.jpg' where CheckTypeId = 100"));
                           writeFile(home.home.path(QStringLiteral("Image/other.jpg")), QByteArray("installed picture"));
                           QFile::remove(home.home.path(QStringLiteral("Image/zp100.jpg")));
                           QDir().mkpath(home.home.path(QStringLiteral("Image/zp100.jpg/taken")));
                       }}),
    [](const ::testing::TestParamInfo<HalfWayFailure>& info) { return std::string(info.param.name); });

// Files that are not our packages are refused, named, and left exactly as they were.
struct ForeignFile {
    const char* name;
    std::function<QByteArray(const QString& package, const QString& workFolder)> bytes;
    const char* reason;
};

class ForeignPackage : public TemplatePackageTest, public ::testing::WithParamInterface<ForeignFile> {};

namespace {

QByteArray sqliteFile(const QString& folder, const QString& script)
{
    const QString path = folder + QStringLiteral("/made/made.db");
    QFile::remove(path);
    writeFile(path, QByteArray());
    {
        Database db(path, QStringLiteral("foreign-") + QString::number(QRandomGenerator::global()->generate()));
        db.executeScript(script);
    }
    return fileBytes(path);
}

QByteArray jpegBytes()
{
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(Qt::white);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG");
    return bytes;
}

} // namespace

TEST_P(ForeignPackage, IsRefusedByNameAndLeftAlone)
{
    Home home;
    exportFrom(home, {kCheque}, packagePath(QStringLiteral("good.bpk")));
    const QString path = packagePath(QStringLiteral("中文 名.bpk"));
    writeFile(path, GetParam().bytes(packagePath(QStringLiteral("good.bpk")), dir.path()));
    const QByteArray before = fileBytes(path);

    try {
        TemplatePackage package(path);
        FAIL() << "accepted";
    } catch (const PackageError& error) {
        EXPECT_TRUE(error.text().contains(path)) << error.text().toStdString();
        EXPECT_TRUE(error.text().contains(QString::fromUtf8(GetParam().reason))) << error.text().toStdString();
    }
    EXPECT_EQ(fileBytes(path), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2); // no journal or copy beside it
}

INSTANTIATE_TEST_SUITE_P(
    Files, ForeignPackage,
    ::testing::Values(
        ForeignFile{"EmptyFile", [](const QString&, const QString&) { return QByteArray(); }, "文件格式不对"},
        ForeignFile{"RandomBytes",
                    [](const QString&, const QString&) {
                        QRandomGenerator random(20);
                        QByteArray bytes(8192, '\0');
                        for (char& c : bytes)
                            c = char(random.bounded(256));
                        return bytes;
                    },
                    "文件格式不对"},
        ForeignFile{"OlderJetDatabase",
                    [](const QString&, const QString&) {
                        QByteArray jet(4096, '\0');
                        jet.replace(0, 19, QByteArray("\x00\x01\x00\x00Standard Jet DB", 19));
                        return jet;
                    },
                    "文件格式不对"},
        ForeignFile{"Picture", [](const QString&, const QString&) { return jpegBytes(); }, "文件格式不对"},
        ForeignFile{"TruncatedToItsHeader",
                    [](const QString& good, const QString&) { return fileBytes(good).left(100); }, "文件已损坏"},
        ForeignFile{"TruncatedHalfWay",
                    [](const QString& good, const QString&) {
                        const QByteArray bytes = fileBytes(good);
                        return bytes.left(bytes.size() / 2);
                    },
                    "文件已损坏"},
        ForeignFile{"ForeignDatabase",
                    [](const QString&, const QString& folder) {
                        return sqliteFile(folder, QStringLiteral("create table people (name text); insert into people values ('a');"));
                    },
                    "缺少表 _ckTypeTable"},
        ForeignFile{"TemplateTableWithoutNames",
                    [](const QString&, const QString& folder) {
                        return sqliteFile(folder, QStringLiteral("create table _ckTypeTable (CheckTypeID integer);"));
                    },
                    "缺少列 typename"},
        ForeignFile{"OptionsWithoutItems",
                    [](const QString&, const QString& folder) {
                        return sqliteFile(folder, QStringLiteral("create table _ckTypeTable (CheckTypeID integer, typename text);"
                                                                 "create table _config (DMName text, DMValue text, CheckTypeId integer);"));
                    },
                    "缺少表 _ckControl"}),
    [](const ::testing::TestParamInfo<ForeignFile>& info) { return std::string(info.param.name); });

TEST_F(TemplatePackageTest, DamagedEntriesAreRefusedAndNamed)
{
    Home home;
    exportFrom(home, {kCheque}, packagePath());
    const struct {
        const char* what;
        const char* statement;
        const char* reason;
    } cases[] = {
        {"an item position that is no number", "update _ckControl set CtlX = 'abc' where CtlName = 'ZDRI'", "CtlX 不是整数"},
        {"an offset that is no number", "update _ckTypeTable set xmove = 'left'", "xmove 不是整数"},
        {"a picture that is no picture", "update _ckTypeTable set Img_Bytes = x'00112233'", "模板图片无法读取"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const QString damaged = packagePath(QStringLiteral("damaged.bpk"));
        QFile::remove(damaged);
        QFile::copy(packagePath(), damaged);
        {
            Database package(damaged, QStringLiteral("damage"));
            package.execute(QString::fromUtf8(c.statement));
        }
        TemplatePackage package(damaged);
        try {
            package.readEntry(kCheque);
            ADD_FAILURE() << "accepted";
        } catch (const PackageError& error) {
            EXPECT_TRUE(error.text().contains(kCheque)) << error.text().toStdString();
            EXPECT_TRUE(error.text().contains(QString::fromUtf8(c.reason))) << error.text().toStdString();
        }
    }
}

// A package of an older program has template rows and pictures only.
TEST_F(TemplatePackageTest, OlderPackagesGiveTemplatesWithoutItemsOrOptions)
{
    Home home;
    exportFrom(home, {kCheque}, packagePath());
    {
        Database package(packagePath(), QStringLiteral("older"));
        package.executeScript(QStringLiteral("drop table _config; drop table _ckControl;"
                                             " alter table _ckTypeTable drop column TypeFirstName;"
                                             " update _ckTypeTable set typename = '支票（旧包）', TypeDescribe = '旧包';"));
    }
    TemplatePackage package(packagePath());
    EXPECT_FALSE(package.currentFormat());
    const ImportOutcome outcome =
        importPackagedTemplate(home.context, package.readEntry(QStringLiteral("支票（旧包）")), package.currentFormat(), {});
    ASSERT_EQ(outcome.status, ImportStatus::Imported) << outcome.problem.toStdString();
    EXPECT_TRUE(home.items(outcome.id).isEmpty());
    EXPECT_TRUE(home.options(outcome.id).isEmpty());
    EXPECT_EQ(home.picture(outcome.id), home.picture(kChequeId));
    // The bill type comes from the full name, so the cheque form offers it.
    EXPECT_TRUE(home.context.catalogue().loadCheckTypeLastNameList(QStringLiteral("支票")).contains(QStringLiteral("旧包")));
}

// Offsets suit the printer the package was made on; a home uses its own.
TEST_F(TemplatePackageTest, ImportedOffsetsAreThoseOfTheBillTypesFirstTemplate)
{
    Home home;
    exportFrom(home, {kCheque}, packagePath());
    {
        Database package(packagePath(), QStringLiteral("offsets"));
        package.execute(QStringLiteral("update _ckTypeTable set typename = '支票（新）', xmove = 99, ymove = 99"));
    }
    const struct {
        const char* what;
        const char* arrange;
        QVariant x, y; // invalid: left empty
    } cases[] = {
        {"the shipped cheque", "select 1", 0, 0},
        {"a common one before the default", "insert into ckTypeTable (CheckTypeId, TypeName, TypeFirstName, TypeDescribe,"
                                             " IsCommon, IsDefault, XMove, YMove) values (900, '支票（A）', '支票', 'A', '', '', -20, 15)",
         -20, 15},
        {"no cheque template at all", "delete from ckTypeTable where TypeFirstName = '支票'", QVariant(), QVariant()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        home.db().execute(QString::fromUtf8(c.arrange));
        const ImportOutcome outcome = importInto(home, packagePath(), QStringLiteral("支票（新）"), true);
        ASSERT_EQ(outcome.status, ImportStatus::Imported) << outcome.problem.toStdString();
        const QVariantMap row = home.templateRow(outcome.id);
        EXPECT_EQ(row.value("XMove").isNull(), !c.x.isValid());
        EXPECT_EQ(row.value("XMove").toInt(), c.x.toInt());
        EXPECT_EQ(row.value("YMove").isNull(), !c.y.isValid());
        EXPECT_EQ(row.value("YMove").toInt(), c.y.toInt());
        home.db().execute(QStringLiteral("delete from ckTypeTable where CheckTypeId = :id"), {{"id", outcome.id}});
    }
}

TEST_F(TemplatePackageTest, EntriesThatCannotBeImportedFailWithoutChange)
{
    Home home;
    exportFrom(home, {kCheque}, packagePath());
    const int templates = home.snapshot(kChequeId).templates;
    const struct {
        const char* what;
        const char* statement;
        const char* name;
    } cases[] = {
        {"a bill type without a code", "update _ckTypeTable set typename = '收据（A）', TypeFirstName = '收据'", "收据（A）"},
        {"no bill type at all", "update _ckTypeTable set typename = '无类型', TypeFirstName = ''", "无类型"},
        {"an id that is no template", "update _ckTypeTable set typename = '支票（B）', CheckTypeID = 0", "支票（B）"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        {
            Database package(packagePath(), QStringLiteral("cannot"));
            package.execute(QString::fromUtf8(c.statement));
        }
        const ImportOutcome outcome = importInto(home, packagePath(), QString::fromUtf8(c.name), true);
        EXPECT_EQ(outcome.status, ImportStatus::Failed);
        EXPECT_FALSE(outcome.problem.isEmpty());
        EXPECT_EQ(home.snapshot(kChequeId).templates, templates);
    }
}

// An export that fails leaves the file it would have replaced, and nothing beside it.
TEST_F(TemplatePackageTest, FailedExportKeepsTheOldFile)
{
    Home home;
    writeFile(packagePath(), QByteArray("an older package"));
    const ExportResult result = exportTemplates(home.context, {QStringLiteral("支票（没有这个）")}, packagePath());
    EXPECT_TRUE(result.exported.isEmpty());
    EXPECT_EQ(result.failed, QStringList{QStringLiteral("支票（没有这个）")});
    EXPECT_EQ(home.messages.texts(), QStringList{QStringLiteral("导出失败，单据：支票（没有这个）（没有这个模板）")});
    EXPECT_EQ(IniFile(home.home.path(QStringLiteral("Config.ini"))).readString(QStringLiteral("ERROR"), QStringLiteral("LASTERROR")),
              home.messages.texts().value(0));
    EXPECT_EQ(fileBytes(packagePath()), QByteArray("an older package"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("templates.bpk")});

    EXPECT_THROW(exportTemplates(home.context, {kCheque}, dir.filePath(QStringLiteral("missing/t.bpk"))), PackageError);
}

// A template whose items cannot be copied is not in the package and counts as failed.
TEST_F(TemplatePackageTest, TemplateWhoseItemsCannotBeCopiedIsCountedAsFailed)
{
    Home home;
    home.db().execute(QStringLiteral("update CKControl set CtlY = 'top' where CheckTypeId = 110 and ID ="
                                     " (select min(ID) from CKControl where CheckTypeId = 110)"));
    const ExportResult result = exportTemplates(home.context, {kCheque, QStringLiteral("进账单（银行进账单）")}, packagePath());
    EXPECT_EQ(result.exported, QStringList{kCheque});
    EXPECT_EQ(result.failed, QStringList{QStringLiteral("进账单（银行进账单）")});
    ASSERT_EQ(home.messages.texts().size(), 1);
    EXPECT_TRUE(home.messages.texts()[0].startsWith(QStringLiteral("导出失败，单据：进账单（银行进账单）")));
    EXPECT_TRUE(home.messages.texts()[0].contains(QStringLiteral("CtlY 不是整数")));
    TemplatePackage package(packagePath());
    EXPECT_EQ(package.entryNames(), QStringList{kCheque});
}

// A template whose picture file is gone still travels, said so.
TEST_F(TemplatePackageTest, MissingPictureIsToldAndTheTemplateStillExported)
{
    Home home;
    QFile::remove(home.home.path(QStringLiteral("Image/zp100.jpg")));
    const ExportResult result = exportTemplates(home.context, {kCheque, QStringLiteral("进账单（银行进账单）")}, packagePath());
    EXPECT_EQ(result.exported.size(), 2);
    EXPECT_EQ(home.messages.texts(),
              QStringList{QStringLiteral("图片获取失败,") + QDir::toNativeSeparators(home.home.path(QStringLiteral("Image/zp100.jpg")))});
    TemplatePackage package(packagePath());
    EXPECT_EQ(package.entryNames(), (QStringList{kCheque, QStringLiteral("进账单（银行进账单）")}));
    EXPECT_TRUE(package.readEntry(kCheque).picture.isEmpty());
}

TEST(TemplatePackageTexts, FileNamesAndReports)
{
    EXPECT_EQ(proposedPackageName({}), QStringLiteral("Marrowind票据模板.bpk"));
    EXPECT_EQ(proposedPackageName({QStringLiteral("快递单（A1）")}), QStringLiteral("快递单-A1.bpk"));
    EXPECT_EQ(proposedPackageName({QStringLiteral("快递单（A1）"), QStringLiteral("快递单（A2）")}),
              QStringLiteral("快递单-A1等2个模板.bpk"));
    EXPECT_EQ(importReport(3, 0, 0), QStringLiteral("导入结束，成功导入单据3个!"));
    EXPECT_EQ(importReport(2, 1, 0), QStringLiteral("导入结束，成功导入单据2个，失败1个!"));
    EXPECT_EQ(importReport(0, 2, 1), QStringLiteral("导入结束，失败2个!（保留已有的同名模板1个）"));
    EXPECT_EQ(exportReport(2, 0), QStringLiteral("导出完成,成功导出2个单据！"));
    EXPECT_EQ(exportReport(0, 2), QStringLiteral("导出结束,失败2个模板！,模板未能导出成功！"));
    EXPECT_EQ(exportReport(1, 1), QStringLiteral("导出结束,失败1个模板！成功导出1个模板"));
}
