#include "parties/PersonInfo.h"

#include "dictionaries/Dictionaries.h"
#include "parties/PersonManageLogic.h"
#include "shell/AppContext.h"
#include "shell/UserMessages.h"
#include "shell/WindowSettings.h"
#include "wording/Functions.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTimer>
#include <QVBoxLayout>

namespace slipcraft {

namespace {

const QString kTypeHere = QStringLiteral("请直接输入");
const QString kDefaultCountry = QStringLiteral("中国");
constexpr int kAddressLimit = 160;

const QString kInputCodeHelp = QStringLiteral(
    "助记码不是必填项目，该项目主要用来辅助输入。\r\r例如：在收方单位输入\"tpz01\"按回车键,调入助记码等于\"tpz01\"的第1个单位;"
    "\r例如：在收方单位输入\"tpz%\"或\"tpz*\"按回车键,调入助记码含有\"tpz\"的第1个单位;");

// The correspondent-bank note belongs with overseas remittances, so it shows only while
// the main window offers that command in its menu.
bool overseasCommandOffered()
{
    for (QWidget* top : QApplication::topLevelWidgets()) {
        const QAction* command = top->findChild<QAction*>(QStringLiteral("m_new_JWH"));
        if (!command)
            continue;
        if (!command->isEnabled() || !command->isVisible())
            return false;
        const QList<QObject*> holders = command->associatedObjects();
        return std::any_of(holders.begin(), holders.end(), [](QObject* holder) { return qobject_cast<QMenu*>(holder); });
    }
    return false;
}

QLineEdit* lineEdit(QWidget* parent, const char* name, int limit)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setMaxLength(limit);
    return edit;
}

QComboBox* comboBox(QWidget* parent, const char* name, int limit)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->lineEdit()->setMaxLength(limit);
    return box;
}

QString boxText(const QComboBox* box)
{
    return box->currentText();
}

void selectAllOf(QObject* box)
{
    if (auto* edit = qobject_cast<QLineEdit*>(box))
        edit->selectAll();
    else if (auto* combo = qobject_cast<QComboBox*>(box); combo && combo->lineEdit())
        combo->lineEdit()->selectAll();
    else if (auto* text = qobject_cast<QPlainTextEdit*>(box))
        text->selectAll();
}

} // namespace

Tfrm_PersonInfo::Tfrm_PersonInfo(AppContext& context, QWidget* parent)
    : QDialog(parent)
    , context_(context)
    , cbAcountType(new QComboBox(this))
    , edtID(new QLabel(this))
    , edtIdentity(lineEdit(this, "edtIdentity", 32))
    , edtName(lineEdit(this, "edtName", 80))
    , edtInputCode(lineEdit(this, "edtInputCode", 24))
    , edtBank(lineEdit(this, "edtBank", 80))
    , edtBankAcct(lineEdit(this, "edtBankAcct", 32))
    , edtBankAddr(lineEdit(this, "edtBankAddr", 80))
    , edtBankNo(lineEdit(this, "edtBankNo", 24))
    , edtCountry(comboBox(this, "edtCountry", 24))
    , edtProvince(comboBox(this, "edtProvince", 32))
    , edtCity(comboBox(this, "edtCity", 32))
    , edtTown(comboBox(this, "edtTown", 32))
    , edtAddress(new QPlainTextEdit(this))
    , edtZipcode(lineEdit(this, "edtZipcode", 32))
    , edtContactor(lineEdit(this, "edtContactor", 48))
    , edtPhone(lineEdit(this, "edtPhone", 32))
    , edtHandset(lineEdit(this, "edtHandset", 32))
    , edtGroup(comboBox(this, "edtGroup", 32))
    , edtRemark(lineEdit(this, "edtRemark", 128))
    , edtDef1(lineEdit(this, "edtDef1", 64))
    , edtDef2(lineEdit(this, "edtDef2", 64))
    , edtDef3(lineEdit(this, "edtDef3", 64))
    , lbInputCode(new QLabel(this))
    , lbDefNote(new QLabel(QStringLiteral("自定义1:代理行账号           自定义2:代理银行              自定义3:代理行地址"), this))
    , lbStatus(new QLabel(QStringLiteral("注意:带*必填. 对于一个单位多个收件人情况，修改时点击[多头单位]按钮，保存后即新增一个多头单位。"), this))
    , ckAddNext(new QCheckBox(QStringLiteral("单位保存后立即添加下一条"), this))
    , btSave(new QPushButton(QStringLiteral("保  存(&S)"), this))
    , btSaveClose(new QPushButton(QStringLiteral("保存并关闭(&M)"), this))
    , btReset(new QPushButton(QStringLiteral("重 填 (&N)"), this))
    , btCopy(new QPushButton(QStringLiteral("多头单位(&C)"), this))
    , btClose(new QPushButton(QStringLiteral("关  闭(&X)"), this))
{
    setObjectName(QStringLiteral("frm_PersonInfo"));
    setWindowTitle(kCaption);
    cbAcountType->setObjectName(QStringLiteral("cbAcountType"));
    edtID->setObjectName(QStringLiteral("edtID"));
    edtAddress->setObjectName(QStringLiteral("edtAddress"));
    lbInputCode->setObjectName(QStringLiteral("lbInputCode"));
    lbDefNote->setObjectName(QStringLiteral("lbDefNote"));
    lbStatus->setObjectName(QStringLiteral("lbStatus"));
    ckAddNext->setObjectName(QStringLiteral("ckAddNext"));
    btSave->setObjectName(QStringLiteral("btSave"));
    btSaveClose->setObjectName(QStringLiteral("btSaveClose"));
    btReset->setObjectName(QStringLiteral("btReset"));
    btCopy->setObjectName(QStringLiteral("btCopy"));
    btClose->setObjectName(QStringLiteral("btClose"));

    cbAcountType->addItems({TPerson::kOwnUnit, TPerson::kCounterpartUnit});
    cbAcountType->setCurrentIndex(1);
    edtCountry->setEditText(kDefaultCountry);
    edtTown->addItem(kTypeHere);
    edtTown->setCurrentIndex(0);
    edtAddress->setTabChangesFocus(true);
    edtAddress->setFixedHeight(edtAddress->fontMetrics().lineSpacing() * 3 + 12);
    fillCombo(edtGroup, loadPersonTableGroupList(context_.db()) << TPerson::kDefaultDrawerGroup);
    edtGroup->setEditText(QString());
    lbInputCode->setText(QStringLiteral("<a href=\"#\">输入助记码：</a>"));
    lbInputCode->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    lbDefNote->setVisible(overseasCommandOffered());
    btCopy->setToolTip(QStringLiteral("副本保存需修改银行账号"));
    lbStatus->setWordWrap(true);

    auto* form = new QGridLayout;
    const auto place = [&](int row, int column, const QString& caption, QWidget* box, int span = 1) {
        form->addWidget(new QLabel(caption, this), row, column * 2, Qt::AlignRight);
        form->addWidget(box, row, column * 2 + 1, 1, span);
    };
    place(0, 0, QStringLiteral("单位类型："), cbAcountType);
    form->addWidget(edtID, 0, 3);
    place(1, 0, QStringLiteral("识别号："), edtIdentity);
    place(1, 1, QStringLiteral("*单位全称："), edtName);
    form->addWidget(lbInputCode, 2, 0, Qt::AlignRight);
    form->addWidget(edtInputCode, 2, 1);
    place(2, 1, QStringLiteral("开户银行："), edtBank);
    place(3, 0, QStringLiteral("开户行账号："), edtBankAcct);
    place(3, 1, QStringLiteral("开户行地址："), edtBankAddr);
    place(4, 0, QStringLiteral("银行行号："), edtBankNo);
    place(4, 1, QStringLiteral("国家："), edtCountry);
    place(5, 0, QStringLiteral("省："), edtProvince);
    place(5, 1, QStringLiteral("市县："), edtCity);
    place(6, 0, QStringLiteral("镇区："), edtTown);
    place(6, 1, QStringLiteral("邮编："), edtZipcode);
    place(7, 0, QStringLiteral("单位地址："), edtAddress, 3);
    place(8, 0, QStringLiteral("*联系人："), edtContactor);
    place(8, 1, QStringLiteral("电话："), edtPhone);
    place(9, 0, QStringLiteral("手机："), edtHandset);
    place(9, 1, QStringLiteral("单位分组："), edtGroup);
    place(10, 0, QStringLiteral("其他备注："), edtRemark, 3);
    place(11, 0, QStringLiteral("自定义1："), edtDef1);
    place(11, 1, QStringLiteral("自定义2："), edtDef2);
    place(12, 0, QStringLiteral("自定义3："), edtDef3);
    form->addWidget(lbDefNote, 13, 0, 1, 4);
    form->setColumnStretch(1, 1);
    form->setColumnStretch(3, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ckAddNext);
    buttons->addStretch();
    for (QPushButton* button : {btSave, btSaveClose, btReset, btCopy, btClose})
        buttons->addWidget(button);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    layout->addWidget(lbStatus);

    resize(640, 460);
    // Enter moves between the boxes; no button may take it as its own.
    for (QPushButton* button : findChildren<QPushButton*>())
        button->setAutoDefault(false);
    FormFaceLoad(this, context_.userIniFile());

    for (QWidget* box : std::initializer_list<QWidget*>{
             cbAcountType, edtIdentity, edtName, edtInputCode, edtBank, edtBankAcct, edtBankAddr, edtBankNo,
             edtCountry, edtProvince, edtCity, edtTown, edtAddress, edtZipcode, edtContactor, edtPhone,
             edtHandset, edtGroup, edtRemark, edtDef1, edtDef2, edtDef3}) {
        box->installEventFilter(this);
        if (auto* combo = qobject_cast<QComboBox*>(box); combo && combo->lineEdit())
            combo->lineEdit()->installEventFilter(this);
    }
    edtAddress->viewport()->installEventFilter(this);

    connect(edtProvince, &QComboBox::editTextChanged, this, &Tfrm_PersonInfo::refillCities);
    connect(edtCountry, &QComboBox::editTextChanged, this, &Tfrm_PersonInfo::refillCities);
    connect(edtAddress, &QPlainTextEdit::textChanged, this, &Tfrm_PersonInfo::limitAddress);
    connect(lbInputCode, &QLabel::linkActivated, this,
            [this] { context_.messages().show(kInputCodeHelp, QStringLiteral("message")); });
    connect(btSave, &QPushButton::clicked, this, &Tfrm_PersonInfo::save);
    connect(btSaveClose, &QPushButton::clicked, this, [this] {
        // A failed save keeps the window, so that nothing typed is lost.
        if (save())
            accept();
    });
    connect(btReset, &QPushButton::clicked, this, &Tfrm_PersonInfo::reset);
    connect(btCopy, &QPushButton::clicked, this, &Tfrm_PersonInfo::copyUnit);
    connect(btClose, &QPushButton::clicked, this, &Tfrm_PersonInfo::reject);
}

void Tfrm_PersonInfo::done(int result)
{
    FormFaceSave(this, context_.userIniFile());
    QDialog::done(result);
}

void Tfrm_PersonInfo::setIdentifier(int id)
{
    edtID->setText(id > 0 ? QString::number(id) : QString());
}

QString Tfrm_PersonInfo::identifier() const
{
    return edtID->text();
}

void Tfrm_PersonInfo::loadByIdentifier()
{
    if (identifier().isEmpty())
        return;
    TPerson stored;
    stored.setID(identifier().toInt());
    if (stored.loadByID(context_.db()) == 1)
        showPerson(stored);
}

void Tfrm_PersonInfo::showPerson(const TPerson& person)
{
    setIdentifier(person.getID());
    edtIdentity->setText(person.getIdentity());
    edtName->setText(person.getFullName());
    edtInputCode->setText(person.getInputCode());
    edtBank->setText(person.getBank());
    edtBankAcct->setText(person.getBankAcct());
    edtBankAddr->setText(person.getBankAddr());
    edtBankNo->setText(person.getBankNo());
    edtCountry->setEditText(person.getCountry());
    edtProvince->setEditText(person.getProvince());
    edtCity->setEditText(person.getCity());
    edtTown->setEditText(person.getTown());
    edtAddress->setPlainText(person.getAddress());
    edtZipcode->setText(person.getZipcode());
    edtContactor->setText(person.getContactor());
    edtPhone->setText(person.getPhone());
    edtHandset->setText(person.getHandset());
    edtGroup->setEditText(person.getGroup());
    edtRemark->setText(person.getRemark());
    edtDef1->setText(person.getDef1());
    edtDef2->setText(person.getDef2());
    edtDef3->setText(person.getDef3());
    setUnitType(person.getUnitType());
}

void Tfrm_PersonInfo::reset()
{
    edtID->clear();
    for (QLineEdit* edit : {edtIdentity, edtName, edtInputCode, edtBank, edtBankAcct, edtBankAddr, edtBankNo,
                            edtZipcode, edtContactor, edtPhone, edtHandset, edtRemark, edtDef1, edtDef2, edtDef3})
        edit->clear();
    for (QComboBox* box : {edtCountry, edtProvince, edtCity, edtTown, edtGroup})
        box->setEditText(QString());
    edtAddress->clear();
}

void Tfrm_PersonInfo::setUnitType(const QString& type)
{
    cbAcountType->setCurrentIndex(type == cbAcountType->itemText(0) ? 0 : 1);
}

void Tfrm_PersonInfo::setGroup(const QString& group)
{
    edtGroup->setEditText(group);
}

TPerson Tfrm_PersonInfo::person() const
{
    TPerson unit;
    if (!identifier().isEmpty())
        unit.setID(identifier().toInt());
    unit.setFullName(edtName->text());
    unit.setContactor(edtContactor->text());
    unit.setIdentity(edtIdentity->text());
    unit.setAddress(edtAddress->toPlainText());
    unit.setPhone(edtPhone->text());
    unit.setHandset(edtHandset->text());
    unit.setZipcode(edtZipcode->text());
    unit.setCountry(boxText(edtCountry));
    unit.setProvince(boxText(edtProvince));
    unit.setCity(boxText(edtCity));
    unit.setTown(boxText(edtTown));
    unit.setGroup(boxText(edtGroup));
    unit.setRemark(edtRemark->text());
    unit.setBankAddr(edtBankAddr->text());
    unit.setBankNo(edtBankNo->text());
    unit.setDef1(edtDef1->text());
    unit.setDef2(edtDef2->text());
    unit.setDef3(edtDef3->text());
    unit.setInputCode(trimText(edtInputCode->text()));
    unit.setBank(trimText(edtBank->text()));
    unit.setBankAcct(trimText(edtBankAcct->text()));
    unit.setUnitType(cbAcountType->currentIndex() == 0 ? TPerson::kOwnUnit : TPerson::kCounterpartUnit);
    return unit;
}

bool Tfrm_PersonInfo::save()
{
    TPerson unit = person();
    const EditorReply reply = savePersonRecord(context_.db(), unit, !identifier().isEmpty());
    context_.messages().show(reply.text, reply.caption,
                             reply.outcome == EditorReply::Done ? UserMessages::Icon::Information
                                                                : UserMessages::Icon::Warning);
    if (reply.outcome != EditorReply::Done)
        return false;
    if (unit.getID() > 0)
        setIdentifier(unit.getID());
    emit saved();
    btCopy->setFocus();
    if (ckAddNext->isChecked())
        reset();
    return true;
}

void Tfrm_PersonInfo::copyUnit()
{
    edtID->clear();
    edtContactor->setFocus();
    edtContactor->selectAll();
}

void Tfrm_PersonInfo::leaveTown()
{
    if (boxText(edtTown) == kTypeHere)
        edtTown->setEditText(QString());
    const QString town = boxText(edtTown);
    const QString address = edtAddress->toPlainText();
    if (!town.isEmpty() && !address.contains(town))
        edtAddress->setPlainText(town + address);
}

void Tfrm_PersonInfo::refillCities()
{
    fillCombo(edtCity, loadCitysByProvince(context_.db(), boxText(edtProvince)));
}

void Tfrm_PersonInfo::fillCombo(QComboBox* box, const QStringList& items)
{
    // Refilling a list must leave the typed text alone and start no further refill.
    const QSignalBlocker quiet(box);
    const QString text = box->currentText();
    box->clear();
    box->addItems(items);
    box->setCurrentIndex(-1);
    box->setEditText(text);
}

void Tfrm_PersonInfo::limitAddress()
{
    const QString text = edtAddress->toPlainText();
    if (text.size() <= kAddressLimit)
        return;
    edtAddress->setPlainText(text.left(kAddressLimit));
    edtAddress->moveCursor(QTextCursor::End);
}

void Tfrm_PersonInfo::enterBox(QObject* box)
{
    if (box == edtProvince && edtProvince->count() == 0)
        fillCombo(edtProvince, loadProvinces(context_.db()));
    else if (box == edtCity && !boxText(edtProvince).isEmpty())
        refillCities();
    else if (box == edtCountry)
        fillCombo(edtCountry, loadDMListByName(context_.db(), QStringLiteral("国家"), QStringLiteral("0")));
    else if (box == edtGroup && edtGroup->count() == 0)
        fillCombo(edtGroup, loadPersonTableGroupList(context_.db()));
    // After the click that brought the focus has placed the cursor.
    QTimer::singleShot(0, box, [box] { selectAllOf(box); });
}

QWidget* Tfrm_PersonInfo::nextAfterEnter(QObject* box) const
{
    if (box == edtName)
        return edtInputCode;
    if (box == edtInputCode || box == edtIdentity)
        return edtBank;
    if (box == edtBank || box == edtBankAcct || box == edtBankAddr || box == edtBankNo || box == edtRemark
        || box == edtDef1 || box == edtDef2 || box == edtDef3 || box == edtCountry)
        return edtProvince;
    if (box == edtProvince)
        return edtCity;
    if (box == edtCity)
        return edtTown;
    if (box == edtTown)
        return edtAddress;
    if (box == edtAddress)
        return edtZipcode;
    if (box == edtZipcode)
        return edtContactor;
    if (box == edtContactor)
        return edtPhone;
    if (box == edtPhone || box == edtHandset)
        return edtHandset;
    if (box == edtGroup)
        return btSave;
    return nullptr;
}

bool Tfrm_PersonInfo::eventFilter(QObject* watched, QEvent* event)
{
    // A combo's own line edit and the address's viewport stand for their box.
    QObject* box = watched;
    if (watched->parent() && qobject_cast<QComboBox*>(watched->parent()))
        box = watched->parent();
    else if (watched == edtAddress->viewport())
        box = edtAddress;

    switch (event->type()) {
    case QEvent::KeyPress: {
        if (box != watched)
            break;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (box == cbAcountType && !key->text().isEmpty()) {
            edtGroup->setFocus();
            return true;
        }
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            if (QWidget* next = nextAfterEnter(box)) {
                next->setFocus();
                return true;
            }
        }
        break;
    }
    case QEvent::FocusIn:
        if (box == watched)
            enterBox(box);
        break;
    case QEvent::FocusOut:
        if (box == edtTown && watched == edtTown)
            leaveTown();
        break;
    case QEvent::MouseButtonDblClick:
        selectAllOf(box);
        return true;
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace slipcraft
