#include "CommandLineExport.h"

#include "ExportGraph.h"
#include "GraphFormats.h"
#include "Interrupt.h"
#include "Latin1Text.h"
#include "NumberText.h"
#include "PathloomError.h"
#include "ProgressLine.h"
#include "RunAnimation.h"
#include "RunOptions.h"
#include "RunSetup.h"
#include "Runner.h"
#include "clsLA.h"

#include <QCommandLineParser>
#include <cstdio>
#include <iostream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr const char* AnimationUsage =
    "usage: pathloom --export-animation OUT.gif|OUT.webm DOCUMENT [RUN OPTIONS] "
    "[--paths-per-frame N] [--max-frames N]\n"
    "RUN OPTIONS are pathloom-run's (--method, --source, --dest, --samples, --seed, ...); the "
    "document's stored settings fill in the rest.";

int Fail(const QString& message, int status = 1) {
    std::fprintf(stderr, "pathloom: %s\n", qPrintable(message));
    return status;
}

bool SameFile(const std::string& a, const std::string& b) {
    struct stat first {
    }, second{};
    return ::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0 &&
           first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

// Takes "--name VALUE" or "--name=VALUE" out of the arguments; the last one given counts.
std::optional<QString> TakeOption(QStringList& arguments, const QString& name) {
    std::optional<QString> value;
    for (int i = 0; i < arguments.size();) {
        if (arguments[i] == name && i + 1 < arguments.size()) {
            value = arguments[i + 1];
            arguments.remove(i, 2);
        } else if (arguments[i].startsWith(name + "=")) {
            value = arguments[i].mid(name.size() + 1);
            arguments.remove(i);
        } else {
            ++i;
        }
    }
    return value;
}

int ExportAnimation(QStringList arguments) {
    arguments.removeFirst(); // the program
    const std::optional<QString> out = TakeOption(arguments, "--export-animation");
    AnimationOptions animation;
    std::vector<std::string> runArguments;
    RunOptions options;
    try {
        const auto whole = [&](const char* name, int64_t least, int64_t most, int64_t given) {
            const std::optional<QString> text = TakeOption(arguments, name);
            if (!text)
                return given;
            const uint64_t number = ParseWhole(name, text->toStdString());
            if (number < uint64_t(least) || number > uint64_t(most))
                throw UsageError(std::string(name) + " takes a whole number from " +
                                 std::to_string(least) + " to " + std::to_string(most));
            return static_cast<int64_t>(number);
        };
        animation.pathsPerFrame = whole("--paths-per-frame", 1, AnimationOptions::MostPathsPerFrame,
                                        animation.pathsPerFrame);
        animation.maxFrames = static_cast<int32_t>(
            whole("--max-frames", 2, AnimationOptions::MostFrames, animation.maxFrames));
        for (const QString& argument : arguments)
            runArguments.push_back(Platform::ToFileName(argument));
        options = ParseRunOptions(runArguments);
        if (!out || out->isEmpty())
            throw UsageError("--export-animation needs the file to write");
        if (options.Sweeping() || options.save || options.exportTo || options.history ||
            options.json)
            throw UsageError("--export-animation runs one document once: --save, --export, "
                             "--history, --json and sweeps are pathloom-run's");
        if (!AnimationFormatOf(*out))
            throw UsageError("--export-animation writes .gif or .webm");
        std::vector<std::string> inputs = options.documents;
        for (const Setting& setting : SettingRegistry::All()) {
            if (setting.type == Setting::Type::File && options.Given(setting))
                inputs.push_back(std::get<std::string>(*options.Given(setting)));
        }
        for (const std::string& input : inputs) {
            if (SameFile(input, Platform::ToFileName(*out)))
                throw UsageError("'" + out->toStdString() + "' is an input of the run ('" + input +
                                 "'): it would be overwritten");
        }
    } catch (const UsageError& e) {
        return Fail(QString::fromStdString(e.what()) + "\n" + AnimationUsage, ExitStatus::Usage);
    }

    clsLA la;
    RunSettings settings;
    try {
        for (const std::string& note : GraphFormats::OpenByName(la, options.document))
            Fail(Platform::FromMessageText(note));
        ApplyLengths(la.Graph(), options);
        settings = ApplySettings(la, options).value_or(la.Settings);
    } catch (const UsageError& e) {
        return Fail(QString::fromStdString(e.what()), ExitStatus::Usage);
    } catch (const PathloomError& e) {
        return Fail(Platform::FromMessageText(e.Description()), ExitStatus::LoadFailed);
    }

    InterruptGuard interrupt;
    ProgressLine line(!options.quiet && isatty(STDERR_FILENO) ? &std::cerr : nullptr);
    try {
        const bool done = ExportRunAnimation(
            la, settings, animation, *out, StopRequested, [&](const QString& what, double part) {
                line.Show([&](double) {
                    return what.toStdString() +
                           (part >= 0 ? " (" + std::to_string(int(part * 100)) + "%)" : "");
                });
            });
        if (!done)
            return Fail("stopped: nothing was written", ExitStatus::Interrupted);
    } catch (const PathloomError& e) {
        return Fail(Platform::FromMessageText(e.Description()), ExitStatus::RunError);
    }
    return 0;
}

} // namespace

bool AsksForExport(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const QByteArray argument(argv[i]);
        if (argument == "--export" || argument.startsWith("--export-animation"))
            return true;
    }
    return false;
}

int ExportFromCommandLine(const QStringList& arguments) {
    for (const QString& argument : arguments) {
        if (argument.startsWith("--export-animation"))
            return ExportAnimation(arguments);
    }
    QCommandLineParser parser;
    parser.addOption({"export", "Writes the graph to OUT and ends.", "OUT"});
    parser.addOption({"scale", "The scale of a PNG picture (1: the canvas at 100%).", "S", "1"});
    parser.addPositionalArgument("document", "The document or graph file to export.");
    const auto fail = [](const QString& message) { return Fail(message); };
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
