#pragma once

#include "AnimatedFrames.h"

namespace pengui {

// A two-state button: each press toggles the value between 0 and 1 and, with a duration,
// animates through the frames towards the new state.
class FlipFlop : public AnimatedFrames {
public:
    FlipFlop() : AnimatedFrames(0.0) {}

protected:
    int on_mouse_click(MouseClick& message) override;
    bool advance(double elapsed) override;
    double resting_phase() const override { return value(); }
};

} // namespace pengui
