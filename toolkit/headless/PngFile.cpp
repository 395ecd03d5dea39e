#include "PngFile.h"

#include <png.h>

#include <cstdio>
#include <vector>

namespace pengui {

bool write_png(const std::string& path, int width, int height, const std::uint32_t* pixels)
{
    if (width <= 0 || height <= 0 || !pixels)
        return false;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    bool written = false;
    std::vector<png_byte> row(static_cast<std::size_t>(width) * 3);
    if (info && setjmp(png_jmpbuf(png)) == 0) {
        png_init_io(png, file);
        png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8, PNG_COLOR_TYPE_RGB,
                     PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        for (int y = 0; y < height; ++y) {
            const std::uint32_t* source = pixels + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
            for (int x = 0; x < width; ++x) {
                row[3 * static_cast<std::size_t>(x)] = static_cast<png_byte>(source[x] >> 16);
                row[3 * static_cast<std::size_t>(x) + 1] = static_cast<png_byte>(source[x] >> 8);
                row[3 * static_cast<std::size_t>(x) + 2] = static_cast<png_byte>(source[x]);
            }
            png_write_row(png, row.data());
        }
        png_write_end(png, nullptr);
        written = true;
    }
    png_destroy_write_struct(&png, info ? &info : nullptr);
    written = std::fclose(file) == 0 && written;
    if (!written)
        std::remove(path.c_str());
    return written;
}

} // namespace pengui
