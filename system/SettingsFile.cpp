#include "SettingsFile.h"

#include <cstdint>
#include <fstream>
#include <vector>

namespace {

// Files larger than this are not settings of ours: read as none.
constexpr std::uintmax_t kLargestFile = 64 * 1024;

bool validKey(std::string_view key)
{
    return !key.empty() && key.find_first_of("=\r\n") == std::string_view::npos;
}

} // namespace

SettingsFile::SettingsFile(std::filesystem::path folder, std::string name)
    : folder_(std::move(folder)), path_(folder_.empty() ? std::filesystem::path() : folder_ / name)
{
}

std::optional<std::string> SettingsFile::read(std::string_view key) const
{
    std::error_code error;
    if (path_.empty() || !std::filesystem::is_regular_file(path_, error) ||
        std::filesystem::file_size(path_, error) > kLargestFile || error)
        return std::nullopt;
    std::ifstream file(path_, std::ios::binary);
    std::string line;
    std::optional<std::string> found;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const std::size_t equals = line.find('=');
        if (equals != std::string::npos && std::string_view(line).substr(0, equals) == key)
            found = line.substr(equals + 1);
    }
    return found;
}

bool SettingsFile::write(std::string_view key, std::string_view value) const
{
    if (path_.empty() || !validKey(key) || value.find_first_of("\r\n") != std::string_view::npos)
        return false;
    // The other settings as they stand, this one replaced or added.
    std::vector<std::string> lines;
    std::error_code error;
    if (std::filesystem::is_regular_file(path_, error) && std::filesystem::file_size(path_, error) <= kLargestFile &&
        !error) {
        std::ifstream old(path_, std::ios::binary);
        std::string line;
        while (std::getline(old, line)) {
            const std::size_t equals = line.find('=');
            if (equals != std::string::npos && std::string_view(line).substr(0, equals) != key)
                lines.push_back(line);
        }
    }
    lines.push_back(std::string(key) + "=" + std::string(value));

    std::filesystem::create_directories(folder_, error);
    if (error)
        return false;
    std::filesystem::path temporary = path_;
    temporary += ".new";
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        for (const std::string& line : lines)
            file << line << '\n';
        file.flush();
        if (!file) {
            file.close();
            std::filesystem::remove(temporary, error);
            return false;
        }
    }
    std::filesystem::rename(temporary, path_, error);
    if (error) {
        std::filesystem::remove(temporary, error);
        return false;
    }
    return true;
}
