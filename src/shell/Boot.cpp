#include "shell/Boot.h"

#include "shell/StartUp.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

namespace slipcraft {

Tfm_Boot::Tfm_Boot(const QString& runPath, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("fm_Boot"));
    setWindowTitle(QStringLiteral("启动窗口"));
    setFixedSize(370, 249);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
    // A missing or unreadable picture leaves the window plain.
    picture_.load(splashPicturePath(runPath));
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.start(500);
}

void Tfm_Boot::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (picture_.isNull())
        painter.fillRect(rect(), palette().window());
    else
        painter.drawImage(rect(), picture_);
}

} // namespace slipcraft
