// Words 100,000 amounts of every length and shape, as the history export and batch
// printing do, and prints the time taken.

#include "wording/Functions.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QStringList>

#include <cstdio>

int main()
{
    constexpr int kAmounts = 100000;
    // A fixed seed: every run words the same amounts.
    QRandomGenerator random(20240517);
    QStringList amounts;
    amounts.reserve(kAmounts);
    for (int i = 0; i < kAmounts; ++i) {
        const int wholeDigits = random.bounded(1, 14);
        QString amount;
        if (random.bounded(10) == 0)
            amount += u'-';
        for (int d = 0; d < wholeDigits; ++d) {
            // Many zeros, so that the clean-up passes have work to do.
            amount += random.bounded(3) == 0 ? QChar(u'1' + random.bounded(9)) : QChar(u'0');
        }
        const int fractionDigits = random.bounded(4);
        if (fractionDigits > 0) {
            amount += u'.';
            for (int d = 0; d < fractionDigits; ++d)
                amount += QChar(u'0' + random.bounded(10));
        }
        amounts += amount;
    }

    QElapsedTimer timer;
    timer.start();
    qsizetype characters = 0;
    for (const QString& amount : amounts)
        characters += slipcraft::amountToWords(amount).size();
    const double ms = double(timer.nsecsElapsed()) / 1e6;

    std::printf("wording: %d amounts in %.1f ms (%lld characters of wording)\n", kAmounts, ms,
                static_cast<long long>(characters));
    return 0;
}
