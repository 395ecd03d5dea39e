#include "SkinPlacement.h"

#include <cmath>

#include "ParamIndexes.h"

#include <stdexcept>

namespace skin_layout {

namespace {

constexpr char kTapColours[] = {'r', 'b', 'g', 'o'};
using mppi::kFirstLineParam;
using mppi::kFirstTapParam;
using mppi::kLineParams;
using mppi::kTapParams;
using mppi::kTaps;

void place(const SkinLayout& skin, std::string_view name, pengui::Rect space, std::map<std::string, pengui::Rect>& cells)
{
    for (const Split& split : skin.splits) {
        if (split.name != name)
            continue;
        int advance = 0;
        for (const Strip& strip : split.strips) {
            const bool across = split.orientation == 1;
            const pengui::Rect strip_space =
                across ? pengui::Rect{space.x0 + advance, space.y0, space.x0 + advance + strip.extent, space.y1}
                       : pengui::Rect{space.x0, space.y0 + advance, space.x1, space.y0 + advance + strip.extent};
            place(skin, strip.child, strip_space, cells);
            advance += strip.extent;
        }
        return;
    }
    cells[std::string(name)] = space;
}

} // namespace

int scaled(int value, float scale)
{
    return static_cast<int>(std::lround(static_cast<double>(value) * scale));
}

const char* resource_type(float scale)
{
    return scale == 2.0f ? "APIC2X" : scale == 1.5f ? "APIC15X" : "APIC";
}

std::string numbered_cell(const char* section, int number)
{
    std::string name(section);
    name += ' ';
    name += std::to_string(number);
    return name;
}

std::map<std::string, pengui::Rect> cell_rects(const SkinLayout& skin)
{
    std::map<std::string, pengui::Rect> cells;
    place(skin, "root", {0, 0, skin.size.w, skin.size.h}, cells);
    return cells;
}

const LabelPlace& label_place(const SkinLayout& skin, const ControlRow& row)
{
    for (const LabelPlace& place : skin.labels)
        if (place.section == row.cell && place.label == row.label)
            return place;
    throw std::out_of_range("the " + std::string(skin.name) + " skin gives \"" + std::string(row.label) + "\" of " +
                            std::string(row.cell) + " no place");
}

std::vector<PlacedControl> placed_controls(const SkinLayout& skin, bool twoLines)
{
    const std::map<std::string, pengui::Rect> cells = cell_rects(skin);
    std::vector<PlacedControl> placed;
    auto add = [&](const ControlRow& row, const std::string& cell, pengui::Point position, std::string picture, int parameter) {
        const pengui::Rect& rect = cells.at(cell);
        placed.push_back({&row, cell, {rect.x0 + position.x, rect.y0 + position.y}, std::move(picture), parameter});
    };
    for (const ControlRow& row : skin.controls) {
        if (row.cell == "tap") {
            for (int tap = 0; tap < kTaps; ++tap) {
                std::string picture(row.picture);
                if (const auto star = picture.find('*'); star != std::string::npos)
                    picture[star] = kTapColours[tap];
                add(row, numbered_cell("tap", tap + 1), row.position, picture,
                    kFirstTapParam + kTapParams * tap + row.parameter);
            }
        } else if (row.cell == "delay line") {
            for (int line = 0; line < (twoLines ? 2 : 1); ++line)
                add(row, numbered_cell("delay line", line + 1), line == 1 && row.position2.x >= 0 ? row.position2 : row.position,
                    std::string(row.picture), kFirstLineParam + kLineParams * line + row.parameter);
        } else {
            add(row, std::string(row.cell), row.position, std::string(row.picture), row.parameter);
        }
    }
    return placed;
}

} // namespace skin_layout
