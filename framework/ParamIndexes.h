#pragma once

namespace mppi {

// The two parameters that the adapter, the editor and the algorithm each treat apart, at their
// fixed places at the head of the parameter table: the flag bits and the tempo.
inline constexpr int kFlagsIndex = 0;
inline constexpr int kTempoIndex = 1;

// The table's sections: twelve parameters per tap from index 7, thirty-three per delay line
// from index 55, 121 in all.
inline constexpr int kTaps = 4;
inline constexpr int kFirstTapParam = 7;
inline constexpr int kTapParams = 12;
inline constexpr int kLines = 2;
inline constexpr int kFirstLineParam = kFirstTapParam + kTaps * kTapParams;
inline constexpr int kLineParams = 33;
inline constexpr int kParamCount = kFirstLineParam + kLines * kLineParams;
static_assert(kFirstLineParam == 55 && kParamCount == 121);

} // namespace mppi
