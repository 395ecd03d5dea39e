#include "PicData8.h"

#include "RenderingBufferInterface.h"

#include <cstring>

namespace pengui {

PicData8::PicData8(const ApicResource& resource)
    : PicDataInterface(resource.width(), resource.height()), pixels_(resource.pixels()), palette_(resource.palette())
{
}

void PicData8::draw(const Rect& area, RenderingBufferInterface& buffer) const
{
    if (colours_.empty()) {
        colours_.resize(static_cast<std::size_t>(width()) * static_cast<std::size_t>(height()));
        for (std::size_t i = 0; i < colours_.size(); ++i)
            colours_[i] = palette_[pixels_[i]];
    }
    for_each_row(area, reinterpret_cast<const std::uint8_t*>(colours_.data()), width(), height(), 4, buffer,
                 [](const std::uint8_t* source, std::uint32_t* destination, int columns) {
                     std::memcpy(destination, source, static_cast<std::size_t>(columns) * sizeof(std::uint32_t));
                 });
}

} // namespace pengui
