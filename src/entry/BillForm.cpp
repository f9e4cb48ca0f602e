#include "entry/BillForm.h"

#include "entry/bills/CheckJZD.h"

#include "dictionaries/Dictionaries.h"
#include "entry/ControlValues.h"
#include "entry/FormControls.h"
#include "entry/InputValue.h"
#include "entry/PrintJob.h"
#include "entry/PrintRenderer.h"
#include "parties/DAOPerson.h"
#include "parties/PersonManage.h"
#include "platform/IniFile.h"
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
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QStyle>
#include <QTabBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace slipcraft {

namespace {

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

// The boxes an option hides while ticked; those a form lacks are passed over.
const QList<std::pair<QString, QStringList>> kHidingOptions = {
    {QStringLiteral("cfgNoPrtDate"),
     {QStringLiteral("zdNian"), QStringLiteral("zdYue"), QStringLiteral("zdRi"), QStringLiteral("zdNianYueRi"),
      QStringLiteral("cgNian"), QStringLiteral("cgYue"), QStringLiteral("cgRi"), QStringLiteral("cgNianYueRi")}},
    {QStringLiteral("cfgNoPrtOutter"),
     {QStringLiteral("zdOutComp"), QStringLiteral("zdOutBank"), QStringLiteral("zdOutBankAcct"),
      QStringLiteral("zdOutProv"), QStringLiteral("zdOutCity")}},
    {QStringLiteral("cfgNoPrtJEXX"), QStringList{QStringLiteral("zdJEXX")} + kDigitBoxes},
    {QStringLiteral("cfgNoPrtJEDX"), {QStringLiteral("zdJEDX")}},
};
// Options whose change redraws the date, and those that apply the amount again.
const QStringList kDateOptions = {QStringLiteral("cfgDateChinese"), QStringLiteral("cfgMiniYear"),
                                  QStringLiteral("cfgPrintOutBankAcct"), QStringLiteral("cfgPrintOutBank")};
const QStringList kAmountOptions = {QStringLiteral("cfgNoPrtSheep"), QStringLiteral("cfgJEDXRMBChecked"),
                                    QStringLiteral("cfgJEDXWithMoneyName"), QStringLiteral("cfgJEXXWithMoneyCode"),
                                    QStringLiteral("cfgJEDXYuan")};

// The face date boxes: their counterfoil copies follow the date, not the face.
const QStringList kDateBoxes = {QStringLiteral("zdNian"), QStringLiteral("zdYue"), QStringLiteral("zdRi"),
                                QStringLiteral("zdNianYueRi")};
// Boxes the form fills from the date or the amount; the user never types into them.
const QStringList kFilledBoxes = kDateBoxes + QStringList{QStringLiteral("zdJEXX"), QStringLiteral("zdJEDX")};

// One digit a box: zdYY … zdF, their counterfoil copies and the upper-case digits.
const QRegularExpression kDigitBox(QStringLiteral("^(zd|cg|zdDX)(YY|QW|BW|SW|WY|QY|BY|SY|Y|J|F)$"),
                                   QRegularExpression::CaseInsensitiveOption);

QString widgetText(const QWidget* widget)
{
    if (const auto* edit = qobject_cast<const QLineEdit*>(widget))
        return edit->text();
    if (const auto* box = qobject_cast<const QComboBox*>(widget))
        return box->currentText();
    if (const auto* text = qobject_cast<const QPlainTextEdit*>(widget))
        return text->toPlainText();
    return {};
}

void setWidgetText(QWidget* widget, const QString& text)
{
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        edit->setText(text);
    else if (auto* box = qobject_cast<QComboBox*>(widget))
        box->setEditText(text);
    else if (auto* plain = qobject_cast<QPlainTextEdit*>(widget)) {
        if (plain->toPlainText() != text)
            plain->setPlainText(text);
    }
}

// Runs handler with the new text whenever the box's text changes.
void onTextChange(QWidget* widget, QObject* context, const std::function<void(const QString&)>& handler)
{
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        QObject::connect(edit, &QLineEdit::textChanged, context, handler);
    else if (auto* box = qobject_cast<QComboBox*>(widget))
        QObject::connect(box, &QComboBox::editTextChanged, context, handler);
    else if (auto* plain = qobject_cast<QPlainTextEdit*>(widget))
        QObject::connect(plain, &QPlainTextEdit::textChanged, context, [plain, handler] { handler(plain->toPlainText()); });
}

// The address book's bank and account of a full name: the first row in name order.
std::optional<std::pair<QString, QString>> bankAndAccountOf(Database& db, const QString& name)
{
    SqlQuery row = db.query(QStringLiteral("Select 开户银行, 开户行账号 From CKPersonalInfoTable "
                                           "where rtrim(ltrim(全称))=:name order by 全称"),
                            {{QStringLiteral("name"), name}});
    if (!row.next())
        return std::nullopt;
    return std::make_pair(row.value(0).toString(), row.value(1).toString());
}

} // namespace

// The print pass reads the boxes on the picture; the kind may keep items off the paper.
class TfmBillForm::PrintSourceImpl : public WidgetPrintSource {
public:
    explicit PrintSourceImpl(TfmBillForm& form)
        : WidgetPrintSource(form.context_, form.panelImgBg, form.kind_.billType,
                            {form.templateId_, form.kind_.bankBill, form.kind_.digitBoxPitch,
                             form.kind_.bankBill ? form.getMoneyCode() : QString(), form.kind_.copyLimit})
        , form_(form)
    {
    }
    bool includeItem(const QString& itemName) const override { return form_.printsItem(itemName.toUpper()); }
    void beforePrintPass() override
    {
        if (auto* payee = qobject_cast<QComboBox*>(form_.boxWidget(form_.kind_.payeeNameBox()));
            payee && !form_.kind_.payeePrompt.isEmpty() && payee->currentText() == form_.kind_.payeePrompt)
            payee->setEditText(QString());
    }
    void showTemplateChooser() override { form_.cbFirstTypeName->setVisible(true); }

private:
    TfmBillForm& form_;
};

TfmBillForm::TfmBillForm(AppContext& context, const BillKind& kind, QWidget* parent)
    : QWidget(parent)
    , context_(context)
    , kind_(kind)
    , session_(context, kind)
{
    setObjectName(kind.formName);
    setAttribute(Qt::WA_DeleteOnClose);
    buildControls();
    buildOptionStrip();
    buildToolBar();
}

TfmBillForm::~TfmBillForm()
{
    context_.currentTemplateId = -1;
}

void TfmBillForm::start()
{
    openForm();
}

void TfmBillForm::setCommands(BillFormCommands commands)
{
    commands_ = std::move(commands);
    btMoveXY->setEnabled(bool(commands_.wholeFormOffset));
    btDesign->setEnabled(bool(commands_.designMode));
    btOpenCheck->setEnabled(bool(commands_.openHistory));
    bt2CheckJZD->setEnabled(bool(commands_.depositSlip));
    bt2CheckJZD->setToolTip(commands_.depositSlip ? QStringLiteral("重填一张新单") : QStringLiteral("此功能尚未开放"));
}

QString TfmBillForm::templateName() const
{
    return cbFirstTypeName->currentText();
}

QCheckBox* TfmBillForm::option(const QString& name) const
{
    return options_.value(name.toLower());
}

QString TfmBillForm::optionChoice(const QString& name) const
{
    const QComboBox* choice = choices_.value(name.toLower());
    return choice ? choice->currentText() : QString();
}

QString TfmBillForm::boxText(const QString& name) const
{
    const QString text = widgetText(boxWidget(name));
    return !kind_.payeePrompt.isEmpty() && text == kind_.payeePrompt ? QString() : text;
}

void TfmBillForm::setBoxText(const QString& name, const QString& text)
{
    setWidgetText(boxWidget(name), text);
}

QString TfmBillForm::amountEntryText() const
{
    return inputJEXX->text();
}

void TfmBillForm::finishEditing()
{
    finishAmountEntry();
    finishEntries();
}

QWidget* TfmBillForm::buildBox(const BoxSpec& described)
{
    QWidget* box = nullptr;
    switch (described.type) {
    case BoxType::Edit:
    case BoxType::ReadOnly: {
        auto* edit = new QLineEdit(panelImgBg);
        edit->setReadOnly(described.type == BoxType::ReadOnly);
        if (described.maxLength > 0)
            edit->setMaxLength(described.maxLength);
        if (kDigitBox.match(described.name).hasMatch())
            edit->setAlignment(Qt::AlignCenter);
        box = edit;
        break;
    }
    case BoxType::DropDown: {
        auto* combo = new QComboBox(panelImgBg);
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        if (described.maxLength > 0)
            combo->lineEdit()->setMaxLength(described.maxLength);
        combo->addItems(described.fixedItems);
        combo->setEditText(QString());
        combo->installEventFilter(this);
        box = combo;
        break;
    }
    case BoxType::MultiLine:
        box = new QPlainTextEdit(panelImgBg);
        break;
    case BoxType::TickBox: {
        auto* tick = new QCheckBox(described.caption, panelImgBg);
        connect(tick, &QCheckBox::toggled, this, [this] { session_.edited(); });
        box = tick;
        break;
    }
    }
    box->setObjectName(described.name);
    if (!described.hint.isEmpty())
        box->setToolTip(described.hint);
    boxes_.insert(described.name.toLower(), box);
    return box;
}

// A box's change marks the bill changed (unless the form filled it) and reaches its
// counterfoil copy.
void TfmBillForm::connectBox(const BoxSpec& described, QWidget* box)
{
    if (described.type == BoxType::TickBox)
        return;
    QWidget* twin = kDateBoxes.contains(described.name, Qt::CaseInsensitive) ? nullptr : boxWidget(counterfoilTwin(described.name));
    const bool editable = described.type != BoxType::ReadOnly && described.marksChanged
                          && !kFilledBoxes.contains(described.name, Qt::CaseInsensitive);
    if (!twin && !editable)
        return;
    onTextChange(box, this, [this, twin, editable](const QString& text) {
        if (twin)
            setWidgetText(twin, text == kind_.payeePrompt ? QString() : text);
        if (editable)
            session_.edited();
    });
}

void TfmBillForm::buildControls()
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

    for (const BoxSpec& described : kind_.boxes)
        buildBox(described);
    for (const BoxSpec& described : kind_.boxes)
        connectBox(described, boxWidget(described.name));
    for (int i = 0; i < 6; ++i) {
        auto* box = new QCheckBox(panelImgBg);
        box->setObjectName(QStringLiteral("DEFCHECK%1").arg(i));
        connect(box, &QCheckBox::toggled, this, [this] { session_.edited(); });
    }
    if (!kind_.drawerPickerCaption.isEmpty()) {
        auto* shape = new ShapeBox(kind_.drawerShape, Qt::DotLine, QStringLiteral("点击选取出票账户"), panelImgBg);
        shape->clicked = [this] { pickDrawer(); };
    }
    if (!kind_.payeePickerCaption.isEmpty()) {
        auto* shape = new ShapeBox(kind_.payeeShape, Qt::DashDotLine, QStringLiteral("点击选取收款单位"), panelImgBg);
        shape->clicked = [this] { pickPayee(); };
    }

    inputJEXX = new QLineEdit(panelImgBg);
    inputJEXX->setObjectName(QStringLiteral("inputJEXX"));
    inputJEXX->setToolTip(QStringLiteral("金额大写(只需输入小写,回车自动转换大写),"));
    inputJEXX->installEventFilter(this);
    connect(inputJEXX, &QLineEdit::textEdited, this, [this](const QString& text) {
        if (!kind_.amountEntryWritesBack)
            setBoxText(QStringLiteral("zdJEXX"), text);
        session_.edited();
    });
    for (const QString& name : kind_.amountEntryBoxes)
        if (QWidget* box = boxWidget(name))
            box->installEventFilter(this);

    // Everything on the picture starts hidden until the layout cache places it.
    for (QWidget* child : panelImgBg->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (child != bgImage)
            child->hide();

    if (auto* payee = qobject_cast<QComboBox*>(boxWidget(kind_.payeeNameBox()))) {
        if (!kind_.payeePrompt.isEmpty())
            payee->setEditText(kind_.payeePrompt);
        connect(payee, &QComboBox::editTextChanged, this, [this](const QString& text) {
            setInComp(text);
            if (kind_.payeeChangeFillsBank)
                fillBankFromName(QStringLiteral("In"));
        });
        connect(payee->lineEdit(), &QLineEdit::returnPressed, this, &TfmBillForm::payeeEntered);
        connect(payee, &QComboBox::textActivated, this, &TfmBillForm::payeePicked);
        if (kind_.payeeLeaveListsAccounts)
            payee->lineEdit()->installEventFilter(this);
    }
    if (auto* drawer = qobject_cast<QComboBox*>(boxWidget(kind_.drawerNameBox()))) {
        if (kind_.drawerLeaveFillsBank)
            drawer->lineEdit()->installEventFilter(this);
        if (kind_.drawerEnterFinds) {
            connect(drawer->lineEdit(), &QLineEdit::returnPressed, this, &TfmBillForm::drawerEntered);
            connect(drawer, &QComboBox::textActivated, this, &TfmBillForm::drawerPicked);
        }
        if (kind_.drawerChangeFillsBank || kind_.drawerChangeAppliesSender) {
            connect(drawer, &QComboBox::editTextChanged, this, &TfmBillForm::drawerChanged);
            connect(drawer->lineEdit(), &QLineEdit::returnPressed, this, &TfmBillForm::drawerChanged);
        }
    }
    for (const auto& [accountBox, bankBox] : kind_.accountBanks)
        if (QWidget* account = boxWidget(accountBox))
            onTextChange(account, this, [this, accountBox = accountBox, bankBox = bankBox](const QString&) {
                accountChanged(accountBox, bankBox);
            });
    for (const BoxSpec& described : kind_.boxes) {
        // A new province offers its own cities on the next entry.
        if (described.list == BoxList::Cities)
            if (auto* city = qobject_cast<QComboBox*>(boxWidget(described.name)))
                onTextChange(boxWidget(described.listName), city, [city](const QString&) {
                    const QString text = city->currentText();
                    QSignalBlocker block(city);
                    city->clear();
                    city->setEditText(text);
                });
    }
    if (kind_.picksPreEnteredNumbers)
        if (auto* number = qobject_cast<QComboBox*>(boxWidget(QStringLiteral("zdPJBH"))))
            connect(number, &QComboBox::textActivated, this, &TfmBillForm::numberPicked);

    connect(cbFirstTypeName, &QComboBox::textActivated, this, [this] { templateChange(); });
    connect(tbcCheckTypeName, &QTabBar::tabBarClicked, this, &TfmBillForm::tabClick);
}

void TfmBillForm::buildOptionStrip()
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

    for (const OptionSpec& described : kind_.options) {
        if (!described.choices.isEmpty()) {
            auto* choice = new QComboBox(shortbar);
            choice->setObjectName(described.name);
            choice->addItems(described.choices);
            choices_.insert(described.name.toLower(), choice);
            (described.firstRow() ? first : second)->addWidget(new QLabel(described.caption, shortbar));
            (described.firstRow() ? first : second)->addWidget(choice);
            connect(choice, &QComboBox::currentTextChanged, this, [this] { SelDateCloseUp(); });
            continue;
        }
        auto* box = new QCheckBox(described.caption, shortbar);
        box->setObjectName(described.name);
        box->setChecked(described.stored);
        options_.insert(described.name.toLower(), box);
        (described.firstRow() ? first : second)->addWidget(box);
        connectOption(box);
    }
    cfgMoneyType = new QComboBox(shortbar);
    cfgMoneyType->setObjectName(QStringLiteral("cfgMoneyType"));
    if (kind_.bankBill)
        first->addWidget(new QLabel(QStringLiteral("币种:"), shortbar));
    else
        cfgMoneyType->hide();
    auto* remember = new QPushButton(kind_.rememberCaption, shortbar);
    remember->setObjectName(QStringLiteral("btRmember"));
    SelDate = new QDateEdit(shortbar);
    SelDate->setObjectName(QStringLiteral("SelDate"));
    SelDate->setCalendarPopup(true);
    SelDate->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    if (kind_.bankBill)
        first->addWidget(cfgMoneyType);
    first->addWidget(remember);
    first->addStretch();
    second->addWidget(SelDate);
    second->addStretch();

    connect(cfgMoneyType, &QComboBox::currentTextChanged, this, &TfmBillForm::currencyChange);
    connect(remember, &QPushButton::clicked, this, &TfmBillForm::rememberOptions);
    connect(SelDate, &QDateEdit::dateChanged, this, [this] {
        session_.edited();
        SelDateCloseUp();
    });
}

void TfmBillForm::connectOption(QCheckBox* box)
{
    const QString name = box->objectName();
    if (kDateOptions.contains(name))
        connect(box, &QCheckBox::toggled, this, [this] { SelDateCloseUp(); });
    if (kAmountOptions.contains(name))
        connect(box, &QCheckBox::toggled, this, [this] { finishAmountEntry(); });
    for (const auto& [option, hidden] : kHidingOptions)
        if (option == name)
            connect(box, &QCheckBox::toggled, this, [this, hidden = hidden, name](bool on) {
                hideOrPlace(hidden, on);
                if (name == QLatin1String("cfgNoPrtDate"))
                    SelDate->setVisible(!on);
            });
    if (name == QLatin1String("cfgChangeInOuter"))
        connect(box, &QCheckBox::toggled, this, &TfmBillForm::swapParties);
}

QToolButton* TfmBillForm::addToolButton(const QString& name, const QString& caption, const QString& hint, int icon)
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

void TfmBillForm::buildToolBar()
{
    toolBarCheck = new QToolBar(this);
    toolBarCheck->setObjectName(QStringLiteral("toolBarCheck"));
    btUpOrDown = addToolButton(kind_.upDownButton, QStringLiteral("下"), {}, QStyle::SP_ArrowDown);
    btMoveXY = addToolButton(QStringLiteral("btMoveXY"), QStringLiteral("整体偏移"), QStringLiteral("打印整体偏移"),
                             QStyle::SP_ArrowRight);
    btDesign = addToolButton(QStringLiteral("btDesign"), QStringLiteral("设计模式"),
                             QStringLiteral("单据模板的细节项目调整"), QStyle::SP_FileDialogDetailedView);
    btSaveSKRen = addToolButton(QStringLiteral("btSaveSKRen"), kind_.savePayeeCaption, kind_.savePayeeHint,
                                QStyle::SP_DirHomeIcon);
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
    // A command whose window the main window has not handed over stays disabled.
    for (QToolButton* button : {bt2CheckJZD, btSaveAs, btMoveXY, btDesign, btOpenCheck})
        button->setEnabled(false);
    // QToolBar shows and hides the actions of its widgets, not the widgets.
    for (QAction* action : toolBarCheck->actions()) {
        if (toolBarCheck->widgetForAction(action) == bt2CheckJZD)
            action->setVisible(kind_.convertsToDepositSlip);
        if (toolBarCheck->widgetForAction(action) == btMultiPrintF)
            action->setVisible(kind_.repeatPrint);
    }
    layout_->insertWidget(1, toolBarCheck);

    connect(btUpOrDown, &QToolButton::clicked, this, [this] { placeToolBar(!barAtBottom_); });
    connect(btMoveXY, &QToolButton::clicked, this, [this] {
        context_.currentTemplateId = templateId_;
        commands_.wholeFormOffset();
    });
    connect(btDesign, &QToolButton::clicked, this, [this] {
        context_.currentTemplateId = templateId_;
        commands_.designMode();
    });
    connect(btOpenCheck, &QToolButton::clicked, this, [this] { commands_.openHistory(); });
    connect(btSaveSKRen, &QToolButton::clicked, this, &TfmBillForm::savePayeeClick);
    connect(bt2CheckJZD, &QToolButton::clicked, this, &TfmBillForm::convertClick);
    connect(btNewCheck, &QToolButton::clicked, this, &TfmBillForm::newClick);
    connect(btSaveAs, &QToolButton::clicked, this, &TfmBillForm::copyClick);
    connect(btSaveCheck, &QToolButton::clicked, this, &TfmBillForm::saveClick);
    connect(btPrint1, &QToolButton::clicked, this, &TfmBillForm::printClick);
    connect(btPrintAndSave, &QToolButton::clicked, this, &TfmBillForm::printAndSaveClick);
    connect(btMultiPrintF, &QToolButton::clicked, this, &TfmBillForm::repeatPrintClick);
    connect(btClose, &QToolButton::clicked, this, &QWidget::close);
}

void TfmBillForm::placeToolBar(bool bottom)
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

QDate TfmBillForm::today() const
{
    return context_.today.isValid() ? context_.today : QDate::currentDate();
}

void TfmBillForm::openForm()
{
    cfgMoneyType->blockSignals(true);
    try {
        cfgMoneyType->addItems(loadMoneyTypeList(context_.db()));
        if (kind_.picksPreEnteredNumbers)
            if (auto* number = qobject_cast<QComboBox*>(boxWidget(QStringLiteral("zdPJBH")))) {
                number->addItems(BillStore(context_.db(), kind_).unusedNumbers());
                number->setEditText(QString());
            }
    } catch (const DatabaseError&) {
        // The lists stay short; the form is still usable.
    }
    cfgMoneyType->setCurrentText(currencyName_);
    cfgMoneyType->blockSignals(false);
    session_.announce = true;
    session_.recordNumber = -1;

    Catalogue& catalogue = context_.catalogue();
    int id = -1;
    try {
        id = catalogue.loadDefaultCheckTypeId(kind_.billType);
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
    SelDate->setDate(today());
    SelDateCloseUp();

    try {
        cbFirstTypeName->addItems(catalogue.loadCheckTypeLastNameList(kind_.billType));
    } catch (const DatabaseError&) {
    }
    cbFirstTypeName->setCurrentText(catalogue.loadCheckTypeLastNameByID(id));
    // The tabs first: the window takes its height from the strip they fill.
    buildCommonBlocks();
    loadedId_ = 0;
    templateChange();
}

void TfmBillForm::buildCommonBlocks()
{
    QSignalBlocker block(tbcCheckTypeName);
    while (tbcCheckTypeName->count() > 0)
        tbcCheckTypeName->removeTab(0);
    for (const QString& name : context_.catalogue().loadCommonTypeLastNameList(kind_.billType))
        tbcCheckTypeName->addTab(name);
    tbcCheckTypeName->addTab(kCommonTab);
    for (int i = 0; i < tbcCheckTypeName->count(); ++i)
        if (tbcCheckTypeName->tabText(i) == templateName())
            tbcCheckTypeName->setCurrentIndex(i);
}

void TfmBillForm::templateChange()
{
    session_.templateChanged();
    const QString name = templateName();
    int id = 0;
    try {
        id = context_.catalogue().loadCheckTypeIDByFirstAndLastName(kind_.billType, name);
    } catch (const DatabaseError&) {
    }
    // A template picked from the list that no longer exists keeps the form as it is.
    if (id > 0)
        templateId_ = id;
    initFormType();
    setJEXX(inputJEXX->text());
    updateTitle();
    context_.currentTemplateId = templateId_;
    for (int i = 0; i < tbcCheckTypeName->count(); ++i)
        if (tbcCheckTypeName->tabText(i) == name) {
            QSignalBlocker block(tbcCheckTypeName);
            tbcCheckTypeName->setCurrentIndex(i);
        }
}

bool TfmBillForm::setCurrentCheckType(const QString& name)
{
    const int index = cbFirstTypeName->findText(name);
    if (index < 0)
        return false;
    cbFirstTypeName->setCurrentIndex(index);
    templateChange();
    return true;
}

void TfmBillForm::reloadTemplateList()
{
    Catalogue& catalogue = context_.catalogue();
    QSignalBlocker block(cbFirstTypeName);
    cbFirstTypeName->clear();
    try {
        cbFirstTypeName->addItems(catalogue.loadCheckTypeLastNameList(kind_.billType));
    } catch (const DatabaseError&) {
    }
    if (context_.currentTemplateId > 0)
        cbFirstTypeName->setCurrentText(catalogue.loadCheckTypeLastNameByID(context_.currentTemplateId));
}

void TfmBillForm::tabClick(int index)
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

void TfmBillForm::initFormType()
{
    Catalogue& catalogue = context_.catalogue();
    cache_ = catalogue.OpenCheckInif(templateId_);
    if (templateId_ == loadedId_)
        return;
    loadParam();
    loadCheckBoxsConfig();
    setFormControlsPosition(catalogue, context_, kind_.billType, this, cache_.get());
    // Lists that depend on the template are read again on the next entry.
    for (const BoxSpec& described : kind_.boxes) {
        if (described.list != BoxList::Dictionary && described.list != BoxList::SharedDictionary)
            continue;
        if (auto* box = qobject_cast<QComboBox*>(boxWidget(described.name))) {
            const QString text = box->currentText();
            QSignalBlocker block(box);
            box->clear();
            box->setEditText(text);
        }
    }
    loadedId_ = templateId_;
    templateLoaded();
}

void TfmBillForm::refreshLayout()
{
    loadParam();
    cache_ = context_.catalogue().OpenCheckInif(templateId_);
    setFormControlsPosition(context_.catalogue(), context_, kind_.billType, this, cache_.get());
}

void TfmBillForm::loadParam()
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

    const QImage picture = templatePicture(context_.db(), context_.getRunPath(), imageFile);
    if (!picture.isNull())
        bgImage->setPixmap(QPixmap::fromImage(picture.scaled(width, height)));
}

void TfmBillForm::loadCheckBox(const QString& titles)
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

void TfmBillForm::loadCheckBoxsConfig()
{
    for (const OptionSpec& described : kind_.options) {
        if (!described.stored)
            continue;
        const QString value = Catalogue::getInifCheckConfigByName(cache_.get(), described.name);
        if (QComboBox* choice = choices_.value(described.name.toLower())) {
            // A stored text the list lacks leaves the choice as it is.
            const int index = choice->findText(value.isEmpty() ? described.defaultChoice : value);
            if (index >= 0)
                choice->setCurrentIndex(index);
            continue;
        }
        option(described.name)->setChecked(described.tickedUnlessZero ? value != QLatin1String("0") : value == QLatin1String("1"));
    }
    if (!kind_.bankBill) {
        SelDateCloseUp();
        return;
    }
    QString money = Catalogue::getInifCheckConfigByName(cache_.get(), QStringLiteral("cfgDefaultMoney"));
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

QString TfmBillForm::getItemCheckTitle() const
{
    QStringList titles;
    for (const QCheckBox* box : tickItems_)
        if (box->isChecked())
            titles << box->text();
    return titles.join(QLatin1Char(','));
}

void TfmBillForm::setItemCheckTitle(const QString& titles)
{
    const QStringList list = titles.split(QLatin1Char(','));
    for (QCheckBox* box : std::as_const(tickItems_))
        box->setChecked(list.contains(box->text()));
}

void TfmBillForm::updateTitle()
{
    setWindowTitle(session_.title(templateName()));
}

void TfmBillForm::beginAmountEntry(QLineEdit* over)
{
    if (kind_.amountEntryWritesBack) {
        entryTarget_ = over;
        inputJEXX->setText(normalizeAmount(over->text()));
    }
    inputJEXX->setGeometry(over->geometry());
    inputJEXX->show();
    inputJEXX->raise();
    inputJEXX->selectAll();
    inputJEXX->setFocus();
}

void TfmBillForm::finishAmountEntry()
{
    if (finishing_)
        return;
    finishing_ = true;
    inputJEXX->setText(normalizeAmount(inputJEXX->text()));
    if (entryTarget_ && !inputJEXX->isHidden())
        entryTarget_->setText(inputJEXX->text());
    entryTarget_ = nullptr;
    setJEXX(inputJEXX->text());
    inputJEXX->hide();
    finishing_ = false;
}

bool TfmBillForm::setJEXX(const QString& text)
{
    if (!kind_.bankBill)
        return true;
    const AmountEntry entry = readAmountEntry(text);
    if (entry.status != AmountEntry::Status::Ok) {
        context_.messages().show(entry.message(), kAmountCaption);
        return false;
    }
    inputJEXX->setText(entry.text);
    const QString abbreviation = getMoneyCode();
    const bool byOptions = kind_.amountStyle == AmountStyle::CurrencyOptions;
    AmountWording wording;
    wording.currencyName = currencyName_;
    wording.abbreviation = abbreviation;
    wording.figuresWithCode = !byOptions || option(QStringLiteral("cfgJEXXWithMoneyCode"))->isChecked();
    wording.wordsWithName = !byOptions || option(QStringLiteral("cfgJEDXWithMoneyName"))->isChecked();
    wording.wordsKeepRmb = option(QStringLiteral("cfgJEDXRMBChecked"))->isChecked();
    wording.zeroFigures = byOptions ? QString() : QStringLiteral("0.00");
    fillDigitBoxes(entry.fen == 0 ? QStringLiteral("0") : fenToYuanText(entry.fen));
    setBoxText(QStringLiteral("zdJEXX"), amountFigures(entry.fen, wording));
    setBoxText(QStringLiteral("zdJEDX"), amountWords(entry.fen, wording));
    amountApplied(entry.fen);
    return true;
}

void TfmBillForm::fillDigitBoxes(const QString& amount)
{
    const QCheckBox* noSheep = option(QStringLiteral("cfgNoPrtSheep"));
    const QString abbreviation = getMoneyCode();
    WriteToJEGrid(context_, this, abbreviation, amount, abbreviation, noSheep && noSheep->isChecked(),
                  kind_.counterfoilDigits);
}

void TfmBillForm::clearAmount()
{
    inputJEXX->clear();
    fillDigitBoxes(QStringLiteral("0"));
    setBoxText(QStringLiteral("zdJEXX"), QString());
    setBoxText(QStringLiteral("zdJEDX"), QString());
}

bool TfmBillForm::amountKey(QKeyEvent* event)
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

QString TfmBillForm::getMoneyCode()
{
    if (!abbreviation_)
        abbreviation_ = getMoneyCodeByName(context_.db(), currencyName_);
    return *abbreviation_;
}

void TfmBillForm::setMoneyName(const QString& name)
{
    cfgMoneyType->setCurrentText(name);
    currencyChange(name);
}

void TfmBillForm::currencyChange(const QString& text)
{
    if (text != currencyName_) {
        currencyName_ = text;
        abbreviation_.reset();
    }
    session_.edited();
    finishAmountEntry();
}

void TfmBillForm::setDate(const QDate& date)
{
    SelDate->setDate(date);
    SelDateCloseUp();
}

QDate TfmBillForm::date() const
{
    return SelDate->date();
}

void TfmBillForm::SelDateCloseUp()
{
    drawDate(SelDate->date());
    session_.edited();
}

void TfmBillForm::drawDate(const QDate& date)
{
    const QCheckBox* twoDigits = option(QStringLiteral("cfgMiniYear"));
    const QCheckBox* inWords = option(QStringLiteral("cfgDateChinese"));
    const BillDateParts parts = billDateParts(date, inWords && inWords->isChecked(),
                                              twoDigits && twoDigits->isChecked(), kind_.counterfoilDateRepeatsFace);
    const std::pair<const char*, QString> boxes[] = {
        {"zdNian", parts.year},   {"zdYue", parts.month},        {"zdRi", parts.day},          {"cgNian", parts.cgYear},
        {"cgYue", parts.cgMonth}, {"cgRi", parts.cgDay},         {"zdNianYueRi", parts.iso}, {"cgNianYueRi", parts.iso}};
    for (const auto& [name, text] : boxes)
        setBoxText(QString::fromLatin1(name), text);
}

void TfmBillForm::hideOrPlace(const QStringList& names, bool hide)
{
    for (const QString& name : names) {
        QWidget* control = boxWidget(name);
        if (!control)
            continue;
        if (hide)
            control->hide();
        else
            setFormCtlPositionFromIni(name, cache_.get(), this);
    }
}

void TfmBillForm::rememberOptions()
{
    Catalogue& catalogue = context_.catalogue();
    for (const OptionSpec& described : kind_.options) {
        if (!described.stored)
            continue;
        if (!described.choices.isEmpty())
            catalogue.setCheckConfigByName(templateId_, described.name, optionChoice(described.name));
        else
            catalogue.setCheckConfigByName(templateId_, described.name,
                                           option(described.name)->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    }
    if (kind_.bankBill && !cfgMoneyType->currentText().isEmpty())
        catalogue.setCheckConfigByName(templateId_, QStringLiteral("cfgDefaultMoney"), cfgMoneyType->currentText());
    context_.messages().show(QStringLiteral("打印勾选及选项已记住！"));
    cache_.reset();
    catalogue.buildCheckIniFile(templateId_);
    cache_ = catalogue.OpenCheckInif(templateId_);
}

// ---- Counterparties ------------------------------------------------------------------

bool TfmBillForm::lookupsQuiet() const
{
    return session_.loading || session_.transfer || lookingUp_ > 0;
}

void TfmBillForm::setSender(const TPerson* person)
{
    drawer_ = person ? std::make_unique<TPerson>(*person) : nullptr;
    ++lookingUp_;
    for (const auto& [field, box] : kind_.drawerBoxes)
        setBoxText(box, person ? person->text(field) : QString());
    --lookingUp_;
}

void TfmBillForm::setReceiver(const TPerson* person)
{
    payee_ = person ? std::make_unique<TPerson>(*person) : nullptr;
    ++lookingUp_;
    for (const auto& [field, box] : kind_.payeeBoxes)
        setBoxText(box, person ? person->text(field) : QString());
    --lookingUp_;
}

void TfmBillForm::setInComp(const QString& name)
{
    if (!payee_)
        payee_ = std::make_unique<TPerson>();
    // The prompt is not a payee.
    payee_->setText(TPerson::FullName, !kind_.payeePrompt.isEmpty() && name == kind_.payeePrompt ? QString() : name);
    setBoxText(kind_.payeeNameBox(), name);
}

void TfmBillForm::fillBankFromName(const QString& side)
{
    const QString name = trimText(boxText(QStringLiteral("zd") + side + QStringLiteral("Comp")));
    if (lookupsQuiet() || name.isEmpty())
        return;
    try {
        if (const auto found = bankAndAccountOf(context_.db(), name)) {
            ++lookingUp_;
            setBoxText(QStringLiteral("zd") + side + QStringLiteral("BankAcct"), found->second);
            setBoxText(QStringLiteral("zd") + side + QStringLiteral("Bank"), found->first);
            --lookingUp_;
        }
    } catch (const DatabaseError&) {
    }
}

void TfmBillForm::drawerChanged()
{
    if (kind_.drawerChangeFillsBank)
        fillBankFromName(QStringLiteral("Out"));
    if (!kind_.drawerChangeAppliesSender || session_.transfer || lookingUp_ > 0)
        return;
    const QString name = trimText(boxText(kind_.drawerNameBox()));
    listAccounts(kind_.drawerNameBox(), QStringLiteral("zdOutBankAcct"));
    if (session_.loading || name.isEmpty())
        return;
    if (std::unique_ptr<TPerson> found = TPerson::findByName(context_.db(), name))
        setSender(found.get());
}

void TfmBillForm::listAccounts(const QString& nameBox, const QString& accountBox)
{
    auto* accounts = qobject_cast<QComboBox*>(boxWidget(accountBox));
    if (!accounts)
        return;
    QStringList list;
    try {
        list = loadAccountsByCompany(context_.db(), boxText(nameBox));
    } catch (const DatabaseError&) {
    }
    const QString text = accounts->currentText();
    QSignalBlocker block(accounts);
    accounts->clear();
    accounts->addItems(list);
    accounts->setEditText(text);
}

void TfmBillForm::accountChanged(const QString& accountBox, const QString& bankBox)
{
    if (lookupsQuiet())
        return;
    const QString account = trimText(boxText(accountBox));
    ++lookingUp_;
    if (account != boxText(accountBox))
        setBoxText(accountBox, account);
    QStringList banks;
    try {
        banks = loadBankNamesByAccount(context_.db(), account);
    } catch (const DatabaseError&) {
    }
    if (banks.size() == 1)
        setBoxText(bankBox, banks.first());
    else if (banks.isEmpty())
        setBoxText(bankBox, QString());
    else
        context_.messages().show(QStringLiteral("异常：查询到账号中同一个账号对应两个银行的错误数据,") + account);
    --lookingUp_;
}

void TfmBillForm::payeeEntered()
{
    const QString code = trimText(boxText(kind_.payeeNameBox()));
    if (code.isEmpty())
        return;
    std::unique_ptr<TPerson> found = kind_.payeeEnterTriesName ? TPerson::findByName(context_.db(), code) : nullptr;
    if (!found)
        found = TPerson::findByInputCode(context_.db(), code);
    if (found)
        setReceiver(found.get());
}

void TfmBillForm::drawerEntered()
{
    const QString text = trimText(boxText(kind_.drawerNameBox()));
    if (text.isEmpty())
        return;
    std::unique_ptr<TPerson> found = TPerson::findByName(context_.db(), text);
    if (!found)
        found = TPerson::findByInputCode(context_.db(), text);
    if (found) {
        setSender(found.get());
    } else if (auto* account = qobject_cast<QComboBox*>(boxWidget(QStringLiteral("zdOutBankAcct")));
               account && kind_.drawerEnterElseAccount) {
        account->setFocus();
        account->lineEdit()->selectAll();
    }
}

void TfmBillForm::drawerPicked(const QString& text)
{
    if (session_.loading)
        return;
    if (std::unique_ptr<TPerson> found = TPerson::findByName(context_.db(), trimText(text)))
        setSender(found.get());
}

void TfmBillForm::payeePicked(const QString& text)
{
    if (session_.loading)
        return;
    if (std::unique_ptr<TPerson> found = TPerson::findByName(context_.db(), trimText(text)))
        setReceiver(found.get());
}

// Swaps what the drawer and the payee boxes hold, so ticking twice gives both back.
void TfmBillForm::swapParties()
{
    auto partyOnForm = [this](const PartyBoxes& boxes) {
        TPerson person;
        for (const auto& [field, box] : boxes)
            person.setText(field, boxText(box));
        return person;
    };
    const TPerson drawer = partyOnForm(kind_.drawerBoxes);
    const TPerson payee = partyOnForm(kind_.payeeBoxes);
    setSender(&payee);
    setReceiver(&drawer);
    session_.edited();
}

void TfmBillForm::fillListOnEntry(QComboBox* box)
{
    const BoxSpec* described = kind_.box(box->objectName());
    if (box->count() > 0 || !described)
        return;
    const QString text = box->currentText();
    QStringList list;
    Database& db = context_.db();
    try {
        switch (described->list) {
        case BoxList::OwnUnits:
            list = loadCompanyList(db, TPerson::kOwnUnit);
            break;
        case BoxList::CounterpartUnits:
            list = loadCompanyList(db, TPerson::kCounterpartUnit);
            break;
        case BoxList::Dictionary:
            list = loadDMListByName(db, described->listName, QString::number(templateId_));
            if (!list.isEmpty())
                break;
            [[fallthrough]];
        case BoxList::SharedDictionary:
            list = loadDMListByName(db, described->listName, QStringLiteral("0"));
            break;
        case BoxList::Provinces:
            list = loadProvinces(db);
            break;
        case BoxList::Cities:
            list = loadCitysByProvince(db, boxText(described->listName));
            break;
        case BoxList::None:
        case BoxList::Fixed:
        case BoxList::UnusedNumbers:
            return;
        }
    } catch (const DatabaseError&) {
        return;
    }
    QSignalBlocker block(box);
    box->addItems(list);
    box->setEditText(text);
}

void TfmBillForm::numberPicked(const QString& number)
{
    const std::optional<PreEnteredNumber> found = session_.pickNumber(number);
    if (!found)
        return;
    // The row's bank and account belong together: no look-up replaces one by the other.
    ++lookingUp_;
    for (auto it = found->fill.cbegin(); it != found->fill.cend(); ++it)
        setBoxText(it.key(), it.value());
    --lookingUp_;
    if (!found->templateName.isEmpty() && found->templateName != templateName())
        setCurrentCheckType(found->templateName);
    updateTitle();
}

void TfmBillForm::pickDrawer()
{
    beforePicking();
    std::unique_ptr<TPerson> person = fetchOnePerson(context_, this, TPerson::kOwnUnit, kind_.drawerPickerCaption);
    if (person || kind_.pickerCancelEmpties)
        setSender(person.get());
}

void TfmBillForm::pickPayee()
{
    beforePicking();
    std::unique_ptr<TPerson> person =
        fetchOnePerson(context_, this, TPerson::kCounterpartUnit, kind_.payeePickerCaption);
    if (person || kind_.pickerCancelEmpties)
        setReceiver(person.get());
}

void TfmBillForm::savePayeeClick()
{
    TPerson person;
    person.setID(-1);
    for (const auto& [field, box] : kind_.payeeBoxes)
        person.setText(field, boxText(box));
    person.setText(TPerson::UnitType, TPerson::kCounterpartUnit);
    savePersonToAddressBook(context_, this, &person);
}

// ---- History ----------------------------------------------------------------------------

BillValues TfmBillForm::valuesToSave()
{
    BillValues values = currentValues();
    completeValues(values);
    return values;
}

BillValues TfmBillForm::currentValues() const
{
    BillValues values;
    for (const ColumnSpec& described : kind_.columns) {
        if (described.source == ColumnSource::kTemplate)
            values.insert(described.column, templateName());
        else if (described.source == ColumnSource::kTickItems)
            values.insert(described.column, getItemCheckTitle());
        else if (described.source == ColumnSource::kCurrency)
            values.insert(described.column, cfgMoneyType->currentText());
        else if (described.source == ColumnSource::kDate)
            values.insert(described.column, SelDate->date());
        else if (described.source == ColumnSource::kAmountEntry)
            values.insert(described.column, inputJEXX->text());
        else if (const QWidget* box = boxWidget(described.source); box && (!described.onlyWhenShown || box->isVisibleTo(this)))
            values.insert(described.column, boxText(described.source));
    }
    return values;
}

void TfmBillForm::applyValues(const BillValues& values)
{
    QString amount;
    for (const ColumnSpec& described : kind_.columns) {
        const QVariant value = values.value(described.column);
        if (described.source == ColumnSource::kTickItems) {
            setItemCheckTitle(value.toString());
        } else if (described.source == ColumnSource::kCurrency) {
            // Rows entered in advance carry no currency: the form's stays.
            if (!value.toString().isEmpty()) {
                QSignalBlocker block(cfgMoneyType);
                cfgMoneyType->setCurrentText(value.toString());
                currencyName_ = value.toString();
                abbreviation_.reset();
            }
        } else if (described.source == ColumnSource::kAmountEntry || described.column == kind_.amountColumn) {
            amount = value.toString();
        } else if (described.source == ColumnSource::kDate) {
            if (value.toDate().isValid())
                setDate(value.toDate());
        } else if (described.source == kind_.payeeNameBox()) {
            setInComp(value.toString());
        } else if (described.source != ColumnSource::kTemplate && described.source != ColumnSource::kOwn) {
            setBoxText(described.source, value.toString());
        }
    }
    applyOwnValues(values);
    // A kind that writes the entry back reads its amounts from their own boxes.
    inputJEXX->setText(kind_.amountEntryWritesBack ? QString() : amount);
    entryTarget_ = nullptr;
    finishAmountEntry();
}

void TfmBillForm::afterSave(const BillValues& values)
{
    const QDate saved = values.value(kind_.dateColumn).toDate();
    if (saved.isValid() && saved != SelDate->date())
        setDate(saved);
    const QString number = boxText(QStringLiteral("zdPJBH"));
    if (auto* numbers = qobject_cast<QComboBox*>(boxWidget(QStringLiteral("zdPJBH"))); numbers && !number.isEmpty()) {
        QSignalBlocker block(numbers);
        const int index = numbers->findText(number);
        if (index >= 0)
            numbers->removeItem(index);
        numbers->setEditText(number);
    }
    session_.saved = true;
    updateTitle();
}

bool TfmBillForm::saveBill()
{
    finishEditing();
    BillValues values = valuesToSave();
    const bool written = session_.saveCommand(values, today());
    if (written)
        afterSave(values);
    btSaveAs->setEnabled(session_.recordNumber > 0);
    return written;
}

void TfmBillForm::saveClick()
{
    saveBill();
}

void TfmBillForm::newClick()
{
    session_.renew();
    for (const QString& name : kind_.newClears) {
        if (name.compare(kind_.payeeNameBox(), Qt::CaseInsensitive) == 0)
            payee_.reset();
        setBoxText(name, QString());
    }
    setBoxText(QStringLiteral("zdRemark"), QString());
    if (kind_.newClearsAmount) {
        setJEXX(QString());
        inputJEXX->clear();
    }
    setDate(today());
    session_.saved = false;
    btSaveAs->setEnabled(false);
    updateTitle();
}

void TfmBillForm::copyClick()
{
    if (!session_.copy())
        return;
    setBoxText(QStringLiteral("zdPJBH"), QString());
    session_.saved = false;
    updateTitle();
}

bool TfmBillForm::printBill(int copies)
{
    finishEditing();
    if (!PrintPrepare() || !PrinterTransBegin(copies))
        return false;
    SendCheckToPrinter();
    return PrinterTransEnd();
}

bool TfmBillForm::PrintPrepare()
{
    // A new job reads the template and the currency afresh.
    printJob_.reset();
    printSource_ = std::make_unique<PrintSourceImpl>(*this);
    printJob_ = std::make_unique<PrintJob>(context_, *printSource_);
    return printJob_->PrintPrepare();
}

bool TfmBillForm::PrinterTransBegin(int copies)
{
    return printJob_ && printJob_->PrinterTransBegin(copies);
}

bool TfmBillForm::SendCheckToPrinter()
{
    if (!printJob_)
        return false;
    printSource_->options.currencyAbbreviation = kind_.bankBill ? getMoneyCode() : QString();
    return printJob_->SendCheckToPrinter();
}

bool TfmBillForm::NewCheckPage()
{
    return printJob_ && printJob_->NewCheckPage();
}

bool TfmBillForm::PrinterTransEnd()
{
    return printJob_ && printJob_->PrinterTransEnd();
}

void TfmBillForm::AbortPrint()
{
    if (printJob_)
        printJob_->AbortPrint();
}

void TfmBillForm::printClick()
{
    btPrint1->setEnabled(false);
    printBill(1);
    btPrint1->setEnabled(true);
}

void TfmBillForm::printAndSaveClick()
{
    session_.announce = false;
    btPrintAndSave->setEnabled(false);
    printClick();
    saveBill();
    if (auto* numbers = qobject_cast<QComboBox*>(boxWidget(QStringLiteral("zdPJBH"))))
        numbers->clear();
    setBoxText(QStringLiteral("zdPJBH"), QString());
    copyClick();
    btSaveAs->setEnabled(false);
    btPrintAndSave->setEnabled(true);
    session_.announce = true;
}

void TfmBillForm::repeatPrintClick()
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

void TfmBillForm::convertClick()
{
    finishAmountEntry();
    TfmCheckJZD* slip = commands_.depositSlip ? commands_.depositSlip() : nullptr;
    if (!slip)
        return;
    slip->session().transfer = true;
    copyIntoDepositSlip(*slip);
    slip->session().transfer = false;
    if (slip->isHidden())
        slip->show();
    slip->raise();
}

void TfmBillForm::pictureClick()
{
    if (kind_.pictureClickFocusesSave)
        btSaveCheck->setFocus();
    else if (SelDate->isVisibleTo(this))
        SelDate->setFocus();
    else if (cbFirstTypeName->isVisibleTo(this))
        cbFirstTypeName->setFocus();
    else
        btPrint1->setFocus();
    finishAmountEntry();
}

void TfmBillForm::BrowseOldCheck(const QString& name, const QString& recordNumberText)
{
    const int serial = recordNumberText.toInt();
    if (name != templateName()) {
        int id = 0;
        if (!name.isEmpty()) {
            id = context_.catalogue().loadCheckTypeIDByFirstAndLastName(kind_.billType, name);
            QSignalBlocker block(cbFirstTypeName);
            cbFirstTypeName->setCurrentText(name);
        } else {
            id = context_.catalogue().loadCheckTypeIDByFirstAndLastName(kind_.billType, templateName());
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
        if (const std::optional<BillValues> values = session_.beginLoad(serial)) {
            applyValues(*values);
            status = values->value(kStatusColumn).toString();
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

QWidget* TfmBillForm::frameWidget()
{
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
        return sub;
    return this;
}

void TfmBillForm::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (positioned_)
        return;
    positioned_ = true;
    IniFile& ini = context_.userIniFile();
    const QString section = kind_.formName.toUpper();
    frameWidget()->move(ini.readInteger(section, QStringLiteral("PositionX"), 0),
                        ini.readInteger(section, QStringLiteral("PositionY"), 0));
    placeToolBar(ini.readString(section, QStringLiteral("PositionBar"), QStringLiteral("top")) == QLatin1String("bottom"));
    const int screenHeight = screen() ? screen()->geometry().height() : 768;
    const int lines = screenHeight <= 799 ? 23 : (screenHeight > 899 ? 50 : 35);
    for (const QString& name : {kind_.drawerNameBox(), kind_.payeeNameBox()})
        if (auto* box = qobject_cast<QComboBox*>(boxWidget(name)))
            box->setMaxVisibleItems(lines);
    cbFirstTypeName->setMaxVisibleItems(screenHeight <= 1000 ? 26 : 35);
}

void TfmBillForm::closeEvent(QCloseEvent* event)
{
    if (hasTemplate()) {
        finishEditing();
        if (session_.shouldAskOnClose(widgetText(boxWidget(kind_.payeeNameBox())), boxText(kind_.closeAlsoNeeds))
            && context_.messages().ask(kind_.closeQuestion, kind_.closeCaption)) {
            BillValues values = valuesToSave();
            const BillSession::SaveOutcome outcome = session_.save(values, today());
            if (outcome == BillSession::SaveOutcome::Failed) {
                // The user was told why; the bill stays on screen.
                event->ignore();
                return;
            }
            if (outcome == BillSession::SaveOutcome::Written)
                afterSave(values);
        }
        if (positioned_) {
            IniFile& ini = context_.userIniFile();
            const QString section = kind_.formName.toUpper();
            const QPoint at = frameWidget()->pos();
            ini.writeInteger(section, QStringLiteral("PositionX"), at.x());
            ini.writeInteger(section, QStringLiteral("PositionY"), at.y());
            ini.writeString(section, QStringLiteral("PositionBar"),
                            barAtBottom_ ? QStringLiteral("bottom") : QStringLiteral("top"));
        }
    }
    cache_.reset();
    context_.currentTemplateId = -1;
    event->accept();
}

bool TfmBillForm::eventFilter(QObject* watched, QEvent* event)
{
    QWidget* payee = boxWidget(kind_.payeeNameBox());
    QWidget* drawer = boxWidget(kind_.drawerNameBox());
    if (watched == inputJEXX) {
        if (event->type() == QEvent::KeyPress)
            return amountKey(static_cast<QKeyEvent*>(event));
        if (event->type() == QEvent::FocusOut && inputJEXX->isVisible())
            finishAmountEntry();
    } else if (kind_.amountEntryBoxes.contains(watched->objectName(), Qt::CaseInsensitive)) {
        if (event->type() == QEvent::FocusIn)
            beginAmountEntry(static_cast<QLineEdit*>(watched));
    } else if (watched == bgImage) {
        if (event->type() == QEvent::MouseButtonPress)
            pictureClick();
    } else if (drawer && watched == static_cast<QComboBox*>(drawer)->lineEdit()) {
        if (event->type() == QEvent::FocusOut) {
            session_.edited();
            fillBankFromName(QStringLiteral("Out"));
        }
    } else if (payee && watched == static_cast<QComboBox*>(payee)->lineEdit()) {
        if (event->type() == QEvent::FocusOut)
            listAccounts(QStringLiteral("zdInComp"), QStringLiteral("zdInBankAcct"));
    } else if (auto* box = qobject_cast<QComboBox*>(watched)) {
        if (event->type() == QEvent::FocusIn)
            fillListOnEntry(box);
        else if (event->type() == QEvent::MouseButtonDblClick && box->lineEdit())
            box->lineEdit()->selectAll();
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace slipcraft
