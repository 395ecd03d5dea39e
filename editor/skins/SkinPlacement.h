#pragma once

#include "SkinLayout.h"

#include <map>
#include <string>
#include <vector>

// Where a skin's layout table puts things in the window: every cell, and every control with the
// tap and delay line rows repeated for each section.
namespace skin_layout {

// The cell of a repeated section: "tap 2", "delay line 1".
std::string numbered_cell(const char* section, int number);

// Each leaf cell of the control tree as a window rectangle, by name.
std::map<std::string, pengui::Rect> cell_rects(const SkinLayout& skin);

struct PlacedControl {
    const ControlRow* row;
    // The section's cell ("tap 2", "delay line 1", or the row's own).
    std::string cell;
    // Its origin in the window.
    pengui::Point at;
    // Its main picture, a tap's colour letter filled in.
    std::string picture;
    // The parameter it drives, counted in the whole table; -1 for none.
    int parameter;
};

// Where the background prints the name of `row`; throws when the skin gives it no place.
const LabelPlace& label_place(const SkinLayout& skin, const ControlRow& row);

// The skins are drawn at these scales, from the same table: a length or coordinate of the table
// becomes `scaled(value, scale)` device pixels, rounded to the nearest (halves away from zero).
inline constexpr float kScales[] = {1.0f, 1.5f, 2.0f};
int scaled(int value, float scale);
// The resource type a module keeps a skin's pictures and fonts under at `scale`: "APIC" at 1x,
// "APIC15X" and "APIC2X" beside it.
const char* resource_type(float scale);

// Every control of the window, line 2's only with `twoLines`.
std::vector<PlacedControl> placed_controls(const SkinLayout& skin, bool twoLines = true);

} // namespace skin_layout
