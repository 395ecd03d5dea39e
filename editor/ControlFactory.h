#pragma once

#include <memory>

namespace pengui {
class ControlInterface;
}

namespace skin_layout {
struct ControlRow;
struct SkinLayout;
} // namespace skin_layout

namespace mppi {

class SkinResources;

// Builds the toolkit control a layout row describes: its kind, pictures, knob preset, text
// settings, frames and steps, its box and its place in its cell. Editor thread only.
class ControlFactory {
public:
    ControlFactory(const skin_layout::SkinLayout& skin, SkinResources& resources) : skin_(skin), resources_(resources) {}

    // `tapLetter` stands for '*' in a tap's picture names; `secondLine` picks the row's place in
    // delay line 2. Pictures the skin lacks are left empty.
    std::unique_ptr<pengui::ControlInterface> make(const skin_layout::ControlRow& row, char tapLetter = 0,
                                                   bool secondLine = false) const;

    // The waveform each cell of the waveform sheet shows, cells counted row by row.
    static constexpr int kWaveformOfCell[10] = {0, 1, 2, 7, 8, 3, 5, 4, 6, 9};
    // The waveform sheet: 5 columns and 2 rows of cells 28.6667 x 13 pixels.
    static constexpr int kSheetColumns = 5;
    static constexpr double kSheetCellWidth = 28.6667;
    static constexpr int kSheetCellHeight = 13;
    // The text boxes show this until their first update.
    static constexpr const char* kPlaceholder = "1234567";

private:
    std::unique_ptr<pengui::ControlInterface> makeKnob(const skin_layout::ControlRow& row, char tapLetter) const;
    std::unique_ptr<pengui::ControlInterface> makeFader(const skin_layout::ControlRow& row, char tapLetter) const;
    std::unique_ptr<pengui::ControlInterface> makeSwitch(const skin_layout::ControlRow& row) const;
    std::unique_ptr<pengui::ControlInterface> makeSpin(const skin_layout::ControlRow& row) const;
    std::unique_ptr<pengui::ControlInterface> makeButton(const skin_layout::ControlRow& row) const;
    std::unique_ptr<pengui::ControlInterface> makeTextBox(const skin_layout::ControlRow& row) const;

    const skin_layout::SkinLayout& skin_;
    SkinResources& resources_;
};

} // namespace mppi
