#include "platform/spreadsheet/Workbook.h"

#include "platform/spreadsheet/Readers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>

namespace slipcraft {

namespace {

QString fileText(const char* text, const QString& path)
{
    return QString::fromUtf8(text).arg(QDir::toNativeSeparators(path));
}

// Spreadsheet column name: 1 → A, 27 → AA.
QString columnName(int column)
{
    QString name;
    for (; column > 0; column = (column - 1) / 26)
        name.prepend(QChar(u'A' + (column - 1) % 26));
    return name;
}

constexpr int kConversionTimeoutMs = 120000;

// Formats only LibreOffice reads here: converted to .xlsx in a private folder, then read.
Workbook convertAndRead(const QString& path)
{
    QString program = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (program.isEmpty())
        program = QStandardPaths::findExecutable(QStringLiteral("libreoffice"));
    if (program.isEmpty())
        throw SpreadsheetError(fileText("读取文件“%1”需要 LibreOffice：请先安装软件包 libreoffice-calc"
                                        "（sudo apt install libreoffice-calc），或在电子表格软件中把它另存为 xlsx 文件后再选择。",
                                        path));
    QTemporaryDir work;
    if (!work.isValid())
        throw SpreadsheetError(fileText("无法转换文件“%1”：无法建立临时文件夹。", path));
    const QString outDir = work.filePath(QStringLiteral("out"));
    // A profile of its own, so that a LibreOffice the user has open does not take the job over.
    const QStringList arguments{
        QStringLiteral("-env:UserInstallation=") + QUrl::fromLocalFile(work.filePath(QStringLiteral("profile"))).toString(),
        QStringLiteral("--headless"),
        QStringLiteral("--norestore"),
        QStringLiteral("--convert-to"),
        QStringLiteral("xlsx"),
        QStringLiteral("--outdir"),
        outDir,
        path};
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(kConversionTimeoutMs)) {
        process.kill();
        process.waitForFinished();
        throw SpreadsheetError(fileText("LibreOffice 未能在规定时间内转换文件“%1”。", path));
    }
    const QString converted = QDir(outDir).filePath(QFileInfo(path).completeBaseName() + QStringLiteral(".xlsx"));
    if (process.exitStatus() != QProcess::NormalExit || !QFileInfo::exists(converted))
        throw SpreadsheetError(fileText("LibreOffice 未能转换文件“%1”，文件可能已损坏或设有密码。", path));
    return readers::readXlsx(converted, path);
}

} // namespace

SpreadsheetError::SpreadsheetError(const QString& text)
    : std::runtime_error(text.toStdString())
    , text_(text)
{
}

Worksheet::Worksheet(QString name, QList<QStringList> rows, bool headingMerged)
    : name_(std::move(name))
    , rows_(readers::trimmedRows(std::move(rows)))
    , headingMerged_(headingMerged)
{
    for (const QStringList& row : std::as_const(rows_))
        columnCount_ = std::max(columnCount_, int(row.size()));
}

QString Worksheet::cellText(int row, int column) const
{
    if (row < 1 || row > rows_.size() || column < 1)
        return {};
    return rows_[row - 1].value(column - 1);
}

QStringList Worksheet::headings(const QString& file) const
{
    if (rows_.isEmpty())
        throw SpreadsheetError(QString::fromUtf8("文件“%1”的工作表“%2”是空的，没有可读取的数据。")
                                   .arg(QDir::toNativeSeparators(file), name_));
    if (headingMerged_)
        throw SpreadsheetError(QString::fromUtf8("文件“%1”的工作表“%2”第1行（标题行）有合并的单元格，"
                                                 "请取消合并，让每一列都有自己的标题后再导入。")
                                   .arg(QDir::toNativeSeparators(file), name_));
    QStringList headings;
    for (int column = 1; column <= columnCount_; ++column) {
        const QString heading = cellText(1, column);
        if (heading.trimmed().isEmpty())
            throw SpreadsheetError(QString::fromUtf8("文件“%1”的工作表“%2”第1行（标题行）的第%3列（%4列）没有标题，"
                                                     "请为每一列填写标题后再导入。")
                                       .arg(QDir::toNativeSeparators(file), name_)
                                       .arg(column)
                                       .arg(columnName(column)));
        headings << heading;
    }
    return headings;
}

Workbook::Workbook(QString path, QList<Worksheet> sheets, int activeSheet)
    : path_(std::move(path))
    , sheets_(std::move(sheets))
    , active_(activeSheet >= 0 && activeSheet < sheets_.size() ? activeSheet : 0)
{
}

QStringList Workbook::sheetNames() const
{
    QStringList names;
    for (const Worksheet& sheet : sheets_)
        names << sheet.name();
    return names;
}

void Workbook::setActiveSheet(int index)
{
    if (index >= 0 && index < sheets_.size())
        active_ = index;
}

Workbook Workbook::open(const QString& path)
{
    const QFileInfo info(path);
    const QString file = info.absoluteFilePath();
    if (!info.exists())
        throw SpreadsheetError(fileText("文件“%1”不存在。", file));
    if (info.isDir())
        throw SpreadsheetError(fileText("“%1”是一个文件夹，不是电子表格文件。", file));
    const QString extension = info.suffix().toLower();
    const QStringList known{QStringLiteral("xlsx"), QStringLiteral("xlsm"), QStringLiteral("xls"),
                            QStringLiteral("csv"), QStringLiteral("et"), QStringLiteral("xlw")};
    if (!known.contains(extension))
        throw SpreadsheetError(fileText("不能读取文件“%1”：只能读取扩展名为 xlsx、xls、csv、et、xlw 的电子表格文件。", file));

    QFile reader(file);
    if (!reader.open(QIODevice::ReadOnly))
        throw SpreadsheetError(fileText("无法读取文件“%1”，请检查文件权限。", file));
    const QByteArray signature = reader.read(8);
    reader.close();
    if (signature.isEmpty())
        throw SpreadsheetError(fileText("文件“%1”是空文件，没有可读取的数据。", file));

    Workbook book = [&] {
        if (extension == u"csv")
            return readers::readCsv(file, file);
        if (extension == u"et" || extension == u"xlw")
            return convertAndRead(file);
        // Some programs save a .xlsx under the name .xls; read what the file holds.
        if (signature.startsWith("PK"))
            return readers::readXlsx(file, file);
        return readers::readXls(file, file);
    }();
    if (book.sheetCount() == 0)
        throw SpreadsheetError(fileText("文件“%1”中没有工作表。", file));
    return book;
}

} // namespace slipcraft
