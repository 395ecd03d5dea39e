#pragma once

#include "PlatformWindowInterface.h"
#include "RenderingBufferWin32.h"
#include "TextLineEditorWin32.h"

#include <windows.h>

namespace pengui {

// The editor's window inside a Windows host: a child of the host's window, of a class this
// module registers on its first open and unregisters when its last window goes. Paint, mouse,
// capture and timer events go to the WindowInterface it is attached to. The host's
// user-interface thread only; the module-wide window count, class and timers are not locked.
class WindowWin32 : public PlatformWindowInterface {
public:
    WindowWin32();
    ~WindowWin32() override;
    WindowWin32(const WindowWin32&) = delete;
    WindowWin32& operator=(const WindowWin32&) = delete;

    void attach(WindowInterface* window) override { window_ = window; }
    int create(void* parent, Size size) override;
    void destroy() override;
    bool created() const override { return handle_ != nullptr; }
    void resize(Size size) override;
    void invalidate(const Rect& rect) override;
    RenderingBufferInterface& tile() override { return tile_; }
    bool take_capture() override;
    void release_capture() override;
    void hide_pointer() override;
    void show_pointer() override;
    Point pointer_position() override;
    void warp_pointer(Point point) override;
    int start_timer(int milliseconds) override;
    bool kill_timer(int platformId) override;
    int open_text_editor(const Rect& rect, const std::string& text, const TextStyle& style) override;
    std::string close_text_editor() override;
    bool text_editor_open() const override { return textEditor_.is_open(); }
    // The DPI of `parent` (of the system while there is none) over 96, through functions
    // looked up at run time, since systems before Windows 10 lack them: 0 where they are absent.
    double system_scale(void* parent) override;

    // The class name, "BrisvalAudioPlugin" and the window procedure's address in eight
    // upper-case hex digits: two copies of the plug-in in one process register two classes.
    static const char* class_name();

    static constexpr const char* kTitle = "Brisval Audio Plug-in";

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void paint();
    void forgetWindow();

    WindowInterface* window_ = nullptr;
    HWND handle_ = nullptr;
    Size size_;
    bool pointerHidden_ = false;
    RenderingBufferWin32 tile_;
    TextLineEditorWin32 textEditor_;
};

} // namespace pengui
