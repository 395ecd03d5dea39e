// skin_manifest wide|compact: prints a skin's layout table as JSON for the artwork generator:
// its pictures, fonts and backgrounds, every cell's place in the window, and every control with
// its place in the window (tap and delay line rows repeated for each section).
#include "SkinLayout.h"

#include <cstdio>
#include <map>
#include <string>

using namespace skin_layout;

namespace {

struct Cell {
    pengui::Point origin;
    pengui::Size size;
};

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

// Places the cells of split `name` (or the leaf cell `name`) at `origin` in a space of `size`.
void place(const SkinLayout& skin, std::string_view name, pengui::Point origin, pengui::Size size,
           std::map<std::string, Cell>& cells)
{
    for (const Split& split : skin.splits) {
        if (split.name != name)
            continue;
        int advance = 0;
        for (const Strip& strip : split.strips) {
            const bool across = split.orientation == 1;
            const pengui::Point at = across ? pengui::Point{origin.x + advance, origin.y} : pengui::Point{origin.x, origin.y + advance};
            const pengui::Size extent = across ? pengui::Size{strip.extent, size.h} : pengui::Size{size.w, strip.extent};
            place(skin, strip.child, at, extent, cells);
            advance += strip.extent;
        }
        return;
    }
    cells[std::string(name)] = {origin, size};
}

void printControl(const ControlRow& row, const std::string& cell, const Cell& place, pengui::Point position,
                  int parameter, const std::string& picture, bool& first)
{
    std::printf("%s\n    {\"cell\": %s, \"kind\": \"%s\", \"x\": %d, \"y\": %d, \"box\": [%d, %d, %d, %d], "
                "\"parameter\": %d, \"label\": %s, \"picture\": %s, \"active\": %s, \"knob\": \"%s\", "
                "\"start\": %g, \"range\": %g, \"travel\": %d, \"vertical\": %s, \"colour\": %u}",
                first ? "" : ",", quoted(cell).c_str(), kindName(row.kind), place.origin.x + position.x,
                place.origin.y + position.y, row.box.x0, row.box.y0, row.box.x1, row.box.y1, parameter,
                quoted(row.label).c_str(), quoted(picture).c_str(), quoted(row.active).c_str(), knobName(row.knob),
                static_cast<double>(row.start), static_cast<double>(row.range), row.travel, row.vertical ? "true" : "false",
                static_cast<unsigned>(row.colour));
    first = false;
}

} // namespace

int main(int argc, char** argv)
{
    const std::string name = argc == 2 ? argv[1] : "";
    if (name != "wide" && name != "compact") {
        std::fprintf(stderr, "usage: skin_manifest wide|compact\n");
        return 2;
    }
    const SkinLayout& skin = name == "wide" ? wide() : compact();
    std::map<std::string, Cell> cells;
    place(skin, "root", {0, 0}, skin.size, cells);

    std::printf("{\"name\": %s, \"width\": %d, \"height\": %d,\n\"pictures\": [", quoted(skin.name).c_str(), skin.size.w,
                skin.size.h);
    for (std::size_t i = 0; i < skin.pictures.size(); ++i) {
        const PictureEntry& picture = skin.pictures[i];
        std::printf("%s\n    {\"name\": %s, \"hot\": [%d, %d], \"storage\": \"%s\", \"size\": [%d, %d]}", i ? "," : "",
                    quoted(picture.name).c_str(), picture.hotSpot.x, picture.hotSpot.y, storageName(picture.storage),
                    picture.size.w, picture.size.h);
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
    for (const auto& [cell, place] : cells) {
        std::printf("%s\n    %s: {\"x\": %d, \"y\": %d, \"width\": %d, \"height\": %d}", first ? "" : ",",
                    quoted(cell).c_str(), place.origin.x, place.origin.y, place.size.w, place.size.h);
        first = false;
    }
    std::printf("},\n\"controls\": [");
    first = true;
    constexpr char kTapColours[] = {'r', 'b', 'g', 'o'};
    for (const ControlRow& row : skin.controls) {
        if (row.cell == "tap") {
            for (int tap = 0; tap < 4; ++tap) {
                std::string picture(row.picture);
                if (const auto star = picture.find('*'); star != std::string::npos)
                    picture[star] = kTapColours[tap];
                const std::string cell = "tap " + std::to_string(tap + 1);
                printControl(row, cell, cells[cell], row.position, 7 + 12 * tap + row.parameter, picture, first);
            }
        } else if (row.cell == "delay line") {
            for (int line = 0; line < 2; ++line) {
                const std::string cell = "delay line " + std::to_string(line + 1);
                const pengui::Point at = line == 1 && row.position2.x >= 0 ? row.position2 : row.position;
                printControl(row, cell, cells[cell], at, 55 + 33 * line + row.parameter, std::string(row.picture), first);
            }
        } else {
            printControl(row, std::string(row.cell), cells[std::string(row.cell)], row.position, row.parameter,
                         std::string(row.picture), first);
        }
    }
    std::printf("]}\n");
    return 0;
}
