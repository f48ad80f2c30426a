#include "UserJudge.h"

#include "Choices.h"
#include "NumberText.h"
#include "PathloomError.h"

#include <string>

Environment::Answer UserJudge::Judge(PathView path) {
    Answer answer;
    answer.cost = Cost(path);
    const double said = function_(path, answer.cost);
    if (model_ == Model::S) {
        if (!(said >= 0.0 && said <= 1.0))
            Raise("Judge", "the judge answered " + NumberText::Fixed(said, 6) +
                               ", not a number from 0 to 1 as the S-model takes");
        answer.kind = Answer::Kind::Graded;
        answer.beta = said;
        answer.favourable = said < 1.0;
    } else {
        answer.kind = Answer::Kind::Binary;
        answer.favourable = said != 0.0;
        answer.beta = answer.favourable ? 0.0 : 1.0;
    }
    return answer;
}
