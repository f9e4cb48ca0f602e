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
        {QStringLiteral("宋体"), QStringLiteral("Noto Serif CJK SC")},
        {QStringLiteral("NSimSun"), QStringLiteral("Noto Serif CJK SC")},
        {QStringLiteral("黑体"), QStringLiteral("Noto Sans CJK SC")},
        {QStringLiteral("Microsoft YaHei"), QStringLiteral("Noto Sans CJK SC")},
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
              (QStringList{QStringLiteral("ar pl ukai cn"), QStringLiteral("noto serif cjk sc"), QStringLiteral("wenquanyi zen hei")}));
}
