#pragma once
// The command line of pathloom-run, read into settings that override the document's.

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

// A command line that cannot be run: the message says why; exit status 2.
class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

struct RunOptions {
    std::string document;
    std::optional<int> method; // 0 all, 1 dest, 2 file, 3 sample; none: summarise only
    std::optional<std::string> source;
    std::optional<std::string> dest;
    std::optional<std::string> paths;
    std::optional<int> model;  // 0 P, 1 S
    std::optional<int> scheme; // 0 LRP, 1 LR(E)P, 2 LRI
    std::optional<float> reward;
    std::optional<float> penalty;
    std::optional<float> factor;
    std::optional<int64_t> samples;
    std::optional<uint64_t> seed;
    std::optional<double> until;
    std::optional<std::string> save;
    std::optional<std::string> history; // a CSV file of every learned path
    bool json = false;
    bool quiet = false;
};

// Reads the arguments after the program name; raises UsageError on anything it cannot read.
RunOptions ParseRunOptions(const std::vector<std::string>& args);

// Reads a whole text as one number; raises UsageError naming the option otherwise.
float ParseNumber(const std::string& option, const std::string& text);

const char* UsageText();
