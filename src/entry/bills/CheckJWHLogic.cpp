#include "entry/bills/CheckJWHLogic.h"

#include "entry/BillLogic.h"

namespace slipcraft {

namespace {

// 1,000,000,000 yuan: the first total the form refuses.
constexpr qint64 kFenLimit = 100000000000LL;

} // namespace

RemittanceAmounts remittanceAmounts(const QStringList& typed, const AmountWording& wording)
{
    RemittanceAmounts result;
    qint64 total = 0;
    for (const QString& text : typed) {
        const AmountEntry entry = readAmountEntry(text);
        if (entry.status != AmountEntry::Status::Ok) {
            result.ok = false;
            result.message = entry.message();
            result.caption = entry.status == AmountEntry::Status::NotANumber ? QStringLiteral("金额输入错误")
                                                                              : QStringLiteral("金额输入");
            return result;
        }
        AmountWording each = wording;
        each.figuresWithCode = true;
        each.zeroFigures.clear();
        result.amounts << amountFigures(entry.fen, each);
        total += entry.fen;
    }
    if (total >= kFenLimit) {
        result.amounts.clear();
        result.ok = false;
        result.message = QStringLiteral("金额值必须介于0~1,000,000,000之间！");
        result.caption = QStringLiteral("金额输入");
        return result;
    }
    if (total <= 0) {
        result.amounts = QStringList(typed.size(), QString());
        return result;
    }
    AmountWording totalWording = wording;
    totalWording.figuresWithCode = true;
    totalWording.wordsWithName = true;
    result.totalFigures = amountFigures(total, totalWording);
    result.totalWords = amountWords(total, totalWording);
    return result;
}

QString remittanceDateText(const QDateTime& when, const QString& format)
{
    if (format == QLatin1String("YYYY/MM/DD"))
        return when.date().toString(QStringLiteral("yyyy-MM-dd")).replace(QLatin1Char('-'), QLatin1Char('/'));
    if (format == QStringLiteral("YYYY年MM月DD日"))
        return when.toString(QStringLiteral("yyyy年MM月dd日"));
    if (format == QLatin1String("YYYYMMDD hh:nn"))
        return when.toString(QStringLiteral("yyyyMMdd hh:mm"));
    if (format == QLatin1String("YYYY/MM/DD hh:nn"))
        return when.toString(QStringLiteral("yyyy-MM-dd hh:mm"));
    return when.date().toString(QStringLiteral("yyyy-MM-dd"));
}

} // namespace slipcraft
