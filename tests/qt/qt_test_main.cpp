// The desktop services' tests run inside one application object, with no display.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <QGuiApplication>

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ::testing::InitGoogleTest(&argc, argv);
    QGuiApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
