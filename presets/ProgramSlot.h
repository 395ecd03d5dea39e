#pragma once

#include "RelaxedAtomic.h"
#include "SerializableInterface.h"

#include <cstdint>
#include <string>
#include <vector>

namespace mppi {

// One program: a name and one normalized value per parameter index, plus an opaque data block
// that every program this system creates leaves empty.
//
// The values are relaxed atomics: a host may automate the current program from its audio thread
// while another thread copies it. Copying a program over one of the same size stores value by
// value and never reallocates, so such a writer never writes into freed memory. The name and
// the sizes are not shared that way: whoever shares a program guards them.
//
// Byte form (big-endian): u32 reserved (0), i16 name field length K (64 when written), i16
// value count P, u32 data length E, the name NUL-terminated in K bytes, P float32 values, E
// data bytes.
class ProgramSlot : public basic::SerializableInterface {
public:
    // Length of the name field that is written; names keep at most one byte less.
    static constexpr int kNameField = 64;
    // Bytes of the record before the name field.
    static constexpr std::size_t kHeaderSize = 12;

    ProgramSlot() = default;
    ProgramSlot(const ProgramSlot&) = default;
    // Stores value by value over a program of the same size.
    ProgramSlot& operator=(const ProgramSlot& other);

    int valueCount() const { return static_cast<int>(values_.size()); }
    // Value `index`, or 0 outside the program.
    float value(int index) const;
    // Sets value `index`; an index outside the program is ignored.
    void setValue(int index, float value);
    // Resizes the program; new values are 0.
    void setValueCount(int count);

    int dataSize() const { return static_cast<int>(data_.size()); }
    void setDataSize(int size);
    std::uint8_t* data() { return data_.data(); }
    const std::uint8_t* data() const { return data_.data(); }

    const std::string& name() const { return name_; }
    void setName(const std::string& name) { name_ = name; }

    // A record whose fields claim more than `size` bytes is refused.
    int deserialize(const std::uint8_t* bytes, std::size_t size) override;
    int serialize(std::uint8_t* buffer) const override;
    std::size_t get_serialized_size() const override;

private:
    std::vector<RelaxedAtomic<float>> values_;
    std::vector<std::uint8_t> data_;
    std::string name_ = "Default";
};

} // namespace mppi
