#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace lv2port {

// The latest of a stream of byte blocks, passed from one writer thread to one reader thread
// without lock or allocation: three buffers, allocated here, that the writer and the reader
// swap through one atomic (a triple buffer). A block the reader never took is replaced by the
// next one, which suits blocks that each hold the whole of something (the eight presets).
class LatestBlock {
public:
    // Each block holds at most `capacity` bytes.
    explicit LatestBlock(std::size_t capacity);
    LatestBlock(const LatestBlock&) = delete;
    LatestBlock& operator=(const LatestBlock&) = delete;

    std::size_t capacity() const { return capacity_; }

    // The writer's thread: copies `size` bytes in as the latest block. False, and nothing
    // written, when they exceed the capacity.
    bool write(const std::uint8_t* bytes, std::size_t size);
    // The reader's thread: takes the latest block when one was written since the last take, and
    // answers whether it did. The block taken stays readable until the next take.
    bool take();
    // The reader's thread: the block last taken; empty before the first.
    const std::uint8_t* data() const { return slots_[static_cast<std::size_t>(front_)].bytes.data(); }
    std::size_t size() const { return slots_[static_cast<std::size_t>(front_)].size; }

private:
    struct Slot {
        std::vector<std::uint8_t> bytes;
        std::size_t size = 0;
    };
    // The buffer in the middle, with this bit set when the writer put a block there since the
    // reader last took one.
    static constexpr int kFresh = 4;

    std::size_t capacity_;
    std::array<Slot, 3> slots_;
    // Owned by the writer and the reader; the third buffer is the one `middle_` names.
    int back_ = 0;
    int front_ = 1;
    std::atomic<int> middle_{2};
};

} // namespace lv2port
