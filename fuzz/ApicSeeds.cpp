// Writes the seed corpus of the APIC fuzzers: a valid picture of every class and a font of each
// kind, one file each, into the folder given.
#include "ApicBuilder.h"

#include <fstream>
#include <string>

namespace {

void write(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                 static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::uint8_t> ramp(std::size_t count)
{
    std::vector<std::uint8_t> bytes(count);
    for (std::size_t i = 0; i < count; ++i)
        bytes[i] = static_cast<std::uint8_t>(i * 37);
    return bytes;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    const std::string folder = argv[1];
    const std::vector<std::uint32_t> palette = {0x00000000, 0x00FF0000, 0x0000FF00, 0x000000FF, 0x00FFFFFF};
    std::vector<std::uint8_t> indexes = ramp(6 * 5);
    for (auto& index : indexes)
        index %= 5;
    write(folder + "/opaque8", apic::build(apic::kOpaque, 8, 6, 5, palette, indexes));
    write(folder + "/opaque24", apic::build(apic::kOpaque, 24, 6, 5, {}, ramp(6 * 5 * 4)));
    std::vector<std::uint8_t> alphaIndexes = ramp(6 * 5 * 2);
    for (std::size_t i = 0; i < alphaIndexes.size(); i += 2)
        alphaIndexes[i] %= 5;
    write(folder + "/alpha8", apic::build(apic::kAlpha, 8, 6, 5, palette, alphaIndexes));
    write(folder + "/alpha24", apic::build(apic::kAlpha, 24, 6, 5, {}, ramp(6 * 5 * 4)));
    write(folder + "/unicolour", apic::font({2, 3, 1, 4, 2}, 4));
    std::vector<std::uint8_t> glyphs = ramp(7 * 3 * 2);
    for (std::size_t i = 0; i < glyphs.size(); i += 2)
        glyphs[i] %= 5;
    write(folder + "/multicolour", apic::build(apic::kMulticolour, 8, 7, 3, palette, glyphs));
    return 0;
}
