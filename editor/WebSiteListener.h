#pragma once

#include "DefaultEventListener.h"
#include "ProductInfo.h"

#include <string>

namespace mppi {

class QuenloGui;

// The website button: a press opens the product's page in the user's browser.
class WebSiteListener : public pengui::DefaultEventListener {
public:
    explicit WebSiteListener(QuenloGui& gui) : gui_(gui) {}
    void action(int event, int argument) override;

    // The page's address: the site, the jump page and the product's number and version.
    static std::string address();

    static constexpr const char* kSiteAddress = "https://www.brisval.example/";
    static constexpr long kProductNumber = 3;
    static constexpr int kVersionNumber = product::kVersionDigits;

private:
    QuenloGui& gui_;
};

} // namespace mppi
