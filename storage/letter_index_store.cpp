#include "storage/letter_index_store.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

#include "storage/file_bytes.h"

namespace {
// Its digit is the version of the index: raise it whenever BuildLetterIndex
// comes to index other entries or to judge order otherwise, so that no
// process takes back what an older one kept.
const char kMagic[8] = {'D', 'I', 'C', 'I', 'D', 'X', '1', '\n'};
const uint32_t kSorted = 1;
const uint32_t kWholeFile = 2;

// Laid out as the file begins; the offsets of the words follow it.
struct KeptIndexHeader {
    char magic[8];
    uint64_t size;
    uint64_t written;
    uint64_t identity;
    uint64_t device;
    uint64_t changed;
    uint32_t flags;
    uint32_t count;
    uint64_t sum;
};
static_assert(sizeof(KeptIndexHeader) == 64, "the kept index header is 64 bytes");

uint64_t NameHash(const std::string& text) {
    uint64_t hash = 0xcbf29ce484222325ull;
    for (unsigned char c : text) hash = (hash ^ c) * 0x100000001b3ull;
    return hash;
}

// Catches a file cut short or changed by chance, not by design. Four lanes
// over the offsets, eight bytes at a time, keep it off the critical path of
// the process it saves a walk for.
uint64_t SumOf(const KeptIndexHeader& header, const unsigned char* offsets, size_t count) {
    KeptIndexHeader unsummed = header;
    unsummed.sum = 0;
    auto mix = [](uint64_t sum, uint64_t word) { return (sum ^ word) * 0xff51afd7ed558ccdull + 0x2545f4914f6cdd1dull; };
    uint64_t lanes[4] = {0x9e3779b97f4a7c15ull, 1, 2, 3};
    uint64_t words[sizeof unsummed / 8];
    std::memcpy(words, &unsummed, sizeof unsummed);
    for (uint64_t word : words) lanes[0] = mix(lanes[0], word);
    const size_t bytes = count * sizeof(int32_t);
    size_t at = 0;
    for (; at + 32 <= bytes; at += 32) {
        uint64_t block[4];
        std::memcpy(block, offsets + at, sizeof block);
        for (int lane = 0; lane < 4; ++lane) lanes[lane] = mix(lanes[lane], block[lane]);
    }
    for (; at < bytes; ++at) lanes[at % 4] = mix(lanes[at % 4], offsets[at]);
    return mix(mix(mix(lanes[0], lanes[1]), lanes[2]), lanes[3]) ^ count;
}

bool SameFile(const KeptIndexHeader& header, const FileStamp& stamp) {
    return header.size == stamp.size && header.written == stamp.written && header.identity == stamp.identity &&
           header.device == stamp.device && header.changed == stamp.changed;
}

// The offsets rise and every word begins inside the file's bytes. Without
// an early way out, so that the compiler may compare many at a time.
bool OffsetsFit(const IndexEntries& entries, int32_t length) {
    if (entries.empty()) return true;
    const int32_t* offsets = entries.begin();
    const size_t count = entries.size();
    bool fits = offsets[0] >= 0 && offsets[count - 1] < length - 1;
    for (size_t i = 1; i < count; ++i) fits &= offsets[i] > offsets[i - 1];
    return fits;
}
}  // namespace

std::string KeptIndexPath(const char* path) {
    const std::string folder = PlatformIndexCacheFolder();
    if (folder.empty()) return std::string();
    const std::string absolute = PlatformAbsolutePath(path);
    if (absolute.empty()) return std::string();
    char name[32];
    std::snprintf(name, sizeof name, "%016llx.idx", static_cast<unsigned long long>(NameHash(absolute)));
    return folder + "/" + name;
}

bool TakeBackLetterIndex(const char* path, const FileStamp& stamp, int32_t length, LetterIndex& index) {
    IndexOrigin& origin = index.origin;
    origin = IndexOrigin();
    if (!stamp.settled || length < kKeptIndexMinBytes) return false;
    const std::string keptPath = KeptIndexPath(path);
    if (keptPath.empty()) return false;
    origin = IndexOrigin{path, stamp};
    FileBytes kept;
    FileStamp keptStamp;
    if (kept.Load(keptPath.c_str(), keptStamp) != FileReadOutcome::Read) return false;
    const size_t keptSize = static_cast<size_t>(kept.Length() > 0 ? kept.Length() - 1 : 0);
    if (keptSize < sizeof(KeptIndexHeader)) return false;
    KeptIndexHeader header;
    std::memcpy(&header, kept.Data(), sizeof header);
    if (std::memcmp(header.magic, kMagic, sizeof kMagic) != 0 || !SameFile(header, stamp) ||
        !(header.flags & kSorted) || keptSize != sizeof header + size_t{header.count} * sizeof(int32_t))
        return false;
    if (SumOf(header, kept.Data() + sizeof header, header.count) != header.sum) return false;
    IndexEntries entries;
    entries.Hold(std::move(kept), sizeof header, header.count);
    if (!OffsetsFit(entries, length)) return false;
    index = LetterIndex();   // the origin too: the index is kept already
    PlatformMarkFileUsed(keptPath.c_str());
    index.built = true;
    index.sorted = true;
    index.wholeFile = (header.flags & kWholeFile) != 0;
    index.entries = std::move(entries);
    return true;
}

bool PrepareLetterIndex(const char* path, const FileStamp& stamp, const unsigned char* data, int32_t length,
                        bool mapped, LetterIndex& index) {
    if (TakeBackLetterIndex(path, stamp, length, index) || !mapped || !data || length <= 0) return true;
    return PlatformReadAheadMapping(data, static_cast<size_t>(length - 1));
}

void KeepBuiltIndex(const unsigned char* data, int32_t length, LetterIndex& index) {
    const IndexOrigin from = std::move(index.origin);
    index.origin = IndexOrigin();
    if (from.path.empty() || !index.built || !index.sorted || length < kKeptIndexMinBytes) return;
    // Bytes a fault turned to zeros hide entries: their index would hide
    // them from every later process too.
    if (PlatformMappingFaulted(data)) return;
    // The file must still be the one read: a stamp taken now that differs
    // means the bytes indexed may not be the bytes the stamp stands for.
    FileStamp now;
    if (!PlatformFileStamp(from.path.c_str(), now) || !(now == from.stamp)) return;
    const std::string keptPath = KeptIndexPath(from.path.c_str());
    if (keptPath.empty()) return;
    KeptIndexHeader header{};
    std::memcpy(header.magic, kMagic, sizeof kMagic);
    header.size = from.stamp.size;
    header.written = from.stamp.written;
    header.identity = from.stamp.identity;
    header.device = from.stamp.device;
    header.changed = from.stamp.changed;
    header.flags = kSorted | (index.wholeFile ? kWholeFile : 0);
    header.count = static_cast<uint32_t>(index.entries.size());
    std::vector<unsigned char> bytes;
    try {
        bytes.resize(sizeof header + index.entries.size() * sizeof(int32_t));
    } catch (const std::bad_alloc&) {
        return;
    }
    if (!index.entries.empty())
        std::memcpy(bytes.data() + sizeof header, index.entries.begin(), index.entries.size() * sizeof(int32_t));
    header.sum = SumOf(header, bytes.data() + sizeof header, index.entries.size());
    std::memcpy(bytes.data(), &header, sizeof header);
    if (PlatformWriteCacheFile(keptPath.c_str(), bytes.data(), bytes.size())) TidyKeptIndexFolder();
}

void KeepWalkedIndex(const unsigned char* data, int32_t length, LetterIndex& index) {
    if (!data || index.built || !index.walkedOnce || index.origin.path.empty()) return;
    BuildLetterIndex(data, length, index);
    KeepBuiltIndex(data, length, index);
}

namespace {
bool IsHexName(const std::string& name, size_t digits) {
    if (name.size() < digits) return false;
    for (size_t i = 0; i < digits; ++i)
        if (!std::isxdigit(static_cast<unsigned char>(name[i]))) return false;
    return true;
}

bool AllDigits(const std::string& text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

// "0123456789abcdef.idx", as KeptIndexPath names them.
bool IsKeptIndexName(const std::string& name) {
    return name.size() == 20 && IsHexName(name, 16) && name.compare(16, 4, ".idx") == 0;
}

// "0123456789abcdef.idx.tmp<process>.<count>", a write in progress or cut short.
bool IsKeptIndexTempName(const std::string& name) {
    if (name.size() < 27 || !IsHexName(name, 16) || name.compare(16, 8, ".idx.tmp") != 0) return false;
    const size_t dot = name.find('.', 24);
    return dot != std::string::npos && AllDigits(name.substr(24, dot - 24)) && AllDigits(name.substr(dot + 1));
}
}  // namespace

void TidyKeptIndexFolder() {
    static std::string tidied;   // once a process will do
    const std::string folder = PlatformIndexCacheFolder();
    if (folder.empty() || folder == tidied) return;
    tidied = folder;
    std::vector<FolderItem> kept;
    unsigned long long bytes = 0;
    for (FolderItem& item : PlatformListFolder(folder.c_str())) {
        if (item.isDirectory) continue;
        const std::string path = folder + "/" + item.name;
        if (IsKeptIndexTempName(item.name)) {
            if (item.unusedSeconds > kKeptIndexStaleTempSeconds) PlatformDeleteFile(path.c_str());
        } else if (IsKeptIndexName(item.name)) {
            if (item.unusedSeconds > kKeptIndexUnusedSeconds) {
                PlatformDeleteFile(path.c_str());
            } else {
                bytes += item.size;
                kept.push_back(std::move(item));
            }
        }
    }
    if (bytes <= kKeptIndexFolderBytes) return;
    std::sort(kept.begin(), kept.end(),
              [](const FolderItem& a, const FolderItem& b) { return a.unusedSeconds > b.unusedSeconds; });
    for (const FolderItem& item : kept) {
        if (bytes <= kKeptIndexFolderBytes) break;
        if (PlatformDeleteFile((folder + "/" + item.name).c_str())) bytes -= item.size;
    }
}
