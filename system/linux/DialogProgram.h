#pragma once

#include <string>
#include <vector>

namespace sys {

// The desktop's dialog programs, for file dialogs and message boxes on Linux: zenity when it is
// on the PATH, else kdialog. A dialog runs as a child process; the caller waits for it on its
// own thread while the dialog is open, and nothing of the host's process is shared with it but
// the environment.
class DialogProgram {
public:
    enum Kind { kNone, kZenity, kKdialog };

    struct Outcome {
        // Whether the program started and ended; only then do the others hold.
        bool ran = false;
        int exitCode = -1;
        // Its standard output, the last line break removed.
        std::string output;
    };

    // The first dialog program found on the PATH.
    static Kind find();
    static const char* name(Kind kind);
    // Runs the program of `kind` with `arguments` and waits for it to end.
    static Outcome run(Kind kind, const std::vector<std::string>& arguments);
};

} // namespace sys
