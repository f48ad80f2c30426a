#pragma once
// The choices a run is made of (environment model, learning scheme, search method): their
// numbers, as documents and settings hold them, and one table each of their names as the dialogs
// and reports show them and as pathloom-run and its sweeps take them. Every reader of a name or a
// bound asks here.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace Model {
enum Number : int32_t { P = 0, S = 1 };
} // namespace Model

namespace Scheme {
enum Number : int32_t { LRP = 0, LREP = 1, LRI = 2 };
} // namespace Scheme

namespace SearchMethod {
enum Number : int32_t {
    IncludeAllNodes = 0,
    SourceToDestination = 1,
    ReadFromFile = 2,
    // The automata choose: paths sampled from the source by the links' probabilities.
    Sample = 3,
};
} // namespace SearchMethod

// P-model: the cost a path must not exceed to be rewarded.
namespace Threshold {
enum Number : int32_t {
    Best = 0, // the cheapest so far
    Mean = 1, // the mean of the paths learned so far
};
} // namespace Threshold

// The links a learning step updates at each node of the path.
namespace ActionSet {
enum Number : int32_t {
    All = 0,      // every link from the node
    Variable = 1, // the node's candidates when the sample left it, scaled to sum 1
};
} // namespace ActionSet

class Choices {
  public:
    struct Row {
        int32_t number;
        // As the dialogs and the text report show it; a search method with the access key of its
        // button in the Options dialog, and none for the one that dialog does not offer.
        const char* shown;
        // As pathloom-run's options and sweeps take it (any letter case) and sweep rows write it.
        const char* typed;
    };

    static const Choices Models;
    static const Choices Schemes;
    static const Choices SearchMethods;
    static const Choices Thresholds;
    static const Choices ActionSets;

    const Row* begin() const { return rows_; }
    const Row* end() const { return rows_ + size_; }

    // The row of a number; none for a number that is no choice, which a document may yet hold.
    const Row* Of(int32_t number) const;
    // The number of a typed name, in any letter case.
    std::optional<int32_t> Parse(const std::string& typed) const;
    // Every typed name, in number order, for usage texts.
    std::string TypedNames(const char* separator) const;

  private:
    template <std::size_t N>
    constexpr explicit Choices(const Row (&rows)[N]) : rows_(rows), size_(N) {}

    const Row* rows_;
    std::size_t size_;
};
