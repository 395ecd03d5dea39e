#pragma once

class TableTanh;
namespace mppi {
class TableSine;
}

// The distortion's shaping of a block: each sample through the overdrive's tanh and the
// puncher's sine, each term a weight times its curve of the sample scaled. Steady, there is a
// term per curve; fading, a curve's term at the old setting fades out while the new one fades in,
// the weights moving linearly with the sample's position in the control block.
//
// Where the processor has AVX2, eight samples run at a time with the curve tables held in
// registers instead of looked up sample by sample. The arithmetic and its order are the same,
// so both give the same bits and the output does not depend on the machine.
class CurveShaper {
public:
    enum class Curves { kTanh, kSine, kBoth };
    enum class Kernels { kPlain, kFastest };

    // A curve's term: (weight + k * slope) * curve(scale * x), k the position in the block.
    struct Term {
        float weight = 0.0f;
        float slope = 0.0f;
        float scale = 0.0f;
    };
    // The terms of a fade, old then new for each curve: tanh out, tanh in, sine out, sine in.
    // An array the kernels read in place: a copy would load what its maker has just stored in
    // pieces, which the processor cannot forward and stalls on.
    using FadeTerms = Term[4];

    // `kFastest` uses AVX2 where the wide loops run (mppi::wide_loops); `kPlain` never does.
    explicit CurveShaper(Kernels kernels = Kernels::kFastest);

    // Whether this shaper runs eight samples at a time.
    bool wide() const { return wide_; }

    // block[i] = tanhTerm.weight * tanh(tanhTerm.scale * x) + sineTerm.weight * sine(sineTerm.scale * x),
    // with only the curves asked for.
    void shapeSteady(float* block, int frames, Curves curves, const Term& tanhTerm, const Term& sineTerm) const;
    // The sum of the fade's terms for the curves asked for; the first sample sits at position
    // `start` of the block.
    void shapeFading(float* block, int frames, Curves curves, const FadeTerms& terms, int start) const;

private:
    const TableTanh& tanh_;
    const mppi::TableSine& sine_;
    bool wide_ = false;
};
