#pragma once

#include "BoundingBoxDefaultChecker.h"

namespace pengui {

class PicDataInterface;
class RenderingBufferInterface;

// Places picture data in its owner's coordinates: the box says where the picture lies. Copies
// share the data, which is not owned.
class Picture : public BoundingBoxDefaultChecker {
public:
    // The box becomes (0, 0, width, height).
    void set_picture(const PicDataInterface* data);
    // Puts picture pixel `point` on the owner's origin.
    void set_hot_spot(Point point);
    Point hot_spot() const { return {-box.x0, -box.y0}; }
    const PicDataInterface* data() const { return data_; }
    bool is_set() const { return data_ != nullptr; }

    // Draws the part inside `area` (owner coordinates) with the area's corner on buffer pixel (0, 0).
    void draw(const Rect& area, RenderingBufferInterface& buffer) const;
    // As draw, from owner point (x, y): whole pixels when the position is integral (or within
    // a relative 1e-9 of it), sub-pixel drawing otherwise.
    void draw_at(double x, double y, Size size, RenderingBufferInterface& buffer) const;
    // As draw_at, with the picture turned by `angle` radians around the owner's origin.
    void draw_rotated_at(double x, double y, Size size, double angle, RenderingBufferInterface& buffer) const;

private:
    const PicDataInterface* data_ = nullptr;
};

} // namespace pengui
