#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace mppi {

// One program: a name and one normalized value per parameter index, plus an opaque data block
// that every program this system creates leaves empty.
class ProgramSlot {
public:
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

private:
    std::vector<float> values_;
    std::vector<std::uint8_t> data_;
    std::string name_ = "Default";
};

} // namespace mppi
