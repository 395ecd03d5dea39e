#pragma once

#include <string>

// Literals for the bundle's Turtle files.
namespace turtle {

// A float that reads back as the same float, in Turtle's decimal or double form.
std::string number(float value);
// A quoted string.
std::string quoted(const std::string& text);
// A name as a piece of a URI: lower case letters and digits, each run of others one hyphen.
std::string slug(const std::string& name);

} // namespace turtle
