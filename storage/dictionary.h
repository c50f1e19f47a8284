// Dictionary folders: the 192-byte header 00.dat, the open dictionary and the
// catalogue of the dictionaries found beside the program.
#pragma once

#include <cstdint>

#include "storage/lookup_result.h"

// The raw 60-byte font record kept in the header (a Win32 LOGFONTA).
struct FontRecord {
    int32_t height, width, escapement, orientation, weight;
    uint8_t italic, underline, strikeOut, charSet;
    uint8_t outPrecision, clipPrecision, quality, pitchAndFamily;
    char faceName[32];
};
static_assert(sizeof(FontRecord) == 60, "header font record is 60 bytes");

constexpr int kHeaderSize = 192;
constexpr int kHeaderNameSize = 64;
constexpr int kCatalogSlots = 100;
constexpr int kCatalogFolderSize = 192;

extern const FontRecord DefaultFont;

struct OpenDictionaryRecord {
    char Folder[256];        // empty: no dictionary is open
    char DisplayName[256];
    int32_t Dual;
    int32_t CaseSensitive;
    FontRecord WordFont;
    FontRecord DescriptionFont;
};
extern OpenDictionaryRecord CurrentDictionary;

struct CatalogEntry {
    char Folder[kCatalogFolderSize];
    // The header's first 64 bytes plus a terminator of our own, so a name
    // that fills its whole field still reads as a string.
    char DisplayName[kHeaderNameSize + 1];
};
extern CatalogEntry DictionaryCatalog[kCatalogSlots];
extern int CatalogCount;

// Dialog fields for WriteDictionaryHeader (the information dialog's name and
// its two check boxes); null keeps the current name and flags.
struct HeaderEdit {
    const char* name;
    bool dual;
    bool caseSensitive;
};

void ListDictionaries();
int OpenDictionary(const char* folder);
void CreateDictionary(const char* folder, int dual, int caseSensitive);
void WriteDictionaryHeader(const HeaderEdit* dialog);
int FindCatalogIndex(const char* name, int byDisplayName);
int CurrentCatalogIndex();
void NextDictionary();
void PreviousDictionary();
void DictionaryMenu();

// The 192 header bytes for the given fields.
void BuildHeader(unsigned char out[kHeaderSize], const char* name, int32_t dual,
                 int32_t caseSensitive, const FontRecord& wordFont,
                 const FontRecord& descriptionFont);
// True for a name that is one plain folder inside the program folder.
bool IsPlainFolderName(const char* name);
// Forgets the open dictionary and the catalogue (start of a test or a run).
void ResetDictionaryState();

// Called when a dictionary's fonts must reach the edits; the program sets
// this, the headless platform leaves it empty.
extern void (*ApplyDictionaryFontsHook)();
