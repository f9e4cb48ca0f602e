#include "parties/DAOPerson.h"

#include "data/Database.h"
#include "wording/Functions.h"

namespace slipcraft {

namespace {

const QString kTable = QStringLiteral("CKPersonalInfoTable");

const std::array<QString, TPerson::kFieldCount> kColumns = {
    QStringLiteral("全称"),     QStringLiteral("识别号"),   QStringLiteral("助记码"),
    QStringLiteral("联系人"),   QStringLiteral("开户银行"), QStringLiteral("开户行账号"),
    QStringLiteral("开户行地址"), QStringLiteral("开户行行号"), QStringLiteral("电话"),
    QStringLiteral("手机"),     QStringLiteral("邮编"),     QStringLiteral("国家"),
    QStringLiteral("地址"),     QStringLiteral("省"),       QStringLiteral("市"),
    QStringLiteral("镇区"),     QStringLiteral("分组"),     QStringLiteral("单位类型"),
    QStringLiteral("自定义1"),  QStringLiteral("自定义2"),  QStringLiteral("自定义3"),
    QStringLiteral("扩展信息"),
};

QString parameterName(int field)
{
    return QStringLiteral("f%1").arg(field);
}

void fill(TPerson& person, const SqlQuery& row)
{
    person.setID(row.value(QStringLiteral("ID")).toInt());
    for (int field = 0; field < TPerson::kFieldCount; ++field)
        person.setText(TPerson::Field(field), row.value(kColumns[field]).toString());
}

// The first matching row by ID; the condition is the program's own text, values bound.
std::unique_ptr<TPerson> findFirst(Database& db, const QString& condition, const SqlParams& params)
{
    try {
        SqlQuery row = db.query(QStringLiteral("select * from ") + kTable + QStringLiteral(" where ")
                                    + condition + QStringLiteral(" order by ID limit 1"),
                                params);
        if (!row.next())
            return nullptr;
        auto person = std::make_unique<TPerson>();
        fill(*person, row);
        return person;
    } catch (const DatabaseError&) {
        return nullptr;
    }
}

std::unique_ptr<TPerson> findByColumns(Database& db, const QStringList& columns, const QStringList& values)
{
    if (values.first().isEmpty())
        return nullptr;
    QStringList conditions;
    SqlParams params;
    for (int i = 0; i < columns.size(); ++i) {
        const QString name = QStringLiteral("v%1").arg(i);
        conditions << columns[i] + QStringLiteral("=:") + name;
        params.insert(name, values[i]);
    }
    return findFirst(db, conditions.join(QStringLiteral(" and ")), params);
}

// Only the user's own marks widen a code search: an "_" in the code is literal. The
// marks are gone by now, so "%" never reaches here.
QString likeContaining(const QString& text)
{
    QString escaped = text;
    escaped.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    escaped.replace(QLatin1Char('_'), QStringLiteral("\\_"));
    return QLatin1Char('%') + escaped + QLatin1Char('%');
}

QStringList withoutBlanks(const QStringList& values)
{
    QStringList kept;
    for (const QString& value : values) {
        if (!trimText(value).isEmpty())
            kept << value;
    }
    return kept;
}

} // namespace

QString TPerson::columnName(Field field)
{
    return kColumns[field];
}

void TPerson::clear()
{
    ID_ = -1;
    for (QString& text : texts_)
        text.clear();
}

int TPerson::loadByID(Database& db)
{
    if (ID_ <= 0)
        return -1;
    try {
        SqlQuery row = db.query(QStringLiteral("select * from ") + kTable + QStringLiteral(" where ID=:id"),
                                {{QStringLiteral("id"), ID_}});
        if (!row.next())
            return 0;
        fill(*this, row);
        return 1;
    } catch (const DatabaseError&) {
        return -1;
    }
}

int TPerson::save(Database& db)
{
    SqlParams params;
    QStringList assignments;
    QStringList placeholders;
    for (int field = 0; field < kFieldCount; ++field) {
        params.insert(parameterName(field), texts_[field]);
        assignments << kColumns[field] + QStringLiteral("=:") + parameterName(field);
        placeholders << QLatin1Char(':') + parameterName(field);
    }
    if (ID_ > 0) {
        SqlParams update = params;
        update.insert(QStringLiteral("id"), ID_);
        if (db.execute(QStringLiteral("update ") + kTable + QStringLiteral(" set ")
                           + assignments.join(QLatin1Char(',')) + QStringLiteral(" where ID=:id"),
                       update)
            > 0)
            return 1;
    }
    // Keeping the new ID makes a second save update this row instead of adding a copy.
    const SqlQuery inserted = db.query(QStringLiteral("insert into ") + kTable + QStringLiteral(" (")
                                           + QStringList(kColumns.begin(), kColumns.end()).join(QLatin1Char(','))
                                           + QStringLiteral(") values (") + placeholders.join(QLatin1Char(','))
                                           + QLatin1Char(')'),
                                       params);
    ID_ = int(inserted.lastInsertId());
    return 1;
}

std::unique_ptr<TPerson> TPerson::findByInputCode(Database& db, const QString& code)
{
    if (code.isEmpty())
        return nullptr;
    if (!code.contains(QLatin1Char('%')) && !code.contains(QLatin1Char('*')))
        return findByColumns(db, {kColumns[InputCode]}, {code});
    QString rest = code;
    rest.remove(QLatin1Char('%'));
    rest.remove(QLatin1Char('*'));
    if (rest.isEmpty())
        return nullptr;
    return findFirst(db, kColumns[InputCode] + QStringLiteral(" like :pattern escape '\\'"),
                     {{QStringLiteral("pattern"), likeContaining(rest)}});
}

std::unique_ptr<TPerson> TPerson::findByName(Database& db, const QString& name)
{
    return findByColumns(db, {kColumns[FullName]}, {name});
}

std::unique_ptr<TPerson> TPerson::findByNameAndAccount(Database& db, const QString& name, const QString& account)
{
    return findByColumns(db, {kColumns[FullName], kColumns[BankAcct]}, {name, account});
}

std::unique_ptr<TPerson> TPerson::findByNameAndContactor(Database& db, const QString& name, const QString& contactor)
{
    return findByColumns(db, {kColumns[FullName], kColumns[Contactor]}, {name, contactor});
}

std::unique_ptr<TPerson> TPerson::findByContactor(Database& db, const QString& contactor)
{
    return findByColumns(db, {kColumns[Contactor]}, {contactor});
}

std::unique_ptr<TPerson> TPerson::findByAccount(Database& db, const QString& account)
{
    return findByColumns(db, {kColumns[BankAcct]}, {account});
}

std::unique_ptr<TPerson> TPerson::findDefaultDrawer(Database& db)
{
    return findByColumns(db, {kColumns[Group]}, {kDefaultDrawerGroup});
}

void TPersonKDD::clear()
{
    TPerson::clear();
    Contents_.clear();
    DestStation_.clear();
}

std::unique_ptr<TPerson> findAddressBookMatch(Database& db, const TPerson& person)
{
    const QString name = person.getFullName();
    const QString account = person.getBankAcct();
    const QString contactor = person.getContactor();
    if (!name.isEmpty() && !account.isEmpty())
        return TPerson::findByNameAndAccount(db, name, account);
    if (!name.isEmpty() && !contactor.isEmpty())
        return TPerson::findByNameAndContactor(db, name, contactor);
    if (!name.isEmpty())
        return TPerson::findByName(db, name);
    if (!contactor.isEmpty())
        return TPerson::findByContactor(db, contactor);
    return nullptr;
}

QStringList loadCompanyList(Database& db, const QString& unitType)
{
    try {
        if (unitType.isEmpty())
            return db.textColumn(QStringLiteral("select distinct 全称 from ") + kTable);
        return db.textColumn(QStringLiteral("select distinct 全称 from ") + kTable + QStringLiteral(" where 单位类型=:type"),
                             {{QStringLiteral("type"), unitType}});
    } catch (const DatabaseError&) {
        return {};
    }
}

QStringList loadAccountsByCompany(Database& db, const QString& fullName)
{
    const QString name = trimText(fullName);
    if (name.isEmpty())
        return {};
    return db.textColumn(QStringLiteral("select distinct 开户行账号 from ") + kTable + QStringLiteral(" where 全称=:name"),
                         {{QStringLiteral("name"), name}});
}

QStringList loadBankNamesByAccount(Database& db, const QString& account)
{
    const QString trimmed = trimText(account);
    if (trimmed.isEmpty())
        return {};
    return db.textColumn(QStringLiteral("select distinct 开户银行 from ") + kTable + QStringLiteral(" where 开户行账号=:account"),
                         {{QStringLiteral("account"), trimmed}});
}

QStringList loadPersonTableGroupList(Database& db)
{
    try {
        return withoutBlanks(db.textColumn(QStringLiteral("select distinct 分组 from ") + kTable
                                               + QStringLiteral(" where 分组 is not null and 分组<>:drawer order by 分组"),
                                           {{QStringLiteral("drawer"), TPerson::kDefaultDrawerGroup}}));
    } catch (const DatabaseError&) {
        return {};
    }
}

QStringList loadPersonTableProvinceList(Database& db)
{
    try {
        return withoutBlanks(db.textColumn(QStringLiteral("select distinct 省 from ") + kTable
                                           + QStringLiteral(" where 省 is not null order by 省")));
    } catch (const DatabaseError&) {
        return {};
    }
}

} // namespace slipcraft
