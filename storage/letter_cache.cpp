#include "storage/letter_cache.h"

#include <cstdlib>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "platform/files.h"
#include "storage/letter_buffer.h"
#include "storage/letter_index_store.h"

namespace {
struct KeptLetter {
    std::string path;
    unsigned char* data;   // as LetterBuffer.Data, owned here
    int32_t length;
    bool mapped;
    LetterIndex index;
    FileStamp stamp;
    unsigned long long lastUse;
};

struct LetterCache {
    size_t budget = kDefaultLetterCacheBytes;
    size_t used = 0;
    unsigned long long uses = 0;
    std::vector<KeptLetter> kept;
    // The kept bytes go with the cache at the end of the process, so that
    // nothing is left that no pointer reaches (a leak checker's report).
    ~LetterCache() {
        for (KeptLetter& letter : kept) ReleaseLetterBytes(letter.data, letter.length, letter.mapped);
    }
};
LetterCache Cache;

size_t BytesOf(const KeptLetter& letter) {
    return static_cast<size_t>(letter.length) + letter.index.entries.Bytes();
}

void Drop(size_t at) {
    Cache.used -= BytesOf(Cache.kept[at]);
    ReleaseLetterBytes(Cache.kept[at].data, Cache.kept[at].length, Cache.kept[at].mapped);
    Cache.kept.erase(Cache.kept.begin() + static_cast<std::ptrdiff_t>(at));
}

// Drops the least recently used letters until `needed` more bytes fit.
bool MakeRoom(size_t needed) {
    if (needed > Cache.budget) return false;
    while (Cache.used + needed > Cache.budget) {
        size_t oldest = 0;
        for (size_t i = 1; i < Cache.kept.size(); ++i)
            if (Cache.kept[i].lastUse < Cache.kept[oldest].lastUse) oldest = i;
        Drop(oldest);
    }
    return true;
}
}  // namespace

void SetLetterCacheBudget(size_t bytes) {
    Cache.budget = bytes;
    if (bytes == 0) ForgetKeptLetters();
    else MakeRoom(0);
}

size_t LetterCacheBudget() { return Cache.budget; }

void ForgetKeptLetters() {
    while (!Cache.kept.empty()) Drop(Cache.kept.size() - 1);
}

void SetAsideHeldLetter() {
    if (Cache.budget == 0 || !LetterBuffer.Data || !LetterBuffer.Stamped || HeldLetterFaulted()) return;
    KeptLetter letter{LetterBuffer.Path,      LetterBuffer.Data, LetterBuffer.Length,
                      LetterBuffer.Mapped,    std::move(LetterBuffer.Index),
                      LetterBuffer.Stamp, ++Cache.uses};
    // The buffer lets go of its bytes; they are the cache's now, or freed.
    LetterBuffer.Data = nullptr;
    LetterBuffer.Length = 0;
    LetterBuffer.Mapped = false;
    FreeLetterBuffer();
    if (!MakeRoom(BytesOf(letter))) {
        ReleaseLetterBytes(letter.data, letter.length, letter.mapped);
        return;
    }
    try {
        Cache.kept.push_back(std::move(letter));
        Cache.used += BytesOf(Cache.kept.back());
    } catch (const std::bad_alloc&) {
        ReleaseLetterBytes(letter.data, letter.length, letter.mapped);
    }
}

bool TakeKeptLetter(unsigned char letter, const char* path) {
    for (size_t i = 0; i < Cache.kept.size(); ++i) {
        if (Cache.kept[i].path != path) continue;
        FileStamp now;
        if (!PlatformFileStamp(path, now) || !(now == Cache.kept[i].stamp) ||
            LetterBytesFaulted(Cache.kept[i].data, Cache.kept[i].mapped)) {
            Drop(i);
            return false;
        }
        KeptLetter& kept = Cache.kept[i];
        Cache.used -= BytesOf(kept);
        FreeLetterBuffer();
        LetterBuffer.Letter = letter;
        LetterBuffer.Unread = false;
        LetterBuffer.Data = kept.data;
        LetterBuffer.Length = kept.length;
        LetterBuffer.Mapped = kept.mapped;
        LetterBuffer.Index = std::move(kept.index);
        LetterBuffer.Stamped = true;
        LetterBuffer.Stamp = kept.stamp;
        LetterBuffer.Path = std::move(kept.path);
        Cache.kept.erase(Cache.kept.begin() + static_cast<std::ptrdiff_t>(i));
        return true;
    }
    return false;
}

void KeepWalkedLetterIndexes() {
    // An index of bytes a fault turned to zeros would hide entries for good.
    if (!HeldLetterFaulted()) KeepWalkedIndex(LetterBuffer.Data, LetterBuffer.Length, LetterBuffer.Index);
    for (KeptLetter& letter : Cache.kept) {
        if (LetterBytesFaulted(letter.data, letter.mapped)) continue;
        const size_t before = BytesOf(letter);
        KeepWalkedIndex(letter.data, letter.length, letter.index);
        Cache.used += BytesOf(letter) - before;
    }
}
