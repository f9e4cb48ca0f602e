#include "records/ImportMatchLogic.h"

#include "data/DBTable.h"
#include "data/Database.h"
#include "platform/IniFile.h"
#include "platform/spreadsheet/Workbook.h"
#include "shell/UserMessages.h"
#include "wording/Functions.h"

#include <QDir>

namespace slipcraft::importing {

namespace {

struct ItemSpec {
    const char* rule;
    const char* label;         // the box in the address book scene, or in both
    const char* batchLabel;    // the box in the batch scene when it differs
    const char* addressColumn; // CKPersonalInfoTable
    const char* batchColumn;   // ReceiverList
};

// In the order of Item.
constexpr ItemSpec kItems[kItemCount] = {
    {"单位全称", "*单位全称->", nullptr, "全称", "全称"},
    {"联系人", "*联系人->", nullptr, "联系人", "联系人"},
    {"电话", "*联系电话->", nullptr, "电话", "电话"},
    {"手机", "手机->", nullptr, "手机", "手机"},
    {"省", "省->", nullptr, "省", "省"},
    {"开户银行", "开户银行->", nullptr, "开户银行", ""},
    {"银行账号", "银行账号->", nullptr, "开户行账号", ""},
    {"银行地址", "银行地址->", nullptr, "开户行地址", ""},
    {"银行行号", "银行行号->", nullptr, "开户行行号", ""},
    {"市", "市/县->", nullptr, "市", "市"},
    {"镇区", "镇/区->", nullptr, "镇区", "镇区"},
    {"地址", "*详细地址->", nullptr, "地址", "地址"},
    {"邮政编码", "邮政编码->", nullptr, "邮编", "邮编"},
    {"国家", "国家->", nullptr, "国家", "国家"},
    {"备注", "备注->", nullptr, "扩展信息", "备注"},
    {"批打分组", "地址薄分组->", "批打分组->", "分组", "批打分组"},
    {"单位类型", "单位类型->", "", "单位类型", ""},
    {"助记码", "输入助记码->", "", "助记码", ""},
    {"物品内容", "", "物品内容->", "", "内件说明"},
    {"目的站", "", "目的站->", "", "目的站"},
    {"件数", "", "件数->", "", "件数"},
    {"重量", "", "重量->", "", "重量"},
    {"费用", "", "总费用->", "", "费用"},
    {"保价费", "", "保价费->", "", "保价费"},
    {"保价金额", "", "保价金额->", "", "保价金额"},
    {"加急费", "", "加急费->", "", "加急费"},
    {"运费", "", "运费->", "", "运费"},
    {"送货费", "", "送货费->", "", "送货费"},
    {"体积", "", "体积->", "", "体积"},
    {"包装费", "", "包装费->", "", "包装费"},
    {"代收金额", "", "代收金额->", "", "代收金额"},
    {"手续费", "", "手续费->", "", "手续费"},
    {"其他费", "", "其他费->", "", "其他费"},
    {"自定义3", "", "自定义3->", "", "自定义3"},
    {"自定义4", "", "自定义4->", "", "自定义4"},
    {"自定义5", "", "自定义5->", "", "自定义5"},
    {"金额大写1", "", "金额大写1->", "", "金额大写1"},
    {"订单号", "", "", "", ""},
    {"会员Id", "", "", "", ""},
};

const QString kOwnUnit = QStringLiteral("我方单位");
const QString kCounterpartUnit = QStringLiteral("往来单位");
const QString kMemberPrefix = QStringLiteral(" 会员ID:");

// Latin letters in upper case, everything else as it is.
QString latinUpper(const QString& text)
{
    QString folded = text;
    for (QChar& c : folded) {
        if (c >= u'a' && c <= u'z')
            c = QChar(c.unicode() - u'a' + u'A');
    }
    return folded;
}

QString tableOf(Scene scene)
{
    return scene == Scene::AddressBook ? QStringLiteral("CKPersonalInfoTable") : QStringLiteral("ReceiverList");
}

// The log reaches the disk once, at the end, rather than once a line.
class LogBatch {
public:
    explicit LogBatch(IniFile& log)
        : log_(log)
    {
        log_.beginBatch();
    }
    ~LogBatch() { log_.endBatch(); }

private:
    IniFile& log_;
};

} // namespace

QString logRowKey(int row)
{
    return QStringLiteral("N%1").arg(row);
}

QString ruleName(Item item)
{
    return QString::fromUtf8(kItems[item].rule);
}

QString boxLabel(Item item, Scene scene)
{
    const ItemSpec& described = kItems[item];
    return QString::fromUtf8(scene == Scene::Batch && described.batchLabel ? described.batchLabel : described.label);
}

QString storedColumn(Item item, Scene scene)
{
    return QString::fromUtf8(scene == Scene::AddressBook ? kItems[item].addressColumn : kItems[item].batchColumn);
}

QList<Item> matchOrder(Scene scene)
{
    QList<Item> order;
    for (int item = FullName; item <= Remark; ++item)
        order << Item(item);
    order << Group;
    if (scene == Scene::AddressBook) {
        order << UnitType << InputCode;
    } else {
        for (int item = Goods; item <= MemberId; ++item)
            order << Item(item);
    }
    return order;
}

QStringList headingPatterns(const QString& sourceName)
{
    QStringList patterns;
    for (const QString& entry : sourceName.split(QLatin1Char(','))) {
        // The default rule of 订单号 starts with a tab: it must still name its headings.
        const QString pattern = trimText(entry);
        if (!pattern.isEmpty())
            patterns << pattern;
    }
    return patterns;
}

bool headingMatches(const QString& pattern, const QString& heading)
{
    const QString wanted = latinUpper(trimText(pattern));
    const QString seen = latinUpper(trimText(heading));
    if (wanted.isEmpty() || seen.isEmpty())
        return false;
    if (!wanted.contains(QLatin1Char('*')))
        return seen == wanted;
    const QString core = trimText(QString(wanted).remove(QLatin1Char('*')));
    return !core.isEmpty() && seen.contains(core);
}

QString firstMatchingPattern(const QStringList& patterns, const QString& heading)
{
    for (const QString& pattern : patterns) {
        if (headingMatches(pattern, heading))
            return pattern;
    }
    return {};
}

Rules loadRules(Database& db)
{
    Rules rules;
    for (int item = 0; item < kItemCount; ++item) {
        const QString name = ruleName(Item(item));
        try {
            rules[item] = headingPatterns(
                db.scalar(QStringLiteral("select SourceName from MatchColumn where ItemName=:item and MatchType=:type"),
                          {{QStringLiteral("item"), name}, {QStringLiteral("type"), kMatchType}})
                    .toString());
        } catch (const DatabaseError&) {
            rules[item].clear();
        }
        if (rules[item].isEmpty())
            rules[item] = QStringList{name};
    }
    return rules;
}

QString SheetColumn::entry() const
{
    return QStringLiteral("列%1:").arg(number) + heading;
}

QList<SheetColumn> sheetColumns(const Worksheet& sheet)
{
    QList<SheetColumn> columns;
    const int last = std::min(kLastHeadingColumn, sheet.columnCount());
    for (int column = 1; column <= last; ++column) {
        const QString heading = trimText(sheet.cellText(1, column));
        if (!heading.isEmpty())
            columns << SheetColumn{column, heading};
    }
    return columns;
}

int columnOfEntry(const QString& entry)
{
    const qsizetype colon = entry.indexOf(QLatin1Char(':'));
    if (!entry.startsWith(QStringLiteral("列")) || colon < 0)
        return 0;
    bool ok = false;
    const int number = entry.mid(1, colon - 1).toInt(&ok);
    return ok && number > 0 ? number : 0;
}

Columns autoMatch(const QList<SheetColumn>& columns, const Rules& rules, Scene scene)
{
    Columns matched{};
    const QList<Item> order = matchOrder(scene);
    for (const SheetColumn& column : columns) {
        for (Item item : order) {
            if (matched[item] == 0 && !firstMatchingPattern(rules[item], column.heading).isEmpty()) {
                matched[item] = column.number;
                break;
            }
        }
    }
    return matched;
}

ImportRun::ImportRun(Database& db, const Worksheet& sheet, const Columns& columns, const Options& options,
                     IniFile& log, UserMessages& messages)
    : db_(db)
    , sheet_(sheet)
    , columns_(columns)
    , options_(options)
    , log_(log)
    , messages_(messages)
{
}

void ImportRun::startLog(const QString& file)
{
    for (const char* section : {"LOG", "ERR", "INFO"})
        log_.eraseSection(QString::fromLatin1(section));
    log_.writeString(QStringLiteral("INFO"), QStringLiteral("File"),
                     QStringLiteral("数据文件来源:") + QDir::toNativeSeparators(file));
    log_.writeString(QStringLiteral("INFO"), QStringLiteral("Total"),
                     QStringLiteral("本次任务数据共有：%1行").arg(std::max(0, sheet_.rowCount() - 1)));
}

ImportRun::Row ImportRun::readRow(int row) const
{
    Row read;
    for (int item = 0; item < kItemCount; ++item) {
        if (columns_[item] > 0)
            read.values[item] = trimText(sheet_.cellText(row, columns_[item]));
    }
    auto& v = read.values;
    // The member ID column chosen as the full name names the member as such.
    if (columns_[MemberId] > 0 && columns_[FullName] == columns_[MemberId] && !v[FullName].isEmpty())
        v[FullName] = trimText(kMemberPrefix + v[FullName]);
    // A number kept as text in a spreadsheet starts with "'".
    for (Item item : {Phone, Mobile}) {
        const qsizetype quote = v[item].indexOf(QLatin1Char('\''));
        if (quote >= 0)
            v[item].remove(quote, 1);
    }
    if (options_.orderNumberToRemark && !v[OrderNumber].isEmpty())
        v[Remark] = trimText(v[Remark] + QStringLiteral(" 订单号:") + v[OrderNumber] + QLatin1Char(';'));
    if (options_.memberIdToRemark && !v[MemberId].isEmpty())
        v[Remark] = trimText(v[Remark] + QStringLiteral("会员ID:") + v[MemberId]);
    if (options_.group)
        v[Group] = *options_.group;
    if (options_.fixedUnitType)
        read.unitType = options_.unitType;
    else
        read.unitType = v[UnitType] == kOwnUnit ? kOwnUnit : kCounterpartUnit;
    return read;
}

bool ImportRun::isDuplicate(const Row& row)
{
    if (!options_.checkDuplicates)
        return false;
    const auto& v = row.values;
    QString sql = QStringLiteral("select 全称 from ") + tableOf(options_.scene) + QStringLiteral(" where 1=1");
    SqlParams params;
    if (options_.byName) {
        sql += QStringLiteral(" and 全称=:name");
        params.insert(QStringLiteral("name"), v[FullName]);
    }
    if (options_.byContact) {
        sql += QStringLiteral(" and 联系人=:contact");
        params.insert(QStringLiteral("contact"), v[Contact]);
    }
    if (options_.byPhone) {
        sql += QStringLiteral(" and 电话=:phone");
        params.insert(QStringLiteral("phone"), v[Phone]);
    }
    if (params.isEmpty())
        return false;
    if (!db_.query(sql + QStringLiteral(" limit 1"), params).next())
        return false;
    if (!options_.askOnDuplicate)
        return true;
    const QString quote = QStringLiteral("\"");
    QString unit = v[FullName];
    if (options_.byContact)
        unit += QStringLiteral("(联系人:") + v[Contact] + QLatin1Char(')');
    return messages_.ask(QStringLiteral("单位") + quote + unit + quote + QStringLiteral("已经存在,是否跳过？点击") + quote
                             + QStringLiteral("是") + quote + QStringLiteral("跳过,点击") + quote + QStringLiteral("否")
                             + quote + QStringLiteral("继续添加！"),
                         QStringLiteral("记录已经存在"));
}

void ImportRun::insert(const Row& row)
{
    QStringList names;
    QStringList placeholders;
    SqlParams params;
    const auto add = [&](const QString& column, const QVariant& value) {
        const QString key = QStringLiteral("p%1").arg(names.size());
        names << TDBTable::quoted(column);
        placeholders << QLatin1Char(':') + key;
        params.insert(key, value);
    };
    for (int item = 0; item < kItemCount; ++item) {
        const QString column = storedColumn(Item(item), options_.scene);
        if (!column.isEmpty() && item != UnitType)
            add(column, row.values[item]);
    }
    if (options_.scene == Scene::AddressBook) {
        add(storedColumn(UnitType, options_.scene), row.unitType);
        add(QStringLiteral("排序"), 0);
    }
    db_.execute(QStringLiteral("insert into %1 (%2) values (%3)")
                    .arg(tableOf(options_.scene), names.join(QLatin1Char(',')), placeholders.join(QLatin1Char(','))),
                params);
}

Counts importRows(Database& db, const Worksheet& sheet, IniFile& log, const std::function<RowOutcome(int)>& save,
                  const std::function<void(int)>& refused, const std::function<bool(int)>& keepGoing)
{
    Counts counts;
    counts.rows = std::max(0, sheet.rowCount() - 1);
    const LogBatch batch(log);
    db.inTransaction([&] {
        for (int r = 2; r <= sheet.rowCount(); ++r) {
            if (counts.read >= kRowLimit) {
                counts.limitReached = true;
                break;
            }
            ++counts.read;
            try {
                switch (save(r)) {
                case RowOutcome::Saved:
                    ++counts.saved;
                    break;
                case RowOutcome::Invalid:
                    ++counts.invalid;
                    break;
                case RowOutcome::Duplicate:
                    ++counts.duplicates;
                    break;
                }
            } catch (const DatabaseError&) {
                // The engine may have ended the whole transaction: then nothing of this import stays.
                if (!transactionOpen(db))
                    throw;
                refused(r);
                ++counts.failed;
            }
            if (keepGoing && !keepGoing(counts.read)) {
                counts.stopped = true;
                break;
            }
        }
    });
    return counts;
}

Counts ImportRun::run(const std::function<bool(int)>& keepGoing)
{
    const QString logSection = QStringLiteral("LOG");
    QStringList groups;
    const auto save = [&](int r) {
        const Row row = readRow(r);
        const auto& v = row.values;
        if (v[FullName].isEmpty() && v[Contact].isEmpty() && v[Phone].isEmpty()) {
            log_.writeString(logSection, logRowKey(r), QStringLiteral("无效行，联系人、电话、全称均为空！"));
            return RowOutcome::Invalid;
        }
        if (isDuplicate(row)) {
            log_.writeString(logSection, logRowKey(r),
                             v[Contact].isEmpty() ? QStringLiteral("无效行，地址：") + v[Address]
                                                  : QStringLiteral("重复，单位：") + v[FullName] + QStringLiteral(",联系人：")
                                                        + v[Contact] + QStringLiteral(",电话：") + v[Phone]);
            return RowOutcome::Duplicate;
        }
        insert(row);
        if (!groups.contains(v[Group]))
            groups << v[Group];
        return RowOutcome::Saved;
    };
    const auto refused = [&](int r) {
        const auto& v = readRow(r).values;
        log_.writeString(QStringLiteral("ERR"), logRowKey(r),
                         QStringLiteral("错误，单位：") + v[FullName] + QStringLiteral(",联系人：") + v[Contact]
                             + QStringLiteral(",电话：") + v[Phone]);
    };
    Counts counts = importRows(db_, sheet_, log_, save, refused, keepGoing);
    counts.groups = groups;
    return counts;
}

QString finishText(const Counts& counts)
{
    if (counts.rows == 0)
        return QStringLiteral("导入完成，所选数据文件不存在有效数据！");
    QString text = QStringLiteral("导入结束，共有 %1 条导入成功！\r\n").arg(counts.saved);
    if (counts.skipped() > 0)
        text += QStringLiteral(" 其中跳过了%1 条重复的或无效(单位、联系人、电话都为空)的记录！").arg(counts.skipped());
    return text;
}

QString ImportRun::finish(const Counts& counts)
{
    const QString text = finishText(counts);
    log_.writeString(QStringLiteral("INFO"), QStringLiteral("Finish"), text);
    return text;
}

} // namespace slipcraft::importing
