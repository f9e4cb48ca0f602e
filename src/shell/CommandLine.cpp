#include "shell/CommandLine.h"

#include "entry/BillKind.h"
#include "shell/StartUp.h"
#include "wording/Functions.h"

#include <cstdio>
#include <stdexcept>

namespace slipcraft {

namespace {

constexpr int kUsageError = 2;

void printLine(FILE* stream, const QString& text)
{
    std::fprintf(stream, "%s\n", text.toUtf8().constData());
}

int wordsCommand(const QStringList& arguments)
{
    if (arguments.size() != 1) {
        printLine(stderr, QStringLiteral("用法: slipcraft words 金额"));
        return kUsageError;
    }
    const QString& amount = arguments.first();
    if (!isDecimalNumber(amount)) {
        printLine(stderr, QStringLiteral("不是数字: ") + amount);
        return kUsageError;
    }
    const QString words = amountToWords(amount);
    if (words.isEmpty()) {
        printLine(stderr, QStringLiteral("金额超出范围（须小于10万亿元）: ") + amount);
        return kUsageError;
    }
    printLine(stdout, words);
    return 0;
}

int dateWordsCommand(const QStringList& arguments)
{
    if (arguments.size() != 1) {
        printLine(stderr, QStringLiteral("用法: slipcraft date-words 年|月|日"));
        return kUsageError;
    }
    const QString& value = arguments.first();
    QString words;
    try {
        words = datePartToWords(value);
    } catch (const std::invalid_argument&) {
        printLine(stderr, QStringLiteral("不是数字: ") + value);
        return kUsageError;
    }
    if (words.isEmpty()) {
        printLine(stderr, QStringLiteral("月、日须在1到31之间，年须为数字: ") + value);
        return kUsageError;
    }
    printLine(stdout, words);
    return 0;
}

} // namespace

CommandLine parseCommandLine(const QStringList& arguments)
{
    CommandLine result;
    const auto invalid = [&](const QString& error) {
        result.command = CommandLine::Command::Invalid;
        result.error = error;
        return result;
    };
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (argument == QLatin1String("--home")) {
            if (++i == arguments.size())
                return invalid(QStringLiteral("--home 需要一个文件夹"));
            result.home = arguments.at(i);
        } else if (argument.startsWith(QLatin1String("--home="))) {
            result.home = argument.mid(7);
        } else if (argument == QLatin1String("--version")) {
            result.command = CommandLine::Command::Version;
        } else if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            result.command = CommandLine::Command::Help;
        } else if (argument == QLatin1String("--quit-after-start")) {
            result.quitAfterStart = true;
        } else if (argument == QLatin1String("--timings")) {
            result.timings = true;
        } else if (argument.startsWith(QLatin1Char('-'))) {
            return invalid(QStringLiteral("未知选项: ") + argument);
        } else {
            if (argument == QLatin1String("words"))
                result.command = CommandLine::Command::Words;
            else if (argument == QLatin1String("date-words"))
                result.command = CommandLine::Command::DateWords;
            else if (argument == QLatin1String("printers"))
                result.command = CommandLine::Command::Printers;
            else if (argument == QLatin1String("test-page"))
                result.command = CommandLine::Command::TestPage;
            else if (argument == QLatin1String("print"))
                result.command = CommandLine::Command::Print;
            else if (argument == QLatin1String("parse-address"))
                result.command = CommandLine::Command::ParseAddress;
            else if (argument == QLatin1String("import"))
                result.command = CommandLine::Command::Import;
            else if (argument == QLatin1String("export-templates"))
                result.command = CommandLine::Command::ExportTemplates;
            else if (argument == QLatin1String("import-templates"))
                result.command = CommandLine::Command::ImportTemplates;
            else
                return invalid(QStringLiteral("未知命令: ") + argument);
            result.arguments = arguments.mid(i + 1);
            break;
        }
    }
    return result;
}

TestPageOptions parseTestPageOptions(const QStringList& arguments)
{
    TestPageOptions options;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& option = arguments.at(i);
        if (option == QLatin1String("--grid")) {
            options.alignmentGrid = true;
            continue;
        }
        const bool known = option == QLatin1String("--template") || option == QLatin1String("--printer")
            || option == QLatin1String("--output");
        if (!known) {
            options.error = QStringLiteral("未知选项: ") + option;
            return options;
        }
        if (++i == arguments.size()) {
            options.error = option + QStringLiteral(" 需要一个值");
            return options;
        }
        const QString& value = arguments.at(i);
        if (option == QLatin1String("--template")) {
            bool ok = false;
            options.templateId = value.toInt(&ok);
            if (!ok || options.templateId <= 0) {
                options.error = QStringLiteral("模板编号须为正整数: ") + value;
                return options;
            }
        } else if (option == QLatin1String("--printer")) {
            options.printer = value;
        } else {
            options.outputFile = value;
        }
    }
    if (options.templateId <= 0)
        options.error = QStringLiteral("用法: slipcraft test-page --template 模板编号 [--grid] [--printer 打印机 | --output 文件.pdf]");
    else if (!options.printer.isEmpty() && !options.outputFile.isEmpty())
        options.error = QStringLiteral("--printer 与 --output 只能选一个");
    return options;
}

PrintOptions parsePrintOptions(const QStringList& arguments)
{
    PrintOptions options;
    const QString usage = QStringLiteral("用法: slipcraft print --bill-type 票据类型 [--template 模板名] --values 文件.json "
                                         "[--printer 打印机 | --output 文件.pdf] [--save]");
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& option = arguments.at(i);
        if (option == QLatin1String("--save")) {
            options.save = true;
            continue;
        }
        QString* target = option == QLatin1String("--bill-type") ? &options.billType
            : option == QLatin1String("--template")               ? &options.templateName
            : option == QLatin1String("--values")                 ? &options.valuesFile
            : option == QLatin1String("--printer")                ? &options.printer
            : option == QLatin1String("--output")                 ? &options.outputFile
                                                                  : nullptr;
        if (!target) {
            options.error = QStringLiteral("未知选项: ") + option;
            return options;
        }
        if (++i == arguments.size()) {
            options.error = option + QStringLiteral(" 需要一个值");
            return options;
        }
        *target = arguments.at(i);
    }
    if (options.billType.isEmpty() || options.valuesFile.isEmpty())
        options.error = usage;
    else if (!options.printer.isEmpty() && !options.outputFile.isEmpty())
        options.error = QStringLiteral("--printer 与 --output 只能选一个");
    return options;
}

AddressCommandOptions parseAddressCommandOptions(const QStringList& arguments)
{
    AddressCommandOptions options;
    for (const QString& argument : arguments) {
        if (argument == QLatin1String("--jsonl")) {
            options.jsonLines = true;
        } else {
            options.error = (argument.startsWith(QLatin1Char('-')) ? QStringLiteral("未知选项: ") : QStringLiteral("多余的参数: "))
                + argument + QStringLiteral("（用法: slipcraft parse-address [--jsonl]）");
            break;
        }
    }
    return options;
}

ImportCommandOptions parseImportOptions(const QStringList& arguments)
{
    ImportCommandOptions options;
    const QString usage =
        QStringLiteral("用法: slipcraft import --scene receivers|addressbook|drafts 文件 [--sheet 工作表] [--group 分组]");
    QString scene;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (!argument.startsWith(QLatin1String("--"))) {
            if (!options.file.isEmpty()) {
                options.error = QStringLiteral("多余的参数: ") + argument + QStringLiteral("（") + usage + QStringLiteral("）");
                return options;
            }
            options.file = argument;
            continue;
        }
        QString* target = argument == QLatin1String("--scene") ? &scene
            : argument == QLatin1String("--sheet")             ? &options.sheet
            : argument == QLatin1String("--group")             ? &options.group
                                                               : nullptr;
        if (!target) {
            options.error = QStringLiteral("未知选项: ") + argument;
            return options;
        }
        if (++i == arguments.size()) {
            options.error = argument + QStringLiteral(" 需要一个值");
            return options;
        }
        *target = arguments.at(i);
        if (target == &options.group)
            options.hasGroup = true;
    }
    if (scene.isEmpty() || options.file.isEmpty())
        options.error = usage;
    else if (scene == QLatin1String("addressbook"))
        options.scene = ImportCommandOptions::Scene::AddressBook;
    else if (scene == QLatin1String("drafts"))
        options.scene = ImportCommandOptions::Scene::Drafts;
    else if (scene != QLatin1String("receivers"))
        options.error = QStringLiteral("--scene 须为 receivers（批量打印收件人列表）、addressbook（地址薄）"
                                       "或 drafts（承兑汇票批量打印列表）: ")
            + scene;
    return options;
}

ExportTemplatesOptions parseExportTemplatesOptions(const QStringList& arguments)
{
    ExportTemplatesOptions options;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& option = arguments.at(i);
        if (option != QLatin1String("--output") && option != QLatin1String("--template")) {
            options.error = QStringLiteral("未知选项: ") + option;
            return options;
        }
        if (++i == arguments.size()) {
            options.error = option + QStringLiteral(" 需要一个值");
            return options;
        }
        if (option == QLatin1String("--output"))
            options.outputFile = arguments.at(i);
        else
            options.templates << arguments.at(i);
    }
    if (options.outputFile.isEmpty())
        options.error = QStringLiteral("用法: slipcraft export-templates --output 文件.bpk [--template 模板全名]...");
    else if (!options.outputFile.endsWith(QLatin1String(".bpk"), Qt::CaseInsensitive))
        options.error = QStringLiteral("票据包须以 .bpk 结尾: ") + options.outputFile;
    return options;
}

ImportTemplatesOptions parseImportTemplatesOptions(const QStringList& arguments)
{
    ImportTemplatesOptions options;
    const QString usage = QStringLiteral("用法: slipcraft import-templates 文件.bpk [--template 模板全名]... [--replace]");
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (argument == QLatin1String("--replace")) {
            options.replace = true;
        } else if (argument == QLatin1String("--template")) {
            if (++i == arguments.size()) {
                options.error = argument + QStringLiteral(" 需要一个值");
                return options;
            }
            options.templates << arguments.at(i);
        } else if (argument.startsWith(QLatin1Char('-'))) {
            options.error = QStringLiteral("未知选项: ") + argument;
            return options;
        } else if (!options.packageFile.isEmpty()) {
            options.error = QStringLiteral("多余的参数: ") + argument + QStringLiteral("（") + usage + QStringLiteral("）");
            return options;
        } else {
            options.packageFile = argument;
        }
    }
    if (options.packageFile.isEmpty())
        options.error = usage;
    return options;
}

QString usageText()
{
    QStringList billTypes;
    for (const BillKind* kind : billKinds())
        billTypes << kind->billType;
    return QStringLiteral(
        "用法: slipcraft [--home 文件夹] [--quit-after-start]\n"
        "      slipcraft --version\n"
        "      slipcraft words 金额          金额的中文大写\n"
        "      slipcraft date-words 年|月|日  日期的中文大写\n"
        "      slipcraft printers            打印机列表，每行一台\n"
        "      slipcraft test-page --template 模板编号 [--grid] [--printer 打印机 | --output 文件.pdf]\n"
        "      slipcraft print --bill-type %1 [--template 模板名]\n"
        "                      --values 文件.json [--printer 打印机 | --output 文件.pdf] [--save]\n"
        "      slipcraft parse-address [--jsonl]  识别标准输入中的收件人、电话和地址，输出 JSON（--jsonl: 每行一条）\n"
        "      slipcraft import --scene receivers|addressbook|drafts 文件 [--sheet 工作表] [--group 分组]\n"
        "                      把 xlsx、xls、csv 文件导入批量打印收件人列表、地址薄或承兑汇票批量打印列表，\n"
        "                      输出读取、导入、重复、无效、失败的行数（JSON）\n"
        "      slipcraft export-templates --output 文件.bpk [--template 模板全名]...  把模板（默认全部）导出为票据包\n"
        "      slipcraft import-templates 文件.bpk [--template 模板全名]... [--replace]\n"
        "                      导入票据包中的模板（默认全部）；--replace: 替换同名的已有模板\n")
        .arg(billTypes.join(QLatin1Char('|')));
}

int runScriptCommand(const CommandLine& commandLine)
{
    switch (commandLine.command) {
    case CommandLine::Command::Version:
        printLine(stdout, QStringLiteral("slipcraft ") + programVersionText(4));
        return 0;
    case CommandLine::Command::Help:
        std::fputs(usageText().toUtf8().constData(), stdout);
        return 0;
    case CommandLine::Command::Words:
        return wordsCommand(commandLine.arguments);
    case CommandLine::Command::DateWords:
        return dateWordsCommand(commandLine.arguments);
    case CommandLine::Command::Invalid:
        printLine(stderr, commandLine.error);
        std::fputs(usageText().toUtf8().constData(), stderr);
        return kUsageError;
    case CommandLine::Command::Start:
    case CommandLine::Command::Printers:
    case CommandLine::Command::TestPage:
    case CommandLine::Command::Print:
    case CommandLine::Command::ParseAddress:
    case CommandLine::Command::Import:
    case CommandLine::Command::ExportTemplates:
    case CommandLine::Command::ImportTemplates:
        break;
    }
    return 0;
}

} // namespace slipcraft
