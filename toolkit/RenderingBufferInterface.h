#pragma once

#include "Geometry.h"

#include <cstdint>
#include <vector>

namespace pengui {

// The side of the square tile every platform paints through, in pixels.
inline constexpr int kTileSize = 128;

// The off-screen tile that pictures draw into: 32-bit pixels in memory order blue, green, red
// and a fourth byte, rows top to bottom with a stride of width pixels.
class RenderingBufferInterface {
public:
    RenderingBufferInterface(int width, int height) : width_(width), height_(height) {}
    virtual ~RenderingBufferInterface() = default;

    int width() const { return width_; }
    int height() const { return height_; }
    virtual std::uint32_t* pixels() = 0;
    // Copies the buffer's top-left `size` block to the screen at `position` (window pixels).
    virtual void blit(Point position, Size size) = 0;
    // Mode 0: every pixel becomes `colour` (0x00RRGGBB); mode 1: a checkerboard of 8 x 8
    // squares of white and `colour`.
    virtual void fill(std::uint32_t colour, int mode);

private:
    int width_;
    int height_;
};

// A buffer in memory whose blit shows nothing: for drawing tests and for tools that read the
// pixels back themselves.
class PixelBuffer : public RenderingBufferInterface {
public:
    PixelBuffer(int width, int height)
        : RenderingBufferInterface(width, height), pixels_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height))
    {
    }
    std::uint32_t* pixels() override { return pixels_.data(); }
    void blit(Point, Size) override {}
    std::uint32_t at(int x, int y) const { return pixels_[static_cast<std::size_t>(y * width() + x)] & 0xFFFFFFu; }

private:
    std::vector<std::uint32_t> pixels_;
};

} // namespace pengui
