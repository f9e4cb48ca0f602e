#pragma once

#include <QString>
#include <QStringList>

namespace slipcraft {

// What the program was asked to do. Options come before the command; everything after
// the command is its arguments, taken as they stand (so "words -35.2" works).
struct CommandLine {
    enum class Command { Start, Version, Help, Words, DateWords, Printers, TestPage, Invalid };

    Command command = Command::Start;
    QStringList arguments;
    QString home;              // --home DIR
    bool quitAfterStart = false;
    bool timings = false;      // start-up figures on standard error, for the benchmark
    QString error;             // for Invalid
};

CommandLine parseCommandLine(const QStringList& arguments);

// test-page --template ID [--printer NAME | --output FILE.pdf]
struct TestPageOptions {
    int templateId = 0;
    QString printer;
    QString outputFile;
    QString error; // a one-line message when the options are wrong
};
TestPageOptions parseTestPageOptions(const QStringList& arguments);

// Runs a command that needs no window system (all but Start, Printers and TestPage);
// returns the exit status.
int runScriptCommand(const CommandLine& commandLine);

QString usageText();

} // namespace slipcraft
