#include "shell/MainMDI.h"

#include "data/Database.h"
#include "data/Up2NewVersion.h"
#include "dictionaries/Com.h"
#include "dictionaries/DMConfig.h"
#include "dictionaries/SsSet.h"
#include "entry/BillForm.h"
#include "entry/bills/BillForms.h"
#include "entry/bills/CheckCDHP.h"
#include "entry/bills/CheckJZD.h"
#include "templates/BillImportExport.h"
#include "templates/CheckTypeMng.h"
#include "templates/CheckDesign.h"
#include "templates/LockPrinter.h"
#include "templates/PrintOffset.h"
#include "parties/PersonManage.h"
#include "parties/PersonManageLogic.h"
#include "records/Search.h"
#include "platform/printing/PrintService.h"
#include "platform/RegistryStore.h"
#include "shell/About.h"
#include "shell/AppContext.h"
#include "shell/StartUp.h"
#include "shell/SystemCommands.h"
#include "shell/UserAccounts.h"
#include "shell/UserManage.h"
#include "shell/UserMessages.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QUrlQuery>
#include <QVBoxLayout>

namespace slipcraft {

namespace {

const QColor kFrameColour(200, 226, 190);

const char* const kFirstUseNotes =
    "  第一次使用软件【3步走】：\n"
    "\n"
    "  1、固定打印机的进纸挡板：把票据放进打印机，调好左侧挡板的位置，以后不要再移动它。\n"
    "     每次放纸都贴紧挡板，票据才能每次都打在同一个位置。\n"
    "\n"
    "  2、打一张票据，量一量整体偏差，到【打印设置】-【打印整体偏移调整】里设置模板的整体偏移。\n"
    "     箭头按钮点一下移动1毫米；向右、向下为正。调好后再打一张核对。\n"
    "\n"
    "  3、到【打印设置】-【锁定/匹配票据打印机】里锁定票据打印机，\n"
    "     以后打印票据总是用这台打印机，不会误用办公室的其他打印机。\n"
    "\n"
    "  使用小提示：\n"
    "  · 金额可以直接输入数字，大写金额、小写金额和逐位金额由软件自动填写。\n"
    "  · 常用的收款人、付款人保存到【单位及客户资料管理】，填票时输入助记码即可调出。\n"
    "  · 没有票据打印机时，可以选择打印机“PDF文件”，先在电脑上核对打印效果。\n"
    "  · 软件的全部数据都在软件文件夹里：【帮助】-【进入软件文件夹】，记得定期备份。\n"
    "\n"
    "【双击我关闭本提示】";

const char* const kOnlinePanelText =
    "本机版软件，\n不连接网络。\n\n"
    "常用操作：\n\n"
    "· F1 查看帮助\n\n"
    "· 第一次使用，\n  请点工具栏的\n  “第一次用”\n\n"
    "· 数据都保存在\n  软件文件夹中，\n  请定期备份";

// The pages of the maker's web site; the browser opens them, the program never goes online.
const QString kUpdatePage = QStringLiteral("https://") + kMakerSite + QStringLiteral("/slipcraft/update");
const QString kHelpPage = QStringLiteral("https://") + kMakerSite + QStringLiteral("/slipcraft/help");
const QString kPaperSizePage = QStringLiteral("https://") + kMakerSite + QStringLiteral("/slipcraft/paper-sizes");
const QString kPostcodePage = QStringLiteral("https://") + kMakerSite + QStringLiteral("/postcode");

// Each bill type's commands: its entry form, whether the single-window rule applies, and
// its history search.
struct BillCommand {
    const BillKind& (*kind)();
    const char* component;
    bool singleWindowRule;
    const char* searchComponent;
};
const BillCommand kBillCommands[] = {
    {&chequeKind, "m_new_zp", true, "mZPSearch"},          {&depositSlipKind, "m_new_jzd", true, "mJZDSearch"},
    {&wireTransferKind, "m_new_dhd", false, "mDHDSearch"}, {&paymentSlipKind, "m_new_JKD", false, "mJKDSearch"},
    {&customFormKind, "m_new_Def", true, nullptr},         {&acceptanceDraftKind, "m_new_cdhp", true, "mCDHPSearch"},
    {&remittanceKind, "m_new_JWH", true, "mJWHSearch"},    {&waybillKind, "m_new_kdd", true, "mKDDSearch"},
};

QIcon themedIcon(const char* name, QStyle::StandardPixmap fallback)
{
    return QIcon::fromTheme(QString::fromLatin1(name), QApplication::style()->standardIcon(fallback));
}

} // namespace

// The client area, with the background picture stretched over it.
class BackgroundArea : public QMdiArea {
public:
    using QMdiArea::QMdiArea;

    void setPicture(const QImage& picture)
    {
        picture_ = picture;
        viewport()->update();
    }
    void setPictureShown(bool shown)
    {
        pictureShown_ = shown;
        viewport()->update();
    }
    bool showsPicture() const { return pictureShown_ && !picture_.isNull(); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(viewport());
        painter.fillRect(viewport()->rect(), kFrameColour);
        if (showsPicture())
            painter.drawImage(viewport()->rect(), picture_);
    }

private:
    QImage picture_;
    bool pictureShown_ = true;
};

Tfm_Main::Tfm_Main(AppContext& context, RegistryStore& registry, QWidget* parent)
    : QMainWindow(parent)
    , context_(context)
{
    setObjectName(QStringLiteral("fm_Main"));
    setFont(QFont(QStringLiteral("宋体"), 9));
    QPalette frame = palette();
    frame.setColor(QPalette::Window, kFrameColour);
    setPalette(frame);

    buildClientArea();
    buildCommands();
    buildToolBar();
    buildStatusBar();
    connect(&context_, &AppContext::switchesChanged, this, &Tfm_Main::followSwitches);
    connect(&partyEvents(context_), &PartyEvents::defaultDrawerChanged, this, &Tfm_Main::defaultDrawerChanged);

    FormCreate(registry);
}

Tfm_Main::~Tfm_Main()
{
    context_.setSchemaRepair({});
}

QMdiArea* Tfm_Main::mdiArea() const
{
    return mdiArea_;
}

QAction* Tfm_Main::command(const QString& componentName) const
{
    return commands_.value(componentName.toLower());
}

void Tfm_Main::buildClientArea()
{
    auto* client = new QWidget(this);
    auto* layout = new QHBoxLayout(client);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    mdiArea_ = new BackgroundArea(client);
    mdiArea_->setObjectName(QStringLiteral("Image1"));
    mdiArea_->viewport()->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(mdiArea_->viewport(), &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { PopupMenu1_->popup(mdiArea_->viewport()->mapToGlobal(at)); });
    layout->addWidget(mdiArea_, 1);

    panalAd_ = new QFrame(client);
    panalAd_->setObjectName(QStringLiteral("panalAd"));
    panalAd_->setFixedWidth(130);
    panalAd_->setFrameShape(QFrame::StyledPanel);
    panalAd_->setAutoFillBackground(true);
    QPalette panelColours = panalAd_->palette();
    panelColours.setColor(QPalette::Window, QColor(236, 244, 232));
    panalAd_->setPalette(panelColours);
    auto* panelLayout = new QVBoxLayout(panalAd_);
    auto* header = new QHBoxLayout;
    auto* title = new QLabel(QStringLiteral("在线服务中心"), panalAd_);
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    auto* lbHide = new QLabel(QStringLiteral("<a href=\"hide\">[隐藏]</a>"), panalAd_);
    lbHide->setObjectName(QStringLiteral("lbHide"));
    connect(lbHide, &QLabel::linkActivated, this, &Tfm_Main::lbHideClick);
    header->addWidget(title);
    header->addStretch();
    header->addWidget(lbHide);
    panelLayout->addLayout(header);
    auto* text = new QLabel(QString::fromUtf8(kOnlinePanelText), panalAd_);
    text->setWordWrap(true);
    text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    panelLayout->addWidget(text, 1);
    layout->addWidget(panalAd_);

    MemoFirstRead_ = new QPlainTextEdit(client);
    MemoFirstRead_->setObjectName(QStringLiteral("MemoFirstRead"));
    MemoFirstRead_->setReadOnly(true);
    MemoFirstRead_->setPlainText(QString::fromUtf8(kFirstUseNotes));
    MemoFirstRead_->viewport()->installEventFilter(this);
    MemoFirstRead_->hide();

    setCentralWidget(client);
}

QAction* Tfm_Main::addCommand(QMenu* menu, const QString& caption, const QString& component, bool shown,
                              const QKeySequence& shortcut)
{
    auto* action = new QAction(caption, this);
    action->setObjectName(component);
    action->setShortcut(shortcut);
    // Until its window exists a command stays visible but cannot be chosen.
    action->setEnabled(false);
    action->setToolTip(kNotYetAvailable);
    action->setStatusTip(kNotYetAvailable);
    if (shown)
        menu->addAction(action);
    else
        addAction(action); // not in the menu, yet its shortcut works
    commands_.insert(component.toLower(), action);
    return action;
}

void Tfm_Main::connectCommand(const QString& component, void (Tfm_Main::*handler)())
{
    connectCommand(component, [this, handler] { (this->*handler)(); });
}

void Tfm_Main::connectCommand(const QString& component, const std::function<void()>& handler)
{
    QAction* action = command(component);
    action->setEnabled(true);
    action->setToolTip(action->text().remove(QLatin1Char('&')).trimmed());
    action->setStatusTip(QString());
    connect(action, &QAction::triggered, this, handler);
}

void Tfm_Main::buildCommands()
{
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));

    QMenu* bills = bar->addMenu(QStringLiteral("新票据填开(&F)"));
    newBillMenu_ = bills->addMenu(QStringLiteral("填开新票据"));
    newBillMenu_->setIcon(themedIcon("document-new", QStyle::SP_FileIcon));
    // Every bill is in the menu; one whose form is not built yet waits there, disabled.
    addCommand(newBillMenu_, QStringLiteral("支票"), QStringLiteral("m_new_zp"), true, QKeySequence(Qt::CTRL | Qt::Key_B));
    addCommand(newBillMenu_, QStringLiteral("进账单"), QStringLiteral("m_new_jzd"), true, QKeySequence(Qt::CTRL | Qt::Key_A));
    addCommand(newBillMenu_, QStringLiteral("电汇单"), QStringLiteral("m_new_dhd"), true, QKeySequence(Qt::CTRL | Qt::Key_D));
    addCommand(newBillMenu_, QStringLiteral("现金缴款单"), QStringLiteral("m_new_JKD"), true);
    addCommand(newBillMenu_, QStringLiteral("承兑汇票"), QStringLiteral("m_new_cdhp"), true);
    addCommand(newBillMenu_, QStringLiteral("境外汇款申请"), QStringLiteral("m_new_JWH"), true);
    addCommand(newBillMenu_, QStringLiteral("定制单"), QStringLiteral("m_new_Def"), true);
    addCommand(newBillMenu_, QStringLiteral("填写快递单"), QStringLiteral("m_new_kdd"), true);
    addCommand(bills, QStringLiteral("关闭所有填开单据"), QStringLiteral("m_CloseALL"), true);

    QMenu* history = bar->addMenu(QStringLiteral("历史开票管理(&S)"));
    addCommand(history, QStringLiteral("支票管理(&Z)"), QStringLiteral("mZPSearch"), false);
    addCommand(history, QStringLiteral("进帐单管理(&J) "), QStringLiteral("mJZDSearch"), false);
    addCommand(history, QStringLiteral("电汇单管理(&D)"), QStringLiteral("mDHDSearch"), false);
    addCommand(history, QStringLiteral("承兑汇票管理"), QStringLiteral("mCDHPSearch"), true);
    addCommand(history, QStringLiteral("境外汇款申请书管理"), QStringLiteral("mJWHSearch"), false);
    addCommand(history, QStringLiteral("现金缴款单管理"), QStringLiteral("mJKDSearch"), false);
    addCommand(history, QStringLiteral("快递单管理"), QStringLiteral("mKDDSearch"), true);

    QMenu* system = bar->addMenu(QStringLiteral("系统管理(&M)"));
    addCommand(system, QStringLiteral("单位及客户资料管理(&K) "), QStringLiteral("PersonalInfoManage"), true);
    addCommand(system, QStringLiteral("设计模式（票据模板界面及打印效果调整）"), QStringLiteral("nDesign"), true);
    addCommand(system, QStringLiteral("票据模板导入"), QStringLiteral("nImpExp"), true);
    addCommand(system, QStringLiteral("票据模板管理（默认、显示、隐藏）"), QStringLiteral("nTempManage"), true);
    addCommand(system, QStringLiteral("字典管理设置(&N) 用途、始发站等"), QStringLiteral("BaseSet"), true);
    addCommand(system, QStringLiteral("币种设置"), QStringLiteral("N21"), true);
    addCommand(system, QStringLiteral("省市代码设置(&O)"), QStringLiteral("MenuSsSet"), true);
    addCommand(system, QStringLiteral("更改系统登录密码"), QStringLiteral("N23"), true);

    QMenu* printing = bar->addMenu(QStringLiteral("打印设置(&P)"));
    addCommand(printing, QStringLiteral("打印整体偏移调整(&M)"), QStringLiteral("mTemplateProperty"), true);
    addCommand(printing, QStringLiteral("锁定/匹配票据打印机"), QStringLiteral("mLockPrinter"), true);
    addCommand(printing, QStringLiteral("打印机设置 (&C)"), QStringLiteral("PrinterConfig"), true)
        ->setIcon(themedIcon("document-print", QStyle::SP_ComputerIcon));
    addCommand(printing, QStringLiteral("添加打印机纸张规格"), QStringLiteral("N8"), true);

    QMenu* tools = bar->addMenu(QStringLiteral("工具(&T)"));
    QMenu* options = tools->addMenu(QStringLiteral("  系统选项(&Y)"));
    addCommand(options, QStringLiteral("打印前弹出打印机配置窗口"), QStringLiteral("mPopPrint"), true);
    addCommand(options, QStringLiteral("进入系统需要密码验证"), QStringLiteral("mNeedLogin"), true);
    addCommand(options, QStringLiteral("启用系统背景图"), QStringLiteral("mSystemBackImage"), true);
    addCommand(options, QStringLiteral("启用默认出票人"), QStringLiteral("mUseDefaultCPR"), true);
    for (const char* component : {"mPopPrint", "mNeedLogin", "mSystemBackImage", "mUseDefaultCPR"})
        command(QString::fromLatin1(component))->setCheckable(true);
    addCommand(tools, QStringLiteral("  在线升级"), QStringLiteral("updates"), true);
    addCommand(tools, QStringLiteral("  清除软件缓存文件"), QStringLiteral("mResetTemps"), true);
    addCommand(tools, QStringLiteral("  修复压缩数据库"), QStringLiteral("N1"), true);
    addCommand(tools, QStringLiteral("  锁定电脑屏幕"), QStringLiteral("mLockDeskTop"), true);
    addCommand(tools, QStringLiteral("  显示\\隐藏在线中心"), QStringLiteral("N10"), true);
    addCommand(tools, QStringLiteral("  邮政编码查询"), QStringLiteral("N7"), true);
    addCommand(tools, QStringLiteral("  计算器 (&U)"), QStringLiteral("CallCounter"), true);

    QAction* toolBarToggle = addCommand(nullptr, QStringLiteral("显示/隐藏工具栏(&L)"), QStringLiteral("nHiddenOrShowBar"), false);
    bar->addAction(toolBarToggle);

    QMenu* help = bar->addMenu(QStringLiteral("帮 助(&H)"));
    addCommand(help, QStringLiteral("  升级到9.28"), QStringLiteral("N9281"), false);
    addCommand(help, QStringLiteral("  关于 (&A)"), QStringLiteral("AboutSystem"), true);
    addCommand(help, QStringLiteral("  帮助 (&H)"), QStringLiteral("SystemHelp"), true, QKeySequence(Qt::Key_F1));
    addCommand(help, QStringLiteral("  进入软件文件夹"), QStringLiteral("nEnterFolder"), true);
    addCommand(help, QStringLiteral("  重启软件"), QStringLiteral("mRestartMe"), true);
    addCommand(help, QStringLiteral("  退出 (&Q)"), QStringLiteral("ExitSystem"), true);

    for (QMenu* menu : bar->findChildren<QMenu*>())
        menu->setToolTipsVisible(true);

    connectCommand(QStringLiteral("m_CloseALL"), &Tfm_Main::closeAllEntryWindows);
    for (const BillCommand& bill : kBillCommands) {
        const BillKind& kind = bill.kind();
        connectCommand(QString::fromLatin1(bill.component),
                       [this, &kind, rule = bill.singleWindowRule] { openBillForm(kind, rule); });
        if (const SearchKind* search = searchKindOf(kind))
            connectCommand(QString::fromLatin1(bill.searchComponent), [this, search] { openHistorySearch(*search); });
    }
    connectCommand(QStringLiteral("PersonalInfoManage"), &Tfm_Main::PersonalInfoManageClick);
    connectCommand(QStringLiteral("BaseSet"), &Tfm_Main::BaseSetClick);
    connectCommand(QStringLiteral("N21"), &Tfm_Main::N21Click);
    connectCommand(QStringLiteral("MenuSsSet"), &Tfm_Main::MenuSsSetClick);
    connectCommand(QStringLiteral("N23"), [this] {
        TfrmUserManage manager(context_, this);
        manager.exec();
    });
    connectCommand(QStringLiteral("mPopPrint"), &Tfm_Main::mPopPrintClick);
    connectCommand(QStringLiteral("mNeedLogin"), &Tfm_Main::mNeedLoginClick);
    connectCommand(QStringLiteral("mSystemBackImage"), &Tfm_Main::mSystemBackImageClick);
    connectCommand(QStringLiteral("mUseDefaultCPR"), &Tfm_Main::mUseDefaultCPRClick);
    connectCommand(QStringLiteral("mTemplateProperty"), &Tfm_Main::mTemplatePropertyClick);
    connectCommand(QStringLiteral("nDesign"), &Tfm_Main::nDesignClick);
    connectCommand(QStringLiteral("nTempManage"), &Tfm_Main::nTempManageClick);
    connectCommand(QStringLiteral("nImpExp"), &Tfm_Main::nImpExpClick);
    connectCommand(QStringLiteral("mLockPrinter"), &Tfm_Main::mLockPrinterClick);
    connectCommand(QStringLiteral("PrinterConfig"), &Tfm_Main::PrinterConfigClick);
    connectCommand(QStringLiteral("N8"), &Tfm_Main::N8Click);
    connectCommand(QStringLiteral("updates"), &Tfm_Main::updatesClick);
    connectCommand(QStringLiteral("mResetTemps"), &Tfm_Main::mResetTempsClick);
    connectCommand(QStringLiteral("N1"), &Tfm_Main::N1Click);
    connectCommand(QStringLiteral("mLockDeskTop"), &Tfm_Main::mLockDeskTopClick);
    connectCommand(QStringLiteral("N10"), &Tfm_Main::N10Click);
    connectCommand(QStringLiteral("N7"), &Tfm_Main::N7Click);
    connectCommand(QStringLiteral("CallCounter"), &Tfm_Main::CallCounterClick);
    connectCommand(QStringLiteral("nHiddenOrShowBar"), &Tfm_Main::nHiddenOrShowBarClick);
    connectCommand(QStringLiteral("AboutSystem"), &Tfm_Main::AboutSystemClick);
    connectCommand(QStringLiteral("SystemHelp"), &Tfm_Main::SystemHelpClick);
    connectCommand(QStringLiteral("nEnterFolder"), &Tfm_Main::nEnterFolderClick);
    connectCommand(QStringLiteral("mRestartMe"), &Tfm_Main::mRestartMeClick);
    connectCommand(QStringLiteral("ExitSystem"), &Tfm_Main::ExitSystemClick);
    connectCommand(QStringLiteral("N9281"), [this] {
        TfrmUp2NewVersion upgrade(context_, RegistryStore().read(QStringLiteral("RunPath")), QString(), this);
        upgrade.exec();
    });
    context_.setSchemaRepair([this](const QString&) {
        TfrmUp2NewVersion upgrade(context_, RegistryStore().read(QStringLiteral("RunPath")),
                                  QCoreApplication::applicationFilePath(), this);
        upgrade.exec();
        context_.messages().show(QStringLiteral("请尝试重新启动软件！"), QStringLiteral("提示"));
    });

    // The background's own menu: the entry commands, refresh and help.
    PopupMenu1_ = new QMenu(this);
    PopupMenu1_->setObjectName(QStringLiteral("PopupMenu1"));
    PopupMenu1_->setToolTipsVisible(true);
    // Its own captions for the same commands.
    const std::pair<const char*, const char*> popupBills[] = {
        {"支票", "m_new_zp"},         {"进账单", "m_new_jzd"},  {"电汇单-业务委托书", "m_new_dhd"},
        {"缴款单", "m_new_JKD"},      {"境外汇款申请书", "m_new_JWH"}, {"定制单", "m_new_Def"},
        {"承兑汇票", "m_new_cdhp"},   {"快递单", "m_new_kdd"},
    };
    for (const auto& [caption, component] : popupBills) {
        QAction* target = command(QString::fromLatin1(component));
        QAction* item = PopupMenu1_->addAction(QString::fromUtf8(caption), target, &QAction::trigger);
        item->setEnabled(target->isEnabled());
        item->setToolTip(target->toolTip());
        connect(target, &QAction::enabledChanged, item, &QAction::setEnabled);
    }
    PopupMenu1_->addSeparator();
    PopupMenu1_->addAction(QStringLiteral("刷新"), this, &Tfm_Main::refreshClick);
    PopupMenu1_->addAction(QStringLiteral("帮助"), this, &Tfm_Main::SystemHelpClick);
}

void Tfm_Main::buildToolBar()
{
    ToolBarMain_ = addToolBar(QStringLiteral("工具栏"));
    ToolBarMain_->setObjectName(QStringLiteral("ToolBarMain"));
    ToolBarMain_->setMovable(false);
    ToolBarMain_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    ToolBarMain_->setIconSize(QSize(24, 24));

    // A button runs a command of the menus, or its own handler; without either it
    // waits, disabled, for its window.
    const auto addButton = [this](const QString& caption, const QString& component, const QIcon& icon,
                                  const QString& hint) {
        auto* button = new QToolButton(ToolBarMain_);
        button->setObjectName(component);
        button->setFixedSize(79, 43);
        button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        button->setAutoRaise(true);
        auto* action = new QAction(icon, caption, button);
        action->setToolTip(hint.isEmpty() ? caption.trimmed() : hint);
        button->setDefaultAction(action);
        ToolBarMain_->addWidget(button);
        return action;
    };
    const auto follow = [](QAction* button, QAction* command) {
        const auto sync = [button, command, hint = button->toolTip()] {
            button->setEnabled(command->isEnabled());
            button->setToolTip(command->isEnabled() ? hint : kNotYetAvailable);
        };
        sync();
        connect(command, &QAction::enabledChanged, button, sync);
        connect(button, &QAction::triggered, command, &QAction::trigger);
    };

    QAction* newBill = addButton(QStringLiteral("填开新票据"), QStringLiteral("ToolButton4"),
                                 themedIcon("document-new", QStyle::SP_FileIcon), QString());
    auto* newBillButton = static_cast<QToolButton*>(newBill->parent());
    newBillButton->setMenu(newBillMenu_);
    newBillButton->setPopupMode(QToolButton::InstantPopup);
    connect(addButton(QStringLiteral("我方单位"), QStringLiteral("tbSelfComp"),
                      themedIcon("go-home", QStyle::SP_DirHomeIcon), QStringLiteral("我方单位信息与帐户管理")),
            &QAction::triggered, this, [this] { openPersonManager(QStringLiteral("我方单位")); });
    connect(addButton(QStringLiteral("往来单位(&K)"), QStringLiteral("tbCustomerComp"),
                      themedIcon("folder", QStyle::SP_DirIcon), QStringLiteral("客户地址账户资料管理")),
            &QAction::triggered, this, [this] { openPersonManager(QStringLiteral("往来单位")); });
    follow(addButton(QStringLiteral("打印机(&C)"), QStringLiteral("ToolButton5"),
                     themedIcon("document-print", QStyle::SP_ComputerIcon),
                     QStringLiteral("打印机、打印方向及纸张设定（并不会启动打印）")),
           command(QStringLiteral("PrinterConfig")));
    follow(addButton(QStringLiteral("新模板导入"), QStringLiteral("ToolButton15"),
                     themedIcon("document-open", QStyle::SP_DialogOpenButton), QString()),
           command(QStringLiteral("nImpExp")));
    connect(addButton(QStringLiteral("第一次用"), QStringLiteral("btFirstUser"),
                      themedIcon("help-contents", QStyle::SP_MessageBoxQuestion), QString()),
            &QAction::triggered, this, &Tfm_Main::btFirstUserClick);
    follow(addButton(QStringLiteral("  退出 (&Q)"), QStringLiteral("ToolButton6"),
                     themedIcon("application-exit", QStyle::SP_DialogCloseButton), QString()),
           command(QStringLiteral("ExitSystem")));
}

void Tfm_Main::buildStatusBar()
{
    struct StatusPanel {
        int width;
        const char* text;
    };
    static const StatusPanel panels[] = {
        {100, "系统已就绪"},
        {150, "建议分辨率:1024x768以上"},
        {200, ""},
        {140, "票据套打 精确到0.1毫米"},
        {65, ""},
    };
    statusBar()->setObjectName(QStringLiteral("StatusBar"));
    statusBar()->setSizeGripEnabled(false);
    for (const StatusPanel& panelSetup : panels) {
        auto* panel = new QLabel(QString::fromUtf8(panelSetup.text), statusBar());
        panel->setMinimumWidth(panelSetup.width);
        statusPanels_.append(panel);
    }
    statusPanels_[3]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    for (int i = 0; i < 4; ++i)
        statusBar()->addWidget(statusPanels_[i]);
    // The last panel holds the program's full path and takes the rest of the bar.
    statusBar()->addWidget(statusPanels_[4], 1);
}

QString Tfm_Main::statusText(int panel) const
{
    return statusPanels_.value(panel) ? statusPanels_[panel]->text() : QString();
}

void Tfm_Main::setStatusText(int panel, const QString& text)
{
    if (QLabel* label = statusPanels_.value(panel))
        label->setText(text);
}

void Tfm_Main::FormCreate(RegistryStore& registry)
{
    context_.LoadSysParam();
    if (adPanelHiddenOn(context_.today, context_.settings().getConfigByname(QStringLiteral("HideADPanelDate"))))
        panalAd_->hide();
    context_.OpenUserIniFile();
    context_.currentTemplateId = 0;
    ToolBarMain_->setVisible(toolBarVisible(context_.userIniFile()));

    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen && screen->size().height() < 750)
        setStatusText(0, QStringLiteral("显示器分辨率太低"));

    InitBackGround(true);
    context_.timerTickCount = 0;

    const QString programFile = QDir::toNativeSeparators(QCoreApplication::applicationFilePath());
    setStatusText(4, programFile);
    if (runsInsideArchive(context_.getRunPath())) {
        context_.messages().show(archiveMessage(context_.versionText()));
        terminateRequested_ = true;
    }
    updateInstallRecord(registry, context_.getRunPath(), context_.versionText(), programFile, context_.messages());
    setWindowTitle(mainWindowCaption(context_.versionText()));

    if (PrintService* printers = context_.printService()) {
        const QString lockedPrinter = context_.settings().getConfigByname(QStringLiteral("DefaultPrinter"));
        setDefaultPrinter(*printers, lockedPrinter, lockedPrinter);
        printers->onPdfWritten = [this](const QString& file) {
            setStatusText(0, QStringLiteral("已输出到 ") + QDir::toNativeSeparators(file));
        };
    }

    if (context_.switches().useDefaultDrawer)
        context_.reloadDefaultDrawer();

    showClock();
    TimerSystem.setInterval(1000);
    connect(&TimerSystem, &QTimer::timeout, this, &Tfm_Main::TimerSystemTimer);
    TimerSystem.start();
}

void Tfm_Main::followSwitches()
{
    const SystemSwitches& switches = context_.switches();
    command(QStringLiteral("mNeedLogin"))->setChecked(switches.needLogin);
    command(QStringLiteral("mSystemBackImage"))->setChecked(switches.systemBackImage);
    command(QStringLiteral("mPopPrint"))->setChecked(switches.popPrinterSetup);
    command(QStringLiteral("mUseDefaultCPR"))->setChecked(switches.useDefaultDrawer);
}

void Tfm_Main::showClock()
{
    setStatusText(2, QStringLiteral(" 当前时间：") + QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
}

void Tfm_Main::TimerSystemTimer()
{
    showClock();
    if (++context_.timerTickCount == 1)
        emit firstClockTick();
}

void Tfm_Main::InitBackGround(bool on)
{
    QImage picture;
    // The picture shows only while the background switch is on; a missing file leaves the area plain.
    if (on && context_.switches().systemBackImage)
        picture.load(backgroundPicturePath(context_.getRunPath()));
    mdiArea_->setPicture(picture);
}

QWidget* Tfm_Main::openEntryWindow(const std::function<QWidget*()>& create, bool singleWindowRule)
{
    if (singleWindowRule && !mdiArea_->subWindowList().isEmpty()) {
        context_.messages().show(QStringLiteral("请先关闭打开的单据！"), QStringLiteral("提示"));
        return nullptr;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QWidget* window = create();
    if (window) {
        if (!window->parentWidget())
            mdiArea_->addSubWindow(window);
        window->show();
        if (auto* sub = qobject_cast<QMdiSubWindow*>(window->parentWidget())) {
            sub->show();
            mdiArea_->setActiveSubWindow(sub);
        }
    }
    QApplication::restoreOverrideCursor();
    return window;
}

void Tfm_Main::closeAllEntryWindows()
{
    mdiArea_->closeAllSubWindows();
}

TfmBillForm* Tfm_Main::billForm(const BillKind& kind) const
{
    return billForms_.value(&kind);
}

TfmBillForm* Tfm_Main::openBillForm(const BillKind& kind, bool singleWindowRule)
{
    bool created = false;
    QWidget* shown = openEntryWindow(
        [this, &kind, &created]() -> QWidget* {
            if (TfmBillForm* open = billForm(kind))
                return open;
            TfmBillForm* form = newBillForm(context_, kind);
            // Without a usable template the form has said so and closes itself.
            if (!form->hasTemplate())
                return nullptr;
            BillFormCommands commands;
            if (QAction* offset = command(QStringLiteral("mTemplateProperty")); offset && offset->isEnabled())
                commands.wholeFormOffset = [offset] { offset->trigger(); };
            commands.designMode = [this] { command(QStringLiteral("nDesign"))->trigger(); };
            if (QAction* manage = command(QStringLiteral("nTempManage")); manage && manage->isEnabled())
                commands.templateManagement = [manage] { manage->trigger(); };
            if (kind.convertsToDepositSlip)
                commands.depositSlip = [this] {
                    return static_cast<TfmCheckJZD*>(openBillForm(depositSlipKind(), false));
                };
            if (const SearchKind* search = searchKindOf(kind))
                commands.openHistory = [this, search] { openHistorySearch(*search); };
            form->setCommands(commands);
            // The draft batch may outlive the form and print on a new one.
            if (auto* draft = qobject_cast<TfmCheckCDHP*>(form))
                draft->setFormOpener([this]() -> TfmCheckCDHP* {
                    const BillKind& draftKind = acceptanceDraftKind();
                    TfmBillForm* open = billForm(draftKind);
                    return qobject_cast<TfmCheckCDHP*>(open ? open : openBillForm(draftKind, true));
                });
            billForms_.insert(&kind, form);
            created = true;
            return form;
        },
        singleWindowRule);
    if (created && &kind == &acceptanceDraftKind())
        TimeOutAlert();
    return static_cast<TfmBillForm*>(shown);
}

void Tfm_Main::openHistorySearch(const SearchKind& kind, const std::function<void(TfmSearch&)>& prepare)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    TfmSearch search(context_, kind, this);
    QApplication::restoreOverrideCursor();
    SearchCommands commands;
    commands.openBill = [this, &kind](const QString& templateName, int serial) {
        return openStoredBill(*kind.bill, templateName, serial);
    };
    commands.openSitePage = [this](const QString& path, const QUrlQuery& keys) {
        QUrl page(QStringLiteral("https://") + kMakerSite + path);
        page.setQuery(keys);
        openPage(page.toString(QUrl::FullyEncoded));
    };
    search.setCommands(commands);
    if (prepare)
        prepare(search);
    search.exec();
}

bool Tfm_Main::openStoredBill(const BillKind& kind, const QString& templateName, int serial)
{
    if (!mdiArea_->subWindowList().isEmpty() && !billForm(kind)) {
        if (!context_.alert(QStringLiteral("自动关闭已打开的单据吗？"), QStringLiteral("查看历史单据"), true)) {
            context_.messages().show(QStringLiteral("请先关闭正在编辑的单据模块！"), QStringLiteral("提示"));
            return false;
        }
        closeAllEntryWindows();
    }
    TfmBillForm* form = billForm(kind);
    if (!form) {
        for (const BillCommand& bill : kBillCommands)
            if (&bill.kind() == &kind)
                form = openBillForm(kind, bill.singleWindowRule);
    }
    // A form that would not close, or a bill type without a template, keeps the search open.
    if (!form)
        return false;
    form->BrowseOldCheck(templateName, QString::number(serial));
    return true;
}

void Tfm_Main::TimeOutAlert()
{
    const QDate today = context_.today.isValid() ? context_.today : QDate::currentDate();
    std::optional<DueStatement> due;
    int rows = 0;
    bool repaired = false;
    try {
        due = dueReminderStatement(context_.catalogue(), today);
        if (!due)
            return;
        rows = dueDraftCount(context_.db(), *due, repaired);
    } catch (const DatabaseError&) {
        return;
    }
    if (repaired) {
        context_.messages().show(QStringLiteral("数据结构[到期日期]已经升级，请重启软件~"), QStringLiteral("提示"));
        return;
    }
    if (rows == 0
        || !context_.alert(QStringLiteral("系统有 %1 张承兑汇票即将到期，是否现在查看？").arg(rows),
                           QStringLiteral("到期提醒"), true))
        return;
    if (const SearchKind* search = searchKindOf(acceptanceDraftKind()))
        openHistorySearch(*search, [](TfmSearch& window) { window.showDueSoon(); });
}

void Tfm_Main::openPersonManager(const QString& kind)
{
    Tfm_PersonManage manager(context_, this);
    if (!kind.isEmpty())
        manager.presetKind(kind);
    manager.exec();
}

void Tfm_Main::PersonalInfoManageClick()
{
    openPersonManager(QString());
}

void Tfm_Main::defaultDrawerChanged()
{
    context_.reloadDefaultDrawer();
    if (!mdiArea_->subWindowList().isEmpty()) {
        context_.messages().show(QStringLiteral("默认出票人已经修改，请重新填开票据！"));
        closeAllEntryWindows();
    }
}

void Tfm_Main::BaseSetClick()
{
    Tfm_DMConfig editor(context_, this);
    editor.exec();
}

void Tfm_Main::N21Click()
{
    TfrmCom editor(context_, this);
    editor.exec();
}

void Tfm_Main::MenuSsSetClick()
{
    TfrmSsSet editor(context_, this);
    editor.exec();
}

void Tfm_Main::toggleSwitch(const QString& name, bool on)
{
    try {
        context_.settings().toggleSwitch(name, on);
    } catch (const DatabaseError& error) {
        context_.messages().show(error.text(), QString(), UserMessages::Icon::Error);
    }
    context_.LoadSysParam();
}

void Tfm_Main::mPopPrintClick()
{
    toggleSwitch(Settings::kPopPrinterSetup, context_.switches().popPrinterSetup);
}

void Tfm_Main::mNeedLoginClick()
{
    // Switched on with nobody able to sign in, the next start would let nobody in.
    if (!context_.switches().needLogin) {
        QString refusal;
        try {
            if (!users::anyUserCanSignIn(context_.db()))
                refusal = QStringLiteral("还没有可以登录的用户。请先在【系统管理】-【更改系统登录密码】中"
                                         "添加用户并选定操作角色，再开启密码验证~");
        } catch (const DatabaseError& error) {
            refusal = error.text();
        }
        if (!refusal.isEmpty()) {
            context_.messages().show(refusal);
            context_.LoadSysParam();
            return;
        }
    }
    toggleSwitch(Settings::kNeedLogin, context_.switches().needLogin);
}

void Tfm_Main::mUseDefaultCPRClick()
{
    toggleSwitch(Settings::kUseDefaultDrawer, context_.switches().useDefaultDrawer);
}

void Tfm_Main::mSystemBackImageClick()
{
    const bool wasOn = context_.switches().systemBackImage;
    toggleSwitch(Settings::kSystemBackImage, wasOn);
    if (wasOn)
        context_.messages().show(QStringLiteral("需要重启软件才生效哦！"));
    else
        InitBackGround(true);
}

void Tfm_Main::nHiddenOrShowBarClick()
{
    ToolBarMain_->setVisible(!ToolBarMain_->isVisibleTo(this));
    saveToolBarVisible(context_.userIniFile(), ToolBarMain_->isVisibleTo(this));
}

void Tfm_Main::mTemplatePropertyClick()
{
    // An entry form passes its template through the command's tag.
    const int tag = command(QStringLiteral("mTemplateProperty"))->data().toInt();
    TfrmPrintOffset window(context_, tag > 0 ? tag : context_.currentTemplateId, this);
    int adjustTemplate = 0;
    connect(&window, &TfrmPrintOffset::adjustItemsRequested, this, [&adjustTemplate](int id) { adjustTemplate = id; });
    window.exec();
    // "Place single items" goes on in the layout adjustment of that template.
    if (adjustTemplate > 0) {
        context_.currentTemplateId = adjustTemplate;
        QMetaObject::invokeMethod(this, &Tfm_Main::nDesignClick, Qt::QueuedConnection);
    }
}

void Tfm_Main::nDesignClick()
{
    // The window opens on the template of the entry form in front.
    if (QMdiSubWindow* active = mdiArea_->activeSubWindow() ? mdiArea_->activeSubWindow()
                                                              : mdiArea_->subWindowList().value(0)) {
        if (auto* form = qobject_cast<TfmBillForm*>(active->widget()))
            context_.currentTemplateId = form->templateId();
    }
    TfmCheckDesign design(context_, 0, this);
    if (!design.hasTemplate())
        return;
    design.openWholeFormOffset = [this](int templateId) {
        QAction* offset = command(QStringLiteral("mTemplateProperty"));
        offset->setData(templateId);
        offset->trigger();
        offset->setData(0);
    };
    design.exec();
    for (TfmBillForm* form : std::as_const(billForms_))
        if (form)
            form->refreshLayout();
}

void Tfm_Main::nTempManageClick()
{
    TfrmCheckTypeMng::execute(context_, context_.currentTemplateId, this, [this] { updatesClick(); });
}

void Tfm_Main::nImpExpClick()
{
    TfrmBillImportExport::execute(context_, true, this);
    // An open waybill offers the templates just imported.
    if (TfmBillForm* waybill = billForm(waybillKind()))
        waybill->reloadTemplateList();
}

void Tfm_Main::mLockPrinterClick()
{
    TfmLockPrinter::execute(context_, this);
}

void Tfm_Main::PrinterConfigClick()
{
    PrintService* printers = context_.printService();
    if (!printers || printers->printerNames().isEmpty()) {
        context_.messages().show(QStringLiteral("没有检测到任何打印机驱动，无法设置,如果是新添加的打印机，请重新打开软件！"),
                                 QString(), UserMessages::Icon::Error);
        return;
    }
    switch (printers->showSetupDialog(this)) {
    case PrintService::SetupResult::Confirmed:
        context_.printReady = true;
        break;
    case PrintService::SetupResult::Cancelled:
        context_.printReady = false;
        break;
    case PrintService::SetupResult::Failed:
        context_.messages().show(QStringLiteral("打开打印机设置对话框出错，请确认打印机是否可用！"));
        break;
    }
}

void Tfm_Main::mResetTempsClick()
{
    const CacheResetResult result = resetSoftwareCaches(context_.db(), context_.getRunPath());
    if (!result.databaseError.isEmpty())
        context_.messages().show(QStringLiteral("清除软件缓存失败！") + result.databaseError);
    if (mdiArea_->subWindowList().isEmpty()) {
        context_.messages().show(QStringLiteral("缓存清除成功！"));
    } else {
        context_.messages().show(QStringLiteral("缓存清除需要关闭开单界面重新打开！"));
        closeAllEntryWindows();
    }
}

void Tfm_Main::N1Click()
{
    context_.messages().show(QStringLiteral("正在建设!"));
}

void Tfm_Main::mLockDeskTopClick()
{
    // Whichever the desktop offers; nothing is shown when neither works.
    if (!QProcess::startDetached(QStringLiteral("loginctl"), {QStringLiteral("lock-session")}))
        QProcess::startDetached(QStringLiteral("xdg-screensaver"), {QStringLiteral("lock")});
}

bool Tfm_Main::onlinePanelVisible() const
{
    return panalAd_->isVisibleTo(this);
}

void Tfm_Main::setOnlinePanelVisible(bool visible)
{
    panalAd_->setVisible(visible);
}

void Tfm_Main::N10Click()
{
    const bool visible = !onlinePanelVisible();
    setOnlinePanelVisible(visible);
    try {
        context_.settings().setConfigByname(QStringLiteral("HideADPanelDate"), adPanelStampFor(context_.today, visible));
    } catch (const DatabaseError& error) {
        context_.messages().show(error.text(), QString(), UserMessages::Icon::Error);
    }
}

void Tfm_Main::lbHideClick()
{
    try {
        context_.settings().setConfigByname(QStringLiteral("HideADPanelDate"), adPanelStampFor(context_.today, false));
    } catch (const DatabaseError& error) {
        context_.messages().show(error.text(), QString(), UserMessages::Icon::Error);
    }
    setOnlinePanelVisible(false);
}

bool Tfm_Main::firstUseNotesVisible() const
{
    return MemoFirstRead_->isVisibleTo(this);
}

void Tfm_Main::setFirstUseNotesVisible(bool visible)
{
    MemoFirstRead_->setGeometry(mdiArea_->geometry());
    MemoFirstRead_->setVisible(visible);
    if (visible) {
        MemoFirstRead_->raise();
        mdiArea_->setPictureShown(false);
    } else {
        mdiArea_->setPictureShown(true);
        setOnlinePanelVisible(true);
    }
}

void Tfm_Main::btFirstUserClick()
{
    setFirstUseNotesVisible(!firstUseNotesVisible());
}

void Tfm_Main::openPage(const QString& target)
{
    QString cleaned = target;
    cleaned.remove(QLatin1Char('\''));
    QDesktopServices::openUrl(QUrl::fromUserInput(cleaned));
}

void Tfm_Main::updatesClick()
{
    setOnlinePanelVisible(true);
    openPage(kUpdatePage);
}

void Tfm_Main::SystemHelpClick()
{
    setOnlinePanelVisible(true);
    openPage(kHelpPage);
}

void Tfm_Main::N7Click()
{
    openPage(kPostcodePage);
}

void Tfm_Main::N8Click()
{
    openPage(kPaperSizePage);
}

void Tfm_Main::CallCounterClick()
{
    for (const char* calculator : {"gnome-calculator", "kcalc", "mate-calc", "galculator", "qalculate-gtk", "xcalc"}) {
        const QString program = QStandardPaths::findExecutable(QString::fromLatin1(calculator));
        if (!program.isEmpty() && QProcess::startDetached(program, {}))
            return;
    }
}

void Tfm_Main::AboutSystemClick()
{
    auto* about = new Tfm_About(this);
    about->show();
}

void Tfm_Main::nEnterFolderClick()
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(context_.getRunPath()));
}

void Tfm_Main::mRestartMeClick()
{
    if (!context_.alert(QStringLiteral("确定要重开软件吗?"), QStringLiteral("重启软件"), true))
        return;
    closeAllEntryWindows();
    QStringList arguments = QCoreApplication::arguments().mid(1);
    arguments.removeAll(QStringLiteral("--quit-after-start"));
    arguments.removeAll(QStringLiteral("--timings"));
    // The new process must find the same files, wherever they came from.
    if (!arguments.contains(QStringLiteral("--home")))
        arguments << QStringLiteral("--home") << context_.getRunPath();
    QProcess::startDetached(QCoreApplication::applicationFilePath(), arguments);
    close();
    QCoreApplication::quit();
}

void Tfm_Main::ExitSystemClick()
{
    if (!context_.messages().ask(exitQuestion(context_.userIniFile()), QStringLiteral("确认")))
        return;
    close();
    QCoreApplication::quit();
}

void Tfm_Main::refreshClick()
{
    setOnlinePanelVisible(true);
    InitBackGround(true);
}

void Tfm_Main::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    if (firstUseNotesVisible())
        setFirstUseNotesVisible(false);
}

bool Tfm_Main::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == MemoFirstRead_->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        btFirstUserClick();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void Tfm_Main::closeEvent(QCloseEvent* event)
{
    // Closing never fails: whatever goes wrong while releasing is of no use to report.
    TimerSystem.stop();
    context_.shutDown();
    event->accept();
}

} // namespace slipcraft
