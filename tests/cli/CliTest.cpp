// zorvane, the command-line host, run as a user runs it.
#include "PngFrame.h"
#include "SkinLayout.h"
#include "SkinPlacement.h"

#include <gtest/gtest.h>

#include <sndfile.h>

#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kRate = 44100;

struct Result {
    int status;
    std::string out;
    std::string err;
};

struct Sound {
    int rate = 0;
    int channels = 0;
    int format = 0;
    std::vector<float> left;
    std::vector<float> right;
};

class CliTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder_ = std::filesystem::temp_directory_path() /
                  ("zorvane-cli-" + std::to_string(getpid()) + "-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    std::string path(const std::string& name) const { return (folder_ / name).string(); }

    // Runs zorvane with `arguments` (already quoted for the shell).
    Result run(const std::string& arguments) const
    {
        const std::string out = path("stdout.txt");
        const std::string err = path("stderr.txt");
        const std::string command = std::string(ZORVANE_CLI_PATH) + " " + arguments + " >" + out + " 2>" + err;
        const int status = std::system(command.c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, slurp(out), slurp(err)};
    }

    static std::string slurp(const std::string& file)
    {
        std::ifstream in(file);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    void writeSound(const std::string& name, const std::vector<float>& mono, int rate = kRate) const
    {
        SF_INFO info{};
        info.samplerate = rate;
        info.channels = 1;
        info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
        SNDFILE* file = sf_open(path(name).c_str(), SFM_WRITE, &info);
        ASSERT_NE(file, nullptr);
        sf_writef_float(file, mono.data(), static_cast<sf_count_t>(mono.size()));
        sf_close(file);
    }

    Sound readSound(const std::string& name) const
    {
        Sound sound;
        SF_INFO info{};
        SNDFILE* file = sf_open(path(name).c_str(), SFM_READ, &info);
        if (!file)
            return sound;
        sound.rate = info.samplerate;
        sound.channels = info.channels;
        sound.format = info.format;
        std::vector<float> frames(static_cast<std::size_t>(info.frames * info.channels));
        sf_readf_float(file, frames.data(), info.frames);
        sf_close(file);
        for (sf_count_t i = 0; i < info.frames; ++i) {
            sound.left.push_back(frames[static_cast<std::size_t>(i * info.channels)]);
            sound.right.push_back(frames[static_cast<std::size_t>(i * info.channels + info.channels - 1)]);
        }
        return sound;
    }

    static std::vector<float> impulse(std::size_t frames)
    {
        std::vector<float> signal(frames, 0.0f);
        signal[0] = 1.0f;
        return signal;
    }

    static std::size_t loudest(const std::vector<float>& signal, std::size_t from, std::size_t to)
    {
        std::size_t best = from;
        for (std::size_t i = from; i < std::min(to, signal.size()); ++i)
            if (std::fabs(signal[i]) > std::fabs(signal[best]))
                best = i;
        return best;
    }

    std::filesystem::path folder_;
};

} // namespace

TEST_F(CliTest, RendersAnImpulseWithTheEchoesWhereTheSettingsPutThem)
{
    writeSound("in.wav", impulse(1000));
    const Result result = run(path("in.wav") + " " + path("out.wav") + " --float --quiet");
    ASSERT_EQ(result.status, 2) << "render needs its command: " << result.err;

    const Result rendered = run("render " + path("in.wav") + " " + path("out.wav") + " --float --quiet");
    ASSERT_EQ(rendered.status, 0) << rendered.err;
    EXPECT_TRUE(rendered.err.empty());
    const Sound out = readSound("out.wav");
    ASSERT_EQ(out.rate, kRate);
    ASSERT_EQ(out.channels, 2);
    EXPECT_EQ(out.format, SF_FORMAT_WAV | SF_FORMAT_FLOAT);
    EXPECT_FLOAT_EQ(out.left[0], 1.0f);
    EXPECT_FLOAT_EQ(out.right[0], 1.0f);
    // A mono input feeds both inputs; a fresh instance plays program 0, whose echoes come every
    // 16538 samples at 0.4, 0.16...
    for (std::size_t k = 1; k <= 4; ++k) {
        EXPECT_NEAR(out.left[k * 16538], std::pow(0.4f, static_cast<float>(k)), 1e-6f);
        EXPECT_EQ(loudest(out.left, (k - 1) * 16538 + 1, k * 16538 + 100), k * 16538);
    }
    // The tail stops once the echoes are below -90 dBFS.
    const float last = std::fabs(out.left.back());
    EXPECT_GT(last, 3.1e-5f);
    EXPECT_LT(out.left.size(), 13u * 16538u);
    EXPECT_GT(out.left.size(), 11u * 16538u);
}

TEST_F(CliTest, TheHostTempoMovesTheEchoes)
{
    writeSound("in.wav", impulse(1000));
    ASSERT_EQ(run("render " + path("in.wav") + " " + path("out.wav") + " --float --quiet --tempo 100 --tail 1").status, 0);
    const Sound out = readSound("out.wav");
    EXPECT_EQ(loudest(out.left, 1, out.left.size()), 19845u);
    EXPECT_EQ(out.left.size(), 1000u + 44100u);
}

TEST_F(CliTest, ProgramsAreChosenByNameOrNumberAndSettingsComeAfter)
{
    writeSound("in.wav", impulse(1000));
    ASSERT_EQ(run("render " + path("in.wav") + " " + path("byname.wav") + " --float --quiet --program 'Predelays 1/4'").status, 0);
    ASSERT_EQ(run("render " + path("in.wav") + " " + path("bynumber.wav") + " --float --quiet --program 8").status, 0);
    const Sound byName = readSound("byname.wav");
    const Sound byNumber = readSound("bynumber.wav");
    EXPECT_EQ(byName.left, byNumber.left);
    EXPECT_EQ(byName.right, byNumber.right);
    // Taps at the quarter beats, no line.
    EXPECT_GT(std::fabs(byName.left[5513]), 0.1f);
    EXPECT_GT(std::fabs(byName.right[11025]), 0.1f);
    EXPECT_GT(std::fabs(byName.left[16538]), 0.1f);

    // A name longer than the interface carries matches by its beginning.
    ASSERT_EQ(run("render " + path("in.wav") + " " + path("long.wav") +
                  " --float --quiet --tail 1 --program 'Ping-pong delay - 3/4 beat'").status, 0);
    const Sound pingPong = readSound("long.wav");
    EXPECT_LT(std::fabs(pingPong.left[16538]), 1e-6f);
    EXPECT_GT(std::fabs(pingPong.right[16538]), 0.05f);

    ASSERT_EQ(run("render " + path("in.wav") + " " + path("dry.wav") + " --float --quiet --tail 1 --set 'D1 fdbk=0'").status, 0);
    ASSERT_EQ(run("render " + path("in.wav") + " " + path("dry2.wav") + " --float --quiet --tail 1 --set 64=0").status, 0);
    const Sound dry = readSound("dry.wav");
    EXPECT_EQ(dry.left, readSound("dry2.wav").left);
    EXPECT_LT(std::fabs(dry.left[16538]), 1e-9f);
}

TEST_F(CliTest, ListsParametersProgramsAndIdentity)
{
    const Result params = run("params");
    ASSERT_EQ(params.status, 0) << params.err;
    std::istringstream lines(params.out);
    std::string line;
    int count = 0;
    while (std::getline(lines, line)) {
        const int fields = static_cast<int>(std::count(line.begin(), line.end(), '\t')) + 1;
        EXPECT_EQ(fields, 5) << line;
        EXPECT_EQ(line.rfind(std::to_string(count) + "\t", 0), 0u) << line;
        ++count;
    }
    EXPECT_EQ(count, 121);
    EXPECT_NE(params.out.find("0\tFlags\t\tBT 1\t0.250000\n"), std::string::npos);
    EXPECT_NE(params.out.find("60\tD1 time\tbeat\t3/4\t"), std::string::npos);
    EXPECT_NE(params.out.find("64\tD1 fdbk\t%\t40.0\t0.400000\n"), std::string::npos) << "program 0's";

    const Result program = run("params --program 0 --set 'D1 pan=0.25'");
    ASSERT_EQ(program.status, 0) << program.err;
    EXPECT_NE(program.out.find("64\tD1 fdbk\t%\t40.0\t0.400000\n"), std::string::npos);
    EXPECT_NE(program.out.find("56\tD1 pan\t%\tL 50\t0.250000\n"), std::string::npos);

    const Result programs = run("programs");
    ASSERT_EQ(programs.status, 0);
    EXPECT_EQ(std::count(programs.out.begin(), programs.out.end(), '\n'), 34);
    EXPECT_EQ(programs.out.rfind("0\tSimple delay - 3/4 beat\n", 0), 0u);
    EXPECT_NE(programs.out.find("33\tYellow engine\n"), std::string::npos);

    const Result info = run("info");
    ASSERT_EQ(info.status, 0);
    EXPECT_NE(info.out.find("effect name:    Zorvane"), std::string::npos);
    EXPECT_NE(info.out.find("unique ID:      KtMx"), std::string::npos);
    EXPECT_NE(info.out.find("vendor version: 0x103"), std::string::npos);
    EXPECT_NE(info.out.find("parameters:     121"), std::string::npos);
}

TEST_F(CliTest, TheDemoRendersWithoutAnyFile)
{
    const Result result = run("render --demo " + path("demo.wav") + " --program 6");
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.err.find("zorvane: rendered"), std::string::npos);
    EXPECT_NE(result.err.find("real time"), std::string::npos);
    const Sound demo = readSound("demo.wav");
    EXPECT_EQ(demo.rate, kRate);
    EXPECT_EQ(demo.format, SF_FORMAT_WAV | SF_FORMAT_PCM_24);
    EXPECT_GT(demo.left.size(), 4u * kRate);
    float peak = 0.0f;
    for (float v : demo.left)
        peak = std::max(peak, std::fabs(v));
    EXPECT_GT(peak, 0.1f);
    EXPECT_LT(peak, 1.0f);

    ASSERT_EQ(run("render --demo " + path("demo.flac") + " --quiet --tail 1").status, 0);
    EXPECT_EQ(readSound("demo.flac").format & SF_FORMAT_TYPEMASK, SF_FORMAT_FLAC);
}

TEST_F(CliTest, EveryHostBlockSizeGivesTheSameOutput)
{
    std::mt19937 generator(4);
    std::uniform_real_distribution<float> noise(-0.3f, 0.3f);
    std::vector<float> input(kRate);
    for (float& v : input)
        v = noise(generator);
    writeSound("in.wav", input);
    std::vector<Sound> outputs;
    for (int block : {512, 1, 17, 4096}) {
        const std::string name = "out" + std::to_string(block) + ".wav";
        ASSERT_EQ(run("render " + path("in.wav") + " " + path(name) + " --float --quiet --program 'Chorus - Medium' --block " +
                      std::to_string(block)).status, 0);
        outputs.push_back(readSound(name));
    }
    ASSERT_GT(outputs[0].left.size(), static_cast<std::size_t>(kRate));
    for (std::size_t i = 1; i < outputs.size(); ++i) {
        EXPECT_EQ(outputs[i].left, outputs[0].left) << "block size case " << i;
        EXPECT_EQ(outputs[i].right, outputs[0].right) << "block size case " << i;
    }
}

TEST_F(CliTest, BadInputGetsAClearMessageAndStatusTwo)
{
    writeSound("in.wav", impulse(100));
    std::ofstream(path("text.wav")) << "not a sound";
    const std::string in = path("in.wav");
    const std::string out = path("out.wav");
    struct Case {
        std::string arguments;
        std::string message;
    };
    const Case cases[] = {
        {"render " + path("missing.wav") + " " + out, "cannot read"},
        {"render " + path("text.wav") + " " + out, "cannot read"},
        {"render " + in + " " + path("out.xyz"), "unknown output extension .xyz"},
        {"render " + in + " " + path("noextension"), "no extension"},
        {"render " + in + " " + out + " --program 'No such program'", "no program named"},
        {"render " + in + " " + out + " --program 34", "no program 34"},
        {"render " + in + " " + out + " --set 'D9 fdbk=0.5'", "no parameter named"},
        {"render " + in + " " + out + " --set 121=0.5", "no parameter 121"},
        {"render " + in + " " + out + " --set 'D1 fdbk=loud'", "must be a number from 0 to 1"},
        {"render " + in + " " + out + " --set 'D1 fdbk=1.5'", "must be a number from 0 to 1"},
        {"render " + in + " " + out + " --set 'D1 fdbk=nan'", "must be a number from 0 to 1"},
        {"render " + in + " " + out + " --plugin " + path("missing.so"), "cannot load the plug-in"},
        {"render " + in + " " + out + " --plugin " + std::string(NO_ENTRY_PLUGIN), "has no entry point"},
        {"render " + in + " " + out + " --plugin " + std::string(NULL_ENTRY_PLUGIN), "gave no effect"},
        {"render " + in + " " + out + " --block 0", "--block"},
        {"render " + in + " " + out + " --tempo -5", "--tempo"},
        {"render " + in, "render takes IN OUT"},
        {"frobnicate", "unknown command"},
        {"info --bogus", "unknown option --bogus"},
    };
    for (const Case& c : cases) {
        const Result result = run(c.arguments);
        EXPECT_EQ(result.status, 2) << c.arguments;
        EXPECT_NE(result.err.find(c.message), std::string::npos) << c.arguments << " said: " << result.err;
        EXPECT_FALSE(std::filesystem::exists(out)) << c.arguments;
    }
    EXPECT_EQ(run("--help").status, 0);
}

TEST_F(CliTest, AnExistingOutputIsNeverLeftHalfWritten)
{
    writeSound("in.wav", impulse(100));
    std::ofstream(path("out.wav")) << "keep";
    EXPECT_EQ(run("render " + path("in.wav") + " " + path("out.wav") + " --program 99").status, 2);
    EXPECT_EQ(slurp(path("out.wav")), "keep");

    // Interrupted in a long render: the old file stays and nothing partial is left.
    const std::string command = std::string(ZORVANE_CLI_PATH);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        execl(command.c_str(), command.c_str(), "render", path("in.wav").c_str(), path("out.wav").c_str(), "--tail",
              "3600", "--quiet", static_cast<char*>(nullptr));
        _exit(127);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(700));
    kill(child, SIGINT);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 130);
    EXPECT_EQ(slurp(path("out.wav")), "keep");
    for (const auto& entry : std::filesystem::directory_iterator(folder_))
        EXPECT_EQ(entry.path().filename().string().find(".partial"), std::string::npos) << entry.path();

    ASSERT_EQ(run("render " + path("in.wav") + " " + path("out.wav") + " --quiet --tail 0.1").status, 0);
    EXPECT_EQ(readSound("out.wav").channels, 2);
    EXPECT_EQ(std::filesystem::status(path("out.wav")).permissions() & std::filesystem::perms::others_read,
              std::filesystem::perms::others_read);
}

TEST_F(CliTest, SnapshotsOfBothSkinsPutEachControlWhereTheLayoutSays)
{
    for (const char* skinName : {"wide", "compact"}) {
        SCOPED_TRACE(skinName);
        const skin_layout::SkinLayout& skin = std::string(skinName) == "wide" ? skin_layout::wide() : skin_layout::compact();
        const std::string skinArgument = std::string(" --skin ") + skinName;
        ASSERT_EQ(run("snapshot " + path("low.png") + skinArgument + " --set 'D1 fdbk=0'").status, 0);
        ASSERT_EQ(run("snapshot " + path("high.png") + skinArgument + " --set 'D1 fdbk=1'").status, 0);
        ASSERT_EQ(run("snapshot " + path("two.png") + skinArgument + " --set 'D1 fdbk=1' --program 6").status, 0);
        const PngFrame low = read_png(path("low.png"));
        const PngFrame high = read_png(path("high.png"));
        const PngFrame two = read_png(path("two.png"));
        ASSERT_EQ(low.width, skin.size.w);
        ASSERT_EQ(low.height, skin.size.h);
        ASSERT_EQ(high.pixels.size(), low.pixels.size());
        ASSERT_EQ(two.pixels.size(), low.pixels.size());

        // The feedback control shows its value in its own place and nowhere else.
        pengui::Rect box;
        for (const skin_layout::PlacedControl& placed : skin_layout::placed_controls(skin))
            if (placed.cell == "delay line 1" && placed.parameter == 64)
                box = placed.row->box.moved(placed.at.x, placed.at.y);
        ASSERT_LT(box.x0, box.x1);
        const pengui::Rect line = skin_layout::cell_rects(skin).at("delay line 1");
        auto contains = [](const pengui::Rect& rect, int x, int y) {
            return x >= rect.x0 && x < rect.x1 && y >= rect.y0 && y < rect.y1;
        };
        int inBox = 0;
        int outside = 0;
        for (int y = 0; y < low.height; ++y)
            for (int x = 0; x < low.width; ++x)
                if (low.at(x, y) != high.at(x, y)) {
                    inBox += contains(box, x, y);
                    outside += !contains(line, x, y);
                }
        EXPECT_GT(inBox, 20);
        EXPECT_EQ(outside, 0);

        // The ping-pong program's second line fills the lower band.
        const pengui::Rect lower = skin.relayoutRepaint;
        int changedBelow = 0;
        for (int y = lower.y0; y < lower.y1; ++y)
            for (int x = lower.x0; x < lower.x1; ++x)
                changedBelow += two.at(x, y) != high.at(x, y);
        EXPECT_GT(changedBelow, (lower.x1 - lower.x0) * (lower.y1 - lower.y0) / 10);
    }
    EXPECT_NE(run("snapshot " + path("x.png") + " --skin tiny").status, 0);
    EXPECT_NE(run("snapshot " + path("x.png") + " --select 'No such parameter'").status, 0);
}

// The editor at 1.5x and 2x: the window's size scaled, and at 2x, averaged over 2 x 2 blocks, the
// 1x editor within a small mean difference: the same pictures and text in the same places,
// drawn sharp rather than doubled (a doubled picture would average back exactly).
TEST_F(CliTest, ScaledSnapshotsAreTheEditorAtTheirScale)
{
    for (const char* skinName : {"wide", "compact"}) {
        SCOPED_TRACE(skinName);
        const skin_layout::SkinLayout& skin = std::string(skinName) == "wide" ? skin_layout::wide() : skin_layout::compact();
        const std::string arguments = std::string(" --skin ") + skinName + " --program 6 --select 'D1 fdbk'";
        ASSERT_EQ(run("snapshot " + path("one.png") + arguments).status, 0);
        ASSERT_EQ(run("snapshot " + path("half.png") + arguments + " --scale 1.5").status, 0);
        ASSERT_EQ(run("snapshot " + path("two.png") + arguments + " --scale 2").status, 0);
        const PngFrame one = read_png(path("one.png"));
        const PngFrame half = read_png(path("half.png"));
        const PngFrame two = read_png(path("two.png"));
        EXPECT_EQ(half.width, skin_layout::scaled(skin.size.w, 1.5f));
        EXPECT_EQ(half.height, skin_layout::scaled(skin.size.h, 1.5f));
        ASSERT_EQ(two.width, 2 * skin.size.w);
        ASSERT_EQ(two.height, 2 * skin.size.h);
        double difference = 0.0;
        int exact = 0;
        for (int y = 0; y < one.height; ++y) {
            for (int x = 0; x < one.width; ++x) {
                bool same = true;
                for (int shift : {0, 8, 16}) {
                    int sum = 0;
                    for (int k = 0; k < 4; ++k)
                        sum += static_cast<int>((two.at(2 * x + k % 2, 2 * y + k / 2) >> shift) & 0xFF);
                    const int shrunk = (sum + 2) / 4;
                    const int single = static_cast<int>((one.at(x, y) >> shift) & 0xFF);
                    difference += std::abs(shrunk - single);
                    same = same && shrunk == single;
                }
                exact += same;
            }
        }
        const double mean = difference / (3.0 * one.width * one.height);
        std::printf("%s: mean difference of the 2x editor shrunk to 1x: %.2f of 255\n", skinName, mean);
        EXPECT_LT(mean, 1.0) << "measured: 0.45 (wide) and 0.53 (compact)";
        EXPECT_LT(exact, one.width * one.height) << "2x is not 1x doubled";
    }
    EXPECT_NE(run("snapshot " + path("x.png") + " --scale 3").status, 0);
    EXPECT_NE(run("snapshot " + path("x.png") + " --scale 1.25").status, 0);
}
