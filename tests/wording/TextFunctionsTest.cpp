#include "wording/Functions.h"

#include <gtest/gtest.h>

#include <climits>
#include <stdexcept>

using namespace slipcraft;

namespace {

// Days and months 1 … 31, as printed on bills.
const QStringList kDayWords = {
    "零壹", "零贰", "零叁", "零肆", "零伍", "零陆", "零柒", "零捌", "零玖", "零壹拾",
    "壹拾壹", "壹拾贰", "壹拾叁", "壹拾肆", "壹拾伍", "壹拾陆", "壹拾柒", "壹拾捌", "壹拾玖",
    "零贰拾", "贰拾壹", "贰拾贰", "贰拾叁", "贰拾肆", "贰拾伍", "贰拾陆", "贰拾柒", "贰拾捌",
    "贰拾玖", "零叁拾", "叁拾壹",
};

TEST(DatePartWording, DaysAndMonthsFollowTheTableBothWays)
{
    for (int n = 1; n <= 31; ++n) {
        SCOPED_TRACE(n);
        const QString twoDigits = QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
        EXPECT_EQ(datePartToWords(n), kDayWords[n - 1]);
        EXPECT_EQ(datePartToWords(twoDigits), kDayWords[n - 1]);
        EXPECT_EQ(datePartFromWords(kDayWords[n - 1]), twoDigits);
    }
}

TEST(DatePartWording, WordsYearsDigitByDigitAndRejectsOtherDays)
{
    const struct {
        const char* value;
        QString words;
    } cases[] = {
        {"2024", "贰零贰肆"},
        {"1999", "壹玖玖玖"},
        {"100", "壹零零"},
        {"0", ""},
        {"00", ""},
        {"32", ""},
        {"-1", ""},
        {"99", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(datePartToWords(QString::fromUtf8(c.value)), c.words);
    }
    EXPECT_EQ(datePartToWords(2024), "贰零贰肆");
    EXPECT_EQ(datePartToWords(0), "");
    EXPECT_EQ(datePartToWords(32), "");
}

TEST(DatePartWording, ThrowsForTextItCannotConvert)
{
    for (const char* text : {"", "x", "5月", "2O24", "20 24", "-2024", "２０２４"}) {
        SCOPED_TRACE(text);
        EXPECT_THROW(datePartToWords(QString::fromUtf8(text)), std::invalid_argument);
    }
}

TEST(DatePartReading, ReadsYearsAndRejectsOtherWording)
{
    const struct {
        const char* words;
        QString digits;
    } cases[] = {
        {"贰零贰肆", "2024"},
        {" 贰零贰肆\t", "2024"},
        {"零壹拾", "10"},
        {" 零伍 ", "05"},
        // Longer than a day: digit names become digits, the rest stays.
        {"贰零贰肆年", "2024年"},
        {"拾", ""},
        {"壹拾", ""},
        {"零零", ""},
        {"叁拾贰", ""},
        {"05", ""},
        {"", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.words);
        EXPECT_EQ(datePartFromWords(QString::fromUtf8(c.words)), c.digits);
    }
}

TEST(NormalizeAmount, KeepsAsciiDigitsPointsAndMinus)
{
    const struct {
        const char* typed;
        const char* amount;
    } cases[] = {
        {"￥１２，３４５．６元", "12345.6"},
        {"1,234.50", "1234.50"},
        {"  -１００。５ ", "-100.5"},
        {"12 345", "12345"},
        {"1.2.3", "1.2.3"},
        {"壹佰元", ""},
        {"\u3000", ""},
        {"", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        EXPECT_EQ(normalizeAmount(QString::fromUtf8(c.typed)), c.amount);
    }
    EXPECT_EQ(amountToHalfWidth(QStringLiteral("￥１２，３４５．６元")), QStringLiteral("￥12345.6元"));
    EXPECT_EQ(amountToHalfWidth(QStringLiteral("１,２３４。5")), QStringLiteral("1234.5"));
}

TEST(NumericText, AcceptsOnlyDigitsAndPoints)
{
    const struct {
        const char* text;
        bool numeric;
        bool digits;
    } cases[] = {
        {"123", true, true},
        {"0", true, true},
        {"12.5", true, false},
        {"1.2.3", true, false},
        {".", true, false},
        {" 12", false, false},
        {"12 ", false, false},
        {"-5", false, false},
        {"1e5", false, false},
        {"１２", false, false},
        {"", false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(isNumericText(QString::fromUtf8(c.text)), c.numeric);
        EXPECT_EQ(isDigitText(QString::fromUtf8(c.text)), c.digits);
    }
}

TEST(SplitText, KeepsEmptyPieces)
{
    const struct {
        const char* text;
        const char* separator;
        QStringList pieces;
    } cases[] = {
        {"a##b##", "##", {"a", "b", ""}},
        {"##a", "##", {"", "a"}},
        {"a###b", "##", {"a", "#b"}},
        {"abc", ",", {"abc"}},
        {"", ",", {""}},
        {"a,b", "", {"a,b"}},
        {"张三|李四", "|", {"张三", "李四"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(splitText(QString::fromUtf8(c.text), QString::fromUtf8(c.separator)), c.pieces);
    }
}

TEST(BreakLines, FillsLinesToTwiceNBytesWithoutSplittingCharacters)
{
    const QString wide = QString::fromUcs4(U"\U00020000");
    const struct {
        const char* label;
        QString text;
        int n;
        QStringList lines;
    } cases[] = {
        {"ascii", "ABCDEFGH", 2, {"ABCD", "EFGH"}},
        {"chinese", "一二三四五", 2, {"一二", "三四", "五"}},
        {"exactly 2n bytes", "abcd", 2, {"abcd"}},
        {"short", "abc", 2, {"abc"}},
        {"straddling character stays", "ABC一DE", 2, {"ABC一", "DE"}},
        {"mixed", "一A二B三", 1, {"一", "A二", "B三"}},
        {"surrogate pairs", wide + wide + wide, 1, {wide, wide, wide}},
        {"surrogate pair straddles", "A" + wide + "B", 1, {"A" + wide, "B"}},
        {"empty", "", 2, {}},
        {"empty, n = 0", "", 0, {}},
        {"n = 0", "ABCDE", 0, {"ABCDE"}},
        {"negative n", "一二三", -3, {"一二三"}},
        {"huge n", "一二三", INT_MAX, {"一二三"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(breakLines(c.text, c.n), c.lines);
    }
}

TEST(TenthMmToPixels, RoundsExactlyHalvesToEven)
{
    const struct {
        int tenthMm;
        int dpi;
        int pixels;
    } cases[] = {
        {254, 300, 300},
        {0, 600, 0},
        {1, 300, 1},
        {100, 96, 38},
        {1, 127, 0},    // 0.5
        {3, 127, 2},    // 1.5
        {5, 127, 2},    // 2.5
        {-1, 127, 0},   // -0.5
        {-3, 127, -2},  // -1.5
        {-5, 127, -2},  // -2.5
        {2100, 600, 4961},
        {-2100, 600, -4961},
        {2000000, 1200, 9448819},  // the product exceeds 32 bits
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.tenthMm << " at " << c.dpi << " dpi");
        EXPECT_EQ(tenthMmToPixels(c.tenthMm, c.dpi), c.pixels);
    }
}

TEST(TextRules, TrimStopsAtCodeThirtyTwo)
{
    const struct {
        const char* text;
        const char* trimmed;
    } cases[] = {
        {" a ", "a"},
        {"\t\r\na b\n", "a b"},
        {"\u3000a\u3000", "\u3000a\u3000"},
        {"\u00a0a", "\u00a0a"},
        {"   ", ""},
        {"", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(trimText(QString::fromUtf8(c.text)), QString::fromUtf8(c.trimmed));
    }
}

TEST(TextRules, EmptyNeedleIsNeverContained)
{
    EXPECT_FALSE(containsText("abc", ""));
    EXPECT_FALSE(containsText("", ""));
    EXPECT_TRUE(containsText("默认出票人", "出票"));
    EXPECT_FALSE(containsText("abc", "B"));
}

} // namespace
