#include "platform/IniFile.h"

#include "platform/Gbk.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

#include <list>
#include <string>

#define SI_NO_CONVERSION
#define SI_IMPLEMENTATION
#include <SimpleIni.h>

namespace slipcraft {

struct IniFile::Store {
    CSimpleIniA ini{/*utf8*/ true, /*multiKey*/ false, /*multiLine*/ false};
};

namespace {

QByteArray fileTextAsUtf8(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QByteArray bytes = file.readAll();
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString decoded = utf8.decode(bytes);
    if (!utf8.hasError())
        return bytes;
    return gbk::decode(bytes).toUtf8();
}

std::string utf8(const QString& text)
{
    return text.toStdString();
}

} // namespace

IniFile::IniFile(const QString& path)
    : path_(path)
    , store_(std::make_unique<Store>())
{
    store_->ini.SetSpaces(false);
    reload();
}

IniFile::~IniFile() = default;

void IniFile::reload()
{
    store_->ini.Reset();
    const QByteArray text = fileTextAsUtf8(path_);
    if (!text.isEmpty())
        store_->ini.LoadData(text.constData(), size_t(text.size()));
}

QString IniFile::readString(const QString& section, const QString& key, const QString& defaultValue) const
{
    const char* value = store_->ini.GetValue(utf8(section).c_str(), utf8(key).c_str(), nullptr);
    return value ? QString::fromUtf8(value) : defaultValue;
}

int IniFile::readInteger(const QString& section, const QString& key, int defaultValue) const
{
    bool ok = false;
    const int value = readString(section, key).trimmed().toInt(&ok);
    return ok ? value : defaultValue;
}

bool IniFile::sectionExists(const QString& section) const
{
    return store_->ini.GetSection(utf8(section).c_str()) != nullptr;
}

bool IniFile::valueExists(const QString& section, const QString& key) const
{
    return store_->ini.GetValue(utf8(section).c_str(), utf8(key).c_str(), nullptr) != nullptr;
}

QStringList IniFile::sections() const
{
    CSimpleIniA::TNamesDepend names;
    store_->ini.GetAllSections(names);
    names.sort(CSimpleIniA::Entry::LoadOrder());
    QStringList result;
    for (const auto& entry : names)
        result.append(QString::fromUtf8(entry.pItem));
    return result;
}

QStringList IniFile::keys(const QString& section) const
{
    CSimpleIniA::TNamesDepend names;
    store_->ini.GetAllKeys(utf8(section).c_str(), names);
    names.sort(CSimpleIniA::Entry::LoadOrder());
    QStringList result;
    for (const auto& entry : names)
        result.append(QString::fromUtf8(entry.pItem));
    return result;
}

bool IniFile::writeString(const QString& section, const QString& key, const QString& value)
{
    // Line breaks would split the value into lines that read back as something else.
    QString oneLine = value;
    oneLine.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    store_->ini.SetValue(utf8(section).c_str(), utf8(key).c_str(), utf8(oneLine).c_str());
    return save();
}

bool IniFile::writeInteger(const QString& section, const QString& key, int value)
{
    return writeString(section, key, QString::number(value));
}

bool IniFile::deleteKey(const QString& section, const QString& key)
{
    store_->ini.Delete(utf8(section).c_str(), utf8(key).c_str(), true);
    return save();
}

bool IniFile::eraseSection(const QString& section)
{
    store_->ini.Delete(utf8(section).c_str(), nullptr);
    return save();
}

void IniFile::beginBatch()
{
    ++batchDepth_;
}

bool IniFile::endBatch()
{
    if (batchDepth_ > 0 && --batchDepth_ > 0)
        return true;
    return save();
}

bool IniFile::save() const
{
    if (batchDepth_ > 0)
        return true;
    std::string text;
    if (store_->ini.Save(text) < 0)
        return false;
    QDir().mkpath(QFileInfo(path_).absolutePath());
    // Written whole or not at all, so a crash never leaves half a settings file.
    QSaveFile file(path_);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(text.data(), qint64(text.size()));
    return file.commit();
}

} // namespace slipcraft
