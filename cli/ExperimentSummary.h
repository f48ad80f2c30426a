#pragma once
// The table a stochastic shortest-path experiment is reported with, as the literature gives it:
// for each group of runs over the seeds, how many converged on the shortest path in expectation
// (count and percentage), and the mean, standard deviation (n - 1) and median of the samples and
// of the link draws those runs took until they converged. It keeps 8 bytes per run (16 for a run
// of more than 2^31 link draws), and only until its group is written.

#include "SweepSummary.h"

#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

struct ExperimentRecord {
    bool valid = false;
    bool converged = false; // on the shortest path in expectation
    bool undefined = false; // no shortest path in expectation is defined
    int64_t samples = 0;    // until convergence: when the target was reached, else all
    int64_t linkDraws = 0;
};

class ExperimentSummary {
  public:
    // Rows come as SweepSummary takes them (SummaryBlocks). Writes the header at once.
    ExperimentSummary(std::ostream& out, const std::string& settingsHeader, int64_t seeds,
                      int64_t groups, std::function<std::string(int64_t)> settingsOf);

    // Rows in increasing order; rows left out (stopped by Ctrl+C) are not counted.
    void Add(int64_t row, const ExperimentRecord& record);
    // Writes the groups of the last block begun, one row per group that holds a run.
    void Finish();

  private:
    // A run in 8 bytes: in `state` the flag Converged with the samples it took (at most a run's
    // 2,000,000,000), or what else became of it; in `draws` the link draws of a converged run,
    // or with the flag Many the place of their count in manyDraws_.
    struct Run {
        uint32_t state;
        uint32_t draws;
    };
    static constexpr uint32_t Converged = 1u << 31, Many = 1u << 31;
    enum : uint32_t { Absent, Invalid, NotConverged, Undefined };

    void WriteGroup(int64_t group);

    std::ostream& out_;
    SummaryBlocks blocks_;
    std::function<std::string(int64_t)> settingsOf_;
    int64_t blockStart_ = -1;
    std::vector<Run> runs_; // the block's runs, group by group, seed by seed
    std::vector<int64_t> manyDraws_;
};
