#pragma once

#include <QImage>
#include <QTimer>
#include <QWidget>

namespace slipcraft {

// The splash window shown for half a second at start.
class Tfm_Boot : public QWidget {
    Q_OBJECT

public:
    explicit Tfm_Boot(const QString& runPath, QWidget* parent = nullptr);
    // True until the splash has been shown long enough.
    bool showing() const { return timer_.isActive(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage picture_;
    QTimer timer_;
};

} // namespace slipcraft
