#include "FileSelector.h"
#include "Sys.h"

#include <gtest/gtest.h>

#include <cerrno>
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
