#include "TextLineEditorWin32.h"

#include "Sys.h"

namespace pengui {

TextLineEditorWin32::~TextLineEditorWin32()
{
    closing_ = true;
    close();
}

int TextLineEditorWin32::open(HWND parent, const Rect& rect, const std::string& text)
{
    RECT frame;
    if (is_open() || !parent || !GetWindowRect(parent, &frame))
        return -1;
    closing_ = false;
    const int height = rect.height();
    edit_ = CreateWindowExA(0, "EDIT", "", WS_POPUP | ES_AUTOHSCROLL | ES_CENTER, frame.left + rect.x0,
                            frame.top + rect.y0, rect.width(), height, parent, nullptr,
                            static_cast<HINSTANCE>(sys::get_module()), nullptr);
    LOGFONTA description{};
    description.lfHeight = -height;
    font_ = edit_ ? CreateFontIndirectA(&description) : nullptr;
    if (!edit_ || !font_) {
        if (edit_)
            DestroyWindow(edit_);
        edit_ = nullptr;
        font_ = nullptr;
        return -1;
    }
    // The 64-bit build keeps pointers whole: the pointer-sized calls are the same ones in 32 bits.
    SetWindowLongPtrA(edit_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    previous_ = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(edit_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(editProc)));
    SendMessageA(edit_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    SendMessageA(edit_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    SendMessageA(edit_, EM_SETSEL, 0, -1);
    ShowWindow(edit_, SW_SHOWNORMAL);
    SetFocus(edit_);
    return 0;
}

std::string TextLineEditorWin32::close()
{
    if (!edit_)
        return text_;
    char buffer[kLongestText + 1] = {};
    SendMessageA(edit_, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer));
    text_ = buffer;
    HWND edit = edit_;
    const bool wasClosing = closing_;
    closing_ = true; // the focus leaves while the field goes: that is no second answer
    edit_ = nullptr;
    SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
    SetWindowLongPtrA(edit, GWLP_USERDATA, 0);
    DestroyWindow(edit);
    DeleteObject(font_);
    font_ = nullptr;
    closing_ = wasClosing;
    return text_;
}

void TextLineEditorWin32::finish(bool accepted)
{
    if (closing_)
        return;
    closing_ = true;
    finished_(accepted);
    closing_ = false;
}

LRESULT CALLBACK TextLineEditorWin32::editProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* editor = reinterpret_cast<TextLineEditorWin32*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!editor)
        return DefWindowProcA(window, message, wParam, lParam);
    const WNDPROC previous = editor->previous_;
    const bool ends = message == WM_KILLFOCUS || (message == WM_CHAR && (wParam == VK_RETURN || wParam == VK_ESCAPE));
    if (ends && !editor->closing_) {
        editor->finish(!(message == WM_CHAR && wParam == VK_ESCAPE));
        return 0;
    }
    return CallWindowProcA(previous, window, message, wParam, lParam);
}

} // namespace pengui
