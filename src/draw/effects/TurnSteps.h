// Exact integer steps of the rotation walk in a form that vectorises: the
// division by 360 of a position kept in 1/360 pixel, truncating toward zero,
// done as one single-precision multiply for positions that are not too far.
#pragma once

#include <cstdint>

namespace kafx {

// |t| up to this: Div360 is exact.
constexpr int32_t kExactTurn = (1 << 22) - 2;

// t / 360 truncated toward zero, for |t| <= kExactTurn. t +- 0.5 is exact in
// float and lies at least 0.5/360 from every multiple of 360 (on the side
// that truncation keeps), while the two roundings of the product are off by
// less than |t| * 2^-23 / 360 < 0.5/360; so the product truncates like the
// exact quotient.
inline int32_t Div360(int32_t t) {
    const float f = static_cast<float>(t) + (t < 0 ? -0.5f : 0.5f);
    return static_cast<int32_t>(f * (1.0f / 360.0f));
}

}  // namespace kafx
