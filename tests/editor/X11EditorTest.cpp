// The editor in an X window of its own inside a parent window, as a Linux host gives it, driven
// with the X server's test input as a user would: the same pixels as the headless window for the
// same state, drags with the pointer hidden and put back, the text field's keys, a preset glide
// on the window's own timers, and nothing left on the server once closed. Runs under xvfb-run.
#include "EditorFixture.h"

#include "GuiParam.h"
#include "NumericParamMgr.h"
#include "PluginModule.h"
#include "SkinPlacement.h"
#include "WindowX11.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XRes.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xfixes.h>
#include <X11/keysym.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <algorithm>
#include <filesystem>
#include <limits>
#include <map>
#include <thread>

using namespace editor_test;

namespace {

constexpr int kCutoff = 69;

// The last X11 window made, for what only the window can tell.
pengui::WindowX11* g_lastWindow = nullptr;

std::unique_ptr<pengui::PlatformWindowInterface> makeX11Window()
{
    auto window = std::make_unique<pengui::WindowX11>();
    g_lastWindow = window.get();
    return window;
}

std::unique_ptr<pengui::PlatformWindowInterface> makeX11WindowWithoutSharedMemory()
{
    return std::make_unique<pengui::WindowX11>(false);
}

void* handleOf(::Window window)
{
    return reinterpret_cast<void*>(static_cast<std::uintptr_t>(window));
}

// The children of an X window, in stacking order.
std::vector<::Window> childrenOf(Display* display, ::Window window)
{
    ::Window root = 0, parent = 0;
    ::Window* children = nullptr;
    unsigned int count = 0;
    std::vector<::Window> found;
    if (XQueryTree(display, window, &root, &parent, &children, &count))
        found.assign(children, children + count);
    if (children)
        XFree(children);
    return found;
}

// Every client's resources of each type on the server ("WINDOW", "PIXMAP", "GC", ...).
std::map<std::string, int> serverResources(Display* display)
{
    std::map<std::string, int> counts;
    XResClient* clients = nullptr;
    int clientCount = 0;
    if (!XResQueryClients(display, &clientCount, &clients))
        return counts;
    for (int c = 0; c < clientCount; ++c) {
        XResType* types = nullptr;
        int typeCount = 0;
        if (!XResQueryClientResources(display, clients[c].resource_base, &typeCount, &types))
            continue;
        for (int t = 0; t < typeCount; ++t) {
            char* name = XGetAtomName(display, types[t].resource_type);
            counts[name ? name : "?"] += static_cast<int>(types[t].count);
            if (name)
                XFree(name);
        }
        XFree(types);
    }
    XFree(clients);
    return counts;
}

// A Linux host's side: its own display connection and a top-level window per editor, idle
// calls as hosts make them, and a user's hand through the XTest extension.
class X11Host {
public:
    X11Host() : display_(XOpenDisplay(nullptr)) {}
    ~X11Host()
    {
        if (!display_)
            return;
        for (::Window window : parents_)
            XDestroyWindow(display_, window);
        XCloseDisplay(display_);
    }
    Display* display() const { return display_; }

    ::Window newParent(pengui::Size size)
    {
        const ::Window parent =
            XCreateSimpleWindow(display_, DefaultRootWindow(display_), 0, 0, static_cast<unsigned>(size.w),
                                static_cast<unsigned>(size.h), 0, 0, 0);
        XMapWindow(display_, parent);
        XSync(display_, False);
        parents_.push_back(parent);
        return parent;
    }
    // The host destroys its window with the editor still open in it.
    void destroyParent(::Window parent)
    {
        parents_.erase(std::find(parents_.begin(), parents_.end(), parent));
        XDestroyWindow(display_, parent);
        XSync(display_, False);
    }

    // The host's idle, every 10 ms for `milliseconds`, to each effect in turn.
    static void idleFor(std::initializer_list<Effect*> effects, int milliseconds)
    {
        for (int elapsed = 0; elapsed < milliseconds; elapsed += 10) {
            for (Effect* effect : effects)
                effect->dispatch(effEditIdle);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }

    // Pointer positions are relative to `window`'s top-left, which sits at the root's origin
    // plus its parent's offset.
    void moveTo(::Window window, Point point)
    {
        int rootX = 0, rootY = 0;
        ::Window child = 0;
        XTranslateCoordinates(display_, window, DefaultRootWindow(display_), point.x, point.y, &rootX, &rootY, &child);
        XTestFakeMotionEvent(display_, -1, rootX, rootY, 0);
        XFlush(display_);
    }
    void moveBy(int dx, int dy)
    {
        XTestFakeRelativeMotionEvent(display_, dx, dy, 0);
        XFlush(display_);
    }
    void button(unsigned int button, bool down)
    {
        XTestFakeButtonEvent(display_, button, down ? True : False, 0);
        XFlush(display_);
    }
    void key(KeySym symbol)
    {
        const KeyCode code = XKeysymToKeycode(display_, symbol);
        XTestFakeKeyEvent(display_, code, True, 0);
        XTestFakeKeyEvent(display_, code, False, 0);
        XFlush(display_);
    }
    void type(const std::string& text)
    {
        for (char c : text)
            key(static_cast<KeySym>(static_cast<unsigned char>(c)));
    }
    Point pointerIn(::Window window)
    {
        ::Window root = 0, child = 0;
        int rootX = 0, rootY = 0, x = 0, y = 0;
        unsigned int mask = 0;
        XQueryPointer(display_, window, &root, &child, &rootX, &rootY, &x, &y, &mask);
        return {x, y};
    }
    // Whether the cursor on screen shows any pixel.
    bool cursorVisible()
    {
        XFixesCursorImage* image = XFixesGetCursorImage(display_);
        if (!image)
            return true;
        bool visible = false;
        for (int i = 0; i < image->width * image->height; ++i)
            visible |= (image->pixels[i] >> 24) != 0;
        XFree(image);
        return visible;
    }
    std::vector<std::uint32_t> pixels(::Window window, pengui::Size size)
    {
        std::vector<std::uint32_t> frame;
        XImage* image = XGetImage(display_, window, 0, 0, static_cast<unsigned>(size.w), static_cast<unsigned>(size.h),
                                  AllPlanes, ZPixmap);
        if (!image)
            return frame;
        for (int y = 0; y < size.h; ++y)
            for (int x = 0; x < size.w; ++x)
                frame.push_back(static_cast<std::uint32_t>(XGetPixel(image, x, y)) & 0xFFFFFFu);
        XDestroyImage(image);
        return frame;
    }

private:
    Display* display_;
    std::vector<::Window> parents_;
};

int differences(const std::vector<std::uint32_t>& shown, const std::vector<std::uint32_t>& reference)
{
    if (shown.size() != reference.size())
        return -1;
    int different = 0;
    for (std::size_t i = 0; i < shown.size(); ++i)
        different += shown[i] != (reference[i] & 0xFFFFFFu);
    return different;
}

// The headless editor gives the references and the points to press; then it goes, and the X11
// editor is built in its place (a headless window freezes the toolkit's clock while it lives).
class X11EditorTest : public EditorTest {
protected:
    void openX11()
    {
        close();
        ASSERT_NE(x_.display(), nullptr) << "no X display: run under xvfb-run";
        AEffect* created = mppi::createEffect(FakeHost::callback, testSkin(), makeX11Window, true);
        ASSERT_NE(created, nullptr);
        x11_ = std::make_unique<Effect>(created);
        x11_->start();
        EXPECT_EQ(created->flags & effFlagsHasEditor, effFlagsHasEditor);
        parent_ = x_.newParent(size());
        ASSERT_EQ(x11_->dispatch(effEditOpen, 0, 0, handleOf(parent_)), 1);
        idle(300);
        const std::vector<::Window> children = childrenOf(x_.display(), parent_);
        ASSERT_EQ(children.size(), 1u);
        editor_ = children[0];
        host_.clear();
    }
    void TearDown() override
    {
        if (x11_)
            x11_->close();
        EditorTest::TearDown();
    }
    static pengui::Size size() { return {testSkin().size.w, testSkin().size.h}; }
    void idle(int milliseconds) { X11Host::idleFor({x11_.get()}, milliseconds); }
    void clickAt(Point point, unsigned int button = 1)
    {
        x_.moveTo(editor_, point);
        x_.button(button, true);
        idle(30);
        x_.button(button, false);
        idle(60);
    }
    // Presses at `from` and moves by (dx, dy) in `steps` steps, holding the button.
    void holdAndMove(Point from, int dx, int dy, int steps = 10, unsigned int button = 1)
    {
        x_.moveTo(editor_, from);
        x_.button(button, true);
        idle(50);
        for (int step = 0; step < steps; ++step) {
            x_.moveBy(dx / steps, dy / steps);
            idle(30);
        }
    }
    // The same, then lets go.
    void dragFrom(Point from, int dx, int dy, unsigned int button = 1)
    {
        holdAndMove(from, dx, dy, 10, button);
        x_.button(button, false);
    }

    X11Host x_;
    std::unique_ptr<Effect> x11_;
    ::Window parent_ = 0;
    ::Window editor_ = 0;
};

} // namespace

TEST_F(X11EditorTest, ShowsWhatTheHeadlessWindowShowsAndTakesThePointer)
{
    const std::vector<std::uint32_t> defaultFrame = window().frame();
    effect_->dispatch(effSetProgram, 0, 6);
    tick();
    const Point knob = centre(control(kCutoff));
    click(control(kCutoff));
    window().paint_pending();
    const std::vector<std::uint32_t> selectedFrame = window().frame();
    const Point feedback = handle(control(kLine1Feedback));
    openX11();

    EXPECT_TRUE(g_lastWindow->tile_shared()) << "Xvfb offers shared memory";
    EXPECT_EQ(differences(x_.pixels(editor_, size()), defaultFrame), 0) << "the default state";
    x11_->dispatch(effSetProgram, 0, 6);
    idle(100);
    clickAt(knob);
    idle(100);
    EXPECT_EQ(differences(x_.pixels(editor_, size()), selectedFrame), 0) << "program 6, the cutoff selected";

    // A knob dragged up: the host hears the cutoff; the pointer hides and comes back where it
    // was pressed.
    host_.clear();
    holdAndMove(knob, 0, -40);
    EXPECT_FALSE(x_.cursorVisible()) << "hidden while dragging";
    x_.button(1, false);
    idle(400);
    EXPECT_TRUE(x_.cursorVisible()) << "shown after the release";
    EXPECT_EQ(x_.pointerIn(editor_), knob) << "put back where the drag began";
    EXPECT_GE(automations(kCutoff), 1);

    // A fader dragged with the left button moves only its own line; with the right button it
    // moves line 2's too.
    host_.clear();
    dragFrom(feedback, 0, -30);
    idle(1500);
    EXPECT_GE(automations(kLine1Feedback), 1);
    EXPECT_EQ(automations(kLine1Feedback + kLineParams), 0) << "a left drag is not linked";
    host_.clear();
    dragFrom(feedback, 0, 30, 3);
    idle(1500);
    EXPECT_GE(automations(kLine1Feedback), 1);
    EXPECT_GE(automations(kLine1Feedback + kLineParams), 1) << "the right drag moved line 2's feedback";
}

TEST_F(X11EditorTest, TheTextFieldTakesKeysAndClosesOnEnterEscapeAndAPressElsewhere)
{
    // The headless editor takes the same keys: its cutoff after them is the reference.
    click(control(kCutoff));
    ControlInterface& valueBox = gui().detail().selected()->valueBox();
    const Point box = centre(valueBox);
    const Point knob = centre(control(kCutoff));
    click(valueBox);
    const pengui::Rect field = window().editor_rect();
    window().type("3456");
    window().press_key(pengui::TextLineEditor::Key::kHome);
    window().press_key(pengui::TextLineEditor::Key::kDelete);
    window().press_key(pengui::TextLineEditor::Key::kEnd);
    window().press_key(pengui::TextLineEditor::Key::kBackspace);
    window().press_key(pengui::TextLineEditor::Key::kLeft);
    window().type("7");
    ASSERT_EQ(window().editor_text(), "475");
    window().press_enter();
    const float typed = param(kCutoff);
    openX11();

    clickAt(knob);
    clickAt(box);
    std::vector<::Window> fields = childrenOf(x_.display(), editor_);
    ASSERT_EQ(fields.size(), 1u) << "the text field opened over the box";
    XWindowAttributes attributes{};
    XGetWindowAttributes(x_.display(), fields[0], &attributes);
    EXPECT_EQ((pengui::Rect{attributes.x, attributes.y, attributes.x + attributes.width, attributes.y + attributes.height}),
              field);
    x_.type("3456");
    for (KeySym key : {XK_Home, XK_Delete, XK_End, XK_BackSpace, XK_Left})
        x_.key(key);
    x_.type("7");
    x_.key(XK_Return);
    idle(100);
    EXPECT_TRUE(childrenOf(x_.display(), editor_).empty()) << "Enter closed the field";
    EXPECT_FLOAT_EQ(x11_->get()->getParameter(x11_->get(), kCutoff), typed) << "the same value as typed headless";
    EXPECT_GE(automations(kCutoff), 1);

    host_.clear();
    clickAt(box);
    x_.type("9000");
    x_.key(XK_Escape);
    idle(100);
    EXPECT_TRUE(childrenOf(x_.display(), editor_).empty());
    EXPECT_EQ(automations(kCutoff), 0) << "Escape cancels";

    clickAt(box);
    x_.type("9000");
    clickAt(knob);
    EXPECT_TRUE(childrenOf(x_.display(), editor_).empty());
    EXPECT_GT(x11_->get()->getParameter(x11_->get(), kCutoff), typed) << "a press elsewhere commits 9000";
}

TEST_F(X11EditorTest, APresetRecallGlidesOnTheWindowsTimerOnceHoweverOftenTheHostIdles)
{
    const Point preset = centre(miscControl("PresetNumberListener", 1));
    const Point recallBox = centre(miscControl("PresetTimeDisplayListener"));
    openX11();
    clickAt(recallBox);
    x_.type("2");
    x_.key(XK_Return);
    idle(100);

    // The editor seeds each preset from a different program: a recall changes parameters.
    host_.clear();
    clickAt(preset);
    // A host idling from two sources at once (its idle timer and its event loop), for a second
    // or a little more on a busy machine.
    const auto begun = std::chrono::steady_clock::now();
    while (std::chrono::steady_clock::now() - begun < std::chrono::seconds(1)) {
        x11_->dispatch(effEditIdle);
        x11_->dispatch(effEditIdle);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - begun).count();
    // Each step automates every parameter the glide moves.
    std::map<VstInt32, int> automated;
    for (const FakeHost::Call& call : host_.calls())
        automated[call.index] += call.opcode == audioMasterAutomate;
    int steps = 0;
    for (const auto& [index, count] : automated)
        steps = std::max(steps, count);
    EXPECT_GE(steps, 5) << "the glide steps on the 0.1 s timer";
    EXPECT_LE(steps, static_cast<int>(elapsed / 0.1) + 2) << "no double ticks in " << elapsed << " s";

    // Closing the window stops the glide's timer and ends its gestures.
    x11_->dispatch(effEditClose);
    EXPECT_EQ(host_.gestureFaults(), "");
    host_.clear();
    idle(300);
    EXPECT_EQ(host_.count(audioMasterAutomate), 0);
}

TEST_F(X11EditorTest, AWindowHiddenMidDragEndsTheGestureAndThePointerMovesNothingAfter)
{
    const Point knob = centre(control(kCutoff));
    openX11();
    auto heard = [&] { return host_.count(audioMasterAutomate, kCutoff); };

    // The host hides its window while the knob is held, the button goes up elsewhere, and the
    // window comes back: moving the pointer without a button turns nothing.
    holdAndMove(knob, 0, -20, 5);
    ASSERT_GE(heard(), 1);
    XUnmapWindow(x_.display(), parent_);
    XSync(x_.display(), False);
    idle(100);
    x_.button(1, false);
    idle(1200);
    EXPECT_EQ(host_.gestureFaults(), "") << "the gesture ended with the window";
    XMapWindow(x_.display(), parent_);
    XSync(x_.display(), False);
    idle(200);
    const int before = heard();
    x_.moveTo(editor_, knob);
    for (int step = 0; step < 10; ++step) {
        x_.moveBy(0, -6);
        idle(30);
    }
    idle(300);
    EXPECT_EQ(heard(), before) << "the knob no longer follows the pointer";
    EXPECT_TRUE(x_.cursorVisible());

    // The button released where the window never sees it, the window staying: the next motion
    // without it ends the gesture as the release would have.
    holdAndMove(knob, 0, -8, 1);
    XGrabPointer(x_.display(), DefaultRootWindow(x_.display()), False, ButtonReleaseMask, GrabModeAsync, GrabModeAsync,
                 None, None, CurrentTime);
    x_.button(1, false);
    XUngrabPointer(x_.display(), CurrentTime);
    XFlush(x_.display());
    idle(50);
    x_.moveBy(0, -8);
    idle(1200);
    const int settled = heard();
    x_.moveBy(0, -30);
    idle(300);
    EXPECT_EQ(heard(), settled);
    x11_->dispatch(effEditClose);
    EXPECT_EQ(host_.gestureFaults(), "");
}

TEST_F(X11EditorTest, OddParentsCloseReopenTwoInstancesAndEffCloseLeaveNothingOnTheServer)
{
    close();
    Display* display = x_.display();
    ASSERT_NE(display, nullptr) << "no X display: run under xvfb-run";
    const ::Window first = x_.newParent(size());
    const ::Window second = x_.newParent(size());
    const std::map<std::string, int> before = serverResources(display);
    ASSERT_GT(before.count("WINDOW"), 0u) << "the server counts resources";

    Effect a(mppi::createEffect(FakeHost::callback, testSkin(), makeX11Window, true));
    // The second draws without shared memory: both ways give the same picture.
    Effect b(mppi::createEffect(FakeHost::callback, testSkin(), makeX11WindowWithoutSharedMemory, true));
    a.start();
    b.start();
    EXPECT_EQ(a.dispatch(effEditOpen, 0, 0, nullptr), 0) << "no parent window";
    EXPECT_EQ(a.dispatch(effEditOpen, 0, 0, handleOf(0x7654321)), 0) << "a parent that is no window";
    a.dispatch(effEditClose);
    a.dispatch(effEditIdle);

    // Two editors side by side, each on its own connection.
    ASSERT_EQ(a.dispatch(effEditOpen, 0, 0, handleOf(first)), 1);
    ASSERT_EQ(b.dispatch(effEditOpen, 0, 0, handleOf(second)), 1);
    ASSERT_EQ(a.dispatch(effEditOpen, 0, 0, handleOf(first)), 1) << "a second open keeps the window";
    X11Host::idleFor({&a, &b}, 200);
    EXPECT_GT(serverResources(display)["WINDOW"], before.at("WINDOW")) << "the count sees the editors";
    EXPECT_EQ(childrenOf(display, first).size(), 1u);
    EXPECT_EQ(childrenOf(display, second).size(), 1u);
    // The host windows lie on top of each other (the screen holds one whole editor): each is
    // raised and repainted from its expose events before it is read.
    const ::Window editorB = childrenOf(display, second)[0];
    XRaiseWindow(display, first);
    XSync(display, False);
    X11Host::idleFor({&a, &b}, 200);
    const std::vector<std::uint32_t> shownA = x_.pixels(childrenOf(display, first)[0], size());
    XRaiseWindow(display, second);
    XSync(display, False);
    X11Host::idleFor({&a, &b}, 200);
    EXPECT_EQ(x_.pixels(editorB, size()), shownA) << "the same state, the same picture";

    a.dispatch(effEditClose);
    XSync(display, False);
    EXPECT_TRUE(childrenOf(display, first).empty());
    ASSERT_EQ(a.dispatch(effEditOpen, 0, 0, handleOf(first)), 1);
    X11Host::idleFor({&a, &b}, 200);
    EXPECT_EQ(childrenOf(display, first).size(), 1u) << "reopened";
    EXPECT_EQ(x_.pixels(editorB, size()), shownA) << "the other instance is untouched";

    // The host destroys its window before closing the editor; the editor keeps idling meanwhile.
    const ::Window doomed = x_.newParent(size());
    Effect c(mppi::createEffect(FakeHost::callback, testSkin(), makeX11Window, true));
    c.start();
    ASSERT_EQ(c.dispatch(effEditOpen, 0, 0, handleOf(doomed)), 1);
    X11Host::idleFor({&c}, 100);
    c.dispatch(effSetProgram, 0, 6);
    x_.destroyParent(doomed);
    X11Host::idleFor({&c}, 100);
    c.dispatch(effEditClose);
    c.close();

    // The effect closed with its editor open, then the other one closed as hosts do.
    b.close();
    a.dispatch(effEditClose);
    a.close();
    XSync(display, False);
    EXPECT_TRUE(childrenOf(display, first).empty());
    EXPECT_TRUE(childrenOf(display, second).empty());
    EXPECT_EQ(serverResources(display), before) << "no window, pixmap, GC or cursor is left";
}

namespace {

// The desktop's resources on the virtual X server, as a desktop's settings daemon sets them.
void setResources(const std::string& resources)
{
    const std::string command = resources.empty() ? "xrdb -nocpp -remove" : "echo '" + resources + "' | xrdb -nocpp -load";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
}

pengui::Size scaledSize(float scale)
{
    return {skin_layout::scaled(testSkin().size.w, scale), skin_layout::scaled(testSkin().size.h, scale)};
}

} // namespace

TEST_F(X11EditorTest, TheDesktopsDpiAndTheHostsContentScaleSizeTheLinuxModulesEditor)
{
    // The headless editor at 2x gives the picture and the text field's place.
    gui().setHostScale(2.0);
    ASSERT_EQ(window().size(), scaledSize(2.0f));
    window().paint_all();
    const std::vector<std::uint32_t> twice = window().frame();
    click(control(kCutoff));
    click(gui().detail().selected()->valueBox());
    const pengui::Rect field = window().editor_rect();
    const Point knob = centre(control(kCutoff));
    const Point box = centre(gui().detail().selected()->valueBox());
    close();

    // The Linux module as a host loads it, its settings in the build folder.
    const std::filesystem::path config = std::filesystem::current_path() / "x11-scale" / SKIN_NAME;
    std::filesystem::remove_all(config);
    setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    unsetenv("GDK_SCALE");
    PluginModule module(ZORVANE_PLUGIN_PATH);
    ASSERT_TRUE(module.loaded()) << module.error();
    // Whatever fails, the module's effect goes before the module.
    struct CloseFirst {
        std::unique_ptr<Effect>& effect;
        ~CloseFirst()
        {
            if (effect)
                effect->close();
            effect.reset();
        }
    } closeFirst{x11_};
    auto newEffect = [&] {
        auto made = std::make_unique<Effect>(module.entry("VSTPluginMain")(FakeHost::callback));
        made->start();
        return made;
    };
    auto rect = [](Effect& effect) {
        ERect* rect = nullptr;
        effect.dispatch(effEditGetRect, 0, 0, &rect);
        return rect ? pengui::Size{rect->right - rect->left, rect->bottom - rect->top} : pengui::Size{};
    };
    auto announce = [](Effect& effect, float factor) {
        return effect.dispatch(effVendorSpecific, fourCharacterCode('P', 'r', 'e', 'S'), fourCharacterCode('A', 'e', 'C', 's'),
                               nullptr, factor);
    };

    // Xft.dpi 192 is 2x: the rect, the window and its pixels.
    setResources("Xft.dpi: 192");
    x11_ = newEffect();
    EXPECT_EQ(rect(*x11_), scaledSize(2.0f));
    parent_ = x_.newParent(scaledSize(2.0f));
    ASSERT_EQ(x11_->dispatch(effEditOpen, 0, 0, handleOf(parent_)), 1);
    idle(300);
    ASSERT_EQ(childrenOf(x_.display(), parent_).size(), 1u);
    editor_ = childrenOf(x_.display(), parent_)[0];
    EXPECT_EQ(differences(x_.pixels(editor_, scaledSize(2.0f)), twice), 0) << "the 2x editor";
    // The field opens over the 2x box, drawn with the 2x font.
    clickAt(knob);
    clickAt(box);
    const std::vector<::Window> fields = childrenOf(x_.display(), editor_);
    ASSERT_EQ(fields.size(), 1u);
    XWindowAttributes attributes{};
    XGetWindowAttributes(x_.display(), fields[0], &attributes);
    EXPECT_EQ((pengui::Rect{attributes.x, attributes.y, attributes.x + attributes.width, attributes.y + attributes.height}),
              field);
    x_.key(XK_Escape);
    idle(100);

    // The host's word comes before the desktop's, at once where the host resizes its window.
    host_.clear();
    EXPECT_EQ(announce(*x11_, 1.0f), 1);
    idle(200);
    EXPECT_EQ(host_.count(audioMasterSizeWindow), 1);
    XWindowAttributes shown{};
    XGetWindowAttributes(x_.display(), editor_, &shown);
    EXPECT_EQ((pengui::Size{shown.width, shown.height}), scaledSize(1.0f));
    // Factors that say nothing change nothing and harm nothing.
    for (float nonsense : {0.0f, -1.0f, std::numeric_limits<float>::quiet_NaN()})
        EXPECT_EQ(announce(*x11_, nonsense), 1);
    EXPECT_EQ(announce(*x11_, 100.0f), 1);
    idle(200);
    XGetWindowAttributes(x_.display(), editor_, &shown);
    EXPECT_EQ((pengui::Size{shown.width, shown.height}), scaledSize(2.0f)) << "100 is 2x";
    EXPECT_EQ(host_.gestureFaults(), "");
    x11_->dispatch(effEditClose);
    x11_->close();
    x11_.reset();

    // Without Xft.dpi, GDK_SCALE; with both, Xft.dpi alone (never the two multiplied).
    setResources("");
    setenv("GDK_SCALE", "2", 1);
    x11_ = newEffect();
    EXPECT_EQ(rect(*x11_), scaledSize(2.0f)) << "GDK_SCALE 2";
    setResources("Xft.dpi: 144");
    EXPECT_EQ(rect(*x11_), scaledSize(1.5f)) << "Xft.dpi 144 and GDK_SCALE 2";
    unsetenv("GDK_SCALE");
    setResources("");
    x11_->close();
    x11_.reset();
}
