#include "TextFieldX11.h"

#include "Clock.h"
#include "X11ErrorTrap.h"

#include <cmath>

#include <X11/Xutil.h>
#include <X11/keysym.h>

namespace pengui {

TextFieldX11::~TextFieldX11()
{
    close();
}

int TextFieldX11::open(Display* display, ::Window parent, GC gc, const Rect& rect, const std::string& text,
                       const TextStyle& style)
{
    close();
    if (rect.width() <= 0 || rect.height() <= 0)
        return -1;
    display_ = display;
    gc_ = gc;
    size_ = {rect.width(), rect.height()};
    style_ = style;
    editor_.open(text);
    pixels_ = std::make_unique<PixelBuffer>(size_.w, size_.h);
    const int screen = DefaultScreen(display_);
    image_ = XCreateImage(display_, DefaultVisual(display_, screen), 24, ZPixmap, 0,
                          reinterpret_cast<char*>(pixels_->pixels()), static_cast<unsigned>(size_.w),
                          static_cast<unsigned>(size_.h), 32, 0);
    if (!image_)
        return -1;
    handle_ = XCreateSimpleWindow(display_, parent, rect.x0, rect.y0, static_cast<unsigned>(size_.w),
                                  static_cast<unsigned>(size_.h), 0, 0, TextLineEditor::field_colour(style_));
    // Presses on the field stay with it instead of reaching the editor as a press elsewhere.
    XSelectInput(display_, handle_, ExposureMask | KeyPressMask | FocusChangeMask | ButtonPressMask | ButtonReleaseMask);
    XMapRaised(display_, handle_);
    {
        // The host's window may not be viewable yet; the field then waits for the focus.
        X11ErrorTrap trap(display_);
        XGetInputFocus(display_, &previousFocus_, &previousRevert_);
        XSetInputFocus(display_, handle_, RevertToParent, CurrentTime);
    }
    blinkStart_ = now_seconds();
    caretShown_ = true;
    paint();
    return 0;
}

std::string TextFieldX11::close()
{
    if (!handle_)
        return editor_.text();
    {
        // The focus goes back where it was, if that window still exists.
        X11ErrorTrap trap(display_);
        ::Window focus = 0;
        int revert = 0;
        XGetInputFocus(display_, &focus, &revert);
        if (focus == handle_ && previousFocus_ != None && previousFocus_ != PointerRoot)
            XSetInputFocus(display_, previousFocus_, previousRevert_, CurrentTime);
        XDestroyWindow(display_, handle_);
    }
    handle_ = 0;
    image_->data = nullptr; // the pixel buffer's own memory
    XDestroyImage(image_);
    image_ = nullptr;
    pixels_.reset();
    XFlush(display_);
    return editor_.text();
}

TextFieldX11::Outcome TextFieldX11::handle_event(XEvent& event)
{
    switch (event.type) {
    case Expose:
        if (event.xexpose.count == 0)
            paint();
        break;
    case KeyPress:
        return onKey(event.xkey);
    case FocusOut:
        // Grabs (a host's menu, a drag) move the focus only for a while.
        if (event.xfocus.mode == NotifyNormal && event.xfocus.detail != NotifyInferior &&
            event.xfocus.detail != NotifyPointer)
            return Outcome::kAccepted;
        break;
    default:
        break;
    }
    return Outcome::kEditing;
}

TextFieldX11::Outcome TextFieldX11::onKey(XKeyEvent& event)
{
    char bytes[32] = {};
    KeySym key = NoSymbol;
    const int length = XLookupString(&event, bytes, sizeof bytes, &key, nullptr);
    const bool shift = event.state & ShiftMask;
    using Key = TextLineEditor::Key;
    switch (key) {
    case XK_Return:
    case XK_KP_Enter:
        return Outcome::kAccepted;
    case XK_Escape:
        return Outcome::kCancelled;
    case XK_BackSpace:
        editor_.press(Key::kBackspace);
        break;
    case XK_Delete:
    case XK_KP_Delete:
        editor_.press(Key::kDelete);
        break;
    case XK_Left:
    case XK_KP_Left:
        editor_.press(Key::kLeft, shift);
        break;
    case XK_Right:
    case XK_KP_Right:
        editor_.press(Key::kRight, shift);
        break;
    case XK_Home:
    case XK_KP_Home:
        editor_.press(Key::kHome, shift);
        break;
    case XK_End:
    case XK_KP_End:
        editor_.press(Key::kEnd, shift);
        break;
    default:
        if (event.state & ControlMask) {
            if (key == XK_a || key == XK_A) {
                editor_.press(Key::kHome);
                editor_.press(Key::kEnd, true);
            }
        } else if (length > 0) {
            // XLookupString answers Latin-1, the fonts' own byte order.
            editor_.insert(std::string(bytes, static_cast<std::size_t>(length)));
        }
        break;
    }
    blinkStart_ = now_seconds();
    caretShown_ = true;
    paint();
    return Outcome::kEditing;
}

void TextFieldX11::tick(double now)
{
    if (!handle_)
        return;
    const bool shown = std::fmod(now - blinkStart_, 2 * kBlinkSeconds) < kBlinkSeconds;
    if (shown != caretShown_) {
        caretShown_ = shown;
        paint();
    }
}

void TextFieldX11::paint()
{
    if (!handle_)
        return;
    editor_.draw(*pixels_, size_, style_, caretShown_);
    XPutImage(display_, handle_, gc_, image_, 0, 0, 0, 0, static_cast<unsigned>(size_.w), static_cast<unsigned>(size_.h));
    XFlush(display_);
}

} // namespace pengui
