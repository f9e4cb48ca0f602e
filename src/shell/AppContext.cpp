#include "shell/AppContext.h"

#include "parties/DAOPerson.h"
#include "platform/printing/PrintService.h"
#include "templates/Catalogue.h"
#include "shell/StartUp.h"
#include "shell/UserMessages.h"

namespace slipcraft {

AppContext::AppContext(const QString& runPath, UserMessages& messages)
    : today(QDate::currentDate())
    , runPath_(runPath)
    , versionText_(programVersionText(2))
    , messages_(messages)
    , db_(runPath + QStringLiteral("Data/EPData.ini"))
    , userIni_(runPath + QStringLiteral("Config.ini"))
    , settings_(db_, userIni_)
{
}

AppContext::~AppContext() = default;

Catalogue& AppContext::catalogue()
{
    if (!catalogue_)
        catalogue_ = std::make_unique<Catalogue>(*this);
    return *catalogue_;
}

IniFile& AppContext::OpenUserIniFile()
{
    userIni_.reload();
    return userIni_;
}

IniFile& AppContext::OpenDebugInif()
{
    if (debugIni_)
        debugIni_->reload();
    else
        debugIni_ = std::make_unique<IniFile>(runPath_ + QStringLiteral("Debug.ini"));
    return *debugIni_;
}

void AppContext::DebugOutN(const QString& prefix, const QString& value)
{
    if (!debugIni_)
        OpenDebugInif();
    ++debugCounter_;
    debugIni_->writeString(QStringLiteral("debug"), prefix + QLatin1Char('-') + QString::number(debugCounter_), value);
}

void AppContext::repairSchema(const QString& missingColumn)
{
    if (!schemaRepair_ || repairingSchema_)
        return;
    repairingSchema_ = true;
    schemaRepair_(missingColumn);
    repairingSchema_ = false;
}

bool AppContext::alert(const QString& text, const QString& caption, bool ask)
{
    if (caption.isEmpty())
        return false;
    if (ask)
        return messages().ask(text, caption);
    messages().show(text, caption);
    return false;
}

int AppContext::CountTableAllRows(const QString& tableName)
{
    try {
        return db_.scalar(QStringLiteral("select count(*) from ") + tableName).toInt();
    } catch (const DatabaseError& error) {
        messages().show(QStringLiteral("计算表格总数失败:") + tableName + QLatin1Char('-') + error.text());
        return 0;
    }
}

void AppContext::LoadSysParam()
{
    switches_ = settings_.readSwitches();
    emit switchesChanged();
}

void AppContext::reloadDefaultDrawer()
{
    defaultDrawer_ = TPerson::findDefaultDrawer(db_);
}

QStringList AppContext::printerList() const
{
    return printService_ ? printService_->printerNames() : QStringList();
}

void AppContext::shutDown()
{
    db_.close();
}

} // namespace slipcraft
