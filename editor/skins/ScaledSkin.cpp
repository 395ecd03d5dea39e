#include "ScaledSkin.h"

#include "SkinPlacement.h"

#include <cmath>
#include <map>

namespace skin_layout {

namespace {

// Strips cut at their scaled edges, from `start` on.
std::vector<Strip> scaledStrips(std::span<const Strip> strips, float scale)
{
    std::vector<Strip> scaledOnes;
    int edge = 0;
    for (const Strip& strip : strips) {
        scaledOnes.push_back({strip.child, scaled(edge + strip.extent, scale) - scaled(edge, scale)});
        edge += strip.extent;
    }
    return scaledOnes;
}

// A place inside a cell, at the scale: rounded down. Cell origins round to the nearest, halves
// up, so a place rounded down lands within half a pixel of its 1x place times the scale whatever
// the origin of the cell it is repeated in (at 1.5x, an odd origin rounds up by half a pixel).
int inCell(int value, float scale)
{
    return static_cast<int>(std::floor(static_cast<double>(value) * scale));
}

// An offset from `at` (a place in the cell), at the scale: between the two rounded places.
int from(int at, int offset, float scale)
{
    return inCell(at + offset, scale) - inCell(at, scale);
}

pengui::Point from(pengui::Point at, pengui::Point offset, float scale)
{
    return {from(at.x, offset.x, scale), from(at.y, offset.y, scale)};
}

pengui::Rect from(pengui::Point at, const pengui::Rect& box, float scale)
{
    return {from(at.x, box.x0, scale), from(at.y, box.y0, scale), from(at.x, box.x1, scale), from(at.y, box.y1, scale)};
}

pengui::Point scaledPoint(pengui::Point point, float scale)
{
    return {scaled(point.x, scale), scaled(point.y, scale)};
}

pengui::Rect scaledRect(const pengui::Rect& rect, float scale)
{
    return {scaled(rect.x0, scale), scaled(rect.y0, scale), scaled(rect.x1, scale), scaled(rect.y1, scale)};
}

} // namespace

ScaledSkin::ScaledSkin(const SkinLayout& skin, float scale) : scale_(scale)
{
    // The backgrounds stand one above another from the window's top.
    std::map<std::string_view, int> backgroundHeights;
    backgrounds_ = scaledStrips(skin.backgrounds, scale);
    for (const Strip& strip : backgrounds_)
        backgroundHeights[strip.child] = strip.extent;
    if (!skin.backgrounds.empty())
        backgroundHeights[skin.lowerWithOneLine] = backgroundHeights[skin.lowerWithTwoLines];
    for (PictureEntry picture : skin.pictures) {
        picture.hotSpot = scaledPoint(picture.hotSpot, scale);
        picture.size = {scaled(picture.size.w, scale), scaled(picture.size.h, scale)};
        if (const auto background = backgroundHeights.find(picture.name); background != backgroundHeights.end())
            picture.size.h = background->second;
        pictures_.push_back(picture);
    }

    strips_.reserve(skin.splits.size());
    for (const Split& split : skin.splits) {
        strips_.push_back(scaledStrips(split.strips, scale));
        splits_.push_back({split.name, split.orientation, strips_.back()});
    }

    positions_.reserve(skin.controls.size());
    for (ControlRow row : skin.controls) {
        const pengui::Point at = row.position;
        row.box = from(at, row.box, scale);
        row.position = {inCell(at.x, scale), inCell(at.y, scale)};
        if (row.position2.x >= 0)
            row.position2 = {inCell(row.position2.x, scale), inCell(row.position2.y, scale)};
        row.travel = scaled(row.travel, scale);
        const pengui::Point text{at.x + row.textOffset.x, at.y + row.textOffset.y};
        row.textSize = {from(text.x, row.textSize.w, scale), from(text.y, row.textSize.h, scale)};
        row.textOffset = from(at, row.textOffset, scale);
        std::vector<pengui::Point> positions;
        for (pengui::Point position : row.positions)
            positions.push_back(from(at, position, scale));
        positions_.push_back(std::move(positions));
        row.positions = positions_.back();
        controls_.push_back(row);
    }

    for (KnobPresetRow knob : skin.knobs) {
        knob.dragRange = scaled(knob.dragRange, scale);
        knob.pointerRadius *= scale;
        knob.box = scaledRect(knob.box, scale);
        knobs_.push_back(knob);
    }
    for (LabelPlace label : skin.labels) {
        label.offset = scaledPoint(label.offset, scale);
        label.size = scaled(label.size, scale);
        labels_.push_back(label);
    }

    layout_ = skin;
    layout_.size = {scaled(skin.size.w, scale), scaled(skin.size.h, scale)};
    layout_.pictures = pictures_;
    layout_.backgrounds = backgrounds_;
    layout_.splits = splits_;
    layout_.relayoutRepaint = scaledRect(skin.relayoutRepaint, scale);
    layout_.controls = controls_;
    layout_.knobs = knobs_;
    layout_.labels = labels_;
    layout_.scale = scale;
}

} // namespace skin_layout
