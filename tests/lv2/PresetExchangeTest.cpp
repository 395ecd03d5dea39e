// The eight presets between the plug-in and its UI: patch:Get answered from the audio thread,
// patch:Set decoded by the host's worker and sent back, refusals logged and answered with the
// presets unchanged, an output port too small, a restore reaching the UI; and the triple buffer
// the bodies travel in, between two threads.
#include "FakeStateServices.h"
#include "FakeUridMap.h"

#include "FixedPorts.h"
#include "LatestBlock.h"
#include "Lv2Plugin.h"
#include "PresetMessages.h"
#include "StateKeys.h"

#include <gtest/gtest.h>
#include <lv2/atom/util.h>
#include <lv2/worker/worker.h>

#include <atomic>
#include <cstring>
#include <memory>
#include <thread>
#include <tuple>
#include <vector>

namespace {

constexpr std::uint32_t kFrames = 64;

// The host's worker: counts the jobs the plug-in schedules; the test does the work.
class FakeWorker {
public:
    static LV2_Worker_Status schedule(LV2_Worker_Schedule_Handle handle, std::uint32_t, const void*)
    {
        auto* worker = static_cast<FakeWorker*>(handle);
        ++worker->jobs;
        return worker->full ? LV2_WORKER_ERR_NO_SPACE : LV2_WORKER_SUCCESS;
    }
    LV2_Worker_Schedule feature{this, schedule};
    int jobs = 0;
    bool full = false;
};

// An atom sequence port's buffer, 8-byte aligned: an empty sequence, or for an output its
// capacity in atom.size, as hosts give it before a run.
class SequenceBuffer {
public:
    explicit SequenceBuffer(std::uint32_t capacity) : words_(capacity / 8)
    {
        sequence()->atom.size = sizeof(LV2_Atom_Sequence_Body);
    }
    LV2_Atom_Sequence* sequence() { return reinterpret_cast<LV2_Atom_Sequence*>(words_.data()); }
    std::uint8_t* bytes() { return reinterpret_cast<std::uint8_t*>(words_.data()); }
    std::uint32_t capacity() const { return static_cast<std::uint32_t>(words_.size() * 8); }
    void reset() { sequence()->atom.size = capacity(); }

private:
    std::vector<std::uint64_t> words_;
};

class PresetExchangeTest : public ::testing::Test {
protected:
    // A plug-in with the features asked for, its audio and its presets' ports connected.
    std::unique_ptr<lv2port::Lv2Plugin> instance(bool withWorker = true)
    {
        const LV2_Feature map{LV2_URID__map, &map_.feature};
        const LV2_Feature log{LV2_LOG__log, &log_.feature};
        const LV2_Feature worker{LV2_WORKER__schedule, &worker_.feature};
        const LV2_Feature* features[] = {&map, &log, withWorker ? &worker : nullptr, nullptr};
        auto plugin = std::make_unique<lv2port::Lv2Plugin>(48000.0, features);
        plugin->connect(lv2port::kInputLeft, silence_.data());
        plugin->connect(lv2port::kInputRight, silence_.data());
        plugin->connect(lv2port::kOutputLeft, left_.data());
        plugin->connect(lv2port::kOutputRight, right_.data());
        plugin->connect(lv2port::kPresetsInput, input_.sequence());
        plugin->connect(lv2port::kPresetsOutput, output_.sequence());
        return plugin;
    }

    // One run with the messages given on the input port; answers the bank bodies the plug-in
    // sent, each of its output events read as a message.
    std::vector<std::vector<std::uint8_t>> run(lv2port::Lv2Plugin& plugin,
                                               const std::vector<std::vector<std::uint8_t>>& sets = {},
                                               bool get = false)
    {
        LV2_Atom_Forge forge = messages_.forge(input_.bytes(), input_.capacity());
        LV2_Atom_Forge_Frame frame;
        lv2_atom_forge_sequence_head(&forge, &frame, 0);
        for (const std::vector<std::uint8_t>& body : sets) {
            lv2_atom_forge_frame_time(&forge, 0);
            EXPECT_TRUE(messages_.writeSet(forge, body.data(), static_cast<std::uint32_t>(body.size())));
        }
        if (get) {
            lv2_atom_forge_frame_time(&forge, 0);
            EXPECT_TRUE(messages_.writeGet(forge));
        }
        lv2_atom_forge_pop(&forge, &frame);
        output_.reset();
        plugin.run(kFrames);
        return answers();
    }
    std::vector<std::vector<std::uint8_t>> answers()
    {
        std::vector<std::vector<std::uint8_t>> bodies;
        EXPECT_LE(output_.sequence()->atom.size + sizeof(LV2_Atom), output_.capacity());
        LV2_ATOM_SEQUENCE_FOREACH(output_.sequence(), event)
        {
            const lv2port::PresetMessages::Message message = messages_.read(event->body);
            EXPECT_EQ(message.kind, lv2port::PresetMessages::Message::kSet);
            bodies.emplace_back(message.body, message.body + message.size);
        }
        return bodies;
    }

    static std::vector<std::uint8_t> body(const mppi::BankManager& bank)
    {
        std::vector<std::uint8_t> bytes(bank.get_serialized_size());
        EXPECT_EQ(bank.serialize(bytes.data()), 0);
        return bytes;
    }
    static std::vector<std::uint8_t> body(const mppi::PresetBank& presets) { return body(presets.bank()); }
    // The presets of `plugin` with preset 5 renamed and one value moved.
    static std::vector<std::uint8_t> edited(lv2port::Lv2Plugin& plugin)
    {
        mppi::BankManager bank = plugin.presets().bank();
        bank.program(5).setName("Edited");
        bank.program(5).setValue(3, 0.875f);
        return body(bank);
    }

    FakeUridMap map_;
    FakeLog log_;
    FakeWorker worker_;
    lv2port::PresetMessages messages_{&map_.feature};
    SequenceBuffer input_{lv2port::PresetMessages::kPortSize};
    SequenceBuffer output_{lv2port::PresetMessages::kPortSize};
    std::vector<float> silence_ = std::vector<float>(kFrames), left_ = silence_, right_ = silence_;
};

} // namespace

TEST_F(PresetExchangeTest, ThePresetsGoOutAtTheFirstRunAndAtEachGet)
{
    auto plugin = instance();
    const std::vector<std::uint8_t> seeds = body(plugin->presets());
    EXPECT_EQ(run(*plugin), std::vector<std::vector<std::uint8_t>>{seeds}) << "a UI opened earlier learns them";
    EXPECT_TRUE(run(*plugin).empty());
    EXPECT_EQ(run(*plugin, {}, true), std::vector<std::vector<std::uint8_t>>{seeds});
    EXPECT_TRUE(run(*plugin).empty());
    EXPECT_EQ(worker_.jobs, 0) << "a Get needs no worker";
}

TEST_F(PresetExchangeTest, ASetReachesThePresetsThroughTheWorkerAndComesBack)
{
    auto plugin = instance();
    run(*plugin);
    const std::vector<std::uint8_t> seeds = body(plugin->presets());
    const std::vector<std::uint8_t> wanted = edited(*plugin);
    EXPECT_TRUE(run(*plugin, {wanted}).empty());
    EXPECT_EQ(worker_.jobs, 1);
    EXPECT_EQ(body(plugin->presets()), seeds) << "the audio thread leaves the presets to the worker";

    plugin->work();
    EXPECT_EQ(body(plugin->presets()), wanted);
    EXPECT_EQ(plugin->presets().bank().program(5).name(), "Edited");
    EXPECT_EQ(run(*plugin), std::vector<std::vector<std::uint8_t>>{wanted}) << "every UI hears the change";
    FakeStore saved;
    ASSERT_EQ(plugin->save(FakeStore::store, &saved), LV2_STATE_SUCCESS);
    EXPECT_EQ(saved.values[map_.map(lv2port::state_uri(lv2port::kPresetsKey))].bytes, wanted);

    // Two Sets before the worker runs: the later one wins, and a second job finds nothing new.
    const std::vector<std::uint8_t> later = seeds;
    EXPECT_TRUE(run(*plugin, {edited(*plugin), later}).empty());
    plugin->work();
    plugin->work();
    EXPECT_EQ(body(plugin->presets()), later);
    EXPECT_EQ(run(*plugin).size(), 1u);
    EXPECT_TRUE(log_.lines.empty());
}

TEST_F(PresetExchangeTest, ARefusedSetIsLoggedAndAnsweredWithThePresetsUnchanged)
{
    auto plugin = instance();
    run(*plugin);
    const std::vector<std::uint8_t> before = body(plugin->presets());
    std::vector<std::uint8_t> truncated = before;
    truncated.pop_back();
    mppi::BankManager seven = plugin->presets().bank();
    seven.resize(7);
    const std::vector<std::uint8_t> fewer = body(seven);
    for (const auto& [name, spoiled, logged] :
         {std::tuple{"truncated", truncated, "truncated"}, std::tuple{"seven presets", fewer, "eight presets"}}) {
        SCOPED_TRACE(name);
        log_.lines.clear();
        run(*plugin, {spoiled});
        plugin->work();
        EXPECT_EQ(body(plugin->presets()), before);
        ASSERT_EQ(log_.lines.size(), 1u);
        EXPECT_EQ(log_.lines[0].type, map_.map(LV2_LOG__Error));
        EXPECT_NE(log_.lines[0].text.find(logged), std::string::npos) << log_.lines[0].text;
        EXPECT_EQ(run(*plugin), std::vector<std::vector<std::uint8_t>>{before}) << "the UI takes them back";
    }

    // Larger than the ports' size: refused on the audio thread, answered there.
    log_.lines.clear();
    const int jobs = worker_.jobs;
    SequenceBuffer large(4 * lv2port::PresetMessages::kPortSize);
    plugin->connect(lv2port::kPresetsInput, large.sequence());
    LV2_Atom_Forge forge = messages_.forge(large.bytes(), large.capacity());
    LV2_Atom_Forge_Frame frame;
    lv2_atom_forge_sequence_head(&forge, &frame, 0);
    lv2_atom_forge_frame_time(&forge, 0);
    const std::vector<std::uint8_t> huge(2 * lv2port::PresetMessages::kPortSize);
    ASSERT_TRUE(messages_.writeSet(forge, huge.data(), static_cast<std::uint32_t>(huge.size())));
    lv2_atom_forge_pop(&forge, &frame);
    output_.reset();
    plugin->run(kFrames);
    EXPECT_EQ(worker_.jobs, jobs);
    EXPECT_EQ(answers(), std::vector<std::vector<std::uint8_t>>{before});
    EXPECT_EQ(body(plugin->presets()), before);
}

TEST_F(PresetExchangeTest, WithoutTheWorkerOrWithItsQueueFullASetIsAnsweredAtOnce)
{
    for (bool withWorker : {false, true}) {
        SCOPED_TRACE(withWorker ? "queue full" : "no worker");
        worker_.full = withWorker;
        auto plugin = instance(withWorker);
        run(*plugin);
        const std::vector<std::uint8_t> before = body(plugin->presets());
        EXPECT_EQ(run(*plugin, {edited(*plugin)}), std::vector<std::vector<std::uint8_t>>{before});
        EXPECT_EQ(body(plugin->presets()), before);
    }
}

TEST_F(PresetExchangeTest, AnOutputTooSmallStaysAnEmptySequenceUntilThereIsRoom)
{
    auto plugin = instance();
    SequenceBuffer small(1024);
    small.reset();
    plugin->connect(lv2port::kPresetsOutput, small.sequence());
    plugin->run(kFrames);
    EXPECT_EQ(small.sequence()->atom.size, sizeof(LV2_Atom_Sequence_Body));
    EXPECT_EQ(small.sequence()->atom.type, map_.map(LV2_ATOM__Sequence));
    plugin->connect(lv2port::kPresetsOutput, output_.sequence());
    EXPECT_EQ(run(*plugin).size(), 1u) << "the presets still go out";
    // Neither messages' port connected, as lv2apply runs it.
    plugin->connect(lv2port::kPresetsInput, nullptr);
    plugin->connect(lv2port::kPresetsOutput, nullptr);
    plugin->run(kFrames);
}

TEST_F(PresetExchangeTest, RestoredPresetsGoOutToTheUi)
{
    auto source = instance();
    run(*source, {edited(*source)});
    source->work();
    FakeStore state;
    ASSERT_EQ(source->save(FakeStore::store, &state), LV2_STATE_SUCCESS);

    auto plugin = instance();
    run(*plugin);
    ASSERT_EQ(plugin->restore(FakeStore::retrieve, &state), LV2_STATE_SUCCESS);
    EXPECT_EQ(run(*plugin), std::vector<std::vector<std::uint8_t>>{body(source->presets())});
}

// The host's three threads at once: the audio thread runs with Sets of two banks in turn and
// Gets, the worker decodes as jobs come, and another thread saves the state. Every answer and
// every saved state is one of the two banks whole, and in the end the presets are the last one
// sent. (ThreadSanitizer runs it too.)
TEST_F(PresetExchangeTest, TheAudioThreadTheWorkerAndSavesRunSideBySide)
{
    struct CountingWorker {
        static LV2_Worker_Status schedule(LV2_Worker_Schedule_Handle handle, std::uint32_t, const void*)
        {
            static_cast<CountingWorker*>(handle)->jobs.fetch_add(1);
            return LV2_WORKER_SUCCESS;
        }
        std::atomic<int> jobs{0};
        LV2_Worker_Schedule feature{this, schedule};
    } worker;
    const LV2_Feature map{LV2_URID__map, &map_.feature};
    const LV2_Feature schedule{LV2_WORKER__schedule, &worker.feature};
    const LV2_Feature* features[] = {&map, &schedule, nullptr};
    lv2port::Lv2Plugin plugin(48000.0, features);
    plugin.connect(lv2port::kInputLeft, silence_.data());
    plugin.connect(lv2port::kInputRight, silence_.data());
    plugin.connect(lv2port::kOutputLeft, left_.data());
    plugin.connect(lv2port::kOutputRight, right_.data());
    plugin.connect(lv2port::kPresetsInput, input_.sequence());
    plugin.connect(lv2port::kPresetsOutput, output_.sequence());
    const std::vector<std::uint8_t> first = body(plugin.presets()), second = edited(plugin);
    const LV2_URID presetsKey = map_.map(lv2port::state_uri(lv2port::kPresetsKey));

    constexpr int kRuns = 400;
    std::atomic<bool> done{false};
    std::thread workerThread([&] {
        int worked = 0;
        while (!done || worked < worker.jobs)
            if (worked < worker.jobs) {
                plugin.work();
                ++worked;
            }
    });
    bool savesWhole = true;
    std::thread saving([&] {
        while (!done) {
            FakeStore saved;
            plugin.save(FakeStore::store, &saved);
            const std::vector<std::uint8_t>& bytes = saved.values[presetsKey].bytes;
            savesWhole = savesWhole && (bytes == first || bytes == second);
        }
    });
    bool answersWhole = true;
    for (int index = 0; index < kRuns; ++index)
        for (const std::vector<std::uint8_t>& answer : run(plugin, {index % 2 ? first : second}, index % 3 == 0))
            answersWhole = answersWhole && (answer == first || answer == second);
    done = true;
    workerThread.join();
    saving.join();
    EXPECT_TRUE(answersWhole);
    EXPECT_TRUE(savesWhole);
    EXPECT_EQ(body(plugin.presets()), first) << "the last Set";
    EXPECT_EQ(run(plugin, {}, true), std::vector<std::vector<std::uint8_t>>{first});
    EXPECT_TRUE(log_.lines.empty());
}

// A writer and a reader on two threads: every block taken is one the writer wrote, whole, later
// than the one taken before, and the last one written is taken in the end.
TEST(LatestBlockTest, TheReaderTakesWholeBlocksInOrderAndTheLastOne)
{
    constexpr int kBlocks = 20000;
    lv2port::LatestBlock latest(256);
    EXPECT_FALSE(latest.take());
    EXPECT_EQ(latest.size(), 0u);
    const std::vector<std::uint8_t> tooLarge(257);
    EXPECT_FALSE(latest.write(tooLarge.data(), tooLarge.size()));
    EXPECT_FALSE(latest.take());

    // Block n: n itself, then n % 200 bytes of n's low byte.
    std::atomic<bool> done{false};
    std::thread writer([&] {
        std::vector<std::uint8_t> block;
        for (int number = 1; number <= kBlocks; ++number) {
            block.assign(sizeof number + static_cast<std::size_t>(number % 200), static_cast<std::uint8_t>(number));
            std::memcpy(block.data(), &number, sizeof number);
            EXPECT_TRUE(latest.write(block.data(), block.size()));
        }
        done = true;
    });
    int last = 0;
    int taken = 0;
    bool whole = true;
    bool later = true;
    for (;;) {
        const bool finished = done;
        if (!latest.take()) {
            if (finished)
                break;
            continue;
        }
        ++taken;
        int number = 0;
        std::memcpy(&number, latest.data(), sizeof number);
        whole = whole && latest.size() == sizeof number + static_cast<std::size_t>(number % 200);
        for (std::size_t i = sizeof number; i < latest.size(); ++i)
            whole = whole && latest.data()[i] == static_cast<std::uint8_t>(number);
        later = later && number > last;
        last = number;
    }
    writer.join();
    EXPECT_TRUE(whole);
    EXPECT_TRUE(later);
    EXPECT_GT(taken, 0);
    EXPECT_EQ(last, kBlocks) << "the last block is taken";
}
