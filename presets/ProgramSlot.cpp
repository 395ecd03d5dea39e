#include "ProgramSlot.h"

namespace mppi {

float ProgramSlot::value(int index) const
{
    return index >= 0 && index < valueCount() ? values_[static_cast<std::size_t>(index)] : 0.0f;
}

void ProgramSlot::setValue(int index, float value)
{
    if (index >= 0 && index < valueCount())
        values_[static_cast<std::size_t>(index)] = value;
}

void ProgramSlot::setValueCount(int count)
{
    values_.resize(count > 0 ? static_cast<std::size_t>(count) : 0);
}

void ProgramSlot::setDataSize(int size)
{
    data_.resize(size > 0 ? static_cast<std::size_t>(size) : 0);
}

} // namespace mppi
