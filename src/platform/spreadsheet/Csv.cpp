#include "platform/spreadsheet/Csv.h"

#include "platform/Gbk.h"

#include <QStringDecoder>

namespace slipcraft::csv {

Parsed parse(QStringView text)
{
    Parsed parsed;
    QStringList record;
    QString field;
    bool inQuotes = false;
    bool fieldStarted = false; // a quote opens a quoted field only as its first character
    int line = 1;
    int quoteLine = 0;

    auto endField = [&] {
        record << field;
        field.clear();
        fieldStarted = false;
    };
    auto endRecord = [&] {
        endField();
        parsed.records << record;
        record.clear();
    };

    const qsizetype size = text.size();
    for (qsizetype at = 0; at < size; ++at) {
        const QChar c = text[at];
        if (inQuotes) {
            if (c != u'"') {
                field += c;
                if (c == u'\n' || (c == u'\r' && !(at + 1 < size && text[at + 1] == u'\n')))
                    ++line;
            } else if (at + 1 < size && text[at + 1] == u'"') {
                field += c;
                ++at;
            } else {
                inQuotes = false;
            }
        } else if (c == u'"' && !fieldStarted) {
            inQuotes = true;
            fieldStarted = true;
            quoteLine = line;
        } else if (c == u',') {
            endField();
        } else if (c == u'\n' || c == u'\r') {
            if (c == u'\r' && at + 1 < size && text[at + 1] == u'\n')
                ++at;
            endRecord();
            ++line;
        } else {
            field += c;
            fieldStarted = true;
        }
    }
    if (inQuotes)
        parsed.unclosedQuoteLine = quoteLine;
    if (fieldStarted || !field.isEmpty() || !record.isEmpty())
        endRecord();
    return parsed;
}

QString decode(QByteArrayView bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.sliced(3));
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(bytes);
    if (!utf8.hasError())
        return text;
    return gbk::decode(bytes);
}

} // namespace slipcraft::csv
