#include "records/ImportMatch.h"

#include "data/Up2NewVersionLogic.h"
#include "platform/IniFile.h"
#include "records/ImportColumnCfg.h"
#include "shell/AppContext.h"
#include "shell/UserMessages.h"
#include "shell/WindowSettings.h"
#include "records/ImportProgress.h"
#include "shell/WindowParts.h"

#include <QCheckBox>
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

using namespace importing;

namespace {

const QString kOrderOption = QStringLiteral("ckOrderIDOn");
const QString kMemberOption = QStringLiteral("ckMemeberIDOn");

// The items each part of the window offers a box for.
const Item kCommonItems[] = {FullName, Contact, Phone, Mobile, Province, City, Town, Address, Postcode, Country, Remark};
const Item kAddressBookItems[] = {Bank, BankAccount, BankAddress, BankNumber, InputCode};
const Item kBatchItems[] = {Goods, Destination, Pieces, Weight, Charge, InsuranceFee, InsuredValue, UrgentFee, Freight,
                            DeliveryFee, Volume, PackingFee, CollectAmount, HandlingFee, OtherFee, Custom3, Custom4,
                            Custom5, AmountWords};

QComboBox* columnBox(QWidget* parent, const QString& name)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->setMinimumWidth(150);
    return box;
}

QCheckBox* tick(QWidget* parent, const QString& caption, const char* name, bool on)
{
    auto* made = new QCheckBox(caption, parent);
    made->setObjectName(QString::fromLatin1(name));
    made->setChecked(on);
    return made;
}

// Boxes in rows of two label-and-box pairs.
void place(QGridLayout* grid, int index, const QString& label, QWidget* box)
{
    const int row = index / 2;
    const int column = (index % 2) * 2;
    auto* caption = new QLabel(label, box->parentWidget());
    caption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(caption, row, column);
    grid->addWidget(box, row, column + 1);
}

} // namespace

TfrmImport::TfrmImport(AppContext& context, QWidget* parent)
    : QDialog(parent)
    , context_(context)
{
    setObjectName(QStringLiteral("frmImport"));
    setWindowTitle(QStringLiteral("Marrowind软件-收、发件人资料导入"));
    buildControls();
    resize(900, 640);
    FormFaceLoad(this, context_.userIniFile());
    showScene();
}

void TfrmImport::buildControls()
{
    cbScene = new QComboBox(this);
    cbScene->setObjectName(QStringLiteral("cbScene"));
    cbScene->addItems({kAddressBookScene, kBatchScene});
    edtFile = new QLineEdit(this);
    edtFile->setObjectName(QStringLiteral("edtFile"));
    edtFile->setReadOnly(true);
    btBrowse = commandButton(this, QStringLiteral("【浏览Excel】"), "btBrowse");
    cbSheet = new QComboBox(this);
    cbSheet->setObjectName(QStringLiteral("cbSheet"));
    cbSheet->setMinimumWidth(120);
    btRules = commandButton(this, QStringLiteral("【列匹配规则】"), "btRules");
    btAutoMatch = commandButton(this, QStringLiteral("自动匹配"), "btAutoMatch");
    auto* lbFormat = new QLabel(QStringLiteral("<a href=\"#\">对Excel、CSV的格式要求?</a>"), this);
    lbFormat->setObjectName(QStringLiteral("lbFormat"));

    auto* top = new QGridLayout;
    top->addWidget(new QLabel(QStringLiteral("1、导入场景"), this), 0, 0);
    top->addWidget(cbScene, 0, 1, 1, 2);
    top->addWidget(lbFormat, 0, 3);
    top->addWidget(btBrowse, 1, 0);
    top->addWidget(edtFile, 1, 1, 1, 2);
    top->addWidget(new QLabel(QStringLiteral("工作表:"), this), 1, 3);
    top->addWidget(cbSheet, 1, 4);
    top->addWidget(btRules, 0, 4);
    top->setColumnStretch(2, 1);

    auto* gbCommon = new QGroupBox(QStringLiteral("2、匹配Excel列"), this);
    auto* commonGrid = new QGridLayout(gbCommon);
    int index = 0;
    for (Item item : kCommonItems) {
        boxes_[item] = columnBox(gbCommon, QStringLiteral("cbItem%1").arg(int(item)));
        place(commonGrid, index++, boxLabel(item, Scene::AddressBook), boxes_[item]);
    }
    commonGrid->addWidget(btAutoMatch, index / 2 + 1, 3);

    gbAddressBook = new QGroupBox(QStringLiteral("地址薄-专有项目"), gbCommon);
    gbAddressBook->setObjectName(QStringLiteral("gbAddressBook"));
    auto* addressGrid = new QGridLayout(gbAddressBook);
    index = 0;
    for (Item item : kAddressBookItems) {
        boxes_[item] = columnBox(gbAddressBook, QStringLiteral("cbItem%1").arg(int(item)));
        place(addressGrid, index++, boxLabel(item, Scene::AddressBook), boxes_[item]);
    }
    cbAddressGroup = columnBox(gbAddressBook, QStringLiteral("cbAddressGroup"));
    place(addressGrid, index++, boxLabel(Group, Scene::AddressBook), cbAddressGroup);
    ckFixedType = tick(gbAddressBook, QStringLiteral("固定"), "ckFixedType", true);
    cbUnitType = columnBox(gbAddressBook, QStringLiteral("cbUnitType"));
    auto* unitType = new QWidget(gbAddressBook);
    auto* unitTypeRow = new QHBoxLayout(unitType);
    unitTypeRow->setContentsMargins(0, 0, 0, 0);
    unitTypeRow->addWidget(ckFixedType);
    unitTypeRow->addWidget(cbUnitType, 1);
    place(addressGrid, index++, boxLabel(UnitType, Scene::AddressBook), unitType);

    gbBatch = new QGroupBox(QStringLiteral("批量打印-专有项目"), gbCommon);
    gbBatch->setObjectName(QStringLiteral("gbBatch"));
    auto* batchGrid = new QGridLayout(gbBatch);
    index = 0;
    cbBatchGroup = columnBox(gbBatch, QStringLiteral("cbBatchGroup"));
    place(batchGrid, index++, boxLabel(Group, Scene::Batch), cbBatchGroup);
    for (Item item : kBatchItems) {
        boxes_[item] = columnBox(gbBatch, QStringLiteral("cbItem%1").arg(int(item)));
        place(batchGrid, index++, boxLabel(item, Scene::Batch), boxes_[item]);
    }
    auto* special = new QHBoxLayout;
    special->addWidget(gbAddressBook);
    special->addWidget(gbBatch);
    commonGrid->addLayout(special, commonGrid->rowCount(), 0, 1, 4);

    auto* gbOptions = new QGroupBox(QStringLiteral("3、导入选项"), this);
    ckRepeat = tick(gbOptions, QStringLiteral("判断重复"), "ckRepeat", true);
    ckByName = tick(gbOptions, QStringLiteral("单位全称"), "ckByName", true);
    ckByContact = tick(gbOptions, QStringLiteral("联系人"), "ckByContact", true);
    ckByPhone = tick(gbOptions, QStringLiteral("联系电话"), "ckByPhone", true);
    ckAskRepeat = tick(gbOptions, QStringLiteral("发现重复记录弹出提示确认"), "ckAskRepeat", false);
    ckOpenLog = tick(gbOptions, QStringLiteral("完成后自动弹出查看导入日志"), "ckOpenLog", true);
    Settings& settings = context_.settings();
    ckOrderIDOn = tick(gbOptions, QStringLiteral("订单号"), "ckOrderIDOn", settings.getConfigByname(kOrderOption) == u"1");
    ckMemeberIDOn =
        tick(gbOptions, QStringLiteral("会员名"), "ckMemeberIDOn", settings.getConfigByname(kMemberOption) == u"1");
    auto* optionRows = new QVBoxLayout(gbOptions);
    auto* repeatRow = new QHBoxLayout;
    for (QCheckBox* box : {ckRepeat, ckByName, ckByContact, ckByPhone, ckAskRepeat})
        repeatRow->addWidget(box);
    repeatRow->addStretch();
    auto* otherRow = new QHBoxLayout;
    for (QCheckBox* box : {ckOpenLog, ckOrderIDOn, ckMemeberIDOn})
        otherRow->addWidget(box);
    otherRow->addStretch();
    optionRows->addLayout(repeatRow);
    optionRows->addLayout(otherRow);

    btStart = commandButton(this, QStringLiteral("4、【开始导入】(&M)"), "btStart");
    btStop = commandButton(this, QStringLiteral("中止导入"), "btStop");
    btLog = commandButton(this, QStringLiteral("查看日志(&L)"), "btLog");
    btClose = commandButton(this, QStringLiteral("关  闭"), "btClose");
    btStart->setEnabled(false);
    btStop->setEnabled(false);
    btLog->setEnabled(QFileInfo::exists(logPath()));
    progressBar = new QProgressBar(this);
    progressBar->setObjectName(QStringLiteral("progressBar"));
    progressBar->hide();
    progress_ = std::make_unique<ImportProgress>(context_, progressBar, btStop);
    lbStatus = new QLabel(this);
    lbStatus->setObjectName(QStringLiteral("lbStatus"));

    auto* commands = new QHBoxLayout;
    commands->addWidget(btStart);
    commands->addWidget(btStop);
    commands->addStretch();
    commands->addWidget(btLog);
    commands->addWidget(btClose);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(gbCommon, 1);
    layout->addWidget(gbOptions);
    layout->addLayout(commands);
    layout->addWidget(progressBar);
    layout->addWidget(lbStatus);

    connect(cbScene, &QComboBox::currentIndexChanged, this, [this] {
        showScene();
        if (workbook_)
            loadSheet();
    });
    connect(btBrowse, &QPushButton::clicked, this, &TfrmImport::chooseFile);
    connect(cbSheet, &QComboBox::activated, this, &TfrmImport::chooseSheet);
    connect(btRules, &QPushButton::clicked, this, [this] {
        TfrmImportColumnCfg rules(context_, this);
        rules.exec();
    });
    connect(btAutoMatch, &QPushButton::clicked, this, &TfrmImport::autoMatch);
    connect(lbFormat, &QLabel::linkActivated, this, [this] {
        context_.messages().show(QStringLiteral(
            "Excel/csv格式要求:\r\r  1、Excel的第一行必须是标题（例如:姓名,电话什么的）;\r\r  "
            "2、Excel的第一行的标题不能含有空单元格，软件遇到空单元格就认为标题列结束;\r\r  3、Excel不能含有合并单元格。"));
    });
    connect(ckFixedType, &QCheckBox::toggled, this, &TfrmImport::applyUnitTypeMode);
    connect(ckRepeat, &QCheckBox::clicked, this, [this](bool on) {
        for (QCheckBox* basis : {ckByName, ckByContact, ckByPhone})
            basis->setChecked(on);
    });
    for (const auto& [box, key] : {std::pair{ckOrderIDOn, kOrderOption}, std::pair{ckMemeberIDOn, kMemberOption}}) {
        connect(box, &QCheckBox::clicked, this, [this, key = key](bool on) {
            try {
                context_.settings().setConfigByname(key, on ? QStringLiteral("1") : QStringLiteral("0"));
            } catch (const DatabaseError&) {
                // The option still acts on this import.
            }
        });
    }
    connect(btStart, &QPushButton::clicked, this, &TfrmImport::startImport);
    connect(btStop, &QPushButton::clicked, this, [this] { progress_->requestStop(); });
    connect(btLog, &QPushButton::clicked, this, &TfrmImport::openLog);
    connect(btClose, &QPushButton::clicked, this, &QDialog::close);
    applyUnitTypeMode();
}

void TfrmImport::presetScene(Scene scene)
{
    cbScene->setCurrentIndex(scene == Scene::AddressBook ? 0 : 1);
    cbScene->setEnabled(false);
    if (scene == Scene::Batch) {
        for (QCheckBox* box : {ckRepeat, ckByName, ckByContact, ckByPhone})
            box->setChecked(false);
    }
}

Scene TfrmImport::scene() const
{
    return cbScene->currentIndex() == 0 ? Scene::AddressBook : Scene::Batch;
}

void TfrmImport::showScene()
{
    gbAddressBook->setVisible(scene() == Scene::AddressBook);
    gbBatch->setVisible(scene() == Scene::Batch);
}

QComboBox* TfrmImport::itemBox(Item item) const
{
    if (item == Group)
        return scene() == Scene::AddressBook ? cbAddressGroup : cbBatchGroup;
    if (item == UnitType)
        return cbUnitType;
    return boxes_[item];
}

void TfrmImport::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // A file from before the rules existed gets them with their defaults.
    try {
        context_.db().scalar(QStringLiteral("select ItemName from MatchColumn limit 1"));
    } catch (const DatabaseError&) {
        try {
            resetMatchColumn(context_.db());
        } catch (const DatabaseError& error) {
            context_.messages().show(QStringLiteral("MatchColumn表格初始化数据失败!") + error.text());
        }
    }
    applyUnitTypeMode();
}

void TfrmImport::closeEvent(QCloseEvent* event)
{
    // An import in progress is stopped first, the rows so far stay.
    if (running_) {
        progress_->requestStop();
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void TfrmImport::done(int result)
{
    if (running_)
        return;
    FormFaceSave(this, context_.userIniFile());
    QDialog::done(result);
}

void TfrmImport::chooseFile()
{
    const QString path = QFileDialog::getOpenFileName(
        this, QStringLiteral("选择Excel文件"), QFileInfo(edtFile->text()).absolutePath(),
        QStringLiteral("Excel(*.xls *.xlsx *.csv *.xlw *.et);;Excel(*.xlsx);;Excel(*.xls);;Excel(*.csv);;WPS Excel(*.et)"));
    if (!path.isEmpty())
        openFile(path);
}

bool TfrmImport::openFile(const QString& path)
{
    btLog->setEnabled(false);
    btStart->setEnabled(false);
    workbook_.reset();
    columns_.clear();
    edtFile->setText(QDir::toNativeSeparators(path));
    cbSheet->clear();
    try {
        workbook_ = Workbook::open(path);
    } catch (const SpreadsheetError& error) {
        context_.messages().show(QStringLiteral("EXCEL导入错误,") + error.text());
        return false;
    }
    cbSheet->addItems(workbook_->sheetNames());
    cbSheet->setCurrentIndex(workbook_->activeSheetIndex());
    loadSheet();
    return true;
}

void TfrmImport::chooseSheet(int index)
{
    if (!workbook_)
        return;
    workbook_->setActiveSheet(index);
    loadSheet();
}

void TfrmImport::loadSheet()
{
    const Worksheet& sheet = workbook_->activeSheet();
    columns_ = sheetColumns(sheet);
    QStringList entries{QString()};
    for (const SheetColumn& column : std::as_const(columns_))
        entries << column.entry();
    for (QComboBox* box : boxes_) {
        if (box) {
            box->clear();
            box->addItems(entries);
        }
    }
    for (QComboBox* box : {cbAddressGroup, cbBatchGroup}) {
        box->clear();
        box->addItems(entries);
    }
    if (columns_.isEmpty())
        context_.messages().show(QStringLiteral("Excel的[") + sheet.name()
                                 + QStringLiteral("]没有可识别的列(表格第一行必须为非空的列标题，比如：联系人,电话..)!"));
    autoMatch();
    btStart->setEnabled(true);
}

void TfrmImport::autoMatch()
{
    Rules rules;
    for (int item = 0; item < kItemCount; ++item)
        rules[item] = QStringList{ruleName(Item(item))};
    try {
        rules = loadRules(context_.db());
    } catch (const DatabaseError&) {
    }
    autoMatched_ = importing::autoMatch(columns_, rules, scene());
    const auto entryOf = [this](int number) {
        for (const SheetColumn& column : std::as_const(columns_))
            if (column.number == number)
                return column.entry();
        return QString();
    };
    for (int item = 0; item < kItemCount; ++item) {
        if (boxes_[item])
            boxes_[item]->setCurrentText(entryOf(autoMatched_[item]));
    }
    for (QComboBox* box : {cbAddressGroup, cbBatchGroup})
        box->setCurrentText(entryOf(autoMatched_[Group]));
    applyUnitTypeMode();
}

void TfrmImport::applyUnitTypeMode()
{
    cbUnitType->clear();
    if (ckFixedType->isChecked()) {
        cbUnitType->addItems({QStringLiteral("往来单位"), QStringLiteral("我方单位")});
        return;
    }
    cbUnitType->addItem(QString());
    for (const SheetColumn& column : std::as_const(columns_)) {
        cbUnitType->addItem(column.entry());
        if (column.number == autoMatched_[UnitType])
            cbUnitType->setCurrentIndex(cbUnitType->count() - 1);
    }
}

Columns TfrmImport::finishMatching() const
{
    Columns columns{};
    for (int item = 0; item < kItemCount; ++item) {
        if (boxes_[item])
            columns[item] = columnOfEntry(boxes_[item]->currentText());
    }
    columns[Group] = columnOfEntry(itemBox(Group)->currentText());
    if (scene() == Scene::AddressBook && !ckFixedType->isChecked())
        columns[UnitType] = columnOfEntry(cbUnitType->currentText());
    columns[OrderNumber] = autoMatched_[OrderNumber];
    columns[MemberId] = autoMatched_[MemberId];
    return columns;
}

Options TfrmImport::options() const
{
    Options chosen;
    chosen.scene = scene();
    chosen.checkDuplicates = ckRepeat->isChecked();
    chosen.byName = ckByName->isChecked();
    chosen.byContact = ckByContact->isChecked();
    chosen.byPhone = ckByPhone->isChecked();
    chosen.askOnDuplicate = ckAskRepeat->isChecked();
    chosen.orderNumberToRemark = ckOrderIDOn->isChecked();
    chosen.memberIdToRemark = ckMemeberIDOn->isChecked();
    chosen.fixedUnitType = ckFixedType->isChecked();
    if (chosen.fixedUnitType)
        chosen.unitType = cbUnitType->currentText();
    return chosen;
}

QString TfrmImport::logPath() const
{
    return context_.getRunPath() + kLogFileName;
}

void TfrmImport::openLog()
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(logPath()));
}

void TfrmImport::setRunning(bool running)
{
    running_ = running;
    btStart->setEnabled(!running);
    btStop->setEnabled(running);
    for (QWidget* widget : {static_cast<QWidget*>(btBrowse), static_cast<QWidget*>(cbSheet),
                            static_cast<QWidget*>(btClose)})
        widget->setEnabled(!running);
}

std::optional<Counts> TfrmImport::startImport()
{
    if (!workbook_)
        return std::nullopt;
    UserMessages& messages = context_.messages();
    const Columns columns = finishMatching();
    const Options chosen = options();
    if (!chosen.byName && !chosen.byContact && !chosen.byPhone
        && !messages.ask(QStringLiteral("你未选择任何重复判断依据。这样将可能会插入重复记录。确认允许重复吗？"),
                         QStringLiteral("重复匹配确认")))
        return std::nullopt;
    workbook_->setActiveSheet(cbSheet->currentIndex());
    if (columns[FullName] == 0 && columns[Contact] == 0 && columns[Address] == 0) {
        messages.show(QStringLiteral("收、发件单位名称、联系人、地址不能同时为空，请选择有效的Excel数据文件并匹配项目！"),
                      QStringLiteral("提示"));
        boxes_[FullName]->setFocus();
        return std::nullopt;
    }

    const Worksheet& sheet = workbook_->activeSheet();
    IniFile log(logPath());
    ImportRun run(context_.db(), sheet, columns, chosen, log, messages);
    run.startLog(workbook_->path());
    lbStatus->setText(QStringLiteral("数据文件有效！共有数据行：%1").arg(std::max(0, sheet.rowCount() - 1)));
    progress_->start(sheet.rowCount());
    setRunning(true);
    Counts counts;
    try {
        counts = run.run([this](int read) { return progress_->keepGoing(read); });
    } catch (const DatabaseError& error) {
        setRunning(false);
        btLog->setEnabled(true);
        messages.show(QStringLiteral("意外导入错误,E=") + error.text());
        return std::nullopt;
    }
    setRunning(false);
    btLog->setEnabled(true);
    if (counts.limitReached)
        messages.show(QStringLiteral("导入中止，一次最大行数为%1").arg(kRowLimit));
    const QString text = run.finish(counts);
    lbStatus->setText(text);
    if (ckOpenLog->isChecked())
        openLog();
    else
        messages.show(text, QStringLiteral("导入结束"));
    emit imported(counts);
    accept();
    return counts;
}

} // namespace slipcraft
