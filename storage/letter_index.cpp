#include "storage/letter_index.h"

#include <algorithm>
#include <new>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

static const char* WordAt(const unsigned char* data, int32_t offset) {
    return reinterpret_cast<const char*>(data + offset);
}

// CompareNoCase of two words, less than zero when `a` sorts before `b`;
// equal bytes, the common case in sorted neighbours, are passed over first.
static int CompareWords(const unsigned char* a, const unsigned char* b) {
    for (;; ++a, ++b) {
        unsigned char x = *a, y = *b;
        if (x == y) {
            if (x == 0) return 0;
            continue;
        }
        x = AsciiLower(x);
        y = AsciiLower(y);
        if (x != y) return x < y ? -1 : 1;
    }
}

namespace {
// Follows the look-up's walk (LetterEntryWalker, strict) NUL by NUL: each
// NUL ends a word or a description, and the walk ends where the strict walk
// does. Fed every NUL of the bytes in order, the appended one last; each
// word the walk visits goes to `onWord(offset, length)`, which returns false
// to end the walk there.
template <class OnWord>
class StrictNulWalk {
public:
    StrictNulWalk(size_t size, OnWord onWord) : size_(size), onWord_(onWord) {}
    // False once the walk has ended.
    bool AtNul(size_t nul) {
        if (inWord_) {
            if (nul == at_) return Stop(at_ == size_);   // an empty word, or the end of the file
            if (!onWord_(static_cast<int32_t>(at_), nul - at_)) return false;
            if (nul + 1 >= size_) return Stop(false);   // a word without a description
        } else if (nul == at_ || nul >= size_) {
            return Stop(false);   // an empty description, or one without its NUL
        }
        inWord_ = !inWord_;
        at_ = nul + 1;
        return true;
    }
    bool WholeFile() const { return wholeFile_; }

private:
    bool Stop(bool wholeFile) {
        wholeFile_ = wholeFile;
        return false;
    }
    size_t size_;
    OnWord onWord_;
    size_t at_ = 0;       // where the current string starts
    bool inWord_ = true;
    bool wholeFile_ = false;
};

template <class OnWord>
StrictNulWalk<OnWord> MakeStrictNulWalk(size_t size, OnWord onWord) {
    return StrictNulWalk<OnWord>(size, onWord);
}
}  // namespace

// Feeds the walk the offsets of the NULs in `length` bytes, in order,
// until it ends. The NULs of 64 bytes are gathered first, so that the only
// unforeseeable branch is the end of each gathering.
template <class Walk>
static void FeedNuls(const unsigned char* data, size_t length, Walk& walk) {
    size_t at = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    size_t nuls[64];
    for (; at + 64 <= length; at += 64) {
        uint64_t mask = 0;
        for (int part = 0; part < 4; ++part) {
            __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + at + 16 * part));
            mask |= static_cast<uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, zero))))
                    << (16 * part);
        }
        size_t count = 0;
        for (; mask != 0; mask &= mask - 1) nuls[count++] = at + static_cast<size_t>(__builtin_ctzll(mask));
        for (size_t i = 0; i < count; ++i)
            if (!walk.AtNul(nuls[i])) return;
    }
#endif
    for (; at < length; ++at)
        if (data[at] == 0 && !walk.AtNul(at)) return;
}

// The number of NULs in `length` bytes: twice the entries at most, so the
// index takes its memory once and never twice over while it grows.
static size_t CountNuls(const unsigned char* data, size_t length) {
    size_t count = 0, at = 0;
#if defined(__SSE2__)
    // Each byte of `counts` counts the NULs of its column, up to 255 blocks.
    const __m128i zero = _mm_setzero_si128();
    while (at + 16 <= length) {
        __m128i counts = zero;
        for (int blocks = 0; blocks < 255 && at + 16 <= length; ++blocks, at += 16) {
            __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + at));
            counts = _mm_sub_epi8(counts, _mm_cmpeq_epi8(block, zero));
        }
        __m128i sums = _mm_sad_epu8(counts, zero);
        count += static_cast<size_t>(_mm_extract_epi16(sums, 0) + _mm_extract_epi16(sums, 4));
    }
#endif
    for (; at < length; ++at) count += data[at] == 0;
    return count;
}

void BuildLetterIndex(const unsigned char* data, int32_t length, LetterIndex& index) {
    IndexOrigin origin = std::move(index.origin);
    index = LetterIndex();
    index.origin = std::move(origin);
    index.built = true;
    if (!data || length <= 0) {
        index.sorted = true;
        return;
    }
    try {
        index.entries.Reserve(CountNuls(data, static_cast<size_t>(length)) / 2 + 1);
        bool outOfOrder = false;
        auto walk = MakeStrictNulWalk(static_cast<size_t>(length - 1), [&](int32_t offset, size_t) {
            if (!index.entries.Empty() && CompareWords(data + index.entries.Last(), data + offset) > 0) {
                outOfOrder = true;
                return false;
            }
            index.entries.Add(offset);
            return true;
        });
        FeedNuls(data, static_cast<size_t>(length), walk);
        if (outOfOrder) {
            index.entries = IndexEntries();   // the walk serves
            return;
        }
        index.sorted = true;
        index.wholeFile = walk.WholeFile();
    } catch (const std::bad_alloc&) {
        index.entries = IndexEntries();
    }
}

int32_t WalkToFoldedWord(const unsigned char* data, int32_t length, const std::string& foldedKey, CaseRule rule) {
    if (!data || length <= 0) return -1;
    const unsigned char* key = reinterpret_cast<const unsigned char*>(foldedKey.data());
    int32_t found = -1;
    auto walk = MakeStrictNulWalk(static_cast<size_t>(length - 1), [&](int32_t offset, size_t wordLength) {
        if (wordLength != foldedKey.size()) return true;
        for (size_t i = 0; i < wordLength; ++i)
            if (FoldChar(data[offset + i], rule) != key[i]) return true;
        found = offset;
        return false;
    });
    FeedNuls(data, static_cast<size_t>(length), walk);
    return found;
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
    std::vector<Narrowing> pending{{{0, index.entries.Count()}, 0}};
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
