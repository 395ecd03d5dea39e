// x11_hand: a user's eye and hand on the X display, for the checks that drive a real host's
// window from a script. Each command prints what it found and exits 0, or says what failed and
// exits 1:
//   find-window WIDTH HEIGHT SECONDS   a viewable window of that size with no children, once drawn
//   named TITLE SECONDS                a viewable top-level window of that title
//   match WINDOW PNG SECONDS [SAVE]    waits until the window shows the picture; SAVE gets what it
//                                      shows when it does not
//   centre A.png B.png                 the centre of the pixels that differ between two pictures
//   drag WINDOW X Y DX DY              presses at X Y in the window, moves by DX DY, releases
//   keys WINDOW KEY...                 keysym names, "ctrl+" before one to hold Control
//   type WINDOW TEXT
#include "PngFrame.h"
#include "X11Hand.h"

#include <X11/Xutil.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <numeric>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Asks `found` every 50 ms until it answers true or `seconds` have passed.
bool waitFor(double seconds, const std::function<bool()>& found)
{
    const auto end = Clock::now() + std::chrono::duration<double>(seconds);
    while (!found()) {
        if (Clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

std::vector<::Window> children(Display* display, ::Window window)
{
    ::Window root = 0, parent = 0;
    ::Window* list = nullptr;
    unsigned count = 0;
    std::vector<::Window> found;
    if (XQueryTree(display, window, &root, &parent, &list, &count) && list)
        found.assign(list, list + count);
    if (list)
        XFree(list);
    return found;
}

bool viewable(Display* display, ::Window window, XWindowAttributes& attributes)
{
    return XGetWindowAttributes(display, window, &attributes) && attributes.map_state == IsViewable;
}

::Window findSized(Display* display, ::Window under, int width, int height)
{
    for (::Window child : children(display, under)) {
        XWindowAttributes attributes;
        if (!viewable(display, child, attributes))
            continue;
        if (attributes.width == width && attributes.height == height && children(display, child).empty())
            return child;
        if (const ::Window deeper = findSized(display, child, width, height))
            return deeper;
    }
    return 0;
}

::Window findNamed(Display* display, const std::string& title)
{
    for (::Window child : children(display, DefaultRootWindow(display))) {
        XWindowAttributes attributes;
        char* name = nullptr;
        const bool same = viewable(display, child, attributes) && XFetchName(display, child, &name) && name && title == name;
        if (name)
            XFree(name);
        if (same)
            return child;
    }
    return 0;
}

bool savePng(const std::string& path, const std::vector<std::uint32_t>& pixels, int width, int height)
{
    std::vector<png_byte> bytes;
    for (std::uint32_t pixel : pixels)
        bytes.insert(bytes.end(), {static_cast<png_byte>(pixel >> 16), static_cast<png_byte>(pixel >> 8),
                                   static_cast<png_byte>(pixel)});
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGB;
    return png_image_write_to_file(&image, path.c_str(), 0, bytes.data(), 0, nullptr) != 0;
}

// A window that goes away or is moved between two requests answers an error, which Xlib would
// end the program for: the request then answers nothing, and the command waits on.
int ignoreErrors(Display*, XErrorEvent*)
{
    return 0;
}

int fail(const std::string& text)
{
    std::fprintf(stderr, "x11_hand: %s\n", text.c_str());
    return 1;
}

int run(Display* display, const std::vector<std::string>& arguments)
{
    const X11Hand hand(display);
    const std::string& command = arguments[0];
    auto number = [&](std::size_t index) { return std::strtod(arguments.at(index).c_str(), nullptr); };
    auto window = [&](std::size_t index) { return static_cast<::Window>(std::strtoul(arguments.at(index).c_str(), nullptr, 0)); };

    if (command == "find-window" && arguments.size() == 4) {
        const int width = static_cast<int>(number(1)), height = static_cast<int>(number(2));
        ::Window found = 0;
        const bool drawn = waitFor(number(3), [&] {
            found = findSized(display, DefaultRootWindow(display), width, height);
            const std::vector<std::uint32_t> frame = found ? hand.pixels(found, width, height) : std::vector<std::uint32_t>();
            return std::any_of(frame.begin(), frame.end(), [](std::uint32_t pixel) { return pixel != 0; });
        });
        if (!drawn)
            return fail("no window of " + arguments[1] + " x " + arguments[2] + " was drawn");
        std::printf("%lu\n", found);
        return 0;
    }
    if (command == "named" && arguments.size() == 3) {
        ::Window found = 0;
        if (!waitFor(number(2), [&] { return (found = findNamed(display, arguments[1])) != 0; }))
            return fail("no window named " + arguments[1]);
        std::printf("%lu\n", found);
        return 0;
    }
    if (command == "match" && (arguments.size() == 4 || arguments.size() == 5)) {
        const PngFrame expected = read_png(arguments[2]);
        if (expected.pixels.empty())
            return fail("cannot read " + arguments[2]);
        std::vector<std::uint32_t> shown;
        waitFor(number(3), [&] { return (shown = hand.pixels(window(1), expected.width, expected.height)) == expected.pixels; });
        const auto differing = shown.size() != expected.pixels.size()
                                   ? static_cast<long>(expected.pixels.size())
                                   : std::inner_product(shown.begin(), shown.end(), expected.pixels.begin(), 0L,
                                                        std::plus<>(), std::not_equal_to<>());
        std::printf("%ld pixels differ\n", differing);
        if (differing != 0 && arguments.size() == 5 && !shown.empty())
            savePng(arguments[4], shown, expected.width, expected.height);
        return differing == 0 ? 0 : 1;
    }
    if (command == "centre" && arguments.size() == 3) {
        const PngFrame a = read_png(arguments[1]), b = read_png(arguments[2]);
        if (a.pixels.empty() || a.pixels.size() != b.pixels.size() || a.pixels == b.pixels)
            return fail("the pictures cannot be compared or do not differ");
        const ScreenPoint centre = centre_of_change(a.pixels, b.pixels, a.width);
        std::printf("%d %d\n", centre.x, centre.y);
        return 0;
    }
    if (command == "drag" && arguments.size() == 6) {
        constexpr int kSteps = 10;
        hand.moveTo(window(1), {static_cast<int>(number(2)), static_cast<int>(number(3))});
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        hand.button(true);
        for (int step = 0; step < kSteps; ++step) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            hand.moveBy(static_cast<int>(number(4)) / kSteps, static_cast<int>(number(5)) / kSteps);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        hand.button(false);
        XSync(display, False);
        return 0;
    }
    if ((command == "keys" && arguments.size() >= 3) || (command == "type" && arguments.size() == 3)) {
        hand.focus(window(1), {10, 10});
        if (command == "type") {
            hand.type(arguments[2]);
            return 0;
        }
        const std::string control = "ctrl+";
        for (std::size_t index = 2; index < arguments.size(); ++index) {
            const bool held = arguments[index].rfind(control, 0) == 0;
            hand.key(held ? arguments[index].substr(control.size()) : arguments[index], held);
        }
        return 0;
    }
    return fail("unknown command or arguments: " + command);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return fail("no command");
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return fail("no X display");
    XSetErrorHandler(ignoreErrors);
    const int status = run(display, std::vector<std::string>(argv + 1, argv + argc));
    XCloseDisplay(display);
    return status;
}
