// The programs running from the program folder (the current directory),
// whose files the installer must not replace or remove under them.
#pragma once

#include <string>
#include <vector>

// Asks every copy of Dictionary.exe running from the folder to quit (the
// registered QUIT_REQUEST_MESSAGE, which a window that only hides when
// closed obeys too) and waits up to `waitMilliseconds` for every program
// of the folder, dictionary-tool included, to end. The paths of those
// still running; none when all have ended.
std::vector<std::string> EndProgramsRunningHere(int waitMilliseconds);
