// Just enough JSON for the tool's output: strings and their escaping.
#pragma once

#include <string>

// The text as a quoted JSON string. The text must be UTF-8; control bytes
// are escaped, everything else is kept as it is.
std::string JsonString(const std::string& text);
