#include "BoundingBoxDefaultChecker.h"

namespace pengui {

bool BoundingBoxDefaultChecker::contains(Point point) const
{
    if (checker)
        return checker->contains(point);
    return box.x0 <= point.x && point.x < box.x1 && box.y0 <= point.y && point.y < box.y1;
}

} // namespace pengui
