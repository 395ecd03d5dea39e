#pragma once

#include "ParamKinds.h"
#include "TempoContext.h"

// The four global parameters of the algorithm.

// "Flags": a bit field of the line mode, sustain, mutes, clears and the time unit.
class ParamFlags : public mppi::NormalizedParamInterface {
public:
    enum Bit {
        kClearLine2 = 0,
        kClearLine1 = 1,
        kMuteLine2 = 2,
        kMuteLine1 = 3,
        kSustain = 4,
        kTwoLines = 5,
        kBeatUnit = 6,
    };

    explicit ParamFlags(mppi::TempoContext& tempo) : tempo_(tempo) {}

    static bool isSet(double flags, Bit bit) { return (static_cast<int>(flags) >> bit & 1) != 0; }

    std::string name() const override { return "Flags"; }
    std::string unitLabel() const override { return {}; }
    // The editor's time texts follow bit 6.
    void valueChanged() override;
    // floor(256 n + 0.5) modulo 256: normalized 1.0 is 0.
    double toReal(float normalized) const override;
    float toNormalized(double real) const override { return static_cast<float>(real / 256.0); }
    // The codes of the bits from 6 down to 0: "BT 1" for the default 64.
    std::string valueText(double real) const override;
    double parse(const std::string& text, bool& understood) const override;

private:
    mppi::TempoContext& tempo_;
};

// "Tempo", 60 to 240 BPM; the host's tempo overrides it when the host has one.
class ParamTempo : public mppi::NormalizedParamInterface {
public:
    static constexpr double kMin = 60.0;
    static constexpr double kMax = 240.0;

    explicit ParamTempo(mppi::TempoContext& tempo) : tempo_(tempo) {}

    std::string name() const override { return "Tempo"; }
    std::string unitLabel() const override { return "BPM"; }
    // Every time-valued parameter follows the new tempo.
    void valueChanged() override;
    double toReal(float normalized) const override { return kMin + (kMax - kMin) * mppi::clampUnit(normalized); }
    float toNormalized(double real) const override { return static_cast<float>((real - kMin) / (kMax - kMin)); }
    std::string valueText(double real) const override;
    double parse(const std::string& text, bool& understood) const override;

private:
    mppi::TempoContext& tempo_;
};

// "Predly lvl": the gain of the tap signal in the output.
class ParamDryLvl : public GainParam<mppi::NormalizedParamInterface> {
public:
    std::string name() const override { return "Predly lvl"; }
};

// "Fdbk sep.": how much of each line's feedback crosses to the other line.
class ParamFdbkSeparation : public PercentParam<mppi::NormalizedParamInterface, 2> {
public:
    std::string name() const override { return "Fdbk sep."; }
};
