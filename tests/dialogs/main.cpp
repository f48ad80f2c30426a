#include <QApplication>
#include <gtest/gtest.h>

namespace {

// The offscreen platform cannot fix a window's size and says so for every fixed-size dialog.
QtMessageHandler standard = nullptr;

void QuietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.contains("does not support propagateSizeHints"))
        return;
    if (standard)
        standard(type, context, message);
}

} // namespace

int main(int argc, char** argv) {
    // Also when CTest lists the tests at build time, outside the test's own environment.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    standard = qInstallMessageHandler(QuietHandler);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
