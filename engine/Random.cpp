#include "Random.h"

namespace {
uint64_t RotateLeft(uint64_t x, int k) {
    return (x << k) | (x >> (64 - k));
}
} // namespace

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

uint64_t Xoshiro256StarStar::Next() {
    const uint64_t result = RotateLeft(state[1] * 5, 7) * 9;
    const uint64_t t = state[1] << 17;
    state[2] ^= state[0];
    state[3] ^= state[1];
    state[1] ^= state[2];
    state[0] ^= state[3];
    state[2] ^= t;
    state[3] = RotateLeft(state[3], 45);
    return result;
}
