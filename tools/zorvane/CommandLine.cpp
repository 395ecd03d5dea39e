#include "CommandLine.h"

#include <charconv>
#include <cmath>

namespace {

// The whole text as a number, or nothing.
std::optional<double> number(const std::string& text)
{
    double value = 0.0;
    const char* end = text.data() + text.size();
    auto result = std::from_chars(text.data(), end, value);
    if (text.empty() || result.ec != std::errc() || result.ptr != end || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<int> wholeNumber(const std::string& text)
{
    int value = 0;
    const char* end = text.data() + text.size();
    auto result = std::from_chars(text.data(), end, value);
    if (text.empty() || result.ec != std::errc() || result.ptr != end)
        return std::nullopt;
    return value;
}

ParameterSetting setting(const std::string& text)
{
    const std::size_t equals = text.find('=');
    if (equals == std::string::npos || equals == 0)
        throw UsageError("--set takes NAME=VALUE or INDEX=VALUE, not '" + text + "'");
    ParameterSetting result;
    result.name = text.substr(0, equals);
    result.index = wholeNumber(result.name);
    const std::optional<double> value = number(text.substr(equals + 1));
    if (!value || *value < 0.0 || *value > 1.0)
        throw UsageError("the value of '" + result.name + "' must be a number from 0 to 1, not '" +
                         text.substr(equals + 1) + "'");
    result.value = static_cast<float>(*value);
    return result;
}

} // namespace

const char* CommandLine::usage()
{
    return "usage: zorvane [--plugin PATH] COMMAND\n"
           "  render IN OUT [options]   play an audio file through the plug-in into OUT\n"
           "  render --demo OUT [opts]  play the built-in test phrase\n"
           "  programs                  the plug-in's programs, number and name\n"
           "  params [--program P] [--set ...]  the parameters: index, name, label, text, value\n"
           "  info                      the plug-in's identity\n"
           "  snapshot OUT.png [--skin wide|compact] [--scale 1|1.5|2] [--program P] [--set ...] [--select PARAM]\n"
           "                            a picture of the editor, with a parameter's panel shown\n"
           "options:\n"
           "  --program N|NAME   a program by number (as `programs` lists them) or by name\n"
           "  --set NAME=VALUE   a parameter by name or index, to a normalized value 0..1 (repeatable)\n"
           "  --tempo BPM        the tempo the host reports (without it the host reports none)\n"
           "  --block N          frames per host block (default 512)\n"
           "  --tail SECONDS     silence after the input (default: until below -90 dBFS, at most 30 s)\n"
           "  --float            32-bit float WAV or AIFF instead of 24-bit PCM\n"
           "  --quiet            no progress and no summary\n";
}

CommandLine CommandLine::parse(const std::vector<std::string>& arguments)
{
    CommandLine line;
    std::vector<std::string> positional;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        auto value = [&]() -> const std::string& {
            if (i + 1 >= arguments.size())
                throw UsageError(argument + " needs a value");
            return arguments[++i];
        };
        if (argument == "--plugin") {
            line.plugin = value();
        } else if (argument == "--program") {
            line.program = value();
        } else if (argument == "--set") {
            line.settings.push_back(setting(value()));
        } else if (argument == "--tempo") {
            const std::optional<double> tempo = number(value());
            if (!tempo || *tempo <= 0.0)
                throw UsageError("--tempo takes a tempo above 0 in beats per minute");
            line.tempo = tempo;
        } else if (argument == "--block") {
            const std::optional<int> block = wholeNumber(value());
            if (!block || *block < 1 || *block > 1 << 20)
                throw UsageError("--block takes a number of frames from 1 to 1048576");
            line.blockSize = *block;
        } else if (argument == "--tail") {
            const std::optional<double> tail = number(value());
            if (!tail || *tail < 0.0 || *tail > 3600.0)
                throw UsageError("--tail takes a number of seconds from 0 to 3600");
            line.tailSeconds = tail;
        } else if (argument == "--skin") {
            line.skin = value();
            if (line.skin != "wide" && line.skin != "compact")
                throw UsageError("--skin takes wide or compact");
        } else if (argument == "--scale") {
            const std::string scale = value();
            if (scale != "1" && scale != "1.5" && scale != "2")
                throw UsageError("--scale takes 1, 1.5 or 2");
            line.scale = std::stof(scale);
        } else if (argument == "--select") {
            line.select = value();
        } else if (argument == "--demo") {
            line.demo = true;
        } else if (argument == "--float") {
            line.floatOutput = true;
        } else if (argument == "--quiet") {
            line.quiet = true;
        } else if (argument == "--help" || argument == "-h") {
            line.command = Command::kHelp;
            return line;
        } else if (argument.size() > 1 && argument[0] == '-' && argument[1] == '-') {
            throw UsageError("unknown option " + argument);
        } else {
            positional.push_back(argument);
        }
    }

    if (positional.empty())
        throw UsageError("no command given");
    const std::string& command = positional[0];
    const std::size_t files = positional.size() - 1;
    if (command == "render") {
        line.command = Command::kRender;
        if (line.demo && files == 1) {
            line.output = positional[1];
        } else if (!line.demo && files == 2) {
            line.input = positional[1];
            line.output = positional[2];
        } else {
            throw UsageError("render takes IN OUT, or --demo OUT");
        }
    } else if (command == "snapshot") {
        line.command = Command::kSnapshot;
        if (files != 1)
            throw UsageError("snapshot takes OUT.png");
        line.output = positional[1];
    } else if (command == "programs" || command == "params" || command == "info") {
        line.command = command == "programs" ? Command::kPrograms : command == "params" ? Command::kParams : Command::kInfo;
        if (files != 0)
            throw UsageError(command + " takes no file");
    } else {
        throw UsageError("unknown command " + command);
    }
    return line;
}
