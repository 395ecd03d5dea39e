// skin_manifest wide|compact [SCALE]: prints a skin's layout table as JSON for the artwork
// generator: its pictures, fonts and backgrounds, every cell's place in the window, and every
// control with its place in the window (tap and delay line rows repeated for each section) and
// where its name is printed. Places and sizes are the table's; at a SCALE of 1.5 or 2 (1 by
// default) each picture also gives the device pixels it is drawn in.
#include "ScaledSkin.h"
#include "SkinPlacement.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <string>

using namespace skin_layout;
using pengui::Size;

namespace {

const char* storageName(Storage storage)
{
    switch (storage) {
    case Storage::kOpaque8: return "opaque8";
    case Storage::kOpaque24: return "opaque24";
    case Storage::kAlpha8: return "alpha8";
    default: return "alpha24";
    }
}

const char* kindName(ControlKind kind)
{
    constexpr const char* names[] = {"knob", "fader", "switch", "spin", "flipflop", "pushbutton", "textbox"};
    return names[static_cast<int>(kind)];
}

const char* knobName(KnobPreset knob)
{
    constexpr const char* names[] = {"", "large", "middle", "tap", "lfo", "small", "compact middle", "compact cutoff", "recall"};
    return names[static_cast<int>(knob)];
}

std::string quoted(std::string_view text)
{
    std::string out = "\"";
    for (char c : text)
        out += c == '"' || c == '\\' ? std::string("\\") + c : std::string(1, c);
    return out + "\"";
}

const char* anchorName(Anchor anchor)
{
    constexpr const char* names[] = {"start", "middle", "end"};
    return names[static_cast<int>(anchor)];
}

void printControl(const SkinLayout& skin, const PlacedControl& control, bool& first)
{
    const ControlRow& row = *control.row;
    std::printf("%s\n    {\"cell\": %s, \"kind\": \"%s\", \"x\": %d, \"y\": %d, \"box\": [%d, %d, %d, %d], "
                "\"parameter\": %d, \"label\": %s, \"picture\": %s, \"active\": %s, \"knob\": \"%s\", "
                "\"start\": %g, \"range\": %g, \"travel\": %d, \"vertical\": %s, \"colour\": %u",
                first ? "" : ",", quoted(control.cell).c_str(), kindName(row.kind), control.at.x, control.at.y, row.box.x0,
                row.box.y0, row.box.x1, row.box.y1, control.parameter, quoted(row.label).c_str(),
                quoted(control.picture).c_str(), quoted(row.active).c_str(), knobName(row.knob),
                static_cast<double>(row.start), static_cast<double>(row.range), row.travel, row.vertical ? "true" : "false",
                static_cast<unsigned>(row.colour));
    if (!row.label.empty()) {
        const LabelPlace& place = label_place(skin, row);
        std::printf(", \"label_at\": [%d, %d], \"label_anchor\": \"%s\", \"label_size\": %d", place.offset.x,
                    place.offset.y, anchorName(place.anchor), place.size);
    }
    std::printf("}");
    first = false;
}

} // namespace

int main(int argc, char** argv)
{
    const std::string name = argc >= 2 ? argv[1] : "";
    const float scale = argc == 3 ? std::strtof(argv[2], nullptr) : 1.0f;
    if ((name != "wide" && name != "compact") || argc > 3 ||
        std::find(std::begin(kScales), std::end(kScales), scale) == std::end(kScales)) {
        std::fprintf(stderr, "usage: skin_manifest wide|compact [1|1.5|2]\n");
        return 2;
    }
    const SkinLayout& skin = name == "wide" ? wide() : compact();

    std::printf("{\"name\": %s, \"scale\": %g, \"width\": %d, \"height\": %d,\n\"pictures\": [", quoted(skin.name).c_str(),
                static_cast<double>(scale), skin.size.w, skin.size.h);
    const ScaledSkin atScale(skin, scale);
    for (std::size_t i = 0; i < skin.pictures.size(); ++i) {
        const PictureEntry& picture = skin.pictures[i];
        const Size pixels = atScale.layout().pictures[i].size;
        std::printf("%s\n    {\"name\": %s, \"hot\": [%d, %d], \"storage\": \"%s\", \"size\": [%d, %d], "
                    "\"pixels\": [%d, %d]}",
                    i ? "," : "", quoted(picture.name).c_str(), picture.hotSpot.x, picture.hotSpot.y,
                    storageName(picture.storage), picture.size.w, picture.size.h, pixels.w, pixels.h);
    }
    std::printf("],\n\"fonts\": [");
    for (std::size_t i = 0; i < skin.fonts.size(); ++i)
        std::printf("%s%s", i ? ", " : "", quoted(skin.fonts[i]).c_str());
    std::printf("],\n\"backgrounds\": [");
    for (std::size_t i = 0; i < skin.backgrounds.size(); ++i)
        std::printf("%s{\"picture\": %s, \"extent\": %d}", i ? ", " : "", quoted(skin.backgrounds[i].child).c_str(),
                    skin.backgrounds[i].extent);
    std::printf("],\n\"lower_one_line\": %s,\n\"cells\": {", quoted(skin.lowerWithOneLine).c_str());
    bool first = true;
    for (const auto& [cell, rect] : cell_rects(skin)) {
        std::printf("%s\n    %s: {\"x\": %d, \"y\": %d, \"width\": %d, \"height\": %d}", first ? "" : ",",
                    quoted(cell).c_str(), rect.x0, rect.y0, rect.width(), rect.height());
        first = false;
    }
    std::printf("},\n\"controls\": [");
    first = true;
    for (const PlacedControl& control : placed_controls(skin))
        printControl(skin, control, first);
    std::printf("]}\n");
    return 0;
}
