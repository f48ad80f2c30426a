#include "SModel.h"

#include "CheckedMath.h"
#include "clsRanges.h"

Environment::Answer SModel::Judge(PathView path) {
    Answer answer;
    answer.kind = Answer::Kind::Graded;
    answer.cost = Cost(path);
    const float x =
        Checked::ToFloat(static_cast<double>(answer.cost) - previous_, "LA.LearnFromPath");
    answer.beta = ranges_.GetAnswer(x);
    answer.favourable = answer.beta < 1.0;
    previous_ = answer.cost;
    return answer;
}
