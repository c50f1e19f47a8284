#include "storage/letter_words.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>

#include "storage/dictionary_format.h"

namespace {

struct Word {
    std::string folded;
    size_t offset;   // of the entry in the letter file
    size_t length;
};

}  // namespace

// The bytes before the words: two offsets and a shared count for each,
// the counts padded to a multiple of 4.
static size_t ArraysSize(size_t count) { return 2 * sizeof(uint32_t) * count + (count + 3) / 4 * 4; }

LetterWordsView LetterWords::View() const {
    LetterWordsView view;
    view.letter = letter;
    view.count = count_;
    if (!payload_) return view;
    view.wordAt = reinterpret_cast<const uint32_t*>(payload_);
    view.entryAt = view.wordAt + count_;
    view.shared = reinterpret_cast<const uint8_t*>(view.entryAt + count_);
    view.text = reinterpret_cast<const char*>(payload_ + ArraysSize(count_));
    view.textSize = payloadSize_ - ArraysSize(count_);
    return view;
}

void LetterWords::Build(unsigned char letterByte, CaseRule foldRule, const unsigned char* data, size_t size) {
    letter = letterByte;
    rule = foldRule;
    held_ = FileBytes();
    std::vector<Word> words;
    LetterEntryWalker walker(data, size, EntryWalk::Strict);
    for (LetterEntry entry; walker.Next(entry);) {
        const char* word = reinterpret_cast<const char*>(data + entry.offset);
        // A word filed under another letter is never found by looking it up.
        if (entry.WordLength() == 0 || FoldChar(data[entry.offset], rule) != letter) continue;
        if (word[entry.WordLength() - 1] == '}') continue;
        words.push_back({FoldString(std::string(word, entry.WordLength()).c_str(), rule), entry.offset,
                         entry.WordLength()});
    }
    // Folded bytes as unsigned; of words that fold alike the walk's first.
    std::stable_sort(words.begin(), words.end(), [](const Word& a, const Word& b) {
        return std::memcmp(a.folded.data(), b.folded.data(), std::min(a.folded.size(), b.folded.size()) + 1) < 0;
    });
    words.erase(std::unique(words.begin(), words.end(),
                            [](const Word& a, const Word& b) { return a.folded == b.folded; }),
                words.end());
    count_ = static_cast<uint32_t>(words.size());
    size_t textSize = 0;
    for (const Word& word : words) textSize += word.length + 1;
    std::vector<unsigned char>(ArraysSize(words.size()) + textSize).swap(built_);
    uint32_t* wordAt = reinterpret_cast<uint32_t*>(built_.data());
    uint32_t* entryAt = wordAt + words.size();
    uint8_t* shared = reinterpret_cast<uint8_t*>(entryAt + words.size());
    char* text = reinterpret_cast<char*>(built_.data() + ArraysSize(words.size()));
    size_t at = 0;
    for (size_t i = 0; i < words.size(); ++i) {
        wordAt[i] = static_cast<uint32_t>(at);
        entryAt[i] = static_cast<uint32_t>(words[i].offset);
        size_t common = 0;
        if (i > 0)
            while (common < kMostShared && common < words[i].folded.size() &&
                   words[i].folded[common] == words[i - 1].folded[common])
                ++common;
        shared[i] = static_cast<uint8_t>(common);
        std::memcpy(text + at, data + words[i].offset, words[i].length);
        text[at + words[i].length] = '\0';
        at += words[i].length + 1;
    }
    payload_ = built_.empty() ? nullptr : built_.data();
    payloadSize_ = built_.size();
}

bool LetterWords::Hold(FileBytes&& file, size_t at, uint32_t count) {
    const size_t size = file.Length() > 0 ? static_cast<size_t>(file.Length() - 1) : 0;
    const size_t arrays = ArraysSize(count);
    if (at > size || size - at < arrays) return false;
    const unsigned char* payload = file.Data() + at;
    const size_t textSize = size - at - arrays;
    const uint32_t* wordAt = reinterpret_cast<const uint32_t*>(payload);
    const char* text = reinterpret_cast<const char*>(payload + arrays);
    // Each word starts inside the text and a NUL ends the text.
    if (count > 0 && (textSize == 0 || text[textSize - 1] != '\0')) return false;
    bool fits = true;
    for (uint32_t i = 0; i < count; ++i) fits &= wordAt[i] < textSize;
    if (!fits) return false;
    built_.clear();
    held_ = std::move(file);
    payload_ = count ? held_.Data() + at : nullptr;
    payloadSize_ = size - at;
    count_ = count;
    return true;
}
