#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

namespace slipcraft {

class Database;
class IniFile;

// The day stamp: year + month + day as an arithmetic sum, so two days may share one
// (2024-05-17 and 2024-06-16 both give 2046).
QString dayStamp(QDate day);

// The online service panel stays hidden on the day its stored stamp names.
bool adPanelHiddenOn(QDate day, const QString& storedStamp);
// What the panel toggle stores: the stamp while hidden, a stamp no start can match while shown.
QString adPanelStampFor(QDate day, bool visible);

// Tool bar visibility in Config.ini, section FM_MAIN, key TOOLBARMAIN: shown exactly
// when the value is "1", which a missing key counts as.
bool toolBarVisible(const IniFile& userIni);
void saveToolBarVisible(IniFile& userIni, bool visible);

// "真的要退出【" + brand + "票据打印】系统吗？", the brand from Config.ini [Info] nm.
QString exitQuestion(const IniFile& userIni);

struct CacheResetResult {
    // Empty when every statement ran; else the engine's text of the one that failed.
    QString databaseError;
    QStringList deletedPictures;
};

// Clears the screen-layout caches, removes templates, layouts and options that lost
// their owner, and deletes pictures in Image/ that no template uses.
CacheResetResult resetSoftwareCaches(Database& db, const QString& runPath);

} // namespace slipcraft
