#include "WebSiteListener.h"

#include "QuenloGui.h"

#include <cstdio>

namespace mppi {

std::string WebSiteListener::address()
{
    char query[64];
    std::snprintf(query, sizeof query, "productid=%ld&version=%d", kProductNumber, kVersionNumber);
    return std::string(kSiteAddress) + "jump.php?type=product&" + query;
}

void WebSiteListener::action(int event, int)
{
    if (event == 0)
        gui_.openUrl(address());
}

} // namespace mppi
