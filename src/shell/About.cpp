#include "shell/About.h"

#include "shell/StartUp.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

namespace slipcraft {

Tfm_About::Tfm_About(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("fm_About"));
    setAttribute(Qt::WA_DeleteOnClose);
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, QColor(250, 250, 244));
    setPalette(colours);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(28, 22, 28, 22);
    layout->setSpacing(10);
    auto* title = new QLabel(QStringLiteral("Marrowind票据打印软件"), this);
    QFont titleFont = title->font();
    titleFont.setPointSize(16);
    titleFont.setBold(true);
    title->setFont(titleFont);
    layout->addWidget(title);
    layout->addWidget(new QLabel(QStringLiteral("单机版 for win98/Me/2000/Xp/2003/vista/Win7"), this));
    layout->addWidget(new QLabel(QStringLiteral("当前版本：") + programVersionText(4) + QStringLiteral("(H1)"), this));
    layout->addWidget(new QLabel(QStringLiteral("支票、进账单、电汇单、承兑汇票、快递单等票据的填开与套打"), this));
    layout->addWidget(new QLabel(QStringLiteral("Slipcraft 运行于 Linux 桌面，数据保存在本机"), this));
    auto* hint = new QLabel(QStringLiteral("（单击关闭）"), this);
    hint->setAlignment(Qt::AlignRight);
    layout->addWidget(hint);
    adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());

    closeTimer_.setSingleShot(true);
    connect(&closeTimer_, &QTimer::timeout, this, &QWidget::close);
    closeTimer_.start(15000);
}

void Tfm_About::mousePressEvent(QMouseEvent*)
{
    close();
}

} // namespace slipcraft
