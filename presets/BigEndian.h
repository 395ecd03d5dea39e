#pragma once

#include <cstdint>
#include <cstring>

// Big-endian fields of the bank format.
namespace big_endian {

inline std::uint32_t read32(const std::uint8_t* at)
{
    return static_cast<std::uint32_t>(at[0]) << 24 | static_cast<std::uint32_t>(at[1]) << 16 |
           static_cast<std::uint32_t>(at[2]) << 8 | static_cast<std::uint32_t>(at[3]);
}

inline std::int16_t read16(const std::uint8_t* at)
{
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(at[0] << 8 | at[1]));
}

inline float readFloat(const std::uint8_t* at)
{
    const std::uint32_t bits = read32(at);
    float value = 0.0f;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

inline void write32(std::uint8_t* at, std::uint32_t value)
{
    at[0] = static_cast<std::uint8_t>(value >> 24);
    at[1] = static_cast<std::uint8_t>(value >> 16);
    at[2] = static_cast<std::uint8_t>(value >> 8);
    at[3] = static_cast<std::uint8_t>(value);
}

inline void write16(std::uint8_t* at, std::int16_t value)
{
    const auto bits = static_cast<std::uint16_t>(value);
    at[0] = static_cast<std::uint8_t>(bits >> 8);
    at[1] = static_cast<std::uint8_t>(bits);
}

inline void writeFloat(std::uint8_t* at, float value)
{
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    write32(at, bits);
}

} // namespace big_endian
