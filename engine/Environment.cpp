#include "Environment.h"

#include "PathloomError.h"
#include "RunGraph.h"

#include <cmath>

Environment::Answer Environment::Judge(PathView path) {
    Answer answer;
    answer.cost = Cost(path);
    return answer;
}

float Environment::Cost(PathView path) const {
    const float* const weights = graph_.Weights();
    float cost = 0.0f;
    for (const int32_t link : path) {
        // A sum beyond the float range, or not a number, stays so as a float.
        cost = static_cast<float>(static_cast<double>(cost) + static_cast<double>(weights[link]));
        if (!std::isfinite(cost))
            throw PathloomError(ErrorNumber::Overflow, "PathCost", "Overflow");
    }
    return cost;
}
