#include "wording/Functions.h"

#include <gtest/gtest.h>

#include <QLocale>

#include <cmath>
#include <limits>
#include <optional>
#include <stdexcept>

using namespace slipcraft;

namespace {

const QString kLargest =
    QStringLiteral("玖万玖仟玖佰玖拾玖亿玖仟玖佰玖拾玖万玖仟玖佰玖拾玖元玖角玖分");

struct AmountCase {
    const char* amount;
    QString words;
};

TEST(AmountWording, WordsDecimalTextExactly)
{
    const AmountCase cases[] = {
        // Worked results.
        {"0.05", "伍分"},
        {"0.5", "伍角整"},
        {"1", "壹元整"},
        {"10", "壹拾元整"},
        {"100.5", "壹佰元伍角整"},
        {"1000", "壹仟元整"},
        {"1005.05", "壹仟零伍元零伍分"},
        {"10000", "壹万元整"},
        {"100000", "壹拾万元整"},
        {"1000001", "壹佰万零壹元整"},
        {"10000000", "壹仟万元整"},
        {"100000000", "壹亿元整"},
        {"100010000", "壹亿零壹万元整"},
        {"120000000.12", "壹亿贰仟万元壹角贰分"},
        {"-35.2", "负叁拾伍元贰角整"},
        {"0.125", "壹角叁分"},
        {"9999999999999.99", kLargest},
        // An empty 万 group between 亿 and a thousands digit keeps its 零.
        {"800007063", "捌亿零柒仟零陆拾叁元整"},
        {"1300004300", "壹拾叁亿零肆仟叁佰元整"},
        {"1000000001000", "壹万亿零壹仟元整"},
        // ... and where a 零 already follows, nothing more is added.
        {"100000100", "壹亿零壹佰元整"},
        {"1000000000000", "壹万亿元整"},
        {"1234567890123.45", "壹万贰仟叁佰肆拾伍亿陆仟柒佰捌拾玖万零壹佰贰拾叁元肆角伍分"},
        {"-100000000", "负壹亿元整"},
        // Rounding to fen is decimal, halves away from zero; binary doubles would
        // turn 1.005 into 100 fen.
        {"1.005", "壹元零壹分"},
        {"0.005", "壹分"},
        {"-0.005", "负壹分"},
        {"1.99999999999999999999", "贰元整"},
        {"9999999999999.994", kLargest},
        // Zero, and what rounds to it, never reads 整 or 负零元整.
        {"0", "零元整"},
        {"-0", "零元整"},
        {"+0", "零元整"},
        {"0.00", "零元整"},
        {"000", "零元整"},
        {"0.004", "零元整"},
        {"-0.001", "零元整"},
        {"-0.004999", "零元整"},
        // 10^13 yuan and more have no units left.
        {"10000000000000", ""},
        {"9999999999999.995", ""},
        {"-10000000000000", ""},
        {"123456789012345678901234567890", ""},
        // Accepted spellings.
        {" 12 ", "壹拾贰元整"},
        {"\t12\r\n", "壹拾贰元整"},
        {"+5", "伍元整"},
        {".5", "伍角整"},
        {"5.", "伍元整"},
        {"007.10", "柒元壹角整"},
        {"0000000000000000001", "壹元整"},
    };
    for (const AmountCase& c : cases) {
        SCOPED_TRACE(c.amount);
        EXPECT_TRUE(isDecimalNumber(c.amount));
        EXPECT_EQ(amountToWords(QString::fromUtf8(c.amount)), c.words);
    }
}

TEST(AmountWording, RejectsTextThatIsNotADecimalNumber)
{
    const char* const texts[] = {
        "abc", "", " ", ".", "-", "+", "1e5", "1,000", "1.2.3", "- 1", "--1", "1 000",
        "0x10", "12元", "１２", "\u3000" "12",
    };
    for (const char* text : texts) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(isDecimalNumber(QString::fromUtf8(text)));
        EXPECT_THROW(amountToWords(QString::fromUtf8(text)), std::invalid_argument);
    }
}

TEST(AmountWording, RoundsToWholeFenInSixtyFourBits)
{
    const struct {
        const char* amount;
        std::optional<qint64> fen;
    } cases[] = {
        {"1005.05", 100505},
        {"0.125", 13},
        {"-0.125", -13},
        {"0.004", 0},
        {"-0.004", 0},
        {"000123.4", 12340},
        {"9999999999999.994", 999999999999999},
        {"9999999999999.995", std::nullopt},
        {"10000000000000", std::nullopt},
        {"123456789012345678901234567890", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.amount);
        EXPECT_EQ(amountToFen(QString::fromUtf8(c.amount)), c.fen);
    }
    EXPECT_EQ(fenToWords(999999999999999), kLargest);
    EXPECT_EQ(fenToWords(-999999999999999), QStringLiteral("负") + kLargest);
    EXPECT_EQ(fenToWords(1000000000000000), QString());
    EXPECT_EQ(fenToWords(std::numeric_limits<qint64>::min()), QString());
    EXPECT_THROW(amountToFen(QStringLiteral("1e5")), std::invalid_argument);
}

TEST(AmountWording, WordsADoubleByItsShortestDecimalText)
{
    const struct {
        double amount;
        QString words;
    } cases[] = {
        {0.125, "壹角叁分"},
        {1.005, "壹元零壹分"},
        {-35.2, "负叁拾伍元贰角整"},
        {1005.05, "壹仟零伍元零伍分"},
        {9999999999999.99, kLargest},
        {1e13, ""},
        {1e300, ""},
        {-0.0, "零元整"},
        {std::numeric_limits<double>::denorm_min(), "零元整"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.amount);
        EXPECT_EQ(amountToWords(c.amount), c.words);
    }
    EXPECT_THROW(amountToWords(std::nan("")), std::invalid_argument);
    EXPECT_THROW(amountToWords(std::numeric_limits<double>::infinity()), std::invalid_argument);
}

TEST(TwoDecimalText, RoundsFifteenDigitTextHalvesAwayFromZero)
{
    const struct {
        double value;
        const char* plain;
        const char* grouped;
    } cases[] = {
        // Ties only at 15 significant digits: the doubles lie just below them.
        {2.675, "2.68", "2.68"},
        {1.005, "1.01", "1.01"},
        {0.015, "0.02", "0.02"},
        {-2.675, "-2.68", "-2.68"},
        {123456789012.345, "123456789012.35", "123,456,789,012.35"},
        {0.1 + 0.2, "0.30", "0.30"},
        {999.995, "1000.00", "1,000.00"},
        {1234567.8, "1234567.80", "1,234,567.80"},
        {-1234.5, "-1234.50", "-1,234.50"},
        {0, "0.00", "0.00"},
        {-0.001, "0.00", "0.00"},
        {-0.005, "-0.01", "-0.01"},
        {1e-20, "0.00", "0.00"},
        {1e20, "100000000000000000000.00", "100,000,000,000,000,000,000.00"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(twoDecimalText(c.value, false), c.plain);
        EXPECT_EQ(twoDecimalText(c.value, true), c.grouped);
    }
    EXPECT_THROW(twoDecimalText(std::nan(""), false), std::invalid_argument);
}

TEST(TwoDecimalText, ReadsNumberText)
{
    const struct {
        const char* number;
        const char* plain;
    } cases[] = {
        {"2.675", "2.68"},
        {" 1.005 ", "1.01"},
        {"-12", "-12.00"},
        {"1e3", "1000.00"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.number);
        EXPECT_EQ(twoDecimalText(QString::fromUtf8(c.number), false), c.plain);
    }
    for (const char* text : {"abc", "", "1,234.5", "12元", "inf", "nan"}) {
        SCOPED_TRACE(text);
        EXPECT_THROW(twoDecimalText(QString::fromUtf8(text), true), std::invalid_argument);
    }
}

// Separators come from the default locale, not from a fixed format.
class TwoDecimalTextInLocale : public ::testing::Test {
protected:
    void SetUp() override { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }
    void TearDown() override { QLocale::setDefault(saved_); }

private:
    QLocale saved_;
};

TEST_F(TwoDecimalTextInLocale, UsesTheLocaleSeparators)
{
    EXPECT_EQ(twoDecimalText(1234567.8, true), "1.234.567,80");
    EXPECT_EQ(twoDecimalText(1234567.8, false), "1234567.80");
}

} // namespace
