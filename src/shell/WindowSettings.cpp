#include "shell/WindowSettings.h"

#include "shell/Settings.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace slipcraft {

namespace {
bool inNormalState(const QWidget* window)
{
    return !(window->windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen));
}
} // namespace

void FormFaceSave(QWidget* window, IniFile& ini)
{
    if (inNormalState(window))
        saveFormFace(ini, window->objectName(), window->size());
}

void FormFaceLoad(QWidget* window, const IniFile& ini)
{
    if (!inNormalState(window))
        return;
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    const QSize screenSize = screen ? screen->size() : window->size();
    window->resize(loadFormFace(ini, window->objectName(), window->size(), screenSize));
}

} // namespace slipcraft
