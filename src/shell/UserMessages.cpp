#include "shell/UserMessages.h"

#include <cstdio>

namespace slipcraft {

namespace {
void writeLine(const QString& text, const QString& caption)
{
    QString line = caption.isEmpty() ? text : caption + QStringLiteral(": ") + text;
    line.replace(QLatin1Char('\r'), QString()).replace(QLatin1Char('\n'), QLatin1Char(' '));
    std::fprintf(stderr, "%s\n", line.toUtf8().constData());
}
} // namespace

void ConsoleMessages::show(const QString& text, const QString& caption, Icon)
{
    writeLine(text, caption);
}

bool ConsoleMessages::ask(const QString& text, const QString& caption, Icon)
{
    writeLine(text, caption);
    return false;
}

} // namespace slipcraft
