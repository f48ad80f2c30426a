#include "ExperimentSummary.h"

#include "CsvText.h"

#include <algorithm>
#include <cmath>

ExperimentSummary::ExperimentSummary(std::ostream& out, const std::string& settingsHeader,
                                     int64_t seeds, int64_t groups,
                                     std::function<std::string(int64_t)> settingsOf)
    : out_(out), seeds_(seeds), groups_(groups), settingsOf_(std::move(settingsOf)) {
    out_ << settingsHeader
         << ",runs,invalid,converged on shortest,converged %,samples mean,samples sd,"
            "samples median,link draws mean,link draws sd,link draws median\n";
}

void ExperimentSummary::Add(int64_t row, const ExperimentRecord& record) {
    const int64_t offset = row % (seeds_ * groups_);
    if (row - offset != blockStart_) {
        Finish();
        blockStart_ = row - offset;
        runs_.assign(static_cast<std::size_t>(groups_), {});
    }
    runs_[static_cast<std::size_t>(offset % groups_)].push_back(record);
}

void ExperimentSummary::Finish() {
    if (blockStart_ < 0)
        return;
    for (int64_t group = 0; group < groups_; ++group)
        WriteGroup(group);
    blockStart_ = -1;
}

void ExperimentSummary::WriteGroup(int64_t group) {
    const std::vector<ExperimentRecord>& runs = runs_[static_cast<std::size_t>(group)];
    if (runs.empty())
        return;
    std::vector<double> samples, draws;
    int64_t invalid = 0;
    for (const ExperimentRecord& run : runs) {
        invalid += !run.valid;
        if (run.valid && run.converged) {
            samples.push_back(static_cast<double>(run.samples));
            draws.push_back(static_cast<double>(run.linkDraws));
        }
    }
    std::string row = settingsOf_(blockStart_ + group);
    const auto number = [&row](auto value) {
        row += ',';
        CsvText::AppendNumber(row, value);
    };
    const auto statistics = [&](std::vector<double> values) {
        if (values.empty()) {
            row += ",,,";
            return;
        }
        const double n = static_cast<double>(values.size());
        double sum = 0;
        for (const double v : values)
            sum += v;
        const double mean = sum / n;
        double squares = 0;
        for (const double v : values)
            squares += (v - mean) * (v - mean);
        std::sort(values.begin(), values.end());
        const std::size_t middle = values.size() / 2;
        const double median =
            values.size() % 2 != 0 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
        number(mean);
        if (values.size() > 1)
            number(std::sqrt(squares / (n - 1)));
        else
            row += ',';
        number(median);
    };
    const auto valid = static_cast<int64_t>(runs.size()) - invalid;
    number(static_cast<int64_t>(runs.size()));
    number(invalid);
    number(static_cast<int64_t>(samples.size()));
    if (valid > 0)
        number(100.0 * static_cast<double>(samples.size()) / static_cast<double>(valid));
    else
        row += ',';
    statistics(samples);
    statistics(draws);
    out_ << row << '\n';
}
