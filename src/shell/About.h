#pragma once

#include <QTimer>
#include <QWidget>

namespace slipcraft {

// The about box: borderless and on top; a click or 15 seconds close it.
class Tfm_About : public QWidget {
    Q_OBJECT

public:
    explicit Tfm_About(QWidget* parent = nullptr);

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    QTimer closeTimer_;
};

} // namespace slipcraft
