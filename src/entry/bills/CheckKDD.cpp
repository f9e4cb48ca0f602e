#include "entry/bills/CheckKDD.h"

#include "dictionaries/Dictionaries.h"
#include "entry/bills/CheckKDDLogic.h"
#include "records/MatchAddr.h"
#include "records/MutiPrint.h"
#include "shell/AppContext.h"
#include "shell/UserMessages.h"
#include "wording/Functions.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStyle>
#include <QToolButton>

namespace slipcraft {

namespace {

const QString kSenderProvince = QStringLiteral("zdHKRS");
const QString kReceiverProvince = QStringLiteral("zdSKRS");
const QString kSenderCity = QStringLiteral("zdHKRXS");
const QString kReceiverCity = QStringLiteral("zdSKRXS");
const QString kAmountBox = QStringLiteral("zdJEDX1");
const QString kDestination = QStringLiteral("cbDestSite");
const QStringList kDateBoxes = {QStringLiteral("zdNian"), QStringLiteral("zdYue"), QStringLiteral("zdRi"),
                                QStringLiteral("zdTime")};

QStringList boxNames(const PartyBoxes& party)
{
    QStringList names;
    for (const auto& [field, box] : party)
        names << box;
    return names;
}

QString boxOf(const PartyBoxes& party, TPerson::Field wanted)
{
    for (const auto& [field, box] : party)
        if (field == wanted)
            return box;
    return {};
}

} // namespace

TfmCheckKDD::TfmCheckKDD(AppContext& context, QWidget* parent)
    : TfmBillForm(context, waybillKind(), parent)
{
    Cb_S = popUp(QStringLiteral("Cb_S"));
    Cb_XS = popUp(QStringLiteral("Cb_XS"));
    cbCountry = popUp(QStringLiteral("cbCountry"));
    cbCountry->setEditText(QStringLiteral("中国"));
    cb_zdWPNR = popUp(QStringLiteral("cb_zdWPNR"));
    cbBZ = popUp(QStringLiteral("cbBZ"), 200);
    // The province list writes into its box as it changes, the goods list too.
    for (QComboBox* live : {Cb_S, cb_zdWPNR})
        connect(live, &QComboBox::editTextChanged, this, [this, live](const QString& text) {
            if (popUpTarget_ && !live->isHidden())
                setBoxText(popUpTarget_->objectName(), text);
        });

    for (const QString& name :
         {kSenderProvince, kReceiverProvince, kSenderCity, kReceiverCity, QStringLiteral("edtCountryFrom"),
          QStringLiteral("edtCountryDest"), QStringLiteral("zdhkrDH"), QStringLiteral("zdskrDH"), kAmountBox,
          QStringLiteral("zdWPNR"), QStringLiteral("zdBz"), QStringLiteral("zdHkrDZ"), QStringLiteral("zdSkrDZ"),
          QStringLiteral("zdSign"), QStringLiteral("cbFromSite")})
        boxWidget(name)->installEventFilter(this);
    for (const QString& name : {QStringLiteral("zdHkrDZ"), QStringLiteral("zdSkrDZ"), QStringLiteral("zdWPNR"),
                                QStringLiteral("zdBz")})
        static_cast<QPlainTextEdit*>(boxWidget(name))->viewport()->installEventFilter(this);

    connect(static_cast<QLineEdit*>(boxWidget(QStringLiteral("hkrHandset"))), &QLineEdit::textChanged, this,
            [this] { mobileTyped(true); });
    connect(static_cast<QLineEdit*>(boxWidget(QStringLiteral("skrHandset"))), &QLineEdit::textChanged, this,
            [this] { mobileTyped(false); });
    connect(static_cast<QLineEdit*>(boxWidget(kReceiverCity)), &QLineEdit::textChanged, this,
            &TfmCheckKDD::zdSKRXSChange);

    connect(option(QStringLiteral("cfgWantPrintRQ")), &QCheckBox::toggled, this, [this](bool on) {
        hideOrPlace(kDateBoxes, !on);
        datePicker()->setVisible(on);
    });
    connect(option(QStringLiteral("ckPrintFJROnly")), &QCheckBox::toggled, this, [this](bool on) {
        hideOrPlace(boxNames(kind().payeeBoxes) << kDestination, on);
    });
    connect(option(QStringLiteral("ckPrintSJROnly")), &QCheckBox::toggled, this, [this](bool on) {
        hideOrPlace(boxNames(kind().drawerBoxes) << QStringLiteral("cbFromSite") << QStringLiteral("zdSign"), on);
    });
    connect(option(QStringLiteral("ckHandset2Phone")), &QCheckBox::toggled, this, &TfmCheckKDD::mergeHandset);
    connect(option(QStringLiteral("cfgDestSiteIsCity")), &QCheckBox::toggled, this, [this] { zdSKRXSChange(); });
    connect(findChild<QComboBox*>(QStringLiteral("cfgJEDXFormat")), &QComboBox::currentTextChanged, this,
            &TfmCheckKDD::zdJEDX1Exit);
    QToolButton* paste = addToolButton(QStringLiteral("btPaste"), QStringLiteral("地址串识别(&W)"),
                                       QStringLiteral("粘贴识别外部收货地址"), QStyle::SP_DialogApplyButton);
    connect(paste, &QToolButton::clicked, this, &TfmCheckKDD::pasteAddress);
    QToolButton* batch = addToolButton(QStringLiteral("btMultiPrintS"), QStringLiteral("批量打印"),
                                       QStringLiteral("打印固定发件人+ 收件人列表"), QStyle::SP_FileDialogListView);
    connect(batch, &QToolButton::clicked, this, &TfmCheckKDD::batchPrint);
    start();
}

void TfmCheckKDD::batchPrint()
{
    if (!batchWindow_)
        batchWindow_ = new TfrmMutiPrint(context(), this, this);
    batchWindow_->exec();
}

void TfmCheckKDD::pasteAddress()
{
    if (!addressWindow_)
        addressWindow_ = new TfrmMatchAddr(context(), this);
    addressWindow_->setWaybill(this);
    addressWindow_->exec();
}

QComboBox* TfmCheckKDD::popUp(const QString& name, int maxLength)
{
    auto* box = new QComboBox(boxWidget(kSenderProvince)->parentWidget());
    box->setObjectName(name);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    if (maxLength > 0)
        box->lineEdit()->setMaxLength(maxLength);
    box->hide();
    box->installEventFilter(this);
    return box;
}

void TfmCheckKDD::openPopUp(QComboBox* list, QWidget* over)
{
    popUpTarget_ = over;
    list->setGeometry(over->geometry());
    {
        QSignalBlocker block(list);
        list->setEditText(boxText(over->objectName()));
    }
    list->show();
    list->raise();
    list->setFocus();
}

void TfmCheckKDD::closePopUp(QComboBox* list, bool copyBack)
{
    if (copyBack && popUpTarget_)
        setBoxText(popUpTarget_->objectName(), list->currentText());
    list->hide();
}

// What a list holds when the user enters it.
void TfmCheckKDD::fillPopUp(QComboBox* list)
{
    Database& db = context().db();
    const QString id = QString::number(templateId());
    QStringList items;
    try {
        if (list == Cb_S && list->count() == 0) {
            items = loadProvinces(db);
        } else if (list == Cb_XS) {
            const bool sender = popUpTarget_ == boxWidget(kSenderCity);
            QString province = sender ? boxText(kSenderProvince) : QString();
            if (trimText(province).isEmpty())
                province = boxText(kReceiverProvince);
            if (trimText(province).isEmpty())
                return;
            items = loadCitysByProvince(db, province);
            list->clear();
        } else if (list == cb_zdWPNR && list->count() == 0) {
            items = loadDMListByName(db, QStringLiteral("物品内容"), QStringLiteral("0,") + id);
        } else if (list == cbBZ && list->count() == 0) {
            items = loadDMListByName(db, QStringLiteral("备注"), id + QStringLiteral(",0"));
        }
    } catch (const DatabaseError&) {
        return;
    }
    const QString text = list->currentText();
    QSignalBlocker block(list);
    list->addItems(items);
    list->setEditText(text);
}

void TfmCheckKDD::loadSignatureAndOrigin(bool selectFirst)
{
    const QString ids = QStringLiteral("0,") + QString::number(templateId());
    const std::pair<const char*, const char*> lists[] = {{"zdSign", "发件人签名"}, {"cbFromSite", "始发站"}};
    for (const auto& [name, dictionary] : lists) {
        auto* box = static_cast<QComboBox*>(boxWidget(QString::fromLatin1(name)));
        const QString text = box->currentText();
        QStringList items;
        try {
            items = loadDMListByName(context().db(), QString::fromUtf8(dictionary), ids);
        } catch (const DatabaseError&) {
        }
        QSignalBlocker block(box);
        box->clear();
        box->addItems(items);
        box->setEditText(selectFirst && trimText(text).isEmpty() ? items.value(0) : text);
    }
}

void TfmCheckKDD::templateLoaded()
{
    loadSignatureAndOrigin(true);
    applyHiding();
    sizeAddressFont(boxWidget(QStringLiteral("zdHkrDZ")), 23);
    sizeAddressFont(boxWidget(QStringLiteral("zdSkrDZ")), 22);
}

// The placing of a template shows every box it places: the options hide theirs again.
void TfmCheckKDD::applyHiding()
{
    if (!option(QStringLiteral("cfgWantPrintRQ"))->isChecked()) {
        hideOrPlace(kDateBoxes, true);
        datePicker()->hide();
    }
    if (option(QStringLiteral("ckPrintSJROnly"))->isChecked())
        hideOrPlace(boxNames(kind().drawerBoxes) << QStringLiteral("cbFromSite") << QStringLiteral("zdSign"), true);
    if (option(QStringLiteral("ckPrintFJROnly"))->isChecked())
        hideOrPlace(boxNames(kind().payeeBoxes) << kDestination, true);
}

void TfmCheckKDD::beforePicking()
{
    closePopUp(Cb_S, false);
    closePopUp(Cb_XS, false);
}

// A template without a mobile box carries the party's mobile in its telephone box.
void TfmCheckKDD::mobileTyped(bool sender)
{
    const PartyBoxes& party = sender ? kind().drawerBoxes : kind().payeeBoxes;
    const QString phone = boxOf(party, TPerson::Phone);
    const QString mobile = boxOf(party, TPerson::Handset);
    if (boxWidget(mobile)->isHidden() && trimText(boxText(phone)).isEmpty())
        setBoxText(phone, boxText(mobile));
}

void TfmCheckKDD::mergeHandset(bool on)
{
    const QString mobile = boxText(QStringLiteral("skrHandset"));
    if (mobile.isEmpty())
        return;
    QString phone = boxText(QStringLiteral("zdskrDH"));
    if (on) {
        if (phone.isEmpty())
            phone = mobile;
        else if (!phone.contains(mobile))
            phone += QLatin1Char('\\') + mobile;
    } else {
        const qsizetype at = phone.indexOf(QLatin1Char('\\') + mobile);
        if (at >= 0)
            phone.remove(at, mobile.size() + 1);
    }
    setBoxText(QStringLiteral("zdskrDH"), phone);
}

void TfmCheckKDD::zdSKRXSChange()
{
    session().edited();
    const QString city = boxText(kReceiverCity);
    if (option(QStringLiteral("cfgDestSiteIsCity"))->isChecked() && !city.isEmpty() && city != boxText(kDestination))
        setBoxText(kDestination, city);
}

void TfmCheckKDD::zdJEDX1Exit()
{
    const QString shown = boxText(kAmountBox);
    // Figures the user or another window wrote replace the ones kept.
    if (shown != shownAmount_)
        amountFigures_ = shown;
    const QComboBox* format = findChild<QComboBox*>(QStringLiteral("cfgJEDXFormat"));
    const WaybillAmount amount = waybillAmountText(amountFigures_, format ? format->currentText() : QString());
    if (!amount.ok) {
        context().messages().show(kWaybillAmountMessage);
        return;
    }
    shownAmount_ = amount.text;
    setBoxText(kAmountBox, amount.text);
}

void TfmCheckKDD::finishEntries()
{
    zdJEDX1Exit();
}

void TfmCheckKDD::applyOwnValues(const BillValues&)
{
    // A stored waybill keeps the amount box as it was shown: that is what re-entering it gives.
    amountFigures_ = boxText(kAmountBox);
    shownAmount_ = amountFigures_;
}

// 9 points for one line; for more, what the box's height allows.
void TfmCheckKDD::sizeAddressFont(QWidget* box, int eightPointLimit)
{
    auto* address = static_cast<QPlainTextEdit*>(box);
    int points = 9;
    if (address->toPlainText().count(QLatin1Char('\n')) >= 1) {
        const int height = address->height();
        points = height <= 21 ? 7 : (height <= eightPointLimit ? 8 : 9);
    }
    QFont font = address->font();
    font.setPointSize(points);
    address->setFont(font);
}

bool TfmCheckKDD::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    const QString name = watched->objectName();
    if (auto* list = qobject_cast<QComboBox*>(watched); list && list->isHidden() == false
        && (list == Cb_S || list == Cb_XS || list == cbCountry || list == cb_zdWPNR || list == cbBZ)) {
        if (type == QEvent::FocusIn)
            fillPopUp(list);
        else if (type == QEvent::FocusOut && static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason)
            closePopUp(list, list != Cb_S && list != cb_zdWPNR);
        else if (type == QEvent::MouseButtonDblClick)
            list->lineEdit()->selectAll();
        return TfmBillForm::eventFilter(watched, event);
    }
    if (type == QEvent::FocusIn) {
        if (name == kSenderProvince || name == kReceiverProvince)
            openPopUp(Cb_S, static_cast<QWidget*>(watched));
        else if (name == kSenderCity || name == kReceiverCity)
            openPopUp(Cb_XS, static_cast<QWidget*>(watched));
        else if (name == QLatin1String("edtCountryFrom") || name == QLatin1String("edtCountryDest"))
            openPopUp(cbCountry, static_cast<QWidget*>(watched));
        else if (name == QLatin1String("zdhkrDH"))
            mobileTyped(true);
        else if (name == QLatin1String("zdskrDH"))
            mobileTyped(false);
        else if (name == QLatin1String("zdSign") || name == QLatin1String("cbFromSite")) {
            if (static_cast<QComboBox*>(watched)->count() == 0)
                loadSignatureAndOrigin(true);
        } else if (name == kAmountBox && !boxText(kAmountBox).isEmpty()) {
            // The figures come back for editing, whatever the box shows.
            shownAmount_ = amountFigures_;
            setBoxText(kAmountBox, amountFigures_);
            static_cast<QLineEdit*>(watched)->selectAll();
        }
    } else if (type == QEvent::FocusOut && name == kAmountBox) {
        zdJEDX1Exit();
    } else if (type == QEvent::KeyPress && (name == QLatin1String("zdHkrDZ") || name == QLatin1String("zdSkrDZ"))) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Backspace || key == Qt::Key_Delete)
            QMetaObject::invokeMethod(this, [this, watched] { sizeAddressFont(static_cast<QWidget*>(watched), 23); },
                                      Qt::QueuedConnection);
    } else if (type == QEvent::MouseButtonDblClick) {
        // The viewports of the multi-line boxes see the double click.
        QWidget* box = static_cast<QWidget*>(watched)->parentWidget();
        const QString boxName = box ? box->objectName() : QString();
        if (boxName == QLatin1String("zdWPNR")) {
            openPopUp(cb_zdWPNR, box);
            return true;
        }
        if (boxName == QLatin1String("zdBz")) {
            openPopUp(cbBZ, box);
            return true;
        }
        if (boxName == QLatin1String("zdHkrDZ") || boxName == QLatin1String("zdSkrDZ")) {
            static_cast<QPlainTextEdit*>(box)->selectAll();
            return true;
        }
    }
    return TfmBillForm::eventFilter(watched, event);
}

} // namespace slipcraft
