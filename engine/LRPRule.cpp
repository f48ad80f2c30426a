#include "LRPRule.h"

void LRPRule::Grade(PathView path, double beta, std::vector<int32_t>& written) {
    const double gain = lambda_ * (1.0 - beta), loss = a_ * (1.0 - beta), penalty = penalty_ * beta;
    Update(
        path, written, [gain, penalty](double p) { return p + gain * (1.0 - p) - penalty * p; },
        [this, loss, penalty](int32_t node) {
            const double share = shares_.Of(node);
            return
                [share, loss, penalty](double q) { return q - loss * q + penalty * (share - q); };
        });
}
