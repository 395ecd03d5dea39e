// Message boxes on Linux through the desktop's dialog program.
#include "DialogProgram.h"
#include "SimpleMessageBox.h"
#include "Sys.h"

namespace sys {

namespace {

std::vector<std::string> zenityArguments(const std::string& caption, const std::string& text, int buttons,
                                         int defaultButton)
{
    // The text is shown as it stands, never read as markup.
    std::vector<std::string> arguments{buttons == SimpleMessageBox::kOk ? "--info" : "--question", "--no-markup",
                                       "--title=" + caption, "--text=" + text};
    if (buttons == SimpleMessageBox::kOkCancel)
        arguments.insert(arguments.end(), {"--ok-label=OK", "--cancel-label=Cancel"});
    if (buttons != SimpleMessageBox::kOk && defaultButton == 1)
        arguments.push_back("--default-cancel");
    return arguments;
}

std::vector<std::string> kdialogArguments(const std::string& caption, const std::string& text, int buttons)
{
    std::vector<std::string> arguments{"--title", caption, buttons == SimpleMessageBox::kOk ? "--msgbox" : "--yesno", text};
    if (buttons == SimpleMessageBox::kOkCancel)
        arguments.insert(arguments.end(), {"--yes-label", "OK", "--no-label", "Cancel"});
    return arguments;
}

} // namespace

int SimpleMessageBox::show(const std::string& caption, const std::string& text, int buttons, int defaultButton)
{
    const DialogProgram::Kind kind = DialogProgram::find();
    const DialogProgram::Outcome outcome =
        DialogProgram::run(kind, kind == DialogProgram::kZenity ? zenityArguments(caption, text, buttons, defaultButton)
                                                                : kdialogArguments(caption, text, buttons));
    if (outcome.ran && (outcome.exitCode == 0 || outcome.exitCode == 1))
        // A box with only OK answers OK however it was closed.
        return buttons == kOk ? 0 : outcome.exitCode;
    debug_output(("sys::SimpleMessageBox: Error: no dialog shown (zenity or kdialog): " + caption + ": " + text + "\n").c_str());
    return -1;
}

} // namespace sys
