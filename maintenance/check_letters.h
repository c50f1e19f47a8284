// The letter files of a dictionary checked entry by entry, in little memory.
#pragma once

#include <string>

#include "maintenance/check_report.h"

// Every letter file of `folder`, with a problem line each; with a dual
// header also a note for each entry whose reverse entry is missing.
void CheckLetterFiles(const std::string& folder, CheckReport& report);
