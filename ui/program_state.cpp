#include "ui/program_state.h"

Dictionary CurrentDictionary;
CatalogRecord DictionaryCatalog;
WordHistoryRecord WordHistory;
SettingsRecord Settings;
EditStateRecord EditState;

void ResetProgramState() {
    CurrentDictionary = Dictionary();
    DictionaryCatalog = CatalogRecord{};
    WordHistory = WordHistoryRecord{};
    EditState = EditStateRecord{};
    Settings = SettingsRecord{};
}
