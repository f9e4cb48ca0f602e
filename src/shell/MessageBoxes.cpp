#include "shell/MessageBoxes.h"

#include "shell/StartUp.h"

#include <QApplication>
#include <QMessageBox>

namespace slipcraft {

namespace {

QMessageBox::Icon boxIcon(UserMessages::Icon icon)
{
    switch (icon) {
    case UserMessages::Icon::Warning:
        return QMessageBox::Warning;
    case UserMessages::Icon::Error:
        return QMessageBox::Critical;
    case UserMessages::Icon::Information:
        break;
    }
    return QMessageBox::Information;
}

// Message texts separate their lines with carriage returns.
QString displayed(const QString& text)
{
    QString lines = text;
    return lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
}

int exec(const QString& text, const QString& caption, UserMessages::Icon icon, QMessageBox::StandardButtons buttons)
{
    QMessageBox box(boxIcon(icon), caption.isEmpty() ? kApplicationTitle : caption, displayed(text), buttons,
                    QApplication::activeWindow());
    return box.exec();
}

} // namespace

void MessageBoxes::show(const QString& text, const QString& caption, Icon icon)
{
    exec(text, caption, icon, QMessageBox::Ok);
}

bool MessageBoxes::ask(const QString& text, const QString& caption, Icon icon)
{
    return exec(text, caption, icon, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

} // namespace slipcraft
