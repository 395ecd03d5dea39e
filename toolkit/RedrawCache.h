#pragma once

#include "Geometry.h"
#include "RenderingBufferInterface.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

namespace pengui {

// What a control drew over a piece of a tile, kept with the pixels that lay there before, so
// that drawing the same state over the same pixels again is a copy: a full repaint then costs a
// control that did not change a comparison and a copy of its block. Exact: the copy is taken
// only when the piece, the control's state and every pixel beneath are what they were. The
// pixels are kept from the second drawing of a state over a piece on, so that a control whose
// state keeps changing (a knob the host automates) does not pay for copies it never reads. The
// control names the part of the window its drawing can reach; it must draw nothing outside it.
// Editor thread only.
class RedrawCache {
public:
    // The control's state as its drawing reads it.
    using State = std::array<double, 4>;

    // Draws into `buffer`, which holds window area `piece` from its pixel (0, 0), what `draw()`
    // would draw for `state` within `reach` (window pixels): by copying when it can, else by
    // drawing and keeping the result.
    template <typename Draw>
    void draw(RenderingBufferInterface& buffer, const Rect& piece, const Rect& reach, const State& state, Draw draw);
    // Forgets everything kept: for a change to what the control draws that its state does not name.
    void clear()
    {
        entries_.clear();
        entries_.shrink_to_fit();
    }

private:
    struct Entry {
        Rect piece;
        Rect block;
        State state;
        // Whether `beneath` and `drawn` hold this state's pixels, or the state was only seen.
        bool kept = false;
        std::vector<std::uint32_t> beneath;
        std::vector<std::uint32_t> drawn;
    };
    // A control that fits a tile lies on at most four, and a repaint of its own box is a fifth piece.
    static constexpr std::size_t kEntries = 5;

    static void copyOut(RenderingBufferInterface& buffer, const Rect& block, std::vector<std::uint32_t>& pixels);
    static void copyIn(RenderingBufferInterface& buffer, const Rect& block, const std::vector<std::uint32_t>& pixels);
    static bool same(RenderingBufferInterface& buffer, const Rect& block, const std::vector<std::uint32_t>& pixels);
    Entry& slotFor(const Rect& piece);

    std::vector<Entry> entries_;
    std::size_t next_ = 0;
};

template <typename Draw>
void RedrawCache::draw(RenderingBufferInterface& buffer, const Rect& piece, const Rect& reach, const State& state, Draw draw)
{
    // The reach within the piece, in buffer pixels.
    const Rect block{std::max(reach.x0, piece.x0) - piece.x0, std::max(reach.y0, piece.y0) - piece.y0,
                     std::min({reach.x1, piece.x1, piece.x0 + buffer.width()}) - piece.x0,
                     std::min({reach.y1, piece.y1, piece.y0 + buffer.height()}) - piece.y0};
    if (block.x0 >= block.x1 || block.y0 >= block.y1) {
        draw();
        return;
    }
    for (const Entry& entry : entries_)
        if (entry.kept && entry.piece == piece && entry.block == block && entry.state == state &&
            same(buffer, block, entry.beneath)) {
            copyIn(buffer, block, entry.drawn);
            return;
        }
    Entry& entry = slotFor(piece);
    const bool seen = entry.piece == piece && entry.block == block && entry.state == state;
    entry.piece = piece;
    entry.block = block;
    entry.state = state;
    entry.kept = seen;
    if (!seen) {
        draw();
        return;
    }
    copyOut(buffer, block, entry.beneath);
    draw();
    copyOut(buffer, block, entry.drawn);
}

} // namespace pengui
