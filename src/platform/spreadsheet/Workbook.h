#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <stdexcept>

namespace slipcraft {

// A spreadsheet that cannot be read or written. text() is a Chinese message for the
// user that names the file.
class SpreadsheetError : public std::runtime_error {
public:
    explicit SpreadsheetError(const QString& text);
    const QString& text() const { return text_; }

private:
    QString text_;
};

// One worksheet, read whole: every cell as the text a person sees in it. Numbers never
// appear in exponent form or with a needless ".0" (long account numbers stay digits),
// dates read yyyy-MM-dd.
class Worksheet {
public:
    // headingMerged: a merged range of cells reaches into row 1.
    Worksheet(QString name, QList<QStringList> rows, bool headingMerged = false);

    const QString& name() const { return name_; }
    // The used range starts at A1 and ends at the last row and the last column that
    // hold a value.
    int rowCount() const { return int(rows_.size()); }
    int columnCount() const { return columnCount_; }
    // Row and column from 1; empty for an empty cell or one outside the used range.
    QString cellText(int row, int column) const;
    // Row 1 across the used range. Throws SpreadsheetError, naming file, when the sheet
    // has no rows or a heading cell is empty (a merged heading leaves the cells it covers
    // empty).
    QStringList headings(const QString& file) const;

private:
    QString name_;
    QList<QStringList> rows_;
    bool headingMerged_ = false;
    int columnCount_ = 0;
};

// A whole workbook read into memory at once, so that a damaged file is refused before
// any of it is used.
class Workbook {
public:
    // Reads .xlsx and .xlsm (.xls too when it holds such a file), .xls, and .csv (UTF-8
    // with or without a byte-order mark, or GBK); .et and .xlw through a headless
    // LibreOffice conversion when LibreOffice is installed. Throws SpreadsheetError.
    static Workbook open(const QString& path);

    Workbook(QString path, QList<Worksheet> sheets, int activeSheet);

    const QString& path() const { return path_; }
    int sheetCount() const { return int(sheets_.size()); }
    QStringList sheetNames() const;
    // From 0. Not on a temporary workbook: the sheet would not outlive it.
    const Worksheet& sheet(int index) const& { return sheets_.at(index); }
    const Worksheet& sheet(int index) && = delete;
    int activeSheetIndex() const { return active_; }
    // Ignored outside 0 … sheetCount() - 1.
    void setActiveSheet(int index);
    const Worksheet& activeSheet() const& { return sheets_.at(active_); }
    const Worksheet& activeSheet() && = delete;

private:
    QString path_;
    QList<Worksheet> sheets_;
    int active_ = 0;
};

} // namespace slipcraft
