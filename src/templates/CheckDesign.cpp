#include "templates/CheckDesign.h"

#include "entry/ImageShow.h"
#include "entry/InputValue.h"
#include "platform/RunPath.h"
#include "platform/printing/FontFaces.h"
#include "shell/AppContext.h"
#include "shell/UserMessages.h"
#include "shell/WindowParts.h"
#include "shell/WindowSettings.h"
#include "templates/Catalogue.h"
#include "templates/FormPicture.h"
#include "templates/LayoutUndo.h"
#include "templates/TemplateDesigner.h"
#include "wording/Functions.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QSplitter>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace slipcraft {

namespace {

const QColor kSelectedColour(Qt::red);
const QColor kItemColour(160, 177, 243);
const QString kHint = QStringLiteral("提示");
const QString kNoSelection = QStringLiteral("请选择左侧需要配置或修改的项目！");
const QString kMaintenanceNote = QStringLiteral("该模块仅供Marrowind特权维护使用,系统觉得你好像不是Marrowind！");
const QString kTips = QStringLiteral(
    "1. 左侧列表或图片上点击一个项目即选中它，红色为当前项目。\n"
    "2. 拖动项目或按 Ctrl+方向键（加 Shift 每次10像素）只调整屏幕上输入框的位置，不影响打印位置；"
    "Shift+方向键调整输入框的宽和高。\n"
    "3. 打印位置由“距左”“距顶”决定（单位0.1毫米，从纸张左上角量起），可用箭头按钮每次移动1毫米。\n"
    "4. 勾选“不填写或不打印该项目”后，该项目不再显示在填写界面上，也不会打印。\n"
    "5. “预览打印效果”可以按纸张比例查看和调整所有项目的打印位置。\n"
    "6. Ctrl+Z 撤销，Ctrl+Y 重做。");

// A rectangle item: only a frame, red when selected.
class ShapeControl : public QWidget {
public:
    using QWidget::QWidget;
    void setSelected(bool selected)
    {
        selected_ = selected;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setPen(QPen(selected_ ? kSelectedColour : QColor(Qt::blue), 2));
        painter.drawRect(rect().adjusted(1, 1, -1, -1));
    }

private:
    bool selected_ = false;
};

// How the print position is measured, drawn when the program folder lacks the picture.
QImage positionDiagram()
{
    QImage image(600, 360, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QFont font = painter.font();
    font.setPixelSize(16);
    painter.setFont(font);
    const QRect paper(60, 50, 480, 260);
    painter.setPen(QPen(Qt::black, 2));
    painter.drawRect(paper);
    painter.drawText(QRect(60, 20, 480, 24), Qt::AlignCenter, QStringLiteral("票据纸张（左上角为原点）"));
    const QRect item(250, 150, 180, 36);
    painter.setPen(QPen(Qt::red, 2));
    painter.drawRect(item);
    painter.drawText(item, Qt::AlignCenter, QStringLiteral("打印项目"));
    painter.setPen(QPen(Qt::blue, 2, Qt::DashLine));
    painter.drawLine(paper.left(), item.top(), item.left(), item.top());
    painter.drawLine(item.left(), paper.top(), item.left(), item.top());
    painter.setPen(Qt::blue);
    painter.drawText(QRect(paper.left(), item.top() - 26, item.left() - paper.left(), 24), Qt::AlignCenter,
                     QStringLiteral("距左"));
    painter.drawText(QRect(item.left() + 6, paper.top(), 80, item.top() - paper.top()), Qt::AlignVCenter,
                     QStringLiteral("距顶"));
    painter.setPen(Qt::black);
    painter.drawText(QRect(60, 318, 480, 30), Qt::AlignCenter,
                     QStringLiteral("单位：0.1毫米，例如 距左=250 表示离纸张左边缘25毫米"));
    return image;
}

} // namespace

TfmCheckDesign::TfmCheckDesign(AppContext& context, int templateId, QWidget* parent, const QString& presetBillType)
    : QDialog(parent)
    , context_(context)
    , history_(context.db())
{
    setObjectName(QStringLiteral("fmCheckDesign"));
    setWindowTitle(QStringLiteral("模板设计"));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    buildWindow();
    connectFields();
    resize(1150, 700);
    FormFaceLoad(this, context_.userIniFile());
    if (!chooseOpeningTemplate(templateId, presetBillType))
        return;
    loadTemplate(id_, true);
    loadItemList();
}

TfmCheckDesign::~TfmCheckDesign() = default;

bool TfmCheckDesign::chooseOpeningTemplate(int templateId, const QString& presetBillType)
{
    Catalogue& catalogue = context_.catalogue();
    {
        const QSignalBlocker block(cbBillType);
        cbBillType->addItems(catalogue.loadCheckTypeFirstNameList());
    }
    int id = templateId > 0 ? templateId : context_.currentTemplateId;
    if (id <= 0) {
        const QString billType = presetBillType.isEmpty() ? catalogue.loadDefaultTypeFirstName() : presetBillType;
        if (!billType.isEmpty())
            id = catalogue.loadDefaultCheckTypeId(billType);
    }
    if (id <= 0) {
        say(QStringLiteral("系统没有任何可用的模板信息，请确保软件数据完整~"));
        id_ = 0;
        return false;
    }
    id_ = id;
    billType_ = catalogue.loadCheckTypeFirstNameByID(id);
    {
        const QSignalBlocker block(cbBillType);
        cbBillType->setCurrentText(billType_);
    }
    fillTemplateChooser();
    return true;
}

void TfmCheckDesign::buildWindow()
{
    undo_ = new LayoutUndo(this, history_, context_.messages(), [this](const QString& done) { afterHistoryMove(done); });

    cbBillType = named(new QComboBox(this), "cbBillType");
    cbTemplate = named(new QComboBox(this), "cbTemplate");
    cbTemplate->installEventFilter(this);
    lstItems = named(new QListWidget(this), "lstItems");
    lstItems->setContextMenuPolicy(Qt::CustomContextMenu);

    imgForm = named(new QLabel, "imgForm");
    imgForm->setMouseTracking(true);
    imgForm->installEventFilter(this);
    imgForm->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    scrollPicture = named(new QScrollArea(this), "scrollPicture");
    scrollPicture->setWidget(imgForm);
    scrollPicture->setBackgroundRole(QPalette::Dark);

    auto* left = new QWidget(this);
    left->setFixedWidth(200);
    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    leftLayout->addWidget(new QLabel(QStringLiteral("票据种类："), left));
    leftLayout->addWidget(cbBillType);
    leftLayout->addWidget(new QLabel(QStringLiteral("票据模板："), left));
    leftLayout->addWidget(cbTemplate);
    leftLayout->addWidget(new QLabel(QStringLiteral("调整项目（右击定义勾选项目）："), left));
    leftLayout->addWidget(lstItems, 1);
    auto* refresh = commandButton(left, QStringLiteral("刷 新(&R)"), "btRefresh");
    leftLayout->addWidget(refresh);
    connect(refresh, &QPushButton::clicked, this, [this] { loadTemplate(id_, true); });

    tabs = named(new QTabWidget(this), "tabs");
    tabs->setFixedWidth(360);
    tabs->addTab(buildFieldsPanel(), QStringLiteral("项目打印设置"));
    tabs->addTab(new QWidget(tabs), QStringLiteral("整体打印偏移"));
    auto* maintenance = new QLabel(kMaintenanceNote, tabs);
    maintenance->setObjectName(QStringLiteral("lbMaintenance"));
    maintenance->setWordWrap(true);
    maintenance->setAlignment(Qt::AlignCenter);
    tabs->addTab(maintenance, QStringLiteral("Marrowind通道"));

    lbMessage = named(new QLabel(this), "lbMessage");
    lbMessage->setAutoFillBackground(true);
    lbMessage->hide();
    lbStatus = named(new QLabel(this), "lbStatus");
    lbStatus->setFrameShape(QFrame::StyledPanel);
    lbStatus->setMinimumHeight(lbStatus->fontMetrics().height() + 6);
    blink = new QTimer(this);
    blink->setInterval(2000);
    connect(blink, &QTimer::timeout, this, [this] {
        if (lbMessage->text().isEmpty()) {
            lbMessage->hide();
            return;
        }
        QPalette colours = lbMessage->palette();
        const bool yellow = colours.color(QPalette::Window) == QColor(Qt::yellow);
        colours.setColor(QPalette::Window, yellow ? palette().color(QPalette::Window) : QColor(Qt::yellow));
        lbMessage->setPalette(colours);
    });
    blink->start();

    auto* middle = new QHBoxLayout;
    middle->addWidget(left);
    middle->addWidget(scrollPicture, 1);
    middle->addWidget(tabs);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(middle, 1);
    layout->addWidget(lbMessage);
    layout->addWidget(lbStatus);


    // The keyboard moves and sizes the selected input box on the screen.
    struct Key {
        QKeySequence keys;
        std::function<void()> run;
    };
    const Key keys[] = {
        {QKeySequence(Qt::CTRL | Qt::Key_Left), [this] { moveControl({-1, 0}); }},
        {QKeySequence(Qt::CTRL | Qt::Key_Right), [this] { moveControl({1, 0}); }},
        {QKeySequence(Qt::CTRL | Qt::Key_Up), [this] { moveControl({0, -1}); }},
        {QKeySequence(Qt::CTRL | Qt::Key_Down), [this] { moveControl({0, 1}); }},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Left), [this] { moveControl({-10, 0}); }},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Right), [this] { moveControl({10, 0}); }},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Up), [this] { moveControl({0, -10}); }},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Down), [this] { moveControl({0, 10}); }},
        {QKeySequence(Qt::SHIFT | Qt::Key_Left), [this] { resizeControl({-1, 0}); }},
        {QKeySequence(Qt::SHIFT | Qt::Key_Right), [this] { resizeControl({1, 0}); }},
        {QKeySequence(Qt::SHIFT | Qt::Key_Up), [this] { resizeControl({0, -1}); }},
        {QKeySequence(Qt::SHIFT | Qt::Key_Down), [this] { resizeControl({0, 1}); }},
    };
    for (const Key& key : keys) {
        auto* action = new QAction(this);
        action->setShortcut(key.keys);
        connect(action, &QAction::triggered, this, key.run);
        addAction(action);
    }
}

QWidget* TfmCheckDesign::buildFieldsPanel()
{
    auto* panel = new QWidget(this);
    auto* layout = new QVBoxLayout(panel);

    auto* print = new QGroupBox(QStringLiteral("打印位置（单位：0.1毫米）"), panel);
    auto* printGrid = new QGridLayout(print);
    edtCtlX = numberBox(print, "edtCtlX", 0, 5000, 0);
    edtCtlY = numberBox(print, "edtCtlY", 0, 5000, 0);
    auto* up = commandButton(print, QStringLiteral("↑"), "btPrintUp");
    auto* down = commandButton(print, QStringLiteral("↓"), "btPrintDown");
    auto* leftArrow = commandButton(print, QStringLiteral("←"), "btPrintLeft");
    auto* rightArrow = commandButton(print, QStringLiteral("→"), "btPrintRight");
    for (QPushButton* arrow : {up, down, leftArrow, rightArrow})
        arrow->setFixedWidth(36);
    QLabel* leftCaption = linkLabel(print, QStringLiteral("距左:"), "lbCtlX");
    QLabel* topCaption = linkLabel(print, QStringLiteral("距顶:"), "lbCtlY");
    printGrid->addWidget(leftCaption, 0, 0);
    printGrid->addWidget(edtCtlX, 0, 1);
    printGrid->addWidget(topCaption, 1, 0);
    printGrid->addWidget(edtCtlY, 1, 1);
    printGrid->addWidget(up, 0, 3);
    printGrid->addWidget(leftArrow, 1, 2);
    printGrid->addWidget(rightArrow, 1, 4);
    printGrid->addWidget(down, 2, 3);
    QLabel* measure = linkLabel(print, QStringLiteral("测量示意"), "lbMeasure");
    QLabel* portrait = linkLabel(print, QStringLiteral("纵向进纸示意图"), "lbPortraitFeed");
    QLabel* landscape = linkLabel(print, QStringLiteral("横向进纸示意图"), "lbLandscapeFeed");
    auto* pictures = new QHBoxLayout;
    pictures->addWidget(measure);
    pictures->addWidget(portrait);
    pictures->addWidget(landscape);
    printGrid->addLayout(pictures, 3, 0, 1, 5);

    auto* font = new QGroupBox(QStringLiteral("打印字体"), panel);
    auto* fontGrid = new QGridLayout(font);
    cbFontName = named(new QComboBox(font), "cbFontName");
    cbFontName->setEditable(true);
    cbFontName->addItems(fontChoices());
    edtFontSize = numberBox(font, "edtFontSize", 6, 25, 9);
    ckBold = named(new QCheckBox(QStringLiteral("加粗"), font), "ckBold");
    ckItalic = named(new QCheckBox(QStringLiteral("倾斜"), font), "ckItalic");
    ckUnderLine = named(new QCheckBox(QStringLiteral("下划线"), font), "ckUnderLine");
    lbSample = named(new QLabel(QStringLiteral("打印预览字体,ABC,abc,123"), font), "lbSample");
    fontGrid->addWidget(new QLabel(QStringLiteral("字体:"), font), 0, 0);
    fontGrid->addWidget(cbFontName, 0, 1, 1, 3);
    fontGrid->addWidget(new QLabel(QStringLiteral("字号:"), font), 1, 0);
    fontGrid->addWidget(edtFontSize, 1, 1);
    auto* styles = new QHBoxLayout;
    styles->addWidget(ckBold);
    styles->addWidget(ckItalic);
    styles->addWidget(ckUnderLine);
    fontGrid->addLayout(styles, 1, 2, 1, 2);
    fontGrid->addWidget(lbSample, 2, 0, 1, 4);

    ckBreak = named(new QCheckBox(QStringLiteral("必要时强制折行打印"), panel), "ckBreak");
    edtBreakNum = numberBox(panel, "edtBreakNum", 1, 120, 60);
    edtLineHeight = numberBox(panel, "edtLineHeight", 20, 150, 50);
    edtBreakFontSize = numberBox(panel, "edtBreakFontSize", 6, 20, 10);
    auto* breaking = new QHBoxLayout;
    breaking->addWidget(edtBreakNum);
    breaking->addWidget(edtLineHeight);
    breaking->addWidget(edtBreakFontSize);
    ckCells = named(new QCheckBox(QStringLiteral("必要时等宽打印"), panel), "ckCells");
    edtFitParam = numberBox(panel, "edtFitParam", 0, 1000, 20);

    auto* screen = new QGroupBox(QStringLiteral("填写界面输入框（像素，不影响打印）"), panel);
    auto* screenGrid = new QGridLayout(screen);
    edtSrcX = numberBox(screen, "edtSrcX", 5, 1000, 5);
    edtSrcY = numberBox(screen, "edtSrcY", 5, 1000, 5);
    edtSrcW = numberBox(screen, "edtSrcW", 8, 1000, 100);
    edtSrcH = numberBox(screen, "edtSrcH", 10, 120, 20);
    screenGrid->addWidget(new QLabel(QStringLiteral("横向X:"), screen), 0, 0);
    screenGrid->addWidget(edtSrcX, 0, 1);
    screenGrid->addWidget(new QLabel(QStringLiteral("纵向Y:"), screen), 0, 2);
    screenGrid->addWidget(edtSrcY, 0, 3);
    screenGrid->addWidget(new QLabel(QStringLiteral("输入框宽:"), screen), 1, 0);
    screenGrid->addWidget(edtSrcW, 1, 1);
    screenGrid->addWidget(new QLabel(QStringLiteral("输入框高:"), screen), 1, 2);
    screenGrid->addWidget(edtSrcH, 1, 3);

    edtInitValue = named(new QLineEdit(panel), "edtInitValue");
    edtInitValue->setPlaceholderText(QStringLiteral("默认值，勾中填写V"));
    ckHidden = named(new QCheckBox(QStringLiteral("不填写或不打印该项目"), panel), "ckHidden");
    auto* save = commandButton(panel, QStringLiteral("保存  设置"), "btSave");
    auto* designer = commandButton(panel, QStringLiteral("预览打印效果"), "btDesigner");
    auto* undo = commandButton(panel, QStringLiteral("撤销"), "btUndo");
    auto* redo = commandButton(panel, QStringLiteral("重做"), "btRedo");
    QLabel* tips = linkLabel(panel, QStringLiteral("【设置技巧】"), "lbTips");

    layout->addWidget(print);
    layout->addWidget(font);
    layout->addWidget(ckBreak);
    layout->addLayout(breaking);
    auto* cells = new QHBoxLayout;
    cells->addWidget(ckCells);
    cells->addWidget(edtFitParam);
    layout->addLayout(cells);
    layout->addWidget(screen);
    layout->addWidget(new QLabel(QStringLiteral("默认值填写内容:"), panel));
    layout->addWidget(edtInitValue);
    layout->addWidget(ckHidden);
    auto* commands = new QHBoxLayout;
    commands->addWidget(save);
    commands->addWidget(designer);
    layout->addLayout(commands);
    auto* history = new QHBoxLayout;
    history->addWidget(undo);
    history->addWidget(redo);
    history->addWidget(tips);
    layout->addLayout(history);
    layout->addStretch();
    showBreakFields(false);
    showCellFields(false);

    connect(up, &QPushButton::clicked, this,
            [this] { nudgePrintPosition(edtCtlY, -10, QStringLiteral("上移了1毫米!"), kNoSelection); });
    connect(down, &QPushButton::clicked, this, [this] {
        nudgePrintPosition(edtCtlY, 10, QStringLiteral("下移了1毫米!"), QStringLiteral("请选择左侧需要设置的项目！"));
    });
    connect(leftArrow, &QPushButton::clicked, this, [this] {
        nudgePrintPosition(edtCtlX, -10, QStringLiteral("左移了1毫米!"), QStringLiteral("请选择左侧需要设置的项目！"));
    });
    connect(rightArrow, &QPushButton::clicked, this, [this] {
        nudgePrintPosition(edtCtlX, 10, QStringLiteral("右移了1毫米!"), QStringLiteral("请选择左侧需要设置的项目！"));
    });
    const auto showPicture = [this](const QString& relative, bool drawn) {
        QString path = findIgnoringCase(context_.getRunPath(), relative);
        if (drawn && !QFileInfo::exists(path)) {
            QDir().mkpath(QFileInfo(path).absolutePath());
            positionDiagram().save(path, "JPG", 92);
        }
        const QPixmap picture(path);
        if (picture.isNull()) {
            say(QStringLiteral("无法读取图片文件：") + path);
            return;
        }
        auto* window = new TfrmImageShow(context_, this);
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->setPicture(picture);
        window->show();
    };
    for (QLabel* caption : {leftCaption, topCaption, measure})
        connect(caption, &QLabel::linkActivated, this,
                [showPicture] { showPicture(QStringLiteral("image/sys_PosExp.jpg"), true); });
    connect(portrait, &QLabel::linkActivated, this, [showPicture] { showPicture(QStringLiteral("image/sys_exZX.jpg"), false); });
    connect(landscape, &QLabel::linkActivated, this,
            [showPicture] { showPicture(QStringLiteral("image/sys_exHX.jpg"), false); });
    connect(save, &QPushButton::clicked, this, [this] { saveItem(false); });
    connect(designer, &QPushButton::clicked, this, &TfmCheckDesign::openDesigner);
    connect(undo, &QPushButton::clicked, this, &TfmCheckDesign::undo);
    connect(redo, &QPushButton::clicked, this, &TfmCheckDesign::redo);
    connect(undo_->undoAction(), &QAction::enabledChanged, undo, &QWidget::setEnabled);
    connect(undo_->redoAction(), &QAction::enabledChanged, redo, &QWidget::setEnabled);
    undo->setEnabled(false);
    redo->setEnabled(false);
    connect(tips, &QLabel::linkActivated, this, [this] { context_.messages().show(kTips, QStringLiteral("设置技巧")); });
    return panel;
}

void TfmCheckDesign::connectFields()
{
    undo_->update();
    connect(cbBillType, &QComboBox::textActivated, this, &TfmCheckDesign::billTypeChosen);
    connect(cbTemplate, &QComboBox::textActivated, this, &TfmCheckDesign::templateChosen);
    connect(lstItems, &QListWidget::itemClicked, this, &TfmCheckDesign::listClicked);
    connect(lstItems, &QListWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        QMenu menu(this);
        menu.addAction(QStringLiteral("勾选项目定义"), this, &TfmCheckDesign::defineTickItems);
        menu.exec(lstItems->viewport()->mapToGlobal(at));
    });
    connect(tabs, &QTabWidget::currentChanged, this, [this](int index) {
        if (index != 1)
            return;
        tabs->setCurrentIndex(0);
        if (!openWholeFormOffset)
            return;
        openWholeFormOffset(id_);
        // The offset window may have resized the picture.
        loadTemplate(id_, true);
    });

    // The screen box follows its fields at once; leaving any field saves.
    for (QSpinBox* field : {edtSrcX, edtSrcY, edtSrcW, edtSrcH})
        connect(field, &QSpinBox::valueChanged, this, [this] {
            if (!loading_)
                applyScreenFields();
        });
    for (QSpinBox* field : {edtCtlX, edtCtlY, edtSrcX, edtSrcY, edtSrcW, edtSrcH, edtBreakNum, edtLineHeight,
                            edtBreakFontSize, edtFitParam})
        connect(field, &QSpinBox::editingFinished, this, &TfmCheckDesign::fieldLeft);
    connect(edtFontSize, &QSpinBox::editingFinished, this, [this] {
        if (!selected_) {
            say(QStringLiteral("请先点击要设置字体的项目,不可见项目在左侧列表点击。"));
            return;
        }
        fieldLeft();
    });
    connect(edtInitValue, &QLineEdit::editingFinished, this, &TfmCheckDesign::fieldLeft);
    for (QCheckBox* box : {ckBold, ckItalic, ckUnderLine, ckHidden})
        connect(box, &QCheckBox::toggled, this, [this] {
            updateSample();
            if (!loading_)
                fieldLeft();
        });
    connect(ckHidden, &QCheckBox::toggled, this, [this](bool hidden) {
        ckHidden->setStyleSheet(hidden ? QStringLiteral("color: red;") : QString());
    });
    connect(ckBreak, &QCheckBox::toggled, this, [this](bool on) {
        showBreakFields(on);
        if (!loading_)
            fieldLeft();
    });
    connect(ckCells, &QCheckBox::toggled, this, [this](bool on) {
        showCellFields(on);
        if (!loading_)
            fieldLeft();
    });
    connect(cbFontName, &QComboBox::currentTextChanged, this, [this] {
        updateSample();
        if (!loading_ && selected_)
            fieldLeft();
    });
    connect(edtFontSize, &QSpinBox::valueChanged, this, &TfmCheckDesign::updateSample);
}

void TfmCheckDesign::fillTemplateChooser()
{
    const QSignalBlocker block(cbTemplate);
    cbTemplate->clear();
    cbTemplate->addItems(context_.catalogue().loadCheckTypeLastNameList(billType_));
    cbTemplate->setCurrentText(context_.catalogue().loadCheckTypeLastNameByID(id_));
}

void TfmCheckDesign::loadItemList()
{
    lstItems->clear();
    try {
        lstItems->addItems(designItemLabels(context_.db(), billType_));
    } catch (const DatabaseError& error) {
        say(QStringLiteral("调入项目参数失败!") + error.text());
    }
}

void TfmCheckDesign::loadTemplate(int templateId, bool force)
{
    if (templateId <= 0 || (templateId == loadedId_ && !force))
        return;
    setStatus(QStringLiteral("没有选中调整项目！"));
    std::optional<TemplateSheet> sheet;
    QList<DesignControl> controls;
    try {
        sheet = loadTemplateSheet(context_.db(), templateId);
    } catch (const DatabaseError&) {
    }
    if (!sheet)
        return;
    id_ = templateId;
    const QString billType = context_.catalogue().loadCheckTypeFirstNameByID(templateId);
    if (billType != billType_) {
        billType_ = billType;
        const QSignalBlocker block(cbBillType);
        cbBillType->setCurrentText(billType_);
        loadItemList();
        fillTemplateChooser();
    }
    templateName_ = sheet->name.isEmpty() ? context_.catalogue().loadCheckTypeLastNameByID(templateId) : sheet->name;
    {
        const QSignalBlocker block(cbTemplate);
        cbTemplate->setCurrentText(context_.catalogue().loadCheckTypeLastNameByID(templateId));
    }
    try {
        controls = loadDesignControls(context_.db(), templateId, billType_);
    } catch (const DatabaseError& error) {
        say(QStringLiteral("调入项目参数失败!") + error.text());
    }
    const QSize size(std::max(1, sheet->screenWidth), std::max(1, sheet->screenHeight));
    imgForm->setFixedSize(size);
    const QImage picture = templatePicture(context_.db(), context_.getRunPath(), sheet->imageFile);
    imgForm->setPixmap(picture.isNull() ? QPixmap() : QPixmap::fromImage(picture.scaled(size)));
    createControls(controls, sheet->tickTitles);
    selected_ = nullptr;
    previous_ = nullptr;
    saved_ = true;
    loadedId_ = templateId;
    setWindowTitle(QStringLiteral("票据设计调整（") + billType_ + QLatin1Char('-') + cbTemplate->currentText()
                   + QStringLiteral("）,ID=") + QString::number(templateId));
}

void TfmCheckDesign::createControls(const QList<DesignControl>& controls, const QString& tickTitles)
{
    qDeleteAll(controls_);
    controls_.clear();
    for (const DesignControl& item : controls) {
        QWidget* control = nullptr;
        const QString text = item.initValue.isEmpty() ? item.label : item.initValue;
        if (item.type == QLatin1String("SHAPE")) {
            control = new ShapeControl(imgForm);
            control->resize(60, 20);
        } else if (item.type == QLatin1String("CHECKBOX")) {
            control = new QCheckBox(item.label, imgForm);
            control->resize(60, 20);
        } else if (item.type == QLatin1String("LABEL")) {
            auto* label = new QLabel(text, imgForm);
            label->resize(50, 16);
            control = label;
        } else if (item.type == QLatin1String("IMAGE")) {
            continue;
        } else {
            auto* edit = new QLineEdit(text, imgForm);
            edit->setFrame(false);
            edit->setReadOnly(true);
            edit->resize(50, 18);
            control = edit;
        }
        control->setObjectName(item.name.toUpper());
        control->setToolTip(item.label);
        control->setProperty("label", item.label);
        control->installEventFilter(this);
        control->setFocusPolicy(Qt::NoFocus);
        if (item.hasLayout)
            control->setGeometry(item.box);
        else
            control->setGeometry(0, 0, 0, 0);
        control->setVisible(item.hasLayout && item.shown);
        paintControl(control, false);
        controls_ << control;
    }
    // The template's free tick items caption the bill type's tick controls.
    const QStringList titles = trimText(tickTitles).isEmpty() ? QStringList() : trimText(tickTitles).split(QLatin1Char(','));
    for (qsizetype i = 0; i < titles.size(); ++i)
        if (auto* box = qobject_cast<QCheckBox*>(designControl(QStringLiteral("DEFCHECK%1").arg(i))))
            box->setText(titles[i]);
}

QWidget* TfmCheckDesign::designControl(const QString& item) const
{
    const QString name = item.toUpper();
    for (QWidget* control : controls_)
        if (control->objectName() == name)
            return control;
    return nullptr;
}

QString TfmCheckDesign::selectedItem() const
{
    return selected_ ? selected_->objectName() : QString();
}

void TfmCheckDesign::paintControl(QWidget* control, bool selected)
{
    if (!control)
        return;
    if (auto* shape = dynamic_cast<ShapeControl*>(control)) {
        shape->setSelected(selected);
        return;
    }
    const QColor colour = selected ? kSelectedColour : kItemColour;
    if (qobject_cast<QLabel*>(control)) {
        // Labels stay see-through unless selected.
        control->setStyleSheet(selected ? QStringLiteral("background-color: %1;").arg(colour.name())
                                        : QStringLiteral("color: %1; background: transparent;").arg(QColor(Qt::blue).name()));
        return;
    }
    control->setStyleSheet(QStringLiteral("background-color: %1; border: none;").arg(colour.name()));
}

void TfmCheckDesign::billTypeChosen(const QString& billType)
{
    if (billType == billType_)
        return;
    if (!saved_)
        saveItem(true);
    billType_ = billType;
    loadItemList();
    if (context_.catalogue().loadCheckTypeFirstNameByID(id_) != billType) {
        const int id = context_.catalogue().loadDefaultCheckTypeId(billType);
        if (id > 0) {
            context_.catalogue().buildCheckIniFile(id_);
            id_ = id;
        }
    }
    fillTemplateChooser();
    loadTemplate(id_, true);
}

void TfmCheckDesign::templateChosen(const QString& name)
{
    const int id = context_.catalogue().loadCheckTypeIDByFirstAndLastName(billType_, name);
    if (id <= 0 || id == id_)
        return;
    if (!saved_)
        saveItem(true);
    // The template left behind shows its new boxes on the entry forms too.
    context_.catalogue().buildCheckIniFile(id_);
    loadTemplate(id);
}

void TfmCheckDesign::listClicked(QListWidgetItem* entry)
{
    if (entry)
        selectLabel(entry->text());
}

void TfmCheckDesign::selectLabel(const QString& label)
{
    if (lstItems->count() == 0) {
        say(QStringLiteral("输入项目获取失败！"));
        return;
    }
    QString item;
    try {
        item = itemNameByLabel(context_.db(), billType_, label);
    } catch (const DatabaseError&) {
    }
    const QList<QListWidgetItem*> entries = lstItems->findItems(label, Qt::MatchExactly);
    if (!entries.isEmpty() && lstItems->currentItem() != entries.first())
        lstItems->setCurrentItem(entries.first());
    selectControl(designControl(item));
}

void TfmCheckDesign::selectControl(QWidget* control)
{
    if (!saved_)
        saveItem(true);
    if (!control) {
        say(QStringLiteral("找不到对应的项目定义~~"));
        return;
    }
    if (selected_ != control) {
        previous_ = selected_;
        paintControl(previous_, false);
    }
    selected_ = control;
    paintControl(control, true);
    const QString label = control->property("label").toString();
    if (lstItems->currentItem() == nullptr || lstItems->currentItem()->text() != label) {
        const QList<QListWidgetItem*> entries = lstItems->findItems(label, Qt::MatchExactly);
        if (!entries.isEmpty()) {
            const QSignalBlocker block(lstItems);
            lstItems->setCurrentItem(entries.first());
        }
    }
    loading_ = true;
    ckHidden->setChecked(control->isHidden());
    loading_ = false;
    if (!control->isHidden())
        control->raise();

    std::optional<ItemSettings> settings;
    try {
        settings = loadItemSettings(context_.db(), id_, control->objectName());
    } catch (const DatabaseError& error) {
        say(QStringLiteral("调入项目参数失败!") + error.text());
        return;
    }
    if (!settings) {
        setStatus(QStringLiteral("还没有该项打印配置信息,添加一个！"));
        saved_ = false;
        saveItem(true);
    } else {
        showSettings(*settings);
    }
    setStatus(QStringLiteral("当前调整:") + label + QStringLiteral("  ") + control->objectName());
}

void TfmCheckDesign::showSettings(const ItemSettings& settings)
{
    loading_ = true;
    edtCtlX->setValue(settings.x);
    edtCtlY->setValue(settings.y);
    edtSrcX->setValue(settings.srcX);
    edtSrcY->setValue(settings.srcY);
    edtSrcH->setValue(settings.srcH);
    edtSrcW->setValue(settings.srcW);
    edtInitValue->setText(settings.initValue);
    edtFontSize->setValue(settings.fontSize);
    const QString font = trimText(settings.fontName);
    if (!font.isEmpty() && cbFontName->findText(font) < 0)
        cbFontName->addItem(font);
    cbFontName->setCurrentText(font);
    ckHidden->setChecked(settings.hidden);
    ckBold->setChecked(settings.bold);
    ckItalic->setChecked(settings.italic);
    ckUnderLine->setChecked(settings.underline);
    edtBreakFontSize->setValue(settings.breakFontSize);
    edtLineHeight->setValue(settings.lineHeight);
    ckBreak->setChecked(settings.breaking);
    edtBreakNum->setValue(settings.breakCount);
    showBreakFields(settings.breaking);
    ckCells->setChecked(settings.cells);
    edtFitParam->setValue(settings.cellWidth);
    showCellFields(settings.cells);
    loading_ = false;
    applyScreenFields();
    updateSample();
}

ItemSettings TfmCheckDesign::fieldSettings() const
{
    ItemSettings settings;
    settings.x = edtCtlX->value();
    settings.y = edtCtlY->value();
    settings.lineHeight = edtLineHeight->value();
    settings.srcX = edtSrcX->value();
    settings.srcY = edtSrcY->value();
    settings.srcW = edtSrcW->value();
    settings.srcH = edtSrcH->value();
    settings.hidden = ckHidden->isChecked();
    settings.fontName = cbFontName->currentText();
    settings.fontSize = edtFontSize->value();
    settings.initValue = edtInitValue->text();
    settings.bold = ckBold->isChecked();
    settings.italic = ckItalic->isChecked();
    settings.underline = ckUnderLine->isChecked();
    settings.breaking = ckBreak->isChecked();
    settings.breakCount = edtBreakNum->value();
    settings.breakFontSize = edtBreakFontSize->value();
    settings.cells = ckCells->isChecked();
    settings.cellWidth = edtFitParam->value();
    return settings;
}

void TfmCheckDesign::applyScreenFields()
{
    if (!selected_)
        return;
    selected_->setGeometry(edtSrcX->value(), edtSrcY->value(), edtSrcW->value(), edtSrcH->value());
    saved_ = false;
}

void TfmCheckDesign::fieldLeft()
{
    if (loading_)
        return;
    if (!selected_) {
        say(kNoSelection);
        return;
    }
    saved_ = false;
    saveItem(true);
}

void TfmCheckDesign::saveItem(bool quiet)
{
    if (!selected_) {
        const QString text = QStringLiteral("部分未启用项目，可以点击左侧列表中的数据项目选中！");
        quiet ? tell(text) : say(text);
        return;
    }
    const QString item = selected_->objectName();
    const QString caption = lstItems->currentItem() ? lstItems->currentItem()->text() : selected_->property("label").toString();
    const ItemSettings settings = fieldSettings();
    SettingsSave result = SettingsSave::Unchanged;
    try {
        history_.record(item, {templateItemRows(id_, {item})},
                        [&] { result = saveItemSettings(context_.db(), id_, item, caption, settings); });
    } catch (const DatabaseError&) {
        say(QStringLiteral("保存设置失败！"));
        // What failed to be written is not left on the screen as if it were.
        if (const std::optional<ItemSettings> stored = loadItemSettings(context_.db(), id_, item))
            showSettings(*stored);
        saved_ = true;
        return;
    }
    undo_->update();
    saved_ = true;
    selected_->setVisible(!settings.hidden);
    const QString name = itemCaption(selected_);
    if (result == SettingsSave::Unchanged) {
        if (!quiet)
            say(QStringLiteral("' ") + name + QStringLiteral("' 打印细节没有变动！"));
        return;
    }
    if (!quiet)
        say(QStringLiteral("' ") + name + QStringLiteral("' 打印细节修改成功！"));
}

QString TfmCheckDesign::itemCaption(QWidget* control) const
{
    if (auto* edit = qobject_cast<QLineEdit*>(control))
        return edit->text();
    if (auto* label = qobject_cast<QLabel*>(control))
        return label->text();
    if (auto* box = qobject_cast<QCheckBox*>(control))
        return QStringLiteral("勾选-") + box->text();
    return lstItems->currentItem() ? lstItems->currentItem()->text() : QStringLiteral("NULL");
}

void TfmCheckDesign::moveControl(QPoint delta)
{
    if (!selected_)
        return;
    const QPoint moved = keptOnPicture(selected_->pos(), delta, imgForm->size());
    selected_->move(moved);
    loading_ = true;
    edtSrcX->setValue(moved.x());
    edtSrcY->setValue(moved.y());
    loading_ = false;
    saved_ = false;
    const int step = std::abs(delta.x() + delta.y());
    const QString direction = delta.x() < 0   ? QStringLiteral("左移了")
                              : delta.y() < 0 ? QStringLiteral("上移了")
                              : delta.x() > 0 ? QStringLiteral("右移了")
                                              : QStringLiteral("下移了");
    tell(direction + QString::number(step) + QStringLiteral("像素")
         + (step == 1 ? QStringLiteral("(Ctrl+Shift+方向键：可更快的移动),移动后不要忘记修正打印距左距顶参数，否则不会影响打印效果哦。")
                      : QStringLiteral("移动后不要忘记修正打印距左距顶参数，否则不会影响打印效果哦。")));
}

void TfmCheckDesign::resizeControl(QSize delta)
{
    if (!selected_)
        return;
    const QSize size(std::max(1, selected_->width() + delta.width()), std::max(1, selected_->height() + delta.height()));
    selected_->resize(size);
    loading_ = true;
    edtSrcW->setValue(size.width());
    edtSrcH->setValue(size.height());
    loading_ = false;
    saved_ = false;
}

void TfmCheckDesign::nudgePrintPosition(QSpinBox* field, int delta, const QString& moved, const QString& noSelection)
{
    if (!selected_) {
        say(noSelection);
        return;
    }
    const std::optional<int> value = nudgedPrintPosition(field->value(), delta);
    if (!value) {
        if (delta < 0)
            say(QStringLiteral("测量数值不可能小于0，请查看打印参数示意图原理~"));
        return;
    }
    loading_ = true;
    field->setValue(*value);
    loading_ = false;
    saved_ = false;
    saveItem(true);
    tell(QStringLiteral("【") + itemCaption(selected_) + QStringLiteral("】项目打印位置") + moved);
}

void TfmCheckDesign::defineTickItems()
{
    QString current;
    try {
        if (const std::optional<TemplateSheet> sheet = loadTemplateSheet(context_.db(), id_))
            current = sheet->tickTitles;
    } catch (const DatabaseError&) {
    }
    const QString answer = giveMeAnValue(this, QStringLiteral("输入勾选项目(以逗号分隔,最多13个,不得重复)："), current,
                                         TfrmInputValue::kString);
    // An empty answer is a cancelled dialog.
    if (answer.isEmpty() || answer == current)
        return;
    const QString titles = cleanTickTitles(answer);
    if (titles.isEmpty()) {
        say(QStringLiteral("输入了无效的字符(引号\\?\\*\\(\\)\\%)!"));
        return;
    }
    try {
        history_.record(QStringLiteral("勾选项目"), {templateRow(id_)}, [&] { storeTickTitles(context_.db(), id_, titles); });
    } catch (const DatabaseError& error) {
        say(QStringLiteral("保存设置失败！") + error.text());
        return;
    }
    undo_->update();
    loadTemplate(id_, true);
}

void TfmCheckDesign::openDesigner()
{
    if (!saved_)
        saveItem(true);
    TfmTemplateDesigner designer(context_, this, &history_);
    designer.setCheckTypeID(id_);
    designer.exec();
    undo_->update();
    const QString item = selectedItem();
    loadTemplate(id_, true);
    if (QWidget* control = designControl(item))
        selectControl(control);
}

void TfmCheckDesign::undo()
{
    undo_->undo();
}

void TfmCheckDesign::redo()
{
    undo_->redo();
}

void TfmCheckDesign::afterHistoryMove(const QString& done)
{
    const QString item = selectedItem();
    loadTemplate(id_, true);
    if (QWidget* control = designControl(item)) {
        saved_ = true;
        selectControl(control);
    }
    setStatus(done);
}

void TfmCheckDesign::showBreakFields(bool on)
{
    ckBreak->setText(on ? QStringLiteral("超      个汉字强制换行,行高       0.1毫米,折行字号")
                        : QStringLiteral("必要时强制折行打印"));
    for (QSpinBox* field : {edtBreakNum, edtLineHeight, edtBreakFontSize})
        field->setVisible(on);
}

void TfmCheckDesign::showCellFields(bool on)
{
    ckCells->setText(on ? QStringLiteral("(邮编等)分格等宽打印,格子宽       (0.1毫米).") : QStringLiteral("必要时等宽打印"));
    edtFitParam->setVisible(on);
}

void TfmCheckDesign::updateSample()
{
    QFont font(printableFace(cbFontName->currentText()));
    font.setPointSize(edtFontSize->value());
    font.setBold(ckBold->isChecked());
    font.setItalic(ckItalic->isChecked());
    font.setUnderline(ckUnderLine->isChecked());
    lbSample->setFont(font);
}

void TfmCheckDesign::done(int result)
{
    if (!saved_ && selected_)
        saveItem(true);
    // Entry forms read the screen boxes from the cache.
    if (id_ > 0)
        context_.catalogue().buildCheckIniFile(id_);
    FormFaceSave(this, context_.userIniFile());
    QDialog::done(result);
}

bool TfmCheckDesign::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == cbTemplate && event->type() == QEvent::FocusIn) {
        context_.catalogue().buildCheckIniFile(id_);
        return false;
    }
    if (watched == imgForm) {
        if (event->type() == QEvent::MouseMove) {
            const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
            setStatus(QStringLiteral("(%1,%2)").arg(at.x()).arg(at.y()));
        } else if (event->type() == QEvent::MouseButtonPress && selected_) {
            saveItem(true);
        }
        return false;
    }
    auto* control = qobject_cast<QWidget*>(watched);
    if (!control || !controls_.contains(control))
        return QDialog::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton)
            return true;
        selectControl(control);
        grab_ = mouse->position().toPoint();
        dragged_ = false;
        return true;
    }
    case QEvent::MouseMove: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (!(mouse->buttons() & Qt::LeftButton) || selected_ != control)
            return true;
        const QPoint topLeft = control->mapToParent(mouse->position().toPoint()) - grab_;
        control->move(topLeft);
        loading_ = true;
        edtSrcX->setValue(topLeft.x());
        edtSrcY->setValue(topLeft.y());
        loading_ = false;
        dragged_ = true;
        saved_ = false;
        const QString text = itemCaption(control).isEmpty() ? control->toolTip() : itemCaption(control);
        tell(QStringLiteral("拖动了【") + text + QStringLiteral("】(精确移动请试试，Ctrl+方向键),拖动不会影响打印位置！"));
        return true;
    }
    case QEvent::MouseButtonRelease:
        if (dragged_) {
            dragged_ = false;
            saveItem(true);
        }
        return true;
    case QEvent::MouseButtonDblClick:
        return true;
    default:
        return QDialog::eventFilter(watched, event);
    }
}

QString TfmCheckDesign::statusText() const
{
    return lbStatus->text();
}

QString TfmCheckDesign::messageText() const
{
    return lbMessage->text();
}

void TfmCheckDesign::say(const QString& text)
{
    context_.messages().show(text, kHint);
}

void TfmCheckDesign::tell(const QString& text)
{
    lbMessage->setText(text);
    lbMessage->setVisible(!text.isEmpty());
}

void TfmCheckDesign::setStatus(const QString& text)
{
    lbStatus->setText(text);
}

} // namespace slipcraft
