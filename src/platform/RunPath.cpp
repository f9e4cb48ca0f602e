#include "platform/RunPath.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

namespace slipcraft {

namespace {

QString withTrailingSlash(const QString& folder)
{
    QString path = QDir::cleanPath(QDir(folder).absolutePath());
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    return path;
}

} // namespace

QString resolveRunPath(const RunPathSources& sources)
{
    if (!sources.homeOption.isEmpty())
        return withTrailingSlash(sources.homeOption);
    if (!sources.homeVariable.isEmpty())
        return withTrailingSlash(sources.homeVariable);
    if (!sources.programFolder.isEmpty()
        && QFileInfo(findIgnoringCase(withTrailingSlash(sources.programFolder), QStringLiteral("Data"))).isDir())
        return withTrailingSlash(sources.programFolder);
    const QString dataHome = QDir::isAbsolutePath(sources.xdgDataHome)
        ? sources.xdgDataHome
        : sources.userHome + QStringLiteral("/.local/share");
    return withTrailingSlash(dataHome + QStringLiteral("/slipcraft"));
}

RunPathSources processRunPathSources(const QString& homeOption)
{
    RunPathSources sources;
    sources.homeOption = homeOption;
    sources.homeVariable = qEnvironmentVariable("SLIPCRAFT_HOME");
    sources.programFolder = QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QString();
    sources.xdgDataHome = qEnvironmentVariable("XDG_DATA_HOME");
    sources.userHome = QDir::homePath();
    return sources;
}

QString findIgnoringCase(const QString& base, const QString& relative)
{
    QString found = base.endsWith(QLatin1Char('/')) ? base.chopped(1) : base;
    const QStringList parts = relative.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    bool matching = true;
    for (const QString& part : parts) {
        const QString exact = found + QLatin1Char('/') + part;
        if (!matching || QFileInfo::exists(exact)) {
            found = exact;
            continue;
        }
        const QStringList entries = QDir(found).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        const auto match = std::find_if(entries.begin(), entries.end(), [&](const QString& entry) {
            return entry.compare(part, Qt::CaseInsensitive) == 0;
        });
        // Past the first missing part, the rest is kept as given.
        matching = match != entries.end();
        found += QLatin1Char('/') + (matching ? *match : part);
    }
    return found;
}

QString checkWritableFolder(const QString& folder)
{
    const QString shown = QDir::toNativeSeparators(QDir::cleanPath(folder));
    if (!QDir().mkpath(folder))
        return QStringLiteral("无法创建文件夹 %1：请检查路径和写入权限。").arg(shown);
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".write-test-XXXXXX")));
    if (!probe.open())
        return QStringLiteral("文件夹 %1 无法写入：%2。请检查写入权限或用 --home 指定其他文件夹。")
            .arg(shown, probe.errorString());
    return {};
}

} // namespace slipcraft
