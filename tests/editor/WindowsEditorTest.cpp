// A Windows module's editor (32 or 64 bits) inside a real Windows host window, under wine: the window
// the host sees, its pixels against the headless window's for the same state, mouse and
// keyboard input, timers, a host's odd calls, and the bank buttons with the system's file dialogs
// and message boxes. The points to press come from the same editor built here on the headless
// window, which also paints the reference pictures and encodes the banks the files are held to.
#include "EditorFixture.h"

#include "BankFiles.h"
#include "BankManager.h"
#include "GuiParam.h"
#include "NumericParamMgr.h"
#include "SkinPlacement.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <vector>

using namespace editor_test;

namespace {

constexpr int kAutomate = audioMasterAutomate;
constexpr int kCutoff = 69;

// What the Windows host printed: callbacks, facts and marks, in order.
struct HostOutput {
    std::vector<std::vector<std::string>> lines;

    // Runs `visit` on every line between the marks `from` and `to` ("" for the ends).
    template <class Visit>
    void between(const std::string& from, const std::string& to, Visit visit) const
    {
        bool inside = from.empty();
        for (const auto& line : lines) {
            if (line.size() >= 2 && line[0] == "mark")
                inside = line[1] == from ? true : line[1] == to ? false : inside;
            else if (inside)
                visit(line);
        }
    }
    // The facts named `name` (their values) between two marks.
    std::vector<std::vector<std::string>> facts(const std::string& name, const std::string& from = "", const std::string& to = "") const
    {
        std::vector<std::vector<std::string>> found;
        between(from, to, [&](const std::vector<std::string>& line) {
            if (line.size() >= 2 && line[0] == "fact" && line[1] == name)
                found.emplace_back(line.begin() + 2, line.end());
        });
        return found;
    }
    // The callbacks of `opcode` (index and opt) between two marks.
    std::vector<std::pair<int, float>> calls(int opcode, const std::string& from = "", const std::string& to = "") const
    {
        std::vector<std::pair<int, float>> found;
        between(from, to, [&](const std::vector<std::string>& line) {
            if (line.size() == 5 && line[0] == "call" && std::stoi(line[1]) == opcode)
                found.emplace_back(std::stoi(line[2]), std::stof(line[4]));
        });
        return found;
    }
    // Every callback, as the fake host records them.
    std::vector<FakeHost::Call> log() const
    {
        std::vector<FakeHost::Call> found;
        between("", "", [&](const std::vector<std::string>& line) {
            if (line.size() == 5 && line[0] == "call")
                found.push_back({std::stoi(line[1]), std::stoi(line[2]), std::stoi(line[3]), std::stof(line[4]), ""});
        });
        return found;
    }
    std::string fact(const std::string& name, std::size_t nth = 0, std::size_t value = 0) const
    {
        const auto all = facts(name);
        return nth < all.size() && value < all[nth].size() ? all[nth][value] : "?";
    }
};

// A picture read from a binary PPM, as 0x00RRGGBB.
std::vector<std::uint32_t> readPpm(const std::string& path, int& width, int& height)
{
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int depth = 0;
    in >> magic >> width >> height >> depth;
    in.get();
    std::vector<std::uint32_t> pixels;
    if (magic != "P6" || width <= 0 || height <= 0)
        return pixels;
    std::vector<unsigned char> bytes(static_cast<std::size_t>(width * height * 3));
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    for (std::size_t i = 0; i + 2 < bytes.size(); i += 3)
        pixels.push_back(std::uint32_t{bytes[i]} << 16 | std::uint32_t{bytes[i + 1]} << 8 | bytes[i + 2]);
    return pixels;
}

class WindowsEditorTest : public EditorTest {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        folder_ = std::filesystem::path(WINDOWS_BUILD) / "editor-check" / SKIN_NAME;
        std::filesystem::create_directories(folder_);
    }

    std::string file(const std::string& name) const { return (folder_ / name).string(); }

    // Runs the Windows host on the module of this skin with `script`, in the wine prefix `prefix`
    // of the Windows build.
    HostOutput runHost(const std::string& name, const std::string& script, const std::string& prefix = "wineprefix")
    {
        std::ofstream(file(name + ".txt")) << script;
        const std::string module = std::string(SKIN_NAME) == "compact" ? "QuenloCompact.dll" : "QuenloWide.dll";
        // The run waits for the prefix's wine server to end: one that outlived it would serve the
        // next run with this run's display, which is gone by then. The screen holds the large
        // editor at 2x, since hosts' windows cannot outgrow it.
        const std::string command = "cd '" WINDOWS_BUILD "' && export WINEPREFIX='" WINDOWS_BUILD "/" + prefix +
                                    "' WINEDEBUG=-all && { xvfb-run -a -s '-screen 0 1600x1500x24' " WINE
                                    " tests/windows/editor_host.exe " +
                                    module + " '" + file(name + ".txt") + "' >'" + file(name + ".out") + "' 2>'" +
                                    file(name + ".err") + "'; status=$?; /usr/lib/wine/wineserver -w; exit $status; }";
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        HostOutput output;
        std::ifstream in(file(name + ".out"));
        for (std::string line; std::getline(in, line);) {
            std::istringstream words(line);
            std::vector<std::string> split;
            for (std::string word; words >> word;)
                split.push_back(word);
            output.lines.push_back(split);
        }
        return output;
    }

    // How many pixels of the Windows host's picture differ from the headless window's frame by
    // more than one step in a channel. A turned picture is sampled through the platform's sine
    // and cosine, whose last bits differ between the C libraries; anything the window layer
    // added or lost would differ by far more.
    int differences(const std::string& ppm, const std::vector<std::uint32_t>& reference)
    {
        int width = 0;
        int height = 0;
        const std::vector<std::uint32_t> windows = readPpm(file(ppm), width, height);
        EXPECT_EQ(width, window().size().w);
        EXPECT_EQ(height, window().size().h);
        if (windows.size() != reference.size())
            return -1;
        auto channelsApart = [](std::uint32_t a, std::uint32_t b) {
            int most = 0;
            for (int shift = 0; shift < 24; shift += 8)
                most = std::max(most, std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)));
            return most;
        };
        int different = 0;
        for (std::size_t i = 0; i < windows.size(); ++i)
            if (channelsApart(windows[i], reference[i]) > 1 && different++ < 8)
                ADD_FAILURE() << "pixel " << i % static_cast<std::size_t>(width) << ", " << i / static_cast<std::size_t>(width)
                              << ": " << std::hex << windows[i] << " against " << reference[i];
        return different;
    }

    static std::string at(Point point) { return std::to_string(point.x) + " " + std::to_string(point.y); }
    // A left click of the host's script on the control.
    static std::string clickOn(const ControlInterface& control)
    {
        return "press 0 " + at(centre(control)) + " 1 0\nrelease 0 " + at(centre(control)) + " 1 0\n";
    }
    // The file's path as the Windows module sees it under wine, which maps Z: to the root.
    std::string windowsPath(const std::string& name) const
    {
        std::string path = "Z:" + file(name);
        std::replace(path.begin(), path.end(), '/', '\\');
        return path;
    }
    std::vector<char> bytes(const std::string& name) const
    {
        std::ifstream in(file(name), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    std::filesystem::path folder_;
};

} // namespace

TEST_F(WindowsEditorTest, TheEditorInAWindowsHostLooksAndAnswersAsOnTheHeadlessWindow)
{
    // The reference pictures and the points to press, in the states the script brings about.
    const std::vector<std::uint32_t> defaultFrame = window().frame();
    effect_->dispatch(effSetProgram, 0, 6);
    tick();
    const Point cutoff = centre(control(kCutoff));
    click(control(kCutoff));
    window().paint_pending();
    const Point feedback = handle(control(kLine1Feedback));
    const Point valueBox = centre(gui().detail().selected()->valueBox());
    const Point preset = centre(miscControl("PresetNumberListener", 1));
    const Point recallBox = centre(miscControl("PresetTimeDisplayListener"));
    const std::string press = "press 0 ", release = "release 0 ", move = "move 0 ";

    std::ostringstream script;
    script << "create 0\nrect 0\nopen 0\npump 300\nwindow 0\nregistered\ndump 0 " << file("default.ppm") << "\n"
           << "program 0 6\npump 150\n" << press << at(cutoff) << " 1 0\n" << release << at(cutoff) << " 1 0\npump 150\n"
           << "dump 0 " << file("selected.ppm") << "\n"
           // A knob dragged up with the left button, the pointer hidden while the mouse is held.
           << "mark knob\n" << press << at(cutoff) << " 1 0\npump 30\n";
    for (int step = 1; step <= 10; ++step)
        script << move << cutoff.x << " " << cutoff.y - 4 * step << " 1\npump 30\n";
    script << "cursor\n" << release << cutoff.x << " " << cutoff.y - 40 << " 1 0\npump 50\ncursor\n"
           // A right drag on line 1's feedback moves line 2's.
           << "mark right\ndrag 0 " << at(feedback) << " 0 -40 2 0\npump 300\n"
           // Past the left edge while captured: a small negative x, not a large positive one.
           << "mark left\n" << press << at(cutoff) << " 1 0\npump 300\n" << move << "-3 " << cutoff.y << " 1\npump 50\n"
           << release << "-3 " << cutoff.y << " 1 0\npump 300\n"
           // The host hides the editor mid-drag, the button goes up elsewhere, the editor shows
           // again: the pointer moving without a button turns nothing.
           << "mark hidden\n" << press << at(cutoff) << " 1 0\npump 100\n" << move << cutoff.x << " " << cutoff.y - 8
           << " 1\npump 50\nhide 0\npump 50\nlift 1\npump 800\nshow 0\npump 100\nmark shown\n" << move << cutoff.x << " "
           << cutoff.y - 30 << " 0\npump 50\n" << move << cutoff.x << " " << cutoff.y - 60 << " 0\npump 300\n"
           // The value box: Enter commits, Escape cancels, a click elsewhere commits.
           << "mark enter\n" << press << at(valueBox) << " 1 0\n" << release << at(valueBox) << " 1 0\npump 50\nedit\n"
           << "type 2000\nkey 13\npump 50\nedit\n"
           << "mark escape\n" << press << at(valueBox) << " 1 0\n" << release << at(valueBox) << " 1 0\npump 50\n"
           << "type 500\nkey 27\npump 50\nedit\n"
           << "mark unfocus\n" << press << at(valueBox) << " 1 0\n" << release << at(valueBox) << " 1 0\npump 50\n"
           << "type 3000\nunfocus\npump 50\nedit\n"
           // A two-second recall glides on the platform's timer, about ten steps in the second
           // pumped here; closing the window, still mid-glide, stops it.
           << "mark glide\n" << press << at(recallBox) << " 1 0\n" << release << at(recallBox) << " 1 0\npump 50\n"
           << "type 2\nkey 13\npump 50\n" << press << at(preset) << " 1 0\n" << release << at(preset) << " 1 0\npump 1000\n"
           << "close 0\nmark closed\npump 600\nwindow 0\nregistered\n"
           << "mark reopened\nopen 0\npump 200\nwindow 0\nclose 0\n";
    const HostOutput host = runHost("editor", script.str());

    EXPECT_EQ(host.fact("created", 0, 1), "1") << "the effect says it has an editor";
    EXPECT_EQ(host.fact("rect", 0, 1), std::to_string(testSkin().size.w));
    EXPECT_EQ(host.fact("rect", 0, 2), std::to_string(testSkin().size.h));
    EXPECT_EQ(host.fact("open"), "1");
    const auto windows = host.facts("window");
    ASSERT_EQ(windows.size(), 3u);
    EXPECT_EQ(windows[0][0], "1");
    EXPECT_EQ(windows[0][1].rfind("BrisvalAudioPlugin", 0), 0u);
    EXPECT_EQ(windows[0][1].size(), std::string("BrisvalAudioPlugin").size() + 8);
    EXPECT_EQ(windows[0][2], "Brisval_Audio_Plug-in");
    EXPECT_EQ(windows[0][3], std::to_string(testSkin().size.w));
    EXPECT_EQ(windows[0][4], std::to_string(testSkin().size.h));
    EXPECT_EQ(windows[0][5], "1") << "a child of the host's window";
    EXPECT_EQ(host.fact("registered", 0), "1");

    // The same pictures as the headless window for the same states.
    EXPECT_EQ(differences("default.ppm", defaultFrame), 0);
    EXPECT_EQ(differences("selected.ppm", window().frame()), 0);

    const auto knob = host.calls(kAutomate, "knob", "right");
    ASSERT_FALSE(knob.empty());
    EXPECT_EQ(knob.back().first, kCutoff);
    const auto cursor = host.facts("cursor");
    ASSERT_EQ(cursor.size(), 2u);
    EXPECT_EQ(cursor[0][2], "1") << "hidden while dragging";
    EXPECT_EQ(cursor[1][2], "0") << "shown after the release";
    EXPECT_EQ(cursor[1][0] + " " + cursor[1][1], at(cutoff)) << "put back where the drag began";

    bool partner = false;
    for (const auto& call : host.calls(kAutomate, "right", "left"))
        partner |= call.first == kLine1Feedback + kLineParams;
    EXPECT_TRUE(partner) << "the right drag moved line 2's feedback";

    // The cutoff's last value told to the host in a part of the script, or -1.
    auto cutoffAt = [&](const std::string& from, const std::string& to) {
        float value = -1.0f;
        for (const auto& call : host.calls(kAutomate, from, to))
            if (call.first == kCutoff)
                value = call.second;
        return value;
    };
    // The knob glides on after its release, into the right drag: the left drag starts from
    // where the glide had got to when the knob was pressed again.
    const float pressedAt = cutoffAt("knob", "left");
    const auto left = host.calls(kAutomate, "left", "hidden");
    ASSERT_FALSE(left.empty());
    for (const auto& call : left)
        EXPECT_LE(call.second, pressedAt + 1e-6f) << "moving left never turns the knob far up";

    EXPECT_FALSE(host.calls(kAutomate, "hidden", "shown").empty());
    EXPECT_TRUE(host.calls(kAutomate, "shown", "enter").empty()) << "a hidden window's drag ended with it";

    const auto edits = host.facts("edit");
    ASSERT_EQ(edits.size(), 4u);
    EXPECT_EQ(edits[0][0], "1") << "the text field opened";
    EXPECT_EQ(edits[1][0], "0");
    EXPECT_EQ(edits[2][0], "0");
    EXPECT_EQ(edits[3][0], "0");
    EXPECT_GE(cutoffAt("enter", "escape"), 0.0f) << "Enter commits";
    EXPECT_LT(cutoffAt("escape", "unfocus"), 0.0f) << "Escape cancels";
    EXPECT_GE(cutoffAt("unfocus", "glide"), 0.0f) << "a click elsewhere commits";
    EXPECT_GT(cutoffAt("unfocus", "glide"), cutoffAt("enter", "escape")) << "3000 Hz above 2000 Hz";

    // Each step of the glide automates every parameter it moves.
    std::map<int, std::size_t> glided;
    for (const auto& call : host.calls(kAutomate, "glide", "closed"))
        ++glided[call.first];
    std::size_t steps = 0;
    for (const auto& [index, count] : glided)
        steps = std::max(steps, count);
    EXPECT_GE(steps, 4u) << "the glide steps on the platform timer";
    EXPECT_TRUE(host.calls(kAutomate, "closed", "reopened").empty()) << "its timer stopped with the window";
    EXPECT_EQ(FakeHost::gestureFaults(host.log()), "") << "every gesture begun and ended, closing included";
    EXPECT_EQ(windows[1][0], "0") << "closed";
    EXPECT_EQ(host.fact("registered", 1), "0") << "the last window took its class with it";
    EXPECT_EQ(windows[2][0], "1") << "and it opens again";
}

TEST_F(WindowsEditorTest, OddHostCallsGetCleanAnswersAndLeaveNothingBehind)
{
    const Point cutoff = centre(control(kCutoff));
    click(control(kCutoff));
    const Point valueBox = centre(gui().detail().selected()->valueBox());
    // An editor used, with its text field, then closed: what it made goes with it.
    const std::string use = "open 0\npump 100\npress 0 " + at(cutoff) + " 1 0\nrelease 0 " + at(cutoff) + " 1 0\npress 0 " +
                            at(valueBox) + " 1 0\nrelease 0 " + at(valueBox) + " 1 0\npump 50\ntype 1000\nkey 13\npump 50\n";
    const std::string script = "windows\ncreate 0\nwindows\n"
                               "open 0 null\nopen 0 bogus\nclose 0\nidle 0\nwindow 0\n"
                               "open 0\nopen 0\npump 100\nwindow 0\n"
                               "create 1\nopen 1\npump 100\nwindow 1\nregistered\n"
                               "close 0\nregistered\nclose 1\nregistered\n" +
                               use + "close 0\nobjects\n" + use + "close 0\n" + use + "close 0\nobjects\n" +
                               "open 0\npump 100\nmark destroy\ndestroy 0\nregistered\ndestroy 1\nwindows\nobjects\n"
                               "create 0\n" + use + "destroy 0\ncreate 0\n" + use + "destroy 0\nobjects\n";
    const HostOutput host = runHost("odd", script);
    const auto opens = host.facts("open");
    ASSERT_GE(opens.size(), 4u);
    EXPECT_EQ(opens[0][0], "0") << "no parent";
    EXPECT_EQ(opens[1][0], "0") << "a parent that is no window";
    EXPECT_EQ(opens[2][0], "1");
    EXPECT_EQ(opens[3][0], "1") << "a second open keeps the window";
    const auto windows = host.facts("window");
    ASSERT_EQ(windows.size(), 3u);
    EXPECT_EQ(windows[0][0], "0");
    EXPECT_EQ(windows[1][6], "1") << "one editor window, not two";
    EXPECT_EQ(windows[2][1], windows[1][1]) << "both editors share the class";
    const auto registered = host.facts("registered");
    ASSERT_EQ(registered.size(), 4u);
    EXPECT_EQ(registered[0][0], "1");
    EXPECT_EQ(registered[1][0], "1") << "one editor still open";
    EXPECT_EQ(registered[2][0], "0") << "closing the last unregisters";
    EXPECT_EQ(registered[3][0], "0") << "closing the effect with its editor open cleans up";
    const auto counts = host.facts("windows");
    ASSERT_EQ(counts.size(), 3u);
    EXPECT_EQ(counts[2][0], counts[0][0]) << "every window made was destroyed";
    const auto objects = host.facts("objects");
    ASSERT_EQ(objects.size(), 4u);
    EXPECT_EQ(objects[1][0], objects[0][0]) << "opening, typing and closing leave no GDI object behind";
    EXPECT_EQ(objects[3][0], objects[2][0]) << "nor do effects closed with their editor open";
}

TEST_F(WindowsEditorTest, TheBankButtonsSaveAndLoadThroughTheSystemDialogs)
{
    // What Save should write: the presets of a fresh editor, as the bank encoder writes them.
    ASSERT_EQ(mppi::save_bank_file(file("fresh.pbk"), gui().misc().presets().bank()), 0);
    // A bank for Load, each preset with a feedback of its own.
    auto loadedFeedback = [](int preset) { return 0.013f + 0.12f * static_cast<float>(preset); };
    mppi::BankManager loaded = gui().misc().presets().bank();
    ASSERT_EQ(loaded.count(), 8);
    for (int preset = 0; preset < loaded.count(); ++preset) {
        loaded.program(preset).setValue(kLine1Feedback, loadedFeedback(preset));
        loaded.program(preset).setName("Loaded " + std::to_string(preset));
    }
    ASSERT_EQ(mppi::save_bank_file(file("loaded.pbk"), loaded), 0);
    std::ofstream(file("broken.pbk"), std::ios::binary) << "not a bank, just words";
    std::ofstream(file("old.pbk"), std::ios::binary) << "an old file";
    std::filesystem::remove(file("saved.pbk"));

    auto recall = [&](int preset) { return clickOn(miscControl("PresetNumberListener", preset)) + "pump 300\n"; };
    const std::string load = clickOn(miscControl("PresetLoadBankListener")) + "pump 200\n";
    const std::string save = clickOn(miscControl("PresetSaveBankListener")) + "pump 200\n";
    std::ostringstream script;
    // A recall time of 0: a recall reaches its preset at its first step.
    script << "create 0\nopen 0\npump 300\ntoplevel\n" << clickOn(miscControl("PresetTimeDisplayListener"))
           << "pump 50\ntype 0\nkey 13\npump 50\n"
           // Saved under a name typed without its extension.
           << "mark save\nanswer file " << windowsPath("saved") << "\n" << save
           << "mark load\nanswer file " << windowsPath("loaded.pbk") << "\n" << load;
    for (int preset = 0; preset < 8; ++preset)
        script << "mark loaded" << preset << "\n" << recall(preset);
    script << "mark cancel\nanswer file cancel\n" << load << "mark kept3\n" << recall(3)
           << "mark broken\nanswer file " << windowsPath("broken.pbk") << "\nanswer box ok\n" << load << "mark kept6\n"
           << recall(6) << "mark overwrite\nanswer file " << windowsPath("old.pbk") << "\nanswer box ok\n" << save
           << "mark end\ntoplevel\nclose 0\n";
    const HostOutput host = runHost("banks", script.str());

    std::vector<std::string> titles;
    for (const auto& dialog : host.facts("dialog"))
        titles.push_back(dialog.at(0));
    EXPECT_EQ(titles, (std::vector<std::string>{"Save_preset_bank", "Load_preset_bank", "Load_preset_bank",
                                                "Load_preset_bank", "Error", "Save_preset_bank", "Conflict"}));
    EXPECT_TRUE(host.facts("unexpected").empty());

    ASSERT_TRUE(std::filesystem::exists(file("saved.pbk"))) << "the bank's extension added to the typed name";
    EXPECT_EQ(bytes("saved.pbk"), bytes("fresh.pbk")) << "the editor's presets, encoded";

    // The feedback the host was told last between two marks, or -1.
    auto feedbackAt = [&](const std::string& from, const std::string& to) {
        float value = -1.0f;
        for (const auto& call : host.calls(kAutomate, from, to))
            if (call.first == kLine1Feedback)
                value = call.second;
        return value;
    };
    for (int preset = 0; preset < 8; ++preset) {
        const std::string next = preset < 7 ? "loaded" + std::to_string(preset + 1) : "cancel";
        EXPECT_NEAR(feedbackAt("loaded" + std::to_string(preset), next), loadedFeedback(preset), 1e-6)
            << "preset " << preset << " recalls the loaded file's";
    }
    EXPECT_TRUE(host.facts("message", "cancel", "broken").empty()) << "a cancelled dialog asks nothing more";
    EXPECT_NEAR(feedbackAt("kept3", "broken"), loadedFeedback(3), 1e-6) << "and loads nothing";

    const auto messages = host.facts("message");
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0][0],
              "Can't_load_bank_file|" + windowsPath("broken.pbk") + "||Code_" + std::to_string(mppi::kBankBodyShort));
    EXPECT_NEAR(feedbackAt("kept6", "overwrite"), loadedFeedback(6), 1e-6) << "a broken file leaves the presets";
    EXPECT_EQ(messages[1][0], windowsPath("old.pbk") + "|already_exists._Overwrite_?");
    EXPECT_EQ(bytes("old.pbk"), bytes("loaded.pbk")) << "OK overwrites with the presets, as loaded";

    const auto toplevel = host.facts("toplevel");
    ASSERT_EQ(toplevel.size(), 2u);
    EXPECT_EQ(toplevel[1], toplevel[0]) << "every dialog closed";
}

namespace {

constexpr const char* kDpiPrefix = "wineprefix-dpi144";

// The editor's width and height at a scale, as the host's facts give them.
std::string size(float scale)
{
    return std::to_string(skin_layout::scaled(testSkin().size.w, scale)) + " " +
           std::to_string(skin_layout::scaled(testSkin().size.h, scale));
}

// The Windows settings folders (%APPDATA%\Zorvane) of a wine prefix's users.
std::vector<std::filesystem::path> settingsFolders(const std::filesystem::path& prefix)
{
    std::vector<std::filesystem::path> found;
    std::error_code error;
    for (const auto& user : std::filesystem::directory_iterator(prefix / "drive_c" / "users", error))
        found.push_back(user.path() / "AppData" / "Roaming" / "Zorvane");
    return found;
}

} // namespace

TEST_F(WindowsEditorTest, TheHostsContentScaleSetsTheRectAndThePixels)
{
    gui().setHostScale(2.0);
    window().paint_all();
    ASSERT_EQ(window().size().w, skin_layout::scaled(testSkin().size.w, 2.0f));
    const std::vector<std::uint32_t> twiceFrame = window().frame();
    const Point cutoff = centre(control(kCutoff));
    click(control(kCutoff));
    const Point valueBox = centre(gui().detail().selected()->valueBox());
    click(gui().detail().selected()->valueBox());
    const pengui::Rect field = window().editor_rect();
    window().press_escape();
    std::ostringstream script;
    script << "create 0\nrect 0\nscale 0 2\nrect 0\nopen 0\npump 300\nwindow 0\ndump 0 " << file("twice.ppm") << "\n"
           // The text field at 2x.
           << "press 0 " << at(cutoff) << " 1 0\nrelease 0 " << at(cutoff) << " 1 0\npump 50\npress 0 " << at(valueBox)
           << " 1 0\nrelease 0 " << at(valueBox) << " 1 0\npump 50\nedit\nkey 27\npump 50\n"
           // Open, a host that cannot size its window keeps the old scale until the next opening.
           << "scale 0 1\npump 100\nwindow 0\nclose 0\nrect 0\n"
           // Factors that say nothing leave the last word; 100 is 2x.
           << "scale 0 0\nscale 0 -1\nscale 0 nan\nrect 0\nscale 0 100\nrect 0\n"
           // A host that sizes its window takes the new scale at once.
           << "sizewindow 1\nopen 0\npump 200\nscale 0 1.5\npump 200\nwindow 0\nclose 0\n";
    const HostOutput host = runHost("scale", script.str());

    const auto rects = host.facts("rect");
    ASSERT_EQ(rects.size(), 5u);
    auto rect = [&](std::size_t nth) { return rects[nth][1] + " " + rects[nth][2]; };
    EXPECT_EQ(rect(0), size(1.0f));
    EXPECT_EQ(rect(1), size(2.0f)) << "the host's message before the rect";
    EXPECT_EQ(rect(2), size(1.0f)) << "the message while open, at the next rect";
    EXPECT_EQ(rect(3), size(1.0f)) << "0, -1 and NaN say nothing";
    EXPECT_EQ(rect(4), size(2.0f));
    for (const auto& answer : host.facts("scale"))
        EXPECT_EQ(answer.at(0), "1");
    const auto windows = host.facts("window");
    ASSERT_EQ(windows.size(), 3u);
    EXPECT_EQ(windows[0][3] + " " + windows[0][4], size(2.0f));
    EXPECT_EQ(windows[1][3] + " " + windows[1][4], size(2.0f)) << "refused, the old scale stays";
    EXPECT_EQ(windows[2][3] + " " + windows[2][4], size(1.5f)) << "resized at once";
    EXPECT_EQ(differences("twice.ppm", twiceFrame), 0) << "the 2x editor";
    const auto edit = host.facts("edit");
    ASSERT_EQ(edit.size(), 1u);
    EXPECT_EQ(edit[0][0], "1");
    EXPECT_EQ(edit[0][1] + " " + edit[0][2], std::to_string(field.width()) + " " + std::to_string(field.height()))
        << "the field over the 2x box";
    EXPECT_EQ(std::stoi(edit[0][3]), field.height()) << "its font as high as the box";
    EXPECT_EQ(host.calls(audioMasterSizeWindow).size(), 1u);
    EXPECT_EQ(FakeHost::gestureFaults(host.log()), "");
}

TEST_F(WindowsEditorTest, AScreenOf144DpiGivesADpiAwareHost15xAndTheMusiciansChoiceOutlivesTheInstance)
{
    // Where a right click opens the menu at 1x, and where its 200 % line lies.
    Point background{-1, -1};
    for (int y = 2; y < window().size().h && background.x < 0; y += 5)
        for (int x = 2; x < window().size().w && background.x < 0; x += 5)
            if (!gui().controlAt({x, y}))
                background = {x, y};
    clickAt(background, kRightButton);
    ASSERT_TRUE(gui().menu().is_open());
    const pengui::Rect menu = gui().menu().rect();
    const Point twice{(menu.x0 + menu.x1) / 2, menu.y0 + menu.height() * 5 / 6};
    gui().menu().close();

    // The prefix's screen at 144 DPI, and no choice kept in it.
    const std::filesystem::path prefix = std::filesystem::path(WINDOWS_BUILD) / kDpiPrefix;
    for (const char* key : {"HKCU\\Control Panel\\Desktop", "HKCC\\Software\\Fonts"}) {
        const std::string command = "export WINEPREFIX='" + prefix.string() + "' WINEDEBUG=-all && " WINE " reg add '" + key +
                                    "' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null 2>&1; /usr/lib/wine/wineserver -w";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
    }
    for (const auto& folder : settingsFolders(prefix))
        std::filesystem::remove_all(folder);

    std::ostringstream script;
    script << "dpiaware\ncreate 0\nrect 0\nopen 0\npump 300\nwindow 0\n"
           // The host's word comes before the screen's, never times it.
           << "close 0\nscale 0 2\nrect 0\nscale 0 1\nrect 0\nopen 0\npump 300\n"
           // The musician chooses 200 % from the menu; the host cannot size its window, so it
           // shows at the next opening, and in the next instance.
           << "press 0 " << at(background) << " 2 0\nrelease 0 " << at(background) << " 2 0\npump 50\n"
           << "press 0 " << at(twice) << " 1 0\nrelease 0 " << at(twice) << " 1 0\npump 50\nwindow 0\nclose 0\nrect 0\n"
           << "destroy 0\ncreate 1\nscale 1 1\nrect 1\n";
    const HostOutput aware = runHost("dpi", script.str(), kDpiPrefix);
    bool kept = false;
    for (const auto& folder : settingsFolders(prefix)) {
        kept |= std::filesystem::exists(folder / "settings");
        std::filesystem::remove_all(folder);
    }

    EXPECT_EQ(aware.fact("dpiaware"), "1");
    const auto rects = aware.facts("rect");
    ASSERT_EQ(rects.size(), 5u);
    auto rect = [&](std::size_t nth) { return rects[nth][1] + " " + rects[nth][2]; };
    EXPECT_EQ(rect(0), size(1.5f)) << "144 DPI";
    EXPECT_EQ(rect(1), size(2.0f)) << "the host's 2 over the screen's 1.5";
    EXPECT_EQ(rect(2), size(1.0f)) << "and its 1";
    EXPECT_EQ(rect(3), size(2.0f)) << "the musician's choice";
    EXPECT_EQ(rect(4), size(2.0f)) << "kept for the next instance, over the host's 1";
    const auto windows = aware.facts("window");
    ASSERT_EQ(windows.size(), 2u);
    EXPECT_EQ(windows[0][3] + " " + windows[0][4], size(1.5f)) << "the host window's DPI";
    EXPECT_EQ(windows[1][3] + " " + windows[1][4], size(1.0f)) << "chosen while open, shown at the next opening";
    EXPECT_TRUE(kept) << "in %APPDATA%\\Zorvane";
}
