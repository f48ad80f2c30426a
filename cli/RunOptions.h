#pragma once
// The command line of pathloom-run, read into settings that override the document's.

#include <cstdint>
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
    std::optional<int> method;          // a SearchMethod; none: summarise only
    std::optional<std::string> source;
    std::optional<std::string> dest;
    std::optional<std::string> paths;
    std::optional<int> model;  // a Model
    std::optional<int> scheme; // a Scheme
    std::optional<float> reward;
    std::optional<float> penalty;
    std::optional<float> factor;
    std::optional<int64_t> samples;
    std::optional<uint64_t> seed;
    std::optional<double> until;
    std::optional<int> threshold; // a Threshold
    std::optional<int> actionSet; // an ActionSet
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
};

// Reads the arguments after the program name; raises UsageError on anything it cannot read.
RunOptions ParseRunOptions(const std::vector<std::string>& args);

// Raises UsageError when --history or --csv names a file the run reads (a document, the path
// file) under any name: the same device and inode. --save and --export may name the document:
// writing it back after the run is what they are for.
void RefuseOutputOverInput(const RunOptions& options);

// Reads a whole text as one number; raises UsageError naming the option otherwise.
float ParseNumber(const std::string& option, const std::string& text);
double ParseDouble(const std::string& option, const std::string& text);
// Digits only, up to the largest 64-bit number.
uint64_t ParseWhole(const std::string& option, const std::string& text);
class Choices;
// The number of the choice the value names, in any letter case.
int Choice(const std::string& option, const std::string& value, const Choices& choices);

const char* UsageText();
