// Reads a corpus of receiver blocks, made up from the region table in every shape users
// paste them (web-shop order pages, chat messages, spreadsheet rows, labelled or not),
// and prints how fast and how well the address recognition reads them.
//
// The corpus is written here from the table and from lists of names, streets and
// companies of its own; it knows nothing of how the parser works. A fixed seed makes
// every run read the same texts. `bench_address --failures N` prints N texts it misreads;
// `--seed S` reads another corpus of the same kind.

#include "Median.h"

#include "platform/spreadsheet/Csv.h"
#include "records/AddressParser.h"

#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QRandomGenerator>
#include <QStringList>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

using namespace slipcraft;

namespace {

constexpr int kTexts = 6000;
constexpr quint32 kSeed = 20240611;
constexpr int kRuns = 5;

// ---------------------------------------------------------------------------------
// The truth of one text

enum Field { Company, Name, Phone, Mobile, Country, Province, City, District, Detail, Postcode, Remark, kFields };
constexpr const char* kFieldNames[kFields] = {"company", "name",   "phone",  "mobile",   "country", "province",
                                              "city",    "district", "detail", "postcode", "remark"};

struct Sample {
    QString text;
    std::array<QString, kFields> expected;
    const char* shape;
};

std::array<QString, kFields> fieldsOf(const ParsedAddress& a)
{
    return {a.company, a.name, a.phone, a.mobile, a.country, a.province, a.city, a.district, a.detail, a.postcode, a.remark};
}

// ---------------------------------------------------------------------------------
// Made-up parts

struct Place {
    QString province, city, district; // as the table has them
};

// People per province in millions (rounded), so that the big ones dominate as on real
// waybills; the smallest still appear.
const QHash<QString, int>& provinceWeights()
{
    static const QHash<QString, int> weights{
        {QStringLiteral("广东省"), 126}, {QStringLiteral("山东省"), 102}, {QStringLiteral("河南省"), 99},
        {QStringLiteral("江苏省"), 85},  {QStringLiteral("四川省"), 84},  {QStringLiteral("河北省"), 75},
        {QStringLiteral("湖南省"), 66},  {QStringLiteral("浙江省"), 65},  {QStringLiteral("安徽省"), 61},
        {QStringLiteral("湖北省"), 58},  {QStringLiteral("广西壮族自治区"), 50}, {QStringLiteral("云南省"), 47},
        {QStringLiteral("江西省"), 45},  {QStringLiteral("辽宁省"), 43},  {QStringLiteral("福建省"), 41},
        {QStringLiteral("陕西省"), 40},  {QStringLiteral("贵州省"), 38},  {QStringLiteral("山西省"), 35},
        {QStringLiteral("重庆市"), 32},  {QStringLiteral("黑龙江省"), 32}, {QStringLiteral("新疆维吾尔自治区"), 26},
        {QStringLiteral("甘肃省"), 25},  {QStringLiteral("上海市"), 25},  {QStringLiteral("内蒙古自治区"), 24},
        {QStringLiteral("吉林省"), 24},  {QStringLiteral("北京市"), 22},  {QStringLiteral("天津市"), 14},
        {QStringLiteral("海南省"), 10},  {QStringLiteral("宁夏回族自治区"), 7}, {QStringLiteral("香港特别行政区"), 7},
        {QStringLiteral("青海省"), 6},   {QStringLiteral("西藏自治区"), 4}, {QStringLiteral("台湾省"), 3},
        {QStringLiteral("澳门特别行政区"), 2},
    };
    return weights;
}

// Area codes of each province's capital, and the first two digits of its postcodes.
struct ProvinceNumbers {
    const char16_t* areaCode;
    const char16_t* postcodePrefix;
};
const QHash<QString, ProvinceNumbers>& provinceNumbers()
{
    static const QHash<QString, ProvinceNumbers> numbers{
        {QStringLiteral("北京市"), {u"010", u"10"}},   {QStringLiteral("天津市"), {u"022", u"30"}},
        {QStringLiteral("河北省"), {u"0311", u"05"}},  {QStringLiteral("山西省"), {u"0351", u"03"}},
        {QStringLiteral("内蒙古自治区"), {u"0471", u"01"}}, {QStringLiteral("辽宁省"), {u"024", u"11"}},
        {QStringLiteral("吉林省"), {u"0431", u"13"}},  {QStringLiteral("黑龙江省"), {u"0451", u"15"}},
        {QStringLiteral("上海市"), {u"021", u"20"}},   {QStringLiteral("江苏省"), {u"025", u"21"}},
        {QStringLiteral("浙江省"), {u"0571", u"31"}},  {QStringLiteral("安徽省"), {u"0551", u"23"}},
        {QStringLiteral("福建省"), {u"0591", u"35"}},  {QStringLiteral("江西省"), {u"0791", u"33"}},
        {QStringLiteral("山东省"), {u"0531", u"25"}},  {QStringLiteral("河南省"), {u"0371", u"45"}},
        {QStringLiteral("湖北省"), {u"027", u"43"}},   {QStringLiteral("湖南省"), {u"0731", u"41"}},
        {QStringLiteral("广东省"), {u"020", u"51"}},   {QStringLiteral("广西壮族自治区"), {u"0771", u"53"}},
        {QStringLiteral("海南省"), {u"0898", u"57"}},  {QStringLiteral("重庆市"), {u"023", u"40"}},
        {QStringLiteral("四川省"), {u"028", u"61"}},   {QStringLiteral("贵州省"), {u"0851", u"55"}},
        {QStringLiteral("云南省"), {u"0871", u"65"}},  {QStringLiteral("西藏自治区"), {u"0891", u"85"}},
        {QStringLiteral("陕西省"), {u"029", u"71"}},   {QStringLiteral("甘肃省"), {u"0931", u"73"}},
        {QStringLiteral("青海省"), {u"0971", u"81"}},  {QStringLiteral("宁夏回族自治区"), {u"0951", u"75"}},
        {QStringLiteral("新疆维吾尔自治区"), {u"0991", u"83"}},
    };
    return numbers;
}

QStringList words(const char* spaced)
{
    return QString::fromUtf8(spaced).split(u' ', Qt::SkipEmptyParts);
}

class Corpus {
public:
    Corpus(const QList<QStringList>& rows, quint32 seed) : m_random(seed)
    {
        for (const QStringList& row : rows) {
            if (row.size() != 4 || row[1].isEmpty())
                continue;
            m_byProvince[row[1]].append({row[1], row[2], row[3]});
            const bool cityColumnHoldsIt = row[1].endsWith(u'市') && row[3].isEmpty();
            m_districtPlaces[cityColumnHoldsIt ? row[2] : row[3]].append({row[1], row[2], row[3]});
        }
        // In a fixed order: a hash's order changes from run to run.
        m_provinces = m_byProvince.keys();
        m_provinces.sort();
        for (const QString& province : std::as_const(m_provinces))
            m_totalWeight += provinceWeights().value(province, 2);
    }

    Sample next();

private:
    int below(int n) { return int(m_random.bounded(n)); }
    bool chance(int percent) { return below(100) < percent; }
    const QString& pick(const QStringList& list) { return list[below(int(list.size()))]; }
    QString digits(int n)
    {
        QString s;
        for (int i = 0; i < n; ++i)
            s += QChar(u'0' + below(10));
        return s;
    }

    Place place();
    struct Typed {
        bool districtLeftOut = false;
        bool onlyDistrict = false;
        bool sameProvince = true; // every place of that district name lies in one province
        bool sameCity = true;
    };
    QString regionText(const Place& place, Typed& typed);
    QString detail(const Place& place, QString& town);
    QString personName(QString& expected);
    QString mobile(QString& expected);
    QString landline(const Place& place, QString& expected);
    QString postcode(const Place& place);
    QString company(const Place& place);
    QString colon()
    {
        return chance(68) ? QStringLiteral("：") : chance(50) ? QStringLiteral(":") : chance(85) ? QStringLiteral(": ") : QStringLiteral(" ");
    }
    static bool municipality(const Place& place) { return place.province.endsWith(u'市'); }
    static bool hongKongOrMacau(const Place& place) { return place.province.endsWith(u"特别行政区"); }

    QRandomGenerator m_random;
    QHash<QString, QList<Place>> m_byProvince;
    QHash<QString, QList<Place>> m_districtPlaces; // the places a county-level name stands for
    QStringList m_provinces;
    int m_totalWeight = 0;
};

Place Corpus::place()
{
    int at = below(m_totalWeight);
    for (const QString& province : std::as_const(m_provinces)) {
        at -= provinceWeights().value(province, 2);
        if (at < 0) {
            const QList<Place>& places = m_byProvince[province];
            return places[below(int(places.size()))];
        }
    }
    return m_byProvince[m_provinces.first()].first();
}

// The way people shorten a name: 广西壮族自治区 → 广西, 阿坝藏族羌族自治州 → 阿坝州,
// 深圳市 → 深圳, 融水苗族自治县 → 融水县.
QString shortened(const QString& name)
{
    static const QStringList peoples = words(
        "藏族 羌族 彝族 苗族 侗族 土家族 布依族 哈尼族 傣族 白族 壮族 回族 蒙古族 蒙古 哈萨克 柯尔克孜 朝鲜族 黎族 瑶族 "
        "傈僳族 景颇族 纳西族 怒族 独龙族 仡佬族 水族 毛南族 仫佬族 满族 畲族 拉祜族 佤族 布朗族 撒拉族 保安族 东乡族 "
        "土族 达斡尔族 鄂温克族 锡伯族 塔吉克 裕固族 普米族 阿昌族 德昂族 基诺族 维吾尔");
    static const std::pair<const char*, const char*> units[] = {
        {"特别行政区", ""}, {"自治区", ""}, {"自治州", "州"}, {"自治县", "县"}, {"自治旗", "旗"}, {"省", ""}, {"市", ""}};
    for (const auto& [suffix, kept] : units) {
        const QString end = QString::fromUtf8(suffix);
        if (!name.endsWith(end))
            continue;
        QString stem = name.left(name.size() - end.size());
        qsizetype cut = stem.size();
        for (const QString& people : peoples) {
            const qsizetype at = stem.indexOf(people);
            if (at >= 2 && at < cut)
                cut = at;
        }
        stem.truncate(cut);
        if (stem.size() < 2)
            return name;
        return stem + QString::fromUtf8(kept);
    }
    return name;
}

// Province, city and district as typed: full or short, with or without blanks, the
// province left out now and then, the municipalities in their own ways.
QString Corpus::regionText(const Place& place, Typed& typed)
{
    // Now and then the district is not typed at all, or nothing but the district.
    typed.districtLeftOut = chance(4);
    if (typed.districtLeftOut) {
        const QString province = chance(70) ? place.province : shortened(place.province);
        if (municipality(place))
            return province;
        if (chance(30))
            return place.city;
        return province + (chance(40) ? QStringLiteral(" ") : QString()) + (chance(70) ? place.city : shortened(place.city));
    }
    const QString district = municipality(place) && place.district.isEmpty() ? place.city : place.district;
    if (!district.isEmpty() && !hongKongOrMacau(place) && chance(4)) {
        typed.onlyDistrict = true;
        for (const Place& other : m_districtPlaces.value(district)) {
            typed.sameProvince = typed.sameProvince && other.province == place.province;
            typed.sameCity = typed.sameCity && other.city == place.city;
        }
        return district;
    }
    const QString gap = chance(60) ? QString() : chance(80) ? QStringLiteral(" ") : chance(50) ? QStringLiteral("  ") : QStringLiteral("　");
    const bool shortNames = chance(25);
    const QString province = shortNames || chance(10) ? shortened(place.province) : place.province;
    if (municipality(place)) {
        switch (below(4)) {
        case 0: return place.province + gap + district;
        case 1: return shortened(place.province) + QLatin1Char(' ') + place.province + QLatin1Char(' ') + district;
        case 2: return shortened(place.province) + gap + district;
        default: return place.province + gap + place.province + gap + district;
        }
    }
    if (hongKongOrMacau(place)) {
        switch (below(3)) {
        case 0: return place.province + gap + place.city + gap + place.district;
        case 1: return shortened(place.province) + gap + place.city + gap + place.district;
        default: return shortened(place.province) + gap + place.district;
        }
    }
    const QString city = shortNames ? shortened(place.city) : place.city;
    if (chance(12) && !place.district.isEmpty()) // the city says where it is
        return (chance(60) ? place.city : shortened(place.city)) + gap + place.district;
    QString text = province + gap + city;
    if (!place.district.isEmpty())
        text += gap + place.district;
    return text;
}

// The street address; `town` is the 街道 or 镇 it starts with, if any.
QString Corpus::detail(const Place& place, QString& town)
{
    static const QStringList stems = words(
        "人民 解放 建设 中山 和平 胜利 新华 文化 幸福 光明 友谊 团结 青年 东风 朝阳 长江 黄河 滨江 滨河 迎宾 学府 科技 "
        "创业 工业 振兴 育才 健康 建国 复兴 北京 南京 上海 天津 金山 银河 龙华 丽水 桃源 锦绣 翠苑 望江 环城 府前 体育 "
        "春风 曙光 星光 花溪 清风 紫荆 凤凰 白云 红旗 向阳 前进 新民 长安 延安 太白 天山 昆仑 珠江 湘江 北辰 南湖 西湖 "
        "东湖 站前 园林 沿江 海滨 港湾 龙城 金桥 丰收 顺河 民主 北环 南环 仓前 南屏 观音 双塔 永安 德政 花园 公园 "
        "广场 车站 大学 新村 工农 商业 文明 经二 纬五 机场 火车站 体育馆");
    static const QStringList roads = words("路 路 路 大道 街 大街 中路 东路 西路 南路 北路 巷 一路 二路");
    static const QStringList towns = words("街道 街道 镇 镇 乡");
    static const QStringList estates = words(
        "阳光 碧桂 万科 金色 华润 恒大 保利 翡翠 锦江 世纪 国际 时代 海岸 香榭 御景 书香 绿地 龙湖 中海 融创 枫林 "
        "梧桐 康乐 文苑 怡景 天悦 水岸 东方 盛世 和谐 锦华 金地 雅居 丽景 江南 嘉禾");
    static const QStringList estateKinds = words("小区 花园 家园 苑 公寓 新村 名都 华府");
    static const QStringList towers = words("大厦 广场 中心 商务楼 写字楼 科技园 工业园");
    static const QStringList notes = words("（东门） (北门) （近地铁站） （门卫室） (快递柜)");
    // Streets and towns are often named after their district: 南山大道, 天河路, 西湖镇.
    QString local = shortened(place.district.isEmpty() ? place.city : place.district);
    if (local.endsWith(QStringLiteral("新区")))
        local.chop(2);
    else if (local.size() > 2 && QStringLiteral("区县市旗州").contains(local.back()))
        local.chop(1);
    const auto stem = [&] { return chance(8) && local.size() >= 2 && local.size() <= 3 ? local : pick(stems); };
    QString text;
    town = chance(30) ? stem() + pick(towns) : QString();
    // Most begin with the road; some only name the estate.
    const bool road = !chance(10);
    if (road)
        text += town + stem() + pick(roads) + QString::number(1 + below(chance(70) ? 200 : 999)) + QStringLiteral("号");
    else
        text += town;
    if (road && !chance(65))
        return chance(4) ? text + pick(notes) : text;
    if (road && chance(25))
        text += u' ';
    switch (below(5)) {
    case 0:
    case 1: {
        text += pick(estates) + pick(estateKinds) + QString::number(1 + below(30)) + (chance(50) ? QStringLiteral("栋") : chance(50) ? QStringLiteral("幢") : QStringLiteral("号楼"));
        if (chance(40))
            text += QString::number(1 + below(4)) + QStringLiteral("单元");
        const int room = (1 + below(30)) * 100 + 1 + below(6);
        text += QString::number(room) + (chance(60) ? QStringLiteral("室") : QString());
        break;
    }
    case 2:
        text += pick(estates) + pick(towers) + (chance(40) ? QString(QChar(u'A' + below(4))) + QStringLiteral("座") : QString())
            + QString::number((1 + below(40)) * 100 + 1 + below(20)) + (chance(50) ? QStringLiteral("室") : QString());
        break;
    case 3:
        text += pick(stems) + QStringLiteral("村") + QString::number(1 + below(12)) + QStringLiteral("组")
            + QString::number(1 + below(80)) + QStringLiteral("号");
        break;
    default:
        text += pick(estates) + pick(towers) + QString::number(1 + below(9)) + QStringLiteral("栋")
            + QString::number(1 + below(20)) + QStringLiteral("楼");
        break;
    }
    return chance(4) ? text + pick(notes) : text;
}

QString Corpus::personName(QString& expected)
{
    // Weighted by how common they are: the first ones several times over.
    static const QStringList common = words(
        "王 李 张 刘 陈 杨 黄 赵 吴 周 王 李 张 刘 陈 杨 黄 赵 吴 周 徐 孙 马 朱 胡 郭 何 高 林 罗 郑 梁 谢 宋 唐 许 "
        "韩 冯 邓 曹 彭 曾 肖 田 董 袁 潘 于 蒋 蔡 余 杜 叶 程 苏 魏 吕 丁 任 沈 姚 卢 姜 崔 钟 谭 陆 汪 范 金 石 廖 贾 "
        "夏 韦 付 方 白 邹 孟 熊 秦 邱 江 尹 薛 闫 段 雷 侯 龙 史 陶 黎 贺 顾 毛 郝 龚 邵 万 钱 严 覃 武 戴 莫 孔 向 汤");
    static const QStringList rare = words("欧阳 司马 上官 诸葛 禤 逄 靖 蹇 覃 佴 亓 郗 訾 揭 谯");
    static const QStringList given = words(
        "伟 芳 娜 敏 静 丽 强 磊 军 洋 勇 艳 杰 娟 涛 明 超 秀英 霞 平 刚 桂英 华 建华 红 玉兰 小红 志强 晓东 海燕 "
        "丹 萍 鹏 辉 玲 宇 浩 凯 婷 雪 琳 晨 欣 怡 子涵 梓轩 一诺 浩然 思远 佳怡 雨桐 俊杰 文博 嘉怡 国庆 建国 "
        "红梅 春花 秋菊 永红 德华 国强 振华 金凤 美玲 丽娟 志明 志刚 晓燕 亚男 天佑 若曦 沐阳 子墨 诗涵 可馨");
    static const QStringList minority = words("买买提·艾力 阿依古丽·吐尔逊 热依拉·买买提 艾尔肯·吾甫尔 扎西·多吉 古丽米拉·阿不都");
    if (chance(1)) {
        expected = pick(minority);
        return expected;
    }
    const QString surname = chance(4) ? pick(rare) : pick(common);
    if (chance(4)) { // 张先生: only the surname is known
        expected = surname + (chance(50) ? QStringLiteral("先生") : QStringLiteral("女士"));
        return expected;
    }
    expected = surname + pick(given);
    if (chance(1))
        return expected + (chance(50) ? QStringLiteral("先生") : QStringLiteral("女士"));
    switch (below(25)) {
    case 0: return expected + QStringLiteral("收");
    case 1: return expected + QStringLiteral("（收）");
    case 2: return expected + QStringLiteral("(收)");
    case 3: return expected + QStringLiteral(" 收");
    default: return expected;
    }
}

QString Corpus::mobile(QString& expected)
{
    static const QStringList prefixes = words(
        "130 131 132 133 134 135 136 137 138 139 145 147 150 151 152 153 155 156 157 158 159 166 170 171 173 175 "
        "176 177 178 180 181 182 183 184 185 186 187 188 189 191 198 199");
    const QString prefix = pick(prefixes);
    const QString a = digits(4);
    const QString b = digits(4);
    expected = prefix + a + b;
    if (chance(2)) { // copied from a page that writes full-width digits
        QString wide = expected;
        for (QChar& c : wide)
            c = QChar(char16_t(c.unicode() - u'0' + 0xFF10));
        return wide;
    }
    switch (below(14)) {
    case 0: return prefix + u' ' + a + u' ' + b;
    case 1: return prefix + u'-' + a + u'-' + b;
    case 2: return QStringLiteral("+86 ") + prefix + u' ' + a + u' ' + b;
    case 3: return QStringLiteral("+86") + expected;
    case 4: return QStringLiteral("86-") + expected;
    case 5: return QStringLiteral("+86-") + expected;
    default: return expected;
    }
}

QString Corpus::landline(const Place& place, QString& expected)
{
    const ProvinceNumbers numbers = provinceNumbers().value(place.province, {u"0755", u"51"});
    const QString area = QString::fromUtf16(numbers.areaCode);
    const QString number = QChar(u'2' + below(8)) + digits(chance(90) ? 7 : 6);
    const QString extension = chance(12) ? digits(3 + below(2)) : QString();
    expected = area + u'-' + number + (extension.isEmpty() ? QString() : u'-' + extension);
    QString text;
    switch (below(7)) {
    case 0: text = u'(' + area + u')' + number; break;
    case 1: text = QStringLiteral("（") + area + QStringLiteral("）") + number; break;
    case 2: text = area + u' ' + number.left(number.size() - 4) + u' ' + number.right(4); break;
    case 3: text = area + u'-' + number.left(number.size() - 4) + u' ' + number.right(4); break;
    default: text = area + u'-' + number; break;
    }
    if (!extension.isEmpty())
        text += (chance(50) ? QStringLiteral("转") : QStringLiteral("-")) + extension;
    return text;
}

QString Corpus::postcode(const Place& place)
{
    const auto found = provinceNumbers().constFind(place.province);
    if (found == provinceNumbers().constEnd())
        return {};
    return QString::fromUtf16(found->postcodePrefix) + QString::number(below(10)) + (chance(60) ? QStringLiteral("000") : digits(3));
}

QString Corpus::company(const Place& place)
{
    static const QStringList stems = words(
        "腾飞 华信 鼎盛 恒达 宏远 金泰 新世纪 博源 天润 盛通 汇丰 佳美 瑞祥 永兴 东升 嘉诚 明辉 富源 兴隆 卓越 创新 "
        "海纳 鸿运 联创 锦程 智达 众合 德信 正泰 安和");
    static const QStringList trades = words(
        "科技 贸易 电子 实业 文化传媒 物流 建材 机械 餐饮管理 信息技术 服装 食品 医疗器械 家居 环保科技 网络科技");
    static const QStringList firms = words("有限公司 有限公司 有限公司 有限责任公司 股份有限公司 贸易商行");
    static const QStringList shops = words("五金店 便利店 服装店 机械厂 印刷厂 培训中心 维修中心 汽修厂 花店 眼镜店");
    static const QStringList institutions = words("第一中学 实验小学 人民医院 中医院 师范大学 职业技术学院 律师事务所 会计师事务所 设计研究院");
    const QString town = shortened(municipality(place) || hongKongOrMacau(place) ? place.province : place.city);
    switch (below(5)) {
    case 0:
    case 1:
    case 2: return (chance(50) ? town : QString()) + pick(stems) + pick(trades) + pick(firms);
    case 3: return pick(stems) + pick(shops);
    default: return town + pick(institutions);
    }
}

Sample Corpus::next()
{
    Sample s;
    auto& e = s.expected;
    const Place where = place();
    e[Province] = where.province;
    if (municipality(where)) {
        e[City] = where.province;
        e[District] = where.district.isEmpty() ? where.city : where.district;
    } else {
        e[City] = where.city;
        e[District] = where.district;
    }
    QString town;
    e[Detail] = detail(where, town);
    const QString name = personName(e[Name]);
    const int phones = below(100);
    const QString mobileText = phones < 92 ? mobile(e[Mobile]) : QString();
    const QString landlineText = phones >= 75 ? landline(where, e[Phone]) : QString();
    const QString postcodeText = chance(25) ? postcode(where) : QString();
    e[Postcode] = postcodeText;
    const QString companyText = chance(15) ? company(where) : QString();
    e[Company] = companyText;
    Typed typed;
    const QString region = regionText(where, typed);
    if (typed.districtLeftOut)
        e[District] = QString();
    // A district typed alone tells its city and province only where no other has its name.
    if (typed.onlyDistrict && !typed.sameProvince)
        e[Province] = QString();
    if (typed.onlyDistrict && !typed.sameCity)
        e[City] = QString();
    const QString address = (chance(3) ? QStringLiteral("中国") : QString()) + region
        + (chance(55) ? QStringLiteral(" ") : QString()) + e[Detail];
    static const QStringList remarks = words(
        "工作日送货 请放门卫室 送货前请电话联系 周末不在家请放快递柜 易碎品，轻拿轻放 下午三点后送达 请勿放驿站");

    switch (below(9)) {
    case 0: { // web-shop block, one field a line
        s.shape = "labelled block";
        QStringList lines;
        // Some shops and chat templates put the labels in brackets: 【收货人】张三.
        const bool bracketed = chance(6);
        const auto label = [&](const char* choices) {
            const QString word = pick(words(choices));
            return bracketed ? QStringLiteral("【") + word + QStringLiteral("】") + (chance(30) ? QStringLiteral("：") : QString())
                             : word + colon();
        };
        lines << label("收货人 收件人 姓名 联系人 收货人姓名 收件人姓名") + name;
        if (!mobileText.isEmpty())
            lines << label("手机号码 手机 联系电话 手机号 收货人手机 联系手机 收件人电话") + mobileText;
        if (!landlineText.isEmpty())
            lines << label("电话 固话 联系电话 座机") + landlineText;
        if (chance(55)) {
            // Region and street apart; some shops repeat the region before the street.
            // Some shops name the town with the region.
            const bool townWithRegion = !town.isEmpty() && chance(40);
            const QString street = townWithRegion ? e[Detail].mid(town.size()) : e[Detail];
            lines << label("所在地区 地区 所在地 所在省市") + region + (townWithRegion ? town : QString());
            lines << label("详细地址") + (chance(20) ? region + street : street);
        } else {
            lines << label("收货地址 地址 收件地址 详细地址 详细收货地址 收货人地址") + address;
        }
        if (!postcodeText.isEmpty())
            lines << label("邮编 邮政编码") + postcodeText;
        if (!companyText.isEmpty())
            lines.insert(below(int(lines.size()) + 1), label("公司 单位 公司名称") + companyText);
        if (chance(4)) {
            e[Country] = QStringLiteral("中国");
            lines.insert(below(int(lines.size()) + 1), label("国家") + e[Country]);
        }
        if (chance(20)) {
            e[Remark] = pick(remarks);
            lines << label("备注 留言 买家留言 订单备注") + e[Remark];
        }
        // What else an order page shows around the receiver.
        if (chance(15))
            lines.prepend(QStringLiteral("订单编号") + colon() + digits(18));
        if (chance(10))
            lines.prepend(QStringLiteral("下单时间") + colon() + QStringLiteral("2024-%1-%2 %3:%4:%5")
                                                               .arg(1 + below(12), 2, 10, QLatin1Char('0'))
                                                               .arg(1 + below(28), 2, 10, QLatin1Char('0'))
                                                               .arg(below(24), 2, 10, QLatin1Char('0'))
                                                               .arg(below(60), 2, 10, QLatin1Char('0'))
                                                               .arg(below(60), 2, 10, QLatin1Char('0')));
        if (chance(10))
            lines.append(QStringLiteral("配送方式") + colon() + pick(words("普通快递 快递免邮 顺丰包邮")));
        s.text = lines.join(chance(10) ? QStringLiteral("\r\n") : QStringLiteral("\n"));
        break;
    }
    case 1: { // several labelled fields a line
        s.shape = "labelled line";
        QStringList parts;
        parts << pick(words("收件人 收货人 姓名")) + colon() + name;
        if (!mobileText.isEmpty())
            parts << pick(words("手机 电话 联系电话")) + colon() + mobileText;
        if (!landlineText.isEmpty())
            parts << pick(words("电话 固话")) + colon() + landlineText;
        parts << pick(words("地址 收货地址")) + colon() + address;
        if (!postcodeText.isEmpty())
            parts << QStringLiteral("邮编") + colon() + postcodeText;
        if (!companyText.isEmpty())
            parts.prepend(QStringLiteral("单位") + colon() + companyText);
        s.text = parts.join(chance(65) ? QStringLiteral(" ") : QStringLiteral("，"));
        break;
    }
    case 2: { // a web shop's "copy address": name, phone, address, postcode in one field
        s.shape = "copied address";
        e[Phone] = QString(); // the copy holds one number
        const QString shownPostcode = postcodeText.isEmpty() ? QStringLiteral("000000") : postcodeText;
        QString m = mobileText;
        if (m.isEmpty())
            m = mobile(e[Mobile]);
        s.text = QStringLiteral("收货地址") + colon() + name + QStringLiteral("，") + m + QStringLiteral("，") + address
            + QStringLiteral("，") + shownPostcode;
        if (!companyText.isEmpty())
            s.text = companyText + u'\n' + s.text;
        break;
    }
    case 3:
    case 4: { // unlabelled, one separator, any order
        s.shape = "separated";
        QStringList parts{name, address};
        if (chance(50))
            std::swap(parts[0], parts[1]);
        if (!mobileText.isEmpty())
            parts.insert(below(int(parts.size()) + 1), mobileText);
        if (!landlineText.isEmpty())
            parts.insert(below(int(parts.size()) + 1), landlineText);
        if (!postcodeText.isEmpty())
            parts.insert(below(int(parts.size()) + 1), chance(50) ? QStringLiteral("（") + postcodeText + QStringLiteral("）") : postcodeText);
        if (!companyText.isEmpty())
            parts.insert(chance(50) ? 0 : parts.size(), companyText);
        static const QStringList separators = QStringLiteral("，|,|;|；|\t|\n| |， |, ").split(u'|');
        s.text = parts.join(pick(separators));
        break;
    }
    case 5: { // one a line
        s.shape = "one a line";
        QStringList lines{name};
        if (!mobileText.isEmpty())
            lines << mobileText;
        if (!landlineText.isEmpty())
            lines << landlineText;
        lines << address;
        if (!postcodeText.isEmpty())
            lines << postcodeText;
        if (!companyText.isEmpty())
            lines.insert(chance(50) ? 0 : 1, companyText);
        if (chance(30))
            std::swap(lines[0], lines[lines.indexOf(address)]);
        if (chance(12)) // region and street on lines of their own
            lines[lines.indexOf(address)] = region + u'\n' + e[Detail];
        s.text = lines.join(u'\n');
        break;
    }
    case 6: { // a spreadsheet row
        s.shape = "spreadsheet row";
        QStringList cells{name};
        cells << (mobileText.isEmpty() ? landlineText : mobileText);
        if (!mobileText.isEmpty() && !landlineText.isEmpty())
            cells << landlineText;
        // Every column of its own: the cells say what the typed region might not.
        e[Province] = where.province;
        e[City] = municipality(where) ? where.province : where.city;
        if (!typed.districtLeftOut)
            e[District] = municipality(where) && where.district.isEmpty() ? where.city : where.district;
        cells << e[Province] << e[City] << e[District];
        cells << e[Detail];
        if (!postcodeText.isEmpty())
            cells << postcodeText;
        if (!companyText.isEmpty())
            cells.prepend(companyText);
        s.text = cells.join(u'\t');
        break;
    }
    case 7: { // a chat message, blanks or nothing between the parts
        s.shape = "chat message";
        const QString glue = chance(50) ? QStringLiteral(" ") : QString();
        const QString phonesText = mobileText.isEmpty() ? landlineText
                                 : landlineText.isEmpty() ? mobileText
                                                          : mobileText + u' ' + landlineText;
        const QString phoneWord = chance(20) ? pick(words("电话 手机 tel:")) : QString();
        const QString nameWord = chance(8) ? pick(words("收件人 收货人 姓名")) : QString(); // its colon forgotten
        if (chance(50))
            s.text = nameWord + name + glue + phoneWord + phonesText + glue + address;
        else
            s.text = address + u' ' + name + glue + phoneWord + phonesText;
        // The words around it in a chat.
        if (chance(35))
            s.text = pick(words("你好，麻烦寄到 亲，寄到这里： 麻烦发这个地址： 老板，发货地址： 地址是 寄到：")) + s.text;
        if (chance(25))
            s.text += pick(words("，谢谢 谢谢！ ，尽快发货哈 ，辛苦了 ~"));
        if (!postcodeText.isEmpty())
            s.text += u' ' + postcodeText;
        if (!companyText.isEmpty())
            s.text = companyText + u' ' + s.text;
        break;
    }
    default: { // address first, the name after it with 收
        s.shape = "name after address";
        QString text = address + u' ' + name;
        if (!mobileText.isEmpty())
            text += u' ' + mobileText;
        if (!landlineText.isEmpty())
            text += (chance(50) ? QStringLiteral("，") : QStringLiteral(" ")) + landlineText;
        if (!postcodeText.isEmpty())
            text += QStringLiteral(" 邮编") + postcodeText;
        if (!companyText.isEmpty())
            text += u'\n' + companyText;
        s.text = text;
        break;
    }
    }
    static const QStringList around{QStringLiteral(" "), QStringLiteral("\n"), QStringLiteral(" \n"), QStringLiteral("\n\n")};
    if (chance(8)) // pasted with the blanks around it
        s.text = pick(around) + s.text + pick(around);
    return s;
}

QList<QStringList> regionRows()
{
    QFile file(QStringLiteral(":/data/china-regions.csv"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QList<QStringList> rows = csv::parse(csv::decode(file.readAll())).records;
    if (!rows.isEmpty())
        rows.removeFirst(); // the heading
    return rows;
}

} // namespace

int main(int argc, char** argv)
{
    int showFailures = 0;
    quint32 seed = kSeed;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--failures") == 0)
            showFailures = std::atoi(argv[i + 1]);
        else if (std::strcmp(argv[i], "--seed") == 0)
            seed = quint32(std::strtoul(argv[i + 1], nullptr, 10));
    }

    Corpus corpus(regionRows(), seed);
    std::vector<Sample> samples;
    samples.reserve(kTexts);
    for (int i = 0; i < kTexts; ++i)
        samples.push_back(corpus.next());

    // Speed: the whole corpus, several times over.
    std::vector<double> rates;
    qsizetype characters = 0;
    for (int run = 0; run < kRuns; ++run) {
        QElapsedTimer timer;
        timer.start();
        for (const Sample& sample : samples)
            characters += parseAddress(sample.text).detail.size();
        rates.push_back(double(samples.size()) / (double(timer.nsecsElapsed()) / 1e9));
    }

    // Accuracy.
    std::array<int, kFields> right{};
    int allRight = 0;
    QHash<QString, std::pair<int, int>> byShape; // right, all
    QStringList shapes;
    int shown = 0;
    for (const Sample& sample : samples) {
        const std::array<QString, kFields> got = fieldsOf(parseAddress(sample.text));
        bool every = true;
        for (int f = 0; f < kFields; ++f) {
            if (got[f] == sample.expected[f])
                ++right[f];
            else
                every = false;
        }
        const QString shape = QString::fromUtf8(sample.shape);
        if (!shapes.contains(shape))
            shapes << shape;
        auto& tally = byShape[shape];
        tally.second += 1;
        if (every) {
            ++allRight;
            tally.first += 1;
        } else if (shown < showFailures) {
            ++shown;
            std::printf("--- %s\n%s\n", sample.shape, sample.text.toUtf8().constData());
            for (int f = 0; f < kFields; ++f) {
                if (got[f] != sample.expected[f])
                    std::printf("  %s: got \"%s\", want \"%s\"\n", kFieldNames[f], got[f].toUtf8().constData(),
                                sample.expected[f].toUtf8().constData());
            }
        }
    }

    const double n = double(samples.size());
    std::printf("address recognition: %d texts of %d shapes (seed %u), %lld detail characters read\n", int(samples.size()),
                int(shapes.size()), seed, static_cast<long long>(characters));
    std::printf("address recognition speed: %.0f texts/s (median of %d runs over the corpus; target >= 10000 texts/s)\n",
                median(rates), kRuns);
    std::printf("address recognition accuracy: %.2f %% of texts with every field right, %d of %d (target >= 90 %%)\n",
                100.0 * allRight / n, allRight, int(samples.size()));
    std::printf("  per field:");
    for (int f = 0; f < kFields; ++f)
        std::printf(" %s %.2f %%%s", kFieldNames[f], 100.0 * right[f] / n, f + 1 < kFields ? "," : "\n");
    std::printf("  per shape (every field right):");
    for (qsizetype i = 0; i < shapes.size(); ++i) {
        const auto& tally = byShape[shapes[i]];
        std::printf(" %s %.1f %% of %d%s", shapes[i].toUtf8().constData(), 100.0 * tally.first / tally.second, tally.second,
                    i + 1 < shapes.size() ? "," : "\n");
    }
    return 0;
}
