// apic_sheet [--font LABELS.apic] IN.apic... OUT.png: decodes APIC pictures and fonts with the
// toolkit's own factories and lays them out on a checkerboard, each with its name (and a font
// with a line of sample text), so anyone can look at the artwork.
#include "DrawText.h"
#include "FontFactory.h"
#include "PicDataFactory.h"
#include "PngFile.h"
#include "RenderingBufferInterface.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

using namespace pengui;

namespace {

constexpr int kSheetWidth = 1000;
constexpr int kGap = 12;
constexpr std::uint32_t kLabelColour = 0x00101010;
constexpr std::uint32_t kBackdrop = 0x00C8C8C8;

struct Item {
    std::string name;
    std::vector<std::uint8_t> bytes;
    std::unique_ptr<PicDataInterface> picture;
    std::unique_ptr<FontInterface> font;
    Point at;
    Size size;
};

std::vector<std::uint8_t> readFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::string stem(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

int textWidth(const FontInterface* font, const std::string& text)
{
    int width = 0;
    if (font)
        for (char byte : text)
            if (static_cast<unsigned char>(byte) < font->glyphs().size())
                width += font->glyphs()[static_cast<unsigned char>(byte)].width;
    return width;
}

// Draws `text` with its top-left at `at` in the sheet.
void label(const FontInterface* font, PixelBuffer& sheet, Point at, const std::string& text, std::uint32_t colour)
{
    if (!font)
        return;
    const Size box{textWidth(font, text), font->line_height()};
    draw_text(*font, {-at.x, -at.y, sheet.width() - at.x, sheet.height() - at.y}, sheet, {box, kAlignLeft, colour, text});
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> inputs(argv + 1, argv + argc);
    std::string labelFontPath = ZORVANE_SHEET_FONT;
    if (inputs.size() >= 2 && inputs[0] == "--font") {
        labelFontPath = inputs[1];
        inputs.erase(inputs.begin(), inputs.begin() + 2);
    }
    if (inputs.size() < 2) {
        std::fprintf(stderr, "usage: apic_sheet [--font LABELS.apic] IN.apic... OUT.png\n");
        return 2;
    }
    const std::string output = inputs.back();
    inputs.pop_back();

    const std::vector<std::uint8_t> labelBytes = readFile(labelFontPath);
    const std::unique_ptr<FontInterface> labels = FontFactory::instance().create(labelBytes.data(), labelBytes.size());
    if (!labels)
        std::fprintf(stderr, "apic_sheet: no label font in %s; names are left out\n", labelFontPath.c_str());
    const int labelHeight = labels ? labels->line_height() : 0;

    std::vector<Item> items;
    for (const std::string& path : inputs) {
        Item item;
        item.name = stem(path);
        item.bytes = readFile(path);
        item.picture = PicDataFactory::instance().create(item.bytes.data(), item.bytes.size());
        if (!item.picture)
            item.font = FontFactory::instance().create(item.bytes.data(), item.bytes.size());
        if (!item.picture && !item.font) {
            std::fprintf(stderr, "apic_sheet: %s is no APIC picture or font\n", path.c_str());
            return 1;
        }
        items.push_back(std::move(item));
    }

    // Lay the items out in rows, left to right.
    int x = kGap, y = kGap, rowHeight = 0;
    for (Item& item : items) {
        const std::string sample = item.font ? "Predelay 1  Tempo 120.0 BPM  -12.5 dB  3/4 beat" : "";
        const Size shown = item.picture ? Size{item.picture->width(), item.picture->height()}
                                        : Size{std::min(textWidth(item.font.get(), sample), kSheetWidth - 2 * kGap),
                                               item.font->line_height()};
        item.size = {std::max(shown.w, textWidth(labels.get(), item.name)), shown.h + labelHeight + 4};
        if (x + item.size.w + kGap > kSheetWidth && x > kGap) {
            x = kGap;
            y += rowHeight + kGap;
            rowHeight = 0;
        }
        item.at = {x, y};
        x += item.size.w + kGap;
        rowHeight = std::max(rowHeight, item.size.h);
    }
    const int height = y + rowHeight + kGap;

    PixelBuffer sheet(kSheetWidth, height);
    sheet.fill(kBackdrop, 1);
    for (const Item& item : items) {
        label(labels.get(), sheet, item.at, item.name, kLabelColour);
        const Point origin{item.at.x, item.at.y + labelHeight + 4};
        if (item.picture)
            item.picture->draw({-origin.x, -origin.y, sheet.width() - origin.x, sheet.height() - origin.y}, sheet);
        else
            label(item.font.get(), sheet, origin, "Predelay 1  Tempo 120.0 BPM  -12.5 dB  3/4 beat", 0x00000000);
    }
    std::vector<std::uint32_t> pixels(sheet.pixels(), sheet.pixels() + static_cast<std::size_t>(kSheetWidth) * height);
    if (!write_png(output, kSheetWidth, height, pixels.data())) {
        std::fprintf(stderr, "apic_sheet: cannot write %s\n", output.c_str());
        return 1;
    }
    return 0;
}
