#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QAction;
class QWidget;

namespace slipcraft {

class LayoutHistory;
class UserMessages;

// The undo and redo commands of a layout window (Ctrl+Z, Ctrl+Y) over its history; after
// each step the window shows the rows again.
class LayoutUndo : public QObject {
    Q_OBJECT

public:
    LayoutUndo(QWidget* window, LayoutHistory& history, UserMessages& messages,
               std::function<void(const QString& done)> afterStep);

    QAction* undoAction() const { return undo_; }
    QAction* redoAction() const { return redo_; }
    // Follows the history after a change was kept.
    void update();
    void undo();
    void redo();

private:
    LayoutHistory& history_;
    UserMessages& messages_;
    std::function<void(const QString&)> afterStep_;
    QAction* undo_;
    QAction* redo_;
};

} // namespace slipcraft
