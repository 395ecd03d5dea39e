#include "WindowInterface.h"

#include "Clock.h"
#include "Messages.h"
#include "PlatformWindowInterface.h"
#include "RenderingBufferInterface.h"
#include "SPTreeNodeInterface.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace pengui {

namespace {

// Every running timer of the process: its platform id, its toolkit id and its window.
struct TimerEntry {
    int platformId;
    int id;
    WindowInterface* window;
};

std::vector<TimerEntry>& timerList()
{
    static std::vector<TimerEntry> entries;
    return entries;
}

// Longest timer period taken, in seconds.
constexpr float kLongestPeriod = 1e6f;

} // namespace

WindowInterface::WindowInterface(std::unique_ptr<PlatformWindowInterface> platform) : platform_(std::move(platform))
{
    platform_->attach(this);
}

WindowInterface::~WindowInterface()
{
    close();
}

void WindowInterface::service()
{
    platform_->service();
}

bool WindowInterface::is_open() const
{
    return platform_->created();
}

int WindowInterface::open(void* parent)
{
    if (platform_->created())
        return 0;
    capture_.pointerHidden = false;
    return platform_->create(parent, resizable_ ? contentSize_ : windowSize_);
}

int WindowInterface::show(void* parent)
{
    const int result = open(parent);
    if (result != 0)
        return result;
    ShowObject show(true);
    if (backgroundRoot_)
        backgroundRoot_->handle_message(show);
    if (controlRoot_)
        controlRoot_->handle_message(show);
    return 0;
}

void WindowInterface::close()
{
    killAllTimers();
    if (platform_->text_editor_open())
        platform_->close_text_editor();
    textRequester_ = nullptr;
    if (capture_.handler)
        platform_->release_capture();
    showPointer();
    capture_ = Capture{};
    if (platform_->created())
        platform_->destroy();
}

void WindowInterface::set_size(Size content)
{
    contentSize_ = content;
    apply_size();
}

void WindowInterface::resize_window(Size window)
{
    windowSize_ = window;
    if (platform_->created())
        platform_->resize(window);
}

void WindowInterface::apply_size()
{
    if (!platform_->created())
        return;
    if (resizable_)
        platform_->resize(contentSize_);
    else
        platform_->invalidate({0, 0, windowSize_.w, windowSize_.h});
}

void WindowInterface::set_background_root(BackgroundNodeInterface* root)
{
    backgroundRoot_ = root;
    if (root)
        root->parent = this;
}

void WindowInterface::set_control_root(CtrlGroupNodeInterface* root)
{
    controlRoot_ = root;
    if (root)
        root->parent = this;
}

int WindowInterface::handle_message(MessageInterface& message)
{
    if (!platform_->created())
        return -1;
    if (auto* invalidate = dynamic_cast<Invalidate*>(&message))
        return onInvalidate(invalidate->rect);
    if (auto* capture = dynamic_cast<MouseCapture*>(&message))
        return onCapture(capture->handler, capture->mode);
    if (auto* release = dynamic_cast<MouseRelease*>(&message))
        return onRelease(release->handler, release->point);
    if (auto* setTimer = dynamic_cast<SetTimer*>(&message))
        return onSetTimer(setTimer->handler, setTimer->period, setTimer->id);
    if (auto* clearTimer = dynamic_cast<ClearTimer*>(&message))
        return onClearTimer(clearTimer->id);
    if (auto* request = dynamic_cast<TextInputRequest*>(&message))
        return onTextInput(*request);
    if (dynamic_cast<TextInputStop*>(&message)) {
        if (!platform_->text_editor_open())
            return -1;
        text_editor_closed(true);
        return 0;
    }
    return -1;
}

int WindowInterface::onInvalidate(const Rect& rect)
{
    // Clamped to the content, its last column and row included.
    const Rect clamped{std::max(rect.x0, 0), std::max(rect.y0, 0), std::min(rect.x1, contentSize_.w),
                       std::min(rect.y1, contentSize_.h)};
    if (clamped.x0 < clamped.x1 && clamped.y0 < clamped.y1)
        platform_->invalidate(clamped);
    return 0;
}

void WindowInterface::paint(const Rect& dirty)
{
    const Rect area{std::max(dirty.x0, 0), std::max(dirty.y0, 0), std::min(dirty.x1, contentSize_.w),
                    std::min(dirty.y1, contentSize_.h)};
    RenderingBufferInterface& tile = platform_->tile();
    const int step = std::min({kTileSize, tile.width(), tile.height()});
    // Row by row: the tiles of a row share the rows of the pictures and of the screen they copy.
    for (int y = area.y0; y < area.y1; y += step) {
        for (int x = area.x0; x < area.x1; x += step) {
            const Rect piece{x, y, std::min(x + step, area.x1), std::min(y + step, area.y1)};
            Redraw redraw(tile, piece);
            if (backgroundRoot_)
                backgroundRoot_->handle_message(redraw);
            if (controlRoot_)
                controlRoot_->handle_message(redraw);
            tile.blit({x, y}, {piece.width(), piece.height()});
        }
    }
}

void WindowInterface::sendDown(MessageHandlerInterface* target, MessageInterface& message)
{
    if (target)
        target->handle_message(message);
}

Point WindowInterface::capturedPoint(Point point)
{
    if (!capture_.handler || capture_.mode != 2)
        return point;
    const Point movement{point.x - capture_.reference.x, point.y - capture_.reference.y};
    capture_.reference = point;
    const double now = now_seconds();
    if (now - capture_.lastWarp >= kWarpInterval && now - capture_.since >= kWarpDelay) {
        capture_.reference = capture_.point;
        platform_->warp_pointer(capture_.point);
        capture_.lastWarp = now;
    }
    return movement;
}

void WindowInterface::mouse_move(Point point, int buttons)
{
    // The button that started a capture went up where this window could not see it (released
    // over another window while this one was hidden, say): the gesture ends as at a release.
    if (capture_.handler && capture_.buttons != 0 && (buttons & capture_.buttons) == 0) {
        mouse_click(point, buttons, 0, 0);
        if (capture_.handler)
            platform_->release_capture();
        if (capture_.handler)
            capture_lost();
        return;
    }
    MessageHandlerInterface* target = capture_.handler ? capture_.handler : controlRoot_;
    MouseMove move(capturedPoint(point));
    sendDown(target, move);
}

void WindowInterface::mouse_click(Point point, int buttons, int modifiers, int doubleClick)
{
    buttons_ = buttons;
    MessageHandlerInterface* target = capture_.handler ? capture_.handler : controlRoot_;
    MouseClick click(capturedPoint(point), buttons, modifiers, doubleClick);
    sendDown(target, click);
}

int WindowInterface::onCapture(MessageHandlerInterface* handler, int mode)
{
    if (!platform_->take_capture())
        return -1;
    const double now = now_seconds();
    if (mode == 1 || mode == 2) {
        if (!capture_.pointerHidden) {
            platform_->hide_pointer();
            capture_.pointerHidden = true;
        }
        capture_.since = now;
        capture_.lastWarp = now;
    }
    const Point position = platform_->pointer_position();
    capture_.reference = position;
    if (capture_.handler == handler)
        return 0;
    if (MessageHandlerInterface* previous = capture_.handler) {
        capture_.handler = nullptr;
        MouseCaptureLost lost;
        previous->handle_message(lost);
    }
    capture_.handler = handler;
    capture_.mode = mode;
    capture_.buttons = buttons_;
    if (mode == 2)
        capture_.point = position;
    return 0;
}

int WindowInterface::onRelease(MessageHandlerInterface* handler, Point point)
{
    if (!capture_.handler || capture_.handler != handler)
        return 0;
    if (capture_.mode == 2 && now_seconds() - capture_.since >= kWarpDelay)
        platform_->warp_pointer(point);
    platform_->release_capture();
    return 0;
}

void WindowInterface::showPointer()
{
    if (capture_.pointerHidden) {
        platform_->show_pointer();
        capture_.pointerHidden = false;
    }
}

void WindowInterface::capture_lost()
{
    showPointer();
    dropCapture();
}

void WindowInterface::dropCapture()
{
    MessageHandlerInterface* holder = capture_.handler;
    capture_.handler = nullptr;
    capture_.mode = 0;
    capture_.buttons = 0;
    if (holder) {
        MouseCaptureLost lost;
        holder->handle_message(lost);
    }
}

int WindowInterface::onSetTimer(MessageHandlerInterface* handler, float period, int id)
{
    if (!(period >= 0.0f && period < kLongestPeriod))
        return -1;
    const int milliseconds = static_cast<int>(std::floor(period * 1000.0f + 0.5f));
    const int platformId = platform_->start_timer(milliseconds);
    if (platformId == 0)
        return -1;
    timerList().push_back({platformId, id, this});
    timers_[id] = handler;
    return 0;
}

int WindowInterface::onClearTimer(int id)
{
    std::vector<TimerEntry>& entries = timerList();
    const auto entry = std::find_if(entries.begin(), entries.end(), [id](const TimerEntry& e) { return e.id == id; });
    if (entry == entries.end())
        return 0;
    const TimerEntry found = *entry;
    entries.erase(entry);
    if (found.window->timers_.erase(id) == 0)
        return -1;
    return found.window->platform_->kill_timer(found.platformId) ? 0 : -1;
}

void WindowInterface::killAllTimers()
{
    std::vector<TimerEntry>& entries = timerList();
    for (auto entry = entries.begin(); entry != entries.end();) {
        if (entry->window != this) {
            ++entry;
            continue;
        }
        if (timers_.count(entry->id))
            platform_->kill_timer(entry->platformId);
        entry = entries.erase(entry);
    }
    timers_.clear();
}

void WindowInterface::platform_tick(int platformId)
{
    const std::vector<TimerEntry>& entries = timerList();
    const auto entry =
        std::find_if(entries.begin(), entries.end(), [platformId](const TimerEntry& e) { return e.platformId == platformId; });
    if (entry == entries.end())
        return;
    const int id = entry->id;
    const auto handler = entry->window->timers_.find(id);
    if (handler == entry->window->timers_.end())
        return;
    Notify notify(id, now_seconds());
    handler->second->handle_message(notify);
}

int WindowInterface::onTextInput(const TextInputRequest& request)
{
    if (platform_->text_editor_open())
        text_editor_closed(true);
    const int result = platform_->open_text_editor(request.rect, request.text, request.style);
    if (result == 0)
        textRequester_ = request.requester;
    return result;
}

void WindowInterface::text_editor_closed(bool accepted)
{
    const std::string text = platform_->close_text_editor();
    MessageHandlerInterface* requester = textRequester_;
    textRequester_ = nullptr;
    if (requester && controlRoot_) {
        TextInputFinished finished(text, accepted);
        requester->handle_message(finished);
    }
}

void WindowInterface::platform_destroyed()
{
    killAllTimers();
    showPointer();
    dropCapture();
    capture_ = Capture{};
    textRequester_ = nullptr;
}

} // namespace pengui
