// skin_preview wide|compact APIC_DIR OUT.png [--one-line]: composes a skin's window from its
// layout table and its APIC pictures, with the toolkit's own drawing: the background stack, then
// every control's pictures at its resting pose (knobs and faders at their parameters' defaults,
// buttons off).
#include "Algo.h"
#include "DrawText.h"
#include "FontFactory.h"
#include "PicDataFactory.h"
#include "Picture.h"
#include "PngFile.h"
#include "RenderingBufferInterface.h"
#include "SkinPlacement.h"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

using namespace pengui;
using namespace skin_layout;

namespace {

class Pictures {
public:
    Pictures(const SkinLayout& skin, const std::string& folder)
    {
        for (const PictureEntry& entry : skin.pictures) {
            const std::string path = folder + "/" + std::string(entry.name) + ".apic";
            std::ifstream file(path, std::ios::binary);
            bytes_.emplace_back(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
            data_.push_back(PicDataFactory::instance().create(bytes_.back().data(), bytes_.back().size()));
            Picture picture;
            if (data_.back()) {
                picture.set_picture(data_.back().get());
                picture.set_hot_spot(entry.hotSpot);
            } else {
                missing_.push_back(path);
            }
            pictures_[std::string(entry.name)] = picture;
        }
    }
    const Picture* find(const std::string& name) const
    {
        const auto found = pictures_.find(name);
        return found != pictures_.end() && found->second.is_set() ? &found->second : nullptr;
    }
    const std::vector<std::string>& missing() const { return missing_; }
    void loadFonts(const SkinLayout& skin, const std::string& folder)
    {
        for (std::string_view name : skin.fonts) {
            const std::string path = folder + "/" + std::string(name) + ".apic";
            std::ifstream file(path, std::ios::binary);
            bytes_.emplace_back(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
            fonts_.push_back(FontFactory::instance().create(bytes_.back().data(), bytes_.back().size()));
            if (!fonts_.back())
                missing_.push_back(path);
        }
    }
    const FontInterface* font(int index) const
    {
        return index >= 0 && index < static_cast<int>(fonts_.size()) ? fonts_[static_cast<std::size_t>(index)].get() : nullptr;
    }

private:
    std::vector<std::vector<std::uint8_t>> bytes_;
    std::vector<std::unique_ptr<PicDataInterface>> data_;
    std::map<std::string, Picture> pictures_;
    std::vector<std::string> missing_;
    std::vector<std::unique_ptr<FontInterface>> fonts_;
};

struct Canvas {
    PixelBuffer buffer;
    explicit Canvas(Size size) : buffer(size.w, size.h) { buffer.fill(0x00FF00FF, 0); }

    // The top-left `part` of `picture`, through a tile of that size placed at `at`.
    void drawPart(const Picture& picture, Point at, Size part)
    {
        PixelBuffer tile(part.w, part.h);
        auto copy = [&](bool in) {
            for (int y = 0; y < part.h; ++y)
                for (int x = 0; x < part.w; ++x) {
                    std::uint32_t& window = buffer.pixels()[(at.y + y) * buffer.width() + at.x + x];
                    std::uint32_t& local = tile.pixels()[y * part.w + x];
                    (in ? local : window) = in ? window : local;
                }
        };
        copy(true);
        const Point hot = picture.hot_spot();
        picture.draw({-hot.x, -hot.y, part.w - hot.x, part.h - hot.y}, tile);
        copy(false);
    }

    // Draws `picture` with its hot spot at window point `at`, turned by `turns`, or only its
    // top-left `part` when one is given.
    void draw(const Picture* picture, Point at, double turns = 0.0, Size part = {})
    {
        if (!picture)
            return;
        const Size size{buffer.width(), buffer.height()};
        if (turns != 0.0)
            picture->draw_rotated_at(-at.x, -at.y, size, turns * 2.0 * std::numbers::pi, buffer);
        else if (part.w > 0)
            drawPart(*picture, at, part);
        else
            picture->draw({-at.x, -at.y, buffer.width() - at.x, buffer.height() - at.y}, buffer);
    }
};

// The value a control rests at: its parameter's default, or the middle without one.
double restingValue(const PlacedControl& control)
{
    static Algo* algo = [] {
        static Algo built;
        built.init1();
        built.init2();
        return &built;
    }();
    return control.parameter > 0 && control.parameter < algo->paramCount() ? algo->param(control.parameter)->normalized() : 0.5;
}

void drawKnob(Canvas& canvas, const Pictures& pictures, const PlacedControl& control)
{
    const double value = restingValue(control);
    const double turns = value * control.row->range + control.row->start;
    switch (control.row->knob) {
    case KnobPreset::kLarge:
        canvas.draw(pictures.find("kn_01e_p"), control.at);
        canvas.draw(pictures.find("kn_01e_0"), control.at);
        canvas.draw(pictures.find("kn_01e_spn"),
                    {control.at.x + static_cast<int>(std::lround(25 * std::cos(turns * 2 * std::numbers::pi))),
                     control.at.y - static_cast<int>(std::lround(25 * std::sin(turns * 2 * std::numbers::pi)))},
                    turns);
        break;
    case KnobPreset::kMiddle:
        canvas.draw(pictures.find("kn_02_p"), control.at);
        canvas.draw(pictures.find("kn_02_0"), control.at);
        canvas.draw(pictures.find("kn_02_spn"),
                    {control.at.x + static_cast<int>(std::lround(15 * std::cos(turns * 2 * std::numbers::pi))),
                     control.at.y - static_cast<int>(std::lround(15 * std::sin(turns * 2 * std::numbers::pi)))},
                    turns);
        break;
    case KnobPreset::kTap:
        canvas.draw(pictures.find(control.picture), control.at);
        canvas.draw(pictures.find(control.picture + "_spn"),
                    {control.at.x + static_cast<int>(std::lround(6 * std::cos(turns * 2 * std::numbers::pi))),
                     control.at.y - static_cast<int>(std::lround(6 * std::sin(turns * 2 * std::numbers::pi)))});
        break;
    case KnobPreset::kLfo: canvas.draw(pictures.find(control.picture), control.at, turns); break;
    default: {
        // The small skin's caps stay still; the pointer turns at the centre, or at 8 pixels on
        // the recall knob.
        const double radius = control.row->knob == KnobPreset::kRecall ? 8.0 : 0.0;
        canvas.draw(pictures.find(control.picture), control.at);
        canvas.draw(pictures.find(control.picture + "_spn"),
                    {control.at.x + static_cast<int>(std::lround(radius * std::cos(turns * 2 * std::numbers::pi))),
                     control.at.y - static_cast<int>(std::lround(radius * std::sin(turns * 2 * std::numbers::pi)))},
                    turns);
        break;
    }
    }
}

void drawControl(Canvas& canvas, const Pictures& pictures, const PlacedControl& control)
{
    const ControlRow& row = *control.row;
    switch (row.kind) {
    case ControlKind::kKnob: drawKnob(canvas, pictures, control); break;
    case ControlKind::kFader: {
        const int offset = static_cast<int>(std::floor(restingValue(control) * row.travel + 0.5));
        canvas.draw(pictures.find(control.picture),
                    row.vertical ? Point{control.at.x, control.at.y + row.travel - offset} : Point{control.at.x + offset, control.at.y});
        break;
    }
    case ControlKind::kSwitch:
        // The waveform switch shows one cell of its picture: the first waveform's.
        if (control.picture == "sw_01_0")
            canvas.draw(pictures.find(control.picture), control.at, 0.0, {28, 13});
        else
            canvas.draw(pictures.find(control.picture), control.at);
        if (control.picture == "sw_02_p")
            canvas.draw(pictures.find("sw_02_2"), {control.at.x + 51, control.at.y});
        if (control.picture == "sw_03")
            canvas.draw(pictures.find("sw_03_2"), {control.at.x + 27, control.at.y});
        if (control.picture == "sw_04")
            canvas.draw(pictures.find("sw_04_0"), control.at);
        break;
    case ControlKind::kSpin:
        for (const char* part : {"_up_0", "_hnd_0", "_dwn_0"})
            canvas.draw(pictures.find(control.picture + part), control.at);
        break;
    case ControlKind::kFlipFlop:
    case ControlKind::kPushButton: canvas.draw(pictures.find(control.picture + "_0"), control.at); break;
    case ControlKind::kTextBox: {
        // Sample texts, with the table's text settings.
        static const std::map<std::string, std::vector<std::string>> kSamples = {
            {"tempo", {"120.0"}}, {"presets", {"0.5"}}, {"detail text", {"D1 filt cutoff", "1000", "Hz"}},
            {"detail LFO", {"1/4", "50.00"}}};
        static std::map<std::string, std::size_t> used;
        const auto samples = kSamples.find(std::string(row.cell));
        const FontInterface* font = pictures.font(row.font);
        if (samples == kSamples.end() || !font)
            break;
        const std::string& text = samples->second[used[std::string(row.cell)]++ % samples->second.size()];
        const Point corner{control.at.x - row.textOffset.x, control.at.y - row.textOffset.y};
        draw_text(*font, {-corner.x, -corner.y, canvas.buffer.width() - corner.x, canvas.buffer.height() - corner.y},
                  canvas.buffer, {row.textSize, row.alignment, row.colour, text});
        break;
    }
    }
}

} // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (arguments.size() < 3 || (arguments[0] != "wide" && arguments[0] != "compact")) {
        std::fprintf(stderr, "usage: skin_preview wide|compact APIC_DIR OUT.png [--one-line]\n");
        return 2;
    }
    const SkinLayout& skin = arguments[0] == "wide" ? wide() : compact();
    const bool twoLines = !(arguments.size() > 3 && arguments[3] == "--one-line");
    Pictures pictures(skin, arguments[1]);
    pictures.loadFonts(skin, arguments[1]);
    for (const std::string& path : pictures.missing())
        std::fprintf(stderr, "skin_preview: no picture in %s\n", path.c_str());

    Canvas canvas(skin.size);
    int y = 0;
    for (const Strip& strip : skin.backgrounds) {
        const bool lower = strip.child == skin.lowerWithTwoLines;
        canvas.draw(pictures.find(std::string(lower && !twoLines ? skin.lowerWithOneLine : strip.child)), {0, y});
        y += strip.extent;
    }
    for (const PlacedControl& control : placed_controls(skin, twoLines))
        drawControl(canvas, pictures, control);
    if (!write_png(arguments[2], skin.size.w, skin.size.h, canvas.buffer.pixels())) {
        std::fprintf(stderr, "skin_preview: cannot write %s\n", arguments[2].c_str());
        return 1;
    }
    return pictures.missing().empty() ? 0 : 1;
}
