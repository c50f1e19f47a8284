#include "lookup/word_counts.h"

#include <algorithm>
#include <cstring>

#include "lookup/word_forms.h"
#include "platform/files.h"
#include "storage/dictionary_format.h"
#include "storage/text_case.h"

const char* const kWordCountsFile = "frequency.txt";

namespace {

bool EndsWord(char c) { return c == '\t' || c == '\r' || c == '\n'; }

// The folded key against the word of the line at `line`: <0, 0 or >0.
int CompareToLine(const std::string& key, const char* line, const char* end) {
    size_t i = 0;
    for (; i < key.size() && line + i < end && !EndsWord(line[i]); ++i) {
        const unsigned char a = static_cast<unsigned char>(key[i]);
        const unsigned char b = FoldChar(static_cast<unsigned char>(line[i]), CaseRule::Folded);
        if (a != b) return a < b ? -1 : 1;
    }
    const bool keyEnded = i == key.size(), lineEnded = line + i == end || EndsWord(line[i]);
    if (keyEnded && lineEnded) return 0;
    return keyEnded ? -1 : 1;
}

// The digits after the tab of the line, 0 when they are not all digits.
uint32_t CountOf(const char* line, const char* end) {
    const char* tab = static_cast<const char*>(std::memchr(line, '\t', static_cast<size_t>(end - line)));
    if (!tab) return 0;
    const char* digits = tab + 1;
    const char* stop = end > digits && end[-1] == '\r' ? end - 1 : end;
    if (digits == stop) return 0;
    uint64_t count = 0;
    for (const char* at = digits; at < stop; ++at) {
        if (*at < '0' || *at > '9') return 0;
        count = std::min<uint64_t>(count * 10 + static_cast<uint64_t>(*at - '0'), UINT32_MAX);
    }
    return static_cast<uint32_t>(count);
}

}  // namespace

WordCounts& WordCounts::operator=(WordCounts&& other) noexcept {
    own_ = std::move(other.own_);
    held_ = std::move(other.held_);
    size_ = other.size_;
    text_ = held_ ? reinterpret_cast<const char*>(held_->file.Data()) : own_.data();
    other.text_ = nullptr;
    other.size_ = 0;
    return *this;
}

WordCounts::WordCounts(std::shared_ptr<const LetterBytes> file) : held_(std::move(file)) {
    const FileBytes& bytes = held_->file;
    text_ = reinterpret_cast<const char*>(bytes.Data());
    size_ = bytes.Data() ? static_cast<size_t>(bytes.Length() - 1) : 0;
}

uint32_t WordCounts::Of(const std::string& word) const {
    if (size_ == 0) return 0;
    const std::string key = FoldString(word.c_str(), CaseRule::Folded);
    // Lines that begin in [low, high) may hold the key; `low` begins a line.
    size_t low = 0, high = size_;
    while (low < high) {
        size_t start = low + (high - low) / 2;
        while (start > low && text_[start - 1] != '\n') --start;
        const char* found = static_cast<const char*>(std::memchr(text_ + start, '\n', size_ - start));
        const size_t end = found ? static_cast<size_t>(found - text_) : size_;
        const int order = CompareToLine(key, text_ + start, text_ + end);
        if (order == 0) return CountOf(text_ + start, text_ + end);
        if (order < 0) high = start;
        else low = end + 1;
    }
    return 0;
}

WordCounts FormsWordCounts(Dictionary& dictionary) {
    const std::string path = PathInFolder(dictionary.InProgramFolder(kWordFormsFolder), kWordCountsFile);
    std::shared_ptr<LetterBytes> file = dictionary.wordCounts.At(path, false);
    return file ? WordCounts(std::move(file)) : WordCounts();
}
