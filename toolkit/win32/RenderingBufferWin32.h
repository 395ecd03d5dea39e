#pragma once

#include "RenderingBufferInterface.h"

#include <windows.h>

namespace pengui {

// The 128 x 128 tile as a top-down 32-bit device-independent bitmap: pictures draw into its
// pixels, and a blit copies the tile's corner into the device context being painted.
class RenderingBufferWin32 : public RenderingBufferInterface {
public:
    RenderingBufferWin32();
    ~RenderingBufferWin32() override;
    RenderingBufferWin32(const RenderingBufferWin32&) = delete;
    RenderingBufferWin32& operator=(const RenderingBufferWin32&) = delete;

    std::uint32_t* pixels() override { return pixels_ ? pixels_ : &fallback_; }
    void blit(Point position, Size size) override;
    // The device context of the paint under way; null outside painting.
    void set_target(HDC target) { target_ = target; }
    bool ready() const { return pixels_ != nullptr; }

private:
    HBITMAP bitmap_ = nullptr;
    std::uint32_t* pixels_ = nullptr;
    // Drawing without a bitmap lands here and is lost; the window does not open without one.
    std::uint32_t fallback_ = 0;
    HDC target_ = nullptr;
};

} // namespace pengui
