#include "shell/Settings.h"

#include "data/Database.h"
#include "platform/IniFile.h"

namespace slipcraft {

namespace {
const QString kConfigSection = QStringLiteral("Config");
const QString kFormWidth = QStringLiteral("FormWidth");
const QString kFormHeight = QStringLiteral("FormHeight");
} // namespace

Settings::Settings(Database& db, IniFile& userIni)
    : db_(db)
    , userIni_(userIni)
{
}

QString Settings::getConfigByname(const QString& name) const
{
    try {
        return db_.scalar(QStringLiteral("Select cvalue From configtable Where ltrim(rtrim(cname))=:pname COLLATE NOCASE"),
                          {{QStringLiteral("pname"), name}})
            .toString();
    } catch (const DatabaseError&) {
        return {};
    }
}

void Settings::setConfigByname(const QString& name, const QString& value)
{
    const SqlParams params{{QStringLiteral("pvalue"), value}, {QStringLiteral("pname"), name}};
    if (db_.execute(QStringLiteral("update configtable set cvalue=:pvalue Where cname=:pname"), params) == 0)
        db_.execute(QStringLiteral("insert into configtable (cvalue,cname) values(:pvalue,:pname)"), params);
}

QString Settings::getINIConfigByname(const QString& name) const
{
    return userIni_.readString(kConfigSection, name);
}

bool Settings::setINIConfigByname(const QString& name, const QString& value)
{
    return userIni_.writeString(kConfigSection, name, value);
}

bool isSwitchOn(const QString& value)
{
    return value == QLatin1String("1") || value == QLatin1String("yes");
}

SystemSwitches Settings::readSwitches() const
{
    SystemSwitches switches;
    switches.needLogin = isSwitchOn(getConfigByname(kNeedLogin));
    switches.popPrinterSetup = isSwitchOn(getConfigByname(kPopPrinterSetup));
    switches.useDefaultDrawer = isSwitchOn(getConfigByname(kUseDefaultDrawer));
    switches.systemBackImage = isSwitchOn(getConfigByname(kSystemBackImage));
    return switches;
}

void Settings::toggleSwitch(const QString& name, bool checked)
{
    setConfigByname(name, checked ? QStringLiteral("no") : QStringLiteral("yes"));
}

void saveFormFace(IniFile& ini, const QString& componentName, QSize size)
{
    const QString section = componentName.toUpper();
    ini.writeInteger(section, kFormWidth, size.width());
    ini.writeInteger(section, kFormHeight, size.height());
}

QSize loadFormFace(const IniFile& ini, const QString& componentName, QSize current, QSize screen)
{
    const QString section = componentName.toUpper();
    const int width = ini.readInteger(section, kFormWidth, current.width());
    const int height = ini.readInteger(section, kFormHeight, current.height());
    return {std::min(width, screen.width()), std::min(height, screen.height())};
}

} // namespace slipcraft
