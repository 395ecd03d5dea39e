#pragma once

#include "CtrlGroupItem.h"

#include <memory>
#include <vector>

namespace pengui {
class ControlInterface;
class Knob;
class Switch;
class TextBox;
} // namespace pengui

namespace mppi {

class EditorListener;
class LfoDepthKnListener;
class LfoPerKnListener;
class NumValListenerInterface;
class PanelTextListener;
class QuenloGui;

// The detail panel of one parameter: a text group (name, value and unit) and, for a parameter
// with an LFO, an LFO group (period and depth knobs with their text boxes, waveform switch),
// bound to the LFO's three parameters. Editor thread only.
class NumericParamMgr {
public:
    NumericParamMgr(QuenloGui& gui, int index);
    ~NumericParamMgr();
    NumericParamMgr(const NumericParamMgr&) = delete;
    NumericParamMgr& operator=(const NumericParamMgr&) = delete;

    // Builds both groups from the skin's "detail text" and "detail LFO" rows; `main` listens to
    // the parameter's own control.
    void build(NumValListenerInterface& main);

    int index() const { return index_; }
    bool hasLfo() const { return periodIndex_ >= 0; }
    int periodIndex() const { return periodIndex_; }
    int depthIndex() const { return depthIndex_; }
    int waveformIndex() const { return waveformIndex_; }

    pengui::CtrlGroupItem& textGroup() { return textGroup_; }
    pengui::CtrlGroupItem& lfoGroup() { return lfoGroup_; }
    pengui::TextBox& nameBox() { return *nameBox_; }
    pengui::TextBox& valueBox() { return *valueBox_; }
    pengui::TextBox& unitBox() { return *unitBox_; }
    // Null without an LFO.
    pengui::TextBox* periodBox() { return periodBox_; }
    pengui::TextBox* depthBox() { return depthBox_; }
    pengui::Knob* periodKnob() { return periodKnob_; }
    pengui::Knob* depthKnob() { return depthKnob_; }
    pengui::Switch* waveformSwitch() { return waveform_; }
    NumValListenerInterface& main() { return *main_; }

    // The name and unit texts of the parameter.
    void showNameAndUnit();
    // The panel refresh: the period knob's snapping follows the time unit and tempo, and the
    // unit text follows the time unit.
    void refreshFromAlgorithm(int mode, double tempo);

private:
    pengui::ControlInterface& keep(std::unique_ptr<pengui::ControlInterface> control, pengui::CtrlGroupItem& group);
    void buildLfo();

    QuenloGui& gui_;
    int index_;
    int periodIndex_ = -1;
    int depthIndex_ = -1;
    int waveformIndex_ = -1;
    NumValListenerInterface* main_ = nullptr;
    pengui::CtrlGroupItem textGroup_;
    pengui::CtrlGroupItem lfoGroup_;
    std::vector<std::unique_ptr<pengui::ControlInterface>> controls_;
    pengui::TextBox* nameBox_ = nullptr;
    pengui::TextBox* valueBox_ = nullptr;
    pengui::TextBox* unitBox_ = nullptr;
    pengui::TextBox* periodBox_ = nullptr;
    pengui::TextBox* depthBox_ = nullptr;
    pengui::Knob* periodKnob_ = nullptr;
    pengui::Knob* depthKnob_ = nullptr;
    pengui::Switch* waveform_ = nullptr;
    std::unique_ptr<PanelTextListener> valueListener_;
    std::unique_ptr<PanelTextListener> periodTextListener_;
    std::unique_ptr<PanelTextListener> depthTextListener_;
    std::unique_ptr<LfoPerKnListener> periodListener_;
    std::unique_ptr<LfoDepthKnListener> depthListener_;
    std::unique_ptr<EditorListener> waveformListener_;
};

} // namespace mppi
