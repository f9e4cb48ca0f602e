#include "dictionaries/CurrencyList.h"

#include "data/Database.h"
#include "wording/Functions.h"

namespace slipcraft {

namespace {

const QString kPrompt = QStringLiteral("提示");
const QString kSucceeded = QStringLiteral("成功");
const QString kFailed = QStringLiteral("失败");
const QString kIncomplete = QStringLiteral("输入不完整");

QString quoted(const QString& text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

QString signExists(const QString& abbreviation)
{
    return QStringLiteral("币种简码") + quoted(abbreviation) + QStringLiteral("已经存在！");
}

} // namespace

CurrencyList::CurrencyList(Database& db)
    : db_(db)
{
}

void CurrencyList::reload()
{
    currencies_.clear();
    try {
        SqlQuery query = db_.query(QStringLiteral("select 币种, 缩写 from coins order by 顺序 desc, rowid"));
        while (query.next())
            currencies_.append({query.value(0).toString(), query.value(1).toString()});
    } catch (const DatabaseError&) {
        currencies_.clear();
    }
}

QString CurrencyList::abbreviationOf(const QString& name)
{
    try {
        return db_.scalar(QStringLiteral("select 缩写 from coins where 币种=:name"), {{QStringLiteral("name"), name}}).toString();
    } catch (const DatabaseError&) {
        return {};
    }
}

bool CurrencyList::listed(const QString& name) const
{
    for (const Currency& currency : currencies_) {
        if (currency.name.compare(name, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

bool CurrencyList::signTaken(const QString& abbreviation, const QString& except) const
{
    for (const Currency& currency : currencies_) {
        if (currency.abbreviation.compare(abbreviation, Qt::CaseInsensitive) == 0
            && currency.name.compare(except, Qt::CaseInsensitive) != 0)
            return true;
    }
    return false;
}

int CurrencyList::run(const QString& sql, const QVariantMap& params)
{
    try {
        return db_.execute(sql, params);
    } catch (const DatabaseError&) {
        return 0;
    }
}

EditorReply CurrencyList::add(const QString& typedName, const QString& typedAbbreviation)
{
    const QString name = trimText(typedName);
    const QString abbreviation = trimText(typedAbbreviation);
    if (name.isEmpty())
        return {EditorReply::Refused, QStringLiteral("请填写要添加的币种名称！"), kIncomplete};
    if (abbreviation.isEmpty())
        return {EditorReply::Refused, QStringLiteral("请填写要添加的币种简码！"), kIncomplete};
    if (listed(name))
        return {EditorReply::Refused, QStringLiteral("币种") + quoted(name) + QStringLiteral("已经存在！"),
                QStringLiteral("存在的币种")};
    if (signTaken(abbreviation, {}))
        return {EditorReply::Refused, signExists(abbreviation), QStringLiteral("存在的币种简码")};
    if (run(QStringLiteral("insert into coins (币种, 缩写, 顺序) values (:name, :sign, 0)"),
            {{QStringLiteral("name"), name}, {QStringLiteral("sign"), abbreviation}})
        == 0)
        return {EditorReply::Failed, QStringLiteral("添加失败！"), kFailed};
    reload();
    return {EditorReply::Done, QStringLiteral("新币种添加成功！"), kSucceeded};
}

EditorReply CurrencyList::changeAbbreviation(const QString& chosen, const QString& nameField, const QString& typedAbbreviation)
{
    if (chosen.isEmpty())
        return {EditorReply::Refused, QStringLiteral("请先选中要修改的币种名称！"), kPrompt};
    if (trimText(nameField) != chosen)
        return {EditorReply::Refused, QStringLiteral("修改不能改变币种名称！"), kPrompt};
    const QString abbreviation = trimText(typedAbbreviation);
    if (abbreviation.isEmpty())
        return {EditorReply::Refused, QStringLiteral("请输入新的币种简码！"), kPrompt};
    // Amounts find their currency by the short sign, so two currencies never share one.
    if (signTaken(abbreviation, chosen))
        return {EditorReply::Refused, signExists(abbreviation), QStringLiteral("存在的币种简码")};
    if (run(QStringLiteral("update coins set 缩写=:sign where 币种=:name"),
            {{QStringLiteral("sign"), abbreviation}, {QStringLiteral("name"), chosen}})
        == 0)
        return {EditorReply::Failed, QStringLiteral("币种修改失败！"), kFailed};
    reload();
    return {EditorReply::Done, QStringLiteral("币种") + quoted(chosen) + QStringLiteral("修改成功！"), kSucceeded};
}

EditorReply CurrencyList::remove(const QString& chosen)
{
    if (chosen.isEmpty())
        return {EditorReply::Refused, QStringLiteral("请先选中要删除的币种！"), kPrompt};
    if (run(QStringLiteral("delete from coins where 币种=:name"), {{QStringLiteral("name"), chosen}}) == 0)
        return {EditorReply::Failed, QStringLiteral("币种删除失败！"), kFailed};
    reload();
    return {EditorReply::Done, QStringLiteral("币种") + quoted(chosen) + QStringLiteral("删除成功！"), kSucceeded};
}

} // namespace slipcraft
