#include "records/MatchAddr.h"

#include "entry/BillForm.h"
#include "parties/DAOPerson.h"
#include "platform/Gbk.h"
#include "records/AddressParser.h"
#include "records/MatchAddrLogic.h"
#include "records/MutiPrint.h"
#include "shell/AppContext.h"
#include "shell/Settings.h"
#include "shell/UserMessages.h"
#include "wording/Functions.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace slipcraft {

namespace {

const QString kChecked = QStringLiteral("checked");

struct Format {
    const char* caption;
    const char* note;
};

const Format kFormats[] = {
    {"淘宝收货地址", "  进入淘宝->已卖出的宝贝->鼠标移动到买主的名字：在提示框中点击【查看收货地址和留言】,"
                     "复制弹出框里面的内容-粘贴过来。识别率并不能保证100%，请稍加核对~"},
    {"拍拍收货地址", "  进入拍拍->已产生的销售->全部卖出的交易->交易详情：复制收货信息，粘贴到上面的输入区"},
    {"易趣收货地址", "  暂时不支持特别对待易趣的收货地址，请用其他地址匹配！"},
    {"其他地址", "  通用地址匹配格式~如有不完善请将你的“收货地址”和问题以邮件反馈给Marrowind改进。"
                 "由于软件用户量大请尽量减少电话反馈~"},
};
constexpr int kNoRecognitionFormat = 2;

// Fictitious samples of each format.
QString sampleText(int format)
{
    switch (format) {
    case 0:
        return QStringLiteral("淘宝新格式（商城地址格式、发货管理地址格式也支持哦）:\n\n"
                              "收货地址:张三，0571-88886666，13912345678,浙江省 杭州市 西湖区 文三路100号（310012）");
    case 1:
        return QStringLiteral("李四 广东省深圳市南山区 科技园南路18号 (518000) 13812345678 0755-26781234");
    default:
        return QStringLiteral("公司:杭州某某贸易有限公司\n姓名:王五\n电话:0571-88886666\n手机:13912345678\n国家:中国\n"
                              "省:浙江省\n市:杭州市\n地址:西湖区文三路100号\n邮编:310012");
    }
}

} // namespace

TfrmMatchAddr::TfrmMatchAddr(AppContext& context, QWidget* parent)
    : QDialog(parent)
    , context_(context)
    , remarkTabLoaded_(3, false)
{
    setObjectName(QStringLiteral("frmMatchAddr"));
    setWindowTitle(QStringLiteral("Marrowind软件-收发件人资料识别"));
    buildControls();
    chooseFormat(0);
}

void TfrmMatchAddr::setWaybill(TfmBillForm* waybill)
{
    waybill_ = waybill;
}

void TfrmMatchAddr::setBatch(TfrmMutiPrint* batch)
{
    batch_ = batch;
    btPasteNoClose->setVisible(batch != nullptr);
    btSender->setEnabled(batch == nullptr);
}

QComboBox* TfrmMatchAddr::resultBox(const QString& name)
{
    auto* box = new QComboBox(this);
    box->setObjectName(name);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setMinimumWidth(220);
    return box;
}

void TfrmMatchAddr::buildControls()
{
    auto* layout = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    layout->addLayout(left, 3);

    auto* input = new QGroupBox(QStringLiteral("需要识别的内容（~不规则地址请手工调整后再行识别~）:"), this);
    auto* inputLayout = new QVBoxLayout(input);
    memoFrom = new QPlainTextEdit(input);
    memoFrom->setObjectName(QStringLiteral("memoFrom"));
    memoFrom->setMaximumHeight(120);
    connect(memoFrom, &QPlainTextEdit::textChanged, this, [this] {
        // At most 1024 characters, as the box promises.
        if (memoFrom->toPlainText().size() > 1024) {
            QSignalBlocker block(memoFrom);
            memoFrom->setPlainText(memoFrom->toPlainText().left(1024));
        }
    });
    inputLayout->addWidget(memoFrom);
    auto* inputButtons = new QHBoxLayout;
    auto* btPaste = new QPushButton(QStringLiteral("1.1 粘贴剪切板并识别"), input);
    auto* btMatch = new QPushButton(QStringLiteral("1.2 只识别以上内容>>"), input);
    auto* btSample = new QPushButton(QStringLiteral("示例地址格式"), input);
    btPaste->setObjectName(QStringLiteral("btPaste"));
    btMatch->setObjectName(QStringLiteral("btMatch"));
    btSample->setObjectName(QStringLiteral("btSample"));
    for (QPushButton* button : {btPaste, btMatch, btSample})
        inputButtons->addWidget(button);
    inputLayout->addLayout(inputButtons);
    left->addWidget(input);
    connect(btPaste, &QPushButton::clicked, this, &TfrmMatchAddr::pasteClipboard);
    connect(btMatch, &QPushButton::clicked, this, &TfrmMatchAddr::recognise);
    connect(btSample, &QPushButton::clicked, this, &TfrmMatchAddr::showSample);

    auto* formatRow = new QHBoxLayout;
    formats_ = new QButtonGroup(this);
    for (int i = 0; i < 4; ++i) {
        auto* radio = new QRadioButton(QString::fromUtf8(kFormats[i].caption), this);
        formats_->addButton(radio, i);
        formatRow->addWidget(radio);
    }
    formatRow->addStretch();
    left->addLayout(formatRow);
    lbNote = new QLabel(this);
    lbNote->setObjectName(QStringLiteral("lbNote"));
    lbNote->setWordWrap(true);
    lbNote->setStyleSheet(QStringLiteral("color: red;"));
    left->addWidget(lbNote);
    connect(formats_, &QButtonGroup::idClicked, this, &TfrmMatchAddr::chooseFormat);

    Settings& settings = context_.settings();
    auto* optionRow = new QHBoxLayout;
    ckContainProviceCity = new QCheckBox(QStringLiteral("含省市"), this);
    ckContainProviceCity->setObjectName(QStringLiteral("ckContainProviceCity"));
    ckWPNR = new QCheckBox(QStringLiteral("附注填充物品"), this);
    ckWPNR->setObjectName(QStringLiteral("ckWPNR"));
    ckRemark = new QCheckBox(QStringLiteral("附注填充备注"), this);
    ckRemark->setObjectName(QStringLiteral("ckRemark"));
    ckClearCompany = new QCheckBox(QStringLiteral("清空单位内容"), this);
    ckClearCompany->setObjectName(QStringLiteral("ckClearCompany"));
    // Each remembers itself across starts.
    const std::pair<QCheckBox*, const char*> stored[] = {
        {ckContainProviceCity, "checkContainSS"}, {ckWPNR, "ckWPNR"}, {ckRemark, "ckRemark"}};
    for (const auto& [box, key] : stored) {
        const QString name = QString::fromLatin1(key);
        box->setChecked(settings.getConfigByname(name) == kChecked);
        connect(box, &QCheckBox::clicked, this, [this, name](bool on) {
            try {
                context_.settings().setConfigByname(name, on ? kChecked : QStringLiteral("no"));
            } catch (const DatabaseError&) {
                // The option still acts this time.
            }
        });
    }
    connect(ckContainProviceCity, &QCheckBox::clicked, this, &TfrmMatchAddr::completeAddressBox);
    connect(ckClearCompany, &QCheckBox::clicked, this, [this] { edtCompany->setEditText(QString()); });
    for (QCheckBox* box : {ckContainProviceCity, ckWPNR, ckRemark, ckClearCompany})
        optionRow->addWidget(box);
    optionRow->addStretch();
    left->addLayout(optionRow);

    auto* grid = new QGridLayout;
    const std::pair<QComboBox**, std::pair<const char*, const char*>> boxes[] = {
        {&edtCompany, {"edtCompany", "单位全称:"}}, {&edtName, {"edtName", "联系人:"}},
        {&edtPhone, {"edtPhone", "电话:"}},         {&edtHandset, {"edtHandset", "手机:"}},
        {&cbCountry, {"cbCountry", "国家:"}},       {&edtProvince, {"edtProvince", "省:"}},
        {&edtCity, {"edtCity", "市/县:"}},          {&edtTown, {"edtTown", "镇/区:"}},
        {&edtAddress, {"edtAddress", "地址:"}},     {&edtZipcode, {"edtZipcode", "邮编:"}},
    };
    int row = 0;
    for (const auto& [target, names] : boxes) {
        *target = resultBox(QString::fromLatin1(names.first));
        grid->addWidget(new QLabel(QString::fromUtf8(names.second), this), row, 0);
        grid->addWidget(*target, row, 1);
        ++row;
    }
    edtRemark = new QLineEdit(this);
    edtRemark->setObjectName(QStringLiteral("edtRemark"));
    edtRemark->setMaxLength(60);
    auto* btSaveRemark = new QPushButton(QStringLiteral("存为附注>>"), this);
    grid->addWidget(new QLabel(QStringLiteral("附注内容:"), this), row, 0);
    grid->addWidget(edtRemark, row, 1);
    grid->addWidget(btSaveRemark, row, 2);
    left->addLayout(grid);
    connect(btSaveRemark, &QPushButton::clicked, this, &TfrmMatchAddr::saveRemarkClick);
    connect(edtAddress->lineEdit(), &QLineEdit::editingFinished, this, &TfrmMatchAddr::completeAddressBox);
    edtName->lineEdit()->installEventFilter(this);

    auto* actions = new QHBoxLayout;
    btSender = new QPushButton(QStringLiteral("2.1 粘贴为发件人"), this);
    auto* btReceiver = new QPushButton(QStringLiteral("2.2 粘贴为收件人"), this);
    btReceiver->setToolTip(QStringLiteral("粘贴为收件人，并关闭窗口"));
    btPasteNoClose = new QPushButton(QStringLiteral("2.0 粘贴不关闭"), this);
    btPasteNoClose->setToolTip(QStringLiteral("粘贴为发件人，并继续填写下一条"));
    btPasteNoClose->hide();
    auto* btClose = new QPushButton(QStringLiteral("关  闭"), this);
    btSender->setObjectName(QStringLiteral("btSender"));
    btReceiver->setObjectName(QStringLiteral("btReceiver"));
    btPasteNoClose->setObjectName(QStringLiteral("btPasteNoClose"));
    for (QPushButton* button : {btPasteNoClose, btSender, btReceiver, btClose})
        actions->addWidget(button);
    left->addLayout(actions);
    connect(btSender, &QPushButton::clicked, this, &TfrmMatchAddr::pasteAsSender);
    connect(btReceiver, &QPushButton::clicked, this, &TfrmMatchAddr::pasteAsReceiver);
    connect(btPasteNoClose, &QPushButton::clicked, this, &TfrmMatchAddr::pasteAndStay);
    connect(btClose, &QPushButton::clicked, this, &QDialog::reject);

    auto* right = new QVBoxLayout;
    right->addWidget(new QLabel(QStringLiteral("可用备注或物品:"), this));
    remarkTabs_ = new QTabWidget(this);
    for (const char* caption : {"字典管理", "历史物品", "历史备注"}) {
        auto* list = new QListWidget(remarkTabs_);
        remarkLists_ << list;
        remarkTabs_->addTab(list, QString::fromUtf8(caption));
        connect(list, &QListWidget::itemDoubleClicked, this,
                [this](QListWidgetItem* item) { edtRemark->setText(item->text()); });
    }
    right->addWidget(remarkTabs_);
    layout->addLayout(right, 1);
    connect(remarkTabs_, &QTabWidget::currentChanged, this, &TfrmMatchAddr::loadRemarkTab);
}

void TfrmMatchAddr::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    loadRemarkTab(remarkTabs_->currentIndex());
    pasteClipboard();
}

void TfrmMatchAddr::loadRemarkTab(int index)
{
    if (index < 0 || remarkTabLoaded_[index])
        return;
    remarkTabLoaded_[index] = true;
    QStringList values;
    try {
        values = loadRemarkList(context_.db(), RemarkList(index));
    } catch (const DatabaseError&) {
    }
    remarkLists_[index]->clear();
    for (const QString& value : std::as_const(values)) {
        auto* item = new QListWidgetItem(value, remarkLists_[index]);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
}

void TfrmMatchAddr::chooseFormat(int format)
{
    formats_->button(format)->setChecked(true);
    lbNote->setText(QString::fromUtf8(kFormats[format].note));
    if (format != kNoRecognitionFormat)
        recognise();
}

void TfrmMatchAddr::showSample()
{
    setInput(sampleText(formats_->checkedId()));
    QTextCursor cursor = memoFrom->textCursor();
    cursor.setPosition(3);
    memoFrom->setTextCursor(cursor);
    recognise();
}

void TfrmMatchAddr::setInput(const QString& text)
{
    memoFrom->setPlainText(text);
}

void TfrmMatchAddr::pasteClipboard()
{
    setInput(addressInputFromClipboard(QApplication::clipboard()->text()));
    recognise();
}

QString TfrmMatchAddr::resultText(const QString& box) const
{
    if (box == QLatin1String("edtRemark"))
        return edtRemark->text();
    const auto* combo = findChild<QComboBox*>(box);
    return combo ? combo->currentText() : QString();
}

void TfrmMatchAddr::fill(QComboBox* box, const QStringList& candidates)
{
    box->clear();
    box->addItems(candidates);
    box->setEditText(candidates.value(0));
}

void TfrmMatchAddr::recognise()
{
    // Every text starts afresh: nothing of an earlier one stays in the boxes.
    QStringList lines = memoFrom->toPlainText().split(QLatin1Char('\n'));
    lines.removeIf([](const QString& line) { return trimText(line).isEmpty(); });
    const QString text = lines.join(QLatin1Char('\n'));
    if (text != memoFrom->toPlainText())
        setInput(text);
    AddressParseOptions options;
    try {
        options.characterPairs = loadCharacterPairs(context_.db());
    } catch (const DatabaseError&) {
    }
    const ParsedAddress parsed = parseAddress(trimText(text).isEmpty() ? QString() : text, options);
    fill(edtCompany, parsed.companies);
    fill(edtName, parsed.names);
    fill(edtPhone, parsed.phones);
    fill(edtHandset, parsed.mobiles);
    fill(cbCountry, parsed.country.isEmpty() ? QStringList() : QStringList{parsed.country});
    fill(edtProvince, parsed.provinces);
    fill(edtCity, parsed.cities);
    fill(edtTown, parsed.districts);
    fill(edtAddress, parsed.details);
    fill(edtZipcode, parsed.postcodes);
    if (!parsed.remark.isEmpty())
        edtRemark->setText(parsed.remark.left(60));
    completeAddressBox();
}

void TfrmMatchAddr::completeAddressBox()
{
    edtAddress->setEditText(completeAddress(edtAddress->currentText(), edtProvince->currentText(),
                                            edtCity->currentText(), edtTown->currentText(),
                                            ckContainProviceCity->isChecked()));
}

void TfrmMatchAddr::saveRemarkClick()
{
    UserMessages& messages = context_.messages();
    const QString text = trimText(edtRemark->text());
    try {
        switch (saveRemark(context_.db(), text)) {
        case RemarkSaved::Empty:
            messages.show(QStringLiteral("未输入附注内容~"));
            edtRemark->setFocus();
            return;
        case RemarkSaved::Exists:
            messages.show(QLatin1Char('"') + text + QStringLiteral("\" 已经存在！"), QStringLiteral("提示"));
            return;
        case RemarkSaved::Added:
            messages.show(QStringLiteral("添加基础资料\"附注内容\"成功！"));
            remarkTabLoaded_[0] = false;
            loadRemarkTab(0);
            return;
        }
    } catch (const DatabaseError&) {
        // Not saved; the remark stays in its box.
    }
}

bool TfrmMatchAddr::pasteAsSender()
{
    return paste(Paste::Sender);
}

bool TfrmMatchAddr::pasteAsReceiver()
{
    return paste(Paste::Receiver);
}

bool TfrmMatchAddr::pasteAndStay()
{
    return paste(Paste::Stay);
}

bool TfrmMatchAddr::paste(Paste how)
{
    if (trimText(edtName->currentText()).isEmpty()) {
        context_.messages().show(QStringLiteral(":),联系人不能为空，但未能识别出来，请手工调整或输入！"));
        edtName->setFocus();
        return false;
    }
    if (!batch_ && (!waybill_ || how == Paste::Stay))
        return false;
    TPersonKDD person;
    person.setID(-1);
    const std::pair<TPerson::Field, QComboBox*> fields[] = {
        {TPerson::FullName, edtCompany}, {TPerson::Contactor, edtName}, {TPerson::Phone, edtPhone},
        {TPerson::Handset, edtHandset},  {TPerson::Country, cbCountry}, {TPerson::Province, edtProvince},
        {TPerson::City, edtCity},        {TPerson::Town, edtTown},      {TPerson::Address, edtAddress},
        {TPerson::Zipcode, edtZipcode}};
    for (const auto& [field, box] : fields)
        person.setText(field, box->currentText());
    person.setDestStation(edtCity->currentText());
    person.setContents(edtRemark->text());
    if (batch_) {
        batch_->addReceiverAndGoods(&person);
        if (how != Paste::Stay)
            accept();
        return true;
    }
    if (how == Paste::Receiver) {
        waybill_->setReceiver(&person);
        if (ckWPNR->isChecked())
            waybill_->setBoxText(QStringLiteral("zdWPNR"), person.getContents());
        if (ckRemark->isChecked())
            waybill_->setBoxText(QStringLiteral("zdBz"), person.getContents());
    } else {
        waybill_->setSender(&person);
    }
    accept();
    return true;
}

bool TfrmMatchAddr::eventFilter(QObject* watched, QEvent* event)
{
    // Ctrl+V in the contact box takes a short clipboard text as the contact, on one line.
    if (watched == edtName->lineEdit() && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent*>(event)->matches(QKeySequence::Paste)) {
        QString text = QApplication::clipboard()->text();
        if (gbk::width(text) <= 65) {
            text.remove(QLatin1Char('\r')).remove(QLatin1Char('\n'));
            text = trimText(text);
            QApplication::clipboard()->setText(text);
            edtName->setEditText(text);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace slipcraft
