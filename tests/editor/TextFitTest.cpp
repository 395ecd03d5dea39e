// Every text the editor shows fits its box in its skin's font: the name, unit and value texts of
// every parameter the detail panel shows (times in milliseconds and in beats), the LFO period and
// depth texts in their boxes, and the tempo. The LFO waveform shows as a picture, not a text.
#include "Algo.h"
#include "FontFactory.h"
#include "SkinLayout.h"
#include "TempoContext.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <string>

using namespace skin_layout;

namespace {

struct Font {
    std::vector<std::uint8_t> bytes;
    std::unique_ptr<pengui::FontInterface> font;

    Font(const SkinLayout& skin, int index)
    {
        std::ifstream file(std::string(SKIN_DIR) + "/" + std::string(skin.name) + "/" + std::string(skin.fonts[index]) + ".apic",
                           std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
        font = pengui::FontFactory::instance().create(bytes.data(), bytes.size());
    }
    int width(const std::string& text) const
    {
        int total = 0;
        for (char byte : text)
            if (static_cast<unsigned char>(byte) < font->glyphs().size())
                total += font->glyphs()[static_cast<unsigned char>(byte)].width;
        return total;
    }
};

// The text boxes of a cell, in table order.
std::vector<const ControlRow*> boxes(const SkinLayout& skin, std::string_view cell)
{
    std::vector<const ControlRow*> found;
    for (const ControlRow& row : skin.controls)
        if (row.cell == cell && row.kind == ControlKind::kTextBox)
            found.push_back(&row);
    return found;
}

int widthOf(const ControlRow& row)
{
    return row.box.x1 - row.box.x0;
}

} // namespace

TEST(TextFitTest, EveryParametersTextsFitTheirBoxesInBothSkins)
{
    Algo algo;
    algo.init1();
    algo.init2();
    for (const SkinLayout* skin : {&wide(), &compact()}) {
        const std::vector<const ControlRow*> detail = boxes(*skin, "detail text");
        const std::vector<const ControlRow*> lfo = boxes(*skin, "detail LFO");
        const std::vector<const ControlRow*> tempo = boxes(*skin, "tempo");
        ASSERT_EQ(detail.size(), 3u);
        ASSERT_EQ(lfo.size(), 2u);
        ASSERT_EQ(tempo.size(), 1u);
        std::vector<std::unique_ptr<Font>> fonts;
        for (std::size_t i = 0; i < skin->fonts.size(); ++i) {
            fonts.push_back(std::make_unique<Font>(*skin, static_cast<int>(i)));
            ASSERT_NE(fonts.back()->font, nullptr) << skin->fonts[i];
            EXPECT_LE(fonts.back()->font->line_height(), 15) << skin->fonts[i];
        }
        auto fits = [&](const ControlRow& row, const std::string& text) {
            const int width = fonts[static_cast<std::size_t>(row.font)]->width(text);
            EXPECT_LE(width, widthOf(row)) << skin->name << ": \"" << text << "\" is " << width << " pixels wide";
        };
        for (int mode : {mppi::TempoContext::kMilliseconds, mppi::TempoContext::kBeats}) {
            algo.tempoContext().setMode(mode);
            for (int index = 1; index < algo.paramCount(); ++index) {
                const mppi::NormalizedParamInterface& param = *algo.param(index);
                const std::string name = param.name();
                const bool lfoText = name.find(" LFO period") != std::string::npos || name.find(" LFO depth") != std::string::npos;
                const bool lfoPart = lfoText || name.find(" LFO WF") != std::string::npos;
                if (!lfoPart) {
                    fits(*detail[0], name);
                    fits(*detail[2], param.unitLabel());
                }
                for (int step = 0; step <= 200; ++step) {
                    const std::string text = param.valueText(param.toReal(static_cast<float>(step) / 200.0f));
                    if (!lfoPart)
                        fits(*detail[1], text);
                    if (lfoText)
                        fits(*lfo[0], text);
                    if (index == 1)
                        fits(*tempo[0], text);
                }
            }
        }
    }
}
