#pragma once
// The table sampled sweeps are reported with: the runs grouped by their settings over the seeds,
// the share of runs that ended on the cheapest path the group found, and when the target was
// reached.

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

struct SummaryRecord {
    std::string group; // the settings' CSV fields, the seed left out
    bool valid = false;
    bool hasBest = false; // the run learned a path
    float bestCost = 0.0f;
    int64_t convergedAt = 0; // 0: the target was never reached
};

// One row per group, in the order the groups first appear: its settings, then runs, invalid,
// cheapest share (runs whose best cost equals the group's lowest, over the valid runs), reached,
// not reached, and the mean, median, standard deviation (n - 1), minimum and maximum of the
// sample at which the target was reached, empty where there is nothing to take them from.
void WriteSummary(std::ostream& out, const std::string& settingsHeader,
                  const std::vector<SummaryRecord>& records);
