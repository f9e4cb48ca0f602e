#pragma once

#include <QString>
#include <QStringList>

namespace slipcraft {

// What the program was asked to do. Options come before the command; everything after
// the command is its arguments, taken as they stand (so "words -35.2" works).
struct CommandLine {
    enum class Command { Start, Version, Help, Words, DateWords, Printers, TestPage, Print, ParseAddress, Import, ExportTemplates, ImportTemplates, Invalid };

    Command command = Command::Start;
    QStringList arguments;
    QString home;              // --home DIR
    bool quitAfterStart = false;
    bool timings = false;      // start-up figures on standard error, for the benchmark
    QString error;             // for Invalid
};

CommandLine parseCommandLine(const QStringList& arguments);

// test-page --template ID [--grid] [--printer NAME | --output FILE.pdf]
struct TestPageOptions {
    int templateId = 0;
    bool alignmentGrid = false; // the millimetre grid and each item's box as well
    QString printer;
    QString outputFile;
    QString error; // a one-line message when the options are wrong
};
TestPageOptions parseTestPageOptions(const QStringList& arguments);

// print --bill-type TYPE [--template NAME] --values FILE.json [--printer NAME | --output FILE.pdf] [--save]
struct PrintOptions {
    QString billType;
    QString templateName;
    QString valuesFile;
    QString printer;
    QString outputFile;
    bool save = false;
    QString error; // a one-line message when the options are wrong
};
PrintOptions parsePrintOptions(const QStringList& arguments);

// parse-address [--jsonl]
struct AddressCommandOptions {
    bool jsonLines = false; // one JSON object with "text" a line in, one result a line out
    QString error;          // a one-line message when the options are wrong
};
AddressCommandOptions parseAddressCommandOptions(const QStringList& arguments);

// import --scene receivers|addressbook|drafts FILE [--sheet NAME] [--group NAME]
struct ImportCommandOptions {
    // The waybill batch list, the address book or the acceptance draft batch.
    enum class Scene { Receivers, AddressBook, Drafts };
    Scene scene = Scene::Receivers;
    QString file;
    QString sheet;            // empty: the sheet the file opens on
    QString group;            // empty: as the rows say
    bool hasGroup = false;
    QString error;            // a one-line message when the options are wrong
};
ImportCommandOptions parseImportOptions(const QStringList& arguments);

// export-templates --output FILE.bpk [--template NAME]...
struct ExportTemplatesOptions {
    QString outputFile;
    QStringList templates; // full names; empty: every template
    QString error;         // a one-line message when the options are wrong
};
ExportTemplatesOptions parseExportTemplatesOptions(const QStringList& arguments);

// import-templates FILE.bpk [--template NAME]... [--replace]
struct ImportTemplatesOptions {
    QString packageFile;
    QStringList templates; // full names; empty: every template of the package
    bool replace = false;  // installed templates of the same names are replaced
    QString error;         // a one-line message when the options are wrong
};
ImportTemplatesOptions parseImportTemplatesOptions(const QStringList& arguments);

// Runs a command that needs no window system (all but Start, Printers, TestPage, Print,
// ParseAddress, Import, ExportTemplates, ImportTemplates);
// returns the exit status.
int runScriptCommand(const CommandLine& commandLine);

QString usageText();

} // namespace slipcraft
