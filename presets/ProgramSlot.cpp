#include "ProgramSlot.h"

#include "BigEndian.h"

#include <algorithm>
#include <cstring>

namespace mppi {

ProgramSlot& ProgramSlot::operator=(const ProgramSlot& other)
{
    if (this == &other)
        return *this;
    if (values_.size() == other.values_.size())
        std::copy(other.values_.begin(), other.values_.end(), values_.begin());
    else
        values_ = other.values_;
    data_ = other.data_;
    name_ = other.name_;
    return *this;
}

float ProgramSlot::value(int index) const
{
    return index >= 0 && index < valueCount() ? values_[static_cast<std::size_t>(index)].load() : 0.0f;
}

void ProgramSlot::setValue(int index, float value)
{
    if (index >= 0 && index < valueCount())
        values_[static_cast<std::size_t>(index)].store(value);
}

void ProgramSlot::setValueCount(int count)
{
    values_.resize(count > 0 ? static_cast<std::size_t>(count) : 0);
}

void ProgramSlot::setDataSize(int size)
{
    data_.resize(size > 0 ? static_cast<std::size_t>(size) : 0);
}

int ProgramSlot::deserialize(const std::uint8_t* bytes, std::size_t size)
{
    if (size < kHeaderSize)
        return -1;
    const int nameField = big_endian::read16(bytes + 4);
    const int valueCount = big_endian::read16(bytes + 6);
    const std::uint32_t dataSize = big_endian::read32(bytes + 8);
    if (nameField < 0 || valueCount < 0)
        return -1;
    const std::uint64_t needed = kHeaderSize + static_cast<std::uint64_t>(nameField) +
                                 4ull * static_cast<std::uint64_t>(valueCount) + dataSize;
    if (needed > size)
        return -1;

    const char* name = reinterpret_cast<const char*>(bytes + kHeaderSize);
    name_.assign(name, std::find(name, name + nameField, '\0'));
    const std::uint8_t* values = bytes + kHeaderSize + nameField;
    values_.resize(static_cast<std::size_t>(valueCount));
    for (int i = 0; i < valueCount; ++i)
        values_[static_cast<std::size_t>(i)].store(big_endian::readFloat(values + 4 * i));
    const std::uint8_t* data = values + 4 * valueCount;
    data_.assign(data, data + dataSize);
    return 0;
}

int ProgramSlot::serialize(std::uint8_t* buffer) const
{
    if (values_.size() > 0x7FFF)
        return -1;
    std::memset(buffer, 0, get_serialized_size());
    big_endian::write32(buffer, 0);
    big_endian::write16(buffer + 4, kNameField);
    big_endian::write16(buffer + 6, static_cast<std::int16_t>(values_.size()));
    big_endian::write32(buffer + 8, static_cast<std::uint32_t>(data_.size()));
    std::memcpy(buffer + kHeaderSize, name_.data(), std::min<std::size_t>(name_.size(), kNameField - 1));
    std::uint8_t* values = buffer + kHeaderSize + kNameField;
    for (std::size_t i = 0; i < values_.size(); ++i)
        big_endian::writeFloat(values + 4 * i, values_[i].load());
    if (!data_.empty())
        std::memcpy(values + 4 * values_.size(), data_.data(), data_.size());
    return 0;
}

std::size_t ProgramSlot::get_serialized_size() const
{
    return kHeaderSize + kNameField + 4 * values_.size() + data_.size();
}

} // namespace mppi
