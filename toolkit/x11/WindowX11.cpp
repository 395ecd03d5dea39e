#include "WindowX11.h"

#include "Clock.h"
#include "WindowInterface.h"
#include "X11DesktopScale.h"
#include "X11ErrorTrap.h"

#include <algorithm>
#include <cstdint>

#include <X11/Xutil.h>

namespace pengui {

namespace {

int g_nextTimerId = 1;

int buttonBit(unsigned int button)
{
    return button == Button1 ? 1 : button == Button3 ? 2 : button == Button2 ? 4 : 0;
}

// The buttons an event's state holds down.
int buttonsOf(unsigned int state)
{
    return (state & Button1Mask ? 1 : 0) | (state & Button3Mask ? 2 : 0) | (state & Button2Mask ? 4 : 0);
}

int modifiersOf(unsigned int state)
{
    return (state & ControlMask ? 1 : 0) | (state & ShiftMask ? 2 : 0);
}

} // namespace

WindowX11::~WindowX11()
{
    destroy();
}

int WindowX11::create(void* parent, Size size)
{
    if (handle_)
        return 0;
    const auto parentWindow = static_cast<::Window>(reinterpret_cast<std::uintptr_t>(parent));
    if (!parentWindow)
        return -1;
    display_ = XOpenDisplay(nullptr);
    if (!display_)
        return -1;
    bool parentExists = false;
    {
        X11ErrorTrap trap(display_);
        XWindowAttributes attributes;
        parentExists = XGetWindowAttributes(display_, parentWindow, &attributes) && !trap.failed();
    }
    if (!parentExists) {
        XCloseDisplay(display_);
        display_ = nullptr;
        return -1;
    }
    const int screen = DefaultScreen(display_);
    size_ = size;
    handle_ = XCreateSimpleWindow(display_, parentWindow, 0, 0, static_cast<unsigned>(std::max(size.w, 1)),
                                  static_cast<unsigned>(std::max(size.h, 1)), 0, 0, BlackPixel(display_, screen));
    XSelectInput(display_, handle_,
                 ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask | StructureNotifyMask);
    gc_ = XCreateGC(display_, handle_, 0, nullptr);
    tile_.attach(display_, handle_, gc_, shareMemory_);
    static const char none[1] = {0};
    Pixmap empty = XCreateBitmapFromData(display_, handle_, none, 1, 1);
    XColor black{};
    blank_ = XCreatePixmapCursor(display_, empty, empty, &black, &black, 0, 0);
    XFreePixmap(display_, empty);
    XMapWindow(display_, handle_);
    XFlush(display_);
    pointerHidden_ = false;
    captured_ = false;
    buttons_ = 0;
    dirty_.assign(1, {0, 0, size.w, size.h});
    return 0;
}

void WindowX11::destroy()
{
    timers_.clear();
    if (!display_)
        return;
    field_.close();
    {
        // The host may have destroyed our window with its own.
        X11ErrorTrap trap(display_);
        if (captured_)
            XUngrabPointer(display_, CurrentTime);
        if (handle_)
            XDestroyWindow(display_, handle_);
    }
    const bool wasOpen = handle_ != 0;
    handle_ = 0;
    tile_.detach();
    if (gc_)
        XFreeGC(display_, gc_);
    gc_ = nullptr;
    if (blank_)
        XFreeCursor(display_, blank_);
    blank_ = 0;
    XCloseDisplay(display_);
    display_ = nullptr;
    captured_ = false;
    pointerHidden_ = false;
    dirty_.clear();
    if (wasOpen && window_)
        window_->platform_destroyed();
}

void WindowX11::resize(Size size)
{
    size_ = size;
    if (handle_) {
        XResizeWindow(display_, handle_, static_cast<unsigned>(std::max(size.w, 1)), static_cast<unsigned>(std::max(size.h, 1)));
        dirty_.push_back({0, 0, size.w, size.h});
    }
}

void WindowX11::invalidate(const Rect& rect)
{
    if (handle_)
        dirty_.push_back(rect);
}

bool WindowX11::take_capture()
{
    if (!handle_)
        return false;
    const unsigned int events = ButtonPressMask | ButtonReleaseMask | PointerMotionMask;
    captured_ = XGrabPointer(display_, handle_, False, events, GrabModeAsync, GrabModeAsync, None, None, CurrentTime) ==
                GrabSuccess;
    return captured_;
}

void WindowX11::release_capture()
{
    if (!captured_)
        return;
    captured_ = false;
    XUngrabPointer(display_, CurrentTime);
    XFlush(display_);
    if (window_)
        window_->capture_lost();
}

void WindowX11::hide_pointer()
{
    if (!handle_ || pointerHidden_)
        return;
    pointerHidden_ = true;
    XDefineCursor(display_, handle_, blank_);
    XFlush(display_);
}

void WindowX11::show_pointer()
{
    if (!handle_ || !pointerHidden_)
        return;
    pointerHidden_ = false;
    XUndefineCursor(display_, handle_);
    XFlush(display_);
}

Point WindowX11::pointer_position()
{
    ::Window root = 0;
    ::Window child = 0;
    int rootX = 0, rootY = 0, x = 0, y = 0;
    unsigned int mask = 0;
    if (!handle_ || !XQueryPointer(display_, handle_, &root, &child, &rootX, &rootY, &x, &y, &mask))
        return {};
    return {x, y};
}

void WindowX11::warp_pointer(Point point)
{
    if (!handle_)
        return;
    XWarpPointer(display_, None, handle_, 0, 0, 0, 0, point.x, point.y);
    XFlush(display_);
}

int WindowX11::start_timer(int milliseconds)
{
    if (!handle_)
        return 0;
    const double period = std::max(milliseconds, 1) * 0.001;
    const int id = g_nextTimerId++;
    timers_[id] = {period, now_seconds() + period};
    return id;
}

bool WindowX11::kill_timer(int platformId)
{
    return timers_.erase(platformId) != 0;
}

int WindowX11::open_text_editor(const Rect& rect, const std::string& text, const TextStyle& style)
{
    if (!handle_)
        return -1;
    return field_.open(display_, handle_, gc_, rect, text, style);
}

std::string WindowX11::close_text_editor()
{
    return field_.close();
}

double WindowX11::system_scale(void*)
{
    return desktop_scale();
}

void WindowX11::service()
{
    // A tick may lead back here (a host idle inside a dialog): once at a time.
    if (!handle_ || servicing_)
        return;
    servicing_ = true;
    // The host may destroy its window, and ours with it, before the news arrives: a request on
    // it must not end the host's process through Xlib's default error handler.
    X11ErrorTrap trap(display_);
    while (handle_ && XPending(display_)) {
        XEvent event;
        XNextEvent(display_, &event);
        handleEvent(event);
    }
    dropGrabOfHiddenWindow();
    runTimers();
    field_.tick(now_seconds());
    paintDirty();
    servicing_ = false;
}

void WindowX11::dropGrabOfHiddenWindow()
{
    // A host that hides its window (unmaps it or an ancestor) ends our grab on the server
    // without an event that reaches us. Asked only while a grab is held: one round trip per
    // service during a drag, nothing otherwise.
    if (!captured_ || !handle_)
        return;
    XWindowAttributes attributes;
    if (XGetWindowAttributes(display_, handle_, &attributes) && attributes.map_state == IsViewable)
        return;
    captured_ = false;
    if (window_)
        window_->capture_lost();
}

void WindowX11::handleEvent(XEvent& event)
{
    if (field_.is_open() && event.xany.window == field_.handle()) {
        const TextFieldX11::Outcome outcome = field_.handle_event(event);
        if (outcome != TextFieldX11::Outcome::kEditing && window_)
            window_->text_editor_closed(outcome == TextFieldX11::Outcome::kAccepted);
        return;
    }
    switch (event.type) {
    case Expose:
        dirty_.push_back({event.xexpose.x, event.xexpose.y, event.xexpose.x + event.xexpose.width,
                          event.xexpose.y + event.xexpose.height});
        break;
    case ButtonPress:
    case ButtonRelease: {
        const int bit = buttonBit(event.xbutton.button);
        if (!bit || !window_)
            break;
        // A press elsewhere takes the focus from an open text field: it commits first.
        if (event.type == ButtonPress && field_.is_open())
            window_->text_editor_closed(true);
        int doubleClick = 0;
        if (event.type == ButtonPress) {
            buttons_ |= bit;
            if (event.xbutton.button == lastPressButton_ && event.xbutton.time - lastPressTime_ < kDoubleClickMilliseconds)
                doubleClick = bit;
            lastPressButton_ = event.xbutton.button;
            lastPressTime_ = event.xbutton.time;
        } else {
            buttons_ &= ~bit;
        }
        window_->mouse_click({event.xbutton.x, event.xbutton.y}, buttons_, modifiersOf(event.xbutton.state), doubleClick);
        break;
    }
    case MotionNotify:
        // A button released while the window did not see it is up again here.
        buttons_ = buttonsOf(event.xmotion.state);
        if (window_)
            window_->mouse_move({event.xmotion.x, event.xmotion.y}, buttons_);
        break;
    case DestroyNotify:
        if (event.xdestroywindow.window == handle_) {
            handle_ = 0;
            tile_.detach();
            if (window_)
                window_->platform_destroyed();
        }
        break;
    default:
        break;
    }
}

void WindowX11::runTimers()
{
    const double now = now_seconds();
    std::vector<int> due;
    for (auto& [id, timer] : timers_) {
        if (timer.due > now)
            continue;
        due.push_back(id);
        // One tick however late: a host that idles rarely gets no burst of catching up.
        timer.due = std::max(timer.due + timer.period, now + timer.period * 0.5);
    }
    for (int id : due)
        if (timers_.count(id))
            WindowInterface::platform_tick(id);
}

void WindowX11::paintDirty()
{
    if (!handle_ || dirty_.empty() || !window_)
        return;
    const std::vector<Rect> rects = std::move(dirty_);
    dirty_.clear();
    for (const Rect& rect : rects)
        window_->paint(rect);
    XFlush(display_);
}

} // namespace pengui
