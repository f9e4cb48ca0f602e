#include "platform/spreadsheet/Csv.h"

#include "platform/Gbk.h"

#include <gtest/gtest.h>

using namespace slipcraft;

TEST(CsvTest, ParsesRecordsAsSpreadsheetProgramsDo)
{
    struct Case {
        const char* name;
        QString text;
        QList<QStringList> records;
    };
    const QList<Case> cases{
        {"plain fields, CR LF", QStringLiteral("a,b\r\nc,d\r\n"), {{"a", "b"}, {"c", "d"}}},
        {"LF and lone CR end records", QStringLiteral("a\nb\rc"), {{"a"}, {"b"}, {"c"}}},
        {"quoted comma, quote and line ends", QStringLiteral("\"x,y\",\"say \"\"hi\"\"\",\"1\r\n2\"\n"),
         {{"x,y", "say \"hi\"", "1\r\n2"}}},
        {"empty fields kept", QStringLiteral(",a,,\n"), {{"", "a", "", ""}}},
        {"blank line is a record of one empty field", QStringLiteral("a\n\nb\n"), {{"a"}, {""}, {"b"}}},
        {"empty quoted field", QStringLiteral("\"\"\n"), {{""}}},
        {"quote inside an unquoted field is text", QStringLiteral("5\"3,ab\"c\n"), {{"5\"3", "ab\"c"}}},
        {"text after a closing quote joins the field", QStringLiteral("\"ab\"c,d\n"), {{"abc", "d"}}},
        {"no line end at the end", QStringLiteral("a,b"), {{"a", "b"}}},
        {"nothing", QString(), {}},
    };
    for (const Case& c : cases) {
        const csv::Parsed parsed = csv::parse(c.text);
        EXPECT_EQ(parsed.records, c.records) << c.name;
        EXPECT_FALSE(parsed.unclosedQuoteLine.has_value()) << c.name;
    }
}

TEST(CsvTest, ReportsTheLineOfAQuoteThatNeverCloses)
{
    const csv::Parsed parsed = csv::parse(QStringLiteral("a,b\n\"c,d\ne,f\n"));
    ASSERT_TRUE(parsed.unclosedQuoteLine.has_value());
    EXPECT_EQ(*parsed.unclosedQuoteLine, 2);
}

TEST(CsvTest, DecodesUtf8WithOrWithoutByteOrderMarkElseGbk)
{
    const QString text = QStringLiteral("户名,金额\n张三,1.5\n");
    struct Case {
        const char* name;
        QByteArray bytes;
    };
    const QList<Case> cases{
        {"UTF-8", text.toUtf8()},
        {"UTF-8 with byte-order mark", QByteArray("\xEF\xBB\xBF") + text.toUtf8()},
        {"GBK", gbk::encode(text)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(csv::decode(c.bytes), text) << c.name;
}
