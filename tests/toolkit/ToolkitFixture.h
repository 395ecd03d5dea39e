#pragma once

#include "ApicBuilder.h"

#include "BackgroundItem.h"
#include "ControlInterface.h"
#include "CtrlGroupItem.h"
#include "DefaultEventListener.h"
#include "HeadlessWindow.h"
#include "Messages.h"
#include "PicDataFactory.h"
#include "Picture.h"
#include "WindowInterface.h"

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include <ostream>

namespace pengui {

// Readable points and rectangles in test failures.
inline void PrintTo(const Point& point, std::ostream* out)
{
    *out << "(" << point.x << ", " << point.y << ")";
}

inline void PrintTo(const Rect& rect, std::ostream* out)
{
    *out << "(" << rect.x0 << ", " << rect.y0 << ", " << rect.x1 << ", " << rect.y1 << ")";
}

} // namespace pengui

namespace toolkit_test {

using namespace pengui;

// A listener that records what its control told it, and may refuse changes.
class RecordingListener : public DefaultEventListener {
public:
    void begin_edit() override { events.push_back("begin_edit"); }
    void end_edit() override { events.push_back("end_edit"); }
    bool may_change(int source) override
    {
        sources.push_back(source);
        return !refuse;
    }
    void released(int source) override { events.push_back("released " + std::to_string(source)); }
    double user_value(double value, int) override
    {
        values.push_back(value);
        return value;
    }
    void action(int event, int argument) override
    {
        events.push_back("action " + std::to_string(event) + " " + std::to_string(argument));
    }

    std::vector<std::string> events;
    std::vector<int> sources;
    std::vector<double> values;
    bool refuse = false;
};

// Pictures made in memory; their bytes live as long as the store.
class PictureStore {
public:
    // A w x h alpha picture of one opaque colour, its hot spot at `hot`.
    Picture solid(int width, int height, std::uint32_t colour, Point hot = {0, 0})
    {
        std::vector<std::uint8_t> pixels(static_cast<std::size_t>(2 * width * height));
        for (std::size_t i = 0; i < pixels.size(); i += 2)
            pixels[i + 1] = 255;
        return keep(apic::build(apic::kAlpha, 8, width, height, {colour}, pixels), hot);
    }
    // A w x h opaque picture of one colour.
    Picture opaque(int width, int height, std::uint32_t colour)
    {
        return keep(apic::build(apic::kOpaque, 8, width, height, {colour},
                                std::vector<std::uint8_t>(static_cast<std::size_t>(width * height), 0)),
                    {0, 0});
    }

    // A picture of the given bytes (an APIC resource), kept with the store.
    Picture keep(std::vector<std::uint8_t> bytes, Point hot)
    {
        bytes_.push_back(std::move(bytes));
        data_.push_back(PicDataFactory::instance().create(bytes_.back().data(), bytes_.back().size()));
        Picture picture;
        picture.set_picture(data_.back().get());
        picture.set_hot_spot(hot);
        return picture;
    }

private:
    std::deque<std::vector<std::uint8_t>> bytes_;
    std::vector<std::unique_ptr<PicDataInterface>> data_;
};

// A headless window of `size` with one background picture and one group of controls at the
// origin, as an editor sets it up.
class Desk {
public:
    explicit Desk(Size size = {200, 150}, std::uint32_t backgroundColour = 0x00202020)
        : window(std::make_unique<HeadlessWindow>()), headless(static_cast<HeadlessWindow&>(window.platform()))
    {
        window.set_window_size(size);
        window.set_size(size);
        background.set_picture(pictures.opaque(size.w, size.h, backgroundColour));
        window.set_background_root(&background);
        window.set_control_root(&controls);
        background.set_origin({0, 0});
        controls.set_origin({0, 0});
    }

    // Adds a control at `offset` in the group.
    void add(ControlInterface& control, Point offset)
    {
        control.set_position(offset);
        controls.add_control(&control);
        controls.set_origin({0, 0});
    }
    void open()
    {
        window.show(nullptr);
        headless.paint_pending();
    }
    // The clock's time now.
    static double now() { return HeadlessWindow::now(); }

    PictureStore pictures;
    BackgroundItem background;
    CtrlGroupItem controls;
    // Last, so that it closes first: a control holding its capture hears of it while its group
    // still stands, as in an editor.
    WindowInterface window;
    HeadlessWindow& headless;
};

} // namespace toolkit_test
