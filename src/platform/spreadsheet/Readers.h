#pragma once

#include "platform/spreadsheet/Workbook.h"

// The file formats behind Workbook::open. Each reads the file at path whole or throws
// SpreadsheetError; messages name shownPath, the file the user chose.
namespace slipcraft::readers {

Workbook readXlsx(const QString& path, const QString& shownPath);
Workbook readXls(const QString& path, const QString& shownPath);
Workbook readCsv(const QString& path, const QString& shownPath);

// The message for a file that is not what its extension says, or is damaged.
[[noreturn]] void damaged(const QString& shownPath);
// The message for a file protected by a password.
[[noreturn]] void passwordProtected(const QString& shownPath);

// Rows without their empty cells at the end, and without empty rows at the end.
QList<QStringList> trimmedRows(QList<QStringList> rows);

} // namespace slipcraft::readers
