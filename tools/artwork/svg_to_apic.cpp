// svg_to_apic IN.svg WIDTH HEIGHT STORAGE OUT.apic: rasterises a vector drawing with anti-aliasing
// and stores it as an APIC picture. STORAGE is opaque8, opaque24, alpha8 or alpha24; the 8-bit
// forms are quantised to a 256-colour palette (with alpha) by libimagequant, which dithers
// gradients instead of banding them. A drawing of any other size than WIDTH x HEIGHT fails,
// naming the file: nothing is padded or cut.
#include "ApicWriter.h"

#include <cairo.h>
#include <librsvg/rsvg.h>
#include <libimagequant.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Rgba {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> bytes;  // red, green, blue, alpha; not premultiplied
};

int fail(const std::string& message)
{
    std::fprintf(stderr, "svg_to_apic: %s\n", message.c_str());
    return 1;
}

// Renders the drawing at its own size; false with `error` set when it cannot.
bool render(const std::string& path, Rgba& image, std::string& error)
{
    GError* problem = nullptr;
    RsvgHandle* handle = rsvg_handle_new_from_file(path.c_str(), &problem);
    if (!handle) {
        error = path + ": " + (problem ? problem->message : "cannot be read");
        if (problem)
            g_error_free(problem);
        return false;
    }
    gdouble width = 0.0, height = 0.0;
    if (!rsvg_handle_get_intrinsic_size_in_pixels(handle, &width, &height) || width < 1.0 || height < 1.0) {
        g_object_unref(handle);
        error = path + ": the drawing has no size in pixels";
        return false;
    }
    image.width = static_cast<int>(std::lround(width));
    image.height = static_cast<int>(std::lround(height));
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, image.width, image.height);
    cairo_t* cairo = cairo_create(surface);
    const RsvgRectangle viewport{0.0, 0.0, width, height};
    const bool drawn = rsvg_handle_render_document(handle, cairo, &viewport, &problem);
    cairo_destroy(cairo);
    g_object_unref(handle);
    if (!drawn) {
        error = path + ": " + (problem ? problem->message : "cannot be drawn");
        if (problem)
            g_error_free(problem);
        cairo_surface_destroy(surface);
        return false;
    }
    cairo_surface_flush(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    image.bytes.resize(static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height) * 4);
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            std::uint32_t pixel = 0;
            std::memcpy(&pixel, data + y * stride + 4 * x, 4);
            const std::uint32_t alpha = pixel >> 24;
            auto straight = [alpha](std::uint32_t premultiplied) {
                return alpha == 0 ? 0u : std::min(255u, (premultiplied * 255 + alpha / 2) / alpha);
            };
            std::uint8_t* out = image.bytes.data() + 4 * (static_cast<std::size_t>(y) * image.width + x);
            out[0] = static_cast<std::uint8_t>(straight((pixel >> 16) & 0xFF));
            out[1] = static_cast<std::uint8_t>(straight((pixel >> 8) & 0xFF));
            out[2] = static_cast<std::uint8_t>(straight(pixel & 0xFF));
            out[3] = static_cast<std::uint8_t>(alpha);
        }
    }
    cairo_surface_destroy(surface);
    return true;
}

// Palette pictures: indexes (and alphas) from a quantised palette.
bool quantise(const Rgba& image, bool alpha, apic_writer::Resource& resource)
{
    liq_attr* attributes = liq_attr_create();
    liq_set_speed(attributes, 1);
    liq_image* input = liq_image_create_rgba(attributes, image.bytes.data(), image.width, image.height, 0);
    liq_result* result = nullptr;
    if (!input || liq_image_quantize(input, attributes, &result) != LIQ_OK) {
        if (input)
            liq_image_destroy(input);
        liq_attr_destroy(attributes);
        return false;
    }
    liq_set_dithering_level(result, 1.0f);
    std::vector<std::uint8_t> indexes(static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height));
    liq_write_remapped_image(result, input, indexes.data(), indexes.size());
    const liq_palette* palette = liq_get_palette(result);
    for (unsigned i = 0; i < palette->count; ++i) {
        const liq_color& c = palette->entries[i];
        resource.palette.push_back(static_cast<std::uint32_t>(c.b) | static_cast<std::uint32_t>(c.g) << 8 |
                                   static_cast<std::uint32_t>(c.r) << 16);
    }
    std::vector<std::uint8_t> alphas(palette->count);
    for (unsigned i = 0; i < palette->count; ++i)
        alphas[i] = palette->entries[i].a;
    for (std::size_t i = 0; i < indexes.size(); ++i) {
        resource.pixels.push_back(indexes[i]);
        if (alpha)
            resource.pixels.push_back(alphas[indexes[i]]);
    }
    liq_result_destroy(result);
    liq_image_destroy(input);
    liq_attr_destroy(attributes);
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 6) {
        std::fprintf(stderr, "usage: svg_to_apic IN.svg WIDTH HEIGHT opaque8|opaque24|alpha8|alpha24 OUT.apic\n");
        return 2;
    }
    const std::string input = argv[1];
    const int width = std::atoi(argv[2]);
    const int height = std::atoi(argv[3]);
    const std::string storage = argv[4];
    const bool alpha = storage == "alpha8" || storage == "alpha24";
    const bool palette = storage == "opaque8" || storage == "alpha8";
    if (width <= 0 || height <= 0 || (!alpha && storage != "opaque8" && storage != "opaque24")) {
        std::fprintf(stderr, "usage: svg_to_apic IN.svg WIDTH HEIGHT opaque8|opaque24|alpha8|alpha24 OUT.apic\n");
        return 2;
    }
    Rgba image;
    std::string error;
    if (!render(input, image, error))
        return fail(error);
    if (image.width != width || image.height != height)
        return fail(input + " is " + std::to_string(image.width) + " x " + std::to_string(image.height) + ", not " +
                    std::to_string(width) + " x " + std::to_string(height));

    // An opaque picture shows what the drawing leaves transparent as black.
    if (!alpha) {
        for (std::size_t i = 0; i < image.bytes.size(); i += 4) {
            const unsigned coverage = image.bytes[i + 3];
            for (std::size_t channel = 0; channel < 3; ++channel)
                image.bytes[i + channel] = static_cast<std::uint8_t>((image.bytes[i + channel] * coverage + 127) / 255);
            image.bytes[i + 3] = 255;
        }
    }
    apic_writer::Resource resource;
    resource.kind = alpha ? 1 : 0;
    resource.depth = palette ? 8 : 24;
    resource.width = width;
    resource.height = height;
    if (palette) {
        if (!quantise(image, alpha, resource))
            return fail(input + ": cannot be quantised");
    } else {
        for (std::size_t i = 0; i < image.bytes.size(); i += 4) {
            resource.pixels.push_back(image.bytes[i + 2]);
            resource.pixels.push_back(image.bytes[i + 1]);
            resource.pixels.push_back(image.bytes[i]);
            resource.pixels.push_back(alpha ? image.bytes[i + 3] : 0);
        }
    }
    if (!apic_writer::write(argv[5], resource))
        return fail(std::string("cannot write ") + argv[5]);
    return 0;
}
