#include "records/AddressParser.h"

#include "records/RegionTable.h"

#include <QRegularExpression>
#include <QSet>

#include <algorithm>

namespace slipcraft {

namespace {

using Level = RegionTable::Level;

// ---------------------------------------------------------------------------------
// Characters

bool isWeakSeparator(QChar c)
{
    return c == u' ' || c == u'\u3000' || c == u'\u00A0';
}

bool isStrongSeparator(QChar c)
{
    switch (c.unicode()) {
    case u'\n': case u'\r': case u'\t': case u',': case u'，': case u';': case u'；': case u'|': case u'、':
    case u':': case u'：':
        return true;
    default:
        return false;
    }
}

bool isSeparator(QChar c)
{
    return isWeakSeparator(c) || isStrongSeparator(c);
}

bool isHan(QChar c)
{
    return c.unicode() >= 0x3400 && c.unicode() <= 0x9FFF;
}

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

QStringView trimSeparators(QStringView text)
{
    qsizetype from = 0;
    qsizetype to = text.size();
    while (from < to && (isSeparator(text[from]) || text[from].unicode() <= 32))
        ++from;
    while (to > from && (isSeparator(text[to - 1]) || text[to - 1].unicode() <= 32))
        --to;
    return text.mid(from, to - from);
}

qsizetype tokenEnd(QStringView text, qsizetype from)
{
    while (from < text.size() && !isSeparator(text[from]))
        ++from;
    return from;
}

// What has been read out of a segment is overwritten, so that positions stay put and
// what is left around it falls apart into separate tokens.
void blank(QString& text, qsizetype from, qsizetype to)
{
    for (qsizetype i = from; i < to; ++i)
        text[i] = u'\n';
}

void appendOnce(QStringList& list, const QString& value)
{
    if (!value.isEmpty() && !list.contains(value))
        list << value;
}

// Puts the chosen value in front of the other candidates.
QStringList chosenFirst(const QString& chosen, QStringList candidates)
{
    if (chosen.isEmpty())
        return candidates;
    candidates.removeAll(chosen);
    candidates.prepend(chosen);
    return candidates;
}

// ---------------------------------------------------------------------------------
// Words

// Common surnames, compound ones first; a name is recognised without one only where
// nothing better offers itself.
const QStringList& compoundSurnames()
{
    static const QStringList list = QStringLiteral(
        "欧阳 司马 上官 诸葛 东方 皇甫 尉迟 公孙 慕容 令狐 长孙 宇文 司徒 夏侯 轩辕 端木 独孤 南宫 西门 "
        "呼延 钟离 澹台 百里 东郭 闻人 赫连 申屠 万俟 濮阳 单于 太史 仲孙 左丘 乐正 拓跋")
        .split(u' ');
    return list;
}

bool isSingleSurname(QChar c)
{
    static const QSet<char16_t> set = [] {
        const QString all = QStringLiteral(
            "王李张刘陈杨黄赵吴周徐孙马朱胡郭何高林罗郑梁谢宋唐许韩冯邓曹彭曾肖萧田董袁潘于蒋蔡余杜叶程苏魏吕丁任"
            "沈姚卢姜崔钟谭陆汪范金石廖贾夏韦付傅方白邹孟熊秦邱江尹薛闫阎段雷侯龙史陶黎贺顾毛郝龚邵万钱严覃武戴"
            "莫孔向汤常温康施文牛樊葛邢安齐易乔伍庞颜倪庄聂章鲁岳翟殷詹申欧耿关兰焦俞左柳甘祝包宁尚符舒阮柯纪梅"
            "童凌毕单季裴霍涂成苗谷盛曲翁冉骆蓝路游辛靳管柴蒙鲍华喻祁蒲房滕屈饶解牟艾尤阳时穆农司卓古吉缪简车项"
            "连芦麦褚娄窦戚岑景党宫费卜冷晏席卫米柏宗瞿桂全佟应臧闵苟邬边卞姬师和仇栾隋商刁沙荣巫寇桑郎甄丛仲虞"
            "敖巩明佘池查麻苑迟邝官封谈匡鞠惠荆乐冀郁胥南班储原栗燕楚鄢劳谌奚皮粟冼蔺楼盘满闻位厉伊仝区郜海阚花"
            "权强帅屠豆朴盖练廉禹井祖漆巴丰支卿国狄平计索宣晋相初门云容敬来扈晁芮都普阙浦戈伏鹿薄邸雍辜羊阿乌母"
            "裘亓修邰赫杭况那宿鲜印逯隆茹诸战慕危玉银亢嵇公哈湛宾戎勾茅利於呼居揭干但尉冶斯元束檀衣信展阴昝智幸"
            "奉植衡富尧闭由");
        QSet<char16_t> s;
        for (QChar c : all)
            s.insert(c.unicode());
        return s;
    }();
    return set.contains(c.unicode());
}

int surnameLength(QStringView name)
{
    for (const QString& surname : compoundSurnames()) {
        if (name.startsWith(surname))
            return int(surname.size());
    }
    return !name.isEmpty() && isSingleSurname(name[0]) ? 1 : 0;
}

// Last characters of place and building words; no given name ends in them.
bool endsLikePlace(QStringView word)
{
    static const QString ends = QStringLiteral("路街道巷弄号栋幢楼室层座村镇乡区县市省州园苑厦寓组队期院馆店厂司庄屯湾港场站桥城府舍堂所处部局");
    return !word.isEmpty() && ends.contains(word.back());
}

bool readsAsDetail(QStringView token)
{
    static const QString marks = QStringLiteral("路街道巷弄号栋幢楼室层座村镇乡组屯庄苑园厦寓院区");
    for (QChar c : token) {
        if (isAsciiDigit(c) || marks.contains(c))
            return true;
    }
    return false;
}

struct Label {
    enum Kind { Name, Phone, Region, Address, Detail, Postcode, Company, Remark, Country };
    const char16_t* word;
    Kind kind;
};

// Longest first: the alternation takes the first that fits.
constexpr Label kLabels[] = {
    {u"收货人姓名", Label::Name},     {u"收件人姓名", Label::Name},     {u"收货人", Label::Name},
    {u"收件人", Label::Name},         {u"联系人", Label::Name},         {u"姓名", Label::Name},
    {u"手机号码", Label::Phone},      {u"手机号", Label::Phone},        {u"手机", Label::Phone},
    {u"联系电话", Label::Phone},      {u"联系方式", Label::Phone},      {u"电话号码", Label::Phone},
    {u"固定电话", Label::Phone},      {u"电话", Label::Phone},          {u"固话", Label::Phone},
    {u"座机", Label::Phone},          {u"国家/地区", Label::Country},   {u"所在地区", Label::Region},
    {u"所在省市", Label::Region},     {u"所在城市", Label::Region},     {u"所在地", Label::Region},
    {u"省市区", Label::Region},       {u"地区", Label::Region},
    {u"详细地址", Label::Detail},     {u"收货地址", Label::Address},    {u"收件地址", Label::Address},
    {u"地址", Label::Address},        {u"邮政编码", Label::Postcode},   {u"邮编", Label::Postcode},
    {u"公司名称", Label::Company},    {u"单位名称", Label::Company},    {u"公司", Label::Company},
    {u"单位", Label::Company},        {u"买家留言", Label::Remark},     {u"买家备注", Label::Remark},
    {u"订单备注", Label::Remark},     {u"备注", Label::Remark},         {u"留言", Label::Remark},
    {u"国家", Label::Country},
};

const QRegularExpression& labelPattern()
{
    static const QRegularExpression pattern = [] {
        QStringList words;
        for (const Label& label : kLabels)
            words << QRegularExpression::escape(QString::fromUtf16(label.word));
        // 收货人：, 【收货人】 or a line that starts with the word and a blank.
        const QString word = QStringLiteral("(%1)").arg(words.join(u'|'));
        return QRegularExpression(
            QStringLiteral("【[ \\x{3000}]*%1[ \\x{3000}]*】[ \\t\\x{3000}]*[:：]?|%1[ \\t\\x{3000}]*[:：]|^[ \\t\\x{3000}]*%1[ \\t\\x{3000}]+")
                .arg(word),
            QRegularExpression::MultilineOption);
    }();
    return pattern;
}

Label::Kind labelKind(QStringView word)
{
    for (const Label& label : kLabels) {
        if (word == QStringView(label.word))
            return label.kind;
    }
    return Label::Remark;
}

// A label word with its colon lost ("手机13812345678" once the number is out) says nothing.
qsizetype labelWordAtStart(QStringView token)
{
    for (const Label& label : kLabels) {
        const QStringView word(label.word);
        if (token.startsWith(word))
            return word.size();
    }
    return 0;
}

// Words of a chat or an order page around the fields; never a name.
bool isNoise(QStringView token)
{
    static const QSet<QString> words = [] {
        const QStringList list = QStringLiteral(
            "收 (收) （收） 收件 寄 中国 中国大陆 大陆 收货信息 收件信息 收货人信息 地址信息 联系方式 电话 手机 手机号 tel Tel "
            "TEL 你好 您好 谢谢 谢谢啦 多谢 麻烦 麻烦了 辛苦 辛苦了 老板 亲 亲亲 快递 发货 收到 尽快 寄到 发到 寄给 发给 "
            "麻烦寄到 麻烦发到 地址是 好的 在吗 请 急").split(u' ');
        return QSet<QString>(list.begin(), list.end());
    }();
    if (token.isEmpty() || words.contains(token.toString()))
        return true;
    return labelWordAtStart(token) == token.size();
}

// A token without the words typed around a value: 寄到张三 → 张三, 张三手机 → 张三.
QStringView withoutLeadWords(QStringView token)
{
    static const QStringList leads = QStringLiteral(
        "麻烦寄到 麻烦发到 寄到 发到 寄给 发给 地址是 收件人是 收货人是").split(u' ');
    for (bool stripped = true; stripped;) { // 麻烦寄到收货人张三
        stripped = false;
        for (const QString& lead : leads) {
            if (token.startsWith(lead) && token.size() > lead.size()) {
                token = token.mid(lead.size());
                stripped = true;
            }
        }
        if (const qsizetype label = labelWordAtStart(token); label > 0 && label < token.size()) {
            token = token.mid(label);
            stripped = true;
        }
    }
    return token;
}

QStringView withoutPhoneWord(QStringView token)
{
    static const QStringList words = QStringLiteral("手机号码 联系电话 电话号码 手机号 手机 电话 tel Tel TEL").split(u' ');
    for (const QString& word : words) {
        if (token.endsWith(word) && token.size() > word.size())
            return token.left(token.size() - word.size());
    }
    return token;
}

QStringView cleanToken(QStringView token)
{
    return withoutPhoneWord(withoutLeadWords(token));
}

const QStringList& companyEndings()
{
    static const QStringList list = QStringLiteral(
        "公司 集团 厂 店 中心 学校 医院 大学 学院 中学 小学 幼儿园 研究所 研究院 事务所 工作室 商行 经营部 门市部 "
        "服务部 营业部 分行 支行 银行 酒店 宾馆 超市 诊所 药房 商店 委员会 办事处 合作社 卫生院 分公司 俱乐部 出版社 "
        "报社 电视台 图书馆 博物馆 基金会 协会 商会 工厂 车间 商城 专卖店 旗舰店 加工厂 养殖场 农场 林场")
        .split(u' ');
    return list;
}

bool isCompany(QStringView token)
{
    if (token.size() < 4)
        return false;
    for (QChar c : token) {
        if (isAsciiDigit(c))
            return false;
    }
    for (const QString& ending : companyEndings()) {
        if (token.endsWith(ending))
            return true;
    }
    return false;
}

// A name as typed, without the 收 or the form of address after it.
struct NameReading {
    QString name;
    int score = -1; // below 0: not a name
};

NameReading readName(QStringView token)
{
    NameReading reading;
    bool marked = false;
    QStringView name = token;
    static const QStringList receipt = QStringLiteral("(收) （收） 收").split(u' ');
    for (const QString& mark : receipt) {
        if (name.endsWith(mark) && name.size() - mark.size() >= 2) {
            name.chop(mark.size());
            marked = true;
            break;
        }
    }
    static const QStringList honorifics = QStringLiteral("先生 女士 小姐").split(u' ');
    for (const QString& honorific : honorifics) {
        if (name.endsWith(honorific)) {
            marked = true;
            // 张先生 and 欧阳女士 stay as they are; 张三先生 becomes 张三.
            const QStringView before = name.left(name.size() - honorific.size());
            if (before.size() >= 2 && surnameLength(before) < before.size())
                name = before;
            break;
        }
    }
    name = trimSeparators(name);
    qsizetype han = 0;
    bool dotted = false;
    for (QChar c : name) {
        if (isHan(c))
            ++han;
        else if (c == u'·' || c == u'•' || c == u'.')
            dotted = true;
        else
            return reading;
    }
    const qsizetype longest = dotted ? 12 : 4;
    if (han < 2 || name.size() > longest || (endsLikePlace(name) && !marked))
        return reading;
    int score = 1;
    if (marked)
        score += 4;
    if (surnameLength(name) > 0)
        score += 3;
    if (name.size() <= 3 || dotted)
        score += 1;
    reading.name = name.toString();
    reading.score = score;
    return reading;
}

// 下单时间：, 寄到这里： — a word before a colon names what follows.
bool labelFollows(QStringView text, qsizetype tokenEnd)
{
    return tokenEnd < text.size() && (text[tokenEnd] == u':' || text[tokenEnd] == u'：');
}

// Reads as a person's name strongly enough to end an address typed before it.
bool endsAddress(QStringView token)
{
    const QStringView clean = cleanToken(token);
    return isNoise(token) || isNoise(clean) || isCompany(token) || readName(clean).score >= 4;
}

// ---------------------------------------------------------------------------------
// Regions

struct RegionState {
    int province = -1;
    int city = -1;
    int district = -1;
};

struct Chain {
    RegionState state;
    qsizetype begin = 0;
    qsizetype end = 0;
    int steps = 0;
    int characters = 0;
    int fullNames = 0;
    int lastLevel = -1;
};

// The unit everything else hangs from: parents filled in, a municipality its own city.
RegionState completed(RegionState state)
{
    const RegionTable& table = RegionTable::instance();
    if (state.district >= 0) {
        state.city = table.region(state.district).parent;
        state.province = table.region(state.district).province;
    } else if (state.city >= 0) {
        state.province = table.region(state.city).province;
    } else if (state.province >= 0 && table.isMunicipality(state.province)) {
        for (int id = state.province + 1; id < table.regionCount(); ++id) {
            if (table.region(id).parent == state.province) {
                state.city = id;
                break;
            }
        }
    }
    return state;
}

bool operator==(const RegionState& a, const RegionState& b)
{
    return a.province == b.province && a.city == b.city && a.district == b.district;
}

// A region's name followed by a street word is the street, not the region: 天河路385号,
// 浚县大道, 冠县街道 (but 路桥区路桥街道 is the district and its town). A short form is
// held to more: 台山镇 is a town of 台山市 typed without its county, 金水区 would have
// matched whole, and after a district's short form 金水花园 is an estate.
bool streetFollows(QStringView text, qsizetype at, bool shortForm, bool district)
{
    if (at >= text.size())
        return false;
    static const QStringList roads = QStringLiteral(
        "街道 大道 大街 中路 东路 西路 南路 北路 一路 二路 三路 四路 五路 六路 七路 八路 九路 十路").split(u' ');
    static const QStringList estates = QStringLiteral("大厦 广场 花园 小区 公园 新村").split(u' ');
    const QStringView next = text.mid(at, 2);
    if (roads.contains(next) || (shortForm && district && estates.contains(next)))
        return true;
    if (shortForm)
        return QStringView(u"路街道巷弄里村镇乡省市区县州旗盟").contains(text[at]);
    const bool numberFollows = at + 1 == text.size() || isSeparator(text[at + 1]) || isAsciiDigit(text[at + 1])
        || text[at + 1] == u'号';
    return QStringView(u"路街巷弄").contains(text[at]) && numberFollows;
}

// Whether the region can follow what the chain has read so far.
bool fits(const RegionTable& table, const Chain& chain, int id)
{
    const RegionTable::Region& region = table.region(id);
    const RegionState& s = chain.state;
    if (int(region.level) <= chain.lastLevel)
        return false;
    switch (region.level) {
    case Level::Province:
        return (s.province < 0 || s.province == id) && (s.city < 0 || table.region(s.city).province == id)
            && (s.district < 0 || table.region(s.district).province == id);
    case Level::City:
        return (s.city < 0 || s.city == id) && (s.province < 0 || region.province == s.province)
            && (s.district < 0 || table.region(s.district).parent == id);
    case Level::District:
        return (s.district < 0 || s.district == id) && (s.city < 0 || region.parent == s.city)
            && (s.province < 0 || region.province == s.province);
    }
    return false;
}

bool better(const Chain& a, const Chain& b)
{
    if (a.characters != b.characters)
        return a.characters > b.characters;
    if (a.fullNames != b.fullNames)
        return a.fullNames > b.fullNames;
    return a.steps < b.steps;
}

struct ChainSearch {
    QStringView text;
    const RegionTable& table;
    Chain best;
    QList<RegionState> ties; // completed states that read the text equally well

    void offer(const Chain& chain)
    {
        if (chain.steps == 0)
            return;
        if (best.steps == 0 || better(chain, best)) {
            best = chain;
            ties = {completed(chain.state)};
        } else if (!better(best, chain)) {
            const RegionState state = completed(chain.state);
            if (!ties.contains(state))
                ties << state;
            best.end = std::max(best.end, chain.end);
        }
    }

    // 台州路桥区: what looks like a street word starts the next region (but 太仓镇康… does
    // not start 镇康县, which lies elsewhere).
    bool nextRegionAt(const Chain& chain, qsizetype at) const
    {
        bool found = false;
        table.forEachNameAt(text, at, [&](const RegionTable::Name& name) {
            for (const RegionTable::Meaning& meaning : name.meanings)
                found = found || fits(table, chain, meaning.region);
        });
        return found;
    }

    void extend(const Chain& chain, qsizetype at)
    {
        offer(chain);
        if (chain.steps > 0) {
            // Between the parts of a region: blanks, commas or tabs, never a new line.
            while (at < text.size() && isSeparator(text[at]) && text[at] != u'\n')
                ++at;
        }
        table.forEachNameAt(text, at, [&](const RegionTable::Name& name) {
            const qsizetype after = at + name.text.size();
            for (const RegionTable::Meaning& meaning : name.meanings) {
                if (!fits(table, chain, meaning.region))
                    continue;
                Chain next = chain;
                const RegionTable::Region& region = table.region(meaning.region);
                switch (region.level) {
                case Level::Province: next.state.province = meaning.region; break;
                case Level::City: next.state.city = meaning.region; break;
                case Level::District: next.state.district = meaning.region; break;
                }
                next.lastLevel = int(region.level);
                next.end = after;
                ++next.steps;
                next.characters += int(name.text.size());
                next.fullNames += meaning.fullName ? 1 : 0;
                if (streetFollows(text, after, !meaning.fullName, region.level == Level::District)
                    && !nextRegionAt(next, after))
                    continue;
                extend(next, after);
            }
        });
    }
};

// The regions named at text[at], read as far as they go, starting from what is known.
ChainSearch searchChain(QStringView text, qsizetype at, const RegionState& known = {})
{
    ChainSearch search{text, RegionTable::instance(), {}, {}};
    Chain start;
    start.state = known;
    start.begin = at;
    start.end = at;
    search.extend(start, at);
    return search;
}

// ---------------------------------------------------------------------------------
// Numbers

// The country code as +86, 0086, 86- or glued 86; a bare "86 " only where it cannot
// be the end of a house number (科技园路86 138…).
const QRegularExpression& mobilePattern()
{
    static const QRegularExpression pattern(QStringLiteral(
        "(?<![0-9])(?:[(（]?(?:\\+|00)\\s*86[)）]?[\\s-]*|86-\\s*|86(?=1[3-9])|(?<![0-9\\x{3400}-\\x{9fff}])86\\s+)?"
        "(1[3-9][0-9])[\\s-]?([0-9]{4})[\\s-]?([0-9]{4})(?![0-9])"));
    return pattern;
}

// Area codes 010 and 02x have three digits, all others four.
const QRegularExpression& landlinePattern()
{
    static const QRegularExpression pattern(QStringLiteral(
        "(?<![0-9])(?:[(（]\\s*(0(?:[12][0-9]|[3-9][0-9]{2}))\\s*[)）][\\s-]*|(0(?:[12][0-9]|[3-9][0-9]{2}))(?:\\s*[-－—]\\s*|\\s+)?)"
        "([1-9][0-9]{2,3})[\\s-]?([0-9]{4})(?:\\s*(?:-|转|分机|ext\\.?|x)\\s*([0-9]{1,6}))?(?![0-9])"));
    return pattern;
}

const QRegularExpression& sixDigitsPattern()
{
    static const QRegularExpression pattern(QStringLiteral("(?<![0-9])[0-9]{6}(?![0-9])"));
    return pattern;
}

// ---------------------------------------------------------------------------------
// The parse

enum class Zone : quint8 { Free, Region, Address, Detail };

struct Segment {
    Zone zone;
    QString text;
};

struct Parse {
    ParsedAddress result;
    QList<Segment> segments;
    QStringList labelledNames, labelledCompanies, labelledPostcodes;
    QStringList bracketedPostcodes, barePostcodes;
    QString remark, country;

    void addFree(QStringView text, Zone zone = Zone::Free)
    {
        if (!trimSeparators(text).isEmpty())
            segments.append({zone, text.toString()});
    }

    void readLabels(const QString& text);
    void readLabelled(Label::Kind kind, QStringView value);
    void readNumbers(Segment& segment);
    void readCompanies(Segment& segment);
    void readRegion();
    QString readDetailFrom(Segment& segment, qsizetype from);
    void readNames();
    void finish();
};

void Parse::readLabels(const QString& text)
{
    QList<QRegularExpressionMatch> labels;
    for (QRegularExpressionMatchIterator it = labelPattern().globalMatch(text); it.hasNext();)
        labels << it.next();
    qsizetype at = 0;
    for (qsizetype i = 0; i < labels.size(); ++i) {
        const QRegularExpressionMatch& label = labels[i];
        addFree(QStringView(text).mid(at, label.capturedStart() - at));
        qsizetype valueEnd = text.indexOf(u'\n', label.capturedEnd());
        if (valueEnd < 0)
            valueEnd = text.size();
        if (i + 1 < labels.size())
            valueEnd = std::min(valueEnd, labels[i + 1].capturedStart());
        QStringView word = label.capturedView(1);
        for (int group = 2; word.isEmpty() && group <= 3; ++group)
            word = label.capturedView(group);
        readLabelled(labelKind(word),
                     QStringView(text).mid(label.capturedEnd(), valueEnd - label.capturedEnd()));
        at = valueEnd;
    }
    addFree(QStringView(text).mid(at));
}

void Parse::readLabelled(Label::Kind kind, QStringView value)
{
    value = trimSeparators(value);
    // The value of a one-word field ends at a comma; what follows is read like unlabelled text.
    qsizetype headEnd = 0;
    while (headEnd < value.size() && !isStrongSeparator(value[headEnd]))
        ++headEnd;
    QStringView head = trimSeparators(value.left(headEnd));
    const QStringView tail = value.mid(headEnd);
    switch (kind) {
    case Label::Name: {
        const qsizetype end = tokenEnd(head, 0);
        const NameReading reading = readName(head.left(end));
        appendOnce(labelledNames, reading.score >= 0 ? reading.name : head.left(end).toString());
        addFree(head.mid(end));
        addFree(tail);
        return;
    }
    case Label::Company: {
        const qsizetype end = tokenEnd(head, 0);
        if (end < head.size() && isCompany(head.left(end))) {
            addFree(head.mid(end));
            head = head.left(end);
        }
        appendOnce(labelledCompanies, head.toString());
        addFree(tail);
        return;
    }
    case Label::Country:
        if (country.isEmpty())
            country = head.toString();
        addFree(tail);
        return;
    case Label::Remark:
        if (remark.isEmpty())
            remark = value.toString();
        return;
    case Label::Postcode: {
        const QRegularExpressionMatch match = sixDigitsPattern().match(value);
        if (match.hasMatch()) {
            appendOnce(labelledPostcodes, match.captured());
            addFree(value.left(match.capturedStart()));
            addFree(value.mid(match.capturedEnd()));
        } else {
            addFree(value);
        }
        return;
    }
    case Label::Phone:
        addFree(value);
        return;
    case Label::Region:
        addFree(value, Zone::Region);
        return;
    case Label::Address:
        addFree(value, Zone::Address);
        return;
    case Label::Detail:
        addFree(value, Zone::Detail);
        return;
    }
}

void Parse::readNumbers(Segment& segment)
{
    QString& text = segment.text;
    for (QRegularExpressionMatchIterator it = mobilePattern().globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        appendOnce(result.mobiles, match.captured(1) + match.captured(2) + match.captured(3));
        blank(text, match.capturedStart(), match.capturedEnd());
    }
    for (QRegularExpressionMatchIterator it = landlinePattern().globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        const QString area = match.captured(1).isEmpty() ? match.captured(2) : match.captured(1);
        QString number = area + u'-' + match.captured(3) + match.captured(4);
        if (!match.captured(5).isEmpty())
            number += u'-' + match.captured(5);
        appendOnce(result.phones, number);
        blank(text, match.capturedStart(), match.capturedEnd());
    }
    for (QRegularExpressionMatchIterator it = sixDigitsPattern().globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        qsizetype from = match.capturedStart();
        qsizetype to = match.capturedEnd();
        const bool bracketed = from > 0 && to < text.size() && (text[from - 1] == u'(' || text[from - 1] == u'（')
            && (text[to] == u')' || text[to] == u'）');
        if (bracketed) {
            --from;
            ++to;
        } else {
            // A number glued to other text is a house or room number.
            qsizetype start = from;
            while (start > 0 && !isSeparator(text[start - 1]) && !isAsciiDigit(text[start - 1]))
                --start;
            const bool labelBefore = start < from
                && (QStringView(text).mid(start, from - start).endsWith(u"邮编")
                    || QStringView(text).mid(start, from - start).endsWith(u"邮政编码"));
            const bool alone = (from == 0 || isSeparator(text[from - 1])) && (to == text.size() || isSeparator(text[to]));
            if (!alone && !labelBefore)
                continue;
            if (labelBefore)
                from = start;
        }
        (bracketed ? bracketedPostcodes : barePostcodes) << match.captured();
        blank(text, from, to);
    }
}

void Parse::readCompanies(Segment& segment)
{
    QString& text = segment.text;
    for (qsizetype at = 0; at < text.size();) {
        if (isSeparator(text[at])) {
            ++at;
            continue;
        }
        const qsizetype end = tokenEnd(text, at);
        const QStringView token = QStringView(text).mid(at, end - at);
        const qsizetype label = labelWordAtStart(token);
        // 青海省海西州大柴旦行政委员会 is a place, 深圳市腾飞科技有限公司 a company.
        if (isCompany(token.mid(label)) && searchChain(text, at + label).best.end < end) {
            result.companies << token.mid(label).toString();
            blank(text, at, end);
        }
        at = end;
    }
}

// The street address from `from` on: the rest of its token and the blank-separated
// tokens after it that still read as address. Taken out of the segment.
QString Parse::readDetailFrom(Segment& segment, qsizetype from)
{
    QString& text = segment.text;
    qsizetype end = tokenEnd(text, from);
    for (;;) {
        qsizetype next = end;
        bool strong = false;
        while (next < text.size() && isSeparator(text[next]))
            strong = isStrongSeparator(text[next++]) || strong;
        if (strong || next == text.size())
            break;
        const qsizetype nextEnd = tokenEnd(text, next);
        if (endsAddress(QStringView(text).mid(next, nextEnd - next)) || labelFollows(text, nextEnd))
            break;
        end = nextEnd;
    }
    const QString taken = text.mid(from, end - from);
    blank(text, from, end);
    QStringView detail = trimSeparators(taken);
    // A chat's closing words glued to the address.
    static const QString marks = QStringLiteral("~～!！。?？");
    static const QStringList thanks = QStringLiteral("谢谢啦 谢谢 多谢 辛苦了 麻烦了").split(u' ');
    for (bool trimmed = true; trimmed && !detail.isEmpty();) {
        trimmed = false;
        if (marks.contains(detail.back())) {
            detail.chop(1);
            trimmed = true;
        }
        for (const QString& word : thanks) {
            if (detail.endsWith(word) && detail.size() > word.size()) {
                detail.chop(word.size());
                trimmed = true;
            }
        }
    }
    return trimSeparators(detail).toString();
}

void Parse::readRegion()
{
    const RegionTable& table = RegionTable::instance();
    struct Found {
        int segment = -1;
        Chain chain;
        QList<RegionState> ties;
        int score = -1;
    };
    Found found;
    QList<RegionState> others;
    for (int index = 0; index < segments.size(); ++index) {
        const Segment& segment = segments[index];
        const QStringView text = segment.text;
        const int zoneScore = segment.zone == Zone::Region ? 40 : segment.zone == Zone::Address ? 30
                            : segment.zone == Zone::Detail ? 10 : 0;
        qsizetype coveredUntil = 0;
        for (qsizetype at = 0; at + 1 < text.size(); ++at) {
            if (at < coveredUntil || !isHan(text[at]))
                continue;
            qsizetype start = at;
            if (text.mid(at).startsWith(u"中国")) {
                start = at + 2;
                while (start < text.size() && isWeakSeparator(text[start]))
                    ++start;
            }
            ChainSearch search = searchChain(text, start);
            if (search.best.steps == 0)
                continue;
            // The 乡 and 镇 of 台湾省 share their names with towns everywhere: alone they say nothing.
            const RegionState& only = search.best.state;
            if (search.best.steps == 1 && only.district >= 0
                && QStringView(u"乡镇").contains(table.region(only.district).name.back()))
                continue;
            coveredUntil = search.best.end;
            const Chain& chain = search.best;
            const bool atTokenStart = at == 0 || isSeparator(text[at - 1]);
            const bool textFollows = chain.end < text.size() && !isSeparator(text[chain.end]);
            // A district's short form alone (江南苑, 西湖文化广场) is the weakest sign of a region.
            const bool above = chain.state.province >= 0 || chain.state.city >= 0;
            const bool loneShortForm = !above && chain.fullNames == 0;
            const int score = chain.steps * 20 + chain.characters * 2 + chain.fullNames * 8 + (atTokenStart ? 10 : 0)
                + zoneScore + (textFollows ? 5 : 0) + (above ? 5 : 0) - (loneShortForm ? 15 : 0);
            // The same place again further on, named no more fully, is part of the street
            // (冠县 冠县街道…); named more fully it is the address (赵秀英 … 海南省海口市秀英区).
            const bool repeated = found.segment == index && search.ties.first() == found.ties.first()
                && chain.steps <= found.chain.steps && chain.characters <= found.chain.characters;
            if (score > found.score && !repeated) {
                if (found.segment >= 0)
                    others << found.ties;
                found = {index, chain, search.ties, score};
                found.chain.begin = at;
            } else {
                others << search.ties;
            }
        }
    }
    if (found.segment < 0) {
        // No region named: the labelled street address still is one.
        for (const Zone zone : {Zone::Detail, Zone::Address}) {
            for (Segment& segment : segments) {
                qsizetype from = 0;
                while (from < segment.text.size() && isSeparator(segment.text[from]))
                    ++from;
                if (segment.zone == zone && from < segment.text.size()) {
                    result.detail = readDetailFrom(segment, from);
                    return;
                }
            }
        }
        return;
    }

    // Only what every equally good reading agrees on is chosen; the rest is offered.
    // Two 朝阳区 are still 朝阳区, in whichever city.
    const auto name = [&](int id) { return id >= 0 ? table.region(id).name : QString(); };
    RegionState chosen = found.ties.first();
    QString districtName = name(chosen.district);
    for (const RegionState& tie : std::as_const(found.ties)) {
        if (tie.province != chosen.province)
            chosen.province = -1;
        if (tie.city != chosen.city)
            chosen.city = -1;
        if (tie.district != chosen.district)
            chosen.district = -1;
        if (name(tie.district) != districtName)
            districtName.clear();
    }

    Segment& segment = segments[found.segment];
    QString ownDetail;
    {
        qsizetype from = found.chain.end;
        const bool glued = from < segment.text.size() && !isSeparator(segment.text[from]);
        if (!glued) {
            bool strong = false;
            while (from < segment.text.size() && isSeparator(segment.text[from]))
                strong = isStrongSeparator(segment.text[from++]) || strong;
            const QStringView next = QStringView(segment.text).mid(from, tokenEnd(segment.text, from) - from);
            if (next.isEmpty() || endsAddress(next) || (strong && !readsAsDetail(next)))
                from = -1;
        }
        blank(segment.text, found.chain.begin, found.chain.end);
        if (from >= 0)
            ownDetail = readDetailFrom(segment, from);
    }

    // A detail field of its own wins; the region may be repeated at its start.
    QString detail = ownDetail;
    if (segment.zone != Zone::Detail) {
        for (Segment& other : segments) {
            if (&other == &segment || (other.zone != Zone::Detail && other.zone != Zone::Address))
                continue;
            qsizetype from = 0;
            while (from < other.text.size() && isSeparator(other.text[from]))
                ++from;
            if (from == other.text.size())
                continue;
            const ChainSearch repeated = searchChain(other.text, from, chosen);
            if (repeated.best.steps > 0) {
                if (repeated.ties.size() == 1)
                    chosen = repeated.ties.first();
                blank(other.text, from, repeated.best.end);
                while (from < other.text.size() && isSeparator(other.text[from]))
                    ++from;
            }
            if (endsAddress(QStringView(other.text).mid(from, tokenEnd(other.text, from) - from)))
                continue;
            const QString own = readDetailFrom(other, from);
            if (own.isEmpty())
                continue;
            detail = ownDetail.isEmpty() || own.startsWith(ownDetail) ? own : ownDetail + own;
            break;
        }
    }

    result.province = name(chosen.province);
    result.city = name(chosen.city);
    result.district = chosen.district >= 0 ? name(chosen.district) : districtName;
    result.detail = detail;
    for (const QList<RegionState>* list : {&found.ties, &others}) {
        for (const RegionState& state : *list) {
            appendOnce(result.provinces, name(state.province));
            appendOnce(result.cities, name(state.city));
            appendOnce(result.districts, name(state.district));
        }
    }
}

void Parse::readNames()
{
    struct Candidate {
        QString name;
        int score;
        int order;
    };
    QList<Candidate> candidates;
    QStringList leftovers;
    for (const Segment& segment : std::as_const(segments)) {
        const QStringView text = segment.text;
        for (qsizetype at = 0; at < text.size();) {
            if (isSeparator(text[at])) {
                ++at;
                continue;
            }
            const qsizetype end = tokenEnd(text, at);
            QStringView token = text.mid(at, end - at);
            at = end;
            if (isNoise(token) || (labelFollows(text, end) && withoutPhoneWord(token) == token))
                continue;
            token = cleanToken(token);
            if (isNoise(token))
                continue;
            const NameReading reading = readName(token);
            if (reading.score >= 0)
                candidates.append({reading.name, reading.score, int(candidates.size())});
            else
                leftovers << token.toString();
        }
    }
    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const Candidate& a, const Candidate& b) { return a.score > b.score; });
    QStringList names = labelledNames;
    for (const Candidate& candidate : std::as_const(candidates))
        appendOnce(names, candidate.name);

    // A name typed straight after the address: "…18号 禤健" or "…18号张三".
    if (names.isEmpty() && !result.detail.isEmpty()) {
        QString& detail = result.detail;
        const qsizetype space = std::max(detail.lastIndexOf(u' '), detail.lastIndexOf(u'\u3000'));
        const NameReading last = space > 0 ? readName(cleanToken(QStringView(detail).mid(space + 1))) : NameReading{};
        if (last.score >= 0) {
            names << last.name;
            detail = trimSeparators(QStringView(detail).left(space)).toString();
        } else {
            static const QString roomEnds = QStringLiteral("号室栋幢楼座层户)）");
            for (qsizetype n = 2; n <= 4 && n < detail.size(); ++n) {
                const QChar before = detail[detail.size() - n - 1];
                if (!isAsciiDigit(before) && !(before.unicode() < 128 && before.isLetter()) && !roomEnds.contains(before))
                    continue;
                const QStringView tail = QStringView(detail).right(n);
                const NameReading reading = readName(tail);
                if (reading.score >= 0 && surnameLength(tail) > 0 && reading.name.size() == n) {
                    names << reading.name;
                    detail.chop(n);
                    break;
                }
            }
        }
    }
    result.names = names;
    result.name = names.value(0);

    for (const QString& leftover : std::as_const(leftovers)) {
        if (result.detail.isEmpty() && readsAsDetail(leftover) && std::any_of(leftover.begin(), leftover.end(), isHan))
            result.detail = leftover;
        appendOnce(result.details, leftover);
    }
}

void Parse::finish()
{
    result.remark = remark;
    result.country = country;
    result.details = chosenFirst(result.detail, result.details);
    QStringList companies = labelledCompanies;
    for (const QString& company : std::as_const(result.companies))
        appendOnce(companies, company);
    result.companies = companies;
    result.company = companies.value(0);
    result.mobile = result.mobiles.value(0);
    result.phone = result.phones.value(0);
    QStringList postcodes;
    for (const QStringList* list : {&labelledPostcodes, &bracketedPostcodes, &barePostcodes}) {
        for (const QString& postcode : *list) {
            if (postcode != u"000000") // what web shops write when there is none
                appendOnce(postcodes, postcode);
        }
    }
    result.postcodes = postcodes;
    result.postcode = postcodes.value(0);
    result.provinces = chosenFirst(result.province, result.provinces);
    result.cities = chosenFirst(result.city, result.cities);
    result.districts = chosenFirst(result.district, result.districts);
}

// Some pages write numbers in full-width digits (１３８…); they are the same numbers.
void asciiDigits(QString& text)
{
    for (QChar& c : text) {
        const char16_t u = c.unicode();
        if ((u >= 0xFF10 && u <= 0xFF19) || u == 0xFF0B || u == 0xFF0D)
            c = QChar(char16_t(u - 0xFEE0));
    }
}

} // namespace

ParsedAddress parseAddress(const QString& text, const AddressParseOptions& options)
{
    QString working = text;
    for (const auto& [from, to] : options.characterPairs) {
        if (!from.isEmpty())
            working.replace(from, to);
    }
    asciiDigits(working);
    working.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));

    Parse parse;
    parse.readLabels(working);
    for (Segment& segment : parse.segments)
        parse.readNumbers(segment);
    for (Segment& segment : parse.segments) {
        if (segment.zone == Zone::Free || segment.zone == Zone::Address)
            parse.readCompanies(segment);
    }
    parse.readRegion();
    parse.readNames();
    parse.finish();
    return parse.result;
}

} // namespace slipcraft
