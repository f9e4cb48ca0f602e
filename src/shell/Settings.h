#pragma once

#include <QSize>
#include <QString>

namespace slipcraft {

class Database;
class IniFile;

// The four system switches read at start and after every switch command.
struct SystemSwitches {
    bool needLogin = false;          // "进入系统需验证"
    bool popPrinterSetup = false;    // "打印前弹出打印机设置"
    bool useDefaultDrawer = false;   // "启用默认出票人"
    bool systemBackImage = false;    // "启用系统背景"

    bool operator==(const SystemSwitches&) const = default;
};

// System parameters live in the database (configtable) and travel with it; user
// settings live in Config.ini beside it.
class Settings {
public:
    static inline const QString kNeedLogin = QStringLiteral("进入系统需验证");
    static inline const QString kPopPrinterSetup = QStringLiteral("打印前弹出打印机设置");
    static inline const QString kUseDefaultDrawer = QStringLiteral("启用默认出票人");
    static inline const QString kSystemBackImage = QStringLiteral("启用系统背景");

    Settings(Database& db, IniFile& userIni);

    // Empty when the parameter is missing or the database cannot be read.
    QString getConfigByname(const QString& name) const;
    // Update, else insert. Throws DatabaseError.
    void setConfigByname(const QString& name, const QString& value);

    QString getINIConfigByname(const QString& name) const;
    bool setINIConfigByname(const QString& name, const QString& value);

    SystemSwitches readSwitches() const;
    // What a switch's menu item stores: "no" when it is checked, else "yes". Throws DatabaseError.
    void toggleSwitch(const QString& name, bool checked);

private:
    Database& db_;
    IniFile& userIni_;
};

// A switch is on exactly when its stored value is "1" or "yes".
bool isSwitchOn(const QString& value);

// Window sizes in Config.ini, in the section of the window's component name upper-cased.
void saveFormFace(IniFile& ini, const QString& componentName, QSize size);
// The stored size, the current size where none is stored, limited to the screen.
QSize loadFormFace(const IniFile& ini, const QString& componentName, QSize current, QSize screen);

} // namespace slipcraft
