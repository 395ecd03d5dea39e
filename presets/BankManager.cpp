#include "BankManager.h"

#include "BigEndian.h"

#include <cstring>

namespace mppi {

void BankManager::resize(int count)
{
    programs_.resize(count > 0 ? static_cast<std::size_t>(count) : 0);
}

void BankManager::copyOut(int index, ProgramSlot& program) const
{
    if (index >= 0 && index < count())
        program = programs_[static_cast<std::size_t>(index)];
}

void BankManager::replace(int index, const ProgramSlot& program)
{
    if (index >= 0 && index < count())
        programs_[static_cast<std::size_t>(index)] = program;
}

int BankManager::deserialize(const std::uint8_t* bytes, std::size_t size)
{
    if (size < kHeaderSize)
        return -1;
    const auto programCount = static_cast<std::int32_t>(big_endian::read32(bytes));
    const auto stride = static_cast<std::int32_t>(big_endian::read32(bytes + 4));
    if (programCount <= 0) {
        programs_.clear();
        return 0;
    }
    if (stride < static_cast<std::int32_t>(ProgramSlot::kHeaderSize) ||
        kHeaderSize + static_cast<std::uint64_t>(programCount) * static_cast<std::uint64_t>(stride) > size)
        return -1;
    std::vector<ProgramSlot> programs(static_cast<std::size_t>(programCount));
    for (std::size_t i = 0; i < programs.size(); ++i) {
        if (programs[i].deserialize(bytes + kHeaderSize + i * static_cast<std::size_t>(stride),
                                    static_cast<std::size_t>(stride)) != 0)
            return -1;
    }
    programs_ = std::move(programs);
    return 0;
}

std::size_t BankManager::recordSize() const
{
    return programs_.empty() ? 0 : programs_.front().get_serialized_size();
}

int BankManager::serialize(std::uint8_t* buffer) const
{
    const std::size_t stride = recordSize();
    for (const ProgramSlot& program : programs_) {
        if (program.get_serialized_size() != stride)
            return -1;
    }
    big_endian::write32(buffer, static_cast<std::uint32_t>(programs_.size()));
    big_endian::write32(buffer + 4, static_cast<std::uint32_t>(stride));
    for (std::size_t i = 0; i < programs_.size(); ++i) {
        if (programs_[i].serialize(buffer + kHeaderSize + i * stride) != 0)
            return -1;
    }
    return 0;
}

std::size_t BankManager::get_serialized_size() const
{
    return kHeaderSize + programs_.size() * recordSize();
}

} // namespace mppi
