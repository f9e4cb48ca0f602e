#include "shell/StartUp.h"

#include "platform/RegistryStore.h"
#include "platform/RunPath.h"
#include "shell/UserMessages.h"

#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>

namespace slipcraft {

QString programVersionText(int parts)
{
    const QStringList numbers = QStringLiteral(SLIPCRAFT_VERSION).split(QLatin1Char('.'));
    if (numbers.size() != 4)
        return QStringLiteral("0.0.0.0");
    const int count = (parts == 2 || parts == 3) ? parts : 4;
    return numbers.mid(0, count).join(QLatin1Char('.'));
}

QString mainWindowCaption(const QString& versionText)
{
    return QStringLiteral("Marrowind票据打印V") + versionText + QStringLiteral("- 欢迎登陆官方网站 ") + kMakerSite;
}

bool runsInsideArchive(const QString& runPath)
{
    return runPath.contains(QLatin1Char('$'));
}

QString archiveMessage(const QString& versionText)
{
    const QChar cr(u'\r');
    return QStringLiteral("请不要从压缩包中直接运行软件，这样会使你的软件设置失效，建议：") + cr
        + QStringLiteral("  1、鼠标右击压缩包解压到非系统盘（例如： D:\\Marrowind软件SlipcraftV") + versionText
        + QStringLiteral("\\，再运行）;") + cr
        + QStringLiteral("  2、使用软件前，请查看一下软件目录的：使用说明.txt; ") + cr
        + QStringLiteral("  3、不明之处，请及时咨询Marrowind或访问正版软件官方网站寻求帮助！") + cr + cr
        + QStringLiteral("  解压后的软件文件夹可以随意复制、备份，数据都保存在文件夹内。");
}

QStringList updateInstallRecord(RegistryStore& store, const QString& runPath, const QString& versionText,
                                const QString& programFile, UserMessages& messages)
{
    QStringList written;
    bool failed = false;
    const auto write = [&](const QString& name, const QString& value) {
        if (store.write(name, value))
            written.append(name);
        else
            failed = true;
    };
    if (store.read(QStringLiteral("RunPath")) != runPath)
        write(QStringLiteral("RunPath"), runPath);
    if (store.read(QStringLiteral("Version")) != versionText)
        write(QStringLiteral("Version"), versionText);
    write(QStringLiteral("FullPath"), programFile);
    if (failed)
        messages.show(QStringLiteral("注册表读写错误！"));
    return written;
}

QString splashPicturePath(const QString& runPath)
{
    return findIgnoringCase(runPath, QStringLiteral("Image/Sys_boot.jpg"));
}

QString backgroundPicturePath(const QString& runPath)
{
    return findIgnoringCase(runPath, QStringLiteral("Image/sys_bg.jpg"));
}

namespace {

QFont pictureFont(int pixelSize, bool bold)
{
    QFont font;
    font.setFamilies({QStringLiteral("Noto Sans CJK SC"), QStringLiteral("WenQuanYi Zen Hei"),
                      QStringLiteral("Noto Sans CJK")});
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

QImage drawSplash(const QString& versionText)
{
    QImage image(370, 249, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, image.height());
    sky.setColorAt(0, QColor(34, 92, 150));
    sky.setColorAt(1, QColor(18, 52, 96));
    painter.fillRect(image.rect(), sky);

    // A stylised bill: the paper the program prints on.
    const QRectF bill(24, 40, 150, 92);
    painter.setPen(QPen(QColor(220, 232, 245), 1.5));
    painter.setBrush(QColor(250, 246, 232));
    painter.drawRoundedRect(bill, 4, 4);
    painter.setPen(QPen(QColor(190, 80, 60), 1));
    for (int row = 0; row < 4; ++row)
        painter.drawLine(QPointF(bill.left() + 10, bill.top() + 22 + row * 17),
                         QPointF(bill.right() - 10, bill.top() + 22 + row * 17));
    painter.setPen(QColor(190, 80, 60));
    painter.setFont(pictureFont(11, true));
    painter.drawText(bill.adjusted(0, 4, 0, 0), Qt::AlignHCenter | Qt::AlignTop, QStringLiteral("转 账 支 票"));

    painter.setPen(Qt::white);
    painter.setFont(pictureFont(24, true));
    painter.drawText(QRectF(186, 48, 176, 40), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("票据打印"));
    painter.setFont(pictureFont(13, false));
    painter.drawText(QRectF(188, 90, 176, 24), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("Slipcraft V") + versionText);
    painter.setPen(QColor(200, 220, 240));
    painter.setFont(pictureFont(12, false));
    painter.drawText(QRectF(24, 160, 322, 24), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("支票 · 进账单 · 电汇单 · 承兑汇票 · 快递单"));
    painter.drawText(QRectF(24, 205, 322, 24), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("正在启动……"));
    return image;
}

QImage drawBackground()
{
    QImage image(1280, 800, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient wash(0, 0, image.width(), image.height());
    wash.setColorAt(0, QColor(226, 238, 222));
    wash.setColorAt(1, QColor(200, 226, 190));
    painter.fillRect(image.rect(), wash);

    // Faint overlapping bills, as on a clerk's desk.
    painter.setPen(QPen(QColor(255, 255, 255, 150), 2));
    painter.setBrush(QColor(255, 255, 255, 60));
    for (int i = 0; i < 3; ++i) {
        painter.save();
        painter.translate(760 + i * 60, 250 + i * 70);
        painter.rotate(-8 + i * 6);
        painter.drawRoundedRect(QRectF(0, 0, 380, 180), 6, 6);
        for (int row = 1; row < 5; ++row)
            painter.drawLine(QPointF(20, row * 34), QPointF(360, row * 34));
        painter.restore();
    }
    painter.setPen(QColor(120, 160, 120, 160));
    painter.setFont(pictureFont(56, true));
    painter.drawText(QRectF(80, 560, 900, 90), Qt::AlignLeft | Qt::AlignVCenter, kApplicationTitle);
    painter.setFont(pictureFont(22, false));
    painter.drawText(QRectF(84, 650, 900, 40), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("填开票据 · 套打输出 · 历史查询"));
    return image;
}

} // namespace

void ensureSystemPictures(const QString& runPath, const QString& versionText)
{
    const QString splash = splashPicturePath(runPath);
    const QString background = backgroundPicturePath(runPath);
    if (QFileInfo::exists(splash) && QFileInfo::exists(background))
        return;
    QDir().mkpath(QFileInfo(splash).absolutePath());
    // A picture that cannot be written is simply missing: the windows show without it.
    if (!QFileInfo::exists(splash))
        drawSplash(versionText).save(splash, "JPG", 92);
    if (!QFileInfo::exists(background))
        drawBackground().save(background, "JPG", 90);
}

} // namespace slipcraft
