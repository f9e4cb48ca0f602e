#include "TempHome.h"

#include "data/Database.h"

#include <gtest/gtest.h>

#include <QFile>

TempHome::TempHome()
{
    EXPECT_TRUE(dir_.isValid());
}

QString TempHome::runPath() const
{
    return dir_.path() + QLatin1Char('/');
}

QString TempHome::path(const QString& relative) const
{
    return runPath() + relative;
}

QString TempHome::databasePath() const
{
    return path(QStringLiteral("Data/EPData.ini"));
}

void TempHome::createDatabase(slipcraft::ProductData productData) const
{
    const QString problem = slipcraft::prepareDatabaseFile(databasePath(), productData);
    ASSERT_TRUE(problem.isEmpty()) << problem.toStdString();
}

QString unwritablePath(const QTemporaryDir& dir, const QString& below)
{
    QFile blocker(dir.filePath(QStringLiteral("blocker")));
    EXPECT_TRUE(blocker.open(QIODevice::WriteOnly));
    return dir.filePath(QStringLiteral("blocker/") + below);
}
