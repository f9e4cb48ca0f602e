#include "templates/PrinterParam.h"

#include "platform/IniFile.h"
#include "platform/RunPath.h"
#include "shell/AppContext.h"
#include "shell/StartUp.h"
#include "templates/PrintOffsetLogic.h"

#include <QComboBox>
#include <QDesktopServices>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QUrl>
#include <QUrlQuery>
#include <QVBoxLayout>

namespace slipcraft {

namespace {

const QString kPortrait = QStringLiteral("纵向");
const QString kLandscape = QStringLiteral("横向");
const QSize kPictureSize(240, 180);

QString numberText(const std::optional<int>& value)
{
    return value ? QString::number(*value) : QString();
}

} // namespace

TfrmPrinterParam::TfrmPrinterParam(AppContext& context, const QString& printerName, QWidget* parent)
    : QDialog(parent)
    , context_(context)
    , cbPresets(new QComboBox(this))
    , edtPresetX(new QLineEdit(this))
    , edtPresetY(new QLineEdit(this))
    , edtPresetDirection(new QLineEdit(this))
    , memPresetBoard(new QPlainTextEdit(this))
    , imgPreset(new QLabel(this))
    , cbPrinter(new QComboBox(this))
    , edtModel(new QLineEdit(this))
    , edtX(new QSpinBox(this))
    , edtY(new QSpinBox(this))
    , cbDirection(new QComboBox(this))
    , memBoard(new QPlainTextEdit(this))
    , btApply(new QPushButton(QStringLiteral("3.【应用】到所有单据"), this))
    , btExit(new QPushButton(QStringLiteral("【退出设置】"), this))
{
    setObjectName(QStringLiteral("frmPrinterParam"));
    setWindowTitle(QStringLiteral("打印机整体偏移参数适配"));
    cbPresets->setObjectName(QStringLiteral("cbPresets"));
    edtPresetX->setObjectName(QStringLiteral("edtPresetX"));
    edtPresetY->setObjectName(QStringLiteral("edtPresetY"));
    edtPresetDirection->setObjectName(QStringLiteral("edtPresetDirection"));
    memPresetBoard->setObjectName(QStringLiteral("memPresetBoard"));
    imgPreset->setObjectName(QStringLiteral("imgPreset"));
    cbPrinter->setObjectName(QStringLiteral("cbPrinter"));
    edtModel->setObjectName(QStringLiteral("edtModel"));
    edtX->setObjectName(QStringLiteral("edtX"));
    edtY->setObjectName(QStringLiteral("edtY"));
    cbDirection->setObjectName(QStringLiteral("cbDirection"));
    memBoard->setObjectName(QStringLiteral("memBoard"));
    btApply->setObjectName(QStringLiteral("btApply"));
    btExit->setObjectName(QStringLiteral("btExit"));

    for (QLineEdit* field : {edtPresetX, edtPresetY, edtPresetDirection})
        field->setReadOnly(true);
    memPresetBoard->setReadOnly(true);
    imgPreset->setFixedSize(kPictureSize);
    imgPreset->setAlignment(Qt::AlignCenter);
    for (QSpinBox* field : {edtX, edtY})
        field->setRange(-kMoveLimit, kMoveLimit);
    cbDirection->addItems({kPortrait, kLandscape});
    cbDirection->setCurrentIndex(-1);

    cbPrinter->addItems(context_.printerList());
    if (!printerName.isEmpty()) {
        if (cbPrinter->findText(printerName) < 0)
            cbPrinter->addItem(printerName);
        cbPrinter->setCurrentText(printerName);
        cbPrinter->setEnabled(false);
    }

    auto* presetBox = new QGroupBox(QStringLiteral("1.选择与你的打印机相同或相近的型号"), this);
    auto* presetForm = new QFormLayout(presetBox);
    presetForm->addRow(QStringLiteral("预选型号："), cbPresets);
    presetForm->addRow(QStringLiteral("右移(0.1毫米)："), edtPresetX);
    presetForm->addRow(QStringLiteral("下移(0.1毫米)："), edtPresetY);
    presetForm->addRow(QStringLiteral("打印方向："), edtPresetDirection);
    presetForm->addRow(QStringLiteral("挡板位置："), memPresetBoard);
    presetForm->addRow(imgPreset);

    auto* userBox = new QGroupBox(QStringLiteral("2.你的设置"), this);
    auto* userForm = new QFormLayout(userBox);
    userForm->addRow(QStringLiteral("票据打印机："), cbPrinter);
    userForm->addRow(QStringLiteral("适配打印机类型："), edtModel);
    userForm->addRow(QStringLiteral("整体右移(0.1毫米)："), edtX);
    userForm->addRow(QStringLiteral("整体下移(0.1毫米)："), edtY);
    userForm->addRow(QStringLiteral("打印方向："), cbDirection);
    userForm->addRow(QStringLiteral("挡板位置："), memBoard);

    auto* recommended = new QLabel(QStringLiteral("<a href=\"#\">查看推荐的打印机参数</a>"), this);
    recommended->setObjectName(QStringLiteral("lbRecommended"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(recommended);
    buttons->addStretch();
    buttons->addWidget(btApply);
    buttons->addWidget(btExit);

    auto* areas = new QHBoxLayout;
    areas->addWidget(presetBox);
    areas->addWidget(userBox);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(areas);
    layout->addLayout(buttons);
    for (QPushButton* button : findChildren<QPushButton*>())
        button->setAutoDefault(false);

    const IniFile& ini = context_.userIniFile();
    {
        const QSignalBlocker blocker(cbPresets);
        cbPresets->addItems(presetModels(ini));
        cbPresets->setCurrentIndex(0);
    }
    showPreset(0);
    if (const std::optional<PrinterPreset> used = lastAppliedPreset(ini))
        showUserChoice(*used);

    connect(cbPresets, &QComboBox::currentIndexChanged, this, &TfrmPrinterParam::showPreset);
    connect(cbPresets, &QComboBox::activated, this, &TfrmPrinterParam::pickPreset);
    connect(btApply, &QPushButton::clicked, this, &TfrmPrinterParam::apply);
    connect(btExit, &QPushButton::clicked, this, &TfrmPrinterParam::close);
    connect(recommended, &QLabel::linkActivated, this, &TfrmPrinterParam::openRecommendedParameters);
}

void TfrmPrinterParam::execute(AppContext& context, const QString& printerName, QWidget* parent)
{
    auto* window = new TfrmPrinterParam(context, printerName, parent);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->exec();
}

void TfrmPrinterParam::showPreset(int index)
{
    const PrinterPreset preset = readPreset(context_.userIniFile(), cbPresets->itemText(index));
    edtPresetX->setText(numberText(preset.x));
    edtPresetY->setText(numberText(preset.y));
    edtPresetDirection->setText(preset.orientation);
    memPresetBoard->setPlainText(preset.board);
    QPixmap picture;
    if (!preset.image.isEmpty())
        picture.load(findIgnoringCase(context_.getRunPath(), preset.image));
    if (picture.isNull())
        imgPreset->clear();
    else
        imgPreset->setPixmap(picture.scaled(kPictureSize, Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

void TfrmPrinterParam::showUserChoice(const PrinterPreset& preset)
{
    edtModel->setText(preset.model);
    if (preset.x)
        edtX->setValue(*preset.x);
    if (preset.y)
        edtY->setValue(*preset.y);
    cbDirection->setCurrentIndex(cbDirection->findText(preset.orientation));
    memBoard->setPlainText(preset.board);
}

void TfrmPrinterParam::pickPreset(int index)
{
    if (cbPresets->currentIndex() != index)
        cbPresets->setCurrentIndex(index);
    PrinterPreset preset = readPreset(context_.userIniFile(), cbPresets->itemText(index));
    // The user's model is the printer it is applied for.
    preset.model = cbPrinter->currentText();
    showUserChoice(preset);
}

PresetApplied TfrmPrinterParam::apply()
{
    PresetChoice choice;
    choice.model = edtModel->text();
    choice.printer = cbPrinter->currentText();
    choice.x = edtX->value();
    choice.y = edtY->value();
    choice.orientation = cbDirection->currentText();
    choice.board = memBoard->toPlainText();
    const PresetApplied applied = applyPresetToAllTemplates(context_, choice);
    if (applied == PresetApplied::ModelMissing)
        edtModel->setFocus();
    return applied;
}

void TfrmPrinterParam::openRecommendedParameters()
{
    QUrl page(QStringLiteral("https://") + kMakerSite + QStringLiteral("/slipcraft/printers"));
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("Printer"), cbPrinter->currentText());
    query.addQueryItem(QStringLiteral("version"), context_.versionText());
    query.addQueryItem(QStringLiteral("productid"), QStringLiteral("slipcraft"));
    page.setQuery(query);
    QDesktopServices::openUrl(page);
}

} // namespace slipcraft
