#pragma once

#include "shell/UserMessages.h"

#include <QList>
#include <QString>
#include <QStringList>

// Records what the logic would have shown; answers questions with a preset answer.
class RecordingMessages final : public slipcraft::UserMessages {
public:
    struct Message {
        QString text;
        QString caption;
        Icon icon;
        bool question;
    };

    void show(const QString& text, const QString& caption, Icon icon) override;
    bool ask(const QString& text, const QString& caption, Icon icon) override;

    // The texts shown, in order.
    QStringList texts() const;

    QList<Message> messages;
    bool answer = false;
};
