#include "records/ImportMatchCDHP.h"

#include "platform/IniFile.h"
#include "shell/AppContext.h"
#include "shell/UserMessages.h"
#include "shell/WindowSettings.h"
#include "wording/Functions.h"
#include "records/ImportProgress.h"
#include "shell/WindowParts.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

namespace slipcraft {

using namespace draftimport;

namespace {

// Item boxes a row.
constexpr int kBoxesPerRow = 3;

} // namespace

TfrmImportMatchCDHP::TfrmImportMatchCDHP(AppContext& context, QWidget* parent)
    : QDialog(parent)
    , context_(context)
{
    setObjectName(QStringLiteral("frmImportMatchCDHP"));
    setWindowTitle(QStringLiteral("Marrowind软件-承兑汇票数据导入"));
    buildControls();
    resize(860, 520);
    FormFaceLoad(this, context_.userIniFile());
}

void TfrmImportMatchCDHP::buildControls()
{
    btBrowse = commandButton(this, QStringLiteral("第1步: 选Excel/CSV文件.."), "btBrowse");
    edtFile = new QLineEdit(this);
    edtFile->setObjectName(QStringLiteral("edtFile"));
    auto* lbFormat = new QLabel(QStringLiteral("<a href=\"#\"> CSV、Excel 格式要求?  </a>"), this);
    lbFormat->setObjectName(QStringLiteral("lbFormat"));
    auto* top = new QHBoxLayout;
    top->addWidget(btBrowse);
    top->addWidget(edtFile, 1);
    top->addWidget(lbFormat);

    auto* gbItems = new QGroupBox(QStringLiteral("第2步: 匹配数据列"), this);
    auto* itemGrid = new QGridLayout(gbItems);
    for (int item = 0; item < kItemCount; ++item) {
        auto* box = new QComboBox(gbItems);
        box->setObjectName(QStringLiteral("cbItem%1").arg(item));
        box->setMinimumWidth(140);
        boxes_[item] = box;
        auto* caption = new QLabel(boxLabel(Item(item)), gbItems);
        caption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        const int row = item / kBoxesPerRow;
        const int column = (item % kBoxesPerRow) * 2;
        itemGrid->addWidget(caption, row, column);
        itemGrid->addWidget(box, row, column + 1);
    }

    btStart = commandButton(this, QStringLiteral("第3步: 开始导入(&S)   "), "btStart");
    btStop = commandButton(this, QStringLiteral("中止导入"), "btStop");
    btLog = commandButton(this, QStringLiteral("查看导出日志(&V)"), "btLog");
    btClose = commandButton(this, QStringLiteral("关  闭"), "btClose");
    btStart->setEnabled(false);
    btStop->setEnabled(false);
    btLog->setEnabled(false);
    progressBar = new QProgressBar(this);
    progressBar->setObjectName(QStringLiteral("progressBar"));
    progressBar->hide();
    progress_ = std::make_unique<ImportProgress>(context_, progressBar, btStop);
    lbStatus = new QLabel(this);
    lbStatus->setObjectName(QStringLiteral("lbStatus"));
    lbStatus->setWordWrap(true);

    auto* commands = new QHBoxLayout;
    commands->addWidget(btStart);
    commands->addWidget(btStop);
    commands->addStretch();
    commands->addWidget(btLog);
    commands->addWidget(btClose);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(gbItems, 1);
    layout->addLayout(commands);
    layout->addWidget(progressBar);
    layout->addWidget(lbStatus);

    connect(btBrowse, &QPushButton::clicked, this, &TfrmImportMatchCDHP::chooseFile);
    connect(edtFile, &QLineEdit::editingFinished, this, &TfrmImportMatchCDHP::fileTyped);
    connect(lbFormat, &QLabel::linkActivated, this, [this] {
        context_.messages().show(QStringLiteral(
            "The excel file should be:\r  1、the first row must be the column title(for example: InBankAcct...)"));
    });
    connect(btStart, &QPushButton::clicked, this, &TfrmImportMatchCDHP::startImport);
    connect(btStop, &QPushButton::clicked, this, [this] { progress_->requestStop(); });
    connect(btLog, &QPushButton::clicked, this, [this] { QDesktopServices::openUrl(QUrl::fromLocalFile(logPath())); });
    connect(btClose, &QPushButton::clicked, this, &QDialog::close);
}

QString TfrmImportMatchCDHP::statusText() const
{
    return lbStatus->text();
}

void TfrmImportMatchCDHP::closeEvent(QCloseEvent* event)
{
    // An import in progress is stopped first, the rows so far stay.
    if (running_) {
        progress_->requestStop();
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void TfrmImportMatchCDHP::done(int result)
{
    if (running_)
        return;
    FormFaceSave(this, context_.userIniFile());
    QDialog::done(result);
}

void TfrmImportMatchCDHP::chooseFile()
{
    const QString path = QFileDialog::getOpenFileName(
        this, QStringLiteral("选择Excel/CSV文件"), QFileInfo(edtFile->text()).absolutePath(),
        QStringLiteral("Excel(*.xls *.xlsx *.csv);;Excel(*.xls);;Excel(*.xlsx);;CSV(*.csv)"));
    if (!path.isEmpty())
        openFile(path);
}

void TfrmImportMatchCDHP::fileTyped()
{
    const QString path = trimText(edtFile->text());
    if (path != openedPath_)
        openFile(path);
}

bool TfrmImportMatchCDHP::openFile(const QString& path)
{
    btLog->setEnabled(false);
    btStart->setEnabled(false);
    workbook_.reset();
    openedPath_ = trimText(path);
    {
        QSignalBlocker block(edtFile);
        edtFile->setText(QDir::toNativeSeparators(openedPath_));
    }
    for (QComboBox* box : boxes_)
        box->clear();
    lbStatus->clear();
    if (openedPath_.isEmpty())
        return false;
    try {
        workbook_ = Workbook::open(openedPath_);
    } catch (const SpreadsheetError& error) {
        lbStatus->setText(error.text());
        context_.messages().show(QStringLiteral("不能打开Excel文件，确认Excel软件已经安装并可用！"));
        return false;
    }
    const QList<importing::SheetColumn> columns = importing::sheetColumns(workbook_->activeSheet());
    QStringList entries{QString()};
    for (const importing::SheetColumn& column : columns)
        entries << column.entry();
    const Columns matched = autoMatch(columns);
    for (int item = 0; item < kItemCount; ++item) {
        boxes_[item]->addItems(entries);
        for (const importing::SheetColumn& column : columns) {
            if (column.number == matched[item])
                boxes_[item]->setCurrentText(column.entry());
        }
    }
    lbStatus->setText(QStringLiteral("请检查匹配数据列,全称和联系人为必选项！"));
    btStart->setEnabled(true);
    return true;
}

QString TfrmImportMatchCDHP::logPath() const
{
    return context_.getRunPath() + importing::kLogFileName;
}

void TfrmImportMatchCDHP::setRunning(bool running)
{
    running_ = running;
    btStart->setEnabled(!running);
    btStop->setEnabled(running);
    for (QWidget* widget : {static_cast<QWidget*>(btBrowse), static_cast<QWidget*>(edtFile),
                            static_cast<QWidget*>(btClose)})
        widget->setEnabled(!running);
}

std::optional<importing::Counts> TfrmImportMatchCDHP::startImport()
{
    if (!workbook_ && !openFile(edtFile->text()))
        return std::nullopt;
    UserMessages& messages = context_.messages();
    Columns columns{};
    for (int item = 0; item < kItemCount; ++item)
        columns[item] = importing::columnOfEntry(boxes_[item]->currentText());

    const Worksheet& sheet = workbook_->activeSheet();
    IniFile log(logPath());
    DraftImportRun run(context_.db(), sheet, columns, {}, log);
    run.startLog();
    lbStatus->setText(QStringLiteral("数据文件有效！"));
    progress_->start(sheet.rowCount());
    setRunning(true);
    importing::Counts counts;
    try {
        counts = run.run([this](int read) { return progress_->keepGoing(read); });
    } catch (const DatabaseError& error) {
        setRunning(false);
        progressBar->hide();
        lbStatus->setText(QStringLiteral("导入结束！"));
        messages.show(QStringLiteral("意外导入错误,E=") + error.text());
        return std::nullopt;
    }
    setRunning(false);
    if (counts.limitReached)
        messages.show(QStringLiteral("导入中止，一次最大行数为%1").arg(importing::kRowLimit));
    const QString text = run.finish(counts);
    lbStatus->setText(text);
    if (counts.rows > 0)
        messages.show(text, QStringLiteral("导入结束"));
    progressBar->hide();
    btLog->setEnabled(true);
    return counts;
}

} // namespace slipcraft
