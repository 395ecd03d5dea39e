#pragma once

#include "Geometry.h"

#include <cstdint>
#include <vector>

namespace pengui {

class RenderingBufferInterface;

// A bitmap font: one picture whose bottom row is a marker row cut into runs of equal markers,
// one run per glyph (its width and left column); glyph n draws the character whose byte is n.
// The rows above the marker row are the drawable line.
class FontInterface {
public:
    struct Glyph {
        int width;
        int left;
    };

    FontInterface(int width, int height) : width_(width), height_(height) {}
    virtual ~FontInterface() = default;

    int width() const { return width_; }
    int height() const { return height_; }
    int line_height() const { return height_ - 1; }
    const std::vector<Glyph>& glyphs() const { return glyphs_; }

    // Draws the font picture's `source` rectangle with its top-left on buffer pixel
    // `destination`, in `colour` where the font has no colours of its own. The caller keeps
    // both inside the font and the buffer.
    virtual void draw_glyph(const Rect& source, Point destination, RenderingBufferInterface& buffer,
                            std::uint32_t colour) const = 0;

protected:
    // Builds the glyph table from the marker row; `marker(x)` reads its column x.
    template <typename Marker>
    void scanMarkers(Marker marker)
    {
        int left = 0;
        for (int x = 1; x <= width_; ++x) {
            if (x == width_ || marker(x) != marker(left)) {
                glyphs_.push_back({x - left, left});
                left = x;
            }
        }
    }

private:
    int width_;
    int height_;
    std::vector<Glyph> glyphs_;
};

} // namespace pengui
