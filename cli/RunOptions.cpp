#include "RunOptions.h"

#include "Latin1.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace {

int Choice(const std::string& option, const std::string& value,
           std::initializer_list<const char*> names) {
    int index = 0;
    for (const char* name : names) {
        if (Latin1::EqualNoCase(value, name))
            return index;
        ++index;
    }
    throw UsageError("unknown value for " + option + ": '" + value + "'");
}

} // namespace

const char* UsageText() {
    return "usage: pathloom-run DOCUMENT.plm [--method all|dest|file] [--source NODE] "
           "[--dest NODE] [--paths FILE]\n"
           "                    [--model P|S] [--scheme LRP|LREP|LRI] [--reward X] "
           "[--penalty X] [--factor X]\n"
           "                    [--save OUT.plm] [--json] [--quiet] [--help]\n"
           "NODE is a node label (letter case ignored, first match) or #N, the N-th node.\n";
}

float ParseNumber(const std::string& option, const std::string& text) {
    const char* begin = text.c_str();
    char* end = nullptr;
    errno = 0;
    const float value = std::strtof(begin, &end);
    // strtof skips leading blanks and takes hexadecimal and "inf": none of that is a number here.
    const bool plain =
        !text.empty() && text.find_first_not_of("+-.0123456789eE") == std::string::npos;
    // Below the smallest normal float strtof reports a range error too, yet the value it gives
    // is the nearest float: only an overflow is no number.
    if (!plain || end != begin + text.size() || !std::isfinite(value))
        throw UsageError("not a number for " + option + ": '" + text + "'");
    return value;
}

RunOptions ParseRunOptions(const std::vector<std::string>& args) {
    RunOptions options;
    bool haveDocument = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto value = [&]() -> const std::string& {
            if (i + 1 >= args.size())
                throw UsageError("missing value after " + arg);
            return args[++i];
        };
        if (arg == "--method")
            options.method = Choice(arg, value(), {"all", "dest", "file"});
        else if (arg == "--source")
            options.source = value();
        else if (arg == "--dest")
            options.dest = value();
        else if (arg == "--paths")
            options.paths = value();
        else if (arg == "--model")
            options.model = Choice(arg, value(), {"P", "S"});
        else if (arg == "--scheme")
            options.scheme = Choice(arg, value(), {"LRP", "LREP", "LRI"});
        else if (arg == "--reward")
            options.reward = ParseNumber(arg, value());
        else if (arg == "--penalty")
            options.penalty = ParseNumber(arg, value());
        else if (arg == "--factor")
            options.factor = ParseNumber(arg, value());
        else if (arg == "--save")
            options.save = value();
        else if (arg == "--json")
            options.json = true;
        else if (arg == "--quiet")
            options.quiet = true;
        else if (arg.size() > 1 && arg[0] == '-')
            throw UsageError("unknown option " + arg);
        else if (haveDocument)
            throw UsageError("more than one document: '" + arg + "'");
        else {
            options.document = arg;
            haveDocument = true;
        }
    }
    if (!haveDocument)
        throw UsageError("no document given");
    return options;
}
