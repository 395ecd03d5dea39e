#pragma once

#include "PlatformWindowInterface.h"
#include "RenderingBufferInterface.h"

namespace pengui {

// The platform side where the module cannot show a window: the editor exists and follows its
// parameters, but opening it fails, so the host is offered no editor.
class NoScreenWindow : public PlatformWindowInterface {
public:
    NoScreenWindow() : tile_(1, 1) {}
    void attach(WindowInterface*) override {}
    int create(void*, Size) override { return -1; }
    void destroy() override {}
    bool created() const override { return false; }
    void resize(Size) override {}
    void invalidate(const Rect&) override {}
    RenderingBufferInterface& tile() override { return tile_; }
    bool take_capture() override { return false; }
    void release_capture() override {}
    void hide_pointer() override {}
    void show_pointer() override {}
    Point pointer_position() override { return {}; }
    void warp_pointer(Point) override {}
    int start_timer(int) override { return 0; }
    bool kill_timer(int) override { return false; }
    int open_text_editor(const Rect&, const std::string&) override { return -1; }
    std::string close_text_editor() override { return {}; }
    bool text_editor_open() const override { return false; }

private:
    PixelBuffer tile_;
};

} // namespace pengui
