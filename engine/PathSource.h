#pragma once
// Where a run's paths come from (the enumerations, a path file, the sampler): the next path
// within a budget of work, or the news that there are no more. A new way of finding paths is a
// class derived from this one and a row of the table in RunParts.

#include <cstdint>
#include <limits>

class Xoshiro256StarStar;

// A path as a run holds it: link positions (0-based) in walking order.
struct PathView {
    const int32_t* links = nullptr;
    int32_t length = 0;
    const int32_t* begin() const { return links; }
    const int32_t* end() const { return links + length; }
};

class PathSource {
  public:
    enum class Event {
        PathFound,  // Path() is complete: learn from it before the next call
        DeadEnd,    // an attempt that found no path
        Exhausted,  // there are no more paths
        OutOfBudget // the budget is spent: call again to go on
    };

    virtual ~PathSource() = default;

    // Goes on from where it stopped, spending about one unit of the budget per step.
    virtual Event Next(int64_t& budget) = 0;

    // After PathFound the path found; otherwise the path under way.
    virtual PathView Path() const = 0;

    // What the canvas shows of the run: the path under way, unless the source moves too fast
    // to watch it.
    virtual PathView Shown() const { return Path(); }

    // Paths that come again and again (sampled ones): a path as cheap as the best confirms it,
    // and the run may stop when the best path is likely enough.
    virtual bool Repeats() const { return false; }

    // The most paths a run from this source counts: enumerations count in 16 bits.
    virtual int32_t MaxPaths() const { return std::numeric_limits<int16_t>::max(); }

    // Where the run stands after `paths` paths, as its history counts: the paths themselves, or
    // the samples drawn, dead ends included.
    virtual int64_t Position(int32_t paths) const { return paths; }
    virtual int64_t Samples() const { return 0; }
    virtual int64_t DeadEnds() const { return 0; }

    // An error of the source's own ends the run as a run ends (nothing left flagged), instead of
    // showing where it stopped.
    virtual bool EndsOnError() const { return false; }

    // The generator the source draws its paths with, which drawn link lengths share so that a
    // run has one sequence of random numbers; null for a source that draws none.
    virtual Xoshiro256StarStar* Random() { return nullptr; }
};
