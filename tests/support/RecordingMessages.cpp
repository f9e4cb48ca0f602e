#include "RecordingMessages.h"

void RecordingMessages::show(const QString& text, const QString& caption, Icon icon)
{
    messages.append({text, caption, icon, false});
}

bool RecordingMessages::ask(const QString& text, const QString& caption, Icon icon)
{
    messages.append({text, caption, icon, true});
    return answer;
}

QStringList RecordingMessages::texts() const
{
    QStringList shown;
    for (const Message& message : messages)
        shown << message.text;
    return shown;
}
