#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // Headless unless told otherwise, also when CMake lists the tests at build time.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv); // fonts and painting need the application object
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
