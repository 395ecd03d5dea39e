// font_maker FONT.ttf PIXELS OUT.apic: rasterises the 256 bytes of Latin-1 from a scalable font,
// hinted for its pixel height, into a unicolour APIC bitmap font: one row of glyphs, each as
// wide as its advance, over a marker row that alternates 0 and 255 from glyph to glyph. Bytes
// that are not printable get a blank glyph one pixel wide.
#include "ApicWriter.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

bool printable(int byte)
{
    return (byte >= 32 && byte < 127) || byte >= 160;
}

// The FreeType library and one face, released on every way out.
struct FreeType {
    FT_Library library = nullptr;
    FT_Face face = nullptr;

    ~FreeType()
    {
        if (face)
            FT_Done_Face(face);
        if (library)
            FT_Done_FreeType(library);
    }
};

struct Glyph {
    int advance = 1;
    int left = 0;
    int top = 0;
    int width = 0;
    int rows = 0;
    std::vector<std::uint8_t> coverage;
};

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: font_maker FONT.ttf PIXELS OUT.apic\n");
        return 2;
    }
    const int pixels = std::atoi(argv[2]);
    if (pixels < 4 || pixels > 200) {
        std::fprintf(stderr, "font_maker: a pixel height of 4 to 200, not %s\n", argv[2]);
        return 2;
    }
    FreeType freeType;
    if (FT_Init_FreeType(&freeType.library) != 0 || FT_New_Face(freeType.library, argv[1], 0, &freeType.face) != 0) {
        std::fprintf(stderr, "font_maker: cannot read the font %s\n", argv[1]);
        return 1;
    }
    const FT_Face face = freeType.face;
    FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixels));
    const int ascender = static_cast<int>((face->size->metrics.ascender + 63) >> 6);
    const int descender = static_cast<int>(-(face->size->metrics.descender >> 6));
    const int lineHeight = ascender + descender;

    std::vector<Glyph> glyphs(256);
    for (int byte = 0; byte < 256; ++byte) {
        if (!printable(byte))
            continue;
        if (FT_Load_Char(face, static_cast<FT_ULong>(byte), FT_LOAD_RENDER | FT_LOAD_TARGET_NORMAL) != 0) {
            std::fprintf(stderr, "font_maker: the font has no glyph for byte %d\n", byte);
            return 1;
        }
        const FT_GlyphSlot slot = face->glyph;
        Glyph& glyph = glyphs[static_cast<std::size_t>(byte)];
        glyph.advance = std::max(1, static_cast<int>((slot->advance.x + 32) >> 6));
        glyph.left = slot->bitmap_left;
        glyph.top = ascender - slot->bitmap_top;
        glyph.width = static_cast<int>(slot->bitmap.width);
        glyph.rows = static_cast<int>(slot->bitmap.rows);
        glyph.coverage.resize(static_cast<std::size_t>(glyph.width * glyph.rows));
        for (int row = 0; row < glyph.rows; ++row)
            for (int column = 0; column < glyph.width; ++column)
                glyph.coverage[static_cast<std::size_t>(row * glyph.width + column)] =
                    slot->bitmap.buffer[row * slot->bitmap.pitch + column];
    }
    apic_writer::Resource font;
    font.kind = 2;
    font.depth = 0;
    for (const Glyph& glyph : glyphs)
        font.width += glyph.advance;
    font.height = lineHeight + 1;
    font.pixels.assign(static_cast<std::size_t>(font.width * font.height), 0);
    int pen = 0;
    for (int byte = 0; byte < 256; ++byte) {
        const Glyph& glyph = glyphs[static_cast<std::size_t>(byte)];
        // Ink outside the glyph's own cell is cut: neighbours never overlap.
        for (int row = 0; row < glyph.rows; ++row) {
            const int y = glyph.top + row;
            if (y < 0 || y >= lineHeight)
                continue;
            for (int column = 0; column < glyph.width; ++column) {
                const int x = glyph.left + column;
                if (x < 0 || x >= glyph.advance)
                    continue;
                font.pixels[static_cast<std::size_t>(y * font.width + pen + x)] =
                    glyph.coverage[static_cast<std::size_t>(row * glyph.width + column)];
            }
        }
        for (int x = 0; x < glyph.advance; ++x)
            font.pixels[static_cast<std::size_t>(lineHeight * font.width + pen + x)] = byte % 2 ? 255 : 0;
        pen += glyph.advance;
    }
    if (!apic_writer::write(argv[3], font)) {
        std::fprintf(stderr, "font_maker: cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}
