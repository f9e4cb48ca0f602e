#pragma once

#include <QImage>
#include <QMainWindow>
#include <QTimer>

class QLabel;
class QMdiArea;

namespace slipcraft {

class AppContext;
class RegistryStore;

// The main window: the frame every bill entry window opens in.
class Tfm_Main : public QMainWindow {
    Q_OBJECT

public:
    Tfm_Main(AppContext& context, RegistryStore& registry, QWidget* parent = nullptr);
    ~Tfm_Main() override;

    AppContext& context() { return context_; }
    QMdiArea* mdiArea() const { return mdiArea_; }

    // Shows or removes the background picture of the client area.
    void InitBackGround(bool on);
    // True when the start found the program somewhere it must not run from.
    bool terminateRequested() const { return terminateRequested_; }

    QString statusText(int panel) const;
    void setStatusText(int panel, const QString& text);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void FormCreate(RegistryStore& registry);
    void buildStatusBar();
    void showClock();
    void TimerSystemTimer();

    AppContext& context_;
    QMdiArea* mdiArea_ = nullptr;
    QList<QLabel*> statusPanels_;
    QTimer TimerSystem;
    bool terminateRequested_ = false;
};

} // namespace slipcraft
