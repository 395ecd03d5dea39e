// The LV2 UI module as a host loads it: its descriptor from the built module, instantiated
// into the host's X window, shown port values, a user's drag written back as port values inside
// touch gestures, and clean failures. Runs under xvfb-run.
#include "ProductInfo.h"

#include <gtest/gtest.h>
#include <lv2/ui/ui.h>

// After gtest: Xlib's macros would clash with its names.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <dlfcn.h>
#include <png.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace {

// Line 1's filter cutoff, in hertz on its port; its feedback, in percent.
constexpr std::uint32_t kCutoff = 69;
constexpr std::uint32_t kFeedback = 64;
constexpr int kParamPorts = 121;

struct Point {
    int x;
    int y;
};

// What the host heard, in order.
struct Heard {
    enum Kind { kWrite, kGrab, kRelease };
    Kind kind;
    std::uint32_t port;
    float value;
};

// A host of LV2 UIs: the module's descriptor, a top-level window to embed in, its idle calls,
// the write, touch and resize features, and a user's hand through the XTest extension.
class UiHost {
public:
    UiHost() : display_(XOpenDisplay(nullptr))
    {
        module_ = dlopen(LV2_UI_MODULE, RTLD_NOW | RTLD_LOCAL);
        if (!module_)
            return;
        auto entry = reinterpret_cast<LV2UI_DescriptorFunction>(dlsym(module_, "lv2ui_descriptor"));
        descriptor_ = entry ? entry(0) : nullptr;
        if (descriptor_ && descriptor_->extension_data)
            idle_ = static_cast<const LV2UI_Idle_Interface*>(descriptor_->extension_data(LV2_UI__idleInterface));
    }
    ~UiHost()
    {
        destroy();
        if (display_) {
            if (parent_)
                XDestroyWindow(display_, parent_);
            XCloseDisplay(display_);
        }
        if (module_)
            dlclose(module_);
    }

    Display* display() const { return display_; }
    const LV2UI_Descriptor* descriptor() const { return descriptor_; }
    const LV2UI_Idle_Interface* idleInterface() const { return idle_; }
    ::Window parent() const { return parent_; }
    ::Window widget() const { return static_cast<::Window>(reinterpret_cast<std::uintptr_t>(widget_)); }
    LV2UI_Handle handle() const { return ui_; }
    std::vector<Heard>& heard() { return heard_; }
    Point resized() const { return resized_; }

    ::Window newParent()
    {
        parent_ = XCreateSimpleWindow(display_, DefaultRootWindow(display_), 0, 0, 800, 800, 0, 0, 0);
        XMapWindow(display_, parent_);
        XSync(display_, False);
        return parent_;
    }

    // The host closes its window with the UI still in it.
    void destroyParent()
    {
        XDestroyWindow(display_, parent_);
        XSync(display_, False);
        parent_ = 0;
    }

    // Instantiates the UI with the features given: the parent (0 for none), touch and resize.
    LV2UI_Handle instantiate(::Window parent, bool offerTouch = true, const char* pluginUri = product::kLv2Uri)
    {
        std::vector<const LV2_Feature*> features;
        const LV2_Feature parentFeature = {LV2_UI__parent, reinterpret_cast<void*>(static_cast<std::uintptr_t>(parent))};
        const LV2_Feature touchFeature = {LV2_UI__touch, &touch_};
        const LV2_Feature resizeFeature = {LV2_UI__resize, &resize_};
        if (parent)
            features.push_back(&parentFeature);
        if (offerTouch)
            features.push_back(&touchFeature);
        features.push_back(&resizeFeature);
        features.push_back(nullptr);
        ui_ = descriptor_->instantiate(descriptor_, pluginUri, LV2_BUNDLE, write, this, &widget_, features.data());
        return ui_;
    }
    void destroy()
    {
        if (ui_)
            descriptor_->cleanup(ui_);
        ui_ = nullptr;
    }

    void portEvent(std::uint32_t port, float value)
    {
        descriptor_->port_event(ui_, port, sizeof value, 0, &value);
    }
    // The host's idle, every 10 ms for `milliseconds`; each answers 0 while the UI is open.
    void idleFor(int milliseconds)
    {
        for (int elapsed = 0; elapsed < milliseconds; elapsed += 10) {
            EXPECT_EQ(idle_->idle(ui_), 0);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }

    std::vector<std::uint32_t> pixels()
    {
        std::vector<std::uint32_t> frame;
        XImage* image = XGetImage(display_, widget(), 0, 0, static_cast<unsigned>(resized_.x),
                                  static_cast<unsigned>(resized_.y), AllPlanes, ZPixmap);
        if (!image)
            return frame;
        for (int y = 0; y < resized_.y; ++y)
            for (int x = 0; x < resized_.x; ++x)
                frame.push_back(static_cast<std::uint32_t>(XGetPixel(image, x, y)) & 0xFFFFFFu);
        XDestroyImage(image);
        return frame;
    }

    void moveTo(Point point)
    {
        int rootX = 0, rootY = 0;
        ::Window child = 0;
        XTranslateCoordinates(display_, widget(), DefaultRootWindow(display_), point.x, point.y, &rootX, &rootY, &child);
        XTestFakeMotionEvent(display_, -1, rootX, rootY, 0);
        XFlush(display_);
    }
    void moveBy(int dx, int dy)
    {
        XTestFakeRelativeMotionEvent(display_, dx, dy, 0);
        XFlush(display_);
    }
    void button(bool down)
    {
        XTestFakeButtonEvent(display_, 1, down ? True : False, 0);
        XFlush(display_);
    }

    // The writes heard for `port`, in order.
    std::vector<float> writes(std::uint32_t port) const
    {
        std::vector<float> values;
        for (const Heard& event : heard_)
            if (event.kind == Heard::kWrite && event.port == port)
                values.push_back(event.value);
        return values;
    }

private:
    static void write(LV2UI_Controller controller, uint32_t port, uint32_t size, uint32_t protocol, const void* buffer)
    {
        auto* host = static_cast<UiHost*>(controller);
        float value = 0.0f;
        ASSERT_EQ(size, sizeof value);
        ASSERT_EQ(protocol, 0u);
        std::memcpy(&value, buffer, sizeof value);
        host->heard_.push_back({Heard::kWrite, port, value});
    }
    static void touch(LV2UI_Feature_Handle handle, uint32_t port, bool grabbed)
    {
        static_cast<UiHost*>(handle)->heard_.push_back({grabbed ? Heard::kGrab : Heard::kRelease, port, 0.0f});
    }
    static int resize(LV2UI_Feature_Handle handle, int width, int height)
    {
        static_cast<UiHost*>(handle)->resized_ = {width, height};
        return 0;
    }

    Display* display_;
    void* module_ = nullptr;
    const LV2UI_Descriptor* descriptor_ = nullptr;
    const LV2UI_Idle_Interface* idle_ = nullptr;
    ::Window parent_ = 0;
    LV2UI_Widget widget_ = nullptr;
    LV2UI_Handle ui_ = nullptr;
    LV2UI_Touch touch_ = {this, touch};
    LV2UI_Resize resize_ = {this, resize};
    std::vector<Heard> heard_;
    Point resized_ = {0, 0};
};

// The editor as the command-line host pictures it, as 0x00RRGGBB pixels; empty on failure.
std::vector<std::uint32_t> snapshot(const std::string& arguments)
{
    const std::string file = std::string(WORK_DIR) + "/snapshot.png";
    const std::string command = std::string(ZORVANE_CLI) + " snapshot " + file + " --skin wide " + arguments;
    std::vector<std::uint32_t> pixels;
    if (std::system(command.c_str()) != 0)
        return pixels;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, file.c_str()))
        return pixels;
    image.format = PNG_FORMAT_RGB;
    std::vector<png_byte> bytes(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, bytes.data(), 0, nullptr))
        return pixels;
    for (std::size_t i = 0; i + 2 < bytes.size(); i += 3)
        pixels.push_back(std::uint32_t{bytes[i]} << 16 | std::uint32_t{bytes[i + 1]} << 8 | bytes[i + 2]);
    return pixels;
}

int differences(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b)
{
    if (a.size() != b.size())
        return -1;
    int different = 0;
    for (std::size_t i = 0; i < a.size(); ++i)
        different += a[i] != b[i];
    return different;
}

bool painted(const std::vector<std::uint32_t>& frame)
{
    return std::any_of(frame.begin(), frame.end(), [](std::uint32_t pixel) { return pixel != 0; });
}

// The centre of the pixels that differ between two frames of `width` columns.
Point centreOfChange(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b, int width)
{
    int left = width, top = 1 << 30, right = -1, bottom = -1;
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
        if (a[i] == b[i])
            continue;
        const int x = static_cast<int>(i) % width, y = static_cast<int>(i) / width;
        left = std::min(left, x), right = std::max(right, x), top = std::min(top, y), bottom = std::max(bottom, y);
    }
    return {(left + right) / 2, (top + bottom) / 2};
}

class UiTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(host_.display(), nullptr) << "no X display: run under xvfb-run";
        ASSERT_NE(host_.descriptor(), nullptr) << "no UI descriptor in " << LV2_UI_MODULE;
        ASSERT_STREQ(host_.descriptor()->URI, product::kLv2UiUri);
        ASSERT_NE(host_.idleInterface(), nullptr);
    }
    // Opens the UI and idles until its first paint; answers the milliseconds that took.
    double open()
    {
        const ::Window parent = host_.newParent();
        const auto start = std::chrono::steady_clock::now();
        EXPECT_NE(host_.instantiate(parent), nullptr);
        if (!host_.handle())
            return -1.0;
        for (int tries = 0; tries < 500 && !painted(host_.pixels()); ++tries)
            EXPECT_EQ(host_.idleInterface()->idle(host_.handle()), 0);
        const std::chrono::duration<double, std::milli> taken = std::chrono::steady_clock::now() - start;
        return taken.count();
    }
    // Two cutoffs shown one after the other: the knob is where the pixels differ.
    Point cutoffKnob()
    {
        host_.portEvent(kCutoff, 200.0f);
        host_.idleFor(100);
        const std::vector<std::uint32_t> low = host_.pixels();
        host_.portEvent(kCutoff, 8000.0f);
        host_.idleFor(100);
        return centreOfChange(low, host_.pixels(), host_.resized().x);
    }

    UiHost host_;
};

TEST_F(UiTest, OpensInsideTheParentAtItsFixedSize)
{
    const double milliseconds = open();
    ASSERT_NE(host_.handle(), nullptr);
    std::printf("UI open time, instantiate to first paint: %.1f ms\n", milliseconds);
    RecordProperty("open_milliseconds", static_cast<int>(milliseconds));
    EXPECT_EQ(host_.resized().x, 700);
    EXPECT_EQ(host_.resized().y, 700);
    ::Window root = 0, parent = 0;
    ::Window* children = nullptr;
    unsigned int count = 0;
    ASSERT_TRUE(XQueryTree(host_.display(), host_.widget(), &root, &parent, &children, &count));
    if (children)
        XFree(children);
    EXPECT_EQ(parent, host_.parent()) << "the widget is the parent's child";
    host_.idleFor(100);
    EXPECT_TRUE(host_.heard().empty()) << "opening writes no port";
}

TEST_F(UiTest, ShowsPortValuesInThePortsUnits)
{
    open();
    ASSERT_NE(host_.handle(), nullptr);
    host_.portEvent(kCutoff, 200.0f);
    host_.idleFor(100);
    const std::vector<std::uint32_t> low = host_.pixels();
    host_.portEvent(kCutoff, 8000.0f);
    host_.idleFor(100);
    const std::vector<std::uint32_t> high = host_.pixels();
    EXPECT_NE(high, low) << "the knob moved";
    host_.portEvent(kCutoff, 200.0f);
    host_.idleFor(100);
    EXPECT_EQ(host_.pixels(), low) << "and came back";

    // What the editor does not take changes nothing: another format, another size, a port that
    // is not a parameter's, a value that is not a number.
    const float value = 8000.0f;
    const double wide = 8000.0;
    host_.descriptor()->port_event(host_.handle(), kCutoff, sizeof value, 1, &value);
    host_.descriptor()->port_event(host_.handle(), kCutoff, sizeof wide, 0, &wide);
    host_.descriptor()->port_event(host_.handle(), kCutoff, sizeof value, 0, nullptr);
    host_.portEvent(kParamPorts, 1.0f);
    host_.portEvent(kCutoff, std::nanf(""));
    host_.idleFor(100);
    EXPECT_EQ(host_.pixels(), low);
    EXPECT_TRUE(host_.heard().empty()) << "showing a port value writes nothing back";
}

TEST_F(UiTest, ShowsWhatTheVst2EditorShowsForTheSameState)
{
    open();
    ASSERT_NE(host_.handle(), nullptr);
    host_.idleFor(100);
    EXPECT_EQ(differences(host_.pixels(), snapshot("")), 0) << "a fresh plug-in's state";
    // Past the port's maximum: held at it, the parameter's top.
    host_.portEvent(kFeedback, 1e9f);
    host_.idleFor(100);
    EXPECT_EQ(differences(host_.pixels(), snapshot("--set 'D1 fdbk=1'")), 0) << "line 1's feedback at its top";
}

TEST_F(UiTest, ADragWritesPortValuesInsideATouchGesture)
{
    open();
    ASSERT_NE(host_.handle(), nullptr);
    const Point knob = cutoffKnob();
    host_.portEvent(kCutoff, 1000.0f);
    host_.idleFor(100);
    host_.heard().clear();

    host_.moveTo(knob);
    host_.button(true);
    host_.idleFor(50);
    for (int step = 0; step < 10; ++step) {
        host_.moveBy(0, -4);
        host_.idleFor(30);
    }
    host_.button(false);
    host_.idleFor(300);

    const std::vector<float> written = host_.writes(kCutoff);
    ASSERT_FALSE(written.empty()) << "the drag reached the port";
    EXPECT_GT(written.back(), 1000.0f) << "dragged up, in hertz";
    EXPECT_LE(written.back(), 22050.0f);
    const std::vector<Heard>& heard = host_.heard();
    ASSERT_GE(heard.size(), 3u);
    EXPECT_EQ(heard.front().kind, Heard::kGrab);
    EXPECT_EQ(heard.front().port, kCutoff);
    EXPECT_EQ(heard.back().kind, Heard::kRelease);
    EXPECT_EQ(heard.back().port, kCutoff);
    for (const Heard& event : heard)
        EXPECT_EQ(event.port, kCutoff) << "nothing else moved";

    // The host's echo of the last value written changes nothing and writes nothing.
    const std::vector<std::uint32_t> dragged = host_.pixels();
    host_.heard().clear();
    host_.portEvent(kCutoff, written.back());
    host_.idleFor(100);
    EXPECT_EQ(host_.pixels(), dragged);
    EXPECT_TRUE(host_.heard().empty());
}

TEST_F(UiTest, DestroyedMidGestureTheHostHearsTheEnd)
{
    open();
    ASSERT_NE(host_.handle(), nullptr);
    const Point knob = cutoffKnob();
    host_.heard().clear();
    host_.moveTo(knob);
    host_.button(true);
    host_.idleFor(50);
    for (int step = 0; step < 5; ++step) {
        host_.moveBy(0, -4);
        host_.idleFor(30);
    }
    ASSERT_FALSE(host_.writes(kCutoff).empty());
    ASSERT_EQ(host_.heard().front().kind, Heard::kGrab);
    ASSERT_NE(host_.heard().back().kind, Heard::kRelease) << "still held";

    host_.destroy();
    host_.button(false);
    XSync(host_.display(), False);
    ASSERT_FALSE(host_.heard().empty());
    EXPECT_EQ(host_.heard().back().kind, Heard::kRelease);
    EXPECT_EQ(host_.heard().back().port, kCutoff);
    const auto grabs = std::count_if(host_.heard().begin(), host_.heard().end(),
                                     [](const Heard& event) { return event.kind == Heard::kGrab; });
    const auto releases = std::count_if(host_.heard().begin(), host_.heard().end(),
                                        [](const Heard& event) { return event.kind == Heard::kRelease; });
    EXPECT_EQ(grabs, releases) << "every gesture ended once";
}

TEST_F(UiTest, WithoutTouchTheDragStillWrites)
{
    const ::Window parent = host_.newParent();
    ASSERT_NE(host_.instantiate(parent, false), nullptr);
    host_.idleFor(100);
    const Point knob = cutoffKnob();
    host_.heard().clear();
    host_.moveTo(knob);
    host_.button(true);
    host_.idleFor(50);
    host_.moveBy(0, -20);
    host_.idleFor(50);
    host_.button(false);
    host_.idleFor(100);
    EXPECT_FALSE(host_.writes(kCutoff).empty());
    for (const Heard& event : host_.heard())
        EXPECT_EQ(event.kind, Heard::kWrite);
}

TEST_F(UiTest, IdleAnswersOneOnceTheHostDestroyedItsWindow)
{
    open();
    ASSERT_NE(host_.handle(), nullptr);
    host_.destroyParent();
    int answer = 0;
    for (int tries = 0; tries < 100 && answer == 0; ++tries) {
        answer = host_.idleInterface()->idle(host_.handle());
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_EQ(answer, 1);
    host_.destroy();
}

TEST_F(UiTest, InstantiateFailsCleanlyWithoutWhatItNeeds)
{
    EXPECT_EQ(host_.instantiate(0), nullptr) << "no parent";
    EXPECT_EQ(host_.instantiate(host_.newParent(), true, "urn:another:plugin"), nullptr) << "another plug-in";
    // A parent that does not exist on the display.
    EXPECT_EQ(host_.instantiate(host_.parent() + 0x1000), nullptr) << "no such parent";

    const std::string display = std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "";
    unsetenv("DISPLAY");
    EXPECT_EQ(host_.instantiate(host_.parent()), nullptr) << "no display";
    setenv("DISPLAY", display.c_str(), 1);
    EXPECT_NE(host_.instantiate(host_.parent()), nullptr) << "and it opens once there is one";
}

} // namespace
