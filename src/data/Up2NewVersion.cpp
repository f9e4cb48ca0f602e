#include "data/Up2NewVersion.h"

#include "data/DatabaseFile.h"
#include "data/Up2NewVersionLogic.h"
#include "platform/RunPath.h"
#include "shell/AppContext.h"
#include "shell/UserMessages.h"

#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace slipcraft {

namespace {

const QString kChoose = QStringLiteral("请选择..");

const char* const kDescription =
    "本升级包把老版本的数据带到新版本：\n"
    "1、选择老版本软件的主程序（或它的数据文件 Data/EPData.ini），程序会先把当前数据备份在 Data 文件夹中，"
    "再接管老版本的全部数据（模板、历史单据、单位资料、字典等）；\n"
    "2、为数据补上新版本需要的表、字段和快递单项目（体积、代收金额、保价、各项费用、金额大写1、自定义3~5、勾选项）；\n"
    "3、补齐导入列匹配规则，标记常用的快递单模板。\n"
    "已有的数据和设置保持不变；升级可以重复执行，已升级的数据不会再被改动。";

// Why an older database file cannot be taken over.
QString refusal(const QString& file, DatabaseFileKind kind)
{
    const char* reason = "不是本程序的数据库文件";
    switch (kind) {
    case DatabaseFileKind::Ours:
        return {};
    case DatabaseFileKind::Folder: reason = "是一个文件夹，不是数据库文件"; break;
    case DatabaseFileKind::Unreadable: reason = "无法读取，请检查文件权限"; break;
    case DatabaseFileKind::Empty: reason = "是空文件"; break;
    case DatabaseFileKind::Access: reason = "是Access格式的数据库，本程序不能直接使用"; break;
    case DatabaseFileKind::NotDatabase: reason = "不是数据库文件"; break;
    case DatabaseFileKind::Truncated: reason = "不完整（文件被截断）"; break;
    case DatabaseFileKind::Damaged: reason = "已损坏（文件头无效）"; break;
    case DatabaseFileKind::OtherProgram: reason = "是其他程序的数据库"; break;
    }
    return QStringLiteral("不能接管老版本的数据：数据文件“%1”%2。当前数据未做任何改动。")
        .arg(QDir::toNativeSeparators(file), QString::fromUtf8(reason));
}

bool sameFile(const QString& a, const QString& b)
{
    return QFileInfo(a).canonicalFilePath() == QFileInfo(b).canonicalFilePath();
}

} // namespace

TfrmUp2NewVersion::TfrmUp2NewVersion(AppContext& context, const QString& recordedRunPath, const QString& programFile,
                                     QWidget* parent)
    : QDialog(parent)
    , context_(context)
    , recordedRunPath_(recordedRunPath)
    , cbAppFile(new QComboBox(this))
    , btBrowse(new QPushButton(QStringLiteral("浏览"), this))
    , btCheck(new QPushButton(QStringLiteral("  升级环境检测"), this))
    , btStart(new QPushButton(QStringLiteral("3、开始升级"), this))
    , btClose(new QPushButton(QStringLiteral("4、关   闭"), this))
    , progressBar(new QProgressBar(this))
    , lbMessage(new QLabel(this))
{
    setObjectName(QStringLiteral("frmUp2NewVersion"));
    setWindowTitle(QStringLiteral("Marrowind软件升级包"));
    setFixedSize(580, 430);
    cbAppFile->setObjectName(QStringLiteral("cbAppFile"));
    btBrowse->setObjectName(QStringLiteral("btBrowse"));
    btCheck->setObjectName(QStringLiteral("btCheck"));
    btStart->setObjectName(QStringLiteral("btStart"));
    btClose->setObjectName(QStringLiteral("btClose"));
    lbMessage->setObjectName(QStringLiteral("lbMessage"));
    for (QPushButton* button : {btBrowse, btCheck, btStart, btClose})
        button->setAutoDefault(false);

    auto* title = new QLabel(QStringLiteral("升级到V9.33"), this);
    QFont titleFont = title->font();
    titleFont.setPointSize(titleFont.pointSize() + 6);
    titleFont.setBold(true);
    title->setFont(titleFont);
    auto* description = new QPlainTextEdit(QString::fromUtf8(kDescription), this);
    description->setReadOnly(true);

    cbAppFile->setPlaceholderText(kChoose);
    cbAppFile->setMinimumWidth(360);
    if (!programFile.isEmpty())
        cbAppFile->addItem(programFile);
    btStart->setEnabled(false);
    progressBar->setMaximum(DatabaseUpgrade::kMaximum);
    progressBar->setValue(0);

    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(cbAppFile, 1);
    fileRow->addWidget(btBrowse);
    auto* checkRow = new QHBoxLayout;
    checkRow->addWidget(new QLabel(QStringLiteral("2、第二步，升级环境检测："), this));
    checkRow->addWidget(btCheck);
    checkRow->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btStart);
    buttons->addWidget(btClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addWidget(description, 1);
    layout->addWidget(new QLabel(QStringLiteral("1、第一步，老版本的软件路径："), this));
    layout->addLayout(fileRow);
    layout->addLayout(checkRow);
    layout->addLayout(buttons);
    layout->addWidget(progressBar);
    layout->addWidget(lbMessage);

    connect(btBrowse, &QPushButton::clicked, this, &TfrmUp2NewVersion::browse);
    connect(btCheck, &QPushButton::clicked, this, &TfrmUp2NewVersion::checkEnvironment);
    connect(btStart, &QPushButton::clicked, this, &TfrmUp2NewVersion::startUpgrade);
    connect(btClose, &QPushButton::clicked, this, &QDialog::reject);

    // The dialog keeps the keyboard while it is the window in front.
    focusTimer_.setInterval(2000);
    connect(&focusTimer_, &QTimer::timeout, this, [this] {
        if (QApplication::activeModalWidget() == this && !isActiveWindow())
            activateWindow();
    });
}

void TfrmUp2NewVersion::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    focusTimer_.start();
}

void TfrmUp2NewVersion::hideEvent(QHideEvent* event)
{
    focusTimer_.stop();
    QDialog::hideEvent(event);
}

void TfrmUp2NewVersion::browse()
{
    const QString file = QFileDialog::getOpenFileName(this, QStringLiteral("选择老版本的主程序"), cbAppFile->currentText());
    if (file.isEmpty())
        return;
    cbAppFile->insertItem(0, QDir::toNativeSeparators(file));
    cbAppFile->setCurrentIndex(0);
}

// The database file of an older installation: its Data/EPData.ini, or the file chosen
// when it is that file itself.
QString TfrmUp2NewVersion::oldDataFile(const QString& oldFolder) const
{
    const QFileInfo chosen(cbAppFile->currentText());
    if (chosen.fileName().compare(QStringLiteral("EPData.ini"), Qt::CaseInsensitive) == 0)
        return chosen.absoluteFilePath();
    return findIgnoringCase(oldFolder, QStringLiteral("Data/EPData.ini"));
}

bool TfrmUp2NewVersion::checkEnvironment()
{
    UserMessages& messages = context_.messages();
    takeOverFrom_.clear();
    btStart->setEnabled(true);
    QString programFile = cbAppFile->currentText();
    QString oldFolder;
    if (!programFile.isEmpty() && programFile != kChoose) {
        oldFolder = QFileInfo(programFile).absolutePath();
    } else {
        oldFolder = recordedRunPath_;
        if (!oldFolder.isEmpty() && QFileInfo(oldFolder).isDir()) {
            if (cbAppFile->count() == 0) {
                cbAppFile->setStyleSheet(QStringLiteral("QComboBox { background: red; }"));
            } else {
                cbAppFile->setCurrentIndex(0);
                cbAppFile->setStyleSheet(QStringLiteral("QComboBox { background: white; }"));
                programFile = cbAppFile->currentText();
            }
        }
    }
    if (programFile.isEmpty() || programFile == kChoose) {
        messages.show(QStringLiteral("请选择Marrowind快递打印软件的主运行程序(例如:D:/Marrowind打印/MarrowindV927.exe)~"));
        return false;
    }
    if (!QFileInfo(programFile).isFile()) {
        messages.show(QStringLiteral("主程序文件无效~"));
        return false;
    }
    const QString dataFile = oldDataFile(QFileInfo(programFile).absolutePath());
    if (!QFileInfo::exists(dataFile)) {
        messages.show(QStringLiteral("主程序数据文件无效，请重新选择符合完整的主程序文件~"));
        return false;
    }
    if (const QString refused = refusal(dataFile, databaseFileKind(dataFile)); !refused.isEmpty()) {
        messages.show(refused);
        return false;
    }
    if (!sameFile(dataFile, context_.db().filePath()))
        takeOverFrom_ = dataFile;
    messages.show(QStringLiteral("环境OK，可以升级~"));
    return true;
}

void TfrmUp2NewVersion::advance(int by, const QString& text)
{
    progressBar->setValue(std::min(progressBar->value() + by, progressBar->maximum()));
    QString line = QStringLiteral("进度:%1/%2").arg(progressBar->value()).arg(progressBar->maximum());
    if (!text.isEmpty())
        line += QStringLiteral(" >> ") + text;
    lbMessage->setText(line);
    lbMessage->repaint();
    QCoreApplication::processEvents();
}

void TfrmUp2NewVersion::startUpgrade()
{
    UserMessages& messages = context_.messages();
    btStart->setEnabled(false);
    Database& db = context_.db();
    QString backupFile;
    if (!takeOverFrom_.isEmpty()) {
        if (const QString refused = refusal(takeOverFrom_, databaseFileKind(takeOverFrom_)); !refused.isEmpty()) {
            messages.show(refused);
            btStart->setEnabled(true);
            return;
        }
        backupFile = db.filePath() + QLatin1Char('.')
            + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")) + QStringLiteral(".bak");
        if (!messages.ask(QStringLiteral("将接管老版本的数据文件“%1”：当前数据先备份为“%2”，然后由老版本的数据替换。确定吗？")
                              .arg(QDir::toNativeSeparators(takeOverFrom_), QDir::toNativeSeparators(backupFile)),
                          QStringLiteral("提示"))) {
            btStart->setEnabled(true);
            return;
        }
        try {
            takeOverDatabase(db, takeOverFrom_, backupFile);
        } catch (const DatabaseError& error) {
            messages.show(QStringLiteral("升级失败，意外错误:") + error.text());
            btStart->setEnabled(true);
            return;
        }
    }

    progressBar->setMaximum(DatabaseUpgrade::kMaximum);
    progressBar->setValue(0);
    DatabaseUpgrade upgrade(db, context_.settings(), messages, [this](int by, const QString& text) { advance(by, text); });
    const DatabaseUpgrade::Outcome outcome = upgrade.run(context_.versionText());
    if (outcome == DatabaseUpgrade::Outcome::Failed) {
        messages.show(QStringLiteral("升级失败，意外错误:") + upgrade.failure());
        btStart->setEnabled(true);
        return;
    }
    // Already up to date: the button waits for the next environment test.
    if (outcome == DatabaseUpgrade::Outcome::AlreadyCurrent) {
        messages.show(QStringLiteral("当前软件已经是V9.28，无需再升级！"));
    } else {
        progressBar->setValue(progressBar->maximum());
        lbMessage->setText(lbMessage->text() + QStringLiteral("    升级完成！"));
        messages.show(QStringLiteral("恭喜，升级成功啦！"));
    }
    if (!backupFile.isEmpty()) {
        messages.show(QStringLiteral("已接管老版本的数据文件“%1”，原有数据备份在“%2”。请重新启动软件！")
                          .arg(QDir::toNativeSeparators(takeOverFrom_), QDir::toNativeSeparators(backupFile)));
        takeOverFrom_.clear();
    }
    if (outcome == DatabaseUpgrade::Outcome::Upgraded) {
        accept();
        btStart->setEnabled(true);
    }
}

} // namespace slipcraft
