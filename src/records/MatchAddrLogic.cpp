#include "records/MatchAddrLogic.h"

#include "data/Database.h"
#include "platform/Gbk.h"
#include "wording/Functions.h"

namespace slipcraft {

QString addressInputFromClipboard(const QString& clipboard)
{
    const int bytes = gbk::width(clipboard);
    if (trimText(clipboard).isEmpty() || bytes < 20)
        return QStringLiteral("剪切板中没有复制地址内容~");
    if (bytes > 2048)
        return QStringLiteral("剪切板数据过长，Marrowind处理不了！");
    return clipboard;
}

QString completeAddress(const QString& address, const QString& province, const QString& city, const QString& town,
                        bool withRegion)
{
    if (withRegion) {
        QString body = trimText(address);
        const qsizetype space = body.indexOf(QLatin1Char(' '));
        if (space >= 0)
            body.remove(space, 1);
        QString prefix;
        for (const QString& part : {province, city, town})
            if (!part.isEmpty() && !body.contains(part) && !prefix.contains(part))
                prefix += part;
        return prefix + trimText(address);
    }
    QString text = address;
    for (const QString& part : {province, city, town}) {
        if (part.isEmpty())
            continue;
        const qsizetype at = text.indexOf(part);
        if (at >= 0)
            text.remove(at, part.size());
        text = trimText(text);
        while (text.startsWith(QLatin1Char(',')) || text.startsWith(QChar(0xFF0C)))
            text = trimText(text.mid(1));
    }
    return text;
}

QList<std::pair<QString, QString>> loadCharacterPairs(Database& db)
{
    QList<std::pair<QString, QString>> pairs;
    SqlQuery rows = db.query(QStringLiteral("select 一级代码, 二级代码 from DMTable2 where 类型=:type order by rowid"),
                             {{QStringLiteral("type"), QStringLiteral("其他字符")}});
    while (rows.next())
        if (!rows.value(0).toString().isEmpty())
            pairs.append({rows.value(0).toString(), rows.value(1).toString()});
    return pairs;
}

QStringList loadRemarkList(Database& db, RemarkList list)
{
    switch (list) {
    case RemarkList::Dictionary:
        return db.textColumn(QStringLiteral("select distinct DMValue from DMTable where DMName in ('附注内容', '备注', "
                                            "'物品内容') and coalesce(DMValue, '') <> '' limit 200"));
    case RemarkList::HistoryGoods:
        return db.textColumn(QStringLiteral("select distinct 物品内容 from DataKDDTable where coalesce(物品内容, '') <> '' "
                                            "limit 200"));
    case RemarkList::HistoryRemarks:
        return db.textColumn(QStringLiteral("select distinct 备注 from DataKDDTable where coalesce(备注, '') <> '' "
                                            "limit 200"));
    }
    return {};
}

RemarkSaved saveRemark(Database& db, const QString& remark)
{
    const QString text = trimText(remark);
    if (text.isEmpty())
        return RemarkSaved::Empty;
    const SqlParams value{{QStringLiteral("value"), text}};
    if (db.scalar(QStringLiteral("select count(*) from DMTable where CheckTypeId=0 and DMName in ('附注内容', '备注', "
                                 "'物品内容') and DMValue=:value"),
                  value)
            .toInt()
        > 0)
        return RemarkSaved::Exists;
    db.execute(QStringLiteral("insert into DMTable (CheckTypeId, DMName, DMValue) values (0, '附注内容', :value)"), value);
    return RemarkSaved::Added;
}

} // namespace slipcraft
