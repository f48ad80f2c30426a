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
        runs_.assign(static_cast<std::size_t>(blocks_.Size()), Run{Absent, 0});
        manyDraws_.clear();
    }
    Run& run =
        runs_[static_cast<std::size_t>(blocks_.Group(row) * blocks_.seeds + blocks_.Seed(row))];
    if (!record.valid) {
        run.state = Invalid;
    } else if (record.undefined) {
        run.state = Undefined;
    } else if (!record.converged) {
        run.state = NotConverged;
    } else {
        run.state = Converged | static_cast<uint32_t>(record.samples);
        if (record.linkDraws < Many) {
            run.draws = static_cast<uint32_t>(record.linkDraws);
        } else {
            run.draws = Many | static_cast<uint32_t>(manyDraws_.size());
            manyDraws_.push_back(record.linkDraws);
        }
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
    const auto begin = runs_.begin() + static_cast<std::ptrdiff_t>(group * blocks_.seeds);
    const auto end = begin + static_cast<std::ptrdiff_t>(blocks_.seeds);
    const auto count = [&](auto test) {
        return static_cast<int64_t>(std::count_if(begin, end, test));
    };
    const int64_t present = count([](Run r) { return r.state != Absent; });
    if (present == 0)
        return;
    const int64_t invalid = count([](Run r) { return r.state == Invalid; });
    const auto converged = [](Run r) { return (r.state & Converged) != 0; };
    const int64_t n = count(converged);
    const auto samples = [](Run r) { return static_cast<double>(r.state & ~Converged); };
    const auto draws = [this](Run r) {
        return static_cast<double>((r.draws & Many) != 0 ? manyDraws_[r.draws & ~Many] : r.draws);
    };

    std::string row = settingsOf_(blockStart_ + group);
    const auto number = [&row](auto value) {
        row += ',';
        CsvText::AppendNumber(row, value);
    };
    number(present);
    number(invalid);
    if (count([](Run r) { return r.state == Undefined; }) > 0) {
        out_ << row << ",undefined,,,,,,,\n";
        return;
    }
    number(n);
    if (present > invalid)
        number(100.0 * static_cast<double>(n) / static_cast<double>(present - invalid));
    else
        row += ',';
    if (n == 0) {
        out_ << row << ",,,,,,\n";
        return;
    }
    // Means and deviations over the runs in seed order, as they came; then the converged runs
    // are sorted in the group's own room for the medians.
    struct Figures {
        double mean, sd, median;
    };
    const auto spread = [&](auto value) {
        double sum = 0;
        for (auto r = begin; r != end; ++r)
            sum += converged(*r) ? value(*r) : 0.0;
        const double mean = sum / static_cast<double>(n);
        double squares = 0;
        for (auto r = begin; r != end; ++r)
            squares += converged(*r) ? (value(*r) - mean) * (value(*r) - mean) : 0.0;
        return Figures{mean, std::sqrt(squares / static_cast<double>(n - 1)), 0.0};
    };
    Figures figures[] = {spread(samples), spread(draws)};
    const auto last = std::partition(begin, end, converged);
    const auto middle = begin + static_cast<std::ptrdiff_t>(n / 2);
    const auto median = [&](auto value) {
        std::sort(begin, last, [&](Run a, Run b) { return value(a) < value(b); });
        return n % 2 != 0 ? value(*middle) : (value(middle[-1]) + value(*middle)) / 2;
    };
    figures[0].median = median(samples);
    figures[1].median = median(draws);
    for (const Figures& f : figures) {
        number(f.mean);
        if (n > 1)
            number(f.sd);
        else
            row += ',';
        number(f.median);
    }
    out_ << row << '\n';
}
