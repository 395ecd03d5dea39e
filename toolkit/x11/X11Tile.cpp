#include "X11Tile.h"

#include "X11ErrorTrap.h"

#include <X11/Xutil.h>

#include <sys/ipc.h>
#include <sys/shm.h>

namespace pengui {

namespace {

constexpr std::size_t kTileBytes = sizeof(std::uint32_t) * kTileSize * kTileSize;

} // namespace

X11Tile::X11Tile()
    : RenderingBufferInterface(kTileSize, kTileSize), memory_(static_cast<std::size_t>(kTileSize) * kTileSize),
      pixels_(memory_.data())
{
}

X11Tile::~X11Tile()
{
    detach();
}

void X11Tile::attach(Display* display, ::Window window, GC gc, bool shareMemory)
{
    detach();
    display_ = display;
    window_ = window;
    gc_ = gc;
    Visual* visual = DefaultVisual(display_, DefaultScreen(display_));
    if (shareMemory && XShmQueryExtension(display_) && attachShared(visual))
        return;
    pixels_ = memory_.data();
    image_ =
        XCreateImage(display_, visual, 24, ZPixmap, 0, reinterpret_cast<char*>(pixels_), kTileSize, kTileSize, 32, 0);
}

bool X11Tile::attachShared(Visual* visual)
{
    segment_.shmid = shmget(IPC_PRIVATE, kTileBytes * kSharedSlots, IPC_CREAT | 0600);
    if (segment_.shmid < 0)
        return false;
    void* address = shmat(segment_.shmid, nullptr, 0);
    // Removed now, the segment lives until both the server and this process let go of it.
    if (address == reinterpret_cast<void*>(-1)) {
        shmctl(segment_.shmid, IPC_RMID, nullptr);
        return false;
    }
    segment_.shmaddr = static_cast<char*>(address);
    segment_.readOnly = False;
    bool attached = false;
    {
        // A server on another machine cannot reach the memory and refuses.
        X11ErrorTrap trap(display_);
        attached = XShmAttach(display_, &segment_) && !trap.failed();
    }
    shmctl(segment_.shmid, IPC_RMID, nullptr);
    if (attached)
        image_ = XShmCreateImage(display_, visual, 24, ZPixmap, segment_.shmaddr, &segment_, kTileSize, kTileSize);
    if (!image_) {
        if (attached)
            XShmDetach(display_, &segment_);
        shmdt(segment_.shmaddr);
        segment_ = {};
        return false;
    }
    shared_ = true;
    slot_ = 0;
    pixels_ = reinterpret_cast<std::uint32_t*>(segment_.shmaddr);
    return true;
}

void X11Tile::detach()
{
    if (image_) {
        image_->data = nullptr; // memory the tile owns
        XDestroyImage(image_);
        image_ = nullptr;
    }
    if (shared_) {
        XShmDetach(display_, &segment_);
        XSync(display_, False);
        shmdt(segment_.shmaddr);
        segment_ = {};
        shared_ = false;
    }
    pixels_ = memory_.data();
    display_ = nullptr;
    window_ = 0;
}

void X11Tile::blit(Point position, Size size)
{
    if (!image_ || !window_)
        return;
    const auto width = static_cast<unsigned>(size.w);
    const auto height = static_cast<unsigned>(size.h);
    if (shared_) {
        // The image's data pointer names the slot: its offset in the segment goes to the server.
        image_->data = reinterpret_cast<char*>(pixels_);
        XShmPutImage(display_, window_, gc_, image_, 0, 0, position.x, position.y, width, height, False);
        slot_ = (slot_ + 1) % kSharedSlots;
        // Back at the first slot, every slot is reused: the server must have read them all.
        if (slot_ == 0)
            XSync(display_, False);
        pixels_ = reinterpret_cast<std::uint32_t*>(segment_.shmaddr + kTileBytes * static_cast<std::size_t>(slot_));
    } else {
        XPutImage(display_, window_, gc_, image_, 0, 0, position.x, position.y, width, height);
    }
}

} // namespace pengui
