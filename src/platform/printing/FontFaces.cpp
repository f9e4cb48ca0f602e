#include "platform/printing/FontFaces.h"

#include <QFont>
#include <QStringList>

namespace slipcraft {

void installFontSubstitutions()
{
    const QString serif = QStringLiteral("Noto Serif CJK SC");
    const QString sans = QStringLiteral("Noto Sans CJK SC");
    const QString kai = QStringLiteral("AR PL UKai CN");
    const QString ming = QStringLiteral("AR PL UMing CN");
    const QString lastResort = QStringLiteral("WenQuanYi Zen Hei");

    struct Group {
        QStringList windowsFaces;
        QStringList installed;
    };
    const Group groups[] = {
        {{QStringLiteral("宋体"), QStringLiteral("SimSun"), QStringLiteral("新宋体"), QStringLiteral("NSimSun")}, {serif}},
        {{QStringLiteral("黑体"), QStringLiteral("SimHei"), QStringLiteral("微软雅黑"), QStringLiteral("Microsoft YaHei")}, {sans}},
        {{QStringLiteral("楷体"), QStringLiteral("KaiTi"), QStringLiteral("楷体_GB2312")}, {kai, serif}},
        {{QStringLiteral("仿宋"), QStringLiteral("FangSong"), QStringLiteral("仿宋_GB2312")}, {ming, serif}},
        {{QStringLiteral("Arial")}, {QStringLiteral("Liberation Sans")}},
        {{QStringLiteral("Times New Roman")}, {QStringLiteral("Liberation Serif")}},
        {{QStringLiteral("Courier New")}, {QStringLiteral("Liberation Mono")}},
    };
    // insertSubstitutions skips names already listed, so a second call changes nothing.
    for (const Group& group : groups)
        for (const QString& face : group.windowsFaces)
            QFont::insertSubstitutions(face, group.installed + QStringList{lastResort});
}

} // namespace slipcraft
