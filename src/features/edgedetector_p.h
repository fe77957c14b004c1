#pragma once

// Internals of the edge detector, open to its tests.

namespace veldra {

// Largest gradient component the 3 x 3 operators give on 8-bit grey.
inline constexpr int maxGradient = 1020;

// Bucket of the folded gradient angle: 0 up to 22.5 degrees, 1 up to 67.5,
// 2 up to 112.5, 3 up to 157.5, 4 above. Exact: through fastAtan2.
int edgeDirectionBucketExact(int gx, int gy);

// The same from precomputed limits, for gradient components within
// [-maxGradient, maxGradient].
int edgeDirectionBucket(int gx, int gy);

} // namespace veldra
