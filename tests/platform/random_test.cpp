// The random generator must reproduce the classic Microsoft C runtime sequence exactly,
// since every random choice of the program is replayed from it. The expected values were
// computed independently (a short script) from the rule (x = x * 214013 + 2531011, out = (x >> 16) & 0x7FFF).
#include "platform/system/random.h"

#include <gtest/gtest.h>

TEST(Random, UnseededStartsFromStateOne)
{
    Random_Generator generator;
    EXPECT_EQ(generator.Next(), 41);
    EXPECT_EQ(generator.Next(), 18467);
    EXPECT_EQ(generator.Next(), 6334);
    EXPECT_EQ(generator.Next(), 26500);
    EXPECT_EQ(generator.Next(), 19169);
}

TEST(Random, SeedTwelveThreeFourFive)
{
    Random::srand(12345);
    const int first[] = {7584, 19164, 25795, 22125, 5828};
    for (int expected : first)
        EXPECT_EQ(Random::rand(), expected);
    Program_Random().Reset();
    EXPECT_EQ(Random::rand(), 41);
    Program_Random().Reset();
}
