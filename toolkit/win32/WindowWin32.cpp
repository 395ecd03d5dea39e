#include "WindowWin32.h"

#include "Sys.h"
#include "WindowInterface.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

namespace pengui {

namespace {

char g_className[32] = {};
bool g_classRegistered = false;
int g_openWindows = 0;

HINSTANCE moduleInstance()
{
    return static_cast<HINSTANCE>(sys::get_module());
}

// Mouse coordinates are signed: a captured drag left of or above the window goes negative.
Point eventPoint(LPARAM lParam)
{
    return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

// Left, right and middle as bits 0, 1 and 2.
int eventButtons(WPARAM keys)
{
    return static_cast<int>((keys & 3) | ((keys >> 2) & 4));
}

// Bit 0 Control, bit 1 Shift.
int eventModifiers(WPARAM keys)
{
    return static_cast<int>(((keys & 4) | ((keys >> 2) & 2)) >> 1);
}

constexpr double kBaseDpi = 96.0;

// A function of user32 that older systems lack, or null.
template <class Function>
Function user32Function(const char* name)
{
    HMODULE user32 = GetModuleHandleA("user32.dll");
    return user32 ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(user32, name))) : nullptr;
}

void CALLBACK timerProc(HWND, UINT, UINT_PTR id, DWORD)
{
    WindowInterface::platform_tick(static_cast<int>(id));
}

} // namespace

const char* WindowWin32::class_name()
{
    if (!g_className[0])
        std::snprintf(g_className, sizeof g_className, "BrisvalAudioPlugin%08X",
                      static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(&WindowWin32::windowProc)));
    return g_className;
}

WindowWin32::WindowWin32()
    : textEditor_([this](bool accepted) {
          if (window_)
              window_->text_editor_closed(accepted);
      })
{
}

WindowWin32::~WindowWin32()
{
    destroy();
}

int WindowWin32::create(void* parent, Size size)
{
    if (handle_)
        return 0;
    if (!tile_.ready())
        return -1;
    if (!g_classRegistered) {
        WNDCLASSEXA description{};
        description.cbSize = sizeof description;
        description.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
        description.lpfnWndProc = windowProc;
        description.hInstance = moduleInstance();
        description.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
        description.lpszClassName = class_name();
        if (!RegisterClassExA(&description)) {
            char text[sys::kErrorTextSize];
            sys::platform_error_text(text, GetLastError());
            return -1;
        }
        g_classRegistered = true;
    }
    pointerHidden_ = false;
    size_ = size;
    HWND created = CreateWindowExA(0, class_name(), kTitle, WS_CHILD | WS_VISIBLE, 0, 0, size.w, size.h,
                                   static_cast<HWND>(parent), nullptr, moduleInstance(), nullptr);
    if (!created) {
        if (g_openWindows == 0 && UnregisterClassA(class_name(), moduleInstance()))
            g_classRegistered = false;
        return -1;
    }
    ++g_openWindows;
    handle_ = created;
    SetWindowLongPtrA(handle_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    InvalidateRect(handle_, nullptr, FALSE);
    return 0;
}

void WindowWin32::destroy()
{
    textEditor_.close();
    if (handle_)
        DestroyWindow(handle_);
    // WM_DESTROY forgot the window; the class goes with the module's last one.
    if (g_classRegistered && g_openWindows == 0 && UnregisterClassA(class_name(), moduleInstance()))
        g_classRegistered = false;
}

void WindowWin32::forgetWindow()
{
    show_pointer();
    SetWindowLongPtrA(handle_, GWLP_USERDATA, 0);
    handle_ = nullptr;
    --g_openWindows;
    if (window_)
        window_->platform_destroyed();
}

void WindowWin32::resize(Size size)
{
    size_ = size;
    if (handle_)
        MoveWindow(handle_, 0, 0, size.w, size.h, TRUE);
}

void WindowWin32::invalidate(const Rect& rect)
{
    if (!handle_)
        return;
    const RECT area{rect.x0, rect.y0, rect.x1, rect.y1};
    InvalidateRect(handle_, &area, FALSE);
}

bool WindowWin32::take_capture()
{
    if (!handle_)
        return false;
    SetCapture(handle_);
    return GetCapture() == handle_;
}

void WindowWin32::release_capture()
{
    if (handle_ && GetCapture() == handle_)
        ReleaseCapture();
}

void WindowWin32::hide_pointer()
{
    if (pointerHidden_)
        return;
    pointerHidden_ = true;
    ShowCursor(FALSE);
}

void WindowWin32::show_pointer()
{
    if (!pointerHidden_)
        return;
    pointerHidden_ = false;
    ShowCursor(TRUE);
}

Point WindowWin32::pointer_position()
{
    POINT cursor;
    RECT frame;
    if (!handle_ || !GetCursorPos(&cursor) || !GetWindowRect(handle_, &frame))
        return {};
    return {cursor.x - frame.left, cursor.y - frame.top};
}

void WindowWin32::warp_pointer(Point point)
{
    RECT frame;
    if (handle_ && GetWindowRect(handle_, &frame))
        SetCursorPos(frame.left + point.x, frame.top + point.y);
}

int WindowWin32::start_timer(int milliseconds)
{
    const UINT_PTR id = SetTimer(nullptr, 0, static_cast<UINT>(std::max(milliseconds, 1)), timerProc);
    return static_cast<int>(id);
}

bool WindowWin32::kill_timer(int platformId)
{
    return KillTimer(nullptr, static_cast<UINT_PTR>(platformId)) != 0;
}

int WindowWin32::open_text_editor(const Rect& rect, const std::string& text, const TextStyle&)
{
    return handle_ ? textEditor_.open(handle_, rect, text) : -1;
}

std::string WindowWin32::close_text_editor()
{
    return textEditor_.close();
}

double WindowWin32::system_scale(void* parent)
{
    using DpiForWindow = UINT(WINAPI*)(HWND);
    using DpiForSystem = UINT(WINAPI*)();
    UINT dpi = 0;
    if (parent) {
        if (const auto forWindow = user32Function<DpiForWindow>("GetDpiForWindow"))
            dpi = forWindow(static_cast<HWND>(parent));
    } else if (const auto forSystem = user32Function<DpiForSystem>("GetDpiForSystem")) {
        dpi = forSystem();
    }
    return dpi / kBaseDpi;
}

void WindowWin32::paint()
{
    PAINTSTRUCT painting;
    HDC target = BeginPaint(handle_, &painting);
    if (!target)
        return;
    const Size content = window_ ? window_->content_size() : Size{};
    const Rect dirty{painting.rcPaint.left, painting.rcPaint.top, std::min<LONG>(painting.rcPaint.right, content.w),
                     std::min<LONG>(painting.rcPaint.bottom, content.h)};
    tile_.set_target(target);
    if (window_ && dirty.x0 < dirty.x1 && dirty.y0 < dirty.y1)
        window_->paint(dirty);
    tile_.set_target(nullptr);
    // Outside the content, the system's button face.
    RECT client;
    GetClientRect(handle_, &client);
    HGDIOBJ pen = SelectObject(target, GetStockObject(NULL_PEN));
    HGDIOBJ brush = SelectObject(target, GetSysColorBrush(COLOR_BTNFACE));
    Rectangle(target, 0, content.h, client.right + 1, client.bottom + 1);
    Rectangle(target, content.w, 0, client.right + 1, content.h + 1);
    SelectObject(target, brush);
    SelectObject(target, pen);
    EndPaint(handle_, &painting);
}

LRESULT CALLBACK WindowWin32::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* owner = reinterpret_cast<WindowWin32*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!owner || owner->handle_ != window)
        return DefWindowProcA(window, message, wParam, lParam);
    return owner->handle(message, wParam, lParam);
}

LRESULT WindowWin32::handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT:
        paint();
        return 0;
    case WM_MOUSEMOVE:
        if (window_)
            window_->mouse_move(eventPoint(lParam), eventButtons(wParam));
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
        if (window_)
            window_->mouse_click(eventPoint(lParam), eventButtons(wParam), eventModifiers(wParam), 0);
        return 0;
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK: {
        const int doubleClick = message == WM_LBUTTONDBLCLK ? 1 : message == WM_RBUTTONDBLCLK ? 2 : 4;
        if (window_)
            window_->mouse_click(eventPoint(lParam), eventButtons(wParam), eventModifiers(wParam), doubleClick);
        return 0;
    }
    case WM_SHOWWINDOW:
        // A hidden window keeps no gesture going.
        if (!wParam && GetCapture() == handle_)
            ReleaseCapture();
        return DefWindowProcA(handle_, message, wParam, lParam);
    case WM_CAPTURECHANGED:
        show_pointer();
        if (window_)
            window_->capture_lost();
        return 0;
    case WM_DESTROY:
        forgetWindow();
        return 0;
    default:
        return DefWindowProcA(handle_, message, wParam, lParam);
    }
}

} // namespace pengui
