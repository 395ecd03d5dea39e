#include "TestParams.h"

#include "HostGuiInterface.h"
#include "ListenerBase.h"
#include "ControlInterface.h"
#include "MetaControl.h"
#include "Messages.h"

#include <gtest/gtest.h>

using namespace mppi;

namespace {

// Host services that accept priorities from `lowest` up and record what they were asked.
class FakeHostGui : public HostGuiInterface {
public:
    void init() override {}
    double query(const std::string&) override { return 0.0; }
    bool testPriority(int, int priority) override { return priority >= lowest; }
    int lowest = 101;
    void releasePriority(int index, int priority) override { released.emplace_back(index, priority); }
    void beginEdit(int index) override { edits.emplace_back(index, true); }
    void endEdit(int index) override { edits.emplace_back(index, false); }
    void endAllEdits() override {}
    bool setParameter(int index, float normalized, int priority) override
    {
        sets.push_back({index, normalized, priority});
        return true;
    }
    void applyProgram(const ProgramSlot&, int) override {}
    int resizeEditor(int, int) override { return 0; }

    struct Set {
        int index;
        float normalized;
        int priority;
    };
    std::vector<Set> sets;
    std::vector<std::pair<int, int>> released;
    std::vector<std::pair<int, bool>> edits;
};

// Shows values on a pretend control that runs from 0 to 10.
class TenthsListener : public ListenerBase {
public:
    explicit TenthsListener(HostGuiInterface* host) : host_(host) {}
    double paramToControl(double normalized) const override { return normalized * 10.0; }
    double controlToParam(double controlValue) const override { return controlValue / 10.0; }
    bool showOnControl(double controlValue, int priority) override
    {
        shown.emplace_back(controlValue, priority);
        return true;
    }
    std::vector<std::pair<double, int>> shown;

protected:
    HostGuiInterface* hostGui() const override { return host_; }

private:
    HostGuiInterface* host_;
};

} // namespace

TEST(ListenerBaseTest, UserChangesGoThroughTheHostServicesForItsOwnIndex)
{
    FakeHostGui host;
    testing_params::LineLevel level;
    level.init(0.5, 1, 0);
    TenthsListener listener(&host);
    listener.init(55, &level);

    EXPECT_TRUE(listener.testPriority(200));
    EXPECT_FALSE(listener.testPriority(50));
    EXPECT_DOUBLE_EQ(listener.setValue(0.25, 200), 0.25);
    listener.releasePriority(200);
    ASSERT_EQ(host.sets.size(), 1u);
    EXPECT_EQ(host.sets[0].index, 55);
    EXPECT_FLOAT_EQ(host.sets[0].normalized, 0.25f);
    EXPECT_EQ(host.sets[0].priority, 200);
    EXPECT_EQ(host.released, (std::vector<std::pair<int, int>>{{55, 200}}));
    // The parameter itself is untouched: only the host services may change it.
    EXPECT_DOUBLE_EQ(level.real(), 0.5);
}

TEST(ListenerBaseTest, HostChangesAndRefreshesReachTheControlConverted)
{
    FakeHostGui host;
    testing_params::LineLevel level;
    level.init(0.5, 1, 0);
    TenthsListener listener(&host);
    listener.init(3, &level);
    MetaControl meta;
    EXPECT_FALSE(meta.show(0.1, 100));
    meta.bind(&listener);
    EXPECT_TRUE(meta.show(0.1, 100));
    meta.refresh();
    const std::vector<std::pair<double, int>> expected = {{1.0, 100}, {5.0, 1}};
    EXPECT_EQ(listener.shown, expected);
}

TEST(ListenerBaseTest, WithoutHostServicesNothingIsAccepted)
{
    TenthsListener listener(nullptr);
    listener.init(0, nullptr);
    EXPECT_FALSE(listener.testPriority(200));
    EXPECT_DOUBLE_EQ(listener.setValue(0.5, 200), 0.5);
    listener.releasePriority(200);
    listener.refresh();
    EXPECT_TRUE(listener.shown.empty());
}

namespace {

// The identity listener an editor control has, reaching the fake host.
class PlainListener : public ListenerBase {
public:
    explicit PlainListener(HostGuiInterface* host) : host_(host) {}

protected:
    HostGuiInterface* hostGui() const override { return host_; }

private:
    HostGuiInterface* host_;
};

} // namespace

TEST(ListenerBaseTest, AControlAsksTheHostBeforeEachChangeAndHostChangesMoveItSilently)
{
    FakeHostGui host;
    testing_params::LineLevel level;
    level.init(0.5, 1, 0);
    PlainListener listener(&host);
    listener.init(64, &level);
    pengui::ControlInterface control;
    control.set_listener(&listener);
    EXPECT_EQ(listener.control(), &control);

    EXPECT_TRUE(control.set_value(0.3, 200));
    ASSERT_EQ(host.sets.size(), 1u);
    EXPECT_EQ(host.sets[0].index, 64);
    EXPECT_FLOAT_EQ(host.sets[0].normalized, 0.3f);
    EXPECT_FALSE(control.set_value(0.4, 50)) << "the host's priority rule refuses it";
    EXPECT_DOUBLE_EQ(control.value(), 0.3);
    listener.released(200);
    EXPECT_EQ(host.released, (std::vector<std::pair<int, int>>{{64, 200}}));

    // From the parameter's side the control moves, and the host hears nothing.
    listener.refresh();
    EXPECT_DOUBLE_EQ(control.value(), 0.3) << "a held parameter keeps its control";
    host.lowest = 0;
    listener.refresh();
    EXPECT_DOUBLE_EQ(control.value(), level.normalized());
    MetaControl meta;
    meta.bind(&listener);
    EXPECT_TRUE(meta.show(0.8, 100));
    EXPECT_DOUBLE_EQ(control.value(), 0.8);
    EXPECT_EQ(host.sets.size(), 1u);

    // The user's values opened one gesture, which ends once however often the control settles;
    // changes from the parameter's side opened none.
    const std::vector<std::pair<int, bool>> oneGesture = {{64, true}, {64, false}};
    control.settle();
    control.settle();
    EXPECT_EQ(host.edits, oneGesture);
    EXPECT_TRUE(control.set_value(0.5, 200));
    EXPECT_TRUE(listener.gestureOpen());
    pengui::ShowObject hide(false);
    control.handle_message(hide);
    EXPECT_FALSE(listener.gestureOpen()) << "a hidden control's gesture is over";
    EXPECT_EQ(host.edits.size(), 4u);
}
