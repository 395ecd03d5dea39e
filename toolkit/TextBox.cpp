#include "TextBox.h"

#include "EventListenerInterface.h"
#include "Messages.h"

namespace pengui {

void TextBox::set_text(const std::string& text)
{
    settings_.text = text.substr(0, kLongestText);
    request_redraw();
}

void TextBox::set_text_size(Size size)
{
    settings_.size = size;
    request_redraw();
}

void TextBox::set_alignment(int alignment)
{
    settings_.alignment = alignment;
    request_redraw();
}

void TextBox::set_colour(std::uint32_t colour)
{
    settings_.colour = colour;
    request_redraw();
}

void TextBox::on_hide()
{
    if (editing_) {
        TextInputStop stop(this);
        handle_message(stop);
    }
}

int TextBox::on_mouse_click(MouseClick& message)
{
    if (message.buttons == 0 || !editable_ || editing_ || !enabled())
        return 0;
    on_hide();
    const Point at = window_position();
    const Rect field{at.x - textOffset_.x, at.y - textOffset_.y, at.x - textOffset_.x + settings_.size.w,
                     at.y - textOffset_.y + settings_.size.h};
    TextInputRequest request(this, settings_.text, field, {font_, settings_.colour});
    editing_ = handle_message(request) == 0;
    return 0;
}

int TextBox::on_text_input_finished(TextInputFinished& message)
{
    const bool take = editing_ && message.accepted;
    editing_ = false;
    if (take) {
        settings_.text = message.text.substr(0, kLongestText);
        if (EventListenerInterface* listening = listener())
            listening->action(1, 0);
        request_redraw();
    }
    return 0;
}

int TextBox::on_redraw(Redraw& message)
{
    const Rect area = local(message.area);
    background_.draw(area, message.buffer);
    if (font_)
        draw_text(*font_, area.moved(textOffset_), message.buffer, settings_);
    foreground_.draw(area, message.buffer);
    return 0;
}

} // namespace pengui
