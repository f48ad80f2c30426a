#include "RunOptions.h"

#include "GraphFormats.h"
#include "LinkLength.h"
#include "PathloomError.h"
#include "TextTools.h"

#include <functional>
#include <sys/stat.h>

namespace {

// The runner's own options as usage texts show them, after the run's settings.
const char* const OwnOptions[] = {"[--length A->B=LENGTH]...",
                                  "[--save OUT.plm]",
                                  "[--export OUT.graphml|.dot|.csv]",
                                  "[--history FILE.csv]",
                                  "[--json]",
                                  "[--quiet]",
                                  "[--help]"};
const char* const SweepOptions[] = {"[--sweep NAME=FROM:TO:STEP|NAME=A,B,...]...",
                                    "[--csv FILE.csv]", "[--summary]", "[--jobs N]",
                                    "[--part K/N]"};

// A command of the usage text: its words after `start`, the lines broken before a word that
// would reach past the width, each continued line indented under the first.
template <typename Words> std::string UsageLines(std::string start, const Words& words) {
    constexpr std::size_t Width = 110;
    const std::string indent(20, ' ');
    std::string text;
    std::string line = std::move(start);
    for (const std::string_view word : words) {
        if (line.size() + 1 + word.size() > Width && line != indent) {
            text += line + "\n";
            line = indent;
        }
        line += (line == indent ? "" : " ") + std::string(word);
    }
    return text + line + "\n";
}

// "K/N": part K of N, 1 <= K <= N <= 10^9 (so that the rows of a part stay within 64 bits).
std::pair<int64_t, int64_t> ParsePart(const std::string& text) {
    const std::size_t slash = text.find('/');
    const auto refuse = [&] {
        return UsageError("not a part K/N for --part: " + TextTools::Quoted(text));
    };
    if (slash == std::string::npos)
        throw refuse();
    const uint64_t k = ParseWhole("--part", text.substr(0, slash));
    const uint64_t n = ParseWhole("--part", text.substr(slash + 1));
    if (k < 1 || k > n || n > 1000000000)
        throw refuse();
    return {static_cast<int64_t>(k), static_cast<int64_t>(n)};
}

// "LINK=LENGTH", the length checked here so that a mistake is told before any document loads.
std::pair<std::string, std::string> ParseLength(const std::string& text) {
    const std::size_t equals = text.find('=');
    if (equals == std::string::npos || text.find("->") > equals)
        throw UsageError("--length takes A->B=LENGTH: " + TextTools::Quoted(text));
    const std::string length = text.substr(equals + 1);
    if (LinkLength::LooksLikeDistribution(length)) {
        try {
            LinkLength::Parse(length);
        } catch (const PathloomError& e) {
            throw UsageError("--length: " + e.Description());
        }
    } else {
        ParseNumber("--length", length);
    }
    return {text.substr(0, equals), length};
}

// The choice of a setting given, or none.
const Choices::Row* GivenChoice(const RunOptions& options, const Setting& setting) {
    const auto& given = options.Given(setting);
    return given ? setting.ChoiceOf(*given) : nullptr;
}

// A setting that only the path sources read goes with the methods whose sources read it; a
// choice goes with the choices of other settings it needs (Choices::Row::needs). The method a
// setting goes with must be given (without --method nothing runs); another setting it goes with
// may come from the document, and the rules of the run check it there.
void RefuseSettingsApart(const RunOptions& options) {
    const Setting& method = SettingRegistry::Of(&RunSettings::GraphSearchMethod);
    for (const Setting& setting : SettingRegistry::All()) {
        if (!options.Given(setting))
            continue;
        if (setting.ReadThrough(method, true)) {
            const Choices::Row* chosen = GivenChoice(options, method);
            if (!chosen || !setting.ReadBy(*chosen))
                throw UsageError(setting.Option() + " goes with " + method.Option() + " " +
                                 setting.Readers(method));
        }
        const Choices::Row* chosen = GivenChoice(options, setting);
        for (const auto& [needed, choice] : SettingRegistry::Needs(chosen)) {
            const Choices::Row* given = GivenChoice(options, *needed);
            if (!given && needed != &method)
                continue;
            if (!given || given->number != choice)
                throw UsageError(setting.Option() + " " + chosen->typed + " goes with " +
                                 needed->Option() + " " + needed->choices->Of(choice)->typed);
        }
    }
}

} // namespace

std::optional<int32_t> RunOptions::Method() const {
    if (const auto& method = Given(SettingRegistry::Of(&RunSettings::GraphSearchMethod)))
        return std::get<int32_t>(*method);
    return std::nullopt;
}

const char* UsageText() {
    static const std::string text = [] {
        std::vector<std::string> run;
        std::string swept;
        for (const Setting& setting : SettingRegistry::All()) {
            run.push_back("[" + setting.Option() + " " +
                          (setting.choices ? setting.choices->TypedNames("|") : setting.word) +
                          "]");
            if (setting.sweep != Setting::Sweep::No)
                swept += (swept.empty() ? "" : ", ") + std::string(setting.typed);
        }
        run.insert(run.end(), std::begin(OwnOptions), std::end(OwnOptions));
        return UsageLines("usage: pathloom-run DOCUMENT.plm", run) +
               "DOCUMENT may also be a graph to import: .graphml, .xml, .dot, .gv or .csv.\n" +
               UsageLines("       pathloom-run DOCUMENT.plm... --method ...", SweepOptions) +
               "                    NAME: " + swept +
               "\n"
               "NODE is a node label (letter case ignored, first match) or #N, the N-th node.\n"
               "LENGTH is a number or a distribution: discrete(V:P, ...), uniform(A, B), "
               "normal(MEAN, SD),\n"
               "exponential(MEAN).\n";
    }();
    return text.c_str();
}

uint64_t ParseWhole(const std::string& option, const std::string& text) {
    return AsUsage([&] { return SettingRegistry::ReadWhole(text, option); });
}

float ParseNumber(const std::string& option, const std::string& text) {
    return AsUsage([&] { return SettingRegistry::ReadNumber<float>(text, option); });
}

double ParseDouble(const std::string& option, const std::string& text) {
    return AsUsage([&] { return SettingRegistry::ReadNumber<double>(text, option); });
}

void TakeOption(RunOptions& options, const std::string& arg,
                const std::function<std::string()>& value) {
    const Setting* setting = arg.size() > 2 && arg.compare(0, 2, "--") == 0
                                 ? SettingRegistry::Find(arg.substr(2))
                                 : nullptr;
    if (setting && setting->Option() == arg) {
        const std::string text = value();
        options.settings[SettingRegistry::Index(*setting)] =
            AsUsage([&] { return setting->Parse(text); });
    } else if (arg == "--length")
        options.lengths.push_back(ParseLength(value()));
    else if (arg == "--save")
        options.save = value();
    else if (arg == "--export") {
        options.exportTo = value();
        if (!GraphFormats::FormatOfFileName(*options.exportTo))
            throw UsageError("--export writes .graphml, .xml, .dot, .gv or .csv: '" +
                             *options.exportTo + "'");
    } else if (arg == "--history")
        options.history = value();
    else if (arg == "--sweep")
        options.sweeps.emplace_back(value());
    else if (arg == "--csv")
        options.csv = value();
    else if (arg == "--summary")
        options.summary = true;
    else if (arg == "--jobs") {
        const uint64_t jobs = ParseWhole(arg, value());
        if (jobs < 1 || jobs > 1024)
            throw UsageError("--jobs takes 1 to 1024");
        options.jobs = static_cast<int>(jobs);
    } else if (arg == "--part")
        options.part = ParsePart(value());
    else if (arg == "--json")
        options.json = true;
    else if (arg == "--quiet")
        options.quiet = true;
    else if (arg.size() > 1 && arg[0] == '-')
        throw UsageError("unknown option " + TextTools::Cut(arg));
    else
        options.documents.push_back(arg);
}

void CheckRunOptions(RunOptions& options) {
    if (options.documents.empty())
        throw UsageError("no document given");
    options.document = options.documents.front();
    const std::optional<int32_t> method = options.Method();
    if (options.Sweeping()) {
        if (!method)
            throw UsageError("a sweep needs --method");
        if (options.json || options.save || options.history || options.exportTo)
            throw UsageError("--json, --save, --export and --history do not go with a sweep");
        if (options.summary && method != SearchMethod::Sample)
            throw UsageError("--summary goes with --method sample");
        if (options.summary && options.part)
            throw UsageError("--summary does not go with --part: summarise the joined parts");
    }
    RefuseSettingsApart(options);
    if (options.history && !method)
        throw UsageError("--history goes with --method");
}

RunOptions ParseRunOptions(const std::vector<std::string>& args) {
    RunOptions options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        TakeOption(options, args[i], [&]() -> std::string {
            if (i + 1 >= args.size())
                throw UsageError("missing value after " + args[i]);
            return args[++i];
        });
    }
    CheckRunOptions(options);
    return options;
}

void RefuseOutputOverInput(const RunOptions& options) {
    std::vector<std::string> inputs = options.documents;
    for (const Setting& setting : SettingRegistry::All()) {
        if (setting.type == Setting::Type::File && options.Given(setting))
            inputs.push_back(std::get<std::string>(*options.Given(setting)));
    }
    for (const auto& [option, output] :
         {std::pair{"--history", &options.history}, std::pair{"--csv", &options.csv}}) {
        struct stat target {};
        if (!*output || ::stat((*output)->c_str(), &target) != 0)
            continue;
        for (const std::string& input : inputs) {
            struct stat source {};
            if (::stat(input.c_str(), &source) == 0 && source.st_dev == target.st_dev &&
                source.st_ino == target.st_ino)
                throw UsageError(std::string(option) + " '" + **output +
                                 "' is an input of the run ('" + input +
                                 "'): it would be overwritten");
        }
    }
}
