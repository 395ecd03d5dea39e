#include "TextLineEditor.h"

#include "FontInterface.h"
#include "RenderingBufferInterface.h"

#include <vector>

namespace pengui {

namespace {

// Space kept between the field's edges and scrolled text.
constexpr int kPadding = 2;

// Fills `rect`, clipped to the buffer.
void fillRect(RenderingBufferInterface& buffer, const Rect& rect, std::uint32_t colour)
{
    const int x0 = std::max(rect.x0, 0);
    const int x1 = std::min(rect.x1, buffer.width());
    const int y0 = std::max(rect.y0, 0);
    const int y1 = std::min(rect.y1, buffer.height());
    std::uint32_t* pixels = buffer.pixels();
    for (int y = y0; y < y1; ++y)
        std::fill(pixels + y * buffer.width() + x0, pixels + y * buffer.width() + std::max(x0, x1), colour);
}

bool isDark(std::uint32_t colour)
{
    const std::uint32_t luma = ((colour >> 16 & 0xFF) * 299 + (colour >> 8 & 0xFF) * 587 + (colour & 0xFF) * 114) / 1000;
    return luma < 128;
}

} // namespace

std::uint32_t TextLineEditor::field_colour(const TextStyle& style)
{
    return isDark(style.colour) ? 0xFFFFFF : 0x101214;
}

std::uint32_t TextLineEditor::selection_colour(const TextStyle& style)
{
    return isDark(style.colour) ? 0xA8C8E8 : 0x2F5F8F;
}

void TextLineEditor::open(const std::string& text)
{
    text_ = text.substr(0, kLongestText);
    anchor_ = 0;
    caret_ = text_.size();
    scroll_ = 0;
}

void TextLineEditor::eraseSelection()
{
    const std::size_t start = selection_start();
    text_.erase(start, selection_end() - start);
    caret_ = anchor_ = start;
}

void TextLineEditor::insert(const std::string& bytes)
{
    std::string typed;
    for (char byte : bytes) {
        const auto code = static_cast<unsigned char>(byte);
        if (code >= 0x20 && code != 0x7F && !(code >= 0x80 && code < 0xA0))
            typed += byte;
    }
    if (typed.empty())
        return;
    eraseSelection();
    typed.resize(std::min(typed.size(), kLongestText - text_.size()));
    text_.insert(caret_, typed);
    caret_ += typed.size();
    anchor_ = caret_;
}

void TextLineEditor::press(Key key, bool extend)
{
    switch (key) {
    case Key::kBackspace:
    case Key::kDelete:
        if (!has_selection()) {
            if (key == Key::kBackspace && caret_ > 0)
                anchor_ = caret_ - 1;
            else if (key == Key::kDelete && caret_ < text_.size())
                anchor_ = caret_ + 1;
        }
        eraseSelection();
        return;
    case Key::kLeft:
        // Without Shift an arrow first collapses a selection to its near end.
        caret_ = has_selection() && !extend ? selection_start() : caret_ - (caret_ > 0 ? 1 : 0);
        break;
    case Key::kRight:
        caret_ = has_selection() && !extend ? selection_end() : caret_ + (caret_ < text_.size() ? 1 : 0);
        break;
    case Key::kHome:
        caret_ = 0;
        break;
    case Key::kEnd:
        caret_ = text_.size();
        break;
    }
    if (!extend)
        anchor_ = caret_;
}

void TextLineEditor::draw(RenderingBufferInterface& buffer, Size size, const TextStyle& style, bool caretShown)
{
    fillRect(buffer, {0, 0, size.w, size.h}, field_colour(style));
    const FontInterface* font = style.font;
    const std::vector<FontInterface::Glyph> none;
    const std::vector<FontInterface::Glyph>& glyphs = font ? font->glyphs() : none;
    auto glyphOf = [&glyphs](char byte) -> const FontInterface::Glyph* {
        const auto index = static_cast<unsigned char>(byte);
        return index < glyphs.size() ? &glyphs[index] : nullptr;
    };

    // Each byte's left edge from the text's start; the last entry is the text's width.
    std::vector<int> edges(text_.size() + 1, 0);
    for (std::size_t i = 0; i < text_.size(); ++i) {
        const FontInterface::Glyph* glyph = glyphOf(text_[i]);
        edges[i + 1] = edges[i] + (glyph ? glyph->width : 0);
    }
    const int textWidth = edges.back();
    const int caretX = edges[caret_];
    int origin = 0;
    if (textWidth <= size.w - 2 * kPadding) {
        origin = (size.w - textWidth) / 2;
        scroll_ = 0;
    } else {
        const int visible = std::max(size.w - 2 * kPadding - 1, 0);
        scroll_ = std::clamp(scroll_, caretX - visible, caretX);
        scroll_ = std::clamp(scroll_, 0, textWidth - visible);
        origin = kPadding - scroll_;
    }
    const int lineHeight = font ? std::min(font->line_height(), size.h) : size.h;
    const int top = std::max((size.h - lineHeight) / 2, 0);

    if (has_selection())
        fillRect(buffer, {std::max(origin + edges[selection_start()], 0), top,
                          std::min(origin + edges[selection_end()], size.w), top + lineHeight},
                 selection_colour(style));
    if (font) {
        const int right = std::min(size.w, buffer.width());
        const int bottom = std::min(lineHeight, buffer.height() - top);
        for (std::size_t i = 0; i < text_.size() && bottom > 0; ++i) {
            const FontInterface::Glyph* glyph = glyphOf(text_[i]);
            if (!glyph)
                continue;
            const int pen = origin + edges[i];
            const int from = std::max(pen, 0);
            const int to = std::min(pen + glyph->width, right);
            if (from < to)
                font->draw_glyph({glyph->left + from - pen, 0, glyph->left + to - pen, bottom}, {from, top}, buffer,
                                 style.colour);
        }
    }
    if (caretShown) {
        const int x = std::clamp(origin + caretX, 0, std::max(size.w - 1, 0));
        fillRect(buffer, {x, top, x + 1, top + lineHeight}, style.colour);
    }
}

} // namespace pengui
