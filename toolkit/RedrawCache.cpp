#include "RedrawCache.h"

#include <cstring>

namespace pengui {

void RedrawCache::copyOut(RenderingBufferInterface& buffer, const Rect& block, std::vector<std::uint32_t>& pixels)
{
    const auto columns = static_cast<std::size_t>(block.width());
    pixels.resize(columns * static_cast<std::size_t>(block.height()));
    const std::uint32_t* source = buffer.pixels();
    for (int row = block.y0; row < block.y1; ++row)
        std::memcpy(pixels.data() + static_cast<std::size_t>(row - block.y0) * columns,
                    source + static_cast<std::ptrdiff_t>(row) * buffer.width() + block.x0, columns * sizeof(std::uint32_t));
}

void RedrawCache::copyIn(RenderingBufferInterface& buffer, const Rect& block, const std::vector<std::uint32_t>& pixels)
{
    const auto columns = static_cast<std::size_t>(block.width());
    std::uint32_t* destination = buffer.pixels();
    for (int row = block.y0; row < block.y1; ++row)
        std::memcpy(destination + static_cast<std::ptrdiff_t>(row) * buffer.width() + block.x0,
                    pixels.data() + static_cast<std::size_t>(row - block.y0) * columns, columns * sizeof(std::uint32_t));
}

bool RedrawCache::same(RenderingBufferInterface& buffer, const Rect& block, const std::vector<std::uint32_t>& pixels)
{
    const auto columns = static_cast<std::size_t>(block.width());
    const std::uint32_t* source = buffer.pixels();
    for (int row = block.y0; row < block.y1; ++row)
        if (std::memcmp(pixels.data() + static_cast<std::size_t>(row - block.y0) * columns,
                        source + static_cast<std::ptrdiff_t>(row) * buffer.width() + block.x0,
                        columns * sizeof(std::uint32_t)) != 0)
            return false;
    return true;
}

RedrawCache::Entry& RedrawCache::slotFor(const Rect& piece)
{
    for (Entry& entry : entries_)
        if (entry.piece == piece)
            return entry;
    if (entries_.size() < kEntries)
        return entries_.emplace_back();
    Entry& replaced = entries_[next_];
    next_ = (next_ + 1) % kEntries;
    return replaced;
}

} // namespace pengui
