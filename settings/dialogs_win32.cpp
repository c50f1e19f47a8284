// The options sheet arrives with its own change; until then its command
// opens nothing.
#include "ui/windows_win32.h"

void ShowOptionsSheet(int) {}
