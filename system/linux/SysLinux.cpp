// System services on Linux: resources from the generated table, the monotonic clock, errno
// texts and the desktop's URL opener.
#include "EmbeddedResources.h"
#include "Sys.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <sys/wait.h>
#include <unistd.h>

namespace sys {

namespace {

} // namespace

const unsigned char* get_ressource(const char* type, const char* name, std::size_t* size)
{
    std::size_t count = 0;
    const EmbeddedResource* table = embedded_resources(count);
    if (type && name) {
        for (std::size_t i = 0; i < count; ++i) {
            const EmbeddedResource& entry = table[i];
            if (strcasecmp(entry.type, type) == 0 && strcasecmp(entry.name, name) == 0) {
                if (size)
                    *size = entry.size;
                return entry.bytes;
            }
        }
    }
    debug_output("sys::get_ressource: Error: couldn't load ressource.\n");
    return nullptr;
}

void platform_error_text(char* buffer, unsigned long code)
{
    std::snprintf(buffer, kErrorTextSize, "%s", std::strerror(static_cast<int>(code)));
    debug_output(buffer);
}

double now_seconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const long long milliseconds = static_cast<long long>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
    return static_cast<double>(milliseconds) * 0.001;
}

std::filesystem::path settings_folder()
{
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    if (configHome && configHome[0] == '/')
        return std::filesystem::path(configHome) / "zorvane";
    const char* home = std::getenv("HOME");
    if (home && home[0] == '/')
        return std::filesystem::path(home) / ".config" / "zorvane";
    return {};
}

int open_url(const std::string& url)
{
    // The opener runs in a grandchild, so the host neither waits for it nor keeps a zombie.
    const pid_t child = fork();
    if (child == 0) {
        if (fork() == 0) {
            setsid();
            execlp("xdg-open", "xdg-open", url.c_str(), static_cast<char*>(nullptr));
        }
        _exit(0);
    }
    if (child > 0) {
        int status = 0;
        while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
        }
        return 0;
    }
    debug_output("sys::open_url: Error: couldn't open html browser.\n");
    return -1;
}

void debug_output(const char* text)
{
    std::fputs(text, stderr);
}

} // namespace sys
