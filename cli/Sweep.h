#pragma once
// Parameter sweeps: the runs of every combination of the swept settings over one or more
// documents, each on its own copy of its document, on threads that share nothing, written as CSV
// rows in one fixed order whatever the number of jobs (documents outermost, then the swept
// settings in the order given, the last varying fastest).

#include "RunOptions.h"

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

// Runs the sweep the options ask for and writes its rows (or, with --summary, its summary) to
// --csv or out. The exit status as pathloom-run gives it: a refused combination or a failed run
// is a row, not a failure; 130 after Ctrl+C, which stops the runs under way and keeps the rows
// finished before them.
int RunSweep(const RunOptions& options, std::ostream& out, std::ostream& err,
             std::ostream* progress);
