#include "LRPRule.h"

void LRPRule::Grade(PathView path, double beta) {
    const double gain = lambda_ * (1.0 - beta), loss = a_ * (1.0 - beta), penalty = penalty_ * beta;
    Update(
        path, [gain, penalty](double p) { return p + gain * (1.0 - p) - penalty * p; },
        [this, loss, penalty](const Actions& actions) {
            const double share = shares_.Of(actions);
            return
                [share, loss, penalty](double q) { return q - loss * q + penalty * (share - q); };
        });
}
