#pragma once

#include <cstdint>
#include <string>

namespace pengui {

// Writes `width` x `height` pixels (0x00RRGGBB, rows top to bottom) as an RGB PNG file.
// Answers false, leaving no file, when it cannot.
bool write_png(const std::string& path, int width, int height, const std::uint32_t* pixels);

} // namespace pengui
