#include "storage/letter_index_store.h"

#include "storage/file_bytes.h"
#include "storage/kept_file.h"

namespace {
// Its digit is the version of the index: raise it whenever BuildLetterIndex
// comes to index other entries or to judge order otherwise, so that no
// process takes back what an older one kept.
const char kMagic[8] = {'D', 'I', 'C', 'I', 'D', 'X', '1', '\n'};
const uint32_t kSorted = 1;
const uint32_t kWholeFile = 2;

// The offsets rise and every word begins inside the file's bytes. Without
// an early way out, so that the compiler may compare many at a time.
bool OffsetsFit(const IndexEntries& entries, int32_t length) {
    if (entries.Empty()) return true;
    const int32_t* offsets = entries.begin();
    const size_t count = entries.Count();
    bool fits = offsets[0] >= 0 && offsets[count - 1] < length - 1;
    for (size_t i = 1; i < count; ++i) fits &= offsets[i] > offsets[i - 1];
    return fits;
}
}  // namespace

std::string KeptIndexPath(const char* path) { return KeptFilePath(path, ".idx"); }

bool TakeBackLetterIndex(const char* path, const FileStamp& stamp, int32_t length, LetterIndex& index) {
    IndexOrigin& origin = index.origin;
    origin = IndexOrigin();
    if (!stamp.settled || length < kKeptIndexMinBytes) return false;
    const std::string keptPath = KeptIndexPath(path);
    if (keptPath.empty()) return false;
    origin = IndexOrigin{path, stamp};
    FileBytes kept;
    KeptFileInfo info;
    if (!ReadKeptFile(keptPath, kMagic, stamp, kept, info)) return false;
    if (!(info.flags & kSorted) || KeptPayloadSize(kept) != size_t{info.count} * sizeof(int32_t)) return false;
    IndexEntries entries;
    entries.Hold(std::move(kept), kKeptFileHeaderSize, info.count);
    if (!OffsetsFit(entries, length)) return false;
    index = LetterIndex();   // the origin too: the index is kept already
    index.built = true;
    index.sorted = true;
    index.wholeFile = (info.flags & kWholeFile) != 0;
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
    const KeptFileInfo info{kSorted | (index.wholeFile ? kWholeFile : 0u), static_cast<uint32_t>(index.entries.Count())};
    WriteKeptFile(keptPath, kMagic, from.stamp, info, reinterpret_cast<const unsigned char*>(index.entries.begin()),
                  index.entries.Count() * sizeof(int32_t));
}

void KeepWalkedIndex(const unsigned char* data, int32_t length, LetterIndex& index) {
    if (!data || index.built || !index.walkedOnce || index.origin.path.empty()) return;
    BuildLetterIndex(data, length, index);
    KeepBuiltIndex(data, length, index);
}
