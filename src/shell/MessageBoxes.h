#pragma once

#include "shell/UserMessages.h"

namespace slipcraft {

// Message boxes over the active window.
class MessageBoxes final : public UserMessages {
public:
    void show(const QString& text, const QString& caption, Icon icon) override;
    bool ask(const QString& text, const QString& caption, Icon icon) override;
};

} // namespace slipcraft
