#pragma once
// The fixed table of 162 unit normals that packed vertices index, and the search that
// picks the entry nearest to a vector.

#include <cstdint>

inline constexpr int kNormalTableSize = 162;

extern const float NormalTable[kNormalTableSize][3];

// The index of the entry nearest to n (n is expected to be unit length or zero). The
// distance of entry t is |n . (n - t)|; a later entry at the same distance wins, and the
// scan stops at the first entry at distance exactly 0.
std::uint8_t NearestNormalIndex(const float n[3]);

// Scales v to unit length when its squared length exceeds 1e-7; shorter vectors stay as
// they are.
void NormaliseIfLong(float v[3]);
