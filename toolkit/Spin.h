#pragma once

#include "ControlInterface.h"
#include "Picture.h"

namespace pengui {

// Up and down arrows that step the value while held (repeating after a delay, faster after a
// longer one) and a handle that drags it with the pointer hidden.
class Spin : public ControlInterface {
public:
    enum Part { kBackground, kForeground, kUp, kUpPressed, kDown, kDownPressed, kHandle, kHandlePressed, kParts };

    void set_picture(Part part, const Picture& picture) { pictures_[part] = picture; }
    // A part's picture, placed in control coordinates: a press inside it works that part.
    const Picture& picture(Part part) const { return pictures_[part]; }
    void set_handle_on_top(bool onTop) { handleOnTop_ = onTop; }
    void set_steps(double step, double fastStep)
    {
        step_ = step;
        fastStep_ = fastStep;
    }

    void on_hide() override;
    void set_active(bool) override { request_redraw(); }

    static constexpr float kFirstRepeat = 0.5f;
    static constexpr float kFastAfter = 2.0f;
    static constexpr float kSlowPeriod = 0.1f;
    static constexpr float kFastPeriod = 0.03f;
    static constexpr double kDragPerPixel = 1.0 / 180.0;

protected:
    int on_redraw(Redraw& message) override;
    int on_mouse_capture_lost(MouseCaptureLost&) override;
    int on_mouse_move(MouseMove& message) override;
    int on_mouse_click(MouseClick& message) override;
    int on_notify(Notify& message) override;

private:
    enum Mode { kIdle = 0, kUpHeld = 1, kDownHeld = 2, kDragging = 4 };

    bool hit(Part part, Point point) const { return pictures_[part].is_set() && pictures_[part].contains(point); }
    // Steps the value by `amount` in the held direction; a refusal ends the gesture.
    void step(double amount);
    void drawPair(Part normal, Part pressed, bool held, const Rect& area, Redraw& message) const;

    Picture pictures_[kParts];
    bool handleOnTop_ = true;
    double step_ = 0.001;
    double fastStep_ = 0.005;
    int mode_ = kIdle;
    int phase_ = 0;
    bool fastTimer_ = false;
    double pressTime_ = 0.0;
    int timerId_ = -1;
    Point dragStart_;
};

} // namespace pengui
