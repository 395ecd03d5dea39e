// File dialogs on Windows: the common open and save dialogs.
#include "FileSelector.h"

#include <windows.h>
#include <commdlg.h>

#include <cstring>

namespace sys {

namespace {

constexpr std::size_t kPathBufferSize = 1024;
constexpr DWORD kDialogFlags = OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_LONGNAMES | OFN_ENABLESIZING;

void copyInto(char (&buffer)[kPathBufferSize], const std::string& text)
{
    const std::size_t length = text.size() < kPathBufferSize - 1 ? text.size() : kPathBufferSize - 1;
    std::memcpy(buffer, text.data(), length);
    buffer[length] = '\0';
}

} // namespace

FileSelector::Result FileSelectorImpl::run(bool save)
{
    try {
        const std::string filters = owner_.filter_text();
        char file[kPathBufferSize];
        char directory[kPathBufferSize];
        copyInto(file, owner_.path());
        copyInto(directory, FileSelector::initial_directory(owner_.path()));

        OPENFILENAMEA dialog{};
        dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
        dialog.lpstrFilter = filters.c_str();
        dialog.nFilterIndex = static_cast<DWORD>(owner_.filter_index() + 1);
        dialog.lpstrFile = file;
        dialog.nMaxFile = kPathBufferSize - 1;
        dialog.lpstrInitialDir = directory;
        dialog.lpstrTitle = owner_.title().c_str();
        dialog.Flags = kDialogFlags;

        const BOOL chosen = save ? GetSaveFileNameA(&dialog) : GetOpenFileNameA(&dialog);
        if (chosen) {
            owner_.accept(static_cast<int>(dialog.nFilterIndex), file);
            return FileSelector::kChosen;
        }
        return CommDlgExtendedError() == 0 ? FileSelector::kCancelled : FileSelector::kFailed;
    } catch (...) {
        return FileSelector::kFailed;
    }
}

} // namespace sys
