#include "parties/PersonManageLogic.h"

#include "shell/AppContext.h"
#include "wording/Functions.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlQueryModel>

namespace slipcraft {

namespace {

const QString kTable = QStringLiteral("CKPersonalInfoTable");
const QString kCaption = QStringLiteral("提示");

// The columns a keyword is looked for in.
const TPerson::Field kKeywordFields[] = {
    TPerson::FullName, TPerson::Contactor, TPerson::Phone,    TPerson::Handset,
    TPerson::BankAcct, TPerson::Province,  TPerson::InputCode, TPerson::Address,
};

// What a bill's party may bring into the editor; identity, code, group and remark stay.
const TPerson::Field kOverlaidFields[] = {
    TPerson::FullName, TPerson::Country,  TPerson::Handset,  TPerson::Contactor, TPerson::Address,
    TPerson::Phone,    TPerson::Province, TPerson::City,     TPerson::Town,      TPerson::Zipcode,
    TPerson::Bank,     TPerson::BankAcct, TPerson::BankAddr, TPerson::BankNo,    TPerson::Def1,
    TPerson::Def2,     TPerson::Def3,
};

// Containment as typed: "%", "_" and the escape mark itself match only themselves.
QString containing(const QString& text)
{
    QString escaped = text;
    escaped.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    escaped.replace(QLatin1Char('%'), QStringLiteral("\\%"));
    escaped.replace(QLatin1Char('_'), QStringLiteral("\\_"));
    return QLatin1Char('%') + escaped + QLatin1Char('%');
}

QString likeCondition(const QString& column, const QString& parameter)
{
    return column + QStringLiteral(" like :") + parameter + QStringLiteral(" escape '\\'");
}

// The direction as a statement may carry it, empty when it is none of the two.
QString knownDirection(const QString& direction)
{
    const QString upper = trimText(direction).toUpper();
    return upper == personlist::kAscending || upper == personlist::kDescending ? upper : QString();
}

QString knownColumn(const QString& column)
{
    const QString trimmed = trimText(column);
    return personlist::isTableColumn(trimmed) ? trimmed : QString();
}

void appendCondition(QString& condition, const QString& part)
{
    condition += condition.isEmpty() ? QStringLiteral(" where ") + part : QStringLiteral(" and (") + part + QStringLiteral(") ");
}

} // namespace

PartyEvents& partyEvents(AppContext& context)
{
    auto* events = context.findChild<PartyEvents*>(QString(), Qt::FindDirectChildrenOnly);
    return events ? *events : *new PartyEvents(&context);
}

namespace personlist {

QStringList searchableColumns()
{
    QStringList columns;
    for (int field = 0; field < TPerson::kFieldCount; ++field)
        columns << TPerson::columnName(TPerson::Field(field));
    return columns;
}

bool isTableColumn(const QString& column)
{
    // The names are Chinese and the three Latin ones are compared as the engine does.
    return column.compare(QStringLiteral("ID"), Qt::CaseInsensitive) == 0 || column == QStringLiteral("排序")
        || searchableColumns().contains(column, Qt::CaseInsensitive);
}

QString Query::statement() const
{
    return QStringLiteral("select * from ") + kTable + condition + order;
}

QString Query::countStatement() const
{
    return QStringLiteral("select count(*) from ") + kTable + condition;
}

Query build(Filter& filter)
{
    if (filter.group.isEmpty())
        filter.group = kAllGroups;
    const QString keyword = trimText(filter.keyword);
    if (keyword.isEmpty() && filter.group == kAllGroups && filter.unitType.isEmpty() && filter.advancedKey.isEmpty())
        return showAll(filter);

    Query query;
    if (filter.advanced) {
        const QString column = knownColumn(filter.advancedColumn);
        if (column.isEmpty()) {
            query.outcome = Query::Refused;
            query.refusal = QStringLiteral("请选择查询的数据列！");
            query.focus = Query::ColumnBox;
            return query;
        }
        if (filter.advancedKey.isEmpty()) {
            query.outcome = Query::Refused;
            query.refusal = QStringLiteral("请选择查询的关键词！");
            query.focus = Query::KeyBox;
            return query;
        }
        if (filter.advancedMode == kEquals) {
            query.condition = QStringLiteral(" where (") + column + QStringLiteral("=:key) ");
            query.params.insert(QStringLiteral("key"), filter.advancedKey);
        } else {
            query.condition = QStringLiteral(" where (") + likeCondition(column, QStringLiteral("key")) + QStringLiteral(") ");
            query.params.insert(QStringLiteral("key"), containing(filter.advancedKey));
        }
    } else if (!keyword.isEmpty()) {
        filter.unitType.clear();
        QStringList alternatives;
        for (TPerson::Field field : kKeywordFields)
            alternatives << likeCondition(TPerson::columnName(field), QStringLiteral("keyword"));
        query.condition = QStringLiteral(" where (") + alternatives.join(QStringLiteral(" or ")) + QStringLiteral(") ");
        query.params.insert(QStringLiteral("keyword"), containing(keyword));
    }
    if (!filter.unitType.isEmpty()) {
        appendCondition(query.condition, QStringLiteral("单位类型=:unitType"));
        query.params.insert(QStringLiteral("unitType"), filter.unitType);
    }
    if (filter.group != kAllGroups) {
        appendCondition(query.condition, QStringLiteral("分组=:group"));
        query.params.insert(QStringLiteral("group"), filter.group);
    }
    const QString column = knownColumn(filter.sortColumn);
    const QString direction = knownDirection(filter.sortDirection);
    query.order = QStringLiteral(" order by ") + (column.isEmpty() ? QStringLiteral("全称") : column) + QLatin1Char(' ')
        + (direction.isEmpty() ? kDescending : direction);
    return query;
}

Query showAll(const Filter& filter)
{
    QString column = knownColumn(filter.sortColumn);
    QString direction = knownDirection(filter.sortDirection);
    if (column.isEmpty() || direction.isEmpty()) {
        column = QStringLiteral("排序,全称");
        direction = kDescending;
    }
    Query query;
    query.showAll = true;
    query.order = QStringLiteral(" order by ") + column + QLatin1Char(' ') + direction;
    return query;
}

QString nextSortDirection(const QString& current)
{
    return current == kAscending ? kDescending : kAscending;
}

NodeChoice chooseNode(Filter& filter, const QStringList& path)
{
    filter.keyword.clear();
    filter.advancedKey.clear();
    filter.group.clear();
    filter.unitType.clear();
    if (path.isEmpty())
        return {};
    const QString& top = path.first();
    if (path.size() == 1) {
        if (top == TPerson::kOwnUnit || top == TPerson::kCounterpartUnit)
            filter.unitType = top;
        else if (top == TPerson::kDefaultDrawerGroup)
            filter.group = top;
        else if (top == kByRegion || top == kByOtherGroup)
            return {};
    } else if (top == kByRegion) {
        filter.keyword = path.mid(1).join(QLatin1Char('\\'));
    } else if (top == kByOtherGroup) {
        filter.group = path.mid(1).join(QLatin1Char('\\'));
    }
    return {true, QStringLiteral("【") + path.join(QLatin1Char('\\')) + QStringLiteral("】")};
}

int load(Database& db, QSqlQueryModel& model, const Query& query)
{
    const int rows = db.scalar(query.countStatement(), query.params).toInt();
    model.setQuery(db.query(query.statement(), query.params, SqlQuery::Rows::Scrollable).release());
    if (model.lastError().isValid())
        throw DatabaseError(model.lastError().databaseText());
    return rows;
}

} // namespace personlist

QString deleteAllQuestion(const QString& unitType)
{
    return QStringLiteral("警告:此操作将删除所有") + unitType
        + QStringLiteral("的资料,且不可恢复,建议此操作在导出备份后进行!确定立即清空吗？");
}

int deleteAllPersons(Database& db, const QString& unitType)
{
    const QString type = trimText(unitType);
    if (type.isEmpty())
        return db.execute(QStringLiteral("delete from ") + kTable);
    return db.execute(QStringLiteral("delete from ") + kTable + QStringLiteral(" where 单位类型=:type"),
                      {{QStringLiteral("type"), type}});
}

void setDefaultDrawer(Database& db, int id)
{
    db.inTransaction([&] {
        db.execute(QStringLiteral("update ") + kTable + QStringLiteral(" set 分组='' where 分组=:drawer"),
                   {{QStringLiteral("drawer"), TPerson::kDefaultDrawerGroup}});
        db.execute(QStringLiteral("update ") + kTable + QStringLiteral(" set 分组=:drawer, 单位类型=:own where ID=:id"),
                   {{QStringLiteral("drawer"), TPerson::kDefaultDrawerGroup},
                    {QStringLiteral("own"), TPerson::kOwnUnit},
                    {QStringLiteral("id"), id}});
    });
}

EditorReply savePersonRecord(Database& db, TPerson& person, bool wasStored)
{
    try {
        if (person.save(db) <= 0)
            return {EditorReply::Failed, QStringLiteral("数据添加或更新失败！"), kCaption};
        return {EditorReply::Done,
                wasStored ? QStringLiteral("历史单位资料资料更新成功！") : QStringLiteral("新增单位资料添加成功！"), kCaption};
    } catch (const DatabaseError& error) {
        return {EditorReply::Failed, QStringLiteral("添加更新失败，Error=") + error.text(), kCaption};
    }
}

TPerson addressBookEntry(Database& db, const TPerson& party)
{
    TPerson entry;
    const std::unique_ptr<TPerson> found = findAddressBookMatch(db, party);
    if (found && found->getID() > 0)
        entry = *found;
    else
        entry.clear();
    for (TPerson::Field field : kOverlaidFields) {
        if (!party.text(field).isEmpty())
            entry.setText(field, party.text(field));
    }
    entry.setUnitType(party.getUnitType() == TPerson::kCounterpartUnit ? TPerson::kCounterpartUnit : TPerson::kOwnUnit);
    return entry;
}

} // namespace slipcraft
