#pragma once
// The environment of a run: it judges each path the automata take, from the path's links, and
// keeps what it remembers between paths. This base works out the cost and gives no answer (a
// model the run does not know), which every update rule leaves alone. A new environment is a
// class derived from this one and a row of the table in RunParts.

#include "PathSource.h"

#include <cstdint>
#include <limits>

class RunGraph;
class Xoshiro256StarStar;

class Environment {
  public:
    // What the environment said of a path.
    struct Answer {
        // How the update rules take it: a reward or a penalty, a graded answer, or none.
        enum class Kind { None, Binary, Graded };
        float cost = 0.0f;
        bool favourable = false; // P-model: rewarded; S-model: an answer below 1
        double beta = 0.0;       // S-model: the answer from the ranges; P-model: 0 or 1
        Kind kind = Kind::None;
    };

    explicit Environment(const RunGraph& graph) : graph_(graph) {}
    virtual ~Environment() = default;
    Environment(const Environment&) = delete;
    Environment& operator=(const Environment&) = delete;

    virtual Answer Judge(PathView path);
    // The bar: the cost the next path is judged against, as the paths judged so far set it; not a
    // number where no cost sets it (before the first path, the S-model, a user's judge).
    virtual double Bar() const { return std::numeric_limits<double>::quiet_NaN(); }
    // Whether it may reward a path dearer than the cheapest found: then the automata need not
    // settle on the cheapest, and a run's target is the path they prefer.
    virtual bool RewardsDearer() const { return false; }

    // From now on each stochastic link of a path, in path order, draws its length from the
    // generator (which must outlive the environment) in place of its weight.
    void DrawLengths(Xoshiro256StarStar& random) { random_ = &random; }
    int64_t LinkDraws() const { return draws_; }
    // The cost of the path judged last, kept where its judgement or learning step fails after
    // it; not a number where the cost itself could not be worked out.
    float LastCost() const { return lastCost_; }

  protected:
    // The weights (or drawn lengths) added in path order, each partial sum rounded to a float;
    // raises "Overflow", also for a draw beyond the float range.
    float Cost(PathView path);

  private:
    float FixedCost(PathView path);
    float DrawnCost(PathView path);

    const RunGraph& graph_;
    Xoshiro256StarStar* random_ = nullptr;
    int64_t draws_ = 0;
    float lastCost_ = std::numeric_limits<float>::quiet_NaN();
};
