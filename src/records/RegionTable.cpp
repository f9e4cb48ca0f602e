#include "records/RegionTable.h"

#include "platform/spreadsheet/Csv.h"

#include <QFile>

#include <algorithm>

namespace slipcraft {

namespace {

// The peoples named in autonomous units, longest first so that 蒙古 goes before 古.
const QStringList& ethnicGroups()
{
    static const QStringList groups = [] {
        QStringList list{
            QStringLiteral("蒙古"),     QStringLiteral("回"),       QStringLiteral("藏"),     QStringLiteral("维吾尔"),
            QStringLiteral("苗"),       QStringLiteral("彝"),       QStringLiteral("壮"),     QStringLiteral("布依"),
            QStringLiteral("朝鲜"),     QStringLiteral("满"),       QStringLiteral("侗"),     QStringLiteral("瑶"),
            QStringLiteral("白"),       QStringLiteral("土家"),     QStringLiteral("哈尼"),   QStringLiteral("哈萨克"),
            QStringLiteral("傣"),       QStringLiteral("黎"),       QStringLiteral("傈僳"),   QStringLiteral("佤"),
            QStringLiteral("畲"),       QStringLiteral("高山"),     QStringLiteral("拉祜"),   QStringLiteral("水"),
            QStringLiteral("东乡"),     QStringLiteral("纳西"),     QStringLiteral("景颇"),   QStringLiteral("柯尔克孜"),
            QStringLiteral("土"),       QStringLiteral("达斡尔"),   QStringLiteral("仫佬"),   QStringLiteral("羌"),
            QStringLiteral("布朗"),     QStringLiteral("撒拉"),     QStringLiteral("毛南"),   QStringLiteral("仡佬"),
            QStringLiteral("锡伯"),     QStringLiteral("阿昌"),     QStringLiteral("普米"),   QStringLiteral("塔吉克"),
            QStringLiteral("怒"),       QStringLiteral("乌孜别克"), QStringLiteral("俄罗斯"), QStringLiteral("鄂温克"),
            QStringLiteral("德昂"),     QStringLiteral("保安"),     QStringLiteral("裕固"),   QStringLiteral("京"),
            QStringLiteral("塔塔尔"),   QStringLiteral("独龙"),     QStringLiteral("鄂伦春"), QStringLiteral("赫哲"),
            QStringLiteral("门巴"),     QStringLiteral("珞巴"),     QStringLiteral("基诺")};
        std::stable_sort(list.begin(), list.end(), [](const QString& a, const QString& b) { return a.size() > b.size(); });
        return list;
    }();
    return groups;
}

// Removes the peoples' names from the end of an autonomous unit's stem (阿坝藏族羌族 → 阿坝)
// while at least two characters stay. A single-character people counts only with 族,
// so that a place whose name ends in 白 or 水 keeps it.
QString withoutEthnicGroups(QString stem)
{
    for (bool stripped = true; stripped;) {
        stripped = false;
        for (const QString& group : ethnicGroups()) {
            const bool withClan = stem.endsWith(group + u'族');
            if (!withClan && (group.size() < 2 || !stem.endsWith(group)))
                continue;
            const qsizetype rest = stem.size() - group.size() - (withClan ? 1 : 0);
            if (rest >= 2) {
                stem.truncate(rest);
                stripped = true;
                break;
            }
            if (withClan && rest == 0) { // 鄂温克族自治旗: the people is the name
                stem.chop(1);
                return stem;
            }
        }
    }
    return stem;
}

// The short forms of one name; the full name is not among them.
QStringList shortForms(const QString& name)
{
    struct Suffix {
        const char16_t* text;
        const char16_t* kept; // the unit word people keep after an autonomous stem (阿坝州)
        bool autonomous;
    };
    static const Suffix suffixes[] = {
        {u"特别行政区", nullptr, false}, {u"行政委员会", nullptr, false}, {u"管理区管委会", nullptr, false},
        {u"自治区", nullptr, true},     {u"自治州", u"州", true},
        {u"自治县", u"县", true},       {u"自治旗", u"旗", true},    {u"地区", nullptr, false},
        {u"林区", nullptr, false},      {u"新区", nullptr, false},   {u"特区", nullptr, false},
        {u"省", nullptr, false},        {u"市", nullptr, false},     {u"盟", nullptr, false},
        {u"县", nullptr, false},        {u"区", nullptr, false},     {u"旗", nullptr, false},
    };
    QStringList forms;
    for (const Suffix& suffix : suffixes) {
        const QString text = QString::fromUtf16(suffix.text);
        if (!name.endsWith(text))
            continue;
        QString stem = name.left(name.size() - text.size());
        if (suffix.autonomous)
            stem = withoutEthnicGroups(stem);
        if (stem.size() >= 2) {
            forms << stem;
            if (suffix.kept)
                forms << stem + QString::fromUtf16(suffix.kept);
        }
        break;
    }
    return forms;
}

QString resourceText(const QString& name)
{
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return csv::decode(file.readAll());
}

} // namespace

const RegionTable& RegionTable::instance()
{
    static const RegionTable table;
    return table;
}

RegionTable::RegionTable()
{
    const csv::Parsed parsed = csv::parse(resourceText(QStringLiteral(":/data/china-regions.csv")));
    QHash<QString, int> provinces;
    QHash<QPair<int, QString>, int> children;
    const auto child = [&](int parent, const QString& name, Level level) {
        const auto key = qMakePair(parent, name);
        if (const auto found = children.constFind(key); found != children.constEnd())
            return *found;
        const int id = int(m_regions.size());
        m_regions.push_back({name, level, parent, m_regions[size_t(parent)].province});
        children.insert(key, id);
        return id;
    };
    for (qsizetype row = 1; row < parsed.records.size(); ++row) { // after the heading
        const QStringList& record = parsed.records[row];
        if (record.size() < 4 || record[1].isEmpty() || record[2].isEmpty())
            continue;
        int province = provinces.value(record[1], -1);
        if (province < 0) {
            province = int(m_regions.size());
            m_regions.push_back({record[1], Level::Province, -1, province});
            provinces.insert(record[1], province);
        }
        if (isMunicipality(province)) {
            // Its city column holds the districts, and "县" heads the counties of 重庆市.
            const int city = child(province, record[1], Level::City);
            child(city, record[3].isEmpty() ? record[2] : record[3], Level::District);
        } else {
            const int city = child(province, record[2], Level::City);
            if (!record[3].isEmpty())
                child(city, record[3], Level::District);
        }
    }
    for (int id = 0; id < int(m_regions.size()); ++id)
        addRegionNames(id);
    for (auto bucket = m_byFirstTwo.begin(); bucket != m_byFirstTwo.end(); ++bucket) {
        std::stable_sort(bucket->begin(), bucket->end(),
                         [this](int a, int b) { return m_names[size_t(a)].text.size() > m_names[size_t(b)].text.size(); });
    }
}

void RegionTable::addRegionNames(int id)
{
    const QString& name = m_regions[size_t(id)].name;
    addName(name, id, true);
    // 嘉模堂区（氹仔）: either part alone names it as well.
    const qsizetype open = name.indexOf(u'（');
    if (open > 0 && name.endsWith(u'）')) {
        const QString base = name.left(open);
        addName(base, id, true);
        addName(name.mid(open + 1, name.size() - open - 2), id, false);
        for (const QString& form : shortForms(base))
            addName(form, id, false);
        return;
    }
    for (const QString& form : shortForms(name))
        addName(form, id, false);
}

void RegionTable::addName(const QString& text, int region, bool fullName)
{
    if (text.size() < 2)
        return;
    int index = m_nameIndex.value(text, -1);
    if (index < 0) {
        index = int(m_names.size());
        m_names.push_back({text, {}});
        m_nameIndex.insert(text, index);
        m_byFirstTwo[key(text[0], text[1])].append(index);
    }
    QList<Meaning>& meanings = m_names[size_t(index)].meanings;
    for (const Meaning& meaning : std::as_const(meanings)) {
        if (meaning.region == region)
            return;
    }
    meanings.append({region, fullName});
}

} // namespace slipcraft
