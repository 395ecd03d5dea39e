#include "QuenloGui.h"

#include "ControlFactory.h"
#include "DspInterface.h"
#include "FlagListener.h"
#include "GuiDelayLine.h"
#include "GuiMisc.h"
#include "GuiParam.h"
#include "GuiTapUnit.h"
#include "HostDspInterface.h"
#include "HostGuiInterface.h"
#include "ListenerBase.h"
#include "Messages.h"
#include "NormalizedParamInterface.h"
#include "NumValListener.h"
#include "NumericParamMgr.h"
#include "ParamIndexes.h"
#include "PlatformWindowInterface.h"
#include "PushButton.h"
#include "ScaledSkin.h"
#include "SkinLayout.h"
#include "SkinPlacement.h"
#include "Sys.h"
#include "WebSiteListener.h"
#include "WindowInterface.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <stdexcept>

namespace mppi {

namespace {

constexpr const char* kWebsiteCell = "website";

// Whether a capability's answer means yes.
bool answered(double value)
{
    return std::fabs(value) >= 1e-9;
}

// The menu's lines, one per scale, as the settings file keeps them.
constexpr const char* kScaleLines[] = {"100 %", "150 %", "200 %"};
constexpr const char* kScaleTexts[] = {"1", "1.5", "2"};
// Pixels around the menu's text and its frame's width, at 1x.
constexpr int kMenuPadding = 3;
constexpr int kMenuFrame = 1;

// The priority fresh controls show their parameters with: above every other.
constexpr int kFreshControls = std::numeric_limits<int>::max();

int scaleIndex(float scale)
{
    int index = 0;
    while (index + 1 < static_cast<int>(std::size(skin_layout::kScales)) && skin_layout::kScales[index] != scale)
        ++index;
    return index;
}

} // namespace

// The state that lives in the controls and the preset manager rather than in parameters.
struct QuenloGui::Kept {
    // The presets of the editor's own bank; none is kept where they live in a store.
    BankManager presets;
    double recallTime = 0.0;
    double storeMode = 0.0;
    // The parameter in the detail panel; -1 for none.
    int selected = -1;
};

QuenloGui::QuenloGui(const skin_layout::SkinLayout& skin)
    : base_(skin), scaled_(std::make_unique<skin_layout::ScaledSkin>(skin, 1.0f)), skin_(&scaled_->layout()),
      urlOpener_(sys::open_url)
{
    makeSections();
    // Set once: a choice rebuilds the editor from inside the menu's call.
    menu_.set_opens_at([this](pengui::Point point) { return !controlAt(point); });
    menu_.set_chosen([this](int line) { chooseScale(skin_layout::kScales[line]); });
}

void QuenloGui::makeSections()
{
    misc_ = std::make_unique<GuiMisc>(*this);
    misc_->presets().setStore(presetStore_);
    detail_ = std::make_unique<GuiParam>(*this);
    for (auto& tap : taps_)
        tap = std::make_unique<GuiTapUnit>(*this);
    for (auto& line : delayLines_)
        line = std::make_unique<GuiDelayLine>(*this);
}

QuenloGui::~QuenloGui()
{
    // The glides' timers belong to the window, which goes first.
    misc_->presets().stop();
    if (window_)
        window_->close();
}

void QuenloGui::setDsp(DspInterface* dsp)
{
    dsp_ = dsp;
    paramCount_ = dsp ? dsp->paramCount() : 0;
    metaControls_ = std::make_unique<MetaControl[]>(static_cast<std::size_t>(paramCount_));
}

void QuenloGui::setWindow(pengui::WindowInterface* window)
{
    window_.reset(window);
}

MetaControl* QuenloGui::metaControl(int index)
{
    return index >= 0 && index < paramCount_ ? &metaControls_[static_cast<std::size_t>(index)] : nullptr;
}

void QuenloGui::init1()
{
    if (hostGui_)
        hostGui_->init();
    // The chosen scale, or 1x when the module lacks its pictures.
    const float chosen = choice_.scale();
    if (chosen != 1.0f) {
        auto next = std::make_unique<skin_layout::ScaledSkin>(base_, chosen);
        if (resources_.load(next->layout()) == 0) {
            scaled_ = std::move(next);
            skin_ = &scaled_->layout();
            return;
        }
        sys::debug_output(("Zorvane: no resource " + resources_.missing() + " at the chosen scale\n").c_str());
        resources_ = SkinResources();
    }
    if (resources_.load(*skin_) != 0) {
        sys::debug_output(("Zorvane: no resource " + resources_.missing() + "\n").c_str());
        throw std::runtime_error("Load resources");
    }
}

void QuenloGui::init2()
{
    if (built_)
        return;
    try {
        if (!dsp_ || !window_ || paramCount_ <= kTempoIndex)
            throw std::runtime_error("no algorithm or window");
        HostDspInterface* hostDsp = dsp_->hostDsp();
        hostCanTempo_ = hostDsp && answered(hostDsp->query("can_tempo"));
        flagListener_ = std::make_unique<FlagListener>(*this);
        flagListener_->init(kFlagsIndex, dsp_->param(kFlagsIndex));
        flagControl_.set_listener(flagListener_.get());
        metaControls_[kFlagsIndex].bind(flagListener_.get());
        buildSections();
        lines_ = (flagListener_->bits() >> FlagListener::kTwoLinesBit) & 1 ? 2 : 1;
        buildTrees();
        buildMenu();
        window_->set_window_size({skin_->size.w, skin_->size.h});
        window_->set_size({skin_->size.w, skin_->size.h});
        // The trees already hold the lines; a host that refuses the size leaves them so.
        const int lines = lines_;
        lines_ = 0;
        if (relayout(lines) != 0)
            lines_ = lines;
        refreshAll();
        refreshPanels();
        built_ = true;
    } catch (const std::exception& error) {
        sys::debug_output((std::string("Zorvane: the editor cannot be built: ") + error.what() + "\n").c_str());
        throw std::runtime_error("Build GUI");
    }
}

void QuenloGui::buildSections()
{
    const ControlFactory factory(*skin_, resources_);
    websiteCell_ = std::make_unique<pengui::CtrlGroupItem>();
    for (const skin_layout::ControlRow& row : skin_->controls) {
        if (row.cell != kWebsiteCell)
            continue;
        websiteButton_.reset(static_cast<pengui::PushButton*>(factory.make(row).release()));
        websiteListener_ = std::make_unique<WebSiteListener>(*this);
        websiteButton_->set_listener(websiteListener_.get());
        websiteCell_->add_control(websiteButton_.get());
        adopt(*websiteButton_);
    }
    misc_->setNumber(0, -1);
    detail_->setNumber(0, -1);
    for (int tap = 0; tap < static_cast<int>(taps_.size()); ++tap)
        taps_[static_cast<std::size_t>(tap)]->setNumber(tap, kFirstTapParam + kTapParams * tap);
    for (int line = 0; line < static_cast<int>(delayLines_.size()); ++line)
        delayLines_[static_cast<std::size_t>(line)]->setNumber(line, kFirstLineParam + kLineParams * line);
    misc_->build();
    detail_->build();
    for (auto& tap : taps_)
        tap->build();
    for (auto& line : delayLines_)
        line->build();
}

void QuenloGui::buildTrees()
{
    std::map<std::string, pengui::SPTreeNodeInterface*, std::less<>> nodes;
    nodes[kWebsiteCell] = websiteCell_.get();
    for (const char* cell : GuiMisc::kCells)
        nodes[cell] = &misc_->cell(cell);
    for (std::size_t tap = 0; tap < taps_.size(); ++tap)
        nodes[skin_layout::numbered_cell("tap", static_cast<int>(tap) + 1)] = &taps_[tap]->cell();
    for (std::size_t line = 0; line < delayLines_.size(); ++line)
        nodes[skin_layout::numbered_cell("delay line", static_cast<int>(line) + 1)] = &delayLines_[line]->cell();
    nodes[GuiParam::kTextCell] = &detail_->emptyText();
    nodes[GuiParam::kLfoCell] = &detail_->emptyLfo();

    for (const skin_layout::Split& split : skin_->splits) {
        splits_.push_back(std::make_unique<pengui::CtrlGroupSplit>());
        pengui::CtrlGroupSplit& node = *splits_.back();
        node.orientation = split.orientation;
        const bool root = &split == &skin_->splits.back();
        for (std::size_t strip = 0; strip < split.strips.size(); ++strip) {
            const skin_layout::Strip& place = split.strips[strip];
            const auto child = nodes.find(place.child);
            if (child == nodes.end())
                throw std::runtime_error("the layout names an unknown cell");
            if (dynamic_cast<pengui::CtrlGroupItem*>(child->second))
                cellPlaces_[std::string(place.child)] = {&node, static_cast<int>(strip), place.extent};
            // Line 2's strip, the root's last, is there only with two lines.
            if (!(root && strip + 1 == split.strips.size() && lines_ < kTwoLines))
                node.add_child(child->second, place.extent);
        }
        nodes[std::string(split.name)] = &node;
    }
    cellRects_.clear();
    for (const auto& [name, rect] : skin_layout::cell_rects(*skin_))
        cellRects_[name] = rect;

    for (const skin_layout::Strip& strip : skin_->backgrounds) {
        backgrounds_.push_back(std::make_unique<pengui::BackgroundItem>());
        if (const pengui::Picture* picture = resources_.picture(strip.child))
            backgrounds_.back()->set_picture(*picture);
    }
    lowerWithOneLine_ = std::make_unique<pengui::BackgroundItem>();
    if (const pengui::Picture* picture = resources_.picture(skin_->lowerWithOneLine))
        lowerWithOneLine_->set_picture(*picture);
    backgroundRoot_ = std::make_unique<pengui::BackgroundSplit>();
    backgroundRoot_->orientation = pengui::SPTreeSplit::kStacked;
    for (std::size_t strip = 0; strip < backgrounds_.size(); ++strip) {
        const bool lower = strip + 1 == backgrounds_.size() && lines_ < kTwoLines;
        backgroundRoot_->add_child(lower ? lowerWithOneLine_.get() : backgrounds_[strip].get(),
                                   skin_->backgrounds[strip].extent);
    }
    menu_.set_tree(&controlRoot());
    window_->set_background_root(backgroundRoot_.get());
    window_->set_control_root(&menu_);
    backgroundRoot_->set_origin({0, 0});
    menu_.set_origin({0, 0});
}

void QuenloGui::buildMenu()
{
    const skin_layout::MenuStyle& look = skin_->menu;
    pengui::PopupMenu::Style style;
    style.font = resources_.font(look.font);
    style.face = look.face;
    style.text = look.text;
    style.highlight = look.highlight;
    style.frame = look.frame;
    style.padding = skin_layout::scaled(kMenuPadding, skin_->scale);
    style.frameWidth = skin_layout::scaled(kMenuFrame, skin_->scale);
    menu_.set_style(style);
    menu_.set_lines({std::begin(kScaleLines), std::end(kScaleLines)}, scaleIndex(skin_->scale));
    menu_.set_bounds({0, 0, skin_->size.w, skin_->size.h});
}

bool QuenloGui::controlAt(pengui::Point point) const
{
    for (const pengui::ControlInterface* control : controls_)
        if (control->shown() && control->contains(point))
            return true;
    return false;
}

int QuenloGui::relayout(int lines)
{
    if (lines == lines_)
        return 0;
    if (hostGui_ && hostGui_->resizeEditor(skin_->size.w, skin_->size.h) != 0)
        return -1;
    lines_ = lines;
    const int lower = static_cast<int>(backgrounds_.size()) - 1;
    const skin_layout::Strip& lowerStrip = skin_->backgrounds.back();
    const skin_layout::Strip& lineStrip = skin_->splits.back().strips.back();
    pengui::CtrlGroupSplit& root = controlRoot();
    const int lineIndex = static_cast<int>(skin_->splits.back().strips.size()) - 1;
    if (lines == kTwoLines) {
        backgroundRoot_->replace_child(backgrounds_.back().get(), lowerStrip.extent, lower);
        if (root.count() <= lineIndex)
            root.add_child(&delayLines_.back()->cell(), lineStrip.extent);
    } else {
        backgroundRoot_->replace_child(lowerWithOneLine_.get(), lowerStrip.extent, lower);
        if (root.count() > lineIndex)
            root.remove_child(lineIndex);
    }
    invalidate(skin_->relayoutRepaint);
    return 0;
}

void QuenloGui::placeInCell(std::string_view cell, pengui::SPTreeNodeInterface& node)
{
    const auto place = cellPlaces_.find(cell);
    if (place == cellPlaces_.end())
        return;
    place->second.split->replace_child(&node, place->second.extent, place->second.index);
    invalidate(cellRect(cell));
}

pengui::ControlInterface& QuenloGui::websiteButton()
{
    return *websiteButton_;
}

pengui::Rect QuenloGui::cellRect(std::string_view cell) const
{
    const auto found = cellRects_.find(cell);
    return found == cellRects_.end() ? pengui::Rect{} : found->second;
}

void QuenloGui::shutdown()
{
    misc_->presets().stop();
}

GuiInterface::Size QuenloGui::size()
{
    if (window_ && !window_->is_open()) {
        askSystem(nullptr);
        takeScale(false);
    }
    sizeTold_ = true;
    return {skin_->size.w, skin_->size.h};
}

GuiInterface::Size QuenloGui::resizableSize()
{
    return size();
}

int QuenloGui::open(void* parentWindow)
{
    if (!window_ || !built_)
        return -1;
    if (!window_->is_open()) {
        askSystem(parentWindow);
        takeScale(sizeTold_);
    }
    window_->set_resizable(hostGui_ && answered(hostGui_->query("can_resize_window")));
    refreshAll();
    const int result = window_->show(parentWindow);
    if (result == 0)
        startApplyTimer();
    return result;
}

void QuenloGui::close()
{
    if (!window_)
        return;
    // Hiding ends every control's gesture; a glide's timer goes with the window, so it ends
    // here at its preset, and the host hears no gesture left open.
    misc_->presets().finish();
    showTrees(false);
    window_->close();
    applyTimer_ = -1;
    if (hostGui_)
        hostGui_->endAllEdits();
}

void QuenloGui::setPresetStore(PresetStoreInterface* store)
{
    presetStore_ = store;
    // A built preset cell keeps its bank until the next rebuild.
    if (!built_)
        misc_->presets().setStore(store);
}

void QuenloGui::showTrees(bool shown)
{
    pengui::ShowObject show(shown);
    menu_.handle_message(show);
    if (backgroundRoot_)
        backgroundRoot_->handle_message(show);
}

float QuenloGui::scale() const
{
    return scaled_->scale();
}

void QuenloGui::setSettingsFolder(const std::filesystem::path& folder)
{
    settings_.emplace(folder, SettingsFile::kUserFile);
    const std::optional<std::string> text = settings_->read(kScaleSetting);
    double factor = 0.0;
    if (text && std::from_chars(text->data(), text->data() + text->size(), factor).ec == std::errc())
        choice_.setMusician(factor);
}

void QuenloGui::chooseScale(double factor)
{
    const std::optional<float> scale = skin_layout::ScaleChoice::nearest(factor);
    if (!scale)
        return;
    choice_.setMusician(*scale);
    if (settings_ && !settings_->write(kScaleSetting, kScaleTexts[scaleIndex(*scale)]))
        sys::debug_output("Zorvane: the choice of scale cannot be kept in the settings file\n");
    if (built_ && window_ && window_->is_open())
        takeScale(true);
}

void QuenloGui::setHostScale(double factor)
{
    choice_.setHost(factor);
    if (built_ && window_ && window_->is_open())
        takeScale(true);
}

void QuenloGui::askSystem(void* parent)
{
    if (!window_)
        return;
    choice_.setSystem(window_->platform().system_scale(parent));
}

void QuenloGui::takeScale(bool askHost)
{
    const float wanted = choice_.scale();
    if (!built_ || !window_ || wanted == scale())
        return;
    auto next = std::make_unique<skin_layout::ScaledSkin>(base_, wanted);
    SkinResources resources;
    if (resources.load(next->layout()) != 0) {
        sys::debug_output(("Zorvane: no resource " + resources.missing() + " at the chosen scale\n").c_str());
        return;
    }
    if (askHost && (!hostGui_ || hostGui_->resizeEditor(next->layout().size.w, next->layout().size.h) != 0))
        return;
    rebuild(std::move(next), std::move(resources));
}

QuenloGui::Kept QuenloGui::keep()
{
    Kept kept;
    if (!presetStore_)
        kept.presets = misc_->presets().bank();
    if (const pengui::ControlInterface* fader = misc_->control("PresetTimeFaderListener"))
        kept.recallTime = fader->value();
    if (const pengui::ControlInterface* storeMode = misc_->control("PresetMemListener"))
        kept.storeMode = storeMode->value();
    if (const NumericParamMgr* panel = detail_->selected())
        kept.selected = panel->index();
    return kept;
}

void QuenloGui::restore(const Kept& kept)
{
    if (!presetStore_)
        misc_->presets().store().storeAll(kept.presets);
    if (pengui::ControlInterface* fader = misc_->control("PresetTimeFaderListener"))
        fader->update_value(kept.recallTime, 0);
    if (pengui::ControlInterface* storeMode = misc_->control("PresetMemListener"))
        storeMode->update_value(kept.storeMode, 0);
    const MetaControl* meta = metaControl(kept.selected);
    if (auto* main = meta ? dynamic_cast<NumValListenerInterface*>(meta->listener()) : nullptr)
        main->begin_edit();
}

void QuenloGui::rebuild(std::unique_ptr<skin_layout::ScaledSkin> next, SkinResources resources)
{
    const Kept kept = keep();
    const bool open = window_->is_open();
    // Every gesture and text field ends as when the window closes.
    misc_->presets().stop();
    showTrees(false);
    if (hostGui_)
        hostGui_->endAllEdits();

    // Nothing may reach the old controls while they go.
    window_->set_control_root(nullptr);
    window_->set_background_root(nullptr);
    menu_.set_tree(nullptr);
    for (int index = 0; index < paramCount_; ++index)
        metaControls_[static_cast<std::size_t>(index)].bind(nullptr);
    flagControl_.set_listener(nullptr);
    controls_.clear();
    cellPlaces_.clear();
    cellRects_.clear();
    websiteButton_.reset();
    websiteListener_.reset();
    makeSections();
    websiteCell_.reset();
    splits_.clear();
    backgrounds_.clear();
    lowerWithOneLine_.reset();
    backgroundRoot_.reset();
    flagListener_.reset();

    resources_ = std::move(resources);
    scaled_ = std::move(next);
    skin_ = &scaled_->layout();
    window_->resize_window({skin_->size.w, skin_->size.h});
    built_ = false;
    lines_ = 0;
    init2();
    // The new controls show their parameters even where a priority still holds them (a drag
    // just ended): nothing else would move them there.
    for (int index = 0; index < paramCount_; ++index) {
        const ListenerBase* listener = metaControls_[static_cast<std::size_t>(index)].listener();
        if (listener && listener->param())
            metaControls_[static_cast<std::size_t>(index)].show(listener->param()->normalized(), kFreshControls);
    }
    restore(kept);
    if (open) {
        showTrees(true);
        invalidate({0, 0, skin_->size.w, skin_->size.h});
    }
}

void QuenloGui::startApplyTimer()
{
    int id = -1;
    pengui::SetTimer request(this, kApplyPeriod, id);
    applyTimer_ = window_->handle_message(request) == 0 ? id : -1;
}

void QuenloGui::idle()
{
    if (window_)
        window_->service();
    applyPendingChanges();
}

int QuenloGui::handle_message(pengui::MessageInterface& message)
{
    auto* notify = dynamic_cast<pengui::Notify*>(&message);
    if (!notify || notify->id != applyTimer_)
        return -1;
    applyPendingChanges();
    return 0;
}

bool QuenloGui::paramChanged(int index, float normalized, int priority)
{
    MetaControl* meta = metaControl(index);
    if (!meta)
        return false;
    meta->record(normalized, priority);
    return true;
}

void QuenloGui::hostTempoChanged(float)
{
    const NormalizedParamInterface* tempo = dsp_ ? dsp_->param(kTempoIndex) : nullptr;
    if (MetaControl* meta = metaControl(kTempoIndex); meta && tempo)
        meta->record(tempo->normalized(), 1);
}

void QuenloGui::applyPendingChanges()
{
    if (!built_)
        return;
    for (int index = 0; index < paramCount_; ++index)
        metaControls_[static_cast<std::size_t>(index)].applyRecorded();
}

void QuenloGui::refreshAll()
{
    for (int index = 0; index < paramCount_; ++index)
        metaControls_[static_cast<std::size_t>(index)].refresh();
}

void QuenloGui::refreshPanels()
{
    misc_->refreshPanels();
    for (auto& tap : taps_)
        tap->refreshPanels();
    for (auto& line : delayLines_)
        line->refreshPanels();
}

void QuenloGui::select(NumericParamMgr& panel)
{
    detail_->select(panel);
}

void QuenloGui::deactivateAllBut(const pengui::ControlInterface* keep)
{
    for (pengui::ControlInterface* control : controls_)
        if (control != keep && control->active())
            control->end_gesture();
}

bool QuenloGui::hostCanTempo() const
{
    return hostCanTempo_;
}

int QuenloGui::timeUnitMode()
{
    return flagListener_ && (flagListener_->bits() >> FlagListener::kBeatsBit) & 1 ? 1 : 0;
}

double QuenloGui::tempo()
{
    const NormalizedParamInterface* tempo = dsp_ ? dsp_->param(kTempoIndex) : nullptr;
    return tempo ? tempo->real() : 0.0;
}

void QuenloGui::invalidate(const pengui::Rect& rect)
{
    if (!window_)
        return;
    pengui::Invalidate message(rect);
    window_->handle_message(message);
}

} // namespace mppi
