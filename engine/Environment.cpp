#include "Environment.h"

#include "LinkLength.h"
#include "PathloomError.h"
#include "Random.h"
#include "RunGraph.h"
#include "TextTools.h"
#include "clsLink.h"
#include "clsNode.h"

#include <cmath>

Environment::Answer Environment::Judge(PathView path) {
    Answer answer;
    answer.cost = Cost(path);
    return answer;
}

namespace {
[[noreturn]] void Overflow() {
    throw PathloomError(ErrorNumber::Overflow, "PathCost", "Overflow");
}
} // namespace

float Environment::Cost(PathView path) {
    lastCost_ = std::numeric_limits<float>::quiet_NaN();
    lastCost_ = random_ && graph_.Stochastic() ? DrawnCost(path) : FixedCost(path);
    return lastCost_;
}

float Environment::FixedCost(PathView path) {
    const float* const weights = graph_.Weights();
    float cost = 0.0f;
    for (const int32_t link : path) {
        // A sum beyond the float range, or not a number, stays so as a float.
        cost = static_cast<float>(static_cast<double>(cost) + static_cast<double>(weights[link]));
        if (!std::isfinite(cost))
            Overflow();
    }
    return cost;
}

float Environment::DrawnCost(PathView path) {
    const float* const weights = graph_.Weights();
    Xoshiro256StarStar& random = *random_;
    // Every length of the path is drawn before its cost is summed, so that a run draws alike
    // whatever the sums; a partial sum beyond the float range stays so to the end.
    float cost = 0.0f;
    int32_t overflowed = -1;
    for (const int32_t link : path) {
        float length = weights[link];
        if (const LinkLength* drawn = graph_.Length(link)) {
            length = static_cast<float>(drawn->Draw([&random] { return random.Uniform(); }));
            ++draws_;
            if (!std::isfinite(length) && overflowed < 0)
                overflowed = link;
        }
        cost = static_cast<float>(static_cast<double>(cost) + static_cast<double>(length));
    }
    if (overflowed >= 0) {
        const clsLink& link = *graph_.Index().LinkAt(overflowed);
        throw PathloomError(ErrorNumber::Overflow, "PathCost",
                            "Overflow\r\nThe length of " + link.FromNode->Label() + "->" +
                                link.ToNode->Label() + " drawn from " +
                                TextTools::Cut(graph_.Length(overflowed)->Text()) +
                                " is beyond the float range.");
    }
    if (!std::isfinite(cost))
        Overflow();
    return cost;
}
