#pragma once

#include <optional>

namespace skin_layout {

// Which scale the editor opens at, 1, 1.5 or 2, from what each source says, in this order of
// precedence: the musician's own choice, then the host's announced content scale, then the
// system's (the window's DPI, or the desktop's font DPI or GDK scale), else 1. Each source's
// factor maps to the nearest scale, ties upward; one that is not finite or not above 0 says
// nothing and is ignored; anything above 2 gives 2. The latest word of each source counts. Editor thread only.
class ScaleChoice {
public:
    // The scale a factor maps to, or nothing for a factor that says nothing.
    static std::optional<float> nearest(double factor);

    // A factor that says nothing is ignored: the source's earlier word stands.
    void setMusician(double factor) { take(musician_, factor); }
    void setHost(double factor) { take(host_, factor); }
    void setSystem(double factor) { take(system_, factor); }

    float scale() const;

private:
    static void take(std::optional<float>& word, double factor)
    {
        if (const std::optional<float> scale = nearest(factor))
            word = scale;
    }

    std::optional<float> musician_;
    std::optional<float> host_;
    std::optional<float> system_;
};

} // namespace skin_layout
