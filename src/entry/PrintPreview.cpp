#include "entry/PrintPreview.h"

#include "data/Database.h"
#include "entry/PrintPreviewLogic.h"
#include "shell/AppContext.h"
#include "shell/UserMessages.h"
#include "templates/Catalogue.h"
#include "wording/Functions.h"

#include <QApplication>
#include <QCheckBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSpinBox>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QWheelEvent>

namespace slipcraft {

namespace {

constexpr int kSheetWidth = 1123;
constexpr int kSheetHeight = 800;
constexpr int kOffsetLimit = 1500;
constexpr int kOffsetStep = 5;
constexpr int kLabelWidth = 25;
constexpr int kLabelHeight = 11;
// Where the fixed rulers begin: the horizontal one 6 pixels from the left, the vertical
// one 7 pixels from the top.
constexpr int kHorizontalRulerLeft = 6;
constexpr int kVerticalRulerTop = 7;
// Columns of the sample grid.
enum SampleColumn { kIdColumn, kControlColumn, kLabelColumn, kDataColumn };

// A bar of millimetre ticks whose zero lies at the rulers' crossing, kPreviewRulerThickness
// pixels from the parent's corner.
class RulerBar : public QWidget {
public:
    RulerBar(Qt::Orientation orientation, int lengthCm, int dpi, QWidget* parent)
        : QWidget(parent)
        , orientation_(orientation)
        , lengthCm_(lengthCm)
        , dpi_(dpi)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        const int length = tenthMmToPixels(lengthCm * 100, dpi) + 1;
        if (orientation == Qt::Horizontal)
            setGeometry(kHorizontalRulerLeft, 0, kPreviewRulerThickness - kHorizontalRulerLeft + length,
                        kPreviewRulerThickness);
        else
            setGeometry(0, kVerticalRulerTop, kPreviewRulerThickness,
                        kPreviewRulerThickness - kVerticalRulerTop + length);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), QColor(0xF0, 0xF0, 0xE0));
        painter.setPen(Qt::darkGray);
        const bool horizontal = orientation_ == Qt::Horizontal;
        const int zero = kPreviewRulerThickness - (horizontal ? kHorizontalRulerLeft : kVerticalRulerTop);
        for (int mm = 0; mm <= lengthCm_ * 10; ++mm) {
            const int at = zero + tenthMmToPixels(mm * 10, dpi_);
            const int tick = mm % 10 == 0 ? kPreviewRulerThickness : mm % 5 == 0 ? 6 : 3;
            if (horizontal)
                painter.drawLine(at, 0, at, tick - 1);
            else
                painter.drawLine(0, at, tick - 1, at);
        }
    }

private:
    Qt::Orientation orientation_;
    int lengthCm_;
    int dpi_;
};

int screenDpi(const QWidget* window)
{
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    return screen ? previewDpi(screen->physicalSize(), screen->geometry().size()) : kFallbackScreenDpi;
}

bool within(const QWidget* widget, const QWidget* ancestor)
{
    return widget && (widget == ancestor || ancestor->isAncestorOf(widget));
}

} // namespace

Tfm_PrintPreview::Tfm_PrintPreview(AppContext& context, QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint)
    , context_(context)
    , dpi_(screenDpi(this))
{
    setObjectName(QStringLiteral("fm_PrintPreview"));
    setWindowTitle(QStringLiteral("打印预览"));

    lbTitle = new QLabel(this);
    lbTitle->setObjectName(QStringLiteral("lbTitle"));
    lbTitle->setAlignment(Qt::AlignCenter);
    QFont titleFont = lbTitle->font();
    titleFont.setPointSize(titleFont.pointSize() + 4);
    titleFont.setBold(true);
    lbTitle->setFont(titleFont);

    pnlButtons = new QWidget(this);
    pnlButtons->setObjectName(QStringLiteral("pnlButtons"));
    btEditSample = new QPushButton(QStringLiteral("修改预览数据"), pnlButtons);
    btEditSample->setObjectName(QStringLiteral("btEditSample"));
    ckIgnoreOffset = new QCheckBox(QStringLiteral("忽略整体偏移预览"), pnlButtons);
    ckIgnoreOffset->setObjectName(QStringLiteral("ckIgnoreOffset"));
    XMove = new QSpinBox(pnlButtons);
    YMove = new QSpinBox(pnlButtons);
    XMove->setObjectName(QStringLiteral("XMove"));
    YMove->setObjectName(QStringLiteral("YMove"));
    XMove->setToolTip(QStringLiteral("打印的内容整体向右移动(向左移动用加负数来表示)"));
    YMove->setToolTip(QStringLiteral("打印的内容整体向下移动(向上移动用加负数来表示)"));
    edtXMoveCm = new QLineEdit(pnlButtons);
    edtYMoveCm = new QLineEdit(pnlButtons);
    edtXMoveCm->setObjectName(QStringLiteral("edtXMoveCm"));
    edtYMoveCm->setObjectName(QStringLiteral("edtYMoveCm"));
    for (QSpinBox* spinner : {XMove, YMove}) {
        spinner->setRange(-kOffsetLimit, kOffsetLimit);
        spinner->setSingleStep(kOffsetStep);
        if (auto* edit = spinner->findChild<QLineEdit*>())
            edit->setMaxLength(5);
    }
    for (QLineEdit* box : {edtXMoveCm, edtYMoveCm}) {
        box->setReadOnly(true);
        box->setMaximumWidth(60);
        box->setText(centimetreBoxText(0));
    }
    btClose = new QPushButton(QStringLiteral("关  闭"), pnlButtons);
    btClose->setObjectName(QStringLiteral("btClose"));

    auto* bar = new QHBoxLayout(pnlButtons);
    bar->addWidget(btEditSample);
    bar->addWidget(ckIgnoreOffset);
    bar->addWidget(new QLabel(QStringLiteral("整体打印右移："), pnlButtons));
    bar->addWidget(XMove);
    bar->addWidget(edtXMoveCm);
    bar->addWidget(new QLabel(QStringLiteral("厘米"), pnlButtons));
    bar->addWidget(new QLabel(QStringLiteral("整体打印下移："), pnlButtons));
    bar->addWidget(YMove);
    bar->addWidget(edtYMoveCm);
    bar->addWidget(new QLabel(QStringLiteral("厘米"), pnlButtons));
    bar->addStretch();
    bar->addWidget(btClose);

    gridSample = new QTableWidget(0, 4, this);
    gridSample->setObjectName(QStringLiteral("gridSample"));
    gridSample->setHorizontalHeaderLabels(
        {QStringLiteral("ID"), QStringLiteral("CtlName"), QStringLiteral("项目名"), QStringLiteral("内容")});
    gridSample->verticalHeader()->hide();

    pnlView = new QWidget;
    pnlView->setObjectName(QStringLiteral("pnlView"));
    pnlView->setAutoFillBackground(true);
    QPalette white = pnlView->palette();
    white.setColor(QPalette::Window, Qt::white);
    pnlView->setPalette(white);
    const int margin = tenthMmToPixels(kOffsetLimit, dpi_);
    pnlView->setFixedSize(kSheetWidth + margin, kSheetHeight + margin);

    pnlSheet = new QWidget(pnlView);
    pnlSheet->setObjectName(QStringLiteral("pnlSheet"));
    pnlSheet->setAutoFillBackground(true);
    QPalette light = pnlSheet->palette();
    light.setColor(QPalette::Window, QColor(0xFF, 0xFF, 0xF4));
    pnlSheet->setPalette(light);
    pnlSheet->setGeometry(0, 0, kSheetWidth, kSheetHeight);
    pnlSheet->installEventFilter(this);

    buildRulers(pnlView, 15, 10, QStringLiteral("0cm"), QStringLiteral("15cm(整体偏移)"), 90, 0);

    auto* scroller = new QScrollArea(this);
    scroller->setWidget(pnlView);
    splitter = new QSplitter(this);
    splitter->setObjectName(QStringLiteral("splitter"));
    splitter->addWidget(gridSample);
    splitter->addWidget(scroller);
    splitter->setStretchFactor(1, 1);
    gridSample->hide();
    splitter->handle(1)->hide();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lbTitle);
    layout->addWidget(pnlButtons);
    layout->addWidget(splitter, 1);
    resize(1000, 700);
    for (QPushButton* button : findChildren<QPushButton*>())
        button->setAutoDefault(false);
    pnlButtons->installEventFilter(this);
    gridSample->viewport()->installEventFilter(this);

    connect(btEditSample, &QPushButton::clicked, this, &Tfm_PrintPreview::toggleSampleGrid);
    connect(ckIgnoreOffset, &QCheckBox::toggled, this, &Tfm_PrintPreview::ignoreOffsetToggled);
    connect(XMove, &QSpinBox::valueChanged, this, &Tfm_PrintPreview::applyXMove);
    connect(YMove, &QSpinBox::valueChanged, this, &Tfm_PrintPreview::applyYMove);
    connect(btClose, &QPushButton::clicked, this, &Tfm_PrintPreview::close);
    connect(gridSample, &QTableWidget::itemChanged, this, &Tfm_PrintPreview::sampleEdited);
    connect(qApp, &QApplication::focusChanged, this, &Tfm_PrintPreview::focusChanged);
}

Tfm_PrintPreview::~Tfm_PrintPreview()
{
    // Focus moves while the children go; the sheet must not be rebuilt then.
    disconnect(qApp, &QApplication::focusChanged, this, nullptr);
}

void Tfm_PrintPreview::execute(AppContext& context, int templateId, QWidget* parent)
{
    auto* window = new Tfm_PrintPreview(context, parent);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setTemplateId(templateId);
    if (!window->loadName()) {
        delete window;
        return;
    }
    window->exec();
}

void Tfm_PrintPreview::buildRulers(QWidget* parent, int horizontalCm, int verticalCm, const QString& firstLabel,
                                   const QString& lastLabel, int lastLabelWidth, int firstLabelShift)
{
    // Shown one by one: the sheet's rulers are rebuilt while the window is on screen.
    (new RulerBar(Qt::Horizontal, horizontalCm, dpi_, parent))->show();
    (new RulerBar(Qt::Vertical, verticalCm, dpi_, parent))->show();
    QFont small = font();
    small.setPixelSize(9);
    const auto addLabel = [&](const QString& text, int x, int y, int width) {
        auto* label = new QLabel(text, parent);
        label->setFont(small);
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
        label->setGeometry(x, y, width, kLabelHeight);
        label->show();
    };
    // A label sits at its centimetre plus the crossing ruler's thickness, 5 pixels back.
    for (int cm = 0; cm <= horizontalCm; ++cm) {
        QString text = QString::number(cm);
        int width = kLabelWidth;
        int shift = 0;
        if (cm == 0) {
            text = firstLabel;
            shift = firstLabelShift;
        } else if (cm == horizontalCm && !lastLabel.isEmpty()) {
            text = lastLabel;
            width = lastLabelWidth;
        }
        addLabel(text, tenthMmToPixels(cm * 100, dpi_) + kPreviewRulerThickness - 5 + shift, kPreviewRulerThickness,
                 width);
    }
    for (int cm = 1; cm <= verticalCm; ++cm)
        addLabel(QString::number(cm), 14, tenthMmToPixels(cm * 100, dpi_) + kPreviewRulerThickness - 5, kLabelWidth);
}

bool Tfm_PrintPreview::loadName()
{
    Catalogue& catalogue = context_.catalogue();
    billType_ = trimText(catalogue.loadCheckTypeFirstNameByID(templateId_));
    if (billType_.isEmpty()) {
        context_.messages().show(QStringLiteral("没有找到对应的单据信息~"));
        return false;
    }
    lbTitle->setText(QStringLiteral("【") + catalogue.loadCheckTypeFullNameByID(templateId_)
                     + QStringLiteral("】打印预览"));
    return true;
}

void Tfm_PrintPreview::loadItems()
{
    qDeleteAll(pnlSheet->findChildren<QWidget*>(Qt::FindDirectChildrenOnly));
    buildRulers(pnlSheet, 24, 20, QStringLiteral("0cm"), QString(), kLabelWidth, kPreviewRulerThickness);
    if (templateId_ <= 0) {
        setWindowTitle(QStringLiteral("未知的单据"));
        return;
    }
    QList<PreviewItemRow> rows;
    try {
        if (const std::optional<QPoint> offset = loadTemplateOffset(context_.db(), templateId_)) {
            XMove->setValue(offset->x());
            YMove->setValue(offset->y());
            applyXMove(XMove->value());
            applyYMove(YMove->value());
        }
        rows = loadPreviewRows(context_.db(), templateId_, billType_);
    } catch (const DatabaseError& error) {
        context_.messages().show(error.text());
        return;
    }
    for (const PreviewText& shown : previewTexts(rows, dpi_)) {
        auto* label = new QLabel(shown.text, pnlSheet);
        label->setObjectName(shown.name);
        label->setToolTip(shown.name);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        QFont face = label->font();
        if (!shown.fontName.isEmpty())
            face.setFamily(shown.fontName);
        if (shown.fontSize > 0)
            face.setPointSize(shown.fontSize);
        label->setFont(face);
        label->setGeometry(QRect(shown.at, shown.size));
        label->show();
    }
}

void Tfm_PrintPreview::loadSampleGrid()
{
    if (billType_.isEmpty())
        return;
    QList<SampleRow> rows;
    try {
        rows = loadSampleRows(context_.db(), billType_);
    } catch (const DatabaseError& error) {
        context_.messages().show(error.text());
        return;
    }
    const QSignalBlocker blocker(gridSample);
    gridSample->setRowCount(int(rows.size()));
    for (int row = 0; row < rows.size(); ++row) {
        const SampleRow& sample = rows[row];
        const QString cells[] = {QString::number(sample.id), sample.control, sample.label, sample.data};
        for (int column = 0; column < 4; ++column) {
            auto* cell = new QTableWidgetItem(cells[column]);
            if (column < kLabelColumn)
                cell->setFlags(cell->flags() & ~Qt::ItemIsEditable);
            gridSample->setItem(row, column, cell);
        }
    }
    if (!rows.isEmpty()) {
        gridSample->setColumnHidden(kIdColumn, true);
        gridSample->setColumnHidden(kControlColumn, true);
        gridSample->setColumnWidth(kLabelColumn, 80);
        gridSample->setColumnWidth(kDataColumn, 400);
    }
}

void Tfm_PrintPreview::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    loadItems();
    loadSampleGrid();
}

void Tfm_PrintPreview::applyXMove(int value)
{
    edtXMoveCm->setText(centimetreBoxText(value));
    if (!ckIgnoreOffset->isChecked())
        pnlSheet->move(tenthMmToPixels(value, dpi_), pnlSheet->y());
}

void Tfm_PrintPreview::applyYMove(int value)
{
    edtYMoveCm->setText(centimetreBoxText(value));
    if (!ckIgnoreOffset->isChecked())
        pnlSheet->move(pnlSheet->x(), tenthMmToPixels(value, dpi_));
}

void Tfm_PrintPreview::ignoreOffsetToggled(bool ignore)
{
    if (ignore) {
        pnlSheet->move(0, 0);
        pnlSheet->raise();
        return;
    }
    pnlSheet->lower();
    applyXMove(XMove->value());
    applyYMove(YMove->value());
}

void Tfm_PrintPreview::toggleSampleGrid()
{
    const bool show = gridSample->isHidden();
    gridSample->setVisible(show);
    splitter->handle(1)->setVisible(show);
}

void Tfm_PrintPreview::sampleEdited(QTableWidgetItem* item)
{
    const int column = item->column();
    if (column != kLabelColumn && column != kDataColumn)
        return;
    const int id = gridSample->item(item->row(), kIdColumn)->text().toInt();
    try {
        if (column == kLabelColumn)
            storeSampleLabel(context_.db(), id, item->text());
        else
            storeSampleData(context_.db(), id, item->text());
    } catch (const DatabaseError& error) {
        context_.messages().show(error.text());
    }
}

void Tfm_PrintPreview::focusChanged(QWidget* old, QWidget* now)
{
    if (within(old, gridSample) && !within(now, gridSample))
        loadItems();
}

bool Tfm_PrintPreview::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress && (watched == pnlSheet || watched == pnlButtons)) {
        if (watched == pnlSheet)
            pnlSheet->lower();
        btClose->setFocus();
    } else if (event->type() == QEvent::Wheel && watched == gridSample->viewport()
               && within(QApplication::focusWidget(), gridSample) && gridSample->rowCount() > 0) {
        const int step = static_cast<QWheelEvent*>(event)->angleDelta().y() <= 0 ? 1 : -1;
        const int row = std::clamp(gridSample->currentRow() + step, 0, gridSample->rowCount() - 1);
        gridSample->setCurrentCell(row, std::max(gridSample->currentColumn(), int(kLabelColumn)));
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace slipcraft
