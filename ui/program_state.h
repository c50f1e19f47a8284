// The window's records, each owned here at the top and handed to the rules
// below as a parameter: the open dictionary (with its held letter and the
// tables its look-ups keep), the catalogue of the program folder, the
// history, the settings and the edits' state. The Win32 handles are
// WindowState's (platform/window_state_win32.h). The program, the tests,
// the fuzz case and the benchmarks all start from here.
#pragma once

#include "lookup/history.h"
#include "settings/settings.h"
#include "storage/catalog.h"
#include "storage/dictionary.h"
#include "ui/edit_record.h"

// The window's dictionary. Its program folder is empty: the window enters
// the program folder at start (ui/program_win32.cpp), and the tests run in
// theirs.
extern Dictionary CurrentDictionary;
extern CatalogRecord DictionaryCatalog;
extern WordHistoryRecord WordHistory;
extern SettingsRecord Settings;
extern EditStateRecord EditState;

// Every record back to its start: no dictionary open, an empty catalogue
// and history, the edits' state and the default settings.
void ResetProgramState();
