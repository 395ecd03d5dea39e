// File dialogs and message boxes on Linux, run through stand-ins for the desktop's dialog
// programs that record their arguments and answer as the test tells them.
#include "FileSelector.h"
#include "SimpleMessageBox.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

using sys::FileSelector;
using sys::SimpleMessageBox;

namespace {

class LinuxDialogsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        directory_ = std::filesystem::temp_directory_path() / ("zorvane-dialogs-" + std::to_string(getpid()));
        std::filesystem::create_directories(directory_);
        const char* path = std::getenv("PATH");
        savedPath_ = path ? path : "";
        setenv("PATH", directory_.c_str(), 1);
        setenv("FAKE_DIALOG_LOG", (directory_ / "arguments").c_str(), 1);
    }
    void TearDown() override
    {
        setenv("PATH", savedPath_.c_str(), 1);
        std::filesystem::remove_all(directory_);
    }

    // Puts a program named `name` on the PATH that records its arguments, one per line, prints
    // `answer` and exits with `exitCode`.
    void install(const std::string& name, const std::string& answer, int exitCode)
    {
        const std::filesystem::path program = directory_ / name;
        std::ofstream(program) << "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"$FAKE_DIALOG_LOG\"\n"
                               << "printf '%s\\n' '" << answer << "'\nexit " << exitCode << "\n";
        std::filesystem::permissions(program, std::filesystem::perms::owner_all);
    }
    std::vector<std::string> arguments() const
    {
        std::ifstream log(directory_ / "arguments");
        std::vector<std::string> lines;
        for (std::string line; std::getline(log, line);)
            lines.push_back(line);
        return lines;
    }
    bool passed(const std::string& argument) const
    {
        const std::vector<std::string> all = arguments();
        return std::find(all.begin(), all.end(), argument) != all.end();
    }

    static void setUpBankDialog(FileSelector& selector)
    {
        selector.set_filters({{"Bank (*.pbk)", "*.pbk"}, {"All files", "*.*"}});
        selector.set_title("Load bank");
        selector.set_path("/home/me/banks/old.pbk");
    }

    std::filesystem::path directory_;
    std::string savedPath_;
};

} // namespace

TEST_F(LinuxDialogsTest, WithoutADialogProgramDialogsFailAndKeepThePath)
{
    FileSelector selector;
    setUpBankDialog(selector);
    EXPECT_EQ(selector.select_for_load(), FileSelector::kFailed);
    EXPECT_EQ(selector.select_for_save(), FileSelector::kFailed);
    EXPECT_EQ(selector.path(), "/home/me/banks/old.pbk");
    EXPECT_EQ(SimpleMessageBox::show("Error", "Can't load bank file", SimpleMessageBox::kOk, 0), -1);
}

TEST_F(LinuxDialogsTest, ZenityChoosesFilesWithTheBankFilterAndCancelsOrFailsWithoutChangingThePath)
{
    install("zenity", "/home/me/banks/new", 0);
    install("kdialog", "/never", 0);
    FileSelector selector;
    setUpBankDialog(selector);
    ASSERT_EQ(selector.select_for_save(), FileSelector::kChosen);
    EXPECT_EQ(selector.path(), "/home/me/banks/new.pbk") << "the filter's extension is added";
    EXPECT_TRUE(passed("--file-selection"));
    EXPECT_TRUE(passed("--save"));
    EXPECT_TRUE(passed("--title=Load bank"));
    EXPECT_TRUE(passed("--filename=/home/me/banks/old.pbk"));
    EXPECT_TRUE(passed("--file-filter=Bank (*.pbk) | *.pbk"));
    EXPECT_TRUE(passed("--file-filter=All files | *"));

    ASSERT_EQ(selector.select_for_load(), FileSelector::kChosen);
    EXPECT_FALSE(passed("--save"));
    EXPECT_TRUE(passed("--filename=/home/me/banks/new.pbk")) << "the next dialog starts at the last file";

    install("zenity", "", 1);
    EXPECT_EQ(selector.select_for_load(), FileSelector::kCancelled);
    install("zenity", "", 5);
    EXPECT_EQ(selector.select_for_load(), FileSelector::kFailed);
    install("zenity", "", 0);
    EXPECT_EQ(selector.select_for_load(), FileSelector::kFailed) << "no file named";
    EXPECT_EQ(selector.path(), "/home/me/banks/new.pbk");
}

TEST_F(LinuxDialogsTest, KdialogServesWhenZenityIsMissing)
{
    install("kdialog", "/home/me/banks/other.pbk", 0);
    FileSelector selector;
    setUpBankDialog(selector);
    selector.set_filter_index(1);
    ASSERT_EQ(selector.select_for_load(), FileSelector::kChosen);
    EXPECT_EQ(selector.path(), "/home/me/banks/other.pbk");
    const std::vector<std::string> all = arguments();
    ASSERT_GE(all.size(), 5u);
    EXPECT_EQ(all[0], "--title");
    EXPECT_EQ(all[2], "--getopenfilename");
    EXPECT_EQ(all[3], "/home/me/banks/old.pbk");
    EXPECT_EQ(all[4], "*|All files") << "the selected filter first";
    EXPECT_EQ(all.at(5), "*.pbk|Bank (*.pbk)");

    install("kdialog", "", 1);
    EXPECT_EQ(SimpleMessageBox::show("Overwrite", "Replace it?", SimpleMessageBox::kYesNo, 1), 1);
    EXPECT_TRUE(passed("--yesno"));
    install("kdialog", "", 0);
    EXPECT_EQ(SimpleMessageBox::show("Save", "Go on?", SimpleMessageBox::kOkCancel, 0), 0);
    EXPECT_TRUE(passed("--yes-label"));
}

TEST_F(LinuxDialogsTest, ZenityMessageBoxesAnswerWithTheButtonAndShowTheTextAsItStands)
{
    install("zenity", "", 0);
    EXPECT_EQ(SimpleMessageBox::show("Error", "Can't load <b>bank</b> & file", SimpleMessageBox::kOk, 0), 0);
    EXPECT_TRUE(passed("--info"));
    EXPECT_TRUE(passed("--no-markup"));
    EXPECT_TRUE(passed("--text=Can't load <b>bank</b> & file"));
    EXPECT_TRUE(passed("--title=Error"));

    install("zenity", "", 1);
    EXPECT_EQ(SimpleMessageBox::show("Error", "Closed with Escape", SimpleMessageBox::kOk, 0), 0)
        << "a box with only OK answers OK";
    EXPECT_EQ(SimpleMessageBox::show("Overwrite", "Replace it?", SimpleMessageBox::kYesNo, 1), 1);
    EXPECT_TRUE(passed("--question"));
    EXPECT_TRUE(passed("--default-cancel"));
    install("zenity", "", 0);
    EXPECT_EQ(SimpleMessageBox::show("Save", "Go on?", SimpleMessageBox::kOkCancel, 0), 0);
    EXPECT_TRUE(passed("--ok-label=OK"));
    EXPECT_FALSE(passed("--default-cancel"));
    install("zenity", "", 9);
    EXPECT_EQ(SimpleMessageBox::show("Save", "Go on?", SimpleMessageBox::kOkCancel, 0), -1) << "the program failed";
}
