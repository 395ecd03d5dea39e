#pragma once

#include "Geometry.h"

namespace pengui {

// A hit-test box in its owner's coordinates, or a delegate that answers instead.
class BoundingBoxDefaultChecker {
public:
    virtual ~BoundingBoxDefaultChecker() = default;

    // With a checker, its answer; otherwise whether `point` lies in the half-open box.
    virtual bool contains(Point point) const;

    Rect box{kUnplaced, kUnplaced, kUnplaced, kUnplaced};
    // Not owned.
    const BoundingBoxDefaultChecker* checker = nullptr;
};

} // namespace pengui
