#include "CommandLineExport.h"
#include "Resources.h"
#include "frmMain.h"

#include <QApplication>
#include <QCommandLineParser>

int main(int argc, char** argv) {
    // An export shows no window, so it needs no display either.
    const bool exporting = AsksForExport(argc, argv);
    if (exporting && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (exporting)
        return ExportFromCommandLine(QApplication::arguments());
    QApplication::setOrganizationName("Pathloom"); // where the recent files are kept
    QApplication::setApplicationName("Pathloom");
    QApplication::setApplicationVersion(PROJECT_VERSION_TEXT);
    QApplication::setDesktopFileName("pathloom");
    QApplication::setWindowIcon(Resources::AppIcon());

    QCommandLineParser parser;
    parser.setApplicationDescription("Learning automata on graphs.");
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument("file", "A Pathloom document (.plm), or a graph to import.",
                                 "[file]");
    parser.addOption({"export",
                      "Writes the graph of DOCUMENT to OUT (.png, .svg, .pdf, .graphml, "
                      ".dot, .csv) without a window: pathloom --export OUT DOCUMENT "
                      "[--scale S].",
                      "OUT"});
    parser.addOption({"export-animation",
                      "Runs DOCUMENT and writes the run as an animation to OUT (.gif, .webm) "
                      "without a window: pathloom --export-animation OUT DOCUMENT [RUN OPTIONS of "
                      "pathloom-run] [--paths-per-frame N] [--max-frames N].",
                      "OUT"});
    parser.process(app);

    frmMain window;
    window.RestorePlacement();
    window.show();
    if (!parser.positionalArguments().isEmpty())
        window.OpenStartupDocument(parser.positionalArguments().constFirst());
    return app.exec();
}
