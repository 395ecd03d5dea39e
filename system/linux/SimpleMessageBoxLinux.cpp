// Message boxes on Linux: none yet; the text goes to the debug output instead.
#include "SimpleMessageBox.h"
#include "Sys.h"

namespace sys {

int SimpleMessageBox::show(const std::string& caption, const std::string& text, int, int)
{
    debug_output(("sys::SimpleMessageBox: Error: dialog failed: " + caption + ": " + text + "\n").c_str());
    return -1;
}

} // namespace sys
