// What writers that were cut short leave behind: temp files of single
// writes, the staging area of a change of several files, and the hidden
// folder where a new dictionary was being made.
#pragma once

#include <string>
#include <vector>

#include "maintenance/check_report.h"

// Leftovers of `folder`, and the imports of any dictionary of the program
// folder that were cut short, with a problem line each.
void FindLeftovers(const std::string& folder, CheckReport& report);
// Finishes or undoes a change cut short, removes temp files, and gives a
// complete new dictionary its name (or removes a half-made one); what was
// done goes to `notes`. False when something stays.
bool RemoveLeftovers(const std::string& folder, const Leftovers& leftovers, std::vector<std::string>& notes);
