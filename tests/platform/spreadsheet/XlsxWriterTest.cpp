#include "TempHome.h"
#include "XlsxFixture.h"

#include "platform/spreadsheet/Workbook.h"
#include "platform/spreadsheet/XlsxWriter.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>

using namespace slipcraft;

namespace {

// What the workbook says about each cell's look: per style index its number format and font.
struct Styles {
    struct Font {
        bool bold = false;
        QString size;
    };
    QList<int> formatOfStyle;
    QList<int> fontOfStyle;
    QList<Font> fonts;
};

Styles readStyles(const QByteArray& xml)
{
    Styles styles;
    QXmlStreamReader reader(xml);
    bool inCellXfs = false;
    bool inFonts = false;
    while (!reader.atEnd()) {
        const auto token = reader.readNext();
        if (token == QXmlStreamReader::EndElement && reader.name() == u"cellXfs")
            inCellXfs = false;
        if (token == QXmlStreamReader::EndElement && reader.name() == u"fonts")
            inFonts = false;
        if (token != QXmlStreamReader::StartElement)
            continue;
        if (reader.name() == u"cellXfs")
            inCellXfs = true;
        else if (reader.name() == u"fonts")
            inFonts = true;
        else if (inCellXfs && reader.name() == u"xf") {
            styles.formatOfStyle << reader.attributes().value(QLatin1String("numFmtId")).toInt();
            styles.fontOfStyle << reader.attributes().value(QLatin1String("fontId")).toInt();
        } else if (inFonts && reader.name() == u"font")
            styles.fonts << Styles::Font{};
        else if (inFonts && reader.name() == u"b")
            styles.fonts.last().bold = true;
        else if (inFonts && reader.name() == u"sz")
            styles.fonts.last().size = reader.attributes().value(QLatin1String("val")).toString();
    }
    return styles;
}

class XlsxWriterTest : public ::testing::Test {
protected:
    QString path(const QString& name) const { return dir.filePath(name); }
    QTemporaryDir dir;
};

} // namespace

TEST_F(XlsxWriterTest, WhatIsWrittenReadsBackAsTyped)
{
    const QStringList headings{"户名", "账号", "电话", "区号", "值", "备注"};
    const QList<QStringList> rows{
        {"张三", "6222020200112233445", "13800138000", "0755", "1e5", "=1+1"},
        {"李四", "-0", "1,234", "2024-01-05", "TRUE", "第一行\n第二行"},
        {"", "  空格  ", "00.50", "1.0", "", "最后"},
    };
    const QString file = path(QStringLiteral("导出.xlsx"));
    XlsxWriter writer(file, headings, QStringLiteral("单位信息导出"));
    for (const QStringList& row : rows)
        writer.addRow(row);
    writer.close();

    const Workbook read = Workbook::open(file);
    const Worksheet& sheet = read.activeSheet();
    EXPECT_EQ(sheet.headings(file), headings);
    ASSERT_EQ(sheet.rowCount(), rows.size() + 1);
    for (int row = 0; row < rows.size(); ++row) {
        for (int column = 0; column < headings.size(); ++column)
            EXPECT_EQ(sheet.cellText(row + 2, column + 1), rows[row][column]) << "row " << row << " column " << column;
    }
}

TEST_F(XlsxWriterTest, EveryCellIsTextAtSize9AndTheHeadingRowBold)
{
    const QString file = path(QStringLiteral("styles.xlsx"));
    XlsxWriter writer(file, {"户名", "金额"});
    writer.addRow({"张三", "12"});
    writer.addRow({"李四", "13"});
    writer.close();

    const Styles styles = readStyles(zipMember(file, "xl/styles.xml"));
    QXmlStreamReader sheet(zipMember(file, "xl/worksheets/sheet1.xml"));
    int cells = 0;
    while (!sheet.atEnd()) {
        if (sheet.readNext() != QXmlStreamReader::StartElement || (sheet.name() != u"c" && sheet.name() != u"row"))
            continue;
        const int style = sheet.attributes().value(QLatin1String("s")).toInt();
        QString reference = sheet.attributes().value(QLatin1String("r")).toString();
        reference.remove(QRegularExpression(QStringLiteral("^[A-Z]+")));
        const bool heading = reference == u"1";
        ASSERT_LT(style, styles.formatOfStyle.size());
        const Styles::Font& font = styles.fonts.at(styles.fontOfStyle[style]);
        const QString where = sheet.name().toString() + u' ' + sheet.attributes().value(QLatin1String("r")).toString();
        EXPECT_EQ(styles.formatOfStyle[style], 49) << where.toStdString() << ": text format \"@\"";
        EXPECT_EQ(font.size, "9") << where.toStdString();
        EXPECT_EQ(font.bold, heading) << where.toStdString();
        if (sheet.name() == u"c")
            ++cells;
    }
    EXPECT_EQ(cells, 6);
}

TEST_F(XlsxWriterTest, ColumnWidthsFitTheWidestText)
{
    struct Case {
        const char* name;
        QString text;
        double width;
    };
    const QList<Case> cases{
        {"empty keeps the standard width", QString(), 8.43},
        {"short keeps the standard width", QStringLiteral("abc"), 8.43},
        {"ASCII counts one each", QString(20, u'x'), 22},
        {"Chinese counts two each", QString(10, u'汉'), 22},
        {"the widest line counts", QStringLiteral("短\n") + QString(30, u'x'), 32},
        {"at most 255", QString(300, u'x'), 255},
    };
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(XlsxWriter::fittedWidth(c.text), c.width) << c.name;

    const QString file = path(QStringLiteral("widths.xlsx"));
    XlsxWriter writer(file, {"ID", "单位全称"});
    writer.addRow({"1", QStringLiteral("深圳市某某科技有限公司")});
    writer.close();
    QHash<int, double> widths;
    QXmlStreamReader sheet(zipMember(file, "xl/worksheets/sheet1.xml"));
    while (!sheet.atEnd()) {
        if (sheet.readNext() == QXmlStreamReader::StartElement && sheet.name() == u"col")
            widths.insert(sheet.attributes().value(QLatin1String("min")).toInt(), sheet.attributes().value(QLatin1String("width")).toDouble());
    }
    ASSERT_EQ(widths.size(), 2);
    EXPECT_LT(widths[1], 10); // "ID": the standard width
    EXPECT_GE(widths[2], 24); // 22 GBK bytes and a margin
}

TEST_F(XlsxWriterTest, NothingReachesTheDiskUntilClose)
{
    const QString file = path(QStringLiteral("abandoned.xlsx"));
    {
        XlsxWriter writer(file, {"a"});
        writer.addRow({"1"});
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList());

    // Closing replaces a file of the same name whole.
    const QString existing = path(QStringLiteral("existing.xlsx"));
    QFile old(existing);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old contents");
    old.close();
    XlsxWriter writer(existing, {"新"});
    writer.close();
    const Workbook read = Workbook::open(existing);
    EXPECT_EQ(read.activeSheet().cellText(1, 1), "新");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({"existing.xlsx"}));
}

TEST_F(XlsxWriterTest, ReportsWhatCannotBeWrittenNamingTheFile)
{
    struct Case {
        const char* name;
        QString file;
        QStringList row;
        const char* says;
    };
    const QList<Case> cases{
        {"folder cannot be written", unwritablePath(dir, QStringLiteral("out.xlsx")), {"1"}, "无法写入"},
        {"text too long for a cell", path(QStringLiteral("long.xlsx")), {"ok", QString(40000, u'x')}, "第2行第2列"},
    };
    for (const Case& c : cases) {
        try {
            XlsxWriter writer(c.file, {"a", "b"});
            writer.addRow(c.row);
            writer.close();
            ADD_FAILURE() << c.name << ": no error";
        } catch (const SpreadsheetError& error) {
            EXPECT_TRUE(error.text().contains(QString::fromUtf8(c.says))) << c.name << ": " << error.text().toStdString();
            EXPECT_TRUE(error.text().contains(QDir::toNativeSeparators(c.file))) << c.name << ": " << error.text().toStdString();
        }
        EXPECT_FALSE(QFileInfo::exists(c.file)) << c.name;
    }
}
