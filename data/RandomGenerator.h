#pragma once
// The process random generator for demonstration data: the classic rand/srand sequence
// (0..32767), the same for a given seed on every platform.
#include <cstdint>

class RandomGenerator {
public:
    static constexpr int kMax = 32767;

    void Seed(uint32_t seed) { m_state = seed; }
    int Next();  // 0..kMax

private:
    uint32_t m_state = 1;  // as if seeded with 1
};

// The one generator the process shares (seeded by a new document, drawn by random data).
RandomGenerator& processRandom();
