#pragma once

#include "SkinLayout.h"

#include <string>
#include <vector>

namespace skin_layout {

// A skin's layout table at one of the scales it is drawn at: every place, size and distance of
// the table in device pixels. Cell edges land where their 1x places times the scale round to
// (scaled()), so cells still meet: a strip's extent is the distance between its scaled edges,
// and a background picture is as high as its strip. Places inside a cell round down, so every
// control's centre and box are within half a pixel of the 1x ones times the scale, in each cell
// its row is repeated in. Drag ranges and pointer radii scale too, so the
// same hand movement gives the same change at every scale. Built once per editor; allocates.
class ScaledSkin {
public:
    ScaledSkin(const SkinLayout& skin, float scale);
    ScaledSkin(const ScaledSkin&) = delete;
    ScaledSkin& operator=(const ScaledSkin&) = delete;

    const SkinLayout& layout() const { return layout_; }
    float scale() const { return scale_; }

private:
    float scale_;
    std::vector<PictureEntry> pictures_;
    std::vector<Strip> backgrounds_;
    std::vector<std::vector<Strip>> strips_;
    std::vector<Split> splits_;
    std::vector<std::vector<pengui::Point>> positions_;
    std::vector<ControlRow> controls_;
    std::vector<KnobPresetRow> knobs_;
    std::vector<LabelPlace> labels_;
    SkinLayout layout_;
};

} // namespace skin_layout
