#include "PopupMenu.h"

#include "DrawText.h"
#include "FontInterface.h"
#include "Messages.h"
#include "RenderingBufferInterface.h"

#include <algorithm>

namespace pengui {

namespace {

int textWidth(const FontInterface* font, const std::string& text)
{
    int width = 0;
    if (!font)
        return width;
    for (char byte : text)
        if (const auto index = static_cast<unsigned char>(byte); index < font->glyphs().size())
            width += font->glyphs()[index].width;
    return width;
}

// Fills the part of `rect` (window pixels) that lies in the redraw's tile.
void fill(Redraw& redraw, const Rect& rect, std::uint32_t colour)
{
    const Rect& area = redraw.area;
    RenderingBufferInterface& buffer = redraw.buffer;
    const int x0 = std::max(rect.x0, area.x0) - area.x0;
    const int x1 = std::min({rect.x1, area.x1, area.x0 + buffer.width()}) - area.x0;
    const int y0 = std::max(rect.y0, area.y0) - area.y0;
    const int y1 = std::min({rect.y1, area.y1, area.y0 + buffer.height()}) - area.y0;
    std::uint32_t* pixels = buffer.pixels();
    for (int y = y0; y < y1; ++y)
        std::fill(pixels + y * buffer.width() + x0, pixels + y * buffer.width() + std::max(x0, x1), colour);
}

} // namespace

void PopupMenu::set_tree(CtrlGroupNodeInterface* tree)
{
    tree_ = tree;
    if (tree_) {
        tree_->parent = this;
        tree_->set_origin(origin);
    }
}

void PopupMenu::set_lines(std::vector<std::string> lines, int marked)
{
    lines_ = std::move(lines);
    marked_ = marked;
}

void PopupMenu::set_origin(Point point)
{
    origin = point;
    if (tree_)
        tree_->set_origin(point);
}

int PopupMenu::lineHeight() const
{
    return (style_.font ? style_.font->line_height() : 0) + 2 * style_.padding;
}

void PopupMenu::open(Point at)
{
    close();
    const int mark = lineHeight();
    int widest = 0;
    for (const std::string& line : lines_)
        widest = std::max(widest, textWidth(style_.font, line));
    const int width = 2 * style_.frameWidth + mark + widest + 2 * style_.padding;
    const int height = 2 * style_.frameWidth + lineHeight() * static_cast<int>(lines_.size());
    const int x = std::max(std::min(at.x, bounds_.x1 - width), bounds_.x0);
    const int y = std::max(std::min(at.y, bounds_.y1 - height), bounds_.y0);
    rect_ = {x, y, x + width, y + height};
    open_ = true;
    hovered_ = line_at(at);
    repaint();
}

void PopupMenu::close()
{
    if (!open_)
        return;
    repaint();
    open_ = false;
    hovered_ = -1;
}

int PopupMenu::line_at(Point point) const
{
    const int top = rect_.y0 + style_.frameWidth;
    if (!open_ || point.x < rect_.x0 || point.x >= rect_.x1 || point.y < top || lineHeight() <= 0)
        return -1;
    const int line = (point.y - top) / lineHeight();
    return line < static_cast<int>(lines_.size()) ? line : -1;
}

void PopupMenu::repaint()
{
    Invalidate invalidate(rect_);
    handle_message(invalidate);
}

int PopupMenu::handle_down(MessageInterface& message)
{
    if (auto* redraw = dynamic_cast<Redraw*>(&message)) {
        const int result = tree_ ? tree_->handle_message(message) : 0;
        if (open_ && rect_.overlaps(redraw->area))
            draw(*redraw);
        return result;
    }
    if (auto* click = dynamic_cast<MouseClick*>(&message)) {
        if (open_) {
            // A press chooses or dismisses; the release that follows it goes nowhere either.
            if (click->buttons != 0) {
                const int line = line_at(click->point);
                close();
                if (line >= 0 && chosen_)
                    chosen_(line);
            }
            return 0;
        }
        if (click->buttons == kRightButton && opensAt_ && opensAt_(click->point)) {
            open(click->point);
            return 0;
        }
    } else if (auto* move = dynamic_cast<MouseMove*>(&message)) {
        if (open_) {
            const int line = line_at(move->point);
            if (line != hovered_) {
                hovered_ = line;
                repaint();
            }
            return 0;
        }
    } else if (auto* show = dynamic_cast<ShowObject*>(&message); show && !show->visible) {
        close();
    }
    return tree_ ? tree_->handle_message(message) : 0;
}

void PopupMenu::draw(Redraw& redraw) const
{
    fill(redraw, rect_, style_.frame);
    const Rect inside{rect_.x0 + style_.frameWidth, rect_.y0 + style_.frameWidth, rect_.x1 - style_.frameWidth,
                      rect_.y1 - style_.frameWidth};
    const int height = lineHeight();
    for (int line = 0; line < static_cast<int>(lines_.size()); ++line) {
        const Rect row{inside.x0, inside.y0 + line * height, inside.x1, inside.y0 + (line + 1) * height};
        fill(redraw, row, line == hovered_ ? style_.highlight : style_.face);
        if (line == marked_) {
            // A square in the mark's column, a third of the line's text high.
            const int side = std::max((height - 2 * style_.padding) / 3, 2);
            const int x = row.x0 + (height - side) / 2;
            const int y = row.y0 + (height - side) / 2;
            fill(redraw, {x, y, x + side, y + side}, style_.text);
        }
        if (!style_.font)
            continue;
        const Rect text{row.x0 + height, row.y0 + style_.padding, row.x1 - style_.padding, row.y1 - style_.padding};
        TextSettings settings;
        settings.size = {text.width(), text.height()};
        settings.colour = style_.text;
        settings.text = lines_[static_cast<std::size_t>(line)];
        // The tile in the text's coordinates, as a text box draws.
        draw_text(*style_.font, redraw.area.moved(-text.x0, -text.y0), redraw.buffer, settings);
    }
}

} // namespace pengui
