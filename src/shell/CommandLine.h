#pragma once

#include <QString>
#include <QStringList>

namespace slipcraft {

// What the program was asked to do. Options come before the command; everything after
// the command is its arguments, taken as they stand (so "words -35.2" works).
struct CommandLine {
    enum class Command { Start, Version, Help, Words, DateWords, Printers, TestPage, Print, ParseAddress, Invalid };

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

// Runs a command that needs no window system (all but Start, Printers, TestPage, Print,
// ParseAddress);
// returns the exit status.
int runScriptCommand(const CommandLine& commandLine);

QString usageText();

} // namespace slipcraft
