// The X11 platform window under the toolkit's window, on a virtual X server, driven with the
// server's test input: double clicks from the events' times, timers that tick once however
// late the host idles, and the text field's keys and focus.
#include "ToolkitFixture.h"

// Xlib's macros (None, Bool) come after the test framework's headers.
#include <gtest/gtest.h>

#include "WindowX11.h"
#include "X11DesktopScale.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <chrono>
#include <cstdint>
#include <thread>

using namespace toolkit_test;

namespace {

class Recorder : public ControlInterface {
public:
    Recorder() { box = {0, 0, 200, 150}; }
    int timer(float period) { return start_timer(period); }

    std::vector<int> presses; // each press's double-click flag
    int ticks = 0;

protected:
    int on_mouse_click(MouseClick& click) override
    {
        if (click.buttons)
            presses.push_back(click.double_click);
        return 0;
    }
    int on_notify(Notify&) override
    {
        ++ticks;
        return 0;
    }
};

class TextRequester : public MessageHandlerInterface {
public:
    int handle_message(MessageInterface& message) override
    {
        if (auto* finished = dynamic_cast<TextInputFinished*>(&message))
            results.emplace_back(finished->text, finished->accepted);
        return 0;
    }
    std::vector<std::pair<std::string, bool>> results;
};

class WindowX11Test : public ::testing::Test {
protected:
    void SetUp() override
    {
        display_ = XOpenDisplay(nullptr);
        ASSERT_NE(display_, nullptr) << "no X display: run under xvfb-run";
        parent_ = XCreateSimpleWindow(display_, DefaultRootWindow(display_), 0, 0, 200, 150, 0, 0, 0);
        XMapWindow(display_, parent_);
        XSync(display_, False);
        window_.set_window_size({200, 150});
        window_.set_size({200, 150});
        window_.set_control_root(&controls_);
        controls_.set_origin({0, 0});
        recorder_.set_position({0, 0});
        controls_.add_control(&recorder_);
        ASSERT_EQ(window_.show(reinterpret_cast<void*>(static_cast<std::uintptr_t>(parent_))), 0);
        serviceFor(100);
    }
    void TearDown() override
    {
        window_.close();
        if (display_) {
            XDestroyWindow(display_, parent_);
            XCloseDisplay(display_);
        }
    }
    // The host's idle every 10 ms.
    void serviceFor(int milliseconds)
    {
        for (int elapsed = 0; elapsed < milliseconds; elapsed += 10) {
            window_.service();
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    void click(unsigned int button)
    {
        XTestFakeMotionEvent(display_, -1, 50, 50, 0);
        XTestFakeButtonEvent(display_, button, True, 0);
        XTestFakeButtonEvent(display_, button, False, 0);
        XFlush(display_);
        serviceFor(30);
    }
    void key(KeySym symbol, bool control = false)
    {
        const KeyCode controlKey = XKeysymToKeycode(display_, XK_Control_L);
        if (control)
            XTestFakeKeyEvent(display_, controlKey, True, 0);
        XTestFakeKeyEvent(display_, XKeysymToKeycode(display_, symbol), True, 0);
        XTestFakeKeyEvent(display_, XKeysymToKeycode(display_, symbol), False, 0);
        if (control)
            XTestFakeKeyEvent(display_, controlKey, False, 0);
        XFlush(display_);
        serviceFor(20);
    }

    Display* display_ = nullptr;
    ::Window parent_ = 0;
    WindowInterface window_{std::make_unique<WindowX11>()};
    CtrlGroupItem controls_;
    Recorder recorder_;
};

} // namespace

TEST_F(WindowX11Test, TwoQuickPressesOfOneButtonMakeADoubleClick)
{
    click(1);
    click(1);
    serviceFor(WindowX11::kDoubleClickMilliseconds + 100);
    click(1);
    click(3);
    click(3);
    click(1);
    EXPECT_EQ(recorder_.presses, (std::vector<int>{0, 1, 0, 0, 2, 0})) << "left double, too slow, right double";
}

TEST_F(WindowX11Test, ATimerTicksOnceHoweverLateTheHostIdles)
{
    ASSERT_NE(recorder_.timer(0.05f), 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    window_.service();
    EXPECT_EQ(recorder_.ticks, 1) << "six periods late, one tick";
    recorder_.ticks = 0;
    const auto begun = std::chrono::steady_clock::now();
    while (std::chrono::steady_clock::now() - begun < std::chrono::milliseconds(500)) {
        window_.service();
        window_.service();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - begun).count();
    EXPECT_GE(recorder_.ticks, 7);
    EXPECT_LE(recorder_.ticks, static_cast<int>(elapsed / 0.05) + 1) << "50 ms ticks idled twice as often, " << elapsed << " s";
}

TEST_F(WindowX11Test, TheTextFieldEditsWithKeysAndCommitsWhenItLosesTheFocus)
{
    TextRequester requester;
    TextInputRequest request(&requester, "120", {10, 20, 60, 35});
    ASSERT_EQ(window_.handle_message(request), 0);
    serviceFor(50);
    EXPECT_TRUE(window_.platform().text_editor_open());
    key(XK_4);
    key(XK_2);
    key(XK_Home);
    key(XK_Right, false);
    key(XK_BackSpace);
    key(XK_a, true);
    key(XK_9);
    key(XK_KP_Enter);
    EXPECT_EQ(requester.results, (std::vector<std::pair<std::string, bool>>{{"9", true}})) << "Control+A selects all";

    ASSERT_EQ(window_.handle_message(request), 0);
    serviceFor(50);
    key(XK_5);
    key(XK_Escape);
    EXPECT_EQ(requester.results.back(), (std::pair<std::string, bool>{"5", false}));

    // The host takes the keyboard focus for its own window: the field commits and closes.
    ASSERT_EQ(window_.handle_message(request), 0);
    serviceFor(50);
    key(XK_End);
    key(XK_7);
    XSetInputFocus(display_, parent_, RevertToParent, CurrentTime);
    XFlush(display_);
    serviceFor(50);
    EXPECT_EQ(requester.results.back(), (std::pair<std::string, bool>{"1207", true}));
    EXPECT_FALSE(window_.platform().text_editor_open());
}

TEST(X11DesktopScaleTest, XftDpiOverNinetySixElseAWholeGdkScaleNeverBoth)
{
    EXPECT_DOUBLE_EQ(pengui::desktop_scale("Xft.dpi:\t192\n", nullptr), 2.0);
    EXPECT_DOUBLE_EQ(pengui::desktop_scale("Xft.antialias: 1\nXft.dpi: 144\n", "2"), 1.5) << "never multiplied";
    EXPECT_DOUBLE_EQ(pengui::desktop_scale("Xft.antialias: 1\n", "3"), 3.0);
    EXPECT_DOUBLE_EQ(pengui::desktop_scale(nullptr, "2"), 2.0);
    EXPECT_DOUBLE_EQ(pengui::desktop_scale("Xft.dpi: banana\n", "2"), 2.0);
    for (const char* nothing : {"", "1.5", "0", "-2", "2x", "99999999999999999999"})
        EXPECT_DOUBLE_EQ(pengui::desktop_scale(nullptr, nothing), 0.0) << nothing;
    EXPECT_DOUBLE_EQ(pengui::desktop_scale(nullptr, nullptr), 0.0);
}
