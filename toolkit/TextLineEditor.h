#pragma once

#include "Geometry.h"

#include <algorithm>
#include <cstdint>
#include <string>

namespace pengui {

class FontInterface;
class RenderingBufferInterface;

// How a platform draws its own text field: the font and colour of the box it opens over.
struct TextStyle {
    const FontInterface* font = nullptr;
    std::uint32_t colour = 0xE0E0E0;
};

// A one-line text field's editing and drawing, for platforms without a native field: the text
// (bytes, one glyph each, Latin-1), a caret and a selection that runs from the anchor to the
// caret. Opening selects everything; typing replaces the selection. Editor thread only.
class TextLineEditor {
public:
    enum class Key { kLeft, kRight, kHome, kEnd, kBackspace, kDelete };

    // Longest text kept, in bytes: typing past it is ignored.
    static constexpr std::size_t kLongestText = 1023;
    // The field's colours around text of `style`: light behind dark text, dark behind light.
    static std::uint32_t field_colour(const TextStyle& style);
    static std::uint32_t selection_colour(const TextStyle& style);

    // Starts editing `text` (cut to the longest text) with all of it selected.
    void open(const std::string& text);
    // Replaces the selection with `bytes`; control characters are dropped.
    void insert(const std::string& bytes);
    // A cursor or deletion key; with `extend` (Shift held) the arrows, Home and End move the
    // caret and keep the anchor.
    void press(Key key, bool extend = false);

    const std::string& text() const { return text_; }
    std::size_t caret() const { return caret_; }
    std::size_t selection_start() const { return std::min(anchor_, caret_); }
    std::size_t selection_end() const { return std::max(anchor_, caret_); }
    bool has_selection() const { return anchor_ != caret_; }

    // Draws the field of `size` into `buffer` (its top-left at the buffer's), the caret when
    // `caretShown`. Text that fits is centred; longer text scrolls to keep the caret in view.
    // Without a font only the field and the selection show.
    void draw(RenderingBufferInterface& buffer, Size size, const TextStyle& style, bool caretShown);

private:
    void eraseSelection();

    std::string text_;
    std::size_t caret_ = 0;
    std::size_t anchor_ = 0;
    int scroll_ = 0;
};

} // namespace pengui
