#pragma once

#include "LatestBlock.h"
#include "PresetBank.h"
#include "PresetMessages.h"

#include <lv2/atom/atom.h>
#include <lv2/core/lv2.h>
#include <lv2/log/logger.h>
#include <lv2/worker/worker.h>

#include <mutex>

namespace lv2port {

// The plug-in's side of the presets' messages. A UI's patch:Get is answered from the audio
// thread with the presets as last published. A patch:Set goes to the host's worker, which
// decodes it into the presets (with an error in the host's log when it is refused) and
// publishes them again. Whatever is published goes out to every UI at the next run, so a UI
// always ends up showing the plug-in's presets, a refused Set included. Without the host's
// worker a Set is answered with the presets unchanged. The audio thread never allocates or
// locks: the bank bodies travel in LatestBlocks made here, and the decoding, which allocates,
// happens on the worker's thread, under the lock that the saved state's calls also take.
class PresetExchange {
public:
    // `presets` and `lock`, which guards them, outlive it. Reads the URID map, the worker and
    // the log from the features; none is required.
    PresetExchange(mppi::PresetBank& presets, std::mutex& lock, const LV2_Feature* const* features);

    void connectInput(const void* data) { input_ = static_cast<const LV2_Atom_Sequence*>(data); }
    void connectOutput(void* data) { output_ = static_cast<LV2_Atom_Sequence*>(data); }

    // Audio thread, at each run: takes the UI's messages, then writes the output port's
    // sequence, with the presets when they are due. No allocation, lock or system call.
    void run();
    // The host's worker thread: decodes the latest Set taken. Takes the lock; allocates.
    void work();
    // Holding the lock, on any thread but the audio thread: the presets as they are now go out
    // to the UIs (after a restore, and once at the start). Allocates.
    void publish();

private:
    void take(const PresetMessages::Message& set);
    void writeOutput();

    mppi::PresetBank& presets_;
    std::mutex& lock_;
    PresetMessages messages_;
    const LV2_Worker_Schedule* schedule_ = nullptr;
    LV2_Log_Logger log_{};
    // The latest Set's body, from the audio thread to the worker.
    LatestBlock inbox_;
    // The presets as published, from the worker (or whoever holds the lock) to the audio thread.
    LatestBlock outbox_;
    const LV2_Atom_Sequence* input_ = nullptr;
    LV2_Atom_Sequence* output_ = nullptr;
    // Audio thread: the presets go out at the next chance.
    bool answerDue_ = false;
};

} // namespace lv2port
