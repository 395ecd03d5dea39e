#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

// A mistake in what the user asked for: its message is shown, and the program exits with 2.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One parameter setting from --set: a parameter named or numbered, and a normalized value.
struct ParameterSetting {
    std::string name;
    std::optional<int> index;
    float value = 0.0f;
};

// What the command line asks for.
struct CommandLine {
    enum class Command { kRender, kPrograms, kParams, kInfo, kSnapshot, kHelp };

    Command command = Command::kHelp;
    std::string plugin;
    std::string input;
    std::string output;
    bool demo = false;
    std::optional<std::string> program;
    std::vector<ParameterSetting> settings;
    std::optional<double> tempo;
    int blockSize = 512;
    std::optional<double> tailSeconds;
    bool floatOutput = false;
    bool quiet = false;
    // snapshot: the skin ("wide" or "compact") and the parameter whose panel shows.
    std::string skin = "wide";
    // snapshot: the editor's scale, 1, 1.5 or 2.
    float scale = 1.0f;
    std::optional<std::string> select;

    // Reads the arguments after the program name; throws UsageError.
    static CommandLine parse(const std::vector<std::string>& arguments);
    static const char* usage();
};
