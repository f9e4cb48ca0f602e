#include "entry/bills/CheckCDHPLogic.h"

#include "entry/BillLogic.h"
#include "wording/Functions.h"

#include <QRegularExpression>

namespace slipcraft {

namespace {

const QString kRmb = QStringLiteral("人民币");

} // namespace

DraftAmount draftAmount(const QString& typed, const QString& currencyName, bool yuanAsCircle, bool rmbInFront)
{
    DraftAmount amount;
    if (trimText(normalizeAmount(typed)).isEmpty())
        return amount;
    const AmountEntry entry = readAmountEntry(typed);
    switch (entry.status) {
    case AmountEntry::Status::Ok:
        break;
    case AmountEntry::Status::NotANumber:
        amount.ok = false;
        amount.message = QStringLiteral("金额只能为数值，例如：123.50  ！");
        return amount;
    case AmountEntry::Status::OutOfRange:
        amount.ok = false;
        amount.message = entry.message();
        return amount;
    }
    amount.empty = false;
    amount.figures = fenToYuanText(entry.fen);
    amount.words = fenToWords(entry.fen);
    // 圆 is the unit's old form; a currency's name (美元) keeps its own.
    if (yuanAsCircle)
        amount.words.replace(QStringLiteral("元"), QStringLiteral("圆"));
    if (currencyName != kRmb)
        amount.words.prepend(currencyName);
    // A foreign currency's words never get 人民币 in front of them.
    if (rmbInFront && currencyName == kRmb && !amount.words.startsWith(kRmb))
        amount.words.prepend(kRmb);
    return amount;
}

std::optional<QDate> readDueDateEntry(const QString& text, const QDate& issued)
{
    QString entry = trimText(text);
    if (entry.contains(QLatin1Char('+'))) {
        entry.remove(entry.indexOf(QLatin1Char('+')), 1);
        bool ok = false;
        const int days = trimText(entry).toInt(&ok);
        if (!ok || !issued.isValid())
            return std::nullopt;
        return issued.addDays(days);
    }
    static const QRegularExpression date(QStringLiteral("^(\\d{4})[./-](\\d{1,2})[./-](\\d{1,2})$"));
    const QRegularExpressionMatch match = date.match(entry);
    if (!match.hasMatch())
        return std::nullopt;
    const QDate read(match.captured(1).toInt(), match.captured(2).toInt(), match.captured(3).toInt());
    if (!read.isValid())
        return std::nullopt;
    return read;
}

QString dueDateWords(const QDate& date)
{
    return datePartToWords(date.toString(QStringLiteral("yyyy"))) + QStringLiteral("年")
           + datePartToWords(date.toString(QStringLiteral("MM"))) + QStringLiteral("月")
           + datePartToWords(date.toString(QStringLiteral("dd"))) + QStringLiteral("日");
}

std::optional<QDate> dueDateFromWords(const QString& words)
{
    QString text = trimText(words);
    text.replace(QStringLiteral("年"), QStringLiteral("-")).replace(QStringLiteral("月"), QStringLiteral("-"));
    text.remove(QStringLiteral("日"));
    const QStringList parts = text.split(QLatin1Char('-'));
    if (parts.size() != 3)
        return std::nullopt;
    const QString year = datePartFromWords(parts[0]);
    const QString month = datePartFromWords(parts[1]);
    const QString day = datePartFromWords(parts[2]);
    static const QRegularExpression digits(QStringLiteral("^\\d+$"));
    if (!digits.match(year).hasMatch() || month.isEmpty() || day.isEmpty())
        return std::nullopt;
    const QDate date(year.toInt(), month.toInt(), day.toInt());
    if (!date.isValid())
        return std::nullopt;
    return date;
}

} // namespace slipcraft
