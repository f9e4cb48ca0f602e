#include "templates/BillImportExport.h"

#include "data/Database.h"
#include "entry/ImageShow.h"
#include "shell/AppContext.h"
#include "shell/StartUp.h"
#include "shell/UserMessages.h"
#include "shell/WindowSettings.h"
#include "templates/TemplatePackage.h"
#include "shell/WindowParts.h"

#include <QApplication>
#include <QCheckBox>
#include <QDesktopServices>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QUrl>
#include <QVBoxLayout>

namespace slipcraft {

namespace {

const QString kHint = QStringLiteral("提示");
const QString kPackageFilter = QStringLiteral("Marrowind票据包(*.bpk)");
const QString kDownloadPage = QStringLiteral("https://") + kMakerSite + QStringLiteral("/slipcraft/templates");

QListWidget* list(const char* name, QWidget* parent)
{
    auto* l = new QListWidget(parent);
    l->setObjectName(QString::fromLatin1(name));
    return l;
}

QStringList texts(const QListWidget* list)
{
    QStringList names;
    for (int i = 0; i < list->count(); ++i)
        names << list->item(i)->text();
    return names;
}

// The buttons between two lists, stacked.
QVBoxLayout* moveButtons(QPushButton* one, QPushButton* all, QPushButton* clear)
{
    auto* column = new QVBoxLayout;
    column->addStretch();
    for (QPushButton* b : {one, all, clear}) {
        b->setFixedWidth(40);
        column->addWidget(b);
    }
    column->addStretch();
    return column;
}

} // namespace

TfrmBillImportExport::TfrmBillImportExport(AppContext& context, bool withExport, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint)
    , context_(context)
{
    setObjectName(QStringLiteral("frmBillImportExport"));
    setWindowTitle(QStringLiteral("导入、导出票据格式"));
    pcMain = new QTabWidget(this);
    pcMain->setObjectName(QStringLiteral("pcMain"));
    auto* importPage = new QWidget;
    importPage->setObjectName(QStringLiteral("tsImport"));
    auto* exportPage = new QWidget;
    exportPage->setObjectName(QStringLiteral("tsExport"));
    buildImportPage(importPage);
    buildExportPage(exportPage);
    pcMain->addTab(importPage, QStringLiteral("导入Marrowind票据模板"));
    if (withExport) {
        pcMain->addTab(exportPage, QStringLiteral("导出Marrowind票据模板"));
    } else {
        exportPage->setParent(this);
        exportPage->hide();
    }
    connect(pcMain, &QTabWidget::currentChanged, this, [this, exportPage] {
        if (pcMain->currentWidget() == exportPage)
            exportPageShown();
    });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pcMain);
    resize(720, 480);
    FormFaceLoad(this, context_.userIniFile());
}

TfrmBillImportExport::~TfrmBillImportExport() = default;

void TfrmBillImportExport::execute(AppContext& context, bool withExport, QWidget* parent)
{
    static QPointer<TfrmBillImportExport> open;
    if (open) {
        open->raise();
        return;
    }
    auto* window = new TfrmBillImportExport(context, withExport, parent);
    window->setAttribute(Qt::WA_DeleteOnClose);
    open = window;
    window->exec();
}

void TfrmBillImportExport::buildImportPage(QWidget* page)
{
    edtPackage = new QLineEdit(QStringLiteral("请选择票据包文件"), page);
    edtPackage->setObjectName(QStringLiteral("edtPackage"));
    edtPackage->setReadOnly(true);
    btBrowse = commandButton(page, QStringLiteral("浏览.."), "btBrowse");
    lbDownload = new QLabel(QStringLiteral("<a href=\"#\">网上下载</a>"), page);
    lbDownload->setObjectName(QStringLiteral("lbDownload"));
    lbDownload->setToolTip(QStringLiteral("点击进入网站"));
    // A package always replaces an installed template of the same name, after the user agrees.
    ckUpdateOld = new QCheckBox(QStringLiteral("更新旧版本单据"), page);
    ckUpdateOld->setObjectName(QStringLiteral("ckUpdateOld"));
    ckUpdateOld->setChecked(true);
    ckUpdateOld->setEnabled(false);

    lstPackage = list("lstPackage", page);
    lstImport = list("lstImport", page);
    for (QListWidget* l : {lstPackage, lstImport}) {
        l->setToolTip(QStringLiteral("鼠标双击查看单据样式"));
        connect(l, &QListWidget::itemDoubleClicked, this, &TfrmBillImportExport::showPackagePicture);
    }
    btAdd = commandButton(page, QStringLiteral("->"), "btAdd", QStringLiteral("选中加入导入列表"));
    btAddAll = commandButton(page, QStringLiteral("->>"), "btAddAll", QStringLiteral("全部加入导入列表"));
    btClear = commandButton(page, QStringLiteral("X"), "btClear", QStringLiteral("清空导入列表"));
    lbImportProgress = new QLabel(page);
    lbImportProgress->setObjectName(QStringLiteral("lbImportProgress"));
    lbImportProgress->hide();
    btImport = commandButton(page, QStringLiteral("3.开始导入(&D)"), "btImport");
    btImportClose = commandButton(page, QStringLiteral("完成退出(&X)"), "btImportClose");
    btImport->setEnabled(false);
    setImportMoving(false);

    auto* layout = new QGridLayout(page);
    layout->addWidget(new QLabel(QStringLiteral("1.请选择要导入的票据包来源(*.bpk)"), page), 0, 0, 1, 3);
    auto* source = new QHBoxLayout;
    source->addWidget(edtPackage, 1);
    source->addWidget(btBrowse);
    source->addWidget(lbDownload);
    layout->addLayout(source, 1, 0, 1, 3);
    layout->addWidget(ckUpdateOld, 2, 0, 1, 3);
    layout->addWidget(new QLabel(QStringLiteral("2.票据包中的新格式（双击查看票据）."), page), 3, 0);
    layout->addWidget(lbImportProgress, 3, 1, Qt::AlignCenter);
    layout->addWidget(new QLabel(QStringLiteral("3.选中了要导入的票据列表."), page), 3, 2);
    layout->addWidget(lstPackage, 4, 0);
    layout->addLayout(moveButtons(btAdd, btAddAll, btClear), 4, 1);
    layout->addWidget(lstImport, 4, 2);
    auto* actions = new QHBoxLayout;
    actions->addStretch();
    actions->addWidget(btImport);
    actions->addWidget(btImportClose);
    layout->addLayout(actions, 5, 0, 1, 3);
    layout->setColumnStretch(0, 1);
    layout->setColumnStretch(2, 1);
    layout->setRowStretch(4, 1);

    connect(btBrowse, &QPushButton::clicked, this, &TfrmBillImportExport::choosePackage);
    connect(lbDownload, &QLabel::linkActivated, this, &TfrmBillImportExport::openDownloadPage);
    connect(btAdd, &QPushButton::clicked, this, [this] { moveOne(lstPackage, lstImport, btImport); });
    connect(btAddAll, &QPushButton::clicked, this, [this] { moveAll(lstPackage, lstImport, btImport); });
    connect(btClear, &QPushButton::clicked, this, &TfrmBillImportExport::clearImportSelection);
    connect(btImport, &QPushButton::clicked, this, &TfrmBillImportExport::startImport);
    connect(btImportClose, &QPushButton::clicked, this, &QDialog::accept);
}

void TfrmBillImportExport::buildExportPage(QWidget* page)
{
    exportStack = new QStackedWidget(page);
    exportStack->setObjectName(QStringLiteral("exportStack"));
    lbNotice = new QLabel(QStringLiteral("\n\n\n\n\n正在建设中.."), exportStack);
    lbNotice->setObjectName(QStringLiteral("lbNotice"));
    lbNotice->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    lbNotice->installEventFilter(this);
    exportStack->addWidget(lbNotice);

    auto* panel = new QWidget(exportStack);
    panel->setObjectName(QStringLiteral("pnlExport"));
    lstInstalled = list("lstInstalled", panel);
    lstExport = list("lstExport", panel);
    for (QListWidget* l : {lstInstalled, lstExport})
        l->setSortingEnabled(true);
    connect(lstInstalled, &QListWidget::itemDoubleClicked, this, &TfrmBillImportExport::showInstalledPicture);
    btExpAdd = commandButton(panel, QStringLiteral("->"), "btExpAdd", QStringLiteral("选中导出"));
    btExpAddAll = commandButton(panel, QStringLiteral("->>"), "btExpAddAll", QStringLiteral("全部导出"));
    btExpClear = commandButton(panel, QStringLiteral("X"), "btExpClear", QStringLiteral("清空选中列表"));
    edtTarget = new QLineEdit(QDir::toNativeSeparators(QDir::homePath()), panel);
    edtTarget->setObjectName(QStringLiteral("edtTarget"));
    edtTarget->setReadOnly(true);
    btTarget = commandButton(panel, QStringLiteral("2.浏览.."), "btTarget");
    lbExportProgress = new QLabel(panel);
    lbExportProgress->setObjectName(QStringLiteral("lbExportProgress"));
    lbExportProgress->hide();
    btExport = commandButton(panel, QStringLiteral("3.开始导出(&D)"), "btExport");
    btExport->setEnabled(false);
    btExportClose = commandButton(panel, QStringLiteral("完成退出(&X)"), "btExportClose");

    auto* layout = new QGridLayout(panel);
    layout->addWidget(new QLabel(QStringLiteral("系统已有票据列表："), panel), 0, 0);
    layout->addWidget(lbExportProgress, 0, 1, Qt::AlignCenter);
    layout->addWidget(new QLabel(QStringLiteral("1.选中的需要导出的票据："), panel), 0, 2);
    layout->addWidget(lstInstalled, 1, 0);
    layout->addLayout(moveButtons(btExpAdd, btExpAddAll, btExpClear), 1, 1);
    layout->addWidget(lstExport, 1, 2);
    auto* target = new QHBoxLayout;
    target->addWidget(new QLabel(QStringLiteral("导出到文件夹:"), panel));
    target->addWidget(edtTarget, 1);
    target->addWidget(btTarget);
    layout->addLayout(target, 2, 0, 1, 3);
    auto* actions = new QHBoxLayout;
    actions->addStretch();
    actions->addWidget(btExport);
    actions->addWidget(btExportClose);
    layout->addLayout(actions, 3, 0, 1, 3);
    layout->setColumnStretch(0, 1);
    layout->setColumnStretch(2, 1);
    layout->setRowStretch(1, 1);
    exportStack->addWidget(panel);

    auto* pageLayout = new QVBoxLayout(page);
    pageLayout->setContentsMargins(0, 0, 0, 0);
    pageLayout->addWidget(exportStack);

    connect(btExpAdd, &QPushButton::clicked, this, [this] { moveOne(lstInstalled, lstExport, btExport); });
    connect(btExpAddAll, &QPushButton::clicked, this, [this] { moveAll(lstInstalled, lstExport, btExport); });
    connect(btExpClear, &QPushButton::clicked, this, &TfrmBillImportExport::clearExportSelection);
    connect(btTarget, &QPushButton::clicked, this, &TfrmBillImportExport::chooseExportTarget);
    connect(btExport, &QPushButton::clicked, this, &TfrmBillImportExport::startExport);
    connect(btExportClose, &QPushButton::clicked, this, &QDialog::accept);
}

void TfrmBillImportExport::setImportMoving(bool enabled)
{
    for (QPushButton* b : {btAdd, btAddAll, btClear})
        b->setEnabled(enabled);
}

void TfrmBillImportExport::choosePackage()
{
    loadPackage(QFileDialog::getOpenFileName(this, QStringLiteral("选择票据包"), QString(), kPackageFilter));
}

void TfrmBillImportExport::loadPackage(const QString& path)
{
    if (path.isEmpty()) {
        btImport->setEnabled(false);
        setImportMoving(false);
    }
    edtPackage->setText(path);
    if (!path.contains(QStringLiteral(".tpz")) && !path.contains(QStringLiteral(".bpk"))) {
        edtPackage->clear();
        context_.messages().show(QStringLiteral("请选择标准的Marrowind票据包，例如：中国银行进账单.bpk"), kHint);
        return;
    }
    lstPackage->clear();
    lstImport->clear();
    btImport->setEnabled(false);
    setImportMoving(false);
    package_.reset();
    try {
        package_ = std::make_unique<TemplatePackage>(path);
    } catch (const PackageError& error) {
        edtPackage->clear();
        context_.messages().show(error.text(), kHint, UserMessages::Icon::Warning);
        recordLastError(context_, error.text());
        return;
    }
    listPackage();
    moveOne(lstPackage, lstImport, btImport);
}

void TfrmBillImportExport::listPackage()
{
    lstPackage->clear();
    if (!package_)
        return;
    QStringList names;
    try {
        names = package_->entryNames();
    } catch (const PackageError& error) {
        context_.messages().show(QStringLiteral(":),数据包访问异常！"), kHint);
        recordLastError(context_, error.text());
        return;
    }
    if (names.isEmpty()) {
        context_.messages().show(QStringLiteral("抱歉,Marrowind从包里找不到可用于导入的票据！"), kHint);
        return;
    }
    lstPackage->addItems(names);
    setImportMoving(true);
}

void TfrmBillImportExport::moveOne(QListWidget* from, QListWidget* to, QPushButton* start)
{
    if (from->count() == 0)
        return;
    QListWidgetItem* chosen = from->currentItem() ? from->currentItem() : from->item(0);
    start->setEnabled(true);
    to->addItem(from->takeItem(from->row(chosen)));
}

void TfrmBillImportExport::moveAll(QListWidget* from, QListWidget* to, QPushButton* start)
{
    if (from->count() > 0)
        start->setEnabled(true);
    while (from->count() > 0)
        to->addItem(from->takeItem(0));
}

void TfrmBillImportExport::clearImportSelection()
{
    lstImport->clear();
    listPackage();
    btImport->setEnabled(false);
}

void TfrmBillImportExport::startImport()
{
    const QStringList names = texts(lstImport);
    UserMessages& messages = context_.messages();
    if (names.isEmpty() || !package_) {
        messages.show(QStringLiteral("请选择要导入的票据！"), kHint);
        return;
    }
    const int total = int(names.size());
    lbImportProgress->setText(QStringLiteral("0/%1").arg(total));
    lbImportProgress->show();
    const auto fail = [&](const QString& text) {
        messages.show(text, kHint, UserMessages::Icon::Warning);
        recordLastError(context_, text);
    };
    const auto agree = [&messages](const QString& typeName) {
        return messages.ask(QStringLiteral("已有同名模板【") + typeName + QStringLiteral("】，用票据包中的模板替换它吗？"), kHint);
    };
    int imported = 0, failed = 0, kept = 0, done = 0;
    for (const QString& name : names) {
        try {
            const PackagedTemplate entry = package_->readEntry(name);
            const ImportOutcome outcome = importPackagedTemplate(context_, entry, package_->currentFormat(), agree);
            if (outcome.status == ImportStatus::Imported) {
                ++imported;
                if (!package_->currentFormat())
                    fail(QStringLiteral("导入配置项目失败-") + name);
            } else if (outcome.status == ImportStatus::Kept) {
                ++kept;
            } else {
                ++failed;
                fail(QStringLiteral("导入失败，单据：") + name + QStringLiteral("（") + outcome.problem + QStringLiteral("）"));
            }
        } catch (const PackageError& error) {
            ++failed;
            fail(QStringLiteral("导入失败，单据：") + name + QStringLiteral("（") + error.text() + QStringLiteral("）"));
        }
        lbImportProgress->setText(QStringLiteral("%1/%2").arg(++done).arg(total));
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    lbImportProgress->hide();
    messages.show(importReport(imported, failed, kept), kHint);
}

void TfrmBillImportExport::showPackagePicture(QListWidgetItem* item)
{
    if (!item || !package_)
        return;
    QPixmap picture;
    try {
        picture.loadFromData(package_->readEntry(item->text()).picture);
    } catch (const PackageError& error) {
        context_.messages().show(error.text(), kHint);
        return;
    }
    if (!picture_)
        picture_ = new TfrmImageShow(context_, this);
    picture_->setWindowTitle(QStringLiteral("Marrowind软件-模板图片查看【") + item->text() + QStringLiteral("】"));
    picture_->setPicture(picture);
    picture_->resize(750, 400);
    picture_->show();
}

void TfrmBillImportExport::showInstalledPicture(QListWidgetItem* item)
{
    if (!item)
        return;
    if (!picture_)
        picture_ = new TfrmImageShow(context_, this);
    picture_->loadPictureByFullName(item->text());
    picture_->resize(750, 400);
    picture_->show();
}

void TfrmBillImportExport::openDownloadPage()
{
    QDesktopServices::openUrl(QUrl(kDownloadPage));
    close();
}

bool TfrmBillImportExport::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == lbNotice && event->type() == QEvent::MouseButtonRelease && isMaximized()
        && ++noticeClicks_ >= kNoticeClicks) {
        exportStack->setCurrentIndex(1);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmBillImportExport::exportPageShown()
{
    lstExport->clear();
    listInstalled();
}

void TfrmBillImportExport::listInstalled()
{
    lstInstalled->clear();
    QStringList names;
    try {
        names = context_.db().textColumn(QStringLiteral("select TypeName from ckTypeTable where coalesce(TypeName, '') <> ''"
                                                        " order by TypeName"));
    } catch (const DatabaseError& error) {
        context_.messages().show(QStringLiteral(":),数据包访问异常！"), kHint);
        recordLastError(context_, error.text());
        return;
    }
    if (names.isEmpty()) {
        context_.messages().show(QStringLiteral("系统还没有导入任何的可用票据！"), kHint);
        return;
    }
    lstInstalled->addItems(names);
    for (QPushButton* b : {btExpAdd, btExpAddAll, btExpClear})
        b->setEnabled(true);
}

void TfrmBillImportExport::clearExportSelection()
{
    lstExport->clear();
    listInstalled();
}

void TfrmBillImportExport::chooseExportTarget()
{
    const QString proposed = QDir(edtTarget->text()).exists() ? QDir(edtTarget->text()).filePath(proposedPackageName(texts(lstExport)))
                                                              : proposedPackageName(texts(lstExport));
    setExportTarget(QFileDialog::getSaveFileName(this, QStringLiteral("导出票据包"), proposed, kPackageFilter));
}

void TfrmBillImportExport::setExportTarget(const QString& path)
{
    if (path.isEmpty()) {
        btExport->setEnabled(false);
        return;
    }
    edtTarget->setText(QDir::toNativeSeparators(path));
    if (path.contains(kPackageSuffix)) {
        btExport->setEnabled(true);
        return;
    }
    edtTarget->clear();
    btExport->setEnabled(false);
    context_.messages().show(QStringLiteral("请选择或输入标准的票据包，例如：顺风快递07.bpk、天地达.bpk"), kHint);
}

void TfrmBillImportExport::startExport()
{
    const QStringList names = texts(lstExport);
    if (names.isEmpty()) {
        context_.messages().show(QStringLiteral("还没有选择要导出的票据格式！"), kHint);
        return;
    }
    const QString target = QDir::fromNativeSeparators(edtTarget->text());
    if (!target.contains(kPackageSuffix)) {
        context_.messages().show(QStringLiteral("请选择或输入标准的票据包，例如：顺风快递07.bpk、天地达.bpk"), kHint);
        return;
    }
    const int total = int(names.size());
    lbExportProgress->setText(QStringLiteral("0/%1").arg(total));
    lbExportProgress->show();
    try {
        const ExportResult result = exportTemplates(context_, names, target, [this, total](int done) {
            lbExportProgress->setText(QStringLiteral("%1/%2").arg(done).arg(total));
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        });
        context_.messages().show(exportReport(int(result.exported.size()), int(result.failed.size())), kHint);
    } catch (const PackageError& error) {
        context_.messages().show(error.text(), kHint, UserMessages::Icon::Warning);
        recordLastError(context_, error.text());
    }
    lbExportProgress->hide();
}

void TfrmBillImportExport::done(int result)
{
    FormFaceSave(this, context_.userIniFile());
    QDialog::done(result);
}

} // namespace slipcraft
