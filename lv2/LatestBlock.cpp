#include "LatestBlock.h"

#include <cstring>

namespace lv2port {

LatestBlock::LatestBlock(std::size_t capacity) : capacity_(capacity)
{
    for (Slot& slot : slots_)
        slot.bytes.resize(capacity);
}

bool LatestBlock::write(const std::uint8_t* bytes, std::size_t size)
{
    if (size > capacity_)
        return false;
    Slot& back = slots_[static_cast<std::size_t>(back_)];
    if (size > 0)
        std::memcpy(back.bytes.data(), bytes, size);
    back.size = size;
    // Release: the reader that takes this buffer sees its bytes.
    back_ = middle_.exchange(back_ | kFresh, std::memory_order_acq_rel) & ~kFresh;
    return true;
}

bool LatestBlock::take()
{
    if (!(middle_.load(std::memory_order_relaxed) & kFresh))
        return false;
    front_ = middle_.exchange(front_, std::memory_order_acq_rel) & ~kFresh;
    return true;
}

} // namespace lv2port
