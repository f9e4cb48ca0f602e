#include "entry/bills/CheckCDHP.h"

#include "entry/bills/CheckCDHPLogic.h"
#include "records/MutiPrintCDHP.h"
#include "shell/AppContext.h"
#include "shell/UserMessages.h"
#include "wording/Functions.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QStyle>
#include <QToolButton>

namespace slipcraft {

namespace {

const QString kDueDateBox = QStringLiteral("zdTimeOutDate");

// Runs handler when the watched widget loses the focus.
class FocusOutWatcher : public QObject {
public:
    FocusOutWatcher(QObject* watched, std::function<void()> handler)
        : QObject(watched)
        , handler_(std::move(handler))
    {
        watched->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::FocusOut)
            handler_();
        return false;
    }

private:
    std::function<void()> handler_;
};

} // namespace

TfmCheckCDHP::TfmCheckCDHP(AppContext& context, QWidget* parent)
    : TfmBillForm(context, acceptanceDraftKind(), parent)
{
    QToolButton* batch = addToolButton(QStringLiteral("btMultiPrintS"), QStringLiteral("批量打印"),
                                       QStringLiteral("批量打印承兑汇票列表"), QStyle::SP_FileDialogListView);
    connect(batch, &QToolButton::clicked, this, &TfmCheckCDHP::batchPrint);
    if (auto* dueDate = qobject_cast<QComboBox*>(boxWidget(kDueDateBox))) {
        connect(dueDate->lineEdit(), &QLineEdit::returnPressed, this, &TfmCheckCDHP::dueDateEntered);
        new FocusOutWatcher(dueDate->lineEdit(), [this] { dueDateEntered(); });
    }
    start();
}

void TfmCheckCDHP::batchPrint()
{
    // The batch outlives the form: it belongs to the main window.
    QWidget* owner = window();
    auto* batch = owner->findChild<TfrmMutiPrintCDHP*>(QString(), Qt::FindDirectChildrenOnly);
    if (batch) {
        batch->setForm(this);
    } else {
        batch = new TfrmMutiPrintCDHP(context(), this, opener_, owner);
        batch->setAttribute(Qt::WA_DeleteOnClose);
    }
    batch->show();
    batch->raise();
    batch->activateWindow();
}

bool TfmCheckCDHP::setJEXX(const QString& text)
{
    const QCheckBox* circle = option(QStringLiteral("cfgJEDXYuan"));
    const DraftAmount amount = draftAmount(text, moneyName(), circle->isChecked(),
                                           option(QStringLiteral("cfgJEDXRMBChecked"))->isChecked());
    if (!amount.ok) {
        context().messages().show(amount.message, QStringLiteral("金额输入"));
        clearAmount();
        return false;
    }
    if (amount.empty) {
        clearAmount();
        return true;
    }
    amountEntryBox()->setText(normalizeAmount(text));
    fillDigitBoxes(amount.figures);
    setBoxText(QStringLiteral("zdJEXX"), amount.figures);
    setBoxText(QStringLiteral("zdJEDX"), amount.words);
    return true;
}

void TfmCheckCDHP::finishEntries()
{
    dueDateEntered();
}

void TfmCheckCDHP::dueDateEntered()
{
    const QString text = trimText(boxText(kDueDateBox));
    if (text.isEmpty() || text.contains(QStringLiteral("年")))
        return;
    if (const std::optional<QDate> due = readDueDateEntry(text, date())) {
        setBoxText(kDueDateBox, dueDateWords(*due));
        return;
    }
    context().messages().show(QStringLiteral("请输入正确的日期格式(如：2009.12.15 或 2009-12-15 ),"
                                             "若是出票后的多少天，请输入如：+180 ."));
    if (auto* box = qobject_cast<QComboBox*>(boxWidget(kDueDateBox)); box && box->isVisible()) {
        box->lineEdit()->selectAll();
        box->setFocus();
    }
}

void TfmCheckCDHP::completeValues(BillValues& values)
{
    const QString words = trimText(boxText(kDueDateBox));
    QVariant due{QMetaType::fromType<QDate>()};
    if (!words.isEmpty()) {
        if (const std::optional<QDate> read = dueDateFromWords(words))
            due = *read;
        else
            context().messages().show(QStringLiteral("到期日期保存失败,可能影响到期提醒,")
                                      + QStringLiteral("“%1”不是日期").arg(words));
    }
    values.insert(QStringLiteral("到期日期"), due);
}

} // namespace slipcraft
