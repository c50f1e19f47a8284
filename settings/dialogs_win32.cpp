// The two dictionary dialogs arrive with their own change; until then
// their commands open nothing.
#include "ui/windows_win32.h"

void ShowNewDictionaryDialog() {}
void ShowDictionaryInfo() {}
