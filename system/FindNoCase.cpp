#include "Sys.h"

#include <algorithm>
#include <cctype>

namespace sys {

int find_no_case(const std::string& needle, const std::string& text)
{
    if (needle.empty())
        return 0;
    auto upper = [](char c) { return std::toupper(static_cast<unsigned char>(c)); };
    auto found = std::search(text.begin(), text.end(), needle.begin(), needle.end(),
                             [&](char a, char b) { return upper(a) == upper(b); });
    return found == text.end() ? -1 : static_cast<int>(found - text.begin());
}

} // namespace sys
