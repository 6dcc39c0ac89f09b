#pragma once

#include <string>
#include <string_view>

// UTF-8 text with its control characters written out ("\r", "\t", "\xNN", "\u0080" to "\u009F"),
// so that text from outside cannot move a terminal's cursor or break a line of a command's
// output.
std::string EscapedControls(std::string_view text);
