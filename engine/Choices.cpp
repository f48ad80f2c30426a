#include "Choices.h"

#include "Latin1.h"

namespace {

constexpr Choices::Row ModelRows[] = {
    {Model::P, "P-Model", "P"},
    {Model::S, "S-Model", "S"},
};

constexpr Choices::Row SchemeRows[] = {
    {Scheme::LRP, "LRP", "LRP"},
    {Scheme::LREP, "LR(E)P", "LREP"},
    {Scheme::LRI, "LRI", "LRI"},
};

constexpr Choices::Row SearchMethodRows[] = {
    {SearchMethod::IncludeAllNodes, "&Include All Nodes", "all"},
    {SearchMethod::SourceToDestination, "&From Source To Destination", "dest"},
    {SearchMethod::ReadFromFile, "Read Fro&m File", "file"},
    {SearchMethod::Sample, nullptr, "sample"}, // its own dialog, Sample Paths
};

constexpr Choices::Row ThresholdRows[] = {
    {Threshold::Best, "Best so far", "best"},
    {Threshold::Mean, "Mean so far", "mean"},
};

constexpr Choices::Row ActionSetRows[] = {
    {ActionSet::All, "All links", "all"},
    {ActionSet::Variable, "Variable", "variable"},
};

} // namespace

const Choices Choices::Models{ModelRows};
const Choices Choices::Schemes{SchemeRows};
const Choices Choices::SearchMethods{SearchMethodRows};
const Choices Choices::Thresholds{ThresholdRows};
const Choices Choices::ActionSets{ActionSetRows};

const Choices::Row* Choices::Of(int32_t number) const {
    for (const Row& row : *this) {
        if (row.number == number)
            return &row;
    }
    return nullptr;
}

std::optional<int32_t> Choices::Parse(const std::string& typed) const {
    for (const Row& row : *this) {
        if (Latin1::EqualNoCase(typed, row.typed))
            return row.number;
    }
    return std::nullopt;
}

std::string Choices::TypedNames(const char* separator) const {
    std::string names;
    for (const Row& row : *this)
        names += (names.empty() ? "" : separator) + std::string(row.typed);
    return names;
}
