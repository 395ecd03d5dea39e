// The editor in an X window of its own inside a parent window, as a Linux host gives it: the
// same pixels as the headless window, a knob dragged with the X server's test input reaching
// the host, and nothing left on the server once closed. Runs under xvfb-run.
#include "EditorFixture.h"

#include "WindowX11.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <chrono>
#include <cstdint>
#include <thread>

using namespace editor_test;

namespace {

constexpr int kCutoff = 69;

std::unique_ptr<pengui::PlatformWindowInterface> makeX11Window()
{
    return std::make_unique<pengui::WindowX11>();
}

// The host's idle, as hosts call it: every 10 ms for `milliseconds`.
void idleFor(Effect& effect, int milliseconds)
{
    for (int elapsed = 0; elapsed < milliseconds; elapsed += 10) {
        effect.dispatch(effEditIdle);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

int childrenOf(Display* display, ::Window window)
{
    ::Window root = 0, parent = 0;
    ::Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, window, &root, &parent, &children, &count))
        return -1;
    if (children)
        XFree(children);
    return static_cast<int>(count);
}

::Window firstChild(Display* display, ::Window window)
{
    ::Window root = 0, parent = 0;
    ::Window* children = nullptr;
    unsigned int count = 0;
    ::Window child = 0;
    if (XQueryTree(display, window, &root, &parent, &children, &count) && count > 0)
        child = children[0];
    if (children)
        XFree(children);
    return child;
}

} // namespace

TEST_F(EditorTest, X11TheEditorInAHostsXWindowDrawsAsHeadlessAndTakesThePointer)
{
    // The reference, then the headless editor goes (and with it the headless clock).
    const std::vector<std::uint32_t> reference = window().frame();
    const Point knob = centre(control(kCutoff));
    const pengui::Size size{testSkin().size.w, testSkin().size.h};
    close();

    Display* display = XOpenDisplay(nullptr);
    ASSERT_NE(display, nullptr) << "no X display: run under xvfb-run";
    const ::Window parent = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 800, 800, 0, 0, 0);
    XMapWindow(display, parent);
    XSync(display, False);

    AEffect* created = mppi::createEffect(FakeHost::callback, testSkin(), makeX11Window, true);
    ASSERT_NE(created, nullptr);
    Effect effect(created);
    effect.start();
    EXPECT_EQ(created->flags & effFlagsHasEditor, effFlagsHasEditor);
    EXPECT_EQ(effect.dispatch(effEditOpen, 0, 0, nullptr), 0) << "no parent window";
    EXPECT_EQ(effect.dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(std::uintptr_t{0x7654321})), 0)
        << "a parent that is no window";
    ASSERT_EQ(effect.dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(static_cast<std::uintptr_t>(parent))), 1);
    idleFor(effect, 300);
    ASSERT_EQ(childrenOf(display, parent), 1);
    const ::Window editor = firstChild(display, parent);

    XImage* image = XGetImage(display, editor, 0, 0, static_cast<unsigned>(size.w), static_cast<unsigned>(size.h), AllPlanes, ZPixmap);
    ASSERT_NE(image, nullptr);
    int different = 0;
    for (int y = 0; y < size.h; ++y)
        for (int x = 0; x < size.w; ++x)
            different += (XGetPixel(image, x, y) & 0xFFFFFFu) != (reference[static_cast<std::size_t>(y * size.w + x)] & 0xFFFFFFu);
    XDestroyImage(image);
    EXPECT_EQ(different, 0) << "the X window shows what the headless window shows";

    // A knob dragged up with the server's test input: the host hears the cutoff move.
    host_.clear();
    XTestFakeMotionEvent(display, -1, knob.x, knob.y, 0);
    XTestFakeButtonEvent(display, 1, True, 0);
    XFlush(display);
    idleFor(effect, 50);
    for (int step = 0; step < 10; ++step) {
        XTestFakeRelativeMotionEvent(display, 0, -4, 0);
        XFlush(display);
        idleFor(effect, 30);
    }
    XTestFakeButtonEvent(display, 1, False, 0);
    XFlush(display);
    idleFor(effect, 500);
    EXPECT_GE(automations(kCutoff), 1);

    // Closed, reopened, and closed with the effect: nothing stays on the server.
    effect.dispatch(effEditClose);
    XSync(display, False);
    EXPECT_EQ(childrenOf(display, parent), 0);
    ASSERT_EQ(effect.dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(static_cast<std::uintptr_t>(parent))), 1);
    idleFor(effect, 100);
    EXPECT_EQ(childrenOf(display, parent), 1);
    effect.close();
    XSync(display, False);
    EXPECT_EQ(childrenOf(display, parent), 0);

    XDestroyWindow(display, parent);
    XCloseDisplay(display);
}
