#pragma once

#include "ControlInterface.h"
#include "Picture.h"

#include <vector>

namespace pengui {

// A control of a few positions, each a picture: a press on a position's picture selects it
// (value index / (count - 1)) and holds the mouse until the release.
class Switch : public ControlInterface {
public:
    Switch() : positions_(2) {}

    void set_background(const Picture& picture) { background_ = picture; }
    void set_active_picture(const Picture& picture) { activePicture_ = picture; }
    // Replaces the positions with `count` empty pictures.
    void set_position_count(int count) { positions_.assign(static_cast<std::size_t>(count > 0 ? count : 0), Picture()); }
    void set_position_picture(int index, const Picture& picture);
    int position_count() const { return static_cast<int>(positions_.size()); }
    // Position `index`'s picture, placed in control coordinates: a press inside selects it.
    const Picture& position_picture(int index) const { return positions_.at(static_cast<std::size_t>(index)); }
    // The position the value shows.
    int selected() const;

    void on_hide() override;
    void set_active(bool) override { request_redraw(); }

protected:
    int on_redraw(Redraw& message) override;
    int on_mouse_capture_lost(MouseCaptureLost& message) override;
    int on_mouse_click(MouseClick& message) override;

private:
    Picture background_;
    Picture activePicture_;
    std::vector<Picture> positions_;
    bool captured_ = false;
};

} // namespace pengui
