#include "shell/CommandLine.h"

#include <gtest/gtest.h>

using namespace slipcraft;
using Command = CommandLine::Command;

TEST(CommandLine, OptionsComeBeforeTheCommandAndItsArgumentsStandAsGiven)
{
    struct Case {
        QStringList arguments;
        Command command;
        QStringList commandArguments;
        QString home;
        bool quitAfterStart;
    };
    const Case cases[] = {
        {{"slipcraft"}, Command::Start, {}, "", false},
        {{"slipcraft", "--home", "/h", "--quit-after-start"}, Command::Start, {}, "/h", true},
        {{"slipcraft", "--home=/h"}, Command::Start, {}, "/h", false},
        {{"slipcraft", "--version"}, Command::Version, {}, "", false},
        {{"slipcraft", "words", "-35.2"}, Command::Words, {"-35.2"}, "", false},
        {{"slipcraft", "date-words", "05"}, Command::DateWords, {"05"}, "", false},
        {{"slipcraft", "--home", "/h", "printers"}, Command::Printers, {}, "/h", false},
        {{"slipcraft", "words", "--home", "x"}, Command::Words, {"--home", "x"}, "", false},
        {{"slipcraft", "--bogus"}, Command::Invalid, {}, "", false},
        {{"slipcraft", "frobnicate"}, Command::Invalid, {}, "", false},
        {{"slipcraft", "--home"}, Command::Invalid, {}, "", false},
    };
    for (const Case& c : cases) {
        const CommandLine parsed = parseCommandLine(c.arguments);
        const std::string shown = c.arguments.join(' ').toStdString();
        EXPECT_EQ(parsed.command, c.command) << shown;
        if (c.command == Command::Invalid) {
            EXPECT_FALSE(parsed.error.isEmpty()) << shown;
            continue;
        }
        EXPECT_EQ(parsed.arguments, c.commandArguments) << shown;
        EXPECT_EQ(parsed.home, c.home) << shown;
        EXPECT_EQ(parsed.quitAfterStart, c.quitAfterStart) << shown;
    }
}

TEST(CommandLine, TestPageOptions)
{
    struct Case {
        QStringList arguments;
        int templateId;
        QString printer;
        QString output;
        bool valid;
        bool grid = false;
    };
    const Case cases[] = {
        {{"--template", "12"}, 12, "", "", true},
        {{"--grid", "--template", "12"}, 12, "", "", true, true},
        {{"--template", "3", "--printer", "Bills"}, 3, "Bills", "", true},
        {{"--output", "/tmp/a.pdf", "--template", "3"}, 3, "", "/tmp/a.pdf", true},
        {{}, 0, "", "", false},
        {{"--template"}, 0, "", "", false},
        {{"--template", "x"}, 0, "", "", false},
        {{"--template", "-1"}, 0, "", "", false},
        {{"--template", "3", "--printer", "P", "--output", "a.pdf"}, 3, "P", "a.pdf", false},
        {{"--template", "3", "--grids"}, 3, "", "", false},
    };
    for (const Case& c : cases) {
        const TestPageOptions options = parseTestPageOptions(c.arguments);
        const std::string shown = c.arguments.join(' ').toStdString();
        EXPECT_EQ(options.error.isEmpty(), c.valid) << shown;
        if (c.valid) {
            EXPECT_EQ(options.templateId, c.templateId) << shown;
            EXPECT_EQ(options.printer, c.printer) << shown;
            EXPECT_EQ(options.outputFile, c.output) << shown;
            EXPECT_EQ(options.alignmentGrid, c.grid) << shown;
        }
    }
}
