// Writes and reads back a list of 6,000 rows and 40 columns, the size of a large
// history export or receiver import, and prints the time each takes.

#include "platform/spreadsheet/Workbook.h"
#include "platform/spreadsheet/XlsxWriter.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <ctime>

using namespace slipcraft;

namespace {
qint64 cpuMs(std::clock_t since)
{
    return qint64(std::clock() - since) * 1000 / CLOCKS_PER_SEC;
}
} // namespace

int main()
{
    constexpr int kRows = 6000;
    constexpr int kColumns = 40;
    constexpr qint64 kTargetMs = 1000;

    QStringList headings;
    for (int column = 0; column < kColumns; ++column)
        headings << QStringLiteral("栏目%1").arg(column + 1);
    // Names, long account numbers, amounts and dates, as the lists hold them.
    QList<QStringList> rows;
    rows.reserve(kRows);
    for (int row = 0; row < kRows; ++row) {
        QStringList cells;
        for (int column = 0; column < kColumns; ++column) {
            switch (column % 4) {
            case 0: cells << QStringLiteral("深圳市第%1号单位").arg(row); break;
            case 1: cells << QStringLiteral("622202020011%1").arg(row * 40 + column, 7, 10, QLatin1Char('0')); break;
            case 2: cells << QString::number(row * 13.25 + column, 'f', 2); break;
            default: cells << QStringLiteral("2024-03-%1").arg(row % 28 + 1, 2, 10, QLatin1Char('0')); break;
            }
        }
        rows << cells;
    }

    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("bench.xlsx"));
    try {
        QElapsedTimer timer;
        timer.start();
        std::clock_t cpu = std::clock();
        XlsxWriter writer(file, headings, QStringLiteral("bench"));
        for (const QStringList& row : std::as_const(rows))
            writer.addRow(row);
        writer.close();
        const qint64 writeMs = timer.elapsed();
        const qint64 writeCpuMs = cpuMs(cpu);

        timer.restart();
        cpu = std::clock();
        const Workbook book = Workbook::open(file);
        const qint64 readMs = timer.elapsed();
        const qint64 readCpuMs = cpuMs(cpu);

        const Worksheet& sheet = book.activeSheet();
        const bool same = sheet.rowCount() == kRows + 1 && sheet.columnCount() == kColumns
                          && sheet.cellText(kRows + 1, 2) == rows.last().at(1);
        std::printf("spreadsheet: %d rows x %d columns (%lld KB)\n", kRows, kColumns,
                    QFileInfo(file).size() / 1024);
        // Processor time too: on a busy machine the elapsed time says more about the others.
        std::printf("  write .xlsx: %lld ms elapsed, %lld ms processor (target < %lld ms)\n", writeMs, writeCpuMs,
                    kTargetMs);
        std::printf("  read .xlsx:  %lld ms elapsed, %lld ms processor (target < %lld ms)%s\n", readMs, readCpuMs,
                    kTargetMs, same ? "" : " -- READ BACK DIFFERS");
        return same ? 0 : 1;
    } catch (const SpreadsheetError& error) {
        std::fprintf(stderr, "%s\n", error.text().toLocal8Bit().constData());
        return 1;
    }
}
