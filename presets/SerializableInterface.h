#pragma once

#include <cstddef>
#include <cstdint>

namespace basic {

// An object with a byte form.
class SerializableInterface {
public:
    virtual ~SerializableInterface() = default;

    // Rebuilds the object from the `size` bytes at `bytes`; answers 0 on success. Never reads
    // past the end of what it was given; on failure the object may be partly rebuilt.
    virtual int deserialize(const std::uint8_t* bytes, std::size_t size) = 0;
    // Writes the byte form into a buffer of at least get_serialized_size() bytes; answers 0 on
    // success.
    virtual int serialize(std::uint8_t* buffer) const = 0;
    virtual std::size_t get_serialized_size() const = 0;
};

} // namespace basic
