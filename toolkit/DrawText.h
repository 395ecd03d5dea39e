#pragma once

#include "Geometry.h"

#include <cstdint>
#include <string>

namespace pengui {

class FontInterface;
class RenderingBufferInterface;

enum TextAlignment { kAlignLeft = 0, kAlignCentre = 1, kAlignRight = 2 };

// How a text box shows its text.
struct TextSettings {
    Size size;
    // 0 left, 1 centred, any other value right.
    int alignment = kAlignLeft;
    std::uint32_t colour = 0x808080;
    std::string text;
};

// Draws `settings.text` in a box of `settings.size`; `area` is the tile in the box's
// coordinates, with its corner on buffer pixel (0, 0). Bytes without a glyph are skipped; the
// text is clipped to the box and to at most one line of the font.
void draw_text(const FontInterface& font, const Rect& area, RenderingBufferInterface& buffer, const TextSettings& settings);

} // namespace pengui
