#pragma once
// The command line of pathloom-run: the run's settings (SettingRegistry), read into values that
// override the document's, and the runner's own options.

#include "SettingRegistry.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

// A command line that cannot be run: the message says why; exit status 2.
class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

struct RunOptions {
    std::string document;               // the first document
    std::vector<std::string> documents; // all of them; more than one only in a sweep
    // The settings given, by their place in SettingRegistry::All(); none where not given.
    std::vector<std::optional<Setting::Value>> settings =
        std::vector<std::optional<Setting::Value>>(SettingRegistry::All().size());
    // --length LINK=LENGTH in the order given: "A->B" and a distribution's text or a number.
    std::vector<std::pair<std::string, std::string>> lengths;
    std::optional<std::string> save;
    std::optional<std::string> exportTo; // GraphML, DOT or CSV by its extension
    std::optional<std::string> history;  // a CSV file of every learned path
    bool json = false;
    bool quiet = false;

    // Sweeps: the runs of every combination of the swept settings over the documents.
    std::vector<std::string> sweeps; // "NAME=FROM:TO:STEP" or "NAME=A,B,C", in the order given
    std::optional<std::string> csv;
    bool summary = false;
    std::optional<int> jobs;
    std::optional<std::pair<int64_t, int64_t>> part; // K of N
    bool Sweeping() const {
        return !sweeps.empty() || csv || summary || jobs || part || documents.size() > 1;
    }

    const std::optional<Setting::Value>& Given(const Setting& setting) const {
        return settings[SettingRegistry::Index(setting)];
    }
    // The search method given (a SearchMethod); none: summarise only.
    std::optional<int32_t> Method() const;
};

// Reads the arguments after the program name; raises UsageError on anything it cannot read.
RunOptions ParseRunOptions(const std::vector<std::string>& args);

// What ParseRunOptions does with each option (a setting by its typed name, "--save", ...) or
// document, `value` giving the value it takes: so that the Python module's keywords are read
// as the words are. Then the rules of the whole command line.
void TakeOption(RunOptions& options, const std::string& option,
                const std::function<std::string()>& value);
void CheckRunOptions(RunOptions& options);

// Raises UsageError when --history or --csv names a file the run reads (a document, the path
// file) under any name: the same device and inode. --save and --export may name the document:
// writing it back after the run is what they are for.
void RefuseOutputOverInput(const RunOptions& options);

// What the registry of settings refuses (std::invalid_argument), as a usage error.
template <typename Read> auto AsUsage(Read read) -> decltype(read()) {
    try {
        return read();
    } catch (const std::invalid_argument& e) {
        throw UsageError(e.what());
    }
}

// Reads a whole text as one number; raises UsageError naming the option otherwise.
float ParseNumber(const std::string& option, const std::string& text);
double ParseDouble(const std::string& option, const std::string& text);
// Digits only, up to the largest 64-bit number.
uint64_t ParseWhole(const std::string& option, const std::string& text);

const char* UsageText();
