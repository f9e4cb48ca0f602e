#include "shell/Application.h"

#include "data/Database.h"
#include "entry/BillForm.h"
#include "entry/PrintFromValues.h"
#include "entry/TestPage.h"
#include "templates/Catalogue.h"
#include "templates/FormPicture.h"
#include "templates/TemplatePackage.h"
#include "platform/RegistryStore.h"
#include "platform/printing/FontFaces.h"
#include "platform/printing/PdfPrinter.h"
#include "platform/printing/QtPrintService.h"
#include "platform/RunPath.h"
#include "records/AddressParser.h"
#include "records/ImportMatchCDHPLogic.h"
#include "records/ImportMatchLogic.h"
#include "platform/IniFile.h"
#include "platform/spreadsheet/Workbook.h"
#include "shell/AppContext.h"
#include "shell/Boot.h"
#include "shell/CommandLine.h"
#include "shell/MainMDI.h"
#include "shell/MessageBoxes.h"
#include "shell/StartUp.h"
#include "shell/UserLogin.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QScreen>
#include <QTranslator>
#include <QWindow>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <optional>

namespace slipcraft {

namespace {

constexpr int kStartFailed = 1;
constexpr int kUsageError = 2;

QStringList argumentList(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

// A start that cannot go on: said on standard error, and in a box unless a script started us.
int refuseStart(const QString& problem, bool interactive)
{
    std::fprintf(stderr, "%s\n", problem.toUtf8().constData());
    if (interactive)
        QMessageBox::critical(nullptr, kApplicationTitle, problem);
    return kStartFailed;
}

void reportTiming(bool enabled, const char* what, qint64 milliseconds)
{
    if (enabled)
        std::fprintf(stderr, "%s: %lld ms\n", what, static_cast<long long>(milliseconds));
}

void waitUntilExposed(QWidget& window)
{
    QElapsedTimer waited;
    waited.start();
    QCoreApplication::processEvents();
    while (window.windowHandle() && !window.windowHandle()->isExposed() && waited.elapsed() < 2000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
}

QString pdfOutputFolder(const QString& runPath)
{
    return runPath + QStringLiteral("Output/");
}

// Commands for scripts that need the window system but show no window: their
// standard error holds their own messages only, not the toolkit's chatter.
void quietToolkitWarnings(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", qFormatLogMessage(type, context, message).toUtf8().constData());
}

void prepareScriptRun()
{
    qInstallMessageHandler(quietToolkitWarnings);
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

void printLine(FILE* stream, const QString& text)
{
    std::fprintf(stream, "%s\n", text.toUtf8().constData());
}

// One printer name a line: the system's queues, then the PDF printer.
int listPrinters(int argc, char** argv, const CommandLine& commandLine)
{
    prepareScriptRun();
    QApplication application(argc, argv);
    QtPrintService printers(pdfOutputFolder(resolveRunPath(processRunPathSources(commandLine.home))));
    for (const QString& name : printers.printerNames())
        printLine(stdout, name);
    return 0;
}

// What a printing command for scripts runs in: the program's files and context, and
// the printer asked for (a PDF file, a named printer, else the locked bill printer).
// Returns the exit status.
using PrintingWork = std::function<int(AppContext&, Printer&, const std::function<QString()>& writtenFile)>;
int runPrintingCommand(int argc, char** argv, const CommandLine& commandLine, const QString& printerName,
                       const QString& outputFile, const PrintingWork& work)
{
    prepareScriptRun();
    QApplication application(argc, argv);
    installFontSubstitutions();
    const QString runPath = resolveRunPath(processRunPathSources(commandLine.home));
    if (const QString problem = checkWritableFolder(runPath); !problem.isEmpty())
        return refuseStart(problem, false);
    if (const QString problem = prepareDatabaseFile(runPath + QStringLiteral("Data/EPData.ini")); !problem.isEmpty())
        return refuseStart(problem, false);

    ConsoleMessages messages;
    AppContext context(runPath, messages);
    drawMissingFormPictures(context.db(), runPath);
    QtPrintService printers(pdfOutputFolder(runPath));
    context.setPrintService(&printers);
    if (!outputFile.isEmpty()) {
        PdfPrinter file(pdfOutputFolder(runPath));
        file.setOutputFile(QFileInfo(outputFile).absoluteFilePath());
        return work(context, file, [&file] { return file.lastFile(); });
    }
    const QString locked = context.settings().getConfigByname(QStringLiteral("DefaultPrinter"));
    if (!setDefaultPrinter(printers, printerName.isEmpty() ? locked : printerName, locked) && !printerName.isEmpty()) {
        printLine(stderr, QStringLiteral("没有这台打印机: ") + printerName);
        return kUsageError;
    }
    return work(context, printers.printer(), [&printers] {
        return printers.currentPrinter() == PrintService::kPdfPrinterName ? printers.pdfPrinter().lastFile() : QString();
    });
}

// Every printable item of a template with its sample value, on a printer or into a PDF file.
int printTestPageCommand(int argc, char** argv, const CommandLine& commandLine)
{
    const TestPageOptions options = parseTestPageOptions(commandLine.arguments);
    if (!options.error.isEmpty()) {
        printLine(stderr, options.error);
        return kUsageError;
    }
    return runPrintingCommand(argc, argv, commandLine, options.printer, options.outputFile,
                              [&](AppContext& context, Printer& printer, const std::function<QString()>& writtenFile) {
        if (context.catalogue().loadCheckTypeFullNameByID(options.templateId).isEmpty()) {
            printLine(stderr, QStringLiteral("没有编号为 %1 的模板").arg(options.templateId));
            return kUsageError;
        }
        const QString error = options.alignmentGrid ? printAlignmentPage(context, options.templateId, printer)
                                                    : printTestPage(context, options.templateId, printer);
        if (!error.isEmpty()) {
            printLine(stderr, error);
            return kStartFailed;
        }
        if (const QString file = writtenFile(); !file.isEmpty())
            printLine(stdout, file);
        return 0;
    });
}

// One bill from values other software gives, printed and, when asked, kept in its history.
int printBillCommand(int argc, char** argv, const CommandLine& commandLine)
{
    const PrintOptions options = parsePrintOptions(commandLine.arguments);
    if (!options.error.isEmpty()) {
        printLine(stderr, options.error);
        return kUsageError;
    }
    QFile valuesFile(options.valuesFile);
    if (!valuesFile.open(QIODevice::ReadOnly)) {
        printLine(stderr, QStringLiteral("无法读取文件 %1: %2").arg(options.valuesFile, valuesFile.errorString()));
        return kUsageError;
    }
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(valuesFile.readAll(), &parseError);
    if (!document.isObject()) {
        printLine(stderr, QStringLiteral("文件 %1 不是 JSON 对象: %2")
                              .arg(options.valuesFile, parseError.error == QJsonParseError::NoError
                                                           ? QStringLiteral("顶层须为 { … }")
                                                           : parseError.errorString()));
        return kUsageError;
    }
    return runPrintingCommand(argc, argv, commandLine, options.printer, options.outputFile,
                              [&](AppContext& context, Printer& printer, const std::function<QString()>& writtenFile) {
        const PrintFromValuesResult result = printBillFromValues(context, options.billType, options.templateName,
                                                                 document.object(), printer, options.save);
        if (!result.ok) {
            if (!result.error.isEmpty())
                printLine(stderr, result.error);
            return result.badInput ? kUsageError : kStartFailed;
        }
        if (options.save)
            printLine(stdout, QString::number(result.serial));
        if (const QString file = writtenFile(); !file.isEmpty())
            printLine(stdout, file);
        return 0;
    });
}

// Receiver texts on standard input, what each holds on standard output as one JSON object
// a line: the whole input as one text, or with --jsonl the "text" of each input line.
// Needs neither the run path nor the database, and writes no file.
int parseAddressCommand(const CommandLine& commandLine)
{
    const AddressCommandOptions options = parseAddressCommandOptions(commandLine.arguments);
    if (!options.error.isEmpty()) {
        printLine(stderr, options.error);
        return kUsageError;
    }
    const auto write = [](const QJsonObject& object) {
        const QByteArray line = QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
        std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
    };
    const auto fields = [](const ParsedAddress& a) {
        return QJsonObject{{QStringLiteral("company"), a.company},   {QStringLiteral("name"), a.name},
                           {QStringLiteral("phone"), a.phone},       {QStringLiteral("mobile"), a.mobile},
                           {QStringLiteral("country"), a.country},   {QStringLiteral("province"), a.province},
                           {QStringLiteral("city"), a.city},         {QStringLiteral("district"), a.district},
                           {QStringLiteral("detail"), a.detail},     {QStringLiteral("postcode"), a.postcode},
                           {QStringLiteral("remark"), a.remark}};
    };
    const auto unreadable = [] {
        printLine(stderr, QStringLiteral("无法读取标准输入: ") + QString::fromLocal8Bit(std::strerror(errno)));
        return kStartFailed;
    };
    const QByteArray byteOrderMark("\xEF\xBB\xBF");

    if (!options.jsonLines) {
        QByteArray input;
        char buffer[65536];
        for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, stdin)) > 0;)
            input.append(buffer, qsizetype(n));
        if (std::ferror(stdin))
            return unreadable();
        if (input.startsWith(byteOrderMark))
            input.remove(0, byteOrderMark.size());
        write(fields(parseAddress(QString::fromUtf8(input))));
        return 0;
    }

    char* buffer = nullptr;
    size_t capacity = 0;
    int lineNumber = 0;
    for (ssize_t n; (n = ::getline(&buffer, &capacity, stdin)) >= 0;) {
        QByteArray line(buffer, qsizetype(n));
        while (line.endsWith('\n') || line.endsWith('\r'))
            line.chop(1);
        if (++lineNumber == 1 && line.startsWith(byteOrderMark))
            line.remove(0, byteOrderMark.size());
        QJsonParseError parseError;
        const QJsonDocument document = QJsonDocument::fromJson(line, &parseError);
        const QJsonValue text = document.object().value(QStringLiteral("text"));
        if (parseError.error != QJsonParseError::NoError)
            write({{QStringLiteral("error"), QStringLiteral("第 %1 行不是 JSON: %2").arg(lineNumber).arg(parseError.errorString())}});
        else if (!text.isString())
            write({{QStringLiteral("error"), QStringLiteral("第 %1 行不是带字符串 \"text\" 的 JSON 对象").arg(lineNumber)}});
        else
            write(fields(parseAddress(text.toString())));
        // A program that writes a line and waits gets its answer.
        std::fflush(stdout);
    }
    std::free(buffer);
    return std::ferror(stdin) ? unreadable() : 0;
}

// What an import did, as one JSON line on standard output.
void printImportCounts(const importing::Counts& counts)
{
    const QJsonObject result{{QStringLiteral("read"), counts.read},
                             {QStringLiteral("imported"), counts.saved},
                             {QStringLiteral("duplicates"), counts.duplicates},
                             {QStringLiteral("invalid"), counts.invalid},
                             {QStringLiteral("failed"), counts.failed}};
    printLine(stdout, QString::fromUtf8(QJsonDocument(result).toJson(QJsonDocument::Compact)));
}

// Rows of a spreadsheet into the acceptance draft batch, matched by their headings.
int importDrafts(AppContext& context, const QString& runPath, const Workbook& book, const ImportCommandOptions& options)
{
    using namespace draftimport;
    const Worksheet& sheet = book.activeSheet();
    const QList<importing::SheetColumn> headings = importing::sheetColumns(sheet);
    const Columns columns = autoMatch(headings);
    if (std::all_of(columns.begin(), columns.end(), [](int column) { return column == 0; })) {
        QStringList names;
        for (const importing::SheetColumn& heading : headings)
            names << heading.heading;
        printLine(stderr, QStringLiteral("文件“%1”的工作表“%2”第1行的标题（%3）没有一个是承兑汇票的数据列")
                              .arg(QDir::toNativeSeparators(book.path()), sheet.name(), names.join(QStringLiteral("、"))));
        return kUsageError;
    }
    Options chosen;
    if (options.hasGroup)
        chosen.group = options.group;
    IniFile log(runPath + importing::kLogFileName);
    DraftImportRun run(context.db(), sheet, columns, chosen, log);
    run.startLog();
    importing::Counts counts;
    try {
        counts = run.run({});
    } catch (const DatabaseError& error) {
        printLine(stderr, QStringLiteral("意外导入错误,E=") + error.text());
        return kStartFailed;
    }
    run.finish(counts);
    if (counts.limitReached)
        printLine(stderr, QStringLiteral("导入中止，一次最大行数为%1").arg(importing::kRowLimit));
    printImportCounts(counts);
    return 0;
}

// Rows of a spreadsheet into the batch list, the address book or the draft batch, matched
// by the stored rules or the draft headings; what happened as one JSON object on standard
// output. Every receiver or unit is checked for a duplicate by full name, contact and
// telephone.
int importCommand(int argc, char** argv, const CommandLine& commandLine)
{
    const ImportCommandOptions options = parseImportOptions(commandLine.arguments);
    if (!options.error.isEmpty()) {
        printLine(stderr, options.error);
        return kUsageError;
    }
    QCoreApplication application(argc, argv);
    // The file is read whole before anything is written.
    std::optional<Workbook> book;
    try {
        book = Workbook::open(options.file);
    } catch (const SpreadsheetError& error) {
        printLine(stderr, error.text());
        return kUsageError;
    }
    if (!options.sheet.isEmpty()) {
        const int index = int(book->sheetNames().indexOf(options.sheet));
        if (index < 0) {
            printLine(stderr, QStringLiteral("文件“%1”中没有工作表“%2”（有：%3）")
                                  .arg(QDir::toNativeSeparators(book->path()), options.sheet,
                                       book->sheetNames().join(QStringLiteral("、"))));
            return kUsageError;
        }
        book->setActiveSheet(index);
    }
    const Worksheet& sheet = book->activeSheet();

    const QString runPath = resolveRunPath(processRunPathSources(commandLine.home));
    if (const QString problem = checkWritableFolder(runPath); !problem.isEmpty())
        return refuseStart(problem, false);
    if (const QString problem = prepareDatabaseFile(runPath + QStringLiteral("Data/EPData.ini")); !problem.isEmpty())
        return refuseStart(problem, false);
    ConsoleMessages messages;
    AppContext context(runPath, messages);
    if (options.scene == ImportCommandOptions::Scene::Drafts)
        return importDrafts(context, runPath, *book, options);

    using namespace importing;
    const Scene scene = options.scene == ImportCommandOptions::Scene::AddressBook ? Scene::AddressBook : Scene::Batch;
    const QList<SheetColumn> headings = sheetColumns(sheet);
    const Columns columns = autoMatch(headings, loadRules(context.db()), scene);
    if (std::all_of(columns.begin(), columns.end(), [](int column) { return column == 0; })) {
        QStringList names;
        for (const SheetColumn& heading : headings)
            names << heading.heading;
        printLine(stderr, QStringLiteral("文件“%1”的工作表“%2”第1行的标题（%3）不符合任何导入列匹配规则")
                              .arg(QDir::toNativeSeparators(book->path()), sheet.name(), names.join(QStringLiteral("、"))));
        return kUsageError;
    }
    if (columns[FullName] == 0 && columns[Contact] == 0 && columns[Address] == 0) {
        printLine(stderr, QStringLiteral("收、发件单位名称、联系人、地址不能同时为空，请选择有效的Excel数据文件并匹配项目！"));
        return kUsageError;
    }

    Options chosen;
    chosen.scene = scene;
    chosen.orderNumberToRemark = context.settings().getConfigByname(QStringLiteral("ckOrderIDOn")) == u"1";
    chosen.memberIdToRemark = context.settings().getConfigByname(QStringLiteral("ckMemeberIDOn")) == u"1";
    if (options.hasGroup)
        chosen.group = options.group;
    IniFile log(runPath + kLogFileName);
    ImportRun run(context.db(), sheet, columns, chosen, log, messages);
    run.startLog(book->path());
    Counts counts;
    try {
        counts = run.run({});
    } catch (const DatabaseError& error) {
        printLine(stderr, QStringLiteral("意外导入错误,E=") + error.text());
        return kStartFailed;
    }
    run.finish(counts);
    if (counts.limitReached)
        printLine(stderr, QStringLiteral("导入中止，一次最大行数为%1").arg(kRowLimit));
    printImportCounts(counts);
    return 0;
}

// Full names in the order given, each once.
QStringList distinctNames(const QStringList& names)
{
    QStringList distinct;
    for (const QString& name : names)
        if (!distinct.contains(name))
            distinct << name;
    return distinct;
}

// The program's files and context for a command that moves templates. Returns the exit status.
int runTemplateCommand(int argc, char** argv, const CommandLine& commandLine,
                       const std::function<int(AppContext&)>& work)
{
    prepareScriptRun();
    // Pictures missing from a home that never opened a window are drawn first, as at start.
    QGuiApplication application(argc, argv);
    const QString runPath = resolveRunPath(processRunPathSources(commandLine.home));
    if (const QString problem = checkWritableFolder(runPath); !problem.isEmpty())
        return refuseStart(problem, false);
    if (const QString problem = prepareDatabaseFile(runPath + QStringLiteral("Data/EPData.ini")); !problem.isEmpty())
        return refuseStart(problem, false);
    ConsoleMessages messages;
    AppContext context(runPath, messages);
    try {
        drawMissingFormPictures(context.db(), runPath);
        return work(context);
    } catch (const DatabaseError& error) {
        printLine(stderr, error.text());
        return kStartFailed;
    }
}

// Installed templates into a new package; the full name of each one written, a line each.
int exportTemplatesCommand(int argc, char** argv, const CommandLine& commandLine)
{
    const ExportTemplatesOptions options = parseExportTemplatesOptions(commandLine.arguments);
    if (!options.error.isEmpty()) {
        printLine(stderr, options.error);
        return kUsageError;
    }
    const QFileInfo output(options.outputFile);
    if (!output.absoluteDir().exists()) {
        printLine(stderr, QStringLiteral("文件夹不存在: ") + QDir::toNativeSeparators(output.absolutePath()));
        return kUsageError;
    }
    return runTemplateCommand(argc, argv, commandLine, [&](AppContext& context) {
        const QStringList installed = context.db().textColumn(
            QStringLiteral("select TypeName from ckTypeTable where coalesce(TypeName, '') <> '' order by TypeName"));
        const QStringList names = distinctNames(options.templates.isEmpty() ? installed : options.templates);
        if (names.isEmpty()) {
            printLine(stderr, QStringLiteral("系统还没有导入任何的可用票据！"));
            return kUsageError;
        }
        QStringList unknown;
        for (const QString& name : names)
            if (!installed.contains(name))
                unknown << name;
        if (!unknown.isEmpty()) {
            printLine(stderr, QStringLiteral("没有这些模板: ") + unknown.join(QStringLiteral("、")));
            return kUsageError;
        }
        ExportResult result;
        try {
            result = exportTemplates(context, names, output.absoluteFilePath());
        } catch (const PackageError& error) {
            printLine(stderr, error.text());
            return kStartFailed;
        }
        for (const QString& name : result.exported)
            printLine(stdout, name);
        return result.failed.isEmpty() ? 0 : kStartFailed;
    });
}

// Templates of a package into this installation; the full name and id of each one
// imported, a line each. Everything is checked before the first template is written.
int importTemplatesCommand(int argc, char** argv, const CommandLine& commandLine)
{
    const ImportTemplatesOptions options = parseImportTemplatesOptions(commandLine.arguments);
    if (!options.error.isEmpty()) {
        printLine(stderr, options.error);
        return kUsageError;
    }
    return runTemplateCommand(argc, argv, commandLine, [&](AppContext& context) {
        QList<PackagedTemplate> entries;
        bool currentFormat = true;
        try {
            TemplatePackage package(options.packageFile);
            currentFormat = package.currentFormat();
            const QStringList available = package.entryNames();
            const QStringList names = distinctNames(options.templates.isEmpty() ? available : options.templates);
            if (names.isEmpty()) {
                printLine(stderr, QStringLiteral("抱歉,Marrowind从包里找不到可用于导入的票据！"));
                return kUsageError;
            }
            QStringList missing;
            for (const QString& name : names)
                if (!available.contains(name))
                    missing << name;
            if (!missing.isEmpty()) {
                printLine(stderr, QDir::toNativeSeparators(options.packageFile) + QStringLiteral(" 中没有这些模板: ")
                                      + missing.join(QStringLiteral("、")));
                return kUsageError;
            }
            for (const QString& name : names)
                entries << package.readEntry(name);
        } catch (const PackageError& error) {
            printLine(stderr, error.text());
            return kUsageError;
        }
        QStringList installed;
        for (const PackagedTemplate& entry : entries) {
            if (const QString problem = importProblem(context, entry); !problem.isEmpty()) {
                printLine(stderr, entry.typeName + QStringLiteral(": ") + problem);
                return kUsageError;
            }
            if (context.catalogue().loadCheckTypeIDByTypeFullName(entry.typeName) > 0)
                installed << entry.typeName;
        }
        if (!installed.isEmpty() && !options.replace) {
            printLine(stderr, QStringLiteral("已有同名模板（加 --replace 替换）: ") + installed.join(QStringLiteral("、")));
            return kUsageError;
        }
        for (const PackagedTemplate& entry : entries) {
            const ImportOutcome outcome =
                importPackagedTemplate(context, entry, currentFormat, [&options](const QString&) { return options.replace; });
            if (outcome.status != ImportStatus::Imported) {
                printLine(stderr, QStringLiteral("导入失败，单据：") + entry.typeName + QStringLiteral("（") + outcome.problem
                                      + QStringLiteral("）"));
                return kStartFailed;
            }
            printLine(stdout, entry.typeName + QLatin1Char('\t') + QString::number(outcome.id));
            if (!currentFormat)
                printLine(stderr, QStringLiteral("导入配置项目失败-") + entry.typeName);
        }
        return 0;
    });
}

} // namespace

int runApplication(int argc, char** argv)
{
    QElapsedTimer sinceStart;
    sinceStart.start();

    const CommandLine commandLine = parseCommandLine(argumentList(argc, argv));
    if (commandLine.command == CommandLine::Command::Printers)
        return listPrinters(argc, argv, commandLine);
    if (commandLine.command == CommandLine::Command::TestPage)
        return printTestPageCommand(argc, argv, commandLine);
    if (commandLine.command == CommandLine::Command::Print)
        return printBillCommand(argc, argv, commandLine);
    if (commandLine.command == CommandLine::Command::ParseAddress)
        return parseAddressCommand(commandLine);
    if (commandLine.command == CommandLine::Command::Import)
        return importCommand(argc, argv, commandLine);
    if (commandLine.command == CommandLine::Command::ExportTemplates)
        return exportTemplatesCommand(argc, argv, commandLine);
    if (commandLine.command == CommandLine::Command::ImportTemplates)
        return importTemplatesCommand(argc, argv, commandLine);
    if (commandLine.command != CommandLine::Command::Start)
        return runScriptCommand(commandLine);

    QApplication application(argc, argv);
    // Qt's own buttons and dialogs speak the users' language.
    QTranslator qtTranslations;
    if (qtTranslations.load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslations);
    // Windows faces such as "宋体" name the installed faces, on screen as on paper.
    installFontSubstitutions();
    const bool interactive = !commandLine.quitAfterStart;
    MessageBoxes boxes;
    ConsoleMessages console;
    UserMessages& messages = interactive ? static_cast<UserMessages&>(boxes) : console;

    const QString runPath = resolveRunPath(processRunPathSources(commandLine.home));
    if (const QString problem = checkWritableFolder(runPath); !problem.isEmpty())
        return refuseStart(problem, interactive);
    if (const QString problem = prepareDatabaseFile(runPath + QStringLiteral("Data/EPData.ini")); !problem.isEmpty())
        return refuseStart(problem, interactive);
    ensureSystemPictures(runPath, programVersionText(2));

    AppContext context(runPath, messages);
    drawMissingFormPictures(context.db(), runPath);
    QtPrintService printers(pdfOutputFolder(runPath));
    context.setPrintService(&printers);
    RegistryStore registry;
    Tfm_Main fm_Main(context, registry);
    // The whole screen even where no window manager maximises windows.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        fm_Main.setGeometry(screen->availableGeometry());
    fm_Main.showMaximized();
    waitUntilExposed(fm_Main);
    reportTiming(commandLine.timings, "main window shown", sinceStart.elapsed());
    // The acceptance draft is open from the start; without a template it has said so.
    fm_Main.openBillForm(acceptanceDraftKind(), false);

    QElapsedTimer splashTime;
    splashTime.start();
    {
        Tfm_Boot fm_Boot(runPath);
        fm_Boot.show();
        fm_Boot.repaint();
        while (fm_Boot.showing())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
    reportTiming(commandLine.timings, "splash", splashTime.elapsed());

    if (fm_Main.terminateRequested())
        return kStartFailed;
    if (commandLine.quitAfterStart) {
        fm_Main.close();
        return 0;
    }
    requireSignInAtStart(fm_Main);
    return application.exec();
}

} // namespace slipcraft
