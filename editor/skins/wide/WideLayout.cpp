// The large skin: 700 x 700, every picture 8-bit palette, backgrounds opaque and controls with
// alpha; one unicolour font.
#include "SkinLayout.h"

namespace skin_layout {

namespace {

constexpr Storage kBack = Storage::kOpaque8;
constexpr Storage kPart = Storage::kAlpha8;

constexpr PictureEntry kPictures[] = {
    {"arw_bigsize", {24, 24}, kPart, {49, 49}}, {"arw_littlesize", {12, 12}, kPart, {25, 25}},
    {"arw_middlesize", {18, 18}, kPart, {37, 37}}, {"bkg_top", {0, 0}, kBack, {700, 150}},
    {"bkg_delay1", {0, 0}, kBack, {700, 232}}, {"bkg_main", {0, 0}, kBack, {700, 86}},
    {"bkg_delay2", {0, 0}, kBack, {700, 232}}, {"bkg_nodelay2", {0, 0}, kBack, {700, 232}},
    {"kn_01e_0", {36, 36}, kPart, {73, 73}}, {"kn_01e_1", {36, 36}, kPart, {73, 73}},
    {"kn_01e_2", {36, 36}, kPart, {73, 73}}, {"kn_01e_3", {36, 36}, kPart, {73, 73}},
    {"kn_01e_p", {43, 42}, kPart, {87, 86}}, {"kn_01e_spn", {0, 1}, kPart, {14, 3}},
    {"kn_01e_s", {47, 47}, kPart, {95, 95}}, {"kn_02_0", {19, 20}, kPart, {41, 41}},
    {"kn_02_1", {20, 20}, kPart, {41, 41}}, {"kn_02_2", {20, 19}, kPart, {41, 41}},
    {"kn_02_3", {20, 20}, kPart, {41, 41}}, {"kn_02_4", {20, 20}, kPart, {41, 41}},
    {"kn_02_5", {20, 20}, kPart, {41, 41}}, {"kn_02_6", {20, 20}, kPart, {41, 41}},
    {"kn_02_7", {20, 20}, kPart, {41, 41}}, {"kn_02_p", {23, 23}, kPart, {47, 47}},
    {"kn_02_spn", {0, 1}, kPart, {9, 3}}, {"kn_02_s", {25, 25}, kPart, {51, 51}},
    {"kn_03r", {11, 11}, kPart, {23, 23}}, {"kn_03r_spn", {3, 3}, kPart, {7, 7}},
    {"kn_03b", {11, 11}, kPart, {23, 23}}, {"kn_03b_spn", {3, 3}, kPart, {7, 7}},
    {"kn_03g", {11, 11}, kPart, {23, 23}}, {"kn_03g_spn", {3, 3}, kPart, {7, 7}},
    {"kn_03o", {11, 11}, kPart, {23, 23}}, {"kn_03o_spn", {3, 3}, kPart, {7, 7}},
    {"kn_03_s", {13, 13}, kPart, {27, 27}}, {"kn_04", {16, 17}, kPart, {33, 33}},
    {"fd_01", {14, 8}, kPart, {29, 17}}, {"fd_01_s_fdbk", {4, 4}, kPart, {9, 9}},
    {"fd_02", {9, 24}, kPart, {19, 49}}, {"fd_02_s", {6, 4}, kPart, {13, 9}}, {"fd_03", {4, 11}, kPart, {9, 23}},
    {"fd_03_s", {4, 4}, kPart, {9, 9}}, {"fd_04r", {6, 14}, kPart, {13, 29}}, {"fd_04b", {6, 14}, kPart, {13, 29}},
    {"fd_04g", {6, 14}, kPart, {13, 29}}, {"fd_04o", {6, 14}, kPart, {13, 29}}, {"fd_04_s", {4, 5}, kPart, {9, 11}},
    {"fd_05", {9, 28}, kPart, {19, 57}}, {"fd_05_s", {9, 12}, kPart, {19, 25}},
    {"pb_01_0", {8, 8}, kPart, {16, 16}}, {"pb_01_1", {8, 8}, kPart, {16, 16}},
    {"pb_02_0", {8, 8}, kPart, {16, 16}}, {"pb_02_1", {8, 8}, kPart, {16, 16}},
    {"pb_03_0", {8, 8}, kPart, {16, 16}}, {"pb_03_1", {8, 8}, kPart, {16, 16}},
    {"pb_04_0", {8, 8}, kPart, {16, 16}}, {"pb_04_1", {8, 8}, kPart, {16, 16}},
    {"pb_05_0", {8, 8}, kPart, {16, 16}}, {"pb_05_1", {8, 8}, kPart, {16, 16}},
    {"pb_06_0", {8, 8}, kPart, {16, 16}}, {"pb_06_1", {8, 8}, kPart, {16, 16}},
    {"pb_07_0", {8, 8}, kPart, {16, 16}}, {"pb_07_1", {8, 8}, kPart, {16, 16}},
    {"pb_08_0", {8, 8}, kPart, {16, 16}}, {"pb_08_1", {8, 8}, kPart, {16, 16}},
    {"pb_09_0", {0, 0}, kPart, {37, 16}}, {"pb_09_1", {0, 0}, kPart, {37, 16}},
    {"pb_10_0", {0, 0}, kPart, {37, 16}}, {"pb_10_1", {0, 0}, kPart, {37, 16}},
    {"sp_01_up_0", {9, 23}, kPart, {19, 20}}, {"sp_01_up_1", {8, 22}, kPart, {19, 20}},
    {"sp_01_hnd_0", {14, 11}, kPart, {29, 23}}, {"sp_01_hnd_1", {13, 10}, kPart, {29, 23}},
    {"sp_01_dwn_0", {9, -13}, kPart, {19, 20}}, {"sp_01_dwn_1", {8, -14}, kPart, {19, 20}},
    {"ff_01_0", {11, 10}, kPart, {23, 20}}, {"ff_01_1", {11, 10}, kPart, {23, 20}},
    {"ff_02_0", {18, 17}, kPart, {37, 35}}, {"ff_02_1", {18, 17}, kPart, {37, 35}},
    {"ff_03_0", {11, 15}, kPart, {22, 30}}, {"ff_03_1", {11, 15}, kPart, {22, 30}},
    {"sw_01_0", {0, 0}, kPart, {143, 26}}, {"sw_02_0", {0, 0}, kPart, {50, 27}},
    {"sw_02_1", {0, 0}, kPart, {50, 27}}, {"sw_02_2", {0, 0}, kPart, {50, 27}},
    {"sw_02_3", {0, 0}, kPart, {50, 27}}, {"sw_02_p", {0, 0}, kPart, {101, 55}},
};

constexpr std::string_view kFonts[] = {"font_02"};

constexpr Strip kBackgrounds[] = {{"bkg_top", 150}, {"bkg_delay1", 232}, {"bkg_main", 86}, {"bkg_delay2", 232}};

constexpr Strip kRow1[] = {{"website", 344}, {"tempo", 144}, {"presets", 212}};
constexpr Strip kRow2[] = {{"level", 132}, {"tap 1", 142}, {"tap 2", 142}, {"tap 3", 142}, {"tap 4", 142}};
constexpr Strip kRow4Left[] = {{"line 2 switch", 112}, {"detail text", 112}};
constexpr Strip kRow4[] = {{"row 4 left", 224}, {"detail LFO", 314}, {"separation", 162}};
constexpr Strip kRoot[] = {{"row 1", 67}, {"row 2", 83}, {"delay line 1", 232}, {"row 4", 86}, {"delay line 2", 232}};

constexpr Split kSplits[] = {
    {"row 1", 1, kRow1}, {"row 2", 1, kRow2}, {"row 4 left", 1, kRow4Left}, {"row 4", 1, kRow4}, {"root", 0, kRoot},
};

// The filter switch's four positions are the quadrants of its box: 1 top left, 0 bottom left, 2 top
// right, 3 bottom right.
constexpr pengui::Point kFilterPositions[] = {{0, 28}, {0, 0}, {51, 0}, {51, 28}};

constexpr ControlRow kControls[] = {    // Global controls.
    stepping({"tempo", ControlKind::kSpin, {110, 33}, {-21, -32, 25, 34}, 1, "", "sp_01"}, 1.0 / 180, 1.0 / 36,
             "TempoSpinListener"),
    text_box("tempo", {67, 28}, {-36, 0, 36, 12}, 1, {0x231E16, {36, 0}, {72, 12}, 1, true}, "TempoTextBoxListener"),
    animated({"tempo", ControlKind::kFlipFlop, {22, 33}, {-12, -16, 11, 15}, 0, "ms / beat", "ff_03"},
             2, 0.3f, "MsBpmListener"),
    animated({"presets", ControlKind::kPushButton, {15, 22}, {-9, -9, 8, 8}, -1, "", "pb_01"},
             2, 0.3f, "PresetNumberListener"),
    animated({"presets", ControlKind::kPushButton, {34, 22}, {-9, -9, 8, 8}, -1, "", "pb_02"},
             2, 0.3f, "PresetNumberListener"),
    animated({"presets", ControlKind::kPushButton, {53, 22}, {-9, -9, 8, 8}, -1, "", "pb_03"},
             2, 0.3f, "PresetNumberListener"),
    animated({"presets", ControlKind::kPushButton, {72, 22}, {-9, -9, 8, 8}, -1, "", "pb_04"},
             2, 0.3f, "PresetNumberListener"),
    animated({"presets", ControlKind::kPushButton, {91, 22}, {-9, -9, 8, 8}, -1, "", "pb_05"},
             2, 0.3f, "PresetNumberListener"),
    animated({"presets", ControlKind::kPushButton, {110, 22}, {-9, -9, 8, 8}, -1, "", "pb_06"},
             2, 0.3f, "PresetNumberListener"),
    animated({"presets", ControlKind::kPushButton, {129, 22}, {-9, -9, 8, 8}, -1, "", "pb_07"},
             2, 0.3f, "PresetNumberListener"),
    animated({"presets", ControlKind::kPushButton, {148, 22}, {-9, -9, 8, 8}, -1, "", "pb_08"},
             2, 0.3f, "PresetNumberListener"),
    animated({"presets", ControlKind::kPushButton, {160, 38}, {0, 0, 37, 16}, -1, "", "pb_09"},
             2, 0.3f, "PresetLoadBankListener"),
    animated({"presets", ControlKind::kPushButton, {160, 54}, {0, 0, 37, 16}, -1, "", "pb_10"},
             2, 0.3f, "PresetSaveBankListener"),
    animated({"presets", ControlKind::kFlipFlop, {182, 26}, {-12, -11, 12, 10}, -1, "Store", "ff_01"},
             2, 0.3f, "PresetMemListener"),
    listens({"presets", ControlKind::kFader, {10, 45}, {-5, -12, 99, 17},
            -1, "", "fd_03", "", KnobPreset::kNone, 0, 0, 90},
            "PresetTimeFaderListener"),
    text_box("presets", {134, 42}, {-12, 0, 12, 12}, -1, {0x231E16, {12, 0}, {24, 12}, 1, true}, "PresetTimeDisplayListener"),
    listens({"level", ControlKind::kKnob, {83, 47}, {-26, -26, 27, 27}, 2, "Level", "", "", KnobPreset::kMiddle},
            "NumValListenerInterface"),
    animated({"level", ControlKind::kFlipFlop, {34, 62}, {-20, -18, 20, 19}, 0, "Sustain", "ff_02"},
             2, 0.3f, "SustLoopListener"),
    animated({"line 2 switch", ControlKind::kFlipFlop, {84, 52}, {-20, -18, 20, 19}, 0, "Two lines", "ff_02"},
             2, 0.3f,
             "Delay2Listener"),
    listens({"separation", ControlKind::kFader, {13, 48}, {-10, -25, 104, 31},
            3, "", "fd_02", "fd_02_s", KnobPreset::kNone, 0, 0, 86},
            "NumValListenerInterface"),
    animated({"website", ControlKind::kPushButton, {0, 33}, {0, 0, 344, 34}, -1, "", ""}, 0, 0.1f, "WebSiteListener"),
    // Each tap unit.
    listens({"tap", ControlKind::kFader, {75, 16}, {-7, -15, 66, 21},
            0, "Time", "fd_04*", "fd_04_s", KnobPreset::kNone, 0, 0, 56},
            "TapTimeListener"),
    listens({"tap", ControlKind::kKnob, {78, 64}, {-14, -14, 15, 15}, 4, "Level", "kn_03*", "", KnobPreset::kTap},
            "NumValListenerInterface"),
    listens({"tap", ControlKind::kKnob, {123, 64}, {-14, -14, 15, 15}, 8, "Pan", "kn_03*", "", KnobPreset::kTap},
            "NumValListenerInterface"),
    // Each delay line.
    listens({"delay line", ControlKind::kKnob, {405, 95}, {-26, -26, 27, 27}, 0, "Level", "", "", KnobPreset::kMiddle},
            "NumValListenerRc"),
    listens({"delay line", ControlKind::kKnob, {488, 95}, {-26, -26, 27, 27}, 1, "Pan", "", "", KnobPreset::kMiddle},
            "NumValListenerRc"),
    listens({"delay line", ControlKind::kFader, {243, 34}, {-10, -29, 420, 32}, 5, "Time", "fd_05", "fd_05_s", KnobPreset::kNone, 0, 0, 404},
            "DelayTimeListener"),
    listens({"delay line", ControlKind::kFader, {550, 90}, {-15, -9, 20, 123}, 9, "Feedback", "fd_01", "fd_01_s_fdbk", KnobPreset::kNone, 0, 0, 109, true},
            "NumValListenerRc"),
    positioned(listens({"delay line", ControlKind::kSwitch, {243, 66}, {0, 0, 101, 55}, 13, "Filter", "sw_02_p"},
                       "ListenerBaseRc"),
               kFilterPositions),
    listens({"delay line", ControlKind::kKnob, {290, 177}, {-48, -48, 48, 48}, 14, "Cutoff", "", "", KnobPreset::kLarge, 0.625f, -0.75f},
            "NumValListenerRc"),
    listens({"delay line", ControlKind::kKnob, {103, 66}, {-48, -48, 48, 48}, 18, "Resonance", "", "", KnobPreset::kLarge, 0.195f, -0.9f, 0, false, {60, 66}},
            "NumValListenerRc"),
    listens({"delay line", ControlKind::kKnob, {67, 177}, {-48, -48, 48, 48}, 22, "Q", "", "", KnobPreset::kLarge, 0.625f, -0.75f, 0, false, {68, 177}},
            "NumValListenerRc"),
    listens({"delay line", ControlKind::kFader, {620, 200}, {-15, -78, 20, 14}, 26, "Drive type", "fd_01", "", KnobPreset::kNone, 0, 0, -69, true},
            "NumValListenerRc"),
    listens({"delay line", ControlKind::kKnob, {618, 94}, {-26, -26, 27, 27}, 27, "Drive", "", "", KnobPreset::kMiddle},
            "NumValListenerRc"),
    listens({"delay line", ControlKind::kKnob, {405, 186}, {-26, -26, 27, 27}, 31, "Shelf freq", "", "", KnobPreset::kMiddle},
            "NumValListenerRc"),
    listens({"delay line", ControlKind::kKnob, {488, 186}, {-26, -26, 27, 27}, 32, "Shelf level", "", "", KnobPreset::kMiddle},
            "NumValListenerRc"),
    // The detail panel: the selected parameter's texts and LFO.
    text_box("detail text", {54, 30}, {-44, 0, 44, 12}, -1, {0x463C2C, {44, 0}, {88, 12}, 1, false}),
    text_box("detail text", {54, 46}, {-36, 0, 36, 12}, -1, {0x231E16, {36, 0}, {72, 12}, 0, true}, "NumValTbListener"),
    text_box("detail text", {54, 62}, {-36, 0, 36, 12}, -1, {0x463C2C, {36, 0}, {72, 12}, 0, false}),
    listens({"detail LFO", ControlKind::kKnob, {53, 60}, {-16, -17, 17, 17}, -1, "Period", "kn_04", "", KnobPreset::kLfo},
            "LfoPerKnListener"),
    text_box("detail LFO", {53, 27}, {-36, 0, 36, 12}, -1, {0x191610, {36, 0}, {72, 12}, 1, true}, "LfoPerTbListener"),
    listens({"detail LFO", ControlKind::kKnob, {118, 60}, {-16, -17, 17, 17}, -1, "Depth", "kn_04", "", KnobPreset::kLfo},
            "LfoDepthKnListener"),
    text_box("detail LFO", {118, 27}, {-36, 0, 36, 12}, -1, {0x191610, {36, 0}, {72, 12}, 1, true}, "LfoDepthTbListener"),
    listens({"detail LFO", ControlKind::kSwitch, {161, 47}, {0, 0, 142, 25}, -1, "Waveform", "sw_01_0"},
            "ListenerBase"),
};

// Each name sits clear of its own control and every other: above or below a knob, beside a fader
// or switch, a large knob's in the gap of its scale (above the scale for the resonance, whose gap
// is too narrow for its name). The names along a delay line's bottom share one baseline, 224.
constexpr Anchor kStart = Anchor::kStart;
constexpr Anchor kMiddle = Anchor::kMiddle;
constexpr Anchor kEnd = Anchor::kEnd;
constexpr LabelPlace kLabels[] = {
    {"tempo", "ms / beat", {4, 26}, kMiddle, 8},
    {"presets", "Store", {0, -14}, kMiddle, 8},
    {"level", "Level", {0, -34}, kMiddle, 9},
    {"level", "Sustain", {0, -22}, kMiddle, 9},
    {"line 2 switch", "Two lines", {-24, 4}, kEnd, 9},
    {"tap", "Time", {-38, 20}, kMiddle, 9},
    {"tap", "Level", {0, -18}, kMiddle, 9},
    {"tap", "Pan", {0, -18}, kMiddle, 9},
    {"delay line", "Level", {0, 38}, kMiddle, 10},
    {"delay line", "Pan", {0, 38}, kMiddle, 10},
    {"delay line", "Time", {-8, 4}, kEnd, 10},
    {"delay line", "Feedback", {0, 134}, kMiddle, 10},
    {"delay line", "Filter", {-8, 31}, kEnd, 10},
    {"delay line", "Cutoff", {0, 47}, kMiddle, 10},
    {"delay line", "Resonance", {1, -52}, kMiddle, 10},
    {"delay line", "Q", {0, 47}, kMiddle, 10},
    {"delay line", "Drive type", {0, 24}, kMiddle, 10},
    {"delay line", "Drive", {32, 4}, kStart, 10},
    {"delay line", "Shelf freq", {0, 38}, kMiddle, 10},
    {"delay line", "Shelf level", {0, 38}, kMiddle, 10},
    {"detail LFO", "Period", {0, -41}, kMiddle, 8},
    {"detail LFO", "Depth", {0, -41}, kMiddle, 8},
    {"detail LFO", "Waveform", {71, -6}, kMiddle, 8},
};

// The tap knob's frame is the tap's own kn_03X picture; its pointer kn_03X_spn is named per tap.
constexpr KnobPresetRow kKnobs[] = {
    {KnobPreset::kLarge, "kn_01e_p", "kn_01e_", 4, 1.0f / 128, 1.0f / 32, true, "kn_01e_spn", "kn_01e_s", "arw_bigsize", 256,
     1.0f / 32, 25, 1, true, {-48, -48, 48, 48}},
    {KnobPreset::kMiddle, "kn_02_p", "kn_02_", 8, 0, 1.0f / 7, true, "kn_02_spn", "kn_02_s", "arw_middlesize", 256, 1.0f / 32,
     15, 1, true, {-26, -26, 27, 27}},
    {KnobPreset::kTap, "", "", 1, 0, 1, false, "*_spn", "kn_03_s", "", 256, 1.0f / 32, 6, 1, false, {-14, -14, 15, 15}},
    {KnobPreset::kLfo, "", "kn_04", 1, 0, 1, true, "", "", "arw_littlesize", 256, 1.0f / 32, 0, 1, false, {-16, -17, 17, 17}},
};

constexpr SkinLayout kWide{
    "wide", {700, 700}, kPictures, kFonts, kBackgrounds, "bkg_delay2", "bkg_nodelay2", kSplits, {0, 468, 700, 700},
    kControls, kKnobs, kLabels, {0, 0xEFE7D4, 0x231E16, 0xC9DCE0, 0x9C9384},
};

} // namespace

const SkinLayout& wide()
{
    return kWide;
}

} // namespace skin_layout
