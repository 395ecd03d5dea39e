#include "PresetManager.h"

#include "ControlInterface.h"

namespace mppi {

PresetManager::PresetManager()
{
    setDialogs(&systemDialogs_);
}

PresetManager::~PresetManager()
{
    stop();
}

void PresetManager::setDialogs(BankDialogsInterface* dialogs)
{
    dialogs_ = dialogs;
    load_.setStore(store_, dialogs);
    save_.setStore(store_, dialogs);
}

void PresetManager::setStore(PresetStoreInterface* store)
{
    store_ = store ? store : &presets_;
    setDialogs(dialogs_);
}

int PresetManager::init(HostGuiInterface* applier, DspInterface* source, pengui::MessageHandlerInterface* timers,
                        ProgStLdInterface* programs, const Controls& controls, const char* seedBank)
{
    if (ready_)
        return 0;
    programs_ = programs ? programs : &defaultPrograms_;
    programs_->connect(store_, applier, source);
    ProgramSlot current;
    programs_->capture(current);
    for (int index = 0; index < kPresets; ++index) {
        numbers_[static_cast<std::size_t>(index)].setIndex(index);
        numbers_[static_cast<std::size_t>(index)].setTimerHost(timers);
    }

    auto bind = [this](pengui::ControlInterface* control, GenericPresetListener& listener) {
        listener.setRefs(&refs_);
        if (control)
            control->set_listener(&listener);
    };
    bind(controls.storeMode, storeMode_);
    bind(controls.recallTimeText, timeDisplay_);
    bind(controls.recallTime, timeFader_);
    bind(controls.load, load_);
    bind(controls.save, save_);
    for (int index = 0; index < kPresets; ++index)
        bind(controls.buttons[static_cast<std::size_t>(index)], numbers_[static_cast<std::size_t>(index)]);

    refs_.programs = programs_;
    refs_.load = &load_;
    refs_.save = &save_;
    refs_.storeMode = &storeMode_;
    for (int index = 0; index < kPresets; ++index)
        refs_.numbers[static_cast<std::size_t>(index)] = &numbers_[static_cast<std::size_t>(index)];
    refs_.timeDisplay = &timeDisplay_;
    refs_.timeFader = &timeFader_;

    timeFader_.store_value(controls.recallTime ? controls.recallTime->value() : 0.0, 0);
    ready_ = true;
    return store_ == &presets_ ? presets_.seed(current, seedBank) : 0;
}

void PresetManager::stop()
{
    if (!ready_)
        return;
    for (PresetNumberListener& number : numbers_)
        number.stop();
}

void PresetManager::finish()
{
    if (!ready_)
        return;
    for (PresetNumberListener& number : numbers_)
        number.finish();
}

} // namespace mppi
