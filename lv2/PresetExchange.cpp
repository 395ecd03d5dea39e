#include "PresetExchange.h"

#include "PresetState.h"

#include <lv2/atom/util.h>
#include <lv2/core/lv2_util.h>
#include <lv2/log/log.h>

#include <vector>

namespace lv2port {

namespace {

// What the worker is asked to do: there is one job, to decode the latest Set.
constexpr std::uint32_t kDecodeJob = 1;

} // namespace

PresetExchange::PresetExchange(mppi::PresetBank& presets, std::mutex& lock, const LV2_Feature* const* features)
    : presets_(presets), lock_(lock),
      messages_(static_cast<const LV2_URID_Map*>(lv2_features_data(features, LV2_URID__map))),
      schedule_(static_cast<const LV2_Worker_Schedule*>(lv2_features_data(features, LV2_WORKER__schedule))),
      inbox_(PresetMessages::kPortSize), outbox_(PresetMessages::kPortSize)
{
    lv2_log_logger_init(&log_, static_cast<LV2_URID_Map*>(lv2_features_data(features, LV2_URID__map)),
                        static_cast<LV2_Log_Log*>(lv2_features_data(features, LV2_LOG__log)));
}

void PresetExchange::run()
{
    if (outbox_.take())
        answerDue_ = true;
    if (input_ && messages_.active()) {
        LV2_ATOM_SEQUENCE_FOREACH(input_, event)
        {
            const PresetMessages::Message message = messages_.read(event->body);
            if (message.kind == PresetMessages::Message::kGet)
                answerDue_ = true;
            else if (message.kind == PresetMessages::Message::kSet)
                take(message);
        }
    }
    writeOutput();
}

void PresetExchange::take(const PresetMessages::Message& set)
{
    // A Set that cannot reach the worker is answered at once: the UI learns the presets stayed.
    if (!schedule_ || !inbox_.write(set.body, set.size) ||
        schedule_->schedule_work(schedule_->handle, sizeof kDecodeJob, &kDecodeJob) != LV2_WORKER_SUCCESS)
        answerDue_ = true;
}

void PresetExchange::writeOutput()
{
    if (!output_ || !messages_.active())
        return;
    LV2_Atom_Forge forge = messages_.forge(reinterpret_cast<std::uint8_t*>(output_), output_->atom.size);
    LV2_Atom_Forge_Frame frame;
    if (!lv2_atom_forge_sequence_head(&forge, &frame, 0))
        return;
    const auto size = static_cast<std::uint32_t>(outbox_.size());
    // A buffer too small for the presets stays empty; they are sent when one has room.
    if (answerDue_ && size > 0 && PresetMessages::fits(forge, size) && lv2_atom_forge_frame_time(&forge, 0))
        answerDue_ = !messages_.writeSet(forge, outbox_.data(), size);
    lv2_atom_forge_pop(&forge, &frame);
}

void PresetExchange::work()
{
    const std::lock_guard<std::mutex> hold(lock_);
    if (!inbox_.take())
        return;
    const int code = presets_.decode(inbox_.data(), inbox_.size());
    if (code != 0)
        lv2_log_error(&log_, "Zorvane: the presets sent by the UI (%zu bytes) %s (code %d); presets unchanged\n",
                      inbox_.size(), PresetState::decodeError(code), code);
    publish();
}

void PresetExchange::publish()
{
    std::vector<std::uint8_t> body;
    if (presets_.encode(body) != 0 || !outbox_.write(body.data(), body.size()))
        lv2_log_error(&log_, "Zorvane: the presets (%zu bytes) cannot be sent to the UI\n", body.size());
}

} // namespace lv2port
