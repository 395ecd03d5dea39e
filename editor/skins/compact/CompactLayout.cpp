// The small skin: 500 x 422, no faders. Backgrounds are opaque direct colour, knobs direct
// colour with alpha (their shading has many tones), the rest palette pictures with alpha; two
// unicolour fonts.
#include "SkinLayout.h"

namespace skin_layout {

namespace {

constexpr Storage kBack = Storage::kOpaque24;
constexpr Storage kKnob = Storage::kAlpha24;
constexpr Storage kPart = Storage::kAlpha8;

constexpr PictureEntry kPictures[] = {
    {"arw_07", {13, 13}, kPart, {}}, {"arw_06", {10, 10}, kPart, {}}, {"arw_05", {6, 6}, kPart, {}},
    {"bkg_02_top", {0, 0}, kBack, {}}, {"bkg_02_delay1", {0, 0}, kBack, {}}, {"bkg_02_main", {0, 0}, kBack, {}},
    {"bkg_02_delay2", {0, 0}, kBack, {}}, {"bkg_02_nodelay2", {0, 0}, kBack, {}}, {"kn_05", {8, 8}, kKnob, {}},
    {"kn_05_spn", {0, 1}, kPart, {}}, {"kn_05_s", {8, 0}, kPart, {}}, {"kn_06", {13, 13}, kKnob, {}},
    {"kn_06_spn", {1, 1}, kPart, {}}, {"kn_06_s", {13, 0}, kPart, {}}, {"kn_07", {18, 18}, kKnob, {}},
    {"kn_07_spn", {1, 2}, kPart, {}}, {"kn_07_s", {18, 0}, kPart, {}}, {"kn_08", {13, 14}, kKnob, {}},
    {"kn_08_spn", {5, 5}, kPart, {}}, {"pb_11_0", {0, 0}, kPart, {}}, {"pb_11_1", {0, 0}, kPart, {}},
    {"pb_11_2", {0, 0}, kPart, {}}, {"pb_11_3", {0, 0}, kPart, {}}, {"pb_11_4", {0, 0}, kPart, {}}, {"pb_12_0", {0, 0}, kPart, {}},
    {"pb_12_1", {0, 0}, kPart, {}}, {"pb_12_2", {0, 0}, kPart, {}}, {"pb_12_3", {0, 0}, kPart, {}}, {"pb_12_4", {0, 0}, kPart, {}},
    {"pb_13_0", {0, 0}, kPart, {}}, {"pb_13_1", {0, 0}, kPart, {}}, {"pb_13_2", {0, 0}, kPart, {}}, {"pb_13_3", {0, 0}, kPart, {}},
    {"pb_13_4", {0, 0}, kPart, {}}, {"pb_14_0", {0, 0}, kPart, {}}, {"pb_14_1", {0, 0}, kPart, {}}, {"pb_14_2", {0, 0}, kPart, {}},
    {"pb_14_3", {0, 0}, kPart, {}}, {"pb_14_4", {0, 0}, kPart, {}}, {"pb_15_0", {0, 0}, kPart, {}}, {"pb_15_1", {0, 0}, kPart, {}},
    {"pb_15_2", {0, 0}, kPart, {}}, {"pb_15_3", {0, 0}, kPart, {}}, {"pb_15_4", {0, 0}, kPart, {}}, {"pb_16_0", {0, 0}, kPart, {}},
    {"pb_16_1", {0, 0}, kPart, {}}, {"pb_16_2", {0, 0}, kPart, {}}, {"pb_16_3", {0, 0}, kPart, {}}, {"pb_16_4", {0, 0}, kPart, {}},
    {"pb_17_0", {0, 0}, kPart, {}}, {"pb_17_1", {0, 0}, kPart, {}}, {"pb_17_2", {0, 0}, kPart, {}}, {"pb_17_3", {0, 0}, kPart, {}},
    {"pb_17_4", {0, 0}, kPart, {}}, {"pb_18_0", {0, 0}, kPart, {}}, {"pb_18_1", {0, 0}, kPart, {}}, {"pb_18_2", {0, 0}, kPart, {}},
    {"pb_18_3", {0, 0}, kPart, {}}, {"pb_18_4", {0, 0}, kPart, {}}, {"pb_19_0", {0, 0}, kPart, {}}, {"pb_19_1", {0, 0}, kPart, {}},
    {"pb_19_2", {0, 0}, kPart, {}}, {"pb_19_3", {0, 0}, kPart, {}}, {"pb_19_4", {0, 0}, kPart, {}}, {"pb_20_0", {0, 0}, kPart, {}},
    {"pb_20_1", {0, 0}, kPart, {}}, {"pb_20_2", {0, 0}, kPart, {}}, {"pb_20_3", {0, 0}, kPart, {}}, {"pb_20_4", {0, 0}, kPart, {}},
    {"sp_02_up_0", {-9, -1}, kPart, {}}, {"sp_02_up_1", {-9, -1}, kPart, {}}, {"sp_02_hnd_0", {0, -3}, kPart, {}},
    {"sp_02_hnd_1", {0, -3}, kPart, {}}, {"sp_02_dwn_0", {-9, -23}, kPart, {}}, {"sp_02_dwn_1", {-9, -23}, kPart, {}},
    {"ff_04_0", {0, 0}, kPart, {}}, {"ff_04_1", {0, 0}, kPart, {}}, {"ff_04_2", {0, 0}, kPart, {}}, {"ff_04_3", {0, 0}, kPart, {}},
    {"ff_04_4", {0, 0}, kPart, {}}, {"ff_05_0", {0, 0}, kPart, {}}, {"ff_05_1", {0, 0}, kPart, {}}, {"ff_05_2", {0, 0}, kPart, {}},
    {"ff_05_3", {0, 0}, kPart, {}}, {"ff_05_4", {0, 0}, kPart, {}}, {"sw_03", {0, 0}, kPart, {}}, {"sw_03_0", {0, 0}, kPart, {}},
    {"sw_03_1", {0, 0}, kPart, {}}, {"sw_03_2", {0, 0}, kPart, {}}, {"sw_03_3", {0, 0}, kPart, {}}, {"sw_04", {0, 0}, kPart, {}},
    {"sw_04_0", {0, 0}, kPart, {}}, {"sw_04_1", {0, 0}, kPart, {}}, {"sw_04_2", {0, 0}, kPart, {}}, {"sw_04_3", {0, 0}, kPart, {}},
    {"sw_04_4", {0, 0}, kPart, {}}, {"sw_04_5", {0, 0}, kPart, {}}, {"sw_04_6", {0, 0}, kPart, {}}, {"sw_04_7", {0, 0}, kPart, {}},
    {"sw_04_8", {0, 0}, kPart, {}}, {"sw_04_9", {0, 0}, kPart, {}},
};

constexpr std::string_view kFonts[] = {"font_03", "font_04"};

constexpr Strip kBackgrounds[] = {{"bkg_02_top", 120}, {"bkg_02_delay1", 122}, {"bkg_02_main", 58}, {"bkg_02_delay2", 122}};

constexpr Strip kRow1[] = {{"website", 120}, {"tempo", 146}, {"presets", 234}};
constexpr Strip kRow2[] = {{"level", 120}, {"tap 1", 95}, {"tap 2", 95}, {"tap 3", 95}, {"tap 4", 95}};
constexpr Strip kRow4Left[] = {{"line 2 switch", 37}, {"detail text", 128}};
constexpr Strip kRow4[] = {{"row 4 left", 165}, {"detail LFO", 243}, {"separation", 92}};
constexpr Strip kRoot[] = {{"row 1", 62}, {"row 2", 58}, {"delay line 1", 122}, {"row 4", 58}, {"delay line 2", 122}};

constexpr Split kSplits[] = {
    {"row 1", 1, kRow1}, {"row 2", 1, kRow2}, {"row 4 left", 1, kRow4Left}, {"row 4", 1, kRow4}, {"root", 0, kRoot},
};

constexpr SkinLayout kCompact{
    "compact", {500, 422}, kPictures, kFonts, kBackgrounds, "bkg_02_delay2", "bkg_02_nodelay2", kSplits,
    {0, 300, 500, 422},
};

} // namespace

const SkinLayout& compact()
{
    return kCompact;
}

} // namespace skin_layout
