// Whole files, plain or compressed, for the importer's readers.
#include <algorithm>
#include <cstring>
#include <functional>
#include <vector>

#include "maintenance/codepage.h"
#include "maintenance/import_sources.h"
#include "platform/files.h"

#ifdef DICTIONARY_HAVE_ZLIB
#include <zlib.h>
#endif

std::string FileNameOf(const std::string& path) {
    size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Source files are named as the user typed them, in UTF-8: `name` is the
// path as the files take it (PathOfTypedName); false, with a message, when
// the platform cannot name it.
static bool SourcePath(const std::string& path, std::string& name, std::string& error) {
    std::string problem;
    if (PathOfTypedName(path, name, problem)) return true;
    error = path + ": cannot be opened: " + problem;
    return false;
}

bool SourceFileExists(const std::string& path) {
    std::string name, error;
    return SourcePath(path, name, error) && PlatformNameExists(name.c_str());
}

bool ReadWholeFile(const std::string& path, std::string& out, std::string& error) {
    std::vector<unsigned char> bytes;
    std::string name;
    if (!SourcePath(path, name, error)) return false;
    if (!PlatformReadFile(name.c_str(), bytes)) {
        error = path + ": cannot be opened" + PlatformLastFileErrorNote();
        return false;
    }
    out.assign(bytes.begin(), bytes.end());
    return true;
}

std::string SizeText(uint64_t bytes) {
    if (bytes >= (1u << 30) && bytes % (1u << 30) == 0) return std::to_string(bytes >> 30) + " GiB";
    if (bytes >= (1u << 20) && bytes % (1u << 20) == 0) return std::to_string(bytes >> 20) + " MiB";
    return std::to_string(bytes) + " bytes";
}

// ---- Unpacking, as a stream.

static const size_t kPieceSize = 1 << 16;

#ifdef DICTIONARY_HAVE_ZLIB
// Unpacks the gzip (or dictzip) file `path` piece by piece, reading it the
// same way, and hands each piece to `take(offset, bytes, size)` in order
// until `take` wants no more (returns false) or the data ends: memory holds
// a piece at a time, whatever the file unpacks to. `unpacked` receives the
// bytes unpacked. A message with the byte offset in the compressed file
// when the data is broken, and a refusal past kLargestInflated.
static bool InflateFile(const std::string& path, const std::function<bool(uint64_t, const char*, size_t)>& take,
                        uint64_t& unpacked, std::string& error) {
    unpacked = 0;
    std::string name;
    if (!SourcePath(path, name, error)) return false;
    PlatformFileReader reader(name.c_str());
    if (!reader.Opened()) {
        error = path + ": cannot be opened" + PlatformLastFileErrorNote();
        return false;
    }
    std::vector<unsigned char> in(kPieceSize), out(kPieceSize);
    unsigned char magic[2] = {0, 0};
    if (reader.Size() < 18 || reader.ReadAt(0, magic, 2) != 2 || magic[0] != 0x1F || magic[1] != 0x8B) {
        error = path + ": not gzip or dictzip data (byte 0)";
        return false;
    }
    z_stream stream;
    std::memset(&stream, 0, sizeof stream);
    if (inflateInit2(&stream, 16 + MAX_WBITS) != Z_OK) {
        error = path + ": cannot start decompression";
        return false;
    }
    uint64_t consumed = 0;   // compressed bytes handed to zlib
    int status = Z_OK;
    bool enough = false, tooLarge = false, readFailed = false;
    for (;;) {
        if (stream.avail_in == 0) {
            size_t got = reader.ReadAt(consumed, in.data(), in.size());
            if (reader.Failed()) {
                readFailed = true;
                break;
            }
            consumed += got;
            stream.next_in = in.data();
            stream.avail_in = static_cast<uInt>(got);
        }
        stream.next_out = out.data();
        stream.avail_out = static_cast<uInt>(out.size());
        status = inflate(&stream, Z_NO_FLUSH);
        size_t got = out.size() - stream.avail_out;
        // Past the limit only when more than that is wanted.
        const bool pastLimit = unpacked + got > kLargestInflated;
        if (pastLimit) got = static_cast<size_t>(kLargestInflated - unpacked);
        if (got > 0 && !take(unpacked, reinterpret_cast<const char*>(out.data()), got)) enough = true;
        unpacked += got;
        if (enough) break;
        if (pastLimit) {
            tooLarge = true;
            break;
        }
        if (status == Z_STREAM_END) {
            // Another gzip member may follow (concatenated files are valid gzip).
            if (stream.avail_in == 0 && consumed < reader.Size()) {
                size_t more = reader.ReadAt(consumed, in.data(), in.size());
                consumed += more;
                stream.next_in = in.data();
                stream.avail_in = static_cast<uInt>(more);
            }
            if (stream.avail_in >= 2 && stream.next_in[0] == 0x1F && stream.next_in[1] == 0x8B) {
                inflateReset(&stream);
                continue;
            }
            break;
        }
        if (status == Z_OK) continue;
        // Input ran out: more may come, unless the file has ended.
        if (status == Z_BUF_ERROR && stream.avail_in == 0 && consumed < reader.Size()) continue;
        break;   // the data is broken, or the file ends inside it
    }
    const uint64_t position = consumed - stream.avail_in;
    const std::string why = stream.msg ? stream.msg : "";
    inflateEnd(&stream);
    if (readFailed) {
        error = path + ": cannot be read" + PlatformLastFileErrorNote();
        return false;
    }
    if (tooLarge) {
        error = path + ": unpacks to more than " + SizeText(kLargestInflated) +
                ", more than the importer takes from one file";
        return false;
    }
    if (enough || status == Z_STREAM_END) return true;
    if (status == Z_BUF_ERROR || status == Z_OK) {
        error = path + ": compressed data ends early at byte " + std::to_string(position) +
                " (the file is cut short)";
    } else {
        error = path + ": broken compressed data at byte " + std::to_string(position) +
                (why.empty() ? "" : " (" + why + ")");
    }
    return false;
}
#else
static bool InflateFile(const std::string& path, const std::function<bool(uint64_t, const char*, size_t)>&,
                        uint64_t& unpacked, std::string& error) {
    unpacked = 0;
    error = path + ": compressed files need zlib, which this build of the tool lacks";
    return false;
}
#endif

bool InflateGzipFile(const std::string& path, std::string& out, std::string& error, uint64_t needed) {
    out.clear();
    uint64_t unpacked = 0;
    auto take = [&out, needed](uint64_t, const char* bytes, size_t size) {
        out.append(bytes, static_cast<size_t>(std::min<uint64_t>(size, needed - out.size())));
        return out.size() < needed;
    };
    if (InflateFile(path, take, unpacked, error)) return true;
    std::string().swap(out);
    return false;
}

// ---- The parts of a data file that entries point at.

void NeededData::Need(uint64_t offset, uint64_t length) {
    // Past what any file may hold: kept as it is, and refused by Read.
    const uint64_t end = offset > UINT64_MAX - length ? UINT64_MAX : offset + length;
    parts_.push_back({offset, end, std::string()});
    end_ = std::max(end_, end);
}

uint64_t NeededData::Ends() const { return end_; }

// Sorted, and those that overlap or touch made one.
void NeededData::Merge() {
    std::sort(parts_.begin(), parts_.end(), [](const Part& a, const Part& b) { return a.begin < b.begin; });
    std::vector<Part> merged;
    for (Part& part : parts_) {
        if (part.begin == part.end) continue;
        if (merged.empty() || part.begin > merged.back().end) merged.push_back(std::move(part));
        else merged.back().end = std::max(merged.back().end, part.end);
    }
    parts_.swap(merged);
}

// Copies what the piece at `offset` holds of the parts, in order: `next` is
// the first part not yet whole. False once every part is whole.
bool NeededData::Take(uint64_t offset, const char* bytes, size_t size, size_t& next) {
    const uint64_t end = offset + size;
    for (size_t i = next; i < parts_.size() && parts_[i].begin < end; ++i) {
        Part& part = parts_[i];
        const uint64_t from = std::max(part.begin, offset), to = std::min(part.end, end);
        if (from < to && part.begin + part.bytes.size() == from)
            part.bytes.append(bytes + (from - offset), static_cast<size_t>(to - from));
        if (part.begin + part.bytes.size() == part.end && i == next) ++next;
    }
    return next < parts_.size();
}

bool NeededData::Read(const std::string& base, std::string& used, std::string& error) {
    Merge();
    size_t next = 0;
    std::string name;
    if (!SourcePath(base, name, error)) return false;
    PlatformFileReader plain(name.c_str());
    if (plain.Opened()) {
        used = base;
        size_ = plain.Size();
        std::vector<char> piece(kPieceSize);
        for (Part& part : parts_) {
            for (uint64_t at = part.begin; at < std::min(part.end, size_);) {
                const size_t wanted = static_cast<size_t>(std::min<uint64_t>(piece.size(), part.end - at));
                const size_t got = plain.ReadAt(at, piece.data(), wanted);
                if (plain.Failed() || got == 0) break;
                part.bytes.append(piece.data(), got);
                at += got;
            }
            if (plain.Failed()) {
                error = base + ": cannot be read" + PlatformLastFileErrorNote();
                return false;
            }
        }
        return true;
    }
    used = base + ".dz";
    if (!PlatformNameExists((name + ".dz").c_str())) {
        error = "neither " + base + " nor " + used + " can be opened";
        return false;
    }
    if (end_ > kLargestInflated) {
        error = used + ": the index points at data up to byte " + std::to_string(end_) + ", more than the " +
                SizeText(kLargestInflated) + " the importer unpacks from one file";
        return false;
    }
    // Unpacked only as far as the last part needed, and only the parts kept.
    uint64_t unpacked = 0;
    auto take = [this, &next](uint64_t offset, const char* bytes, size_t size) {
        return Take(offset, bytes, size, next);
    };
    bool ok = next == parts_.size() || InflateFile(used, take, unpacked, error);
    size_ = unpacked;
    return ok;
}

const std::string* NeededData::Find(uint64_t offset, uint64_t length, uint64_t& at) const {
    // The last part that begins at or before the offset holds the whole
    // range when any does: the parts were merged.
    auto after = std::upper_bound(parts_.begin(), parts_.end(), offset,
                                  [](uint64_t value, const Part& part) { return value < part.begin; });
    if (after == parts_.begin()) return nullptr;
    const Part& part = *(after - 1);
    if (length > part.bytes.size() || offset - part.begin > part.bytes.size() - length) return nullptr;
    at = offset - part.begin;
    return &part.bytes;
}

bool NeededData::Within(uint64_t offset, uint64_t length, const std::string& dataPath, const std::string& entry,
                        std::string& error) const {
    uint64_t at = 0;
    // Nothing is read for an empty definition: it is never past the end.
    if (length == 0 || Find(offset, length, at)) return true;
    bool compressed = dataPath.size() > 3 && dataPath.compare(dataPath.size() - 3, 3, ".dz") == 0;
    error = FileNameOf(dataPath) + ": the entry " + entry + " runs from byte " + std::to_string(offset) + " to " +
            std::to_string(offset + length) + ", past the end of the data (" + std::to_string(size_) + " bytes" +
            (compressed ? " uncompressed" : "") + ")";
    return false;
}

std::string NeededData::Bytes(uint64_t offset, uint64_t length) const {
    uint64_t at = 0;
    const std::string* part = length ? Find(offset, length, at) : nullptr;
    return part ? part->substr(static_cast<size_t>(at), static_cast<size_t>(length)) : std::string();
}
