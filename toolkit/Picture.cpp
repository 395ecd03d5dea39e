#include "Picture.h"

#include "PicDataInterface.h"

#include <cmath>

namespace pengui {

namespace {

// Whether `rounded` stands for `value`: equal, or both positive and within a relative 1e-9.
bool integral(double value, double rounded)
{
    return rounded == value || (value > 0.0 && rounded > 0.0 && (rounded - value) * (rounded - value) / (value * rounded) < 1e-9);
}

} // namespace

void Picture::set_picture(const PicDataInterface* data)
{
    data_ = data;
    box = data ? Rect{0, 0, data->width(), data->height()} : Rect{0, 0, 0, 0};
}

void Picture::set_hot_spot(Point point)
{
    const int width = data_ ? data_->width() : 0;
    const int height = data_ ? data_->height() : 0;
    box = {-point.x, -point.y, width - point.x, height - point.y};
}

void Picture::draw(const Rect& area, RenderingBufferInterface& buffer) const
{
    if (data_)
        data_->draw(area.moved(-box.x0, -box.y0), buffer);
}

void Picture::draw_at(double x, double y, Size size, RenderingBufferInterface& buffer) const
{
    if (!data_ || !(std::fabs(x) < 1e9 && std::fabs(y) < 1e9))
        return;
    const double px = x - box.x0;
    const double py = y - box.y0;
    const double rx = std::floor(px + 0.5);
    const double ry = std::floor(py + 0.5);
    if (integral(px, rx) && integral(py, ry)) {
        const int ix = static_cast<int>(rx);
        const int iy = static_cast<int>(ry);
        data_->draw({ix, iy, ix + size.w, iy + size.h}, buffer);
    } else {
        data_->draw_shifted(static_cast<float>(px), static_cast<float>(py), size, buffer);
    }
}

void Picture::draw_rotated_at(double x, double y, Size size, double angle, RenderingBufferInterface& buffer) const
{
    if (!data_)
        return;
    if (std::fabs(angle) >= 1e-9) {
        const double c = std::cos(angle);
        const double s = std::sin(angle);
        data_->draw_rotated(x * c - y * s - box.x0, x * s + y * c - box.y0, size, angle, buffer);
    } else {
        draw_at(x, y, size, buffer);
    }
}

} // namespace pengui
