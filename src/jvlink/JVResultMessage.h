#pragma once
// The explanations of JV-Link's result codes, as the windows and the command
// line show them (Shift-JIS).
#include <string>
#include <string_view>

namespace furlong {

// The explanation of a JV-Link result code followed by "(code)".
std::string JVResultMessage(std::string_view operation, int code);

}  // namespace furlong
