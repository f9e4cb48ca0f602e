#pragma once

#include "records/MutiPrintLogic.h"

#include <QFrame>
#include <QStringList>

#include <functional>

class QComboBox;

namespace slipcraft {

class AppContext;

// The texts that differ between the batch windows' rewrite panels.
struct RewriteTexts {
    QString clearCaption;
    QString closeCaption;
    // Shown when no row changed.
    QString failed;
    QStringList examples;
    QString tip;
    bool closeAfterApply = true;
};

// The column rewrite panel of a batch list: a target column becomes the join of three
// parts ("@" + a column, or a text) on the listed rows.
class ColumnRewritePanel : public QFrame {
    Q_OBJECT

public:
    ColumnRewritePanel(AppContext& context, RewriteTexts texts, QWidget* parent);

    // The rows a rewrite changes.
    std::function<batchlist::Query()> listed;

    // Offers the columns ("@" + name, ID left out) and shows the panel; with no columns
    // it says the list is empty instead.
    void open(const QStringList& columns);
    // "应用修改" with the target and three parts.
    void apply(const QString& target, const QStringList& parts);

signals:
    // A rewrite ran: the list shows its rows again.
    void rewritten();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void targetChanged();

    AppContext& context_;
    RewriteTexts texts_;
    QStringList references_;
    QComboBox* cbTarget;
    QComboBox* cbPart1;
    QComboBox* cbPart2;
    QComboBox* cbPart3;
};

} // namespace slipcraft
