#include "RenderingBufferInterface.h"

namespace pengui {

void RenderingBufferInterface::fill(std::uint32_t colour, int mode)
{
    std::uint32_t* pixel = pixels();
    for (int row = 0; row < height_; ++row) {
        for (int col = 0; col < width_; ++col) {
            const bool white = mode == 1 && ((row % 16 < 8) != (col % 16 < 8));
            *pixel++ = white ? 0xFFFFFFu : colour;
        }
    }
}

} // namespace pengui
