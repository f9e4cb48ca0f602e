#pragma once

#include <QString>

namespace slipcraft {

// Where the run path may come from, in order of precedence.
struct RunPathSources {
    QString homeOption;      // --home DIR
    QString homeVariable;    // SLIPCRAFT_HOME
    QString programFolder;   // folder of the program file
    QString xdgDataHome;     // XDG_DATA_HOME
    QString userHome;        // HOME
};

// The folder every file of the program is addressed from, absolute, with a trailing "/".
// The program folder counts only when it holds a Data folder (a portable installation).
QString resolveRunPath(const RunPathSources& sources);

// The sources of this process: the --home option given, the environment, the program file.
RunPathSources processRunPathSources(const QString& homeOption);

// The existing file or folder under base whose relative path matches without regard to
// case ("Image/sys_bg.jpg" finds "image/SYS_BG.JPG"). Where a part does not exist, it
// and the parts after it are kept as given, below the folders that were found.
QString findIgnoringCase(const QString& base, const QString& relative);

// Empty when the folder exists or can be made and a file can be written in it; else a
// one-line message that names the folder and says what is wrong.
QString checkWritableFolder(const QString& folder);

} // namespace slipcraft
