// The program's one random generator. Every random choice of the program draws from it, in
// an order that is part of the behaviour, so it must be this exact linear congruential rule
// and never the C library's rand (whose rule differs between libraries):
//   state = state * 214013 + 2531011 (mod 2^32); result = (state >> 16) & 0x7FFF.
// Results lie in 0 … 32767. The state is 1 until seeded.
#pragma once

#include <cstdint>

class Random_Generator {
public:
    static constexpr int Max = 0x7FFF;

    void Seed(uint32_t seed) { State = seed; }
    int Next()
    {
        State = State * 214013u + 2531011u;
        return static_cast<int>((State >> 16) & 0x7FFF);
    }
    uint32_t Current_State() const { return State; }
    // Back to the state of a fresh process, so tests do not leak draws into one another.
    void Reset() { State = 1; }

private:
    uint32_t State = 1;
};

// The process-wide generator, and the srand/rand pair the program's code calls
// (Random::rand(), never ::rand()).
Random_Generator& Program_Random();

namespace Random {
inline void srand(unsigned int seed)
{
    Program_Random().Seed(seed);
}
inline int rand()
{
    return Program_Random().Next();
}
} // namespace Random
