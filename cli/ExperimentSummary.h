#pragma once
// The table a stochastic shortest-path experiment is reported with, as the literature gives it:
// for each group of runs over the seeds, how many converged on the shortest path in expectation
// (count and percentage), and the mean, standard deviation (n - 1) and median of the samples and
// of the link draws those runs took until they converged. It keeps 16 bytes per converged run
// (the medians need them), a count of the others, and only until their group is written.

#include "SweepSummary.h"

#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

struct ExperimentRecord {
    bool valid = false;
    bool converged = false; // on the shortest path in expectation
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
    // A group's runs: counted, and only what a converged run is measured by kept.
    struct Group {
        int64_t runs = 0, invalid = 0;
        std::vector<double> samples, draws; // of the converged runs
    };
    void WriteGroup(int64_t group);

    std::ostream& out_;
    SummaryBlocks blocks_;
    std::function<std::string(int64_t)> settingsOf_;
    int64_t blockStart_ = -1;
    std::vector<Group> groups_; // the block's
};
