#pragma once
// Parameter sweeps: the runs of every combination of the swept settings over one or more
// documents, each on its own copy of its document, on threads that share nothing, written as CSV
// rows in one fixed order whatever the number of jobs (documents outermost, then the swept
// settings in the order given, the last varying fastest).

#include "RunOptions.h"

#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

// A swept setting and its values, as RunSettings holds them.
struct SweepAxis {
    const Setting* setting;
    std::vector<Setting::Value> values;
};

// Reads "NAME=FROM:TO:STEP" or "NAME=A,B,C", NAME a setting that sweeps take (by its typed name
// or Python's). A range of numbers holds FROM + k STEP for every k up to TO: TO itself when it
// falls on a step within rounding, never past it, nothing twice; choices come as a list. Raises
// UsageError on anything else, and on a step so fine that two values run as one 32-bit float.
SweepAxis ParseSweepAxis(const std::string& text);

struct SweepPlan;

// The rows of a sweep, each run alone by its number, wherever (the Python module's workers):
// what RunSweep writes, row for row. The documents are read once, here; `held`, when given, is
// the bytes of the one document, which options.documents then only names. Raises UsageError
// for a sweep the runner refuses, PathloomError for a document it cannot read; what an import
// left out goes to err.
class SweepRows {
  public:
    SweepRows(const RunOptions& options, std::ostream& err, const std::string* held = nullptr);
    // The rows of this part (--part), numbered in the whole sweep.
    int64_t First() const;
    int64_t End() const;
    // The CSV header line, without its line break.
    std::string Header() const;
    // Row i's CSV line with its line break; nothing ("") for a row that repeats another (a
    // setting swept where the row's scheme does not read it); none when Ctrl+C (StopRequested)
    // stopped its run.
    std::optional<std::string> Run(int64_t i) const;

  private:
    std::shared_ptr<const SweepPlan> plan_;
};

// Runs the sweep the options ask for and writes its rows (or, with --summary, its summary) to
// --csv or out. The exit status as pathloom-run gives it: a refused combination or a failed run
// is a row, not a failure; 130 after Ctrl+C, which stops the runs under way and keeps the rows
// finished before them. `held` as for SweepRows.
int RunSweep(const RunOptions& options, std::ostream& out, std::ostream& err,
             std::ostream* progress, const std::string* held = nullptr);
