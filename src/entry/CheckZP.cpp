#include "entry/CheckZP.h"

#include "dictionaries/Dictionaries.h"
#include "entry/ControlValues.h"
#include "entry/FormControls.h"
#include "entry/InputValue.h"
#include "entry/PrintJob.h"
#include "entry/PrintRenderer.h"
#include "parties/DAOPerson.h"
#include "parties/PersonManage.h"
#include "platform/IniFile.h"
#include "platform/RunPath.h"
#include "shell/AppContext.h"
#include "shell/UserMessages.h"
#include "templates/Catalogue.h"
#include "templates/FormPicture.h"
#include "templates/FormPlacement.h"
#include "wording/Functions.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTabBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace slipcraft {

namespace {

const QString kSection = QStringLiteral("FMCHECKZP");
const QString kAmountCaption = QStringLiteral("金额输入");
const QString kCommonTab = QStringLiteral("配置常用模板");
constexpr int kStripHeight = 52;

const QStringList kDigitBoxes = {QStringLiteral("zdYY"), QStringLiteral("zdQW"), QStringLiteral("zdBW"),
                                 QStringLiteral("zdSW"), QStringLiteral("zdWY"), QStringLiteral("zdQY"),
                                 QStringLiteral("zdBY"), QStringLiteral("zdSY"), QStringLiteral("zdY"),
                                 QStringLiteral("zdJ"),  QStringLiteral("zdF")};

// A marker rectangle over the picture: red, dotted or dash-dotted, hatched while the
// pointer is well inside it; a click runs its command.
class ShapeBox : public QWidget {
public:
    ShapeBox(const QString& name, Qt::PenStyle style, const QString& hint, QWidget* parent)
        : QWidget(parent)
        , style_(style)
    {
        setObjectName(name);
        setToolTip(hint);
        setMouseTracking(true);
        setCursor(Qt::PointingHandCursor);
    }
    std::function<void()> clicked;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setPen(QPen(Qt::red, 1, style_));
        painter.setBrush(hatched_ ? QBrush(Qt::red, Qt::BDiagPattern) : QBrush(Qt::NoBrush));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
    void mouseMoveEvent(QMouseEvent* event) override
    {
        const int y = int(event->position().y());
        setHatched(y > 5 && y < height() - 5);
    }
    void leaveEvent(QEvent*) override { setHatched(false); }
    void mousePressEvent(QMouseEvent* event) override
    {
        if (event->button() == Qt::LeftButton && clicked)
            clicked();
    }

private:
    void setHatched(bool on)
    {
        if (on != hatched_) {
            hatched_ = on;
            update();
        }
    }
    Qt::PenStyle style_;
    bool hatched_ = false;
};

QLineEdit* lineEdit(const QString& name, QWidget* parent, bool readOnly = false, int maxLength = 0)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setReadOnly(readOnly);
    if (maxLength > 0)
        edit->setMaxLength(maxLength);
    return edit;
}

QComboBox* dropDown(const QString& name, QWidget* parent, int maxLength = 0)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    if (maxLength > 0)
        box->lineEdit()->setMaxLength(maxLength);
    return box;
}

QCheckBox* option(const QString& name, const QString& caption, bool ticked, QWidget* parent)
{
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(name);
    box->setChecked(ticked);
    return box;
}

} // namespace

// The print pass reads the boxes on the picture; the form's options keep the bank and
// the account off the paper.
class TfmCheckZP::PrintSourceImpl : public WidgetPrintSource {
public:
    explicit PrintSourceImpl(TfmCheckZP& form)
        : WidgetPrintSource(form.context_, form.panelImgBg, kBillType,
                            {form.templateId_, true, 35, form.getMoneyCode(), 0})
        , form_(form)
    {
    }
    bool includeItem(const QString& itemName) const override
    {
        const QString name = itemName.toUpper();
        if (name == QLatin1String("ZDOUTBANK") && !form_.cfgPrintOutBank->isChecked())
            return false;
        if (name == QLatin1String("ZDOUTBANKACCT") && !form_.cfgPrintOutBankAcct->isChecked())
            return false;
        return true;
    }
    void beforePrintPass() override
    {
        if (form_.zdInComp->currentText() == kPayeePrompt)
            form_.zdInComp->setEditText(QString());
    }
    void showTemplateChooser() override { form_.cbFirstTypeName->setVisible(true); }

private:
    TfmCheckZP& form_;
};

TfmCheckZP::TfmCheckZP(AppContext& context, QWidget* parent)
    : QWidget(parent)
    , context_(context)
    , session_(context)
{
    setObjectName(QStringLiteral("fmCheckZP"));
    setAttribute(Qt::WA_DeleteOnClose);
    buildControls();
    buildOptionStrip();
    buildToolBar();
    openForm();
}

TfmCheckZP::~TfmCheckZP()
{
    context_.currentTemplateId = -1;
}

void TfmCheckZP::setCommands(CheckZPCommands commands)
{
    commands_ = std::move(commands);
    btMoveXY->setEnabled(bool(commands_.wholeFormOffset));
    btDesign->setEnabled(bool(commands_.designMode));
    btOpenCheck->setEnabled(bool(commands_.openHistory));
}

QString TfmCheckZP::templateName() const
{
    return cbFirstTypeName->currentText();
}

void TfmCheckZP::buildControls()
{
    layout_ = new QVBoxLayout(this);
    layout_->setContentsMargins(4, 4, 4, 4);
    layout_->setSpacing(2);
    layout_->setSizeConstraint(QLayout::SetNoConstraint);

    tabPanel = new QWidget(this);
    tabPanel->setObjectName(QStringLiteral("panelTab"));
    auto* tabs = new QHBoxLayout(tabPanel);
    tabs->setContentsMargins(0, 0, 0, 0);
    tbcCheckTypeName = new QTabBar(tabPanel);
    tbcCheckTypeName->setObjectName(QStringLiteral("tbcCheckTypeName"));
    tbcCheckTypeName->setExpanding(false);
    cbFirstTypeName = new QComboBox(tabPanel);
    cbFirstTypeName->setObjectName(QStringLiteral("cbFirstTypeName"));
    cbFirstTypeName->setMinimumWidth(180);
    tabs->addWidget(tbcCheckTypeName, 1);
    tabs->addWidget(cbFirstTypeName);
    layout_->addWidget(tabPanel);

    panelImgBg = new QWidget(this);
    panelImgBg->setObjectName(QStringLiteral("panelImgBg"));
    layout_->addWidget(panelImgBg);
    bgImage = new QLabel(panelImgBg);
    bgImage->setObjectName(QStringLiteral("bgImage"));
    bgImage->move(0, 0);
    bgImage->installEventFilter(this);

    QWidget* p = panelImgBg;
    zdNian = lineEdit(QStringLiteral("zdNian"), p);
    zdYue = lineEdit(QStringLiteral("zdYue"), p);
    zdRi = lineEdit(QStringLiteral("zdRi"), p);
    cgNian = lineEdit(QStringLiteral("cgNian"), p);
    cgYue = lineEdit(QStringLiteral("cgYue"), p);
    cgRi = lineEdit(QStringLiteral("cgRi"), p);
    zdNianYueRi = lineEdit(QStringLiteral("zdNianYueRi"), p, true);
    zdOutComp = dropDown(QStringLiteral("zdOutComp"), p, 200);
    zdOutBank = lineEdit(QStringLiteral("zdOutBank"), p, false, 40);
    zdOutBankAcct = dropDown(QStringLiteral("zdOutBankAcct"), p);
    zdInComp = dropDown(QStringLiteral("zdInComp"), p, 200);
    cgInComp = lineEdit(QStringLiteral("cgInComp"), p, true);
    zdJEDX = lineEdit(QStringLiteral("zdJEDX"), p);
    zdJEXX = lineEdit(QStringLiteral("zdJEXX"), p);
    cgJEXX = lineEdit(QStringLiteral("cgJEXX"), p, true);
    for (const QString& name : kDigitBoxes) {
        QLineEdit* box = lineEdit(name, p, true);
        box->setAlignment(Qt::AlignCenter);
    }
    zdYT = dropDown(QStringLiteral("zdYT"), p);
    cgYT = lineEdit(QStringLiteral("cgYT"), p, true);
    zdZFMM = lineEdit(QStringLiteral("zdZFMM"), p, false, 40);
    zdPJBH = dropDown(QStringLiteral("zdPJBH"), p);
    zdRemark = new QPlainTextEdit(p);
    zdRemark->setObjectName(QStringLiteral("zdRemark"));
    zdDef1 = dropDown(QStringLiteral("zdDef1"), p);
    zdDef2 = dropDown(QStringLiteral("zdDef2"), p);
    zdDef3 = lineEdit(QStringLiteral("zdDef3"), p);
    zdDef4 = lineEdit(QStringLiteral("zdDef4"), p);
    zdDef5 = lineEdit(QStringLiteral("zdDef5"), p);
    for (int i = 0; i < 6; ++i) {
        auto* box = new QCheckBox(p);
        box->setObjectName(QStringLiteral("DEFCHECK%1").arg(i));
        box->hide();
        connect(box, &QCheckBox::toggled, this, [this] { session_.edited(); });
    }
    auto* drawerShape = new ShapeBox(QStringLiteral("shpHKR"), Qt::DotLine, QStringLiteral("点击选取出票账户"), p);
    drawerShape->clicked = [this] { pickDrawer(); };
    shpHKR = drawerShape;
    auto* payeeShape = new ShapeBox(QStringLiteral("shpskr"), Qt::DashDotLine, QStringLiteral("点击选取收款单位"), p);
    payeeShape->clicked = [this] { pickPayee(); };
    shpskr = payeeShape;

    inputJEXX = lineEdit(QStringLiteral("inputJEXX"), p);
    inputJEXX->setToolTip(QStringLiteral("金额大写(只需输入小写,回车自动转换大写),"));
    inputJEXX->hide();
    inputJEXX->installEventFilter(this);
    connect(inputJEXX, &QLineEdit::textEdited, this, [this](const QString& text) {
        zdJEXX->setText(text);
        session_.edited();
    });
    zdJEDX->installEventFilter(this);
    zdJEXX->installEventFilter(this);

    // Everything on the picture starts hidden until the layout cache places it.
    for (QWidget* child : panelImgBg->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (child != bgImage)
            child->hide();

    zdInComp->setEditText(kPayeePrompt);
    for (QComboBox* box : {zdOutComp, zdInComp, zdYT, zdDef1, zdDef2})
        box->installEventFilter(this);
    zdOutComp->lineEdit()->installEventFilter(this);
    connect(zdInComp, &QComboBox::editTextChanged, this, [this](const QString& text) {
        setInComp(text);
        session_.edited();
    });
    connect(zdInComp->lineEdit(), &QLineEdit::returnPressed, this, [this] {
        const QString code = trimText(zdInComp->currentText());
        if (code.isEmpty())
            return;
        if (std::unique_ptr<TPerson> found = TPerson::findByInputCode(context_.db(), code))
            setReceiver(found.get());
    });
    connect(zdInComp, &QComboBox::textActivated, this, [this](const QString& text) {
        if (session_.loading)
            return;
        if (std::unique_ptr<TPerson> found = TPerson::findByName(context_.db(), trimText(text)))
            setReceiver(found.get());
    });
    connect(zdYT, &QComboBox::editTextChanged, this, [this](const QString& text) {
        cgYT->setText(text);
        session_.edited();
    });
    connect(zdPJBH, &QComboBox::textActivated, this, &TfmCheckZP::numberPicked);
    for (QComboBox* box : {zdDef1, zdDef2, zdOutBankAcct, zdPJBH})
        connect(box, &QComboBox::editTextChanged, this, [this] { session_.edited(); });
    for (QLineEdit* edit : {zdOutBank, zdZFMM, zdDef3, zdDef4, zdDef5})
        connect(edit, &QLineEdit::textChanged, this, [this] { session_.edited(); });
    connect(zdRemark, &QPlainTextEdit::textChanged, this, [this] { session_.edited(); });

    connect(cbFirstTypeName, &QComboBox::textActivated, this, [this] { templateChange(); });
    connect(tbcCheckTypeName, &QTabBar::tabBarClicked, this, &TfmCheckZP::tabClick);
}

void TfmCheckZP::buildOptionStrip()
{
    shortbar = new QWidget(panelImgBg);
    shortbar->setObjectName(QStringLiteral("shortbar"));
    auto* rows = new QVBoxLayout(shortbar);
    rows->setContentsMargins(4, 2, 4, 2);
    rows->setSpacing(2);
    auto* first = new QHBoxLayout;
    auto* second = new QHBoxLayout;
    rows->addLayout(first);
    rows->addLayout(second);

    cfgPrintOutBankAcct = option(QStringLiteral("cfgPrintOutBankAcct"), QStringLiteral("打印出票账号"), true, shortbar);
    cfgPrintOutBank = option(QStringLiteral("cfgPrintOutBank"), QStringLiteral("打印付款银行"), true, shortbar);
    cfgDateChinese = option(QStringLiteral("cfgDateChinese"), QStringLiteral("大写正联日期"), true, shortbar);
    cfgJEDXRMBChecked = option(QStringLiteral("cfgJEDXRMBChecked"), QStringLiteral("大写含人民币"), true, shortbar);
    cfgJEDXWithMoneyName = option(QStringLiteral("cfgJEDXWithMoneyName"), QStringLiteral("大写前置币种"), true, shortbar);
    cfgJEXXWithMoneyCode = option(QStringLiteral("cfgJEXXWithMoneyCode"), QStringLiteral("小写前置币种"), true, shortbar);
    auto* currencyLabel = new QLabel(QStringLiteral("币种:"), shortbar);
    cfgMoneyType = new QComboBox(shortbar);
    cfgMoneyType->setObjectName(QStringLiteral("cfgMoneyType"));
    auto* remember = new QPushButton(QStringLiteral("【记住选项】"), shortbar);
    remember->setObjectName(QStringLiteral("btRmember"));
    cfgNoPrtDate = option(QStringLiteral("cfgNoPrtDate"), QStringLiteral("不打印出票日期"), false, shortbar);
    cfgNoPrtOutter = option(QStringLiteral("cfgNoPrtOutter"), QStringLiteral("不打印出票人"), false, shortbar);
    cfgNoPrtSheep = option(QStringLiteral("cfgNoPrtSheep"), QStringLiteral("不打印限位符￥"), false, shortbar);
    cfgNoPrtJEXX = option(QStringLiteral("cfgNoPrtJEXX"), QStringLiteral("不打印小写格"), false, shortbar);
    cfgNoPrtJEDX = option(QStringLiteral("cfgNoPrtJEDX"), QStringLiteral("不打印大写"), false, shortbar);
    SelDate = new QDateEdit(shortbar);
    SelDate->setObjectName(QStringLiteral("SelDate"));
    SelDate->setCalendarPopup(true);
    SelDate->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));

    for (QWidget* w : std::initializer_list<QWidget*>{cfgPrintOutBankAcct, cfgPrintOutBank, cfgDateChinese,
                                                     cfgJEDXRMBChecked, cfgJEDXWithMoneyName, cfgJEXXWithMoneyCode,
                                                     currencyLabel, cfgMoneyType, remember})
        first->addWidget(w);
    first->addStretch();
    for (QWidget* w : std::initializer_list<QWidget*>{cfgNoPrtDate, cfgNoPrtOutter, cfgNoPrtSheep, cfgNoPrtJEXX,
                                                     cfgNoPrtJEDX, SelDate})
        second->addWidget(w);
    second->addStretch();

    for (QCheckBox* box : {cfgDateChinese, cfgPrintOutBankAcct, cfgPrintOutBank})
        connect(box, &QCheckBox::toggled, this, [this] { SelDateCloseUp(); });
    for (QCheckBox* box : {cfgNoPrtSheep, cfgJEDXRMBChecked, cfgJEDXWithMoneyName, cfgJEXXWithMoneyCode})
        connect(box, &QCheckBox::toggled, this, [this] { finishAmountEntry(); });
    connect(cfgNoPrtDate, &QCheckBox::toggled, this, [this](bool on) {
        hideOrPlace({QStringLiteral("zdNian"), QStringLiteral("zdYue"), QStringLiteral("zdRi"), QStringLiteral("cgNian"),
                     QStringLiteral("cgYue"), QStringLiteral("cgRi")},
                    on);
        SelDate->setVisible(!on);
    });
    connect(cfgNoPrtOutter, &QCheckBox::toggled, this, [this](bool on) {
        hideOrPlace({QStringLiteral("zdOutComp"), QStringLiteral("zdOutBank"), QStringLiteral("zdOutBankAcct")}, on);
    });
    connect(cfgNoPrtJEXX, &QCheckBox::toggled, this,
            [this](bool on) { hideOrPlace(QStringList{QStringLiteral("zdJEXX")} + kDigitBoxes, on); });
    connect(cfgNoPrtJEDX, &QCheckBox::toggled, this, [this](bool on) { hideOrPlace({QStringLiteral("zdJEDX")}, on); });
    connect(cfgMoneyType, &QComboBox::currentTextChanged, this, &TfmCheckZP::currencyChange);
    connect(remember, &QPushButton::clicked, this, &TfmCheckZP::rememberOptions);
    connect(SelDate, &QDateEdit::dateChanged, this, [this] {
        session_.edited();
        SelDateCloseUp();
    });
}

QToolButton* TfmCheckZP::addToolButton(const QString& name, const QString& caption, const QString& hint, int icon)
{
    auto* button = new QToolButton(toolBarCheck);
    button->setObjectName(name);
    button->setText(caption);
    button->setToolTip(hint);
    button->setIcon(style()->standardIcon(QStyle::StandardPixmap(icon)));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    toolBarCheck->addWidget(button);
    return button;
}

void TfmCheckZP::buildToolBar()
{
    toolBarCheck = new QToolBar(this);
    toolBarCheck->setObjectName(QStringLiteral("toolBarCheck"));
    btUpOrDown = addToolButton(QStringLiteral("btUpOrDown"), QStringLiteral("下"), {}, QStyle::SP_ArrowDown);
    btMoveXY = addToolButton(QStringLiteral("btMoveXY"), QStringLiteral("整体偏移"), QStringLiteral("打印整体偏移"),
                             QStyle::SP_ArrowRight);
    btDesign = addToolButton(QStringLiteral("btDesign"), QStringLiteral("设计模式"),
                             QStringLiteral("单据模板的细节项目调整"), QStyle::SP_FileDialogDetailedView);
    btSaveSKRen = addToolButton(QStringLiteral("btSaveSKRen"), QStringLiteral("存收款人"), {}, QStyle::SP_DirHomeIcon);
    bt2CheckJZD = addToolButton(QStringLiteral("bt2CheckJZD"), QStringLiteral("转进账单(&T)"),
                                QStringLiteral("此功能尚未开放"), QStyle::SP_ArrowForward);
    btOpenCheck = addToolButton(QStringLiteral("btOpenCheck"), QStringLiteral("打开(&O)"),
                                QStringLiteral("打开历史保存的单据"), QStyle::SP_DialogOpenButton);
    btNewCheck = addToolButton(QStringLiteral("btNewCheck"), QStringLiteral("新建(&N)"), QStringLiteral("重填一张新单"),
                               QStyle::SP_FileIcon);
    btSaveAs = addToolButton(QStringLiteral("btSaveAs"), QStringLiteral("复制(&C)"),
                             QStringLiteral("将保存过的单据复制为一张新单~"), QStyle::SP_FileLinkIcon);
    btSaveCheck = addToolButton(QStringLiteral("btSaveCheck"), QStringLiteral("保存(&S)"),
                                QStringLiteral("保存填写的快递数据"), QStyle::SP_DialogSaveButton);
    btPrint1 = addToolButton(QStringLiteral("btPrint1"), QStringLiteral("单张打印(&P)"),
                             QStringLiteral("打印一张当前填写的单子"), QStyle::SP_ComputerIcon);
    btPrintAndSave = addToolButton(QStringLiteral("btPrintAndSave"), QStringLiteral("打印并保存"),
                                   QStringLiteral("打印一张当前填写的单子并保存"), QStyle::SP_DriveFDIcon);
    btMultiPrintF = addToolButton(QStringLiteral("btMultiPrintF"), QStringLiteral("重复打印"),
                                  QStringLiteral("重复打印多份当前填写的票据"), QStyle::SP_BrowserReload);
    btClose = addToolButton(QStringLiteral("btClose"), QStringLiteral("关闭&C"), {}, QStyle::SP_DialogCloseButton);
    // Converting needs the deposit slip form, which does not exist yet.
    bt2CheckJZD->setEnabled(false);
    btSaveAs->setEnabled(false);
    btMoveXY->setEnabled(false);
    btDesign->setEnabled(false);
    btOpenCheck->setEnabled(false);
    layout_->insertWidget(1, toolBarCheck);

    connect(btUpOrDown, &QToolButton::clicked, this, [this] { placeToolBar(!barAtBottom_); });
    connect(btMoveXY, &QToolButton::clicked, this, [this] {
        context_.currentTemplateId = templateId_;
        commands_.wholeFormOffset();
    });
    connect(btDesign, &QToolButton::clicked, this, [this] {
        commands_.designMode();
        cache_ = context_.catalogue().OpenCheckInif(templateId_);
        setFormControlsPosition(context_.catalogue(), context_, kBillType, this, cache_.get());
    });
    connect(btOpenCheck, &QToolButton::clicked, this, [this] { commands_.openHistory(); });
    connect(btSaveSKRen, &QToolButton::clicked, this, &TfmCheckZP::savePayeeClick);
    connect(btNewCheck, &QToolButton::clicked, this, &TfmCheckZP::newClick);
    connect(btSaveAs, &QToolButton::clicked, this, &TfmCheckZP::copyClick);
    connect(btSaveCheck, &QToolButton::clicked, this, &TfmCheckZP::saveClick);
    connect(btPrint1, &QToolButton::clicked, this, &TfmCheckZP::printClick);
    connect(btPrintAndSave, &QToolButton::clicked, this, &TfmCheckZP::printAndSaveClick);
    connect(btMultiPrintF, &QToolButton::clicked, this, &TfmCheckZP::repeatPrintClick);
    connect(btClose, &QToolButton::clicked, this, &QWidget::close);
}

void TfmCheckZP::placeToolBar(bool bottom)
{
    barAtBottom_ = bottom;
    layout_->removeWidget(toolBarCheck);
    if (bottom)
        layout_->addWidget(toolBarCheck);
    else
        layout_->insertWidget(1, toolBarCheck);
    btUpOrDown->setText(bottom ? QStringLiteral("上") : QStringLiteral("下"));
    btUpOrDown->setIcon(style()->standardIcon(bottom ? QStyle::SP_ArrowUp : QStyle::SP_ArrowDown));
}

void TfmCheckZP::openForm()
{
    cfgMoneyType->blockSignals(true);
    try {
        cfgMoneyType->addItems(loadMoneyTypeList(context_.db()));
        zdPJBH->addItems(ChequeStore(context_.db()).unusedNumbers());
    } catch (const DatabaseError&) {
        // The lists stay short; the form is still usable.
    }
    cfgMoneyType->setCurrentText(currencyName_);
    cfgMoneyType->blockSignals(false);
    zdPJBH->setEditText(QString());
    session_.announce = true;
    session_.recordNumber = -1;

    Catalogue& catalogue = context_.catalogue();
    int id = -1;
    try {
        id = catalogue.loadDefaultCheckTypeId(kBillType);
    } catch (const DatabaseError& error) {
        context_.messages().show(error.text(), QStringLiteral("错误"), UserMessages::Icon::Error);
    }
    if (id <= 0) {
        templateId_ = -1;
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
        return;
    }
    templateId_ = id;
    context_.currentTemplateId = id;

    // The drawer the program read at start, when the default-drawer switch was on.
    if (const TPerson* drawer = context_.defaultDrawer())
        setSender(drawer);
    SelDate->setDate(context_.today.isValid() ? context_.today : QDate::currentDate());
    SelDateCloseUp();

    try {
        cbFirstTypeName->addItems(catalogue.loadCheckTypeLastNameList(kBillType));
    } catch (const DatabaseError&) {
    }
    cbFirstTypeName->setCurrentText(catalogue.loadCheckTypeLastNameByID(id));
    loadedId_ = 0;
    templateChange();
    buildCommonBlocks();
}

void TfmCheckZP::buildCommonBlocks()
{
    QSignalBlocker block(tbcCheckTypeName);
    while (tbcCheckTypeName->count() > 0)
        tbcCheckTypeName->removeTab(0);
    for (const QString& name : context_.catalogue().loadCommonTypeLastNameList(kBillType))
        tbcCheckTypeName->addTab(name);
    tbcCheckTypeName->addTab(kCommonTab);
    for (int i = 0; i < tbcCheckTypeName->count(); ++i)
        if (tbcCheckTypeName->tabText(i) == templateName())
            tbcCheckTypeName->setCurrentIndex(i);
}

void TfmCheckZP::templateChange()
{
    session_.edited();
    const QString name = templateName();
    int id = 0;
    try {
        id = context_.catalogue().loadCheckTypeIDByFirstAndLastName(kBillType, name);
    } catch (const DatabaseError&) {
    }
    // A template picked from the list that no longer exists keeps the form as it is.
    if (id > 0)
        templateId_ = id;
    initFormType();
    setJEXX(inputJEXX->text());
    session_.titleNote.clear();
    updateTitle();
    context_.currentTemplateId = templateId_;
    for (int i = 0; i < tbcCheckTypeName->count(); ++i)
        if (tbcCheckTypeName->tabText(i) == name) {
            QSignalBlocker block(tbcCheckTypeName);
            tbcCheckTypeName->setCurrentIndex(i);
        }
}

bool TfmCheckZP::setCurrentCheckType(const QString& name)
{
    const int index = cbFirstTypeName->findText(name);
    if (index < 0)
        return false;
    cbFirstTypeName->setCurrentIndex(index);
    templateChange();
    return true;
}

void TfmCheckZP::tabClick(int index)
{
    if (index < 0)
        return;
    finishAmountEntry();
    const QString name = tbcCheckTypeName->tabText(index);
    if (name == kCommonTab) {
        if (commands_.templateManagement) {
            context_.currentTemplateId = templateId_;
            commands_.templateManagement();
        }
        QMetaObject::invokeMethod(this, [this] { buildCommonBlocks(); }, Qt::QueuedConnection);
        return;
    }
    if (!setCurrentCheckType(name))
        context_.messages().show(QStringLiteral("模板(") + name
                                 + QStringLiteral(")不存在或被重命名了，请关闭填单界面并重新填开,以刷新模板列表！"));
}

void TfmCheckZP::initFormType()
{
    Catalogue& catalogue = context_.catalogue();
    cache_ = catalogue.OpenCheckInif(templateId_);
    if (templateId_ == loadedId_)
        return;
    loadParam();
    loadCheckBoxsConfig();
    setFormControlsPosition(catalogue, context_, kBillType, this, cache_.get());
    for (QComboBox* box : {zdYT, zdDef1, zdDef2}) {
        const QString text = box->currentText();
        box->clear();
        box->setEditText(text);
    }
    loadedId_ = templateId_;
}

void TfmCheckZP::loadParam()
{
    bgImage->move(0, 0);
    bgImage->show();
    int width = 0;
    int height = 0;
    QString imageFile;
    try {
        SqlQuery row = context_.db().query(
            QStringLiteral("select Theight,Twidth,imgFile,CheckBoxs from ckTypetable where checktypeid=:id"),
            {{QStringLiteral("id"), templateId_}});
        if (!row.next())
            return;
        height = row.value(0).toInt();
        width = row.value(1).toInt();
        imageFile = row.value(2).toString();
        loadCheckBox(row.value(3).toString());
    } catch (const DatabaseError&) {
        return;
    }

    const int tabHeight = tabPanel->sizeHint().height();
    const int barHeight = toolBarCheck->sizeHint().height();
    panelImgBg->setFixedSize(width, height + kStripHeight);
    bgImage->setGeometry(0, 0, width, height);
    shortbar->setGeometry(0, height, width, kStripHeight);
    shortbar->show();
    setFixedSize(width + 8, height + tabHeight + barHeight + kStripHeight + 35);

    if (imageFile.isEmpty())
        imageFile = QStringLiteral("dhd_default.jpg");
    const QString runPath = context_.getRunPath();
    QString file = findIgnoringCase(runPath, QStringLiteral("Image/") + imageFile);
    if (!QFileInfo::exists(file)) {
        try {
            drawMissingFormPictures(context_.db(), runPath);
        } catch (const DatabaseError&) {
        }
        file = findIgnoringCase(runPath, QStringLiteral("Image/") + imageFile);
    }
    const QPixmap picture(file);
    if (!picture.isNull())
        bgImage->setPixmap(picture.scaled(width, height));
}

void TfmCheckZP::loadCheckBox(const QString& titles)
{
    for (QCheckBox* box : std::as_const(tickItems_))
        box->setText(QString());
    tickItems_.clear();
    const QString trimmed = trimText(titles);
    if (trimmed.isEmpty())
        return;
    const QStringList list = trimmed.split(QLatin1Char(','));
    for (qsizetype i = 0; i < list.size(); ++i) {
        const QString name = QStringLiteral("defCheck%1").arg(i);
        auto* box = qobject_cast<QCheckBox*>(findNamedControl(this, name));
        if (!box) {
            box = new QCheckBox(panelImgBg);
            box->setObjectName(name.toUpper());
            box->move(int(i) * 20, int(i) * 30);
            box->hide();
            connect(box, &QCheckBox::toggled, this, [this] { session_.edited(); });
        }
        box->setText(list[i]);
        box->setToolTip(list[i]);
        box->setStyleSheet(QStringLiteral("background-color: #ffb9b9;")); // 12171775
        tickItems_ << box;
    }
}

void TfmCheckZP::loadCheckBoxsConfig()
{
    auto value = [this](const QString& name) { return Catalogue::getInifCheckConfigByName(cache_.get(), name); };
    for (QCheckBox* box : {cfgDateChinese, cfgPrintOutBankAcct, cfgPrintOutBank, cfgJEDXRMBChecked})
        box->setChecked(value(box->objectName()) == QLatin1String("1"));
    for (QCheckBox* box : {cfgJEDXWithMoneyName, cfgJEXXWithMoneyCode})
        box->setChecked(value(box->objectName()) != QLatin1String("0"));
    QString money = value(QStringLiteral("cfgDefaultMoney"));
    if (money.isEmpty())
        money = QStringLiteral("人民币");
    currencyName_ = money;
    abbreviation_.reset();
    {
        QSignalBlocker block(cfgMoneyType);
        cfgMoneyType->setCurrentText(money);
    }
    SelDateCloseUp();
    setJEXX(inputJEXX->text());
}

QString TfmCheckZP::getItemCheckTitle() const
{
    QStringList titles;
    for (const QCheckBox* box : tickItems_)
        if (box->isChecked())
            titles << box->text();
    return titles.join(QLatin1Char(','));
}

void TfmCheckZP::setItemCheckTitle(const QString& titles)
{
    const QStringList list = titles.split(QLatin1Char(','));
    for (QCheckBox* box : std::as_const(tickItems_))
        box->setChecked(list.contains(box->text()));
}

void TfmCheckZP::updateTitle()
{
    setWindowTitle(session_.title(templateName()));
}

void TfmCheckZP::beginAmountEntry(QLineEdit* over)
{
    inputJEXX->setGeometry(over->geometry());
    inputJEXX->show();
    inputJEXX->raise();
    inputJEXX->selectAll();
    inputJEXX->setFocus();
}

void TfmCheckZP::finishAmountEntry()
{
    if (finishing_)
        return;
    finishing_ = true;
    inputJEXX->setText(normalizeAmount(inputJEXX->text()));
    setJEXX(inputJEXX->text());
    inputJEXX->hide();
    finishing_ = false;
}

bool TfmCheckZP::setJEXX(const QString& text)
{
    const AmountEntry entry = readAmountEntry(text);
    if (entry.status != AmountEntry::Status::Ok) {
        context_.messages().show(entry.message(), kAmountCaption);
        return false;
    }
    inputJEXX->setText(entry.text);
    const QString abbreviation = getMoneyCode();
    if (entry.fen == 0) {
        zdJEDX->clear();
        WriteToJEGrid(context_, this, abbreviation, QStringLiteral("0"), abbreviation, cfgNoPrtSheep->isChecked(), false);
        return true;
    }
    AmountWording wording;
    wording.currencyName = currencyName_;
    wording.abbreviation = abbreviation;
    wording.figuresWithCode = cfgJEXXWithMoneyCode->isChecked();
    wording.wordsWithName = cfgJEDXWithMoneyName->isChecked();
    wording.wordsKeepRmb = cfgJEDXRMBChecked->isChecked();
    const QString figures = amountFigures(entry.fen, wording);
    zdJEXX->setText(figures);
    cgJEXX->setText(figures);
    WriteToJEGrid(context_, this, abbreviation, fenToYuanText(entry.fen), abbreviation, cfgNoPrtSheep->isChecked(), false);
    zdJEDX->setText(amountWords(entry.fen, wording));
    return true;
}

bool TfmCheckZP::amountKey(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        finishAmountEntry();
        return true;
    }
    const QString text = event->text();
    if (text.isEmpty() || event->key() == Qt::Key_Backspace || event->key() == Qt::Key_Escape || text == QLatin1String("."))
        return false;
    const QChar c = text[0];
    if (c == QLatin1Char(' ') || c == QLatin1Char('-') || c.unicode() >= 0x41) {
        context_.messages().show(QStringLiteral("请输入合法的数值，全角的数字、字母、标点符号可不行哦\r如果打开了全角，"
                                                "请shift+空格键切换或者试试小键盘吧~"));
        return true;
    }
    return false;
}

QString TfmCheckZP::getMoneyCode()
{
    if (!abbreviation_)
        abbreviation_ = getMoneyCodeByName(context_.db(), currencyName_);
    return *abbreviation_;
}

void TfmCheckZP::setMoneyName(const QString& name)
{
    cfgMoneyType->setCurrentText(name);
    currencyChange(name);
}

void TfmCheckZP::currencyChange(const QString& text)
{
    if (text != currencyName_) {
        currencyName_ = text;
        abbreviation_.reset();
    }
    session_.edited();
    finishAmountEntry();
}

void TfmCheckZP::setDate(const QDate& date)
{
    SelDate->setDate(date);
    SelDateCloseUp();
}

void TfmCheckZP::SelDateCloseUp()
{
    const ChequeDateParts parts = chequeDateParts(SelDate->date(), cfgDateChinese->isChecked());
    zdNian->setText(parts.year);
    zdYue->setText(parts.month);
    zdRi->setText(parts.day);
    cgNian->setText(parts.cgYear);
    cgYue->setText(parts.cgMonth);
    cgRi->setText(parts.cgDay);
    zdNianYueRi->setText(parts.iso);
    session_.edited();
}

void TfmCheckZP::hideOrPlace(const QStringList& names, bool hide)
{
    for (const QString& name : names) {
        if (hide) {
            if (QWidget* control = findNamedControl(this, name))
                control->hide();
        } else {
            setFormCtlPositionFromIni(name, cache_.get(), this);
        }
    }
}

void TfmCheckZP::rememberOptions()
{
    Catalogue& catalogue = context_.catalogue();
    for (QCheckBox* box : {cfgDateChinese, cfgJEDXRMBChecked, cfgPrintOutBankAcct, cfgPrintOutBank,
                           cfgJEDXWithMoneyName, cfgJEXXWithMoneyCode})
        catalogue.setCheckConfigByName(templateId_, box->objectName(),
                                       box->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    if (!cfgMoneyType->currentText().isEmpty())
        catalogue.setCheckConfigByName(templateId_, QStringLiteral("cfgDefaultMoney"), cfgMoneyType->currentText());
    context_.messages().show(QStringLiteral("打印勾选及选项已记住！"));
    cache_.reset();
    catalogue.buildCheckIniFile(templateId_);
    cache_ = catalogue.OpenCheckInif(templateId_);
}

void TfmCheckZP::setSender(const TPerson* person)
{
    drawer_ = person ? std::make_unique<TPerson>(*person) : nullptr;
    zdOutComp->setEditText(person ? person->getFullName() : QString());
    zdOutBank->setText(person ? person->getBank() : QString());
    zdOutBankAcct->setEditText(person ? person->getBankAcct() : QString());
}

void TfmCheckZP::setReceiver(const TPerson* person)
{
    payee_ = person ? std::make_unique<TPerson>(*person) : nullptr;
    const QString name = person ? person->getFullName() : QString();
    if (zdInComp->currentText() != name) {
        QSignalBlocker block(zdInComp);
        zdInComp->setEditText(name);
    }
    cgInComp->setText(name);
}

void TfmCheckZP::setInComp(const QString& name)
{
    if (!payee_)
        payee_ = std::make_unique<TPerson>();
    // The prompt is not a payee: the counterfoil stays empty while it shows.
    payee_->setFullName(name == kPayeePrompt ? QString() : name);
    std::unique_ptr<TPerson> payee = std::move(payee_);
    setReceiver(payee.get());
}

void TfmCheckZP::drawerLeft()
{
    session_.edited();
    const QString name = trimText(zdOutComp->currentText());
    if (session_.loading || name.isEmpty())
        return;
    try {
        SqlQuery row = context_.db().query(QStringLiteral("Select 开户银行, 开户行账号 From CKPersonalInfoTable "
                                                          "where rtrim(ltrim(全称))=:name order by 全称"),
                                           {{QStringLiteral("name"), name}});
        if (row.next()) {
            zdOutBank->setText(row.value(0).toString());
            zdOutBankAcct->setEditText(row.value(1).toString());
        }
    } catch (const DatabaseError&) {
    }
}

void TfmCheckZP::fillListOnEntry(QComboBox* box)
{
    if (box->count() > 0)
        return;
    const QString text = box->currentText();
    QStringList list;
    Database& db = context_.db();
    if (box == zdOutComp) {
        list = loadCompanyList(db, TPerson::kOwnUnit);
    } else if (box == zdInComp) {
        list = loadCompanyList(db, TPerson::kCounterpartUnit);
    } else if (box == zdYT) {
        list = loadDMListByName(db, QStringLiteral("用途"), QStringLiteral("0"));
    } else {
        const QString name = box == zdDef1 ? QStringLiteral("自定义1") : QStringLiteral("自定义2");
        list = loadDMListByName(db, name, QString::number(templateId_));
        if (list.isEmpty())
            list = loadDMListByName(db, name, QStringLiteral("0"));
    }
    QSignalBlocker block(box);
    box->addItems(list);
    box->setEditText(text);
}

void TfmCheckZP::numberPicked(const QString& number)
{
    const std::optional<PreEnteredNumber> found = session_.pickNumber(number);
    if (!found)
        return;
    zdOutBank->setText(found->bank);
    zdOutBankAcct->setEditText(found->account);
    if (!found->templateName.isEmpty() && found->templateName != templateName())
        setCurrentCheckType(found->templateName);
    updateTitle();
}

void TfmCheckZP::pickDrawer()
{
    if (std::unique_ptr<TPerson> person = fetchOnePerson(context_, this, TPerson::kOwnUnit, QStringLiteral("选取付款行")))
        setSender(person.get());
}

void TfmCheckZP::pickPayee()
{
    if (std::unique_ptr<TPerson> person =
            fetchOnePerson(context_, this, TPerson::kCounterpartUnit, QStringLiteral("选取收款人")))
        setReceiver(person.get());
}

void TfmCheckZP::savePayeeClick()
{
    TPerson person;
    person.setID(-1);
    const QString text = zdInComp->currentText();
    person.setFullName(text == kPayeePrompt ? QString() : text);
    person.setUnitType(TPerson::kCounterpartUnit);
    savePersonToAddressBook(context_, this, &person);
}

ChequeRecord TfmCheckZP::currentRecord() const
{
    ChequeRecord record;
    record.templateName = templateName();
    record.options = getItemCheckTitle();
    record.number = zdPJBH->currentText();
    record.remark = zdRemark->toPlainText();
    record.currency = cfgMoneyType->currentText();
    record.amount = inputJEXX->text();
    record.date = SelDate->date();
    const QString payee = zdInComp->currentText();
    record.payee = payee == kPayeePrompt ? QString() : payee;
    record.drawer = zdOutComp->currentText();
    record.drawerAccount = zdOutBankAcct->currentText();
    record.bank = zdOutBank->text();
    record.password = zdZFMM->text();
    record.purpose = zdYT->currentText();
    const QWidget* custom[] = {zdDef1, zdDef2, zdDef3, zdDef4, zdDef5};
    for (int i = 0; i < 5; ++i) {
        if (!custom[i]->isVisibleTo(this))
            continue;
        if (const auto* box = qobject_cast<const QComboBox*>(custom[i]))
            record.custom[i] = box->currentText();
        else
            record.custom[i] = static_cast<const QLineEdit*>(custom[i])->text();
    }
    return record;
}

void TfmCheckZP::afterSave(const ChequeRecord& record)
{
    if (record.date != SelDate->date())
        setDate(record.date);
    if (!record.number.isEmpty()) {
        QSignalBlocker block(zdPJBH);
        const int index = zdPJBH->findText(record.number);
        if (index >= 0)
            zdPJBH->removeItem(index);
        zdPJBH->setEditText(record.number);
    }
    session_.saved = true;
    updateTitle();
}

bool TfmCheckZP::saveBill()
{
    finishAmountEntry();
    ChequeRecord record = currentRecord();
    const bool written = session_.saveCommand(record, context_.today.isValid() ? context_.today : QDate::currentDate());
    if (written)
        afterSave(record);
    btSaveAs->setEnabled(session_.recordNumber > 0);
    return written;
}

void TfmCheckZP::saveClick()
{
    saveBill();
}

void TfmCheckZP::newClick()
{
    session_.newCheque();
    setReceiver(nullptr);
    zdRemark->clear();
    setJEXX(QString());
    inputJEXX->clear();
    zdYT->setEditText(QString());
    setDate(context_.today.isValid() ? context_.today : QDate::currentDate());
    session_.saved = false;
    btSaveAs->setEnabled(false);
    updateTitle();
}

void TfmCheckZP::copyClick()
{
    if (!session_.copy())
        return;
    zdPJBH->setEditText(QString());
    session_.saved = false;
    updateTitle();
}

bool TfmCheckZP::printBill(int copies)
{
    finishAmountEntry();
    PrintSourceImpl source(*this);
    PrintJob job(context_, source);
    if (!job.PrintPrepare() || !job.PrinterTransBegin(copies))
        return false;
    job.SendCheckToPrinter();
    return job.PrinterTransEnd();
}

void TfmCheckZP::printClick()
{
    btPrint1->setEnabled(false);
    printBill(1);
    btPrint1->setEnabled(true);
}

void TfmCheckZP::printAndSaveClick()
{
    session_.announce = false;
    btPrintAndSave->setEnabled(false);
    printClick();
    saveBill();
    zdPJBH->clear();
    zdPJBH->setEditText(QString());
    copyClick();
    btSaveAs->setEnabled(false);
    btPrintAndSave->setEnabled(true);
    session_.announce = true;
}

void TfmCheckZP::repeatPrintClick()
{
    const QString answer = giveMeAnValue(this, QStringLiteral("输入重复打印的张数"), QStringLiteral("1"),
                                         QStringLiteral("integer"));
    if (answer.isEmpty())
        return;
    bool ok = false;
    const int copies = trimText(answer).toInt(&ok);
    if (!ok) {
        context_.messages().show(QStringLiteral("输入错误的数字！"));
        return;
    }
    for (QToolButton* button : {btPrint1, btPrintAndSave, btMultiPrintF})
        button->setEnabled(false);
    printBill(copies);
    for (QToolButton* button : {btPrint1, btPrintAndSave, btMultiPrintF})
        button->setEnabled(true);
}

void TfmCheckZP::pictureClick()
{
    if (SelDate->isVisibleTo(this))
        SelDate->setFocus();
    else if (cbFirstTypeName->isVisibleTo(this))
        cbFirstTypeName->setFocus();
    else
        btPrint1->setFocus();
    finishAmountEntry();
}

void TfmCheckZP::applyRecord(const ChequeRecord& record)
{
    setItemCheckTitle(record.options);
    zdPJBH->setEditText(record.number);
    // Rows entered in advance carry no currency: the form's stays.
    if (!record.currency.isEmpty()) {
        cfgMoneyType->setCurrentText(record.currency);
        currencyChange(record.currency);
    }
    inputJEXX->setText(record.amount);
    finishAmountEntry();
    setInComp(record.payee);
    {
        QSignalBlocker block(zdInComp);
        zdInComp->setEditText(record.payee);
    }
    zdYT->setEditText(record.purpose);
    cgYT->setText(record.purpose);
    zdZFMM->setText(record.password);
    zdOutComp->setEditText(record.drawer);
    zdOutBankAcct->setEditText(record.drawerAccount);
    zdOutBank->setText(record.bank);
    zdRemark->setPlainText(record.remark);
    if (record.date.isValid())
        setDate(record.date);
    zdDef1->setEditText(record.custom[0].value_or(QString()));
    zdDef2->setEditText(record.custom[1].value_or(QString()));
    zdDef3->setText(record.custom[2].value_or(QString()));
    zdDef4->setText(record.custom[3].value_or(QString()));
    zdDef5->setText(record.custom[4].value_or(QString()));
}

void TfmCheckZP::BrowseOldCheck(const QString& name, const QString& recordNumberText)
{
    const int serial = recordNumberText.toInt();
    if (name != templateName()) {
        int id = 0;
        if (!name.isEmpty()) {
            id = context_.catalogue().loadCheckTypeIDByFirstAndLastName(kBillType, name);
            QSignalBlocker block(cbFirstTypeName);
            cbFirstTypeName->setCurrentText(name);
        } else {
            id = context_.catalogue().loadCheckTypeIDByFirstAndLastName(kBillType, templateName());
        }
        if (id > 0) {
            loadedId_ = -1;
            templateId_ = id;
            templateChange();
        }
    }
    QString status;
    session_.recordNumber = serial;
    if (serial > 0) {
        session_.loading = true;
        if (const std::optional<ChequeRecord> record = session_.beginLoad(serial)) {
            applyRecord(*record);
            status = record->status;
        }
        session_.loading = false;
    }
    session_.finishLoad(status);
    updateTitle();
    btSaveAs->setEnabled(session_.saved);
    if (isHidden())
        show();
    raise();
}

QWidget* TfmCheckZP::frameWidget()
{
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
        return sub;
    return this;
}

void TfmCheckZP::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (positioned_)
        return;
    positioned_ = true;
    IniFile& ini = context_.userIniFile();
    frameWidget()->move(ini.readInteger(kSection, QStringLiteral("PositionX"), 0),
                        ini.readInteger(kSection, QStringLiteral("PositionY"), 0));
    placeToolBar(ini.readString(kSection, QStringLiteral("PositionBar"), QStringLiteral("top"))
                 == QLatin1String("bottom"));
    const int screenHeight = screen() ? screen()->geometry().height() : 768;
    const int lines = screenHeight <= 799 ? 23 : (screenHeight > 899 ? 50 : 35);
    zdOutComp->setMaxVisibleItems(lines);
    zdInComp->setMaxVisibleItems(lines);
    cbFirstTypeName->setMaxVisibleItems(screenHeight <= 1000 ? 26 : 35);
}

void TfmCheckZP::closeEvent(QCloseEvent* event)
{
    if (hasTemplate()) {
        finishAmountEntry();
        if (session_.shouldAskOnClose(zdInComp->currentText(), zdJEDX->text())
            && context_.messages().ask(QStringLiteral("是否保存该支票？"), QStringLiteral("关闭票据"))) {
            ChequeRecord record = currentRecord();
            const QDate today = context_.today.isValid() ? context_.today : QDate::currentDate();
            const ChequeSession::SaveOutcome outcome = session_.save(record, today);
            if (outcome == ChequeSession::SaveOutcome::Failed) {
                // The user was told why; the cheque stays on screen.
                event->ignore();
                return;
            }
            if (outcome == ChequeSession::SaveOutcome::Written)
                afterSave(record);
        }
        if (positioned_) {
            IniFile& ini = context_.userIniFile();
            const QPoint at = frameWidget()->pos();
            ini.writeInteger(kSection, QStringLiteral("PositionX"), at.x());
            ini.writeInteger(kSection, QStringLiteral("PositionY"), at.y());
            ini.writeString(kSection, QStringLiteral("PositionBar"),
                            barAtBottom_ ? QStringLiteral("bottom") : QStringLiteral("top"));
        }
    }
    cache_.reset();
    context_.currentTemplateId = -1;
    event->accept();
}

bool TfmCheckZP::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == inputJEXX) {
        if (event->type() == QEvent::KeyPress)
            return amountKey(static_cast<QKeyEvent*>(event));
        if (event->type() == QEvent::FocusOut && inputJEXX->isVisible())
            finishAmountEntry();
    } else if (watched == zdJEDX || watched == zdJEXX) {
        if (event->type() == QEvent::FocusIn)
            beginAmountEntry(static_cast<QLineEdit*>(watched));
    } else if (watched == bgImage) {
        if (event->type() == QEvent::MouseButtonPress)
            pictureClick();
    } else if (watched == zdOutComp->lineEdit()) {
        if (event->type() == QEvent::FocusOut)
            drawerLeft();
    } else if (auto* box = qobject_cast<QComboBox*>(watched)) {
        if (event->type() == QEvent::FocusIn)
            fillListOnEntry(box);
        else if (event->type() == QEvent::MouseButtonDblClick && box->lineEdit())
            box->lineEdit()->selectAll();
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace slipcraft
