#include "shell/Application.h"

#include "data/Database.h"
#include "entry/BillForm.h"
#include "entry/PrintFromValues.h"
#include "entry/TestPage.h"
#include "templates/Catalogue.h"
#include "templates/FormPicture.h"
#include "platform/RegistryStore.h"
#include "platform/printing/FontFaces.h"
#include "platform/printing/PdfPrinter.h"
#include "platform/printing/QtPrintService.h"
#include "platform/RunPath.h"
#include "records/AddressParser.h"
#include "shell/AppContext.h"
#include "shell/Boot.h"
#include "shell/CommandLine.h"
#include "shell/MainMDI.h"
#include "shell/MessageBoxes.h"
#include "shell/StartUp.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QScreen>
#include <QTranslator>
#include <QWindow>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>

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
    return application.exec();
}

} // namespace slipcraft
