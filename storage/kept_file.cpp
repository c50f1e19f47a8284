#include "storage/kept_file.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

namespace {

// Laid out as the file begins; the payload follows it.
struct KeptFileHeader {
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
static_assert(sizeof(KeptFileHeader) == kKeptFileHeaderSize, "the kept file header is 64 bytes");

uint64_t NameHash(const std::string& text) {
    uint64_t hash = 0xcbf29ce484222325ull;
    for (unsigned char c : text) hash = (hash ^ c) * 0x100000001b3ull;
    return hash;
}

// Catches a file cut short or changed by chance, not by design. Four lanes
// over the payload, eight bytes at a time, keep it off the critical path of
// the process it saves work for.
uint64_t SumOf(const KeptFileHeader& header, const unsigned char* payload, size_t bytes) {
    KeptFileHeader unsummed = header;
    unsummed.sum = 0;
    auto mix = [](uint64_t sum, uint64_t word) { return (sum ^ word) * 0xff51afd7ed558ccdull + 0x2545f4914f6cdd1dull; };
    uint64_t lanes[4] = {0x9e3779b97f4a7c15ull, 1, 2, 3};
    uint64_t words[sizeof unsummed / 8];
    std::memcpy(words, &unsummed, sizeof unsummed);
    for (uint64_t word : words) lanes[0] = mix(lanes[0], word);
    size_t at = 0;
    for (; at + 32 <= bytes; at += 32) {
        uint64_t block[4];
        std::memcpy(block, payload + at, sizeof block);
        for (int lane = 0; lane < 4; ++lane) lanes[lane] = mix(lanes[lane], block[lane]);
    }
    for (; at < bytes; ++at) lanes[at % 4] = mix(lanes[at % 4], payload[at]);
    return mix(mix(mix(lanes[0], lanes[1]), lanes[2]), lanes[3]) ^ header.count;
}

bool SameFile(const KeptFileHeader& header, const FileStamp& stamp) {
    return header.size == stamp.size && header.written == stamp.written && header.identity == stamp.identity &&
           header.device == stamp.device && header.changed == stamp.changed;
}

}  // namespace

std::string KeptFilePath(const char* path, const char* extension) {
    const std::string folder = PlatformIndexCacheFolder();
    if (folder.empty()) return std::string();
    const std::string absolute = PlatformAbsolutePath(path);
    if (absolute.empty()) return std::string();
    char name[32];
    std::snprintf(name, sizeof name, "%016llx", static_cast<unsigned long long>(NameHash(absolute)));
    return folder + "/" + name + extension;
}

bool WriteKeptFile(const std::string& keptPath, const char (&magic)[8], const FileStamp& stamp,
                   const KeptFileInfo& info, const unsigned char* payload, size_t size) {
    KeptFileHeader header{};
    std::memcpy(header.magic, magic, sizeof magic);
    header.size = stamp.size;
    header.written = stamp.written;
    header.identity = stamp.identity;
    header.device = stamp.device;
    header.changed = stamp.changed;
    header.flags = info.flags;
    header.count = info.count;
    header.sum = SumOf(header, payload, size);
    std::vector<unsigned char> bytes;
    try {
        bytes.resize(sizeof header + size);
    } catch (const std::bad_alloc&) {
        return false;
    }
    std::memcpy(bytes.data(), &header, sizeof header);
    if (size) std::memcpy(bytes.data() + sizeof header, payload, size);
    if (!PlatformWriteCacheFile(keptPath.c_str(), bytes.data(), bytes.size())) return false;
    TidyKeptFolder();
    return true;
}

bool ReadKeptFile(const std::string& keptPath, const char (&magic)[8], const FileStamp& stamp, FileBytes& kept,
                  KeptFileInfo& info) {
    FileStamp keptStamp;
    if (kept.Load(keptPath.c_str(), keptStamp) != FileReadOutcome::Read) return false;
    const size_t keptSize = static_cast<size_t>(kept.Length() > 0 ? kept.Length() - 1 : 0);
    if (keptSize < sizeof(KeptFileHeader)) return false;
    KeptFileHeader header;
    std::memcpy(&header, kept.Data(), sizeof header);
    if (std::memcmp(header.magic, magic, sizeof magic) != 0 || !SameFile(header, stamp)) return false;
    if (SumOf(header, kept.Data() + sizeof header, keptSize - sizeof header) != header.sum) return false;
    info.flags = header.flags;
    info.count = header.count;
    PlatformMarkFileUsed(keptPath.c_str());
    return true;
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

// After the 16 digits of KeptFilePath: ".idx" or ".words", the extensions
// of what is kept; the length of that extension, or 0.
size_t KeptExtensionAt(const std::string& name) {
    for (const char* extension : {".idx", ".words"}) {
        const size_t length = std::strlen(extension);
        if (name.compare(16, length, extension) == 0) return length;
    }
    return 0;
}

// "0123456789abcdef.idx", as KeptFilePath names them.
bool IsKeptName(const std::string& name) {
    if (!IsHexName(name, 16)) return false;
    const size_t extension = KeptExtensionAt(name);
    return extension && name.size() == 16 + extension;
}

// "0123456789abcdef.idx.tmp<process>.<count>", a write in progress or cut short.
bool IsKeptTempName(const std::string& name) {
    if (!IsHexName(name, 16)) return false;
    const size_t extension = KeptExtensionAt(name);
    const size_t tmp = 16 + extension;
    if (!extension || name.compare(tmp, 4, ".tmp") != 0) return false;
    const size_t dot = name.find('.', tmp + 4);
    return dot != std::string::npos && AllDigits(name.substr(tmp + 4, dot - tmp - 4)) &&
           AllDigits(name.substr(dot + 1));
}
}  // namespace

void TidyKeptFolder() {
    const std::string folder = PlatformIndexCacheFolder();
    if (folder.empty()) return;
    std::vector<FolderItem> kept;
    unsigned long long bytes = 0;
    for (FolderItem& item : PlatformListFolder(folder.c_str())) {
        if (item.isDirectory) continue;
        const std::string path = folder + "/" + item.name;
        if (IsKeptTempName(item.name)) {
            if (item.unusedSeconds > kKeptFileStaleTempSeconds) PlatformDeleteFile(path.c_str());
        } else if (IsKeptName(item.name)) {
            if (item.unusedSeconds > kKeptFileUnusedSeconds) {
                PlatformDeleteFile(path.c_str());
            } else {
                bytes += item.size;
                kept.push_back(std::move(item));
            }
        }
    }
    if (bytes <= kKeptFolderBytes) return;
    std::sort(kept.begin(), kept.end(),
              [](const FolderItem& a, const FolderItem& b) { return a.unusedSeconds > b.unusedSeconds; });
    for (const FolderItem& item : kept) {
        if (bytes <= kKeptFolderBytes) break;
        if (PlatformDeleteFile((folder + "/" + item.name).c_str())) bytes -= item.size;
    }
}
