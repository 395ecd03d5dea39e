#include "RenderingBufferWin32.h"

namespace pengui {

RenderingBufferWin32::RenderingBufferWin32() : RenderingBufferInterface(kTileSize, kTileSize)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = kTileSize;
    info.bmiHeader.biHeight = -kTileSize; // rows top to bottom
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    pixels_ = bitmap_ ? static_cast<std::uint32_t*>(bits) : nullptr;
}

RenderingBufferWin32::~RenderingBufferWin32()
{
    if (bitmap_)
        DeleteObject(bitmap_);
}

void RenderingBufferWin32::blit(Point position, Size size)
{
    if (!target_ || !bitmap_)
        return;
    HDC memory = CreateCompatibleDC(nullptr);
    if (!memory)
        return;
    HGDIOBJ previous = SelectObject(memory, bitmap_);
    BitBlt(target_, position.x, position.y, size.w, size.h, memory, 0, 0, SRCCOPY);
    SelectObject(memory, previous);
    DeleteDC(memory);
}

} // namespace pengui
