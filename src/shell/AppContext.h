#pragma once

#include "data/Database.h"
#include "platform/IniFile.h"
#include "shell/Settings.h"

#include <QDate>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

namespace slipcraft {

class Catalogue;
class PrintService;
class TPerson;
class UserMessages;

// What every window of the program shares: the run path, the version, the one database
// connection, the settings files, the signed-in user and the current template.
class AppContext : public QObject {
    Q_OBJECT

public:
    AppContext(const QString& runPath, UserMessages& messages);
    ~AppContext() override;

    // With a trailing "/"; every file of the program is addressed from it.
    const QString& getRunPath() const { return runPath_; }
    // Major and minor number, as captions show it.
    const QString& versionText() const { return versionText_; }

    Database& db() { return db_; }
    UserMessages& messages() { return redirected_ ? *redirected_ : messages_; }
    // While set, messages go there instead (null: back to the user).
    void redirectMessages(UserMessages* messages) { redirected_ = messages; }
    Settings& settings() { return settings_; }
    // Bill types, templates, items and their screen-layout caches.
    Catalogue& catalogue();

    // Config.ini; reopening reads it again from disk.
    IniFile& OpenUserIniFile();
    IniFile& userIniFile() { return userIni_; }
    IniFile& OpenDebugInif();
    // Debug.ini, section "debug": prefix + "-" + running number = value.
    void DebugOutN(const QString& prefix, const QString& value);

    // Shows text in a box with the caption; with ask, a Yes/No question answered true
    // on Yes. An empty caption shows nothing and answers false.
    bool alert(const QString& text, const QString& caption, bool ask);

    // Rows of a table named by the program; 0 (after a message) when it cannot be counted.
    int CountTableAllRows(const QString& tableName);

    // What brings a database file of an older release up to date when an operation finds
    // one of its columns missing; the window that can run it sets it. Never runs twice at once.
    void setSchemaRepair(std::function<void(const QString& missingColumn)> repair) { schemaRepair_ = std::move(repair); }
    void repairSchema(const QString& missingColumn);

    // Reads the system switches; switchesChanged() tells the windows to follow.
    void LoadSysParam();
    const SystemSwitches& switches() const { return switches_; }

    // The printers of this machine; none until the program provides its service.
    void setPrintService(PrintService* service) { printService_ = service; }
    PrintService* printService() { return printService_; }
    // Names of the installed printers; empty when none can be used.
    QStringList printerList() const;

    // The unit whose group is "默认出票人", read at start when the default-drawer switch
    // is on; every entry form takes it as its drawer or sender. Null when there is none.
    const TPerson* defaultDrawer() const { return defaultDrawer_.get(); }
    // Reads it again: at start, and when the counterparty manager names another one.
    void reloadDefaultDrawer();

    // Closes the connection; settings are already on disk.
    void shutDown();

    QDate today;
    QString currentUserName;
    QString currentRoleName;
    int currentTemplateId = 0;
    int timerTickCount = 0;
    // Print job state shared by every entry form: set by a successful preparation,
    // cleared by every new one and by the end of the job.
    bool printReady = false;
    // Of the bill being printed: its currency sign and the pitch of its digit boxes (0.1 mm).
    QString currentCurrencyAbbreviation;
    int currentDigitBoxPitch = 0;

signals:
    void switchesChanged();

private:
    QString runPath_;
    QString versionText_;
    UserMessages& messages_;
    UserMessages* redirected_ = nullptr;
    Database db_;
    IniFile userIni_;
    std::unique_ptr<IniFile> debugIni_;
    int debugCounter_ = 0;
    Settings settings_;
    SystemSwitches switches_;
    PrintService* printService_ = nullptr;
    std::function<void(const QString&)> schemaRepair_;
    bool repairingSchema_ = false;
    std::unique_ptr<Catalogue> catalogue_;
    std::unique_ptr<TPerson> defaultDrawer_;
};

} // namespace slipcraft
