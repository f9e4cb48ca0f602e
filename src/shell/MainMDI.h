#pragma once

#include <QAction>
#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <QTimer>

#include <functional>

class QFrame;
class QLabel;
class QMdiArea;
class QMenu;
class QPlainTextEdit;
class QToolBar;

namespace slipcraft {

class AppContext;
class BackgroundArea;
class RegistryStore;
class TfmBillForm;
class TfmSearch;
struct BillKind;
struct SearchKind;

// The main window: the frame every bill entry window opens in, with the menus and
// tool bar of every command.
class Tfm_Main : public QMainWindow {
    Q_OBJECT

public:
    // What a command whose window is not built yet says about itself.
    static inline const QString kNotYetAvailable = QStringLiteral("此功能尚未开放");

    Tfm_Main(AppContext& context, RegistryStore& registry, QWidget* parent = nullptr);
    ~Tfm_Main() override;

    AppContext& context() { return context_; }
    QMdiArea* mdiArea() const;

    // A command by its component name, for windows and tests.
    QAction* command(const QString& componentName) const;

    // Shows or removes the background picture of the client area.
    void InitBackGround(bool on);
    // True when the start found the program somewhere it must not run from.
    bool terminateRequested() const { return terminateRequested_; }

    QString statusText(int panel) const;
    void setStatusText(int panel, const QString& text);

    bool onlinePanelVisible() const;
    bool firstUseNotesVisible() const;

    // Opens an entry window inside the frame. With the single-window rule, nothing
    // opens while any entry window is open. Returns the window shown, or null.
    QWidget* openEntryWindow(const std::function<QWidget*()>& create, bool singleWindowRule);
    // The entry form of a bill kind, created when it is not open (at most one each).
    // Returns the form shown, or null when the rule or a missing template stopped it.
    TfmBillForm* openBillForm(const BillKind& kind, bool singleWindowRule);
    // The open form of a bill kind; null when none is open.
    TfmBillForm* billForm(const BillKind& kind) const;
    // A bill type's history search, shown modally; prepare runs before it shows.
    void openHistorySearch(const SearchKind& kind, const std::function<void(TfmSearch&)>& prepare = {});
    // Shows a stored bill in its entry form, offering to close the other forms first;
    // false when it could not be shown.
    bool openStoredBill(const BillKind& kind, const QString& templateName, int serial);
    // Asks whether to look at the acceptance drafts falling due.
    void TimeOutAlert();

signals:
    // The clock's tick count reached one: time for the sign-in, when it is required.
    void firstClockTick();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate(RegistryStore& registry);
    void buildCommands();
    void buildToolBar();
    void buildStatusBar();
    void buildClientArea();
    QAction* addCommand(QMenu* menu, const QString& caption, const QString& component, bool shown,
                        const QKeySequence& shortcut = {});
    void connectCommand(const QString& component, void (Tfm_Main::*handler)());
    void connectCommand(const QString& component, const std::function<void()>& handler);
    void followSwitches();

    void showClock();
    void TimerSystemTimer();

    void closeAllEntryWindows();
    void openPersonManager(const QString& kind);
    void PersonalInfoManageClick();
    void defaultDrawerChanged();
    void BaseSetClick();
    void N21Click();
    void MenuSsSetClick();
    void toggleSwitch(const QString& name, bool on);
    void mPopPrintClick();
    void mNeedLoginClick();
    void mUseDefaultCPRClick();
    void mSystemBackImageClick();
    void nHiddenOrShowBarClick();
    void mTemplatePropertyClick();
    void nDesignClick();
    void nTempManageClick();
    void nImpExpClick();
    void mLockPrinterClick();
    void PrinterConfigClick();
    void mResetTempsClick();
    void N1Click();
    void mLockDeskTopClick();
    void N10Click();
    void lbHideClick();
    void btFirstUserClick();
    void updatesClick();
    void SystemHelpClick();
    void N7Click();
    void N8Click();
    void CallCounterClick();
    void AboutSystemClick();
    void nEnterFolderClick();
    void mRestartMeClick();
    void ExitSystemClick();
    void refreshClick();

    void setOnlinePanelVisible(bool visible);
    void setFirstUseNotesVisible(bool visible);
    void openPage(const QString& target);

    AppContext& context_;
    BackgroundArea* mdiArea_ = nullptr;
    QFrame* panalAd_ = nullptr;
    QPlainTextEdit* MemoFirstRead_ = nullptr;
    QToolBar* ToolBarMain_ = nullptr;
    QMenu* newBillMenu_ = nullptr;
    QMenu* PopupMenu1_ = nullptr;
    QList<QLabel*> statusPanels_;
    QHash<QString, QAction*> commands_;
    QHash<const BillKind*, QPointer<TfmBillForm>> billForms_;
    QTimer TimerSystem;
    bool terminateRequested_ = false;
};

} // namespace slipcraft
