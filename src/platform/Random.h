#pragma once
// The one seedable source of randomness; DRAVIK_SEED fixes the seed for tests.
#include <cstdint>

namespace dravik::platform {

uint32_t RandomU32();
// A value in [0, bound) (0 when bound is 0).
uint32_t RandomBelow(uint32_t bound);
void SeedRandom(uint64_t seed);

}  // namespace dravik::platform
