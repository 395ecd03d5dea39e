#pragma once

#include "BackgroundItem.h"
#include "WindowInterface.h"
#include "ControlInterface.h"
#include "CtrlGroupItem.h"
#include "GuiInterface.h"
#include "HostGuiInterface.h"
#include "MetaControl.h"
#include "MessageHandlerInterface.h"
#include "PopupMenu.h"
#include "ScaleChoice.h"
#include "SettingsFile.h"
#include "SkinResources.h"
#include "SPTreeSplit.h"

#include <array>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace skin_layout {
class ScaledSkin;
struct SkinLayout;
}

namespace pengui {
class PushButton;
}

namespace mppi {

class FlagListener;
class GuiDelayLine;
class GuiMisc;
class GuiParam;
class GuiTapUnit;
class NumericParamMgr;
class PresetStoreInterface;
class WebSiteListener;

// The editor: a fixed-size window of bitmap pictures in one of two skins, built from the skin's
// layout tables. It owns the four tap units, the two delay lines, the global controls with the
// presets, the detail panel, the pictures and fonts, both split trees, the invisible "Flags"
// control and one MetaControl per parameter.
//
// It is drawn at 1x, 1.5x or 2x, the scale chosen from what the musician (through the menu a
// right click on the background opens), the host and the system say (ScaleChoice). At a new
// scale everything drawn is built anew from the table at that scale; the parameters' entries,
// the presets, the recall time, the store mode and the selected parameter stay.
//
// Everything here runs on the editor's thread, except paramChanged and hostTempoChanged, which
// hosts call from any thread: they only record the change, and the editor shows it from a
// timer or the host's idle call.
class QuenloGui : public GuiInterface, public pengui::MessageHandlerInterface {
public:
    // `skin` is a table as written, at 1x.
    explicit QuenloGui(const skin_layout::SkinLayout& skin);
    ~QuenloGui() override;

    void init1() override;
    void init2() override;
    void shutdown() override;
    HostGuiInterface* hostGui() override { return hostGui_.get(); }
    void setHostGui(HostGuiInterface* host) override { hostGui_.reset(host); }
    DspInterface* dsp() override { return dsp_; }
    void setDsp(DspInterface* dsp) override;
    void setWindow(pengui::WindowInterface* window) override;
    pengui::WindowInterface* window() override { return window_.get(); }
    Size size() override;
    Size resizableSize() override;
    int open(void* parentWindow) override;
    void close() override;
    bool paramChanged(int index, float normalized, int priority) override;
    void hostTempoChanged(float beatsPerMinute) override;
    void setHostScale(double factor) override;

    // The scale the editor is drawn at now.
    float scale() const;
    // Keeps the musician's choice of scale in a settings file in `folder` (empty: nowhere) and
    // takes the choice kept there, which counts from the next build or size() on.
    void setSettingsFolder(const std::filesystem::path& folder);
    // The musician chose a scale: above every other source for this editor, and kept as the
    // default for new ones (a file that cannot be written only loses the default). An open
    // editor takes it as it takes the host's.
    void chooseScale(double factor);
    // The menu a right click on the background opens, the top of the control tree.
    pengui::PopupMenu& menu() { return menu_; }
    // Whether a control the user could press lies at a window point.
    bool controlAt(pengui::Point point) const;
    // What the musician's choice is kept under in the settings file.
    static constexpr const char* kScaleSetting = "scale";
    // The host's idle: the window's events and timers, then the recorded changes.
    void idle() override;

    // The apply timer's ticks.
    int handle_message(pengui::MessageInterface& message) override;

    // Shows every recorded parameter change on its control.
    void applyPendingChanges();

    // What the sections use.
    const skin_layout::SkinLayout& skin() const { return *skin_; }
    SkinResources& resources() { return resources_; }
    MetaControl* metaControl(int index);
    int metaControlCount() const { return paramCount_; }
    FlagListener& flagListener() { return *flagListener_; }
    // Shows one or two delay lines; answers -1 when the host refused the size.
    int relayout(int lines);
    int lines() const { return lines_; }
    // Runs the panel refresh of every section (times follow the tempo and the time unit).
    void refreshPanels();
    // Shows a parameter's panel in the detail cells.
    void select(NumericParamMgr& panel);
    // Ends the active state of every control but `keep`.
    void deactivateAllBut(const pengui::ControlInterface* keep);
    // Registers a control the editor's sections built.
    void adopt(pengui::ControlInterface& control) { controls_.push_back(&control); }
    // Whether the host reports its tempo ("can_tempo"): then it drives the tempo.
    bool hostCanTempo() const;
    // The time unit of the displays (0 milliseconds, 1 beats) and the tempo.
    int timeUnitMode();
    double tempo();
    // Sends a repaint of `rect` (window pixels) to the window.
    void invalidate(const pengui::Rect& rect);
    // Opens web addresses; the system's browser unless replaced (tests replace it).
    void setUrlOpener(std::function<int(const std::string&)> opener) { urlOpener_ = std::move(opener); }
    int openUrl(const std::string& address) { return urlOpener_(address); }

    GuiMisc& misc() { return *misc_; }
    // Where the eight presets live (not owned; null: the editor's own bank, seeded when it is
    // built), from the next build on: init1, or a rebuild at a new scale, and every later one.
    void setPresetStore(PresetStoreInterface* store);
    pengui::ControlInterface& websiteButton();
    GuiParam& detail() { return *detail_; }
    GuiTapUnit& tapUnit(int index) { return *taps_[static_cast<std::size_t>(index)]; }
    GuiDelayLine& delayLine(int index) { return *delayLines_[static_cast<std::size_t>(index)]; }
    pengui::CtrlGroupSplit& controlRoot() { return *splits_.back(); }
    pengui::BackgroundSplit& backgroundRoot() { return *backgroundRoot_; }
    // Puts `node` into a cell of the control tree in place of what it held, and repaints it.
    void placeInCell(std::string_view cell, pengui::SPTreeNodeInterface& node);
    // A cell's rectangle in the window.
    pengui::Rect cellRect(std::string_view cell) const;
    bool built() const { return built_; }

    // How often recorded changes are shown while the window is open.
    static constexpr float kApplyPeriod = 1.0f / 30.0f;
    // The size the relayout asks the host services for.
    static constexpr int kTwoLines = 2;

private:
    // What a rebuild at another scale carries over that no parameter holds.
    struct Kept;

    void makeSections();
    void buildSections();
    void buildTrees();
    void buildMenu();
    void refreshAll();
    void startApplyTimer();
    // Sends a show or hide to both trees: hiding ends every control's gesture and text field.
    void showTrees(bool shown);
    // The system's word on the scale for the host's window `parent`.
    void askSystem(void* parent);
    // Takes the latest scale when it is new, asking the host for the new size first with
    // `askHost`; stays at the old scale when the host refuses or its pictures cannot be loaded.
    void takeScale(bool askHost);
    // Rebuilds everything drawn at the layout `next` with its resources, keeping the state.
    void rebuild(std::unique_ptr<skin_layout::ScaledSkin> next, SkinResources resources);
    Kept keep();
    void restore(const Kept& kept);
    const skin_layout::SkinLayout& base_;
    std::unique_ptr<skin_layout::ScaledSkin> scaled_;
    const skin_layout::SkinLayout* skin_ = nullptr;
    std::array<std::unique_ptr<GuiTapUnit>, 4> taps_;
    std::array<std::unique_ptr<GuiDelayLine>, 2> delayLines_;
    std::unique_ptr<GuiMisc> misc_;
    std::unique_ptr<GuiParam> detail_;
    SkinResources resources_;
    std::vector<std::unique_ptr<pengui::BackgroundItem>> backgrounds_;
    std::unique_ptr<pengui::BackgroundItem> lowerWithOneLine_;
    std::unique_ptr<pengui::BackgroundSplit> backgroundRoot_;
    std::vector<std::unique_ptr<pengui::CtrlGroupSplit>> splits_;
    std::unique_ptr<pengui::CtrlGroupItem> websiteCell_;
    pengui::PopupMenu menu_;
    pengui::ControlInterface flagControl_;
    std::unique_ptr<FlagListener> flagListener_;
    std::unique_ptr<MetaControl[]> metaControls_;
    int paramCount_ = 0;
    std::unique_ptr<pengui::PushButton> websiteButton_;
    std::unique_ptr<WebSiteListener> websiteListener_;
    std::unique_ptr<HostGuiInterface> hostGui_;
    DspInterface* dsp_ = nullptr;
    std::unique_ptr<pengui::WindowInterface> window_;
    bool built_ = false;
    int lines_ = 0;
    int applyTimer_ = -1;
    std::vector<pengui::ControlInterface*> controls_;
    struct CellPlace {
        pengui::CtrlGroupSplit* split;
        int index;
        int extent;
    };
    // Each leaf cell by name: where it sits in its split, and its rectangle.
    std::map<std::string, CellPlace, std::less<>> cellPlaces_;
    std::map<std::string, pengui::Rect, std::less<>> cellRects_;
    bool hostCanTempo_ = false;
    std::function<int(const std::string&)> urlOpener_;
    PresetStoreInterface* presetStore_ = nullptr;
    skin_layout::ScaleChoice choice_;
    std::optional<SettingsFile> settings_;
    // Whether the host has read the editor's size (effEditGetRect): a new size needs its word.
    bool sizeTold_ = false;
};

} // namespace mppi
