#include "CommandLineExport.h"

#include "ExportGraph.h"
#include "GraphFormats.h"
#include "Latin1Text.h"
#include "NumberText.h"
#include "PathloomError.h"
#include "clsLA.h"

#include <QCommandLineParser>
#include <cstdio>

bool AsksForExport(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (QByteArray(argv[i]) == "--export")
            return true;
    }
    return false;
}

int ExportFromCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.addOption({"export", "Writes the graph to OUT and ends.", "OUT"});
    parser.addOption({"scale", "The scale of a PNG picture (1: the canvas at 100%).", "S", "1"});
    parser.addPositionalArgument("document", "The document or graph file to export.");
    const auto fail = [](const QString& message) {
        std::fprintf(stderr, "pathloom: %s\n", qPrintable(message));
        return 1;
    };
    if (!parser.parse(arguments))
        return fail(parser.errorText());
    const double scale = NumberText::Read<double>(parser.value("scale").toStdString()).value_or(0);
    if (parser.positionalArguments().size() != 1 || !(scale > 0 && scale <= 16))
        return fail("usage: pathloom --export OUT.png|.svg|.pdf|.graphml|.dot|.csv DOCUMENT "
                    "[--scale S, 0 < S <= 16]");
    const std::string input = Platform::ToFileName(parser.positionalArguments().constFirst());
    const QString output = parser.value("export");
    try {
        clsLA la;
        GraphFormats::OpenByName(la, input);
        const auto smaller = [](double fits) {
            return QString("--scale %1 or less makes one that fits.").arg(fits);
        };
        if (!ExportGraph(la.Graph(), output, scale, smaller,
                         "the picture is too large at this scale"))
            return fail("--export writes .png, .svg, .pdf, .graphml, .xml, .dot, .gv or .csv");
    } catch (const PathloomError& e) {
        return fail(Platform::FromMessageText(e.Description()));
    }
    return 0;
}
