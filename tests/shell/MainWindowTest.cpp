#include "FakePrintService.h"
#include "RecordingMessages.h"
#include "TempHome.h"
#include "WhenShown.h"

#include "data/Database.h"
#include "data/Up2NewVersion.h"
#include "entry/BillForm.h"
#include "parties/DAOPerson.h"
#include "platform/IniFile.h"
#include "platform/RegistryStore.h"
#include "platform/printing/PrintService.h"
#include "shell/AppContext.h"
#include "shell/MainMDI.h"
#include "shell/StartUp.h"
#include "shell/SystemCommands.h"
#include "shell/WindowSettings.h"
#include "templates/Catalogue.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

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
        window.resize(400, 300);
        EXPECT_FALSE(showsPicture(window));
    }
    on.context.settings().setConfigByname(Settings::kSystemBackImage, QStringLiteral("yes"));
    Tfm_Main window(on.context, on.registry);
    window.resize(400, 300);
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

// A file of an older release lacks the common-template column: the first look at the
// common templates runs the upgrade and asks for a restart.
TEST(MainWindow, AMissingCommonColumnRunsTheUpgrade)
{
    TempHome home;
    home.createDatabase();
    MainWindowOnHome on(home.runPath());
    on.context.db().execute(QStringLiteral("alter table ckTypeTable drop column IsCommon"));
    {
        Tfm_Main window(on.context, on.registry);
        WhenShown<TfrmUp2NewVersion> upgrade([](TfrmUp2NewVersion&) {});
        EXPECT_TRUE(on.context.catalogue().loadCommonTypeLastNameList(QStringLiteral("支票")).isEmpty());
        EXPECT_TRUE(upgrade.shown);
        EXPECT_EQ(on.messages.texts().value(on.messages.texts().size() - 1), QStringLiteral("请尝试重新启动软件！"));
    }
    // Without a window to run it, the look-up just finds nothing.
    on.messages.messages.clear();
    EXPECT_TRUE(on.context.catalogue().loadCommonTypeLastNameList(QStringLiteral("支票")).isEmpty());
    EXPECT_TRUE(on.messages.messages.isEmpty());
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

namespace {

class MainWindowCommands : public ::testing::Test {
protected:
    void SetUp() override
    {
        home.createDatabase();
        on = std::make_unique<MainWindowOnHome>(home.runPath());
        on->context.setPrintService(&printers);
    }

    std::unique_ptr<Tfm_Main> open()
    {
        auto window = std::make_unique<Tfm_Main>(on->context, on->registry);
        window->resize(600, 400);
        return window;
    }
    QStringList texts() const { return on->messages.texts(); }
    QString stored(const char* name) { return on->context.settings().getConfigByname(QString::fromUtf8(name)); }

    TempHome home;
    FakePrintService printers;
    std::unique_ptr<MainWindowOnHome> on;
};

QWidget* plainEntryWindow()
{
    auto* window = new QWidget;
    window->setAttribute(Qt::WA_DeleteOnClose);
    return window;
}

} // namespace

TEST_F(MainWindowCommands, EveryCommandIsPresentAndThoseWithoutTheirWindowAreDisabled)
{
    auto window = open();
    const QStringList working{"m_new_zp", "m_new_jzd", "m_new_dhd", "m_new_JKD", "m_new_cdhp", "m_new_JWH", "m_new_Def", "m_new_kdd", "m_CloseALL", "PersonalInfoManage", "mTemplateProperty", "mLockPrinter", "BaseSet", "N21", "MenuSsSet", "PrinterConfig", "N8", "mPopPrint", "mNeedLogin", "mSystemBackImage",
                              "mUseDefaultCPR", "updates", "mResetTemps", "N1", "mLockDeskTop", "N10", "N7",
                              "CallCounter", "nHiddenOrShowBar", "AboutSystem", "SystemHelp", "nEnterFolder",
                              "mRestartMe", "ExitSystem", "mZPSearch", "mJZDSearch", "mDHDSearch", "mCDHPSearch",
                              "mJWHSearch", "mJKDSearch", "mKDDSearch", "N9281", "nImpExp", "nTempManage",
                              "N23", "nDesign"};
    const QStringList waiting{};
    for (const QString& name : working) {
        ASSERT_NE(window->command(name), nullptr) << name.toStdString();
        EXPECT_TRUE(window->command(name)->isEnabled()) << name.toStdString();
    }
    for (const QString& name : waiting) {
        ASSERT_NE(window->command(name), nullptr) << name.toStdString();
        EXPECT_FALSE(window->command(name)->isEnabled()) << name.toStdString();
        EXPECT_EQ(window->command(name)->toolTip(), Tfm_Main::kNotYetAvailable) << name.toStdString();
    }
    EXPECT_EQ(window->command(QStringLiteral("SystemHelp"))->shortcut(), QKeySequence(Qt::Key_F1));
    EXPECT_EQ(window->command(QStringLiteral("m_new_dhd"))->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_D));

    // Every bill is in the menu, the tool bar's drop-down and the background menu; other
    // hidden items stay out of the menus.
    QStringList inMenus;
    for (QMenu* menu : window->menuBar()->findChildren<QMenu*>())
        for (QAction* action : menu->actions())
            inMenus << action->objectName();
    for (const char* bill : {"m_new_zp", "m_new_jzd", "m_new_dhd", "m_new_JKD", "m_new_cdhp", "m_new_JWH", "m_new_Def", "m_new_kdd"})
        EXPECT_TRUE(inMenus.contains(QString::fromLatin1(bill))) << bill;
    EXPECT_FALSE(inMenus.contains(QStringLiteral("N9281")));
    auto* popup = window->findChild<QMenu*>(QStringLiteral("PopupMenu1"));
    ASSERT_NE(popup, nullptr);
    QStringList enabledInPopup;
    for (QAction* action : popup->actions())
        if (action->isEnabled() && !action->isSeparator())
            enabledInPopup << action->text();
    EXPECT_EQ(enabledInPopup, (QStringList{QStringLiteral("支票"), QStringLiteral("进账单"), QStringLiteral("电汇单-业务委托书"),
                                           QStringLiteral("缴款单"), QStringLiteral("境外汇款申请书"), QStringLiteral("定制单"),
                                           QStringLiteral("承兑汇票"), QStringLiteral("快递单"), QStringLiteral("刷新"),
                                           QStringLiteral("帮助")}));

    // A tool bar button follows the command it runs.
    auto* importButton = window->findChild<QToolButton*>(QStringLiteral("ToolButton15"));
    ASSERT_NE(importButton, nullptr);
    EXPECT_TRUE(importButton->defaultAction()->isEnabled());
    window->command(QStringLiteral("nImpExp"))->setEnabled(false);
    EXPECT_FALSE(importButton->defaultAction()->isEnabled());
    EXPECT_EQ(importButton->defaultAction()->toolTip(), Tfm_Main::kNotYetAvailable);
    window->command(QStringLiteral("nImpExp"))->setEnabled(true);
    EXPECT_TRUE(importButton->defaultAction()->isEnabled());
    EXPECT_EQ(importButton->defaultAction()->toolTip(), QStringLiteral("新模板导入"));
}

TEST_F(MainWindowCommands, SwitchCommandsStoreAndFollowTheStoredValue)
{
    auto window = open();
    QAction* popPrint = window->command(QStringLiteral("mPopPrint"));
    EXPECT_FALSE(popPrint->isChecked());
    popPrint->trigger();
    EXPECT_EQ(stored("打印前弹出打印机设置"), QStringLiteral("yes"));
    EXPECT_TRUE(popPrint->isChecked());
    EXPECT_TRUE(on->context.switches().popPrinterSetup);
    popPrint->trigger();
    EXPECT_EQ(stored("打印前弹出打印机设置"), QStringLiteral("no"));
    EXPECT_FALSE(popPrint->isChecked());

    // Sign-in can be required once somebody is able to sign in.
    on->context.db().execute(QStringLiteral("insert into UserTable (UserName, RoleName) values ('张三', '管理员')"));
    window->command(QStringLiteral("mNeedLogin"))->trigger();
    window->command(QStringLiteral("mUseDefaultCPR"))->trigger();
    EXPECT_EQ(stored("进入系统需验证"), QStringLiteral("yes"));
    EXPECT_EQ(stored("启用默认出票人"), QStringLiteral("yes"));
    auto again = open();
    EXPECT_TRUE(again->command(QStringLiteral("mNeedLogin"))->isChecked());
    EXPECT_TRUE(again->command(QStringLiteral("mUseDefaultCPR"))->isChecked());
}

TEST_F(MainWindowCommands, BackgroundSwitchShowsAtOnceButHidesOnlyAfterRestart)
{
    ensureSystemPictures(home.runPath(), QStringLiteral("1.0"));
    auto window = open();
    EXPECT_FALSE(showsPicture(*window));
    window->command(QStringLiteral("mSystemBackImage"))->trigger();
    EXPECT_TRUE(showsPicture(*window));
    EXPECT_TRUE(on->messages.messages.isEmpty());

    window->command(QStringLiteral("mSystemBackImage"))->trigger();
    EXPECT_EQ(stored("启用系统背景"), QStringLiteral("no"));
    EXPECT_EQ(texts(), QStringList{QStringLiteral("需要重启软件才生效哦！")});
    EXPECT_TRUE(showsPicture(*window));
    auto restarted = open();
    EXPECT_FALSE(showsPicture(*restarted));
}

TEST_F(MainWindowCommands, HiddenToolBarSurvivesARestart)
{
    auto window = open();
    auto* toolBar = window->findChild<QToolBar*>(QStringLiteral("ToolBarMain"));
    EXPECT_TRUE(toolBar->isVisibleTo(window.get()));
    window->command(QStringLiteral("nHiddenOrShowBar"))->trigger();
    EXPECT_FALSE(toolBar->isVisibleTo(window.get()));
    window.reset();
    on->context.OpenUserIniFile();
    auto restarted = open();
    EXPECT_FALSE(restarted->findChild<QToolBar*>(QStringLiteral("ToolBarMain"))->isVisibleTo(restarted.get()));
}

TEST_F(MainWindowCommands, OnlinePanelHiddenForTheDay)
{
    auto window = open();
    EXPECT_TRUE(window->onlinePanelVisible());
    auto* hide = window->findChild<QLabel*>(QStringLiteral("lbHide"));
    ASSERT_NE(hide, nullptr);
    emit hide->linkActivated(QStringLiteral("hide"));
    EXPECT_FALSE(window->onlinePanelVisible());
    EXPECT_EQ(stored("HideADPanelDate"), dayStamp(QDate::currentDate()));
    EXPECT_FALSE(open()->onlinePanelVisible());

    // The toggle twice on one day leaves it hidden at the next start.
    auto toggled = open();
    toggled->command(QStringLiteral("N10"))->trigger();
    EXPECT_TRUE(toggled->onlinePanelVisible());
    EXPECT_TRUE(open()->onlinePanelVisible());
    toggled->command(QStringLiteral("N10"))->trigger();
    EXPECT_FALSE(open()->onlinePanelVisible());
}

TEST_F(MainWindowCommands, SingleWindowRuleAndCloseAll)
{
    auto window = open();
    EXPECT_NE(window->openEntryWindow(plainEntryWindow, true), nullptr);
    EXPECT_EQ(window->openEntryWindow(plainEntryWindow, true), nullptr);
    EXPECT_EQ(texts(), QStringList{QStringLiteral("请先关闭打开的单据！")});
    EXPECT_EQ(on->messages.messages[0].caption, QStringLiteral("提示"));
    EXPECT_NE(window->openEntryWindow(plainEntryWindow, false), nullptr);
    EXPECT_EQ(window->mdiArea()->subWindowList().size(), 2);

    window->command(QStringLiteral("m_CloseALL"))->trigger();
    EXPECT_TRUE(window->mdiArea()->subWindowList().isEmpty());
    EXPECT_NE(window->openEntryWindow(plainEntryWindow, true), nullptr);
}

TEST_F(MainWindowCommands, CacheResetReportsAndClosesEntryWindows)
{
    auto window = open();
    window->command(QStringLiteral("mResetTemps"))->trigger();
    EXPECT_EQ(texts(), QStringList{QStringLiteral("缓存清除成功！")});

    on->messages.messages.clear();
    window->openEntryWindow(plainEntryWindow, true);
    on->context.db().execute(QStringLiteral("drop table DMTable"));
    window->command(QStringLiteral("mResetTemps"))->trigger();
    ASSERT_EQ(on->messages.messages.size(), 2);
    EXPECT_TRUE(on->messages.messages[0].text.startsWith(QStringLiteral("清除软件缓存失败！")));
    EXPECT_EQ(on->messages.messages[1].text, QStringLiteral("缓存清除需要关闭开单界面重新打开！"));
    EXPECT_TRUE(window->mdiArea()->subWindowList().isEmpty());
}

TEST_F(MainWindowCommands, PrinterSetupSetsTheReadyFlag)
{
    auto window = open();
    printers.answer = PrintService::SetupResult::Confirmed;
    window->command(QStringLiteral("PrinterConfig"))->trigger();
    EXPECT_TRUE(on->context.printReady);
    printers.answer = PrintService::SetupResult::Cancelled;
    window->command(QStringLiteral("PrinterConfig"))->trigger();
    EXPECT_FALSE(on->context.printReady);
    printers.answer = PrintService::SetupResult::Failed;
    window->command(QStringLiteral("PrinterConfig"))->trigger();
    EXPECT_FALSE(on->context.printReady);
    EXPECT_EQ(texts(), QStringList{QStringLiteral("打开打印机设置对话框出错，请确认打印机是否可用！")});

    on->messages.messages.clear();
    printers.names.clear();
    window->command(QStringLiteral("PrinterConfig"))->trigger();
    EXPECT_EQ(texts(), QStringList{QStringLiteral("没有检测到任何打印机驱动，无法设置,如果是新添加的打印机，请重新打开软件！")});
}

TEST_F(MainWindowCommands, TheLockedPrinterIsCurrentFromTheStart)
{
    on->context.settings().setConfigByname(QStringLiteral("DefaultPrinter"), QStringLiteral("bills"));
    auto window = open();
    EXPECT_EQ(printers.current, QStringLiteral("Bills"));
}

TEST_F(MainWindowCommands, TheDefaultDrawerIsReadAtStartOnlyWhenSwitchedOn)
{
    on->context.db().execute(QStringLiteral("insert into CKPersonalInfoTable (全称,分组,单位类型) values ('甲公司','',''),"
                                            "('乙公司','默认出票人','我方单位')"));
    open();
    EXPECT_EQ(on->context.defaultDrawer(), nullptr);
    on->context.settings().setConfigByname(Settings::kUseDefaultDrawer, QStringLiteral("yes"));
    open();
    ASSERT_NE(on->context.defaultDrawer(), nullptr);
    EXPECT_EQ(on->context.defaultDrawer()->getFullName(), QStringLiteral("乙公司"));
}

TEST_F(MainWindowCommands, ExitAsksWithTheBrand)
{
    on->context.userIniFile().writeString(QStringLiteral("Info"), QStringLiteral("nm"), QStringLiteral("某某"));
    auto window = open();
    window->show();
    on->messages.answer = false;
    window->command(QStringLiteral("ExitSystem"))->trigger();
    ASSERT_EQ(on->messages.messages.size(), 1);
    EXPECT_TRUE(on->messages.messages[0].question);
    EXPECT_EQ(on->messages.messages[0].caption, QStringLiteral("确认"));
    EXPECT_EQ(on->messages.messages[0].text, QStringLiteral("真的要退出【某某票据打印】系统吗？"));
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(on->context.db().isOpen());
}

TEST_F(MainWindowCommands, FirstUseNotesCoverTheBackgroundUntilDoubleClicked)
{
    on->context.settings().setConfigByname(Settings::kSystemBackImage, QStringLiteral("yes"));
    ensureSystemPictures(home.runPath(), QStringLiteral("1.0"));
    auto window = open();
    auto* notes = window->findChild<QPlainTextEdit*>(QStringLiteral("MemoFirstRead"));
    ASSERT_NE(notes, nullptr);
    EXPECT_TRUE(notes->toPlainText().startsWith(QStringLiteral("  第一次使用软件【3步走】：")));
    EXPECT_TRUE(notes->toPlainText().endsWith(QStringLiteral("【双击我关闭本提示】")));

    window->findChild<QToolButton*>(QStringLiteral("btFirstUser"))->defaultAction()->trigger();
    EXPECT_TRUE(window->firstUseNotesVisible());
    QTest::mouseDClick(notes->viewport(), Qt::LeftButton);
    EXPECT_FALSE(window->firstUseNotesVisible());
    EXPECT_TRUE(window->onlinePanelVisible());
}

TEST_F(MainWindowCommands, RepairCommandSaysItIsNotBuilt)
{
    auto window = open();
    window->command(QStringLiteral("N1"))->trigger();
    EXPECT_EQ(texts(), QStringList{QStringLiteral("正在建设!")});
}

// Each bill form opens from its command at most once; the deposit slip and the custom
// form keep the single-window rule, the wire transfer does not; the cheque converts into
// the deposit slip, which it opens beside itself.
TEST(MainWindowBillForms, OpenOncePerKindAndConvertIntoTheSlip)
{
    TempHome home;
    home.createDatabase(slipcraft::ProductData::Include);
    MainWindowOnHome on(home.runPath());
    Tfm_Main window(on.context, on.registry);
    QMdiArea* area = window.mdiArea();

    window.command(QStringLiteral("m_new_zp"))->trigger();
    ASSERT_EQ(area->subWindowList().size(), 1);
    TfmBillForm* cheque = window.billForm(chequeKind());
    ASSERT_NE(cheque, nullptr);
    window.command(QStringLiteral("m_new_jzd"))->trigger();
    EXPECT_EQ(on.messages.texts(), QStringList{QStringLiteral("请先关闭打开的单据！")});
    EXPECT_EQ(window.billForm(depositSlipKind()), nullptr);

    window.command(QStringLiteral("m_new_dhd"))->trigger();
    window.command(QStringLiteral("m_new_dhd"))->trigger();
    EXPECT_EQ(area->subWindowList().size(), 2);

    auto* convert = cheque->findChild<QToolButton*>(QStringLiteral("bt2CheckJZD"));
    ASSERT_TRUE(convert->isEnabled());
    cheque->setInComp(QStringLiteral("收款单位乙"));
    convert->click();
    EXPECT_EQ(area->subWindowList().size(), 3);
    TfmBillForm* slip = window.billForm(depositSlipKind());
    ASSERT_NE(slip, nullptr);
    EXPECT_EQ(slip->boxText(QStringLiteral("zdInComp")), QStringLiteral("收款单位乙"));

    // A closed form is gone with its window; the command opens a fresh one.
    window.command(QStringLiteral("m_CloseALL"))->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(area->subWindowList().isEmpty());
    EXPECT_EQ(window.billForm(chequeKind()), nullptr);
    window.command(QStringLiteral("m_new_Def"))->trigger();
    ASSERT_NE(window.billForm(customFormKind()), nullptr);
    EXPECT_EQ(area->subWindowList().size(), 1);
}
