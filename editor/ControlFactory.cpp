#include "ControlFactory.h"

#include "Fader.h"
#include "FlipFlop.h"
#include "Knob.h"
#include "PushButton.h"
#include "SkinLayout.h"
#include "SkinResources.h"
#include "Spin.h"
#include "Switch.h"
#include "TextBox.h"

#include <cmath>
#include <string>

namespace mppi {

using skin_layout::ControlKind;
using skin_layout::ControlRow;

namespace {

// A picture name with '*' standing for the tap's colour letter.
std::string named(std::string_view pattern, char tapLetter)
{
    std::string name(pattern);
    for (char& c : name)
        if (c == '*' && tapLetter != 0)
            c = tapLetter;
    return name;
}

constexpr float kFineFactor = 1.0f / 32;
constexpr float kSpinFactor = 1.0f;

} // namespace

std::unique_ptr<pengui::ControlInterface> ControlFactory::make(const ControlRow& row, char tapLetter, bool secondLine) const
{
    std::unique_ptr<pengui::ControlInterface> control;
    switch (row.kind) {
    case ControlKind::kKnob: control = makeKnob(row, tapLetter); break;
    case ControlKind::kFader: control = makeFader(row, tapLetter); break;
    case ControlKind::kSwitch: control = makeSwitch(row); break;
    case ControlKind::kSpin: control = makeSpin(row); break;
    case ControlKind::kFlipFlop:
    case ControlKind::kPushButton: control = makeButton(row); break;
    case ControlKind::kTextBox: control = makeTextBox(row); break;
    }
    control->box = row.box;
    control->set_position(secondLine && row.position2.x >= 0 ? row.position2 : row.position);
    return control;
}

std::unique_ptr<pengui::ControlInterface> ControlFactory::makeKnob(const ControlRow& row, char tapLetter) const
{
    auto knob = std::make_unique<pengui::Knob>();
    const std::string own = named(row.picture, tapLetter);
    const skin_layout::KnobPresetRow* preset = nullptr;
    for (const skin_layout::KnobPresetRow& candidate : skin_.knobs)
        if (candidate.preset == row.knob)
            preset = &candidate;
    if (!preset)
        return knob;
    auto set = [this](std::string_view name, auto setter) {
        if (const pengui::Picture* picture = resources_.picture(name))
            setter(*picture);
    };
    set(preset->plate, [&](const pengui::Picture& p) { knob->set_plate(p); });
    // Frames: the control's own picture, the preset's one picture, or its numbered run.
    const int frames = preset->frames.empty() ? 1 : preset->frameCount;
    knob->set_frame_count(frames);
    for (int index = 0; index < frames; ++index) {
        const std::string name = preset->frames.empty() ? own
                                 : frames == 1         ? std::string(preset->frames)
                                                       : std::string(preset->frames) + std::to_string(index);
        set(name, [&](const pengui::Picture& p) { knob->set_frame(index, p); });
    }
    const std::string pointer = preset->pointer.starts_with("*") ? own + std::string(preset->pointer.substr(1))
                                                                 : std::string(preset->pointer);
    set(pointer, [&](const pengui::Picture& p) { knob->set_pointer(p); });
    // The detail panel's LFO knobs go without a highlight.
    if (row.cell != "detail LFO")
        set(preset->highlight, [&](const pengui::Picture& p) { knob->set_highlight(p); });
    set(preset->dragIndicator, [&](const pengui::Picture& p) { knob->set_drag_indicator(p); });
    knob->set_frame_angles(preset->frameOffset, preset->frameSpan);
    knob->set_rotate_frames(preset->rotateFrames);
    knob->set_rotate_pointer(preset->rotatePointer);
    knob->set_pointer_radius(preset->pointerRadius);
    knob->set_drag_range(preset->dragRange);
    knob->set_fine_factor(preset->fineFactor);
    knob->set_spin_factor(preset->spinFactor);
    knob->set_scale(skin_.scale);
    knob->set_angles(row.start, row.range);
    return knob;
}

std::unique_ptr<pengui::ControlInterface> ControlFactory::makeFader(const ControlRow& row, char tapLetter) const
{
    auto fader = std::make_unique<pengui::Fader>();
    if (const pengui::Picture* handle = resources_.picture(named(row.picture, tapLetter)))
        fader->set_handle(*handle);
    if (const pengui::Picture* active = resources_.picture(row.active)) {
        fader->set_active_picture(*active);
        fader->set_active_follows_handle(true);
    }
    fader->set_travel(row.travel);
    fader->set_vertical(row.vertical);
    fader->set_fine_factor(kFineFactor);
    fader->set_spin_factor(kSpinFactor);
    fader->set_scale(skin_.scale);
    return fader;
}

std::unique_ptr<pengui::ControlInterface> ControlFactory::makeSwitch(const ControlRow& row) const
{
    auto control = std::make_unique<pengui::Switch>();
    const pengui::Picture* sheet = resources_.picture(row.picture);
    if (!row.positions.empty()) {
        // A background with one lit picture per position, each at its own place.
        if (sheet)
            control->set_background(*sheet);
        std::string base(row.picture);
        if (base.ends_with("_p"))
            base.resize(base.size() - 2);
        control->set_position_count(static_cast<int>(row.positions.size()));
        for (std::size_t index = 0; index < row.positions.size(); ++index) {
            const pengui::Picture* lit = resources_.picture(base + "_" + std::to_string(index));
            if (!lit)
                continue;
            pengui::Picture placed = *lit;
            placed.set_hot_spot({-row.positions[index].x, -row.positions[index].y});
            control->set_position_picture(static_cast<int>(index), placed);
        }
        return control;
    }
    // The waveform switch: ten positions, either cut from one sheet of cells or one picture
    // each over a background; cell k stands for waveform kWaveformOfCell[k].
    constexpr int kCells = static_cast<int>(std::size(kWaveformOfCell));
    control->set_position_count(kCells);
    const bool oneSheet = row.picture.ends_with("_0");
    if (!oneSheet && sheet)
        control->set_background(*sheet);
    for (int cell = 0; cell < kCells; ++cell) {
        pengui::Picture position;
        if (oneSheet && sheet) {
            const int column = cell % kSheetColumns;
            const int line = cell / kSheetColumns;
            const pengui::Rect rect{static_cast<int>(std::floor(kSheetCellWidth * column + 0.5)), kSheetCellHeight * line,
                                    static_cast<int>(std::floor(kSheetCellWidth * (column + 1) + 0.5)),
                                    kSheetCellHeight * (line + 1)};
            position = resources_.cut(*sheet, rect);
            position.set_hot_spot({-rect.x0, -rect.y0});
        } else if (const pengui::Picture* own = resources_.picture(std::string(row.picture) + "_" + std::to_string(cell))) {
            position = *own;
        }
        control->set_position_picture(kWaveformOfCell[cell], position);
    }
    return control;
}

std::unique_ptr<pengui::ControlInterface> ControlFactory::makeSpin(const ControlRow& row) const
{
    auto spin = std::make_unique<pengui::Spin>();
    constexpr struct {
        const char* suffix;
        pengui::Spin::Part part;
    } kParts[] = {
        {"_up_0", pengui::Spin::kUp},         {"_up_1", pengui::Spin::kUpPressed},
        {"_dwn_0", pengui::Spin::kDown},      {"_dwn_1", pengui::Spin::kDownPressed},
        {"_hnd_0", pengui::Spin::kHandle},    {"_hnd_1", pengui::Spin::kHandlePressed},
    };
    for (const auto& part : kParts)
        if (const pengui::Picture* picture = resources_.picture(std::string(row.picture) + part.suffix))
            spin->set_picture(part.part, *picture);
    spin->set_steps(row.step, row.fastStep);
    return spin;
}

std::unique_ptr<pengui::ControlInterface> ControlFactory::makeButton(const ControlRow& row) const
{
    std::unique_ptr<pengui::AnimatedFrames> button;
    if (row.kind == ControlKind::kFlipFlop)
        button = std::make_unique<pengui::FlipFlop>();
    else
        button = std::make_unique<pengui::PushButton>();
    button->set_duration(row.duration);
    const std::string base(row.picture);
    int pictures = 0;
    while (!base.empty() && resources_.picture(base + "_" + std::to_string(pictures)))
        ++pictures;
    button->set_frame_count(row.frames);
    for (int frame = 0; frame < row.frames && pictures > 0; ++frame) {
        // More frames than pictures: the pictures run quickly at first, then slow down.
        int index = frame;
        if (row.frames > pictures) {
            const double t = row.frames > 1 ? static_cast<double>(frame) / (row.frames - 1) : 1.0;
            index = static_cast<int>(std::floor((pictures - 1) * 4.0 * t / (3.0 * t + 1.0) + 0.5));
        }
        if (const pengui::Picture* picture = resources_.picture(base + "_" + std::to_string(index)))
            button->set_frame(frame, *picture);
    }
    return button;
}

std::unique_ptr<pengui::ControlInterface> ControlFactory::makeTextBox(const ControlRow& row) const
{
    auto box = std::make_unique<pengui::TextBox>();
    box->set_font(resources_.font(row.font));
    box->set_text_offset(row.textOffset);
    box->set_text_size(row.textSize);
    box->set_alignment(row.alignment);
    box->set_colour(row.colour);
    box->set_editable(row.editable);
    box->set_text(kPlaceholder);
    return box;
}

} // namespace mppi
