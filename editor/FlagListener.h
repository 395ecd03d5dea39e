#pragma once

#include "DefaultEventListener.h"
#include "EditorListener.h"

#include <cstdint>

namespace mppi {

// Binds the invisible control of "Flags" (parameter 0): a change of the parameter sets the three
// flag flip-flops, and the flip-flops set single bits of it. Each value it sends carries a
// fraction below 0.25 from a small generator, so every new value differs from the last; reading
// rounds it away.
class FlagListener : public EditorListener {
public:
    using EditorListener::EditorListener;

    // The flip-flops it sets: two delay lines (bit 5), beats (bit 6), sustain loop (bit 4).
    void setFlipFlops(pengui::ControlInterface* lines, pengui::ControlInterface* beats, pengui::ControlInterface* sustain)
    {
        lines_ = lines;
        beats_ = beats;
        sustain_ = sustain;
    }

    double set_value_hook(double value, int priority) override;
    // Sets or clears one bit and sends the new value with priority 200.
    void setBit(int bit, bool on);
    // Refreshes the editor's time displays and snapping when the time unit is not the one they
    // show, whatever changed it: the user, the host, a program or a preset.
    void followTimeUnit();
    // The bits of the current value.
    int bits() const;

    // The bits a real value stands for, read and when set.
    static int read_bits(double real);
    static int bits_to_set(double real);

    static constexpr int kSustainLoopBit = 4;
    static constexpr int kTwoLinesBit = 5;
    static constexpr int kBeatsBit = 6;

private:
    pengui::ControlInterface* lines_ = nullptr;
    pengui::ControlInterface* beats_ = nullptr;
    pengui::ControlInterface* sustain_ = nullptr;
    std::int64_t seed_ = 1;
    int shownBeats_ = -1;
};

// The three flip-flops that set bits of "Flags".
class FlagBitListener : public pengui::DefaultEventListener {
public:
    FlagBitListener(FlagListener& flags, int bit) : flags_(flags), bit_(bit) {}
    double user_value(double value, int) override;

private:
    FlagListener& flags_;
    int bit_;
};

// Milliseconds or beats (bit 6).
class MsBpmListener : public FlagBitListener {
public:
    explicit MsBpmListener(FlagListener& flags) : FlagBitListener(flags, FlagListener::kBeatsBit) {}
};

// The sustain loop (bit 4).
class SustLoopListener : public FlagBitListener {
public:
    explicit SustLoopListener(FlagListener& flags) : FlagBitListener(flags, FlagListener::kSustainLoopBit) {}
};

// One or two delay lines (bit 5): every value the flip-flop takes, from the user or from a
// "Flags" change, lays the editor out for that many lines.
class Delay2Listener : public FlagBitListener {
public:
    Delay2Listener(FlagListener& flags, QuenloGui& gui) : FlagBitListener(flags, FlagListener::kTwoLinesBit), gui_(gui) {}
    double store_value(double value, int source) override;

private:
    QuenloGui& gui_;
};

} // namespace mppi
