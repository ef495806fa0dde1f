#include <gtest/gtest.h>

#include <QApplication>

// Every test program runs with a QApplication so widget tests and engine tests share one main.
// The offscreen platform keeps the tests free of a display.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
