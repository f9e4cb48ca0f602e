#include "shell/MainMDI.h"

#include "platform/RegistryStore.h"
#include "shell/AppContext.h"
#include "shell/StartUp.h"
#include "shell/UserMessages.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QPainter>
#include <QScreen>
#include <QStatusBar>

namespace slipcraft {

namespace {

const QColor kFrameColour(200, 226, 190);

// The client area, with the background picture stretched over it.
class BackgroundArea : public QMdiArea {
public:
    using QMdiArea::QMdiArea;

    void setPicture(const QImage& picture)
    {
        picture_ = picture;
        viewport()->update();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(viewport());
        painter.fillRect(viewport()->rect(), kFrameColour);
        if (!picture_.isNull())
            painter.drawImage(viewport()->rect(), picture_);
    }

private:
    QImage picture_;
};

struct StatusPanel {
    int width;
    const char* text;
};

} // namespace

Tfm_Main::Tfm_Main(AppContext& context, RegistryStore& registry, QWidget* parent)
    : QMainWindow(parent)
    , context_(context)
{
    setObjectName(QStringLiteral("fm_Main"));
    setFont(QFont(QStringLiteral("宋体"), 9));
    QPalette frame = palette();
    frame.setColor(QPalette::Window, kFrameColour);
    setPalette(frame);

    mdiArea_ = new BackgroundArea(this);
    mdiArea_->setObjectName(QStringLiteral("Image1"));
    setCentralWidget(mdiArea_);
    buildStatusBar();

    FormCreate(registry);
}

Tfm_Main::~Tfm_Main() = default;

void Tfm_Main::buildStatusBar()
{
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
    context_.OpenUserIniFile();
    context_.currentTemplateId = 0;

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

    showClock();
    TimerSystem.setInterval(1000);
    connect(&TimerSystem, &QTimer::timeout, this, &Tfm_Main::TimerSystemTimer);
    TimerSystem.start();
}

void Tfm_Main::showClock()
{
    setStatusText(2, QStringLiteral(" 当前时间：") + QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
}

void Tfm_Main::TimerSystemTimer()
{
    showClock();
    ++context_.timerTickCount;
}

void Tfm_Main::InitBackGround(bool on)
{
    auto* area = static_cast<BackgroundArea*>(mdiArea_);
    QImage picture;
    // The picture shows only while the background switch is on; a missing file leaves the area plain.
    if (on && context_.switches().systemBackImage)
        picture.load(backgroundPicturePath(context_.getRunPath()));
    area->setPicture(picture);
}

void Tfm_Main::closeEvent(QCloseEvent* event)
{
    // Closing never fails: whatever goes wrong while releasing is of no use to report.
    TimerSystem.stop();
    context_.shutDown();
    event->accept();
}

} // namespace slipcraft
