#include "ParamLayout.h"

#include <span>
#include <stdexcept>

namespace param_table {

namespace {

class LayoutBuilder {
public:
    void add(std::span<const Row> rows)
    {
        for (const Row& row : rows) {
            put({row.kind, Role::kBase});
            if (row.modulated)
                for (Role role : {Role::kLfoPeriod, Role::kLfoDepth, Role::kLfoWaveform})
                    put({row.kind, role});
        }
    }

    const Layout& finish()
    {
        if (next_ != layout_.size())
            throw std::logic_error("the rows do not fill the parameter table");
        return layout_;
    }

private:
    void put(Slot slot)
    {
        if (next_ == layout_.size())
            throw std::logic_error("the rows overflow the parameter table");
        layout_[next_++] = slot;
    }

    Layout layout_{};
    std::size_t next_ = 0;
};

Layout build()
{
    LayoutBuilder builder;
    builder.add(kGlobalRows);
    for (int tap = 0; tap < mppi::kTaps; ++tap)
        builder.add(kTapRows);
    for (int line = 0; line < mppi::kLines; ++line) {
        builder.add(kLineRows);
        builder.add(kFilterRows);
        builder.add(kDistortionRows);
        builder.add(kShelfRows);
    }
    return builder.finish();
}

} // namespace

const Layout& layout()
{
    static const Layout table = build();
    return table;
}

} // namespace param_table
