#include "templates/LayoutHistory.h"

#include <QSqlField>

namespace slipcraft {

namespace {

// Enough for a working session; the oldest steps go first.
constexpr qsizetype kMaxSteps = 500;

QString quoted(const QString& name)
{
    QString escaped = name;
    escaped.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

} // namespace

LayoutHistory::LayoutHistory(Database& db)
    : db_(db)
{
}

QList<qint64> LayoutHistory::selectIds(const RowSelection& selection)
{
    QList<qint64> ids;
    SqlQuery rows = db_.query(QStringLiteral("select %1 from %2 where %3")
                                  .arg(quoted(selection.idColumn), quoted(selection.table), selection.where),
                              selection.params);
    while (rows.next())
        ids << rows.value(0).toLongLong();
    return ids;
}

LayoutHistory::TableImage LayoutHistory::capture(const QString& table, const QString& idColumn,
                                                 const QList<qint64>& ids)
{
    TableImage image{table, idColumn, {}};
    for (qint64 id : ids) {
        SqlQuery row = db_.query(QStringLiteral("select * from %1 where %2=:id").arg(quoted(table), quoted(idColumn)),
                                 {{QStringLiteral("id"), id}});
        RowImage rowImage{id, std::nullopt};
        if (row.next()) {
            QVariantMap values;
            const QSqlRecord record = row.record();
            for (int i = 0; i < record.count(); ++i)
                values.insert(record.fieldName(i), row.value(i));
            rowImage.values = values;
        }
        image.rows << rowImage;
    }
    return image;
}

void LayoutHistory::apply(const QList<TableImage>& target, const QList<TableImage>& current)
{
    for (qsizetype t = 0; t < target.size(); ++t) {
        const TableImage& image = target[t];
        for (qsizetype r = 0; r < image.rows.size(); ++r) {
            const RowImage& row = image.rows[r];
            const RowImage& now = current[t].rows[r];
            const SqlParams key{{QStringLiteral("id"), row.id}};
            if (!row.values) {
                db_.execute(QStringLiteral("delete from %1 where %2=:id").arg(quoted(image.table), quoted(image.idColumn)),
                            key);
                continue;
            }
            QStringList columns;
            QStringList names;
            SqlParams values = key;
            int n = 0;
            for (auto it = row.values->cbegin(); it != row.values->cend(); ++it) {
                // Only what the step changed goes back, so later edits of other columns stay.
                if (now.values && now.values->value(it.key()) == it.value())
                    continue;
                const QString name = QStringLiteral("v%1").arg(n++);
                columns << quoted(it.key());
                names << QLatin1Char(':') + name;
                values.insert(name, it.value());
            }
            if (columns.isEmpty())
                continue;
            if (now.values) {
                QStringList assignments;
                for (qsizetype i = 0; i < columns.size(); ++i)
                    assignments << columns[i] + QLatin1Char('=') + names[i];
                db_.execute(QStringLiteral("update %1 set %2 where %3=:id")
                                .arg(quoted(image.table), assignments.join(QLatin1Char(',')), quoted(image.idColumn)),
                            values);
            } else {
                values.remove(QStringLiteral("id"));
                db_.execute(QStringLiteral("insert into %1 (%2) values (%3)")
                                .arg(quoted(image.table), columns.join(QLatin1Char(',')), names.join(QLatin1Char(','))),
                            values);
            }
        }
    }
}

bool LayoutHistory::record(const QString& text, const QList<RowSelection>& rows, const std::function<void()>& change)
{
    Step step{text, {}, {}};
    db_.inTransaction([&] {
        QList<QList<qint64>> idsBefore;
        for (const RowSelection& selection : rows) {
            idsBefore << selectIds(selection);
            step.before << capture(selection.table, selection.idColumn, idsBefore.last());
        }
        change();
        for (qsizetype i = 0; i < rows.size(); ++i) {
            QList<qint64> ids = idsBefore[i];
            for (qint64 id : selectIds(rows[i]))
                if (!ids.contains(id)) {
                    ids << id;
                    step.before[i].rows << RowImage{id, std::nullopt};
                }
            step.after << capture(rows[i].table, rows[i].idColumn, ids);
        }
    });
    if (step.before == step.after)
        return false;
    steps_.resize(done_);
    steps_ << step;
    if (steps_.size() > kMaxSteps)
        steps_.removeFirst();
    done_ = steps_.size();
    return true;
}

QString LayoutHistory::undoText() const
{
    return canUndo() ? steps_[done_ - 1].text : QString();
}

QString LayoutHistory::redoText() const
{
    return canRedo() ? steps_[done_].text : QString();
}

bool LayoutHistory::undo()
{
    if (!canUndo())
        return false;
    db_.inTransaction([&] { apply(steps_[done_ - 1].before, steps_[done_ - 1].after); });
    --done_;
    return true;
}

bool LayoutHistory::redo()
{
    if (!canRedo())
        return false;
    db_.inTransaction([&] { apply(steps_[done_].after, steps_[done_].before); });
    ++done_;
    return true;
}

void LayoutHistory::clear()
{
    steps_.clear();
    done_ = 0;
}

} // namespace slipcraft
