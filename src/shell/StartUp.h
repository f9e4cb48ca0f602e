#pragma once

#include <QString>
#include <QStringList>

namespace slipcraft {

class RegistryStore;
class UserMessages;

inline const QString kApplicationTitle = QStringLiteral("Marrowind票据打印");
inline const QString kMakerSite = QStringLiteral("www.marrowind.example");

// The program's version joined by full stops: 2 parts give major and minor, 3 add the
// release, anything else all four.
QString programVersionText(int parts);

// The main window's caption.
QString mainWindowCaption(const QString& versionText);

// A run path with "$" lies in an archive tool's temporary folder: settings kept there
// are lost when the tool cleans up, so the program refuses to run from it.
bool runsInsideArchive(const QString& runPath);
QString archiveMessage(const QString& versionText);

// Writes RunPath and Version where they differ from what is stored, and FullPath always.
// Returns the names written; a value that cannot be written is reported once.
QStringList updateInstallRecord(RegistryStore& store, const QString& runPath, const QString& versionText,
                                const QString& programFile, UserMessages& messages);

// Draws the splash and background pictures into Image/ when they are missing.
void ensureSystemPictures(const QString& runPath, const QString& versionText);

// Image/Sys_boot.jpg and Image/sys_bg.jpg, found without regard to case.
QString splashPicturePath(const QString& runPath);
QString backgroundPicturePath(const QString& runPath);

} // namespace slipcraft
