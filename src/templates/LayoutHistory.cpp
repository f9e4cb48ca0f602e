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

void LayoutHistory::apply(const QList<TableImage>& images)
{
    for (const TableImage& image : images) {
        for (const RowImage& row : image.rows) {
            const SqlParams key{{QStringLiteral("id"), row.id}};
            if (!row.values) {
                db_.execute(QStringLiteral("delete from %1 where %2=:id").arg(quoted(image.table), quoted(image.idColumn)),
                            key);
                continue;
            }
            QStringList columns;
            QStringList names;
            SqlParams values;
            int n = 0;
            for (auto it = row.values->cbegin(); it != row.values->cend(); ++it, ++n) {
                const QString name = QStringLiteral("v%1").arg(n);
                columns << quoted(it.key());
                names << QLatin1Char(':') + name;
                values.insert(name, it.value());
            }
            // Replacing the whole row restores every column, the id included.
            db_.execute(QStringLiteral("insert or replace into %1 (%2) values (%3)")
                            .arg(quoted(image.table), columns.join(QLatin1Char(',')), names.join(QLatin1Char(','))),
                        values);
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
    db_.inTransaction([&] { apply(steps_[done_ - 1].before); });
    --done_;
    return true;
}

bool LayoutHistory::redo()
{
    if (!canRedo())
        return false;
    db_.inTransaction([&] { apply(steps_[done_].after); });
    ++done_;
    return true;
}

void LayoutHistory::clear()
{
    steps_.clear();
    done_ = 0;
}

} // namespace slipcraft
