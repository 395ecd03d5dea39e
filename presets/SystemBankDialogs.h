#pragma once

#include "BankDialogsInterface.h"
#include "FileSelector.h"

namespace mppi {

// The bank commands' dialogs of the system: a file selector with the bank filter, remembering
// the last file, and the system's message box.
class SystemBankDialogs : public BankDialogsInterface {
public:
    SystemBankDialogs();
    int chooseFile(bool save, const std::string& title, std::string& path) override;
    int showMessage(const std::string& caption, const std::string& text, int buttons, int defaultButton) override;

private:
    sys::FileSelector selector_;
};

} // namespace mppi
