#include "SweepSummary.h"

#include "CsvText.h"

#include <algorithm>
#include <cmath>

SweepSummary::SweepSummary(std::ostream& out, const std::string& settingsHeader, int64_t seeds,
                           int64_t groups, std::function<std::string(int64_t)> settingsOf)
    : out_(out), blocks_{seeds, groups}, settingsOf_(std::move(settingsOf)) {
    out_ << settingsHeader
         << ",runs,invalid,cheapest share,reached,not reached,mean,median,sd,min,max\n";
}

void SweepSummary::Add(int64_t row, const SummaryRecord& record) {
    if (blocks_.Start(row) != blockStart_) {
        Finish();
        blockStart_ = blocks_.Start(row);
        runs_.assign(static_cast<std::size_t>(blocks_.Size()), Run{0.0f, Absent});
    }
    Run& run =
        runs_[static_cast<std::size_t>(blocks_.Group(row) * blocks_.seeds + blocks_.Seed(row))];
    run.bestCost = record.bestCost;
    run.state = !record.valid
                    ? Invalid
                    : static_cast<uint32_t>(record.convergedAt) | (record.hasBest ? HasBest : 0u);
}

void SweepSummary::Finish() {
    if (blockStart_ < 0)
        return;
    for (int64_t group = 0; group < blocks_.groups; ++group)
        WriteGroup(group);
    blockStart_ = -1;
}

void SweepSummary::WriteGroup(int64_t group) {
    const auto begin = runs_.begin() + static_cast<std::ptrdiff_t>(group * blocks_.seeds);
    const auto end = begin + static_cast<std::ptrdiff_t>(blocks_.seeds);
    const auto present = std::count_if(begin, end, [](Run r) { return r.state != Absent; });
    if (present == 0)
        return;
    const auto valid = [](Run r) { return r.state != Absent && r.state != Invalid; };
    const auto hasBest = [&](Run r) { return valid(r) && (r.state & HasBest) != 0; };
    const auto reachedAt = [&](Run r) { return valid(r) ? r.state & ~HasBest : 0u; };
    int64_t validRuns = 0, cheapestRuns = 0;
    float cheapest = INFINITY;
    for (auto r = begin; r != end; ++r) {
        validRuns += valid(*r);
        if (hasBest(*r))
            cheapest = std::min(cheapest, r->bestCost);
    }
    for (auto r = begin; r != end; ++r)
        cheapestRuns += hasBest(*r) && r->bestCost == cheapest;
    // The reached runs first, in the order of their samples: the group's own room, reordered.
    const auto reachedEnd = std::partition(begin, end, [&](Run r) { return reachedAt(r) > 0; });
    std::sort(begin, reachedEnd, [&](Run a, Run b) { return reachedAt(a) < reachedAt(b); });
    const auto reached = static_cast<std::size_t>(reachedEnd - begin);
    const auto sample = [&](std::size_t k) { return double(reachedAt(begin[std::ptrdiff_t(k)])); };

    std::string row = settingsOf_(blockStart_ + group);
    const auto number = [&row](auto value) {
        row += ',';
        CsvText::AppendNumber(row, value);
    };
    const auto empty = [&row] { row += ','; };
    number(static_cast<int64_t>(present));
    number(static_cast<int64_t>(present) - validRuns);
    validRuns > 0 ? number(double(cheapestRuns) / double(validRuns)) : empty();
    number(static_cast<int64_t>(reached));
    number(validRuns - static_cast<int64_t>(reached));
    if (reached == 0) {
        for (int i = 0; i < 5; ++i)
            empty();
    } else {
        const double n = static_cast<double>(reached);
        double sum = 0;
        for (std::size_t k = 0; k < reached; ++k)
            sum += sample(k);
        const double mean = sum / n;
        const std::size_t middle = reached / 2;
        const double median =
            reached % 2 != 0 ? sample(middle) : (sample(middle - 1) + sample(middle)) / 2;
        double squares = 0;
        for (std::size_t k = 0; k < reached; ++k)
            squares += (sample(k) - mean) * (sample(k) - mean);
        number(mean);
        number(median);
        reached > 1 ? number(std::sqrt(squares / (n - 1))) : empty();
        number(sample(0));
        number(sample(reached - 1));
    }
    out_ << row << '\n';
}
