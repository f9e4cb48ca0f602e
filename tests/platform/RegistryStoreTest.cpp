#include "TempHome.h"

#include "platform/RegistryStore.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

using namespace slipcraft;

TEST(RegistryStore, MissingValuesReadAsTheMissingMarkAndWrittenValuesPersist)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("Slipcraft.conf"));
    {
        RegistryStore store(file);
        EXPECT_EQ(store.read(QStringLiteral("RunPath")), QStringLiteral("空"));
        EXPECT_TRUE(store.write(QStringLiteral("RunPath"), QStringLiteral("/home/clerk/票据/")));
    }
    RegistryStore again(file);
    EXPECT_EQ(again.read(QStringLiteral("RunPath")), QStringLiteral("/home/clerk/票据/"));
}

TEST(RegistryStore, AWriteThatFailsIsReported)
{
    QTemporaryDir dir;
    RegistryStore store(unwritablePath(dir, QStringLiteral("Slipcraft.conf")));
    EXPECT_FALSE(store.write(QStringLiteral("Version"), QStringLiteral("1.0")));
}
