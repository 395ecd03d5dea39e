#include "CurveShaper.h"

#include "CurveShaperWide.h"
#include "TableSine.h"
#include "TableTanh.h"

namespace {

using Term = CurveShaper::Term;

// The plain kernel for samples [from, frames) of the block. Steady terms are {tanh, sine},
// fading ones {tanh out, tanh in, sine out, sine in}; the terms are summed in that order.
template <bool kTanh, bool kSine, bool kFading>
void shapePlain(const TableTanh& tanh, const mppi::TableSine& sine, float* __restrict block, int from, int frames,
                const Term* terms, int start)
{
    if constexpr (!kFading) {
        const float tanhWeight = terms[0].weight, drive = terms[0].scale;
        const float sineWeight = terms[1].weight, fold = terms[1].scale;
        for (int i = from; i < frames; ++i) {
            const float x = block[i];
            if constexpr (kTanh && kSine)
                block[i] = tanhWeight * tanh(drive * x) + sineWeight * sine(fold * x);
            else if constexpr (kTanh)
                block[i] = tanhWeight * tanh(drive * x);
            else
                block[i] = sineWeight * sine(fold * x);
        }
    } else {
        const Term t0 = terms[0], t1 = terms[1], s0 = terms[2], s1 = terms[3];
        for (int i = from; i < frames; ++i) {
            const float x = block[i];
            const float k = static_cast<float>(start + i);
            if constexpr (kTanh && kSine)
                block[i] = (t0.weight + k * t0.slope) * tanh(t0.scale * x) + (t1.weight + k * t1.slope) * tanh(t1.scale * x) +
                           (s0.weight + k * s0.slope) * sine(s0.scale * x) + (s1.weight + k * s1.slope) * sine(s1.scale * x);
            else if constexpr (kTanh)
                block[i] = (t0.weight + k * t0.slope) * tanh(t0.scale * x) + (t1.weight + k * t1.slope) * tanh(t1.scale * x);
            else
                block[i] = (s0.weight + k * s0.slope) * sine(s0.scale * x) + (s1.weight + k * s1.slope) * sine(s1.scale * x);
        }
    }
}

template <bool kTanh, bool kSine, bool kFading>
void shape(bool wide, const TableTanh& tanh, const mppi::TableSine& sine, float* block, int frames, const Term* terms,
           int start)
{
    // The wide kernel takes whole groups of eight; the plain one finishes the rest.
    const int done = wide ? curve_shaper_wide::shape<kTanh, kSine, kFading>(tanh, sine, block, frames, terms, start) : 0;
    shapePlain<kTanh, kSine, kFading>(tanh, sine, block, done, frames, terms, start);
}

template <bool kFading>
void shapeCurves(CurveShaper::Curves curves, bool wide, const TableTanh& tanh, const mppi::TableSine& sine, float* block,
                 int frames, const Term* terms, int start)
{
    switch (curves) {
    case CurveShaper::Curves::kTanh: shape<true, false, kFading>(wide, tanh, sine, block, frames, terms, start); break;
    case CurveShaper::Curves::kSine: shape<false, true, kFading>(wide, tanh, sine, block, frames, terms, start); break;
    case CurveShaper::Curves::kBoth: shape<true, true, kFading>(wide, tanh, sine, block, frames, terms, start); break;
    }
}

} // namespace

CurveShaper::CurveShaper(Kernels kernels)
    : tanh_(TableTanh::instance()), sine_(mppi::TableSine::instance()),
      wide_(kernels == Kernels::kFastest && mppi::wide_loops::enabled())
{
}

void CurveShaper::shapeSteady(float* block, int frames, Curves curves, const Term& tanhTerm, const Term& sineTerm) const
{
    const Term terms[] = {tanhTerm, sineTerm};
    shapeCurves<false>(curves, wide_, tanh_, sine_, block, frames, terms, 0);
}

void CurveShaper::shapeFading(float* block, int frames, Curves curves, const FadeTerms& fade, int start) const
{
    shapeCurves<true>(curves, wide_, tanh_, sine_, block, frames, fade, start);
}
