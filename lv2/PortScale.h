#pragma once

namespace lv2port {

// How a parameter's real value reads on its LV2 port, in the unit a musician reads: as it is
// (hertz, beats, tempo, types), as a percentage (fractions, pans from -100 to 100), or in
// decibels (gains, with silence at the port's floor).
class PortScale {
public:
    enum Kind { kPlain, kPercent, kDecibels };
    // The decibel port's floor, which stands for a gain of 0.
    static constexpr double kSilenceDecibels = -90.0;

    constexpr explicit PortScale(Kind kind) : kind_(kind) {}

    double toReal(double port) const;
    double toPort(double real) const;
    Kind kind() const { return kind_; }

private:
    Kind kind_;
};

} // namespace lv2port
