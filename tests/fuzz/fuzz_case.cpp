#include "tests/fuzz/fuzz_case.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

#include "lookup/description.h"
#include "platform/headless.h"
#include "settings/settings.h"
#include "storage/catalog.h"
#include "storage/dictionary_format.h"
#include "storage/letter_file.h"
#include "storage/text_case.h"
#include "ui/dictionary_commands.h"
#include "ui/edit_state.h"
#include "ui/lookup_command.h"
#include "ui/program_headless.h"
#include "ui/program_state.h"

namespace fs = std::filesystem;

namespace {

const char kFolder[] = "Fuzz";
// Stands in the description edit before a look-up, to see whether it changed.
const char kUntouched[] = "\x01untouched";

std::string g_failure;
const char* g_stage = "";

void Check(bool ok, const char* rule) {
    if (!ok && g_failure.empty()) g_failure = std::string(g_stage) + ": " + rule;
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string LetterFilePath(unsigned char letter) { return kFolder + std::string("/") + LetterFileName(letter); }

size_t Pick(std::mt19937_64& random, size_t bound) { return bound ? random() % bound : 0; }
bool OneIn(std::mt19937_64& random, unsigned n) { return random() % n == 0; }

// The strings of a letter file as the held list sees them: the appended NUL
// ends an unterminated last string.
std::vector<std::string> Strings(const std::string& file) {
    std::vector<std::string> strings;
    size_t start = 0;
    while (start < file.size()) {
        size_t end = file.find('\0', start);
        if (end == std::string::npos) end = file.size();
        strings.push_back(file.substr(start, end - start));
        start = end + 1;
    }
    return strings;
}

// Entries a look-up must find: those of a file made only of complete entries
// with non-empty words and descriptions, words that belong to this letter
// and that the word edit can hold without trimming.
std::vector<std::string> FindableWords(const std::string& file, unsigned char letter) {
    std::vector<std::string> strings = Strings(file), words;
    if (file.empty() || file.back() != '\0' || strings.size() % 2) return {};
    for (size_t i = 0; i < strings.size(); ++i) {
        const std::string& s = strings[i];
        if (s.empty()) return {};
        if (i % 2) continue;
        if (FoldChar(static_cast<unsigned char>(s[0]), CurrentDictionary.Rule()) != letter || s.front() == ' ' ||
            s.back() == ' ' || s.size() >= static_cast<size_t>(kWordTextSize))
            return {};
        words.push_back(s);
    }
    return words;
}

// Entries DictionaryStatistics counts in one file: strings up to the first
// empty one, halved.
unsigned long long CountedEntries(const std::string& file) {
    unsigned long long strings = 0;
    for (const std::string& s : Strings(file)) {
        if (s.empty()) break;
        ++strings;
    }
    return strings / 2;
}

bool OnlyAllowedBytes(const std::string& text, const bool allowed[256]) {
    for (unsigned char c : text)
        if (!allowed[c]) return false;
    return true;
}

size_t FirstNonSpace(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    return i;
}

bool IsBlank(const std::string& text) { return FirstNonSpace(text) == text.size(); }

std::string RandomBytes(std::mt19937_64& random, size_t length) {
    static const char kAlphabet[] = "abcsASZ }{;.12 \r\n\xC0\xDF\xE0\xFF\xB8\xA8";
    std::string bytes;
    for (size_t i = 0; i < length; ++i) {
        unsigned char c = OneIn(random, 3) ? static_cast<unsigned char>(1 + Pick(random, 255))
                                           : kAlphabet[Pick(random, sizeof kAlphabet - 1)];
        bytes += static_cast<char>(c);
    }
    return bytes;
}

// A word to type: stored strings and their parts, plurals, blanks, noise.
std::string PickWord(std::mt19937_64& random, const std::vector<std::string>& stored,
                     unsigned char letterByte) {
    std::string word = stored.empty() ? std::string("a") : stored[Pick(random, stored.size())];
    switch (Pick(random, 9)) {
    case 0: break;
    case 1: word = word.substr(0, Pick(random, word.size() + 1)); break;
    case 2: word = word.substr(Pick(random, word.size() + 1)); break;
    case 3: word += OneIn(random, 2) ? "s" : "S"; break;
    case 4: word = std::string(1 + Pick(random, 3), ' ') + word + std::string(Pick(random, 4), ' '); break;
    case 5: word = std::string(Pick(random, 4), ' '); break;
    case 6: word = std::string(900 + Pick(random, 300), 'a'); break;
    default: word = RandomBytes(random, 1 + Pick(random, 12)); break;
    }
    // Mostly start in the letter file under test, so the scan runs over it.
    if (!word.empty() && word[0] != ' ' && OneIn(random, 2)) word[0] = static_cast<char>(letterByte);
    return word;
}

void CheckCatalogue(const FuzzCase& fuzzCase) {
    g_stage = "catalogue";
    std::multimap<std::string, const std::string*> expected;
    for (const FuzzItem& item : fuzzCase.others)
        if (item.isFolder && item.hasHeader && item.name[0] != '.' && item.name.size() < 192)
            expected.emplace(item.name, &item.header);
    if (fuzzCase.hasHeader) expected.emplace(kFolder, &fuzzCase.header);

    DictionaryCatalog = ListDictionaries("");
    Check(DictionaryCatalog.Count == static_cast<int>(expected.size()), "exactly the folders with a header are listed");
    for (int i = 0; i < DictionaryCatalog.Count; ++i) {
        const CatalogEntry& slot = DictionaryCatalog.Slots[i];
        auto found = expected.find(slot.Folder);
        Check(found != expected.end(), "a listed folder has a header");
        if (found == expected.end()) continue;
        const std::string& header = *found->second;
        size_t n = header.size() < 64 ? header.size() : 64;
        Check(std::memcmp(slot.DisplayName, header.data(), n) == 0, "display name is the header's first bytes");
        for (size_t k = n; k < sizeof slot.DisplayName; ++k)
            Check(slot.DisplayName[k] == '\0', "display name is terminated after the bytes read");
        expected.erase(found);
    }
}

void CheckOpenedHeader(const std::string& header) {
    g_stage = "header";
    if (!header.empty()) {
        std::string name(header, 0, header.size() < 64 ? header.size() : 64);
        Check(CurrentDictionary.displayName == name.c_str(), "display name read from the header");
        Check(Headless().title == "Dictionary - [" + std::string(name.c_str()) + "]", "title names the dictionary");
    }
    if (header.size() >= 72) {
        int32_t caseSensitive;
        std::memcpy(&caseSensitive, header.data() + 68, 4);
        Check(CurrentDictionary.caseSensitive == caseSensitive, "case-sensitive flag read from the header");
    }
    if (header.size() <= 72) {
        Check(std::memcmp(&CurrentDictionary.wordFont, &DefaultFont, sizeof DefaultFont) == 0 &&
                  std::memcmp(&CurrentDictionary.descriptionFont, &DefaultFont, sizeof DefaultFont) == 0,
              "a short header opens with the default fonts");
    }
    Check(strnlen(CurrentDictionary.wordFont.faceName, 32) < 32 &&
              strnlen(CurrentDictionary.descriptionFont.faceName, 32) < 32,
          "face names are terminated");
}

void CheckBufferHolds(const std::string& file) {
    const LetterView held = CurrentDictionary.held.View();
    if (file.empty()) {
        Check(held.data == nullptr && held.length == 0, "an empty file holds nothing");
        return;
    }
    const int32_t length = static_cast<int32_t>(file.size() + 1);
    Check(held.data != nullptr && held.length == length, "Length is the file size + 1");
    if (!held.data || held.length != length) return;
    Check(std::memcmp(held.data, file.data(), file.size()) == 0, "the buffer holds the file's bytes");
    Check(held.data[file.size()] == 0, "the buffer ends with the appended NUL");
}

}  // namespace

void ClearProgramFolder(const std::string& root) {
    // Never anything outside the system's temporary folder.
    fs::path base = fs::weakly_canonical(fs::temp_directory_path());
    fs::path folder = fs::weakly_canonical(root);
    auto rel = folder.lexically_relative(base);
    if (rel.empty() || rel.native()[0] == '.') return;
    std::error_code ignored;
    for (const auto& entry : fs::directory_iterator(folder, ignored)) fs::remove_all(entry.path(), ignored);
}

std::string RunFuzzCase(const FuzzCase& fuzzCase, std::mt19937_64& random) {
    g_failure.clear();
    StartHeadlessProgram();
    Settings.autoComplete = 0;

    for (const FuzzItem& item : fuzzCase.others) {
        if (!item.isFolder) {
            WriteFile(item.name, item.header);
            continue;
        }
        fs::create_directory(item.name);
        if (item.hasHeader) WriteFile(item.name + "/00.dat", item.header);
    }
    fs::create_directory(kFolder);
    if (fuzzCase.hasHeader) WriteFile(std::string(kFolder) + "/00.dat", fuzzCase.header);

    // The letter file goes under its first byte folded either way, since
    // the header may or may not make the dictionary case-sensitive.
    unsigned char letterByte = 'a';
    for (char c : fuzzCase.letterFile)
        if (c) {
            letterByte = static_cast<unsigned char>(c);
            break;
        }
    CurrentDictionary.caseSensitive = 0;
    std::map<unsigned char, std::string> files;
    for (const auto& other : fuzzCase.otherLetters)
        if (other.first) files[other.first] = other.second;
    files[letterByte] = fuzzCase.letterFile;
    files[FoldChar(letterByte, CaseRule::Folded)] = fuzzCase.letterFile;
    for (const auto& file : files) WriteFile(LetterFilePath(file.first), file.second);
    bool allowed[256] = {};
    for (const auto& file : files)
        for (unsigned char c : file.second) allowed[c] = true;
    allowed[static_cast<unsigned char>('\r')] = allowed[static_cast<unsigned char>('\n')] = true;

    CheckCatalogue(fuzzCase);

    g_stage = "opening";
    for (int n = static_cast<int>(Pick(random, 3)); n > 0 && DictionaryCatalog.Count > 0; --n) {
        const char* folder = DictionaryCatalog.Slots[Pick(random, DictionaryCatalog.Count)].Folder;
        Check(SelectDictionary(folder) != OpenOutcome::NoHeader, "a listed dictionary opens");
        Check(EqualNoCase(CurrentDictionary.folder.c_str(), folder), "the opened dictionary is current");
    }
    std::string before = CurrentDictionary.folder;
    Check(SelectDictionary("Missing") == OpenOutcome::NoHeader, "a folder without a header does not open");
    Check(before == CurrentDictionary.folder, "a failed open changes nothing");

    std::vector<std::string> stored = Strings(fuzzCase.letterFile);
    if (OneIn(random, 2)) SetWordEditText(PickWord(random, stored, letterByte).c_str());
    const OpenOutcome opened = SelectDictionary(kFolder);
    Check(fuzzCase.hasHeader ? opened != OpenOutcome::NoHeader : opened == OpenOutcome::NoHeader,
          "open answers by the header");
    g_stage = "opening (look-up of the standing word)";
    Check(OnlyAllowedBytes(Headless().descriptionEdit, allowed), "description comes from the file");
    if (opened != OpenOutcome::NoHeader) CheckOpenedHeader(fuzzCase.header);

    bool open = CurrentDictionary.IsOpen();
    bool fuzzOpen = EqualNoCase(CurrentDictionary.folder.c_str(), kFolder);
    unsigned char letter = FoldChar(letterByte, CurrentDictionary.Rule());

    g_stage = "loading";
    Check(LoadLetter(CurrentDictionary, 0) == (open ? LookupResult::Ok : LookupResult::NoDictionary), "unloading");
    LookupResult loaded = LoadLetter(CurrentDictionary, letter);
    if (!open) {
        Check(loaded == LookupResult::NoDictionary && CurrentDictionary.held.View().data == nullptr,
              "nothing loads without a dictionary");
    } else if (!fuzzOpen) {
        Check(loaded == LookupResult::LetterCannotOpen && CurrentDictionary.held.View().data == nullptr,
              "a missing letter file");
        Check(LoadLetter(CurrentDictionary, letter) == LookupResult::Ok, "a missing letter answers 3 only once");
    } else {
        Check(loaded == LookupResult::Ok, "the letter file loads");
        CheckBufferHolds(files[letter]);
        // Saving syncs to disk, which is slow: only now and then.
        if (CurrentDictionary.held.View().data && OneIn(random, 10)) {
            g_stage = "saving";
            Check(SaveLetter(CurrentDictionary), "the letter file saves");
            Check(ReadFile(LetterFilePath(letter)) == files[letter], "saving writes the bytes loaded");
            CheckBufferHolds(files[letter]);
        }
    }

    g_stage = "look-up";
    for (int n = 0; n < 40 && g_failure.empty(); ++n) {
        std::string word = PickWord(random, stored, letterByte);
        SetWordEditText(word.c_str());
        if (OneIn(random, 4)) {
            int length = static_cast<int>(word.size());
            SetWordEditSelection(static_cast<int>(Pick(random, length + 4)) - 1,
                                 static_cast<int>(Pick(random, length + 4)) - 1);
        }
        if (OneIn(random, 8)) EditState.AutoCompleted = 1;
        MissedDescription onMiss = Pick(random, 2) ? MissedDescription::Clear : MissedDescription::Keep;
        // The window asks for the retry two ways in three.
        PluralRetry plural = Pick(random, 3) != 1 ? PluralRetry::On : PluralRetry::Off;
        Headless().descriptionEdit = kUntouched;
        std::string typed = Headless().wordEdit;

        LookupResult result = LookupWord(onMiss, plural);
        const std::string& edit = Headless().wordEdit;
        const std::string& description = Headless().descriptionEdit;
        Check(result == LookupResult::Ok || result == LookupResult::LetterCannotOpen ||
                  result == LookupResult::NoDictionary || result == LookupResult::NotFound,
              "a look-up answers 0, 3, 5 or 6");
        if (IsBlank(edit)) {
            Check(result == LookupResult::Ok && description == kUntouched, "a blank word looks nothing up");
            continue;
        }
        Check(edit == EditState.WordText, "the word edit and EditState.WordText agree");
        // Only a plural retry onto a stored word that ends in a blank
        // leaves one.
        Check(edit.back() != ' ' || (result == LookupResult::Ok && plural == PluralRetry::On),
              "trailing blanks are trimmed");
        Check(Headless().selectionStart == 0 && Headless().selectionEnd == static_cast<int>(edit.size()),
              "the whole word is selected");
        Check(edit.size() <= typed.size(), "the word only ever shrinks");
        if (!open) Check(result == LookupResult::NoDictionary, "no dictionary open answers 5");
        if (result != LookupResult::Ok) {
            Check(description == (onMiss == MissedDescription::Clear ? "" : kUntouched),
                  "a miss clears the description only when asked");
            continue;
        }
        Check(OnlyAllowedBytes(description, allowed), "description comes from the file");
        // A hit is a whole string of the loaded letter file, never a piece.
        bool whole = false;
        if (fuzzOpen && files.count(CurrentDictionary.held.letter)) {
            std::string key = FoldString(edit.c_str() + FirstNonSpace(edit), CurrentDictionary.Rule());
            for (const std::string& s : Strings(files[CurrentDictionary.held.letter]))
                if (FoldString(s.c_str(), CurrentDictionary.Rule()) == key) whole = true;
        }
        Check(whole, "a hit is a stored word");
    }

    if (fuzzOpen && files.count(letter)) {
        g_stage = "stored words are found";
        std::vector<std::string> findable = FindableWords(files[letter], letter);
        for (int n = 0; n < 25 && !findable.empty() && g_failure.empty(); ++n) {
            const std::string& word = findable[Pick(random, findable.size())];
            SetWordEditText(word.c_str());
            Check(LookupWord(MissedDescription::Clear, PluralRetry::Off) == LookupResult::Ok, "a stored word is found");
            Check(Headless().wordEdit == word, "the word stays as typed");
            Check(!Headless().descriptionEdit.empty(), "its description is shown");
        }
    }

    if (open) {
        g_stage = "formatting";
        LoadLetter(CurrentDictionary, letter);
        int32_t length = CurrentDictionary.held.View().length;
        for (int n = 0; n < 20 && length > 0; ++n) {
            int32_t offset = static_cast<int32_t>(Pick(random, static_cast<size_t>(length) + 1));
            // Mostly the start of a string, as a real description is.
            if (OneIn(random, 2))
                while (offset > 0 && offset < length && CurrentDictionary.held.View().data[offset - 1] != 0) --offset;
            std::string text = FormatDescription(CurrentDictionary.held.View(), offset);
            Check(OnlyAllowedBytes(text, allowed), "formatted text comes from the file");
            Check(text.size() <= 4 * static_cast<size_t>(length - offset), "formatting stays within its entries");
            if (n == 0) {
                // The entry whose word starts at `offset`, as a look-up finds it.
                WordMatch match;
                match.result = LookupResult::Ok;
                match.bytes = CurrentDictionary.held.bytes;
                match.entry = offset;
                ShowDescription(match);
                const LetterView held = CurrentDictionary.held.View();
                Check(Headless().descriptionEdit == FormatDescription(held, held.DescriptionOf(offset)),
                      "the shown text is the formatted text");
            }
            Check(CurrentDictionary.held.View().length == length, "formatting leaves the buffer alone");
        }
    }

    g_stage = "statistics";
    Statistics stats = DictionaryStatistics(CurrentDictionary);
    unsigned long long size = 0, entries = 0;
    if (fuzzOpen)
        for (const auto& file : files)
            if (file.first >= 0x21 && file.first <= 0xFE && !file.second.empty()) {
                size += file.second.size() + 1;
                entries += CountedEntries(file.second);
            }
    Check(stats.size == size, "size is the sum of file size + 1");
    Check(stats.entries == entries, "entries counted up to the first empty string");
    if (open) Check(CurrentDictionary.held.letter == 0xFE, "statistics end on letter 0xFE");
    if (fuzzOpen && files.count(0xFE)) CheckBufferHolds(files[0xFE]);

    g_stage = "";
    return g_failure;
}
