#include "SweepSummary.h"

#include "CsvText.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <numeric>

void WriteSummary(std::ostream& out, const std::string& settingsHeader,
                  const std::vector<SummaryRecord>& records) {
    std::vector<std::string> order;
    std::map<std::string, std::vector<const SummaryRecord*>> groups;
    for (const SummaryRecord& record : records) {
        auto& group = groups[record.group];
        if (group.empty())
            order.push_back(record.group);
        group.push_back(&record);
    }
    out << settingsHeader
        << ",runs,invalid,cheapest share,reached,not reached,mean,median,sd,min,max\n";
    for (const std::string& key : order) {
        const auto& group = groups[key];
        int64_t valid = 0, cheapestRuns = 0;
        float cheapest = INFINITY;
        std::vector<double> reached;
        for (const SummaryRecord* r : group) {
            valid += r->valid;
            if (r->valid && r->hasBest)
                cheapest = std::min(cheapest, r->bestCost);
            if (r->valid && r->convergedAt > 0)
                reached.push_back(static_cast<double>(r->convergedAt));
        }
        for (const SummaryRecord* r : group)
            cheapestRuns += r->valid && r->hasBest && r->bestCost == cheapest;
        std::string row = key;
        const auto number = [&row](auto value) {
            row += ',';
            CsvText::AppendNumber(row, value);
        };
        const auto empty = [&row] { row += ','; };
        number(static_cast<int64_t>(group.size()));
        number(static_cast<int64_t>(group.size()) - valid);
        valid > 0 ? number(double(cheapestRuns) / double(valid)) : empty();
        number(static_cast<int64_t>(reached.size()));
        number(valid - static_cast<int64_t>(reached.size()));
        if (reached.empty()) {
            for (int i = 0; i < 5; ++i)
                empty();
        } else {
            std::sort(reached.begin(), reached.end());
            const double n = static_cast<double>(reached.size());
            const double mean = std::accumulate(reached.begin(), reached.end(), 0.0) / n;
            const std::size_t middle = reached.size() / 2;
            const double median = reached.size() % 2 != 0
                                      ? reached[middle]
                                      : (reached[middle - 1] + reached[middle]) / 2;
            double squares = 0;
            for (const double x : reached)
                squares += (x - mean) * (x - mean);
            number(mean);
            number(median);
            reached.size() > 1 ? number(std::sqrt(squares / (n - 1))) : empty();
            number(reached.front());
            number(reached.back());
        }
        out << row << '\n';
    }
}
