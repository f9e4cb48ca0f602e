#include "shell/SystemCommands.h"

#include "data/Database.h"
#include "platform/IniFile.h"
#include "platform/RunPath.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace slipcraft {

namespace {
const QString kMainSection = QStringLiteral("FM_MAIN");
const QString kToolBarKey = QStringLiteral("TOOLBARMAIN");
} // namespace

QString dayStamp(QDate day)
{
    return QString::number(day.year() + day.month() + day.day());
}

bool adPanelHiddenOn(QDate day, const QString& storedStamp)
{
    return storedStamp == dayStamp(day);
}

QString adPanelStampFor(QDate day, bool visible)
{
    return visible ? QString::number(dayStamp(day).toInt() - 1000) : dayStamp(day);
}

bool toolBarVisible(const IniFile& userIni)
{
    return userIni.readString(kMainSection, kToolBarKey, QStringLiteral("1")) == QLatin1String("1");
}

void saveToolBarVisible(IniFile& userIni, bool visible)
{
    userIni.writeString(kMainSection, kToolBarKey, visible ? QStringLiteral("1") : QStringLiteral("0"));
}

QString exitQuestion(const IniFile& userIni)
{
    const QString brand = userIni.readString(QStringLiteral("Info"), QStringLiteral("nm"), QStringLiteral("Marrowind"));
    return QStringLiteral("真的要退出【") + brand + QStringLiteral("票据打印】系统吗？");
}

namespace {

QString cleanUpDatabase(Database& db)
{
    // A NULL in a NOT IN list makes the test unknown for every row, so the lists skip NULLs.
    static const char* const statements[] = {
        "update ckTypeTable set IniFile=''",
        "DELETE FROM ckTypeTable WHERE TypeFirstName<>'' and TypeFirstName is not null and TypeFirstName not "
        "in(select CheckTypeName from namedict where CheckTypeName is not null)",
        "DELETE FROM ckcontrol WHERE checktypeid not in(select checktypeid from cktypetable)",
        "DELETE FROM ckcontrol WHERE ctlName not in(select CtlName from namedict where CtlName is not null)",
        "DELETE FROM DMTable WHERE checktypeid not in(select checktypeid from cktypetable) and CheckTypeid<>0",
    };
    try {
        for (const char* statement : statements)
            db.execute(QString::fromUtf8(statement));
    } catch (const DatabaseError& error) {
        return error.text();
    }
    return {};
}

QStringList cleanUpPictures(Database& db, const QString& runPath)
{
    QStringList usedPictures;
    try {
        for (const QString& imgFile : db.textColumn(QStringLiteral("select ImgFile from ckTypeTable")))
            usedPictures.append(imgFile.toUpper());
    } catch (const DatabaseError&) {
        // Without the list nothing can be known to be unused.
        return {};
    }
    const QDir folder(findIgnoringCase(runPath, QStringLiteral("Image")));
    QStringList deleted;
    for (const QFileInfo& picture : folder.entryInfoList(QDir::Files | QDir::NoSymLinks)) {
        const QString name = picture.fileName().toUpper();
        // A read-only picture is one the user protected.
        if (!name.endsWith(QLatin1String(".JPG")) || !(picture.permissions() & QFile::WriteOwner))
            continue;
        if (name.contains(QLatin1String("SYS_")))
            continue;
        const bool used = std::any_of(usedPictures.cbegin(), usedPictures.cend(),
                                      [&](const QString& imgFile) { return imgFile.contains(name); });
        if (!used && QFile::remove(picture.absoluteFilePath()))
            deleted.append(picture.fileName());
    }
    return deleted;
}

} // namespace

CacheResetResult resetSoftwareCaches(Database& db, const QString& runPath)
{
    CacheResetResult result;
    result.databaseError = cleanUpDatabase(db);
    result.deletedPictures = cleanUpPictures(db, runPath);
    return result;
}

} // namespace slipcraft
