#include "HeadlessWindow.h"

#include "Clock.h"
#include "PngFile.h"
#include "WindowInterface.h"

#include <algorithm>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace pengui {

namespace {

double clockNow = 1000.0;
int nextTimerId = 1;
int headlessWindows = 0;

double headlessClock()
{
    return clockNow;
}

// Copies a row of the tile into the frame. The frame is not read again while painting, so where
// both rows are aligned the copy streams past the cache, which keeps the pictures the next
// tiles read.
void copyPast(const std::uint32_t* source, std::uint32_t* target, int count)
{
    int done = 0;
#if defined(__SSE2__)
    if ((reinterpret_cast<std::uintptr_t>(source) | reinterpret_cast<std::uintptr_t>(target)) % sizeof(__m128i) == 0)
        for (; done + 4 <= count; done += 4)
            _mm_stream_si128(reinterpret_cast<__m128i*>(target + done),
                             _mm_load_si128(reinterpret_cast<const __m128i*>(source + done)));
#endif
    std::copy(source + done, source + count, target + done);
}

} // namespace

HeadlessWindow::HeadlessWindow() : tile_(*this)
{
    if (headlessWindows++ == 0)
        set_clock_source(headlessClock);
}

HeadlessWindow::~HeadlessWindow()
{
    if (--headlessWindows == 0)
        set_clock_source(nullptr);
}

double HeadlessWindow::now()
{
    return clockNow;
}

int HeadlessWindow::create(void*, Size size)
{
    created_ = true;
    size_ = size;
    frame_.assign(static_cast<std::size_t>(std::max(size.w, 0)) * static_cast<std::size_t>(std::max(size.h, 0)), 0);
    invalidated_.push_back({0, 0, size.w, size.h});
    return 0;
}

void HeadlessWindow::destroy()
{
    created_ = false;
    editorOpen_ = false;
    captured_ = false;
    pointerHidden_ = false;
    timers_.clear();
    if (window_)
        window_->platform_destroyed();
}

void HeadlessWindow::resize(Size size)
{
    size_ = size;
    frame_.assign(static_cast<std::size_t>(std::max(size.w, 0)) * static_cast<std::size_t>(std::max(size.h, 0)), 0);
    invalidated_.push_back({0, 0, size.w, size.h});
}

bool HeadlessWindow::take_capture()
{
    if (!created_ || refuseCapture_)
        return false;
    captured_ = true;
    return true;
}

void HeadlessWindow::release_capture()
{
    if (!captured_)
        return;
    captured_ = false;
    if (window_)
        window_->capture_lost();
}

void HeadlessWindow::warp_pointer(Point point)
{
    pointer_ = point;
    warps_.push_back(point);
}

int HeadlessWindow::start_timer(int milliseconds)
{
    if (refuseTimers_)
        return 0;
    const double period = std::max(milliseconds, 1) * 0.001;
    const int id = nextTimerId++;
    timers_[id] = {period, clockNow + period};
    return id;
}

bool HeadlessWindow::kill_timer(int platformId)
{
    return timers_.erase(platformId) != 0;
}

void HeadlessWindow::advance(double seconds)
{
    const double end = clockNow + seconds;
    for (;;) {
        auto next = timers_.end();
        for (auto timer = timers_.begin(); timer != timers_.end(); ++timer)
            if (timer->second.due <= end && (next == timers_.end() || timer->second.due < next->second.due))
                next = timer;
        if (next == timers_.end())
            break;
        const int id = next->first;
        clockNow = std::max(clockNow, next->second.due);
        next->second.due += next->second.period;
        WindowInterface::platform_tick(id);
    }
    clockNow = end;
}

void HeadlessWindow::move_to(Point point)
{
    pointer_ = point;
    if (created_ && window_)
        window_->mouse_move(point, buttons_);
}

void HeadlessWindow::click(Point point, int buttons, int modifiers, int doubleClick)
{
    pointer_ = point;
    buttons_ = buttons;
    if (created_ && window_)
        window_->mouse_click(point, buttons, modifiers, doubleClick);
}

void HeadlessWindow::press(Point point, int button, int modifiers)
{
    // A press elsewhere takes the focus from an open editor first.
    if (editorOpen_)
        lose_focus();
    click(point, buttons_ | button, modifiers, 0);
}

void HeadlessWindow::release(Point point, int button, int modifiers)
{
    click(point, buttons_ & ~button, modifiers, 0);
}

void HeadlessWindow::double_click(Point point, int button, int modifiers)
{
    if (editorOpen_)
        lose_focus();
    click(point, buttons_ | button, modifiers, button);
}

int HeadlessWindow::open_text_editor(const Rect& rect, const std::string& text, const TextStyle&)
{
    if (!created_)
        return -1;
    editorOpen_ = true;
    editor_.open(text);
    editorRect_ = rect;
    return 0;
}

std::string HeadlessWindow::close_text_editor()
{
    editorOpen_ = false;
    return editor_.text();
}

void HeadlessWindow::type(const std::string& text)
{
    if (!editorOpen_)
        return;
    editor_.insert(text);
}

void HeadlessWindow::press_key(TextLineEditor::Key key, bool shift)
{
    if (editorOpen_)
        editor_.press(key, shift);
}

void HeadlessWindow::closeEditorFromUser(bool accepted)
{
    if (editorOpen_ && window_)
        window_->text_editor_closed(accepted);
}

void HeadlessWindow::press_enter()
{
    closeEditorFromUser(true);
}

void HeadlessWindow::press_escape()
{
    closeEditorFromUser(false);
}

void HeadlessWindow::lose_focus()
{
    closeEditorFromUser(true);
}

void HeadlessWindow::paint_pending()
{
    const std::vector<Rect> rects = std::move(invalidated_);
    invalidated_.clear();
    if (!created_ || !window_)
        return;
    for (const Rect& rect : rects)
        window_->paint(rect);
}

void HeadlessWindow::paint_all()
{
    invalidated_.clear();
    if (created_ && window_)
        window_->paint({0, 0, size_.w, size_.h});
}

std::uint32_t HeadlessWindow::pixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= size_.w || y >= size_.h)
        return 0;
    return frame_[static_cast<std::size_t>(y) * static_cast<std::size_t>(size_.w) + static_cast<std::size_t>(x)] & 0xFFFFFFu;
}

bool HeadlessWindow::write_png(const std::string& path) const
{
    return pengui::write_png(path, size_.w, size_.h, frame_.data());
}

void HeadlessWindow::Tile::blit(Point position, Size size)
{
    // Only what lies inside both the tile and the frame is copied.
    const int left = std::max(position.x, 0);
    const int right = std::min({position.x + size.w, owner_.size_.w, position.x + width()});
    const int top = std::max(position.y, 0);
    const int bottom = std::min({position.y + size.h, owner_.size_.h, position.y + height()});
    for (int y = top; y < bottom; ++y) {
        const std::uint32_t* source = pixels() + static_cast<std::size_t>((y - position.y) * width() + left - position.x);
        copyPast(source, owner_.frame_.data() + static_cast<std::ptrdiff_t>(y) * owner_.size_.w + left, right - left);
    }
#if defined(__SSE2__)
    _mm_sfence();
#endif
}

} // namespace pengui
