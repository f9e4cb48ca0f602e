#include "records/ImportMatchCDHPLogic.h"

#include "data/DBTable.h"
#include "data/Database.h"
#include "platform/IniFile.h"
#include "platform/spreadsheet/Workbook.h"
#include "records/MutiPrintCDHPLogic.h"
#include "wording/Functions.h"

#include <algorithm>

namespace slipcraft::draftimport {

namespace {

struct ItemSpec {
    const char* label;
    const char* column;
    const char* headings[4]; // unused entries are null
};

// In the order of Item.
const ItemSpec kItems[kItemCount] = {
    {"票据编号:", "票据编号", {"票据编号", "编号"}},
    {"出票日期:", "出票日期", {"出票日期", "开票日期"}},
    {"汇票到期日:", "汇票到期日", {"汇票到期日", "汇票到期日期", "到期日期"}},
    {"币种:", "币种", {"币种", "货币名称", "货币"}},
    {"金额:", "金额", {"金额", "总金额", "承兑金额"}},
    {"收款人全称:", "收款人全称", {"收款人全称", "收款单位", "收款公司", "收款单位全称"}},
    {"收款人账号:", "收款人账号", {"收款人账号", "收款人帐号", "收款账号", "收款帐号"}},
    {"收款人开户行:", "收款人开户行", {"收款人开户行", "收款银行", "收款人银行", "收款人开户银行"}},
    {"自定义3:", "自定义3", {"自定义3", "自定义三"}},
    {"自定义2:", "自定义2", {"自定义2", "自定义二"}},
    {"自定义1:", "自定义1", {"自定义1", "自定义一"}},
    {"出票人全称:", "出票人全称", {"出票人全称", "出票公司全称", "出票公司"}},
    {"付款行行号:", "付款行行号", {"出票银行行号", "付款行行号"}},
    {"付款行全称:", "付款行名称", {"付款行全称", "付款行名称", "付款银行", "出票人银行"}},
    {"付款行地址:", "付款行地址", {"付款行地址", "出票人银行地址", "OutBankAddr"}},
    {"出票人账号:", "出票人账号", {"出票人账号", "出票人帐号", "出票账号", "付款账号"}},
    {"承兑协议号:", "承兑协议号", {"承兑协议编号", "承兑协议号"}},
    {"分组:", "批打分组", {"分组", "批打分组"}},
};

const QString kStatusImported = QStringLiteral("0");

} // namespace

QString boxLabel(Item item)
{
    return QString::fromUtf8(kItems[item].label);
}

QStringList headings(Item item)
{
    QStringList list;
    for (const char* heading : kItems[item].headings)
        if (heading)
            list << QString::fromUtf8(heading);
    return list;
}

QString storedColumn(Item item)
{
    return QString::fromUtf8(kItems[item].column);
}

QString headingKey(const QString& heading)
{
    QString key = trimText(heading.toLower());
    key.replace(QStringLiteral("  "), QStringLiteral(" "));
    return key;
}

std::optional<Item> itemOfHeading(const QString& heading)
{
    const QString key = headingKey(heading);
    if (key.isEmpty())
        return std::nullopt;
    for (int item = 0; item < kItemCount; ++item) {
        for (const QString& listed : headings(Item(item))) {
            if (listed.compare(key, Qt::CaseInsensitive) == 0)
                return Item(item);
        }
    }
    return std::nullopt;
}

Columns autoMatch(const QList<importing::SheetColumn>& columns)
{
    Columns matched{};
    for (const importing::SheetColumn& column : columns) {
        if (const std::optional<Item> item = itemOfHeading(column.heading))
            matched[*item] = column.number;
    }
    return matched;
}

DraftImportRun::DraftImportRun(Database& db, const Worksheet& sheet, const Columns& columns, const Options& options,
                               IniFile& log)
    : db_(db)
    , sheet_(sheet)
    , columns_(columns)
    , options_(options)
    , log_(log)
{
}

void DraftImportRun::startLog()
{
    for (const char* section : {"LOG", "ERR", "INFO"})
        log_.eraseSection(QString::fromLatin1(section));
}

DraftImportRun::Row DraftImportRun::readRow(int row) const
{
    Row read;
    for (int item = 0; item < kItemCount; ++item) {
        if (columns_[item] > 0)
            read[item] = trimText(sheet_.cellText(row, columns_[item]));
    }
    return read;
}

importing::Counts DraftImportRun::run(const std::function<bool(int)>& keepGoing)
{
    const auto save = [&](int r) {
        Row row = readRow(r);
        if (std::all_of(row.begin(), row.end(), [](const QString& value) { return value.isEmpty(); })) {
            log_.writeString(QStringLiteral("LOG"), importing::logRowKey(r), QStringLiteral("无效行，所有数据列均为空！"));
            return importing::RowOutcome::Invalid;
        }
        // The batch keeps what the form can print: figures, a date, a due date in words.
        const draftbatch::Checked amount = draftbatch::checkAmount(row[Amount]);
        const draftbatch::Checked issued = draftbatch::checkIssueDate(row[IssueDate]);
        const draftbatch::Checked due = draftbatch::checkDueDate(
            row[DueDate], issued.value.isEmpty() || !issued.problem.isEmpty() ? std::nullopt
                                                                               : draftbatch::readDraftDate(issued.value));
        for (const draftbatch::Checked* checked : {&amount, &issued, &due}) {
            if (!checked->problem.isEmpty()) {
                log_.writeString(QStringLiteral("LOG"), importing::logRowKey(r), QStringLiteral("无效行，") + checked->problem);
                return importing::RowOutcome::Invalid;
            }
        }
        row[Amount] = amount.value;
        row[IssueDate] = issued.value;
        row[DueDate] = due.value;
        if (options_.group)
            row[Group] = *options_.group;

        QStringList names;
        QStringList placeholders;
        SqlParams params;
        for (int item = 0; item < kItemCount; ++item) {
            const QString key = QStringLiteral("p%1").arg(item);
            names << TDBTable::quoted(storedColumn(Item(item)));
            placeholders << QLatin1Char(':') + key;
            // A date of issue that is not there is none, not an empty text.
            params.insert(key, item == IssueDate && row[item].isEmpty() ? QVariant() : QVariant(row[item]));
        }
        names << QStringLiteral("票据状态");
        placeholders << QStringLiteral(":status");
        params.insert(QStringLiteral("status"), kStatusImported);
        db_.execute(QStringLiteral("insert into MultiPrintCDHP (%1) values (%2)")
                        .arg(names.join(QLatin1Char(',')), placeholders.join(QLatin1Char(','))),
                    params);
        return importing::RowOutcome::Saved;
    };
    const auto refused = [&](int r) {
        const Row row = readRow(r);
        log_.writeString(QStringLiteral("ERR"), importing::logRowKey(r),
                         QStringLiteral("错误，票据编号：") + row[Number] + QStringLiteral(",收款人：") + row[PayeeName]
                             + QStringLiteral(",金额：") + row[Amount]);
    };
    return importing::importRows(db_, sheet_, log_, save, refused, keepGoing);
}

QString finishText(const importing::Counts& counts)
{
    if (counts.rows == 0)
        return QStringLiteral("导入完成，所选数据文件不存在有效数据！");
    QString text = QStringLiteral("导入完成，共有 %1 条导入成功！\r\n").arg(counts.saved);
    if (counts.skipped() > 0)
        text += QStringLiteral(" 其中跳过了%1 条重复的或无效(单位、联系人、电话都为空)的记录！").arg(counts.skipped());
    return text;
}

QString DraftImportRun::finish(const importing::Counts& counts)
{
    const QString text = draftimport::finishText(counts);
    log_.writeString(QStringLiteral("INFO"), QStringLiteral("MessageInfo"), text);
    return text;
}

} // namespace slipcraft::draftimport
