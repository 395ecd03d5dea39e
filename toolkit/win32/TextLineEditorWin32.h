#pragma once

#include "Geometry.h"

#include <functional>
#include <string>

#include <windows.h>

namespace pengui {

// The one-line text field a text box opens over itself: a borderless centred EDIT popup owned
// by the editor's window, its text selected whole. Enter commits, Escape cancels, and losing
// the focus (a click elsewhere) commits; each reports once through the finished callback.
class TextLineEditorWin32 {
public:
    explicit TextLineEditorWin32(std::function<void(bool accepted)> finished) : finished_(std::move(finished)) {}
    ~TextLineEditorWin32();
    TextLineEditorWin32(const TextLineEditorWin32&) = delete;
    TextLineEditorWin32& operator=(const TextLineEditorWin32&) = delete;

    // Opens over `rect` (pixels of `parent`) with `text`: 0, or -1 when the field could not be made.
    int open(HWND parent, const Rect& rect, const std::string& text);
    // Closes the field and answers the text it held (the last text when already closed).
    std::string close();
    bool is_open() const { return edit_ != nullptr; }

    // Longest text kept, in characters.
    static constexpr int kLongestText = 1023;

private:
    static LRESULT CALLBACK editProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void finish(bool accepted);

    std::function<void(bool)> finished_;
    HWND edit_ = nullptr;
    HFONT font_ = nullptr;
    WNDPROC previous_ = nullptr;
    bool closing_ = false;
    std::string text_;
};

} // namespace pengui
