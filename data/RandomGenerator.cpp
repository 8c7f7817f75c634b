#include "data/RandomGenerator.h"

int RandomGenerator::Next()
{
    m_state = m_state * 214013u + 2531011u;  // wraps modulo 2^32
    return static_cast<int>((m_state >> 16) & 0x7FFF);
}

RandomGenerator& processRandom()
{
    static RandomGenerator instance;
    return instance;
}
