#pragma once
// The random numbers of sampled runs, the same on every machine and compiler: xoshiro256** with
// its state filled from the seed by splitmix64, both as published, and no library distribution.

#include <cstdint>

// splitmix64: used to spread one 64-bit seed over xoshiro256**'s four state words.
class SplitMix64 {
  public:
    explicit SplitMix64(uint64_t seed) : state_(seed) {}
    uint64_t Next();

  private:
    uint64_t state_;
};

class Xoshiro256StarStar {
  public:
    // The four state words are splitmix64's first four numbers from the seed, in that order.
    explicit Xoshiro256StarStar(uint64_t seed);
    // Here, so that a sampler's loop has it inline.
    uint64_t Next() {
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
    // A uniform number in [0, 1): the top 53 bits of Next() times 2^-53.
    double Uniform() { return static_cast<double>(Next() >> 11) * 0x1.0p-53; }

    uint64_t state[4];

  private:
    static uint64_t RotateLeft(uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }
};
