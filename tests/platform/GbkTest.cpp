#include "platform/Gbk.h"

#include <gtest/gtest.h>

using namespace slipcraft;

TEST(Gbk, WidthCountsAsciiOneAndEveryOtherCharacterTwo)
{
    struct Case {
        const char* text;
        int width;
    };
    const Case cases[] = {
        {"", 0},
        {"abc 123", 7},
        {"中文", 4},
        {"a中b", 4},
        {"￥１２", 6},      // full-width signs and digits are two bytes
        {"\xF0\x9F\x98\x80", 2}, // a character outside the basic plane is one character
    };
    for (const Case& c : cases)
        EXPECT_EQ(gbk::width(QString::fromUtf8(c.text)), c.width) << c.text;
}

TEST(Gbk, EncodesAndDecodesTheCodePage)
{
    EXPECT_EQ(gbk::encode(u"中A"), QByteArray("\xD6\xD0" "A"));
    EXPECT_EQ(gbk::decode(QByteArray("\xB2\xE2\xCA\xD4")), QStringLiteral("测试"));
    const QString text = QStringLiteral("收款人全称：某某有限公司 No.123");
    EXPECT_EQ(gbk::decode(gbk::encode(text)), text);
}

TEST(Gbk, UnconvertibleInputIsReplacedNotDropped)
{
    EXPECT_EQ(gbk::encode(QString::fromUtf8("a\xF0\x9F\x98\x80" "b")), QByteArray("a?b"));
    // A lone lead byte at the end and an invalid pair.
    EXPECT_EQ(gbk::decode(QByteArray("A\xD6")), QStringLiteral("A\uFFFD"));
    EXPECT_EQ(gbk::decode(QByteArray("\xFF" "B")), QStringLiteral("\uFFFDB"));
}
