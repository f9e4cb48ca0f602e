#include "platform/spreadsheet/Readers.h"

#include "platform/spreadsheet/Csv.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace slipcraft::readers {

void damaged(const QString& shownPath)
{
    throw SpreadsheetError(QString::fromUtf8("文件“%1”已损坏、不完整，或不是它的扩展名所说的电子表格文件，无法读取。"
                                             "请在电子表格软件中打开它并另存为 xlsx 文件后再选择。")
                               .arg(QDir::toNativeSeparators(shownPath)));
}

void passwordProtected(const QString& shownPath)
{
    throw SpreadsheetError(QString::fromUtf8("文件“%1”设有打开密码，无法读取。请在电子表格软件中取消密码并另存后再选择。")
                               .arg(QDir::toNativeSeparators(shownPath)));
}

QList<QStringList> trimmedRows(QList<QStringList> rows)
{
    for (QStringList& row : rows) {
        while (!row.isEmpty() && row.constLast().isEmpty())
            row.removeLast();
    }
    while (!rows.isEmpty() && rows.constLast().isEmpty())
        rows.removeLast();
    return rows;
}

Workbook readCsv(const QString& path, const QString& shownPath)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw SpreadsheetError(QString::fromUtf8("无法读取文件“%1”，请检查文件权限。").arg(QDir::toNativeSeparators(shownPath)));
    const csv::Parsed parsed = csv::parse(csv::decode(file.readAll()));
    if (parsed.unclosedQuoteLine)
        throw SpreadsheetError(QString::fromUtf8("文件“%1”不完整或格式有误：第%2行开始的引号没有结束。")
                                   .arg(QDir::toNativeSeparators(shownPath))
                                   .arg(*parsed.unclosedQuoteLine));
    QList<Worksheet> sheets{Worksheet(QFileInfo(shownPath).completeBaseName(), parsed.records)};
    return Workbook(shownPath, std::move(sheets), 0);
}

} // namespace slipcraft::readers
