// File dialogs on Linux: none yet, so every dialog reports failure.
#include "FileSelector.h"
#include "Sys.h"

namespace sys {

FileSelector::Result FileSelectorImpl::run(bool)
{
    debug_output("sys::FileSelector: Error: dialog failed.\n");
    return FileSelector::kFailed;
}

} // namespace sys
