// Random editing sessions against a plain model of the letter files: small
// dictionaries of words with shared prefixes, ASCII and Cyrillic letter case,
// blanks, empty descriptions, both case rules, dual or not, completion on or
// off. Each step is what a user does in the window (type, find, add, answer
// the replacement question, delete, step up and down, pick from the next
// words); after each the files, the two edits and the messages must be what
// the model says. Bounded by DICTIONARY_MODEL_SECONDS and
// DICTIONARY_MODEL_ITERATIONS; DICTIONARY_MODEL_SEED picks the first session.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "platform/headless.h"
#include "settings/settings.h"
#include "storage/dictionary_format.h"
#include "tests/fuzz/fuzz_case.h"
#include "tests/unit/test_support.h"
#include "ui/browse_commands.h"
#include "ui/dictionary_commands.h"
#include "ui/edit_state.h"
#include "ui/editing_commands.h"
#include "ui/lookup_command.h"
#include "ui/program_headless.h"

namespace {

using Random = std::mt19937_64;
size_t Pick(Random& random, size_t bound) { return bound ? random() % bound : 0; }
bool OneIn(Random& random, unsigned n) { return random() % n == 0; }

struct Entry {
    std::string word, description;
};
using Letter = std::vector<Entry>;

// The dictionary as a user would describe it: the entries of each letter in
// file order, what the two edits show and what was said.
class Model {
public:
    bool caseSensitive = false, dual = false;
    std::map<unsigned char, Letter> letters;  // by folded first byte; present = the file exists
    std::string edit, description;
    std::vector<std::string> messages;

    unsigned char Fold(unsigned char c) const {
        if (caseSensitive) return c;
        if ((c >= 'a' && c <= 'z') || c >= 0xE0) return static_cast<unsigned char>(c - 0x20);
        return c;
    }
    std::string Folded(const std::string& text) const {
        std::string out = text;
        for (char& c : out) c = static_cast<char>(Fold(static_cast<unsigned char>(c)));
        return out;
    }
    // ASCII letters as lower case, every other byte by its value.
    static int Compare(const std::string& a, const std::string& b) {
        auto lower = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; };
        for (size_t i = 0;; ++i) {
            int x = i < a.size() ? lower(static_cast<unsigned char>(a[i])) : -1;
            int y = i < b.size() ? lower(static_cast<unsigned char>(b[i])) : -1;
            if (x != y) return x < y ? -1 : 1;
            if (x < 0) return 0;
        }
    }
    static std::string Trimmed(const std::string& text) {
        size_t first = text.find_first_not_of(' ');
        if (first == std::string::npos) return "";
        return text.substr(first, text.find_last_not_of(' ') + 1 - first);
    }
    unsigned char LetterOf(const std::string& word) const {
        size_t first = word.find_first_not_of(' ');
        return first == std::string::npos ? 0 : Fold(static_cast<unsigned char>(word[first]));
    }
    Letter& Of(unsigned char letter) { return letters[letter]; }
    const Letter* Find(unsigned char letter) const {
        auto found = letters.find(letter);
        return found == letters.end() ? nullptr : &found->second;
    }

    // The look-up's walk ends after the first entry without a description.
    static size_t Reachable(const Letter& entries) {
        for (size_t i = 0; i < entries.size(); ++i)
            if (entries[i].description.empty()) return i + 1;
        return entries.size();
    }
    // Index of the entry the look-up finds for the (trimmed) word, or -1.
    int LookupIndex(const std::string& word) const {
        const Letter* entries = Find(LetterOf(word));
        if (!entries) return -1;
        std::string key = Folded(word.substr(word.find_first_not_of(' ')));
        for (size_t i = 0; i < Reachable(*entries); ++i)
            if (Folded((*entries)[i].word) == key) return static_cast<int>(i);
        return -1;
    }

    // The word edit after the user typed `typed` and, with completion, maybe
    // pressed Delete to drop the completed tail.
    void Type(const std::string& typed, bool completion, bool pressDelete) {
        edit = typed;
        std::string rest = typed.substr(std::min(typed.size(), typed.find_first_not_of(' ')));
        if (!completion || rest.empty()) return;
        const Letter* entries = Find(Fold(static_cast<unsigned char>(rest[0])));
        if (!entries) return;
        std::string key = Folded(rest);
        for (size_t i = 0; i < Reachable(*entries); ++i) {
            const std::string& word = (*entries)[i].word;
            if (Folded(word).compare(0, key.size(), key) != 0) continue;
            edit = word;
            if (pressDelete) {
                size_t start = std::min(typed.size(), word.size());
                if (start < word.size()) edit = word.substr(0, start);
            }
            return;
        }
    }

    // Find: the look-up of what the word edit holds. True when it answers
    // 0: found, or nothing to look up (a blank edit, left as it is).
    bool FindWord() {
        std::string text = edit;
        text.erase(text.find_last_not_of(' ') + 1);
        if (text.find_first_not_of(' ') == std::string::npos) return true;
        edit = text;
        int found = LookupIndex(text);
        description = found >= 0 ? Find(LetterOf(text))->at(static_cast<size_t>(found)).description : "";
        return found >= 0;
    }

    // Shows a word as browsing does: into the edit, then looked up.
    void Show(const std::string& word) {
        edit = word;
        FindWord();
    }

    void Insert(Letter& entries, const Entry& entry) {
        size_t at = 0;
        while (at < entries.size() && Compare(entries[at].word, entry.word) <= 0) ++at;
        entries.insert(entries.begin() + static_cast<std::ptrdiff_t>(at), entry);
    }
    // The first entry of the word in file order, the walk's reach aside.
    int RemovalIndex(const Letter& entries, const std::string& word) const {
        for (size_t i = 0; i < entries.size(); ++i)
            if (Folded(entries[i].word) == Folded(word)) return static_cast<int>(i);
        return -1;
    }

    // AddEntry: the word stored trimmed; `answer` to the replacement question.
    bool AddEntry(const std::string& typedWord, const std::string& typedDescription, bool ask, bool answerYes) {
        std::string word = Trimmed(typedWord);
        if (word.empty()) {
            messages.push_back("No word!");
            return false;
        }
        if (typedDescription.empty()) {
            messages.push_back("No description!");
            return false;
        }
        int found = LookupIndex(word);
        edit = word;
        Letter& entries = Of(LetterOf(word));
        if (found >= 0) {
            description = entries[static_cast<size_t>(found)].description;
            if (ask) {
                messages.push_back("This word is already in dictionary! Replace it?");
                if (!answerYes) return true;
            }
            entries.erase(entries.begin() + RemovalIndex(entries, word));
        }
        Insert(entries, {word, typedDescription});
        // Shown as found: an entry past an empty description is not.
        FindWord();
        return true;
    }

    void AddWordCommand(const std::string& typedWord, const std::string& typedDescription, bool answerYes) {
        if (!AddEntry(typedWord, typedDescription, true, answerYes)) return;
        if (!dual || description.empty() || description.size() >= 999) return;
        std::string word = edit, shown = description;
        AddEntry(shown, word, false, true);
        edit = word;
        description = shown;
    }

    // DeleteEntry after a look-up that found the word, then the neighbour.
    void DeleteEntry() {
        std::string word = Trimmed(edit);
        if (word.empty()) return;
        Letter& entries = Of(LetterOf(word));
        int at = RemovalIndex(entries, word);
        if (at < 0) return;
        int32_t offset = Offsets(entries)[static_cast<size_t>(at)];
        entries.erase(entries.begin() + at);
        edit = word;
        if (offset < Length(entries) - 10)
            NextWord(LetterOf(word));
        else
            PreviousWord(LetterOf(word));
    }

    // ---- Browsing the loaded letter, by the offsets of its bytes.
    static std::vector<int32_t> Offsets(const Letter& entries) {
        std::vector<int32_t> offsets;
        int32_t at = 0;
        for (const Entry& entry : entries) {
            offsets.push_back(at);
            at += static_cast<int32_t>(entry.word.size() + entry.description.size() + 2);
        }
        offsets.push_back(at);  // the appended NUL: an entry without a word
        return offsets;
    }
    static int32_t Length(const Letter& entries) { return entries.empty() ? 0 : Offsets(entries).back() + 1; }
    static int32_t DescriptionOffset(const Letter& entries, size_t i) {
        return Offsets(entries)[i] + static_cast<int32_t>(entries[i].word.size() + 1);
    }

    void NextWord(unsigned char letter) {
        const Letter* found = Find(letter);
        if (!found || found->empty()) return;
        const Letter& entries = *found;
        const std::vector<int32_t> at = Offsets(entries);
        const int32_t limit = Length(entries) - 10;
        std::string typed = edit.substr(0, 255);
        bool ordered = true;
        for (size_t i = 0; i < entries.size() && at[i] < limit; ++i) {
            if (DescriptionOffset(entries, i) >= limit) break;
            if (Compare(entries[i].word, typed) == 0) {
                if (i + 1 < entries.size()) Show(entries[i + 1].word);
                ordered = false;
                break;
            }
        }
        if (!ordered) return;
        for (size_t i = 0; i < entries.size() && at[i] < limit; ++i) {
            if (Compare(entries[i].word, typed) > 0) return Show(entries[i].word);
            if (DescriptionOffset(entries, i) >= limit) return;
        }
    }

    void PreviousWord(unsigned char letter) {
        const Letter* found = Find(letter);
        if (!found || found->empty()) return;
        const Letter& entries = *found;
        const std::vector<int32_t> at = Offsets(entries);
        const int32_t length = Length(entries);
        std::string typed = edit.substr(0, 255);
        auto wordAt = [&](size_t i) { return i < entries.size() ? entries[i].word : std::string(); };
        int remembered = -1;
        for (size_t i = 0; i <= entries.size(); ++i) {
            if (Compare(wordAt(i), typed) == 0) {
                if (remembered >= 0) Show(entries[static_cast<size_t>(remembered)].word);
                return;
            }
            if (at[i] < length - 5) remembered = static_cast<int>(i);
            if (i == entries.size()) break;
        }
        remembered = -1;
        for (size_t i = 0; i <= entries.size(); ++i) {
            if (Compare(wordAt(i), typed) >= 0) {
                if (remembered >= 0) Show(entries[static_cast<size_t>(remembered)].word);
                return;
            }
            if (at[i] < length - 5) remembered = static_cast<int>(i);
        }
        if (remembered >= 0 && !wordAt(static_cast<size_t>(remembered)).empty())
            Show(entries[static_cast<size_t>(remembered)].word);
    }

    // The items the next-words menu offers.
    std::vector<std::string> NextWords(unsigned char letter) const {
        std::vector<std::string> items;
        const Letter* found = Find(letter);
        if (!found || found->empty()) return items;
        const Letter& entries = *found;
        const std::vector<int32_t> at = Offsets(entries);
        const int32_t length = Length(entries);
        std::string typed = edit.substr(0, 255);
        size_t first = entries.size();
        for (size_t i = 0; i < entries.size() && at[i] < length - 10; ++i) {
            if (Compare(entries[i].word, typed) >= 0) {
                first = i;
                break;
            }
            if (DescriptionOffset(entries, i) >= length - 10) return items;
        }
        for (size_t i = first; i < entries.size() && items.size() < 20; ++i) {
            items.push_back(entries[i].word);
            if (at[i + 1] >= length - 5) break;
        }
        return items;
    }
};

// Letters that make shared prefixes, both cases of ASCII and Cyrillic.
const unsigned char kLetters[] = {'c', 'a', 'b', 'C', 'A', 0xE0, 0xE1, 0xC0, 0xC1};
const unsigned char kFirst[] = {'c', 'C', 0xE0, 0xC0};

std::string RandomWord(Random& random) {
    std::string word(1, static_cast<char>(kFirst[Pick(random, sizeof kFirst)]));
    for (size_t n = Pick(random, 5); n > 0; --n) word += static_cast<char>(kLetters[Pick(random, sizeof kLetters)]);
    return word;
}

std::string RandomDescription(Random& random) {
    std::string text = RandomWord(random);
    for (size_t n = Pick(random, 3); n > 0; --n) text += (OneIn(random, 3) ? "  " : " ") + RandomWord(random);
    return OneIn(random, 8) ? text + " " : text;
}

// What the user types: a word of the dictionary, a prefix or a variant of
// one, or a new word, sometimes between blanks.
std::string RandomTyped(Random& random, const Model& model) {
    std::vector<std::string> known;
    for (const auto& letter : model.letters)
        for (const Entry& entry : letter.second) known.push_back(entry.word);
    std::string word = known.empty() || OneIn(random, 3) ? RandomWord(random) : known[Pick(random, known.size())];
    if (OneIn(random, 4)) word = word.substr(0, 1 + Pick(random, word.size()));
    if (OneIn(random, 5))
        for (char& c : word) {
            unsigned char b = static_cast<unsigned char>(c);
            if (OneIn(random, 2) && ((b >= 'a' && b <= 'z') || b >= 0xE0)) c = static_cast<char>(b - 0x20);
        }
    if (OneIn(random, 6)) word = std::string(1 + Pick(random, 2), ' ') + word;
    if (OneIn(random, 6)) word += std::string(1 + Pick(random, 2), ' ');
    if (OneIn(random, 30)) word = "  ";
    return word;
}

void WriteModel(const Model& model) {
    MakeDictionary("D", "D", model.dual ? 1 : 0, model.caseSensitive ? 1 : 0);
    for (const auto& letter : model.letters) {
        std::vector<std::pair<std::string, std::string>> pairs;
        for (const Entry& entry : letter.second) pairs.push_back({entry.word, entry.description});
        MakeLetter("D", letter.first, Entries(pairs));
    }
}

// The first difference between the program and the model, or "".
std::string Difference(const Model& model) {
    for (const auto& letter : model.letters) {
        std::vector<std::pair<std::string, std::string>> pairs;
        for (const Entry& entry : letter.second) pairs.push_back({entry.word, entry.description});
        std::string name = "D/" + LetterFileName(letter.first);
        if (ReadDiskFile(name) != Entries(pairs)) return "letter file " + name;
    }
    if (Headless().wordEdit != model.edit) return "word edit '" + Headless().wordEdit + "', model '" + model.edit + "'";
    if (Headless().descriptionEdit != model.description)
        return "description '" + Headless().descriptionEdit + "', model '" + model.description + "'";
    std::vector<std::string> said;
    for (const ShownMessage& message : Headless().messages) said.push_back(message.text);
    if (said != model.messages) return "messages: " + std::to_string(said.size()) + " shown, model " +
                                       std::to_string(model.messages.size());
    return "";
}

class EditingModelTest : public ProgramFolderTest {
protected:
    // One user step, done on the program and on the model; the name of the step.
    std::string Step(Random& random, Model& model, bool completion) {
        const std::string typed = RandomTyped(random, model);
        const bool pressDelete = OneIn(random, 2);
        auto type = [&] {
            EditState.LastKey = 'x';
            HeadlessTypeWord(typed.c_str());
            if (pressDelete && completion && Headless().wordEdit != typed) HeadlessPressDeleteInWordEdit();
            model.Type(typed, completion, pressDelete);
            return Headless().wordEdit == model.edit;
        };
        const std::string typing = "typing '" + typed + "'";
        switch (Pick(random, 6)) {
        case 0: {
            const std::string description = OneIn(random, 15) ? "" : RandomDescription(random);
            const bool yes = OneIn(random, 2);
            if (!type()) return typing;
            HeadlessTypeDescription(description.c_str());
            EditState.LastKey = 'x';  // typed in the description
            Headless().messageAnswers = {yes ? kAnswerYes : kAnswerNo};
            Headless().descriptionLineCount = 1;
            std::string word = Headless().wordEdit;
            AddWordCommand();
            model.description = description;
            model.AddWordCommand(word, description, yes);
            return "add '" + word + "' '" + description + (yes ? "' yes" : "' no");
        }
        case 1: {
            if (!type()) return typing;
            bool found = LookupWord(MissedDescription::Clear, PluralRetry::Off) == LookupResult::Ok;
            if (model.FindWord() != found) return "find '" + typed + "' disagrees";
            if (!found) return "find '" + typed + "'";
            Headless().messageAnswers = {kAnswerYes};
            DeleteWordCommand(Confirmation::Ask);
            model.messages.push_back("Are you sure you want to delete this word?");
            model.DeleteEntry();
            return "delete '" + typed + "'";
        }
        default: {
            if (!type()) return typing;
            bool found = LookupWord(MissedDescription::Clear, PluralRetry::Off) == LookupResult::Ok;
            if (model.FindWord() != found) return "find '" + typed + "' disagrees";
            if (model.LetterOf(model.edit) == 0) return "find '" + typed + "'";
            unsigned char letter = model.LetterOf(model.edit);
            switch (Pick(random, 3)) {
            case 0: NextWord(); model.NextWord(letter); return "down from '" + typed + "'";
            case 1: PreviousWord(); model.PreviousWord(letter); return "up from '" + typed + "'";
            default: {
                std::vector<std::string> items = model.NextWords(letter);
                int choice = static_cast<int>(Pick(random, items.size() + 1));
                Headless().menuAnswers = {choice};
                NextWordsMenu();
                if (choice > 0) model.Show(items[static_cast<size_t>(choice) - 1]);
                size_t shown = Headless().menus.empty() ? 0 : Headless().menus.back().items.size();
                Headless().menus.clear();
                if (shown != items.size())
                    return "next-words menu of " + std::to_string(shown) + ", model " + std::to_string(items.size());
                return "next words from '" + typed + "', item " + std::to_string(choice);
            }
            }
        }
        }
    }
};

}  // namespace

TEST_F(EditingModelTest, RandomSessionsMatchTheModel) {
    auto seed = static_cast<uint64_t>(EnvironmentBound("DICTIONARY_MODEL_SEED", 7));
    auto sessions = static_cast<uint64_t>(EnvironmentBound("DICTIONARY_MODEL_ITERATIONS", 1e9));
    double seconds = EnvironmentBound("DICTIONARY_MODEL_SECONDS", 10);
    auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);

    uint64_t done = 0, steps = 0;
    for (; done < sessions && std::chrono::steady_clock::now() < deadline; ++done) {
        Random random(seed + done);
        Model model;
        model.caseSensitive = OneIn(random, 3);
        model.dual = OneIn(random, 2);
        for (size_t n = Pick(random, 25); n > 0; --n) {
            std::string word = RandomWord(random);
            model.Insert(model.Of(model.Fold(static_cast<unsigned char>(word[0]))),
                         {word, OneIn(random, 12) ? "" : RandomDescription(random)});
        }
        StartHeadlessProgram();
        Settings.autoComplete = OneIn(random, 2);
        ClearProgramFolder(root_);
        WriteModel(model);
        ASSERT_NE(SelectDictionary("D"), OpenOutcome::NoHeader);
        for (int step = 0; step < 30; ++step, ++steps) {
            std::string what = Step(random, model, Settings.autoComplete != 0);
            std::string difference = Difference(model);
            ASSERT_EQ(difference, "") << "step " << step << ": " << what << "; replay with DICTIONARY_MODEL_SEED="
                                      << seed + done << " DICTIONARY_MODEL_ITERATIONS=1";
        }
    }
    std::printf("%llu editing sessions, %llu steps\n", static_cast<unsigned long long>(done),
                static_cast<unsigned long long>(steps));
    EXPECT_GT(done, 0u);
}
