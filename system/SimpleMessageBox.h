#pragma once

#include <string>

namespace sys {

// A modal message box with no owner window.
class SimpleMessageBox {
public:
    enum Buttons { kOk = 0, kOkCancel = 1, kYesNo = 2 };

    // Shows the box; `defaultButton` 0 to 3 picks the default button. Answers 0 for OK or Yes,
    // 1 for Cancel or No, -1 when the box could not be shown.
    static int show(const std::string& caption, const std::string& text, int buttons, int defaultButton);
};

} // namespace sys
