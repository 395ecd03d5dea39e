// Messages on their way: the control dispatcher, up-forwarding, split placement and delivery.
#include "ToolkitFixture.h"

#include "SPTreeSplit.h"

#include <gtest/gtest.h>

using namespace toolkit_test;

namespace {

// A control that logs which of its handlers ran.
class LoggingControl : public ControlInterface {
public:
    explicit LoggingControl(std::vector<std::string>& log) : log_(log) { box = {0, 0, 10, 10}; }
    void on_hide() override { log_.push_back("on_hide"); }
    void set_active(bool active) override { log_.push_back(active ? "set_active 1" : "set_active 0"); }

protected:
    int on_redraw(Redraw&) override
    {
        log_.push_back("on_redraw");
        return 7;
    }
    int on_mouse_click(MouseClick& click) override
    {
        log_.push_back("on_mouse_click " + std::to_string(click.buttons));
        return 0;
    }
    int on_show_object(ShowObject& show) override
    {
        log_.push_back(show.visible ? "on_show_object 1" : "on_show_object 0");
        return 0;
    }

private:
    std::vector<std::string>& log_;
};

class LoggingListener : public RecordingListener {
public:
    explicit LoggingListener(std::vector<std::string>& log) : log_(log) {}
    void begin_edit() override { log_.push_back("begin_edit"); }
    void end_edit() override { log_.push_back("end_edit"); }
    void before_message(MessageInterface&) override { log_.push_back("before"); }
    void after_message(MessageInterface&) override { log_.push_back("after"); }

private:
    std::vector<std::string>& log_;
};

// A tree node that records the messages reaching it, with its visibility at that moment.
class RecordingNode : public CtrlGroupNodeInterface {
public:
    int handle_down(MessageInterface& message) override
    {
        if (auto* show = dynamic_cast<ShowObject*>(&message))
            shows.push_back(show->visible == visible);
        if (auto* down = dynamic_cast<MessageDown*>(&message))
            areas.push_back(down->area);
        return 0;
    }
    std::vector<bool> shows;
    std::vector<Rect> areas;
};

using Log = std::vector<std::string>;

} // namespace

TEST(DispatchTest, APressActivatesAndCallsBeginEditBeforeTheHandler)
{
    Log log;
    LoggingControl control(log);
    LoggingListener listener(log);
    control.set_listener(&listener);
    MouseClick press({1, 1}, kLeftButton);
    EXPECT_EQ(control.handle_message(press), 0);
    EXPECT_EQ(log, (Log{"before", "begin_edit", "set_active 1", "on_mouse_click 1", "after"}));
    EXPECT_TRUE(control.active());

    log.clear();
    MouseClick release({1, 1}, 0);
    control.handle_message(release);
    EXPECT_EQ(log, (Log{"before", "on_mouse_click 0", "after"})) << "a release begins no edit";

    log.clear();
    control.end_gesture();
    EXPECT_EQ(log, (Log{"end_edit", "set_active 0"}));
    EXPECT_FALSE(control.active());
}

TEST(DispatchTest, HiddenControlsDrawNothingAndHidingEndsGestures)
{
    Log log;
    LoggingControl control(log);
    PixelBuffer buffer(4, 4);
    Redraw redraw(buffer, {0, 0, 4, 4});
    EXPECT_EQ(control.handle_message(redraw), 0);
    EXPECT_TRUE(log.empty());

    ShowObject show(true);
    control.handle_message(show);
    EXPECT_EQ(control.handle_message(redraw), 7);
    log.clear();
    ShowObject hide(false);
    control.handle_message(hide);
    EXPECT_EQ(log, (Log{"on_show_object 0", "on_hide"}));
    EXPECT_FALSE(control.shown());
}

TEST(DispatchTest, UpMessagesTravelToTheWindowOrFailWithoutOne)
{
    Log log;
    LoggingControl orphan(log);
    Invalidate invalidate({0, 0, 1, 1});
    EXPECT_EQ(orphan.handle_message(invalidate), -1) << "a control without group";
    KeyPressed key;
    EXPECT_EQ(orphan.handle_message(key), -1) << "a kind nobody handles";

    CtrlGroupItem group;
    EXPECT_EQ(group.handle_message(invalidate), -1) << "a node without parent";
    CtrlGroupSplit split;
    split.orientation = SPTreeSplit::kStacked;
    split.add_child(&group, 10);
    EXPECT_EQ(group.handle_message(invalidate), -1) << "a split without parent";

    LoggingControl placed(log);
    Desk desk;
    desk.add(placed, {5, 5});
    EXPECT_EQ(placed.handle_message(invalidate), -1) << "a closed window";
    desk.open();
    EXPECT_EQ(placed.handle_message(invalidate), 0);
    desk.headless.clear_invalidated();
    EXPECT_EQ(placed.request_redraw(), 0);
    ASSERT_EQ(desk.headless.invalidated().size(), 1u);
    EXPECT_EQ(desk.headless.invalidated()[0], (Rect{5, 5, 15, 15}));
}

TEST(DispatchTest, TimerIdsAreConsecutiveAndUnknownOnesClearNothing)
{
    int first = 0, second = 0;
    SetTimer a(nullptr, 0.1f, first);
    SetTimer b(nullptr, 0.1f, second);
    EXPECT_GE(first, 1);
    EXPECT_EQ(second, first + 1);
    EXPECT_EQ(a.id, first);

    Desk desk;
    desk.open();
    ClearTimer unknown(987654);
    EXPECT_EQ(desk.window.handle_message(unknown), 0);
    EXPECT_EQ(desk.headless.running_timers(), 0);
}

TEST(SplitTest, ChildrenArePlacedInStripsAndPointsFindTheirStrip)
{
    RecordingNode top, middle, bottom;
    CtrlGroupSplit split;
    split.orientation = SPTreeSplit::kStacked;
    split.set_origin({0, 0});
    split.add_child(&top, 150);
    split.add_child(&middle, 86);
    split.add_child(&bottom, 232);
    EXPECT_EQ(top.origin, (Point{0, 0}));
    EXPECT_EQ(middle.origin, (Point{0, 150}));
    EXPECT_EQ(bottom.origin, (Point{0, 236}));
    EXPECT_EQ(middle.parent, &split);

    auto point = [&split](int y) {
        MouseMove move({3, y});
        split.handle_message(move);
    };
    point(400);
    point(-5);
    point(236);
    point(235);
    // Each child also had the ShowObject of its adoption.
    EXPECT_EQ(bottom.areas.size(), 3u) << "the point beyond the strips and the one on its first row";
    EXPECT_EQ(top.areas.size(), 2u) << "the point above the strips";
    EXPECT_EQ(middle.areas.size(), 2u) << "the point on its last row";

    // A region spanning strips 1 and 2 reaches only them.
    top.areas.clear();
    middle.areas.clear();
    bottom.areas.clear();
    PixelBuffer buffer(128, 128);
    Redraw redraw(buffer, {0, 200, 100, 300});
    split.handle_message(redraw);
    EXPECT_TRUE(top.areas.empty());
    EXPECT_EQ(middle.areas.size(), 1u);
    EXPECT_EQ(bottom.areas.size(), 1u);

    // Side by side, the axis is x.
    RecordingNode left, right;
    CtrlGroupSplit row;
    row.orientation = SPTreeSplit::kSideBySide;
    row.set_origin({10, 20});
    row.add_child(&left, 30);
    row.add_child(&right, 40);
    EXPECT_EQ(right.origin, (Point{40, 20}));
}

TEST(SplitTest, ReplacingAndRemovingChildrenHideShowAndReplace)
{
    RecordingNode first, second, third, replacement;
    CtrlGroupSplit split;
    split.orientation = SPTreeSplit::kStacked;
    split.set_origin({0, 0});
    ShowObject show(true);
    split.handle_message(show);
    split.add_child(&first, 10);
    split.add_child(&second, 20);
    split.add_child(&third, 30);
    EXPECT_TRUE(second.visible);
    // Visibility is recorded before the node's delivery runs.
    EXPECT_EQ(second.shows, (std::vector<bool>{true}));

    split.replace_child(&replacement, 25, 1);
    EXPECT_FALSE(second.visible);
    EXPECT_EQ(second.parent, nullptr);
    EXPECT_TRUE(replacement.visible);
    EXPECT_EQ(replacement.parent, &split);
    EXPECT_EQ(replacement.origin, (Point{0, 10}));
    EXPECT_EQ(third.origin, (Point{0, 35}));

    split.remove_child(0);
    EXPECT_FALSE(first.visible);
    EXPECT_EQ(split.count(), 2);
    EXPECT_EQ(replacement.origin, (Point{0, 0}));
    EXPECT_EQ(third.origin, (Point{0, 25}));
    EXPECT_EQ(split.remove_child(5), 0) << "an index out of range changes nothing";
    EXPECT_EQ(split.count(), 2);
}

TEST(ControlGroupTest, PointsGoToTheFirstControlAndRegionsToEveryOneTheyMeet)
{
    Log log;
    LoggingControl under(log), over(log), apart(log);
    Desk desk;
    desk.add(under, {0, 0});
    desk.add(over, {5, 5});
    desk.add(apart, {100, 100});
    desk.open();
    log.clear();
    desk.headless.press({7, 7});
    desk.headless.release({7, 7});
    EXPECT_EQ(log, (Log{"set_active 1", "on_mouse_click 1", "on_mouse_click 0"})) << "only the control added first";
    EXPECT_TRUE(under.active());
    EXPECT_FALSE(over.active());

    log.clear();
    desk.window.paint({50, 50, 60, 60});
    EXPECT_TRUE(log.empty()) << "a tile that meets no control";
    desk.window.paint({8, 8, 101, 101});
    EXPECT_EQ(log, (Log{"on_redraw", "on_redraw", "on_redraw"}));
}

TEST(ControlGroupTest, HitBoxesAreHalfOpen)
{
    Log log;
    LoggingControl control(log);
    Desk desk;
    desk.add(control, {5, 5});
    desk.open();
    EXPECT_TRUE(control.contains({5, 5}));
    EXPECT_TRUE(control.contains({14, 14}));
    EXPECT_FALSE(control.contains({15, 14}));
    EXPECT_FALSE(control.contains({14, 15}));
    EXPECT_FALSE(control.contains({4, 5}));
}

TEST(SplitTest, AReplacedBackgroundShowsWhenPainted)
{
    PictureStore pictures;
    BackgroundItem top, lower, other;
    top.set_picture(pictures.opaque(100, 40, 0x00111111));
    lower.set_picture(pictures.opaque(100, 60, 0x00222222));
    other.set_picture(pictures.opaque(100, 60, 0x00333333));
    BackgroundSplit stack;
    stack.orientation = SPTreeSplit::kStacked;
    stack.set_origin({0, 0});
    stack.add_child(&top, 40);
    stack.add_child(&lower, 60);
    Desk desk({100, 100});
    desk.window.set_background_root(&stack);
    desk.open();
    EXPECT_EQ(desk.headless.pixel(50, 70), 0x00222222u);
    stack.replace_child(&other, 60, 1);
    EXPECT_TRUE(other.visible);
    desk.headless.paint_all();
    EXPECT_EQ(desk.headless.pixel(50, 70), 0x00333333u);
    EXPECT_EQ(desk.headless.pixel(50, 10), 0x00111111u);
}
