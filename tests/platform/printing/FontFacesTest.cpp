#include "platform/printing/FontFaces.h"

#include <gtest/gtest.h>

#include <QFont>
#include <QFontInfo>

using namespace slipcraft;

// Needs the faces the set-up script installs (Noto CJK, AR PL, Liberation, WenQuanYi).
TEST(FontFaces, WindowsFacesResolveToInstalledOnes)
{
    installFontSubstitutions();
    installFontSubstitutions(); // a second call changes nothing

    struct Case {
        QString windowsFace;
        QString installed;
    };
    const Case cases[] = {
        {QStringLiteral("宋体"), QStringLiteral("AR PL UMing CN")},
        {QStringLiteral("NSimSun"), QStringLiteral("AR PL UMing CN")},
        {QStringLiteral("黑体"), QStringLiteral("WenQuanYi Zen Hei")},
        {QStringLiteral("Microsoft YaHei"), QStringLiteral("WenQuanYi Zen Hei")},
        {QStringLiteral("楷体_GB2312"), QStringLiteral("AR PL UKai CN")},
        {QStringLiteral("仿宋"), QStringLiteral("AR PL UMing CN")},
        {QStringLiteral("Arial"), QStringLiteral("Liberation Sans")},
        {QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif")},
        {QStringLiteral("Courier New"), QStringLiteral("Liberation Mono")},
    };
    for (const Case& c : cases)
        EXPECT_EQ(QFontInfo(QFont(c.windowsFace)).family(), c.installed) << c.windowsFace.toStdString();

    // Qt keeps the names in lower case.
    EXPECT_EQ(QFont::substitutes(QStringLiteral("KaiTi")),
              (QStringList{QStringLiteral("ar pl ukai cn"), QStringLiteral("ar pl uming cn"), QStringLiteral("wenquanyi zen hei")}));

    // A face nobody installed prints as 宋体; installed and mapped faces keep their names.
    EXPECT_EQ(printableFace(QStringLiteral("华文行楷")), QStringLiteral("宋体"));
    EXPECT_EQ(printableFace(QString()), QStringLiteral("宋体"));
    EXPECT_EQ(printableFace(QStringLiteral("Arial")), QStringLiteral("Arial"));
    EXPECT_EQ(printableFace(QStringLiteral("WenQuanYi Zen Hei")), QStringLiteral("WenQuanYi Zen Hei"));
}
