#pragma once

#include "PicDataInterface.h"

namespace pengui {

// A rectangle of another picture, drawn as a picture of its own: the cells of a sheet that
// holds several positions of a control. The sheet is not owned.
class PicDataCut : public PicDataInterface {
public:
    // `cell` in the sheet's pixels; the part outside the sheet stays empty.
    PicDataCut(const PicDataInterface& sheet, const Rect& cell);

    void draw(const Rect& area, RenderingBufferInterface& buffer) const override;

private:
    const PicDataInterface& sheet_;
    Point corner_;
};

} // namespace pengui
