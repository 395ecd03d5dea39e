#include "PicDataInterface.h"

#include "RenderingBufferInterface.h"

#include <algorithm>
#include <cmath>

namespace pengui {

int PicDataInterface::draw_rotated(double, double, Size, double, RenderingBufferInterface&) const
{
    return 0;
}

void PicDataInterface::draw_shifted(float x, float y, Size size, RenderingBufferInterface& buffer) const
{
    const int fx = static_cast<int>(std::floor(x));
    const int fy = static_cast<int>(std::floor(y));
    draw({fx, fy, fx + size.w, fy + size.h}, buffer);
}

ClippedCopy clip_copy(const Rect& area, int width, int height, const RenderingBufferInterface& buffer)
{
    // In 64 bits, so that no area, however far out, overflows.
    using Wide = long long;
    const Wide sourceX = std::max<Wide>(area.x0, 0);
    const Wide sourceY = std::max<Wide>(area.y0, 0);
    const Wide destinationX = std::max<Wide>(-Wide{area.x0}, 0);
    const Wide destinationY = std::max<Wide>(-Wide{area.y0}, 0);
    const Wide columns = std::min({Wide{area.x1}, Wide{width}}) - sourceX;
    const Wide rows = std::min({Wide{area.y1}, Wide{height}}) - sourceY;
    ClippedCopy copy;
    if (columns <= 0 || rows <= 0 || destinationX >= buffer.width() || destinationY >= buffer.height())
        return copy;
    copy.sourceX = static_cast<int>(sourceX);
    copy.sourceY = static_cast<int>(sourceY);
    copy.destinationX = static_cast<int>(destinationX);
    copy.destinationY = static_cast<int>(destinationY);
    copy.columns = static_cast<int>(std::min<Wide>(columns, buffer.width() - destinationX));
    copy.rows = static_cast<int>(std::min<Wide>(rows, buffer.height() - destinationY));
    return copy;
}

} // namespace pengui
