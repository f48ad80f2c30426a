#include "PModel.h"

Environment::Answer PModel::Judge(PathView path) {
    Answer answer;
    answer.kind = Answer::Kind::Binary;
    answer.cost = Cost(path);
    // A float compare, as the costs are floats.
    answer.favourable = first_ || answer.cost < best_ || (tiesRewarded_ && answer.cost == best_);
    answer.beta = answer.favourable ? 0.0 : 1.0;
    if (answer.favourable) {
        best_ = answer.cost;
        first_ = false;
    }
    return answer;
}
