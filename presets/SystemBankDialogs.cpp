#include "SystemBankDialogs.h"

#include "BankFiles.h"
#include "ProductInfo.h"
#include "SimpleMessageBox.h"

namespace mppi {

SystemBankDialogs::SystemBankDialogs()
{
    const std::string extension = kBankExtension;
    selector_.set_filters({{std::string(product::kVendor) + " plug-in preset bank (*." + extension + ")", "*." + extension}});
    selector_.set_filter_index(0);
}

int SystemBankDialogs::chooseFile(bool save, const std::string& title, std::string& path)
{
    selector_.set_title(title);
    const sys::FileSelector::Result result = save ? selector_.select_for_save() : selector_.select_for_load();
    if (result != sys::FileSelector::kChosen)
        return result;
    path = selector_.path();
    return 0;
}

int SystemBankDialogs::showMessage(const std::string& caption, const std::string& text, int buttons, int defaultButton)
{
    return sys::SimpleMessageBox::show(caption, text, buttons, defaultButton);
}

} // namespace mppi
