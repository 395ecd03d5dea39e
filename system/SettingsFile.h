#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// The user's small settings file: one "key=value" line per setting. Reading is forgiving: a file
// that is missing, unreadable or broken, or a line that is not a setting, answers "no value"
// rather than failing. Writing replaces the file at once (a temporary file beside it, then a
// rename), so a reader never sees it half written and a failed write leaves the old one. The
// editor's thread only; allocates and touches the file system, never on the audio thread.
class SettingsFile {
public:
    // The name of the musician's settings file in sys::settings_folder(), which every editor
    // of every format reads its settings from.
    static constexpr const char* kUserFile = "settings";

    // The file `name` in `folder`; an empty folder means there is nowhere to keep settings.
    SettingsFile(std::filesystem::path folder, std::string name);

    // The value of `key`, or nothing.
    std::optional<std::string> read(std::string_view key) const;
    // Sets `key` to `value` (neither holds a line break or '=' in the key), keeping the other
    // settings; creates the folder. Answers false when the file cannot be written; never throws.
    bool write(std::string_view key, std::string_view value) const;

private:
    std::filesystem::path folder_;
    std::filesystem::path path_;
};
