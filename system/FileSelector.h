#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace sys {

class FileSelectorImpl;

// A file dialog for loading and saving, remembering the chosen path for the next dialog.
class FileSelector {
public:
    using Filter = std::pair<std::string, std::string>;

    enum Result { kChosen = 0, kCancelled = 1, kFailed = -1 };

    FileSelector();
    ~FileSelector();

    // (description, pattern) pairs such as ("Bank (*.pbk)", "*.pbk"); a new selector has
    // only ("All files", "*.*").
    void set_filters(const std::vector<Filter>& filters);
    const std::vector<Filter>& filters() const { return filters_; }
    void set_filter_index(int index) { filterIndex_ = index; }
    int filter_index() const { return filterIndex_; }
    void set_title(const std::string& title) { title_ = title; }
    const std::string& title() const { return title_; }
    // The starting point of the next dialog and, after a successful one, the chosen file.
    const std::string& path() const { return path_; }
    void set_path(const std::string& path) { path_ = path; }

    Result select_for_load();
    Result select_for_save();

    // Takes a dialog's answer: the chosen filter (1-based, 0 when the dialog gave none) and
    // the chosen file, which gets the selected pattern's extension when it has none.
    void accept(int chosenFilter, const std::string& chosenPath);

    // The dialog's filter text: each description and pattern followed by a NUL, then a NUL.
    std::string filter_text() const;
    // The directory part of a path: all before its last separator, empty when there is none
    // or the path starts with it.
    static std::string initial_directory(const std::string& path);
    // The path with the text after the pattern's last "*" appended when the path has no "."
    // after its last separator: "bank" with "*.pbk" becomes "bank.pbk". A pattern whose
    // extension is itself a wildcard ("*.*") leaves the path as it is.
    static std::string with_default_extension(const std::string& path, const std::string& pattern);

private:
    std::string path_;
    int filterIndex_ = 0;
    std::vector<Filter> filters_{{"All files", "*.*"}};
    std::string title_;
    std::unique_ptr<FileSelectorImpl> impl_;
};

// The platform part of a file dialog.
class FileSelectorImpl {
public:
    explicit FileSelectorImpl(FileSelector& owner) : owner_(owner) {}

    // Runs the platform's dialog; on success hands the answer to FileSelector::accept.
    FileSelector::Result run(bool save);

private:
    // Unused where the platform has no dialog.
    [[maybe_unused]] FileSelector& owner_;
};

} // namespace sys
