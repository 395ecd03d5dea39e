// The LV2 UI module as a host loads it: its descriptor from the built module, instantiated
// into the host's X window, shown port values and the tempo in effect, a user's drag written
// back as port values inside touch gestures, the plug-in's presets recalled, stored and glided
// to, and clean failures. Runs under xvfb-run.
#include "FakeUridMap.h"
#include "PngFrame.h"
#include "X11Hand.h"

#include "Algo.h"
#include "BankFiles.h"
#include "BankManager.h"
#include "FactoryPrograms.h"
#include "FixedPorts.h"
#include "ParamLayout.h"
#include "ParamIndexes.h"
#include "ParamPort.h"
#include "PresetBank.h"
#include "PresetMessages.h"
#include "ProductInfo.h"
#include "SkinLayout.h"
#include "SkinPlacement.h"

#include <gtest/gtest.h>
#include <lv2/ui/ui.h>

// After gtest: Xlib's macros would clash with its names.
#include <X11/Xlib.h>
#include <dlfcn.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

// Line 1's filter cutoff, in hertz on its port; its feedback, in percent.
constexpr std::uint32_t kCutoff = 69;
constexpr std::uint32_t kFeedback = 64;
constexpr int kParamPorts = 121;

// What the host heard, in order.
struct Heard {
    enum Kind { kWrite, kGrab, kRelease, kMessage };
    Kind kind;
    std::uint32_t port;
    float value;
    // A message's atom.
    std::vector<std::uint8_t> atom = {};
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
    ScreenPoint resized() const { return resized_; }

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

    // Instantiates the UI with the features given: the parent (0 for none), touch, resize and,
    // where asked, the URID map.
    LV2UI_Handle instantiate(::Window parent, bool offerTouch = true, const char* pluginUri = product::kLv2Uri,
                             bool offerMap = false)
    {
        std::vector<const LV2_Feature*> features;
        const LV2_Feature parentFeature = {LV2_UI__parent, reinterpret_cast<void*>(static_cast<std::uintptr_t>(parent))};
        const LV2_Feature touchFeature = {LV2_UI__touch, &touch_};
        const LV2_Feature resizeFeature = {LV2_UI__resize, &resize_};
        const LV2_Feature mapFeature = {LV2_URID__map, &map_.feature};
        const LV2_Feature subscribeFeature = {LV2_UI__portSubscribe, &subscribe_};
        if (parent)
            features.push_back(&parentFeature);
        if (offerTouch)
            features.push_back(&touchFeature);
        if (offerMap) {
            features.push_back(&mapFeature);
            features.push_back(&subscribeFeature);
        }
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
    // An atom from the plug-in's presets' port, as hosts pass it.
    void messageEvent(const std::vector<std::uint8_t>& atom)
    {
        descriptor_->port_event(ui_, lv2port::kPresetsOutput, static_cast<std::uint32_t>(atom.size()), eventTransfer(),
                                atom.data());
    }
    FakeUridMap& map() { return map_; }
    // The ports subscribed to, by protocol, and left again.
    struct Subscription {
        std::uint32_t port;
        std::uint32_t protocol;
        bool on;
        bool operator==(const Subscription&) const = default;
    };
    const std::vector<Subscription>& subscriptions() const { return subscriptions_; }
    std::uint32_t eventTransfer() { return map_.map(LV2_ATOM__eventTransfer); }
    // The host's idle, every 10 ms for `milliseconds`; each answers 0 while the UI is open.
    void idleFor(int milliseconds)
    {
        for (int elapsed = 0; elapsed < milliseconds; elapsed += 10) {
            EXPECT_EQ(idle_->idle(ui_), 0);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }

    std::vector<std::uint32_t> pixels() { return hand_.pixels(widget(), resized_.x, resized_.y); }
    void moveTo(ScreenPoint point) { hand_.moveTo(widget(), point); }
    void moveBy(int dx, int dy) { hand_.moveBy(dx, dy); }
    void button(bool down) { hand_.button(down); }
    void click(ScreenPoint point)
    {
        moveTo(point);
        idleFor(30);
        button(true);
        idleFor(30);
        button(false);
        idleFor(30);
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
        if (protocol != 0) {
            ASSERT_EQ(protocol, host->eventTransfer());
            const auto* bytes = static_cast<const std::uint8_t*>(buffer);
            host->heard_.push_back({Heard::kMessage, port, 0.0f, {bytes, bytes + size}});
            return;
        }
        float value = 0.0f;
        ASSERT_EQ(size, sizeof value);
        std::memcpy(&value, buffer, sizeof value);
        host->heard_.push_back({Heard::kWrite, port, value});
    }
    static void touch(LV2UI_Feature_Handle handle, uint32_t port, bool grabbed)
    {
        static_cast<UiHost*>(handle)->heard_.push_back({grabbed ? Heard::kGrab : Heard::kRelease, port, 0.0f});
    }
    static uint32_t subscribe(LV2UI_Feature_Handle handle, uint32_t port, uint32_t protocol, const LV2_Feature* const*)
    {
        static_cast<UiHost*>(handle)->subscriptions_.push_back({port, protocol, true});
        return 0;
    }
    static uint32_t unsubscribe(LV2UI_Feature_Handle handle, uint32_t port, uint32_t protocol, const LV2_Feature* const*)
    {
        static_cast<UiHost*>(handle)->subscriptions_.push_back({port, protocol, false});
        return 0;
    }
    static int resize(LV2UI_Feature_Handle handle, int width, int height)
    {
        static_cast<UiHost*>(handle)->resized_ = {width, height};
        return 0;
    }

    Display* display_;
    X11Hand hand_{display_};
    void* module_ = nullptr;
    const LV2UI_Descriptor* descriptor_ = nullptr;
    const LV2UI_Idle_Interface* idle_ = nullptr;
    ::Window parent_ = 0;
    LV2UI_Widget widget_ = nullptr;
    LV2UI_Handle ui_ = nullptr;
    LV2UI_Touch touch_ = {this, touch};
    LV2UI_Resize resize_ = {this, resize};
    FakeUridMap map_;
    LV2UI_Port_Subscribe subscribe_ = {this, subscribe, unsubscribe};
    std::vector<Subscription> subscriptions_;
    std::vector<Heard> heard_;
    ScreenPoint resized_ = {0, 0};
};

// The editor as the command-line host pictures it, as 0x00RRGGBB pixels; empty on failure.
std::vector<std::uint32_t> snapshot(const std::string& arguments, const std::string& skin = "wide")
{
    const std::string file = std::string(WORK_DIR) + "/snapshot.png";
    const std::string command = std::string(ZORVANE_CLI) + " snapshot " + file + " --skin " + skin + " " + arguments;
    if (std::system(command.c_str()) != 0)
        return {};
    return read_png(file).pixels;
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
    double open(bool offerMap = false)
    {
        const ::Window parent = host_.newParent();
        const auto start = std::chrono::steady_clock::now();
        EXPECT_NE(host_.instantiate(parent, true, product::kLv2Uri, offerMap), nullptr);
        if (!host_.handle())
            return -1.0;
        for (int tries = 0; tries < 500 && !painted(host_.pixels()); ++tries)
            EXPECT_EQ(host_.idleInterface()->idle(host_.handle()), 0);
        const std::chrono::duration<double, std::milli> taken = std::chrono::steady_clock::now() - start;
        return taken.count();
    }
    // Two cutoffs shown one after the other: the knob is where the pixels differ.
    ScreenPoint cutoffKnob()
    {
        host_.portEvent(kCutoff, 200.0f);
        host_.idleFor(100);
        const std::vector<std::uint32_t> low = host_.pixels();
        host_.portEvent(kCutoff, 8000.0f);
        host_.idleFor(100);
        return centre_of_change(low, host_.pixels(), host_.resized().x);
    }
    // The centre of the `nth` control of the large skin bound to `listener`.
    static ScreenPoint control(std::string_view listener, int nth = 0)
    {
        for (const skin_layout::PlacedControl& placed : skin_layout::placed_controls(skin_layout::wide()))
            if (placed.row->listener == listener && nth-- == 0) {
                const pengui::Rect box = placed.row->box.moved(placed.at.x, placed.at.y);
                return {(box.x0 + box.x1) / 2, (box.y0 + box.y1) / 2};
            }
        ADD_FAILURE() << "no control " << listener;
        return {0, 0};
    }
    // The plug-in's side: its presets as a patch:Set, as its output port carries them.
    std::vector<std::uint8_t> presetsMessage(const mppi::BankManager& presets)
    {
        std::vector<std::uint8_t> body(presets.get_serialized_size());
        EXPECT_EQ(presets.serialize(body.data()), 0);
        std::vector<std::uint8_t> atom(lv2port::PresetMessages::kPortSize);
        LV2_Atom_Forge forge = messages_.forge(atom.data(), static_cast<std::uint32_t>(atom.size()));
        EXPECT_TRUE(messages_.writeSet(forge, body.data(), static_cast<std::uint32_t>(body.size())));
        atom.resize(sizeof(LV2_Atom) + reinterpret_cast<const LV2_Atom*>(atom.data())->size);
        return atom;
    }
    // The messages the UI wrote to the plug-in's presets' port, read.
    std::vector<lv2port::PresetMessages::Message> messagesHeard()
    {
        std::vector<lv2port::PresetMessages::Message> read;
        for (const Heard& event : host_.heard())
            if (event.kind == Heard::kMessage) {
                EXPECT_EQ(event.port, lv2port::kPresetsInput);
                read.push_back(messages_.read(*reinterpret_cast<const LV2_Atom*>(event.atom.data())));
            }
        return read;
    }
    // The value the plug-in's port of `index` holds for a normalized value, as the UI writes it.
    static float portValue(int index, float normalized)
    {
        struct Registry {
            Registry() { algo.init1(); }
            Algo algo;
        };
        static Registry registry;
        const lv2port::ParamPort port(*registry.algo.param(index),
                                      lv2port::port_kind(param_table::layout()[static_cast<std::size_t>(index)]));
        return port.portValueOf(normalized).value_or(std::nanf(""));
    }
    // The presets a fresh plug-in holds, with preset `preset` at line 1's feedback `feedback`.
    static mppi::BankManager presetsWith(int preset, float feedback)
    {
        mppi::PresetBank presets;
        presets.seed(mppi::load_factory_programs().program(0), mppi::PresetBank::kSeedBank);
        mppi::BankManager bank = presets.bank();
        bank.program(preset).setValue(static_cast<int>(kFeedback), feedback);
        return bank;
    }

    UiHost host_;
    lv2port::PresetMessages messages_{&host_.map().feature};
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
    const ScreenPoint knob = cutoffKnob();
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
    const ScreenPoint knob = cutoffKnob();
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
    const ScreenPoint knob = cutoffKnob();
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

TEST_F(UiTest, TheTempoShownIsTheTempoInEffect)
{
    open();
    ASSERT_NE(host_.handle(), nullptr);
    host_.portEvent(lv2port::kTempoOutput, 97.0f);
    host_.idleFor(100);
    const std::vector<std::uint32_t> inEffect = host_.pixels();
    // The "Tempo" port's value is in the tempo in effect, which the host's tempo overrides.
    host_.portEvent(static_cast<std::uint32_t>(mppi::kTempoIndex), 150.0f);
    host_.idleFor(100);
    EXPECT_EQ(host_.pixels(), inEffect);
    host_.destroy();

    open();
    host_.portEvent(static_cast<std::uint32_t>(mppi::kTempoIndex), 97.0f);
    host_.idleFor(100);
    EXPECT_EQ(host_.pixels(), inEffect) << "the same tempo from the Tempo port alone";
    EXPECT_TRUE(host_.heard().empty());
}

TEST_F(UiTest, ThePluginsPresetsAreRecalledAndAStoredOneGoesToThePlugin)
{
    open(true);
    ASSERT_NE(host_.handle(), nullptr);
    ASSERT_EQ(messagesHeard().size(), 1u);
    EXPECT_EQ(messagesHeard()[0].kind, lv2port::PresetMessages::Message::kGet) << "the UI asks as it opens";
    const std::uint32_t floats = host_.map().map(LV2_UI__floatProtocol);
    const std::vector<UiHost::Subscription> heard = {{lv2port::kTempoOutput, floats, true},
                                                     {lv2port::kPresetsOutput, host_.eventTransfer(), true}};
    EXPECT_EQ(host_.subscriptions(), heard) << "where it hears the tempo in effect and the answers";

    // What the plug-in answers: its presets, the third at a feedback of its own. With the recall
    // time at 0, a press jumps there.
    host_.messageEvent(presetsMessage(presetsWith(2, 0.8f)));
    host_.idleFor(50);
    host_.heard().clear();
    host_.click(control("PresetNumberListener", 2));
    host_.idleFor(300);
    const std::vector<float> feedback = host_.writes(kFeedback);
    ASSERT_FALSE(feedback.empty());
    EXPECT_FLOAT_EQ(feedback.back(), portValue(kFeedback, 0.8f));
    EXPECT_TRUE(messagesHeard().empty()) << "recalling changes no preset";

    // Stored into the fifth: the plug-in hears all eight, the fifth now the sound recalled.
    host_.click(control("PresetMemListener"));
    host_.click(control("PresetNumberListener", 4));
    host_.idleFor(100);
    const std::vector<lv2port::PresetMessages::Message> sent = messagesHeard();
    ASSERT_EQ(sent.size(), 1u);
    ASSERT_EQ(sent[0].kind, lv2port::PresetMessages::Message::kSet);
    mppi::BankManager stored = presetsWith(2, 0.8f);
    ASSERT_EQ(mppi::decode_bank(sent[0].body, sent[0].size, stored, true), 0);
    EXPECT_EQ(stored.program(4).value(kFeedback), 0.8f);
    EXPECT_EQ(stored.program(2).value(kFeedback), 0.8f);
    EXPECT_EQ(stored.program(0).value(kFeedback), presetsWith(2, 0.8f).program(0).value(kFeedback));

    // What the plug-in sends that is not eight presets of this system is ignored: the fifth is
    // still the sound, and recalling it moves nothing.
    mppi::BankManager seven = presetsWith(4, 0.1f);
    seven.resize(7);
    host_.messageEvent(presetsMessage(seven));
    host_.heard().clear();
    host_.click(control("PresetNumberListener", 4));
    host_.idleFor(300);
    EXPECT_TRUE(host_.writes(kFeedback).empty());

    host_.destroy();
    ASSERT_EQ(host_.subscriptions().size(), 4u);
    EXPECT_FALSE(host_.subscriptions()[2].on);
    EXPECT_FALSE(host_.subscriptions()[3].on) << "and leaves as it closes";
}

TEST_F(UiTest, ClosedMidGlideTheUiJumpsToThePresetAndEndsItsGestures)
{
    open(true);
    ASSERT_NE(host_.handle(), nullptr);
    host_.messageEvent(presetsMessage(presetsWith(0, 0.8f)));
    // The recall time's fader to its end: a glide of 99 seconds.
    const ScreenPoint fader = control("PresetTimeFaderListener");
    host_.moveTo({fader.x - 45, fader.y});
    host_.button(true);
    for (int step = 0; step < 12; ++step) {
        host_.moveBy(10, 0);
        host_.idleFor(20);
    }
    host_.button(false);
    host_.idleFor(50);
    host_.heard().clear();

    host_.click(control("PresetNumberListener", 0));
    host_.idleFor(400);
    const std::vector<float> gliding = host_.writes(kFeedback);
    ASSERT_FALSE(gliding.empty()) << "the glide started";
    EXPECT_NE(gliding.back(), portValue(kFeedback, 0.8f)) << "and has far to go";
    ASSERT_NE(host_.heard().back().kind, Heard::kRelease);

    host_.destroy();
    EXPECT_FLOAT_EQ(host_.writes(kFeedback).back(), portValue(kFeedback, 0.8f)) << "at the preset";
    std::map<std::uint32_t, int> open;
    std::map<std::uint32_t, Heard::Kind> last;
    for (const Heard& event : host_.heard()) {
        open[event.port] += event.kind == Heard::kGrab ? 1 : event.kind == Heard::kRelease ? -1 : 0;
        last[event.port] = event.kind;
    }
    for (const auto& [port, count] : open) {
        EXPECT_EQ(count, 0) << "port " << port;
        EXPECT_EQ(last[port], Heard::kRelease) << "port " << port;
    }
}

TEST_F(UiTest, TheMusiciansSettingChoosesTheCompactSkin)
{
    const std::filesystem::path config = std::filesystem::path(WORK_DIR) / "lv2-ui-config";
    std::filesystem::remove_all(config);
    std::filesystem::create_directories(config / "zorvane");
    const char* previous = std::getenv("XDG_CONFIG_HOME");
    const std::string restore = previous ? previous : "";
    setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    auto choose = [&](const char* line) { std::ofstream(config / "zorvane" / "settings") << line; };

    choose("scale=2\nlv2-skin=compact\n");
    open();
    ASSERT_NE(host_.handle(), nullptr);
    EXPECT_EQ(host_.resized().x, 500);
    EXPECT_EQ(host_.resized().y, 422);
    host_.idleFor(100);
    EXPECT_EQ(differences(host_.pixels(), snapshot("", "compact")), 0);
    host_.destroy();

    for (const char* other : {"lv2-skin=tiny\n", "lv2-skin=compact\nlv2-skin=wide\n", ""}) {
        SCOPED_TRACE(other);
        choose(other);
        open();
        EXPECT_EQ(host_.resized().x, 700) << "the large skin";
        host_.destroy();
    }
    if (previous)
        setenv("XDG_CONFIG_HOME", restore.c_str(), 1);
    else
        unsetenv("XDG_CONFIG_HOME");
}
