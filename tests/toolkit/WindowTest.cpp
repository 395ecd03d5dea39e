// The window above its platform: capture modes, timers, text input and tiled painting, driven
// through the headless window as a user and a platform would.
#include "ToolkitFixture.h"

#include <gtest/gtest.h>

using namespace toolkit_test;

namespace {

// A control that captures the mouse on request and records what reaches it.
class Grabber : public ControlInterface {
public:
    Grabber() { box = {0, 0, 20, 20}; }
    int grab(int mode) { return capture_mouse(mode); }
    int let_go(Point point) { return release_mouse(point); }
    int timer(float period) { return start_timer(period); }
    void clear(int id) { stop_timer(id); }

    std::vector<Point> moves;
    std::vector<Point> clicks;
    std::vector<double> ticks;
    int lost = 0;

protected:
    int on_mouse_move(MouseMove& move) override
    {
        moves.push_back(move.point);
        return 0;
    }
    int on_mouse_click(MouseClick& click) override
    {
        clicks.push_back(click.point);
        return 0;
    }
    int on_mouse_capture_lost(MouseCaptureLost&) override
    {
        ++lost;
        return 0;
    }
    int on_notify(Notify& notify) override
    {
        ticks.push_back(notify.time);
        return 0;
    }
};

using Points = std::vector<Point>;

} // namespace

TEST(CaptureTest, ModesZeroAndOneSendPositionsToTheHolder)
{
    Grabber grabber;
    Desk desk;
    desk.add(grabber, {10, 10});
    desk.open();
    desk.headless.move_to({15, 15});
    ASSERT_EQ(grabber.grab(0), 0);
    EXPECT_FALSE(desk.headless.pointer_hidden());
    desk.headless.move_to({150, 120});
    desk.headless.move_to({-3, 5});
    EXPECT_EQ(grabber.moves, (Points{{15, 15}, {150, 120}, {-3, 5}})) << "outside its box and left of the window";

    ASSERT_EQ(grabber.let_go({0, 0}), 0);
    EXPECT_EQ(grabber.lost, 1);
    EXPECT_FALSE(desk.headless.captured());
    desk.headless.move_to({150, 120});
    EXPECT_EQ(grabber.moves.size(), 3u) << "without the capture, a point outside its box misses it";

    ASSERT_EQ(grabber.grab(1), 0);
    EXPECT_TRUE(desk.headless.pointer_hidden());
    desk.headless.move_to({40, 40});
    EXPECT_EQ(grabber.moves.back(), (Point{40, 40}));
    grabber.let_go({0, 0});
    EXPECT_FALSE(desk.headless.pointer_hidden()) << "shown again when the capture ends";
    EXPECT_TRUE(desk.headless.warps().empty());
}

TEST(CaptureTest, ModeTwoSendsMovementsAndWarpsByItsTimingRules)
{
    Grabber grabber;
    Desk desk;
    desk.add(grabber, {10, 10});
    desk.open();
    desk.headless.move_to({15, 15});
    ASSERT_EQ(grabber.grab(2), 0);
    EXPECT_TRUE(desk.headless.pointer_hidden());
    grabber.moves.clear();

    desk.headless.move_to({15, 10});
    desk.headless.move_to({18, 4});
    EXPECT_EQ(grabber.moves, (Points{{0, -5}, {3, -6}}));
    EXPECT_TRUE(desk.headless.warps().empty()) << "no warp in the first 250 ms";

    desk.headless.advance(0.3);
    desk.headless.move_to({18, 0});
    EXPECT_EQ(grabber.moves.back(), (Point{0, -4}));
    EXPECT_EQ(desk.headless.warps(), (Points{{15, 15}})) << "back to the capture point";
    desk.headless.advance(0.05);
    desk.headless.move_to({15, 12});
    EXPECT_EQ(grabber.moves.back(), (Point{0, -3})) << "measured from the warped position";
    EXPECT_EQ(desk.headless.warps().size(), 1u) << "at most one warp every 100 ms";
    desk.headless.advance(0.06);
    desk.headless.move_to({15, 11});
    EXPECT_EQ(desk.headless.warps().size(), 2u);

    // Clicks while captured carry movements too.
    desk.headless.release({16, 15});
    EXPECT_EQ(grabber.clicks.back(), (Point{1, 0}));

    grabber.let_go({60, 70});
    EXPECT_EQ(desk.headless.warps().back(), (Point{60, 70})) << "after 250 ms the release puts the pointer back";
    EXPECT_FALSE(desk.headless.pointer_hidden());
}

TEST(CaptureTest, AQuickReleaseDoesNotWarpAndASecondHolderTakesOver)
{
    Grabber first, second;
    Desk desk;
    desk.add(first, {0, 0});
    desk.add(second, {50, 0});
    desk.open();
    ASSERT_EQ(first.grab(2), 0);
    desk.headless.advance(0.2);
    first.let_go({60, 70});
    EXPECT_TRUE(desk.headless.warps().empty()) << "released within 250 ms";

    ASSERT_EQ(first.grab(2), 0);
    ASSERT_EQ(first.grab(0), 0);
    EXPECT_EQ(first.lost, 1) << "only the release before; capturing again loses nothing";
    EXPECT_EQ(desk.window.capture_mode(), 2) << "and keeps its mode";
    ASSERT_EQ(second.grab(0), 0);
    EXPECT_EQ(first.lost, 2);
    EXPECT_EQ(desk.window.capture_handler(), &second);
    EXPECT_EQ(first.let_go({0, 0}), 0) << "a release by a control that does not hold it does nothing";
    EXPECT_EQ(desk.window.capture_handler(), &second);

    desk.headless.set_refuse_capture(true);
    second.let_go({0, 0});
    EXPECT_EQ(second.grab(0), -1);
}

TEST(TimerTest, TicksArriveInOrderAndStopWithTheirTimerOrTheWindow)
{
    Grabber fast, slow;
    Desk desk;
    desk.add(fast, {0, 0});
    desk.add(slow, {50, 0});
    EXPECT_EQ(fast.timer(0.1f), -1) << "a closed window starts no timer";
    desk.open();
    const double start = Desk::now();
    const int fastId = fast.timer(0.1f);
    const int slowId = slow.timer(0.25f);
    ASSERT_GT(fastId, 0);
    EXPECT_EQ(slowId, fastId + 1);
    desk.headless.advance(0.55);
    ASSERT_EQ(fast.ticks.size(), 5u);
    ASSERT_EQ(slow.ticks.size(), 2u);
    EXPECT_NEAR(fast.ticks[0], start + 0.1, 1e-9);
    EXPECT_NEAR(slow.ticks[1], start + 0.5, 1e-9);

    fast.clear(fastId);
    desk.headless.advance(0.5);
    EXPECT_EQ(fast.ticks.size(), 5u);
    EXPECT_EQ(slow.ticks.size(), 4u);

    desk.window.close();
    EXPECT_EQ(desk.headless.running_timers(), 0);
    EXPECT_EQ(desk.window.timer_count(), 0);
    desk.headless.advance(1.0);
    EXPECT_EQ(slow.ticks.size(), 4u);
}

TEST(WindowTest, InvalidationIsClampedToTheWholeContent)
{
    Desk desk({700, 300});
    desk.open();
    desk.headless.clear_invalidated();
    Invalidate everything({-10, -10, 5000, 5000});
    EXPECT_EQ(desk.window.handle_message(everything), 0);
    ASSERT_EQ(desk.headless.invalidated().size(), 1u);
    EXPECT_EQ(desk.headless.invalidated()[0], (Rect{0, 0, 700, 300})) << "the last column and row included";
    Invalidate outside({800, 0, 900, 10});
    desk.window.handle_message(outside);
    EXPECT_EQ(desk.headless.invalidated().size(), 1u);
}

TEST(WindowTest, PaintingCoversTheWindowTileByTileWithControlsOverTheBackground)
{
    // A control picture across the tile boundaries at 128.
    class Square : public ControlInterface {
    public:
        explicit Square(const Picture& picture) : picture_(picture) { box = picture.box; }

    protected:
        int on_redraw(Redraw& redraw) override
        {
            picture_.draw(local(redraw.area), redraw.buffer);
            return 0;
        }

    private:
        Picture picture_;
    };
    PictureStore pictures;
    Square square(pictures.solid(40, 40, 0x00FF8000, {20, 20}));
    Desk desk({300, 200}, 0x00102030);
    desk.add(square, {128, 128});
    desk.open();
    for (int y = 0; y < 200; y += 7) {
        for (int x = 0; x < 300; x += 7) {
            const bool inside = x >= 108 && x < 148 && y >= 108 && y < 148;
            EXPECT_EQ(desk.headless.pixel(x, y), inside ? 0x00FF8000u : 0x00102030u) << x << ", " << y;
        }
    }
    EXPECT_EQ(desk.headless.pixel(299, 199), 0x00102030u);
    EXPECT_EQ(desk.headless.pixel(147, 147), 0x00FF8000u);
    EXPECT_EQ(desk.headless.pixel(148, 147), 0x00102030u);
}

TEST(TextInputTest, EnterAcceptsEscapeCancelsAndANewRequestFinishesTheOld)
{
    struct Requester : MessageHandlerInterface {
        int handle_message(MessageInterface& message) override
        {
            if (auto* finished = dynamic_cast<TextInputFinished*>(&message))
                results.emplace_back(finished->text, finished->accepted);
            return 0;
        }
        std::vector<std::pair<std::string, bool>> results;
    } first, second;
    Desk desk;
    desk.open();
    TextInputRequest request(&first, "120", {10, 20, 60, 35});
    ASSERT_EQ(desk.window.handle_message(request), 0);
    EXPECT_TRUE(desk.headless.text_editor_open());
    EXPECT_EQ(desk.headless.editor_rect(), (Rect{10, 20, 60, 35}));
    desk.headless.type("13");
    desk.headless.type("5");
    desk.headless.press_enter();
    EXPECT_EQ(first.results, (std::vector<std::pair<std::string, bool>>{{"135", true}}));
    EXPECT_FALSE(desk.headless.text_editor_open());

    desk.window.handle_message(request);
    desk.headless.type("oops");
    desk.headless.press_escape();
    EXPECT_EQ(first.results.back(), (std::pair<std::string, bool>{"oops", false}));

    desk.window.handle_message(request);
    TextInputRequest other(&second, "x", {0, 0, 10, 10});
    desk.window.handle_message(other);
    EXPECT_EQ(first.results.back(), (std::pair<std::string, bool>{"120", true})) << "finished by the new request";
    EXPECT_TRUE(second.results.empty());
    desk.headless.press({150, 100});
    EXPECT_EQ(second.results.back(), (std::pair<std::string, bool>{"x", true})) << "a click elsewhere commits";

    TextInputStop stop(&second);
    EXPECT_EQ(desk.window.handle_message(stop), -1) << "nothing open to stop";
}
