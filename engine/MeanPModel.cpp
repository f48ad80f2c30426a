#include "MeanPModel.h"

Environment::Answer MeanPModel::Judge(PathView path) {
    Answer answer;
    answer.kind = Answer::Kind::Binary;
    answer.cost = Cost(path);
    sum_ += static_cast<double>(answer.cost);
    ++count_;
    answer.favourable = static_cast<double>(answer.cost) <= sum_ / static_cast<double>(count_);
    answer.beta = answer.favourable ? 0.0 : 1.0;
    return answer;
}
