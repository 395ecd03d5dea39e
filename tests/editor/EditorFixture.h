#pragma once

// The plug-in built in with its editor open on the headless window, a fake host on the other
// side, and a user's hand: presses, drags, typing, and the window's clock.
#include "ControlInterface.h"
#include "Effect.h"
#include "FakeHost.h"
#include "Fader.h"
#include "GuiMisc.h"
#include "HeadlessWindow.h"
#include "ListenerBase.h"
#include "MetaControl.h"
#include "PluginEntry.h"
#include "QuenloGui.h"
#include "SkinLayout.h"
#include "TextBox.h"
#include "Vst2WinPlugin.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

namespace editor_test {

using pengui::ControlInterface;
using pengui::Point;

inline constexpr int kFlags = 0;
inline constexpr int kTempo = 1;
inline constexpr int kTap1Time = 7;
inline constexpr int kLine1Level = 55;
inline constexpr int kLine1Time = 60;
inline constexpr int kLine1Feedback = 64;
inline constexpr int kLine1FeedbackPeriod = 65;
inline constexpr int kLine1FeedbackDepth = 66;
inline constexpr int kLine1FilterType = 68;
inline constexpr int kLine1HsCutoff = 86;
inline constexpr int kLineParams = 33;
inline constexpr int kRightButton = 2;
inline constexpr int kControlKey = 1;
inline constexpr int kShiftKey = 2;

// The skin this test binary is built for.
inline const skin_layout::SkinLayout& testSkin()
{
    return std::string(SKIN_NAME) == "compact" ? skin_layout::compact() : skin_layout::wide();
}

class EditorTest : public ::testing::Test {
protected:
    void SetUp() override { create(false); }
    void TearDown() override { close(); }

    // Builds the plug-in; with `hostTempo` the host reports a valid tempo of 100. With
    // `offerEditor` the host's editor opcodes reach the editor; the musician's scale is kept in
    // `settings` (none when empty).
    void create(bool hostTempo, bool offerEditor = false, const std::filesystem::path& settings = {})
    {
        host_.canSizeWindow = true;
        if (hostTempo) {
            host_.givesTime = true;
            host_.setTempo(100.0);
        }
        AEffect* created = mppi::createEffect(FakeHost::callback, testSkin(), makeWindow, offerEditor, settings);
        ASSERT_NE(created, nullptr);
        effect_ = std::make_unique<Effect>(created);
        effect_->start();
        plugin_ = static_cast<mppi::Vst2WinPlugin*>(created->object);
        gui_ = static_cast<mppi::QuenloGui*>(plugin_->gui());
        window_ = s_window;
        ASSERT_NE(window_, nullptr);
        ASSERT_EQ(gui_->open(nullptr), 0);
        window_->paint_all();
        host_.clear();
    }
    void close()
    {
        if (!effect_)
            return;
        gui_->close();
        effect_->close();
        effect_.reset();
    }

    mppi::QuenloGui& gui() { return *gui_; }
    pengui::HeadlessWindow& window() { return *window_; }

    // The control bound to a parameter.
    ControlInterface& control(int param)
    {
        mppi::MetaControl* meta = gui_->metaControl(param);
        EXPECT_TRUE(meta && meta->listener() && meta->listener()->control()) << "parameter " << param;
        return *meta->listener()->control();
    }
    ControlInterface& miscControl(std::string_view listener, int nth = 0)
    {
        ControlInterface* found = gui_->misc().control(listener, nth);
        EXPECT_NE(found, nullptr) << listener;
        return *found;
    }
    static Point centre(const ControlInterface& control)
    {
        const Point at = control.window_position();
        return {at.x + (control.box.x0 + control.box.x1) / 2, at.y + (control.box.y0 + control.box.y1) / 2};
    }

    float param(int index) { return (*effect_)->getParameter(effect_->get(), index); }
    // The host automates a parameter; the editor shows it on its next timer tick.
    void hostSets(int index, float value) { (*effect_)->setParameter(effect_->get(), index, value); }
    void tick() { window_->advance(mppi::QuenloGui::kApplyPeriod + 0.001); }
    std::string paramText(int index) { return effect_->text(effGetParamDisplay, index); }
    int automations(int index) const
    {
        int count = 0;
        for (const FakeHost::Call& call : host_.calls())
            count += call.opcode == audioMasterAutomate && call.index == index;
        return count;
    }

    float lastAutomation(int index) const
    {
        float value = -1.0f;
        for (const FakeHost::Call& call : host_.calls())
            if (call.opcode == audioMasterAutomate && call.index == index)
                value = call.opt;
        return value;
    }

    // A press and release with `button` and modifiers on the control.
    void click(const ControlInterface& control, int button = 1, int modifiers = 0)
    {
        clickAt(centre(control), button, modifiers);
    }
    void clickAt(Point at, int button = 1, int modifiers = 0)
    {
        window_->move_to(at);
        window_->press(at, button, modifiers);
        window_->release(at, button, modifiers);
    }
    // Where a drag starts: a fader's handle, the middle of anything else.
    static Point handle(const ControlInterface& control)
    {
        const auto* fader = dynamic_cast<const pengui::Fader*>(&control);
        if (!fader)
            return centre(control);
        const Point offset = fader->handle_offset(fader->value());
        return {control.window_position().x + offset.x, control.window_position().y + offset.y};
    }
    // Presses on the control's handle and holds.
    void grab(const ControlInterface& control, int button = 1, int modifiers = 0)
    {
        const Point at = handle(control);
        window_->move_to(at);
        window_->press(at, button, modifiers);
    }
    // Moves the held pointer by (dx, dy) in ten steps 10 ms apart.
    void drag(int dx, int dy)
    {
        for (int i = 0; i < 10; ++i) {
            window_->advance(0.01);
            const Point at = window_->pointer_position();
            window_->move_to({at.x + dx / 10, at.y + dy / 10});
        }
    }
    // Moves the held pointer along the control's own axis by `pixels` towards higher values.
    void dragAlong(const ControlInterface& control, int pixels)
    {
        const auto* fader = dynamic_cast<const pengui::Fader*>(&control);
        if (fader && !fader->vertical())
            drag(pixels, 0);
        else
            drag(0, -pixels);
    }
    // Lets go and waits for the glide to settle.
    void letGo(int button = 1, int modifiers = 0)
    {
        window_->release(window_->pointer_position(), button, modifiers);
        window_->advance(1.0);
    }
    // Types into a text box and commits with Enter (or cancels with Escape).
    void typeInto(ControlInterface& box, const std::string& text, bool commit = true)
    {
        click(box);
        ASSERT_TRUE(window_->text_editor_open());
        window_->type(text);
        if (commit)
            window_->press_enter();
        else
            window_->press_escape();
    }
    static const std::string& textOf(ControlInterface& box)
    {
        return dynamic_cast<pengui::TextBox&>(box).text();
    }

    FakeHost host_;
    std::unique_ptr<Effect> effect_;
    mppi::Vst2WinPlugin* plugin_ = nullptr;
    mppi::QuenloGui* gui_ = nullptr;
    pengui::HeadlessWindow* window_ = nullptr;

private:
    static std::unique_ptr<pengui::PlatformWindowInterface> makeWindow()
    {
        auto window = std::make_unique<pengui::HeadlessWindow>();
        s_window = window.get();
        return window;
    }
    static inline pengui::HeadlessWindow* s_window = nullptr;
};

} // namespace editor_test
