#include "DrawText.h"

#include "FontInterface.h"
#include "RenderingBufferInterface.h"

#include <algorithm>

namespace pengui {

void draw_text(const FontInterface& font, const Rect& area, RenderingBufferInterface& buffer, const TextSettings& settings)
{
    const int drawnHeight = std::min(settings.size.h, font.line_height());
    // The visible part, in box coordinates, also kept inside the buffer.
    const int left = std::max(area.x0, 0);
    const int top = std::max(area.y0, 0);
    const int right = std::min({area.x1, settings.size.w, area.x0 + buffer.width()});
    const int bottom = std::min({area.y1, drawnHeight, area.y0 + buffer.height()});
    if (left >= right || top >= bottom)
        return;

    const std::vector<FontInterface::Glyph>& glyphs = font.glyphs();
    auto glyphOf = [&glyphs](char byte) -> const FontInterface::Glyph* {
        const auto index = static_cast<unsigned char>(byte);
        return index < glyphs.size() ? &glyphs[index] : nullptr;
    };
    int pen = 0;
    if (settings.alignment != kAlignLeft) {
        int textWidth = 0;
        for (char byte : settings.text)
            if (const FontInterface::Glyph* glyph = glyphOf(byte))
                textWidth += glyph->width;
        pen = settings.size.w - textWidth;
        if (settings.alignment == kAlignCentre)
            pen /= 2;
    }
    for (char byte : settings.text) {
        const FontInterface::Glyph* glyph = glyphOf(byte);
        if (!glyph)
            continue;
        const int from = std::max(pen, left);
        const int to = std::min(pen + glyph->width, right);
        if (from < to) {
            const Rect source{glyph->left + from - pen, top, glyph->left + to - pen, bottom};
            font.draw_glyph(source, {from - area.x0, top - area.y0}, buffer, settings.colour);
        }
        pen += glyph->width;
        if (pen >= right)
            break;
    }
}

} // namespace pengui
