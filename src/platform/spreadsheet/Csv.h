#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

// Comma-separated text as RFC 4180 writes it, read as leniently as spreadsheet programs do.
namespace slipcraft::csv {

// The records of text. A field that starts with a quote may hold commas, line ends and
// doubled quotes; a quote elsewhere is an ordinary character, and text after a closing
// quote joins the field. A record ends at CR LF, LF or CR; an empty line is a record of
// one empty field; a line end at the very end adds no record.
struct Parsed {
    QList<QStringList> records;
    // Line (from 1) where a quoted field opens that the text never closes.
    std::optional<int> unclosedQuoteLine;
};
Parsed parse(QStringView text);

// The text of a file's bytes: UTF-8 after a byte-order mark, or when the bytes are valid
// UTF-8; otherwise GBK.
QString decode(QByteArrayView bytes);

} // namespace slipcraft::csv
