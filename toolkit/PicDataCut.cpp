#include "PicDataCut.h"

#include "RenderingBufferInterface.h"

#include <algorithm>

namespace pengui {

namespace {

// A buffer whose pixel (0, 0) is pixel (dx, dy) of another, with the other's row stride.
// Drawing into it must stay within the columns that remain right of dx, which the cut ensures.
class ShiftedBuffer : public RenderingBufferInterface {
public:
    ShiftedBuffer(RenderingBufferInterface& base, int dx, int dy)
        : RenderingBufferInterface(base.width(), base.height() - dy), base_(base), offset_(dy * base.width() + dx)
    {
    }
    std::uint32_t* pixels() override { return base_.pixels() + offset_; }
    void blit(Point, Size) override {}

private:
    RenderingBufferInterface& base_;
    int offset_;
};

} // namespace

PicDataCut::PicDataCut(const PicDataInterface& sheet, const Rect& cell)
    : PicDataInterface(std::max(0, std::min(cell.x1, sheet.width()) - std::max(cell.x0, 0)),
                       std::max(0, std::min(cell.y1, sheet.height()) - std::max(cell.y0, 0))),
      sheet_(sheet),
      corner_{std::max(cell.x0, 0), std::max(cell.y0, 0)}
{
}

void PicDataCut::draw(const Rect& area, RenderingBufferInterface& buffer) const
{
    // The part of the area inside the cell, and inside the buffer's reach from the area's corner.
    const Rect inside{std::max(area.x0, 0), std::max(area.y0, 0),
                      std::min({area.x1, width(), area.x0 + buffer.width()}),
                      std::min({area.y1, height(), area.y0 + buffer.height()})};
    if (inside.x0 >= inside.x1 || inside.y0 >= inside.y1)
        return;
    ShiftedBuffer shifted(buffer, inside.x0 - area.x0, inside.y0 - area.y0);
    sheet_.draw(inside.moved(corner_), shifted);
}

} // namespace pengui
