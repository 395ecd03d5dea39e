#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

// System services: the thin layer the rest of the plug-in calls instead of the platform. One
// implementation per platform; the clock and the text search may be called from any thread,
// everything else from the host's user-interface thread. Nothing here throws.
namespace sys {

using ModuleHandle = void*;

// The plug-in module's own handle, stored when the library is attached to a process.
ModuleHandle get_module();
void set_module(ModuleHandle module);

// The bytes of the module resource `name` of type `type` (both compared without regard to
// case), or null with a debug line. The bytes stay valid while the module is loaded. `size`,
// when given, receives the number of bytes.
const unsigned char* get_ressource(const char* type, const char* name, std::size_t* size = nullptr);

// Size of the buffer platform_error_text writes into.
constexpr std::size_t kErrorTextSize = 4096;
// The platform's text for an error code, at most 4095 characters and a terminating NUL, into a
// buffer of kErrorTextSize bytes; also written as a debug line.
void platform_error_text(char* buffer, unsigned long code);

// A monotonic clock in seconds with millisecond resolution.
double now_seconds();

// First position of `needle` in `text`, letters compared after upper-casing both; -1 when it
// does not occur, 0 for an empty needle.
int find_no_case(const std::string& needle, const std::string& text);

// Opens a web page in the user's browser without waiting for it: 0 when started, -1 otherwise.
int open_url(const std::string& url);

// The folder of the user's settings for this product: %APPDATA%\Zorvane on Windows;
// $XDG_CONFIG_HOME/zorvane on Linux, or ~/.config/zorvane when that is unset or not absolute.
// Empty when the environment names no such place. The folder may not exist yet.
std::filesystem::path settings_folder();

// A line for the developer: the debugger output on Windows, standard error elsewhere.
void debug_output(const char* text);

} // namespace sys
