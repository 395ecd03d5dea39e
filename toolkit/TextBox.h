#pragma once

#include "ControlInterface.h"
#include "DrawText.h"
#include "Picture.h"

namespace pengui {

class FontInterface;

// A line of text in a font; when editable, a press opens the window's text editor over it and
// a text accepted there replaces the text and tells the listener (action 1).
class TextBox : public ControlInterface {
public:
    // Longest text a box keeps, from the editor or the application.
    static constexpr std::size_t kLongestText = 1023;

    void set_background(const Picture& picture) { background_ = picture; }
    void set_foreground(const Picture& picture) { foreground_ = picture; }
    void set_font(const FontInterface* font) { font_ = font; }
    // Where the text's top-left lies: the control origin minus this offset.
    void set_text_offset(Point offset) { textOffset_ = offset; }
    void set_editable(bool editable) { editable_ = editable; }
    bool editing() const { return editing_; }

    void set_text(const std::string& text);
    void set_text_size(Size size);
    void set_alignment(int alignment);
    void set_colour(std::uint32_t colour);
    const std::string& text() const { return settings_.text; }
    const TextSettings& settings() const { return settings_; }

    void on_hide() override;

protected:
    int on_redraw(Redraw& message) override;
    int on_mouse_click(MouseClick& message) override;
    int on_text_input_finished(TextInputFinished& message) override;

private:
    Picture background_;
    Picture foreground_;
    Point textOffset_;
    TextSettings settings_;
    const FontInterface* font_ = nullptr;
    bool editable_ = false;
    bool editing_ = false;
};

} // namespace pengui
