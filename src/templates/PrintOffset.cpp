#include "templates/PrintOffset.h"

#include "data/Database.h"
#include "entry/ImageShow.h"
#include "entry/PrintPreview.h"
#include "entry/TestPage.h"
#include "platform/RunPath.h"
#include "platform/printing/PrintService.h"
#include "shell/AppContext.h"
#include "shell/StartUp.h"
#include "shell/UserMessages.h"
#include "shell/WindowSettings.h"
#include "shell/WindowParts.h"

#include <QComboBox>
#include <QDesktopServices>
#include <QEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QUrl>
#include <QUrlQuery>
#include <QVBoxLayout>

namespace slipcraft {

namespace {

const QString kHint = QStringLiteral("提示");

QSpinBox* spinBox(const char* name, int minimum, int maximum, int value, QWidget* parent)
{
    auto* box = new QSpinBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setRange(minimum, maximum);
    box->setValue(value);
    return box;
}

} // namespace

TfrmPrintOffset::TfrmPrintOffset(AppContext& context, int templateId, QWidget* parent)
    : QDialog(parent)
    , context_(context)
{
    setObjectName(QStringLiteral("frmPrintOffset"));
    buildWindow();
    listTemplates(templateId);
    FormFaceLoad(this, context_.userIniFile());
}

TfrmPrintOffset::~TfrmPrintOffset()
{
    // Fields losing the focus while the window is taken down must not save into it.
    for (QSpinBox* field : {edtXMove, edtYMove, edtPWidth, edtPHeight})
        disconnect(field, &QSpinBox::editingFinished, this, nullptr);
}

void TfrmPrintOffset::execute(AppContext& context, int templateId, QWidget* parent)
{
    auto* window = new TfrmPrintOffset(context, templateId, parent);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->exec();
}

void TfrmPrintOffset::buildWindow()
{
    const TemplateFrame initial;
    lstTemplates = new QListWidget(this);
    lstTemplates->setObjectName(QStringLiteral("lstTemplates"));
    lbCurrent = new QLabel(QStringLiteral("当前调整："), this);
    lbCurrent->setObjectName(QStringLiteral("lbCurrent"));

    edtXMove = spinBox("edtXMove", -kMoveLimit, kMoveLimit, initial.xMove, this);
    edtYMove = spinBox("edtYMove", -kMoveLimit, kMoveLimit, initial.yMove, this);
    edtTWidth = spinBox("edtTWidth", kPictureWidthMin, kPictureWidthMax, initial.pictureWidth, this);
    edtTHeight = spinBox("edtTHeight", kPictureHeightMin, kPictureHeightMax, initial.pictureHeight, this);
    edtPWidth = spinBox("edtPWidth", kPaperWidthMin, kPaperMax, initial.paperWidth, this);
    edtPHeight = spinBox("edtPHeight", kPaperHeightMin, kPaperMax, initial.paperHeight, this);
    lbXMoveCm = new QLabel(this);
    lbYMoveCm = new QLabel(this);
    lbPWidthCm = new QLabel(this);
    lbPHeightCm = new QLabel(this);
    lbXMoveCm->setObjectName(QStringLiteral("lbXMoveCm"));
    lbYMoveCm->setObjectName(QStringLiteral("lbYMoveCm"));
    lbPWidthCm->setObjectName(QStringLiteral("lbPWidthCm"));
    lbPHeightCm->setObjectName(QStringLiteral("lbPHeightCm"));
    const std::pair<QSpinBox*, QLabel*> shownInCm[] = {
        {edtXMove, lbXMoveCm}, {edtYMove, lbYMoveCm}, {edtPWidth, lbPWidthCm}, {edtPHeight, lbPHeightCm}};
    for (const auto& [field, label] : shownInCm) {
        label->setText(centimetreText(field->value()));
        connect(field, &QSpinBox::valueChanged, label, [label = label](int value) { label->setText(centimetreText(value)); });
        connect(field, &QSpinBox::editingFinished, this, [this] { save(true); });
    }
    // Sizes of the form on screen change rarely: a double click unlocks them.
    for (QSpinBox* field : {edtTWidth, edtTHeight}) {
        field->setReadOnly(true);
        field->setToolTip(QStringLiteral("双击解锁或锁定"));
        if (auto* edit = field->findChild<QLineEdit*>())
            edit->installEventFilter(this);
    }

    btLeft = new QPushButton(QStringLiteral("←"), this);
    btRight = new QPushButton(QStringLiteral("→"), this);
    btUp = new QPushButton(QStringLiteral("↑"), this);
    btDown = new QPushButton(QStringLiteral("↓"), this);
    btLeft->setObjectName(QStringLiteral("btLeft"));
    btRight->setObjectName(QStringLiteral("btRight"));
    btUp->setObjectName(QStringLiteral("btUp"));
    btDown->setObjectName(QStringLiteral("btDown"));
    connect(btLeft, &QPushButton::clicked, this, [this] { nudge(-1, 0); });
    connect(btRight, &QPushButton::clicked, this, [this] { nudge(1, 0); });
    connect(btUp, &QPushButton::clicked, this, [this] { nudge(0, -1); });
    connect(btDown, &QPushButton::clicked, this, [this] { nudge(0, 1); });

    rbPortrait = new QRadioButton(QStringLiteral("纵向"), this);
    rbLandscape = new QRadioButton(QStringLiteral("横向"), this);
    rbPortrait->setObjectName(QStringLiteral("rbPortrait"));
    rbLandscape->setObjectName(QStringLiteral("rbLandscape"));
    rbPortrait->setChecked(true);

    btSave = new QPushButton(QStringLiteral("保存整体设置"), this);
    btAdjustItems = new QPushButton(QStringLiteral("整体上差不多，我要调整某单项的打印位置"), this);
    btPreview = new QPushButton(QStringLiteral("预览"), this);
    btAlignmentPage = new QPushButton(QStringLiteral("打印对位页"), this);
    cbPrinter = new QComboBox(this);
    btSave->setObjectName(QStringLiteral("btSave"));
    btAdjustItems->setObjectName(QStringLiteral("btAdjustItems"));
    btPreview->setObjectName(QStringLiteral("btPreview"));
    btAlignmentPage->setObjectName(QStringLiteral("btAlignmentPage"));
    cbPrinter->setObjectName(QStringLiteral("cbPrinter"));
    btAlignmentPage->setToolTip(QStringLiteral("在白纸上打印毫米网格、各项目的方框和示例内容，对着票据透光比较，读出需要的偏移"));
    cbPrinter->addItems(context_.printerList());
    if (PrintService* service = context_.printService())
        cbPrinter->setCurrentText(service->currentPrinter());
    connect(btSave, &QPushButton::clicked, this, [this] { save(false); });
    connect(btAdjustItems, &QPushButton::clicked, this, &TfrmPrintOffset::adjustItems);
    connect(btPreview, &QPushButton::clicked, this, &TfrmPrintOffset::openPreview);
    connect(btAlignmentPage, &QPushButton::clicked, this, &TfrmPrintOffset::printAlignment);

    QLabel* portraitFeed = linkLabel(this, QStringLiteral("纵向进纸示意图"), "lbPortraitFeed");
    QLabel* landscapeFeed = linkLabel(this, QStringLiteral("横向进纸示意图"), "lbLandscapeFeed");
    QLabel* recommended = linkLabel(this, QStringLiteral("查看推荐的偏移参数"), "lbRecommended");
    connect(portraitFeed, &QLabel::linkActivated, this, [this] { showFeedPicture(QStringLiteral("image/sys_exZX.jpg")); });
    connect(landscapeFeed, &QLabel::linkActivated, this, [this] { showFeedPicture(QStringLiteral("image/sys_exHX.jpg")); });
    connect(recommended, &QLabel::linkActivated, this, &TfrmPrintOffset::openRecommendedOffsets);

    auto* offsets = new QGroupBox(QStringLiteral("整体打印偏移（单位：0.1毫米）"), this);
    auto* offsetGrid = new QGridLayout(offsets);
    offsetGrid->addWidget(new QLabel(QStringLiteral("整体打印右移："), offsets), 0, 0);
    offsetGrid->addWidget(edtXMove, 0, 1);
    offsetGrid->addWidget(lbXMoveCm, 0, 2);
    offsetGrid->addWidget(btLeft, 0, 3);
    offsetGrid->addWidget(btRight, 0, 4);
    offsetGrid->addWidget(new QLabel(QStringLiteral("整体打印下移："), offsets), 1, 0);
    offsetGrid->addWidget(edtYMove, 1, 1);
    offsetGrid->addWidget(lbYMoveCm, 1, 2);
    offsetGrid->addWidget(btUp, 1, 3);
    offsetGrid->addWidget(btDown, 1, 4);
    offsetGrid->addWidget(lbCurrent, 2, 0, 1, 5);

    auto* picture = new QGroupBox(QStringLiteral("界面大小（像素）：影响填单界面，不影响打印效果"), this);
    auto* pictureForm = new QFormLayout(picture);
    pictureForm->addRow(QStringLiteral("界面宽："), edtTWidth);
    pictureForm->addRow(QStringLiteral("界面高："), edtTHeight);

    auto* paper = new QGroupBox(QStringLiteral("票面大小（0.1毫米）：影响预览效果，不影响打印效果"), this);
    auto* paperGrid = new QGridLayout(paper);
    paperGrid->addWidget(new QLabel(QStringLiteral("票面宽："), paper), 0, 0);
    paperGrid->addWidget(edtPWidth, 0, 1);
    paperGrid->addWidget(lbPWidthCm, 0, 2);
    paperGrid->addWidget(new QLabel(QStringLiteral("票面高："), paper), 1, 0);
    paperGrid->addWidget(edtPHeight, 1, 1);
    paperGrid->addWidget(lbPHeightCm, 1, 2);

    auto* orientation = new QGroupBox(QStringLiteral("打印方向"), this);
    auto* orientationRow = new QHBoxLayout(orientation);
    orientationRow->addWidget(rbPortrait);
    orientationRow->addWidget(rbLandscape);
    orientationRow->addStretch();
    orientationRow->addWidget(portraitFeed);
    orientationRow->addWidget(landscapeFeed);

    auto* alignmentRow = new QHBoxLayout;
    alignmentRow->addWidget(btAlignmentPage);
    alignmentRow->addWidget(cbPrinter, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btSave);
    buttons->addWidget(btPreview);
    buttons->addStretch();
    buttons->addWidget(recommended);

    auto* right = new QVBoxLayout;
    right->addWidget(offsets);
    right->addWidget(picture);
    right->addWidget(paper);
    right->addWidget(orientation);
    right->addLayout(alignmentRow);
    right->addLayout(buttons);
    right->addWidget(btAdjustItems);
    right->addStretch();

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(lstTemplates, 1);
    layout->addLayout(right, 2);
    resize(760, 480);
    for (QPushButton* button : findChildren<QPushButton*>())
        button->setAutoDefault(false);

    connect(lstTemplates, &QListWidget::currentRowChanged, this, &TfrmPrintOffset::templateChosen);
}

void TfrmPrintOffset::listTemplates(int templateId)
{
    QList<ListedTemplate> listed;
    try {
        listed = loadEnabledTemplates(context_.db());
    } catch (const DatabaseError&) {
        // An unreadable list leaves the window empty; every action then asks for a template.
    }
    int chosen = -1;
    {
        const QSignalBlocker blocker(lstTemplates);
        for (const ListedTemplate& entry : listed) {
            auto* item = new QListWidgetItem(entry.name, lstTemplates);
            item->setData(Qt::UserRole, entry.id);
            if (entry.id == templateId && chosen < 0)
                chosen = lstTemplates->count() - 1;
        }
    }
    if (chosen < 0 && templateId > 0)
        context_.messages().show(QStringLiteral("没有找到编号为") + QString::number(templateId)
                                 + QStringLiteral("的票据，请查看是否存在或被隐藏。"));
    if (lstTemplates->count() == 0)
        return;
    const QSignalBlocker blocker(lstTemplates);
    lstTemplates->setCurrentRow(std::max(chosen, 0));
    templateChosen();
}

void TfrmPrintOffset::templateChosen()
{
    const QListWidgetItem* item = lstTemplates->currentItem();
    currentLabel_ = QStringLiteral("当前调整：") + (item ? item->text() : QString());
    lbCurrent->setText(currentLabel_);
    loadParam();
}

void TfrmPrintOffset::loadParam()
{
    if (!lstTemplates->currentItem() && lstTemplates->count() > 0) {
        const QSignalBlocker blocker(lstTemplates);
        lstTemplates->setCurrentRow(0);
    }
    const QListWidgetItem* item = lstTemplates->currentItem();
    std::optional<StoredFrame> stored;
    try {
        if (item)
            stored = loadTemplateFrame(context_.db(), item->text());
    } catch (const DatabaseError&) {
        // Swallowed like every database error of this window: the fields stay as they are.
        return;
    }
    if (!stored) {
        // Nothing to store the fields into.
        id_ = 0;
        edtXMove->setValue(0);
        edtYMove->setValue(0);
        return;
    }
    id_ = stored->id;
    setWindowTitle(stored->name + QLatin1Char('-') + QString::number(stored->id));
    showFrame(stored->frame);
}

void TfrmPrintOffset::showFrame(const TemplateFrame& frame)
{
    edtXMove->setValue(frame.xMove);
    edtYMove->setValue(frame.yMove);
    edtTWidth->setValue(frame.pictureWidth);
    edtTHeight->setValue(frame.pictureHeight);
    edtPWidth->setValue(frame.paperWidth);
    edtPHeight->setValue(frame.paperHeight);
    rbLandscape->setChecked(frame.landscape);
    rbPortrait->setChecked(!frame.landscape);
}

TemplateFrame TfrmPrintOffset::fields() const
{
    TemplateFrame frame;
    frame.xMove = edtXMove->value();
    frame.yMove = edtYMove->value();
    frame.pictureWidth = edtTWidth->value();
    frame.pictureHeight = edtTHeight->value();
    frame.paperWidth = edtPWidth->value();
    frame.paperHeight = edtPHeight->value();
    frame.landscape = !rbPortrait->isChecked();
    return frame;
}

void TfrmPrintOffset::save(bool quiet)
{
    if (id_ <= 0) {
        context_.messages().show(QStringLiteral("请选择要设置的票据类型！"));
        return;
    }
    QString error;
    const FrameSaved saved = saveTemplateFrame(context_.db(), id_, fields(), &error);
    if (!error.isEmpty())
        context_.DebugOutN(QStringLiteral("PrintOffset"), error);
    const FrameSaveReport report = frameSaveReport(saved, quiet);
    if (!report.inBox) {
        setWindowTitle(report.text);
        return;
    }
    context_.messages().show(report.text, kHint,
                             report.closesWindow ? UserMessages::Icon::Error : UserMessages::Icon::Information);
    if (report.closesWindow)
        close();
    else
        setWindowTitle(currentLabel_);
}

void TfrmPrintOffset::nudge(int dx, int dy)
{
    if (id_ <= 0) {
        context_.messages().show(QStringLiteral("请在左侧选择要设置的快递单据！"));
        return;
    }
    edtXMove->setValue(edtXMove->value() + dx * kNudgeStep);
    edtYMove->setValue(edtYMove->value() + dy * kNudgeStep);
    save(true);
}

void TfrmPrintOffset::togglePictureField(QSpinBox* field)
{
    field->setReadOnly(!field->isReadOnly());
}

bool TfrmPrintOffset::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonDblClick) {
        for (QSpinBox* field : {edtTWidth, edtTHeight}) {
            if (watched->parent() == field) {
                togglePictureField(field);
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmPrintOffset::showFeedPicture(const QString& file)
{
    const QString path = findIgnoringCase(context_.getRunPath(), file);
    QImageReader reader(path);
    const QImage picture = reader.read();
    if (picture.isNull()) {
        context_.messages().show(QStringLiteral("无法读取图片文件：") + path + QStringLiteral("（") + reader.errorString()
                                     + QStringLiteral("）"),
                                 kHint);
        return;
    }
    auto* window = new TfrmImageShow(context_, this);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setPicture(QPixmap::fromImage(picture));
    window->resize(400, 400);
    window->show();
}

void TfrmPrintOffset::openRecommendedOffsets()
{
    QUrl page(QStringLiteral("https://") + kMakerSite + QStringLiteral("/slipcraft/offsets"));
    QUrlQuery query;
    if (const QListWidgetItem* item = lstTemplates->currentItem())
        query.addQueryItem(QStringLiteral("type"), item->text());
    page.setQuery(query);
    QDesktopServices::openUrl(page);
}

void TfrmPrintOffset::adjustItems()
{
    context_.currentTemplateId = id_;
    emit adjustItemsRequested(id_);
    close();
}

void TfrmPrintOffset::openPreview()
{
    Tfm_PrintPreview::execute(context_, id_, this);
}

void TfrmPrintOffset::printAlignment()
{
    if (id_ <= 0) {
        context_.messages().show(QStringLiteral("请选择要设置的票据类型！"));
        return;
    }
    PrintService* service = context_.printService();
    if (!service || context_.printerList().isEmpty()) {
        context_.messages().show(QStringLiteral("你需要安装打印机才能打印！"), QStringLiteral("错误"),
                                 UserMessages::Icon::Error);
        return;
    }
    // Only for this page: later bills go to the printer that was current.
    const QString current = service->currentPrinter();
    service->selectPrinter(cbPrinter->currentText());
    const QString error = printAlignmentPage(context_, id_, service->printer());
    service->selectPrinter(current);
    if (!error.isEmpty())
        context_.messages().show(error, kHint, UserMessages::Icon::Error);
}

void TfrmPrintOffset::done(int result)
{
    FormFaceSave(this, context_.userIniFile());
    QDialog::done(result);
}

} // namespace slipcraft
