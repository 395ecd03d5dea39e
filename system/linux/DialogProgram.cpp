#include "DialogProgram.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace sys {

namespace {

bool onPath(const std::string& program)
{
    const char* path = std::getenv("PATH");
    if (!path)
        return false;
    const std::string directories = path;
    std::size_t start = 0;
    while (start <= directories.size()) {
        std::size_t end = directories.find(':', start);
        if (end == std::string::npos)
            end = directories.size();
        const std::string directory = end > start ? directories.substr(start, end - start) : ".";
        if (access((directory + "/" + program).c_str(), X_OK) == 0)
            return true;
        start = end + 1;
    }
    return false;
}

} // namespace

const char* DialogProgram::name(Kind kind)
{
    return kind == kZenity ? "zenity" : kind == kKdialog ? "kdialog" : "";
}

DialogProgram::Kind DialogProgram::find()
{
    for (Kind kind : {kZenity, kKdialog})
        if (onPath(name(kind)))
            return kind;
    return kNone;
}

DialogProgram::Outcome DialogProgram::run(Kind kind, const std::vector<std::string>& arguments)
{
    Outcome outcome;
    if (kind == kNone)
        return outcome;
    std::vector<std::string> words{name(kind)};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    int pipeEnds[2];
    if (pipe2(pipeEnds, O_CLOEXEC) != 0)
        return outcome;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    pid_t child = 0;
    const int spawned = posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    if (spawned != 0) {
        close(pipeEnds[0]);
        return outcome;
    }

    char buffer[4096];
    for (;;) {
        const ssize_t got = read(pipeEnds[0], buffer, sizeof buffer);
        if (got > 0)
            outcome.output.append(buffer, static_cast<std::size_t>(got));
        else if (got == 0 || errno != EINTR)
            break;
    }
    close(pipeEnds[0]);
    if (!outcome.output.empty() && outcome.output.back() == '\n')
        outcome.output.pop_back();

    int status = 0;
    pid_t waited = 0;
    do
        waited = waitpid(child, &status, 0);
    while (waited < 0 && errno == EINTR);
    outcome.ran = true;
    if (waited == child)
        outcome.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    else
        // A host that ignores SIGCHLD has the child reaped already: an answer on the output
        // means the user chose.
        outcome.exitCode = outcome.output.empty() ? 1 : 0;
    return outcome;
}

} // namespace sys
