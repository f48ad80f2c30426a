#pragma once
// The table sampled sweeps are reported with: the runs grouped by their settings over the seeds,
// the share of runs that ended on the cheapest path the group found, and when the target was
// reached. It keeps 8 bytes per run, and only until its group is written.

#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

// How a summary's rows fall into blocks of seeds x groups consecutive rows (the seed axis and the
// axes after it): row r of a block is a run of group r % groups with the seed r / groups.
struct SummaryBlocks {
    int64_t seeds, groups;
    int64_t Size() const { return seeds * groups; }
    int64_t Start(int64_t row) const { return row - row % Size(); }
    int64_t Group(int64_t row) const { return row % Size() % groups; }
    int64_t Seed(int64_t row) const { return row % Size() / groups; }
};

struct SummaryRecord {
    bool valid = false;
    bool hasBest = false; // the run learned a path
    float bestCost = 0.0f;
    int64_t convergedAt = 0; // 0: the target was never reached; at most a run's 2,000,000,000
};

class SweepSummary {
  public:
    // Rows come in blocks of seeds x groups consecutive rows (the seed axis and the axes after
    // it): row r of a block is a run of group r % groups. settingsOf(row) gives the CSV fields of
    // settingsHeader for the row's group. Writes the header at once.
    SweepSummary(std::ostream& out, const std::string& settingsHeader, int64_t seeds,
                 int64_t groups, std::function<std::string(int64_t)> settingsOf);

    // Rows in increasing order; rows left out (stopped by Ctrl+C) are not counted.
    void Add(int64_t row, const SummaryRecord& record);

    // Writes the groups of the last block begun. One row per group that holds a run, in the
    // order of the groups' first rows: its settings, then runs, invalid, cheapest share (runs
    // whose best cost equals the group's lowest, over the valid runs), reached, not reached, and
    // the mean, median, standard deviation (n - 1), minimum and maximum of the sample at which the
    // target was reached, empty where there is nothing to take them from.
    void Finish();

  private:
    // A run in 8 bytes: its best cost, and in `state` the sample that reached the target with
    // the flags below.
    struct Run {
        float bestCost;
        uint32_t state;
    };
    static constexpr uint32_t HasBest = 1u << 31, Absent = HasBest - 1, Invalid = Absent - 1;

    void WriteGroup(int64_t group);

    std::ostream& out_;
    SummaryBlocks blocks_;
    std::function<std::string(int64_t)> settingsOf_;
    int64_t blockStart_ = -1;
    std::vector<Run> runs_; // the block's runs, group by group, seed by seed
};
