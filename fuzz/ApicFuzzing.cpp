#include "ApicFuzzing.h"

#include "DrawText.h"
#include "FontFactory.h"
#include "PicDataFactory.h"
#include "Picture.h"
#include "RenderingBufferInterface.h"

#include <string>
#include <vector>

namespace apic_fuzzing {

void exercisePicture(const std::uint8_t* data, std::size_t size)
{
    // Exactly the bytes given, so that the sanitizer sees any read past them.
    const std::vector<std::uint8_t> bytes(data, data + size);
    const auto picture = pengui::PicDataFactory::instance().create(bytes.data(), bytes.size());
    if (!picture)
        return;
    pengui::PixelBuffer buffer(64, 48);
    picture->draw({0, 0, 64, 48}, buffer);
    picture->draw({-7, -3, 60, 40}, buffer);
    picture->draw({picture->width() - 5, picture->height() - 5, picture->width() + 64, picture->height() + 48}, buffer);
    picture->draw_shifted(-0.5f, 2.25f, {64, 48}, buffer);
    picture->draw_rotated(3.5f, 1.25f, {64, 48}, 0.7f, buffer);
    picture->draw_rotated(-20.0f, 40.0f, {64, 48}, -2.5f, buffer);
    pengui::Picture placed;
    placed.set_picture(picture.get());
    placed.set_hot_spot({picture->width() / 2, picture->height() / 2});
    placed.draw_rotated_at(-10.0, -10.0, {64, 48}, 1.0, buffer);
}

void exerciseFont(const std::uint8_t* data, std::size_t size)
{
    const std::vector<std::uint8_t> bytes(data, data + size);
    const auto font = pengui::FontFactory::instance().create(bytes.data(), bytes.size());
    if (!font)
        return;
    pengui::PixelBuffer buffer(64, 16);
    std::string every;
    for (int byte = 0; byte < 256; ++byte)
        every += static_cast<char>(byte);
    for (int alignment = 0; alignment < 3; ++alignment) {
        pengui::draw_text(*font, {0, 0, 64, 16}, buffer, {{64, 16}, alignment, 0x00FFFFFF, every});
        pengui::draw_text(*font, {-5, -2, 59, 14}, buffer, {{30, 40}, alignment, 0x00FFFFFF, every});
    }
}

} // namespace apic_fuzzing
