#pragma once

#include "entry/InputValue.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

// Finding a window's parts by their component names and answering its questions.

template <class T>
T* child(const QWidget& window, const char* name)
{
    T* found = window.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

inline void click(const QWidget& window, const char* button)
{
    QTest::mouseClick(child<QPushButton>(window, button), Qt::LeftButton);
}

// Answers the next value input dialog with a value; an empty value cancels it.
inline void answerNextInput(const QString& value)
{
    QTimer::singleShot(0, [value] {
        auto* dialog = qobject_cast<slipcraft::TfrmInputValue*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        if (value.isEmpty()) {
            dialog->reject();
            return;
        }
        dialog->findChild<QComboBox*>(QStringLiteral("edtValue"))->setEditText(value);
        QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("btOK")), Qt::LeftButton);
    });
}
