#include "Resources.h"
#include "frmMain.h"

#include <QApplication>
#include <QCommandLineParser>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Pathloom");
    QApplication::setApplicationVersion(PROJECT_VERSION_TEXT);
    QApplication::setDesktopFileName("pathloom");
    QApplication::setWindowIcon(Resources::AppIcon());

    QCommandLineParser parser;
    parser.setApplicationDescription("Learning automata on graphs.");
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument("file", "A Pathloom document (.plm) to open.", "[file]");
    parser.process(app);

    frmMain window;
    window.show();
    if (!parser.positionalArguments().isEmpty())
        window.OpenStartupDocument(parser.positionalArguments().constFirst());
    return app.exec();
}
