#pragma once

#include "RenderingBufferInterface.h"

#include <vector>

#include <X11/Xlib.h>
#include <X11/extensions/XShm.h>

namespace pengui {

// The editor window's 128 x 128 tile on an X display: where the server offers it (MIT-SHM on a
// local display) a ring of tiles in memory shared with the server, so a blit copies nothing
// through the connection and the next tile is drawn while the server reads the last ones;
// otherwise an image over memory of its own, sent with XPutImage.
class X11Tile : public RenderingBufferInterface {
public:
    // Tiles in the shared ring: a full repaint of the large editor waits for the server about
    // three times instead of once per tile.
    static constexpr int kSharedSlots = 16;

    X11Tile();
    ~X11Tile() override;
    X11Tile(const X11Tile&) = delete;
    X11Tile& operator=(const X11Tile&) = delete;

    // Makes the tile's image on `display` for `window`, drawn with `gc`; shared memory only
    // when `shareMemory` and the server agrees.
    void attach(Display* display, ::Window window, GC gc, bool shareMemory);
    // Frees the image and the shared memory; the display stays open.
    void detach();
    bool shared() const { return shared_; }

    std::uint32_t* pixels() override { return pixels_; }
    void blit(Point position, Size size) override;

private:
    bool attachShared(Visual* visual);

    Display* display_ = nullptr;
    ::Window window_ = 0;
    GC gc_ = nullptr;
    XImage* image_ = nullptr;
    XShmSegmentInfo segment_{};
    bool shared_ = false;
    int slot_ = 0;
    std::vector<std::uint32_t> memory_;
    std::uint32_t* pixels_ = nullptr;
};

} // namespace pengui
