#include "PresetListeners.h"

#include "BankDialogsInterface.h"
#include "BankFiles.h"
#include "Clock.h"
#include "ControlInterface.h"
#include "Messages.h"
#include "PresetListenerRefList.h"
#include "PresetStoreInterface.h"
#include "ProgStLdInterface.h"
#include "TextBox.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace mppi {

namespace {

// Rounds to the nearest integer, ties to even, within the range a time can take.
int nearest(double value)
{
    return value > -1e9 && value < 1e9 ? static_cast<int>(std::nearbyint(value)) : 0;
}

std::string with_code(const std::string& text, int code)
{
    char line[32];
    std::snprintf(line, sizeof line, "\n\nCode %d", code);
    return text + line;
}

bool file_exists(const std::string& path)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return false;
    std::fclose(file);
    return true;
}

} // namespace

bool GenericPresetListener::isOn() const
{
    return control() && control()->value() >= 0.5;
}

void GenericPresetListener::setOn(bool on)
{
    if (control())
        control()->set_value(on ? 1.0 : 0.0, pengui::kSourceDrag);
}

void PresetNumberListener::action(int event, int)
{
    if (event != 0 || !refs_ || !refs_->programs)
        return;
    if (refs_->storeMode && refs_->storeMode->isOn()) {
        ProgramSlot current;
        refs_->programs->capture(current);
        refs_->programs->store(index_, current);
        refs_->storeMode->setOn(false);
        return;
    }
    recall();
}

void PresetNumberListener::recall()
{
    ProgramSlot from;
    ProgramSlot to;
    refs_->programs->capture(from);
    refs_->programs->fetch(index_, to);
    // The new glide's gestures begin before the interrupted glide's end, so that a parameter
    // both move stays in one gesture.
    std::vector<int> moving = refs_->programs->movedBy(from, to);
    refs_->programs->beginEdits(moving);
    for (PresetNumberListener* number : refs_->numbers)
        if (number)
            number->stop();
    from_ = std::move(from);
    to_ = std::move(to);
    moving_ = std::move(moving);
    startTime_ = pengui::now_seconds();
    int id = -1;
    pengui::SetTimer request(this, kTickPeriod, id);
    timerId_ = timerHost_ && timerHost_->handle_message(request) == 0 ? id : -1;
    if (timerId_ < 0)
        endEdits();
}

int PresetNumberListener::handle_message(pengui::MessageInterface& message)
{
    auto* notify = dynamic_cast<pengui::Notify*>(&message);
    if (!notify || timerId_ < 0 || notify->id != timerId_)
        return -1;
    tick(notify->time);
    return 0;
}

void PresetNumberListener::tick(double time)
{
    const double recallTime = refs_ && refs_->timeFader ? refs_->timeFader->recallTime() : 0.0;
    const double elapsed = time - startTime_;
    // A tick due when the time is up may arrive a rounding error early: it still ends the glide
    // on the preset itself.
    const bool done = elapsed >= recallTime - kTimeTolerance;
    const double x = done ? 1.0 : std::clamp(elapsed / recallTime, 0.0, 1.0);
    if (refs_ && refs_->programs)
        refs_->programs->applyBlend(from_, to_, x);
    if (done)
        stop();
}

void PresetNumberListener::stop()
{
    if (timerId_ >= 0 && timerHost_) {
        pengui::ClearTimer clear(timerId_);
        timerHost_->handle_message(clear);
    }
    timerId_ = -1;
    endEdits();
}

void PresetNumberListener::finish()
{
    if (gliding() && refs_ && refs_->programs)
        refs_->programs->applyBlend(from_, to_, 1.0);
    stop();
}

void PresetNumberListener::endEdits()
{
    if (!moving_.empty() && refs_ && refs_->programs)
        refs_->programs->endEdits(moving_);
    moving_.clear();
}

double PresetTimeFaderListener::store_value(double value, int)
{
    recallTime_ = std::pow(kTimeBase, std::clamp(value, 0.0, 1.0)) - 1.0;
    if (refs_ && refs_->timeDisplay)
        if (auto* box = dynamic_cast<pengui::TextBox*>(refs_->timeDisplay->control()))
            box->set_text(timeText());
    return value;
}

std::string PresetTimeFaderListener::timeText() const
{
    char text[16];
    std::snprintf(text, sizeof text, "%d", nearest(2.0 * recallTime_ + 0.5) >> 1);
    return text;
}

void PresetTimeDisplayListener::action(int event, int)
{
    auto* box = dynamic_cast<pengui::TextBox*>(control());
    pengui::ControlInterface* fader = refs_ && refs_->timeFader ? refs_->timeFader->control() : nullptr;
    if (event != 1 || !box || !fader)
        return;
    double seconds = 0.0;
    if (std::sscanf(box->text().c_str(), "%lf", &seconds) != 1 || std::isnan(seconds))
        seconds = 0.0;
    seconds = std::clamp(seconds, 0.0, PresetTimeFaderListener::kLongestTime);
    fader->set_value(std::log(seconds + 1.0) / std::log(PresetTimeFaderListener::kTimeBase), pengui::kSourceDrag);
}

bool PresetBankListener::choosePath(int event, bool save, const char* title, std::string& path) const
{
    return event == 0 && presets_ && dialogs_ && dialogs_->chooseFile(save, title, path) == 0;
}

void PresetLoadBankListener::action(int event, int)
{
    std::string path;
    if (!choosePath(event, false, "Load preset bank", path))
        return;
    BankManager loaded = presets_->presets();
    const int code = load_bank_file(path, loaded, true);
    if (code == 0)
        presets_->storeAll(loaded);
    else
        dialogs_->showMessage("Error", with_code("Can't load bank file\n" + path, code), BankDialogsInterface::kOk, 0);
}

void PresetSaveBankListener::action(int event, int)
{
    std::string path;
    if (!choosePath(event, true, "Save preset bank", path))
        return;
    if (file_exists(path) &&
        dialogs_->showMessage("Conflict", path + "\nalready exists. Overwrite ?", BankDialogsInterface::kOkCancel, 1) != 0)
        return;
    const int code = save_bank_file(path, presets_->presets());
    if (code != 0)
        dialogs_->showMessage("Error", with_code("Can't save bank file\n" + path, code), BankDialogsInterface::kOk, 0);
}

} // namespace mppi
