#include "platform/RegistryStore.h"

#include <QSettings>

namespace slipcraft {

namespace {
const QString kGroup = QStringLiteral("VORAXE_CDHP/");
}

RegistryStore::RegistryStore()
    : settings_(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                            QStringLiteral("Marrowind"), QStringLiteral("Slipcraft")))
{
}

RegistryStore::RegistryStore(const QString& filePath)
    : settings_(std::make_unique<QSettings>(filePath, QSettings::IniFormat))
{
}

RegistryStore::~RegistryStore() = default;

QString RegistryStore::read(const QString& name) const
{
    if (settings_->status() != QSettings::NoError)
        return {};
    const QVariant value = settings_->value(kGroup + name);
    return value.isValid() ? value.toString() : kMissing;
}

bool RegistryStore::write(const QString& name, const QString& value)
{
    settings_->setValue(kGroup + name, value);
    settings_->sync();
    return settings_->status() == QSettings::NoError;
}

} // namespace slipcraft
