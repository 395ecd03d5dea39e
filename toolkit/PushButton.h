#pragma once

#include "AnimatedFrames.h"

namespace pengui {

// A momentary button: a press tells the listener (action 0) and flashes through the frames up
// and back over the duration.
class PushButton : public AnimatedFrames {
public:
    static constexpr double kDefaultDuration = 0.1;

    PushButton() : AnimatedFrames(kDefaultDuration) {}

protected:
    int on_mouse_click(MouseClick& message) override;
    bool advance(double elapsed) override;
    double resting_phase() const override { return phase_; }
};

} // namespace pengui
