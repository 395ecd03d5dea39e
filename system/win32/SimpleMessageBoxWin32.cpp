// Message boxes on Windows.
#include "SimpleMessageBox.h"

#include <windows.h>

namespace sys {

int SimpleMessageBox::show(const std::string& caption, const std::string& text, int buttons, int defaultButton)
{
    static constexpr UINT kButtonStyles[] = {MB_OK, MB_OKCANCEL, MB_YESNO};
    static constexpr UINT kDefaultStyles[] = {0, MB_DEFBUTTON2, MB_DEFBUTTON3, MB_DEFBUTTON4};
    UINT style = MB_SETFOREGROUND;
    if (buttons >= 0 && buttons < 3)
        style |= kButtonStyles[buttons];
    if (defaultButton >= 0 && defaultButton < 4)
        style |= kDefaultStyles[defaultButton];
    switch (MessageBoxA(nullptr, text.c_str(), caption.c_str(), style)) {
    case IDOK:
    case IDYES: return 0;
    case IDCANCEL:
    case IDNO: return 1;
    default: return -1;
    }
}

} // namespace sys
