#include "templates/LockPrinter.h"

#include "shell/AppContext.h"
#include "shell/UserMessages.h"
#include "templates/PrinterParam.h"
#include "templates/PrinterParamLogic.h"
#include "wording/Functions.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace slipcraft {

TfmLockPrinter::TfmLockPrinter(AppContext& context, QWidget* parent)
    : QDialog(parent)
    , context_(context)
    , cbPrinters(new QComboBox(this))
    , btLock(new QPushButton(QStringLiteral("锁定该打印机为票据打印机"), this))
    , btAdapt(new QPushButton(QStringLiteral("适配打印机整体偏移参数"), this))
{
    setObjectName(QStringLiteral("fmLockPrinter"));
    setWindowTitle(QStringLiteral("固定票据打印机"));
    cbPrinters->setObjectName(QStringLiteral("cbPrinters"));
    btLock->setObjectName(QStringLiteral("btLock"));
    btAdapt->setObjectName(QStringLiteral("btAdapt"));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btLock);
    buttons->addWidget(btAdapt);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("选择用来打印票据的打印机："), this));
    layout->addWidget(cbPrinters);
    layout->addLayout(buttons);
    for (QPushButton* button : findChildren<QPushButton*>())
        button->setAutoDefault(false);

    const QStringList printers = context_.printerList();
    if (printers.isEmpty()) {
        context_.messages().show(QStringLiteral("没有检测到打印机！请安装打印机并重启动本软件！"));
        btAdapt->setEnabled(false);
    }
    cbPrinters->addItems(printers);
    // Unlike selecting the printer, the preselection wants the stored name exactly.
    cbPrinters->setCurrentIndex(
        printers.indexOf(context_.settings().getConfigByname(QStringLiteral("DefaultPrinter"))));
    btLock->setEnabled(cbPrinters->currentIndex() >= 0);

    connect(cbPrinters, &QComboBox::currentIndexChanged, this, [this](int index) { btLock->setEnabled(index >= 0); });
    connect(btLock, &QPushButton::clicked, this, &TfmLockPrinter::lockClick);
    connect(btAdapt, &QPushButton::clicked, this, &TfmLockPrinter::adaptClick);
}

void TfmLockPrinter::execute(AppContext& context, QWidget* parent)
{
    auto* window = new TfmLockPrinter(context, parent);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->exec();
}

void TfmLockPrinter::lockClick()
{
    lockBillPrinter(context_, cbPrinters->currentText());
}

void TfmLockPrinter::adaptClick()
{
    const QString printer = cbPrinters->currentText();
    if (trimText(printer).isEmpty()) {
        context_.messages().show(QStringLiteral("请选择要固定的票据打印机！"));
        return;
    }
    TfrmPrinterParam::execute(context_, printer, this);
    close();
}

void TfmLockPrinter::done(int result)
{
    QDialog::done(result);
    if (QWidget* owner = parentWidget()) {
        owner->window()->raise();
        owner->window()->activateWindow();
    }
}

} // namespace slipcraft
