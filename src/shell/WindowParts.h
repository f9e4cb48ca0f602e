#pragma once

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QString>

namespace slipcraft {

// The small pieces every window builds itself from, each with its component name, by
// which the window's code and its tests find it.

template <class Widget>
Widget* named(Widget* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

// Enter belongs to the window's boxes, never to whichever button would be the default.
inline QPushButton* commandButton(QWidget* parent, const QString& caption, const char* name, const QString& hint = {})
{
    auto* button = named(new QPushButton(caption, parent), name);
    button->setAutoDefault(false);
    button->setToolTip(hint);
    return button;
}

inline QAction* menuEntry(QMenu* menu, const QString& caption, const char* name)
{
    return named(menu->addAction(caption), name);
}

// A caption that acts like a web link.
inline QLabel* linkLabel(QWidget* parent, const QString& caption, const char* name)
{
    auto* label =
        named(new QLabel(QStringLiteral("<a href=\"#\">") + caption.toHtmlEscaped() + QStringLiteral("</a>"), parent), name);
    label->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    return label;
}

// A typed number is reported once, when it is complete, not at every digit.
inline QSpinBox* numberBox(QWidget* parent, const char* name, int low, int high, int value = 0)
{
    auto* box = named(new QSpinBox(parent), name);
    box->setRange(low, high);
    box->setValue(value);
    box->setKeyboardTracking(false);
    return box;
}

} // namespace slipcraft
