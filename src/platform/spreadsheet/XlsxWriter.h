#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <memory>

namespace slipcraft {

// A new .xlsx workbook of one worksheet, written row by row: every cell holds its text in
// the text format "@" (no conversion to a number or date), every row is at font size 9,
// the first row (the headings) bold, and each column's width fits its widest text.
// Nothing reaches the file until close(); a writer dropped without close() leaves no file.
class XlsxWriter {
public:
    // Throws SpreadsheetError.
    XlsxWriter(const QString& path, const QStringList& headings, const QString& title = {});
    ~XlsxWriter();
    XlsxWriter(const XlsxWriter&) = delete;
    XlsxWriter& operator=(const XlsxWriter&) = delete;

    // The next row below the headings. Throws SpreadsheetError.
    void addRow(const QStringList& cells);
    // Writes the file whole, replacing one of that name. Throws SpreadsheetError.
    void close();

    // The width, in characters of the sheet's standard font, that fits text: its widest
    // line in GBK bytes plus a margin; 255 at most, the sheet's standard width at least.
    static double fittedWidth(QStringView text);

private:
    struct State;
    std::unique_ptr<State> state_;
};

} // namespace slipcraft
