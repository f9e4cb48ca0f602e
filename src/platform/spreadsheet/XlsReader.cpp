#include "platform/spreadsheet/CellText.h"
#include "platform/spreadsheet/Readers.h"

#include <QDir>
#include <QFile>

#include <freexl.h>

namespace slipcraft::readers {

namespace {

struct Handle {
    const void* xls = nullptr;
    ~Handle()
    {
        if (xls)
            freexl_close(xls);
    }
};

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Office files saved with a password: a newer one is a compound file holding an
// encrypted package, an older one has its workbook stream begin with the BIFF8 start
// record followed by the encryption record (FILEPASS).
bool isPasswordProtected(const QByteArray& bytes)
{
    if (!bytes.startsWith("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1"))
        return false;
    static const QByteArray encryptedPackage = [] {
        QByteArray utf16le;
        for (const char c : QByteArrayView("EncryptedPackage"))
            utf16le.append(c).append('\0');
        return utf16le;
    }();
    if (bytes.contains(encryptedPackage))
        return true;
    static const QByteArray globalsStart("\x09\x08\x10\x00\x00\x06\x05\x00", 8);
    const qsizetype start = bytes.indexOf(globalsStart);
    return start >= 0 && bytes.mid(start + 20, 2) == QByteArray("\x2F\x00", 2);
}

// The library refuses an encrypted workbook without saying so (it opens "successfully"
// with no handle); the file's own bytes tell whether a password is the reason.
[[noreturn]] void refuse(const QString& path, const QString& shownPath)
{
    if (isPasswordProtected(fileBytes(path)))
        passwordProtected(shownPath);
    damaged(shownPath);
}

QString cellText(const FreeXL_CellValue& value)
{
    switch (value.type) {
    case FREEXL_CELL_INT:
        return QString::number(value.value.int_value);
    case FREEXL_CELL_DOUBLE:
        return celltext::plainNumberText(value.value.double_value);
    case FREEXL_CELL_TEXT:
    case FREEXL_CELL_SST_TEXT:
    case FREEXL_CELL_DATE:
    case FREEXL_CELL_DATETIME:
    case FREEXL_CELL_TIME:
        return QString::fromUtf8(value.value.text_value);
    default:
        return {};
    }
}

} // namespace

Workbook readXls(const QString& path, const QString& shownPath)
{
    Handle handle;
    if (freexl_open(QFile::encodeName(path).constData(), &handle.xls) != FREEXL_OK || !handle.xls)
        refuse(path, shownPath);
    unsigned int info = 0;
    if (freexl_get_info(handle.xls, FREEXL_BIFF_PASSWORD, &info) == FREEXL_OK && info == FREEXL_BIFF_OBFUSCATED)
        passwordProtected(shownPath);
    unsigned int sheetCount = 0;
    if (freexl_get_info(handle.xls, FREEXL_BIFF_SHEET_COUNT, &sheetCount) != FREEXL_OK)
        refuse(path, shownPath);

    QList<Worksheet> sheets;
    for (unsigned short index = 0; index < sheetCount; ++index) {
        const char* name = nullptr;
        unsigned int rowCount = 0;
        unsigned short columnCount = 0;
        if (freexl_get_worksheet_name(handle.xls, index, &name) != FREEXL_OK
            || freexl_select_active_worksheet(handle.xls, index) != FREEXL_OK
            || freexl_worksheet_dimensions(handle.xls, &rowCount, &columnCount) != FREEXL_OK)
            refuse(path, shownPath);
        QList<QStringList> rows(rowCount);
        for (unsigned int row = 0; row < rowCount; ++row) {
            QStringList& cells = rows[row];
            for (unsigned short column = 0; column < columnCount; ++column) {
                FreeXL_CellValue value;
                if (freexl_get_cell_value(handle.xls, row, column, &value) != FREEXL_OK)
                    refuse(path, shownPath);
                QString text = cellText(value);
                if (!text.isEmpty()) {
                    cells.resize(column + 1);
                    cells[column] = std::move(text);
                }
            }
        }
        sheets << Worksheet(QString::fromUtf8(name), std::move(rows));
    }
    return Workbook(shownPath, std::move(sheets), 0);
}

} // namespace slipcraft::readers
