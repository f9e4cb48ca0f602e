#include "records/ColumnRewrite.h"

#include "shell/AppContext.h"
#include "shell/UserMessages.h"
#include "wording/Functions.h"
#include "shell/WindowParts.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace slipcraft {

namespace {

const QStringList kFirstPartWords{QStringLiteral("光盘数:"), QStringLiteral("书刊数:")};
const QStringList kLastPartWords{QStringLiteral("个"), QStringLiteral("本")};

} // namespace

ColumnRewritePanel::ColumnRewritePanel(AppContext& context, RewriteTexts texts, QWidget* parent)
    : QFrame(parent)
    , context_(context)
    , texts_(std::move(texts))
{
    setObjectName(QStringLiteral("panelRewrite"));
    setFrameShape(QFrame::StyledPanel);
    setMaximumWidth(460);
    cbTarget = new QComboBox(this);
    cbTarget->setObjectName(QStringLiteral("cbTarget"));
    cbPart1 = new QComboBox(this);
    cbPart2 = new QComboBox(this);
    cbPart3 = new QComboBox(this);
    int part = 1;
    for (QComboBox* box : {cbPart1, cbPart2, cbPart3}) {
        box->setObjectName(QStringLiteral("cbPart%1").arg(part++));
        box->setEditable(true);
        box->setInsertPolicy(QComboBox::NoInsert);
        box->setMinimumWidth(100);
    }
    cbTarget->setEditable(true);
    cbTarget->setInsertPolicy(QComboBox::NoInsert);
    auto* btBlank = commandButton(this, texts_.clearCaption, "btBlank");
    auto* btApply = commandButton(this, QStringLiteral("应用修改"), "btApply");
    auto* btPanelClose = commandButton(this, texts_.closeCaption, "btPanelClose");

    auto* formula = new QGridLayout;
    formula->addWidget(cbTarget, 0, 0);
    formula->addWidget(new QLabel(QStringLiteral("="), this), 0, 1);
    formula->addWidget(cbPart1, 1, 0);
    formula->addWidget(new QLabel(QStringLiteral("+"), this), 1, 1);
    formula->addWidget(cbPart2, 1, 2);
    formula->addWidget(new QLabel(QStringLiteral("+"), this), 1, 3);
    formula->addWidget(cbPart3, 1, 4);
    auto* commands = new QHBoxLayout;
    commands->addWidget(btBlank);
    commands->addStretch();
    commands->addWidget(btApply);
    commands->addWidget(btPanelClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("批量改写列:"), this));
    layout->addLayout(formula);
    layout->addLayout(commands);
    for (const QString& example : std::as_const(texts_.examples))
        layout->addWidget(new QLabel(example, this));
    if (!texts_.tip.isEmpty()) {
        auto* tip = new QLabel(texts_.tip, this);
        tip->setWordWrap(true);
        tip->setStyleSheet(QStringLiteral("color: blue;"));
        layout->addWidget(tip);
    }
    layout->addStretch();
    hide();

    connect(cbTarget, &QComboBox::currentTextChanged, this, &ColumnRewritePanel::targetChanged);
    connect(btBlank, &QPushButton::clicked, this, [this] {
        for (QComboBox* box : {cbPart1, cbPart2, cbPart3})
            box->setEditText(QString());
    });
    connect(btApply, &QPushButton::clicked, this,
            [this] { apply(cbTarget->currentText(), {cbPart1->currentText(), cbPart2->currentText(), cbPart3->currentText()}); });
    connect(btPanelClose, &QPushButton::clicked, this, &QWidget::hide);
}

void ColumnRewritePanel::mouseDoubleClickEvent(QMouseEvent* event)
{
    Q_UNUSED(event);
    hide();
}

void ColumnRewritePanel::open(const QStringList& columns)
{
    if (columns.isEmpty()) {
        context_.messages().show(QStringLiteral("列表为空，没法儿修改，加点批打收件人资料再试吧 :)"));
        return;
    }
    references_.clear();
    for (const QString& column : columns) {
        if (column.compare(batchlist::kKey, Qt::CaseInsensitive) != 0)
            references_ << QLatin1Char('@') + column;
    }
    {
        QSignalBlocker block(cbTarget);
        cbTarget->clear();
        cbTarget->addItems(references_);
        cbTarget->setCurrentIndex(-1);
        cbTarget->setEditText(QString());
    }
    cbPart1->clear();
    cbPart1->addItems(kFirstPartWords + references_);
    cbPart2->clear();
    cbPart2->addItems(references_);
    cbPart3->clear();
    cbPart3->addItems(kLastPartWords + references_);
    for (QComboBox* box : {cbPart1, cbPart2, cbPart3})
        box->setEditText(QString());
    show();
}

// A remark or goods target offers its dictionary's values as the first part.
void ColumnRewritePanel::targetChanged()
{
    const QString target = cbTarget->currentText();
    QString dictionary;
    if (target == u"@备注")
        dictionary = QStringLiteral("备注");
    else if (target == u"@内件说明" || target == u"@物品内容")
        dictionary = QStringLiteral("物品内容");
    QStringList first = kFirstPartWords;
    if (!dictionary.isEmpty()) {
        try {
            first = context_.db().textColumn(QStringLiteral("select distinct DMValue from DMTable where DMName=:name"),
                                             {{QStringLiteral("name"), dictionary}});
        } catch (const DatabaseError&) {
            first.clear();
        }
    }
    const QString typed = cbPart1->currentText();
    cbPart1->clear();
    cbPart1->addItems(first + references_);
    cbPart1->setEditText(typed);
}

void ColumnRewritePanel::apply(const QString& targetText, const QStringList& partTexts)
{
    UserMessages& messages = context_.messages();
    QString target = trimText(targetText);
    QStringList parts;
    for (const QString& part : partTexts)
        parts << trimText(part);
    if (target.isEmpty()) {
        messages.show(QStringLiteral("请选择要批量改写列~"));
        return;
    }
    target.remove(QLatin1Char('@'));
    const bool blank = std::all_of(parts.begin(), parts.end(), [](const QString& part) { return part.isEmpty(); });
    if (blank && !messages.ask(QStringLiteral("你确信要置空所有的[") + target + QStringLiteral("]列吗？")))
        return;
    int changed = 0;
    try {
        changed = listed ? rewriteColumn(context_.db(), listed(), target, parts) : 0;
    } catch (const DatabaseError&) {
        changed = 0;
    }
    emit rewritten();
    if (changed > 0)
        messages.show(QStringLiteral("%1条收件人的【").arg(changed) + target + QStringLiteral("】修改成功！"));
    else
        messages.show(texts_.failed);
    if (texts_.closeAfterApply)
        hide();
}

} // namespace slipcraft
