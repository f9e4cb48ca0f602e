#include "platform/spreadsheet/CellText.h"
#include "platform/spreadsheet/Readers.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QIODevice>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <zip.h>

#include <memory>

namespace slipcraft::readers {

namespace {

constexpr int kMaxRows = 1048576;
constexpr int kMaxColumns = 16384;

// One member of the archive, read as it is inflated.
class ZipEntryDevice final : public QIODevice {
public:
    explicit ZipEntryDevice(zip_file_t* file)
        : file_(file)
    {
        open(QIODevice::ReadOnly);
    }
    ~ZipEntryDevice() override { zip_fclose(file_); }
    bool isSequential() const override { return true; }
    bool failed() const { return failed_; }

protected:
    qint64 readData(char* data, qint64 maxSize) override
    {
        const zip_int64_t count = zip_fread(file_, data, zip_uint64_t(maxSize));
        if (count < 0)
            failed_ = true;
        return count;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    zip_file_t* file_;
    bool failed_ = false;
};

struct ArchiveCloser {
    void operator()(zip_t* archive) const { zip_discard(archive); }
};

class Package {
public:
    Package(const QString& path, const QString& shownPath)
        : shownPath_(shownPath)
    {
        int error = 0;
        archive_.reset(zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &error));
        if (!archive_) {
            if (error == ZIP_ER_OPEN || error == ZIP_ER_READ)
                throw SpreadsheetError(QString::fromUtf8("无法读取文件“%1”，请检查文件权限。")
                                           .arg(QDir::toNativeSeparators(shownPath)));
            damaged(shownPath);
        }
    }

    bool has(const QString& name) const
    {
        return zip_name_locate(archive_.get(), name.toUtf8().constData(), ZIP_FL_NOCASE) >= 0;
    }

    // Runs read over the member's XML; a missing member, a damaged one or bad XML is damage.
    template <class Read>
    void parse(const QString& name, Read&& read) const
    {
        zip_file_t* file = zip_fopen(archive_.get(), name.toUtf8().constData(), ZIP_FL_NOCASE);
        if (!file)
            damaged(shownPath_);
        ZipEntryDevice device(file);
        QXmlStreamReader xml(&device);
        read(xml);
        if (xml.hasError() || device.failed())
            damaged(shownPath_);
    }

private:
    QString shownPath_;
    std::unique_ptr<zip_t, ArchiveCloser> archive_;
};

struct Relationship {
    QString type;
    QString target; // a member name
};

// Member names of the relationships of part, by id.
QHash<QString, Relationship> relationships(const Package& package, const QString& part)
{
    const qsizetype slash = part.lastIndexOf(u'/');
    const QString folder = part.left(slash + 1);
    const QString relsName = folder + QStringLiteral("_rels/") + part.mid(slash + 1) + QStringLiteral(".rels");
    QHash<QString, Relationship> found;
    if (!package.has(relsName))
        return found;
    package.parse(relsName, [&](QXmlStreamReader& xml) {
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != u"Relationship")
                continue;
            const QXmlStreamAttributes attributes = xml.attributes();
            if (attributes.value(QLatin1String("TargetMode")) == u"External")
                continue;
            const QString target = attributes.value(QLatin1String("Target")).toString();
            const QString member = target.startsWith(u'/') ? target.mid(1) : QDir::cleanPath(folder + target);
            found.insert(attributes.value(QLatin1String("Id")).toString(), {attributes.value(QLatin1String("Type")).toString(), member});
        }
    });
    return found;
}

QString firstOfType(const QHash<QString, Relationship>& relations, QStringView typeEnd)
{
    for (const Relationship& relation : relations) {
        if (relation.type.endsWith(typeEnd))
            return relation.target;
    }
    return {};
}

// Characters that XML cannot carry are stored as _xHHHH_.
QString unescaped(QString text)
{
    if (!text.contains(QLatin1String("_x")))
        return text;
    static const QRegularExpression escape(QStringLiteral("_x([0-9A-Fa-f]{4})_"));
    QString result;
    qsizetype last = 0;
    for (const QRegularExpressionMatch& match : escape.globalMatch(text)) {
        result += QStringView(text).mid(last, match.capturedStart() - last);
        result += QChar(char16_t(match.capturedView(1).toUInt(nullptr, 16)));
        last = match.capturedEnd();
    }
    result += QStringView(text).mid(last);
    return result;
}

// The text of a string item (<si> or <is>, the reader on its start): its <t> pieces,
// also inside runs; phonetic guides left out.
QString stringItem(QXmlStreamReader& xml)
{
    QString text;
    int depth = 1;
    while (depth > 0 && !xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::StartElement) {
            if (xml.name() == u"t")
                text += xml.readElementText();
            else if (xml.name() == u"rPh")
                xml.skipCurrentElement();
            else
                ++depth;
        } else if (token == QXmlStreamReader::EndElement) {
            --depth;
        }
    }
    return unescaped(text);
}

QStringList sharedStrings(const Package& package, const QString& member)
{
    QStringList strings;
    if (member.isEmpty())
        return strings;
    package.parse(member, [&](QXmlStreamReader& xml) {
        while (!xml.atEnd()) {
            if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"si")
                strings << stringItem(xml);
        }
    });
    return strings;
}

QList<celltext::NumberStyle> cellStyles(const Package& package, const QString& member)
{
    QList<celltext::NumberStyle> styles;
    if (member.isEmpty())
        return styles;
    QHash<int, QString> codes;
    QList<int> formatIds;
    package.parse(member, [&](QXmlStreamReader& xml) {
        bool inCellXfs = false;
        while (!xml.atEnd()) {
            const QXmlStreamReader::TokenType token = xml.readNext();
            if (token == QXmlStreamReader::EndElement && xml.name() == u"cellXfs")
                inCellXfs = false;
            if (token != QXmlStreamReader::StartElement)
                continue;
            if (xml.name() == u"numFmt")
                codes.insert(xml.attributes().value(QLatin1String("numFmtId")).toInt(), xml.attributes().value(QLatin1String("formatCode")).toString());
            else if (xml.name() == u"cellXfs")
                inCellXfs = true;
            else if (inCellXfs && xml.name() == u"xf")
                formatIds << xml.attributes().value(QLatin1String("numFmtId")).toInt();
        }
    });
    for (int id : std::as_const(formatIds))
        styles << celltext::styleOfFormat(id, codes.value(id));
    return styles;
}

// "AB12" → row 12, column 28. False for anything else or beyond the sheet's limits.
bool parseCellReference(QStringView reference, int& row, int& column)
{
    qsizetype at = 0;
    int letters = 0;
    int digits = 0;
    column = 0;
    row = 0;
    for (; at < reference.size() && reference[at].isLetter(); ++at, ++letters) {
        const char16_t c = reference[at].toUpper().unicode();
        if (c < u'A' || c > u'Z' || letters == 3)
            return false;
        column = column * 26 + (c - u'A' + 1);
    }
    for (; at < reference.size() && reference[at] >= u'0' && reference[at] <= u'9' && digits < 8; ++at, ++digits)
        row = row * 10 + (reference[at].unicode() - u'0');
    return at == reference.size() && letters > 0 && digits > 0 && row >= 1 && row <= kMaxRows
           && column <= kMaxColumns;
}

struct SheetContext {
    const QStringList& strings;
    const QList<celltext::NumberStyle>& styles;
    bool date1904;
    QString shownPath;
};

// The cell the reader stands on (<c>), as its text.
QString cellValue(QXmlStreamReader& xml, const QXmlStreamAttributes& attributes, const SheetContext& context)
{
    const QStringView type = attributes.value(QLatin1String("t"));
    const int styleIndex = attributes.value(QLatin1String("s")).toInt();
    QString raw;
    QString inlineText;
    bool hasInline = false;
    while (xml.readNextStartElement()) {
        if (xml.name() == u"v") {
            raw = xml.readElementText();
        } else if (xml.name() == u"is") {
            inlineText = stringItem(xml);
            hasInline = true;
        } else {
            xml.skipCurrentElement();
        }
    }
    if (type == u"inlineStr")
        return hasInline ? inlineText : unescaped(raw);
    if (raw.isEmpty())
        return {};
    if (type == u"s") {
        bool ok = false;
        const int index = raw.toInt(&ok);
        if (!ok || index < 0 || index >= context.strings.size())
            damaged(context.shownPath);
        return context.strings[index];
    }
    if (type == u"str" || type == u"e")
        return unescaped(raw);
    if (type == u"b")
        return raw == u"1" ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
    if (type == u"d")
        return celltext::isoDateText(raw);
    bool ok = false;
    const double number = raw.toDouble(&ok);
    if (!ok)
        return raw;
    const celltext::NumberStyle style =
        styleIndex >= 0 && styleIndex < context.styles.size() ? context.styles[styleIndex] : celltext::NumberStyle{};
    return celltext::numberText(number, style, context.date1904);
}

Worksheet readSheet(const Package& package, const QString& member, const QString& name, const SheetContext& context)
{
    QList<QStringList> rows;
    bool headingMerged = false;
    package.parse(member, [&](QXmlStreamReader& xml) {
        int row = 0;
        int column = 0;
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement)
                continue;
            const QStringView element = xml.name();
            if (element == u"row") {
                const QStringView number = xml.attributes().value(QLatin1String("r"));
                row = number.isEmpty() ? row + 1 : number.toInt();
                if (row < 1 || row > kMaxRows)
                    damaged(context.shownPath);
                column = 0;
            } else if (element == u"c") {
                const QXmlStreamAttributes attributes = xml.attributes();
                const QStringView reference = attributes.value(QLatin1String("r"));
                if (reference.isEmpty()) {
                    if (++column > kMaxColumns || row < 1)
                        damaged(context.shownPath);
                } else {
                    int cellRow = 0;
                    if (!parseCellReference(reference, cellRow, column))
                        damaged(context.shownPath);
                    row = cellRow;
                }
                QString text = cellValue(xml, attributes, context);
                if (text.isEmpty())
                    continue;
                if (rows.size() < row)
                    rows.resize(row);
                QStringList& cells = rows[row - 1];
                if (cells.size() < column)
                    cells.resize(column);
                cells[column - 1] = std::move(text);
            } else if (element == u"mergeCell") {
                const QStringView range = xml.attributes().value(QLatin1String("ref"));
                int top = 0;
                int left = 0;
                if (parseCellReference(range.left(range.indexOf(u':')), top, left) && top == 1)
                    headingMerged = true;
            }
        }
    });
    return Worksheet(name, std::move(rows), headingMerged);
}

} // namespace

Workbook readXlsx(const QString& path, const QString& shownPath)
{
    const Package package(path, shownPath);

    QString workbookPart = firstOfType(relationships(package, QString()), u"/officeDocument");
    if (workbookPart.isEmpty())
        workbookPart = QStringLiteral("xl/workbook.xml");
    if (!package.has(workbookPart))
        damaged(shownPath);

    struct SheetEntry {
        QString name;
        QString relationId;
    };
    QList<SheetEntry> entries;
    bool date1904 = false;
    int activeTab = 0;
    package.parse(workbookPart, [&](QXmlStreamReader& xml) {
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement)
                continue;
            const QXmlStreamAttributes attributes = xml.attributes();
            if (xml.name() == u"workbookPr") {
                const QStringView value = attributes.value(QLatin1String("date1904"));
                date1904 = value == u"1" || value == u"true";
            } else if (xml.name() == u"workbookView") {
                activeTab = attributes.value(QLatin1String("activeTab")).toInt();
            } else if (xml.name() == u"sheet") {
                SheetEntry entry{attributes.value(QLatin1String("name")).toString(), {}};
                for (const QXmlStreamAttribute& attribute : attributes) {
                    if (attribute.name() == u"id" && !attribute.namespaceUri().isEmpty())
                        entry.relationId = attribute.value().toString();
                }
                entries << entry;
            }
        }
    });

    const QHash<QString, Relationship> relations = relationships(package, workbookPart);
    const QStringList strings = sharedStrings(package, firstOfType(relations, u"/sharedStrings"));
    const QList<celltext::NumberStyle> styles = cellStyles(package, firstOfType(relations, u"/styles"));
    const SheetContext context{strings, styles, date1904, shownPath};

    QList<Worksheet> sheets;
    int active = 0;
    for (qsizetype index = 0; index < entries.size(); ++index) {
        const auto relation = relations.constFind(entries[index].relationId);
        if (relation == relations.cend())
            damaged(shownPath);
        if (!relation->type.endsWith(u"/worksheet"))
            continue; // chart sheets hold no cells
        if (index == activeTab)
            active = int(sheets.size());
        sheets << readSheet(package, relation->target, entries[index].name, context);
    }
    return Workbook(shownPath, std::move(sheets), active);
}

} // namespace slipcraft::readers
