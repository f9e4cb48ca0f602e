#pragma once

#include <QString>

#include <memory>

class QSettings;

namespace slipcraft {

// The installation record, kept in the user's settings where the Windows version used
// the registry: organisation "Marrowind", application "Slipcraft", group "VORAXE_CDHP".
class RegistryStore {
public:
    // The value a reader answers for a name that is not stored.
    static inline const QString kMissing = QStringLiteral("空");

    RegistryStore();
    // A store in the given file, for tests and for reading another installation's record.
    explicit RegistryStore(const QString& filePath);
    ~RegistryStore();

    // kMissing when the name is not stored; an empty text when the store cannot be read.
    QString read(const QString& name) const;
    // False when the value could not be written.
    bool write(const QString& name, const QString& value);

private:
    std::unique_ptr<QSettings> settings_;
};

} // namespace slipcraft
