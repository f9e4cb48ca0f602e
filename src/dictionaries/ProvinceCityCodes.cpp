#include "dictionaries/ProvinceCityCodes.h"

#include "data/Database.h"
#include "wording/Functions.h"

namespace slipcraft {

namespace {

const QString kCaption = QStringLiteral("提示");
const QString kKind = QStringLiteral("省市");
const QString kPairCondition = QStringLiteral("类型=:kind and trim(一级代码)=:province and trim(二级代码)=:city");

QString pairText(const QString& province, const QString& city)
{
    return QLatin1Char('"') + province + QStringLiteral("--") + city + QLatin1Char('"');
}

SqlParams pairParams(const QString& province, const QString& city)
{
    return {{QStringLiteral("kind"), kKind}, {QStringLiteral("province"), province}, {QStringLiteral("city"), city}};
}

EditorReply reply(EditorReply::Outcome outcome, const QString& text)
{
    return {outcome, text, kCaption};
}

} // namespace

ProvinceCityCodes::ProvinceCityCodes(Database& db)
    : db_(db)
{
}

int ProvinceCityCodes::run(const QString& sql, const QVariantMap& params)
{
    try {
        return db_.execute(sql, params);
    } catch (const DatabaseError&) {
        return 0;
    }
}

QStringList ProvinceCityCodes::provinces()
{
    try {
        return db_.textColumn(QStringLiteral("select distinct trim(一级代码) as p from DMTable2 where 类型=:kind order by p"),
                              {{QStringLiteral("kind"), kKind}});
    } catch (const DatabaseError&) {
        return {};
    }
}

QStringList ProvinceCityCodes::cities(const QString& province)
{
    try {
        return db_.textColumn(QStringLiteral("select distinct 二级代码 from DMTable2 where 类型=:kind "
                                             "and trim(一级代码)=:province order by 二级代码"),
                              {{QStringLiteral("kind"), kKind}, {QStringLiteral("province"), trimText(province)}});
    } catch (const DatabaseError&) {
        return {};
    }
}

bool ProvinceCityCodes::exists(const QString& province, const QString& city)
{
    try {
        return db_.scalar(QStringLiteral("select count(*) from DMTable2 where ") + kPairCondition,
                          pairParams(trimText(province), trimText(city)))
                   .toInt()
            > 0;
    } catch (const DatabaseError&) {
        return false;
    }
}

EditorReply ProvinceCityCodes::add(const QString& typedProvince, const QString& typedCity)
{
    const QString province = trimText(typedProvince);
    const QString city = trimText(typedCity);
    if (province.isEmpty() || city.isEmpty())
        return reply(EditorReply::Refused, QStringLiteral("省和市输入不能为空！"));
    if (exists(province, city))
        return reply(EditorReply::Refused, pairText(province, city) + QStringLiteral(" 已经存在，不需要添加！"));
    run(QStringLiteral("insert into DMTable2 (类型, 一级代码, 二级代码) values (:kind, :province, :city)"),
        pairParams(province, city));
    if (!exists(province, city))
        return reply(EditorReply::Failed, QStringLiteral("意外错误！插入数据失败！"));
    return reply(EditorReply::Done, pairText(province, city) + QStringLiteral("代码添加成功！"));
}

EditorReply ProvinceCityCodes::change(const QString& typedProvince, const QString& selectedCity, const QString& typedCity)
{
    const QString province = trimText(typedProvince);
    const QString oldCity = trimText(selectedCity);
    const QString city = trimText(typedCity);
    if (province.isEmpty() || city.isEmpty())
        return reply(EditorReply::Refused, QStringLiteral("省和市输入不能为空！"));
    if (oldCity.isEmpty())
        return reply(EditorReply::Refused, QStringLiteral("请先选中要修改的市(县)！"));
    // A rename onto an existing pair would only duplicate it (or change nothing).
    if (exists(province, city))
        return reply(EditorReply::Refused, pairText(province, city) + QStringLiteral(" 已经存在，不能修改！"));
    SqlParams params = pairParams(province, oldCity);
    params.insert(QStringLiteral("newCity"), city);
    const int changed = run(QStringLiteral("update DMTable2 set 二级代码=:newCity where ") + kPairCondition, params);
    if (changed == 0 || !exists(province, city))
        return reply(EditorReply::Failed, QStringLiteral("修改失败！"));
    return reply(EditorReply::Done, QStringLiteral("修改成功！"));
}

EditorReply ProvinceCityCodes::remove(const QString& typedProvince, const QString& selectedCity)
{
    const QString province = trimText(typedProvince);
    const QString city = trimText(selectedCity);
    if (city.isEmpty())
        return reply(EditorReply::Refused, QStringLiteral("请先选中要删除的市(县)！"));
    const int deleted = run(QStringLiteral("delete from DMTable2 where ") + kPairCondition, pairParams(province, city));
    if (deleted == 0 || exists(province, city))
        return reply(EditorReply::Failed, QStringLiteral("删除失败！"));
    return reply(EditorReply::Done, QStringLiteral("删除成功！"));
}

} // namespace slipcraft
