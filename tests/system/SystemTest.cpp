#include "FileSelector.h"
#include "SettingsFile.h"
#include "Sys.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>
#include <string>

using sys::FileSelector;

TEST(SystemTest, FindNoCaseComparesUpperCasedLetters)
{
    EXPECT_EQ(sys::find_no_case("MS", "12 ms"), 3);
    EXPECT_EQ(sys::find_no_case("x", "abc"), -1);
    EXPECT_EQ(sys::find_no_case("", "abc"), 0);
    EXPECT_EQ(sys::find_no_case("", ""), 0);
    EXPECT_EQ(sys::find_no_case("abcd", "abc"), -1);
    EXPECT_EQ(sys::find_no_case("-OO", "gain -oo"), 5);
}

TEST(SystemTest, SavedNamesWithoutExtensionGetTheFiltersExtension)
{
    EXPECT_EQ(FileSelector::with_default_extension("C:\\banks\\mine", "*.pbk"), "C:\\banks\\mine.pbk");
    EXPECT_EQ(FileSelector::with_default_extension("mine", "*.pbk"), "mine.pbk");
    EXPECT_EQ(FileSelector::with_default_extension("C:\\banks\\mine.bank", "*.pbk"), "C:\\banks\\mine.bank");
    // A dot in a folder name is not an extension.
    EXPECT_EQ(FileSelector::with_default_extension("C:\\v1.2\\mine", "*.pbk"), "C:\\v1.2\\mine.pbk");
    EXPECT_EQ(FileSelector::with_default_extension("/home/me/v1.2/mine", "*.pbk"), "/home/me/v1.2/mine.pbk");
    // "All files" names no extension to add.
    EXPECT_EQ(FileSelector::with_default_extension("mine", "*.*"), "mine");
    EXPECT_EQ(FileSelector::with_default_extension("mine", "bank"), "mine");
}

TEST(SystemTest, DialogAnswersUpdatePathAndFilter)
{
    FileSelector selector;
    ASSERT_EQ(selector.filters().size(), 1u);
    EXPECT_EQ(selector.filters()[0], FileSelector::Filter("All files", "*.*"));
    selector.set_filters({{"Brisval plug-in preset bank (*.pbk)", "*.pbk"}, {"All files", "*.*"}});
    selector.set_filter_index(1);
    selector.accept(1, "C:\\banks\\live");
    EXPECT_EQ(selector.filter_index(), 0);
    EXPECT_EQ(selector.path(), "C:\\banks\\live.pbk");
    // A dialog that names no filter keeps the selected one.
    selector.accept(0, "C:\\banks\\other");
    EXPECT_EQ(selector.filter_index(), 0);
    EXPECT_EQ(selector.path(), "C:\\banks\\other.pbk");
    selector.set_filters({{"A", "*.a"}});
    EXPECT_EQ(selector.filter_text(), std::string("A\0*.a\0\0", 7));
}

TEST(SystemTest, InitialDirectoryIsThePathBeforeItsLastSeparator)
{
    EXPECT_EQ(FileSelector::initial_directory("C:\\banks\\mine.pbk"), "C:\\banks");
    EXPECT_EQ(FileSelector::initial_directory("\\mine.pbk"), "");
    EXPECT_EQ(FileSelector::initial_directory("mine.pbk"), "");
    EXPECT_EQ(FileSelector::initial_directory(""), "");
}

TEST(SystemTest, ClockErrorsAndResources)
{
    const double start = sys::now_seconds();
    double previous = start;
    for (int i = 0; i < 1000; ++i) {
        const double now = sys::now_seconds();
        ASSERT_GE(now, previous);
        previous = now;
    }
    EXPECT_GT(start, 0.0);

    char text[sys::kErrorTextSize];
    sys::platform_error_text(text, ENOENT);
    EXPECT_NE(std::string(text).find("No such file"), std::string::npos);

    std::size_t size = 0;
    const unsigned char* bank = sys::get_ressource("bvpb", "Static_Presets", &size);
    ASSERT_NE(bank, nullptr);
    EXPECT_EQ(size, 19056u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(bank), 4), "BVPB");
    EXPECT_EQ(sys::get_ressource("BVPB", "no_such_bank"), nullptr);
    EXPECT_EQ(sys::get_ressource("APIC", "STATIC_PRESETS"), nullptr);
    EXPECT_EQ(sys::get_ressource(nullptr, nullptr), nullptr);
}

namespace {

// A folder of its own below the system's temporary folder, removed afterwards.
struct ScratchFolder {
    ScratchFolder() : path(std::filesystem::temp_directory_path() / ("zorvane-settings-" + std::to_string(::getpid())))
    {
        std::filesystem::remove_all(path);
    }
    ~ScratchFolder() { std::filesystem::remove_all(path); }
    std::filesystem::path path;
};

} // namespace

// Settings survive a rewrite of another key, are replaced whole (no temporary file left), and a
// missing, broken, oversized or unreadable file, or nowhere to keep it, reads as no value.
TEST(SettingsFileTest, ReadsWhatWasWrittenAndNothingFromABrokenFile)
{
    const ScratchFolder scratch;
    const SettingsFile settings(scratch.path / "deeper", "settings");
    EXPECT_FALSE(settings.read("scale").has_value()) << "no file yet";
    ASSERT_TRUE(settings.write("scale", "1.5"));
    ASSERT_TRUE(settings.write("skin", "compact"));
    ASSERT_TRUE(settings.write("scale", "2"));
    EXPECT_EQ(settings.read("scale"), "2");
    EXPECT_EQ(settings.read("skin"), "compact");
    EXPECT_FALSE(settings.read("sca").has_value());
    EXPECT_FALSE(std::filesystem::exists(scratch.path / "deeper" / "settings.new"));
    EXPECT_FALSE(settings.write("bad=key", "1"));
    EXPECT_FALSE(settings.write("scale", "two\nlines"));
    EXPECT_EQ(settings.read("scale"), "2");

    const std::filesystem::path file = scratch.path / "deeper" / "settings";
    std::ofstream(file, std::ios::binary | std::ios::trunc) << std::string("\0\xff garbage\nscale\n", 17);
    EXPECT_FALSE(settings.read("scale").has_value()) << "broken";
    std::ofstream(file, std::ios::binary | std::ios::trunc) << "scale=1.5\r\n" << std::string(70000, 'x');
    EXPECT_FALSE(settings.read("scale").has_value()) << "far too large to be ours";
    std::filesystem::remove(file);
    std::filesystem::create_directory(file);
    EXPECT_FALSE(settings.read("scale").has_value()) << "a folder in its place";
    EXPECT_FALSE(settings.write("scale", "2")) << "a folder in its place";

    const SettingsFile nowhere({}, "settings");
    EXPECT_FALSE(nowhere.read("scale").has_value());
    EXPECT_FALSE(nowhere.write("scale", "2"));
}

// The folder follows XDG_CONFIG_HOME when it is absolute, else the home folder's .config.
TEST(SettingsFileTest, TheFolderFollowsTheEnvironment)
{
#ifdef _WIN32
    GTEST_SKIP() << "Linux's rule";
#else
    const std::string configHome = std::getenv("XDG_CONFIG_HOME") ? std::getenv("XDG_CONFIG_HOME") : "";
    const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
    ::setenv("XDG_CONFIG_HOME", "/tmp/config-here", 1);
    ::setenv("HOME", "/home/musician", 1);
    EXPECT_EQ(sys::settings_folder(), std::filesystem::path("/tmp/config-here/zorvane"));
    ::setenv("XDG_CONFIG_HOME", "relative/not/allowed", 1);
    EXPECT_EQ(sys::settings_folder(), std::filesystem::path("/home/musician/.config/zorvane"));
    ::unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(sys::settings_folder(), std::filesystem::path("/home/musician/.config/zorvane"));
    ::unsetenv("HOME");
    EXPECT_TRUE(sys::settings_folder().empty());
    if (!configHome.empty())
        ::setenv("XDG_CONFIG_HOME", configHome.c_str(), 1);
    ::setenv("HOME", home.c_str(), 1);
#endif
}
