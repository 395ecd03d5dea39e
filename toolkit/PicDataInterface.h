#pragma once

#include "Geometry.h"

#include <cstdint>

namespace pengui {

class RenderingBufferInterface;

// Picture data drawn straight from resource memory into a rendering buffer. The pixel array it
// points to stays valid while the module is loaded; it is never freed. (A picture with alpha that
// is drawn turned keeps a copy of its pixels in the form that drawing reads.)
class PicDataInterface {
public:
    PicDataInterface(int width, int height) : width_(width), height_(height) {}
    virtual ~PicDataInterface() = default;

    int width() const { return width_; }
    int height() const { return height_; }

    // Draws the part of the picture inside `area` so that picture point (area.x0, area.y0)
    // lands on buffer pixel (0, 0). Nothing is written outside the buffer.
    virtual void draw(const Rect& area, RenderingBufferInterface& buffer) const = 0;
    // Draws the picture turned by `angle` radians: buffer pixel (i, j) of the top-left `size`
    // block shows picture point (x + i cos - j sin, y + i sin + j cos), the same pixel whatever
    // part of the turned picture a buffer holds (to far below a pixel's 1/256). Nothing by
    // default.
    virtual int draw_rotated(double x, double y, Size size, double angle, RenderingBufferInterface& buffer) const;
    // Draws with picture point (x, y) on buffer pixel (0, 0) at sub-pixel precision; by default
    // at the floored position.
    virtual void draw_shifted(float x, float y, Size size, RenderingBufferInterface& buffer) const;

private:
    int width_;
    int height_;
};

// Which source and destination pixels a clipped copy covers.
struct ClippedCopy {
    int columns = 0;
    int rows = 0;
    int sourceX = 0;
    int sourceY = 0;
    int destinationX = 0;
    int destinationY = 0;

    bool empty() const { return columns <= 0 || rows <= 0; }
};

// The part of a width x height picture that `area` selects, limited to the buffer's size.
ClippedCopy clip_copy(const Rect& area, int width, int height, const RenderingBufferInterface& buffer);

// Calls `row(source, destination, columns)` for each row of the part of a picture (pixels of
// `bytesPerPixel` bytes, rows of `width` pixels) that `area` selects, with `source` at the row's
// first pixel in the picture and `destination` at its place in the buffer.
template <typename Row>
void for_each_row(const Rect& area, const std::uint8_t* pixels, int width, int height, int bytesPerPixel,
                  RenderingBufferInterface& buffer, Row row);

} // namespace pengui

#include "RenderingBufferInterface.h"

namespace pengui {

template <typename Row>
void for_each_row(const Rect& area, const std::uint8_t* pixels, int width, int height, int bytesPerPixel,
                  RenderingBufferInterface& buffer, Row row)
{
    const ClippedCopy copy = clip_copy(area, width, height, buffer);
    if (copy.empty())
        return;
    for (int line = 0; line < copy.rows; ++line) {
        const std::uint8_t* source =
            pixels + (static_cast<std::ptrdiff_t>(copy.sourceY + line) * width + copy.sourceX) * bytesPerPixel;
        std::uint32_t* destination =
            buffer.pixels() + static_cast<std::ptrdiff_t>(copy.destinationY + line) * buffer.width() + copy.destinationX;
        row(source, destination, copy.columns);
    }
}

} // namespace pengui
