#include "templates/TemplateDesigner.h"

#include "entry/PrintRenderer.h"
#include "entry/TestPage.h"
#include "platform/printing/FontFaces.h"
#include "platform/printing/PdfPrinter.h"
#include "shell/AppContext.h"
#include "shell/UserMessages.h"
#include "shell/WindowParts.h"
#include "shell/WindowSettings.h"
#include "templates/Catalogue.h"
#include "templates/FormPicture.h"
#include "templates/LayoutUndo.h"
#include "wording/Functions.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QShowEvent>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QUrl>
#include <QVBoxLayout>

#include <cmath>

namespace slipcraft {

namespace {

const QColor kSelectedColour(Qt::red);
const QColor kItemColour(132, 162, 249);
const QString kChooseGroup = QStringLiteral("请选择分组");
const QString kBreakCaption = QStringLiteral("需换行,超过       个汉字换行打印");
const QString kCellsCaption = QStringLiteral("等宽分布打印,");

QString upper(const QString& item)
{
    return item.toUpper();
}

// The part after "=" of a list entry: the item's name.
QString entryItem(const QString& entry)
{
    return entry.section(QLatin1Char('='), 1);
}

} // namespace

// ---- The page ---------------------------------------------------------------------

DesignerPage::DesignerPage(QWidget* parent)
    : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void DesignerPage::setPicture(const QImage& picture)
{
    picture_ = picture;
    scaledPicture_ = QPixmap();
    update();
}

void DesignerPage::setScale(double mmPerPixel)
{
    mmPerPixel_ = mmPerPixel > 0 ? mmPerPixel : 1.0;
}

void DesignerPage::setLabels(const QList<DesignLabel>& labels)
{
    labels_ = labels;
    dragOffset_ = {};
    update();
}

void DesignerPage::replaceItemLabels(const QString& item, const QList<DesignLabel>& labels)
{
    const QRect before = itemBounds(item);
    labels_.removeIf([&](const DesignLabel& label) { return upper(label.item) == upper(item); });
    labels_ << labels;
    if (upper(dragItem_) == upper(item))
        dragOffset_ = {};
    update(before.united(itemBounds(item)).adjusted(-2, -2, 2, 2));
}

QList<DesignLabel> DesignerPage::itemLabels(const QString& item) const
{
    QList<DesignLabel> found;
    for (const DesignLabel& label : labels_)
        if (upper(label.item) == upper(item))
            found << label;
    return found;
}

void DesignerPage::setSelected(const QStringList& items)
{
    selected_.clear();
    for (const QString& item : items)
        selected_.insert(upper(item));
    update();
}

bool DesignerPage::isSelected(const QString& item) const
{
    return selected_.contains(upper(item));
}

void DesignerPage::setTransparent(bool transparent)
{
    transparent_ = transparent;
    update();
}

void DesignerPage::beginDrag(const QString& item)
{
    dragItem_ = item;
    dragOffset_ = {};
}

QString DesignerPage::itemAt(QPoint at) const
{
    // The last drawn lies on top.
    for (qsizetype i = labels_.size() - 1; i >= 0; --i)
        if (labels_[i].rect.contains(at))
            return labels_[i].item;
    return {};
}

QRect DesignerPage::itemBounds(const QString& item) const
{
    QRect bounds;
    for (const DesignLabel& label : labels_)
        if (upper(label.item) == upper(item))
            bounds = bounds.united(label.rect);
    if (upper(item) == upper(dragItem_))
        bounds = bounds.united(bounds.translated(dragOffset_));
    return bounds;
}

QPoint DesignerPage::itemTopLeft(const QString& item) const
{
    for (const DesignLabel& label : labels_)
        if (upper(label.item) == upper(item))
            return label.rect.topLeft();
    return {};
}

void DesignerPage::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.setClipRegion(event->region());
    painter.fillRect(event->rect(), Qt::white);
    if (!picture_.isNull()) {
        // Scaled once per size: a drag repaints only small parts of it.
        if (scaledPicture_.size() != size())
            scaledPicture_ = QPixmap::fromImage(picture_.scaled(size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
        painter.drawPixmap(event->rect(), scaledPicture_, event->rect());
    }
    for (const DesignLabel& label : std::as_const(labels_)) {
        const bool selected = selected_.contains(upper(label.item));
        QRect box = label.rect;
        if (!dragItem_.isEmpty() && upper(label.item) == upper(dragItem_))
            box.translate(dragOffset_);
        if (!event->region().intersects(box.adjusted(-1, -1, 1, 1)))
            continue;
        if (selected)
            painter.fillRect(box, kSelectedColour);
        else if (!transparent_)
            painter.fillRect(box, kItemColour);
        else {
            painter.setPen(kItemColour);
            painter.drawRect(box.adjusted(0, 0, -1, -1));
        }
        QFont font(printableFace(label.fontName));
        // Points on paper, drawn at the page's scale.
        font.setPixelSize(std::max(1, int(std::lround(label.fontSize * 25.4 / 72.0 / mmPerPixel_))));
        font.setBold(label.bold);
        font.setItalic(label.italic);
        font.setUnderline(label.underline);
        painter.setFont(font);
        painter.setPen(selected ? Qt::white : Qt::black);
        painter.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, label.text);
    }
}

void DesignerPage::mousePressEvent(QMouseEvent* event)
{
    setFocus();
    dragItem_.clear();
    dragOffset_ = {};
    pressedAt_ = event->position().toPoint();
    if (event->button() != Qt::LeftButton)
        return;
    const QString item = itemAt(pressedAt_);
    if (item.isEmpty()) {
        emit pagePressed(pressedAt_);
        return;
    }
    emit labelPressed(item);
}

void DesignerPage::mouseMoveEvent(QMouseEvent* event)
{
    if (dragItem_.isEmpty() || !(event->buttons() & Qt::LeftButton))
        return;
    const QRect before = itemBounds(dragItem_);
    dragOffset_ = event->position().toPoint() - pressedAt_;
    update(before.united(itemBounds(dragItem_)).adjusted(-2, -2, 2, 2));
    emit dragMoved(dragItem_, itemTopLeft(dragItem_) + dragOffset_);
}

void DesignerPage::mouseReleaseEvent(QMouseEvent*)
{
    const QString item = dragItem_;
    const QPoint offset = dragOffset_;
    dragItem_.clear();
    if (!item.isEmpty() && !offset.isNull())
        emit dragFinished(item, itemTopLeft(item) + offset);
    dragOffset_ = {};
}

void DesignerPage::mouseDoubleClickEvent(QMouseEvent* event)
{
    const QString item = itemAt(event->position().toPoint());
    if (!item.isEmpty())
        emit labelDoubleClicked(item);
}

void DesignerPage::keyPressEvent(QKeyEvent* event)
{
    const bool large = event->modifiers() & Qt::ShiftModifier;
    switch (event->key()) {
    case Qt::Key_Left:
        emit nudged(-1, 0, large);
        return;
    case Qt::Key_Right:
        emit nudged(1, 0, large);
        return;
    case Qt::Key_Up:
        emit nudged(0, -1, large);
        return;
    case Qt::Key_Down:
        emit nudged(0, 1, large);
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

// ---- The designer -----------------------------------------------------------------

TfmTemplateDesigner::TfmTemplateDesigner(AppContext& context, QWidget* parent, LayoutHistory* history)
    : QDialog(parent)
    , context_(context)
    , ownHistory_(history ? nullptr : std::make_unique<LayoutHistory>(context.db()))
    , history_(history ? history : ownHistory_.get())
{
    setObjectName(QStringLiteral("fmTemplateDesigner"));
    setWindowTitle(QStringLiteral("打印预览"));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    buildWindow();
    connectFields();
    resize(1180, 720);
    FormFaceLoad(this, context_.userIniFile());
}

TfmTemplateDesigner::~TfmTemplateDesigner() = default;

void TfmTemplateDesigner::buildWindow()
{
    lbTitle = named(new QLabel(this), "lbTitle");
    QFont titleFont = lbTitle->font();
    titleFont.setBold(true);
    titleFont.setPointSize(titleFont.pointSize() + 4);
    lbTitle->setFont(titleFont);

    imgPage = named(new DesignerPage, "imgPage");
    panelTop = named(new QWidget(this), "panelTop");
    auto* top = new QVBoxLayout(panelTop);
    top->setContentsMargins(0, 0, 0, 0);
    top->addWidget(buildPaperPanel());

    scrollPage = named(new QScrollArea(this), "scrollPage");
    scrollPage->setWidget(imgPage);
    scrollPage->setBackgroundRole(QPalette::Dark);

    auto* right = new QWidget(this);
    right->setFixedWidth(330);
    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    rightLayout->addWidget(buildPropertyPanel());
    rightLayout->addWidget(buildBatchPanel());
    rightLayout->addWidget(buildMovePanel());
    rightLayout->addStretch();

    auto* middle = new QHBoxLayout;
    middle->addWidget(buildListPanel());
    middle->addWidget(scrollPage, 1);
    middle->addWidget(right);

    lbStatus = named(new QLabel(this), "lbStatus");
    lbStatus->setFrameShape(QFrame::StyledPanel);
    lbStatus->setMinimumHeight(lbStatus->fontMetrics().height() + 6);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lbTitle);
    layout->addWidget(panelTop);
    layout->addLayout(middle, 1);
    layout->addWidget(lbStatus);

    undo_ = new LayoutUndo(this, *history_, context_.messages(), [this](const QString& done) { afterHistoryMove(done); });
    connect(undo_->undoAction(), &QAction::enabledChanged, btUndo, &QWidget::setEnabled);
    connect(undo_->redoAction(), &QAction::enabledChanged, btRedo, &QWidget::setEnabled);
    btUndo->setEnabled(history_->canUndo());
    btRedo->setEnabled(history_->canRedo());
}

QWidget* TfmTemplateDesigner::buildPaperPanel()
{
    panelPaper = named(new QFrame(this), "panelPaper");
    auto* paper = static_cast<QFrame*>(panelPaper);
    paper->setFrameShape(QFrame::StyledPanel);
    auto* row = new QHBoxLayout(paper);
    row->setContentsMargins(6, 3, 6, 3);
    const auto centimetres = [&](const char* name) {
        auto* box = named(new QDoubleSpinBox(paper), name);
        box->setDecimals(2);
        box->setRange(1, 99.99);
        box->setSuffix(QStringLiteral(" 厘米"));
        return box;
    };
    edtPaperWidth = centimetres("edtPaperWidth");
    edtPaperHeight = centimetres("edtPaperHeight");
    auto* savePaper = commandButton(paper, QStringLiteral("【保存票据设置】"), "btSavePaper");
    edtPicture = named(new QLineEdit(paper), "edtPicture");
    edtPicture->setReadOnly(true);
    auto* browse = commandButton(paper, QStringLiteral("浏览"), "btBrowse");
    cbZoom = named(new QComboBox(paper), "cbZoom");
    for (int zoom : {150, 120, 100, 80, 50})
        cbZoom->addItem(QStringLiteral("%1%").arg(zoom), zoom);
    cbZoom->setCurrentIndex(2);
    btFullScreen = commandButton(paper, QStringLiteral("满屏"), "btFullScreen");
    ckTransparent = named(new QCheckBox(QStringLiteral("透明底色"), paper), "ckTransparent");
    btUndo = commandButton(paper, QStringLiteral("撤销"), "btUndo");
    btUndo->setToolTip(QStringLiteral("撤销上一步修改 (Ctrl+Z)"));
    btRedo = commandButton(paper, QStringLiteral("重做"), "btRedo");
    btRedo->setToolTip(QStringLiteral("重做撤销的修改 (Ctrl+Y)"));
    auto* testPage = commandButton(paper, QStringLiteral("测试页(PDF)"), "btTestPage");
    testPage->setToolTip(QStringLiteral("按当前设置生成对齐测试页的PDF文件并打开"));

    row->addWidget(new QLabel(QStringLiteral("原始单据宽度:"), paper));
    row->addWidget(edtPaperWidth);
    row->addWidget(new QLabel(QStringLiteral("高度:"), paper));
    row->addWidget(edtPaperHeight);
    row->addWidget(savePaper);
    row->addSpacing(12);
    row->addWidget(new QLabel(QStringLiteral("底图源"), paper));
    row->addWidget(edtPicture, 1);
    row->addWidget(browse);
    row->addSpacing(12);
    row->addWidget(new QLabel(QStringLiteral("缩放:"), paper));
    row->addWidget(cbZoom);
    row->addWidget(ckTransparent);
    row->addWidget(btFullScreen);
    row->addSpacing(12);
    row->addWidget(btUndo);
    row->addWidget(btRedo);
    row->addWidget(testPage);

    connect(savePaper, &QPushButton::clicked, this, &TfmTemplateDesigner::savePaperClick);
    connect(browse, &QPushButton::clicked, this, &TfmTemplateDesigner::browsePictureClick);
    connect(cbZoom, &QComboBox::currentIndexChanged, this, &TfmTemplateDesigner::zoomChanged);
    connect(btFullScreen, &QPushButton::clicked, this, &TfmTemplateDesigner::fullScreenClick);
    connect(ckTransparent, &QCheckBox::toggled, imgPage, &DesignerPage::setTransparent);
    connect(btUndo, &QPushButton::clicked, this, &TfmTemplateDesigner::undo);
    connect(btRedo, &QPushButton::clicked, this, &TfmTemplateDesigner::redo);
    connect(testPage, &QPushButton::clicked, this, &TfmTemplateDesigner::testPageClick);
    return paper;
}

QWidget* TfmTemplateDesigner::buildListPanel()
{
    auto* panel = new QWidget(this);
    panel->setFixedWidth(190);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    rbSingle = named(new QRadioButton(QStringLiteral("单选"), panel), "rbSingle");
    rbMulti = named(new QRadioButton(QStringLiteral("多选"), panel), "rbMulti");
    rbSingle->setChecked(true);
    cbGroup = named(new QComboBox(panel), "cbGroup");
    cbGroup->setEditable(true);
    cbGroup->setInsertPolicy(QComboBox::NoInsert);
    cbGroup->lineEdit()->setPlaceholderText(QStringLiteral("例如: 数量*"));
    cbGroup->setToolTip(QStringLiteral("选择分组，或输入项目名称（*代表任意字符，例如: 数量*）后回车"));
    cbGroup->setEnabled(false);
    lstItems = named(new QListWidget(panel), "lstItems");
    lstSelected = named(new QListWidget(panel), "lstSelected");
    lstSelected->setMaximumHeight(150);
    for (QListWidget* list : {lstItems, lstSelected})
        list->setContextMenuPolicy(Qt::CustomContextMenu);

    auto* modes = new QHBoxLayout;
    modes->addWidget(rbSingle);
    modes->addWidget(rbMulti);
    layout->addLayout(modes);
    layout->addWidget(cbGroup);
    layout->addWidget(new QLabel(QStringLiteral("打印项目："), panel));
    layout->addWidget(lstItems, 1);
    layout->addWidget(new QLabel(QStringLiteral("已选项目："), panel));
    layout->addWidget(lstSelected);

    connect(rbMulti, &QRadioButton::toggled, this, [this](bool multi) { setMultiMode(multi); });
    connect(cbGroup, &QComboBox::textActivated, this, &TfmTemplateDesigner::groupChosen);
    connect(cbGroup->lineEdit(), &QLineEdit::returnPressed, this, [this] { groupChosen(cbGroup->currentText()); });
    connect(lstItems, &QListWidget::itemClicked, this, &TfmTemplateDesigner::listClicked);
    connect(lstItems, &QListWidget::itemDoubleClicked, this, &TfmTemplateDesigner::listDoubleClicked);
    connect(lstItems, &QListWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        QMenu menu(this);
        menu.addAction(QStringLiteral("全选"), this, [this] {
            rbMulti->setChecked(true);
            for (int i = 0; i < lstItems->count(); ++i)
                addToSelection(entryItem(lstItems->item(i)->text()));
            showSelection();
        });
        menu.addAction(QStringLiteral("反选"), this, [this] {
            QStringList others;
            for (int i = 0; i < lstItems->count(); ++i) {
                const QString item = entryItem(lstItems->item(i)->text());
                if (!isSelected(item))
                    others << item;
            }
            if (others.size() > 1)
                rbMulti->setChecked(true);
            selection_.clear();
            for (const QString& item : others)
                addToSelection(item);
            if (selection_.size() == 1)
                loadProperties(others.first());
            showSelection();
        });
        menu.exec(lstItems->viewport()->mapToGlobal(at));
    });
    connect(lstSelected, &QListWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        QMenu menu(this);
        menu.addAction(QStringLiteral("清空选择"), this, [this] {
            clearSelection();
            showSelection();
        });
        menu.exec(lstSelected->viewport()->mapToGlobal(at));
    });
    return panel;
}

QWidget* TfmTemplateDesigner::buildPropertyPanel()
{
    panelProps = named(new QGroupBox(QStringLiteral("项目打印属性（单位：0.1毫米）"), this), "panelProps");
    auto* grid = new QGridLayout(panelProps);
    edtCtlX = numberBox(panelProps, "edtCtlX", 0, 3000);
    edtCtlY = numberBox(panelProps, "edtCtlY", 0, 3000);
    edtCtlW = numberBox(panelProps, "edtCtlW", 0, 3000);
    edtCtlH = numberBox(panelProps, "edtCtlH", 0, 3000);
    cbFontName = named(new QComboBox(panelProps), "cbFontName");
    cbFontName->setEditable(true);
    cbFontName->addItems(fontChoices());
    edtFontSize = numberBox(panelProps, "edtFontSize", 6, 20, 9);
    ckBold = named(new QCheckBox(QStringLiteral("粗体"), panelProps), "ckBold");
    ckItalic = named(new QCheckBox(QStringLiteral("斜体"), panelProps), "ckItalic");
    ckUnderLine = named(new QCheckBox(QStringLiteral("下划线"), panelProps), "ckUnderLine");
    ckBreak = named(new QCheckBox(kBreakCaption, panelProps), "ckBreak");
    edtBreakNum = numberBox(panelProps, "edtBreakNum", 1, 200, 50);
    edtLineHeight = numberBox(panelProps, "edtLineHeight", 25, 200, 50);
    edtBreakFontSize = numberBox(panelProps, "edtBreakFontSize", 6, 20, 9);
    ckCells = named(new QCheckBox(kCellsCaption, panelProps), "ckCells");
    edtFitParam = numberBox(panelProps, "edtFitParam", 20, 200, 20);
    edtInitValue = named(new QLineEdit(panelProps), "edtInitValue");
    cbTestData = named(new QComboBox(panelProps), "cbTestData");
    cbTestData->setEditable(true);
    cbTestData->addItems({QStringLiteral("深圳市华强贸易有限公司"), QStringLiteral("518000"), QStringLiteral("0755-83212345"),
                          QStringLiteral("广东省深圳市福田区深南大道1001号"), QStringLiteral("送货单号：20261211-001")});
    for (int digit = 0; digit <= 9; ++digit)
        cbTestData->addItem(QString::number(digit));
    cbTestData->setCurrentIndex(-1);
    auto* updateTest = commandButton(panelProps, QStringLiteral("更新测试"), "btUpdateTest");
    auto* saveItem = commandButton(panelProps, QStringLiteral("【保存项目设置】"), "btSaveItem");

    int row = 0;
    const auto pair = [&](const QString& leftCaption, QWidget* left, const QString& rightCaption, QWidget* right) {
        grid->addWidget(new QLabel(leftCaption, panelProps), row, 0);
        grid->addWidget(left, row, 1);
        grid->addWidget(new QLabel(rightCaption, panelProps), row, 2);
        grid->addWidget(right, row, 3);
        ++row;
    };
    pair(QStringLiteral("距左:"), edtCtlX, QStringLiteral("距顶:"), edtCtlY);
    pair(QStringLiteral("区域宽:"), edtCtlW, QStringLiteral("区域高:"), edtCtlH);
    grid->addWidget(new QLabel(QStringLiteral("打印字体:"), panelProps), row, 0);
    grid->addWidget(cbFontName, row, 1, 1, 3);
    ++row;
    grid->addWidget(new QLabel(QStringLiteral("字号:"), panelProps), row, 0);
    grid->addWidget(edtFontSize, row, 1);
    auto* styles = new QHBoxLayout;
    styles->addWidget(ckBold);
    styles->addWidget(ckItalic);
    styles->addWidget(ckUnderLine);
    grid->addLayout(styles, row, 2, 1, 2);
    ++row;
    grid->addWidget(ckBreak, row++, 0, 1, 4);
    auto* breakFields = named(new QWidget(panelProps), "panelBreak");
    auto* breaking = new QHBoxLayout(breakFields);
    breaking->setContentsMargins(0, 0, 0, 0);
    breaking->addWidget(edtBreakNum);
    breaking->addWidget(new QLabel(QStringLiteral("行高:"), breakFields));
    breaking->addWidget(edtLineHeight);
    breaking->addWidget(new QLabel(QStringLiteral("换行字号:"), breakFields));
    breaking->addWidget(edtBreakFontSize);
    grid->addWidget(breakFields, row++, 0, 1, 4);
    grid->addWidget(ckCells, row, 0, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("字宽:"), panelProps), row, 2);
    grid->addWidget(edtFitParam, row++, 3);
    grid->addWidget(new QLabel(QStringLiteral("默认值："), panelProps), row, 0);
    grid->addWidget(edtInitValue, row++, 1, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("测试数据："), panelProps), row, 0);
    grid->addWidget(cbTestData, row, 1, 1, 2);
    grid->addWidget(updateTest, row++, 3);
    grid->addWidget(saveItem, row++, 0, 1, 4);
    breakFields->hide();

    connect(updateTest, &QPushButton::clicked, this, &TfmTemplateDesigner::updateSampleClick);
    connect(saveItem, &QPushButton::clicked, this, &TfmTemplateDesigner::saveItemClick);
    return panelProps;
}

QWidget* TfmTemplateDesigner::buildBatchPanel()
{
    panelBatch = named(new QTabWidget(this), "panelBatch");
    auto* fonts = new QWidget(panelBatch);
    auto* fontGrid = new QGridLayout(fonts);
    edtBatchFontSize = numberBox(fonts, "edtBatchFontSize", 8, 20, 11);
    cbBatchFont = named(new QComboBox(fonts), "cbBatchFont");
    cbBatchFont->addItem(QString());
    cbBatchFont->addItems(fontChoices());
    auto* applySize = commandButton(fonts, QStringLiteral("批量应用"), "btBatchFontSize");
    auto* applyFont = commandButton(fonts, QStringLiteral("批量应用"), "btBatchFont");
    fontGrid->addWidget(new QLabel(QStringLiteral("批量改字号"), fonts), 0, 0);
    fontGrid->addWidget(edtBatchFontSize, 0, 1);
    fontGrid->addWidget(applySize, 0, 2);
    fontGrid->addWidget(new QLabel(QStringLiteral("批量改字体"), fonts), 1, 0);
    fontGrid->addWidget(cbBatchFont, 1, 1);
    fontGrid->addWidget(applyFont, 1, 2);
    fontGrid->setRowStretch(2, 1);
    panelBatch->addTab(fonts, QStringLiteral("字体字号"));

    auto* align = new QWidget(panelBatch);
    auto* alignGrid = new QGridLayout(align);
    struct Tool {
        const char* caption;
        const char* name;
        std::function<void()> run;
    };
    const QString w = QStringLiteral("CtlW");
    const QString h = QStringLiteral("CtlH");
    const Tool tools[] = {
        {"最左对齐", "btAlignLeft", [this] { batchExtreme(QStringLiteral("CtlX"), false, -1, QStringLiteral("批量修改最左对齐成功！")); }},
        {"最右对齐", "btAlignRight", [this] { batchExtreme(QStringLiteral("CtlX"), true, -1, QStringLiteral("批量修改最右对齐成功！")); }},
        {"最顶对齐", "btAlignTop", [this] { batchExtreme(QStringLiteral("CtlY"), false, -1, QStringLiteral("批量修改距最顶对齐成功！")); }},
        {"最底对齐", "btAlignBottom", [this] { batchExtreme(QStringLiteral("CtlY"), true, -1, QStringLiteral("批量修改距最底对齐成功！")); }},
        {"等宽-最宽", "btWidest", [this, w] { batchExtreme(w, true, 120, QStringLiteral("批量修改等量宽度（最宽）成功！")); }},
        {"等高-最高", "btTallest", [this, h] { batchExtreme(h, true, 40, QStringLiteral("批量修改等量高度（最高）成功！")); }},
        {"等宽-最窄", "btNarrowest", [this, w] { batchExtreme(w, false, 35, QStringLiteral("个批量修改等量宽度(最窄)成功！")); }},
        {"等高-最矮", "btShortest", [this, h] { batchExtreme(h, false, 40, QStringLiteral("个批量修改等量高度(最矮)成功！")); }},
        {"+宽", "btWider", [this, w] { batchGrow(w, 1, QStringLiteral("个批量加宽成功！")); }},
        {"-宽", "btNarrower", [this, w] { batchGrow(w, -1, QStringLiteral("个批量减宽成功！")); }},
        {"+高", "btTaller", [this, h] { batchGrow(h, 1, QStringLiteral("个批量加高成功！")); }},
        {"-高", "btShorter", [this, h] { batchGrow(h, -1, QStringLiteral("个批量减高成功！")); }},
    };
    int index = 0;
    for (const Tool& tool : tools) {
        auto* made = commandButton(align, QString::fromUtf8(tool.caption), tool.name);
        alignGrid->addWidget(made, index / 2, index % 2);
        connect(made, &QPushButton::clicked, this, tool.run);
        ++index;
    }
    panelBatch->addTab(align, QStringLiteral("对齐与大小"));

    auto* spread = new QWidget(panelBatch);
    auto* spreadGrid = new QGridLayout(spread);
    edtSpreadX = numberBox(spread, "edtSpreadX", 20, 1000, 40);
    edtSpreadY = numberBox(spread, "edtSpreadY", 20, 1000, 50);
    auto* spreadX = commandButton(spread, QStringLiteral("批量应用-横向"), "btSpreadX");
    auto* spreadY = commandButton(spread, QStringLiteral("批量应用-纵向"), "btSpreadY");
    spreadGrid->addWidget(new QLabel(QStringLiteral("横向间距(0.1毫米):"), spread), 0, 0);
    spreadGrid->addWidget(edtSpreadX, 0, 1);
    spreadGrid->addWidget(spreadX, 0, 2);
    spreadGrid->addWidget(new QLabel(QStringLiteral("纵向间距(0.1毫米):"), spread), 1, 0);
    spreadGrid->addWidget(edtSpreadY, 1, 1);
    spreadGrid->addWidget(spreadY, 1, 2);
    spreadGrid->setRowStretch(2, 1);
    panelBatch->addTab(spread, QStringLiteral("批量纵向分布"));
    panelBatch->hide();

    connect(applySize, &QPushButton::clicked, this, [this] {
        batchSet(QStringLiteral("CtlFontSize"), edtBatchFontSize->value(), QStringLiteral("修改字号（字体大小）成功！"));
    });
    connect(applyFont, &QPushButton::clicked, this, [this] {
        const QString font = trimText(cbBatchFont->currentText());
        if (font.isEmpty()) {
            say(QStringLiteral("字体必须选择"));
            return;
        }
        batchSet(QStringLiteral("CtlFontName"), font, QStringLiteral("修改字体成功！！"));
    });
    connect(spreadX, &QPushButton::clicked, this, [this] {
        batchSpread(QStringLiteral("CtlX"), edtSpreadX->value(),
                    QStringLiteral("没有找到第一个项目的距左参数,中断分布动作！"));
    });
    connect(spreadY, &QPushButton::clicked, this, [this] {
        batchSpread(QStringLiteral("CtlY"), edtSpreadY->value(),
                    QStringLiteral("没有找到第一个项目的距顶参数,中断分布动作！"));
    });
    return panelBatch;
}

QWidget* TfmTemplateDesigner::buildMovePanel()
{
    auto* panel = new QGroupBox(QStringLiteral("移动选中项目"), this);
    auto* grid = new QGridLayout(panel);
    auto* up = commandButton(panel, QStringLiteral("上移"), "btUp");
    auto* down = commandButton(panel, QStringLiteral("下移"), "btDown");
    auto* left = commandButton(panel, QStringLiteral("左移"), "btLeft");
    auto* right = commandButton(panel, QStringLiteral("右移"), "btRight");
    grid->addWidget(up, 0, 1);
    grid->addWidget(left, 1, 0);
    grid->addWidget(right, 1, 2);
    grid->addWidget(down, 2, 1);
    tbStep = named(new QSlider(Qt::Horizontal, panel), "tbStep");
    tbStep->setRange(1, 100);
    tbStep->setValue(5);
    lbStep = named(new QLabel(QStringLiteral("0.5mm"), panel), "lbStep");
    grid->addWidget(new QLabel(QStringLiteral("步长:"), panel), 3, 0);
    grid->addWidget(tbStep, 3, 1);
    grid->addWidget(lbStep, 3, 2);
    auto* presets = new QHBoxLayout;
    for (int mm : {1, 2, 3, 5, 10}) {
        auto* preset = new QLabel(QStringLiteral("<a href=\"%1\">%1</a>").arg(mm), panel);
        preset->setObjectName(QStringLiteral("lbStep%1").arg(mm));
        preset->setToolTip(QStringLiteral("步长%1毫米").arg(mm));
        presets->addWidget(preset);
        connect(preset, &QLabel::linkActivated, this, [this, mm] { setStep(mm * 10); });
    }
    presets->addWidget(new QLabel(QStringLiteral("毫米"), panel));
    grid->addLayout(presets, 4, 0, 1, 3);

    connect(tbStep, &QSlider::valueChanged, this,
            [this](int value) { lbStep->setText(QString::number(value / 10.0, 'f', 1) + QStringLiteral("mm")); });
    connect(up, &QPushButton::clicked, this, [this, up] { moveSelected(QStringLiteral("CtlY"), -1, up); });
    connect(down, &QPushButton::clicked, this, [this, down] { moveSelected(QStringLiteral("CtlY"), 1, down); });
    connect(left, &QPushButton::clicked, this, [this, left] { moveSelected(QStringLiteral("CtlX"), -1, left); });
    connect(right, &QPushButton::clicked, this, [this, right] { moveSelected(QStringLiteral("CtlX"), 1, right); });
    return panel;
}

void TfmTemplateDesigner::connectFields()
{
    const auto number = [this](QSpinBox* box, const QString& column) {
        connect(box, &QSpinBox::valueChanged, this, [this, column](int value) {
            if (!loading_)
                storeField(column, QString::number(value));
        });
    };
    number(edtCtlX, QStringLiteral("CtlX"));
    number(edtCtlY, QStringLiteral("CtlY"));
    number(edtCtlW, QStringLiteral("CtlW"));
    number(edtCtlH, QStringLiteral("CtlH"));
    number(edtFontSize, QStringLiteral("CtlFontSize"));
    number(edtLineHeight, QStringLiteral("CtlLH"));
    number(edtBreakFontSize, QStringLiteral("BreakFontSize"));
    number(edtBreakNum, QStringLiteral("BreakNum"));
    number(edtFitParam, QStringLiteral("FitParam"));
    const auto style = [this](QCheckBox* box, const QString& column) {
        connect(box, &QCheckBox::toggled, this, [this, column](bool on) {
            if (!loading_)
                storeField(column, on ? QStringLiteral("1") : QStringLiteral("0"));
        });
    };
    style(ckBold, QStringLiteral("Bold"));
    style(ckItalic, QStringLiteral("Italic"));
    style(ckUnderLine, QStringLiteral("UnderLine"));
    connect(cbFontName, &QComboBox::currentTextChanged, this, [this](const QString& text) {
        if (!loading_ && cbFontName->findText(text) >= 0)
            storeField(QStringLiteral("CtlFontName"), trimText(text).isEmpty() ? QStringLiteral("宋体") : text);
    });
    connect(edtInitValue, &QLineEdit::editingFinished, this, [this] {
        if (!loading_)
            storeField(QStringLiteral("InitValue"), edtInitValue->text());
    });
    connect(ckBreak, &QCheckBox::toggled, this, &TfmTemplateDesigner::breakToggled);
    connect(ckCells, &QCheckBox::toggled, this, &TfmTemplateDesigner::cellsToggled);

    connect(imgPage, &DesignerPage::labelPressed, this, &TfmTemplateDesigner::labelPressed);
    connect(imgPage, &DesignerPage::labelDoubleClicked, this, &TfmTemplateDesigner::labelDoubleClicked);
    connect(imgPage, &DesignerPage::dragMoved, this, &TfmTemplateDesigner::dragMoved);
    connect(imgPage, &DesignerPage::dragFinished, this, &TfmTemplateDesigner::dragFinished);
    connect(imgPage, &DesignerPage::nudged, this, &TfmTemplateDesigner::nudgeSelected);
    connect(imgPage, &DesignerPage::pagePressed, this, [this] {
        setStatus(QStringLiteral("%1,%2").arg(imgPage->width()).arg(imgPage->height()));
    });
}

void TfmTemplateDesigner::setCheckTypeID(int templateId)
{
    id_ = templateId;
    billType_ = context_.catalogue().loadCheckTypeFirstNameByID(templateId);
    if (ownHistory_)
        ownHistory_->clear();
    setStatus(billType_);
}

void TfmTemplateDesigner::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous() || shownOnce_)
        return;
    shownOnce_ = true;
    if (!loadTitle()) {
        say(QStringLiteral("没有找到对应的单据信息~"));
        QMetaObject::invokeMethod(this, &QDialog::reject, Qt::QueuedConnection);
        return;
    }
    loadPaper();
    paintAllItems();
    loadItemList();
    updatePanels();
    undo_->update();
}

void TfmTemplateDesigner::done(int result)
{
    FormFaceSave(this, context_.userIniFile());
    QDialog::done(result);
}

bool TfmTemplateDesigner::loadTitle()
{
    std::optional<TemplateSheet> sheet;
    try {
        sheet = loadTemplateSheet(context_.db(), id_);
    } catch (const DatabaseError&) {
    }
    if (!sheet || billType_.isEmpty())
        return false;
    sheet_ = *sheet;
    sheet_.billType = billType_;
    lbTitle->setText(QStringLiteral("【") + sheet_.name + QStringLiteral("】打印设置"));
    return true;
}

void TfmTemplateDesigner::loadPaper()
{
    try {
        if (std::optional<TemplateSheet> sheet = loadTemplateSheet(context_.db(), id_)) {
            sheet_ = *sheet;
            sheet_.billType = billType_;
        }
    } catch (const DatabaseError& error) {
        setStatus(QStringLiteral("分组获取失败") + error.text());
        return;
    }
    loading_ = true;
    edtPaperWidth->setValue(sheet_.paperWidth / 100.0);
    edtPaperHeight->setValue(sheet_.paperHeight / 100.0);
    edtCtlY->setMaximum(std::max(0, sheet_.paperHeight - 5));
    loading_ = false;
    edtPicture->setText(sheet_.pictureUrl);
    // The entry form's picture shows where the items fall on the form.
    if (imgPage->property("browsed").toBool() == false)
        imgPage->setPicture(templatePicture(context_.db(), context_.getRunPath(), sheet_.imageFile));
}

void TfmTemplateDesigner::paintAllItems()
{
    const int width = pageAreaWidth(sheet_.paperWidth, imgPage->logicalDpiX(), zoom_);
    scale_ = designScale(sheet_.paperWidth, width);
    imgPage->setScale(scale_.mmPerPixel);
    imgPage->setFixedSize(width, scale_.GetPixByMMCent(sheet_.paperHeight));
    if (id_ <= 0) {
        setWindowTitle(QStringLiteral("未知的单据"));
        imgPage->setLabels({});
        return;
    }
    loading_ = true;
    QList<DesignLabel> labels;
    for (const PrintLayoutItem& item : loadPrintLayoutItems(context_.db(), id_, billType_)) {
        labels << designLabels(item, scale_);
        // An item without a printed size takes the size it is drawn at.
        if (const std::optional<QSize> size = missingPrintSize(item, scale_)) {
            saveItemColumn(context_.db(), id_, item.name, QStringLiteral("CtlW"), QString::number(size->width()));
            saveItemColumn(context_.db(), id_, item.name, QStringLiteral("CtlH"), QString::number(size->height()));
        }
    }
    imgPage->setLabels(labels);
    imgPage->setSelected(selectedItems());
    loading_ = false;
}

void TfmTemplateDesigner::repaintItem(const QString& item)
{
    repaintItems({item});
}

void TfmTemplateDesigner::repaintItems(const QStringList& items)
{
    // One read of the layout serves every item a batch tool changed.
    QList<PrintLayoutItem> rows;
    try {
        rows = loadPrintLayoutItems(context_.db(), id_, billType_, items.size() == 1 ? items.first() : QString());
    } catch (const DatabaseError& error) {
        setStatus(error.text());
        return;
    }
    for (const QString& item : items) {
        QList<DesignLabel> labels;
        for (const PrintLayoutItem& row : std::as_const(rows))
            if (row.name.compare(item, Qt::CaseInsensitive) == 0)
                labels << designLabels(row, scale_);
        imgPage->replaceItemLabels(item, labels);
    }
}

void TfmTemplateDesigner::loadItemList()
{
    lstItems->clear();
    try {
        for (const PrintLayoutItem& item : loadPrintLayoutItems(context_.db(), id_, billType_)) {
            const QString caption = trimText(item.caption).isEmpty() ? item.label : item.caption;
            lstItems->addItem(caption + QLatin1Char('=') + item.name);
        }
        cbGroup->clear();
        cbGroup->addItems(itemGroups(context_.db(), billType_));
        cbGroup->addItem(kChooseGroup);
        cbGroup->setCurrentText(kChooseGroup);
    } catch (const DatabaseError& error) {
        setStatus(error.text());
    }
}

void TfmTemplateDesigner::loadProperties(const QString& item)
{
    std::optional<PrintLayoutItem> row;
    try {
        const QList<PrintLayoutItem> rows = loadPrintLayoutItems(context_.db(), id_, billType_, item);
        if (!rows.isEmpty())
            row = rows.first();
    } catch (const DatabaseError& error) {
        setStatus(error.text());
    }
    if (!row)
        return;
    loading_ = true;
    edtCtlX->setValue(row->x);
    edtCtlY->setValue(row->y);
    edtCtlW->setValue(row->w > 0 ? row->w : scale_.GetMMCentByPix(row->screenWidth));
    edtCtlH->setValue(row->h > 0 ? row->h : scale_.GetMMCentByPix(row->screenHeight));
    const QString font = trimText(row->fontName).isEmpty() ? QStringLiteral("宋体") : row->fontName;
    if (cbFontName->findText(font) < 0)
        cbFontName->addItem(font);
    cbFontName->setCurrentText(font);
    edtFontSize->setValue(row->fontSize);
    ckBold->setChecked(row->bold > 0);
    ckItalic->setChecked(row->italic > 0);
    ckUnderLine->setChecked(row->underline > 0);
    const bool breaking = !trimText(row->breakNum).isEmpty();
    edtBreakNum->setValue(breaking ? trimText(row->breakNum).toInt() : 50);
    edtBreakFontSize->setValue(breaking ? row->breakFontSize : row->fontSize);
    edtLineHeight->setValue(row->lineHeight < 1 ? 50 : row->lineHeight);
    ckBreak->setChecked(breaking);
    breakToggled(breaking);
    const bool cells = !trimText(row->fitParam).isEmpty();
    edtFitParam->setValue(cells ? trimText(row->fitParam).toInt() : edtFitParam->minimum());
    ckCells->setChecked(cells);
    cellsToggled(cells);
    cbTestData->setEditText(row->sample);
    edtInitValue->setText(row->initValue);
    loading_ = false;
}

QStringList TfmTemplateDesigner::selectedItems() const
{
    QStringList items;
    for (const QString& entry : selection_)
        items << entryItem(entry);
    return items;
}

bool TfmTemplateDesigner::isSelected(const QString& item) const
{
    for (const QString& selected : selectedItems())
        if (upper(selected) == upper(item))
            return true;
    return false;
}

void TfmTemplateDesigner::addToSelection(const QString& item)
{
    if (isSelected(item))
        return;
    QString entry = QStringLiteral("错误=") + item;
    try {
        const QString label = context_.db()
                                  .scalar(QStringLiteral("select CtlLabel from NameDict where CheckTypeName=:billType and "
                                                         "CtlName=:item order by Id limit 1"),
                                          {{QStringLiteral("billType"), billType_}, {QStringLiteral("item"), item}})
                                  .toString();
        if (!label.isEmpty())
            entry = label + QLatin1Char('=') + item;
    } catch (const DatabaseError&) {
    }
    selection_ << entry;
}

void TfmTemplateDesigner::removeFromSelection(const QString& item)
{
    selection_.removeIf([&](const QString& entry) { return upper(entryItem(entry)) == upper(item); });
}

void TfmTemplateDesigner::clearSelection()
{
    selection_.clear();
}

void TfmTemplateDesigner::showSelection()
{
    imgPage->setSelected(selectedItems());
    lstSelected->clear();
    lstSelected->addItems(selection_);
    updatePanels();
}

void TfmTemplateDesigner::selectItem(const QString& item)
{
    labelPressed(item);
}

void TfmTemplateDesigner::setMultiMode(bool multi)
{
    cbGroup->setEnabled(multi);
    if (!multi) {
        clearSelection();
        showSelection();
    }
    updatePanels();
}

void TfmTemplateDesigner::updatePanels()
{
    const bool batch = rbMulti->isChecked() && selection_.size() >= 2;
    panelBatch->setVisible(batch);
    panelProps->setVisible(!batch);
    panelProps->setEnabled(selection_.size() == 1);
}

void TfmTemplateDesigner::labelPressed(const QString& item)
{
    if (rbSingle->isChecked())
        clearSelection();
    if (isSelected(item)) {
        removeFromSelection(item);
    } else {
        addToSelection(item);
        if (selection_.size() == 1)
            loadProperties(item);
    }
    showSelection();
    if (selection_.size() == 1 && upper(selectedItems().first()) == upper(item))
        imgPage->beginDrag(item);
}

void TfmTemplateDesigner::labelDoubleClicked(const QString& item)
{
    if (rbMulti->isChecked())
        clearSelection();
    addToSelection(item);
    loadProperties(item);
    showSelection();
}

void TfmTemplateDesigner::dragMoved(const QString&, QPoint topLeft)
{
    loading_ = true;
    edtCtlX->setValue(scale_.GetMMCentByPix(topLeft.x()));
    edtCtlY->setValue(scale_.GetMMCentByPix(topLeft.y()));
    loading_ = false;
}

void TfmTemplateDesigner::dragFinished(const QString& item, QPoint topLeft)
{
    loading_ = true;
    edtCtlX->setValue(scale_.GetMMCentByPix(topLeft.x()));
    edtCtlY->setValue(scale_.GetMMCentByPix(topLeft.y()));
    loading_ = false;
    if (selection_.size() == 1 && upper(selectedItems().first()) == upper(item))
        saveItemClick();
    repaintItem(item);
}

void TfmTemplateDesigner::listClicked(QListWidgetItem* entry)
{
    if (!entry || !selection_.isEmpty())
        return;
    labelPressed(entryItem(entry->text()));
}

void TfmTemplateDesigner::listDoubleClicked(QListWidgetItem* entry)
{
    if (!entry)
        return;
    const QString item = entryItem(entry->text());
    if (rbSingle->isChecked()) {
        clearSelection();
        addToSelection(item);
        loadProperties(item);
    } else {
        addToSelection(item);
        if (selection_.size() == 1)
            loadProperties(item);
    }
    showSelection();
}

void TfmTemplateDesigner::groupChosen(const QString& text)
{
    if (trimText(text).isEmpty() || text == kChooseGroup)
        return;
    rbMulti->setChecked(true);
    clearSelection();
    try {
        for (const QString& item : groupItems(context_.db(), billType_, trimText(text)))
            addToSelection(item);
    } catch (const DatabaseError& error) {
        setStatus(QStringLiteral("Error:") + error.text());
    }
    if (selection_.size() == 1)
        loadProperties(selectedItems().first());
    showSelection();
}

bool TfmTemplateDesigner::change(const QString& text, const QList<RowSelection>& rows, const std::function<void()>& edit,
                                 const QString& failurePrefix)
{
    try {
        history_->record(text, rows, edit);
    } catch (const DatabaseError& error) {
        say(failurePrefix + error.text());
        return false;
    }
    undo_->update();
    return true;
}

void TfmTemplateDesigner::storeField(const QString& column, const QString& value, bool repaint)
{
    if (selection_.size() != 1)
        return;
    const QString item = selectedItems().first();
    ColumnSave result = ColumnSave::Missing;
    const bool written = change(item + QLatin1Char(':') + column, {templateItemRows(id_, {item})},
                                [&] { result = saveItemColumn(context_.db(), id_, item, column, value); },
                                QStringLiteral("保存错误"));
    if (!written || result == ColumnSave::Duplicate) {
        if (result == ColumnSave::Duplicate)
            setStatus(QStringLiteral("保存出错,同一个项目多条记录=！") + item + QLatin1Char(',') + QString::number(id_));
        // The fields show what is stored, never what failed to be.
        loadProperties(item);
        repaintItem(item);
        return;
    }
    if (result == ColumnSave::Saved)
        setStatus(item + QLatin1Char(':') + column + QLatin1Char('=') + value + QStringLiteral("属性保存成功~"));
    if (repaint)
        repaintItem(item);
}

void TfmTemplateDesigner::storeFields(const QList<std::pair<QString, QString>>& columns)
{
    if (selection_.size() != 1)
        return;
    const QString item = selectedItems().first();
    QList<ColumnSave> results;
    const bool written = change(item, {templateItemRows(id_, {item})},
                                [&] {
                                    for (const auto& [column, value] : columns)
                                        results << saveItemColumn(context_.db(), id_, item, column, value);
                                },
                                QStringLiteral("保存错误"));
    if (!written || results.contains(ColumnSave::Duplicate)) {
        if (results.contains(ColumnSave::Duplicate))
            setStatus(QStringLiteral("保存出错,同一个项目多条记录=！") + item + QLatin1Char(',') + QString::number(id_));
        loadProperties(item);
    } else if (results.contains(ColumnSave::Saved)) {
        QStringList saved;
        for (const auto& [column, value] : columns)
            saved << column + QLatin1Char('=') + value;
        setStatus(item + QLatin1Char(':') + saved.join(QLatin1Char(',')) + QStringLiteral("属性保存成功~"));
    }
    repaintItem(item);
}

void TfmTemplateDesigner::breakToggled(bool on)
{
    ckBreak->setText(on ? QStringLiteral("需换行,超过     汉字换行打印.") : QStringLiteral("无需换行打印."));
    edtBreakNum->parentWidget()->setVisible(on);
    if (loading_)
        return;
    if (on)
        storeFields({{QStringLiteral("BreakNum"), QString::number(edtBreakNum->value())},
                     {QStringLiteral("BreakFontSize"), QString::number(edtBreakFontSize->value())},
                     {QStringLiteral("CtlLH"), QString::number(edtLineHeight->value())}});
    else
        storeField(QStringLiteral("BreakNum"), QString());
}

void TfmTemplateDesigner::cellsToggled(bool on)
{
    ckCells->setText(on ? QStringLiteral("需等宽打印,") : QStringLiteral("无需等宽打印."));
    edtFitParam->setEnabled(on);
    if (loading_)
        return;
    if (on) {
        storeField(QStringLiteral("FitParam"), QString::number(edtFitParam->value()));
        say(QStringLiteral("等宽打印勾选后，需要修改字宽后才生效（大于25=2.5mm）！"));
    } else {
        storeField(QStringLiteral("FitParam"), QString());
    }
}

void TfmTemplateDesigner::saveItemClick()
{
    if (selection_.size() >= 2) {
        setStatus(QStringLiteral("单选一个项目才可以保存！"));
        return;
    }
    storeFields({{QStringLiteral("CtlX"), QString::number(edtCtlX->value())},
                 {QStringLiteral("CtlY"), QString::number(edtCtlY->value())},
                 {QStringLiteral("CtlW"), QString::number(edtCtlW->value())},
                 {QStringLiteral("CtlH"), QString::number(edtCtlH->value())}});
}

void TfmTemplateDesigner::ASaveCtlDataField(const QString& item, const QString& column, const QString& value)
{
    if (trimText(item).isEmpty() || trimText(column).isEmpty())
        return;
    ColumnSave result = ColumnSave::Missing;
    if (!change(item + QLatin1Char(':') + column, {templateItemRows(id_, {item})},
                [&] { result = saveItemColumn(context_.db(), id_, item, column, value); }, QStringLiteral("保存错误")))
        return;
    if (result == ColumnSave::Saved)
        setStatus(item + QLatin1Char(':') + column + QLatin1Char('=') + value + QStringLiteral("属性保存成功~"));
    else if (result == ColumnSave::Duplicate)
        setStatus(QStringLiteral("保存出错,同一个项目多条记录=！") + item + QLatin1Char(',') + QString::number(id_));
}

void TfmTemplateDesigner::AMoveCtlByName(const QString& item, const QString& column, int direction)
{
    QStringList failed;
    if (change(item + QLatin1Char(':') + column, {templateItemRows(id_, {item})},
               [&] { failed = moveItems(context_.db(), id_, {item}, column, direction * step()); },
               QStringLiteral("移动项目,修改错误！"))
        && !failed.isEmpty())
        say(QStringLiteral("修改错误！") + failed.join(QLatin1Char(',')));
}

void TfmTemplateDesigner::moveSelected(const QString& column, int direction, QPushButton* pressed)
{
    const QStringList items = selectedItems();
    if (items.isEmpty())
        return;
    pressed->setEnabled(false);
    QStringList failed;
    if (change(QStringLiteral("移动"), {templateItemRows(id_, items)},
               [&] { failed = moveItems(context_.db(), id_, items, column, direction * step()); },
               QStringLiteral("移动项目,修改错误！"))
        && !failed.isEmpty())
        say(QStringLiteral("修改错误！") + failed.join(QLatin1Char(',')));
    pressed->setEnabled(true);
    repaintItems(items);
    if (items.size() == 1)
        loadProperties(items.first());
}

void TfmTemplateDesigner::nudgeSelected(int dx, int dy, bool large)
{
    const QStringList items = selectedItems();
    if (items.isEmpty())
        return;
    const int amount = large ? 10 : 1;
    const QString column = dx != 0 ? QStringLiteral("CtlX") : QStringLiteral("CtlY");
    const int delta = (dx != 0 ? dx : dy) * amount;
    change(QStringLiteral("移动"), {templateItemRows(id_, items)},
           [&] { moveItems(context_.db(), id_, items, column, delta); }, QStringLiteral("移动项目,修改错误！"));
    repaintItems(items);
    if (items.size() == 1)
        loadProperties(items.first());
}

void TfmTemplateDesigner::updateSampleClick()
{
    if (selection_.isEmpty())
        return;
    const QString item = selectedItems().first();
    int changed = 0;
    try {
        history_->record(QStringLiteral("测试数据"),
                        {{QStringLiteral("NameDict"), QStringLiteral("Id"),
                          QStringLiteral("CheckTypeName=:billType and CtlName=:item"),
                          {{QStringLiteral("billType"), billType_}, {QStringLiteral("item"), item}}}},
                        [&] { changed = storeItemSample(context_.db(), billType_, item, trimText(cbTestData->currentText())); });
    } catch (const DatabaseError& error) {
        say(QStringLiteral("更新失败！") + error.text());
        return;
    }
    undo_->update();
    if (changed == 1) {
        say(QStringLiteral("更新成功！"));
        repaintItem(item);
    } else {
        setStatus(QStringLiteral("测试值更新失败.没有有效的行！"));
    }
}

void TfmTemplateDesigner::batchSet(const QString& column, const QVariant& value, const QString& report)
{
    const QStringList items = selectedItems();
    int changed = 0;
    if (!change(report, {templateItemRows(id_, items)},
                [&] { changed = setItemsColumn(context_.db(), id_, items, column, value); }, QStringLiteral("Error:")))
        return;
    setStatus(changed > 0 ? QString::number(changed) + report : QStringLiteral("影响了0个项目！"));
    repaintItems(items);
}

void TfmTemplateDesigner::batchExtreme(const QString& column, bool max, int fallback, const QString& report)
{
    const QStringList items = selectedItems();
    std::optional<int> value;
    try {
        value = itemsExtreme(context_.db(), id_, items, column, max);
    } catch (const DatabaseError& error) {
        say(QStringLiteral("Error:") + error.text());
        return;
    }
    // A size needs a width or height to copy; the positions copy what there is.
    if (fallback > 0 && (!value || *value <= 0))
        value = fallback;
    if (!value) {
        setStatus(QStringLiteral("影响了0个项目！"));
        return;
    }
    batchSet(column, *value, report);
}

void TfmTemplateDesigner::batchGrow(const QString& column, int direction, const QString& report)
{
    const QStringList items = selectedItems();
    BatchChange result;
    if (!change(report, {templateItemRows(id_, items)},
                [&] { result = growItems(context_.db(), id_, items, column, direction * step()); }, QStringLiteral("Error:")))
        return;
    QStringList lines;
    for (const QString& item : std::as_const(result.unchanged))
        lines << item + QStringLiteral("的") + column + QStringLiteral("更新失败！");
    lines << (result.changed > 0 ? QString::number(result.changed) + report : QStringLiteral("影响了0个项目！"));
    setStatus(lines.join(QLatin1Char(' ')));
    repaintItems(items);
}

void TfmTemplateDesigner::batchSpread(const QString& column, int increment, const QString& missing)
{
    const QStringList items = selectedItems();
    std::optional<int> changed;
    if (!change(QStringLiteral("分布"), {templateItemRows(id_, items)},
                [&] { changed = distributeItems(context_.db(), id_, items, column, increment); }, QStringLiteral("Error:")))
        return;
    if (!changed) {
        say(missing);
        return;
    }
    setStatus(*changed > 0 ? QString::number(*changed) + QStringLiteral("个等宽分布修改成功！") : QStringLiteral("影响了0个项目！"));
    repaintItems(items);
}

void TfmTemplateDesigner::savePaperClick()
{
    PaperSave saved;
    if (!change(QStringLiteral("票据尺寸"), {templateRow(id_)},
                [&] { saved = savePaperSize(context_.db(), id_, edtPaperWidth->value(), edtPaperHeight->value()); },
                QStringLiteral("Error:")))
        return;
    if (!saved.refusal.isEmpty()) {
        say(saved.refusal);
        return;
    }
    if (!saved.stored)
        return;
    say(QStringLiteral("底图实际长和宽保存成功！"));
    loadPaper();
    paintAllItems();
}

void TfmTemplateDesigner::browsePictureClick()
{
    const QString file = QFileDialog::getOpenFileName(this, QStringLiteral("选择底图"), context_.getRunPath(),
                                                      QStringLiteral("图片 (*.jpg *.jpeg *.bmp)"));
    if (file.isEmpty())
        return;
    const QImage picture(file);
    if (picture.isNull()) {
        say(QStringLiteral("无法读取图片：") + file);
        return;
    }
    imgPage->setProperty("browsed", true);
    imgPage->setPicture(picture);
    edtPicture->setText(file);
}

void TfmTemplateDesigner::zoomChanged()
{
    bool ok = false;
    const int zoom = cbZoom->currentData().toInt(&ok);
    zoom_ = ok && zoom > 0 ? zoom : 100;
    paintAllItems();
}

void TfmTemplateDesigner::fullScreenClick()
{
    const bool full = panelTop->isVisible();
    lbTitle->setVisible(!full);
    panelTop->setVisible(!full);
    if (full) {
        showMaximized();
        btFullScreen->setText(QStringLiteral("返回"));
        // The button lives on the hidden panel: the page takes it along.
        btFullScreen->setParent(this);
        btFullScreen->move(4, 4);
        btFullScreen->show();
        btFullScreen->raise();
    } else {
        showNormal();
        btFullScreen->setText(QStringLiteral("满屏"));
        panelPaper->layout()->addWidget(btFullScreen);
    }
}

void TfmTemplateDesigner::testPageClick()
{
    PdfPrinter printer(context_.getRunPath() + QStringLiteral("Output"));
    const QString error = printAlignmentPage(context_, id_, printer);
    if (!error.isEmpty()) {
        say(error);
        return;
    }
    setStatus(QStringLiteral("测试页已生成：") + printer.lastFile());
    QDesktopServices::openUrl(QUrl::fromLocalFile(printer.lastFile()));
}

void TfmTemplateDesigner::undo()
{
    undo_->undo();
}

void TfmTemplateDesigner::redo()
{
    undo_->redo();
}

void TfmTemplateDesigner::afterHistoryMove(const QString& done)
{
    loadPaper();
    paintAllItems();
    if (selection_.size() == 1)
        loadProperties(selectedItems().first());
    setStatus(done);
}

int TfmTemplateDesigner::step() const
{
    return tbStep->value();
}

void TfmTemplateDesigner::setStep(int tenthMm)
{
    tbStep->setValue(std::clamp(tenthMm, tbStep->minimum(), tbStep->maximum()));
}

QString TfmTemplateDesigner::statusText() const
{
    return lbStatus->text();
}

void TfmTemplateDesigner::say(const QString& text)
{
    context_.messages().show(text, QStringLiteral("提示"));
}

void TfmTemplateDesigner::setStatus(const QString& text)
{
    lbStatus->setText(text);
}

} // namespace slipcraft
