#pragma once

#include "SPTreeNodeInterface.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace pengui {

class FontInterface;
class Redraw;

// The top of a window's control tree: the tree below it, and over the tree a small menu of
// lines of text. A press of the right button alone where `opens_at` finds nothing to press
// opens the menu there (kept inside the bounds); then a press on a line chooses it (`chosen`
// with the line's index), a press anywhere else only closes it, and no press or move reaches
// the tree while it is open. Closed, it passes every message to the tree untouched. Hiding
// closes it. Editor thread only; allocates when its lines are set.
class PopupMenu : public CtrlGroupNodeInterface {
public:
    struct Style {
        const FontInterface* font = nullptr;
        std::uint32_t face = 0xFFFFFF;
        std::uint32_t text = 0;
        std::uint32_t highlight = 0xC0C0C0;
        std::uint32_t frame = 0x808080;
        // Pixels around each line's text, and the frame's width.
        int padding = 4;
        int frameWidth = 1;
    };

    // The tree below (not owned); its up messages pass through the menu to the window.
    void set_tree(CtrlGroupNodeInterface* tree);
    void set_style(const Style& style) { style_ = style; }
    // The lines, and the one shown with a mark (-1: none).
    void set_lines(std::vector<std::string> lines, int marked);
    // The window's rectangle the menu stays inside.
    void set_bounds(const Rect& bounds) { bounds_ = bounds; }
    // Whether a right press at a window point may open the menu (nothing to press there).
    void set_opens_at(std::function<bool(Point)> opensAt) { opensAt_ = std::move(opensAt); }
    void set_chosen(std::function<void(int)> chosen) { chosen_ = std::move(chosen); }

    // Opens with its top-left at `at`, moved inside the bounds.
    void open(Point at);
    void close();
    bool is_open() const { return open_; }
    // Its rectangle in the window while open.
    const Rect& rect() const { return rect_; }
    // The line at a window point, or -1.
    int line_at(Point point) const;

    void set_origin(Point point) override;
    int handle_down(MessageInterface& message) override;

private:
    int lineHeight() const;
    void draw(Redraw& redraw) const;
    void repaint();

    CtrlGroupNodeInterface* tree_ = nullptr;
    Style style_;
    std::vector<std::string> lines_;
    int marked_ = -1;
    Rect bounds_;
    std::function<bool(Point)> opensAt_;
    std::function<void(int)> chosen_;
    bool open_ = false;
    Rect rect_;
    int hovered_ = -1;
};

} // namespace pengui
