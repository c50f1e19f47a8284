// Just enough JSON for the tool's output: strings and their escaping.
#pragma once

#include <string>

// The text as a quoted JSON string: control bytes are escaped, bytes that
// are not UTF-8 become U+FFFD, everything else is kept as it is.
std::string JsonString(const std::string& text);
