// Pictures, fonts and their factories, pixel by pixel against hand-computed values.
#include "ApicBuilder.h"

#include "AlphaPicData24.h"
#include "AlphaPicData8.h"
#include "DrawText.h"
#include "FontFactory.h"
#include "MulticolorFont.h"
#include "PicData24.h"
#include "PicData8.h"
#include "PicDataFactory.h"
#include "Picture.h"
#include "PixelBlend.h"
#include "RenderingBufferInterface.h"
#include "TurningPixels.h"
#include "UnicolorFont.h"
#include "WideDrawing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>

using namespace pengui;

namespace {

constexpr std::uint32_t kRed = 0x00FF0000u;
constexpr std::uint32_t kWhite = 0x00FFFFFFu;
constexpr std::uint32_t kMarker = 0x00123456u;

// Keeps the bytes alive with the picture made from them.
struct Made {
    std::vector<std::uint8_t> bytes;
    std::unique_ptr<PicDataInterface> picture;
};

Made picture(std::uint32_t kind, std::uint32_t depth, int width, int height, const std::vector<std::uint32_t>& palette,
             const std::vector<std::uint8_t>& pixels)
{
    Made made{apic::build(kind, depth, width, height, palette, pixels), nullptr};
    made.picture = PicDataFactory::instance().create(made.bytes.data(), made.bytes.size());
    return made;
}

// A 3 x 2 opaque palette picture: indexes 0 1 2 / 2 1 0.
Made palettePicture()
{
    return picture(apic::kOpaque, 8, 3, 2, {0xAA000001u, 0xBB000002u, 0xCC000003u}, {0, 1, 2, 2, 1, 0});
}

// A 3 x 3 alpha picture, transparent but for one opaque white pixel at (1, 1).
Made dotPicture()
{
    std::vector<std::uint8_t> pixels(18, 0);
    pixels[2 * 4] = 1;
    pixels[2 * 4 + 1] = 255;
    return picture(apic::kAlpha, 8, 3, 3, {0, kWhite}, pixels);
}

std::uint32_t raw(PixelBuffer& buffer, int x, int y)
{
    return buffer.pixels()[y * buffer.width() + x];
}

} // namespace

TEST(PicDataFactoryTest, EachKindAndDepthMakesItsClass)
{
    EXPECT_NE(dynamic_cast<PicData8*>(picture(apic::kOpaque, 8, 1, 1, {0}, {0}).picture.get()), nullptr);
    EXPECT_NE(dynamic_cast<PicData24*>(picture(apic::kOpaque, 24, 1, 1, {}, {1, 2, 3, 4}).picture.get()), nullptr);
    EXPECT_NE(dynamic_cast<AlphaPicData8*>(picture(apic::kAlpha, 8, 1, 1, {0}, {0, 0}).picture.get()), nullptr);
    EXPECT_NE(dynamic_cast<AlphaPicData24*>(picture(apic::kAlpha, 24, 1, 1, {}, {1, 2, 3, 4}).picture.get()), nullptr);
    const std::vector<std::uint8_t> unicolour = apic::font({1, 1}, 2);
    EXPECT_NE(dynamic_cast<UnicolorFont*>(FontFactory::instance().create(unicolour.data(), unicolour.size()).get()), nullptr);
    const std::vector<std::uint8_t> multicolour = apic::build(apic::kMulticolour, 8, 2, 2, {0, 1}, {0, 0, 0, 0, 0, 0, 1, 0});
    EXPECT_NE(dynamic_cast<MulticolorFont*>(FontFactory::instance().create(multicolour.data(), multicolour.size()).get()),
              nullptr);
}

TEST(PicDataFactoryTest, RefusesDataThatLiesAboutItself)
{
    const std::vector<std::uint8_t> good = apic::build(apic::kAlpha, 8, 2, 2, {0, kWhite}, std::vector<std::uint8_t>(8, 1));
    auto refused = [&good](auto change) {
        std::vector<std::uint8_t> bytes = good;
        change(bytes);
        return PicDataFactory::instance().create(bytes.data(), bytes.size()) == nullptr;
    };
    EXPECT_FALSE(refused([](std::vector<std::uint8_t>&) {}));
    EXPECT_TRUE(refused([](auto& b) { apic::put32(b, 8, 3); })) << "kind 3";
    EXPECT_TRUE(refused([](auto& b) { apic::put32(b, 12, 16); })) << "depth 16";
    EXPECT_TRUE(refused([](auto& b) { apic::put32(b, 4, 20); })) << "header size 20";
    EXPECT_TRUE(refused([](auto& b) { apic::put32(b, 4, 100000); })) << "header beyond the data";
    EXPECT_TRUE(refused([](auto& b) { apic::put32(b, 0, 0); })) << "version 0";
    EXPECT_TRUE(refused([](auto& b) { apic::put32(b, 24, 300); })) << "palette count 300";
    EXPECT_TRUE(refused([](auto& b) { apic::put32(b, 24, 200); })) << "palette count beyond the palette";
    EXPECT_TRUE(refused([](auto& b) { apic::put32(b, 32, 60); })) << "palette offset past the end";
    EXPECT_TRUE(refused([](auto& b) { apic::put32(b, 16, 0xFFFFFFFEu); })) << "negative width";
    EXPECT_TRUE(refused([](auto& b) { apic::put32(b, 20, 0x7FFFFFFFu); })) << "absurd height";
    EXPECT_TRUE(refused([](auto& b) { apic::put32(b, 16, 3); })) << "pixels past the end";
    EXPECT_TRUE(refused([](auto& b) { apic::put32(b, 28, 0xFFFFFFF0u); })) << "pixel offset past the end";
    EXPECT_TRUE(refused([](auto& b) { b.pop_back(); })) << "truncated";
    EXPECT_TRUE(refused([](auto& b) { b.resize(20); })) << "shorter than a header";
    EXPECT_EQ(PicDataFactory::instance().create(nullptr, 0), nullptr);
    EXPECT_EQ(PicDataFactory::instance().create("no such picture"), nullptr);
    const std::vector<std::uint8_t> direct = apic::build(apic::kAlpha, 24, 1, 1, {}, {1, 2, 3, 4});
    EXPECT_EQ(FontFactory::instance().create(direct.data(), direct.size()), nullptr) << "a direct picture is no font";
}

TEST(PictureDrawTest, OpaquePalettePicturesCopyWholeEntriesAndClip)
{
    const Made made = palettePicture();
    PixelBuffer buffer(4, 4);
    buffer.fill(kMarker, 0);
    made.picture->draw({0, 0, 3, 2}, buffer);
    EXPECT_EQ(raw(buffer, 0, 0), 0xAA000001u) << "the fourth byte is copied too";
    EXPECT_EQ(raw(buffer, 2, 0), 0xCC000003u);
    EXPECT_EQ(raw(buffer, 0, 1), 0xCC000003u);
    EXPECT_EQ(buffer.at(3, 0), kMarker);
    EXPECT_EQ(buffer.at(0, 2), kMarker);

    // A negative origin puts picture pixel (0, 0) at buffer pixel (1, 1).
    buffer.fill(kMarker, 0);
    made.picture->draw({-1, -1, 2, 1}, buffer);
    EXPECT_EQ(buffer.at(0, 0), kMarker);
    EXPECT_EQ(raw(buffer, 1, 1), 0xAA000001u);
    EXPECT_EQ(raw(buffer, 2, 1), 0xBB000002u);
    EXPECT_EQ(buffer.at(3, 1), kMarker);
    EXPECT_EQ(buffer.at(1, 2), kMarker);

    // An area past the picture copies only what exists.
    buffer.fill(kMarker, 0);
    made.picture->draw({2, 1, 10, 10}, buffer);
    EXPECT_EQ(raw(buffer, 0, 0), 0xAA000001u);
    EXPECT_EQ(buffer.at(1, 0), kMarker);
    EXPECT_EQ(buffer.at(0, 1), kMarker);

    // A buffer narrower than the picture is never overrun.
    PixelBuffer narrow(2, 1);
    made.picture->draw({0, 0, 3, 2}, narrow);
    EXPECT_EQ(raw(narrow, 1, 0), 0xBB000002u);
    made.picture->draw({-5, -5, 40, 40}, narrow);
    made.picture->draw({-2147483647, 0, 2147483647, 2}, narrow);
}

TEST(PictureDrawTest, DirectColourPicturesCopyPixels)
{
    const Made made = picture(apic::kOpaque, 24, 2, 1, {}, {1, 2, 3, 4, 5, 6, 7, 8});
    PixelBuffer buffer(2, 1);
    made.picture->draw({0, 0, 2, 1}, buffer);
    EXPECT_EQ(raw(buffer, 0, 0), 0x04030201u);
    EXPECT_EQ(raw(buffer, 1, 0), 0x08070605u);
}

TEST(PictureDrawTest, AlphaRulesUseTheirExactIntegerArithmetic)
{
    // Palette alpha: d + ((s - d) * alpha >> 8), an arithmetic shift of the signed product.
    const Made palette = picture(apic::kAlpha, 8, 4, 1, {0x11000000u, 0x00000001u}, {0, 0, 0, 255, 0, 128, 1, 100});
    PixelBuffer buffer(4, 1);
    buffer.fill(0x00C8C80A, 0);
    palette.picture->draw({0, 0, 4, 1}, buffer);
    EXPECT_EQ(raw(buffer, 0, 0), 0x00C8C80Au) << "alpha 0 leaves the pixel";
    EXPECT_EQ(raw(buffer, 1, 0), 0x11000000u) << "alpha 255 copies the whole entry";
    EXPECT_EQ(buffer.at(2, 0), 0x00646405u) << "200 + (-200 * 128 >> 8) = 100; 10 + (-10 * 128 >> 8) = 5";
    EXPECT_EQ(buffer.at(3, 0), 0x00797906u) << "10 + (-9 * 100 >> 8) = 6 and 200 + (-200 * 100 >> 8) = 121: rounding down";

    // Direct alpha: (s * alpha + d * (255 - alpha)) >> 8.
    const Made direct = picture(apic::kAlpha, 24, 3, 1, {}, {255, 255, 255, 0, 255, 0, 0, 255, 255, 255, 255, 128});
    buffer.fill(0, 0);
    direct.picture->draw({0, 0, 3, 1}, buffer);
    EXPECT_EQ(buffer.at(0, 0), 0u);
    EXPECT_EQ(raw(buffer, 1, 0), 0xFF0000FFu);
    EXPECT_EQ(buffer.at(2, 0), 0x007F7F7Fu) << "255 * 128 >> 8";
}

TEST(PictureDrawTest, ShiftedDrawingSpreadsEachPixelWithFixedPointWeights)
{
    const Made made = dotPicture();
    PixelBuffer buffer(3, 3);
    buffer.fill(0, 0);
    // fx = 0.25, fy = 0.5: t = 32, wx = 32, wy = 96, w00 = 96.
    made.picture->draw_shifted(0.25f, 0.5f, {3, 3}, buffer);
    EXPECT_EQ(buffer.at(1, 1), 0x005F5F5Fu) << "255 * 96 * 255 >> 16 = 95";
    EXPECT_EQ(buffer.at(0, 1), 0x001F1F1Fu) << "weight wx: 31";
    EXPECT_EQ(buffer.at(1, 0), 0x005F5F5Fu) << "weight wy: 95";
    EXPECT_EQ(buffer.at(0, 0), 0x001F1F1Fu) << "weight t: 31";
    EXPECT_EQ(buffer.at(2, 2), 0u);

    // A negative position reaches the picture through the neighbours to its left and top.
    buffer.fill(0, 0);
    made.picture->draw_shifted(-0.5f, -0.5f, {3, 3}, buffer);
    EXPECT_EQ(buffer.at(1, 1), 0x003F3F3Fu) << "t = 64: 255 * 64 * 255 >> 16 = 63";
    EXPECT_EQ(buffer.at(2, 2), 0x003F3F3Fu);
    EXPECT_EQ(buffer.at(0, 0), 0u);
}

TEST(PictureDrawTest, DrawAtTakesWholePixelsWhenThePositionIsIntegral)
{
    const Made made = dotPicture();
    Picture placed;
    placed.set_picture(made.picture.get());
    placed.set_hot_spot({1, 1});
    EXPECT_EQ(placed.box, (Rect{-1, -1, 2, 2}));
    EXPECT_EQ(placed.hot_spot(), (Point{1, 1}));

    // Picture point (1, 1) sits on the owner's origin; owner point -3 is buffer pixel 0.
    PixelBuffer buffer(8, 8);
    buffer.fill(0, 0);
    placed.draw_at(-3.0, -3.0, {8, 8}, buffer);
    EXPECT_EQ(buffer.at(3, 3), kWhite);
    EXPECT_EQ(buffer.at(2, 3), 0u);

    // Within a relative 1e-9 of a positive integer: whole pixels. A quarter off: spread.
    Picture origin;
    origin.set_picture(made.picture.get());
    buffer.fill(0, 0);
    origin.draw_at(1.0000000001, 1.0, {8, 8}, buffer);
    EXPECT_EQ(buffer.at(0, 0), kWhite);
    buffer.fill(0, 0);
    origin.draw_at(1.25, 1.0, {8, 8}, buffer);
    EXPECT_EQ(buffer.at(0, 0), 0x00BEBEBEu) << "w00 = 192: 255 * 192 * 255 >> 16 = 190";
    EXPECT_EQ(buffer.at(1, 0), 0u);
    // Just off a negative integer there is no relative rule: the picture is spread.
    buffer.fill(0, 0);
    placed.draw_at(-3.0000000001, -3.0, {8, 8}, buffer);
    EXPECT_NE(buffer.at(3, 3), kWhite);
}

TEST(PictureDrawTest, RotatedDrawingTurnsThePictureWithinItsBounds)
{
    // A white bar 4 pixels wide and 1 high, turned a quarter: buffer (i, j) samples (x - j, y + i).
    const Made bar = picture(apic::kAlpha, 8, 4, 1, {kWhite}, {0, 255, 0, 255, 0, 255, 0, 255});
    PixelBuffer buffer(6, 6);
    buffer.fill(kMarker, 0);
    EXPECT_EQ(bar.picture->draw_rotated(3.5f, 0.0f, {6, 6}, static_cast<float>(std::numbers::pi / 2), buffer), 0);
    for (int j = 1; j <= 2; ++j)
        EXPECT_GT(buffer.at(0, j) & 0xFF, 0x12u) << "row " << j;
    for (int j = 0; j < 6; ++j)
        for (int i = 2; i < 6; ++i)
            EXPECT_EQ(buffer.at(i, j), kMarker) << i << ", " << j;
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(buffer.at(i, 5), kMarker) << "below the turned bar";

    // Barely turned, it draws as the shifted picture does.
    const Made made = dotPicture();
    PixelBuffer turned(3, 3), shifted(3, 3);
    turned.fill(0, 0);
    shifted.fill(0, 0);
    made.picture->draw_rotated(0.25f, 0.5f, {3, 3}, 1e-7f, turned);
    made.picture->draw_shifted(0.25f, 0.5f, {3, 3}, shifted);
    for (int j = 0; j < 3; ++j)
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(turned.at(i, j), shifted.at(i, j)) << i << ", " << j;

    // Opaque pictures do not turn; nothing is drawn.
    const Made opaque = palettePicture();
    buffer.fill(kMarker, 0);
    opaque.picture->draw_rotated(0.0f, 0.0f, {6, 6}, 1.0f, buffer);
    EXPECT_EQ(buffer.at(0, 0), kMarker);
}

TEST(PictureDrawTest, PaletteAlphaDrawingKeepsItsRuleOnEveryPixel)
{
    // Random palette pictures, runs of clear, solid and soft pixels mixed, over random buffers,
    // fourth bytes included, drawn from a random corner: every pixel as the plain rule gives it,
    // with the AVX2 paths and without.
    std::mt19937 random(8);
    for (int round = 0; round < 200; ++round) {
        wide_drawing::setEnabled(round % 2 == 0);
        const int width = 1 + static_cast<int>(random() % 41), height = 1 + static_cast<int>(random() % 9);
        std::vector<std::uint32_t> palette(256);
        for (std::uint32_t& entry : palette)
            entry = random();
        std::vector<std::uint8_t> pixels;
        unsigned kind = 0;
        for (int i = 0; i < width * height; ++i) {
            if (random() % 6 == 0)
                kind = random() % 4;
            pixels.push_back(static_cast<std::uint8_t>(random()));
            pixels.push_back(static_cast<std::uint8_t>(kind == 0 ? 0 : kind == 1 ? 255 : random() % 256));
        }
        const Made made = picture(apic::kAlpha, 8, width, height, palette, pixels);
        const int x0 = static_cast<int>(random() % 3), y0 = static_cast<int>(random() % 3);
        PixelBuffer buffer(width, height);
        for (int i = 0; i < width * height; ++i)
            buffer.pixels()[i] = random();
        const std::vector<std::uint32_t> before(buffer.pixels(), buffer.pixels() + width * height);
        made.picture->draw({x0, y0, x0 + width, y0 + height}, buffer);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const std::uint32_t d = before[static_cast<std::size_t>(y * width + x)];
                std::uint32_t expected = d;
                if (x + x0 < width && y + y0 < height) {
                    const std::size_t at = static_cast<std::size_t>(2 * ((y + y0) * width + x + x0));
                    const std::uint32_t entry = palette[pixels[at]];
                    const int alpha = pixels[at + 1];
                    expected = alpha == 255 ? entry : alpha == 0 ? d : pixel_blend::towards(d, entry, alpha);
                }
                ASSERT_EQ(buffer.pixels()[y * width + x], expected) << "round " << round << " at " << x << ", " << y;
            }
    }
    wide_drawing::setEnabled(true);
}

TEST(PictureDrawTest, TurnedDrawingGivesTheSameBitsOnEveryPath)
{
    // Random alpha pictures of both kinds, mostly clear or solid with soft edges between, turned
    // anywhere over random buffers: each vector path this processor offers (the picture's own
    // drawing takes the best) against the plain arithmetic.
    std::mt19937 random(20261208);
    auto below = [&random](int bound) { return static_cast<int>(random() % static_cast<unsigned>(bound)); };
    for (int round = 0; round < 300; ++round) {
        const int width = 1 + below(40);
        const int height = 1 + below(40);
        const bool palette = round % 2 == 0;
        std::vector<std::uint32_t> colours(256);
        for (std::uint32_t& colour : colours)
            colour = random() & 0xFFFFFFu;
        std::vector<std::uint8_t> pixels;
        for (int i = 0; i < width * height; ++i) {
            const int kind = below(4);
            const auto alpha = static_cast<std::uint8_t>(kind == 0 ? 0 : kind == 1 ? 255 : below(256));
            if (palette) {
                pixels.push_back(static_cast<std::uint8_t>(below(256)));
            } else {
                for (int channel = 0; channel < 3; ++channel)
                    pixels.push_back(static_cast<std::uint8_t>(below(256)));
            }
            pixels.push_back(alpha);
        }
        const Made made = palette ? picture(apic::kAlpha, 8, width, height, colours, pixels)
                                  : picture(apic::kAlpha, 24, width, height, {}, pixels);
        ASSERT_TRUE(made.picture) << "round " << round;
        TurningPixels portable;
        if (palette)
            portable.fill(dynamic_cast<const AlphaPicData8&>(*made.picture).view());
        else
            portable.fill(dynamic_cast<const AlphaPicData24&>(*made.picture).view());

        const int side = 1 + below(64);
        PixelBuffer chosen(side, 1 + below(64)), plain(chosen.width(), chosen.height());
        for (int j = 0; j < chosen.height(); ++j)
            for (int i = 0; i < chosen.width(); ++i)
                chosen.pixels()[j * chosen.width() + i] = plain.pixels()[j * chosen.width() + i] = random();
        const Size size{below(80), below(80)};
        const float angle = round % 10 == 0 ? static_cast<float>(std::numbers::pi / 2 * below(4))
                                            : static_cast<float>(random() % 20000) / 1000.0f - 10.0f;
        const float x = static_cast<float>(random() % 12000) / 100.0f - 60.0f;
        const float y = static_cast<float>(random() % 12000) / 100.0f - 60.0f;
        const std::vector<std::uint32_t> before(chosen.pixels(), chosen.pixels() + chosen.width() * chosen.height());
        portable.draw_on(TurningPixels::Path::kPortable, x, y, size, angle, plain);
        for (const auto path : {TurningPixels::Path::kVector, TurningPixels::Path::kWide}) {
            if (!TurningPixels::offers(path))
                continue;
            std::copy(before.begin(), before.end(), chosen.pixels());
            if (path == TurningPixels::best_path())
                made.picture->draw_rotated(x, y, size, angle, chosen);
            else
                portable.draw_on(path, x, y, size, angle, chosen);
            for (int j = 0; j < chosen.height(); ++j)
                for (int i = 0; i < chosen.width(); ++i)
                    ASSERT_EQ(chosen.pixels()[j * chosen.width() + i], plain.pixels()[j * chosen.width() + i])
                        << "path " << static_cast<int>(path) << ", round " << round << " at " << i << ", " << j;
        }
    }
}

TEST(PictureDrawTest, TurnedDrawingReachesEveryPixelThePictureCovers)
{
    // A soft disc and a thin bar turned anywhere, with clipping blocks cut at random, against
    // every buffer pixel worked out alone: its sample point reckoned from the anchor, its four
    // neighbours weighted and blended by the plain rule. A pixel the walk skips shows here.
    std::mt19937 random(1209);
    auto make = [](int width, int height, auto cover) {
        std::vector<std::uint8_t> pixels;
        for (int j = 0; j < height; ++j)
            for (int i = 0; i < width; ++i) {
                pixels.push_back(static_cast<std::uint8_t>(i * 12 + j));
                pixels.push_back(static_cast<std::uint8_t>(cover(i, j)));
            }
        return pixels;
    };
    std::vector<std::uint32_t> palette(256);
    for (std::uint32_t i = 0; i < 256; ++i)
        palette[i] = i * 0x010203u;
    const std::vector<std::uint8_t> discPixels =
        make(21, 21, [](int i, int j) { return std::clamp(10.0 - std::hypot(i - 10.0, j - 10.0), 0.0, 1.0) * 255.0; });
    const std::vector<std::uint8_t> barPixels = make(17, 2, [](int, int) { return 255; });
    for (const auto* source : {&discPixels, &barPixels}) {
        const int width = source == &discPixels ? 21 : 17, height = source == &discPixels ? 21 : 2;
        const Made made = picture(apic::kAlpha, 8, width, height, palette, *source);
        auto neighbour = [&](int i, int j, int channel) {
            if (i < 0 || j < 0 || i >= width || j >= height)
                return 0;
            const std::size_t at = static_cast<std::size_t>(2 * (j * width + i));
            const int alpha = (*source)[at + 1];
            return channel == 3 ? alpha : static_cast<int>((palette[(*source)[at]] >> (8 * channel)) & 0xFFu) * alpha;
        };
        for (int round = 0; round < 200; ++round) {
            const double angle = static_cast<double>(random() % 62832) / 10000.0;
            const double x = static_cast<double>(random() % 3000) / 100.0 - 20.0;
            const double y = static_cast<double>(random() % 3000) / 100.0 - 20.0;
            const Size block{1 + static_cast<int>(random() % 40), 1 + static_cast<int>(random() % 40)};
            PixelBuffer buffer(40, 40);
            for (int i = 0; i < 40 * 40; ++i)
                buffer.pixels()[i] = random();
            const std::vector<std::uint32_t> before(buffer.pixels(), buffer.pixels() + 40 * 40);
            made.picture->draw_rotated(x, y, block, angle, buffer);
            // The walk's fixed point, 44 fractional bits, from each row's start.
            const double one = static_cast<double>(std::int64_t{1} << 44);
            const std::int64_t stepX = std::llround(std::cos(angle) * one), stepY = std::llround(std::sin(angle) * one);
            for (int j = 0; j < 40; ++j)
                for (int i = 0; i < 40; ++i) {
                    const std::uint32_t d = before[static_cast<std::size_t>(j * 40 + i)];
                    std::uint32_t expected = d;
                    const std::int64_t px = (std::llround((x - j * std::sin(angle)) * one) + i * stepX) >> 28;
                    const std::int64_t py = (std::llround((y + j * std::cos(angle)) * one) + i * stepY) >> 28;
                    const int column = static_cast<int>(px >> 16), row = static_cast<int>(py >> 16);
                    if (i < block.w && j < block.h && column >= -1 && column < width && row >= -1 && row < height) {
                        const int fx = static_cast<int>((px >> 8) & 0xFF), fy = static_cast<int>((py >> 8) & 0xFF);
                        const int t = (fx * fy) >> 8;
                        const int w[4] = {256 - fx - fy + t, fx - t, fy - t, t};
                        int sums[4];
                        for (int channel = 0; channel < 4; ++channel)
                            sums[channel] = neighbour(column, row, channel) * w[0] + neighbour(column + 1, row, channel) * w[1] +
                                            neighbour(column, row + 1, channel) * w[2] + neighbour(column + 1, row + 1, channel) * w[3];
                        expected = d & 0xFF000000u;
                        for (int channel = 0; channel < 3; ++channel) {
                            const int value = static_cast<int>((d >> (8 * channel)) & 0xFFu);
                            expected |= static_cast<std::uint32_t>(value + ((sums[channel] - value * sums[3]) >> 16)) << (8 * channel);
                        }
                    }
                    ASSERT_EQ(buffer.pixels()[j * 40 + i], expected) << "round " << round << " at " << i << ", " << j;
                }
        }
    }
}

TEST(PictureDrawTest, ATurnedPictureShowsTheSamePixelsInEveryTile)
{
    // A turned knob's frame drawn into one buffer, and tile by tile into buffers that each hold
    // a part of it, as a window paints: every pixel the same, tiles cut at random.
    std::vector<std::uint8_t> pixels;
    const int side = 48;
    for (int j = 0; j < side; ++j)
        for (int i = 0; i < side; ++i) {
            const double distance = std::hypot(i - 23.5, j - 23.5);
            pixels.push_back(static_cast<std::uint8_t>((i * 5 + j * 3) % 256));
            pixels.push_back(static_cast<std::uint8_t>(std::clamp(23.5 - distance, 0.0, 1.0) * 255.0));
        }
    std::vector<std::uint32_t> palette(256);
    for (std::uint32_t i = 0; i < 256; ++i)
        palette[i] = i * 0x030201u;
    Picture frame;
    const Made made = picture(apic::kAlpha, 8, side, side, palette, pixels);
    frame.set_picture(made.picture.get());
    frame.set_hot_spot({24, 24});
    std::mt19937 random(31);
    for (int round = 0; round < 100; ++round) {
        const double angle = 0.01 + static_cast<double>(random() % 62832) / 10000.0;
        // The frame's centre in window pixels; the window 80 x 80.
        const double centreX = 30.0 + static_cast<double>(random() % 20), centreY = 30.0 + static_cast<double>(random() % 20);
        PixelBuffer whole(80, 80);
        whole.fill(kMarker, 0);
        frame.draw_rotated_at(-centreX, -centreY, {80, 80}, angle, whole);
        const int tileWidth = 8 + static_cast<int>(random() % 40), tileHeight = 8 + static_cast<int>(random() % 40);
        for (int top = 0; top < 80; top += tileHeight)
            for (int left = 0; left < 80; left += tileWidth) {
                PixelBuffer tile(tileWidth, tileHeight);
                tile.fill(kMarker, 0);
                frame.draw_rotated_at(left - centreX, top - centreY, {tileWidth, tileHeight}, angle, tile);
                for (int j = 0; j < tileHeight && top + j < 80; ++j)
                    for (int i = 0; i < tileWidth && left + i < 80; ++i)
                        ASSERT_EQ(tile.at(i, j), whole.at(left + i, top + j))
                            << "round " << round << " at " << left + i << ", " << top + j << " in the tile at " << left << ", " << top;
            }
    }
}

namespace {

struct Text {
    std::vector<std::uint8_t> bytes = apic::font({2, 3, 1}, 2);
    std::unique_ptr<FontInterface> font = FontFactory::instance().create(bytes.data(), bytes.size());

    // Which columns of a one-row strip the text covers, as a string of '#' and '.'.
    std::string columns(const std::string& text, int boxWidth, int alignment, Rect area = {0, 0, 0, 0}) const
    {
        if (area == Rect{})
            area = {0, 0, boxWidth, 2};
        PixelBuffer buffer(area.width(), 2);
        buffer.fill(0, 0);
        draw_text(*font, area, buffer, {{boxWidth, 2}, alignment, kRed, text});
        std::string covered;
        for (int x = 0; x < buffer.width(); ++x)
            covered += buffer.at(x, 0) ? '#' : '.';
        return covered;
    }
};

} // namespace

TEST(FontTest, TheMarkerRowCutsTheGlyphs)
{
    Text text;
    ASSERT_NE(text.font, nullptr);
    ASSERT_EQ(text.font->glyphs().size(), 3u);
    EXPECT_EQ(text.font->glyphs()[0].width, 2);
    EXPECT_EQ(text.font->glyphs()[1].left, 2);
    EXPECT_EQ(text.font->glyphs()[1].width, 3);
    EXPECT_EQ(text.font->glyphs()[2].left, 5);
    EXPECT_EQ(text.font->line_height(), 2);
}

TEST(FontTest, TextIsAlignedClippedAndSkipsBytesWithoutGlyphs)
{
    Text text;
    const std::string one{'\x01'};
    EXPECT_EQ(text.columns(one, 7, kAlignLeft), "###....");
    EXPECT_EQ(text.columns(one, 7, kAlignCentre), "..###..");
    EXPECT_EQ(text.columns(one, 7, kAlignRight), "....###");
    EXPECT_EQ(text.columns(one, 8, kAlignCentre), "..###...") << "halves round down";
    // Byte 7 has no glyph: skipped without a gap.
    EXPECT_EQ(text.columns(std::string{'\x00', '\x07', '\x02'}, 5, kAlignLeft), "###..");
    // Wider than its box, centred text starts left of it and is cut on both sides.
    EXPECT_EQ(text.columns(std::string{'\x01', '\x00'}, 3, kAlignCentre), "###");
    // A tile that starts inside the box draws the rest of the text in place.
    EXPECT_EQ(text.columns(one, 7, kAlignCentre, {3, 0, 7, 2}), "##..");

    PixelBuffer buffer(3, 3);
    buffer.fill(0, 0);
    draw_text(*text.font, {0, 0, 3, 3}, buffer, {{3, 3}, kAlignLeft, kRed, one});
    EXPECT_EQ(buffer.at(0, 0), 0x00FE0000u) << "full coverage: 255 * 255 >> 8";
    EXPECT_EQ(buffer.at(0, 2), 0u) << "the marker row is never drawn";
}

TEST(FontTest, MulticolourGlyphsUseTheirPaletteAndTransparency)
{
    // Two glyphs of one column; glyph 0 opaque palette 1, glyph 1 half transparent palette 2.
    const std::vector<std::uint8_t> bytes =
        apic::build(apic::kMulticolour, 8, 2, 2, {0, 0x000000FFu, 0x0000FF00u}, {1, 0, 2, 127, 0, 0, 1, 0});
    const std::unique_ptr<FontInterface> font = FontFactory::instance().create(bytes.data(), bytes.size());
    ASSERT_NE(font, nullptr);
    ASSERT_EQ(font->glyphs().size(), 2u);
    PixelBuffer buffer(2, 1);
    buffer.fill(0, 0);
    draw_text(*font, {0, 0, 2, 1}, buffer, {{2, 1}, kAlignLeft, kRed, std::string{'\x00', '\x01'}});
    EXPECT_EQ(buffer.at(0, 0), 0x000000FEu);
    EXPECT_EQ(buffer.at(1, 0), 0x00007F00u) << "255 * 128 >> 8";
}

TEST(RenderingBufferTest, FillsPlainOrAsACheckerboard)
{
    PixelBuffer buffer(32, 32);
    buffer.fill(kRed, 1);
    EXPECT_EQ(buffer.at(0, 0), kRed);
    EXPECT_EQ(buffer.at(8, 0), kWhite);
    EXPECT_EQ(buffer.at(0, 8), kWhite);
    EXPECT_EQ(buffer.at(8, 8), kRed);
    buffer.fill(kRed, 0);
    EXPECT_EQ(buffer.at(8, 0), kRed);
}
