#include "ExperimentSummary.h"

#include "CsvText.h"

#include <algorithm>
#include <cmath>

ExperimentSummary::ExperimentSummary(std::ostream& out, const std::string& settingsHeader,
                                     int64_t seeds, int64_t groups,
                                     std::function<std::string(int64_t)> settingsOf)
    : out_(out), blocks_{seeds, groups}, settingsOf_(std::move(settingsOf)) {
    out_ << settingsHeader
         << ",runs,invalid,converged on shortest,converged %,samples mean,samples sd,"
            "samples median,link draws mean,link draws sd,link draws median\n";
}

void ExperimentSummary::Add(int64_t row, const ExperimentRecord& record) {
    if (blocks_.Start(row) != blockStart_) {
        Finish();
        blockStart_ = blocks_.Start(row);
        groups_.assign(static_cast<std::size_t>(blocks_.groups), {});
    }
    Group& group = groups_[static_cast<std::size_t>(blocks_.Group(row))];
    ++group.runs;
    group.invalid += !record.valid;
    if (record.valid && record.converged) {
        group.samples.push_back(static_cast<double>(record.samples));
        group.draws.push_back(static_cast<double>(record.linkDraws));
    }
}

void ExperimentSummary::Finish() {
    if (blockStart_ < 0)
        return;
    for (int64_t group = 0; group < blocks_.groups; ++group)
        WriteGroup(group);
    blockStart_ = -1;
}

void ExperimentSummary::WriteGroup(int64_t group) {
    const Group& runs = groups_[static_cast<std::size_t>(group)];
    if (runs.runs == 0)
        return;
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
    const int64_t valid = runs.runs - runs.invalid;
    const auto converged = static_cast<int64_t>(runs.samples.size());
    number(runs.runs);
    number(runs.invalid);
    number(converged);
    if (valid > 0)
        number(100.0 * static_cast<double>(converged) / static_cast<double>(valid));
    else
        row += ',';
    statistics(runs.samples);
    statistics(runs.draws);
    out_ << row << '\n';
}
