#pragma once

#include "PicDataInterface.h"

#include <cstddef>
#include <cstdint>
#include <memory>

namespace pengui {

// Turns APIC picture resources into picture objects: kind 0 opaque, 1 with alpha; depth 8
// (palette) or 24 (direct colour). Any other kind or depth, and any resource whose header,
// palette or pixels would reach past its end, gives null. Never throws.
class PicDataFactory {
public:
    static PicDataFactory& instance();

    // The picture of the module's APIC resource `name`, or null.
    std::unique_ptr<PicDataInterface> create(const char* name) const;
    // The same from the module's resource `name` of another type (a skin at another scale).
    std::unique_ptr<PicDataInterface> createResource(const char* type, const char* name) const;
    // The picture of `size` bytes of APIC data, or null. The bytes must outlive the picture.
    std::unique_ptr<PicDataInterface> create(const std::uint8_t* bytes, std::size_t size) const;
};

} // namespace pengui
