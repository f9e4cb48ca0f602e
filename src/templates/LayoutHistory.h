#pragma once

#include "data/Database.h"

#include <QList>
#include <QString>
#include <QVariantMap>

#include <functional>
#include <optional>

namespace slipcraft {

// Rows of one table picked by a condition of the program's own text (values bound).
struct RowSelection {
    QString table;
    QString idColumn;
    QString where;
    SqlParams params;
};

// The undo and redo of layout changes. Each change runs in one transaction; the rows it
// may touch are read before and after, and undoing writes back the columns it changed
// (rows the change created are deleted again, rows it deleted come back).
class LayoutHistory {
public:
    explicit LayoutHistory(Database& db);

    // Runs change in one transaction and keeps it as one step when the selected rows
    // differ afterwards. Returns whether anything changed. Throws DatabaseError, with
    // nothing changed and no step kept.
    bool record(const QString& text, const QList<RowSelection>& rows, const std::function<void()>& change);

    bool canUndo() const { return done_ > 0; }
    bool canRedo() const { return done_ < steps_.size(); }
    // What the next undo or redo would do; empty when there is none.
    QString undoText() const;
    QString redoText() const;
    // Each returns false when there is nothing to do. Throws DatabaseError, with the
    // rows and the step where they were.
    bool undo();
    bool redo();
    void clear();

private:
    struct RowImage {
        qint64 id = 0;
        std::optional<QVariantMap> values; // nullopt: the row does not exist
        bool operator==(const RowImage&) const = default;
    };
    struct TableImage {
        QString table;
        QString idColumn;
        QList<RowImage> rows;
        bool operator==(const TableImage&) const = default;
    };
    struct Step {
        QString text;
        QList<TableImage> before;
        QList<TableImage> after;
    };

    QList<qint64> selectIds(const RowSelection& selection);
    TableImage capture(const QString& table, const QString& idColumn, const QList<qint64>& ids);
    // Writes the target rows where they differ from the rows as the step left them.
    void apply(const QList<TableImage>& target, const QList<TableImage>& current);

    Database& db_;
    QList<Step> steps_;
    qsizetype done_ = 0;
};

} // namespace slipcraft
