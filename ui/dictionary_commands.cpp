#include "ui/dictionary_commands.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/cp1251.h"
#include "platform/dictionary_fonts.h"
#include "platform/window.h"
#include "res/resource.h"
#include "storage/catalog.h"
#include "storage/text_case.h"
#include "ui/edit_state.h"
#include "ui/lookup_command.h"
#include "ui/program_state.h"

static const char kCaption[] = "Dictionary";

static void ShowDictionaryTitle() {
    std::string title = std::string(kCaption) + " - [" + CurrentDictionary.displayName + "]";
    SetMainWindowTitle(title.c_str());
}

OpenOutcome SelectDictionary(const char* folder) {
    const OpenOutcome outcome = OpenDictionary(CurrentDictionary, folder);
    if (outcome != OpenOutcome::Opened) return outcome;
    ShowDictionaryTitle();
    if (EditState.WordText[0] != '\0') LookupWord(MissedDescription::Clear, PluralRetry::On);
    ApplyDictionaryFonts(CurrentDictionary.wordFont, CurrentDictionary.descriptionFont);
    return outcome;
}

static void SelectCatalogIndex(int index) {
    if (index >= 0 && index < DictionaryCatalog.Count) SelectDictionary(DictionaryCatalog.Slots[index].Folder);
}

void NextDictionary() { SelectCatalogIndex(NextCatalogIndex(DictionaryCatalog, CurrentDictionary)); }

void PreviousDictionary() { SelectCatalogIndex(PreviousCatalogIndex(DictionaryCatalog, CurrentDictionary)); }

void OpenStartDictionary() {
    DictionaryCatalog = ListDictionaries(CurrentDictionary.programFolder);
    for (const UnnamableFolder& folder : UnlistedDictionaries(CurrentDictionary.programFolder)) {
        std::string text = "The dictionary in the folder '" + folder.name + "' is not listed: " +
                           UnheldCharacterReason(folder.unheld[0]) + ". Rename the folder to open it.";
        ShowMessageBox(text.c_str(), kCaption, kMsgIconError, folder.unheld + folder.unheld[0]);
    }
    SelectDictionary(Settings.startDictionary);
}

void DictionaryMenu() {
    std::vector<MenuItemSpec> items;
    for (int i = 0; i < DictionaryCatalog.Count; ++i) {
        const char* name = DictionaryCatalog.Slots[i].DisplayName;
        items.push_back({i + 1, name, EqualNoCase(name, CurrentDictionary.displayName.c_str())});
    }
    int chosen = TrackToolbarMenu(IDM_OPEN, items);
    if (chosen > 0) SelectCatalogIndex(chosen - 1);
}

static void Tell(const char* format, const char* value, unsigned icon) {
    std::string text(std::strlen(format) + std::strlen(value) + 1, '\0');
    int n = std::snprintf(&text[0], text.size(), format, value);
    text.resize(n > 0 ? static_cast<size_t>(n) : 0);
    ShowMessageBox(text.c_str(), kCaption, icon);
}

void NewDictionary(const char* folder, int dual, int caseSensitive) {
    switch (CreateDictionary(CurrentDictionary.programFolder, folder, dual, caseSensitive)) {
    case CreateOutcome::AlreadyExists: Tell("Dictionary already exists in folder '%s'", folder, kMsgIconError); return;
    case CreateOutcome::FolderFailed: Tell("Error creating folder '%s'", folder, kMsgIconError); return;
    case CreateOutcome::FileFailed: Tell("Error creating file '%s'", HeaderPath(folder).c_str(), kMsgIconError); return;
    case CreateOutcome::Created: break;
    }
    DictionaryCatalog = ListDictionaries(CurrentDictionary.programFolder);
    // The new dictionary is not opened itself; a window that shows nothing
    // yet gets the first dictionary of the catalogue.
    if (CurrentDictionary.held.letter == 0 && DictionaryCatalog.Count > 0) SelectCatalogIndex(0);
    Tell("Dictionary '%s' successfuly created", folder, kMsgIconInformation);
}

void ApplyDictionaryInfo(const HeaderEdit& edit) {
    // The catalogue slot that had the old name takes the new one.
    const int slot = FindCatalogIndex(DictionaryCatalog, CurrentDictionary.displayName.c_str(), 1);
    if (!WriteDictionaryHeader(CurrentDictionary, &edit)) return;
    if (slot >= 0) {
        CatalogEntry& entry = DictionaryCatalog.Slots[slot];
        std::snprintf(entry.DisplayName, sizeof entry.DisplayName, "%s", CurrentDictionary.displayName.c_str());
    }
    ShowDictionaryTitle();
}
