#include "LRIRule.h"

void LRIRule::Grade(PathView path, double beta) {
    const double gain = a_ * (1.0 - beta);
    Update(
        path, [gain](double p) { return p + gain * (1.0 - p); },
        [gain](const Actions&) { return [gain](double q) { return q - gain * q; }; });
}
