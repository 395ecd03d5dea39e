// File dialogs on Linux through the desktop's dialog program.
#include "DialogProgram.h"
#include "FileSelector.h"
#include "Sys.h"

#include <algorithm>

namespace sys {

namespace {

// A pattern as the dialog programs write it: "*.*" means every file, and Windows lists
// several patterns with ";".
std::string patternsOf(const std::string& pattern)
{
    std::string patterns = pattern == "*.*" ? "*" : pattern;
    for (char& c : patterns)
        if (c == ';')
            c = ' ';
    return patterns;
}

// The filters with the selected one first, which both programs take as the starting filter.
std::vector<FileSelector::Filter> startingWithSelected(const FileSelector& selector)
{
    std::vector<FileSelector::Filter> filters = selector.filters();
    const int selected = selector.filter_index();
    if (selected > 0 && selected < static_cast<int>(filters.size()))
        std::rotate(filters.begin(), filters.begin() + selected, filters.begin() + selected + 1);
    return filters;
}

std::vector<std::string> zenityArguments(const FileSelector& selector, bool save)
{
    std::vector<std::string> arguments{"--file-selection"};
    if (save)
        arguments.push_back("--save");
    if (!selector.title().empty())
        arguments.push_back("--title=" + selector.title());
    if (!selector.path().empty())
        arguments.push_back("--filename=" + selector.path());
    for (const FileSelector::Filter& filter : startingWithSelected(selector))
        arguments.push_back("--file-filter=" + filter.first + " | " + patternsOf(filter.second));
    return arguments;
}

std::vector<std::string> kdialogArguments(const FileSelector& selector, bool save)
{
    std::vector<std::string> arguments;
    if (!selector.title().empty())
        arguments.insert(arguments.end(), {"--title", selector.title()});
    std::string filters;
    for (const FileSelector::Filter& filter : startingWithSelected(selector)) {
        if (!filters.empty())
            filters += '\n';
        filters.append(patternsOf(filter.second)).append("|").append(filter.first);
    }
    const std::string start = selector.path().empty() ? "." : selector.path();
    arguments.insert(arguments.end(), {save ? "--getsavefilename" : "--getopenfilename", start, filters});
    return arguments;
}

} // namespace

FileSelector::Result FileSelectorImpl::run(bool save)
{
    const DialogProgram::Kind kind = DialogProgram::find();
    if (kind == DialogProgram::kNone) {
        debug_output("sys::FileSelector: Error: no dialog program (zenity or kdialog) on the PATH.\n");
        return FileSelector::kFailed;
    }
    const DialogProgram::Outcome outcome = DialogProgram::run(
        kind, kind == DialogProgram::kZenity ? zenityArguments(owner_, save) : kdialogArguments(owner_, save));
    if (outcome.ran && outcome.exitCode == 0 && !outcome.output.empty()) {
        owner_.accept(0, outcome.output);
        return FileSelector::kChosen;
    }
    if (outcome.ran && outcome.exitCode == 1)
        return FileSelector::kCancelled;
    debug_output((std::string("sys::FileSelector: Error: ") + DialogProgram::name(kind) + " failed.\n").c_str());
    return FileSelector::kFailed;
}

} // namespace sys
