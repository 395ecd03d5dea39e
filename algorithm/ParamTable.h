#pragma once

#include "NormalizedParamInterface.h"
#include "ParamIndexes.h"
#include "TempoContext.h"

#include <memory>

// The algorithm's parameter table as data. Each block creates its parameters from its rows, in
// row order; a modulated row is followed in the registry by its LFO period, depth and waveform,
// so the rows below give the whole host parameter numbering.
namespace param_table {

enum class Kind {
    kFlags, kTempo, kDryLvl, kFdbkSeparation,
    kTapTime, kTapLvl, kTapPan,
    kDlyLvl, kDlyPan, kDlyTime, kDlyFdbk,
    kFiltType, kFiltCutoff, kFiltReso, kFiltQ,
    kDistType, kDistLvl,
    kHsCutoff, kHsLvl,
};

struct Row {
    Kind kind;
    double defaultValue;
    int automationLevel;
    // Followed by its LFO period, depth and waveform parameters.
    bool modulated;
};

// Indexes 0 to 6: "Flags", "Tempo", "Predly lvl", "Fdbk sep." and its LFO.
enum GlobalRow { kFlagsRow, kTempoRow, kDryLvlRow, kFdbkSeparationRow };
static_assert(kFlagsRow == mppi::kFlagsIndex && kTempoRow == mppi::kTempoIndex, "the global rows open the table");
inline constexpr Row kGlobalRows[] = {
    {Kind::kFlags, 64.0, 1, false},
    {Kind::kTempo, 120.0, 1, false},
    {Kind::kDryLvl, 1.0, 1, false},
    {Kind::kFdbkSeparation, 0.0, 3, true},
};

// Twelve parameters per tap, taps 1 to 4 from index 7. Only tap 1 is audible by default.
enum TapRow { kTapTimeRow, kTapLvlRow, kTapPanRow };
inline constexpr Row kTapRows[] = {
    {Kind::kTapTime, 0.0, 4, true},
    {Kind::kTapLvl, 0.0, 1, true},
    {Kind::kTapPan, 0.0, 3, true},
};
inline constexpr double kFirstTapLevel = 1.0;

// Thirty-three parameters per delay line, lines 1 and 2 from index 55: the line's own rows,
// then its filter, distortion and shelf stages.
enum LineRow { kDlyLvlRow, kDlyPanRow, kDlyTimeRow, kDlyFdbkRow };
inline constexpr Row kLineRows[] = {
    {Kind::kDlyLvl, 1.0, 1, false},
    {Kind::kDlyPan, 0.0, 3, true},
    {Kind::kDlyTime, 0.75, 4, true},
    {Kind::kDlyFdbk, 0.5, 1, true},
};

enum FilterRow { kFiltTypeRow, kFiltCutoffRow, kFiltResoRow, kFiltQRow };
inline constexpr Row kFilterRows[] = {
    {Kind::kFiltType, 2.0, 2, false},
    {Kind::kFiltCutoff, 1000.0, 2, true},
    {Kind::kFiltReso, 1.0, 2, true},
    {Kind::kFiltQ, 1.0, 2, true},
};

enum DistortionRow { kDistTypeRow, kDistLvlRow };
inline constexpr Row kDistortionRows[] = {
    {Kind::kDistType, 0.0, 2, false},
    {Kind::kDistLvl, 0.0, 2, true},
};

enum ShelfRow { kHsCutoffRow, kHsLvlRow };
inline constexpr Row kShelfRows[] = {
    {Kind::kHsCutoff, 4000.0, 3, false},
    {Kind::kHsLvl, 1.0, 3, false},
};

// Creates the parameter of a row, initialised with the row's default and automation level.
// `unitNumber` is the zero-based tap or line of the numbered kinds.
std::shared_ptr<mppi::NormalizedParamInterface> create(const Row& row, int unitNumber, mppi::TempoContext& tempo);

} // namespace param_table
