#pragma once

#include <QString>

namespace slipcraft {

// The one way logic tells the user something or asks a yes/no question. Windows show
// message boxes; command-line runs write to standard error; tests record.
class UserMessages {
public:
    enum class Icon { Information, Warning, Error };

    virtual ~UserMessages() = default;
    // An empty caption means the application title.
    virtual void show(const QString& text, const QString& caption = {}, Icon icon = Icon::Information) = 0;
    // Yes and No buttons; true exactly when Yes was chosen.
    virtual bool ask(const QString& text, const QString& caption = {}, Icon icon = Icon::Information) = 0;
};

// For runs without windows: every message becomes one line on standard error;
// every question is answered No.
class ConsoleMessages final : public UserMessages {
public:
    void show(const QString& text, const QString& caption, Icon icon) override;
    bool ask(const QString& text, const QString& caption, Icon icon) override;
};

} // namespace slipcraft
