// The text field that platforms without a native one draw themselves: what keys do to the
// text, the caret and the selection, and where they appear in the field.
#include "ApicBuilder.h"

#include "FontFactory.h"
#include "FontInterface.h"
#include "RenderingBufferInterface.h"
#include "TextLineEditor.h"

#include <gtest/gtest.h>

using namespace pengui;
using Key = TextLineEditor::Key;

TEST(TextLineEditorTest, KeysEditTheTextAroundTheCaretAndTheSelection)
{
    TextLineEditor editor;
    editor.open("120");
    EXPECT_EQ(editor.selection_start(), 0u);
    EXPECT_EQ(editor.selection_end(), 3u) << "opening selects everything";
    editor.insert("4");
    EXPECT_EQ(editor.text(), "4") << "typing replaces the selection";

    editor.open("120");
    editor.press(Key::kLeft);
    EXPECT_EQ(editor.caret(), 0u) << "Left collapses a selection to its start";
    EXPECT_FALSE(editor.has_selection());
    editor.press(Key::kBackspace);
    editor.press(Key::kLeft);
    EXPECT_EQ(editor.text(), "120") << "nothing before the start";
    editor.press(Key::kDelete);
    EXPECT_EQ(editor.text(), "20");
    editor.press(Key::kEnd);
    editor.press(Key::kDelete);
    EXPECT_EQ(editor.text(), "20") << "nothing after the end";
    editor.press(Key::kBackspace);
    editor.insert("5.");
    EXPECT_EQ(editor.text(), "25.");
    editor.press(Key::kHome);
    editor.press(Key::kRight, true);
    editor.press(Key::kRight, true);
    EXPECT_EQ(editor.selection_start(), 0u);
    EXPECT_EQ(editor.selection_end(), 2u) << "Shift extends from the anchor";
    editor.press(Key::kBackspace);
    EXPECT_EQ(editor.text(), ".");
    editor.press(Key::kEnd, true);
    editor.press(Key::kRight);
    EXPECT_EQ(editor.caret(), 1u) << "Right collapses a selection to its end";

    editor.open("");
    editor.insert(std::string("a\tb\x7F\x85\xE9\n", 7));
    EXPECT_EQ(editor.text(), "ab\xE9") << "control characters are dropped, Latin-1 letters kept";
}

TEST(TextLineEditorTest, TextNeverGrowsPastTheLongestText)
{
    TextLineEditor editor;
    editor.open(std::string(5000, '7'));
    EXPECT_EQ(editor.text().size(), TextLineEditor::kLongestText);
    editor.press(Key::kHome);
    editor.insert("123");
    EXPECT_EQ(editor.text().size(), TextLineEditor::kLongestText);
    EXPECT_EQ(editor.text().front(), '7') << "typing at the limit is ignored";
    editor.press(Key::kBackspace);
    editor.press(Key::kEnd);
    editor.press(Key::kBackspace);
    editor.insert("123");
    EXPECT_EQ(editor.text().size(), TextLineEditor::kLongestText);
    EXPECT_EQ(editor.text().substr(editor.text().size() - 1), "1") << "what fits is taken";
}

TEST(TextLineEditorTest, TheFieldShowsTheCaretAndSelectionAndScrollsLongTextToTheCaret)
{
    // Glyphs two columns wide and eight rows high, their top row empty, so the selection shows
    // through it.
    std::vector<std::uint8_t> bytes = apic::font(std::vector<int>(128, 2), 8);
    for (int x = 0; x < 256; ++x)
        bytes[36 + static_cast<std::size_t>(x)] = 0;
    const std::unique_ptr<FontInterface> font = FontFactory::instance().create(bytes.data(), bytes.size());
    ASSERT_NE(font, nullptr);
    const TextStyle style{font.get(), 0xFFFFFF};
    const Size size{40, 12};
    PixelBuffer buffer(40, 12);
    TextLineEditor editor;
    const int top = 2; // (12 - 8) / 2
    const std::uint32_t white = 0xFFFFFF;
    const std::uint32_t field = TextLineEditor::field_colour(style);
    const std::uint32_t selection = TextLineEditor::selection_colour(style);
    EXPECT_EQ(field, 0x101214u) << "dark behind light text";
    EXPECT_EQ(TextLineEditor::field_colour({font.get(), 0x202020}), 0xFFFFFFu) << "light behind dark text";

    editor.open("AB");
    editor.draw(buffer, size, style, true);
    EXPECT_EQ(buffer.at(0, 0), field);
    EXPECT_EQ(buffer.at(18, top), selection) << "short text is centred, all selected";
    EXPECT_EQ(buffer.at(17, top), field);
    EXPECT_EQ(buffer.at(18, top + 1) & 0xF0F0F0, 0xF0F0F0u) << "the glyphs, blended at full coverage";
    EXPECT_EQ(buffer.at(22, top), white) << "the caret after the text";
    editor.draw(buffer, size, style, false);
    EXPECT_EQ(buffer.at(22, top), field) << "the caret blinks off";

    editor.press(Key::kHome);
    editor.draw(buffer, size, style, true);
    EXPECT_EQ(buffer.at(18, top), white) << "the caret before the text";
    EXPECT_EQ(buffer.at(19, top), field) << "no selection left";

    // Thirty glyphs are 60 columns in a field of 40: the caret at the end stays inside.
    editor.open(std::string(30, 'x'));
    editor.draw(buffer, size, style, true);
    EXPECT_EQ(buffer.at(37, top), white) << "scrolled to show the caret at the end";
    EXPECT_EQ(buffer.at(0, top), selection);
    editor.press(Key::kHome);
    editor.draw(buffer, size, style, true);
    EXPECT_EQ(buffer.at(2, top), white) << "back at the start";
    EXPECT_EQ(buffer.at(1, top + 1), field) << "with the padding before the text";

    // A field too small for any padding still shows the caret; one without a font, the field.
    PixelBuffer tiny(3, 3);
    const TextStyle withoutFont{nullptr, 0xFFFFFF};
    editor.press(Key::kEnd);
    editor.draw(tiny, {3, 3}, style, true);
    EXPECT_EQ(tiny.at(2, 0), white);
    editor.draw(tiny, {3, 3}, withoutFont, false);
    EXPECT_EQ(tiny.at(2, 0), field);
}
