#include "XlsxFixture.h"

#include "platform/spreadsheet/Workbook.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <functional>

using namespace slipcraft;

namespace {

const QString kFixtures = QStringLiteral(SPREADSHEET_FIXTURES);

struct Cell {
    int row;
    int column;
    QString text;
};

void expectCells(const Worksheet& sheet, const QList<Cell>& cells, const char* where)
{
    for (const Cell& cell : cells)
        EXPECT_EQ(sheet.cellText(cell.row, cell.column), cell.text) << where << " row " << cell.row << " column " << cell.column;
}

// The message of the SpreadsheetError that open() throws; empty when it throws none.
QString openError(const QString& path)
{
    try {
        Workbook::open(path);
    } catch (const SpreadsheetError& error) {
        return error.text();
    }
    return {};
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

class WorkbookTest : public ::testing::Test {
protected:
    QString path(const QString& name) const { return dir.filePath(name); }

    // Headings in row 1 over three columns, one value below each.
    QString simpleXlsx(const QString& name)
    {
        const QString file = path(name);
        XlsxFixture book(file);
        lxw_worksheet* sheet = book.sheet("名单");
        worksheet_write_string(sheet, 0, 0, "户名", nullptr);
        worksheet_write_string(sheet, 0, 1, "账号", nullptr);
        worksheet_write_string(sheet, 0, 2, "金额", nullptr);
        worksheet_write_string(sheet, 1, 0, "张三", nullptr);
        worksheet_write_string(sheet, 1, 1, "6222020200112233445", nullptr);
        worksheet_write_number(sheet, 1, 2, 12.5, nullptr);
        book.close();
        return file;
    }

    QTemporaryDir dir;
};

} // namespace

TEST_F(WorkbookTest, ReadsXlsxCellsAsAPersonSeesThem)
{
    const QString file = path(QStringLiteral("values.xlsx"));
    XlsxFixture book(file);
    lxw_worksheet* sheet = book.sheet("数据");
    lxw_format* isoDate = book.numberFormat("yyyy-mm-dd");
    lxw_format* chineseDate = book.numberFormat("yyyy\"年\"m\"月\"d\"日\"");
    lxw_format* builtInDate = workbook_add_format(book.book);
    format_set_num_format_index(builtInDate, 14);
    lxw_format* moment = book.numberFormat("yyyy-mm-dd hh:mm");
    lxw_format* clock = book.numberFormat("hh:mm:ss");
    lxw_format* twoDecimals = book.numberFormat("0.00");
    lxw_format* thousands = book.numberFormat("#,##0.00");
    lxw_format* percent = book.numberFormat("0%");
    lxw_format* scientific = book.numberFormat("0.00E+00");
    lxw_format* text = book.numberFormat("@");
    lxw_format* red = workbook_add_format(book.book);
    format_set_font_color(red, LXW_COLOR_RED);

    lxw_datetime day{2024, 3, 5, 0, 0, 0};
    lxw_datetime afternoon{2024, 3, 5, 13, 30, 0};
    worksheet_write_number(sheet, 0, 0, 13800138000.0, nullptr);
    worksheet_write_number(sheet, 0, 1, 6222020200112233445.0, nullptr);
    worksheet_write_number(sheet, 0, 2, 1.0, nullptr);
    worksheet_write_number(sheet, 0, 3, 12.5, nullptr);
    worksheet_write_number(sheet, 0, 4, -0.000001, nullptr);
    worksheet_write_number(sheet, 0, 5, 1e20, nullptr);
    worksheet_write_number(sheet, 0, 6, 0.1 + 0.2, nullptr);
    worksheet_write_datetime(sheet, 1, 0, &day, isoDate);
    worksheet_write_datetime(sheet, 1, 1, &day, chineseDate);
    worksheet_write_datetime(sheet, 1, 2, &day, builtInDate);
    worksheet_write_datetime(sheet, 1, 3, &afternoon, moment);
    worksheet_write_datetime(sheet, 1, 4, &afternoon, clock);
    worksheet_write_number(sheet, 2, 0, 12.5, twoDecimals);
    worksheet_write_number(sheet, 2, 1, 1234567.891, thousands);
    worksheet_write_number(sheet, 2, 2, 0.256, percent);
    worksheet_write_number(sheet, 2, 3, 12345, scientific);
    worksheet_write_number(sheet, 2, 4, -0.001, twoDecimals);
    worksheet_write_string(sheet, 3, 0, "0755", text);
    worksheet_write_string(sheet, 3, 1, "  两个  空格 ", nullptr);
    worksheet_write_boolean(sheet, 3, 2, 1, nullptr);
    worksheet_write_formula_str(sheet, 3, 3, "=\"a\"&\"b\"", nullptr, "ab");
    lxw_rich_string_tuple first{red, const_cast<char*>("红色")};
    lxw_rich_string_tuple second{nullptr, const_cast<char*>("黑色")};
    lxw_rich_string_tuple* runs[] = {&first, &second, nullptr};
    worksheet_write_rich_string(sheet, 3, 4, runs, nullptr);
    book.close();

    const Workbook read = Workbook::open(file);
    expectCells(read.activeSheet(),
                {
                    {1, 1, "13800138000"},
                    {1, 2, "6222020200112230000"},
                    {1, 3, "1"},
                    {1, 4, "12.5"},
                    {1, 5, "-0.000001"},
                    {1, 6, "100000000000000000000"},
                    {1, 7, "0.3"},
                    {2, 1, "2024-03-05"},
                    {2, 2, "2024-03-05"},
                    {2, 3, "2024-03-05"},
                    {2, 4, "2024-03-05 13:30:00"},
                    {2, 5, "13:30:00"},
                    {3, 1, "12.50"},
                    {3, 2, "1,234,567.89"},
                    {3, 3, "26%"},
                    {3, 4, "12345"},
                    {3, 5, "0.00"},
                    {4, 1, "0755"},
                    {4, 2, "  两个  空格 "},
                    {4, 3, "TRUE"},
                    {4, 4, "ab"},
                    {4, 5, "红色黑色"},
                    {5, 1, ""},
                    {0, 1, ""},
                },
                "values.xlsx");
}

TEST_F(WorkbookTest, ReadsInlineStringsLikeSharedOnes)
{
    // Written row by row, the strings stand inline in the cells.
    const QString file = path(QStringLiteral("inline.xlsx"));
    XlsxFixture book(file, true);
    lxw_worksheet* sheet = book.sheet(nullptr);
    worksheet_write_string(sheet, 0, 0, "户名", nullptr);
    worksheet_write_string(sheet, 1, 0, "6222020200112233445", nullptr);
    worksheet_write_number(sheet, 1, 1, 42, nullptr);
    book.close();
    ASSERT_TRUE(zipMember(file, "xl/worksheets/sheet1.xml").contains("inlineStr"));

    const Workbook read = Workbook::open(file);
    expectCells(read.activeSheet(), {{1, 1, "户名"}, {2, 1, "6222020200112233445"}, {2, 2, "42"}},
                "inline.xlsx");
}

TEST_F(WorkbookTest, KnowsSheetsTheActiveOneAndTheUsedRange)
{
    const QString file = path(QStringLiteral("sheets.xlsx"));
    XlsxFixture book(file);
    lxw_worksheet* first = book.sheet("第一页");
    lxw_worksheet* second = book.sheet("Sheet 2");
    lxw_worksheet* hidden = book.sheet("隐藏");
    lxw_format* bold = workbook_add_format(book.book);
    format_set_bold(bold);
    worksheet_write_string(first, 0, 0, "a", nullptr);
    worksheet_write_string(second, 0, 0, "h1", nullptr);
    worksheet_write_string(second, 0, 2, "h3", nullptr);
    worksheet_write_string(second, 3, 1, "x", nullptr);
    worksheet_write_blank(second, 9, 7, bold); // formatted but empty: outside the used range
    worksheet_write_string(hidden, 0, 0, "h", nullptr);
    worksheet_hide(hidden);
    worksheet_activate(second);
    book.close();

    Workbook read = Workbook::open(file);
    EXPECT_EQ(read.sheetNames(), QStringList({"第一页", "Sheet 2", "隐藏"}));
    EXPECT_EQ(read.activeSheetIndex(), 1);
    EXPECT_EQ(read.activeSheet().rowCount(), 4);
    EXPECT_EQ(read.activeSheet().columnCount(), 3);
    EXPECT_EQ(read.activeSheet().cellText(4, 2), "x");
    read.setActiveSheet(0);
    EXPECT_EQ(read.activeSheet().cellText(1, 1), "a");
    read.setActiveSheet(7);
    EXPECT_EQ(read.activeSheetIndex(), 0);
}

TEST_F(WorkbookTest, HeadingsRefuseMergedAndEmptyCells)
{
    const QString file = path(QStringLiteral("headings.xlsx"));
    XlsxFixture book(file);
    lxw_worksheet* good = book.sheet("good");
    lxw_worksheet* merged = book.sheet("merged");
    lxw_worksheet* gap = book.sheet("gap");
    book.sheet("empty");
    for (lxw_col_t column = 0; column < 3; ++column)
        worksheet_write_string(good, 0, column, QByteArray::number(column + 1).prepend("h").constData(), nullptr);
    worksheet_merge_range(merged, 0, 0, 0, 1, "合并标题", nullptr);
    worksheet_write_string(merged, 0, 2, "h3", nullptr);
    worksheet_write_string(gap, 0, 0, "h1", nullptr);
    worksheet_write_string(gap, 0, 1, "h2", nullptr);
    worksheet_write_string(gap, 0, 3, "h4", nullptr);
    book.close();

    const Workbook read = Workbook::open(file);
    EXPECT_EQ(read.sheet(0).headings(file), QStringList({"h1", "h2", "h3"}));
    struct Case {
        int sheet;
        const char* says;
    };
    for (const Case& c : QList<Case>{{1, "合并"}, {2, "第3列（C列）没有标题"}, {3, "是空的"}}) {
        try {
            read.sheet(c.sheet).headings(file);
            ADD_FAILURE() << "no error for sheet " << c.sheet;
        } catch (const SpreadsheetError& error) {
            EXPECT_TRUE(error.text().contains(QString::fromUtf8(c.says))) << error.text().toStdString();
            EXPECT_TRUE(error.text().contains(QDir::toNativeSeparators(file))) << error.text().toStdString();
            EXPECT_TRUE(error.text().contains(read.sheet(c.sheet).name())) << error.text().toStdString();
        }
    }
}

TEST_F(WorkbookTest, ReadsXlsFiles)
{
    const Workbook read = Workbook::open(kFixtures + QStringLiteral("sample.xls"));
    EXPECT_EQ(read.sheetNames(), QStringList({"收款人", "第二页"}));
    const Worksheet& sheet = read.sheet(0);
    EXPECT_EQ(sheet.headings(read.path()), QStringList({"户名", "账号", "金额", "日期", "电话"}));
    EXPECT_EQ(sheet.rowCount(), 3);
    expectCells(sheet,
                {{2, 1, "张三"},
                 {2, 2, "6222020200112233445"},
                 {2, 3, "1234.5"},
                 {2, 4, "2024-03-05"},
                 {2, 5, "13800138000"},
                 {3, 2, "0755"},
                 {3, 3, "100"},
                 {3, 4, ""}},
                "sample.xls");
    EXPECT_EQ(read.sheet(1).cellText(1, 1), "x");
}

TEST_F(WorkbookTest, ReadsCsvInUtf8AndGbk)
{
    for (const char* name : {"utf8.csv", "utf8-bom.csv", "gbk.csv"}) {
        const Workbook read = Workbook::open(kFixtures + QString::fromUtf8(name));
        ASSERT_EQ(read.sheetCount(), 1) << name;
        const Worksheet& sheet = read.activeSheet();
        EXPECT_EQ(sheet.name(), QFileInfo(QString::fromUtf8(name)).completeBaseName()) << name;
        EXPECT_EQ(sheet.rowCount(), 4) << name;
        EXPECT_EQ(sheet.columnCount(), 3) << name;
        expectCells(sheet,
                    {{1, 1, "户名"},
                     {2, 2, "6222020200112233445"},
                     {2, 3, "北京市,海淀区"},
                     {3, 2, "0755"},
                     {3, 3, "第一行\r\n第二行"},
                     {4, 1, "王\"五"},
                     {4, 2, "1e5"},
                     {4, 3, ""}},
                    name);
    }
}

TEST_F(WorkbookTest, RefusesBadFilesWithAMessageThatNamesThem)
{
    const QString good = simpleXlsx(QStringLiteral("good.xlsx"));
    QFile goodFile(good);
    ASSERT_TRUE(goodFile.open(QIODevice::ReadOnly));
    const QByteArray goodBytes = goodFile.readAll();

    // An Office file saved with a password: a compound file holding an encrypted package.
    QByteArray encrypted("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    encrypted.append(QByteArray(1024, '\0'));
    for (const char c : QByteArrayView("EncryptedPackage"))
        encrypted.append(c).append('\0');
    encrypted.append(QByteArray(1024, '\0'));

    struct Case {
        const char* name;
        std::function<QString()> make; // returns the path to open
        const char* says;
    };
    const QList<Case> cases{
        {"missing file", [&] { return path(QStringLiteral("nowhere.xlsx")); }, "不存在"},
        {"a folder", [&] { QDir().mkpath(path(QStringLiteral("folder.xlsx"))); return path(QStringLiteral("folder.xlsx")); }, "文件夹"},
        {"empty file", [&] { writeFile(path(QStringLiteral("empty.xlsx")), {}); return path(QStringLiteral("empty.xlsx")); }, "空文件"},
        {"truncated xlsx", [&] { writeFile(path(QStringLiteral("cut.xlsx")), goodBytes.left(goodBytes.size() / 2)); return path(QStringLiteral("cut.xlsx")); }, "不完整"},
        {"text named xlsx", [&] { writeFile(path(QStringLiteral("text.xlsx")), "a,b\n1,2\n"); return path(QStringLiteral("text.xlsx")); }, "已损坏"},
        {"zip without a workbook", [&] {
             const QString file = path(QStringLiteral("other.xlsx"));
             zip_t* archive = zip_open(QFile::encodeName(file).constData(), ZIP_CREATE | ZIP_TRUNCATE, nullptr);
             zip_file_add(archive, "readme.txt", zip_source_buffer(archive, "hi", 2, 0), 0);
             zip_close(archive);
             return file; }, "已损坏"},
        {"random bytes named xls", [&] { writeFile(path(QStringLiteral("noise.xls")), QByteArray(4096, '\x5A')); return path(QStringLiteral("noise.xls")); }, "已损坏"},
        {"xls with a password", [&] { return kFixtures + QStringLiteral("locked.xls"); }, "密码"},
        {"xlsx with a password", [&] { writeFile(path(QStringLiteral("locked.xlsx")), encrypted); return path(QStringLiteral("locked.xlsx")); }, "密码"},
        {"unknown extension", [&] { QFile::copy(good, path(QStringLiteral("good.txt"))); return path(QStringLiteral("good.txt")); }, "扩展名"},
        {"csv with an open quote", [&] { writeFile(path(QStringLiteral("open.csv")), "a,b\n\"c,d\n"); return path(QStringLiteral("open.csv")); }, "第2行开始的引号"},
    };
    for (const Case& c : cases) {
        const QString file = c.make();
        const QString message = openError(file);
        EXPECT_TRUE(message.contains(QString::fromUtf8(c.says))) << c.name << ": " << message.toStdString();
        EXPECT_TRUE(message.contains(QDir::toNativeSeparators(QFileInfo(file).absoluteFilePath()))) << c.name << ": " << message.toStdString();
    }
}

// .et and .xlw go through LibreOffice; a stand-in program on PATH plays its part.
class ConversionTest : public WorkbookTest {
protected:
    void SetUp() override { savedPath = qgetenv("PATH"); }
    void TearDown() override { qputenv("PATH", savedPath); }

    void installStandIn(const QByteArray& script)
    {
        QDir().mkpath(path(QStringLiteral("bin")));
        const QString program = path(QStringLiteral("bin/soffice"));
        writeFile(program, "#!/bin/sh\n" + script);
        QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("PATH", QFile::encodeName(path(QStringLiteral("bin"))) + ':' + savedPath);
    }

    QByteArray savedPath;
};

TEST_F(ConversionTest, NamesThePackageToInstallWhenLibreOfficeIsMissing)
{
    qputenv("PATH", QFile::encodeName(path(QStringLiteral("nothing-here"))));
    const QString file = path(QStringLiteral("账本.et"));
    writeFile(file, "anything");
    const QString message = openError(file);
    EXPECT_TRUE(message.contains(QStringLiteral("libreoffice-calc"))) << message.toStdString();
    EXPECT_TRUE(message.contains(QDir::toNativeSeparators(file))) << message.toStdString();
}

TEST_F(ConversionTest, ReadsWhatTheConversionWrites)
{
    const QString converted = simpleXlsx(QStringLiteral("converted.xlsx"));
    // Copies the prepared workbook to --outdir under the input's base name.
    installStandIn("while [ $# -gt 1 ]; do [ \"$1\" = --outdir ] && out=\"$2\"; shift; done\n"
                   "name=$(basename \"$1\"); mkdir -p \"$out\"; cp '" + QFile::encodeName(converted)
                   + "' \"$out/${name%.*}.xlsx\"\n");
    for (const char* name : {"账本.et", "old.xlw"}) {
        const QString file = path(QString::fromUtf8(name));
        writeFile(file, "anything");
        const Workbook read = Workbook::open(file);
        EXPECT_EQ(read.path(), file) << name;
        EXPECT_EQ(read.activeSheet().cellText(2, 2), "6222020200112233445") << name;
    }
}

TEST_F(ConversionTest, ReportsAConversionThatWritesNothing)
{
    installStandIn("exit 1\n");
    const QString file = path(QStringLiteral("账本.et"));
    writeFile(file, "anything");
    const QString message = openError(file);
    EXPECT_TRUE(message.contains(QStringLiteral("未能转换"))) << message.toStdString();
    EXPECT_TRUE(message.contains(QDir::toNativeSeparators(file))) << message.toStdString();
}

TEST_F(WorkbookTest, ConvertsWithTheInstalledLibreOffice)
{
    if (QStandardPaths::findExecutable(QStringLiteral("soffice")).isEmpty())
        GTEST_SKIP() << "LibreOffice is not installed";
    // A spreadsheet program reads the file by its contents; .et files are often of this kind.
    const QString file = path(QStringLiteral("收款人.et"));
    ASSERT_TRUE(QFile::copy(kFixtures + QStringLiteral("sample.xls"), file));
    const Workbook read = Workbook::open(file);
    EXPECT_EQ(read.sheetNames(), QStringList({"收款人", "第二页"}));
    EXPECT_EQ(read.sheet(0).cellText(2, 2), "6222020200112233445");
    EXPECT_EQ(read.sheet(0).cellText(2, 4), "2024-03-05");
}
