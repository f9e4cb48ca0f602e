#include "templates/FormPlacement.h"

#include "data/Database.h"
#include "entry/FormControls.h"
#include "shell/AppContext.h"
#include "shell/UserMessages.h"
#include "templates/Catalogue.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QWidget>

namespace slipcraft {

namespace {

void putInitialValue(QWidget* control, const QString& value)
{
    if (auto* edit = qobject_cast<QLineEdit*>(control))
        edit->setText(value);
    else if (auto* combo = qobject_cast<QComboBox*>(control))
        combo->setCurrentText(value); // editable: the text; otherwise the matching item, if any
    else if (auto* plain = qobject_cast<QPlainTextEdit*>(control))
        plain->setPlainText(value);
    else if (auto* rich = qobject_cast<QTextEdit*>(control))
        rich->setPlainText(value);
    else if (auto* label = qobject_cast<QLabel*>(control))
        label->setText(value);
    else if (auto* button = qobject_cast<QAbstractButton*>(control); button && button->isCheckable())
        button->setChecked(true);
}

} // namespace

void setFormControlsPosition(Catalogue& catalogue, AppContext& context, const QString& billType, QWidget* form,
                             const IniFile* cache)
{
    if (!cache || !form)
        return;
    QStringList names;
    try {
        names = catalogue.loadItemControlNames(billType);
    } catch (const DatabaseError& error) {
        context.messages().show(QStringLiteral("调入项目参数失败!") + error.text());
        return;
    }
    for (const QString& name : names)
        setFormCtlPositionFromIni(name, cache, form);
}

void setFormCtlPositionFromIni(const QString& controlName, const IniFile* cache, QWidget* form)
{
    if (!cache || !form)
        return;
    QWidget* control = findNamedControl(form, controlName);
    if (!control)
        return;
    const ControlPlacement placement = readControlPlacement(*cache, controlName);
    if (placement.visible) {
        control->setGeometry(placement.x, placement.y, placement.w, placement.h);
        control->setVisible(true);
    } else {
        control->setVisible(false);
    }
    form->update();
    if (!placement.initialValue.isEmpty())
        putInitialValue(control, placement.initialValue);
}

} // namespace slipcraft
