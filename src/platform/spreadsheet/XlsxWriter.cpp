#include "platform/spreadsheet/XlsxWriter.h"

#include "platform/Gbk.h"
#include "platform/spreadsheet/Workbook.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <xlsxwriter.h>

#include <algorithm>
#include <cstdio>

namespace slipcraft {

namespace {

constexpr double kMaxColumnWidth = 255;

QString fileText(const char* text, const QString& path)
{
    return QString::fromUtf8(text).arg(QDir::toNativeSeparators(path));
}

} // namespace

struct XlsxWriter::State {
    QString path;
    QString partPath;
    QByteArray title; // the workbook keeps a pointer to it until close
    lxw_workbook* workbook = nullptr;
    lxw_worksheet* sheet = nullptr;
    lxw_format* headingFormat = nullptr;
    lxw_format* cellFormat = nullptr;
    lxw_row_t nextRow = 0;
    QList<double> widths;

    ~State()
    {
        if (workbook)
            lxw_workbook_free(workbook);
        if (!partPath.isEmpty())
            QFile::remove(partPath);
    }

    void writeRow(const QStringList& cells, lxw_format* format)
    {
        if (nextRow >= LXW_ROW_MAX)
            throw SpreadsheetError(fileText("文件“%1”的行数超过了电子表格的上限（1048576行）。", path));
        if (cells.size() > LXW_COL_MAX)
            throw SpreadsheetError(fileText("文件“%1”的列数超过了电子表格的上限（16384列）。", path));
        worksheet_set_row(sheet, nextRow, LXW_DEF_ROW_HEIGHT, format);
        if (widths.size() < cells.size())
            widths.resize(cells.size(), 0);
        for (qsizetype column = 0; column < cells.size(); ++column) {
            const QString& text = cells[column];
            const lxw_error error = worksheet_write_string(sheet, nextRow, lxw_col_t(column),
                                                           text.toUtf8().constData(), format);
            if (error == LXW_ERROR_MAX_STRING_LENGTH_EXCEEDED)
                throw SpreadsheetError(QString::fromUtf8("第%1行第%2列的文字太长，电子表格的一格放不下，无法写入文件“%3”。")
                                           .arg(nextRow + 1)
                                           .arg(column + 1)
                                           .arg(QDir::toNativeSeparators(path)));
            if (error != LXW_NO_ERROR)
                throw SpreadsheetError(fileText("无法写入文件“%1”：", path) + QString::fromUtf8(lxw_strerror(error)));
            widths[column] = std::max(widths[column], fittedWidth(text));
        }
        ++nextRow;
    }
};

XlsxWriter::XlsxWriter(const QString& path, const QStringList& headings, const QString& title)
    : state_(std::make_unique<State>())
{
    State& s = *state_;
    s.path = QFileInfo(path).absoluteFilePath();
    // Written beside the target and renamed into place, so that the target name only ever
    // holds a complete workbook.
    s.partPath = s.path + QStringLiteral(".part");
    s.workbook = workbook_new(QFile::encodeName(s.partPath).constData());
    if (!s.workbook)
        throw SpreadsheetError(fileText("无法建立文件“%1”。", path));
    s.sheet = workbook_add_worksheet(s.workbook, nullptr);
    s.cellFormat = workbook_add_format(s.workbook);
    s.headingFormat = workbook_add_format(s.workbook);
    if (!s.sheet || !s.cellFormat || !s.headingFormat)
        throw SpreadsheetError(fileText("无法建立文件“%1”：内存不足。", path));
    for (lxw_format* format : {s.cellFormat, s.headingFormat}) {
        format_set_num_format_index(format, 49); // the built-in text format "@"
        format_set_font_size(format, 9);
    }
    format_set_bold(s.headingFormat);
    if (!title.isEmpty()) {
        s.title = title.toUtf8();
        lxw_doc_properties properties{};
        properties.title = s.title.data();
        workbook_set_properties(s.workbook, &properties);
    }
    s.writeRow(headings, s.headingFormat);
}

XlsxWriter::~XlsxWriter() = default;

void XlsxWriter::addRow(const QStringList& cells)
{
    state_->writeRow(cells, state_->cellFormat);
}

void XlsxWriter::close()
{
    State& s = *state_;
    for (qsizetype column = 0; column < s.widths.size(); ++column)
        worksheet_set_column(s.sheet, lxw_col_t(column), lxw_col_t(column), s.widths[column], nullptr);
    const lxw_error error = workbook_close(s.workbook);
    s.workbook = nullptr; // closing frees it, whatever the outcome
    if (error != LXW_NO_ERROR)
        throw SpreadsheetError(fileText("无法写入文件“%1”：", s.path) + QString::fromUtf8(lxw_strerror(error)));
    if (std::rename(QFile::encodeName(s.partPath).constData(), QFile::encodeName(s.path).constData()) != 0)
        throw SpreadsheetError(fileText("无法写入文件“%1”：请检查文件夹权限，或关闭正在使用该文件的程序。", s.path));
    s.partPath.clear();
}

double XlsxWriter::fittedWidth(QStringView text)
{
    int widest = 0;
    for (const QStringView line : text.tokenize(u'\n'))
        widest = std::max(widest, gbk::width(line));
    if (widest == 0)
        return LXW_DEF_COL_WIDTH;
    return std::clamp(widest + 2.0, LXW_DEF_COL_WIDTH, kMaxColumnWidth);
}

} // namespace slipcraft
