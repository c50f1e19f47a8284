// Elsewhere no program of a Windows program folder runs.
#include "tools/running_programs.h"

std::vector<std::string> EndProgramsRunningHere(int) { return {}; }
