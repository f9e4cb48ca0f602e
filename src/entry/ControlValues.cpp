#include "entry/ControlValues.h"

#include "entry/FormControls.h"
#include "entry/PrintRenderer.h"
#include "shell/AppContext.h"
#include "shell/UserMessages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace slipcraft {

namespace {

// The form a widget belongs to: its window, or the entry form inside an MDI child.
QWidget* owningForm(QWidget* widget)
{
    while (!widget->isWindow() && widget->parentWidget()
           && !qobject_cast<QMdiSubWindow*>(widget->parentWidget()))
        widget = widget->parentWidget();
    return widget;
}

} // namespace

QString getControlValue(AppContext& context, QWidget* container, const QString& name)
{
    if (name.isEmpty() || !container)
        return {};
    QWidget* form = owningForm(container);
    QWidget* control = findNamedControl(container, name);
    if (!control && form != container)
        control = findNamedControl(form, name);
    if (!control) {
        context.DebugOutN(QStringLiteral("getControlValue"), name + QStringLiteral("=nil  not found."));
        return {};
    }
    // Whether the form would show it, not whether a window is on screen now.
    if (!control->isVisibleTo(form))
        return {};

    if (const auto* box = qobject_cast<QCheckBox*>(control))
        return box->isChecked() ? QStringLiteral("√") : QString();
    if (const auto* edit = qobject_cast<QLineEdit*>(control))
        return edit->text();
    if (const auto* edit = qobject_cast<QPlainTextEdit*>(control))
        return edit->toPlainText();
    if (const auto* edit = qobject_cast<QTextEdit*>(control))
        return edit->toPlainText();
    if (const auto* combo = qobject_cast<QComboBox*>(control))
        return combo->currentText();
    if (const auto* label = qobject_cast<QLabel*>(control))
        return label->pixmap().isNull() ? label->text() : QStringLiteral("QPixmap");
    context.messages().show(QString::fromLatin1(control->metaObject()->className())
                                + QStringLiteral("type not suported(getControlValue)"),
                            {}, UserMessages::Icon::Warning);
    return {};
}

void WriteToJEGrid(AppContext& context, QWidget* form, const QString& abbreviation, const QString& amount,
                   const QString& formAbbreviation, bool noSheep, bool counterfoil)
{
    const DigitBoxes boxes = digitBoxValues(abbreviation, amount, formAbbreviation, noSheep, counterfoil);
    QMap<QString, QString> values = boxes.values;
    if (!boxes.positive) {
        values.insert(QStringLiteral("zdJEXX"), QString());
        values.insert(QStringLiteral("cgJEXX"), QString());
    }
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        if (auto* edit = qobject_cast<QLineEdit*>(findNamedControl(form, it.key())))
            edit->setText(it.value());
    }
    for (int i = 0; i < boxes.overflowDigits; ++i)
        context.messages().show(QStringLiteral("    溢出   "), QStringLiteral("出错"), UserMessages::Icon::Warning);
}

WidgetPrintSource::WidgetPrintSource(AppContext& context, QWidget* container, const QString& billType,
                                     const WidgetPrintOptions& options)
    : options(options)
    , context_(context)
    , container_(container)
    , billType_(billType)
{
}

QString WidgetPrintSource::controlValue(const QString& itemName)
{
    return getControlValue(context_, container_, itemName);
}

} // namespace slipcraft
