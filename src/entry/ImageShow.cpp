#include "entry/ImageShow.h"

#include "data/Database.h"
#include "platform/RunPath.h"
#include "shell/AppContext.h"
#include "shell/UserMessages.h"

#include <QEvent>
#include <QGuiApplication>
#include <QImageReader>
#include <QLabel>
#include <QPixmap>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>

namespace slipcraft {

namespace {
const QString kCaption = QStringLiteral("提示");
} // namespace

TfrmImageShow::TfrmImageShow(AppContext& context, QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint)
    , context_(context)
    , area_(new QScrollArea(this))
    , Image1(new QLabel)
{
    setObjectName(QStringLiteral("frmImageShow"));
    setWindowTitle(QStringLiteral("Marrowind图示"));
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->installEventFilter(this);
    area_->setWidget(Image1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(area_);
    resize(870, 640);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TfrmImageShow::setPicture(const QPixmap& picture)
{
    Image1->setPixmap(picture);
    Image1->resize(picture.size());
}

void TfrmImageShow::loadPictureByFullName(const QString& name)
{
    setPicture(QPixmap());
    setWindowTitle(QStringLiteral("Marrowind软件-模板图片查看【") + name + QStringLiteral("】"));
    if (name.isEmpty())
        return;
    QString file;
    try {
        SqlQuery row = context_.db().query(QStringLiteral("select ImgFile from ckTypeTable where TypeName=:name"),
                                           {{QStringLiteral("name"), name}});
        if (!row.next())
            return;
        file = row.value(0).toString();
    } catch (const DatabaseError& error) {
        context_.messages().show(error.text(), kCaption);
        return;
    }
    if (file.isEmpty()) {
        context_.messages().show(QStringLiteral("没有有效的图片文件~"), kCaption);
        return;
    }
    const QString path = findIgnoringCase(context_.getRunPath(), QStringLiteral("Image/") + file);
    QImageReader reader(path);
    const QImage picture = reader.read();
    if (picture.isNull()) {
        context_.messages().show(QStringLiteral("无法读取图片文件：") + path + QStringLiteral("（") + reader.errorString()
                                     + QStringLiteral("）"),
                                 kCaption);
        return;
    }
    setPicture(QPixmap::fromImage(picture));
}

bool TfrmImageShow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Image1 && (event->type() == QEvent::MouseButtonRelease || event->type() == QEvent::MouseButtonDblClick)) {
        close();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace slipcraft
