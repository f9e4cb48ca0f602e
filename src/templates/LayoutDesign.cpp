#include "templates/LayoutDesign.h"

#include "wording/Functions.h"

#include <QHash>

#include <cmath>
#include <stdexcept>

namespace slipcraft {

namespace {

const QStringList kLayoutColumns{
    QStringLiteral("CtlX"),        QStringLiteral("CtlY"),        QStringLiteral("CtlW"),
    QStringLiteral("CtlH"),        QStringLiteral("CtlLH"),       QStringLiteral("SrcX"),
    QStringLiteral("SrcY"),        QStringLiteral("SrcW"),        QStringLiteral("SrcH"),
    QStringLiteral("NeedPrint"),   QStringLiteral("NeedShow"),    QStringLiteral("InitValue"),
    QStringLiteral("CtlFontName"), QStringLiteral("CtlFontSize"), QStringLiteral("CtlFontColor"),
    QStringLiteral("Bold"),        QStringLiteral("Italic"),      QStringLiteral("UnderLine"),
    QStringLiteral("BreakNum"),    QStringLiteral("BreakFontSize"), QStringLiteral("FitParam"),
};

// The column as the table spells it; throws for anything else, before a statement exists.
QString layoutColumn(const QString& column)
{
    for (const QString& known : kLayoutColumns)
        if (known.compare(column, Qt::CaseInsensitive) == 0)
            return known;
    throw std::invalid_argument("not a layout column");
}

// "CtlName in (:i0, :i1, …)" with the names bound.
QString itemList(const QStringList& items, SqlParams& params)
{
    QStringList keys;
    for (qsizetype i = 0; i < items.size(); ++i) {
        const QString key = QStringLiteral("i%1").arg(i);
        keys << QLatin1Char(':') + key;
        params.insert(key, items[i]);
    }
    return QStringLiteral("CtlName in (") + keys.join(QStringLiteral(", ")) + QLatin1Char(')');
}

int wholeNumber(const QString& text)
{
    return trimText(text).toInt();
}

} // namespace

std::optional<TemplateSheet> loadTemplateSheet(Database& db, int templateId)
{
    SqlQuery row = db.query(QStringLiteral("select TypeName, TypeFirstName, PWidth, PHeight, PreImgURL, ImgFile, TWidth, "
                                           "THeight, CheckBoxs from ckTypeTable where CheckTypeId=:id"),
                            {{QStringLiteral("id"), templateId}});
    if (!row.next())
        return std::nullopt;
    TemplateSheet sheet;
    sheet.id = templateId;
    sheet.name = row.value(0).toString();
    sheet.billType = row.value(1).toString();
    const int width = row.value(2).toInt();
    const int height = row.value(3).toInt();
    sheet.paperWidth = width < 1 ? kDefaultPaperWidth : width;
    sheet.paperHeight = height < 1 ? kDefaultPaperHeight : height;
    sheet.pictureUrl = row.value(4).toString();
    sheet.imageFile = row.value(5).toString();
    sheet.screenWidth = row.value(6).toInt();
    sheet.screenHeight = row.value(7).toInt();
    sheet.tickTitles = row.value(8).toString();
    return sheet;
}

RowSelection templateItemRows(int templateId, const QStringList& items)
{
    RowSelection selection{QStringLiteral("CKControl"), QStringLiteral("ID"), QStringLiteral("CheckTypeId=:tid"),
                           {{QStringLiteral("tid"), templateId}}};
    if (!items.isEmpty())
        selection.where += QStringLiteral(" and ") + itemList(items, selection.params);
    return selection;
}

RowSelection templateRow(int templateId)
{
    return {QStringLiteral("ckTypeTable"), QStringLiteral("CheckTypeId"), QStringLiteral("CheckTypeId=:tid"),
            {{QStringLiteral("tid"), templateId}}};
}

// ---- Print layout designer --------------------------------------------------------

int DesignScale::GetPixByMMCent(int tenthMm) const
{
    return int(std::lround(tenthMm / 10.0 / mmPerPixel));
}

int DesignScale::GetMMCentByPix(int pixels) const
{
    return int(std::lround(pixels * 10.0 * mmPerPixel));
}

int pageAreaWidth(int paperWidth, double dpi, int zoomPercent)
{
    return std::max(1, int(std::lround(paperWidth / 10.0 / 25.4 * dpi * zoomPercent / 100.0)));
}

DesignScale designScale(int paperWidth, int pageWidthPixels)
{
    return {paperWidth / 10.0 / std::max(1, pageWidthPixels)};
}

QList<PrintLayoutItem> loadPrintLayoutItems(Database& db, int templateId, const QString& billType, const QString& item)
{
    SqlParams params{{QStringLiteral("id"), templateId}, {QStringLiteral("billType"), billType}};
    QString only;
    if (!item.isEmpty()) {
        only = QStringLiteral(" and a.CtlName=:item");
        params.insert(QStringLiteral("item"), item);
    }
    SqlQuery rows = db.query(
        QStringLiteral("select a.CtlName, b.CtlLabel, a.CtlCName, b.CtlData, a.InitValue, b.Groups, a.CtlX, a.CtlY, "
                       "a.CtlW, a.CtlH, a.SrcW, a.SrcH, a.CtlLH, a.CtlFontName, a.CtlFontSize, a.Bold, a.Italic, "
                       "a.UnderLine, a.BreakNum, a.BreakFontSize, a.FitParam from CKControl as a join NameDict as b "
                       "on a.CtlName=b.CtlName and b.CheckTypeName=:billType where a.CheckTypeId=:id and "
                       "a.NeedPrint=1 and b.PrintItem=1")
            + only + QStringLiteral(" order by b.ShowOrd desc, a.ID"),
        params);
    QList<PrintLayoutItem> items;
    while (rows.next()) {
        PrintLayoutItem row;
        row.name = rows.value(0).toString();
        row.label = rows.value(1).toString();
        row.caption = rows.value(2).toString();
        row.sample = rows.value(3).toString();
        row.initValue = rows.value(4).toString();
        row.groups = rows.value(5).toString();
        row.x = rows.value(6).toInt();
        row.y = rows.value(7).toInt();
        row.w = rows.value(8).toInt();
        row.h = rows.value(9).toInt();
        row.screenWidth = rows.value(10).toInt();
        row.screenHeight = rows.value(11).toInt();
        row.lineHeight = rows.value(12).toInt();
        row.fontName = rows.value(13).toString();
        row.fontSize = rows.value(14).toInt();
        row.bold = rows.value(15).toInt();
        row.italic = rows.value(16).toInt();
        row.underline = rows.value(17).toInt();
        row.breakNum = rows.value(18).toString();
        row.breakFontSize = rows.value(19).toInt();
        row.fitParam = rows.value(20).toString();
        items << row;
    }
    return items;
}

QString designText(const PrintLayoutItem& item)
{
    for (const QString& text : {item.initValue, item.sample, item.label}) {
        const QString trimmed = trimText(text);
        if (!trimmed.isEmpty())
            return trimmed;
    }
    return {};
}

namespace {

QSize drawnSize(const PrintLayoutItem& item, const DesignScale& scale)
{
    return {item.w > 0 ? scale.GetPixByMMCent(item.w) : item.screenWidth,
            item.h > 0 ? scale.GetPixByMMCent(item.h) : item.screenHeight};
}

} // namespace

QList<DesignLabel> designLabels(const PrintLayoutItem& item, const DesignScale& scale)
{
    const QString text = designText(item);
    if (text.isEmpty())
        return {};
    const QSize box = drawnSize(item, scale);
    const int x = scale.GetPixByMMCent(item.x);
    const int y = scale.GetPixByMMCent(item.y);
    const int lineHeight = item.lineHeight < 1 ? 50 : item.lineHeight;
    const int breakCount = wholeNumber(item.breakNum);
    const QStringList lines = breakCount > 0 ? breakLines(text, breakCount) : QStringList{text};
    const bool broken = lines.size() > 1;
    const int cell = wholeNumber(item.fitParam);
    const bool cells = cell > 25;

    QList<DesignLabel> labels;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString lineName = broken ? item.name + QStringLiteral("L%1").arg(i) : item.name;
        const int top = y + scale.GetPixByMMCent(int(i) * lineHeight);
        const int height = broken ? scale.GetPixByMMCent(lineHeight) : box.height();
        DesignLabel base;
        base.item = item.name;
        base.fontName = item.fontName;
        base.fontSize = broken && item.breakFontSize > 0 ? item.breakFontSize : item.fontSize;
        base.bold = item.bold == 1;
        base.italic = item.italic == 1;
        base.underline = item.underline == 1;
        if (!cells) {
            base.name = lineName;
            base.text = lines[i];
            base.rect = QRect(x, top, box.width(), height);
            labels << base;
            continue;
        }
        const QStringList characters = splitCharacters(lines[i]);
        for (qsizetype c = 0; c < characters.size(); ++c) {
            DesignLabel label = base;
            label.name = lineName + QStringLiteral("R%1").arg(c + 1);
            label.text = characters[c];
            label.rect = QRect(x + scale.GetPixByMMCent(cell * int(c)), top, scale.GetPixByMMCent(cell), height);
            labels << label;
        }
    }
    return labels;
}

std::optional<QSize> missingPrintSize(const PrintLayoutItem& item, const DesignScale& scale)
{
    if (item.w > 0 && item.h > 0)
        return std::nullopt;
    const QSize box = drawnSize(item, scale);
    return QSize(scale.GetMMCentByPix(box.width()), scale.GetMMCentByPix(box.height()));
}

bool isLayoutColumn(const QString& column)
{
    for (const QString& known : kLayoutColumns)
        if (known.compare(column, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

ColumnSave saveItemColumn(Database& db, int templateId, const QString& item, const QString& column, const QString& value)
{
    const QString name = layoutColumn(column);
    SqlQuery rows = db.query(QStringLiteral("select ID, %1 from CKControl where CheckTypeId=:id and CtlName=:item").arg(name),
                             {{QStringLiteral("id"), templateId}, {QStringLiteral("item"), item}});
    QList<std::pair<qint64, QString>> found;
    while (rows.next())
        found.append({rows.value(0).toLongLong(), rows.value(1).toString()});
    if (found.isEmpty())
        return ColumnSave::Missing;
    if (found.size() > 1)
        return ColumnSave::Duplicate;
    if (found[0].second == value)
        return ColumnSave::Unchanged;
    db.execute(QStringLiteral("update CKControl set %1=:value where ID=:row").arg(name),
               {{QStringLiteral("value"), value}, {QStringLiteral("row"), found[0].first}});
    return ColumnSave::Saved;
}

QStringList moveItems(Database& db, int templateId, const QStringList& items, const QString& column, int delta)
{
    const QString name = layoutColumn(column);
    QStringList failed;
    for (const QString& item : items) {
        const int changed = db.execute(
            QStringLiteral("update CKControl set %1=coalesce(%1, 0)+:delta where CheckTypeId=:id and CtlName=:item").arg(name),
            {{QStringLiteral("delta"), delta}, {QStringLiteral("id"), templateId}, {QStringLiteral("item"), item}});
        if (changed != 1)
            failed << item;
    }
    return failed;
}

int storeItemSample(Database& db, const QString& billType, const QString& item, const QString& text)
{
    return db.execute(QStringLiteral("update NameDict set CtlData=:text where CheckTypeName=:billType and CtlName=:item"),
                      {{QStringLiteral("text"), text}, {QStringLiteral("billType"), billType}, {QStringLiteral("item"), item}});
}

std::optional<int> itemsExtreme(Database& db, int templateId, const QStringList& items, const QString& column, bool max)
{
    const QString name = layoutColumn(column);
    SqlParams params{{QStringLiteral("id"), templateId}};
    const QVariant value =
        db.scalar(QStringLiteral("select %1(%2) from CKControl where CheckTypeId=:id and ")
                          .arg(max ? QStringLiteral("max") : QStringLiteral("min"), name)
                      + itemList(items, params),
                  params);
    if (value.isNull())
        return std::nullopt;
    return value.toInt();
}

int setItemsColumn(Database& db, int templateId, const QStringList& items, const QString& column, const QVariant& value)
{
    if (items.isEmpty())
        return 0;
    const QString name = layoutColumn(column);
    SqlParams params{{QStringLiteral("id"), templateId}, {QStringLiteral("value"), value}};
    return db.execute(QStringLiteral("update CKControl set %1=:value where CheckTypeId=:id and ").arg(name)
                          + itemList(items, params),
                      params);
}

BatchChange growItems(Database& db, int templateId, const QStringList& items, const QString& column, int delta)
{
    const QString name = layoutColumn(column);
    BatchChange result;
    for (const QString& item : items) {
        SqlParams params{{QStringLiteral("delta"), delta}, {QStringLiteral("id"), templateId}, {QStringLiteral("item"), item}};
        QString sql = QStringLiteral("update CKControl set %1=coalesce(%1, 0)+:delta where CheckTypeId=:id and CtlName=:item")
                          .arg(name);
        if (delta < 0) {
            sql += QStringLiteral(" and %1>:size").arg(name);
            params.insert(QStringLiteral("size"), -delta);
        }
        const int changed = db.execute(sql, params);
        if (changed > 0)
            result.changed += changed;
        else
            result.unchanged << item;
    }
    return result;
}

std::optional<int> distributeItems(Database& db, int templateId, const QStringList& items, const QString& column,
                                   int increment)
{
    if (items.isEmpty())
        return std::nullopt;
    const QString name = layoutColumn(column);
    const QVariant first =
        db.scalar(QStringLiteral("select %1 from CKControl where CheckTypeId=:id and CtlName=:item").arg(name),
                  {{QStringLiteral("id"), templateId}, {QStringLiteral("item"), items.first()}});
    if (first.isNull())
        return std::nullopt;
    int changed = 0;
    for (qsizetype i = 1; i < items.size(); ++i)
        changed += db.execute(QStringLiteral("update CKControl set %1=:value where CheckTypeId=:id and CtlName=:item").arg(name),
                              {{QStringLiteral("value"), first.toInt() + int(i) * increment},
                               {QStringLiteral("id"), templateId},
                               {QStringLiteral("item"), items[i]}});
    return changed;
}

QStringList itemGroups(Database& db, const QString& billType)
{
    return db.textColumn(QStringLiteral("select distinct Groups from NameDict where CheckTypeName=:billType and "
                                        "trim(coalesce(Groups, ''))<>'' order by Groups"),
                         {{QStringLiteral("billType"), billType}});
}

QStringList groupItems(Database& db, const QString& billType, const QString& text)
{
    if (text.contains(QLatin1Char('*'))) {
        QString pattern = text;
        pattern.replace(QLatin1Char('\\'), QStringLiteral("\\\\"))
            .replace(QLatin1Char('%'), QStringLiteral("\\%"))
            .replace(QLatin1Char('_'), QStringLiteral("\\_"))
            .replace(QLatin1Char('*'), QLatin1Char('%'));
        return db.textColumn(QStringLiteral("select CtlName from NameDict where CheckTypeName=:billType and PrintItem=1 "
                                            "and CtlLabel like :pattern escape '\\' order by ShowOrd, Id"),
                             {{QStringLiteral("billType"), billType}, {QStringLiteral("pattern"), pattern}});
    }
    return db.textColumn(QStringLiteral("select CtlName from NameDict where CheckTypeName=:billType and PrintItem=1 "
                                        "and Groups=:group order by ShowOrd, Id"),
                         {{QStringLiteral("billType"), billType}, {QStringLiteral("group"), text}});
}

PaperSave savePaperSize(Database& db, int templateId, double widthCm, double heightCm)
{
    if (std::lround(heightCm * 10) > 320)
        return {QStringLiteral("失败，票据最高不能大于32厘米。"), false};
    if (std::lround(widthCm * 10) > 300)
        return {QStringLiteral("失败，票据最宽不能大于30厘米。"), false};
    const int changed = db.execute(QStringLiteral("update ckTypeTable set PWidth=:width, PHeight=:height where CheckTypeId=:id"),
                                   {{QStringLiteral("width"), qlonglong(std::lround(widthCm * 100))},
                                    {QStringLiteral("height"), qlonglong(std::lround(heightCm * 100))},
                                    {QStringLiteral("id"), templateId}});
    return {QString(), changed > 0};
}

// ---- Fill-form layout adjustment ---------------------------------------------------

QList<DesignControl> loadDesignControls(Database& db, int templateId, const QString& billType)
{
    SqlQuery rows = db.query(
        QStringLiteral("select b.CtlName, b.CtlLabel, b.CtlType, a.ID, a.SrcX, a.SrcY, a.SrcW, a.SrcH, a.NeedShow, "
                       "a.InitValue from NameDict as b left join CKControl as a on a.CtlName=b.CtlName and "
                       "a.CheckTypeId=:id where b.CheckTypeName=:billType order by b.Id, a.ID"),
        {{QStringLiteral("id"), templateId}, {QStringLiteral("billType"), billType}});
    QList<DesignControl> controls;
    QHash<QString, bool> seen;
    while (rows.next()) {
        DesignControl control;
        control.name = rows.value(0).toString();
        // A second layout row of the same item adds no control.
        if (seen.contains(control.name.toUpper()))
            continue;
        seen.insert(control.name.toUpper(), true);
        control.label = rows.value(1).toString();
        control.type = trimText(rows.value(2).toString()).toUpper();
        if (control.type.isEmpty())
            control.type = QStringLiteral("TEXT");
        control.hasLayout = !rows.value(3).isNull();
        if (control.hasLayout) {
            control.box = QRect(rows.value(4).toInt(), rows.value(5).toInt(), rows.value(6).toInt(), rows.value(7).toInt());
            control.shown = rows.value(8).toInt() > 0;
            control.initValue = rows.value(9).toString();
        }
        controls << control;
    }
    return controls;
}

QStringList designItemLabels(Database& db, const QString& billType)
{
    return db.textColumn(QStringLiteral("select CtlLabel from NameDict where CheckTypeName=:billType order by ShowOrd desc, Id"),
                         {{QStringLiteral("billType"), billType}});
}

QString itemNameByLabel(Database& db, const QString& billType, const QString& label)
{
    return db.scalar(QStringLiteral("select CtlName from NameDict where CheckTypeName=:billType and CtlLabel=:label "
                                    "order by Id limit 1"),
                     {{QStringLiteral("billType"), billType}, {QStringLiteral("label"), label}})
        .toString();
}

namespace {

// The row's values as the adjustment writes them.
SqlParams settingsValues(const ItemSettings& settings)
{
    const QString font = trimText(settings.fontName).isEmpty() ? QStringLiteral("宋体") : settings.fontName;
    return {{QStringLiteral("CtlX"), settings.x},
            {QStringLiteral("CtlY"), settings.y},
            {QStringLiteral("CtlLH"), settings.lineHeight},
            {QStringLiteral("SrcX"), settings.srcX},
            {QStringLiteral("SrcY"), settings.srcY},
            {QStringLiteral("SrcW"), settings.srcW},
            {QStringLiteral("SrcH"), settings.srcH},
            {QStringLiteral("NeedPrint"), settings.hidden ? 0 : 1},
            {QStringLiteral("NeedShow"), settings.hidden ? 0 : 1},
            {QStringLiteral("CtlFontName"), font},
            {QStringLiteral("CtlFontSize"), settings.fontSize},
            {QStringLiteral("InitValue"), trimText(settings.initValue)},
            {QStringLiteral("Bold"), settings.bold ? 1 : 0},
            {QStringLiteral("Italic"), settings.italic ? 1 : 0},
            {QStringLiteral("UnderLine"), settings.underline ? 1 : 0},
            {QStringLiteral("FitParam"), settings.cells ? QString::number(settings.cellWidth) : QString()},
            {QStringLiteral("BreakFontSize"), settings.breaking ? settings.breakFontSize : 0},
            {QStringLiteral("BreakNum"), settings.breaking ? QString::number(settings.breakCount) : QString()}};
}

} // namespace

std::optional<ItemSettings> loadItemSettings(Database& db, int templateId, const QString& item)
{
    SqlQuery row = db.query(QStringLiteral("select CtlX, CtlY, SrcX, SrcY, SrcW, SrcH, InitValue, CtlFontSize, CtlFontName, "
                                           "NeedShow, Bold, Italic, UnderLine, BreakFontSize, CtlLH, BreakNum, FitParam "
                                           "from CKControl where CheckTypeId=:id and CtlName=:item order by ID limit 1"),
                            {{QStringLiteral("id"), templateId}, {QStringLiteral("item"), item}});
    if (!row.next())
        return std::nullopt;
    ItemSettings settings;
    settings.x = row.value(0).toInt();
    settings.y = row.value(1).toInt();
    settings.srcX = row.value(2).toInt();
    settings.srcY = row.value(3).toInt();
    settings.srcW = row.value(4).toInt();
    settings.srcH = row.value(5).toInt();
    settings.initValue = row.value(6).toString();
    settings.fontSize = row.value(7).toInt();
    settings.fontName = row.value(8).toString();
    settings.hidden = row.value(9).toInt() <= 0;
    settings.bold = row.value(10).toInt() > 0;
    settings.italic = row.value(11).toInt() > 0;
    settings.underline = row.value(12).toInt() > 0;
    const int breakFont = row.value(13).toInt();
    settings.breakFontSize = breakFont < 6 ? 10 : breakFont;
    const int lineHeight = row.value(14).toInt();
    settings.lineHeight = lineHeight <= 0 ? 50 : lineHeight;
    const QString breakNum = trimText(row.value(15).toString());
    settings.breaking = !breakNum.isEmpty();
    settings.breakCount = settings.breaking ? breakNum.toInt() : 60;
    const QString fit = trimText(row.value(16).toString());
    settings.cells = !fit.isEmpty();
    settings.cellWidth = settings.cells ? fit.toInt() : 20;
    return settings;
}

SettingsSave saveItemSettings(Database& db, int templateId, const QString& item, const QString& caption,
                              const ItemSettings& settings)
{
    const SqlParams values = settingsValues(settings);
    const QStringList columns = values.keys();
    SqlQuery row = db.query(QStringLiteral("select %1 from CKControl where CheckTypeId=:id and CtlName=:item order by ID limit 1")
                                .arg(columns.join(QStringLiteral(", "))),
                            {{QStringLiteral("id"), templateId}, {QStringLiteral("item"), item}});
    SqlParams params = values;
    params.insert(QStringLiteral("id"), templateId);
    params.insert(QStringLiteral("item"), item.toUpper());
    if (row.next()) {
        bool same = true;
        for (qsizetype i = 0; i < columns.size() && same; ++i)
            same = row.value(int(i)).toString() == values.value(columns[i]).toString();
        if (same)
            return SettingsSave::Unchanged;
        QStringList assignments;
        for (const QString& column : columns)
            assignments << column + QStringLiteral("=:") + column;
        db.execute(QStringLiteral("update CKControl set %1 where CheckTypeId=:id and CtlName=:item")
                       .arg(assignments.join(QStringLiteral(", "))),
                   params);
        return SettingsSave::Updated;
    }
    params.insert(QStringLiteral("SrcW"), 100);
    params.insert(QStringLiteral("SrcH"), 20);
    params.insert(QStringLiteral("BreakFontSize"), settings.breakFontSize);
    params.insert(QStringLiteral("caption"), caption);
    QStringList names;
    for (const QString& column : columns)
        names << QLatin1Char(':') + column;
    // The item's kind comes from its dictionary row, so that it prints as what it is.
    db.execute(QStringLiteral("insert into CKControl (CheckTypeId, CtlName, CtlCName, CtlType, %1) select :id, :item, "
                              ":caption, (select CtlType from NameDict where CtlName=:item order by Id limit 1), %2")
                   .arg(columns.join(QStringLiteral(", ")), names.join(QStringLiteral(", "))),
               params);
    return SettingsSave::Inserted;
}

QString cleanTickTitles(const QString& typed)
{
    QString text = trimText(typed);
    for (const QString& dropped : {QStringLiteral("("), QStringLiteral(")"), QStringLiteral("（"), QStringLiteral("）"),
                                   QStringLiteral("'"), QStringLiteral("%"), QStringLiteral("*"), QStringLiteral("?"),
                                   QStringLiteral(" "), QStringLiteral("　")})
        text.remove(dropped);
    text.replace(QStringLiteral("，"), QStringLiteral(","));
    return text;
}

void storeTickTitles(Database& db, int templateId, const QString& titles)
{
    db.execute(QStringLiteral("update ckTypeTable set CheckBoxs=:titles where CheckTypeId=:id"),
               {{QStringLiteral("titles"), titles}, {QStringLiteral("id"), templateId}});
}

QPoint keptOnPicture(QPoint topLeft, QPoint delta, QSize picture)
{
    const QPoint moved = topLeft + delta;
    return {std::clamp(moved.x(), 10, std::max(10, picture.width() - 10)),
            std::clamp(moved.y(), 10, std::max(10, picture.height() - 10))};
}

std::optional<int> nudgedPrintPosition(int value, int delta)
{
    if (delta < 0)
        return value > 9 ? std::optional<int>(value - 10) : std::nullopt;
    return value <= 3500 ? std::optional<int>(value + 10) : std::nullopt;
}

} // namespace slipcraft
