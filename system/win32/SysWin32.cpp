// System services on Windows: the module's resource section, the multimedia clock, system
// error texts and the shell's URL opener.
#include "Sys.h"

#include <cstdlib>

#include <windows.h>
#include <shellapi.h>

namespace sys {

namespace {

constexpr DWORD kNeutralLanguage = 0x400;

} // namespace

const unsigned char* get_ressource(const char* type, const char* name, std::size_t* size)
{
    HMODULE module = static_cast<HMODULE>(get_module());
    HRSRC found = type && name ? FindResourceA(module, name, type) : nullptr;
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes) {
        debug_output("sys::get_ressource: Error: couldn't load ressource.\n");
        return nullptr;
    }
    if (size)
        *size = SizeofResource(module, found);
    return static_cast<const unsigned char*>(bytes);
}

void platform_error_text(char* buffer, unsigned long code)
{
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
                                        kNeutralLanguage, buffer, static_cast<DWORD>(kErrorTextSize - 1), nullptr);
    buffer[length < kErrorTextSize ? length : kErrorTextSize - 1] = '\0';
    debug_output(buffer);
}

double now_seconds()
{
    return static_cast<double>(timeGetTime()) * 0.001;
}

std::filesystem::path settings_folder()
{
    const wchar_t* appData = _wgetenv(L"APPDATA");
    if (!appData || appData[0] == L'\0')
        return {};
    return std::filesystem::path(appData) / L"Zorvane";
}

int open_url(const std::string& url)
{
    const HINSTANCE result = ShellExecuteA(nullptr, "open", url.c_str(), nullptr, ".", SW_HIDE);
    if (reinterpret_cast<INT_PTR>(result) > 32)
        return 0;
    debug_output("sys::open_url: Error: couldn't open html browser.\n");
    return -1;
}

void debug_output(const char* text)
{
    OutputDebugStringA(text);
}

} // namespace sys
