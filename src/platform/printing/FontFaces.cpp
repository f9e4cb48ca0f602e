#include "platform/printing/FontFaces.h"

#include <QFont>
#include <QFontDatabase>
#include <QStringList>

namespace slipcraft {

namespace {

const QString kSongFace = QStringLiteral("宋体");

} // namespace

void installFontSubstitutions()
{
    // Ming, Kai and Zen Hei extract from a PDF character for character; the CJK faces
    // that share glyphs with the radicals (人 read back as ⼈) are never asked for.
    const QString ming = QStringLiteral("AR PL UMing CN");
    const QString kai = QStringLiteral("AR PL UKai CN");
    const QString zenHei = QStringLiteral("WenQuanYi Zen Hei");

    struct Group {
        QStringList windowsFaces;
        QStringList installed;
    };
    const Group groups[] = {
        {{kSongFace, QStringLiteral("SimSun"), QStringLiteral("新宋体"), QStringLiteral("NSimSun")}, {ming}},
        {{QStringLiteral("黑体"), QStringLiteral("SimHei"), QStringLiteral("微软雅黑"), QStringLiteral("Microsoft YaHei")},
         {zenHei}},
        {{QStringLiteral("楷体"), QStringLiteral("KaiTi"), QStringLiteral("楷体_GB2312")}, {kai}},
        {{QStringLiteral("仿宋"), QStringLiteral("FangSong"), QStringLiteral("仿宋_GB2312")}, {ming}},
        {{QStringLiteral("Arial")}, {QStringLiteral("Liberation Sans")}},
        {{QStringLiteral("Times New Roman")}, {QStringLiteral("Liberation Serif")}},
        {{QStringLiteral("Courier New")}, {QStringLiteral("Liberation Mono")}},
    };
    // insertSubstitutions skips names already listed, so a second call changes nothing.
    for (const Group& group : groups)
        for (const QString& face : group.windowsFaces)
            QFont::insertSubstitutions(face, group.installed + QStringList{ming, zenHei});
    // Latin faces asked for by their own names still find the Chinese characters here.
    for (const QString& latin :
         {QStringLiteral("Liberation Sans"), QStringLiteral("Liberation Serif"), QStringLiteral("Liberation Mono")})
        QFont::insertSubstitutions(latin, {ming, zenHei});
}

QString printableFace(const QString& face)
{
    if (face.isEmpty())
        return kSongFace;
    if (!QFont::substitutes(face).isEmpty() || QFontDatabase::hasFamily(face))
        return face;
    return kSongFace;
}

QStringList fontChoices()
{
    QStringList faces{kSongFace,           QStringLiteral("黑体"),  QStringLiteral("楷体"),
                      QStringLiteral("仿宋"), QStringLiteral("微软雅黑"), QStringLiteral("Arial"),
                      QStringLiteral("Times New Roman"), QStringLiteral("Courier New")};
    for (const QString& family : QFontDatabase::families())
        if (!family.startsWith(QLatin1Char('@')) && !faces.contains(family))
            faces << family;
    return faces;
}

} // namespace slipcraft
