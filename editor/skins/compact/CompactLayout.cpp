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
    {"arw_07", {13, 13}, kPart, {27, 27}}, {"arw_06", {10, 10}, kPart, {21, 21}},
    {"arw_05", {6, 6}, kPart, {13, 13}}, {"bkg_02_top", {0, 0}, kBack, {500, 120}},
    {"bkg_02_delay1", {0, 0}, kBack, {500, 122}}, {"bkg_02_main", {0, 0}, kBack, {500, 58}},
    {"bkg_02_delay2", {0, 0}, kBack, {500, 122}}, {"bkg_02_nodelay2", {0, 0}, kBack, {500, 122}},
    {"kn_05", {8, 8}, kKnob, {17, 17}}, {"kn_05_spn", {0, 1}, kPart, {8, 3}}, {"kn_05_s", {8, 0}, kPart, {17, 10}},
    {"kn_06", {13, 13}, kKnob, {27, 27}}, {"kn_06_spn", {1, 1}, kPart, {12, 3}},
    {"kn_06_s", {13, 0}, kPart, {27, 16}}, {"kn_07", {18, 18}, kKnob, {37, 37}},
    {"kn_07_spn", {1, 2}, kPart, {16, 5}}, {"kn_07_s", {18, 0}, kPart, {37, 20}},
    {"kn_08", {13, 14}, kKnob, {27, 27}}, {"kn_08_spn", {5, 5}, kPart, {9, 9}},
    {"pb_11_0", {0, 0}, kPart, {13, 13}}, {"pb_11_1", {0, 0}, kPart, {13, 13}},
    {"pb_11_2", {0, 0}, kPart, {13, 13}}, {"pb_11_3", {0, 0}, kPart, {13, 13}},
    {"pb_11_4", {0, 0}, kPart, {13, 13}}, {"pb_12_0", {0, 0}, kPart, {13, 13}},
    {"pb_12_1", {0, 0}, kPart, {13, 13}}, {"pb_12_2", {0, 0}, kPart, {13, 13}},
    {"pb_12_3", {0, 0}, kPart, {13, 13}}, {"pb_12_4", {0, 0}, kPart, {13, 13}},
    {"pb_13_0", {0, 0}, kPart, {13, 13}}, {"pb_13_1", {0, 0}, kPart, {13, 13}},
    {"pb_13_2", {0, 0}, kPart, {13, 13}}, {"pb_13_3", {0, 0}, kPart, {13, 13}},
    {"pb_13_4", {0, 0}, kPart, {13, 13}}, {"pb_14_0", {0, 0}, kPart, {13, 13}},
    {"pb_14_1", {0, 0}, kPart, {13, 13}}, {"pb_14_2", {0, 0}, kPart, {13, 13}},
    {"pb_14_3", {0, 0}, kPart, {13, 13}}, {"pb_14_4", {0, 0}, kPart, {13, 13}},
    {"pb_15_0", {0, 0}, kPart, {13, 13}}, {"pb_15_1", {0, 0}, kPart, {13, 13}},
    {"pb_15_2", {0, 0}, kPart, {13, 13}}, {"pb_15_3", {0, 0}, kPart, {13, 13}},
    {"pb_15_4", {0, 0}, kPart, {13, 13}}, {"pb_16_0", {0, 0}, kPart, {13, 13}},
    {"pb_16_1", {0, 0}, kPart, {13, 13}}, {"pb_16_2", {0, 0}, kPart, {13, 13}},
    {"pb_16_3", {0, 0}, kPart, {13, 13}}, {"pb_16_4", {0, 0}, kPart, {13, 13}},
    {"pb_17_0", {0, 0}, kPart, {13, 13}}, {"pb_17_1", {0, 0}, kPart, {13, 13}},
    {"pb_17_2", {0, 0}, kPart, {13, 13}}, {"pb_17_3", {0, 0}, kPart, {13, 13}},
    {"pb_17_4", {0, 0}, kPart, {13, 13}}, {"pb_18_0", {0, 0}, kPart, {13, 13}},
    {"pb_18_1", {0, 0}, kPart, {13, 13}}, {"pb_18_2", {0, 0}, kPart, {13, 13}},
    {"pb_18_3", {0, 0}, kPart, {13, 13}}, {"pb_18_4", {0, 0}, kPart, {13, 13}},
    {"pb_19_0", {0, 0}, kPart, {24, 25}}, {"pb_19_1", {0, 0}, kPart, {24, 25}},
    {"pb_19_2", {0, 0}, kPart, {24, 25}}, {"pb_19_3", {0, 0}, kPart, {24, 25}},
    {"pb_19_4", {0, 0}, kPart, {24, 25}}, {"pb_20_0", {0, 0}, kPart, {24, 25}},
    {"pb_20_1", {0, 0}, kPart, {24, 25}}, {"pb_20_2", {0, 0}, kPart, {24, 25}},
    {"pb_20_3", {0, 0}, kPart, {24, 25}}, {"pb_20_4", {0, 0}, kPart, {24, 25}},
    {"sp_02_up_0", {-9, -1}, kPart, {14, 9}}, {"sp_02_up_1", {-9, -1}, kPart, {14, 9}},
    {"sp_02_hnd_0", {0, -3}, kPart, {8, 28}}, {"sp_02_hnd_1", {0, -3}, kPart, {8, 28}},
    {"sp_02_dwn_0", {-9, -23}, kPart, {14, 9}}, {"sp_02_dwn_1", {-9, -23}, kPart, {14, 9}},
    {"ff_04_0", {0, 0}, kPart, {17, 17}}, {"ff_04_1", {0, 0}, kPart, {17, 17}},
    {"ff_04_2", {0, 0}, kPart, {17, 17}}, {"ff_04_3", {0, 0}, kPart, {17, 17}},
    {"ff_04_4", {0, 0}, kPart, {17, 17}}, {"ff_05_0", {0, 0}, kPart, {17, 17}},
    {"ff_05_1", {0, 0}, kPart, {17, 17}}, {"ff_05_2", {0, 0}, kPart, {17, 17}},
    {"ff_05_3", {0, 0}, kPart, {17, 17}}, {"ff_05_4", {0, 0}, kPart, {17, 17}}, {"sw_03", {0, 0}, kPart, {51, 33}},
    {"sw_03_0", {0, 0}, kPart, {24, 15}}, {"sw_03_1", {0, 0}, kPart, {24, 15}},
    {"sw_03_2", {0, 0}, kPart, {24, 15}}, {"sw_03_3", {0, 0}, kPart, {24, 15}}, {"sw_04", {0, 0}, kPart, {87, 27}},
    {"sw_04_0", {0, 0}, kPart, {87, 27}}, {"sw_04_1", {0, 0}, kPart, {87, 27}},
    {"sw_04_2", {0, 0}, kPart, {87, 27}}, {"sw_04_3", {0, 0}, kPart, {87, 27}},
    {"sw_04_4", {0, 0}, kPart, {87, 27}}, {"sw_04_5", {0, 0}, kPart, {87, 27}},
    {"sw_04_6", {0, 0}, kPart, {87, 27}}, {"sw_04_7", {0, 0}, kPart, {87, 27}},
    {"sw_04_8", {0, 0}, kPart, {87, 27}}, {"sw_04_9", {0, 0}, kPart, {87, 27}},
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

// The preset buttons' 12 frames show pictures _0 to _4: frame j shows round(16 t / (3 t + 1)) for
// t = j / 11. Where the document leaves the small skin open, line 2's controls sit as line 1's, the spin's box
// is (0, 0, 24, 34) around its arrows and grip, the flip-flops are 17 x 17 from their corner, and
// the LFO knobs keep the places given (they reach into the text panel beside them), the recall
// time box sits left of its knob.
// The filter switch's positions: 1 top left, 0 bottom left, 2 top right, 3 bottom right.
constexpr pengui::Point kFilterPositions[] = {{0, 18}, {0, 0}, {27, 0}, {27, 18}};

constexpr ControlRow kControls[] = {    // Global controls.
    stepping({"tempo", ControlKind::kSpin, {102, 13}, {0, 0, 24, 34}, 1, "", "sp_02"}, 1.0 / 180, 1.0 / 36, "TempoSpinListener"),
    text_box("tempo", {61, 24}, {-31, 0, 31, 15}, 1, {0x00FFFF, {31, 0}, {62, 15}, 1, true, 1}, "TempoTextBoxListener"),
    animated({"tempo", ControlKind::kFlipFlop, {10, 17}, {0, 0, 17, 17}, 0, "ms/beat", "ff_04"},
             5, 0.1f, "MsBpmListener"),
    animated({"presets", ControlKind::kPushButton, {5, 15}, {0, 0, 13, 13}, -1, "", "pb_11"},
             12, 1.0f, "PresetNumberListener"),
    animated({"presets", ControlKind::kPushButton, {21, 15}, {0, 0, 13, 13}, -1, "", "pb_12"},
             12, 1.0f, "PresetNumberListener"),
    animated({"presets", ControlKind::kPushButton, {37, 15}, {0, 0, 13, 13}, -1, "", "pb_13"},
             12, 1.0f, "PresetNumberListener"),
    animated({"presets", ControlKind::kPushButton, {53, 15}, {0, 0, 13, 13}, -1, "", "pb_14"},
             12, 1.0f, "PresetNumberListener"),
    animated({"presets", ControlKind::kPushButton, {5, 31}, {0, 0, 13, 13}, -1, "", "pb_15"},
             12, 1.0f, "PresetNumberListener"),
    animated({"presets", ControlKind::kPushButton, {21, 31}, {0, 0, 13, 13}, -1, "", "pb_16"},
             12, 1.0f, "PresetNumberListener"),
    animated({"presets", ControlKind::kPushButton, {37, 31}, {0, 0, 13, 13}, -1, "", "pb_17"},
             12, 1.0f, "PresetNumberListener"),
    animated({"presets", ControlKind::kPushButton, {53, 31}, {0, 0, 13, 13}, -1, "", "pb_18"},
             12, 1.0f, "PresetNumberListener"),
    animated({"presets", ControlKind::kPushButton, {163, 16}, {0, 0, 24, 25}, -1, "Load", "pb_19"},
             5, 0.2f, "PresetLoadBankListener"),
    animated({"presets", ControlKind::kPushButton, {192, 16}, {0, 0, 24, 25}, -1, "Save", "pb_20"},
             5, 0.2f, "PresetSaveBankListener"),
    animated({"presets", ControlKind::kFlipFlop, {70, 16}, {0, 0, 17, 17}, -1, "Store", "ff_05"},
             5, 0.05f, "PresetMemListener"),
    listens({"presets", ControlKind::kKnob, {145, 30}, {-13, -14, 14, 13},
            -1, "Recall", "kn_08", "", KnobPreset::kRecall},
            "PresetTimeFaderListener"),
    text_box("presets", {127, 27}, {-18, 0, 4, 9}, -1, {0x191610, {18, 0}, {22, 9}, 2, true}, "PresetTimeDisplayListener"),
    listens({"level", ControlKind::kKnob, {36, 24}, {-17, -17, 18, 18},
            2, "Level", "kn_06", "", KnobPreset::kCompactMiddle},
            "NumValListenerInterface"),
    animated({"level", ControlKind::kFlipFlop, {83, 25}, {0, 0, 17, 17}, 0, "Sustain", "ff_04"},
             5, 0.1f, "SustLoopListener"),
    animated({"line 2 switch", ControlKind::kFlipFlop, {10, 23}, {0, 0, 17, 17}, 0, "Line 2", "ff_04"},
             5, 0.1f, "Delay2Listener"),
    listens({"separation", ControlKind::kKnob, {36, 26}, {-17, -17, 18, 18},
            3, "Separation", "kn_06", "", KnobPreset::kCompactMiddle},
            "NumValListenerInterface"),
    animated({"website", ControlKind::kPushButton, {0, 12}, {0, 0, 120, 50}, -1, "", ""}, 0, 0.1f, "WebSiteListener"),
    // Each tap unit.
    listens({"tap", ControlKind::kKnob, {43, 28}, {-10, -10, 11, 11}, 0, "Time", "kn_05", "", KnobPreset::kSmall},
            "TapTimeListener"),
    listens({"tap", ControlKind::kKnob, {16, 28}, {-10, -10, 11, 11}, 4, "Level", "kn_05", "", KnobPreset::kSmall},
            "NumValListenerInterface"),
    listens({"tap", ControlKind::kKnob, {70, 28}, {-10, -10, 11, 11}, 8, "Pan", "kn_05", "", KnobPreset::kSmall},
            "NumValListenerInterface"),
    // Each delay line.
    listens({"delay line", ControlKind::kKnob, {35, 33}, {-17, -17, 18, 18}, 0, "Level", "kn_06", "", KnobPreset::kCompactMiddle},
            "NumValListenerRc"),
    listens({"delay line", ControlKind::kKnob, {89, 33}, {-17, -17, 18, 18}, 1, "Pan", "kn_06", "", KnobPreset::kCompactMiddle},
            "NumValListenerRc"),
    listens({"delay line", ControlKind::kKnob, {35, 88}, {-17, -17, 18, 18}, 5, "Time", "kn_06", "", KnobPreset::kCompactMiddle},
            "DelayTimeListener"),
    listens({"delay line", ControlKind::kKnob, {89, 88}, {-17, -17, 18, 18}, 9, "Feedback", "kn_06", "", KnobPreset::kCompactMiddle},
            "NumValListenerRc"),
    positioned(listens({"delay line", ControlKind::kSwitch, {196, 69}, {0, 0, 51, 33}, 13, "Filter", "sw_03"},
                       "ListenerBaseRc"),
               kFilterPositions),
    listens({"delay line", ControlKind::kKnob, {165, 84}, {-21, -21, 22, 22}, 14, "Cutoff", "kn_07", "", KnobPreset::kCompactCutoff},
            "NumValListenerRc"),
    listens({"delay line", ControlKind::kKnob, {158, 33}, {-17, -17, 18, 18}, 18, "Reso", "kn_06", "", KnobPreset::kCompactMiddle},
            "NumValListenerRc"),
    listens({"delay line", ControlKind::kKnob, {222, 33}, {-17, -17, 18, 18}, 22, "Q", "kn_06", "", KnobPreset::kCompactMiddle},
            "NumValListenerRc"),
    listens({"delay line", ControlKind::kKnob, {328, 33}, {-17, -17, 18, 18}, 26, "Type", "kn_06", "", KnobPreset::kCompactMiddle},
            "NumValListenerRc"),
    listens({"delay line", ControlKind::kKnob, {274, 33}, {-17, -17, 18, 18}, 27, "Drive", "kn_06", "", KnobPreset::kCompactMiddle},
            "NumValListenerRc"),
    listens({"delay line", ControlKind::kKnob, {328, 88}, {-17, -17, 18, 18}, 31, "Shelf freq", "kn_06", "", KnobPreset::kCompactMiddle},
            "NumValListenerRc"),
    listens({"delay line", ControlKind::kKnob, {274, 88}, {-17, -17, 18, 18}, 32, "Shelf lvl", "kn_06", "", KnobPreset::kCompactMiddle},
            "NumValListenerRc"),
    // The detail panel.
    text_box("detail text", {52, 15}, {-45, 0, 45, 11}, -1, {0x448844, {45, 0}, {90, 11}, 1, false}),
    text_box("detail text", {33, 29}, {0, 0, 40, 9}, -1, {0x191610, {0, 0}, {40, 9}, 1, true}, "NumValTbListener"),
    text_box("detail text", {70, 29}, {0, 0, 24, 9}, -1, {0x191610, {0, 0}, {24, 9}, 1, false}),
    listens({"detail LFO", ControlKind::kKnob, {5, 30}, {-10, -10, 11, 11}, -1, "", "kn_05", "", KnobPreset::kSmall},
            "LfoPerKnListener"),
    text_box("detail LFO", {106, 15}, {-23, 0, 23, 9}, -1, {0x191610, {23, 0}, {46, 9}, 1, true}, "LfoPerTbListener", "Period"),
    listens({"detail LFO", ControlKind::kKnob, {32, 30}, {-10, -10, 11, 11}, -1, "", "kn_05", "", KnobPreset::kSmall},
            "LfoDepthKnListener"),
    text_box("detail LFO", {106, 30}, {-23, 0, 23, 9}, -1, {0x191610, {23, 0}, {46, 9}, 1, true}, "LfoDepthTbListener", "Depth"),
    listens({"detail LFO", ControlKind::kSwitch, {142, 12}, {0, 0, 87, 27}, -1, "", "sw_04"}, "ListenerBase"),
};

// Each name sits under its control, or beside it where the cell has no room below.
constexpr Anchor kMiddle = Anchor::kMiddle;
constexpr Anchor kEnd = Anchor::kEnd;
constexpr LabelPlace kLabels[] = {
    {"tempo", "ms/beat", {8, 27}, kMiddle, 7},
    {"presets", "Load", {12, 33}, kMiddle, 7},
    {"presets", "Save", {12, 33}, kMiddle, 7},
    {"presets", "Store", {8, -4}, kMiddle, 7},
    {"presets", "Recall", {0, 24}, kMiddle, 7},
    {"level", "Level", {0, 26}, kMiddle, 8},
    {"level", "Sustain", {8, 27}, kMiddle, 7},
    {"line 2 switch", "Line 2", {8, 30}, kMiddle, 7},
    {"separation", "Separation", {0, 26}, kMiddle, 8},
    {"tap", "Time", {0, 19}, kMiddle, 8},
    {"tap", "Level", {0, 19}, kMiddle, 8},
    {"tap", "Pan", {0, 19}, kMiddle, 8},
    {"delay line", "Level", {0, 26}, kMiddle, 8},
    {"delay line", "Pan", {0, 26}, kMiddle, 8},
    {"delay line", "Time", {0, 26}, kMiddle, 8},
    {"delay line", "Feedback", {0, 26}, kMiddle, 8},
    {"delay line", "Filter", {25, 42}, kMiddle, 7},
    {"delay line", "Cutoff", {0, 30}, kMiddle, 8},
    {"delay line", "Reso", {0, 26}, kMiddle, 8},
    {"delay line", "Q", {0, 26}, kMiddle, 8},
    {"delay line", "Type", {0, 26}, kMiddle, 8},
    {"delay line", "Drive", {0, 26}, kMiddle, 8},
    {"delay line", "Shelf freq", {0, 26}, kMiddle, 8},
    {"delay line", "Shelf lvl", {0, 26}, kMiddle, 8},
    {"detail LFO", "Period", {-27, 8}, kEnd, 7},
    {"detail LFO", "Depth", {-27, 8}, kEnd, 7},
};

// Caps stay unrotated; pointers turn at the centre (radius 0), the recall knob's at 8 pixels.
// The cutoff knob's drag indicator is the largest arrow, arw_07.
constexpr KnobPresetRow kKnobs[] = {
    {KnobPreset::kSmall, "", "kn_05", 1, 0, 1, false, "kn_05_spn", "kn_05_s", "arw_05", 256, 1.0f / 32, 0, 1, true,
     {-10, -10, 11, 11}},
    {KnobPreset::kCompactMiddle, "", "kn_06", 1, 0, 1, false, "kn_06_spn", "kn_06_s", "arw_06", 256, 1.0f / 32, 0, 1, true,
     {-17, -17, 18, 18}},
    {KnobPreset::kCompactCutoff, "", "kn_07", 1, 0, 1, false, "kn_07_spn", "kn_07_s", "arw_07", 256, 1.0f / 32, 0, 1, true,
     {-21, -21, 22, 22}},
    {KnobPreset::kRecall, "", "kn_08", 1, 0, 1, false, "kn_08_spn", "", "arw_06", 256, 1.0f / 32, 8, 1, true,
     {-13, -14, 14, 13}},
};

constexpr SkinLayout kCompact{
    "compact", {500, 422}, kPictures, kFonts, kBackgrounds, "bkg_02_delay2", "bkg_02_nodelay2", kSplits,
    {0, 300, 500, 422}, kControls, kKnobs, kLabels, {0, 0xEFE7D4, 0x191610, 0xC9DCE0, 0x9C9384},
};

} // namespace

const SkinLayout& compact()
{
    return kCompact;
}

} // namespace skin_layout
