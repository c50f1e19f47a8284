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
#include "storage/dictionary_state.h"
#include "storage/letter_buffer.h"
#include "storage/text_case.h"
#include "ui/edit_state.h"
#include "ui/lookup_command.h"

static const char kCaption[] = "Dictionary";

static void ShowDictionaryTitle() {
    std::string title = std::string(kCaption) + " - [" + CurrentDictionary.DisplayName + "]";
    SetMainWindowTitle(title.c_str());
}

int SelectDictionary(const char* folder) {
    if (IsOpenDictionary(folder)) return kResultOk;
    int result = OpenDictionary(folder);
    if (result != kResultOk) return result;
    ShowDictionaryTitle();
    if (EditState.WordText[0] != '\0') LookupWord(MissedDescription::Clear, PluralRetry::On);
    ApplyDictionaryFonts(CurrentDictionary.WordFont, CurrentDictionary.DescriptionFont);
    return kResultOk;
}

static void SelectCatalogIndex(int index) {
    if (index >= 0 && index < DictionaryCatalog.Count) SelectDictionary(DictionaryCatalog.Slots[index].Folder);
}

void NextDictionary() { SelectCatalogIndex(NextCatalogIndex()); }

void PreviousDictionary() { SelectCatalogIndex(PreviousCatalogIndex()); }

void DictionaryMenu() {
    std::vector<MenuItemSpec> items;
    for (int i = 0; i < DictionaryCatalog.Count; ++i) {
        const char* name = DictionaryCatalog.Slots[i].DisplayName;
        items.push_back({i + 1, name, EqualNoCase(name, CurrentDictionary.DisplayName)});
    }
    int chosen = TrackToolbarMenu(IDM_OPEN, items);
    if (chosen > 0) SelectCatalogIndex(chosen - 1);
}

void TellUnlistedDictionaries() {
    for (const UnnamableFolder& folder : UnlistedDictionaries()) {
        std::string text = "The dictionary in the folder '" + folder.name + "' is not listed: " +
                           UnheldCharacterReason(folder.unheld[0]) + ". Rename the folder to open it.";
        ShowMessageBox(text.c_str(), kCaption, kMsgIconError, folder.unheld + folder.unheld[0]);
    }
}

static void Tell(const char* format, const char* value, unsigned icon) {
    std::string text(std::strlen(format) + std::strlen(value) + 1, '\0');
    int n = std::snprintf(&text[0], text.size(), format, value);
    text.resize(n > 0 ? static_cast<size_t>(n) : 0);
    ShowMessageBox(text.c_str(), kCaption, icon);
}

void NewDictionary(const char* folder, int dual, int caseSensitive) {
    switch (CreateDictionary(folder, dual, caseSensitive)) {
    case CreateOutcome::AlreadyExists: Tell("Dictionary already exists in folder '%s'", folder, kMsgIconError); return;
    case CreateOutcome::FolderFailed: Tell("Error creating folder '%s'", folder, kMsgIconError); return;
    case CreateOutcome::FileFailed: Tell("Error creating file '%s'", HeaderPath(folder).c_str(), kMsgIconError); return;
    case CreateOutcome::Created: break;
    }
    // The new dictionary is not opened itself; a window that shows nothing
    // yet gets the first dictionary of the catalogue.
    if (LetterBuffer.Letter == 0 && DictionaryCatalog.Count > 0) SelectCatalogIndex(0);
    Tell("Dictionary '%s' successfuly created", folder, kMsgIconInformation);
}

void ApplyDictionaryInfo(const HeaderEdit& edit) {
    if (WriteDictionaryHeader(&edit)) ShowDictionaryTitle();
}
