#include "templates/LayoutUndo.h"

#include "shell/UserMessages.h"
#include "templates/LayoutHistory.h"

#include <QAction>
#include <QWidget>

namespace slipcraft {

LayoutUndo::LayoutUndo(QWidget* window, LayoutHistory& history, UserMessages& messages,
                       std::function<void(const QString&)> afterStep)
    : QObject(window)
    , history_(history)
    , messages_(messages)
    , afterStep_(std::move(afterStep))
    , undo_(new QAction(QStringLiteral("撤销"), window))
    , redo_(new QAction(QStringLiteral("重做"), window))
{
    undo_->setObjectName(QStringLiteral("acUndo"));
    undo_->setShortcuts({QKeySequence::Undo});
    redo_->setObjectName(QStringLiteral("acRedo"));
    redo_->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence::Redo});
    window->addAction(undo_);
    window->addAction(redo_);
    connect(undo_, &QAction::triggered, this, &LayoutUndo::undo);
    connect(redo_, &QAction::triggered, this, &LayoutUndo::redo);
    update();
}

void LayoutUndo::update()
{
    undo_->setEnabled(history_.canUndo());
    redo_->setEnabled(history_.canRedo());
}

void LayoutUndo::undo()
{
    const QString text = history_.undoText();
    try {
        if (!history_.undo())
            return;
    } catch (const DatabaseError& error) {
        messages_.show(QStringLiteral("撤销失败：") + error.text(), QStringLiteral("提示"));
        return;
    }
    update();
    afterStep_(QStringLiteral("已撤销：") + text);
}

void LayoutUndo::redo()
{
    const QString text = history_.redoText();
    try {
        if (!history_.redo())
            return;
    } catch (const DatabaseError& error) {
        messages_.show(QStringLiteral("重做失败：") + error.text(), QStringLiteral("提示"));
        return;
    }
    update();
    afterStep_(QStringLiteral("已重做：") + text);
}

} // namespace slipcraft
