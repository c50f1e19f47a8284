#include "lookup/word_counts.h"

#include <algorithm>
#include <cstring>

#include "lookup/word_forms.h"
#include "platform/files.h"
#include "storage/dictionary_format.h"
#include "storage/file_bytes.h"
#include "storage/text_case.h"

const char* const kWordCountsFile = "frequency.txt";

uint32_t WordCounts::Of(const std::string& word) const {
    if (counts_.empty()) return 0;
    auto found = counts_.find(FoldString(word.c_str(), CaseRule::Folded));
    return found == counts_.end() ? 0 : found->second;
}

void WordCounts::AddLines(const char* text, size_t size) {
    const char* end = text + size;
    for (const char* line = text; line < end;) {
        const char* lineEnd = static_cast<const char*>(std::memchr(line, '\n', static_cast<size_t>(end - line)));
        if (!lineEnd) lineEnd = end;
        const char* tab = static_cast<const char*>(std::memchr(line, '\t', static_cast<size_t>(lineEnd - line)));
        if (tab && tab > line) {
            uint64_t count = 0;
            const char* digit = tab + 1;
            for (; digit < lineEnd && *digit >= '0' && *digit <= '9'; ++digit)
                count = std::min<uint64_t>(count * 10 + static_cast<uint64_t>(*digit - '0'), UINT32_MAX);
            const bool digitsOnly = digit > tab + 1 && (digit == lineEnd || (*digit == '\r' && digit + 1 == lineEnd));
            if (digitsOnly) {
                std::string word = FoldString(std::string(line, tab).c_str(), CaseRule::Folded);
                uint32_t& kept = counts_[word];
                kept = static_cast<uint32_t>(std::min<uint64_t>(uint64_t{kept} + count, UINT32_MAX));
            }
        }
        line = lineEnd + 1;
    }
}

namespace {
// The forms folder's table as it was read, with its file's stamp.
struct ReadTable {
    WordCounts counts;
    FileStamp stamp;
    bool read = false;
};
ReadTable FormsTable;
}  // namespace

const WordCounts& FormsWordCounts() {
    const std::string path = PathInFolder(kWordFormsFolder, kWordCountsFile);
    FileStamp now;
    const bool there = PlatformFileStamp(path.c_str(), now);
    if (FormsTable.read && there && now == FormsTable.stamp) return FormsTable.counts;
    FormsTable = ReadTable();
    FileBytes bytes;
    if (there && bytes.Load(path.c_str(), FormsTable.stamp) == FileReadOutcome::Read) {
        FormsTable.read = true;
        if (bytes.Data())
            FormsTable.counts.AddLines(reinterpret_cast<const char*>(bytes.Data()),
                                       static_cast<size_t>(bytes.Length() - 1));
    }
    return FormsTable.counts;
}

void ForgetFormsWordCounts() { FormsTable = ReadTable(); }
