#pragma once

#include "shell/AppContext.h"
#include "shell/UserMessages.h"

#include <QCoreApplication>
#include <QProgressBar>
#include <QPushButton>

namespace slipcraft {

// The progress bar and stop button of an import window. A stop is asked for by the
// button (or by closing the window) and confirmed before the import ends; the rows
// read until then stay.
class ImportProgress {
public:
    ImportProgress(AppContext& context, QProgressBar* bar, QPushButton* stop)
        : context_(context)
        , bar_(bar)
        , stop_(stop)
    {
    }

    void start(int rows)
    {
        bar_->setMaximum(rows + 1);
        bar_->setValue(0);
        bar_->show();
        stopRequested_ = false;
    }

    void requestStop()
    {
        stopRequested_ = true;
        stop_->setEnabled(false);
    }

    // After each row read: false when the user confirmed a stop.
    bool keepGoing(int read)
    {
        bar_->setValue(read + 1);
        if (read % 10 == 0)
            QCoreApplication::processEvents();
        if (!stopRequested_)
            return true;
        stopRequested_ = false;
        if (context_.messages().ask(QStringLiteral("需要中止导出操作吗？"), QStringLiteral("询问")))
            return false;
        stop_->setEnabled(true);
        return true;
    }

private:
    AppContext& context_;
    QProgressBar* bar_;
    QPushButton* stop_;
    bool stopRequested_ = false;
};

} // namespace slipcraft
