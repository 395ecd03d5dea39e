#pragma once

#include "ProgramSlot.h"
#include "SerializableInterface.h"

#include <vector>

namespace mppi {

// An ordered list of programs, as held in memory and in bank files.
//
// Byte form of the bank body (big-endian): i32 program count N, i32 record size R, then N
// program records at a stride of R bytes.
class BankManager : public basic::SerializableInterface {
public:
    // Bytes of the body before the first record.
    static constexpr std::size_t kHeaderSize = 8;

    // Growing appends fresh programs named "Default".
    void resize(int count);
    int count() const { return static_cast<int>(programs_.size()); }
    // Copies program `index` into `program`; an index outside the bank copies nothing.
    void copyOut(int index, ProgramSlot& program) const;
    // Replaces program `index`; an index outside the bank is ignored.
    void replace(int index, const ProgramSlot& program);
    ProgramSlot& program(int index) { return programs_.at(static_cast<std::size_t>(index)); }
    const ProgramSlot& program(int index) const { return programs_.at(static_cast<std::size_t>(index)); }

    // Refuses a body shorter than its count and stride claim, and a stride that cannot hold
    // the records it strides over.
    int deserialize(const std::uint8_t* bytes, std::size_t size) override;
    // Fails when the programs' records differ in size, since they share one stride.
    int serialize(std::uint8_t* buffer) const override;
    std::size_t get_serialized_size() const override;

private:
    std::size_t recordSize() const;

    std::vector<ProgramSlot> programs_;
};

} // namespace mppi
