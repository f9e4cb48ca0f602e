#pragma once

#include <QString>

namespace slipcraft {

// What the waybill's amount box shows for the typed figures in a format of its list:
// the figures themselves ("打印小写金额" or none), the amount in words
// ("打印中国传统大写金额"), or one upper-case numeral per position of a picture such as
// "00000.00  限万位到分". ok is false (and text the figures) for figures that are not a
// number.
struct WaybillAmount {
    bool ok = true;
    QString text;
};
WaybillAmount waybillAmountText(const QString& figures, const QString& format);

inline const QString kWaybillAmountMessage =
    QStringLiteral("请输入有效数字，例如：116.5。 不接受全角数字,请尽量用小键盘输入~");

} // namespace slipcraft
