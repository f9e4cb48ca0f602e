#include "entry/FormControls.h"

#include <QWidget>

namespace slipcraft {

QWidget* findNamedControl(const QWidget* container, const QString& name)
{
    if (!container || name.isEmpty())
        return nullptr;
    const QList<QWidget*> children = container->findChildren<QWidget*>();
    for (QWidget* child : children) {
        if (child->objectName().compare(name, Qt::CaseInsensitive) == 0)
            return child;
    }
    return nullptr;
}

} // namespace slipcraft
