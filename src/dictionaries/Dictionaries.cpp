#include "dictionaries/Dictionaries.h"

#include "data/Database.h"
#include "wording/Functions.h"

namespace slipcraft {

QStringList loadDMListByName(Database& db, const QString& name, const QString& idsText)
{
    SqlParams params{{QStringLiteral("name"), name}};
    QStringList placeholders;
    for (const QString& piece : idsText.split(QLatin1Char(','))) {
        bool ok = false;
        const int id = trimText(piece).toInt(&ok);
        if (!ok)
            continue;
        const QString key = QStringLiteral("id%1").arg(placeholders.size());
        placeholders << QLatin1Char(':') + key;
        params.insert(key, id);
    }
    if (placeholders.isEmpty())
        return {};
    try {
        return db.textColumn(QStringLiteral("select DMValue from DMTable where DMName=:name and CheckTypeId in (")
                                 + placeholders.join(QLatin1Char(','))
                                 + QStringLiteral(") group by DMValue, CheckTypeId order by CheckTypeId desc, min(ID)"),
                             params);
    } catch (const DatabaseError&) {
        return {};
    }
}

QStringList loadProvinces(Database& db)
{
    try {
        return db.textColumn(QStringLiteral("select distinct 一级代码 from DMTable2 where 类型=:kind order by 一级代码"),
                             {{QStringLiteral("kind"), QStringLiteral("省市")}});
    } catch (const DatabaseError&) {
        return {};
    }
}

QStringList loadCitysByProvince(Database& db, const QString& province)
{
    const QString trimmed = trimText(province);
    if (trimmed.isEmpty())
        return {};
    try {
        return db.textColumn(QStringLiteral("select distinct 二级代码 from DMTable2 where 类型=:kind and 一级代码=:province "
                                            "order by 二级代码"),
                             {{QStringLiteral("kind"), QStringLiteral("省市")}, {QStringLiteral("province"), trimmed}});
    } catch (const DatabaseError&) {
        return {};
    }
}

} // namespace slipcraft
