#include "dictionaries/DictionaryTable.h"

#include "data/Database.h"
#include "wording/Functions.h"

namespace slipcraft {

namespace {
const QString kCaption = QStringLiteral("提示");
} // namespace

DictionaryTable::DictionaryTable(Database& db)
    : db_(db)
{
}

QStringList DictionaryTable::names(int workingId)
{
    const QString sql = QStringLiteral("select distinct DMName from DMTable where CheckTypeId=:id "
                                       "and DMName not like :options order by DMName");
    const QString options = QStringLiteral("cfg%");
    QStringList found = db_.textColumn(sql, {{QStringLiteral("id"), workingId}, {QStringLiteral("options"), options}});
    if (found.isEmpty() && workingId != 0)
        found = db_.textColumn(sql, {{QStringLiteral("id"), 0}, {QStringLiteral("options"), options}});
    return found;
}

QString DictionaryTable::rowsStatement(bool withShared)
{
    return QStringLiteral("select ID, DMName, DMValue, CheckTypeId from DMTable where DMName=:name and ")
        + (withShared ? QStringLiteral("(CheckTypeId=:id or CheckTypeId=0)") : QStringLiteral("CheckTypeId=:id"))
        + QStringLiteral(" order by DMValue");
}

QList<DictionaryRow> DictionaryTable::rows(const QString& name, int workingId, bool withShared)
{
    SqlQuery query = db_.query(rowsStatement(withShared), {{QStringLiteral("name"), name}, {QStringLiteral("id"), workingId}});
    QList<DictionaryRow> found;
    while (query.next())
        found.append({query.value(0).toInt(), query.value(1).toString(), query.value(2).toString(), query.value(3).toInt()});
    return found;
}

EditorReply DictionaryTable::addName(int workingId, const QString& typedName)
{
    const QString name = trimText(typedName);
    if (name.isEmpty())
        return {EditorReply::Refused, QStringLiteral("请输入字典名称"), kCaption};
    const SqlParams params{{QStringLiteral("id"), workingId}, {QStringLiteral("name"), name}};
    if (db_.scalar(QStringLiteral("select count(*) from DMTable where CheckTypeId=:id and DMName=:name"), params).toInt() > 0)
        return {EditorReply::Refused, QStringLiteral("字典项目【") + name + QStringLiteral("】已经存在"), kCaption};
    SqlParams insert = params;
    insert.insert(QStringLiteral("value"), QStringLiteral("<空>"));
    db_.execute(QStringLiteral("insert into DMTable (CheckTypeId, DMName, DMValue) values (:id, :name, :value)"), insert);
    return {EditorReply::Done, {}, {}};
}

void DictionaryTable::store(const QList<DictionaryRow>& rows)
{
    db_.inTransaction([&] {
        for (const DictionaryRow& row : rows) {
            if (row.id > 0) {
                db_.execute(QStringLiteral("update DMTable set DMValue=:value where ID=:id"),
                            {{QStringLiteral("value"), row.value}, {QStringLiteral("id"), row.id}});
            } else {
                db_.execute(QStringLiteral("insert into DMTable (CheckTypeId, DMName, DMValue) values (:type, :name, :value)"),
                            {{QStringLiteral("type"), row.checkTypeId},
                             {QStringLiteral("name"), row.name},
                             {QStringLiteral("value"), row.value}});
            }
        }
    });
}

void DictionaryTable::remove(int id)
{
    db_.execute(QStringLiteral("delete from DMTable where ID=:id"), {{QStringLiteral("id"), id}});
}

} // namespace slipcraft
