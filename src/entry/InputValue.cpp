#include "entry/InputValue.h"

#include "shell/MessageBoxes.h"
#include "wording/Functions.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace slipcraft {

namespace {

const QStringList kCounts = {
    QStringLiteral("2"),  QStringLiteral("5"),   QStringLiteral("10"),  QStringLiteral("20"),
    QStringLiteral("25"), QStringLiteral("30"),  QStringLiteral("50"),  QStringLiteral("100"),
    QStringLiteral("200"), QStringLiteral("500"), QStringLiteral("1000"),
};
constexpr int kIntegerLength = 7;
constexpr int kAnyLength = 32767;

bool isAsciiDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

} // namespace

TfrmInputValue::TfrmInputValue(QWidget* parent, UserMessages* messages)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , Label1(new QLabel(QStringLiteral("请输入:"), this))
    , edtValue(new QComboBox(this))
    , lbMessage(new QLabel(this))
    , btOK(new QPushButton(QStringLiteral("确 定(&Y)"), this))
    , btCancel(new QPushButton(QStringLiteral("取 消(&C)"), this))
    , messages_(messages)
{
    if (!messages_) {
        ownMessages_ = std::make_unique<MessageBoxes>();
        messages_ = ownMessages_.get();
    }
    setObjectName(QStringLiteral("frmInputValue"));
    setWindowTitle(QStringLiteral("用户输入"));
    setFixedSize(360, 200);

    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setWordWrap(true);
    edtValue->setObjectName(QStringLiteral("edtValue"));
    edtValue->setEditable(true);
    edtValue->setCompleter(nullptr);
    edtValue->setInsertPolicy(QComboBox::NoInsert);
    edtValue->setMaxVisibleItems(20);
    lbMessage->setObjectName(QStringLiteral("lbMessage"));
    btOK->setObjectName(QStringLiteral("btOK"));
    btCancel->setObjectName(QStringLiteral("btCancel"));
    // Enter belongs to the value box, which runs OK itself.
    btOK->setAutoDefault(false);
    btCancel->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btOK);
    buttons->addWidget(btCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(edtValue);
    layout->addWidget(lbMessage);
    layout->addStretch();
    layout->addLayout(buttons);

    // Keys reach the box itself; the mouse reaches its edit line.
    edtValue->installEventFilter(this);
    edtValue->lineEdit()->installEventFilter(this);
    connect(btOK, &QPushButton::clicked, this, &TfrmInputValue::btOKClick);
    connect(btCancel, &QPushButton::clicked, this, &TfrmInputValue::btCancelClick);
}

TfrmInputValue::~TfrmInputValue() = default;

void TfrmInputValue::setTitle(const QString& prompt)
{
    setWindowTitle(QStringLiteral("用户输入"));
    Label1->setText(prompt);
}

void TfrmInputValue::setDefaultValue(const QString& text)
{
    edtValue->setEditText(text);
}

void TfrmInputValue::setTypeReturn(const QString& typeName)
{
    const QString type = trimText(typeName).toUpper();
    if (type == QLatin1String("INT") || type == QLatin1String("INTEGER"))
        valueType_ = kInteger;
    else if (type == QLatin1String("FLOAT") || type == QLatin1String("REAL") || type == QLatin1String("DOUBLE"))
        valueType_ = kDouble;
    else
        valueType_ = kString;
}

QString TfrmInputValue::value() const
{
    return edtValue->currentText();
}

void TfrmInputValue::showEvent(QShowEvent* event)
{
    cancelled_ = true;
    const QString text = edtValue->currentText();
    edtValue->clear();
    if (valueType_ == kInteger)
        edtValue->addItems(kCounts);
    edtValue->setCurrentIndex(-1);
    edtValue->lineEdit()->setMaxLength(valueType_ == kInteger ? kIntegerLength : kAnyLength);
    edtValue->setEditText(text);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    QDialog::showEvent(event);
    // Typing replaces the default rather than adding to it.
    edtValue->setFocus();
    edtValue->lineEdit()->selectAll();
}

bool TfrmInputValue::refusesKey(const QString& typed)
{
    if (valueType_ == kString || typed.size() != 1)
        return false;
    const QChar c = typed.front();
    const bool passes = isAsciiDigit(c) || c == QLatin1Char('\b') || c == QLatin1Char('\x1b') || c == QLatin1Char('\r')
        || (valueType_ == kDouble && c == QLatin1Char('.'));
    if (passes) {
        lbMessage->clear();
        return false;
    }
    // Other control characters are editing commands (paste, select all), not typed text.
    if (!c.isPrint())
        return false;
    lbMessage->setText(valueType_ == kInteger ? QStringLiteral("提示：只能输入数字,谢谢！")
                                              : QStringLiteral("提示:只能输入数字及点(如: 12.5 )！"));
    return true;
}

bool TfrmInputValue::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == edtValue && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (refusesKey(key->text()))
            return true;
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            btOKClick();
            return true;
        }
    } else if (watched == edtValue->lineEdit() && event->type() == QEvent::MouseButtonDblClick) {
        edtValue->lineEdit()->selectAll();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmInputValue::btOKClick()
{
    const QString text = trimText(edtValue->currentText());
    edtValue->setEditText(text);
    if (text.isEmpty()) {
        messages_->show(QStringLiteral("请输入正确的值，不能为空"), QStringLiteral("提示"));
        return;
    }
    cancelled_ = false;
    accept();
}

void TfrmInputValue::btCancelClick()
{
    cancelled_ = true;
    reject();
}

void TfrmInputValue::done(int result)
{
    // Cancel, Escape and the close box all leave the caller an empty text.
    if (cancelled_)
        edtValue->setEditText(QString());
    QDialog::done(result);
}

QString giveMeAnValue(QWidget* parent, const QString& prompt, const QString& defaultValue, const QString& typeName)
{
    TfrmInputValue dialog(parent);
    dialog.setTitle(prompt);
    dialog.setDefaultValue(defaultValue);
    dialog.setTypeReturn(typeName);
    dialog.exec();
    return dialog.value();
}

} // namespace slipcraft
