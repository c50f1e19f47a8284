// An open dictionary as a value: its folder in the program folder, its
// header's fields, the letter it holds with the letters it keeps aside and
// their indexes, its suggestion word lists, and the word-form tables its
// look-ups fall back on. Rules take the dictionary they work on as a
// parameter (lookup/), so several can be open at once: the window's, and
// one for each dictionary the search in all dictionaries reads. Nothing
// here talks to the user: the outcomes say what happened, and the caller
// tells.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>

#include "platform/font_record.h"
#include "storage/dictionary_format.h"
#include "storage/dictionary_words.h"
#include "storage/kept_tables.h"
#include "storage/letter_bytes.h"
#include "storage/letter_cache.h"
#include "storage/text_case.h"

// The letter a dictionary holds: the one its last look-up, completion or
// change of an entry loaded, which browsing goes on from.
struct HeldLetter {
    unsigned char letter = 0;   // 0: none
    // The letter's file could not be read: the dictionary stands for the
    // letter without data, and the next load reads the file again.
    bool unread = false;
    std::shared_ptr<LetterBytes> bytes;   // null: no data (no file, an empty one, or unread)

    LetterView View() const { return bytes ? bytes->View() : LetterView{}; }
    bool Faulted() const { return bytes && bytes->Faulted(); }
};

class Dictionary {
public:
    explicit Dictionary(std::string programFolder = std::string()) : programFolder(std::move(programFolder)) {}
    Dictionary(Dictionary&&) = default;
    Dictionary& operator=(Dictionary&&) = default;
    // Two values never share a held letter's index, which searches build.
    Dictionary(const Dictionary&) = delete;
    Dictionary& operator=(const Dictionary&) = delete;

    // The folder the dictionaries are in, as the caller gave it: every file
    // is opened inside it. Empty: names as given, from the folder the
    // caller made current (the window enters its program folder at start).
    std::string programFolder;
    // The dictionary's folder in the program folder, as the catalogue names
    // it; empty while no dictionary is open. Messages name files by it.
    std::string folder;
    // The header's fields. Opening another dictionary keeps the value a
    // field had where its header is too short to hold it.
    std::string displayName;
    int32_t dual = 1;
    int32_t caseSensitive = 0;
    FontRecord wordFont = DefaultFont;
    FontRecord descriptionFont = DefaultFont;

    HeldLetter held;
    KeptLetters kept;
    HeldWordLists wordLists;
    // The program folder's word-form tables and frequency table.
    KeptTables formsTables{8};
    KeptTables wordCounts{1};

    bool IsOpen() const { return !folder.empty(); }
    // How the dictionary compares its words.
    CaseRule Rule() const { return CaseRuleOf(caseSensitive); }
    // Whether `name` names this dictionary's folder (ASCII case aside).
    bool Is(const char* name) const { return IsOpen() && EqualNoCase(name, folder.c_str()); }
    // A name of the program folder as files are opened.
    std::string InProgramFolder(const std::string& name) const { return ProgramFolderPath(programFolder, name); }
    // The dictionary's folder, and a letter file in it, as files are opened.
    std::string Path() const { return InProgramFolder(folder); }
    std::string LetterFilePath(unsigned char letter) const { return LetterPath(Path(), letter); }
};

enum class OpenOutcome {
    Opened,        // its header was read into the value, which holds no letter now
    AlreadyOpen,   // the value holds that folder already (ASCII case aside): nothing changed
    NoHeader,      // its header is missing or cannot be read: nothing changed
};
// Opens the dictionary in `folder` of the value's program folder. A change
// of several files that a killed writer left is finished first.
OpenOutcome OpenDictionary(Dictionary& dictionary, const char* folder);

enum class CreateOutcome {
    Created,         // the folder and its header are there
    AlreadyExists,   // the folder holds a header already: nothing changed
    FolderFailed,    // the name is no plain folder name, or the folder cannot be made
    FileFailed,      // the header cannot be written
};
// Makes the folder `folder` of `programFolder` (unless it is there without
// a header) with a new header: the folder name as the display name, the two
// flags and DefaultFont twice. The caller lists the catalogue again.
CreateOutcome CreateDictionary(const std::string& programFolder, const char* folder, int dual, int caseSensitive);

// The information dialog's fields: the display name and the two flags.
struct HeaderEdit {
    const char* name;
    bool dual;
    bool caseSensitive;
};
// Rewrites the dictionary's header from the value, with the dialog's fields
// when `edit` is given (the value takes them). False, changing nothing,
// when the header cannot be read or written.
bool WriteDictionaryHeader(Dictionary& dictionary, const HeaderEdit* edit);

// Keeps, for later processes, the indexes of the letters and tables the
// dictionary holds that were only walked (storage/letter_index_store.h):
// one look-up walks a letter rather than index it, and the next process
// halves it.
void KeepWalkedIndexes(Dictionary& dictionary);

// True for a name that is one plain folder inside the program folder.
bool IsPlainFolderName(const char* name);
