#pragma once

#include <png.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// A picture read back from a PNG file, as 0x00RRGGBB pixels row by row: what the tests compare
// the editor's pictures with.
struct PngFrame {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
    std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
};

// Empty when the file cannot be read as a PNG.
inline PngFrame read_png(const std::string& path)
{
    PngFrame frame;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str()))
        return frame;
    image.format = PNG_FORMAT_RGB;
    std::vector<png_byte> bytes(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, bytes.data(), 0, nullptr))
        return frame;
    frame.width = static_cast<int>(image.width);
    frame.height = static_cast<int>(image.height);
    for (std::size_t i = 0; i + 2 < bytes.size(); i += 3)
        frame.pixels.push_back(std::uint32_t{bytes[i]} << 16 | std::uint32_t{bytes[i + 1]} << 8 | bytes[i + 2]);
    return frame;
}
