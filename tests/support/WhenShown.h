#pragma once

#include <QApplication>
#include <QTimer>

#include <functional>

// Acts on the first modal dialog of type Dialog that opens while this lives, then closes
// it unless the action did.
template <class Dialog>
class WhenShown {
public:
    explicit WhenShown(std::function<void(Dialog&)> act)
        : act_(std::move(act))
    {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            timer_.stop();
            shown = true;
            act_(*dialog);
            if (dialog->isVisible())
                dialog->reject();
        });
        timer_.start(5);
    }

    bool shown = false;

private:
    std::function<void(Dialog&)> act_;
    QTimer timer_;
};
