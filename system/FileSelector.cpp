#include "FileSelector.h"

namespace sys {

namespace {

std::size_t lastSeparator(const std::string& path)
{
    return path.find_last_of("\\/");
}

} // namespace

FileSelector::FileSelector() : impl_(std::make_unique<FileSelectorImpl>(*this)) {}

FileSelector::~FileSelector() = default;

void FileSelector::set_filters(const std::vector<Filter>& filters)
{
    filters_ = filters;
}

FileSelector::Result FileSelector::select_for_load()
{
    return impl_->run(false);
}

FileSelector::Result FileSelector::select_for_save()
{
    return impl_->run(true);
}

void FileSelector::accept(int chosenFilter, const std::string& chosenPath)
{
    if (chosenFilter != 0)
        filterIndex_ = chosenFilter - 1;
    path_ = chosenPath;
    if (filterIndex_ >= 0 && filterIndex_ < static_cast<int>(filters_.size()))
        path_ = with_default_extension(path_, filters_[static_cast<std::size_t>(filterIndex_)].second);
}

std::string FileSelector::filter_text() const
{
    std::string text;
    for (const Filter& filter : filters_) {
        text += filter.first;
        text += '\0';
        text += filter.second;
        text += '\0';
    }
    text += '\0';
    return text;
}

std::string FileSelector::initial_directory(const std::string& path)
{
    const std::size_t separator = lastSeparator(path);
    if (separator == std::string::npos || separator == 0)
        return {};
    return path.substr(0, separator);
}

std::string FileSelector::with_default_extension(const std::string& path, const std::string& pattern)
{
    const std::size_t separator = lastSeparator(path);
    const std::size_t nameStart = separator == std::string::npos ? 0 : separator + 1;
    if (path.find('.', nameStart) != std::string::npos)
        return path;
    const std::size_t star = pattern.rfind('*');
    if (star == std::string::npos)
        return path;
    // A pattern such as "*.*" names no extension; a wildcard in a file name would be invalid.
    const std::string extension = pattern.substr(star + 1);
    return extension.find_first_of("*?") == std::string::npos ? path + extension : path;
}

} // namespace sys
