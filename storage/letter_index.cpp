#include "storage/letter_index.h"

#include <algorithm>
#include <new>

#include "storage/dictionary_format.h"

static const char* WordAt(const unsigned char* data, int32_t offset) {
    return reinterpret_cast<const char*>(data + offset);
}

void BuildLetterIndex(const unsigned char* data, int32_t length, LetterIndex& index) {
    index = LetterIndex();
    index.built = true;
    if (!data || length <= 0) {
        index.sorted = true;
        return;
    }
    const size_t size = static_cast<size_t>(length - 1);
    try {
        LetterEntryWalker walker(data, size, EntryWalk::Strict);
        bool whole = true;
        size_t end = 0;
        for (LetterEntry entry; walker.Next(entry);) {
            const int32_t offset = static_cast<int32_t>(entry.offset);
            if (!index.entries.empty() && CompareNoCase(WordAt(data, index.entries.back()), WordAt(data, offset)) > 0) {
                index.entries.clear();
                return;   // out of order: the walk serves
            }
            if (entry.WordLength() == 0 || entry.DescriptionLength() == 0 || entry.descriptionEnd >= size) whole = false;
            index.entries.push_back(offset);
            end = entry.end;
        }
        index.sorted = true;
        index.wholeFile = whole && end == size;
    } catch (const std::bad_alloc&) {
        index.entries.clear();
        index.entries.shrink_to_fit();
    }
}

// The bytes whose fold is `keyByte`, by the rank they take in the letter
// files' order (ASCII letters as lower case), in ascending order. The
// Cyrillic capitals sort apart from their small letters, so a folded
// Cyrillic byte has two ranks and the search branches on it.
static std::vector<unsigned char> RanksFoldingTo(unsigned char keyByte, CaseRule rule) {
    bool seen[256] = {};
    for (int byte = 1; byte < 256; ++byte)
        if (FoldChar(static_cast<unsigned char>(byte), rule) == keyByte) seen[AsciiLower(static_cast<unsigned char>(byte))] = true;
    std::vector<unsigned char> ranks;
    for (int rank = 1; rank < 256; ++rank)
        if (seen[rank]) ranks.push_back(static_cast<unsigned char>(rank));
    return ranks;
}

namespace {
// A range whose words share their first `depth` bytes, by rank, with a
// branch of the key.
struct Narrowing {
    IndexRange range;
    size_t depth;
};
}  // namespace

// The part of `range` whose byte at `depth` has `rank`. The words of the
// range share `depth` bytes that are not NUL, so the byte read is within
// the word or is its terminating NUL.
static IndexRange NarrowByByte(const unsigned char* data, const LetterIndex& index, IndexRange range, size_t depth,
                               unsigned char rank) {
    auto rankOf = [&](size_t position) { return AsciiLower(data[index.entries[position] + depth]); };
    size_t lo = range.begin, hi = range.end;
    while (lo < hi) {   // first position whose rank is not below `rank`
        size_t mid = lo + (hi - lo) / 2;
        if (rankOf(mid) < rank) lo = mid + 1;
        else hi = mid;
    }
    size_t first = lo;
    hi = range.end;
    while (lo < hi) {   // first position whose rank is above it
        size_t mid = lo + (hi - lo) / 2;
        if (rankOf(mid) <= rank) lo = mid + 1;
        else hi = mid;
    }
    return {first, lo};
}

std::vector<IndexRange> FoldedPrefixRanges(const unsigned char* data, const LetterIndex& index,
                                           const std::string& key, CaseRule rule) {
    std::vector<IndexRange> found;
    std::vector<std::vector<unsigned char>> ranks(key.size());
    for (size_t i = 0; i < key.size(); ++i) ranks[i] = RanksFoldingTo(static_cast<unsigned char>(key[i]), rule);

    // Depth first, the smaller rank first, so the ranges come in file order;
    // a branch that no word takes ends at once.
    std::vector<Narrowing> pending{{{0, index.entries.size()}, 0}};
    while (!pending.empty()) {
        Narrowing at = pending.back();
        pending.pop_back();
        if (at.range.begin == at.range.end) continue;
        if (at.depth == key.size()) {
            found.push_back(at.range);
            continue;
        }
        const std::vector<unsigned char>& choices = ranks[at.depth];
        for (auto rank = choices.rbegin(); rank != choices.rend(); ++rank)
            pending.push_back({NarrowByByte(data, index, at.range, at.depth, *rank), at.depth + 1});
    }
    return found;
}

size_t FirstNotBefore(const unsigned char* data, const LetterIndex& index, const char* text) {
    auto before = [&](int32_t offset, const char* t) { return CompareNoCase(WordAt(data, offset), t) < 0; };
    return static_cast<size_t>(std::lower_bound(index.entries.begin(), index.entries.end(), text, before) -
                               index.entries.begin());
}

size_t FirstAfter(const unsigned char* data, const LetterIndex& index, const char* text) {
    auto after = [&](const char* t, int32_t offset) { return CompareNoCase(t, WordAt(data, offset)) < 0; };
    return static_cast<size_t>(std::upper_bound(index.entries.begin(), index.entries.end(), text, after) -
                               index.entries.begin());
}

size_t EntriesBefore(const LetterIndex& index, int32_t offset) {
    return static_cast<size_t>(std::lower_bound(index.entries.begin(), index.entries.end(), offset) -
                               index.entries.begin());
}
