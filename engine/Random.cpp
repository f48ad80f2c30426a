#include "Random.h"

uint64_t SplitMix64::Next() {
    uint64_t z = (state_ += 0x9e3779b97f4a7c15u);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9u;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebu;
    return z ^ (z >> 31);
}

Xoshiro256StarStar::Xoshiro256StarStar(uint64_t seed) {
    SplitMix64 spread(seed);
    for (uint64_t& word : state)
        word = spread.Next();
}
