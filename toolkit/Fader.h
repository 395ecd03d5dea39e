#pragma once

#include "Picture.h"
#include "PotControl.h"

namespace pengui {

// A linear control: a handle that travels along a track. A press on the handle drags it with
// the pointer hidden; a press on the track spins the value towards the press.
class Fader : public PotControl {
public:
    void set_track(const Picture& picture) { track_ = picture; }
    void set_handle(const Picture& picture) { handle_ = picture; }
    void set_active_picture(const Picture& picture) { activePicture_ = picture; }
    void set_drag_indicator(const Picture& picture) { dragIndicator_ = picture; }
    // Pixels the handle travels from value 0 to value 1 (negative: the other way).
    void set_travel(int pixels) { travel_ = pixels; }
    void set_vertical(bool vertical) { vertical_ = vertical; }
    bool vertical() const { return vertical_; }
    void set_active_follows_handle(bool follows) { activeFollowsHandle_ = follows; }
    void set_active_on_top(bool onTop) { activeOnTop_ = onTop; }

    // Where the handle sits for `value`, in control coordinates.
    Point handle_offset(double value) const;

protected:
    int on_redraw(Redraw& message) override;
    int on_mouse_move(MouseMove& message) override;
    int on_mouse_click(MouseClick& message) override;

private:
    // Movement along the travel and across it, for a movement (dx, dy) of the pointer.
    int along(Point movement) const { return vertical_ ? -movement.y : movement.x; }
    int across(Point movement) const { return vertical_ ? movement.x : -movement.y; }

    Picture track_;
    Picture handle_;
    Picture activePicture_;
    Picture dragIndicator_;
    int travel_ = 200;
    bool vertical_ = false;
    bool activeFollowsHandle_ = false;
    bool activeOnTop_ = false;
};

} // namespace pengui
