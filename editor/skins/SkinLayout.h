#pragma once

#include "Geometry.h"

#include <cstdint>
#include <span>
#include <string_view>

// A skin's layout as data: the pictures it loads (in load order, with their hot spots and how
// they are stored), its fonts, the background stack and the cells of the control tree. The
// editor, the artwork generator and the tests all read these tables.
namespace skin_layout {

// How a picture is stored: opaque backgrounds or controls with alpha, palette or direct colour.
enum class Storage { kOpaque8, kOpaque24, kAlpha8, kAlpha24 };

struct PictureEntry {
    std::string_view name;
    pengui::Point hotSpot;
    Storage storage;
    // The size its drawing must have; zero where the skin has not drawn it yet.
    pengui::Size size;
};

// One strip of a split: the child it holds and its extent in pixels along the split's axis.
struct Strip {
    std::string_view child;
    int extent;
};

// A split of the control tree: side by side (orientation 1) or stacked (0).
struct Split {
    std::string_view name;
    int orientation;
    std::span<const Strip> strips;
};

enum class ControlKind { kKnob, kFader, kSwitch, kSpin, kFlipFlop, kPushButton, kTextBox };

// The knob presets of the two skins.
enum class KnobPreset { kNone, kLarge, kMiddle, kTap, kLfo, kSmall, kCompactMiddle, kCompactCutoff, kRecall };

// How a kind of knob is drawn and moves. Frames are `frameCount` pictures named `frames` plus
// their number, or the control's own picture when `frames` is empty; an empty picture name
// means none.
struct KnobPresetRow {
    KnobPreset preset;
    std::string_view plate;
    std::string_view frames;
    int frameCount;
    float frameOffset;
    float frameSpan;
    bool rotateFrames;
    std::string_view pointer;
    std::string_view highlight;
    std::string_view dragIndicator;
    int dragRange;
    float fineFactor;
    float pointerRadius;
    float spinFactor;
    bool rotatePointer;
    pengui::Rect box;
};

// One control: where it sits in its cell, what it shows and what it drives. Rows whose cell is
// "tap" or "delay line" repeat in each tap unit or delay line, with `parameter` counted from the
// section's first parameter; other rows give the parameter's index (-1: none). In a tap's
// picture names, '*' stands for the tap's colour letter (r, b, g, o).
struct ControlRow {
    std::string_view cell;
    ControlKind kind;
    pengui::Point position;
    pengui::Rect box;
    int parameter = -1;
    // The name the background prints for it; empty for none.
    std::string_view label = {};
    // The main picture (a fader's handle, a switch's background, the first of a button's
    // frames without its _0) and a fader's active picture.
    std::string_view picture = {};
    std::string_view active = {};
    KnobPreset knob = KnobPreset::kNone;
    // Knobs: start angle and range in turns. Faders: travel in pixels, and whether vertical.
    float start = 0.625f;
    float range = -0.75f;
    int travel = 0;
    bool vertical = false;
    // Where it sits in delay line 2, where that differs.
    pengui::Point position2 = {-1, -1};
    // Text boxes: the colour of their text, 0x00RRGGBB, the font (an index of the font list), where
    // the text's top-left lies (the control origin minus `textOffset`), its size and alignment, and
    // whether the user may type into it.
    std::uint32_t colour = 0;
    int font = 0;
    pengui::Point textOffset = {};
    pengui::Size textSize = {};
    int alignment = 0;
    bool editable = false;
    // Flip-flops and push buttons: the number of frames and the animation's seconds. Spins: the
    // step of the arrows and the fast step.
    int frames = 2;
    float duration = 0.0f;
    double step = 0.0;
    double fastStep = 0.0;
    // The listener class the editor gives it; empty for none.
    std::string_view listener = {};
    // Switches: where each position's picture has its origin, relative to the control's.
    std::span<const pengui::Point> positions = {};
};

// A text box's row.
struct TextSettingsRow {
    std::uint32_t colour;
    pengui::Point offset;
    pengui::Size size;
    int alignment;
    bool editable;
    int font = 0;
};

constexpr ControlRow text_box(std::string_view cell, pengui::Point position, pengui::Rect box, int parameter,
                              const TextSettingsRow& text, std::string_view listener = {}, std::string_view label = {})
{
    ControlRow row{cell, ControlKind::kTextBox, position, box, parameter, label};
    row.colour = text.colour;
    row.font = text.font;
    row.textOffset = text.offset;
    row.textSize = text.size;
    row.alignment = text.alignment;
    row.editable = text.editable;
    row.listener = listener;
    return row;
}

// A row with its listener.
constexpr ControlRow listens(ControlRow row, std::string_view listener)
{
    row.listener = listener;
    return row;
}

// A flip-flop's or push button's row with its frames and animation.
constexpr ControlRow animated(ControlRow row, int frames, float duration, std::string_view listener = {})
{
    row.frames = frames;
    row.duration = duration;
    row.listener = listener;
    return row;
}

// A switch's row with the origins of its position pictures.
constexpr ControlRow positioned(ControlRow row, std::span<const pengui::Point> positions)
{
    row.positions = positions;
    return row;
}

// A spin's row with its steps.
constexpr ControlRow stepping(ControlRow row, double step, double fastStep, std::string_view listener)
{
    row.step = step;
    row.fastStep = fastStep;
    row.listener = listener;
    return row;
}

// Which point of a label lies on its place: the start of its text, its middle or its end.
enum class Anchor { kStart, kMiddle, kEnd };

// Where the background prints a control's name: the text's baseline passes through the control's
// origin plus `offset`, at the anchor, in DejaVu Sans of `size` pixels. `section` is the row's cell
// ("tap" and "delay line" for the repeated sections).
struct LabelPlace {
    std::string_view section;
    std::string_view label;
    pengui::Point offset;
    Anchor anchor;
    int size;
};

// How the editor's small menu looks: the font it writes in (an index of the font list) and its
// colours, 0x00RRGGBB: its face, its text, the line under the pointer and its frame.
struct MenuStyle {
    int font;
    std::uint32_t face;
    std::uint32_t text;
    std::uint32_t highlight;
    std::uint32_t frame;
};

struct SkinLayout {
    std::string_view name;
    pengui::Size size;
    std::span<const PictureEntry> pictures;
    std::span<const std::string_view> fonts;
    // The stacked backgrounds, top to bottom; the last strip shows `lowerWithTwoLines` or
    // `lowerWithOneLine` by the number of delay lines.
    std::span<const Strip> backgrounds;
    std::string_view lowerWithTwoLines;
    std::string_view lowerWithOneLine;
    // The control tree's splits, the root last; line 2's strip is the root's last.
    std::span<const Split> splits;
    // What the switch between one and two delay lines repaints.
    pengui::Rect relayoutRepaint;
    std::span<const ControlRow> controls;
    std::span<const KnobPresetRow> knobs;
    // One place for every control's name.
    std::span<const LabelPlace> labels;
    MenuStyle menu;
    // Device pixels per unit of the table: 1 for the tables as written, 1.5 or 2 for a
    // ScaledSkin's.
    float scale = 1.0f;
};

// The large skin (700 x 700) and the small one (500 x 422).
const SkinLayout& wide();
const SkinLayout& compact();

} // namespace skin_layout
