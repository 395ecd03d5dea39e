#pragma once

#include <string>

namespace mppi {

// The dialogs of the bank commands: a file dialog and a message box. The system's own serve
// the user; tests stand in for the user with their own. Editor thread only; both block until
// the user answers.
class BankDialogsInterface {
public:
    virtual ~BankDialogsInterface() = default;

    // A file dialog titled `title`, for saving or loading a bank: 0 with the chosen file in
    // `path`, non-zero when cancelled or failed.
    virtual int chooseFile(bool save, const std::string& title, std::string& path) = 0;
    // A message box with buttons 0 (OK), 1 (OK and Cancel) or 2 (Yes and No); answers 0 for OK
    // or Yes, 1 for Cancel or No, -1 when it could not be shown.
    virtual int showMessage(const std::string& caption, const std::string& text, int buttons, int defaultButton) = 0;

    static constexpr int kOk = 0;
    static constexpr int kOkCancel = 1;
};

} // namespace mppi
