#include <gtest/gtest.h>

#include <QApplication>
#include <QLocale>

// One application object for every test binary; windows, fonts and pictures need it.
// Runs off screen so that tests never depend on a display.
int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
