#pragma once

namespace editor_test {

// The test banks "three_presets" and "twelve_presets": every value 0.5 but "D1 fdbk".
inline constexpr int kSeedValues = 121;
inline constexpr int kSeedFeedbackIndex = 64;
float seededFeedback(int program);

} // namespace editor_test
