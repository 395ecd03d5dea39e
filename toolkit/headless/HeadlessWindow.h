#pragma once

#include "PlatformWindowInterface.h"
#include "RenderingBufferInterface.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace pengui {

// A platform window without a screen, for tests and tools: it paints into a frame buffer of the
// window's size, records what it was asked to do (invalidated rectangles, captures, pointer
// hiding and warps), runs timers on a clock that only moves when told, and takes mouse and
// text-editor input as a user would give it.
//
// The clock is the toolkit's while a headless window exists: gestures, animations and timers
// all see the same time.
class HeadlessWindow : public PlatformWindowInterface {
public:
    HeadlessWindow();
    ~HeadlessWindow() override;
    HeadlessWindow(const HeadlessWindow&) = delete;
    HeadlessWindow& operator=(const HeadlessWindow&) = delete;

    void attach(WindowInterface* window) override { window_ = window; }
    int create(void* parent, Size size) override;
    void destroy() override;
    bool created() const override { return created_; }
    void resize(Size size) override;
    void invalidate(const Rect& rect) override { invalidated_.push_back(rect); }
    RenderingBufferInterface& tile() override { return tile_; }
    bool take_capture() override;
    void release_capture() override;
    void hide_pointer() override { pointerHidden_ = true; }
    void show_pointer() override { pointerHidden_ = false; }
    Point pointer_position() override { return pointer_; }
    void warp_pointer(Point point) override;
    int start_timer(int milliseconds) override;
    bool kill_timer(int platformId) override;
    int open_text_editor(const Rect& rect, const std::string& text, const TextStyle& style) override;
    std::string close_text_editor() override;
    bool text_editor_open() const override { return editorOpen_; }
    // What set_system_scale set: 0 (nothing) at first.
    double system_scale(void*) override { return systemScale_; }
    void set_system_scale(double factor) { systemScale_ = factor; }

    // The clock, in seconds; it starts at 1000 and moves only through advance.
    static double now();
    // Moves the clock on by `seconds`, delivering every timer tick due on the way, in order.
    void advance(double seconds);

    // The user's hand. Points are window pixels; `button` is 1 left, 2 right, 4 middle;
    // modifiers 1 Control, 2 Shift.
    void move_to(Point point);
    void press(Point point, int button = 1, int modifiers = 0);
    void release(Point point, int button = 1, int modifiers = 0);
    void double_click(Point point, int button = 1, int modifiers = 0);
    // Replaces the editor's selection (all of it when it opens) or inserts at the caret.
    void type(const std::string& text);
    void press_key(TextLineEditor::Key key, bool shift = false);
    void press_enter();
    void press_escape();
    void lose_focus();
    // The button goes up where the window does not see it (over another window).
    void release_unseen(int button = 1) { buttons_ &= ~button; }
    // The system takes the capture away, as when the window is hidden.
    void break_capture() { release_capture(); }

    // Paints every rectangle invalidated so far, as a platform's paint event would.
    void paint_pending();
    // Paints the whole window.
    void paint_all();

    Size size() const { return size_; }
    // A pixel of the frame as 0x00RRGGBB.
    std::uint32_t pixel(int x, int y) const;
    const std::vector<std::uint32_t>& frame() const { return frame_; }
    bool write_png(const std::string& path) const;

    // What the platform was asked.
    const std::vector<Rect>& invalidated() const { return invalidated_; }
    void clear_invalidated() { invalidated_.clear(); }
    bool captured() const { return captured_; }
    bool pointer_hidden() const { return pointerHidden_; }
    const std::vector<Point>& warps() const { return warps_; }
    int running_timers() const { return static_cast<int>(timers_.size()); }
    const std::string& editor_text() const { return editor_.text(); }
    const Rect& editor_rect() const { return editorRect_; }
    void set_refuse_capture(bool refuse) { refuseCapture_ = refuse; }
    void set_refuse_timers(bool refuse) { refuseTimers_ = refuse; }

private:
    // The tile: blitting copies it into the frame.
    class Tile : public PixelBuffer {
    public:
        explicit Tile(HeadlessWindow& owner) : PixelBuffer(kTileSize, kTileSize), owner_(owner) {}
        void blit(Point position, Size size) override;

    private:
        HeadlessWindow& owner_;
    };

    struct Timer {
        double period;
        double due;
    };

    void click(Point point, int buttons, int modifiers, int doubleClick);
    void closeEditorFromUser(bool accepted);

    WindowInterface* window_ = nullptr;
    bool created_ = false;
    Size size_;
    std::vector<std::uint32_t> frame_;
    Tile tile_;
    std::vector<Rect> invalidated_;
    Point pointer_;
    int buttons_ = 0;
    bool captured_ = false;
    bool pointerHidden_ = false;
    std::vector<Point> warps_;
    std::map<int, Timer> timers_;
    bool editorOpen_ = false;
    TextLineEditor editor_;
    Rect editorRect_;
    bool refuseCapture_ = false;
    bool refuseTimers_ = false;
    double systemScale_ = 0.0;
};

} // namespace pengui
