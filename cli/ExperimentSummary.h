#pragma once
// The table a stochastic shortest-path experiment is reported with, as the literature gives it:
// for each group of runs over the seeds, how many converged on the shortest path in expectation
// (count and percentage), and the mean, standard deviation (n - 1) and median of the samples and
// of the link draws those runs took until they converged.

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
    // Rows come as SweepSummary takes them: blocks of seeds x groups consecutive rows, row r of
    // a block a run of group r % groups. Writes the header at once.
    ExperimentSummary(std::ostream& out, const std::string& settingsHeader, int64_t seeds,
                      int64_t groups, std::function<std::string(int64_t)> settingsOf);

    // Rows in increasing order; rows left out (stopped by Ctrl+C) are not counted.
    void Add(int64_t row, const ExperimentRecord& record);
    // Writes the groups of the last block begun, one row per group that holds a run.
    void Finish();

  private:
    void WriteGroup(int64_t group);

    std::ostream& out_;
    int64_t seeds_, groups_;
    std::function<std::string(int64_t)> settingsOf_;
    int64_t blockStart_ = -1;
    std::vector<std::vector<ExperimentRecord>> runs_; // the block's runs by group
};
