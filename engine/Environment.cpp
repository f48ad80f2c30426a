#include "Environment.h"

#include "LinkLength.h"
#include "PathloomError.h"
#include "Random.h"
#include "RunGraph.h"

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
    if (random_ && graph_.Stochastic())
        return DrawnCost(path);
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
    float cost = 0.0f;
    for (const int32_t link : path) {
        float length = weights[link];
        if (const LinkLength* drawn = graph_.Length(link)) {
            length = static_cast<float>(drawn->Draw([&random] { return random.Uniform(); }));
            ++draws_;
            if (!std::isfinite(length))
                Overflow();
        }
        cost = static_cast<float>(static_cast<double>(cost) + static_cast<double>(length));
        if (!std::isfinite(cost))
            Overflow();
    }
    return cost;
}
