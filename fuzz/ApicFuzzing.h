#pragma once

#include <cstddef>
#include <cstdint>

// Draws whatever a factory made of fuzzed bytes in every way the editor can, so that any read
// outside the bytes shows under the sanitizer.
namespace apic_fuzzing {

void exercisePicture(const std::uint8_t* data, std::size_t size);
void exerciseFont(const std::uint8_t* data, std::size_t size);

} // namespace apic_fuzzing
