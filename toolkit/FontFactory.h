#pragma once

#include "FontInterface.h"

#include <cstddef>
#include <cstdint>
#include <memory>

namespace pengui {

// Turns APIC font resources into fonts: kind 2 depth 0 unicolour, kind 1 depth 8 multicolour.
// Anything else, and any resource whose data would reach past its end, gives null. Never throws.
class FontFactory {
public:
    static FontFactory& instance();

    // The font of the module's APIC resource `name`, or null.
    std::unique_ptr<FontInterface> create(const char* name) const;
    // The same from the module's resource `name` of another type (a skin at another scale).
    std::unique_ptr<FontInterface> createResource(const char* type, const char* name) const;
    // The font of `size` bytes of APIC data, or null. The bytes must outlive the font.
    std::unique_ptr<FontInterface> create(const std::uint8_t* bytes, std::size_t size) const;
};

} // namespace pengui
