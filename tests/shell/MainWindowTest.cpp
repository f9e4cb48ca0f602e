#include "RecordingMessages.h"
#include "TempHome.h"

#include "platform/IniFile.h"
#include "platform/RegistryStore.h"
#include "shell/AppContext.h"
#include "shell/MainMDI.h"
#include "shell/StartUp.h"
#include "shell/WindowSettings.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QMdiArea>
#include <QTemporaryDir>

using namespace slipcraft;

namespace {

// A main window on a fresh home, with its installation record in a file of its own.
struct MainWindowOnHome {
    explicit MainWindowOnHome(const QString& runPath)
        : context(runPath, messages)
        , registry(config.filePath(QStringLiteral("record.conf")))
    {
    }

    RecordingMessages messages;
    QTemporaryDir config;
    AppContext context;
    RegistryStore registry;
};

bool showsPicture(Tfm_Main& window)
{
    window.resize(400, 300);
    const QImage shot = window.mdiArea()->viewport()->grab().toImage();
    return shot.pixelColor(shot.width() / 2, shot.height() / 2) != QColor(200, 226, 190);
}

} // namespace

TEST(MainWindow, StartsWithCaptionStatusAndInstallRecord)
{
    TempHome home;
    home.createDatabase();
    MainWindowOnHome on(home.runPath());
    Tfm_Main window(on.context, on.registry);

    EXPECT_EQ(window.objectName(), QStringLiteral("fm_Main"));
    EXPECT_EQ(window.windowTitle(), mainWindowCaption(on.context.versionText()));
    EXPECT_TRUE(window.statusText(1) == QStringLiteral("建议分辨率:1024x768以上"));
    EXPECT_TRUE(window.statusText(2).startsWith(QStringLiteral(" 当前时间：")));
    EXPECT_FALSE(window.statusText(4).isEmpty());
    EXPECT_EQ(on.registry.read(QStringLiteral("RunPath")), home.runPath());
    EXPECT_FALSE(window.terminateRequested());
    EXPECT_TRUE(on.messages.messages.isEmpty());
}

TEST(MainWindow, BackgroundFollowsItsSwitch)
{
    TempHome home;
    home.createDatabase();
    ensureSystemPictures(home.runPath(), QStringLiteral("1.0"));
    MainWindowOnHome on(home.runPath());
    {
        Tfm_Main window(on.context, on.registry);
        EXPECT_FALSE(showsPicture(window));
    }
    on.context.settings().setConfigByname(Settings::kSystemBackImage, QStringLiteral("yes"));
    Tfm_Main window(on.context, on.registry);
    EXPECT_TRUE(showsPicture(window));
    window.InitBackGround(false);
    EXPECT_FALSE(showsPicture(window));
}

TEST(MainWindow, ARunPathInsideAnArchiveIsRefusedAfterRecordingTheInstallation)
{
    QTemporaryDir dir;
    const QString runPath = dir.filePath(QStringLiteral("Rar$EXa1.234")) + QLatin1Char('/');
    QDir().mkpath(runPath);
    MainWindowOnHome on(runPath);
    Tfm_Main window(on.context, on.registry);
    EXPECT_TRUE(window.terminateRequested());
    ASSERT_EQ(on.messages.messages.size(), 1);
    EXPECT_TRUE(on.messages.messages[0].text.startsWith(QStringLiteral("请不要从压缩包中直接运行软件")));
    EXPECT_EQ(on.registry.read(QStringLiteral("RunPath")), runPath);
}

TEST(MainWindow, ClosingReleasesTheConnection)
{
    TempHome home;
    home.createDatabase();
    MainWindowOnHome on(home.runPath());
    Tfm_Main window(on.context, on.registry);
    EXPECT_TRUE(on.context.db().isOpen());
    window.close();
    EXPECT_FALSE(on.context.db().isOpen());
}

TEST(WindowSizes, KeptOnlyForANormalWindow)
{
    TempHome home;
    IniFile ini(home.path(QStringLiteral("Config.ini")));
    QWidget window;
    window.setObjectName(QStringLiteral("fmCheckZP"));
    window.resize(640, 480);
    FormFaceSave(&window, ini);
    EXPECT_EQ(ini.readInteger(QStringLiteral("FMCHECKZP"), QStringLiteral("FormWidth"), 0), 640);

    window.resize(700, 500);
    window.setWindowState(Qt::WindowMaximized);
    FormFaceSave(&window, ini);
    EXPECT_EQ(ini.readInteger(QStringLiteral("FMCHECKZP"), QStringLiteral("FormWidth"), 0), 640);
    FormFaceLoad(&window, ini);
    EXPECT_EQ(window.size(), QSize(700, 500));

    window.setWindowState(Qt::WindowNoState);
    FormFaceLoad(&window, ini);
    EXPECT_EQ(window.size(), QSize(640, 480));
}
