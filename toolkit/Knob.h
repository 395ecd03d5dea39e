#pragma once

#include "Picture.h"
#include "PotControl.h"
#include "RedrawCache.h"

#include <vector>

namespace pengui {

// A rotary control: a plate, a frame chosen (and optionally turned) by the angle, a pointer at
// a radius, a highlight while active and an arrow while dragged. A press drags the value with
// the pointer hidden; a press in a bottom corner spins it down (left) or up (right). What it
// draws is kept, so a repaint that finds it unchanged over the same pixels copies it.
class Knob : public PotControl {
public:
    Knob() : frames_(1) { spinFactor_ = 1.0f; }

    void set_plate(const Picture& picture) { plate_ = picture; cache_.clear(); }
    void set_pointer(const Picture& picture) { pointer_ = picture; cache_.clear(); }
    void set_highlight(const Picture& picture) { highlight_ = picture; cache_.clear(); }
    void set_drag_indicator(const Picture& picture) { dragIndicator_ = picture; cache_.clear(); }
    // Replaces the frames with `count` empty pictures.
    void set_frame_count(int count)
    {
        frames_.assign(static_cast<std::size_t>(count > 0 ? count : 0), Picture());
        cache_.clear();
    }
    void set_frame(int index, const Picture& picture);
    // Angles in turns: the value 0 shows at `start`, the value 1 at `start + range`.
    void set_angles(float start, float range)
    {
        startAngle_ = start;
        angleRange_ = range;
        cache_.clear();
    }
    void set_frame_angles(float offset, float span)
    {
        frameOffset_ = offset;
        frameSpan_ = span;
        cache_.clear();
    }
    void set_rotate_frames(bool rotate) { rotateFrames_ = rotate; cache_.clear(); }
    void set_rotate_pointer(bool rotate) { rotatePointer_ = rotate; cache_.clear(); }
    void set_pointer_radius(float radius) { pointerRadius_ = radius; cache_.clear(); }
    void set_drag_range(int pixels) { dragRange_ = pixels; }

    // The frame the value shows and the turn (in turns) it is drawn with.
    struct FrameChoice {
        int index;
        double rotation;
    };
    FrameChoice frame_for(double value) const;

    // Hidden (as when the editor closes), it also lets go of what it kept.
    void on_hide() override;

protected:
    int on_redraw(Redraw& message) override;
    int on_mouse_move(MouseMove& message) override;
    int on_mouse_click(MouseClick& message) override;

private:
    void drawPictures(const Rect& area, RenderingBufferInterface& buffer) const;
    // The part of the window the knob's pictures can reach, whatever its value.
    Rect reach() const;

    Picture plate_;
    Picture pointer_;
    Picture highlight_;
    Picture dragIndicator_;
    std::vector<Picture> frames_;
    float frameOffset_ = 0.0f;
    float frameSpan_ = 1.0f;
    float startAngle_ = 0.625f;
    float angleRange_ = -0.75f;
    float pointerRadius_ = 0.0f;
    int dragRange_ = 200;
    bool rotatePointer_ = false;
    bool rotateFrames_ = false;
    RedrawCache cache_;
};

} // namespace pengui
