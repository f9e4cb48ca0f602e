#pragma once

#include <QDate>
#include <QString>

#include <optional>

namespace slipcraft {

// The acceptance draft's amount as its boxes show it.
struct DraftAmount {
    bool ok = true;
    QString message; // why the amount was refused; empty when ok
    bool empty = true;
    QString figures; // two decimals, no separators, no currency sign
    QString words;
};

// Reads a typed amount (normalised first). The words carry the currency's name unless it
// is 人民币; yuanAsCircle writes 圆 for 元; rmbInFront puts 人民币 before the words of an
// amount in 人民币 that do not start with it already.
DraftAmount draftAmount(const QString& typed, const QString& currencyName, bool yuanAsCircle, bool rmbInFront);

// The due date typed into its box: "+N" is N days after the date of issue; otherwise a
// date with ".", "/" or "-" between year, month and day. Nullopt when it is neither.
std::optional<QDate> readDueDateEntry(const QString& text, const QDate& issued);

// 2026-04-14 → 贰零贰陆年零肆月壹拾肆日.
QString dueDateWords(const QDate& date);

// The date the words of dueDateWords name; nullopt for any other text.
std::optional<QDate> dueDateFromWords(const QString& words);

} // namespace slipcraft
