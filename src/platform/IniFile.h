#pragma once

#include <QString>
#include <QStringList>

#include <memory>

namespace slipcraft {

// An INI file as the settings files of the program use it: sections and keys match
// without regard to case, every write reaches the disk at once, the file is written in
// UTF-8 and read as UTF-8 or, when it is not valid UTF-8, as GBK (files written by
// older installations). Lines that are not sections or key=value pairs are skipped.
class IniFile {
public:
    explicit IniFile(const QString& path);
    ~IniFile();
    IniFile(const IniFile&) = delete;
    IniFile& operator=(const IniFile&) = delete;

    const QString& path() const { return path_; }

    QString readString(const QString& section, const QString& key, const QString& defaultValue = {}) const;
    // defaultValue when the key is missing or its value is not an integer.
    int readInteger(const QString& section, const QString& key, int defaultValue) const;
    bool sectionExists(const QString& section) const;
    bool valueExists(const QString& section, const QString& key) const;
    QStringList sections() const;
    QStringList keys(const QString& section) const;

    // Each returns false when the file could not be written; the value is kept in
    // memory either way.
    bool writeString(const QString& section, const QString& key, const QString& value);
    bool writeInteger(const QString& section, const QString& key, int value);
    bool deleteKey(const QString& section, const QString& key);
    bool eraseSection(const QString& section);

    // Reads the file again, dropping what is in memory.
    void reload();

    // Between these, writes stay in memory and the file is saved once at the end:
    // for building a whole file. endBatch returns whether that save worked.
    void beginBatch();
    bool endBatch();

private:
    bool save() const;

    struct Store;
    QString path_;
    std::unique_ptr<Store> store_;
    int batchDepth_ = 0;
};

} // namespace slipcraft
