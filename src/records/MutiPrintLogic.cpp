#include "records/MutiPrintLogic.h"

#include "data/DBTable.h"
#include "parties/DAOPerson.h"
#include "wording/Functions.h"

#include <QSqlError>
#include <QSqlQueryModel>
#include <QSqlRecord>

namespace slipcraft {

namespace batchlist {

QStringList tableColumns(Database& db, const QString& table)
{
    return db.textColumn(QStringLiteral("select name from pragma_table_info(:table)"), {{QStringLiteral("table"), table}});
}

QString Query::statement() const
{
    return QStringLiteral("select * from ") + table + condition + order;
}

QString Query::countStatement() const
{
    return QStringLiteral("select count(*) from ") + table + condition;
}

namespace {

// The table's own spelling of a column, empty for a name that is not one.
QString columnNamed(const QStringList& columns, const QString& name)
{
    for (const QString& column : columns) {
        if (column.compare(name, Qt::CaseInsensitive) == 0)
            return column;
    }
    return {};
}

} // namespace

Query build(const Filter& filter, const QStringList& columns)
{
    Query query;
    if (filter.group.isEmpty()) {
        query.condition = QStringLiteral(" where (trim(批打分组)='' or 批打分组 is null)");
    } else if (filter.group == kAllLists) {
        query.condition = QStringLiteral(" where 1=1");
    } else {
        query.condition = QStringLiteral(" where (批打分组=:group)");
        query.params.insert(QStringLiteral("group"), filter.group);
    }
    const QString keyword = keywordCondition(filter.fields, filter.mode, filter.keyword, columns, query.params);
    if (!keyword.isEmpty())
        query.condition += QStringLiteral(" and ") + keyword;
    query.order = orderBy(filter.sortColumn, filter.descending, columns);
    return query;
}

QString keywordCondition(const QString& fields, const QString& mode, const QString& keyword, const QStringList& columns,
                         SqlParams& params)
{
    const QString key = trimText(keyword);
    if (key.isEmpty())
        return {};
    QStringList parts;
    for (const QString& field : fields.split(QLatin1Char('|'))) {
        const QString column = columnNamed(columns, trimText(field));
        if (column.isEmpty())
            continue;
        parts << (mode == kEquals ? QStringLiteral("(%1=:key)") : QStringLiteral("(%1 like :key)"))
                     .arg(TDBTable::quoted(column));
    }
    params.insert(QStringLiteral("key"), mode == kEquals ? key : QLatin1Char('%') + key + QLatin1Char('%'));
    // A keyword in no known column finds nothing.
    return parts.isEmpty() ? QStringLiteral("(0=1)") : QLatin1Char('(') + parts.join(QStringLiteral(" or ")) + QLatin1Char(')');
}

QString orderBy(const QString& sortColumn, bool descending, const QStringList& columns)
{
    QString sort = columnNamed(columns, trimText(sortColumn));
    if (sort.isEmpty())
        sort = kKey;
    return QStringLiteral(" order by ") + TDBTable::quoted(sort) + (descending ? QStringLiteral(" DESC") : QStringLiteral(" ASC"));
}

QStringList filterFieldChoices(const QStringList& columns)
{
    QStringList choices{QStringLiteral("联系人|全称|电话"), QStringLiteral("电话|手机"), QStringLiteral("省|市|镇区")};
    choices += columns.mid(1);
    return choices;
}

QStringList groups(Database& db)
{
    QStringList found;
    for (const QString& group : db.textColumn(QStringLiteral("select distinct 批打分组 from ReceiverList "
                                                             "where 批打分组 is not null order by 批打分组"))) {
        if (!trimText(group).isEmpty())
            found << group;
    }
    return found;
}

int load(Database& db, QSqlQueryModel& model, const Query& query)
{
    const int rows = db.scalar(query.countStatement(), query.params).toInt();
    model.setQuery(db.query(query.statement(), query.params, SqlQuery::Rows::Scrollable).release());
    if (model.lastError().isValid())
        throw DatabaseError(model.lastError().databaseText());
    return rows;
}

QList<std::pair<QString, QString>> parcelColumns()
{
    static const std::pair<const char*, const char*> columns[] = {
        {"目的站", "cbDestSite"},  {"内件说明", "zdWPNR"},     {"金额大写1", "zdJEDX1"},   {"件数", "edtAmount"},
        {"重量", "edtWeight"},     {"费用", "edtMoney"},       {"备注", "zdBz"},           {"代收金额", "zdDaisJE"},
        {"手续费", "zdShouxuFee"}, {"体积", "zdTiJi"},         {"保价金额", "zdBJJE"},     {"保价费", "zdBJFee"},
        {"运费", "zdYunFee"},      {"送货费", "zdSongHFee"},   {"加急费", "zdJiaJiFee"},   {"其他费", "zdQiTaFee"},
        {"包装费", "zdBaoZFee"},   {"自定义3", "zdDef3"},      {"自定义4", "zdDef4"},      {"自定义5", "zdDef5"},
    };
    QList<std::pair<QString, QString>> list;
    for (const auto& [column, box] : columns)
        list.append({QString::fromUtf8(column), QString::fromLatin1(box)});
    return list;
}

} // namespace batchlist

bool addReceiverAndGoods(Database& db, const TPersonKDD* person)
{
    if (!person
        || (person->getContactor().isEmpty() && person->getFullName().isEmpty() && person->getAddress().isEmpty()))
        return false;
    db.execute(QStringLiteral("insert into ReceiverList (全称,省,市,地址,镇区,电话,联系人,邮编,手机,国家,内件说明,备注,目的站,"
                              "批打分组) values (:name,:province,:city,:address,:town,:phone,:contact,:postcode,:mobile,"
                              ":country,:goods,:remark,:destination,'')"),
               {{QStringLiteral("name"), person->getFullName()},
                {QStringLiteral("province"), person->getProvince()},
                {QStringLiteral("city"), person->getCity()},
                {QStringLiteral("address"), person->getAddress()},
                {QStringLiteral("town"), person->getTown()},
                {QStringLiteral("phone"), person->getPhone()},
                {QStringLiteral("contact"), person->getContactor()},
                {QStringLiteral("postcode"), person->getZipcode()},
                {QStringLiteral("mobile"), person->getHandset()},
                {QStringLiteral("country"), person->getCountry()},
                {QStringLiteral("goods"), person->getContents()},
                {QStringLiteral("remark"), person->getRemark()},
                {QStringLiteral("destination"), person->getDestStation()}});
    return true;
}

void clearReceivers(Database& db)
{
    db.inTransaction([&db] {
        db.execute(QStringLiteral("delete from ReceiverList"));
        db.execute(QStringLiteral("delete from sqlite_sequence where name='ReceiverList'"));
    });
}

int rewriteColumn(Database& db, const batchlist::Query& listed, const QString& target, const QStringList& parts)
{
    const QStringList columns = batchlist::tableColumns(db, listed.table);
    const auto column = [&columns](const QString& name) {
        for (const QString& known : columns) {
            if (known.compare(name, Qt::CaseInsensitive) == 0)
                return known;
        }
        throw DatabaseError(QStringLiteral("没有列：") + name);
    };
    const QString written = column(target);
    if (written.compare(batchlist::kKey, Qt::CaseInsensitive) == 0)
        throw DatabaseError(QStringLiteral("不能改写列：") + written);

    SqlParams params = listed.params;
    QStringList operands;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QString part = parts[i];
        if (part.contains(QLatin1Char('@'))) {
            operands << QStringLiteral("coalesce(%1,'')").arg(TDBTable::quoted(column(QString(part).remove(QLatin1Char('@')))));
        } else if (part.isEmpty()) {
            operands << QStringLiteral("''");
        } else {
            const QString key = QStringLiteral("part%1").arg(i);
            operands << QLatin1Char(':') + key;
            params.insert(key, part);
        }
    }
    if (operands.isEmpty())
        operands << QStringLiteral("''");
    return db.execute(QStringLiteral("update ") + listed.table + QStringLiteral(" set ") + TDBTable::quoted(written)
                          + QLatin1Char('=') + operands.join(QStringLiteral(" || ")) + listed.condition,
                      params);
}

QHash<QString, QString> batchRow(Database& db, const QString& table, qint64 id)
{
    QHash<QString, QString> values;
    SqlQuery row = db.query(QStringLiteral("select * from ") + table + QStringLiteral(" where ID=:id"), {{QStringLiteral("id"), id}});
    if (!row.next())
        return values;
    const QSqlRecord record = row.record();
    for (int i = 0; i < record.count(); ++i)
        values.insert(record.fieldName(i), record.isNull(i) ? QString() : record.value(i).toString());
    return values;
}

} // namespace slipcraft
