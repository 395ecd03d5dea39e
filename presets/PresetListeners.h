#pragma once

#include "DefaultEventListener.h"
#include "MessageHandlerInterface.h"
#include "ProgramSlot.h"

#include <string>
#include <vector>

namespace mppi {

class BankDialogsInterface;
class PresetListenerRefList;
class PresetStoreInterface;

// The base of the preset section's listeners: bound to one control, reaching the others
// through the reference list. Editor thread only.
class GenericPresetListener : public pengui::DefaultEventListener {
public:
    void setRefs(PresetListenerRefList* refs) { refs_ = refs; }
    // Whether the control's value is at least 0.5.
    bool isOn() const;
    // Sets the control to 1.0 or 0.0, as a press would.
    void setOn(bool on);

protected:
    PresetListenerRefList* refs_ = nullptr;
};

// The store-mode flip-flop: read by the preset buttons, nothing of its own.
class PresetMemListener : public GenericPresetListener {};

// A preset button: stores the current sound in store mode, else glides from the current sound
// to its preset on a 0.1 s timer over the recall time. The glide is the user's gesture on every
// parameter it moves, from the press to its last step.
class PresetNumberListener : public GenericPresetListener, public pengui::MessageHandlerInterface {
public:
    ~PresetNumberListener() override { stop(); }

    void setIndex(int index) { index_ = index; }
    int index() const { return index_; }
    // Where its timer requests go (the editor's window).
    void setTimerHost(pengui::MessageHandlerInterface* host) { timerHost_ = host; }

    void action(int event, int argument) override;
    // Timer ticks.
    int handle_message(pengui::MessageInterface& message) override;
    // Ends a running glide and its gestures.
    void stop();
    // Ends a running glide at its preset, then its gestures.
    void finish();
    bool gliding() const { return timerId_ >= 0; }

    static constexpr float kTickPeriod = 0.1f;
    static constexpr double kTimeTolerance = 1e-6;

private:
    void recall();
    void tick(double time);
    void endEdits();

    int index_ = -1;
    int timerId_ = -1;
    double startTime_ = 0.0;
    ProgramSlot from_;
    ProgramSlot to_;
    std::vector<int> moving_;
    pengui::MessageHandlerInterface* timerHost_ = nullptr;
};

// The recall-time fader: its position p shows a time of 100^p - 1 seconds, shown rounded in
// the time box.
class PresetTimeFaderListener : public GenericPresetListener {
public:
    double store_value(double value, int source) override;
    double recallTime() const { return recallTime_; }
    // The time box's text for the current time.
    std::string timeText() const;

    static constexpr double kLongestTime = 99.0;
    static constexpr double kTimeBase = 100.0;

private:
    double recallTime_ = 0.0;
};

// The recall-time box: a typed time (0 to 99 s) moves the fader there.
class PresetTimeDisplayListener : public GenericPresetListener {
public:
    void action(int event, int argument) override;
};

// The base of the bank buttons: where the presets live and the dialogs that ask for a file.
class PresetBankListener : public GenericPresetListener {
public:
    void setStore(PresetStoreInterface* presets, BankDialogsInterface* dialogs)
    {
        presets_ = presets;
        dialogs_ = dialogs;
    }

protected:
    // For a press (event 0): asks for a file with the dialog titled `title`; false when there is
    // nothing to do (another event, no presets, or the user cancelled).
    bool choosePath(int event, bool save, const char* title, std::string& path) const;

    PresetStoreInterface* presets_ = nullptr;
    BankDialogsInterface* dialogs_ = nullptr;
};

// The load button: loads a bank file into the eight presets.
class PresetLoadBankListener : public PresetBankListener {
public:
    void action(int event, int argument) override;
};

// The save button: saves the eight presets as a bank file, asking before overwriting one.
class PresetSaveBankListener : public PresetBankListener {
public:
    void action(int event, int argument) override;
};

} // namespace mppi
