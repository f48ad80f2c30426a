#pragma once
// The choices of a run's settings, each a row of a table: the parts a run is made of (search
// methods, environment models, learning schemes), registered with their factories in
// engine/RunParts.cpp, and the plain choices of a few settings (in SettingRegistry). A row gives
// the choice's number, as documents and settings hold it, its names, the settings it reads and
// the choices of other settings it goes with. Every reader of a name asks here.

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <optional>
#include <string>

namespace Model {
enum Number : int32_t { P = 0, S = 1 };
} // namespace Model

namespace Scheme {
enum Number : int32_t { LRP = 0, LREP = 1, LRI = 2, Pursuit = 3, DiscretizedPursuit = 4 };
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

class Choices {
  public:
    struct Row {
        int32_t number;
        // As the dialogs and the text report show it; a search method with the access key of its
        // button in the Options dialog, and none for the one that dialog does not offer.
        const char* shown;
        // As pathloom-run's options and sweeps take it (any letter case) and sweep rows write it.
        const char* typed;
        // The settings the part reads, by their typed names ("source dest"): a setting applies
        // to a run where one of its parts reads it.
        const char* reads;
        // The choices of other settings it goes with ("method=sample"), or "".
        const char* needs;
    };

    static const Choices Models;
    static const Choices Schemes;
    static const Choices SearchMethods;

    // A view over a table of rows derived from Row, in the table's order.
    template <const auto& rows> static constexpr Choices Over() {
        return Choices(std::size(rows), [](std::size_t i) -> const Row& { return rows[i]; });
    }

    class Iterator {
      public:
        Iterator(const Choices& choices, std::size_t at) : choices_(&choices), at_(at) {}
        const Row& operator*() const { return choices_->at_(at_); }
        const Row* operator->() const { return &**this; }
        Iterator& operator++() {
            ++at_;
            return *this;
        }
        bool operator!=(const Iterator& other) const { return at_ != other.at_; }

      private:
        const Choices* choices_;
        std::size_t at_;
    };
    Iterator begin() const { return {*this, 0}; }
    Iterator end() const { return {*this, size_}; }

    // The row of a number; none for a number that is no choice, which a document may yet hold.
    const Row* Of(int32_t number) const;
    // The number of a typed name, in any letter case.
    std::optional<int32_t> Parse(const std::string& typed) const;
    // Every typed name, in number order, for usage texts.
    std::string TypedNames(const char* separator) const;

  private:
    constexpr Choices(std::size_t size, const Row& (*at)(std::size_t)) : size_(size), at_(at) {}

    std::size_t size_;
    const Row& (*at_)(std::size_t);
};
