#include "RunOptions.h"

#include "Choices.h"
#include "GraphFormats.h"
#include "LinkLength.h"
#include "NumberText.h"
#include "PathloomError.h"
#include "RunSettings.h"
#include "TextTools.h"

#include <algorithm>
#include <sys/stat.h>

int Choice(const std::string& option, const std::string& value, const Choices& choices) {
    if (const auto number = choices.Parse(value))
        return *number;
    throw UsageError("unknown value for " + option + ": " + TextTools::Quoted(value));
}

const char* UsageText() {
    static const std::string text =
        "usage: pathloom-run DOCUMENT.plm [--method " + Choices::SearchMethods.TypedNames("|") +
        "] [--source NODE] [--dest NODE] [--paths FILE]\n"
        "                    [--samples N] [--seed S] [--until Q] [--threshold " +
        Choices::Thresholds.TypedNames("|") +
        "]\n"
        "                    [--action-set " +
        Choices::ActionSets.TypedNames("|") +
        "] [--length A->B=LENGTH]...\n"
        "                    [--model " +
        Choices::Models.TypedNames("|") + "] [--scheme " + Choices::Schemes.TypedNames("|") +
        "] [--reward X] [--penalty X] [--factor X]\n"
        "                    [--save OUT.plm] [--export OUT.graphml|.dot|.csv] [--history "
        "FILE.csv]\n"
        "                    [--json] [--quiet] [--help]\n"
        "DOCUMENT may also be a graph to import: .graphml, .xml, .dot, .gv or .csv.\n"
        "       pathloom-run DOCUMENT.plm... --method ... [--sweep "
        "NAME=FROM:TO:STEP|NAME=A,B,...]...\n"
        "                    [--csv FILE.csv] [--summary] [--jobs N] [--part K/N]\n"
        "                    NAME: reward, penalty, factor, scheme, model, seed, threshold, "
        "action-set\n"
        "NODE is a node label (letter case ignored, first match) or #N, the N-th node.\n"
        "LENGTH is a number or a distribution: discrete(V:P, ...), uniform(A, B), normal(MEAN, "
        "SD),\n"
        "exponential(MEAN).\n";
    return text.c_str();
}

namespace {

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

} // namespace

uint64_t ParseWhole(const std::string& option, const std::string& text) {
    const auto refuse = [&] {
        return UsageError("not a whole number for " + option + ": " + TextTools::Quoted(text));
    };
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos)
        throw refuse();
    uint64_t value = 0;
    for (const char c : text) {
        const auto digit = static_cast<uint64_t>(c - '0');
        if (value > (UINT64_MAX - digit) / 10)
            throw refuse();
        value = value * 10 + digit;
    }
    return value;
}

float ParseNumber(const std::string& option, const std::string& text) {
    if (const auto value = NumberText::Read<float>(text))
        return *value;
    throw UsageError("not a number for " + option + ": " + TextTools::Quoted(text));
}

double ParseDouble(const std::string& option, const std::string& text) {
    if (const auto value = NumberText::Read<double>(text))
        return *value;
    throw UsageError("not a number for " + option + ": " + TextTools::Quoted(text));
}

RunOptions ParseRunOptions(const std::vector<std::string>& args) {
    RunOptions options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto value = [&]() -> const std::string& {
            if (i + 1 >= args.size())
                throw UsageError("missing value after " + arg);
            return args[++i];
        };
        if (arg == "--method")
            options.method = Choice(arg, value(), Choices::SearchMethods);
        else if (arg == "--source")
            options.source = value();
        else if (arg == "--dest")
            options.dest = value();
        else if (arg == "--paths")
            options.paths = value();
        else if (arg == "--model")
            options.model = Choice(arg, value(), Choices::Models);
        else if (arg == "--scheme")
            options.scheme = Choice(arg, value(), Choices::Schemes);
        else if (arg == "--reward")
            options.reward = ParseNumber(arg, value());
        else if (arg == "--penalty")
            options.penalty = ParseNumber(arg, value());
        else if (arg == "--factor")
            options.factor = ParseNumber(arg, value());
        else if (arg == "--samples")
            // Past the largest count the rules of a run refuse it with their own message.
            options.samples =
                static_cast<int64_t>(std::min<uint64_t>(ParseWhole(arg, value()), INT64_MAX));
        else if (arg == "--seed")
            options.seed = ParseWhole(arg, value());
        else if (arg == "--until")
            options.until = ParseDouble(arg, value());
        else if (arg == "--threshold")
            options.threshold = Choice(arg, value(), Choices::Thresholds);
        else if (arg == "--action-set")
            options.actionSet = Choice(arg, value(), Choices::ActionSets);
        else if (arg == "--length")
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
            options.sweeps.push_back(value());
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
    if (options.documents.empty())
        throw UsageError("no document given");
    options.document = options.documents.front();
    if (options.Sweeping()) {
        if (!options.method)
            throw UsageError("a sweep needs --method");
        if (options.json || options.save || options.history || options.exportTo)
            throw UsageError("--json, --save, --export and --history do not go with a sweep");
        if (options.summary && options.method != SearchMethod::Sample)
            throw UsageError("--summary goes with --method sample");
        if (options.summary && options.part)
            throw UsageError("--summary does not go with --part: summarise the joined parts");
    }
    if ((options.samples || options.until) && options.method != SearchMethod::Sample)
        throw UsageError("--samples and --until go with --method sample");
    if (options.actionSet == ActionSet::Variable && options.method != SearchMethod::Sample)
        throw UsageError("--action-set variable goes with --method sample");
    if (options.history && !options.method)
        throw UsageError("--history goes with --method");
    return options;
}

void RefuseOutputOverInput(const RunOptions& options) {
    std::vector<std::string> inputs = options.documents;
    if (options.paths)
        inputs.push_back(*options.paths);
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
