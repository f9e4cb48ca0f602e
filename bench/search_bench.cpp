// The cheque history window over 100,000 stored cheques: the window shown with its
// first list, a keyword filter on the payee, and whether the amount total is exact.
// Prints the median of several runs; the targets are 200 ms and 300 ms.

#include "BenchHome.h"
#include "Median.h"

#include "entry/BillKind.h"
#include "records/Search.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <cstdio>
#include <memory>
#include <vector>

using namespace slipcraft;

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    BenchHome home(ProductData::Omit);
    AppContext& context = *home.context;

    // Amounts as the forms store them: plain, with sign and separators, and now and then none.
    constexpr int kCheques = 100000;
    qint64 expectedFen = 0;
    context.db().inTransaction([&] {
        for (int i = 0; i < kCheques; ++i) {
            const qint64 fen = (i * 7919LL) % 10000000 + 1;
            QString amount;
            switch (i % 4) {
            case 0:
                amount = QStringLiteral("%1.%2").arg(fen / 100).arg(fen % 100, 2, 10, QLatin1Char('0'));
                break;
            case 1:
                amount = QStringLiteral("￥") + groupedYuan(fen);
                break;
            case 2:
                amount = groupedYuan(fen);
                break;
            default:
                amount = QString();
                break;
            }
            if (!amount.isEmpty())
                expectedFen += fen;
            context.db().execute(QStringLiteral("insert into DataZPTable (票据编号, 出票人账号, 收款人全称, 出票日期, 金额, "
                                                "票据状态, 模板种类) values (:n, :a, :p, :d, :m, '已用', '工商银行')"),
                                 {{QStringLiteral("n"), QStringLiteral("%1").arg(i, 8, 10, QLatin1Char('0'))},
                                  {QStringLiteral("a"), QStringLiteral("62220%1").arg(i % 50)},
                                  {QStringLiteral("p"), QStringLiteral("深圳市第%1贸易有限公司").arg(i)},
                                  {QStringLiteral("d"), QDate(2020, 1, 1).addDays(i % 2500).toString(Qt::ISODate)},
                                  {QStringLiteral("m"), amount}});
        }
    });
    const SearchKind& cheques = *searchKindOf(chequeKind());

    constexpr int kRuns = 7;
    std::vector<double> opening;
    std::vector<double> filtering;
    QString total;
    int filtered = 0;
    for (int i = 0; i < kRuns; ++i) {
        QElapsedTimer timer;
        timer.start();
        TfmSearch window(context, cheques);
        window.show();
        QApplication::processEvents();
        opening.push_back(timer.nsecsElapsed() / 1e6);
        total = window.findChild<QLabel*>(QStringLiteral("lbTotal"))->text();

        window.findChild<QLineEdit*>(QStringLiteral("edtPayee"))->setText(QStringLiteral("第1234"));
        timer.restart();
        window.findChild<QPushButton*>(QStringLiteral("btQuery"))->click();
        QApplication::processEvents();
        filtering.push_back(timer.nsecsElapsed() / 1e6);
        filtered = window.listedRows();
    }
    const QString expected = cheques.totalCaption + groupedYuan(expectedFen);
    std::printf("cheque history over %d cheques: window shown with its first list %.1f ms (target < 200 ms), "
                "payee keyword filter %.1f ms for %d rows (target < 300 ms); total %s %s\n",
                kCheques, median(opening), median(filtering), filtered, qPrintable(total),
                total == expected ? "exact" : qPrintable(QStringLiteral("WRONG, expected ") + expected));
    return total == expected ? 0 : 1;
}
